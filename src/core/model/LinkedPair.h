#pragma once

#include <optional>

namespace kz {

// Two inputs held apart by a ratio: the larger stays above ratio × the smaller. When the user breaks
// the rule, linking moves the other input just past the bound, by 0,1.
struct LinkedPair {
    long double ratio = 1;

    bool holds(long double larger, long double smaller) const { return larger > ratio * smaller; }
    // ratio × smaller + 0,1 and larger / ratio − 0,1, rounded; no test of the rule.
    long double largerAbove(long double smaller, int decimals) const;
    long double smallerBelow(long double larger, int decimals) const;
    // The larger moved above the bound; nullopt while the rule holds.
    std::optional<long double> linkLarger(long double larger, long double smaller, int decimals) const;
    // The smaller moved below the bound; nullopt while the rule holds or when nothing above 0 is left.
    // Tested before rounding: a value that rounds to 0 is written and then refused by its check.
    std::optional<long double> linkSmaller(long double larger, long double smaller, int decimals) const;
};

} // namespace kz
