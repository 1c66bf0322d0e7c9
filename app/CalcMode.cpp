// tavlix --calc EXPR: the settings calculator from the command line.
#include "app/EntryPoints.h"
#include "support/SettingsCalculator.h"

#include <cstdio>

using namespace tavlix;

int runCalc(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: tavlix --calc EXPRESSION\n");
        return 2;
    }
    // The calculator reads ASCII; any other byte simply fails as a character that starts no token.
    CalcResult r = evaluate(argv[2]);
    if (r.error != CalcError::None) {
        std::fprintf(stderr, "error %d at %d\n", static_cast<int>(r.error), r.position);
        return 1;
    }
    std::printf("%.17g\n", r.value);
    return 0;
}
