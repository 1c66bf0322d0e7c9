// The constants of a script as parameters: the values list constants can take, the plain numbers a fit may change.
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

// A constant the script gives as a plain number (possibly negative): one a fit may change.
struct PlainConstant {
    std::string name;  // as the script writes it (Windows-1252)
    std::string key;   // in lower case
    double value = 0;  // the value the run used
};

// Values that plain-number constants take instead of the written ones, by lower-case name; constants computed
// from them follow, as they follow a picked list value. Other constants ignore their entry.
using ConstantValues = std::map<std::string, double>;

}  // namespace tavlix
