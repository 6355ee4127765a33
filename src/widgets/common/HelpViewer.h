#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace kz {

// Opens the help page of a context number (help/<number>.html beside the executable) in the
// help viewer, over whatever window is active. The viewer has back, forward and contents buttons;
// a missing page is replaced by one that says so, so the viewer never shows an empty page.
void showHelp(int context);
// The contents page (help/index.html).
void showHelpContents();
// Help context of a window: the number of the nearest window up the parent chain that has one.
int helpContextOf(const QWidget* widget);
void setHelpContext(QWidget* window, int context);

// A remark put under the heading of a context's page (HTML, empty for none), asked each time the
// page is shown: the pages are written once, whereas what the program can do grows.
using HelpPageNote = std::function<QString(int context)>;
void setHelpPageNote(HelpPageNote note);
// The page as the viewer shows it: the file with its remark, or the page saying the file is missing.
QString helpPageHtml(const QString& fileName);

} // namespace kz
