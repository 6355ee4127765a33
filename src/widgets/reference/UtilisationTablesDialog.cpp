#include "widgets/reference/UtilisationTablesDialog.h"

#include "store/KorGrRules.h"
#include "widgets/reference/TableGrid.h"
#include "store/DataModule.h"

#include <QCheckBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>

using namespace Qt::StringLiterals;

namespace kz {

UtilisationTablesDialog::UtilisationTablesDialog(DataModule& data, QWidget* parent)
    : ReferenceDialog(QStringLiteral("TKIForm"), u"Таблицы коэффициентов использования."_s, helpContext,
                      QDialog::Accepted, parent) {
    const char* const files[2] = {"Kivz.DB", "KIGZ.DB"};
    const char* const captions[2] = {
        "Вертикальные стержни группового заземлителя без учета влияния горизонтального заземлителя.",
        "Горизонтальный заземлитель с учетом влияния  вертикальных стержней."};
    const QStringList fields = {QStringLiteral("Razm"), QStringLiteral("N"), QStringLiteral("Otnosh"),
                                QStringLiteral("KI")};
    for (int panel = 0; panel < 2; ++panel) {
        const QString n = QString::number(panel + 1);
        auto* caption = new QLabel(QString::fromUtf8(captions[panel]), this);
        caption->setObjectName(QStringLiteral("Label") + n);
        caption->setWordWrap(true);
        addWidget(caption);
        tables_[panel] = data.table(QLatin1String(files[panel]));
        TableGrid* grid = addGrid(tables_[panel], fields, QStringLiteral("DBGrid") + n,
                                  QStringLiteral("DBNavigator") + n, &navigators_[panel]);
        grid->setMinimumHeight(160);
        grid->setTitle(QStringLiteral("N"), u"Количество, шт."_s);
        grid->setPickList(QStringLiteral("Razm"), kiPlacementItems());
        grid->setPickList(QStringLiteral("Otnosh"), kiRatioItems());
        for (const char* f : {"N", "Otnosh", "KI"})
            grid->setColumnAlignment(QLatin1String(f), Qt::AlignCenter);
        grid->installEventFilter(this);
        grids_[panel] = grid;

        sort_[panel] = new QCheckBox(u"Сортировать по полю \"Отношение\""_s, this);
        sort_[panel]->setObjectName(QStringLiteral("CheckBox") + n);
        connect(sort_[panel], &QCheckBox::toggled, this, [this, panel](bool on) {
            if (tables_[panel])
                tables_[panel]->setIndexName(on ? QStringLiteral("iOtnosh") : QString());
        });
        addWidget(sort_[panel]);
        updateCounts(panel);
    }
    addNote({u"\"Количество, шт.\" - количество вертикальных стержней в групповом заземлителе (диапазоны "
             u"допустимых значений: при размещении в ряд - 2 .. 20; при размещении по контуру - 4 .. 100)."_s,
             u"\"Отношение\" - отношение расстояния между вертикальными стержнями к их длине (диапазон "
             u"допустимых значений - 1 .. 3)."_s,
             u"\"КИ\" - коэффициент использования."_s,
             u"\"Размещение\" - тип размещения вертикальных стержней группового заземлителя (возможные "
             u"значения: \"ряд\", \"контур\")."_s});
    resize(620, 860);
}

void UtilisationTablesDialog::showEvent(QShowEvent* event) {
    for (int panel = 0; panel < 2; ++panel) {
        if (tables_[panel] && !watchers_[panel])
            watchers_[panel] = connect(tables_[panel], &DataTable::currentChanged, this,
                                       [this, panel] { updateCounts(panel); });
        updateCounts(panel);
    }
    ReferenceDialog::showEvent(event);
}

void UtilisationTablesDialog::hideEvent(QHideEvent* event) {
    for (auto& w : watchers_) {
        disconnect(w);
        w = {};
    }
    ReferenceDialog::hideEvent(event);
}

void UtilisationTablesDialog::updateCounts(int panel) {
    DataTable* t = tables_[panel];
    const QString placement = t && t->isOpen() ? t->asString(QStringLiteral("Razm")) : QString();
    grids_[panel]->setPickList(QStringLiteral("N"), kiCountItems(placement));
}

bool UtilisationTablesDialog::eventFilter(QObject* watched, QEvent* event) {
    // The placement is set only from its pick list.
    if (event->type() == QEvent::KeyPress) {
        auto* grid = qobject_cast<TableGrid*>(watched);
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (grid && grid->currentIndex().column() == grid->columnOf(QStringLiteral("Razm")) &&
            key != Qt::Key_Tab && key != Qt::Key_Backtab)
            return true;
    }
    return ReferenceDialog::eventFilter(watched, event);
}

} // namespace kz
