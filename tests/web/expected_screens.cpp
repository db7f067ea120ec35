// Prints, as JSON, what the main window must show after each click of a
// sequence, computed by the native run-control core. The browser tests click
// the same sequence on the page and compare.
//
//   expected_screens SEPARATOR [--groupe=K] [--graine=S] CLICK...
//
// The options choose the group as the desktop's command line does.
// SEPARATOR is the decimal separator ("," or "."); a CLICK is S (Simulation)
// or G (Next generation), optionally followed by a repeat count: G99 clicks
// Next generation 99 times and prints only the screen after the last one. An
// internal error ends the sequence with {"click": ..., "error": "..."}.
#include "core/run/group_options.h"
#include "core/run/run_core.h"
#include "engine/error.h"

#include <charconv>
#include <cstdio>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

namespace {

std::string quoted(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", u);
            out += escape;
        } else {
            out += c; // UTF-8 passes through as it stands
        }
    }
    return out + '"';
}

template <typename Grid> std::string grid(const Grid& rows) {
    std::string out = "[";
    for (const auto& row : rows) {
        if (out.size() > 1)
            out += ',';
        out += '[' + std::to_string(row[0]) + ',' + std::to_string(row[1]) + ']';
    }
    return out + ']';
}

template <typename Texts> std::string texts(const Texts& list) {
    std::string out = "[";
    for (const auto& text : list) {
        if (out.size() > 1)
            out += ',';
        out += quoted(text);
    }
    return out + ']';
}

std::string screenJson(const bocavo::Screen& s) {
    return std::string("{\"generation\":") + std::to_string(s.generation) +
           ",\"parents\":" + grid(s.parents) + ",\"children\":" + grid(s.children) +
           ",\"parentFrequencies\":" + texts(s.parentFrequencies) +
           ",\"childFrequencies\":" + texts(s.childFrequencies) +
           ",\"parentCaption\":" + quoted(s.parentCaption) +
           ",\"childCaption\":" + quoted(s.childCaption) +
           ",\"simulerEnabled\":" + (s.simulerEnabled ? "true" : "false") +
           ",\"genSuivEnabled\":" + (s.genSuivEnabled ? "true" : "false") + '}';
}

// "G12" -> ('G', 12); false for anything that is not a click.
bool parseClick(std::string_view token, char& command, int& count) {
    if (token.empty() || (token[0] != 'S' && token[0] != 'G'))
        return false;
    command = token[0];
    count = 1;
    if (token.size() == 1)
        return true;
    const auto digits = token.substr(1);
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), count);
    return ec == std::errc{} && end == digits.data() + digits.size() && count > 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: expected_screens SEPARATOR [S|G[count]]...\n";
        return 2;
    }
    struct Click {
        std::string_view token;
        char command = 0;
        int count = 0;
    };
    std::vector<Click> clicks;
    std::vector<std::string_view> options;
    for (int i = 2; i < argc; ++i) {
        if (std::string_view(argv[i]).starts_with("--")) {
            options.push_back(argv[i]);
            continue;
        }
        Click click{argv[i]};
        if (!parseClick(click.token, click.command, click.count)) {
            std::cerr << "expected_screens: not a click: " << argv[i] << '\n';
            return 2;
        }
        clicks.push_back(click);
    }

    const bocavo::GroupChoice choice = bocavo::readGroupOptions(options);
    if (!choice) {
        std::cerr << "expected_screens: " << choice.reason() << '\n';
        return 2;
    }
    bocavo::RunCore core(argv[1], choice->value_or(bocavo::Group{}));
    std::cout << "{\"initial\":" << screenJson(core.screen()) << ",\"steps\":[";
    for (std::size_t i = 0; i < clicks.size(); ++i) {
        const Click& click = clicks[i];
        std::cout << (i > 0 ? "," : "") << "{\"click\":" << quoted(click.token);
        try {
            for (int n = 0; n < click.count; ++n) {
                if (click.command == 'S')
                    core.simulation();
                else
                    core.nextGeneration();
            }
        } catch (const bocavo::EngineError& error) {
            std::cout << ",\"error\":" << quoted(error.what()) << "}]}\n";
            return 0;
        }
        std::cout << ",\"screen\":" << screenJson(core.screen()) << '}';
    }
    std::cout << "]}\n";
    return 0;
}
