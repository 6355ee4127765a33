#pragma once

#include <QDialog>
#include <QList>
#include <QStringList>
#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class QToolButton;

namespace kz {

class DataModule;
class DataTable;
class DataTableModel;

// "Загрузка заземляющего устройства.": the named parameter sets of one calculator kind in
// hist1.db (the calculator filters the table before showing it). Sets can be renamed in the grid
// and deleted; adding one by hand is refused while the loader is visible. OK returns with the
// chosen set as the table's current row. Help context 35.
//
// Object names: DBGrid1, DBNavigator1 (nbFirst, nbPrior, nbNext, nbLast, nbDelete, nbEdit, nbPost,
// nbCancel), GroupBox1, Label1..Label11, DBEdit1..DBEdit11, btnOK, btnCancel, btnHelp.
class HistoryLoadDialog : public QDialog {
    Q_OBJECT
public:
    explicit HistoryLoadDialog(DataModule& data, QWidget* parent = nullptr);
    // The same loader over a history table of one calculator's own (no kind filter), with its own
    // object name and as many caption/field rows as its record has.
    HistoryLoadDialog(DataModule& data, const QString& table, const QString& objectName, int rows, QWidget* parent);
    ~HistoryLoadDialog() override;

    static constexpr int fieldRows = 11;
    int rowCount() const { return rows_; }

    // The captions and fields to show, read in pairs (caption, field name). A calculator sets them
    // just before showing the loader; the loader forgets them when it closes.
    void setFieldList(const QStringList& list) { fieldList_ = list; }
    const QStringList& fieldList() const { return fieldList_; }

    // Opening: captions and fields from the field list, OK only with rows to choose from.
    void activate();
    // Closing: the list emptied, every caption and field hidden.
    void deactivate();

    DataTable& table() const { return table_; }
    QTableView* DBGrid1() const { return grid_; }
    QPushButton* btnOK() const { return btnOK_; }
    QLabel* label(int k) const { return labels_.value(k - 1); }    // 1-based
    QLineEdit* dbEdit(int k) const { return edits_.value(k - 1); } // 1-based
    QToolButton* navigatorButton(const QString& objectName) const;

    static QString manualInsertMessage();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QStringList fieldList_;
    int rows_ = fieldRows;
    void showCurrentRow();
    void updateControls();

    DataTable& table_;
    DataTableModel* model_;
    std::function<bool(DataTable&)> previousInsertHook_;
    QTableView* grid_;
    QList<QToolButton*> navigator_;
    QList<QLabel*> labels_;
    QList<QLineEdit*> edits_;
    QStringList boundFields_;
    QPushButton* btnOK_;
};

// The standard device's loader of history.DB.
class StandardHistoryDialog : public HistoryLoadDialog {
    Q_OBJECT
public:
    explicit StandardHistoryDialog(DataModule& data, QWidget* parent = nullptr);
    static constexpr int rows = 24; // the fields and the headings of their groups
};

} // namespace kz
