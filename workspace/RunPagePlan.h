// Which result pages a run writes into: a refresh takes over the document's last run's pages in order.
#pragma once

#include "workspace/Page.h"

#include <QList>
#include <QPointer>

class RunPagePlan {
public:
    // previous: the pages the run may take over; empty when every page is made anew.
    void start(Page* document, const QList<QPointer<Page>>& previous);
    void clear() { *this = RunPagePlan(); }

    Page* document() const { return document_; }
    // The previous page that the run's next page takes over: the one at the same position, when it is of the
    // same kind and still open. Null when the page must be made.
    Page* takeOver(PageKind kind);
    // The previous page at the next page's position, whatever its kind: a new page goes in front of it.
    Page* atNextPosition() const;
    // The run's next page, taken over or made.
    void add(Page* page) { made_ << page; }

    const QList<QPointer<Page>>& madePages() const { return made_; }
    // The previous pages still open that the run did not take over, in their order.
    QList<Page*> leftovers() const;
    // Every page of the plan still open, previous and made alike.
    QList<Page*> openPages() const;

private:
    QPointer<Page> document_;
    QList<QPointer<Page>> previous_;
    QList<QPointer<Page>> made_;
};
