// Runs a record's reverse-polish code on the model's stack; the value cache and domains of records.
#pragma once

#include "engine/Model.h"

void Evaluate(datarec& model, int r);
double ValueAt(datarec& model, int r);
void Push(datarec& model, double v);
bool ApproxEqual(double a, double b);
double ArcSin(double x);
double Power(double a, double b);
double IntPower(double a, long n);
