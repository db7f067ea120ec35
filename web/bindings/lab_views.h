// The lab page's views: the core's View (core/lab/view/chart.h) as a plain
// JavaScript object, the same one the window draws. Points come as typed
// arrays (x, y); strokes, roles and the rest as the core names them, in
// lower case. The view is chosen by name in one table, so a new core view is
// one entry there.
#pragma once

#include "core/lab/view/chart.h"
#include "web/bindings/lab_session.h"

#include <emscripten/val.h>
#include <string>

namespace bocavo::web {

// `name`: "classe", "classes", "fixation" or "heterozygotie"; `options`:
// { set, classNumber, allele, zoom: {first, last} or null, columns } as the
// core's ChartChoice, any of them left out for its default. Null without a
// run; an unknown name throws std::invalid_argument with the French words.
// `options.sideBySide` true asks for « A et B côte à côte »: the view then
// carries `pair`, one view per set on the same axes, or null without set B;
// `sets` says how many sets the run has. The view also carries
// `classroomLink`: the classroom program's address on the class shown
// (« Ouvrir cette classe dans Bocavo »), or null.
emscripten::val viewData(LabSession& session, const std::string& name,
                         const emscripten::val& options);

// « Copier le tableau »: { text, said } — the numbers of the view `name` shows
// with `options`, as a spreadsheet paste takes them with `decimalSign`, and
// what the page says once copied. Null without a run.
emscripten::val tableData(LabSession& session, const std::string& name,
                          const emscripten::val& options, const std::string& decimalSign);

// A table as « Copier le tableau » puts it on the clipboard: { text, said,
// refused }, the last said when the browser does not allow it.
emscripten::val copiedTable(const labo::ViewTable& table, const std::string& decimalSign);

// A view that is no run's (a size series) in the same shape, `last` its last
// generation; an axis's labels, when the core places them, as [{ at, text }].
emscripten::val viewVal(const labo::View& view, int last);

} // namespace bocavo::web
