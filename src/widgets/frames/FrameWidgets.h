#pragma once

#include <QString>

class QIcon;
class QLabel;
class QLineEdit;
class QToolButton;
class QWidget;

// Pieces the shared frames build their controls from, so that they look and behave alike.
namespace kz {

// An icon of the frames' set (":/icons/<name>.svg").
QIcon frameIcon(const QString& name);
// A flat tool button with an icon (none for an empty name) and a hint that never takes the focus, so that
// clicking it does not run the exit check of the input being edited.
QToolButton* makeToolButton(QWidget* parent, const QString& objectName, const QString& icon,
                            const QString& hint, bool toggle = false);
// A read-only grey field; most of them are left out of the tab order.
QLineEdit* makeDisplayField(QWidget* parent, const QString& objectName, bool inTabOrder = false);
// A plain edit line with an object name and an optional hint "short|long".
QLineEdit* makeEdit(QWidget* parent, const QString& objectName, const QString& text,
                    const QString& hint = {});
QLabel* makeLabel(QWidget* parent, const QString& text, const QString& objectName = {});

} // namespace kz
