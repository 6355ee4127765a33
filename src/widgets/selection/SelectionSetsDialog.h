#pragma once

#include "store/SelectionSets.h"

#include <QDialog>
#include <memory>
#include <optional>

class QPushButton;
class QToolButton;

namespace kz {

class DataTable;
class TableGrid;

// "Загрузка параметров подбора.": the named selection sets of the standard device (podbor0.DB)
// with the rows of the current one (podbor1.DB). Sets can be browsed and deleted, never added
// here; deleting asks first, naming the set. OK, enabled while there is a set, returns with the
// chosen set current. Help context 40.
//
// Object names: DBGrid1 (sets), DBGrid2 (rows), DBNavigator1 (nbFirst, nbPrior, nbNext, nbLast,
// nbDelete), btnOK, btnCancel, btnHelp.
class SelectionSetsDialog : public QDialog {
    Q_OBJECT
public:
    explicit SelectionSetsDialog(QWidget* parent = nullptr);
    ~SelectionSetsDialog() override;

    // Opens both tables of the data folder (the missing ones created empty); false after the
    // store's message when one cannot be opened (both are closed then).
    bool openTables(const QString& dataDir);
    void closeTables();

    // The current set with its rows; nullopt without one.
    std::optional<SelectionSet> currentSet() const;
    // Deletes the current set: its rows first, then the set, in one transaction.
    void deleteCurrentSet();

    DataTable& sets() const { return *sets_; }
    DataTable& rows() const { return *rows_; }
    TableGrid* DBGrid1() const { return grid1_; }
    TableGrid* DBGrid2() const { return grid2_; }
    QToolButton* navigatorButton(const QString& objectName) const;
    QPushButton* btnOK() const { return btnOK_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void updateButtons();

    QString dataDir_;
    std::unique_ptr<DataTable> sets_;
    std::unique_ptr<DataTable> rows_;
    TableGrid* grid1_;
    TableGrid* grid2_;
    QList<QToolButton*> navigator_;
    QPushButton* btnOK_;
};

} // namespace kz
