#include "widgets/common/FormProcedures.h"

#include "widgets/common/DialogService.h"
#include "core/common/NumberText.h"
#include "core/common/Paths.h"
#include "widgets/common/SpinButton.h"

#include <QComboBox>
#include <QFileInfo>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QScreen>
#include <cmath>

using namespace Qt::StringLiterals;

namespace kz {

namespace {

// Only a move of the focus inside the window counts as leaving an input.
bool leftByUser(QEvent* event) {
    if (event->type() != QEvent::FocusOut)
        return false;
    const auto reason = static_cast<QFocusEvent*>(event)->reason();
    return reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
           reason == Qt::MouseFocusReason || reason == Qt::ShortcutFocusReason;
}

// Key filter and exit check of one numeric input.
class NumericInputFilter : public QObject {
public:
    NumericInputFilter(QObject* parent, bool keys, bool exit) : QObject(parent), keys_(keys), exit_(exit) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* w = static_cast<QWidget*>(watched);
        if (keys_ && event->type() == QEvent::KeyPress)
            return FilterNumberKey(w, static_cast<QKeyEvent*>(event));
        if (exit_ && leftByUser(event))
            CheckNumberOnExit(w);
        return false;
    }

private:
    bool keys_;
    bool exit_;
};

class LeaveFilter : public QObject {
public:
    LeaveFilter(QObject* parent, std::function<void()> handler)
        : QObject(parent), handler_(std::move(handler)) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (leftByUser(event))
            handler_();
        return false;
    }

private:
    std::function<void()> handler_;
};

} // namespace

void focusIfPossible(QWidget* control) {
    if (control->isEnabled() && control->isVisible() && control->focusPolicy() != Qt::NoFocus)
        control->setFocus(Qt::OtherFocusReason);
}

bool isTextControl(const QWidget* control) {
    return qobject_cast<const QLineEdit*>(control) || qobject_cast<const QComboBox*>(control);
}

QString controlText(const QWidget* control) {
    if (auto* e = qobject_cast<const QLineEdit*>(control))
        return e->text();
    if (auto* c = qobject_cast<const QComboBox*>(control))
        return c->currentText();
    return {};
}

void setControlText(QWidget* control, const QString& text) {
    if (auto* e = qobject_cast<QLineEdit*>(control)) {
        e->setText(text);
    } else if (auto* c = qobject_cast<QComboBox*>(control)) {
        if (c->isEditable()) {
            c->setEditText(text);
        } else {
            c->setCurrentIndex(c->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive));
        }
    }
}

void setHint(QWidget* widget, const QString& hint) {
    widget->setProperty("hint", hint);
    widget->setToolTip(shortHint(hint));
    widget->setStatusTip(longHint(hint));
}

QString hintOf(const QWidget* widget) {
    return widget->property("hint").toString();
}

namespace {
bool refuseOnExit(QWidget* control) {
    dialogs().showMessage(u"Ошибочное значение для числового параметра."_s);
    control->setFocus(Qt::OtherFocusReason);
    return false;
}
} // namespace

bool CheckNumberOnExit(QWidget* control) {
    if (!isTextControl(control) || parseNumber(controlText(control)))
        return true;
    return refuseOnExit(control);
}

bool CheckKeptNumberOnExit(QWidget* control) {
    if (!isTextControl(control) || keptNumber(controlText(control)))
        return true;
    return refuseOnExit(control);
}

namespace {
QMargins frameMarginsOf(const QWidget* window) {
    const QRect frame = window->frameGeometry();
    const QRect inner = window->geometry();
    return {inner.left() - frame.left(), inner.top() - frame.top(), frame.right() - inner.right(),
            frame.bottom() - inner.bottom()};
}
} // namespace

void placeWithinScreen(QWidget* window, std::optional<int> top) {
    const QWidget* owner = window->parentWidget() ? window->parentWidget()->window() : window;
    const QScreen* screen = owner->screen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    // Until the window manager has framed a window its frame is unknown, and a move places only
    // its inside: the title bar would go above the screen. The owner's frame, already drawn, is
    // the same decoration.
    QMargins margins = frameMarginsOf(window);
    if (margins.isNull())
        margins = frameMarginsOf(owner);
    QRect frame = window->geometry().marginsAdded(margins);
    if (top)
        frame.moveTop(area.top() + *top);
    frame.moveRight(std::min(frame.right(), area.right()));
    frame.moveLeft(std::max(frame.left(), area.left()));
    frame.moveBottom(std::min(frame.bottom(), area.bottom()));
    frame.moveTop(std::max(frame.top(), area.top()));
    window->setGeometry(frame.marginsRemoved(margins));
}

bool FilterNumberKey(QWidget*, QKeyEvent* key) {
    // Selecting, copying, pasting and undoing work as in any edit line; what is pasted meets the
    // exit check.
    for (const QKeySequence::StandardKey editing :
         {QKeySequence::SelectAll, QKeySequence::Copy, QKeySequence::Cut, QKeySequence::Paste,
          QKeySequence::Undo, QKeySequence::Redo})
        if (key->matches(editing))
            return false;
    const QString text = key->text();
    if (text.isEmpty() || key->key() == Qt::Key_Delete || key->key() == Qt::Key_Escape ||
        key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
        return false; // navigation and editing keys carry no character; Enter calculates
    const QChar c = text.at(0);
    if (text.size() == 1 && (c == QLatin1Char('\b') || c == QLatin1Char('\t') || isNumberKey(c)))
        return false;
    dialogs().beep();
    return true;
}

QObject* makeNumericInput(QWidget* control, bool keyFilter, bool exitCheck) {
    auto* filter = new NumericInputFilter(control, keyFilter, exitCheck);
    control->installEventFilter(filter);
    return filter;
}

QObject* onUserLeave(QWidget* control, std::function<void()> handler) {
    auto* filter = new LeaveFilter(control, std::move(handler));
    control->installEventFilter(filter);
    return filter;
}

bool CheckFilled(QWidget* control, const QString& name, bool show) {
    if (!isTextControl(control))
        return false;
    if (!controlText(control).isEmpty())
        return true;
    if (show) {
        dialogs().showMessage(u"Введите значение "_s + name + QLatin1Char('.'));
        focusIfPossible(control);
    }
    return false;
}

bool CheckPositive(QWidget* control, const QString& name, bool show) {
    if (!isTextControl(control))
        return false;
    const QString text = controlText(control);
    QString message;
    if (text.isEmpty()) {
        message = u"Введите значение "_s + name + QLatin1Char('.');
    } else if (const auto v = parseNumber(text); !v) {
        message = QLatin1Char('"') + echoedText(text) + u"\" - некорректное значение для "_s +
                  name + QLatin1Char('.');
    } else if (*v <= 0) {
        message = u"Значение "_s + name + u" должно быть больше 0."_s;
    } else {
        return true;
    }
    if (show) {
        dialogs().showMessage(message);
        focusIfPossible(control);
    }
    return false;
}

std::optional<long double> numberOrReport(const QWidget* control, const QString& name) {
    const QString text = controlText(control);
    const auto v = parseNumber(text);
    if (v)
        return v;
    if (name.isEmpty())
        dialogs().showMessage(QLatin1Char('"') + echoedText(text) + u"\" - некорректное значение."_s);
    else if (text.isEmpty())
        dialogs().showMessage(u"Введите значение "_s + name + QLatin1Char('.'));
    else
        dialogs().showMessage(QLatin1Char('"') + echoedText(text) + u"\" - некорректное значение для "_s + name +
                              QLatin1Char('.'));
    return v;
}

namespace {
// The number in the pair's input (empty counts as 0); a text that is not a number is reported and left
// unchanged.
std::optional<long double> stepBase(QWidget* control) {
    if (controlText(control).isEmpty())
        return 0.0L;
    return numberOrReport(control);
}
} // namespace

void SpinStepUp(SpinButton* sender, double step) {
    if (!sender || !isTextControl(sender->associate()))
        return;
    QWidget* control = sender->associate();
    if (controlText(control).isEmpty()) {
        setControlText(control, formatGeneral(step));
        return;
    }
    // A step past what a number can hold leaves the input as it is.
    if (const auto v = stepBase(control); v && std::isfinite(double(*v + step)))
        setControlText(control, formatGeneral(double(*v + step)));
}

void SpinStepDown(SpinButton* sender, double step) {
    if (!sender || !isTextControl(sender->associate()))
        return;
    QWidget* control = sender->associate();
    const auto v = stepBase(control);
    if (!v)
        return;
    if (controlText(control).isEmpty() || *v == 0) {
        setControlText(control, formatGeneral(step));
        return;
    }
    if (*v > step)
        setControlText(control, formatGeneral(double(*v - step)));
}

bool LoadPicture(QLabel* image, const QString& fileName) {
    const QString path = pictureDir() + fileName;
    QPixmap pixmap;
    if (!QFileInfo(path).isFile() || !pixmap.load(path)) {
        dialogs().showMessage(u"Ошибка. Графический файл "_s + path +
                              u" не найден."_s);
        return false;
    }
    image->setPixmap(pixmap);
    image->setFixedSize(pixmap.size());
    return true;
}

} // namespace kz
