#pragma once

#include <QLineEdit>

namespace kz {

class DataTable;

// An edit line bound to one field of a table's current row. Typing puts the table into edit
// mode and writes the value into the edit buffer, so that the navigator's post stores it; a
// text that is not a value of the field is reported when the user leaves the line.
class FieldEdit : public QLineEdit {
    Q_OBJECT
public:
    FieldEdit(DataTable& table, const QString& field, QWidget* parent = nullptr);
    QString field() const { return field_; }

private:
    void showValue();
    bool acceptable(const QString& text) const;

    DataTable& table_;
    QString field_;
};

} // namespace kz
