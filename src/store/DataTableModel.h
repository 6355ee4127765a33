#pragma once

#include <QAbstractTableModel>
#include <QStringList>

namespace kz {

class DataTable;

// A grid's view of a table: the chosen fields as columns with their labels, the visible rows in
// table order, display texts as the store writes them. Editable columns post each edit at once;
// a row being inserted, or edited after edit() was called on the table, keeps its values in the
// edit buffer until the table posts. The row being inserted shows before the current one.
class DataTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    DataTableModel(DataTable& table, const QStringList& fields, QObject* parent = nullptr);

    DataTable& table() const { return table_; }
    void setEditable(const QString& field, bool editable);
    void setTitle(const QString& field, const QString& title);
    QString fieldAt(int column) const { return fields_.value(column); }
    int columnOf(const QString& field) const { return int(fields_.indexOf(field)); }
    void setAlignment(const QString& field, Qt::Alignment alignment);

    // The grid row of the table's current row (the inserted row while inserting), -1 if none.
    int currentRow() const;
    // The table's row shown on a grid row; -1 for the row being inserted.
    int tableRow(int gridRow) const;
    int insertRow() const { return insertRow_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

private:
    void reset();
    int expectedRows() const;

    DataTable& table_;
    QStringList fields_;
    QList<int> indices_;
    QStringList titles_;
    QList<bool> editable_;
    QList<Qt::Alignment> alignments_;
    int rows_ = 0;
    int insertRow_ = -1;
};

} // namespace kz
