// The soil and construction frames of the calculator window, as the description declares them:
// one soil frame, two layers on tabs, or soil pages that each hold a frame, its construction frame,
// their own inputs and a picture.
#include "widgets/calculator/CalculatorWindow.h"

#include "core/common/NumberText.h"
#include "core/common/ScopedCount.h"
#include "widgets/common/FormProcedures.h"
#include "widgets/frames/SectionFrame.h"
#include "widgets/frames/SoilFrame.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLineEdit>
#include <QToolButton>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace kz {

namespace {

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
} // namespace

void CalculatorWindow::buildFrames(QBoxLayout* right, QWidget* parent) {
    if (d_.soilFrame) {
        const bool tabs = d_.soilFrames.size() > 1;
        if (tabs) {
            layerTabs_ = new QTabWidget(parent);
            layerTabs_->setObjectName(d_.soilTabsName);
        }
        for (int i = 0; i < d_.soilFrames.size(); ++i) {
            QWidget* page = buildSoilPage(i, tabs ? static_cast<QWidget*>(layerTabs_) : parent);
            if (tabs)
                layerTabs_->addTab(page, d_.soilFrames[i].tab);
            else
                right->addWidget(page);
        }
        if (tabs) {
            layerTabs_->setCurrentIndex(0);
            right->addWidget(layerTabs_);
        }
    }
    for (const ConstructionFrameSetup& c : d_.constructionFrames) {
        if (c.page >= 0)
            continue;
        auto* section = new SectionFrame(data_, parent);
        section->setObjectName(c.name);
        right->addWidget(section);
        sections_ << SectionSlot{section, &c, nullptr};
    }
    for (SectionSlot& slot : sections_)
        for (const SoilSlot& soil : std::as_const(soils_))
            if (soil.setup->name == slot.setup->soil)
                slot.soil = soil.frame;
    for (const SoilSlot& slot : std::as_const(soils_))
        if (slot.setup->prefix.isEmpty())
            soil_ = slot.frame;
    if (d_.twoLayerSoil && soils_.size() > 1)
        lowerSoil_ = soils_[1].frame;
    for (const SectionSlot& slot : std::as_const(sections_))
        if (slot.setup->prefix.isEmpty())
            section_ = slot.frame;
}

QWidget* CalculatorWindow::buildSoilPage(int index, QWidget* parent) {
    const SoilFrameSetup& f = d_.soilFrames[index];
    if (!pageHasOwnParts(d_, index)) {
        auto* frame = new SoilFrame(data_, parent);
        frame->setObjectName(f.name);
        if (!f.resistivityLabel.isEmpty())
            if (auto* label = frame->findChild<QLabel*>(QStringLiteral("lblRo")))
                label->setText(f.resistivityLabel);
        soils_ << SoilSlot{frame, &f};
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
        pageImages_.insert(f.pictureFile, image);
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
        description->setFixedHeight(description->fontMetrics().lineSpacing() * int(f.descriptionLines.size()) +
                                    2 * description->frameWidth() + 12);
        left->addWidget(description);
    }
    left->addStretch(1);
    row->addLayout(left);

    auto* column = new QVBoxLayout;
    auto* frame = new SoilFrame(data_, page);
    frame->setObjectName(f.name);
    if (!f.resistivityLabel.isEmpty())
        if (auto* label = frame->findChild<QLabel*>(QStringLiteral("lblRo")))
            label->setText(f.resistivityLabel);
    soils_ << SoilSlot{frame, &f};
    column->addWidget(frame);
    for (const ConstructionFrameSetup& c : d_.constructionFrames) {
        if (c.page != index)
            continue;
        auto* section = new SectionFrame(data_, page);
        section->setObjectName(c.name);
        column->addWidget(section);
        sections_ << SectionSlot{section, &c, nullptr};
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

void CalculatorWindow::loadPagePictures() {
    for (auto it = pageImages_.cbegin(); it != pageImages_.cend(); ++it)
        LoadPicture(it.value(), it.key());
}

void CalculatorWindow::wireSoilFrames() {
    // The frames show the session's states and hand the user's edits on to it.
    for (const SoilSlot& slot : std::as_const(soils_)) {
        slot.frame->attach();
        connect(slot.frame, &SoilFrame::edited, this,
                [this, frame = slot.setup->name](const QString& field, const QString& text) {
                    // A soil chosen from the list is done at once: its message may be a box.
                    const ScopedCount choosing(choosing_, field == u"ComboGrunt"_s);
                    userEdit(frame + u'.' + field, text, true);
                });
    }
    for (const SectionSlot& slot : std::as_const(sections_)) {
        const ConstructionSetup& c = slot.setup->setup;
        slot.frame->attach(c.letterD, c.letterB, slot.soil ? slot.soil->EditRo() : nullptr, c.electrodeKind);
        const QString frame = slot.setup->name;
        connect(slot.frame, &SectionFrame::edited, this, [this, frame](const QString& field, const QString& text) {
            const ScopedCount choosing(choosing_);
            userEdit(frame + u'.' + field, text, true);
        });
        connect(slot.frame, &SectionFrame::modePressed, this, [this, frame](const QString& button) {
            const ScopedCount choosing(choosing_);
            if (redrawing_ > 0)
                return;
            session_->press(frame + u'.' + button, true);
            redraw();
        });
    }
}

SoilFrame* CalculatorWindow::soilFrameOf(const QString& input) const {
    for (const SoilSlot& slot : soils_)
        if (!slot.setup->prefix.isEmpty() && input.startsWith(slot.setup->prefix))
            return slot.frame;
    for (const SoilSlot& slot : soils_)
        if (slot.setup->prefix.isEmpty())
            return slot.frame;
    return nullptr;
}

SectionFrame* CalculatorWindow::sectionOfMode(const QString& name) const {
    for (const SectionSlot& slot : sections_)
        if (sizeSetModeOf(*slot.setup) == name)
            return slot.frame;
    return nullptr;
}

int CalculatorWindow::sectionInFront() const {
    if (layerTabs_)
        for (int i = 0; i < sections_.size(); ++i)
            if (sections_[i].setup->page == layerTabs_->currentIndex())
                return i;
    return 0;
}

} // namespace kz
