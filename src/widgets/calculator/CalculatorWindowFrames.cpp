// The soil and construction frames of the calculator window: their edits handed to the session,
// and which frame an input or a toolbar command acts on.
#include "widgets/calculator/CalculatorWindow.h"

#include "core/common/ScopedCount.h"
#include "widgets/common/FormProcedures.h"
#include "widgets/frames/SectionFrame.h"
#include "widgets/frames/SoilFrame.h"

#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>

using namespace Qt::StringLiterals;

namespace kz {

using SoilSlot = CalculatorWidgets::SoilSlot;
using SectionSlot = CalculatorWidgets::SectionSlot;

void CalculatorWindow::loadPagePictures() {
    for (auto it = ui_.pageImages.cbegin(); it != ui_.pageImages.cend(); ++it)
        LoadPicture(it.value(), it.key());
}

void CalculatorWindow::wireSoilFrames() {
    // The frames show the session's states and hand the user's edits on to it.
    for (const SoilSlot& slot : std::as_const(ui_.soils)) {
        connect(slot.frame, &SoilFrame::edited, this,
                [this, frame = slot.setup->name](const QString& field, const QString& text) {
                    // A soil chosen from the list is done at once: its message may be a box.
                    const ScopedCount choosing(choosing_, field == u"ComboGrunt"_s);
                    userEdit(frame + u'.' + field, text, true);
                });
    }
    for (const SectionSlot& slot : std::as_const(ui_.sections)) {
        const ConstructionSetup& c = slot.setup->setup;
        slot.frame->attach(c.letterD, c.letterB, c.electrodeKind);
        const QString frame = slot.setup->name;
        connect(slot.frame, &SectionFrame::edited, this,
                [this, frame](const QString& field, const QString& text) {
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
    for (const SoilSlot& slot : ui_.soils)
        if (!slot.setup->prefix.isEmpty() && input.startsWith(slot.setup->prefix))
            return slot.frame;
    for (const SoilSlot& slot : ui_.soils)
        if (slot.setup->prefix.isEmpty())
            return slot.frame;
    return nullptr;
}

SectionFrame* CalculatorWindow::sectionOfMode(const QString& name) const {
    for (const SectionSlot& slot : ui_.sections)
        if (sizeSetModeOf(*slot.setup) == name)
            return slot.frame;
    return nullptr;
}

int CalculatorWindow::sectionInFront() const {
    if (ui_.layerTabs)
        for (int i = 0; i < ui_.sections.size(); ++i)
            if (ui_.sections[i].setup->page == ui_.layerTabs->currentIndex())
                return i;
    return 0;
}

} // namespace kz
