#include "widgets/reference/ClimateRegionDialog.h"

#include "widgets/reference/FieldEdit.h"
#include "widgets/reference/TableGrid.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>

using namespace Qt::StringLiterals;

namespace kz {

ClimateRegionDialog::ClimateRegionDialog(DataTable& raion, QWidget* parent)
    : ReferenceDialog(QStringLiteral("TRaionFrm"), u"Климатические районы."_s, 6, QDialog::Rejected, parent) {
    navigator_ = addNavigator(&raion, QStringLiteral("DBNavigator1"));
    navigator_->setNameField(QStringLiteral("Raion"));
    auto edit = [&](const char* field, QWidget* owner) {
        auto* e = new FieldEdit(raion, QLatin1String(field), owner);
        e->setMaximumWidth(80);
        return e;
    };

    auto* ranges = new QGridLayout;
    ranges->addWidget(new QLabel(u"Климатический район:"_s, this), 0, 0);
    ranges->addWidget(edit("Raion", this), 0, 1);
    struct Range {
        const char* label;
        const char* from;
        const char* to;
    };
    const Range rows[] = {
        {"Средняя многолетняя низшая температура (январь), градусы Цельсия:  от", "JanTemp1", "JanTemp2"},
        {"Средняя многолетняя высшая температура (июль), градусы Цельсия:  от", "JuneTemp1", "JuneTemp2"},
        {"Продолжительность замерзания вод, дней:  от", "IceWater1", "IceWater2"},
    };
    int r = 1;
    for (const Range& range : rows) {
        ranges->addWidget(new QLabel(QString::fromUtf8(range.label), this), r, 0);
        ranges->addWidget(edit(range.from, this), r, 1);
        ranges->addWidget(new QLabel(u"до"_s, this), r, 2);
        ranges->addWidget(edit(range.to, this), r, 3);
        ++r;
    }
    body()->addLayout(ranges);

    auto* seasons = new QGroupBox(u" Коэффициенты сезонности "_s, this);
    auto* kinds = new QHBoxLayout(seasons);
    struct Kind {
        const char* title;
        const char* letter;
        const char* lengths[2];
        const char* lengthTitles[2];
    };
    const Kind kindList[] = {
        {" Вертикальные электроды ", "V", {"3", "5"}, {" длина 3 метра ", " длина 5 метров "}},
        {" Горизонтальные электроды ", "G", {"10", "50"}, {" длина 10 метров ", " длина 50 метров "}},
    };
    const char* moistures[3][2] = {
        {"p", "повышенная влажность:"}, {"s", "средняя влажность:"}, {"m", "малая влажность:"}};
    for (const Kind& kind : kindList) {
        auto* kindBox = new QGroupBox(QString::fromUtf8(kind.title), seasons);
        auto* lengths = new QHBoxLayout(kindBox);
        for (int l = 0; l < 2; ++l) {
            auto* lengthBox = new QGroupBox(QString::fromUtf8(kind.lengthTitles[l]), kindBox);
            auto* grid = new QGridLayout(lengthBox);
            for (int m = 0; m < 3; ++m) {
                const QString field = QLatin1String(kind.letter) + QLatin1String(kind.lengths[l]) +
                                      QLatin1String(moistures[m][0]);
                grid->addWidget(new QLabel(QString::fromUtf8(moistures[m][1]), lengthBox), m, 0);
                auto* e = new FieldEdit(raion, field, lengthBox);
                e->setMaximumWidth(60);
                grid->addWidget(e, m, 1);
            }
            lengths->addWidget(lengthBox);
        }
        kinds->addWidget(kindBox);
    }
    body()->addWidget(seasons);
}

} // namespace kz
