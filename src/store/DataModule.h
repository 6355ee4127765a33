#pragma once

#include "store/DataTable.h"

#include <QObject>
#include <memory>
#include <vector>

namespace kz {

class Messenger;
class CoefficientTables;
class StoredCoefficients;

// Replaces the message of a store error raised while posting by its Russian text.
void TranslateDbError(StoreError& error);

// The shared tables of the program: created once, opened in their fixed order at start-up,
// closed in the same order at exit.
class DataModule : public QObject {
    Q_OBJECT
public:
    explicit DataModule(QObject* parent = nullptr);
    ~DataModule() override;

    // Opens every table from the data folder; each missing file is reported once.
    void openAll(Messenger& messenger);
    void closeAll();

    // By table object name ("TableUde") or file name ("P_udel.DB"), window-owned tables once
    // made; nullptr if unknown.
    DataTable* table(const QString& name) const;
    DataTable& operator[](const QString& name) const;
    // A table a single window owns (the standard device's history): made when first asked for,
    // opened and closed by its window; nullptr if no window owns one of that name.
    DataTable* windowTable(const QString& name);
    const std::vector<std::unique_ptr<DataTable>>& tables() const { return tables_; }
    // The coefficient tables as the formulas read them, kept until a table is edited.
    const CoefficientTables& coefficients();

private:
    std::vector<std::unique_ptr<DataTable>> tables_;
    std::vector<std::unique_ptr<DataTable>> windowTables_;
    std::unique_ptr<StoredCoefficients> coefficients_;
};

} // namespace kz
