// What every call of the lab page's module shares: no C++ exception crosses
// into JavaScript, a failure comes back as { error: "…" } in French.
#pragma once

#include <emscripten/val.h>
#include <exception>
#include <new>
#include <string>

namespace bocavo::web {

inline emscripten::val failure(const std::string& text) {
    emscripten::val out = emscripten::val::object();
    out.set("error", text);
    return out;
}

template <typename Work> emscripten::val guarded(Work work) {
    try {
        return work();
    } catch (const std::bad_alloc&) {
        return failure("La mémoire du navigateur ne suffit pas pour ce calcul : réduisez le "
                       "nombre de classes ou de générations.");
    } catch (const std::exception& error) {
        return failure(error.what());
    }
}

} // namespace bocavo::web
