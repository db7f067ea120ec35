// The lab page's four views as plain data: one class, every class, fixation,
// heterozygosity. Each is { title, yLabel, yMax, x, series, sentences }: x
// the generations drawn (Int32Array), each series { label, values (a
// Float64Array, one per x, NaN where there is none), expected, colour }. Series longer than a
// screen shows are reduced for drawing (some generations, the first and last always), never in the
// run itself.
#pragma once

#include "web/bindings/lab_session.h"

#include <emscripten/val.h>
#include <string>

namespace bocavo::web {

// `name`: "classe" (options.set, options.classNumber), "classes"
// (options.set, options.allele), "fixation" or "heterozygotie" (options.set).
emscripten::val viewData(const LabSession& session, const std::string& name,
                         const emscripten::val& options);

} // namespace bocavo::web
