// The page's curves are sampled afresh on one grid, so every two of them can be bracketed sample by sample, and
// the analysis core refines what the samples bracket.
#include "workspace/GraphAnalysis.h"

#include "engine/Model.h"

#include <algorithm>
#include <cmath>
#include <limits>

using tavlix::CurveFunction;

GraphAnalysis::GraphAnalysis() = default;
GraphAnalysis::~GraphAnalysis() = default;

void GraphAnalysis::setRunModel(const tavlix::Model& model)
{
    document_ = std::make_unique<tavlix::CompiledDocument>(model);
    const tavlix::CompiledScript& s = model.script;
    records_.assign(static_cast<std::size_t>(s.outputCount + 1), -1);
    for (int e = 1; e <= s.outputCount; ++e)
        if (s.outputs[e].xRecord == 0)
            records_[static_cast<std::size_t>(e)] = s.outputs[e].yRecord;
    runStep_ = std::fabs(model.tStep);
    tMin_ = s.settings[tavlix::Setting::Tmin];
}

void GraphAnalysis::forget()
{
    document_.reset();
    records_.clear();
}

bool GraphAnalysis::analyses(const tavlix::CurveList& curves, int curve) const
{
    // A family's curves come from other values of a list constant than the copy holds, in another order. Marks
    // stand for measured or sampled points, whose zeros and extremes between the points mean nothing.
    if (!document_ || curve < 0 || curve + 1 >= static_cast<int>(records_.size()) ||
        curve >= static_cast<int>(curves.size()) || records_[static_cast<std::size_t>(curve + 1)] < 0)
        return false;
    const tavlix::Curve& c = curves[static_cast<std::size_t>(curve)];
    return c.origin == tavlix::CurveOrigin::Run && tavlix::isLineStyle(c.style);
}

std::vector<int> GraphAnalysis::analysedCurves(const tavlix::CurveList& curves) const
{
    std::vector<int> list;
    for (int c = 0; c < static_cast<int>(curves.size()); ++c)
        if (analyses(curves, c))
            list.push_back(c);
    return list;
}

std::vector<tavlix::InterestPoint> GraphAnalysis::points(const tavlix::CurveList& curves, double lo, double hi)
{
    const std::vector<int> analysed = analysedCurves(curves);
    if (analysed.empty() || !(hi > lo))
        return {};
    // The run's own output times within [lo, hi], divided further where the view is zoomed in on few of them.
    double step = runStep_ > 0 ? runStep_ : (hi - lo) / LeastSamples;
    if (const double parts = std::ceil(step * LeastSamples / (hi - lo)); parts > 1)
        step /= parts;
    const double first = tMin_ + std::ceil((lo - tMin_) / step) * step;
    std::vector<double> ts{lo};
    for (double k = 0;; ++k) {
        const double t = first + k * step;
        if (t >= hi)
            break;
        if (t > lo)
            ts.push_back(t);
    }
    ts.push_back(hi);
    std::vector<tavlix::SampledCurve> sampled;
    for (int c : analysed) {
        tavlix::SampledCurve s{c + 1, records_[static_cast<std::size_t>(c + 1)], {}, ts, {}, {}};
        CurveFunction f(*document_, s.record);
        s.y.assign(ts.size(), 0.0);
        s.defined.assign(ts.size(), false);
        if (f.followsSolution()) {
            std::vector<double> values;
            f.valuesAt(ts, values);  // stops at the first t without a value: the rest stay undefined
            for (std::size_t i = 0; i < values.size() && i < ts.size(); ++i) {
                s.y[i] = values[i];
                s.defined[i] = std::isfinite(values[i]);
            }
        } else {
            for (std::size_t i = 0; i < ts.size(); ++i)
                s.defined[i] = f.valueAt(ts[i], s.y[i]);
        }
        sampled.push_back(std::move(s));
    }
    std::vector<tavlix::InterestPoint> found = tavlix::InterestPoints(*document_, sampled).find(lo, hi);
    for (tavlix::InterestPoint& p : found) {
        p.curve = analysed[static_cast<std::size_t>(p.curve)];
        if (p.other >= 0)
            p.other = analysed[static_cast<std::size_t>(p.other)];
    }
    return found;
}

bool GraphAnalysis::valueAt(int curve, double t, double& y)
{
    if (!document_ || curve < 0 || curve + 1 >= static_cast<int>(records_.size()))
        return false;
    CurveFunction f(*document_, records_[static_cast<std::size_t>(curve + 1)]);
    return f.valueAt(t, y);
}

int GraphAnalysis::nearestCurve(const tavlix::CurveList& curves, double t, double y)
{
    int best = -1;
    double distance = std::numeric_limits<double>::infinity();
    for (int c : analysedCurves(curves)) {
        double v = 0;
        if (valueAt(c, t, v) && std::fabs(v - y) < distance) {
            best = c;
            distance = std::fabs(v - y);
        }
    }
    return best;
}

std::optional<tavlix::Tangent> GraphAnalysis::tangentAt(int curve, double t)
{
    if (!document_ || curve < 0 || curve + 1 >= static_cast<int>(records_.size()))
        return std::nullopt;
    CurveFunction f(*document_, records_[static_cast<std::size_t>(curve + 1)]);
    return tavlix::CurveCalculus::tangentAt(f, t);
}

std::optional<double> GraphAnalysis::integral(int curve, int other, double a, double b)
{
    const auto known = [this](int c) { return c >= 0 && c + 1 < static_cast<int>(records_.size()); };
    if (!document_ || !known(curve) || (other >= 0 && !known(other)))
        return std::nullopt;
    CurveFunction f(*document_, records_[static_cast<std::size_t>(curve + 1)]);
    if (other < 0)
        return tavlix::CurveCalculus::integral(f, a, b);
    CurveFunction g(*document_, records_[static_cast<std::size_t>(other + 1)]);
    return tavlix::CurveCalculus::integralBetween(f, g, a, b);
}
