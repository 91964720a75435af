#include "app/tenths_text.h"

#include <cstdlib>

#include "app/text.h"

namespace qd {

std::string FormatTenths(int tenths, char decimalSeparator) {
  const long magnitude = std::labs(static_cast<long>(tenths));
  return Format("%s%ld%c%ld", tenths < 0 ? "-" : "", magnitude / 10, decimalSeparator, magnitude % 10);
}

}  // namespace qd
