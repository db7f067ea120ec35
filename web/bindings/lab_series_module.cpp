// « Série de tailles » for the lab page's worker: set A of the page's fields
// at several sizes, in slices that the page asks for one at a time, so that
// its cancel comes between two. Plain data, as the rest of the module.
#include "core/lab/files/run_description.h"
#include "core/lab/files/series_csv.h"
#include "core/lab/files/view_table.h"
#include "core/lab/view/series_view.h"
#include "web/bindings/lab_fields.h"
#include "web/bindings/lab_guarded.h"
#include "web/bindings/lab_series.h"
#include "web/bindings/lab_session.h"
#include "web/bindings/lab_views.h"

#include <emscripten/bind.h>

namespace bocavo::web {
namespace {

using emscripten::val;
using namespace bocavo::labo;

std::string firstRefusal(const FieldReading& reading) {
    return reading.refusals.empty() ? std::string() : reading.refusals.front().text;
}

// The rows as the window's table shows them: headings, then one row per
// size, numbers with a decimal comma.
val shownTable(const std::vector<std::vector<SheetCell>>& cells) {
    val rows = val::array();
    for (const auto& cellRow : cells) {
        val row = val::array();
        for (const SheetCell& cell : cellRow)
            row.call<void>("push", cell.kind == SheetCell::Kind::Number
                                       ? withSeparator(cell.value, ",")
                                       : cell.value);
        rows.call<void>("push", row);
    }
    return rows;
}

} // namespace

class LabModuleSeries {
public:
    // { note, refused }: what the series takes from the fields, and why the
    // sizes cannot run now ("" when they can).
    val check(const val& fields, const std::string& sizes) const {
        return guarded([&] {
            const FieldReading reading = readFields(scenarioFields(fields));
            val out = val::object();
            out.set("note", reading.scenario ? seriesSettingsNote(*reading.scenario) : "");
            out.set("refused", SeriesRun::refusal(reading.scenario, firstRefusal(reading), sizes));
            return out;
        });
    }
    // The state, with { refused } when the series did not start.
    val start(const val& fields, const std::string& sizes) {
        return guarded([&] {
            const FieldReading reading = readFields(scenarioFields(fields));
            const std::string refused = run_.start(reading.scenario, firstRefusal(reading), sizes);
            val out = state();
            if (!refused.empty())
                out.set("refused", refused);
            return out;
        });
    }
    val step(double seconds) {
        return guarded([&] {
            run_.step(seconds);
            return state();
        });
    }
    val cancel() {
        run_.cancel();
        return state();
    }
    // { busy, progress, status, view, table, csv }: the core's view of the
    // rows so far (lab_views.h), its table, and their CSV file ("" before any row).
    val state() const {
        const std::vector<SeriesRow> rows = run_.rows();
        val out = val::object();
        out.set("busy", run_.busy());
        out.set("progress", run_.progress());
        out.set("status", run_.status());
        out.set("view", viewVal(seriesView(rows, run_.classes(), run_.last()), run_.last()));
        out.set("table", rows.empty() ? val::array() : shownTable(seriesTable(rows, run_.last())));
        out.set("csv", rows.empty() ? std::string() : seriesCsv(rows, run_.last()));
        return out;
    }
    // « Copier le tableau »: { text, said, refused } as for a view's table
    // (lab_views.h), with the reader's decimal sign; null before any row.
    val table(const std::string& decimalSign) const {
        const std::vector<SeriesRow> rows = run_.rows();
        if (rows.empty())
            return val::null();
        return copiedTable(ViewTable{seriesTable(rows, run_.last())}, decimalSign);
    }

private:
    SeriesRun run_;
};

} // namespace bocavo::web

EMSCRIPTEN_BINDINGS(bocavo_lab_series) {
    using bocavo::web::LabModuleSeries;
    emscripten::class_<LabModuleSeries>("LabSeries")
        .constructor<>()
        .function("check", &LabModuleSeries::check)
        .function("start", &LabModuleSeries::start)
        .function("step", &LabModuleSeries::step)
        .function("cancel", &LabModuleSeries::cancel)
        .function("state", &LabModuleSeries::state)
        .function("table", &LabModuleSeries::table);
}
