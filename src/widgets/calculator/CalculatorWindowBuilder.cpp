#include "widgets/calculator/CalculatorWindowBuilder.h"

#include "core/common/NumberText.h"
#include "store/DataModule.h"
#include "widgets/calculator/RowGrid.h"
#include "widgets/calculator/TableRowChoice.h"
#include "widgets/common/FormProcedures.h"
#include "widgets/common/HelpViewer.h"
#include "widgets/common/SpinButton.h"
#include "widgets/frames/CalculatorToolbar.h"
#include "widgets/frames/FrameWidgets.h"
#include "widgets/frames/InstallationFrame.h"
#include "widgets/frames/SectionFrame.h"
#include "widgets/frames/SoilFrame.h"
#include "widgets/reference/RadioGroup.h"
#include "widgets/reference/TableGrid.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFrame>
#include <QGraphicsOpacityEffect>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QStyle>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace kz {

namespace {
// Object-name suffix of a step pair: 1 -> "1", 0,1 -> "01", 0,01 -> "001".
QString stepSuffix(double step) {
    return formatGeneral(step).remove(QLatin1Char(','));
}

bool pageHasOwnParts(const CalculatorDescriptor& d, int page) {
    const SoilFrameSetup& f = d.soilFrames[page];
    if (!f.pictureFile.isEmpty() || !f.descriptionLines.isEmpty())
        return true;
    for (const ConstructionFrameSetup& c : d.constructionFrames)
        if (c.page == page)
            return true;
    for (const GeometryInput& g : d.geometry)
        if (g.page == page)
            return true;
    return false;
}
using SoilSlot = CalculatorWidgets::SoilSlot;
using SectionSlot = CalculatorWidgets::SectionSlot;
using PictureChoiceWidgets = CalculatorWidgets::PictureChoiceWidgets;
} // namespace

CalculatorWindowBuilder::CalculatorWindowBuilder(QDialog& window, const CalculatorDescriptor& descriptor,
                                                 DataModule& data)
    : window_(window), d_(descriptor), data_(data) {}

CalculatorWidgets CalculatorWindowBuilder::build() {
    buildWindow();
    buildEquivalentResistivity();
    return std::move(ui_);
}

void CalculatorWindowBuilder::buildWindow() {
    window_.setObjectName(d_.className);
    window_.setWindowTitle(d_.caption);
    setHelpContext(&window_, d_.helpContext);
    window_.setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);

    // No spacing between the stacked parts: hiding a panel shortens the window by its height.
    auto* layout = new QVBoxLayout(&window_);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    ui_.toolbar = new CalculatorToolbar(&window_);
    ui_.toolbar->setObjectName(QStringLiteral("ButtonFrame1"));
    layout->addWidget(ui_.toolbar);

    auto* mainPanel = new QWidget(&window_);
    mainPanel->setObjectName(QStringLiteral("PanelMain"));
    auto* mainLayout = new QHBoxLayout(mainPanel);
    mainLayout->setContentsMargins(6, 6, 6, 6);

    auto* left = new QVBoxLayout;
    auto* picturePanel = new QFrame(mainPanel);
    picturePanel->setObjectName(QStringLiteral("PanelPicture"));
    picturePanel->setFrameShape(QFrame::StyledPanel);
    picturePanel->setFrameShadow(QFrame::Sunken);
    auto* pictureLayout = new QVBoxLayout(picturePanel);
    pictureLayout->setContentsMargins(2, 2, 2, 2);
    ui_.image = new QLabel(picturePanel);
    ui_.image->setObjectName(QStringLiteral("Image1"));
    ui_.image->setAlignment(Qt::AlignCenter);
    pictureLayout->addWidget(ui_.image, 0, Qt::AlignCenter);
    left->addWidget(picturePanel, 0, Qt::AlignHCenter);
    picturePanel->setVisible(!d_.pictureFile.isEmpty());
    // A description stands in place of the conditions, or below them when the formula has both.
    if (!d_.conditionLines.isEmpty() || d_.descriptionLines.isEmpty()) {
        ui_.conditions = new QGroupBox(d_.conditionCaption, mainPanel);
        ui_.conditions->setObjectName(QStringLiteral("GroupBox1"));
        auto* condLayout = new QVBoxLayout(ui_.conditions);
        for (const QString& line : d_.conditionLines)
            condLayout->addWidget(new QLabel(line, ui_.conditions));
        left->addWidget(ui_.conditions);
        ui_.conditions->setVisible(!d_.conditionLines.isEmpty());
    }
    if (!d_.descriptionLines.isEmpty()) {
        auto* heading = new QLabel(u"Справка."_s, mainPanel);
        heading->setObjectName(QStringLiteral("lblDescription"));
        left->addWidget(heading);
        auto* description = new QPlainTextEdit(mainPanel);
        description->setObjectName(QStringLiteral("Memo1"));
        description->setReadOnly(true);
        description->setLineWrapMode(QPlainTextEdit::NoWrap);
        description->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        description->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        description->setFocusPolicy(Qt::NoFocus);
        description->setPlainText(d_.descriptionLines.join(QLatin1Char('\n')));
        description->setFixedHeight(description->fontMetrics().lineSpacing() *
                                        int(d_.descriptionLines.size()) +
                                    2 * description->frameWidth() + 12);
        left->addWidget(description);
    }
    left->addStretch(1);
    mainLayout->addLayout(left);

    auto* right = new QVBoxLayout;
    buildFrames(right, mainPanel);
    auto* geometry = new QFrame(mainPanel);
    geometry->setObjectName(QStringLiteral("PanelGeometry"));
    geometry->setFrameShape(QFrame::StyledPanel);
    auto* grid = new QGridLayout(geometry);
    grid->setColumnStretch(0, 1);
    int row = 0;
    buildGeometry(grid, row);
    buildPageControl(left, mainPanel);

    auto* resultLabel = new QLabel(d_.resultLabel, geometry);
    resultLabel->setObjectName(QStringLiteral("lblResult"));
    QFont bold = resultLabel->font();
    bold.setBold(true);
    resultLabel->setFont(bold);
    ui_.result = makeDisplayField(geometry, d_.resultName);
    ui_.result->setFont(bold);
    ui_.result->setText(QStringLiteral("0.00"));
    ui_.result->setFixedWidth(90);
    ui_.btnScore = new QToolButton(geometry);
    ui_.btnScore->setObjectName(QStringLiteral("btnScore"));
    ui_.btnScore->setIcon(window_.style()->standardIcon(QStyle::SP_MediaPlay));
    ui_.btnScore->setAutoRaise(true);
    ui_.btnScore->setFocusPolicy(Qt::NoFocus);
    setHint(ui_.btnScore, u"Выполнить расчет"_s);
    grid->addWidget(resultLabel, row, 0);
    grid->addWidget(ui_.result, row, 1);
    grid->addWidget(ui_.btnScore, row, 2, Qt::AlignLeft);
    ui_.geometryGrid = grid;
    right->addWidget(geometry);
    right->addStretch(1);
    mainLayout->addLayout(right, 1);
    // The main panel scrolls only where the window would not fit the smallest screen otherwise.
    ui_.mainScroll = new QScrollArea(&window_);
    ui_.mainScroll->setObjectName(QStringLiteral("ScrollMain"));
    ui_.mainScroll->setFrameShape(QFrame::NoFrame);
    ui_.mainScroll->setWidgetResizable(true);
    ui_.mainScroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ui_.mainScroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // A click on a step button or on the panel must not draw the focus from the input, or its
    // check on leaving would speak.
    ui_.mainScroll->setFocusPolicy(Qt::NoFocus);
    ui_.mainScroll->setWidget(mainPanel);
    layout->addWidget(ui_.mainScroll);

    auto* formulaPanel = new QFrame(&window_);
    formulaPanel->setObjectName(QStringLiteral("PanelRaschet"));
    formulaPanel->setFrameShape(QFrame::StyledPanel);
    auto* formulaLayout = new QVBoxLayout(formulaPanel);
    formulaLayout->setContentsMargins(6, 4, 6, 4);
    auto* formula = new QLabel(d_.formulaText, formulaPanel);
    formula->setObjectName(QStringLiteral("Label5"));
    QFont big = formula->font();
    big.setPointSize(10);
    formula->setFont(big);
    formulaLayout->addWidget(formula);
    ui_.message = new QLabel(formulaPanel);
    ui_.message->setObjectName(QStringLiteral("lblMessage"));
    ui_.message->setWordWrap(true);
    // A long message wraps within the window's width instead of widening it.
    ui_.message->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    {
        QPalette red = ui_.message->palette();
        red.setColor(QPalette::WindowText, QColor(0xb0, 0x00, 0x00));
        ui_.message->setPalette(red);
        // Two lines kept free, so that a message does not move the window while the user types.
        ui_.message->setFixedHeight(ui_.message->fontMetrics().lineSpacing() * 2 + 2);
    }
    auto* orderRow = new QHBoxLayout;
    orderRow->addWidget(new QLabel(u"Порядок расчета:"_s, formulaPanel), 0, Qt::AlignTop);
    if (d_.multiLineOrder) {
        ui_.memo = new QPlainTextEdit(formulaPanel);
        ui_.memo->setObjectName(d_.orderMemoName);
        ui_.memo->setReadOnly(true);
        ui_.memo->setLineWrapMode(QPlainTextEdit::NoWrap);
        ui_.memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        ui_.memo->setFixedHeight(110);
        orderRow->addWidget(ui_.memo, 1);
    } else {
        ui_.orderLine = makeDisplayField(formulaPanel, QStringLiteral("EditRaschet"), true);
        orderRow->addWidget(ui_.orderLine, 1);
    }
    formulaLayout->addLayout(orderRow);
    formulaLayout->addWidget(ui_.message);
    layout->addWidget(formulaPanel);

    ui_.eu = new InstallationFrame(&window_);
    ui_.eu->setObjectName(QStringLiteral("frmEU1"));
    layout->addWidget(ui_.eu);
}

void CalculatorWindowBuilder::buildGeometry(QGridLayout* grid, int& row, int page) {
    QWidget* panel = grid->parentWidget();
    // Rows go into the panel's grid, or into the grid of the framed group they belong to.
    QGridLayout* target = grid;
    int groupRow = 0;
    int* at = &row;
    QString group;
    // The column the rows go into: the panel's grid, or a second one beside it.
    QGridLayout* column = grid;
    int secondRow = 0;
    int* columnRow = &row;
    bool newGroup = false;
    for (const GeometryInput& g : d_.geometry) {
        if (g.page != page)
            continue;
        if (g.newColumn && column == grid) {
            column = new QGridLayout;
            column->setColumnStretch(0, 1);
            grid->addLayout(column, 0, 3, -1, 1, Qt::AlignTop);
            grid->setColumnStretch(3, 1);
            columnRow = &secondRow;
            newGroup = true; // the group, if any, starts again in the new column
        }
        if (g.group != group || newGroup) {
            newGroup = false;
            group = g.group;
            if (group.isEmpty()) {
                target = column;
                at = columnRow;
            } else {
                auto* box = new QGroupBox(group, panel);
                box->setObjectName(QStringLiteral("Group") + g.name);
                target = new QGridLayout(box);
                target->setColumnStretch(0, 1);
                column->addWidget(box, (*columnRow)++, 0, 1, 3);
                groupRow = 0;
                at = &groupRow;
            }
        }
        if (g.isRadio()) {
            addRadioInput(g, target, (*at)++);
            continue;
        }
        if (g.isRowGrid()) {
            addRowGrid(g, target, (*at)++, panel);
            continue;
        }
        auto* label = new QLabel(g.label, panel);
        label->setObjectName(g.labelName.isEmpty() ? QStringLiteral("lbl") + g.name : g.labelName);
        if (!g.labelFollows.isEmpty())
            ui_.captions.insert(label->objectName(), label);
        if (g.isChoice()) {
            auto* combo = new QComboBox(panel);
            combo->setObjectName(g.name);
            combo->setEditable(false);
            combo->setMaxVisibleItems(20);
            combo->setFixedWidth(90);
            label->setBuddy(combo);
            ui_.choices.insert(g.name, combo);
            if (!g.choice->items.isEmpty()) {
                combo->addItems(g.choice->items);
                combo->setCurrentIndex(std::max(0, int(g.choice->items.indexOf(g.defaultText))));
            }
            if (!g.hint.isEmpty())
                setHint(combo, g.hint);
            target->addWidget(label, *at, 0);
            target->addWidget(combo, *at, 1);
            addFixedRange(g, target, *at, panel);
            ++*at;
            continue;
        }
        if (g.isRowChoice()) {
            buildRowChoice(g, label, target, *at);
            ++*at;
            continue;
        }
        if (g.isPictureChoice()) {
            delete label; // the choice writes its own caption
            buildPictureChoice(g, target, *at, panel);
            ++*at;
            continue;
        }
        if (g.isSpin()) {
            auto* spin = new QSpinBox(panel);
            spin->setObjectName(g.name);
            spin->setRange(g.spin->minimum, g.spin->maximum);
            spin->setValue(g.defaultText.toInt());
            spin->setFixedWidth(90);
            label->setBuddy(spin);
            ui_.spins.insert(g.name, spin);
            target->addWidget(label, *at, 0);
            target->addWidget(spin, *at, 1);
            addFixedRange(g, target, *at, panel);
            ++*at;
            continue;
        }
        QLineEdit* edit =
            g.readOnly ? makeDisplayField(panel, g.name) : makeEdit(panel, g.name, g.defaultText);
        if (g.readOnly)
            edit->setText(g.defaultText);
        if (!g.hint.isEmpty())
            setHint(edit, g.hint);
        edit->setFixedWidth(90);
        if (g.bold) {
            QFont f = edit->font();
            f.setBold(true);
            edit->setFont(f);
            label->setFont(f);
        }
        if (g.selectionColour) {
            QPalette palette = edit->palette();
            palette.setColor(QPalette::Base, QColor(0xC0, 0xDC, 0xC0));
            edit->setPalette(palette);
        }
        label->setBuddy(edit);
        ui_.geometry.insert(g.name, edit);
        target->addWidget(label, *at, 0);
        target->addWidget(edit, *at, 1);
        auto* spins = new QHBoxLayout;
        spins->setSpacing(0);
        for (int i = 0; i < g.steps.sizes.size(); ++i) {
            const double step = g.steps.sizes[i];
            auto* pair = new SpinButton(edit, step, panel);
            pair->setObjectName(i < g.steps.names.size() ? g.steps.names[i]
                                                         : g.steps.prefix + stepSuffix(step));
            ui_.steps.insert(pair->objectName(), pair);
            spins->addWidget(pair);
        }
        if (!g.range.name.isEmpty()) {
            auto* range = new QLabel(g.range.text, panel);
            range->setObjectName(g.range.name);
            setHint(range, g.range.hint);
            if (!g.range.follows.isEmpty()) {
                range->setStyleSheet(QStringLiteral("color: #800000;")); // dark red, as it changes
                // Room for any bound it shows, so that the window keeps its size while typing.
                range->setMinimumWidth(
                    range->fontMetrics().horizontalAdvance(QStringLiteral("( Ww >= 00000,000000 )")));
            }
            ui_.ranges.insert(g.range.name, range);
            spins->addSpacing(6);
            spins->addWidget(range);
        }
        if (!g.range2.name.isEmpty()) {
            auto* range = new QLabel(panel);
            range->setObjectName(g.range2.name);
            // Shown or emptied with the type: its room is kept either way.
            range->setMinimumWidth(
                range->fontMetrics().horizontalAdvance(QStringLiteral("( 0000 .. 0000 )")));
            setHint(range, g.range2.hint);
            ui_.ranges.insert(g.range2.name, range);
            spins->addSpacing(6);
            spins->addWidget(range);
        }
        if (!g.button.name.isEmpty()) {
            QToolButton* button = makeToolButton(panel, g.button.name, QStringLiteral("coef"), g.button.hint);
            ui_.buttons.insert(g.button.name, button);
            spins->addSpacing(4);
            spins->addWidget(button);
        }
        spins->addStretch(1);
        target->addLayout(spins, *at, 2);
        ++*at;
    }
}

void CalculatorWindowBuilder::buildFrames(QBoxLayout* right, QWidget* parent) {
    if (d_.soilFrame) {
        const bool tabs = d_.soilFrames.size() > 1;
        if (tabs) {
            ui_.layerTabs = new QTabWidget(parent);
            ui_.layerTabs->setObjectName(d_.soilTabsName);
        }
        for (int i = 0; i < d_.soilFrames.size(); ++i) {
            QWidget* page = buildSoilPage(i, tabs ? static_cast<QWidget*>(ui_.layerTabs) : parent);
            if (tabs)
                ui_.layerTabs->addTab(page, d_.soilFrames[i].tab);
            else
                right->addWidget(page);
        }
        if (tabs) {
            ui_.layerTabs->setCurrentIndex(0);
            right->addWidget(ui_.layerTabs);
        }
    }
    for (const ConstructionFrameSetup& c : d_.constructionFrames) {
        if (c.page >= 0)
            continue;
        auto* section = new SectionFrame(parent);
        section->setObjectName(c.name);
        right->addWidget(section);
        ui_.sections << SectionSlot{section, &c, nullptr};
    }
    for (SectionSlot& slot : ui_.sections)
        for (const SoilSlot& soil : std::as_const(ui_.soils))
            if (soil.setup->name == slot.setup->soil)
                slot.soil = soil.frame;
    for (const SoilSlot& slot : std::as_const(ui_.soils))
        if (slot.setup->prefix.isEmpty())
            ui_.soil = slot.frame;
    if (d_.twoLayerSoil && ui_.soils.size() > 1)
        ui_.lowerSoil = ui_.soils[1].frame;
    for (const SectionSlot& slot : std::as_const(ui_.sections))
        if (slot.setup->prefix.isEmpty())
            ui_.section = slot.frame;
}

QWidget* CalculatorWindowBuilder::buildSoilPage(int index, QWidget* parent) {
    const SoilFrameSetup& f = d_.soilFrames[index];
    if (!pageHasOwnParts(d_, index)) {
        auto* frame = new SoilFrame(parent);
        frame->setObjectName(f.name);
        if (!f.resistivityLabel.isEmpty())
            if (auto* label = frame->findChild<QLabel*>(QStringLiteral("lblRo")))
                label->setText(f.resistivityLabel);
        ui_.soils << SoilSlot{frame, &f};
        return frame;
    }
    // A page of its own: the picture and the formula's conditions on the left, the frames and the
    // page's inputs on the right.
    auto* page = new QWidget(parent);
    page->setObjectName(f.name + u"Page"_s);
    auto* row = new QHBoxLayout(page);
    row->setContentsMargins(4, 4, 4, 4);
    auto* left = new QVBoxLayout;
    if (!f.pictureFile.isEmpty()) {
        auto* tabs = new QTabWidget(page);
        tabs->setObjectName(f.pictureTabs);
        auto* image = new QLabel(tabs);
        image->setObjectName(f.imageName);
        image->setAlignment(Qt::AlignCenter);
        tabs->addTab(image, u"Рисунок"_s);
        ui_.pageImages.insert(f.pictureFile, image);
        auto* conditions = new QWidget(tabs);
        auto* lines = new QVBoxLayout(conditions);
        for (const QString& line : f.conditionLines)
            lines->addWidget(new QLabel(line, conditions));
        lines->addStretch(1);
        tabs->addTab(conditions, u"Условия применения формул"_s);
        left->addWidget(tabs);
    }
    if (!f.descriptionLines.isEmpty()) {
        auto* description = new QPlainTextEdit(page);
        description->setObjectName(f.descriptionName);
        description->setReadOnly(true);
        description->setFocusPolicy(Qt::NoFocus);
        description->setLineWrapMode(QPlainTextEdit::NoWrap);
        description->setPlainText(f.descriptionLines.join(u'\n'));
        description->setFixedHeight(description->fontMetrics().lineSpacing() *
                                        int(f.descriptionLines.size()) +
                                    2 * description->frameWidth() + 12);
        left->addWidget(description);
    }
    left->addStretch(1);
    row->addLayout(left);

    auto* column = new QVBoxLayout;
    auto* frame = new SoilFrame(page);
    frame->setObjectName(f.name);
    if (!f.resistivityLabel.isEmpty())
        if (auto* label = frame->findChild<QLabel*>(QStringLiteral("lblRo")))
            label->setText(f.resistivityLabel);
    ui_.soils << SoilSlot{frame, &f};
    column->addWidget(frame);
    for (const ConstructionFrameSetup& c : d_.constructionFrames) {
        if (c.page != index)
            continue;
        auto* section = new SectionFrame(page);
        section->setObjectName(c.name);
        column->addWidget(section);
        ui_.sections << SectionSlot{section, &c, nullptr};
    }
    auto* inputs = new QFrame(page);
    inputs->setObjectName(f.name + u"Inputs"_s);
    inputs->setFrameShape(QFrame::StyledPanel);
    auto* grid = new QGridLayout(inputs);
    grid->setColumnStretch(0, 1);
    int at = 0;
    buildGeometry(grid, at, index);
    column->addWidget(inputs);
    column->addStretch(1);
    row->addLayout(column, 1);
    return page;
}

void CalculatorWindowBuilder::buildPageControl(QBoxLayout* left, QWidget* parent) {
    const bool pictures = !ui_.pictureChoices.isEmpty();
    if (d_.conditionsTab.isEmpty() && !pictures && d_.coefficientTabs.isEmpty() && ui_.rowChoices.isEmpty())
        return;
    ui_.pages = new QTabWidget(parent);
    ui_.pages->setObjectName(QStringLiteral("PageControl1"));
    // The pictures of a choice are Image1, Image2 ...: the device picture gives up the name.
    if (pictures)
        ui_.image->setObjectName(QStringLiteral("ImageDevice"));
    if (!d_.conditionsTab.isEmpty() && ui_.conditions) {
        left->removeWidget(ui_.conditions);
        auto* page = new QWidget(ui_.pages);
        page->setObjectName(QStringLiteral("TabConditions"));
        auto* layout = new QVBoxLayout(page);
        ui_.conditions->setParent(page);
        layout->addWidget(ui_.conditions);
        layout->addStretch(1);
        ui_.pages->addTab(page, d_.conditionsTab);
    }
    for (const GeometryInput& g : d_.geometry)
        if (g.isRowChoice())
            ui_.pages->addTab(ui_.rowChoices.value(g.name), g.rowChoice->tab);
    for (const GeometryInput& g : d_.geometry)
        if (g.isPictureChoice())
            ui_.pages->addTab(ui_.pictureChoices.value(g.name).scroll, g.picture->tab);
    for (const CoefficientTab& t : d_.coefficientTabs)
        ui_.pages->addTab(buildCoefficientTab(t), t.caption);
    // Before the stretch that closes the column.
    left->insertWidget(left->count() - 1, ui_.pages);
}

void CalculatorWindowBuilder::addFixedRange(const GeometryInput& g, QGridLayout* target, int row,
                                            QWidget* panel) {
    // A list or a count has no step buttons: its range label stands alone beside it.
    if (g.range.name.isEmpty())
        return;
    auto* range = new QLabel(g.range.text, panel);
    range->setObjectName(g.range.name);
    setHint(range, g.range.hint);
    ui_.ranges.insert(g.range.name, range);
    target->addWidget(range, row, 2);
}

void CalculatorWindowBuilder::buildPictureChoice(const GeometryInput& g, QGridLayout* target, int row,
                                                 QWidget* panel) {
    PictureChoiceWidgets w;
    auto* caption = new QLabel(g.label, panel);
    caption->setObjectName(QStringLiteral("lblCaption") + g.name);
    w.number = new QLabel(QString::number(g.picture->defaultNumber), panel);
    w.number->setObjectName(g.picture->label);
    QFont bold = w.number->font();
    bold.setBold(true);
    w.number->setFont(bold);
    target->addWidget(caption, row, 0);
    target->addWidget(w.number, row, 1);
    // The number itself lives in a spin edit nobody sees: history, paste and a batch set it by
    // number like any count.
    auto* value = new QSpinBox(panel);
    value->setObjectName(g.name);
    value->setRange(1, int(g.picture->pictures.size()));
    value->setValue(g.picture->defaultNumber);
    value->hide();
    ui_.spins.insert(g.name, value);

    w.scroll = new QScrollArea;
    w.scroll->setObjectName(QStringLiteral("ScrollBox1"));
    w.scroll->setWidgetResizable(true);
    w.scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* inner = new QWidget(w.scroll);
    auto* column = new QVBoxLayout(inner);
    for (int i = 0; i < g.picture->pictures.size(); ++i) {
        const QString n = QString::number(i + 1);
        auto* box = new QFrame(inner);
        box->setObjectName(QStringLiteral("PanelImage") + n);
        box->setFrameShape(QFrame::Box);
        auto* boxLayout = new QVBoxLayout(box);
        boxLayout->setContentsMargins(4, 4, 4, 4);
        auto* image = new QLabel(box);
        image->setObjectName(QStringLiteral("Image") + n);
        image->setAlignment(Qt::AlignCenter);
        image->setCursor(Qt::PointingHandCursor);
        image->setGraphicsEffect(new QGraphicsOpacityEffect(image));
        boxLayout->addWidget(image, 0, Qt::AlignCenter);
        column->addWidget(box);
        w.panels << box;
        w.images << image;
    }
    w.scroll->setWidget(inner);
    w.scroll->setMinimumHeight(300);
    ui_.pictureChoices.insert(g.name, w);
}

QWidget* CalculatorWindowBuilder::buildCoefficientTab(const CoefficientTab& t) {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("Tab") + t.table);
    auto* layout = new QVBoxLayout(page);
    DataTable* table = data_.table(t.table);
    auto* navigator = new TableNavigator(page);
    navigator->setObjectName(QStringLiteral("DBNavigator") + t.table);
    navigator->setTable(table);
    layout->addWidget(navigator);
    QStringList fields;
    for (const TableColumn& c : t.columns)
        fields << c.field;
    auto* grid = new TableGrid(page);
    grid->setObjectName(QStringLiteral("DBGrid") + t.table);
    grid->setTable(table, fields);
    grid->setAllEditable();
    for (const TableColumn& c : t.columns) {
        grid->setTitle(c.field, c.title);
        grid->setColumnAlignment(c.field, Qt::AlignCenter);
        if (!c.pickList.isEmpty())
            grid->setPickList(c.field, c.pickList);
    }
    grid->setMinimumHeight(180);
    layout->addWidget(grid, 1);
    ui_.grids.insert(t.table, grid);
    if (table)
        reportThroughDialogs(*table);
    if (!t.filterName.isEmpty()) {
        auto* filter = new QCheckBox(t.filterCaption, page);
        filter->setObjectName(t.filterName);
        filter->setChecked(t.filterDefault);
        ui_.tableFilters << qMakePair(&t, filter);
        layout->addWidget(filter);
    }
    auto* note = new QGroupBox(u" Примечание "_s, page);
    note->setObjectName(QStringLiteral("grpNote") + t.table);
    auto* noteLayout = new QVBoxLayout(note);
    for (const QString& line : t.notes) {
        auto* label = new QLabel(line, note);
        label->setWordWrap(true);
        noteLayout->addWidget(label);
    }
    layout->addWidget(note);
    return page;
}

void CalculatorWindowBuilder::addRadioInput(const GeometryInput& g, QGridLayout* grid, int row) {
    auto* radio = new RadioGroup(g.name, g.label, g.radio->items, g.radio->columns, grid->parentWidget());
    const int index = int(g.radio->items.indexOf(g.defaultText));
    radio->setItemIndex(index < 0 ? 0 : index);
    ui_.radios.insert(g.name, radio);
    grid->addWidget(radio, row, 0, 1, 3);
}

void CalculatorWindowBuilder::buildRowChoice(const GeometryInput& g, QLabel* caption, QGridLayout* target,
                                             int row) {
    // The grid goes on a tab of its own; its key and check box stand with the inputs.
    auto* choice = new TableRowChoice(g.name, *g.rowChoice, data_, &window_);
    ui_.rowChoices.insert(g.name, choice);
    target->addWidget(caption, row, 0);
    target->addWidget(choice->keyLabel(), row, 1);
    if (choice->check())
        target->addWidget(choice->check(), row, 2);
}

void CalculatorWindowBuilder::addRowGrid(const GeometryInput& g, QGridLayout* target, int row,
                                         QWidget* panel) {
    auto* grid = new RowGrid(*g.rowGrid, panel);
    grid->setObjectName(g.name);
    ui_.rowGrids.insert(g.name, grid);
    if (const GeometryInput* count = [this, &g]() -> const GeometryInput* {
            for (const GeometryInput& c : d_.geometry)
                if (c.name == g.rowGrid->countInput)
                    return &c;
            return nullptr;
        }())
        grid->layOut(count->defaultText.toInt());
    if (!g.rowGrid->defaultText.isEmpty())
        grid->setRowsText(g.rowGrid->defaultText);
    target->addWidget(buildRowGridPanel(grid, panel), row, 0, 1, 3);
    for (const GridButton& b : g.rowGrid->buttons)
        if (auto* button = panel->findChild<QPushButton*>(b.name))
            ui_.gridButtons << CalculatorWidgets::RowGridButton{grid, &b, button};
}

void CalculatorWindowBuilder::buildEquivalentResistivity() {
    if (!d_.equivalentResistivity)
        return;
    const EquivalentResistivitySetup& e = *d_.equivalentResistivity;
    ui_.include = new QCheckBox(e.includeCaption, &window_);
    ui_.include->setObjectName(e.include);
    ui_.include->setEnabled(false);
    addBelowResult(ui_.include);
}

void CalculatorWindowBuilder::addBelowResult(QWidget* widget) {
    ui_.geometryGrid->addWidget(widget, ui_.geometryGrid->rowCount(), 0, 1, 3);
}

} // namespace kz
