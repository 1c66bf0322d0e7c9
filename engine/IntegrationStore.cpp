// The integrations of one run, kept so that a later output section with the same output times replays them.
#include "engine/IntegrationStore.h"

#include "engine/EngineHost.h"
#include "engine/OutputGenerator.h"
#include "engine/RunState.h"

#include <cstring>
#include <utility>

namespace tavlix {

namespace {

// Compared bit for bit: a NaN tolerance matches itself, and 0 and -0 start different integrations.
bool sameKey(const std::vector<double>& a, const std::vector<double>& b)
{
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(double)) == 0;
}

bool ended(const RunState& run)
{
    return run.failed || run.abandoned;
}

void showNotices(RunState& run, const KeptIntegration& kept, std::size_t point, std::size_t& next)
{
    for (; next < kept.notices.size() && kept.notices[next].point <= point; ++next)
        if (run.host)
            run.host->showNotice(kept.notices[next].notice, kept.notices[next].t);
}

// The model as the integration left it at output point p: t, the variables, and the values cached at t.
void standAt(Model& model, RunState& run, const KeptIntegration& kept, std::size_t p, std::size_t& nextCached)
{
    const double* at = &kept.points[p * (kept.records.size() + 1)];
    run.t = at[0];
    for (std::size_t v = 0; v < kept.records.size(); ++v)
        model.rkf.y[kept.records[v]] = at[v + 1];
    for (int r = 1; r <= model.script.recordCount; ++r)
        model.script.records[r].cachedT = BigValue;
    for (; nextCached < kept.cachedValues.size() && kept.cachedValues[nextCached].point == p; ++nextCached) {
        FunctionRecord& rec = model.script.records[kept.cachedValues[nextCached].record];
        rec.value = kept.cachedValues[nextCached].value;
        rec.cachedT = run.t;
    }
}

// The end the steps made: what failed there, and the solver and its statistics as they were.
void endAsKept(Model& model, RunState& run, const KeptIntegration& kept)
{
    model.statistics = kept.statistics;
    model.rkf = kept.solver;
    model.nextOutputT = kept.nextOutputT;
    if (!kept.failed)
        return;
    run.failed = true;
    run.stopped = run.stopped || kept.stoppedInSteps;
    model.error = kept.error;
    run.t = kept.t;
    if (kept.error == ScriptError::CannotCompute)
        run.failedName = kept.failedName;
}

}  // namespace

std::size_t KeptIntegration::bytes() const
{
    return sizeof(KeptIntegration) + (key.size() + points.size()) * sizeof(double) + records.size() * sizeof(int) +
           cachedValues.size() * sizeof(KeptValue) + notices.size() * sizeof(KeptNotice);
}

std::vector<double> IntegrationStore::keyOf(const Model& model)
{
    std::vector<double> key = {model.tStart,
                               model.tEnd,
                               model.tStep,
                               model.rkf.absTol,
                               model.rkf.relTol,
                               static_cast<double>(model.rkf.maxSteps),
                               static_cast<double>(model.script.recordCount)};
    for (int i = 1; i <= model.script.recordCount; ++i)
        if (model.script.records[i].isOdeVariable)
            key.push_back(model.script.records[i].domainLo);
    return key;
}

const KeptIntegration* IntegrationStore::find(const Model& model) const
{
    if (kept_.empty())
        return nullptr;
    const std::vector<double> key = keyOf(model);
    for (const KeptIntegration& k : kept_)
        if (sameKey(k.key, key))
            return &k;
    return nullptr;
}

void IntegrationStore::keep(KeptIntegration integration)
{
    bytes_ += integration.bytes();
    kept_.push_back(std::move(integration));
}

void IntegrationStore::clear()
{
    kept_.clear();
    bytes_ = 0;
}

void replayIntegration(Model& model, RunState& run, const KeptIntegration& kept)
{
    std::size_t nextNotice = 0;
    std::size_t nextCached = 0;
    const std::size_t points = kept.pointCount();
    for (std::size_t p = 0; p < points; ++p) {
        showNotices(run, kept, p, nextNotice);
        standAt(model, run, kept, p, nextCached);
        // A graph draws nothing at its first call: it starts its curves.
        if (p == 0 && run.outputIsGraph) {
            outputPoint(model, run);
            if (ended(run))
                return;
        }
        outputPoint(model, run);
        if (ended(run))
            return;
    }
    showNotices(run, kept, points, nextNotice);
    endAsKept(model, run, kept);
}

}  // namespace tavlix
