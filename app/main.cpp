// The main routine: picks the window, the batch mode or the calculator from the command line.
#include "app/EntryPoints.h"

#include <cstring>

int main(int argc, char** argv)
{
    if (argc >= 2 && std::strcmp(argv[1], "--calc") == 0)
        return runCalc(argc, argv);
    if (argc >= 2 && std::strcmp(argv[1], "--batch") == 0)
        return runBatch(argc, argv);
    return runGui(argc, argv);
}
