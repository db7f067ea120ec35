// A long command-line run's progress on a terminal: "Génération 1 200 (3 %)"
// on one line that rewrites itself ("\r"), only when the whole percent
// changes, and is wiped at the end.
#pragma once

#include "core/lab/science/experiment.h"

#include <cstddef>
#include <iosfwd>
#include <string>

namespace bocavo::labo {

class ProgressLine {
public:
    // Without `out`, control() watches nothing. `what` names the step; empty:
    // the generation reached.
    ProgressLine(std::ostream* out, std::string what);
    ~ProgressLine();
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    Control control();

private:
    void show(int generation, double done);

    std::ostream* out_;
    std::string what_;
    int shown_ = -1;
    std::size_t width_ = 0;
};

} // namespace bocavo::labo
