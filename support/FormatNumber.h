// The short display text of a number: axis numbers, mouse position, dialog fields, error messages.
#pragma once

#include <string>

std::string FormatNumber(int width, double x);
