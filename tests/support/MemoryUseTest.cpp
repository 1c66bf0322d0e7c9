// The memory guard: it sees the process grow and compares against a limit below the machine's memory.
#include "support/MemoryUse.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

using namespace tavlix;

namespace {

TEST(MemoryUse, SeesTheProcessGrow)
{
    const std::size_t before = MemoryUse::residentBytes();
    ASSERT_GT(before, 0u);
    constexpr std::size_t Grow = 64u << 20;
    auto block = std::make_unique<char[]>(Grow);
    std::memset(block.get(), 1, Grow);  // touched, so it is resident
    EXPECT_GE(MemoryUse::residentBytes(), before + Grow / 2);
}

TEST(MemoryUse, LimitIsBelowTheMachineAndCanBeSetForTests)
{
    MemoryUse::setLimitForTests(0);
    const std::size_t limit = MemoryUse::limitBytes();
    EXPECT_GT(limit, MemoryUse::residentBytes());
    EXPECT_FALSE(MemoryUse::nearlyExhausted());
    MemoryUse::setLimitForTests(1);
    EXPECT_TRUE(MemoryUse::nearlyExhausted());
    MemoryUse::setLimitForTests(0);
    EXPECT_EQ(MemoryUse::limitBytes(), limit);
}

}  // namespace
