#pragma once

#include <QString>
#include <optional>

// The stored ranges and steps of single-parameter selection (parpod0.db with sparpod1.DB,
// iparpod1.DB and rparpod1.DB), read over the table files in the data folder.
namespace kz {

struct StoredSelectionRange {
    double start = 0; // BValue; none in the resistivity steps
    double end = 0;   // EValue
    double step = 0;  // Shag
};

// The range of a parameter of one calculator kind from the given settings table (1 resistivity
// steps, 2 real, 3 integer parameters). nullopt with the message to show: the store's error, or
// "Параметр "<name>" в таблице параметров не найден.".
std::optional<StoredSelectionRange> storedSelectionRange(const QString& dataDir, int kindCode, int settingsTable,
                                                         const QString& name, QString* message);

} // namespace kz
