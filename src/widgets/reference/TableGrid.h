#pragma once

#include <QTableView>
#include <QWidget>

class QToolButton;

namespace kz {

class DataTable;
class DataTableModel;

// A grid bound to a table: the chosen fields as columns titled with their labels (centred) and
// sized by the schema's widths, the table's rows in its order. The grid's current row follows
// the table's and moving in the grid moves the table; a refused move (a post that fails while
// leaving an edited row) keeps the grid on that row. Columns are read-only unless made editable;
// an editable column may offer a pick list instead of free text.
class TableGrid : public QTableView {
    Q_OBJECT
public:
    explicit TableGrid(QWidget* parent = nullptr);

    // Binds the grid to a table (nullptr unbinds). Empty fields: every visible field.
    void setTable(DataTable* table, const QStringList& fields = {});
    DataTable* table() const { return table_; }
    DataTableModel* dataModel() const { return model_; }

    void setTitle(const QString& field, const QString& title);
    // Width in characters, as the schema gives it.
    void setColumnChars(const QString& field, int chars);
    void setEditable(const QString& field, bool editable = true);
    void setAllEditable(bool editable = true);
    void setColumnAlignment(const QString& field, Qt::Alignment alignment);
    // The values a column is set from; an empty list makes it free text again.
    void setPickList(const QString& field, const QStringList& items);
    QStringList pickList(const QString& field) const;
    int columnOf(const QString& field) const;

private:
    void syncFromTable();
    void rowChosen(const QModelIndex& current, const QModelIndex& previous);
    void applyColumnWidths(bool growOnly = false);
    int fittingWidth(int column) const;

    DataTable* table_ = nullptr;
    DataTableModel* model_ = nullptr;
    QMap<QString, QStringList> pickLists_;
    QMap<QString, int> chars_; // widths set by the dialogs, in characters
    bool syncing_ = false;
};

// The record navigator of a table: first, prior, next, last, insert, delete, edit, post, cancel,
// refresh, each enabled as the table's position and state allow. Refused operations leave the
// table as the store left it (the store reports them). Deleting asks first, so that one stray click
// loses nothing stored.
class TableNavigator : public QWidget {
    Q_OBJECT
public:
    enum Button { First, Prior, Next, Last, Insert, Delete, Edit, Post, Cancel, Refresh };

    explicit TableNavigator(QWidget* parent = nullptr);

    void setTable(DataTable* table);
    DataTable* table() const { return table_; }
    // Buttons not listed are hidden.
    void setVisibleButtons(const QList<Button>& buttons);
    // The field whose text names a record in the delete question; none gives the plain question.
    void setNameField(const QString& field) { nameField_ = field; }
    QToolButton* button(Button b) const { return buttons_[b]; }
    void click(Button b);

signals:
    // After a button's operation ran (whatever its outcome).
    void clicked(kz::TableNavigator::Button button);

private:
    void updateButtons();

    DataTable* table_ = nullptr;
    QToolButton* buttons_[Refresh + 1];
    QString nameField_;
};

// Makes store refusals of a table appear as message boxes of the dialog service (unless the
// table reports somewhere already).
void reportThroughDialogs(DataTable& table);

} // namespace kz
