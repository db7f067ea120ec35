#include "core/lab/science/limits.h"

namespace bocavo::labo {

Result<int> parseClasses(std::string_view text) {
    return parseWhole(text, kMinClasses, kMaxClasses, "le nombre de classes");
}

Result<int> parseGenerations(std::string_view text) {
    return parseWhole(text, kMinGenerations, kMaxGeneration, "le nombre de générations");
}

Result<int> parseEvery(std::string_view text) {
    return parseWhole(text, kMinEvery, kMaxEvery, "l'intervalle entre générations gardées");
}

} // namespace bocavo::labo
