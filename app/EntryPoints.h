// The three ways the program runs: the window, the batch mode and the one-line calculator.
#pragma once

#include <QString>

struct CommandLine;

// The window; program is argv[0].
int runGui(const QString& program, const CommandLine& line);
// tavlix --batch [--out DIR] [--max-cells N] [--max-points N] FILE...
int runBatch(const CommandLine& line);
// tavlix --calc EXPR
int runCalc(const CommandLine& line);
