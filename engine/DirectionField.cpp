// Slope fields, phase planes and solutions through a point, computed on a private copy of a run's compiled script.
#include "engine/DirectionField.h"

#include "engine/EngineHost.h"
#include "engine/Evaluator.h"
#include "engine/ScriptCopy.h"
#include "engine/Solver.h"

#include <algorithm>
#include <cmath>

namespace tavlix {

namespace {

// A solution that needs more steps than this has stalled; it stops where it is.
constexpr long long MaxSolutionSteps = 200000;
// A solution's largest step over its smallest: steps far below a pixel add nothing to the picture, so a solution
// that needs them ends there.
constexpr double LargestPerSmallestStep = 10000;

}  // namespace

DirectionField::DirectionField() : model_(std::make_unique<Model>())
{
    run_.host = &quietHost_;  // notices and faults only end the element or the solution
}

DirectionField::~DirectionField() = default;

std::unique_ptr<DirectionField> DirectionField::fromModel(const Model& model)
{
    std::unique_ptr<DirectionField> field(new DirectionField());
    copyCompiledScript(model.script, *field->model_);
    field->model_->rkf.stepRecordCount = model.script.recordCount;
    field->model_->rkf.absTol = model.script.settings[Setting::AbsTolerance];
    field->model_->rkf.relTol = model.script.settings[Setting::RelTolerance];
    field->classify();
    return field;
}

void DirectionField::classify()
{
    const CompiledScript& s = model_->script;
    std::vector<int> equations;
    for (int i = 1; i <= s.lastOdeRecord; ++i)
        if (s.records[i].isOdeVariable)
            equations.push_back(i);
    const auto isEquation = [&](int r) { return std::find(equations.begin(), equations.end(), r) != equations.end(); };
    kind_ = FieldKind::None;
    if (equations.empty()) {
        reason_ = NoFieldReason::NoEquations;
        return;
    }
    if (equations.size() > 2) {
        reason_ = NoFieldReason::TooManyEquations;
        return;
    }
    reason_ = NoFieldReason::NotDrawnAgainstEquation;
    for (int e = 1; e <= s.outputCount; ++e) {
        const OutputVariable& out = s.outputs[e];
        const bool slope = equations.size() == 1 && out.xRecord == 0 && out.yRecord == equations[0];
        const bool phase =
            equations.size() == 2 && out.xRecord != out.yRecord && isEquation(out.xRecord) && isEquation(out.yRecord);
        if (slope || phase) {
            kind_ = slope ? FieldKind::Slope : FieldKind::Phase;
            reason_ = NoFieldReason::None;
            xRecord_ = out.xRecord;
            yRecord_ = out.yRecord;
            return;
        }
    }
}

void DirectionField::clearCaches()
{
    for (int i = 1; i <= model_->script.recordCount; ++i)
        model_->script.records[i].cachedT = BigValue;
}

void DirectionField::placeAt(double x, double y)
{
    RkfState& s = model_->rkf;
    for (int i = 1; i <= model_->script.recordCount; ++i)
        s.y[i] = model_->script.records[i].domainLo;
    if (kind_ == FieldKind::Slope) {
        run_.t = x;
    } else {
        run_.t = model_->script.settings[Setting::Tmin];
        s.y[xRecord_] = x;
    }
    s.y[yRecord_] = y;
}

bool DirectionField::derivatives(double& dx, double& dy)
{
    clearCaches();
    run_.failed = run_.abandoned = run_.stopped = false;
    model_->error = ScriptError::None;
    model_->stackTop = 0;
    dx = 1;
    if (kind_ == FieldKind::Phase) {
        evaluateRecord(*model_, run_, xRecord_);
        dx = model_->script.records[xRecord_].value;
    }
    if (!run_.failed && !run_.abandoned)
        evaluateRecord(*model_, run_, yRecord_);
    dy = model_->script.records[yRecord_].value;
    return !run_.failed && !run_.abandoned && std::isfinite(dx) && std::isfinite(dy);
}

std::optional<FieldElement> DirectionField::direction(double x, double y)
{
    if (kind_ == FieldKind::None)
        return std::nullopt;
    placeAt(x, y);
    double dx = 0, dy = 0;
    if (!derivatives(dx, dy))
        return std::nullopt;
    const double length = std::hypot(dx, dy);
    if (!std::isfinite(length))  // a slope beyond the double range stands upright
        return FieldElement{x, y, 0, dy > 0 ? 1.0 : -1.0};
    if (length == 0)  // a rest point has no direction
        return FieldElement{x, y, 0, 0};
    return FieldElement{x, y, dx / length, dy / length};
}

std::vector<FieldElement> DirectionField::elements(const ValueRect& area, double aspect, int columns)
{
    std::vector<FieldElement> out;
    if (kind_ == FieldKind::None || columns < 1 || !(area.xmax > area.xmin) || !(area.ymax > area.ymin))
        return out;
    const int rows = std::max(1, static_cast<int>(std::lround(columns * std::clamp(aspect, 0.01, 100.0))));
    const double cellW = (area.xmax - area.xmin) / columns;
    const double cellH = (area.ymax - area.ymin) / rows;
    out.reserve(static_cast<std::size_t>(columns * rows));
    for (int row = 0; row < rows; ++row)
        for (int col = 0; col < columns; ++col)
            if (auto e = direction(area.xmin + (col + 0.5) * cellW, area.ymin + (row + 0.5) * cellH))
                out.push_back(*e);
    return out;
}

bool DirectionField::inside(const ValueRect& area) const
{
    const double y = model_->rkf.y[yRecord_];
    const double x = kind_ == FieldKind::Slope ? run_.t : model_->rkf.y[xRecord_];
    return std::isfinite(x) && std::isfinite(y) && area.xmin <= x && x <= area.xmax && area.ymin <= y && y <= area.ymax;
}

void DirectionField::follow(double t0, double t1, const ValueRect& area, std::vector<CurvePoint>& points)
{
    RkfState& s = model_->rkf;
    s.direction = t1 > t0 ? 1 : -1;
    s.hNext = s.hMax;
    clearCaches();
    run_.failed = run_.abandoned = run_.stopped = false;
    model_->stackTop = 0;
    long long steps = 0;
    while ((t1 - run_.t) * s.direction > 0) {
        aimStep(*model_, run_, t1);
        if (takeStep(*model_, run_, false) != StepOutcome::Accepted)
            return;
        const double y = s.y[yRecord_];
        const double x = kind_ == FieldKind::Slope ? run_.t : s.y[xRecord_];
        if (!std::isfinite(x) || !std::isfinite(y))
            return;
        points.push_back({x, y, false});
        if (!inside(area) || !mayStepOn(*model_, run_, ++steps))
            return;
    }
}

std::vector<CurvePoint> DirectionField::solveThrough(double x, double y, const ValueRect& area)
{
    std::vector<CurvePoint> points;
    if (kind_ == FieldKind::None)
        return points;
    const CoordinateSettings& settings = model_->script.settings;
    const double tLo = kind_ == FieldKind::Slope ? area.xmin : settings[Setting::Tmin];
    const double tHi = kind_ == FieldKind::Slope ? area.xmax : settings[Setting::Tmax];
    RkfState& rkf = model_->rkf;
    rkf.hMax = (tHi - tLo) / MinStepsPerRange;
    if (!(rkf.hMax > 0) || !std::isfinite(rkf.hMax))
        return points;
    // A solution ends quietly where a run would report a tolerance it cannot meet.
    rkf.hMin = rkf.hMax / LargestPerSmallestStep;
    rkf.maxSteps = MaxSolutionSteps;
    const double t0 = kind_ == FieldKind::Slope ? x : tLo;
    placeAt(x, y);
    follow(t0, tLo, area, points);
    std::reverse(points.begin(), points.end());
    points.push_back({x, y, false});
    placeAt(x, y);
    follow(t0, tHi, area, points);
    return points;
}

}  // namespace tavlix
