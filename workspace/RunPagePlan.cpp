// The run's pages matched against the previous run's by position and kind.
#include "workspace/RunPagePlan.h"

void RunPagePlan::start(Page* document, const QList<QPointer<Page>>& previous)
{
    document_ = document;
    previous_ = previous;
    made_.clear();
}

Page* RunPagePlan::atNextPosition() const
{
    const qsizetype slot = made_.size();
    return slot < previous_.size() ? previous_[slot].data() : nullptr;
}

Page* RunPagePlan::takeOver(PageKind kind)
{
    Page* old = atNextPosition();
    return old && old->kind() == kind ? old : nullptr;
}

QList<Page*> RunPagePlan::leftovers() const
{
    QList<Page*> pages;
    for (const QPointer<Page>& old : previous_)
        if (old && !made_.contains(old))
            pages << old;
    return pages;
}

QList<Page*> RunPagePlan::openPages() const
{
    QList<Page*> pages = leftovers();
    for (const QPointer<Page>& page : made_)
        if (page)
            pages << page;
    return pages;
}
