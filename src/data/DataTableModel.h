#pragma once

#include <QAbstractTableModel>
#include <QStringList>

namespace kz {

class DataTable;

// A grid's view of a table: the chosen fields as columns with their labels, the visible rows in
// table order, display texts as the store writes them. Editable columns post each edit at once.
class DataTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    DataTableModel(DataTable& table, const QStringList& fields, QObject* parent = nullptr);

    DataTable& table() const { return table_; }
    void setEditable(const QString& field, bool editable);
    void setTitle(const QString& field, const QString& title);
    QString fieldAt(int column) const { return fields_.value(column); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

private:
    void reset();

    DataTable& table_;
    QStringList fields_;
    QList<int> indices_;
    QStringList titles_;
    QList<bool> editable_;
    int rows_ = 0;
};

} // namespace kz
