#pragma once

#include "core/model/HistoryMapping.h"
#include "widgets/calculator/OwnHistory.h"

#include <QDialog>
#include <QList>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class QToolButton;

namespace kz {

class DataModule;
class DataTable;
class DataTableModel;

// "Загрузка заземляющего устройства." of the foundation field: the sets of histmk0.db with their
// values and the bolt distances of the chosen one (histmk1.db). Sets can be renamed and deleted (a
// deletion takes the distances with it); adding one by hand is refused while it is shown. OK, only
// with sets to choose from, returns with the chosen set as the table's current row. Help context 37.
//
// Object names: THistFrmMK, DBGrid1, DBNavigator1 (nbFirst … nbCancel), GroupBox1, Label1..Label11,
// DBEdit1..DBEdit11, DBGrid2, btnOK, btnCancel, btnHelp.
class BoltFieldHistoryDialog : public QDialog {
    Q_OBJECT
public:
    explicit BoltFieldHistoryDialog(DataModule& data, QWidget* parent = nullptr);
    ~BoltFieldHistoryDialog() override;

    static constexpr int fieldRows = 11;

    // The captions and fields of the set's values, in their order.
    void setCaptions(const QList<HistoryCaption>& captions);

    DataTable& sets() const { return sets_; }
    DataTable& distances() const { return distances_; }
    QTableView* DBGrid1() const { return grid_; }
    QTableView* DBGrid2() const { return distanceGrid_; }
    QPushButton* btnOK() const { return btnOK_; }
    QLabel* label(int k) const { return labels_.value(k - 1); }    // 1-based
    QLineEdit* dbEdit(int k) const { return edits_.value(k - 1); } // 1-based
    QToolButton* navigatorButton(const QString& objectName) const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void showCurrentRow();

    DataModule& data_;
    DataTable& sets_;
    DataTable& distances_;
    DataTableModel* model_;
    QTableView* grid_;
    QTableView* distanceGrid_;
    QList<QToolButton*> navigator_;
    QList<QLabel*> labels_;
    QList<QLineEdit*> edits_;
    QStringList fields_;
    QPushButton* btnOK_;
};

// The foundation field's history: histmk0.db with its distances, the loader above.
OwnHistory boltFieldHistory();

} // namespace kz
