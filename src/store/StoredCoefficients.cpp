#include "store/StoredCoefficients.h"

#include "store/DataModule.h"
#include "store/SqlQuery.h"

#include <QFileInfo>
#include <QSet>
#include <limits>

using namespace Qt::StringLiterals;

namespace kz {

StoredCoefficients::StoredCoefficients(DataModule& data, QObject* parent) : QObject(parent), data_(data) {}

CoefficientRows StoredCoefficients::rows(const QString& table, const QStringList& fields) const {
    return read(table, fields, {}, {});
}

CoefficientRows StoredCoefficients::rowsWhere(const QString& table, const QStringList& fields,
                                              const QString& textField, const QString& value) const {
    return read(table, fields, textField, value);
}

CoefficientRows StoredCoefficients::read(const QString& table, const QStringList& fields, const QString& textField,
                                         const QString& value) const {
    QString key = table + u'|' + fields.join(u',');
    if (!textField.isEmpty())
        key += u'|' + textField + u'=' + value;
    if (const auto it = cache_.constFind(key); it != cache_.constEnd())
        return *it;
    DataTable* t = data_.table(table);
    if (!t || !t->isOpen())
        return {};
    if (!watched_.contains(table)) {
        watched_.insert(table);
        // An edit in the reference grid changes what the next calculation reads.
        connect(t, &DataTable::rowsChanged, this, [this, table] {
            for (auto it = cache_.begin(); it != cache_.end();)
                it = it.key().startsWith(table + u'|') ? cache_.erase(it) : std::next(it);
        });
    }
    // The whole table, whatever filter a grid has set on it.
    SqlQuery q(QFileInfo(t->filePath()).absolutePath());
    const QString sqlName = table.section(u'.', 0, 0);
    // The value is bound, never written into the text.
    if (textField.isEmpty()) {
        q.setText(u"select "_s + fields.join(u',') + u" from "_s + sqlName);
    } else {
        q.setText(u"select "_s + fields.join(u',') + u" from "_s + sqlName + u" where "_s + textField + u" = :value"_s);
        q.bindValue(u"value"_s, value);
    }
    CoefficientRows result;
    if (q.open()) {
        for (q.first(); !q.eof(); q.next()) {
            CoefficientRow row;
            row.reserve(fields.size());
            for (qsizetype i = 0; i < fields.size(); ++i) {
                const QVariant v = q.value(int(i));
                row << (v.isNull() ? std::numeric_limits<double>::quiet_NaN() : v.toDouble());
            }
            result << row;
        }
    }
    cache_.insert(key, result);
    return result;
}

} // namespace kz
