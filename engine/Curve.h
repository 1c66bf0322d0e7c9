// One stored curve or text label of a graph, and one stored point of a curve; plain data, no drawing.
#pragma once

#include "engine/CurveStyle.h"

#include <string>
#include <vector>

namespace tavlix {

// A point of a curve, or a break after which the next point starts a new stroke.
struct CurvePoint {
    double x = 0;
    double y = 0;
    bool breaksStroke = false;
};

// A curve is its style and points. A label is one point (where its text starts) and its text.
struct Curve {
    CurveStyle style = CurveStyle::Line1;
    std::vector<CurvePoint> points{};
    bool isLabel = false;
    // UTF-8: a label is typed in the window and never stored in a document, so it may hold any character.
    std::string labelText{};
    // A curve's name in the legend (UTF-8), empty for a label.
    std::string name{};
    // A member of a family, one curve per value of a list constant: the value's place in the list (0: no family),
    // whether it is the value the run uses (drawn as usual; the others thinner and lighter) and its legend text.
    int familyMember = 0;
    bool familyCurrent = true;
    std::string familyLabel{};  // UTF-8: "k = 0,5"
    // Drawn through a chosen point after the run rather than by the run itself; the user may remove it.
    bool isSolution = false;
};

using CurveList = std::vector<Curve>;

// The first line style no curve uses yet; when all six are taken, they go round again.
inline CurveStyle nextFreeLineStyle(const CurveList& curves)
{
    bool used[6] = {};
    int lines = 0;
    for (const Curve& c : curves) {
        if (!c.isLabel && isLineStyle(c.style)) {
            used[styleIndex(c.style)] = true;
            ++lines;
        }
    }
    for (int i = 0; i < 6; ++i)
        if (!used[i])
            return static_cast<CurveStyle>(i + 1);
    return static_cast<CurveStyle>(lines % 6 + 1);
}

}  // namespace tavlix
