#include "widgets/common/SpinButton.h"

#include "core/common/NumberText.h"
#include "widgets/common/FormProcedures.h"

#include <QToolButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace kz {

SpinButton::SpinButton(QWidget* associate, double step, QWidget* parent)
    : QWidget(parent), associate_(associate), step_(step), up_(new QToolButton(this)),
      down_(new QToolButton(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (QToolButton* b : {up_, down_}) {
        b->setAutoRepeat(true);
        b->setAutoRepeatDelay(400);
        b->setAutoRepeatInterval(100);
        b->setFocusPolicy(Qt::NoFocus);
        b->setFixedSize(15, 11);
        b->setIconSize(QSize(7, 5));
        layout->addWidget(b);
    }
    up_->setArrowType(Qt::UpArrow);
    down_->setArrowType(Qt::DownArrow);
    setFixedSize(15, 22);
    setStep(step);
    const auto focusFirst = [this] {
        if (associate_ && associate_->isEnabled() && associate_->isVisible())
            associate_->setFocus(Qt::OtherFocusReason);
    };
    connect(up_, &QToolButton::clicked, this, [this, focusFirst] {
        focusFirst();
        emit upClicked();
    });
    connect(down_, &QToolButton::clicked, this, [this, focusFirst] {
        focusFirst();
        emit downClicked();
    });
}

void SpinButton::setStep(double step) {
    step_ = step;
    const QString hint = u"Изменение значения параметра на "_s + formatGeneral(step);
    setHint(this, hint);
    setHint(up_, hint);
    setHint(down_, hint);
}

void SpinButton::useDefaultSteps() {
    connect(this, &SpinButton::upClicked, this, [this] { SpinStepUp(this, step_); });
    connect(this, &SpinButton::downClicked, this, [this] { SpinStepDown(this, step_); });
}

} // namespace kz
