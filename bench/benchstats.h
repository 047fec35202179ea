#pragma once

// The median the benchmarks report: the middle of the sorted times (the
// upper one of an even count); -1 for no times at all.
#include <algorithm>
#include <vector>

inline double median(std::vector<double> v) {
    if (v.empty())
        return -1;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}
