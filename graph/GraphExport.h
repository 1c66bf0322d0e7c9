// Pictures of a graph drawn afresh from its settings and curves: the copy's SVG and PNG, and the batch files.
#pragma once

#include "graph/TKurve.h"

#include <QByteArray>
#include <QImage>

#include <string>

// The default screen size of a batch picture.
constexpr int ExportWidth = 800;
constexpr int ExportHeight = 600;

// The copy as SVG: the drawing area widthCm by heightCm at the top left of a frame 1.2 times that size.
QByteArray GraphSvg(const double (&settings)[16], const TKurveList& curves, double widthCm, double heightCm);
// The same drawing as a picture at the screen's resolution, for programs that take no SVG.
QImage GraphCopyImage(const double (&settings)[16], const TKurveList& curves, double widthCm, double heightCm);
// The graph as a screen surface of the given size shows it.
QImage GraphScreenImage(const double (&settings)[16], const TKurveList& curves, int width, int height);
// The frame of the copy in hundredths of a millimetre.
int CopyFrame(double cm);

// Writes pathStem + ".svg" and pathStem + ".png" (the stem in UTF-8); on failure returns false with a message
// (UTF-8). Without a running application it starts a quiet offscreen one, as the batch mode has no window.
bool ExportGraph(const std::string& pathStem, const double (&settings)[16], const TKurveList& curves,
                 std::string& error);
