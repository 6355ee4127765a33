#pragma once

#include <QString>

namespace kz {

// The remark on the help page of a calculator whose menu item is still disabled (it is not built
// in this version); empty for every other context.
QString calculatorHelpNote(int context);

} // namespace kz
