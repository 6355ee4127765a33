#pragma once

#include <QString>
#include <functional>
#include <optional>

class QKeyEvent;
class QObject;
class QLabel;
class QWidget;

namespace kz {

class SpinButton;

// Text of an edit line or combo box; empty for any other control.
QString controlText(const QWidget* control);
// Sets the text of an edit line or combo box as a user would (fires its change signals).
void setControlText(QWidget* control, const QString& text);
bool isTextControl(const QWidget* control);

// Sets a hint "short|long": the tooltip gets the short form, the status bar the long one.
void setHint(QWidget* widget, const QString& hint);
QString hintOf(const QWidget* widget);

// Leaving a numeric input whose text is not a number: message and focus back. False then.
bool CheckNumberOnExit(QWidget* control);
// The same for a number kept as typed (keptNumber): one beyond what a double holds is refused too.
bool CheckKeptNumberOnExit(QWidget* control);
// True when the key must be discarded (it beeps): only digits, the comma, backspace and tab pass.
bool FilterNumberKey(QWidget* control, QKeyEvent* key);
// Makes an edit line or combo box a numeric input: key filter and exit check. Deleting the
// returned object removes both again.
QObject* makeNumericInput(QWidget* control, bool keyFilter = true, bool exitCheck = true);
// Runs handler when the user moves the focus out of the control inside its window (the moves
// that run the exit check of numeric inputs).
QObject* onUserLeave(QWidget* control, std::function<void()> handler);
// The number in an edit line or combo box; a text that is not a number, an empty one included,
// is reported as a failed conversion and gives nullopt. With the input's name (genitive, as the
// checks take it) the message names the input, and an empty text asks for a value.
std::optional<long double> numberOrReport(const QWidget* control, const QString& name = {});

// Puts the focus on a control when it can take it (enabled, visible, focusable).
void focusIfPossible(QWidget* control);

bool CheckFilled(QWidget* control, const QString& name, bool show);
bool CheckPositive(QWidget* control, const QString& name, bool show);

void SpinStepUp(SpinButton* sender, double step);
void SpinStepDown(SpinButton* sender, double step);

// Loads PictureDir + fileName; a missing file is reported and the image is left as it was.
bool LoadPicture(QLabel* image, const QString& fileName);

// Moves a top-level window about to appear so that its whole frame, title bar included, lies in
// the available area of its owner's screen; with `top` its frame starts that many pixels below
// the area's top.
void placeWithinScreen(QWidget* window, std::optional<int> top = std::nullopt);

} // namespace kz
