#include "store/StoredVerification.h"

#include "core/common/Paths.h"
#include "store/Schema.h"
#include "store/StoredFrameData.h"

namespace kz {

TablesVerification verifyTables(DataModule& data, const QString& folder, VerificationOptions options) {
    TablesVerification verification;
    verification.tables = referenceTableStates(dataDir());
    for (const ReferenceTableState& table : std::as_const(verification.tables))
        if (table.state != TableState::AsShipped)
            options.changedTables.insert(table.fileName, tableStateText(table.state));
    options.tableFile = tableFileName;
    // Read afresh: a verification sees the tables as they stand now.
    const StoredFrameData frames(data);
    verification.run = runVerification(folder, frames, options);
    return verification;
}

} // namespace kz
