// A rectangle of values in the plane: the ranges a graph shows, and the area a direction field or a solution covers.
#pragma once

namespace tavlix {

struct ValueRect {
    double xmin = 0, xmax = 0, ymin = 0, ymax = 0;
    bool operator==(const ValueRect&) const = default;
};

}  // namespace tavlix
