// The three ways the program runs: the window, the batch mode and the one-line calculator.
#pragma once

int RunGui(int argc, char** argv);
// tavlix --batch [--out DIR] FILE...
int RunBatch(int argc, char** argv);
// tavlix --calc EXPR
int RunCalc(int argc, char** argv);
