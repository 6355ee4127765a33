#pragma once

#include "core/verification/Verification.h"
#include "store/DataFiles.h"

namespace kz {

class DataModule;

// A verification over the program's own tables, with the state of each reference table.
struct TablesVerification {
    VerificationRun run;
    QList<ReferenceTableState> tables;
};

// The cases of folder against the tables of data (those in dataDir()); a failing row names the
// tables that are not as shipped.
TablesVerification verifyTables(DataModule& data, const QString& folder, VerificationOptions options = {});

} // namespace kz
