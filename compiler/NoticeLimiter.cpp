// Passes a run's messages on to its host, but not a notice at every point of a long run.
#include "compiler/NoticeLimiter.h"

namespace tavlix {

void NoticeLimiter::showNotice(Notice notice, double t)
{
    if (!limits_ || ++count_ <= MaxNoticesPerRun)
        host_.showNotice(notice, t);
}

void NoticeLimiter::sumUp()
{
    if (count_ > MaxNoticesPerRun)
        host_.showNoticeText("K\xF8rslen gav " + std::to_string(count_ - MaxNoticesPerRun) +
                             " meddelelser mere, som ikke er vist.");
}

}  // namespace tavlix
