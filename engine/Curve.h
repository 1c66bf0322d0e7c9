// One stored curve of a graph and one stored point of a curve; plain data, no drawing.
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

// Where a curve comes from, which decides how it is drawn, listed and kept.
enum class CurveOrigin {
    Run,           // drawn by the run of an output section
    FamilyMember,  // one value's curve of a family run
    Solution,      // drawn through a chosen point after the run; the user may remove it
    Tangent,       // the tangent at a chosen point, drawn after the run; the user may remove it
};

// A curve is its style, its points and where it comes from.
struct Curve {
    CurveStyle style = CurveStyle::Line1;
    std::vector<CurvePoint> points{};
    // A curve's name in the legend (UTF-8).
    std::string name{};
    CurveOrigin origin = CurveOrigin::Run;
    // A family member, one curve per value of a list constant: the value's place in the list (from 1), whether it
    // is the value the run uses (drawn as usual; the others thinner and lighter) and its legend text.
    int familyMember = 0;
    bool familyCurrent = true;
    std::string familyLabel{};  // UTF-8: "k = 0,5"

    // Drawn after the run on the user's request, rather than by the run.
    bool addedByUser() const { return origin == CurveOrigin::Solution || origin == CurveOrigin::Tangent; }
};

using CurveList = std::vector<Curve>;

// The first line style no curve uses yet; when all six are taken, they go round again.
inline CurveStyle nextFreeLineStyle(const CurveList& curves)
{
    bool used[6] = {};
    int lines = 0;
    for (const Curve& c : curves) {
        if (isLineStyle(c.style)) {
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
