// The printed report's arithmetic: settings segments as table rows with the
// settings box's texts, the stretch a whole run covers, and the time steps.
#include "core/trends/RunReport.h"
#include "core/exercises/ExerciseProfile.h"

#include <gtest/gtest.h>

#include <vector>

using namespace velmor;

namespace {

using Texts = std::array<std::string, 4>;

SampleRecord Flow(double time, std::int32_t segment, float pg, float i, float d)
{
    SampleRecord r;
    r.time = time;
    r.segment = segment;
    r.field(kFieldFlowPG) = pg;
    r.field(kFieldFlowI) = i;
    r.field(kFieldFlowD) = d;
    return r;
}

} // namespace

TEST(RunReport, SegmentRunsFollowTheLoggedNumbers)
{
    std::vector<SampleRecord> records(4);
    const int segments[] = {1, 1, 2, 1};
    for (std::size_t i = 0; i < records.size(); ++i) {
        records[i].segment = segments[i];
    }
    const std::vector<SegmentRun> runs = SegmentRuns(records);
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[0].segment, 1);
    EXPECT_EQ(runs[0].first, 0u);
    EXPECT_EQ(runs[0].last, 1u);
    EXPECT_EQ(runs[1].segment, 2);
    EXPECT_EQ(runs[1].first, 2u);
    EXPECT_EQ(runs[1].last, 2u);
    EXPECT_EQ(runs[2].segment, 1);
    EXPECT_EQ(runs[2].first, 3u);
    EXPECT_TRUE(SegmentRuns({}).empty());
}

TEST(RunReport, OneRowPerSegmentWithTheSettingsInForce)
{
    const std::vector<SampleRecord> records = {
        Flow(0.0, 1, 1.0f, 0.8f, 0.0f),          Flow(0.1, 1, 1.0f, 0.8f, 0.0f),
        Flow(0.2, 2, 2.5f, 0.8f, 0.1f),          Flow(0.3, 2, 2.5f, 0.8f, 0.1f),
        Flow(0.4, 2, 2.5f, 0.8f, 0.1f),          Flow(0.5, 3, 0.0f, 0.0f, 0.0f),
        Flow(12.3, 4, 123.456f, 45.0f, 1234.5f),
    };
    const auto rows = SettingsTable(records, ProfileOf(Exercise::Flow).trends.settingsColumns);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].segment, 1);
    EXPECT_EQ(rows[0].firstRecord, 1);
    EXPECT_EQ(rows[0].loops, (std::vector<Texts>{{"1", "100", "0.8", "0"}}));
    EXPECT_EQ(rows[1].segment, 2);
    EXPECT_EQ(rows[1].firstRecord, 3);
    EXPECT_DOUBLE_EQ(rows[1].start, 0.2);
    EXPECT_EQ(rows[1].loops, (std::vector<Texts>{{"2.5", "40", "0.8", "0.1"}}));
    // A gain of 0 has no band.
    EXPECT_EQ(rows[2].loops, (std::vector<Texts>{{"0", "", "0", "0"}}));
    EXPECT_EQ(rows[3].firstRecord, 7);
    // 100 / 123.456 = 0.81001 to five digits, cut to five characters.
    EXPECT_EQ(rows[3].loops, (std::vector<Texts>{{"123.4", "0.810", "45", "1234"}}));

    // With a decimal comma the texts are kept whole.
    const auto comma =
        SettingsTable(records, ProfileOf(Exercise::Flow).trends.settingsColumns, ',');
    EXPECT_EQ(comma[1].loops, (std::vector<Texts>{{"2,5", "40", "0,8", "0,1"}}));

    // Batch: both loops, in the profile's column order (temperature, volume).
    SampleRecord batch;
    batch.segment = 1;
    batch.field(kFieldVolPG) = 0.5f;
    batch.field(kFieldVolI) = 5.0f;
    batch.field(kFieldTempPG) = 4.0f;
    batch.field(kFieldTempI) = 400.0f;
    batch.field(kFieldTempD) = 2.0f;
    const std::vector<SampleRecord> one{batch};
    const auto batchRows = SettingsTable(one, ProfileOf(Exercise::Batch).trends.settingsColumns);
    ASSERT_EQ(batchRows.size(), 1u);
    EXPECT_EQ(batchRows[0].loops,
              (std::vector<Texts>{{"4", "25", "400", "2"}, {"0.5", "200", "5", "0"}}));

    // Open loop has no settings box, so no rows.
    EXPECT_TRUE(SettingsTable(records, ProfileOf(Exercise::Open).trends.settingsColumns).empty());
}

TEST(RunReport, WholeRunAndTimeSteps)
{
    auto span = [](double last) {
        std::vector<SampleRecord> records(2);
        records[1].time = last;
        return WholeRunSpan(records);
    };
    EXPECT_DOUBLE_EQ(span(59.9).to, 60.0);
    EXPECT_DOUBLE_EQ(span(600.0).to, 600.0);
    EXPECT_DOUBLE_EQ(span(400.0000059604645).to, 400.0);
    EXPECT_DOUBLE_EQ(span(60.02).to, 70.0);
    EXPECT_DOUBLE_EQ(span(3.0).to, 10.0);
    EXPECT_DOUBLE_EQ(span(3.0).from, 0.0);
    EXPECT_DOUBLE_EQ(WholeRunSpan({}).to, 10.0);

    EXPECT_EQ(ReportTickStep(10), 1);
    EXPECT_EQ(ReportTickStep(20), 2);
    EXPECT_EQ(ReportTickStep(60), 5);
    EXPECT_EQ(ReportTickStep(120), 10);
    EXPECT_EQ(ReportTickStep(180), 20);
    EXPECT_EQ(ReportTickStep(600), 60);
    EXPECT_EQ(ReportTickStep(3600), 300);
    EXPECT_EQ(ReportTickStep(7200), 600);
}
