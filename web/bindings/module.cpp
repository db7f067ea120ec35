// What the page may call: the layout table, and one run-control session per
// program start. Every command answers with what the window must show, or
// with the French description of the error that ended the program; no C++
// exception ever crosses into JavaScript.
#include "core/run/group_options.h"
#include "core/run/run_core.h"
#include "web/bindings/layout_table.h"

#include <cstdint>
#include <emscripten/bind.h>
#include <exception>
#include <string>
#include <utility>

namespace bocavo::web {

namespace {

using emscripten::val;

template <typename Rows> val genotypes(const Rows& rows) {
    val table = val::array();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        val row = val::array();
        row.set(0, rows[i][0]);
        row.set(1, rows[i][1]);
        table.set(i, row);
    }
    return table;
}

template <typename Texts> val texts(const Texts& all) {
    val list = val::array();
    for (std::size_t k = 0; k < all.size(); ++k)
        list.set(k, all[k]);
    return list;
}

} // namespace

// The group the page's address asks for: {} without one, {number, seed}, or
// {error} with the French reason, the desktop's own for the same values.
val groupOfFragment(const std::string& fragment) {
    const GroupChoice choice = readGroupFragment(fragment);
    val out = val::object();
    if (!choice) {
        out.set("error", choice.reason());
    } else if (*choice) {
        out.set("number", (*choice)->number);
        out.set("seed", (*choice)->seed);
    }
    return out;
}

// A program start: the generator at its group's state (group 1 of the fixed
// seed without one), nothing drawn yet. The page starts only a group that
// groupOfFragment accepted.
class Session {
public:
    explicit Session(std::string decimalSeparator) : core_(std::move(decimalSeparator)) {}
    Session(std::string decimalSeparator, int group, std::uint32_t seed)
        : core_(std::move(decimalSeparator), Group{group, seed}) {}

    val simulation() { return run(&RunCore::simulation); }
    val nextGeneration() { return run(&RunCore::nextGeneration); }

    val screen() const {
        const auto& s = core_.screen();
        val out = val::object();
        out.set("generation", s.generation);
        out.set("parents", genotypes(s.parents));
        out.set("children", genotypes(s.children));
        out.set("parentFrequencies", texts(s.parentFrequencies));
        out.set("childFrequencies", texts(s.childFrequencies));
        out.set("parentCaption", s.parentCaption);
        out.set("childCaption", s.childCaption);
        out.set("simulerEnabled", s.simulerEnabled);
        out.set("genSuivEnabled", s.genSuivEnabled);
        return out;
    }

private:
    val run(void (RunCore::*command)()) {
        try {
            (core_.*command)();
            return screen();
        } catch (const std::exception& error) {
            val failure = val::object();
            failure.set("error", std::string(error.what()));
            return failure;
        }
    }

    RunCore core_;
};

} // namespace bocavo::web

EMSCRIPTEN_BINDINGS(bocavo) {
    using bocavo::web::Session;
    emscripten::function("layout", &bocavo::web::layoutTable);
    emscripten::function("groupOfFragment", &bocavo::web::groupOfFragment);
    emscripten::class_<Session>("Session")
        .constructor<std::string>()
        .constructor<std::string, int, std::uint32_t>()
        .function("simulation", &Session::simulation)
        .function("nextGeneration", &Session::nextGeneration)
        .function("screen", &Session::screen);
}
