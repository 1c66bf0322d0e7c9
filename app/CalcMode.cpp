// tavlix --calc EXPR: the settings calculator from the command line.
#include "app/CommandLine.h"
#include "app/EntryPoints.h"
#include "support/SettingsCalculator.h"

#include <cstdio>

using namespace tavlix;

int runCalc(const CommandLine& line)
{
    // The calculator reads ASCII; any other byte simply fails as a character that starts no token.
    const QByteArray expression = line.expression.toLocal8Bit();
    CalcResult r = evaluate(expression.constData());
    if (r.error != CalcError::None) {
        std::fprintf(stderr, "error %d at %d\n", static_cast<int>(r.error), r.position);
        return 1;
    }
    std::printf("%.17g\n", r.value);
    return 0;
}
