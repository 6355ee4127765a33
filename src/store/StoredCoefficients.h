#pragma once

#include "core/model/CoefficientTables.h"

#include <QHash>
#include <QObject>
#include <QSet>

namespace kz {

class DataModule;

// The coefficient tables of the data module for the formulas. Each table is read once and kept
// until it is edited, so a selection run over thousands of combinations asks the engine once.
class StoredCoefficients : public QObject, public CoefficientTables {
    Q_OBJECT
public:
    explicit StoredCoefficients(DataModule& data, QObject* parent = nullptr);
    CoefficientRows rows(const QString& table, const QStringList& fields) const override;
    CoefficientRows rowsWhere(const QString& table, const QStringList& fields, const QString& textField,
                              const QString& value) const override;

private:
    CoefficientRows read(const QString& table, const QStringList& fields, const QString& textField,
                         const QString& value) const;
    DataModule& data_;
    mutable QHash<QString, CoefficientRows> cache_;
    mutable QSet<QString> watched_;
};

} // namespace kz
