// The lab's one colour code, for the window and the page alike: a colour names
// what is drawn (an allele, every allele together, or theory), a stroke names
// the set (A solid, B dashed), so that no colour ever stands for two things
// and a grey print still tells the sets apart.
#pragma once

#include "core/lab/science/settings.h"

#include <array>
#include <string>
#include <string_view>

namespace bocavo::labo {

// Alleles 1 to 4 (#RRGGBB), told apart by colour-blind readers too.
inline constexpr std::array<std::string_view, kMaxAlleles> kAlleleColours{
    "#D55E00", // vermilion
    "#0072B2", // blue
    "#009E73", // bluish green
    "#CC79A7", // reddish purple
};
// What belongs to no one allele: the mean heterozygosity, and the
// heterozygotes, whose expected share it is.
inline constexpr std::string_view kEveryAlleleColour = "#303030";
// The classes' differentiation (Fst), where a view draws it.
inline constexpr std::string_view kDifferentiationColour = "#8C510A";
// The share of classes that lost any allele, in a size series.
inline constexpr std::string_view kAnyLossColour = "#56B4E9"; // sky blue
// What theory expects, whatever it is expected of.
inline constexpr std::string_view kTheoryColour = "#8C8C8C";

std::string_view alleleColourCode(int allele); // 1..4

inline constexpr int kSets = 2; // A, and B beside it when comparing
enum class Stroke { Solid, Dashed };
Stroke setStroke(int set);                     // 0 (A): solid, 1 (B): dashed
std::string setName(int set);                  // "A" or "B"
std::string setLabel(int set, bool comparing); // "B : " before a legend entry, "" alone
std::string setLead(int set, bool comparing);  // "B" before a set's words, "" alone

inline constexpr double kBoldLine = 2.5;     // pixels: what was observed
inline constexpr double kThinLine = 1.5;     // pixels: the lost share, each class's curve
inline constexpr double kHairLine = 1.0;     // pixels: each of many classes' curves
inline constexpr double kExpectedLine = 2.0; // pixels: what theory expects
// A genotype's observed share is a wide pale band and its Hardy–Weinberg share
// a thin line (kThinLine) of the same colour: where they agree the line runs
// inside the band, and the set keeps its own stroke.
inline constexpr double kGenotypeBand = 6.0;         // pixels
inline constexpr double kGenotypeBandOpacity = 0.35; // of the band's colour

} // namespace bocavo::labo
