// The main routine: picks the window, the batch mode or the calculator from the command line.
#include "app/Commands.h"

#include <cstring>

int main(int argc, char** argv)
{
    if (argc >= 2 && std::strcmp(argv[1], "--calc") == 0)
        return RunCalc(argc, argv);
    if (argc >= 2 && std::strcmp(argv[1], "--batch") == 0)
        return RunBatch(argc, argv);
    return RunGui(argc, argv);
}
