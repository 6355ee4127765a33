#pragma once

class QWidget;

namespace kz {

// Opens the help page of a context number (help/<number>.html beside the executable) in the
// help viewer, over whatever window is active; a missing page is said in the viewer itself.
void showHelp(int context);
// The contents page (help/index.html).
void showHelpContents();
// Help context of a window: the number of the nearest window up the parent chain that has one.
int helpContextOf(const QWidget* widget);
void setHelpContext(QWidget* window, int context);

} // namespace kz
