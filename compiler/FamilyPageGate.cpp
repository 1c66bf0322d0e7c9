// The graph pages a family's first run has made so far, for members that run beside it and may draw only into those.
#include "compiler/FamilyPageGate.h"

namespace tavlix {

void FamilyPageGate::pageMade()
{
    {
        const std::lock_guard lock(mutex_);
        ++pages_;
    }
    changed_.notify_all();
}

void FamilyPageGate::close()
{
    {
        const std::lock_guard lock(mutex_);
        closed_ = true;
    }
    changed_.notify_all();
}

bool FamilyPageGate::hasPage(std::size_t index)
{
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return index < pages_ || closed_; });
    return index < pages_;
}

}  // namespace tavlix
