// The model's French numbers (model/limits.h) as the window's strings: the
// window writes no number any other way, so it reads like the command line.
#pragma once

#include "core/lab/science/limits.h"

#include <QString>
#include <cstdint>

namespace bocavo::labo {

inline QString grouped(std::uint64_t value) { // 32 767
    return QString::fromStdString(groupDigits(value));
}
inline QString decimal(double value, int decimals) { // 1 999,5
    return QString::fromStdString(frenchDecimal(value, decimals));
}
inline QString percent(double share) { // 2,6 %, 0,025 %
    return QString::fromStdString(percentText(share));
}

} // namespace bocavo::labo
