// A run with a host that makes no table pages and a probe that keeps every t-curve's output values.
#include "analysis/GraphPages.h"

#include "compiler/ScriptCompiler.h"
#include "engine/EngineHost.h"
#include "engine/OutputProbe.h"

namespace tavlix {

namespace {

constexpr double SameTimeShare = 1e-9;

class CurveCollector : public EngineHost, public OutputProbe {
public:
    explicit CurveCollector(std::vector<GraphPageCurves>& pages) : pages_(pages) {}

    TableSink* createTablePage(const std::string&) override
    {
        graphPage_ = false;
        return nullptr;
    }
    GraphSink* createGraphPage(const std::string& caption) override
    {
        graphPage_ = true;
        pages_.push_back({caption, {}});
        return &graph_;
    }
    void showNoticeText(const std::string&) override {}
    void reportFault(const std::string&) override {}
    void showScriptError(const std::string&) override {}

    void beginPage(const Model& model) override
    {
        byEntry_.assign(static_cast<std::size_t>(model.script.outputCount + 1), -1);
        if (!graphPage_)
            return;
        std::vector<SampledCurve>& curves = pages_.back().curves;
        for (int e = 1; e <= model.script.outputCount; ++e) {
            const OutputVariable& out = model.script.outputs[e];
            if (out.xRecord != 0)
                continue;
            byEntry_[static_cast<std::size_t>(e)] = static_cast<int>(curves.size());
            curves.push_back({e, out.yRecord, out.yName.str(), {}, {}, {}});
        }
    }

    void outputValue(int entry, double t, double, double y, bool defined) override
    {
        if (entry < 1 || entry >= static_cast<int>(byEntry_.size()) || byEntry_[static_cast<std::size_t>(entry)] < 0)
            return;
        SampledCurve& c = pages_.back().curves[static_cast<std::size_t>(byEntry_[static_cast<std::size_t>(entry)])];
        // An integration's last output point may come twice, once at the summed output times and once at TMax:
        // the samples keep growing t, the later point standing for both.
        if (!c.t.empty() && t - c.t.back() <= SameTimeShare * (t - c.t.front())) {
            c.t.pop_back();
            c.y.pop_back();
            c.defined.pop_back();
        }
        c.t.push_back(t);
        c.y.push_back(y);
        c.defined.push_back(defined);
    }

private:
    std::vector<GraphPageCurves>& pages_;
    NullGraphSink graph_;  // the values come through the probe; the page draws nothing
    bool graphPage_ = false;
    std::vector<int> byEntry_;  // the curve each output entry feeds, or -1
};

}  // namespace

bool GraphPages::collect(const SettingsTexts& settings, const std::vector<std::string>& lines,
                         const std::string& caption, const ListPicks& picks)
{
    pages_.clear();
    CurveCollector collector(pages_);
    ScriptCompiler compiler;
    compiler.setPicks(picks);
    const RunResult result = compiler.run(settings, lines, caption, collector, &collector);
    error_ = result.message;
    if (result.abandoned && error_.empty())
        error_ = "K\xF8rslen blev afbrudt";
    return !result.abandoned && result.error == ScriptError::None;
}

}  // namespace tavlix
