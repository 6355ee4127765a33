#pragma once

#include <QDialog>
#include <QStringList>

class QPushButton;
class QVBoxLayout;

namespace kz {

class DataTable;
class TableGrid;
class TableNavigator;

// The frame of a dialog over reference tables: caption and help context, then the parts each
// dialog adds in order (heading, grids with their navigators, the note), and at the bottom
// "Закрыть" and "Справка...". Shown through the dialog service.
class ReferenceDialog : public QDialog {
    Q_OBJECT
public:
    // closeResult: what "Закрыть" closes with (Accepted or Rejected).
    ReferenceDialog(const QString& objectName, const QString& caption, int helpContext,
                    QDialog::DialogCode closeResult, QWidget* parent = nullptr);

    // Shows the dialog modally; its result.
    int run();

    QPushButton* closeButton() const { return close_; }
    QPushButton* helpButton() const { return help_; }

protected:
    void addHeading(const QString& text);
    // A navigator over the table, left-aligned in a row of its own.
    TableNavigator* addNavigator(DataTable* table, const QString& navigatorName);
    // A navigator above a grid over the table, named gridName / navigatorName; columns editable.
    TableGrid* addGrid(DataTable* table, const QStringList& fields, const QString& gridName,
                       const QString& navigatorName, TableNavigator** navigator = nullptr);
    // The framed " Примечание " with one line per item.
    void addNote(const QStringList& lines);
    void addWidget(QWidget* widget);
    QVBoxLayout* body() const { return body_; }

private:
    QVBoxLayout* body_;
    QPushButton* close_;
    QPushButton* help_;
};

} // namespace kz
