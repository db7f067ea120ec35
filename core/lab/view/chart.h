// A lab view as plain data: what a front end draws, already in French, in the
// run's own terms. The window's tabs and the page only put it on screen; they
// compute no figure and write no sentence of their own.
#pragma once

#include "core/lab/files/view_table.h" // ViewSet: one set of the run on display
#include "core/lab/view/palette.h"
#include "core/lab/view/reduction.h"
#include "core/lab/words/explanation.h"

#include <optional>
#include <string>
#include <vector>

namespace bocavo::labo {

class Experiment;
class Statistics;

// What a line shows; with its set and allele it names the line in the view.
enum class Role {
    Frequency,      // one class's allele, in percent
    ClassFrequency, // the allele followed, one line per class
    Fixed,          // share of classes where the allele has every copy
    Lost,           // share of classes where it has none
    Heterozygosity, // the mean over the classes
    Expected,       // what theory expects of the set
    Genotype,       // the mean share of a genotype: allele i for ii, 0 for heterozygotes
    HardyWeinberg,  // the same genotype's Hardy–Weinberg share, worked out in each class
};

struct Line {
    Role role = Role::Frequency;
    int set = 0;         // 0 (A) or 1 (B)
    int allele = 0;      // 1..4, or 0 for every allele together
    int classNumber = 0; // Role::ClassFrequency only
    std::string name;    // the legend's entry; empty: no entry of its own
    std::string colour;  // #RRGGBB
    double opacity = 1.0;
    Stroke stroke = Stroke::Solid;
    double width = kBoldLine;  // pixels
    std::vector<Point> points; // reduced for drawing
};

// A line of `set` in its set's stroke, thick, without points yet.
Line lineOf(Role role, int set, int allele, std::string_view colour);

// A point drawn as a disc, filled or hollow (the all-classes view's edge,
// a size series' points).
struct Marker {
    std::string name; // the legend's entry; empty: no entry of its own
    std::string colour;
    bool filled = true;
    Point at;
};

// A label put at a value of its own choosing, where the axis's numbers are
// not what a reader knows (a size series places N by its logarithm).
struct AxisLabel {
    double at = 0.0;
    std::string text;
};

struct Axis {
    std::string title;
    double min = 0.0;
    double max = 1.0;
    double tick = 0.0; // between labels; 0: the front end's own
    int decimals = 0;  // of the labels
    // When given, the axis's only labels, instead of tick and decimals.
    std::vector<AxisLabel> labels{};
};

struct Chart {
    std::string title;
    Axis x;
    Axis y;
    std::vector<Line> lines;
    std::vector<Marker> markers;
    // Generations on show where a set's N changes, in order, each once: a
    // dashed vertical line, so that a jump in the curves reads as the change.
    std::vector<int> sizeChanges;
};

// Generations first..last.
struct Span {
    int first = 0;
    int last = 0;
    bool operator==(const Span&) const = default;
};

// What the reader chose in a view; a view clamps it to what the run has.
inline constexpr int kDefaultColumns = 1000; // pixels, when the front end has not said
struct ChartChoice {
    int set = 0;         // 0 (A) or 1 (B), for views that show one set
    int classNumber = 1; // 1..classes
    int allele = 1;      // 1..K
    std::optional<Span> zoom;
    int columns = kDefaultColumns; // pixels across the plot
};

// The view's own commands: which are usable, and what their choosers offer.
struct ViewCommands {
    bool wholeRun = false;  // « Toute la simulation »: a zoom to undo
    bool setChoice = false; // « Jeu montré »: two sets to choose from
    int alleles = 0;        // entries of the allele chooser
    int classes = 0;        // highest class of the class chooser
};

// What a view says of one set, led by its set's label ("A") when comparing.
struct Note {
    std::string lead;
    Explanation words;
};

struct View {
    Chart chart;
    ViewCommands commands;
    ChartChoice shown;               // the choice as drawn: set, class, allele clamped
    std::optional<Span> generations; // on show; none without a run
    std::vector<Note> notes;         // what theory says, set by set
    std::vector<std::string> status; // what the run shows, in words
    // The all-classes view's right edge: classes that fixed and lost the allele.
    struct Edge {
        int fixed = 0;
        int lost = 0;
        std::string fixedText;
        std::string lostText;
    };
    std::optional<Edge> edge;
};

// The last generation a set's views have taken in, −1 before any.
int lastGeneration(const std::vector<ViewSet>& sets);
// The generations on show: the whole run, or the zoom within it; none
// without a generation.
std::optional<Span> shownSpan(const std::vector<ViewSet>& sets, const std::optional<Span>& zoom);
// A zoom worth keeping: within the run and short of all of it.
std::optional<Span> clampedZoom(const std::vector<ViewSet>& sets, Span asked);

// The generations within `span` where any set's size history changes N.
std::vector<int> sizeChangesWithin(const std::vector<ViewSet>& sets, Span span);

// The generation axis over first..last (at least one apart), its labels on
// the smallest step of 1, 2 or 5 times a power of ten giving at most ten.
Axis generationAxis(const std::string& title, int first, int last);

class ExpectedCache;

// The five views.
View classView(const std::vector<ViewSet>& sets, const ChartChoice& choice);
View allClassesView(const std::vector<ViewSet>& sets, const ChartChoice& choice);
View fixationView(const std::vector<ViewSet>& sets, const ChartChoice& choice,
                  ExpectedCache& expected);
View heterozygosityView(const std::vector<ViewSet>& sets, const ChartChoice& choice,
                        ExpectedCache& expected);
View genotypesView(const std::vector<ViewSet>& sets, const ChartChoice& choice);

} // namespace bocavo::labo
