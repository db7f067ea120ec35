// One way to report a failure: a value, or the French reason it could not be
// had, ready to show to the user as it is.
#pragma once

#include <optional>
#include <string>
#include <utility>

namespace bocavo {

// Why something was refused or failed, in French.
struct Refusal {
    std::string reason;
};

template <typename T> class [[nodiscard]] Result {
public:
    Result(T value) : value_(std::move(value)) {}
    Result(Refusal refusal) : refusal_(std::move(refusal)) {}

    explicit operator bool() const { return value_.has_value(); }
    const T& operator*() const { return *value_; }
    T& operator*() { return *value_; }
    const T* operator->() const { return &*value_; }
    // The French reason; empty when there is a value.
    const std::string& reason() const { return refusal_.reason; }

private:
    std::optional<T> value_;
    Refusal refusal_;
};

// Done, or the reason it was not.
template <> class [[nodiscard]] Result<void> {
public:
    Result() = default;
    Result(Refusal refusal) : refusal_(std::move(refusal)), failed_(true) {}

    explicit operator bool() const { return !failed_; }
    const std::string& reason() const { return refusal_.reason; }

private:
    Refusal refusal_;
    bool failed_ = false;
};

} // namespace bocavo
