// The few words the views share, written one way for every view.
#pragma once

#include "core/lab/view/chart.h"

#include <string>
#include <vector>

namespace bocavo::labo {

// "aucune classe", "1 classe", "1 000 classes".
std::string classesText(int classes);
// "générations 0 à 1 000".
std::string generationsText(Span span);

} // namespace bocavo::labo
