// Parameters edited after a run wait for the next « Lancer »: the views still
// show the run that was made. This says so, beside the parameters, naming what
// changed, for as long as the parameters differ from the run on display.
#pragma once

#include "core/lab/files/scenario.h"

#include <optional>
#include <string>

namespace bocavo::labo {

// "" when `edited` is the scenario of the run on display; else the French
// notice. `edited` is empty while a field is refused: the parameters then
// differ from the run too, and the notice says they apply once mended.
std::string pendingNotice(const Scenario& shown, const std::optional<Scenario>& edited);

} // namespace bocavo::labo
