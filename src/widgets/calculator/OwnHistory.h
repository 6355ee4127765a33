#pragma once

#include "core/model/HistoryMapping.h"

#include <QString>
#include <functional>
#include <optional>

class QWidget;

// Where a calculator keeps its named sets and how its loader brings one back: hist1.db by kind code,
// or tables of its own named by HistoryLayout::ownTables. The window asks for the name and assigns
// what comes back.
namespace kz {

class DataModule;

struct OwnHistory {
    // Writes the inputs under the name; false when refused (the reason was said).
    std::function<bool(DataModule& data, const HistoryLayout& layout, const QString& name,
                       const InputTexts& inputs)>
        save;
    // The name of a set kept under the same name (any letter case) and of the same kind; nullopt
    // when there is none.
    std::function<std::optional<QString>(DataModule& data, const HistoryLayout& layout, const QString& name)>
        existing;
    // Shows the loader; the chosen set's inputs on OK.
    std::function<std::optional<InputTexts>(DataModule& data, const HistoryLayout& layout, QWidget* owner)>
        load;
};

// By the layout's ownTables ("history", "histmk"); hist1.db's when it names none.
const OwnHistory& historyOf(const HistoryLayout& layout);

} // namespace kz
