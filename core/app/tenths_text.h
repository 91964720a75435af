#pragma once

#include <string>

namespace qd {

// Tenths shown with one decimal ("0.0" format) and the given decimal separator: 1275 -> "127.5".
std::string FormatTenths(int tenths, char decimalSeparator);

}  // namespace qd
