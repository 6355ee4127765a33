#include "widgets/reference/CorrosionDialog.h"

#include "store/KorGrRules.h"
#include "widgets/reference/SizeSelectionDialog.h"
#include "widgets/reference/TableGrid.h"
#include "store/DataModule.h"
#include "widgets/common/DialogService.h"
#include "core/rules/SectionRules.h"
#include "store/TableProcedures.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace kz {

CorrosionDialog::CorrosionDialog(DataModule& data, QWidget* parent)
    : ReferenceDialog(QStringLiteral("TKorGrFrm"), u"Коррозионная активность грунтов."_s, helpContext,
                      QDialog::Rejected, parent),
      data_(data) {
    const char* const files[levels] = {"korgrunt0.db", "korgrunt1.DB", "korgrunt2.DB", "korgrunt3.DB",
                                       "korgrunt4.DB"};
    const QStringList fields[levels] = {
        {QStringLiteral("Name"), QStringLiteral("Pmin"), QStringLiteral("Pmax")},
        {QStringLiteral("Vid")},
        {QStringLiteral("Status")},
        {QStringLiteral("Construct")},
        {QStringLiteral("Razmer")}};
    const char* const titles[levels] = {"Коррозионная активность грунта", "Вид заземлителя",
                                        "Статус использования", "Конструкция заземлителя",
                                        "Размеры заземлителя"};
    const QStringList picks[levels] = {
        {}, corrosionKindItems(), corrosionStatusItems(), corrosionConstructionItems(), {}};

    for (int level = 0; level < levels; ++level) {
        tables_[level] = data.table(QLatin1String(files[level]));
        const QString n = QString::number(level + 1);
        TableGrid* grid = addGrid(tables_[level], fields[level], QStringLiteral("DBGrid") + n,
                                  QStringLiteral("DBNavigator") + n, &navigators_[level]);
        grid->setMinimumHeight(90);
        grid->setTitle(fields[level].first(), QString::fromUtf8(titles[level]));
        if (!picks[level].isEmpty())
            grid->setPickList(fields[level].first(), picks[level]);
        if (level > 0)
            grid->installEventFilter(this);
        grids_[level] = grid;
        using B = TableNavigator;
        navigators_[level]->setVisibleButtons(
            level < 4 ? QList<B::Button>{B::Insert, B::Delete, B::Edit, B::Post, B::Cancel, B::Refresh}
                      : QList<B::Button>{B::Delete, B::Cancel, B::Refresh});
        navigators_[level]->setNameField(fields[level].first());
    }
    grids_[0]->setTitle(QStringLiteral("Pmin"), u"р мин, Ом м"_s);
    grids_[0]->setTitle(QStringLiteral("Pmax"), u"р макс, Ом м"_s);
    grids_[0]->setColumnChars(QStringLiteral("Name"), 30);
    grids_[4]->setEditable(QStringLiteral("Razmer"), false);

    btnEdit_ = new QPushButton(u"Изменить..."_s, this);
    btnEdit_->setObjectName(QStringLiteral("btnEdit"));
    btnEdit_->setToolTip(u"Изменить все размеры заземлителей"_s);
    btnClear_ = new QPushButton(u"Очистить"_s, this);
    btnClear_->setObjectName(QStringLiteral("btnClear"));
    btnClear_->setToolTip(u"Удалить все размеры заземлителей"_s);
    connect(btnEdit_, &QPushButton::clicked, this, &CorrosionDialog::editConstructionSizes);
    connect(btnClear_, &QPushButton::clicked, this, &CorrosionDialog::clearConstructionSizes);
    auto* row = new QWidget(this);
    auto* rowLayout = new QHBoxLayout(row);
    rowLayout->setContentsMargins(0, 0, 0, 0);
    rowLayout->addWidget(btnEdit_);
    rowLayout->addWidget(btnClear_);
    rowLayout->addStretch();
    addWidget(row);

    addNote({u"р мин, Ом м - нижний предел значений удельного сопротивления грунта, Ом м."_s,
             u"р макс, Ом м - верхний предел значений удельного сопротивления грунта, Ом м."_s});

    for (DataTable* t : {tables_[3], tables_[4]}) {
        if (!t)
            continue;
        connect(t, &DataTable::currentChanged, this, &CorrosionDialog::updateButtons);
        connect(t, &DataTable::rowsChanged, this, &CorrosionDialog::updateButtons);
        connect(t, &DataTable::stateChanged, this, &CorrosionDialog::updateButtons);
    }
    picker_ = new SizeSelectionDialog(this);
    updateButtons();
    resize(640, 900);
}

bool CorrosionDialog::eventFilter(QObject* watched, QEvent* event) {
    // Kinds, statuses, constructions and sizes come only from the pick lists and the picker.
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key != Qt::Key_Tab && key != Qt::Key_Backtab)
            return true;
    }
    return ReferenceDialog::eventFilter(watched, event);
}

void CorrosionDialog::updateButtons() {
    auto shows = [](const DataTable* t) { return t && t->isOpen() && !t->isEmpty(); };
    btnEdit_->setEnabled(shows(tables_[3]));
    btnClear_->setEnabled(shows(tables_[4]));
}

void CorrosionDialog::editConstructionSizes() {
    DataTable* constructs = tables_[3];
    DataTable* sizes = tables_[4];
    if (!constructs || !sizes || constructs->isEmpty())
        return;
    const QString construct = constructs->asString(QStringLiteral("Construct"));
    const int construction = constructionOf(construct);
    QStringList all;
    if (DataTable* steel = data_.table(steelTableFile(construction)))
        FillSizeList(all, *steel, construction);
    QStringList current;
    const int keep = sizes->recNo();
    for (sizes->first(); !sizes->eof(); sizes->next())
        current << sizes->asString(QStringLiteral("Razmer"));
    if (keep >= 0)
        sizes->moveTo(keep);

    picker_->setConstruction(construct);
    picker_->setSizes(all, current);
    if (picker_->run() != QDialog::Accepted)
        return;
    ReplaceConstructionSizes(*sizes, picker_->checkedSizes());
}

void CorrosionDialog::clearConstructionSizes() {
    if (!tables_[4] || !tables_[3])
        return;
    // Every size of the construction goes at once: ask as the navigators do.
    const QString question = u"Удалить все размеры заземлителя \"%1\"?"_s.arg(
        tables_[3]->text(QStringLiteral("Construct")));
    if (dialogs().question(question, QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes)
        return;
    ReplaceConstructionSizes(*tables_[4], {});
}

} // namespace kz
