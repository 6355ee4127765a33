#pragma once

#include "core/model/HistoryMapping.h"

#include <QString>
#include <functional>
#include <optional>

class QWidget;

// A calculator that keeps its named sets in tables of its own (HistoryLayout::ownTables) instead of
// hist1.db: how it writes a set and how its loader brings one back. The window asks for the name
// and assigns what comes back, as for hist1.db.
namespace kz {

class DataModule;

struct OwnHistory {
    // Writes the inputs under the name; false when refused (the reason was said).
    std::function<bool(DataModule& data, const HistoryLayout& layout, const QString& name,
                       const InputTexts& inputs)>
        save;
    // Shows the loader; the chosen set's inputs on OK.
    std::function<std::optional<InputTexts>(DataModule& data, const HistoryLayout& layout, QWidget* owner)>
        load;
};

// By the layout's ownTables key ("histmk"); nullptr when unknown.
const OwnHistory* findOwnHistory(const QString& key);

} // namespace kz
