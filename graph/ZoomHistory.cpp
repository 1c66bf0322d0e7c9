// The views a graph showed before each zoom and pan, so "Zoom tilbage" can step back through them.
#include "graph/ZoomHistory.h"

void ZoomHistory::record(const ValueRect& before, Change change, long long nowMs)
{
    const bool wheel = change == Change::Wheel;
    const bool sameBurst = wheel && inWheelBurst_ && nowMs - lastWheelMs_ <= BurstMs;
    inWheelBurst_ = wheel;
    lastWheelMs_ = nowMs;
    if (sameBurst)
        return;
    if (views_.size() >= MaxSteps)
        views_.erase(views_.begin());
    views_.push_back(before);
}

ValueRect ZoomHistory::stepBack()
{
    inWheelBurst_ = false;
    const ValueRect before = views_.back();
    views_.pop_back();
    return before;
}

void ZoomHistory::clear()
{
    views_.clear();
    inWheelBurst_ = false;
}
