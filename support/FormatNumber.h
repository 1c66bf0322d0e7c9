// The short display text of a number: axis numbers, mouse position, dialog fields, error messages.
#pragma once

#include <string>

namespace tavlix {

// At most about `width` characters, with a decimal comma: whole numbers without decimals, fixed notation for
// moderate magnitudes, otherwise "1,5E+0010" style. Infinities and NaN give "INF", "-INF" and "NAN".
std::string formatNumber(int width, double x);

}  // namespace tavlix
