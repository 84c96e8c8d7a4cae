#pragma once
#include <algorithm>
#include <vector>

// The middle of a benchmark's timings (the upper one of an even count): one slow run on a busy
// machine does not move it.
inline double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}
