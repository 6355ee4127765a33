#include "widgets/selection/StandardSelectionDialog.h"

#include "widgets/selection/SelectionSetsDialog.h"
#include "store/SelectionSets.h"
#include "widgets/common/DialogService.h"
#include "core/common/NumberText.h"
#include "core/common/Paths.h"
#include "widgets/common/FormProcedures.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

using namespace Qt::StringLiterals;

namespace kz {

StandardSelectionDialog::StandardSelectionDialog(QWidget* parent) : SelectionRunDialog(parent) {
    setObjectName(u"TParamFrm"_s);
    setCompactTexts(true);
    setEditRExitCheck(false);

    btnSave_ = new QPushButton(u"Сохранить..."_s, this);
    btnSave_->setObjectName(u"btnSave"_s);
    setHint(btnSave_, u"Сохранить параметры подбора"_s);
    btnLoad_ = new QPushButton(u"Загрузить..."_s, this);
    btnLoad_->setObjectName(u"btnLoad"_s);
    setHint(btnLoad_, u"Загрузить параметры подбора"_s);
    for (QPushButton* b : {btnSave_, btnLoad_})
        b->setAutoDefault(false);
    buttonRow()->insertWidget(0, btnSave_);
    buttonRow()->insertWidget(1, btnLoad_);

    connect(btnSave_, &QPushButton::clicked, this, &StandardSelectionDialog::saveSelectionSet);
    connect(btnLoad_, &QPushButton::clicked, this, &StandardSelectionDialog::loadSelectionSet);
}

QString StandardSelectionDialog::folder() const {
    return dataDir_.isEmpty() ? dataDir() : dataDir_;
}

SelectionSetsDialog& StandardSelectionDialog::loader() {
    if (!loader_)
        loader_ = new SelectionSetsDialog(this);
    return *loader_;
}

void StandardSelectionDialog::saveSelectionSet() {
    if (EditR()->text().isEmpty()) {
        dialogs().showMessage(u"Ошибка. Введите требуемое сопротивление контура заземления."_s);
        focusIfPossible(EditR());
        return;
    }
    const QList<SelectionRow> rows = selectedRows();
    if (rows.isEmpty()) {
        dialogs().showMessage(u"Ошибка. Введите хотя бы один параметр подбора."_s);
        focusIfPossible(parameterGrid());
        return;
    }
    if (!checkNumbers())
        return;
    const auto name =
        dialogs().inputText(u"Введите наименование подбора."_s, u"Наименование подбора:"_s, u"Подбор 1"_s);
    if (!name)
        return;
    QList<SelectionSetRow> stored;
    // The texts passed the check above: every one is a number.
    for (const SelectionRow& row : rows)
        stored << SelectionSetRow{row.name, double(*parseNumber(row.start)), double(*parseNumber(row.end)),
                                  double(*parseNumber(row.step))};
    QString error;
    if (!SelectionSets(folder()).save(*name, double(*parseNumber(EditR()->text())), stored, &error))
        dialogs().showMessage(error);
}

void StandardSelectionDialog::loadSelectionSet() {
    SelectionSetsDialog& sets = loader();
    if (!sets.openTables(folder()))
        return;
    std::optional<SelectionSet> chosen;
    if (dialogs().execModal(&sets) == QDialog::Accepted)
        chosen = sets.currentSet();
    sets.closeTables();
    if (!chosen)
        return;
    EditR()->setText(formatGeneral(chosen->r));
    QList<SelectionRow> rows;
    for (const SelectionSetRow& row : std::as_const(chosen->rows))
        rows << SelectionRow{row.param, formatGeneral(row.start), formatGeneral(row.end),
                             formatGeneral(row.step)};
    setRows(rows);
}

StandardSelectionDialog& standardSelectionForm(QWidget* calculator) {
    static QPointer<StandardSelectionDialog> form;
    if (!form) {
        QWidget* owner = calculator && calculator->parentWidget() ? calculator->parentWidget() : calculator;
        form = new StandardSelectionDialog(owner);
    }
    return *form;
}

} // namespace kz
