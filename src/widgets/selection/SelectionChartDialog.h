#pragma once

#include <QDialog>
#include <QStringList>

class QCategoryAxis;
class QChart;
class QChartView;
class QLabel;
class QPlainTextEdit;
class QSplitter;
class QTableWidget;
class QValueAxis;
class QWidget;

namespace kz {

// The values tried by a single-parameter selection with their resistances: a table on the right
// and a line chart of the admissible ones on the left. Help context 61. The caller sets the
// caption, the note and lblItog for every run and shows the window modally.
//
// Object names: SelectionChartDialog, Splitter1, PanelChart, PanelTable, Label1 ("Таблица подбора"),
// StringGrid1, Label2 ("Результат:"), lblItog, Chart1, GroupBox1, Memo1, btnClose, btnHelp.
//
// The grid: row 0 holds the heading cells, so data row k of the list is grid row k. Row 0 is
// hidden and its texts repeated in the horizontal header, which stays in view while scrolling and
// lets the user drag the column widths.
class SelectionChartDialog : public QDialog {
    Q_OBJECT
public:
    explicit SelectionChartDialog(QWidget* parent = nullptr);

    // Fills the table and the chart from rows of cols cells: the heading row first, then one row
    // per tried value (its last cell a resistance or "Нарушение условий"); cols is at least 2.
    // Replaces what an earlier call showed.
    void ShowSelectionChart(const QStringList& list, const QString& name, int cols);

    // Labels of the chart's points in the order added, one per admissible row. The bottom axis
    // shows them all unless they would crowd closer than 30 pixels; then only every n-th.
    QStringList pointLabels() const { return pointLabels_; }
    // The labels the bottom axis holds at its current size and zoom: every n-th point's (outside a
    // zoomed range they are not drawn). A repeated value carries a zero-width space per repetition,
    // as the axis needs distinct labels.
    QStringList shownLabels() const;

    QPlainTextEdit* Memo1() const { return memo_; }
    QLabel* lblItog() const { return lblItog_; }
    QTableWidget* dataGrid() const { return grid_; }
    QChartView* Chart1() const { return chartView_; }
    QChart* chart() const;
    QCategoryAxis* bottomAxis() const { return axisX_; }
    QValueAxis* leftAxis() const { return axisY_; }
    QWidget* tablePanel() const { return panelTable_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void applyTablePanelWidth();
    void updateBottomLabels();

    QSplitter* splitter_;
    QWidget* panelTable_;
    QTableWidget* grid_;
    QLabel* lblItog_;
    QChartView* chartView_;
    QCategoryAxis* axisX_;
    QValueAxis* axisY_;
    QPlainTextEdit* memo_;

    QStringList pointLabels_;
    int tablePanelWidth_;
    int labelStride_ = 0; // every n-th point label shown; 0 = not laid out yet
    bool centred_ = false;
};

} // namespace kz
