// What the statistical tests share: a mean with its standard error, and the
// reduced set of cases run under the sanitizers.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <span>

namespace bocavo::labo {

#ifdef BOCAVO_TEST_SANITIZED
inline constexpr bool kSanitized = true;
#else
inline constexpr bool kSanitized = false;
#endif

// Every case of a table, or its first under the sanitizers.
template <typename T, std::size_t n> std::span<const T> casesToRun(const std::array<T, n>& all) {
    return std::span<const T>(all).first(kSanitized ? 1 : n);
}

// Mean and standard error of samples.
struct Sample {
    double sum = 0.0, squares = 0.0;
    int count = 0;
    void add(double x) {
        sum += x;
        squares += x * x;
        ++count;
    }
    double mean() const { return sum / count; }
    double variance() const {
        return std::max(0.0, squares / count - mean() * mean()) * count / (count - 1);
    }
    double se() const { return std::sqrt(variance() / count); }
};

} // namespace bocavo::labo
