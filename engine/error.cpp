#include "error.h"

namespace bocavo {

void throwIndexError(const char* table, int index, int low, int high) {
    throw EngineError("Indice hors limites : " + std::to_string(index) + " dans " + table + " (" +
                      std::to_string(low) + " à " + std::to_string(high) + ")");
}

void throwOverflow(const char* operation, int a, int b) {
    throw EngineError("Dépassement de capacité (entier 16 bits) : " + std::string(operation) +
                      " de " + std::to_string(a) + " et " + std::to_string(b));
}

} // namespace bocavo
