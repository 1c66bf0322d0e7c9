// The sixteen coordinate settings of a document, by name: shared by the engine, the graph, the dialog and the file.
#pragma once

#include <array>
#include <cstddef>

namespace tavlix {

// In the order of the document's first sixteen lines; the comments give the labels the user sees.
enum class Setting {
    Xmin,          // Xmin
    Xmax,          // Xmax
    XTickStep,     // XEnhed
    YAxisAtX,      // YCross: where the y axis crosses the x axis
    Ymin,          // YMin
    Ymax,          // YMax
    YTickStep,     // YEnhed
    XAxisAtY,      // XCross: where the x axis crosses the y axis
    Tmin,          // TMin
    Tmax,          // TMax
    TCount,        // TAntal
    TStep,         // TDelta
    AbsTolerance,  // Absolut
    RelTolerance,  // Relativ
    XGridStep,     // XGitter
    YGridStep,     // YGitter
};

inline constexpr std::size_t SettingCount = 16;

// The settings' values, indexed by Setting (or by line number 0-15 where a loop walks them all).
struct CoordinateSettings {
    std::array<double, SettingCount> values{};

    double& operator[](Setting s) { return values[static_cast<std::size_t>(s)]; }
    double operator[](Setting s) const { return values[static_cast<std::size_t>(s)]; }
    bool operator==(const CoordinateSettings&) const = default;
};

}  // namespace tavlix
