// The graph pages a family's first run has made so far, for members that run beside it and may draw only into those.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <mutex>

namespace tavlix {

class FamilyPageGate {
public:
    // The first run made one more graph page.
    void pageMade();
    // The first run ended, or the family stops: the pages made are all there will be.
    void close();
    // Whether the first run has a graph page at this place (from 0); waits while it may still make it.
    bool hasPage(std::size_t index);

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::size_t pages_ = 0;
    bool closed_ = false;
};

}  // namespace tavlix
