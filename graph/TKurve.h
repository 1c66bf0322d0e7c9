// One stored curve or text label of a graph page, and one stored point of a curve.
#pragma once

#include <QString>
#include <vector>

// A point of a curve, or a break after which the next point starts a new stroke.
struct TPunkt {
    double x = 0;
    double y = 0;
    bool isPoint = true;
};

class TKurve {
public:
    // Kind 100 marks a text label; every other kind is a curve (see TGraf::Line).
    static constexpr int TextKind = 100;

    bool penDown = false;
    int kind = 0;
    double lastX = 0;
    double lastY = 0;
    std::vector<TPunkt> points;
    QString text;
};

using TKurveList = std::vector<TKurve>;
