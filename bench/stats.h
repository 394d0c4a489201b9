#pragma once

#include <algorithm>
#include <chrono>
#include <vector>

namespace orvane::bench {

using Clock = std::chrono::steady_clock;

inline double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The median of a set of runs: steady against the odd slow run on a
// shared machine.
inline double median(std::vector<double> values) {
    if (values.empty()) {
        return 0.0;
    }
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2.0;
}

// Times one call, in milliseconds.
template <typename Work>
double timeOnce(Work&& work) {
    const auto start = Clock::now();
    work();
    return millisecondsSince(start);
}

// One measured quantity of the panel beside its floor.
struct Comparison {
    const char* what;
    const char* unit;
    double panel = 0.0;
    double floor = 0.0;
};

}  // namespace orvane::bench
