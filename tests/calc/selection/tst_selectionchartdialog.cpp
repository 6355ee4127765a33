#include "widgets/selection/SelectionChartDialog.h"
#include "widgets/common/HelpViewer.h"

#include <QApplication>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QLabel>
#include <QLineSeries>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
#include <QTest>
#include <QTextBrowser>
#include <QValueAxis>

using namespace Qt::StringLiterals;

using namespace kz;

namespace {

const QString inadmissible = u"Нарушение условий"_s;

// The run of the rod length 1..5 with R допустимое 30: stops at 4.
QStringList rodRun() {
    return {u"L, м"_s,           QStringLiteral("To, м"), u"R, Ом"_s,
            QStringLiteral("1"), QStringLiteral("0,7"),   QStringLiteral("80,21"),
            QStringLiteral("2"), QStringLiteral("0,7"),   QStringLiteral("46,35"),
            QStringLiteral("3"), QStringLiteral("0,7"),   QStringLiteral("33,33"),
            QStringLiteral("4"), QStringLiteral("0,7"),   QStringLiteral("26,27")};
}

QStringList soilRun(const QStringList& values, const QStringList& resistances) {
    QStringList list{u"p, Ом м"_s, u"R, Ом"_s};
    for (int i = 0; i < values.size(); ++i)
        list << values.at(i) << resistances.at(i);
    return list;
}

QStringList seriesNames(const QChart* chart) {
    QStringList names;
    for (const QAbstractSeries* s : chart->series())
        names << s->name();
    return names;
}

QList<QPointF> points(const QChart* chart, int index) {
    return static_cast<const QLineSeries*>(chart->series().at(index))->points();
}

QStringList gridRow(const QTableWidget* grid, int row) {
    QStringList cells;
    for (int c = 0; c < grid->columnCount(); ++c)
        cells << (grid->item(row, c) ? grid->item(row, c)->text() : QString());
    return cells;
}
} // namespace

class TestSelectionChartDialog : public QObject {
    Q_OBJECT
private slots:
    // Before any run.
    void initialTexts();

    // Filling.
    void rodLengthRunGivesTwoSeries();
    void rodLengthRunFillsTheGrid();
    void inadmissibleRowIsInTheGridNotInTheChart();
    void twoColumnsGiveOneSeries();
    void fourColumnsGiveThreeSeries();
    void allInadmissibleShowsNoSeries();
    void secondRunReplacesTheFirst();
    void leftAxisStartsAtZero();
    void zoomIsResetByANewRun();

    // Showing.
    void tablePanelWidthFollowsTheColumns_data();
    void tablePanelWidthFollowsTheColumns();
    void showingSelectsTheLastCell();
    void crowdedLabelsAreThinnedAndZoomBringsThemBack();
    void repeatedValuesKeepTheirOwnLabels();
    void closeButtonClosesAndHelpOpensItsPage();
};

void TestSelectionChartDialog::initialTexts() {
    SelectionChartDialog form;
    QCOMPARE(form.objectName(), QStringLiteral("TDiagForm"));
    QCOMPARE(form.windowTitle(), u"Подбор параметра."_s);
    QCOMPARE(form.lblItog()->text(), u"подбор параметра ..."_s);
    QVERIFY(form.lblItog()->font().bold());
    auto* result = form.findChild<QLabel*>(QStringLiteral("Label2"));
    QVERIFY(result);
    QCOMPARE(result->text(), u"Результат:"_s);
    QVERIFY(result->font().bold());
    QCOMPARE(form.bottomAxis()->titleText(), u"Параметр"_s);
    QCOMPARE(form.leftAxis()->titleText(), u"R - сопротивление растеканию, Ом"_s);
    QVERIFY(form.Memo1()->isReadOnly());
    QCOMPARE(helpContextOf(form.Memo1()), 61);
    QVERIFY(form.chart()->series().isEmpty());
    QVERIFY(form.chart()->legend()->isVisible());
}

void TestSelectionChartDialog::rodLengthRunGivesTwoSeries() {
    SelectionChartDialog form;
    form.ShowSelectionChart(rodRun(), u"Длина стержня, м"_s, 3);

    QChart* chart = form.Chart1()->chart();
    QCOMPARE(seriesNames(chart), QStringList({u"R, Ом"_s, QStringLiteral("To, м")}));
    QCOMPARE(points(chart, 0), QList<QPointF>({{0, 80.21}, {1, 46.35}, {2, 33.33}, {3, 26.27}}));
    QCOMPARE(points(chart, 1), QList<QPointF>({{0, 0.7}, {1, 0.7}, {2, 0.7}, {3, 0.7}}));
    for (QAbstractSeries* s : chart->series()) {
        auto* line = static_cast<QLineSeries*>(s);
        QCOMPARE(line->pen().width(), 2);
        QVERIFY(!line->pointsVisible());
        QCOMPARE(s->attachedAxes().size(), 2);
    }
    QCOMPARE(form.leftAxis()->titleText(), u"R, Ом ; To, м"_s);
    QCOMPARE(form.bottomAxis()->titleText(), u"L, м"_s);
    const QStringList labels{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"),
                             QStringLiteral("4")};
    QCOMPARE(form.pointLabels(), labels);
    QCOMPARE(form.shownLabels(), labels);
}

void TestSelectionChartDialog::rodLengthRunFillsTheGrid() {
    SelectionChartDialog form;
    form.ShowSelectionChart(rodRun(), u"Длина стержня, м"_s, 3);

    QTableWidget* grid = form.dataGrid();
    QCOMPARE(grid->rowCount(), 5);
    QCOMPARE(grid->columnCount(), 3);
    QCOMPARE(gridRow(grid, 0), QStringList({u"L, м"_s, QStringLiteral("To, м"), u"R, Ом"_s}));
    QCOMPARE(gridRow(grid, 1),
             QStringList({QStringLiteral("1"), QStringLiteral("0,7"), QStringLiteral("80,21")}));
    QCOMPARE(gridRow(grid, 4),
             QStringList({QStringLiteral("4"), QStringLiteral("0,7"), QStringLiteral("26,27")}));
    // The headings stay in view in the header; row 0 does not show them a second time.
    QCOMPARE(grid->horizontalHeaderItem(2)->text(), u"R, Ом"_s);
    QVERIFY(grid->isRowHidden(0));
    QVERIFY(!grid->isRowHidden(1));
    for (int c = 0; c < 3; ++c)
        QCOMPARE(grid->columnWidth(c), 50);
}

void TestSelectionChartDialog::inadmissibleRowIsInTheGridNotInTheChart() {
    SelectionChartDialog form;
    QStringList list = rodRun();
    list[8] = inadmissible; // L = 2
    form.ShowSelectionChart(list, u"Длина стержня, м"_s, 3);

    QCOMPARE(form.dataGrid()->rowCount(), 5);
    QCOMPARE(gridRow(form.dataGrid(), 2),
             QStringList({QStringLiteral("2"), QStringLiteral("0,7"), inadmissible}));
    // No gap where L = 2 was: the remaining points follow one another.
    QCOMPARE(points(form.chart(), 0), QList<QPointF>({{0, 80.21}, {1, 33.33}, {2, 26.27}}));
    QCOMPARE(points(form.chart(), 1), QList<QPointF>({{0, 0.7}, {1, 0.7}, {2, 0.7}}));
    QCOMPARE(form.pointLabels(),
             QStringList({QStringLiteral("1"), QStringLiteral("3"), QStringLiteral("4")}));
}

void TestSelectionChartDialog::twoColumnsGiveOneSeries() {
    SelectionChartDialog form;
    form.ShowSelectionChart(soilRun({QStringLiteral("500"), QStringLiteral("450")},
                                    {QStringLiteral("250,5"), QStringLiteral("225,45")}),
                            u"Удельное сопротивление грунта, Ом м"_s, 2);

    QCOMPARE(seriesNames(form.chart()), QStringList({u"R, Ом"_s}));
    QCOMPARE(points(form.chart(), 0), QList<QPointF>({{0, 250.5}, {1, 225.45}}));
    QCOMPARE(form.leftAxis()->titleText(), u"R, Ом"_s);
    QCOMPARE(form.bottomAxis()->titleText(), u"p, Ом м"_s);
    QCOMPARE(form.pointLabels(), QStringList({QStringLiteral("500"), QStringLiteral("450")}));
    QCOMPARE(form.dataGrid()->rowCount(), 3);
    QCOMPARE(form.dataGrid()->columnCount(), 2);
}

void TestSelectionChartDialog::fourColumnsGiveThreeSeries() {
    SelectionChartDialog form;
    form.ShowSelectionChart({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"),
                             QStringLiteral("D"), QStringLiteral("1"), QStringLiteral("2"),
                             QStringLiteral("3"), QStringLiteral("4")},
                            QStringLiteral("A"), 4);

    QCOMPARE(seriesNames(form.chart()),
             QStringList({QStringLiteral("D"), QStringLiteral("C"), QStringLiteral("B")}));
    QCOMPARE(points(form.chart(), 0), QList<QPointF>({{0, 4}}));
    QCOMPARE(points(form.chart(), 1), QList<QPointF>({{0, 3}}));
    QCOMPARE(points(form.chart(), 2), QList<QPointF>({{0, 2}}));
    QCOMPARE(form.leftAxis()->titleText(), QStringLiteral("D ; C ; B"));
    QCOMPARE(form.bottomAxis()->titleText(), QStringLiteral("A"));
}

void TestSelectionChartDialog::allInadmissibleShowsNoSeries() {
    SelectionChartDialog form;
    form.ShowSelectionChart(
        soilRun({QStringLiteral("500"), QStringLiteral("450")}, {inadmissible, inadmissible}),
        u"Удельное сопротивление грунта, Ом м"_s, 2);

    QVERIFY(form.chart()->series().isEmpty());
    QVERIFY(form.pointLabels().isEmpty());
    QVERIFY(form.shownLabels().isEmpty());
    QCOMPARE(form.dataGrid()->rowCount(), 3);
    QCOMPARE(gridRow(form.dataGrid(), 2), QStringList({QStringLiteral("450"), inadmissible}));
    // The titles still name what was tried.
    QCOMPARE(form.leftAxis()->titleText(), u"R, Ом"_s);
}

void TestSelectionChartDialog::secondRunReplacesTheFirst() {
    SelectionChartDialog form;
    form.ShowSelectionChart(rodRun(), u"Длина стержня, м"_s, 3);
    form.ShowSelectionChart(soilRun({QStringLiteral("500")}, {QStringLiteral("250,5")}),
                            u"Удельное сопротивление грунта, Ом м"_s, 2);

    QCOMPARE(seriesNames(form.chart()), QStringList({u"R, Ом"_s}));
    QCOMPARE(points(form.chart(), 0), QList<QPointF>({{0, 250.5}}));
    QCOMPARE(form.leftAxis()->titleText(), u"R, Ом"_s);
    QCOMPARE(form.pointLabels(), QStringList({QStringLiteral("500")}));
    QCOMPARE(form.shownLabels(), QStringList({QStringLiteral("500")}));
    QCOMPARE(form.dataGrid()->rowCount(), 2);
    QCOMPARE(form.dataGrid()->columnCount(), 2);
    QCOMPARE(form.dataGrid()->horizontalHeaderItem(0)->text(), u"p, Ом м"_s);

    // And an empty one after a full one.
    form.ShowSelectionChart(soilRun({QStringLiteral("500")}, {inadmissible}), QString(), 2);
    QVERIFY(form.chart()->series().isEmpty());
}

void TestSelectionChartDialog::leftAxisStartsAtZero() {
    SelectionChartDialog form;
    form.ShowSelectionChart(rodRun(), u"Длина стержня, м"_s, 3);
    QCOMPARE(form.leftAxis()->min(), 0.0);
    QVERIFY(form.leftAxis()->max() >= 80.21);
    QCOMPARE(form.bottomAxis()->min(), -0.5);
    QCOMPARE(form.bottomAxis()->max(), 3.5);

    // Close values far from zero still start at zero.
    form.ShowSelectionChart(
        soilRun({QStringLiteral("1"), QStringLiteral("2")}, {QStringLiteral("99"), QStringLiteral("98")}),
        QString(), 2);
    QCOMPARE(form.leftAxis()->min(), 0.0);
    QVERIFY(form.leftAxis()->max() >= 99);
}

void TestSelectionChartDialog::zoomIsResetByANewRun() {
    SelectionChartDialog form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.ShowSelectionChart(rodRun(), u"Длина стержня, м"_s, 3);
    QRectF area = form.chart()->plotArea();
    form.chart()->zoomIn(QRectF(area.topLeft(), area.size() / 2));
    QVERIFY(form.chart()->isZoomed());

    form.ShowSelectionChart(soilRun({QStringLiteral("500"), QStringLiteral("450")},
                                    {QStringLiteral("250,5"), QStringLiteral("225,45")}),
                            QString(), 2);
    QVERIFY(!form.chart()->isZoomed());
    QCOMPARE(form.bottomAxis()->min(), -0.5);
    QCOMPARE(form.bottomAxis()->max(), 1.5);
    QCOMPARE(form.leftAxis()->min(), 0.0);
    QVERIFY(form.leftAxis()->max() >= 250.5);

    // Resetting a new zoom goes back to this run's ranges, not the first run's.
    area = form.chart()->plotArea();
    form.chart()->zoomIn(QRectF(area.topLeft(), area.size() / 2));
    form.chart()->zoomReset();
    QCOMPARE(form.bottomAxis()->min(), -0.5);
    QCOMPARE(form.bottomAxis()->max(), 1.5);
}

void TestSelectionChartDialog::tablePanelWidthFollowsTheColumns_data() {
    QTest::addColumn<int>("cols");
    QTest::addColumn<int>("width");
    QTest::newRow("two") << 2 << 145;
    QTest::newRow("three") << 3 << 195;
    QTest::newRow("four") << 4 << 245;
}

void TestSelectionChartDialog::tablePanelWidthFollowsTheColumns() {
    QFETCH(int, cols);
    QFETCH(int, width);
    SelectionChartDialog form;
    QStringList list;
    for (int i = 0; i < 2 * cols; ++i)
        list << QString::number(i + 1);
    form.ShowSelectionChart(list, QString(), cols);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(form.tablePanel()->width(), width);
    // Side by side: the table to the right of the chart.
    auto* splitter = form.findChild<QSplitter*>(QStringLiteral("Splitter1"));
    QVERIFY(splitter);
    QCOMPARE(splitter->orientation(), Qt::Horizontal);
    QVERIFY(form.Chart1()->mapTo(&form, QPoint()).x() < form.tablePanel()->mapTo(&form, QPoint()).x());

    // A window already shown follows the next run too.
    form.ShowSelectionChart({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"),
                             QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")},
                            QString(), 3);
    QCOMPARE(form.tablePanel()->width(), 195);
}

void TestSelectionChartDialog::showingSelectsTheLastCell() {
    SelectionChartDialog form;
    QStringList list = rodRun();
    for (int i = 5; i <= 60; ++i)
        list << QString::number(i) << QStringLiteral("0,7") << inadmissible;
    form.ShowSelectionChart(list, u"Длина стержня, м"_s, 3);
    form.show();
    QApplication::setActiveWindow(&form);
    QVERIFY(QTest::qWaitForWindowActive(&form));

    QTableWidget* grid = form.dataGrid();
    QCOMPARE(grid->currentRow(), 60);
    QCOMPARE(grid->currentColumn(), 2);
    QVERIFY(grid->hasFocus());
    const QRect viewport = grid->viewport()->rect();
    QVERIFY(viewport.intersects(grid->visualItemRect(grid->item(60, 2))));
    QVERIFY(!viewport.intersects(grid->visualItemRect(grid->item(1, 0))));
}

void TestSelectionChartDialog::crowdedLabelsAreThinnedAndZoomBringsThemBack() {
    SelectionChartDialog form;
    QStringList values, resistances;
    for (int i = 0; i < 100; ++i) {
        values << QString::number(1000 - 10 * i);
        resistances << QString::number(500 - 5 * i);
    }
    form.ShowSelectionChart(soilRun(values, resistances), QString(), 2);
    form.resize(760, 520);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(form.pointLabels(), values);

    const QStringList shown = form.shownLabels();
    QVERIFY2(shown.size() < 30, qPrintable(QString::number(shown.size())));
    QVERIFY(shown.size() > 1);
    QCOMPARE(shown.first(), QStringLiteral("1000"));
    // Every n-th value from the first, in order.
    const int stride = int(values.indexOf(shown.at(1)));
    QVERIFY(stride > 1);
    for (int k = 0; k < shown.size(); ++k)
        QCOMPARE(shown.at(k), values.at(k * stride));
    // Neighbouring labels at least 30 pixels apart.
    QVERIFY(form.chart()->plotArea().width() * stride / 100.0 >= 30);

    const QRectF area = form.chart()->plotArea();
    form.chart()->zoomIn(QRectF(area.left(), area.top(), area.width() / 10, area.height()));
    const QStringList zoomed = form.shownLabels();
    QVERIFY(zoomed.size() > shown.size());
    QCOMPARE(zoomed.at(1), values.at(1));
}

void TestSelectionChartDialog::repeatedValuesKeepTheirOwnLabels() {
    SelectionChartDialog form;
    form.ShowSelectionChart(soilRun({QStringLiteral("2"), QStringLiteral("2"), QStringLiteral("1")},
                                    {QStringLiteral("5"), QStringLiteral("6"), QStringLiteral("7")}),
                            QString(), 2);
    QCOMPARE(points(form.chart(), 0).size(), 3);
    QCOMPARE(form.pointLabels(),
             QStringList({QStringLiteral("2"), QStringLiteral("2"), QStringLiteral("1")}));
    const QStringList shown = form.shownLabels();
    QCOMPARE(shown.size(), 3);
    for (int k = 0; k < 3; ++k)
        QCOMPARE(QString(shown.at(k)).remove(QChar(0x200B)), form.pointLabels().at(k));
}

void TestSelectionChartDialog::closeButtonClosesAndHelpOpensItsPage() {
    SelectionChartDialog form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));

    auto* help = form.findChild<QPushButton*>(QStringLiteral("btnHelp"));
    QVERIFY(help);
    QCOMPARE(help->text(), u"Справка..."_s);
    help->click();
    QTextBrowser* browser = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QStringLiteral("HelpViewer") && w->isVisible())
            browser = w->findChild<QTextBrowser*>(QStringLiteral("HelpBrowser"));
    QVERIFY(browser);
    QVERIFY(browser->source().fileName() == QStringLiteral("61.html") ||
            browser->toPlainText().contains(QStringLiteral("61.html")));
    browser->window()->close();

    auto* close = form.findChild<QPushButton*>(QStringLiteral("btnClose"));
    QVERIFY(close);
    QCOMPARE(close->text(), u"Закрыть"_s);
    close->click();
    QVERIFY(!form.isVisible());
}

QTEST_MAIN(TestSelectionChartDialog)
#include "tst_selectionchartdialog.moc"
