#include "core/model/LinkedPair.h"

#include "core/common/NumberText.h"

namespace kz {

long double LinkedPair::largerAbove(long double smaller, int decimals) const {
    return roundTo(ratio * smaller + 0.1L, decimals);
}

long double LinkedPair::smallerBelow(long double larger, int decimals) const {
    return roundTo(larger / ratio - 0.1L, decimals);
}

std::optional<long double> LinkedPair::linkLarger(long double larger, long double smaller,
                                                  int decimals) const {
    if (holds(larger, smaller))
        return std::nullopt;
    return largerAbove(smaller, decimals);
}

std::optional<long double> LinkedPair::linkSmaller(long double larger, long double smaller,
                                                   int decimals) const {
    if (holds(larger, smaller))
        return std::nullopt;
    const long double moved = larger / ratio - 0.1L;
    if (!(moved > 0))
        return std::nullopt;
    return roundTo(moved, decimals);
}

} // namespace kz
