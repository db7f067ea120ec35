// Sources for tests: one that replays chosen values of u, and one that counts
// what the program's own source hands out.
#pragma once

#include "engine/random_source.h"

#include <cstddef>
#include <gtest/gtest.h>
#include <vector>

namespace bocavo::test {

class ScriptedSource {
public:
    explicit ScriptedSource(std::vector<float> values = {}) : values_(std::move(values)) {}

    float next() {
        if (used_ >= values_.size()) {
            ADD_FAILURE() << "scripted source ran out after " << used_ << " values";
            return 0.0f;
        }
        return values_[used_++];
    }
    std::size_t used() const { return used_; }

private:
    std::vector<float> values_;
    std::size_t used_ = 0;
};

class CountingSource {
public:
    float next() {
        ++used_;
        return source_.next();
    }
    std::size_t used() const { return used_; }

private:
    Source_Aleatoire source_;
    std::size_t used_ = 0;
};

// The u that makes Tirage(n) return k: the middle of the k-th sub-interval.
inline float pick(int k, int n) {
    return (static_cast<float>(k) - 0.5f) / static_cast<float>(n);
}

} // namespace bocavo::test
