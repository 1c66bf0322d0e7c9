// The list constants of a script as parameters: the values each can take and the one a run uses.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace tavlix {

struct ListParameter {
    std::string name;  // as the script writes it (Windows-1252)
    std::string key;   // in lower case, as picks name it
    std::vector<double> values;
    int pick = 1;  // the value the run used, counted from 1
};

// The value each list constant takes, by lower-case name, counted from 1. A constant not named, or named with a
// position beyond its list, takes its first value, so a run without picks is the run there always was.
using ListPicks = std::map<std::string, int>;

}  // namespace tavlix
