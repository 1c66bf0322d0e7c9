// tavlix --calc EXPR: the settings calculator from the command line.
#include "app/Commands.h"

int RunCalc(int, char**) { return 1; }
