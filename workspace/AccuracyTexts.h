// The Danish texts of step statistics and deviations, as the status bar and the accuracy dialog show them.
#pragma once

#include "engine/SolverStatistics.h"

#include <QString>

namespace accuracy_texts {

// A count with Danish digit grouping: "1.234".
QString count(long long n);
// A step length or deviation in a few significant digits, Danish style: "0,05", "1,2E-4".
QString shortNumber(double v, int digits = 2);
// "1.234 skridt, 12 forkastet, mindste skridt 1,2E-4"
QString summary(const tavlix::SolverStatistics& statistics);

}  // namespace accuracy_texts
