#pragma once

#include "core/model/HistoryMapping.h"

#include <QDialog>
#include <QList>
#include <QPointer>
#include <QStringList>
#include <functional>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class QToolButton;

namespace kz {

class DataModule;
class DataTable;
class DataTableModel;

// A read-only grid under the sets with the rows of the chosen set in a detail table.
struct HistoryDetailGrid {
    QString table; // "TableHistMK1"
    QString title;
    QList<HistoryCaption> columns;
    QString notes;
};

// What tells one history loader from another: its table, its object name and help, the rows of its
// caption/field group and an optional grid of the chosen set's details. The defaults are hist1.db's.
struct HistoryLoaderSetup {
    QString objectName = QStringLiteral("THistFrm1");
    QString table = QStringLiteral("TableHist1");
    int rows = 11;
    int helpContext = 35;
    bool confirmDeletion = true;
    std::optional<HistoryDetailGrid> detail;
    QString title = QStringLiteral("Заземляющие устройства");
    QString okText = QStringLiteral("ОК");
    // On activation the loader moves to this distance from the top of the screen; none: centred.
    std::optional<int> windowTop;
    // A single window's table, opened for the loader and closed once it has done.
    bool closeAfterLoad = false;
};

// "Загрузка заземляющего устройства.": the named parameter sets of a history table (hist1.db is
// filtered by the calculator before showing it). Sets can be renamed in the grid and deleted; adding
// one by hand is refused while the loader is visible. OK returns with the chosen set as the table's
// current row.
//
// Object names: DBGrid1, DBNavigator1 (nbFirst, nbPrior, nbNext, nbLast, nbDelete, nbEdit, nbPost,
// nbCancel), GroupBox1, Label1..LabelN, DBEdit1..DBEditN, DBGrid2 (the details), btnOK, btnCancel,
// btnHelp.
class HistoryLoadDialog : public QDialog {
    Q_OBJECT
public:
    explicit HistoryLoadDialog(DataModule& data, const HistoryLoaderSetup& setup = {},
                               QWidget* parent = nullptr);
    ~HistoryLoadDialog() override;

    static constexpr int fieldRows = 11;

    // The captions and fields to show, read in pairs (caption, field name); a caption without a
    // field heads the group under it. A calculator sets them just before showing the loader; the
    // loader forgets them when it closes.
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
    void showCurrentRow();

    QStringList fieldList_;
    DataTable& table_;
    DataTableModel* model_;
    std::function<bool(DataTable&)> previousInsertHook_;
    // The table may go before the loader does (its data module destroyed first).
    QPointer<DataTable> hooked_;
    QTableView* grid_;
    QList<QToolButton*> navigator_;
    QList<QLabel*> labels_;
    QList<QLineEdit*> edits_;
    QStringList boundFields_;
    QPushButton* btnOK_;
    std::optional<int> windowTop_;
};

// A loader's table: one of a single window's own, made on first use, or the data module's.
DataTable& loaderTable(DataModule& data, const QString& name);
// The loader of this setup for the calculators of one data module, made on first use.
HistoryLoadDialog& sharedHistoryLoader(DataModule& data, const HistoryLoaderSetup& setup, QWidget* owner);

} // namespace kz
