// The three ways the program runs: the window, the batch mode and the one-line calculator.
#pragma once

int runGui(int argc, char** argv);
// tavlix --batch [--out DIR] [--max-cells N] [--max-points N] FILE...
int runBatch(int argc, char** argv);
// tavlix --calc EXPR
int runCalc(int argc, char** argv);
