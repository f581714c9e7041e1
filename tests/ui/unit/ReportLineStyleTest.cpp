// The printed traces of one exercise differ by more than colour: every two
// traces a student can show together have different dash patterns.
#include "core/exercises/ExerciseProfile.h"
#include "ui/trends/TrendReport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace velmor {
namespace {

TEST(ReportLineStyleTest, TracesShownTogetherHaveTheirOwnDashes)
{
    for (Exercise e : {Exercise::Flow, Exercise::Level, Exercise::Open, Exercise::Temperature,
                       Exercise::Batch}) {
        const TrendsProfile& trends = ProfileOf(e).trends;
        std::vector<TraceId> showable;
        for (int i = 0; i < kTraceCount; ++i) {
            const auto id = static_cast<TraceId>(i);
            const bool levelBox = id == TraceId::LevelSP || id == TraceId::LevelMV;
            const bool flowBox = id == TraceId::FlowSP || id == TraceId::FlowMV;
            const bool hidden = trends.levelBoxes ? flowBox : levelBox;
            const bool disabled = std::find(trends.disabled.begin(), trends.disabled.end(), id) !=
                                  trends.disabled.end();
            if (!hidden && !disabled) {
                showable.push_back(id);
            }
        }
        ASSERT_GE(showable.size(), 2u) << FormName(e);
        for (std::size_t a = 0; a < showable.size(); ++a) {
            for (std::size_t b = a + 1; b < showable.size(); ++b) {
                EXPECT_NE(ReportDashes(showable[a]), ReportDashes(showable[b]))
                    << FormName(e) << ": traces " << static_cast<int>(showable[a]) << " and "
                    << static_cast<int>(showable[b]);
            }
        }
    }
}

} // namespace
} // namespace velmor
