// Pictures of a graph drawn afresh from its settings and curves: the copy's SVG and PNG, and the batch files.
#pragma once

#include "engine/Curve.h"
#include "engine/DirectionField.h"
#include "graph/GraphRenderer.h"
#include "support/CoordinateSettings.h"

#include <QByteArray>
#include <QImage>
#include <QPoint>
#include <QSize>

#include <string>
#include <vector>

// The default screen size of a batch picture.
constexpr int ExportWidth = 800;
constexpr int ExportHeight = 600;

// Where a picture's drawing stands: offset in its frame of size pixels, with the same margin on all four sides
// of the drawing area, its numbers and its legend.
struct PictureFrame {
    double widthCm = 0, heightCm = 0;  // the drawing area asked for
    QPoint offset;
    QSize size;
};
// The margin around a picture's drawing.
constexpr double PictureMarginCm = 0.5;
// The frame of a drawing area widthCm by heightCm drawn at dpi.
PictureFrame measurePicture(const tavlix::CoordinateSettings& settings, const tavlix::CurveList& curves, double widthCm,
                            double heightCm, double dpi, const GraphLook& look = {});

// The copy as SVG: the drawing area widthCm by heightCm with the same margin all round.
// Every picture carries the legend unless told otherwise, and a direction field when one is given.
QByteArray graphSvg(const tavlix::CoordinateSettings& settings, const tavlix::CurveList& curves, double widthCm,
                    double heightCm, const GraphLook& look = {}, tavlix::DirectionField* field = nullptr);
// The same drawing as a picture at the screen's resolution (or at dpi), for programs that take no SVG.
QImage graphCopyImage(const tavlix::CoordinateSettings& settings, const tavlix::CurveList& curves, double widthCm,
                      double heightCm, const GraphLook& look = {}, double dpi = 0,
                      tavlix::DirectionField* field = nullptr);
// The same drawing as a one-page PDF document, the page the size of the picture.
QByteArray graphPdf(const tavlix::CoordinateSettings& settings, const tavlix::CurveList& curves, double widthCm,
                    double heightCm, const GraphLook& look = {}, tavlix::DirectionField* field = nullptr);
// The graph as a screen view of the given size shows it.
QImage graphScreenImage(const tavlix::CoordinateSettings& settings, const tavlix::CurveList& curves, int width,
                        int height, const GraphLook& look = {}, tavlix::DirectionField* field = nullptr);
// Where a picture file of exactly width by height pixels lays out the screen's drawing: in a smaller area, moved
// so that the drawing has the same margin on all four sides.
struct ScreenPictureFrame {
    int width = 0, height = 0;  // the area the drawing is laid out in
    QPoint offset;              // where that area's origin stands in the picture
};
ScreenPictureFrame measureScreenPicture(const tavlix::CoordinateSettings& settings, const tavlix::CurveList& curves,
                                        int width, int height, const GraphLook& look = {});
// The batch mode's picture file: the screen's drawing in exactly width by height pixels, with equal margins.
QImage graphPictureImage(const tavlix::CoordinateSettings& settings, const tavlix::CurveList& curves, int width,
                         int height, const GraphLook& look = {}, tavlix::DirectionField* field = nullptr);
// The field's elements as graphPictureImage draws them.
std::vector<tavlix::FieldElement> pictureFieldElements(const tavlix::CoordinateSettings& settings,
                                                       const tavlix::CurveList& curves, tavlix::DirectionField& field,
                                                       int width, int height, const GraphLook& look = {});

// Writes pathStem + ".svg" and pathStem + ".png" (the stem in UTF-8); on failure returns false with a message
// (UTF-8). Text needs the platform's fonts, so a QGuiApplication must be running (no widgets are needed).
bool exportGraph(const std::string& pathStem, const tavlix::CoordinateSettings& settings,
                 const tavlix::CurveList& curves, std::string& error, const GraphLook& look = {},
                 tavlix::DirectionField* field = nullptr);
