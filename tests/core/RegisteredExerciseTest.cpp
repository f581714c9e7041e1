// An exercise registered beside the five (the made-up Warmup of
// WarmupExercise.h) is one for everything that reads the registry: velmor-sim
// runs it with its named settings, writes and reads back its files,
// inspects and analyses them; and it is gone again once unregistered.
#include "SimCliHarness.h"
#include "TestFiles.h"
#include "WarmupExercise.h"

#include "core/exercises/NamedSettings.h"
#include "core/rundata/SimFileReader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <string>

#include <unistd.h>

using namespace velmor;
using namespace velmor::test;
namespace fs = std::filesystem;

// A named namespace: gtest derives each case from the fixture.
namespace velmor::test {

class RegisteredExercise : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(registered.error, ""); }
    void TearDown() override { fs::remove(file); }

    WarmupRegistered registered;
    // Each test its own file: CTest runs the cases of this suite side by side.
    const fs::path file =
        fs::temp_directory_path() /
        ("velmor-warmup-" + std::to_string(::getpid()) + "-" +
         ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".psm");
};

} // namespace velmor::test

TEST_F(RegisteredExercise, VelmorSimRunsWritesReadsBackAndAnalysesIt)
{
    const CliResult run = Cli({"run", "warmup", "--set", "warmGain=4", "--set", "warmSetPoint=40",
                               "--records", "900", "--out", file.string()});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string text = Slurp(file);
    // Its first line, then its settings lines in its order.
    EXPECT_EQ(text.rfind("Warmup Simulation\r\n4\r\n30\r\n0\r\nTrue\r\nTrue\r\n40\r\n", 0), 0u);
    EXPECT_NE(text.find("\r\nTime,Temp Set Point,Temp Measured Value,Temp PG,Temp I,Temp D,"
                        "Temp Output,PID Area\r\n"),
              std::string::npos);

    // Read back with no exercise open: the first line names it.
    const SimFileResult read = ReadSimulationText(text, {});
    ASSERT_TRUE(read.ok()) << read.error.text();
    const SimFileLoad& load = *read.load;
    EXPECT_EQ(load.exercise, kWarmup);
    EXPECT_EQ(load.trendSpan, 120);
    EXPECT_EQ(load.sampleCount, 900);
    EXPECT_EQ(load.settings.tempGain, 4.0f);
    EXPECT_EQ(load.settings.tempSetPoint, 40.0f);
    // Its own plant: from ambient up to the set point, held there.
    EXPECT_EQ(load.records.front().field(kFieldTempMV), 20.0f);
    EXPECT_NEAR(load.records.back().field(kFieldTempMV), 40.0f, 0.5f);
    EXPECT_EQ(load.settings.measuredTemperature, load.records.back().field(kFieldTempMV));

    const CliResult inspect = Cli({"inspect", file.string()});
    ASSERT_EQ(inspect.status, 0) << inspect.err;
    EXPECT_EQ(JsonMember(inspect.out, "exercise"), "\"frmWarmup\"");
    EXPECT_EQ(JsonMember(inspect.out, "warmSetPoint"), "40");

    // Its loop's figures: one segment, the start step from 20 to 40.
    const CliResult analyse = Cli({"analyse", file.string()});
    ASSERT_EQ(analyse.status, 0) << analyse.err;
    EXPECT_EQ(JsonMember(analyse.out, "exercise"), "\"warmup\"");
    EXPECT_EQ(JsonMember(analyse.out, "loop"), "\"warmup\"");
    EXPECT_EQ(JsonMember(analyse.out, "to"), "40");
    EXPECT_FALSE(JsonMember(analyse.out, "settlingTime").empty());

    // And a run can start from its file's settings.
    const CliResult again = Cli({"run", "warmup", "--from", file.string(), "--records", "2"});
    ASSERT_EQ(again.status, 0) << again.err;
    const std::size_t settings = text.find("\r\n40\r\n");
    EXPECT_EQ(again.out.substr(0, settings), text.substr(0, settings));
}

TEST_F(RegisteredExercise, TakesNamedSettingsThroughItsOwnBoxes)
{
    VelmorState s;
    OpenExerciseState(s, kWarmup, true);
    EXPECT_EQ(ApplySetting(s, kWarmup, "warmBand", "25"), "");
    EXPECT_EQ(s.temp.tempGain, 4.0f);
    EXPECT_EQ(ApplySetting(s, kWarmup, "chkI", "0"), "");
    EXPECT_EQ(s.temp.tempIntegralOn, 0);
    EXPECT_EQ(s.temp.tempSegment, 2); // two changes of the settings
    EXPECT_EQ(ApplySetting(s, kWarmup, "warmSetPoint", "10"),
              "warmSetPoint=10: out of range (20 to 80)");
    EXPECT_EQ(ApplySetting(s, kWarmup, "flowGain", "1"), "unknown setting 'flowGain' for warmup");
    EXPECT_EQ(SettingNames(kWarmup).size(), 7u);

    const CliResult refused = Cli({"run", "warmup", "--set", "warmIntegralTime=0.5"});
    EXPECT_EQ(refused.status, 2);
    EXPECT_EQ(refused.err, "velmor-sim: warmIntegralTime=0.5: out of range (1 to 600)\n");
    const CliResult sweep = Cli({"sweep"});
    EXPECT_EQ(sweep.err, "velmor-sim: sweep needs an exercise: flow, level, temperature, batch or "
                         "warmup\n");
}

TEST(ExerciseRegistry, RefusesTakenNamesAndForgetsWhatIsUnregistered)
{
    std::string text;
    {
        WarmupRegistered registered;
        ASSERT_EQ(registered.error, "");
        EXPECT_NE(RegisterExercise(kWarmupProfile), ""); // its id is taken now
        ExerciseProfile clash = kWarmupProfile;
        clash.exercise = Exercise{8};
        clash.commandWord = "flow";
        EXPECT_EQ(RegisterExercise(clash), "the names of flow are taken by flow");
        // Files are told apart by their first line's word alone.
        clash.commandWord = "warm";
        clash.formName = "frmWarm";
        clash.firstLine = "Batch Simulation";
        EXPECT_EQ(RegisterExercise(clash), "the names of warm are taken by batch");
        EXPECT_EQ(ExerciseFromForm("frmWarmup"), kWarmup);
        EXPECT_EQ(ExerciseFromCommandWord("warmup"), kWarmup);
        const CliResult run = Cli({"run", "warmup", "--records", "3"});
        ASSERT_EQ(run.status, 0) << run.err;
        text = run.out;
    }
    EXPECT_EQ(ExerciseFromCommandWord("warmup"), std::nullopt);
    EXPECT_THROW(ProfileOf(kWarmup), std::out_of_range);
    EXPECT_EQ(Cli({"run", "warmup"}).err,
              "velmor-sim: unknown exercise 'warmup' (expected flow, level, open, temperature or "
              "batch)\n");
    const SimFileResult read = ReadSimulationText(text, {});
    ASSERT_FALSE(read.ok());
    EXPECT_EQ(read.error.text(), "Line 1: VELMOR does not load KLN trends");
    // The five stay, whatever is asked.
    UnregisterExercise(Exercise::Flow);
    EXPECT_EQ(ExerciseFromCommandWord("flow"), Exercise::Flow);
    // The first id after the five is an added exercise's like any other.
    ExerciseProfile next = kWarmupProfile;
    next.exercise = static_cast<Exercise>(BuiltInProfiles().size());
    ASSERT_EQ(RegisterExercise(next), "");
    EXPECT_EQ(ExerciseFromCommandWord("warmup"), next.exercise);
    UnregisterExercise(next.exercise);
    EXPECT_EQ(ExerciseFromCommandWord("warmup"), std::nullopt);
}
