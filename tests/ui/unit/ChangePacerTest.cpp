// The pacing of a control's change events: a screen reader hears at most
// two a second, and the last value is never lost.
#include "ui/common/ChangePacer.h"

#include <gtest/gtest.h>

namespace velmor {
namespace {

TEST(ChangePacerTest, FirstChangeAtOnceLaterOnesWaitForTheInterval)
{
    ChangePacer pacer(500);
    EXPECT_TRUE(pacer.offer(1000).tellNow);
    // Within the interval: one wait to the interval's end, and the changes
    // after it ride on that wait.
    const ChangePacer::Advice second = pacer.offer(1100);
    EXPECT_FALSE(second.tellNow);
    ASSERT_TRUE(second.waitMs.has_value());
    EXPECT_EQ(*second.waitMs, 400);
    const ChangePacer::Advice third = pacer.offer(1300);
    EXPECT_FALSE(third.tellNow);
    EXPECT_FALSE(third.waitMs.has_value());
    EXPECT_TRUE(pacer.waiting());
    pacer.told(1500);
    EXPECT_FALSE(pacer.waiting());
    // The interval runs from the told change again.
    EXPECT_FALSE(pacer.offer(1700).tellNow);
}

TEST(ChangePacerTest, TenChangesASecondGiveTwoEvents)
{
    // A run's ten cycles a second, for ten seconds: every event that goes
    // out, at once or after a wait, is half a second after the one before.
    ChangePacer pacer(500);
    std::int64_t dueAt = -1;
    std::int64_t last = -1000;
    int events = 0;
    for (std::int64_t now = 0; now < 10000; now += 100) {
        if (dueAt >= 0 && now >= dueAt) {
            pacer.told(dueAt);
            EXPECT_GE(dueAt - last, 500);
            last = dueAt;
            ++events;
            dueAt = -1;
        }
        const ChangePacer::Advice advice = pacer.offer(now);
        if (advice.tellNow) {
            EXPECT_GE(now - last, 500);
            last = now;
            ++events;
        }
        if (advice.waitMs) {
            dueAt = now + *advice.waitMs;
        }
    }
    EXPECT_EQ(events, 20);
}

} // namespace
} // namespace velmor
