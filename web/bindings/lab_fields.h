// The parameters' fields between the page and the module: the page's plain
// object { classes, generations, seed, compare, a, b } read into
// ScenarioFields, and written back from them.
#pragma once

#include "web/bindings/lab_session.h"

#include <emscripten/val.h>
#include <string>
#include <vector>

namespace bocavo::web {

emscripten::val textList(const std::vector<std::string>& texts);
ScenarioFields scenarioFields(const emscripten::val& in);
emscripten::val fieldsVal(const ScenarioFields& fields);

} // namespace bocavo::web
