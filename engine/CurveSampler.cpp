// A graph's curves computed anew over part of t, through the graph loop, on a private copy of the run's script.
#include "engine/CurveSampler.h"

#include "engine/CurveRecorder.h"
#include "engine/EngineHost.h"
#include "engine/OutputGenerator.h"
#include "engine/RunState.h"
#include "engine/ScriptCopy.h"

#include <chrono>
#include <cmath>

namespace tavlix {

namespace {

// Takes the loop's points into a recorder, or lets them go; nobody watches notices, and time runs out.
class SamplingHost : public EngineHost, public GraphSink {
public:
    SamplingHost(CurveList* curves, long long maxPoints)
        : curves_(curves), recorder_(maxPoints),
          deadline_(std::chrono::steady_clock::now() + std::chrono::milliseconds(CurveSampler::MaxMilliseconds))
    {}
    bool overLimit() const { return overLimit_; }

    TableSink* createTablePage(const std::string&) override { return nullptr; }
    GraphSink* createGraphPage(const std::string&) override { return this; }
    void showNoticeText(const std::string&) override {}
    void reportFault(const std::string&) override {}
    void showScriptError(const std::string&) override {}
    bool keepGoing() override { return !overLimit_ && std::chrono::steady_clock::now() < deadline_; }

    void setSettings(const CoordinateSettings&) override {}
    void begin() override {}
    void fitToWindow() override {}
    void addCurve(CurveStyle style) override { recorder_.addCurve(style); }
    void addPoint(int curve, double x, double y) override
    {
        if (curves_ && recorder_.addPoint(curve, x, y) == CurveRecorder::Added::OverLimit)
            overLimit_ = true;
    }
    void endStroke(int curve) override { recorder_.endStroke(curve); }
    void takeCurves() { *curves_ = std::move(recorder_.curves()); }

private:
    CurveList* curves_;
    CurveRecorder recorder_;
    std::chrono::steady_clock::time_point deadline_;
    bool overLimit_ = false;
};

}  // namespace

CurveSampler::~CurveSampler() = default;

std::unique_ptr<CurveSampler> CurveSampler::fromModel(const Model& model)
{
    std::unique_ptr<CurveSampler> sampler(new CurveSampler());
    sampler->original_ = std::make_unique<Model>();
    copyCompiledScript(model.script, *sampler->original_);
    sampler->runStep_ = model.tStep;
    for (int i = 1; i <= model.script.recordCount; ++i)
        sampler->hasEquations_ = sampler->hasEquations_ || model.script.records[i].isOdeVariable;
    return sampler;
}

bool CurveSampler::resamples(int curve) const
{
    const CompiledScript& s = original_->script;
    return curve >= 1 && curve <= s.outputCount && s.outputs[curve].xRecord == 0 && isLineStyle(s.outputs[curve].style);
}

bool CurveSampler::runLoop(const CompiledScript& script, Model& model, double from, double to, double step,
                           CurveList* curves) const
{
    copyCompiledScript(script, model);
    model.script.settings[Setting::Tmin] = from;
    model.script.settings[Setting::Tmax] = to;
    model.script.settings[Setting::TStep] = step;
    SamplingHost host(curves, MaxPoints);
    RunState run;
    run.host = &host;
    run.integrations.setKeeping(false);  // one section, redone piecewise: nothing to share
    int pages = 0;
    const ScriptError error = generateGraph(model, run, std::string(), pages);
    if (run.abandoned || host.overLimit() || (!curves && error != ScriptError::None))
        return false;
    if (curves)
        host.takeCurves();
    return true;
}

bool CurveSampler::sample(const Request& request, CurveList& curves) const
{
    const CoordinateSettings& settings = original_->script.settings;
    const double tMin = settings[Setting::Tmin];
    const double from = std::fmax(tMin, request.tFrom);
    const double to = std::fmin(settings[Setting::Tmax], request.tTo);
    if (!(runStep_ > request.maxStep) || !(request.maxStep > 0) || !(to > from) || !std::isfinite(to - from))
        return false;
    // The run's output time at or before the range, so the run's points stay among the new ones.
    const double start = tMin + std::floor((from - tMin) / runStep_) * runStep_;
    const double parts = std::ceil(runStep_ / request.maxStep);
    const double step = runStep_ / parts;
    if ((to - start) / step > static_cast<double>(MaxPoints))
        return false;
    auto model = std::make_unique<Model>();
    if (!hasEquations_ || start == tMin)
        return runLoop(original_->script, *model, start, to, step, &curves);
    // Up to the range at the run's own interval, drawing nothing; the state there starts the finer part.
    if (!runLoop(original_->script, *model, tMin, start, runStep_, nullptr))
        return false;
    auto resumed = std::make_unique<Model>();
    copyCompiledScript(original_->script, *resumed);
    for (int i = 1; i <= model->script.recordCount; ++i)
        if (model->script.records[i].isOdeVariable)
            resumed->script.records[i].domainLo = model->rkf.y[i];
    return runLoop(resumed->script, *model, start, to, step, &curves);
}

}  // namespace tavlix
