#include "labo/cli/progress_line.h"

#include "core/lab/science/limits.h"

#include <algorithm>
#include <ostream>

namespace bocavo::labo {

ProgressLine::ProgressLine(std::ostream* out, std::string what)
    : out_(out), what_(std::move(what)) {}

ProgressLine::~ProgressLine() {
    if (out_ && shown_ >= 0)
        *out_ << '\r' << std::string(width_, ' ') << '\r' << std::flush;
}

Control ProgressLine::control() {
    if (!out_)
        return {};
    return {nullptr, [this](int generation, double done) { show(generation, done); }};
}

void ProgressLine::show(int generation, double done) {
    const int percent = static_cast<int>(done * 100.0);
    if (percent == shown_)
        return;
    shown_ = percent;
    std::string line = what_;
    if (line.empty())
        line = "Génération " + groupDigits(static_cast<std::uint64_t>(generation));
    line += " (" + std::to_string(percent) + " %)";
    width_ = std::max(width_, line.size());
    *out_ << '\r' << line << std::flush;
}

} // namespace bocavo::labo
