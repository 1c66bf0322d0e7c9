// Pictures of a graph for the batch mode: CAPTION.svg as the copy draws it, and CAPTION.png as the screen shows it.
#pragma once

#include "graph/TKurve.h"

#include <string>

// The default screen size of a batch picture.
constexpr int ExportWidth = 800;
constexpr int ExportHeight = 600;

// Writes pathStem + ".svg" and pathStem + ".png"; on failure returns false with a message (Windows-1252).
bool ExportGraph(const std::string& pathStem, const double (&settings)[16], const TKurveList& curves,
                 std::string& error);
