// The stand-alone calculator behind the coordinate settings: text in, number out, computed while parsing.
#pragma once

#include <string_view>

struct CalcResult {
    double value = 0;
    int error = 0;     // 0 = success
    int position = 0;  // 1-based position of the offending token; 0 on success
};

CalcResult Evaluate(std::string_view text);
