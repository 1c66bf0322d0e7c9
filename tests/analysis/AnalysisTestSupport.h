// Documents for the analysis tests: settings from a few numbers and script lines from one text.
#pragma once

#include "support/DocumentFile.h"

#include <charconv>
#include <sstream>
#include <string>
#include <vector>

namespace analysis_test {

// A number as a script writes it, exactly.
inline std::string exact(double v)
{
    char text[40];
    return std::string(text, std::to_chars(text, text + sizeof text, v).ptr);
}

// The default settings with the t range, its count of steps and the tolerances replaced.
inline tavlix::SettingsTexts settingsFor(double tMin, double tMax, int steps, double absolute = 0,
                                         double relative = 0.00005)
{
    tavlix::SettingsTexts s = tavlix::defaultSettings();
    s[0] = exact(tMin);
    s[1] = exact(tMax);
    s[8] = exact(tMin);
    s[9] = exact(tMax);
    s[10] = std::to_string(steps);
    s[12] = exact(absolute);
    s[13] = exact(relative);
    return s;
}

inline std::vector<std::string> linesOf(const std::string& script)
{
    std::vector<std::string> lines;
    std::istringstream in(script);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

}  // namespace analysis_test
