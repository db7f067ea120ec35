#include "core/lab/view/palette.h"

namespace bocavo::labo {

std::string_view alleleColourCode(int allele) {
    return kAlleleColours[static_cast<std::size_t>((allele - 1) & 3)];
}

Stroke setStroke(int set) {
    return set == 0 ? Stroke::Solid : Stroke::Dashed;
}

std::string setName(int set) {
    return set == 0 ? "A" : "B";
}

std::string setLabel(int set, bool comparing) {
    return comparing ? setName(set) + " : " : std::string();
}

std::string setLead(int set, bool comparing) {
    return comparing ? setName(set) : std::string();
}

} // namespace bocavo::labo
