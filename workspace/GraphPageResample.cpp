// A graph page's curves over t computed anew for a zoomed view, so they stay smooth, and the run's points back
// at the run's view.
#include "workspace/GraphPage.h"

#include "graph/GraphView.h"
#include "workspace/GraphAnalysis.h"
#include "workspace/PageHost.h"

#include <QTimer>

using tavlix::Setting;

void GraphPage::keepRunModel(const tavlix::Model& model)
{
    keepSampler(tavlix::CurveSampler::fromModel(model));
}

void GraphPage::keepSampler(std::unique_ptr<tavlix::CurveSampler> sampler)
{
    sampler_ = std::move(sampler);
    // The points, tangents and areas read the run's curves from the same copy of its model.
    if (sampler_)
        analysis_->setRunModel(sampler_->model());
    // A refresh that kept the user's zoom computes it once the run has ended.
    scheduleResample();
}

bool GraphPage::resamplePending() const
{
    return resampleTimer_->isActive();
}

void GraphPage::scheduleResample()
{
    if (sampler_ || !runPoints_.empty())
        resampleTimer_->start(0);
}

bool GraphPage::restoreRunPoints()
{
    if (runPoints_.empty())
        return false;
    tavlix::CurveList& curves = recorder_.curves();
    for (std::size_t i = 0; i < runPoints_.size() && i < curves.size(); ++i)
        if (runPoints_[i])
            curves[i].points = std::move(*runPoints_[i]);
    runPoints_.clear();
    return true;
}

void GraphPage::resampleForView()
{
    if (!begun_)
        return;
    // A run draws on the view; what it shows is computed once it has ended.
    if (host().running()) {
        resampleTimer_->start(RelayoutDelayMs);
        return;
    }
    resampleCurves();
    // The points follow the view, and the run's end makes the analysis commands available.
    refreshPoints();
    if (isVisible())
        updateAnalysisCommands();
}

void GraphPage::resampleCurves()
{
    const tavlix::CoordinateSettings& v = view_->view();
    const bool runView =
        v[Setting::Xmin] == runSettings_[Setting::Xmin] && v[Setting::Xmax] == runSettings_[Setting::Xmax];
    const GraphGeometry& g = view_->geometry();
    const double twoPixels = g.toValueX(2) - g.toValueX(0);
    tavlix::CurveList fresh;
    // The run's view shows the run's own picture.
    if (runView || !sampler_ ||
        !sampler_->sample({v[Setting::Xmin] - twoPixels, v[Setting::Xmax] + twoPixels, twoPixels}, fresh)) {
        if (restoreRunPoints())
            view_->redraw();
        return;
    }
    tavlix::CurveList& curves = recorder_.curves();
    runPoints_.resize(fresh.size());
    for (std::size_t i = 0; i < fresh.size() && i < curves.size(); ++i) {
        if (!sampler_->resamples(static_cast<int>(i) + 1))
            continue;
        if (!runPoints_[i])
            runPoints_[i] = std::move(curves[i].points);
        curves[i].points = std::move(fresh[i].points);
    }
    view_->redraw();
}
