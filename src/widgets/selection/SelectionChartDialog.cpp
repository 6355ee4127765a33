#include "widgets/selection/SelectionChartDialog.h"

#include "widgets/common/HelpViewer.h"
#include "core/common/NumberText.h"

#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLegend>
#include <QLineSeries>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace kz {

namespace {

constexpr int helpContext = 61;
constexpr int columnWidth = 50;
constexpr int rowHeight = 18;
constexpr int tablePanelDefault = 145;
constexpr int tablePanelMin = 100;
constexpr int tablePanelMax = 350;
constexpr int splitterMin = 100;
constexpr int labelSeparation = 30;
constexpr int maxSeries = 3;

const QColor silver(0xC0, 0xC0, 0xC0);

QString inadmissibleText() {
    return u"Нарушение условий"_s;
}

QLabel* boldLabel(const QString& text, const char* name, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    QFont f = label->font();
    f.setBold(true);
    label->setFont(f);
    return label;
}
} // namespace

SelectionChartDialog::SelectionChartDialog(QWidget* parent) : QDialog(parent), tablePanelWidth_(tablePanelDefault) {
    setObjectName(QStringLiteral("TDiagForm"));
    setWindowTitle(u"Подбор параметра."_s);
    setWindowFlags(Qt::Dialog | Qt::WindowSystemMenuHint | Qt::WindowTitleHint |
                   Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    setHelpContext(this, helpContext);

    splitter_ = new QSplitter(Qt::Horizontal, this);
    splitter_->setObjectName(QStringLiteral("Splitter1"));
    splitter_->setChildrenCollapsible(false);

    // Left: result line, chart, note with the buttons.
    auto* panelChart = new QWidget(splitter_);
    panelChart->setObjectName(QStringLiteral("PanelChart"));
    panelChart->setMinimumWidth(splitterMin);
    auto* left = new QVBoxLayout(panelChart);
    left->setContentsMargins(0, 0, 0, 0);

    auto* strip = new QHBoxLayout;
    strip->addWidget(boldLabel(u"Результат:"_s, "Label2", panelChart));
    lblItog_ = boldLabel(u"подбор параметра ..."_s, "lblItog", panelChart);
    strip->addWidget(lblItog_, 1);
    left->addLayout(strip);

    auto* chart = new QChart;
    chart->setBackgroundRoundness(0);
    chart->setDropShadowEnabled(false);
    // Decimal comma on the axes as everywhere in the program, without thousands separators.
    QLocale numbers(QLocale::Russian, QLocale::Russia);
    numbers.setNumberOptions(QLocale::OmitGroupSeparator);
    chart->setLocale(numbers);
    chart->setLocalizeNumbers(true);
    chart->legend()->setVisible(true);
    chart->legend()->setAlignment(Qt::AlignTop);
    chart->legend()->setBackgroundVisible(true);
    chart->legend()->setBrush(silver);
    chart->legend()->setPen(QPen(Qt::gray));

    axisX_ = new QCategoryAxis;
    axisX_->setTitleText(u"Параметр"_s);
    axisX_->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    axisX_->setRange(-0.5, 0.5);
    chart->addAxis(axisX_, Qt::AlignBottom);

    axisY_ = new QValueAxis;
    axisY_->setTitleText(u"R - сопротивление растеканию, Ом"_s);
    axisY_->setRange(0, 1);
    axisY_->setLabelFormat(QStringLiteral("%.6g"));
    chart->addAxis(axisY_, Qt::AlignLeft);

    chartView_ = new QChartView(chart, panelChart);
    chartView_->setObjectName(QStringLiteral("Chart1"));
    chartView_->setRenderHint(QPainter::Antialiasing);
    chartView_->setRubberBand(QChartView::RectangleRubberBand);
    chartView_->setFrameShape(QFrame::NoFrame);
    left->addWidget(chartView_, 1);

    auto* note = new QGroupBox(u" Примечание "_s, panelChart);
    note->setObjectName(QStringLiteral("GroupBox1"));
    auto* noteLayout = new QHBoxLayout(note);
    memo_ = new QPlainTextEdit(note);
    memo_->setObjectName(QStringLiteral("Memo1"));
    memo_->setReadOnly(true);
    memo_->setLineWrapMode(QPlainTextEdit::NoWrap);
    memo_->setFixedHeight(memo_->fontMetrics().lineSpacing() * 4 + 12);
    {
        QPalette pal = memo_->palette();
        pal.setColor(QPalette::Base, pal.color(QPalette::Button));
        memo_->setPalette(pal);
    }
    noteLayout->addWidget(memo_, 1);
    auto* buttons = new QVBoxLayout;
    auto* close = new QPushButton(u"Закрыть"_s, note);
    close->setObjectName(QStringLiteral("btnClose"));
    close->setAutoDefault(false);
    auto* help = new QPushButton(u"Справка..."_s, note);
    help->setObjectName(QStringLiteral("btnHelp"));
    help->setAutoDefault(false);
    buttons->addWidget(close);
    buttons->addWidget(help);
    buttons->addStretch(1);
    noteLayout->addLayout(buttons);
    left->addWidget(note);

    // Right: the table of tried values.
    panelTable_ = new QWidget(splitter_);
    panelTable_->setObjectName(QStringLiteral("PanelTable"));
    panelTable_->setMinimumWidth(tablePanelMin);
    panelTable_->setMaximumWidth(tablePanelMax);
    auto* right = new QVBoxLayout(panelTable_);
    right->setContentsMargins(0, 0, 0, 0);
    auto* caption = new QLabel(u"Таблица подбора"_s, panelTable_);
    caption->setObjectName(QStringLiteral("Label1"));
    right->addWidget(caption);

    grid_ = new QTableWidget(1, 0, panelTable_);
    grid_->setObjectName(QStringLiteral("StringGrid1"));
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setSelectionBehavior(QAbstractItemView::SelectItems);
    grid_->verticalHeader()->hide();
    grid_->verticalHeader()->setMinimumSectionSize(1);
    // A larger system font must not clip the digits.
    grid_->verticalHeader()->setDefaultSectionSize(std::max(rowHeight, grid_->fontMetrics().height() + 2));
    grid_->horizontalHeader()->setMinimumSectionSize(10);
    grid_->horizontalHeader()->setDefaultSectionSize(columnWidth);
    grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    grid_->horizontalHeader()->setHighlightSections(false);
    grid_->setRowHidden(0, true);
    right->addWidget(grid_, 1);

    splitter_->setStretchFactor(0, 1);
    splitter_->setStretchFactor(1, 0);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(splitter_, 1);
    resize(760, 520);
    applyTablePanelWidth();

    connect(chart, &QChart::plotAreaChanged, this, [this] { updateBottomLabels(); });
    connect(axisX_, &QValueAxis::rangeChanged, this, [this] { updateBottomLabels(); });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this, [] { showHelp(helpContext); });
}

QChart* SelectionChartDialog::chart() const {
    return chartView_->chart();
}

void SelectionChartDialog::ShowSelectionChart(const QStringList& list, const QString& name, int cols) {
    Q_UNUSED(name) // the caption and the note carry the name; the headings say the rest
    if (cols < 2)
        return;
    const int rows = int(list.size()) / cols;
    auto cell = [&](int row, int col) { return list.at(row * cols + col); };

    grid_->clear();
    grid_->setColumnCount(cols);
    grid_->setRowCount(std::max(rows, 1));
    for (int c = 0; c < cols; ++c)
        grid_->setColumnWidth(c, columnWidth);
    tablePanelWidth_ = cols * columnWidth + 45;
    applyTablePanelWidth();

    QStringList headings;
    for (int c = 0; c < cols; ++c)
        headings << (rows > 0 ? cell(0, c) : QString());
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            grid_->setItem(r, c, new QTableWidgetItem(cell(r, c)));
    grid_->setHorizontalHeaderLabels(headings);
    grid_->setRowHidden(0, true);

    // A zoom of the previous run ends with it.
    QChart* ch = chart();
    ch->zoomReset();
    ch->removeAllSeries();
    pointLabels_.clear();

    // Series k takes the k-th cell from the end: the resistance first, then the values beside it.
    const int seriesCount = std::min(cols - 1, maxSeries);
    QList<QLineSeries*> series;
    QString leftTitle;
    for (int k = 0; k < seriesCount; ++k) {
        auto* s = new QLineSeries;
        s->setName(headings.at(cols - 1 - k));
        series << s;
        if (k > 0)
            leftTitle += QStringLiteral(" ; ");
        leftTitle += headings.at(cols - 1 - k);
    }
    axisY_->setTitleText(leftTitle);
    axisX_->setTitleText(headings.first());

    double low = 0, high = 0;
    bool any = false;
    for (int r = 1; r < rows; ++r) {
        if (cell(r, cols - 1) == inadmissibleText())
            continue;
        const int x = int(pointLabels_.size());
        pointLabels_ << cell(r, 0);
        for (int k = 0; k < seriesCount; ++k) {
            double y = 0;
            if (!tryParseNumber(cell(r, cols - 1 - k), y))
                continue;
            series[k]->append(x, y);
            low = any ? std::min(low, y) : y;
            high = any ? std::max(high, y) : y;
            any = true;
        }
    }

    for (QLineSeries* s : series) {
        if (s->count() == 0) {
            delete s;
            continue;
        }
        ch->addSeries(s);
        // After adding: the chart's theme gives the colour, a pen set earlier would keep black.
        QPen pen = s->pen();
        pen.setWidth(2);
        s->setPen(pen);
        s->setPointsVisible(false);
        s->attachAxis(axisX_);
        s->attachAxis(axisY_);
    }

    // The left axis starts at 0, not at the data minimum, so that small differences between
    // the tried values are not drawn as steep falls. Negative data (not expected) still fits.
    const double minimum = any ? std::min(0.0, std::floor(low)) : 0.0;
    double maximum = any ? high : 1.0;
    if (maximum <= minimum)
        maximum = minimum + 1.0;
    axisY_->setRange(minimum, maximum);
    axisY_->applyNiceNumbers();

    const int points = std::max<int>(int(pointLabels_.size()), 1);
    labelStride_ = 0;
    axisX_->setRange(-0.5, points - 0.5);
    updateBottomLabels();
}

QStringList SelectionChartDialog::shownLabels() const {
    return axisX_->categoriesLabels();
}

void SelectionChartDialog::updateBottomLabels() {
    // Labels closer than the separation are thinned to every n-th point, counted from the first,
    // so that zooming in brings the hidden ones back without the shown ones moving.
    const double span = axisX_->max() - axisX_->min();
    const double width = chart()->plotArea().width();
    int stride = 1;
    if (span > 0 && width > 0 && !pointLabels_.isEmpty()) {
        const QFontMetrics fm(axisX_->labelsFont());
        int widest = 0;
        for (const QString& label : pointLabels_)
            widest = std::max(widest, fm.horizontalAdvance(label));
        const double needed = std::max(labelSeparation, widest + fm.averageCharWidth());
        const double perPoint = width / span;
        stride = std::max(1, int(std::ceil(needed / perPoint)));
    }
    if (stride == labelStride_)
        return;
    labelStride_ = stride;

    for (const QString& label : axisX_->categoriesLabels())
        axisX_->remove(label);
    axisX_->setStartValue(-0.5);
    QStringList used;
    for (int i = 0; i < pointLabels_.size(); i += stride) {
        // The axis needs distinct labels; a repeated value gets an invisible mark.
        QString label = pointLabels_.at(i);
        while (used.contains(label))
            label += QChar(0x200B);
        used << label;
        axisX_->append(label, i);
    }
}

void SelectionChartDialog::applyTablePanelWidth() {
    const int width = std::clamp(tablePanelWidth_, tablePanelMin, tablePanelMax);
    const int total = splitter_->width() - splitter_->handleWidth();
    const int rest = std::max(total - width, splitterMin);
    splitter_->setSizes({rest, width});
}

void SelectionChartDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    if (!centred_) {
        centred_ = true;
        const QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
        QRect area = owner ? owner->frameGeometry() : QRect();
        if (area.isEmpty() && screen())
            area = screen()->availableGeometry();
        if (!area.isEmpty())
            move(area.center() - rect().center());
    }
    const int last = grid_->rowCount() - 1;
    if (last > 0 && grid_->columnCount() > 0) {
        grid_->scrollToBottom();
        grid_->setCurrentCell(last, grid_->columnCount() - 1);
    }
    grid_->setFocus(Qt::OtherFocusReason);
}

} // namespace kz
