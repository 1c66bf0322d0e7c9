// Watches an integration as it runs and keeps what a later section with the same output times needs to replay it.
#include "engine/IntegrationRecorder.h"

#include <utility>

namespace tavlix {

IntegrationRecorder::IntegrationRecorder(Model& model, RunState& run)
    : model_(model), run_(run), host_(run.host), recording_(run.integrations.keeping())
{
    if (!recording_)
        return;
    kept_.key = IntegrationStore::keyOf(model);
    for (int i = 1; i <= model.script.recordCount; ++i)
        if (model.script.records[i].isOdeVariable)
            kept_.records.push_back(i);
}

IntegrationRecorder::~IntegrationRecorder()
{
    if (!recording_ || run_.abandoned || !run_.integrations.hasRoomFor(kept_.bytes()))
        return;
    kept_.failed = run_.failed;
    kept_.error = model_.error;
    kept_.t = run_.t;
    kept_.failedName = run_.failedName;
    kept_.statistics = model_.statistics;
    kept_.solver = model_.rkf;
    kept_.nextOutputT = model_.nextOutputT;
    run_.integrations.keep(std::move(kept_));
}

void IntegrationRecorder::stopRecording()
{
    recording_ = false;
    kept_ = KeptIntegration{};
}

void IntegrationRecorder::point()
{
    if (!recording_)
        return;
    const std::size_t n = kept_.pointCount();
    if (n > 0 && kept_.points[(n - 1) * (kept_.records.size() + 1)] == run_.t)
        return;
    if (!run_.integrations.hasRoomFor(kept_.bytes())) {
        stopRecording();
        return;
    }
    kept_.points.push_back(run_.t);
    for (const int r : kept_.records)
        kept_.points.push_back(model_.rkf.y[r]);
    // Usually none: a value the last step's stages computed at this very t and left cached.
    for (int r = 1; r <= model_.script.recordCount; ++r) {
        const FunctionRecord& rec = model_.script.records[r];
        if (!rec.isOdeVariable && rec.cachedT == run_.t)
            kept_.cachedValues.push_back({n, r, rec.value});
    }
}

void IntegrationRecorder::showNotice(Notice notice, double t)
{
    if (recording_ && kept_.notices.size() >= MaxNotices)
        stopRecording();
    if (recording_)
        kept_.notices.push_back({kept_.pointCount(), notice, t});
    host_->showNotice(notice, t);
}

}  // namespace tavlix
