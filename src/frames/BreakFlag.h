#pragma once

namespace kz {

// Set by the toolbar's stop button; a selection run clears it when it starts and polls it
// between steps. One flag for the whole program: only one run can be active at a time.
extern bool BreakRequested;

} // namespace kz
