#include "web/bindings/lab_views.h"

#include "core/lab/files/classroom_link.h"
#include "core/lab/files/view_table.h"
#include "core/lab/science/limits.h"
#include "core/lab/view/chart.h"
#include "core/lab/view/expected_cache.h"
#include "core/lab/view/side_by_side.h"

#include <algorithm>
#include <array>
#include <stdexcept>
#include <string_view>
#include <utility>

namespace bocavo::web {

namespace {

using emscripten::val;
using namespace bocavo::labo;

// Wider than any screen: a page that says more gets this many columns.
inline constexpr int kMostColumns = 10'000; // pixels

using ViewFunction = View (*)(const std::vector<ViewSet>&, const ChartChoice&, ExpectedCache&);

// The page's view names, the core's views behind them and their tables.
struct ViewEntry {
    std::string_view name;
    ViewFunction draw;
    ViewKind table;
};
constexpr std::array<ViewEntry, 5> kViews{{
    {"classe",
     [](const std::vector<ViewSet>& sets, const ChartChoice& choice, ExpectedCache&) {
         return classView(sets, choice);
     },
     ViewKind::OneClass},
    {"classes",
     [](const std::vector<ViewSet>& sets, const ChartChoice& choice, ExpectedCache&) {
         return allClassesView(sets, choice);
     },
     ViewKind::AllClasses},
    {"fixation", fixationView, ViewKind::Fixation},
    {"heterozygotie", heterozygosityView, ViewKind::Heterozygosity},
    {"genotypes",
     [](const std::vector<ViewSet>& sets, const ChartChoice& choice, ExpectedCache&) {
         return genotypesView(sets, choice);
     },
     ViewKind::Genotypes},
}};

const ViewEntry& entryNamed(const std::string& name) {
    const auto* entry = std::find_if(kViews.begin(), kViews.end(),
                                     [&](const ViewEntry& view) { return view.name == name; });
    if (entry == kViews.end())
        throw std::invalid_argument("Cette vue n'existe pas : « " + name + " ».");
    return *entry;
}

const char* roleName(Role role) {
    switch (role) {
    case Role::Frequency:
        return "frequency";
    case Role::ClassFrequency:
        return "classFrequency";
    case Role::Fixed:
        return "fixed";
    case Role::Lost:
        return "lost";
    case Role::Heterozygosity:
        return "heterozygosity";
    case Role::Genotype:
        return "genotype";
    case Role::HardyWeinberg:
        return "hardyWeinberg";
    case Role::Expected:
        break;
    }
    return "expected";
}

// A copy the page keeps: a typed array made in one call rather than one per value.
template <typename T> val copied(const std::vector<T>& values) {
    return val(emscripten::typed_memory_view(values.size(), values.data())).call<val>("slice");
}

val axisOf(const Axis& axis) {
    val out = val::object();
    out.set("title", axis.title);
    out.set("min", axis.min);
    out.set("max", axis.max);
    out.set("tick", axis.tick);
    out.set("decimals", axis.decimals);
    val labels = val::array();
    for (std::size_t i = 0; i < axis.labels.size(); ++i) {
        val label = val::object();
        label.set("at", axis.labels[i].at);
        label.set("text", axis.labels[i].text);
        labels.set(i, label);
    }
    out.set("labels", labels);
    return out;
}

val lineOf(const Line& line) {
    val out = val::object();
    out.set("role", std::string(roleName(line.role)));
    out.set("set", line.set);
    out.set("allele", line.allele);
    out.set("classNumber", line.classNumber);
    out.set("name", line.name);
    out.set("colour", line.colour);
    out.set("opacity", line.opacity);
    out.set("stroke", std::string(line.stroke == Stroke::Dashed ? "dashed" : "solid"));
    out.set("width", line.width);
    std::vector<double> x;
    std::vector<double> y;
    x.reserve(line.points.size());
    y.reserve(line.points.size());
    for (const Point& p : line.points) {
        x.push_back(p.x);
        y.push_back(p.y);
    }
    out.set("x", copied(x));
    out.set("y", copied(y));
    return out;
}

val markerOf(const Marker& marker) {
    val out = val::object();
    out.set("name", marker.name);
    out.set("colour", marker.colour);
    out.set("filled", marker.filled);
    out.set("x", marker.at.x);
    out.set("y", marker.at.y);
    return out;
}

template <typename T, typename Each> val listOf(const std::vector<T>& items, Each each) {
    val out = val::array();
    for (std::size_t i = 0; i < items.size(); ++i)
        out.set(i, each(items[i]));
    return out;
}

val spanOf(const std::optional<Span>& span) {
    if (!span)
        return val::null();
    val out = val::object();
    out.set("first", span->first);
    out.set("last", span->last);
    return out;
}

val chartOf(const Chart& chart) {
    val out = val::object();
    out.set("title", chart.title);
    out.set("x", axisOf(chart.x));
    out.set("y", axisOf(chart.y));
    out.set("lines", listOf(chart.lines, lineOf));
    out.set("markers", listOf(chart.markers, markerOf));
    out.set("sizeChanges", copied(chart.sizeChanges));
    return out;
}

val viewOf(const View& view, int last) {
    val out = val::object();
    out.set("chart", chartOf(view.chart));
    val commands = val::object();
    commands.set("wholeRun", view.commands.wholeRun);
    commands.set("setChoice", view.commands.setChoice);
    commands.set("alleles", view.commands.alleles);
    commands.set("classes", view.commands.classes);
    out.set("commands", commands);
    val shown = val::object();
    shown.set("set", view.shown.set);
    shown.set("classNumber", view.shown.classNumber);
    shown.set("allele", view.shown.allele);
    shown.set("zoom", spanOf(view.shown.zoom));
    shown.set("columns", view.shown.columns);
    out.set("shown", shown);
    out.set("generations", spanOf(view.generations));
    out.set("last", last);
    out.set("notes", listOf(view.notes, [](const Note& note) {
                val entry = val::object();
                entry.set("lead", note.lead);
                entry.set("pupil", note.words.pupil);
                entry.set("teacher", note.words.teacher);
                return entry;
            }));
    out.set("status", listOf(view.status, [](const std::string& text) { return val(text); }));
    if (view.edge) {
        val edge = val::object();
        edge.set("fixed", view.edge->fixed);
        edge.set("lost", view.edge->lost);
        edge.set("fixedText", view.edge->fixedText);
        edge.set("lostText", view.edge->lostText);
        out.set("edge", edge);
    } else {
        out.set("edge", val::null());
    }
    return out;
}

int intOr(const val& options, const char* key, int fallback) {
    const val value = options[key];
    return value.isNumber() ? value.as<int>() : fallback;
}

// The reader's choice as the core takes it; a zoom is kept only within the run.
ChartChoice choiceOf(const std::vector<ViewSet>& sets, const val& options) {
    ChartChoice choice;
    if (options.isUndefined() || options.isNull())
        return choice;
    choice.set = intOr(options, "set", choice.set);
    choice.classNumber = intOr(options, "classNumber", choice.classNumber);
    choice.allele = intOr(options, "allele", choice.allele);
    choice.columns = std::clamp(intOr(options, "columns", choice.columns), 1, kMostColumns);
    const val zoom = options["zoom"];
    if (!zoom.isUndefined() && !zoom.isNull())
        choice.zoom =
            clampedZoom(sets, Span{intOr(zoom, "first", 0), intOr(zoom, "last", kMaxGeneration)});
    return choice;
}

} // namespace

val viewVal(const View& view, int last) {
    return viewOf(view, last);
}

val viewData(LabSession& session, const std::string& name, const val& options) {
    const ViewEntry& entry = entryNamed(name);
    if (!session.run().hasRun())
        return val::null();
    const std::vector<ViewSet> sets = session.run().viewSets();
    const ChartChoice choice = choiceOf(sets, options);
    const View view = entry.draw(sets, choice, session.expected());
    val out = viewOf(view, lastGeneration(sets));
    out.set("sets", static_cast<int>(sets.size()));
    // « A et B côte à côte »: one view per set on the same axes, when asked and set B is there.
    val pair = val::null();
    if (!options.isUndefined() && !options.isNull() && options["sideBySide"].isTrue() &&
        sets.size() > 1) {
        const std::vector<View> views =
            sideBySide(sets, choice, [&](const std::vector<ViewSet>& all, const ChartChoice& c) {
                return entry.draw(all, c, session.expected());
            });
        if (views.size() > 1)
            pair =
                listOf(views, [&](const View& one) { return viewOf(one, lastGeneration(sets)); });
    }
    out.set("pair", pair);
    // « Ouvrir cette classe dans Bocavo », for a class of a set with the classroom's settings.
    std::optional<ClassroomGroup> group;
    if (entry.table == ViewKind::OneClass && view.shown.set < static_cast<int>(sets.size()))
        group = classroomGroup(*sets[view.shown.set].experiment, view.shown.classNumber);
    out.set("classroomLink", group ? val(classroomLink(*group)) : val::null());
    return out;
}

val tableData(LabSession& session, const std::string& name, const val& options,
              const std::string& decimalSign) {
    const ViewEntry& entry = entryNamed(name);
    if (!session.run().hasRun())
        return val::null();
    const std::vector<ViewSet> sets = session.run().viewSets();
    // The view as drawn decides the set, class, allele and generations on show.
    const View view = entry.draw(sets, choiceOf(sets, options), session.expected());
    if (!view.generations)
        return val::null();
    ViewChoice choice;
    choice.kind = entry.table;
    choice.set = view.shown.set;
    choice.classNumber = view.shown.classNumber;
    choice.allele = view.shown.allele;
    choice.first = view.generations->first;
    choice.last = view.generations->last;
    return copiedTable(viewTable(sets, choice), decimalSign);
}

val copiedTable(const ViewTable& table, const std::string& decimalSign) {
    val out = val::object();
    out.set("text", tableText(table, decimalSign));
    out.set("said", tableCopiedText(table));
    out.set("refused", std::string("Le navigateur n'a pas permis de copier le tableau : utilisez "
                                   "plutôt l'export en CSV."));
    return out;
}

} // namespace bocavo::web
