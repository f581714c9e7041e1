// Writing a run and reading it back gives the same settings, records and
// second index, for every exercise; writing the loaded file again gives the
// same bytes.
#include "core/exercises/ControllerSettings.h"
#include "core/exercises/LoopEngine.h"
#include "core/exercises/NamedSettings.h"
#include "core/rundata/Columns.h"
#include "core/rundata/SettingsLines.h"
#include "core/rundata/SimFileReader.h"
#include "core/rundata/SimFileWriter.h"

#include <gtest/gtest.h>

#include <bit>
#include <sstream>
#include <string>
#include <vector>

using namespace velmor;

namespace {

struct Setting {
    std::string name;
    std::string value;
};

struct TimedSetting {
    double time;
    Setting setting;
};

struct RoundTripCase {
    Exercise exercise;
    std::vector<Setting> before;
    std::vector<TimedSetting> during;
    int records; // stop after this record (0: let the run end by itself)
};

void PrintTo(const RoundTripCase& c, std::ostream* os)
{
    *os << CommandWord(c.exercise);
}

std::uint32_t Bits(float f)
{
    return std::bit_cast<std::uint32_t>(f);
}

std::uint64_t Bits(double d)
{
    return std::bit_cast<std::uint64_t>(d);
}

class SimFileRoundTrip : public ::testing::TestWithParam<RoundTripCase> {};

TEST_P(SimFileRoundTrip, WrittenRunReadsBackIdentically)
{
    const RoundTripCase& c = GetParam();
    const Exercise e = c.exercise;
    VelmorState s;
    OpenExerciseState(s, e, true);
    for (const Setting& set : c.before) {
        ASSERT_EQ(ApplySetting(s, e, set.name, set.value), "") << set.name;
    }
    std::unique_ptr<LoopEngine> engine = MakeEngine(e, s, nullptr);
    std::size_t next = 0;
    RunHeadless(*engine, [&] {
        while (next < c.during.size() && engine->newestRecordTime() >= c.during[next].time) {
            const Setting& set = c.during[next++].setting;
            ASSERT_EQ(ApplySetting(s, e, set.name, set.value), "") << set.name;
        }
        if (c.records > 0 && s.run.sampleCount >= c.records) {
            s.run.runActive = false;
        }
    });
    ASSERT_GT(s.run.sampleCount, 1);
    SendSettings(s, e);
    std::ostringstream out;
    WriteSimulationFile(out, e, s.simSettings, s.run.gateValvePercent, s.log, s.run.sampleCount);
    const std::string text = out.str();

    const SimFileResult r = ReadSimulationText(text, {});
    ASSERT_TRUE(r.ok()) << r.error.text();
    const SimFileLoad& load = *r.load;
    EXPECT_EQ(load.exercise, e);
    EXPECT_EQ(load.trendSpan, DefaultTrendSpan(e));
    EXPECT_TRUE(load.warning.empty());

    for (const SettingLine& line : SettingsLines(e)) {
        switch (line.type) {
        case LineType::Decimal:
            EXPECT_EQ(Bits(load.settings.*line.real), Bits(s.simSettings.*line.real)) << line.name;
            break;
        case LineType::Flag:
            EXPECT_EQ(load.settings.*line.flag, s.simSettings.*line.flag) << line.name;
            break;
        case LineType::Integer:
            if (line.integer != nullptr) {
                EXPECT_EQ(load.settings.*line.integer, s.simSettings.*line.integer) << line.name;
            } else {
                EXPECT_EQ(load.gateValvePercent, s.run.gateValvePercent);
            }
            break;
        }
    }

    ASSERT_EQ(load.sampleCount, s.run.sampleCount);
    ASSERT_EQ(load.records.size(), static_cast<std::size_t>(s.run.sampleCount));
    const auto columns = ExerciseColumns(e);
    for (int n = 1; n <= load.sampleCount; ++n) {
        const SampleRecord& got = load.records[static_cast<std::size_t>(n - 1)];
        const SampleRecord& want = s.log.record(n);
        ASSERT_EQ(Bits(got.time), Bits(want.time)) << "record " << n;
        for (const Column& col : columns) {
            if (col.field == kFieldSegment) {
                ASSERT_EQ(got.segment, want.segment) << "record " << n;
            } else if (col.field != kFieldTime) {
                ASSERT_EQ(Bits(got.field(col.field)), Bits(want.field(col.field)))
                    << "record " << n << " " << col.name;
            }
        }
    }
    // The reader indexes by the record times: entry s is the first record
    // stamped at s seconds or later.
    for (int sec = 1; sec <= kLastIndexedSecond; ++sec) {
        int first = load.sampleCount;
        for (int n = 1; n <= load.sampleCount; ++n) {
            if (load.records[static_cast<std::size_t>(n - 1)].time >= sec) {
                first = n;
                break;
            }
        }
        ASSERT_EQ(load.secondIndex[static_cast<std::size_t>(sec)], first) << "second " << sec;
    }
    // Fluid level stamps its records with the cycle time, so the run's own
    // index is the same; the others stamp one period later than they index.
    if (e == Exercise::Level) {
        EXPECT_EQ(load.secondIndex, s.log.secondIndex);
        EXPECT_EQ(load.secondIndexFilled, s.log.secondIndexFilled);
    }

    // Opened and written again: the same file, byte for byte. The settings
    // go through the exercise as a window takes and gives them.
    VelmorState t;
    OpenExerciseState(t, e, false);
    ASSERT_TRUE(ApplySimFileSettings(t, load) && ApplySimFileTrend(t, load));
    UpdateSettings(t, e);
    SendSettings(t, e);
    std::ostringstream again;
    WriteSimulationFile(again, e, t.simSettings, t.run.gateValvePercent, t.log, t.run.sampleCount);
    EXPECT_EQ(again.str(), text);
}

INSTANTIATE_TEST_SUITE_P(
    AllExercises, SimFileRoundTrip,
    ::testing::Values(
        RoundTripCase{Exercise::Flow,
                      {{"flowWaveform", "3"},
                       {"waveC", "20"},
                       {"chkD", "0"},
                       {"flowGain", "2.5"},
                       {"gateValvePercent", "60"}},
                      {{5.0, {"flowIntegralTime", "1.5"}}, {12.0, {"gateValvePercent", "80"}}},
                      0},
        RoundTripCase{Exercise::Level,
                      {{"levelWaveform", "4"}, {"initialLevel", "30"}, {"chkI", "0"}},
                      {{30.0, {"levelGain", "7.5"}}},
                      2500},
        RoundTripCase{Exercise::Open,
                      {{"openWaveform", "5"}, {"waveA", "70"}, {"gateValvePercent", "40"}},
                      {},
                      1234},
        RoundTripCase{Exercise::Temperature,
                      {{"tempEnteredSP", "45.5"}, {"initialTemperature", "15"}, {"tempGain", "12"}},
                      {{20.0, {"tempDerivativeTime", "0.3"}}},
                      0},
        RoundTripCase{Exercise::Batch,
                      {{"expectedTime", "600"}, {"batchTempSP", "40"}, {"chkTempD", "0"}},
                      {{100.0, {"volGain", "0.75"}}},
                      0}),
    [](const ::testing::TestParamInfo<RoundTripCase>& param) {
        return std::string(CommandWord(param.param.exercise));
    });

} // namespace
