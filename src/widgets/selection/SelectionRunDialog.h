#pragma once

#include "core/selection/Selection.h"

#include <QDialog>
#include <QPointer>

class QHBoxLayout;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTableWidget;
class QToolButton;

namespace kz {

class SpinButton;
class PermissibleResistanceDialog;

// "Параметры подбора.": the run dialog of parameter selection. The calculator fills the list of
// parameters it offers; the user moves them into the grid in the order of nesting (first row
// outermost), edits start, end and step and sets the required resistance. OK checks the grid
// and keeps the dialog open on the first fault.
//
// The grid's horizontal header holds the headings "Параметр", "Начало", "Конец", "Шаг"; its
// rows are the data rows, and at least one (possibly empty) row is always there.
class SelectionRunDialog : public QDialog {
    Q_OBJECT
public:
    explicit SelectionRunDialog(QWidget* parent = nullptr);

    // The offered parameters: emptied by each calculator before it adds its own.
    void clearSelectionParameters();
    void AddSelectionParameter(const SelectionDescriptor& descriptor);
    const QList<SelectionDescriptor>& selectionParameters() const { return descriptors_; }

    // The chosen rows, in nesting order (none while the grid holds only its empty row).
    QList<SelectionRow> selectedRows() const;
    // Puts these rows into the grid (an empty row when there are none) and refills the list with
    // the offered names the grid does not hold.
    void setRows(const QList<SelectionRow>& rows);
    long long SelectionCount() const;

    // FormActivate: an empty grid, the list refilled with the names, the first selected.
    void activate();
    void addParameter();
    void removeParameter();
    void moveRowUp();
    void moveRowDown();
    // The button rule.
    void updateButtons();

    QLineEdit* EditR() const { return editR_; }
    QListWidget* ListBox1() const { return list_; }
    QTableWidget* parameterGrid() const { return grid_; }
    QToolButton* btnAdd() const { return btnAdd_; }
    QToolButton* btnDelete() const { return btnDelete_; }
    QToolButton* btnUp() const { return btnUp_; }
    QToolButton* btnDown() const { return btnDown_; }
    QPushButton* btnOK() const { return btnOK_; }
    QLabel* lblAllowChar() const { return lblAllowChar_; }
    QLabel* lblDiapazon() const { return lblDiapazon_; }
    QLabel* lblRecom() const { return lblRecom_; }

    void done(int result) override;

protected:
    // The steps of the OK check that need no limits: EditR and every cell a number, no cell 0.
    bool checkNumbers();
    void chooseCell(int row, int column);
    // The row of buttons under the grid, "OK" first.
    QHBoxLayout* buttonRow() const { return buttonRow_; }
    // Offered parameters take the shorter wording of hints and limit messages.
    void setCompactTexts(bool on) { compactTexts_ = on; }
    // EditR keeps its key filter; without the check a text that is no number may be left.
    void setEditRExitCheck(bool on);

    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    const SelectionDescriptor* descriptorOf(const QString& name) const;
    bool firstRowNamed() const;
    QString cellText(int row, int column) const;
    void setCellText(int row, int column, const QString& text);
    void showCellHints();
    // Whether a key typed into the grid at the current cell passes; beeps or warns otherwise.
    bool gridKeyAllowed(const QKeyEvent* key);
    bool checkBeforeClosing();
    void runPermissibleResistanceDialog();

    QList<SelectionDescriptor> descriptors_;
    QLineEdit* editR_;
    SpinButton* btnR1_;
    SpinButton* btnR01_;
    QToolButton* speedButton2_;
    QListWidget* list_;
    QTableWidget* grid_;
    QToolButton* btnAdd_;
    QToolButton* btnDelete_;
    QToolButton* btnUp_;
    QToolButton* btnDown_;
    QLabel* lblAllowChar_;
    QLabel* lblDiapazon_;
    QLabel* lblRecom_;
    QPushButton* btnOK_;
    QHBoxLayout* buttonRow_;
    QObject* editRFilter_ = nullptr;
    bool compactTexts_ = false;
    QPointer<PermissibleResistanceDialog> rForm_;
};

// The run dialog every calculator shares, created on first use beside the calculator's owner.
SelectionRunDialog& param1Form(QWidget* calculator);

} // namespace kz
