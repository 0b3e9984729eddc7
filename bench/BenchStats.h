#pragma once
// The figures every benchmark reports: medians, so that one run disturbed by
// other work on the machine does not move the result, and a high percentile
// where the slow cases matter.
#include <algorithm>
#include <cstddef>
#include <vector>

namespace didad::bench {

// The middle value (the upper one of an even count); -1 for no values.
inline double Median(std::vector<double> values) {
    if (values.empty()) return -1;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The value below which `share` (0 to 1) of the values lie; -1 for no values.
inline double Percentile(std::vector<double> values, double share) {
    if (values.empty()) return -1;
    std::sort(values.begin(), values.end());
    const auto at = static_cast<std::size_t>(share * static_cast<double>(values.size()));
    return values[std::min(values.size() - 1, at)];
}

} // namespace didad::bench
