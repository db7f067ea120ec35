// The one error type of the engine. Every index outside a table's declared
// bounds and every 16-bit overflow ends up here, with a French description
// fit to show to the user as it stands.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace bocavo {

class EngineError : public std::runtime_error {
public:
    explicit EngineError(const std::string& description) : std::runtime_error(description) {}
};

// Kept out of line so that the checks on the hot paths stay small.
[[noreturn]] void throwIndexError(const char* table, int index, int low, int high);
[[noreturn]] void throwOverflow(const char* operation, int a, int b);

// 16-bit signed arithmetic that refuses to wrap.
inline std::int16_t add16(std::int16_t a, std::int16_t b) {
    const int r = int{a} + int{b};
    if (r < INT16_MIN || r > INT16_MAX)
        throwOverflow("addition", a, b);
    return static_cast<std::int16_t>(r);
}

inline std::int16_t sub16(std::int16_t a, std::int16_t b) {
    const int r = int{a} - int{b};
    if (r < INT16_MIN || r > INT16_MAX)
        throwOverflow("soustraction", a, b);
    return static_cast<std::int16_t>(r);
}

inline std::int16_t mul16(std::int16_t a, std::int16_t b) {
    const int r = int{a} * int{b};
    if (r < INT16_MIN || r > INT16_MAX)
        throwOverflow("multiplication", a, b);
    return static_cast<std::int16_t>(r);
}

} // namespace bocavo
