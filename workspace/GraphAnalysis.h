// What a graph page can tell about its curves against t after the run: points of interest, tangents, areas, read
// on a private copy of the run's compiled script.
#pragma once

#include "analysis/CompiledDocument.h"
#include "analysis/CurveCalculus.h"
#include "analysis/InterestPoints.h"
#include "engine/Curve.h"

#include <memory>
#include <optional>
#include <vector>

class GraphAnalysis {
public:
    GraphAnalysis();
    ~GraphAnalysis();

    // Takes the run's model as its graph generation starts; forget() lets it go (a new run is coming).
    void setRunModel(const tavlix::Model& model);
    void forget();

    // Whether curve n (counted from 0 in the page's list) is one of the run's curves against t.
    bool analyses(const tavlix::CurveList& curves, int curve) const;
    // The analysable curves' indices.
    std::vector<int> analysedCurves(const tavlix::CurveList& curves) const;

    // Every point of interest with lo <= x <= hi, by kind and then by x; curve and other are page curve indices.
    std::vector<tavlix::InterestPoint> points(const tavlix::CurveList& curves, double lo, double hi);
    // The curve's value at t; false where it has none.
    bool valueAt(int curve, double t, double& y);
    // Of the analysable curves, the one whose value at t lies nearest y; -1 when none has a value there.
    int nearestCurve(const tavlix::CurveList& curves, double t, double y);
    std::optional<tavlix::Tangent> tangentAt(int curve, double t);
    // The integral of curve from a to b, or of curve minus other when other >= 0.
    std::optional<double> integral(int curve, int other, double a, double b);

    // Most samples the bracketing uses across the range, however fine the run's own output is not.
    static constexpr int LeastSamples = 1000;

private:
    std::unique_ptr<tavlix::CompiledDocument> document_;
    std::vector<int> records_;  // per output entry from 1 (index 0 unused): the record drawn against t, or -1
    double runStep_ = 0;
    double tMin_ = 0;
};
