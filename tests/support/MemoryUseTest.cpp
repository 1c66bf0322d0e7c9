// The memory guard: it sees the process grow and compares against a limit below the machine's memory.
#include "support/MemoryUse.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace {

TEST(MemoryUse, SeesTheProcessGrow)
{
    const std::size_t before = MemoryUse::ResidentBytes();
    ASSERT_GT(before, 0u);
    constexpr std::size_t Grow = 64u << 20;
    auto block = std::make_unique<char[]>(Grow);
    std::memset(block.get(), 1, Grow);  // touched, so it is resident
    EXPECT_GE(MemoryUse::ResidentBytes(), before + Grow / 2);
}

TEST(MemoryUse, LimitIsBelowTheMachineAndCanBeSetForTests)
{
    MemoryUse::SetLimitForTests(0);
    const std::size_t limit = MemoryUse::LimitBytes();
    EXPECT_GT(limit, MemoryUse::ResidentBytes());
    EXPECT_FALSE(MemoryUse::NearlyExhausted());
    MemoryUse::SetLimitForTests(1);
    EXPECT_TRUE(MemoryUse::NearlyExhausted());
    MemoryUse::SetLimitForTests(0);
    EXPECT_EQ(MemoryUse::LimitBytes(), limit);
}

}  // namespace
