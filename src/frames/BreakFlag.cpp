#include "BreakFlag.h"

namespace kz {

bool BreakRequested = false;

} // namespace kz
