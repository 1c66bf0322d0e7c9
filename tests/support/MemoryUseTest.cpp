// The memory guard: it sees the process grow and compares against a limit below the machine's memory.
#include "support/MemoryUse.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

using namespace tavlix;

namespace {

TEST(MemoryUse, SeesTheProcessGrow)
{
    const std::size_t before = memory::residentBytes();
    ASSERT_GT(before, 0u);
    constexpr std::size_t Grow = 64u << 20;
    auto block = std::make_unique<char[]>(Grow);
    std::memset(block.get(), 1, Grow);  // touched, so it is resident
    EXPECT_GE(memory::residentBytes(), before + Grow / 2);
}

TEST(MemoryUse, LimitIsBelowTheMachineAndASmallerOneIsExceeded)
{
    const std::size_t limit = memory::limitBytes();
    EXPECT_GT(limit, memory::residentBytes());
    EXPECT_FALSE(memory::exceeds(limit));
    EXPECT_TRUE(memory::exceeds(1));
    EXPECT_FALSE(memory::exceeds(0));  // the system did not say: nothing is stopped
}

}  // namespace
