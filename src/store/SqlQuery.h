#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

namespace kz {

// A SELECT over the table files of the data folder. The files the statement names are attached
// for the run; values reach the engine only as bound parameters (":P", ":Vid", ...). The result
// is read whole and then walked like a table.
class SqlQuery {
public:
    explicit SqlQuery(const QString& dataDir);

    void setText(const QString& sql) { sql_ = sql; }
    void setText(const QStringList& lines) { sql_ = lines.join(QLatin1Char('\n')); }
    void bindValue(const QString& name, const QVariant& value);
    bool open();
    void close();
    bool isOpen() const { return open_; }
    QString lastError() const { return error_; }

    int recordCount() const { return int(rows_.size()); }
    void first() { current_ = 0; }
    void next() {
        if (current_ < rows_.size())
            ++current_;
    }
    bool eof() const { return current_ >= rows_.size(); }
    QVariant value(const QString& column) const;
    QVariant value(int column) const;
    QStringList columns() const { return columns_; }

    // Names of the table files a statement needs, as found in its text.
    static QStringList referencedTables(const QString& sql);

private:
    QString dataDir_;
    QString sql_;
    QVector<QPair<QString, QVariant>> binds_;
    QStringList columns_;
    QVector<QVector<QVariant>> rows_;
    int current_ = 0;
    bool open_ = false;
    QString error_;
};

} // namespace kz
