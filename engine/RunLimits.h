// The bounds that keep one run's memory and disk in check, given to the run by whoever starts it.
#pragma once

namespace tavlix {

struct RunLimits {
    // Beyond this many cells of one table page (about 1 GB of text) the run is stopped.
    long long maxTableCells = 50'000'000;
    // Beyond this many stored points of one graph page (about 240 MB) the run is stopped.
    long long maxGraphPoints = 10'000'000;
    // A run that would make more result pages than this is stopped.
    int maxPages = 1000;
};

}  // namespace tavlix
