// A region the user asked the area of, shaded on the graph: its outline in value coordinates and its name.
#pragma once

#include <QPointF>

#include <string>
#include <vector>

struct ShadedArea {
    std::vector<QPointF> outline;  // a closed polygon: along the upper curve, back along the lower one
    std::string name;              // UTF-8, as the page's removal menu lists it
};

using AreaList = std::vector<ShadedArea>;
