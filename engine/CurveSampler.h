// A graph's curves computed anew over the part of t a zoomed view shows, by the engine's own graph loop run on a
// private copy of the run's compiled script.
#pragma once

#include "engine/Curve.h"
#include "engine/Model.h"

#include <memory>

namespace tavlix {

class CurveSampler {
public:
    // A copy of the model as its graph generation starts (after its output interval is known).
    static std::unique_ptr<CurveSampler> fromModel(const Model& model);
    // The run's model as the sampler keeps it.
    const Model& model() const { return *original_; }
    ~CurveSampler();

    // The t range in view (a step beyond each end is welcome) and the longest output interval it may have.
    struct Request {
        double tFrom = 0;
        double tTo = 0;
        double maxStep = 0;
    };
    // Computes every curve of the graph again, one per output variable in order: over the part of [TMin, TMax]
    // the request covers, with the run's output interval divided into equal parts no longer than maxStep, so the
    // run's own output times are among the new ones. Differential equations are integrated from TMin, with the
    // run's interval up to the range. False (curves untouched) when the run's interval is short enough already,
    // the range is empty, or the work would exceed the point bound or the time bound.
    bool sample(const Request& request, CurveList& curves) const;
    // Whether sample() computes curve n (counted from 1) anew: a line whose x is t. Marks stay at the run's points.
    bool resamples(int curve) const;
    // The run's output interval.
    double runStep() const { return runStep_; }

    // Most points a computation may give, and how long it may take before it gives up.
    static constexpr long long MaxPoints = 2000000;
    static constexpr int MaxMilliseconds = 1000;

private:
    CurveSampler() = default;
    // Runs the graph loop on model, a fresh copy of script, over [from, to] with the given interval; the curves
    // go to curves, or nowhere when it is null (then an error also fails).
    bool runLoop(const CompiledScript& script, Model& model, double from, double to, double step,
                 CurveList* curves) const;

    std::unique_ptr<Model> original_;
    double runStep_ = 0;
    bool hasEquations_ = false;
};

}  // namespace tavlix
