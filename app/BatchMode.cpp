// tavlix --batch: runs documents without a window and writes every result page to files.
#include "app/Commands.h"

int RunBatch(int, char**) { return 2; }
