#include "core/lab/view/view_text.h"

#include "core/lab/science/experiment.h"
#include "core/lab/science/statistics.h"
#include "core/lab/science/theory.h"

#include <algorithm>

namespace bocavo::labo {
namespace {

std::string grouped(int value) {
    return groupDigits(static_cast<std::uint64_t>(value));
}

} // namespace

std::string classesText(int classes) {
    if (classes <= 1)
        return classes == 1 ? "1 classe" : "aucune classe";
    return grouped(classes) + " classes";
}

std::string generationsText(Span span) {
    return "générations " + grouped(span.first) + " à " + grouped(span.last);
}

} // namespace bocavo::labo
