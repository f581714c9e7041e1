#include "ui/trends/TraceTexts.h"

#include <gtest/gtest.h>

#include <utility>

using namespace velmor;

TEST(TraceTexts, ASetPointAndItsMeasuredValueAreWrittenAlike)
{
    // The read-out, the cursor values and the report set them side by side.
    const std::pair<TraceId, TraceId> loops[] = {{TraceId::FlowSP, TraceId::FlowMV},
                                                 {TraceId::TempSP, TraceId::TempMV},
                                                 {TraceId::VolSP, TraceId::VolMV},
                                                 {TraceId::LevelSP, TraceId::LevelMV}};
    for (const auto& [sp, mv] : loops) {
        EXPECT_EQ(TraceUnit(sp), TraceUnit(mv)) << static_cast<int>(sp);
        for (const float v : {0.0f, 1.23456f, 48.5f}) {
            EXPECT_EQ(TraceValueText(sp, v), TraceValueText(mv, v))
                << static_cast<int>(sp) << " " << v;
        }
    }
}
