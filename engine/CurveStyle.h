// How a curve of a graph is drawn: the script's styles l1 to l6 (lines) and m1 to m6 (marks).
#pragma once

#include <cstdint>

namespace tavlix {

// The values are the script's own numbering: l1 to l6 are 1 to 6, m1 to m6 are 7 to 12.
enum class CurveStyle : std::uint8_t {
    Line1 = 1,  // solid black
    Line2,
    Line3,
    Line4,
    Line5,
    Line6,
    Mark1 = 7,
    Mark2,
    Mark3,
    Mark4,
    Mark5,
    Mark6,  // a filled circle
};

constexpr bool isLineStyle(CurveStyle s)
{
    return s <= CurveStyle::Line6;
}
constexpr bool isMarkStyle(CurveStyle s)
{
    return s >= CurveStyle::Mark1;
}
// 0 to 5: which of the six pens a line style uses, or which shape a mark style uses; a mark takes the colour
// of the line style with its number.
constexpr int styleIndex(CurveStyle s)
{
    return isLineStyle(s) ? static_cast<int>(s) - 1 : static_cast<int>(s) - static_cast<int>(CurveStyle::Mark1);
}

}  // namespace tavlix
