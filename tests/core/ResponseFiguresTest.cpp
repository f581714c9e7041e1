// Response figures on hand-made logs with known answers, on a stored run
// of an independent model, and on complete runs of every exercise (where
// each loop's first step is).
#include "core/analysis/ResponseFigures.h"
#include "core/analysis/StepFit.h"
#include "core/exercises/ControllerSettings.h"
#include "core/exercises/LoopEngine.h"
#include "core/exercises/NamedSettings.h"
#include "core/rundata/SimFileReader.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <numbers>

using namespace velmor;

namespace {

constexpr float kDt = 0.1f;

// A Flow log: record n at (n - 1) x 0.1 s, set point, flow and output as
// given, all in segment 1 unless segments are given.
std::vector<SampleRecord> FlowLog(const std::vector<float>& sp, const std::vector<float>& mv,
                                  const std::vector<float>& out = {},
                                  const std::vector<int>& segments = {})
{
    std::vector<SampleRecord> log(sp.size());
    for (std::size_t i = 0; i < sp.size(); ++i) {
        log[i].time = 0.1 * static_cast<double>(i);
        log[i].field(kFieldFlowSP) = sp[i];
        log[i].field(kFieldFlowMV) = mv[i];
        log[i].field(kFieldOutput) = out.empty() ? 0.0f : out[i];
        log[i].segment = segments.empty() ? 1 : segments[i];
    }
    return log;
}

LoopFigures Flow(const std::vector<SampleRecord>& log)
{
    return AnalyseLoop(log, ControlledLoops(Exercise::Flow)[0], kDt);
}

// First-order response to a unit step at record 2 (t = 0.1 s), tau = 1 s,
// 100 records: y = 1 - exp(-s) with s the time since the step.
std::vector<SampleRecord> FirstOrderStep()
{
    std::vector<float> sp(100, 1.0f);
    std::vector<float> mv(100, 0.0f);
    sp[0] = 0.0f;
    for (std::size_t i = 1; i < 100; ++i) {
        mv[i] = static_cast<float>(1.0 - std::exp(-0.1 * static_cast<double>(i - 1)));
    }
    return FlowLog(sp, mv);
}

} // namespace

TEST(ResponseFigures, FirstOrderStepHasNoOvershootAndRisesIn2Point2Tau)
{
    const LoopFigures f = Flow(FirstOrderStep());
    ASSERT_EQ(f.segments.size(), 1u);
    const SegmentFigures& seg = f.segments[0];
    EXPECT_EQ(seg.firstRecord, 1);
    EXPECT_EQ(seg.lastRecord, 100);
    EXPECT_NEAR(seg.end, 9.9, 1e-12);
    ASSERT_EQ(seg.steps.size(), 1u);
    const StepFigures& s = seg.steps[0];
    EXPECT_EQ(s.record, 2);
    EXPECT_EQ(s.lastRecord, 100);
    EXPECT_NEAR(s.time, 0.1, 1e-12);
    EXPECT_EQ(s.from, 0.0f);
    EXPECT_EQ(s.to, 1.0f);
    // 10 % is first reached at s = 0.2 (0.181), 90 % at s = 2.4 (0.909).
    ASSERT_TRUE(s.riseTime.has_value());
    EXPECT_NEAR(*s.riseTime, 2.2, 1e-9);
    EXPECT_EQ(s.overshootPercent, 0.0);
    EXPECT_FLOAT_EQ(s.peak, 0.99994457f);
    EXPECT_NEAR(s.peakTime, 9.8, 1e-9);
    // Within 2 % from 1 - exp(-s) >= 0.98, s >= ln 50 = 3.91: the record at 4.0.
    ASSERT_TRUE(s.settlingTime.has_value());
    EXPECT_NEAR(*s.settlingTime, 4.0, 1e-9);
    // The last 10 of the 99 window records: mean of exp(-s), s = 8.9 .. 9.8.
    EXPECT_NEAR(s.steadyStateError, 9.0587e-5, 1e-8);
    // IAE = 0.1 x sum exp(-0.1 k), k = 0..98 (record 1 has no error).
    ASSERT_TRUE(seg.iae.has_value());
    EXPECT_NEAR(*seg.iae, 1.0507805, 1e-6);
    EXPECT_NEAR(*seg.ise, 0.55166556, 1e-6);
}

TEST(ResponseFigures, OvershootingResponse)
{
    // Up from 0.5 to 1.5 at record 2, then down to 1.0 at record 22.
    std::vector<float> sp = {0.5f};
    std::vector<float> mv = {0.5f};
    const float up[20] = {0.5f,  0.5f,  0.8f, 1.3f,  1.75f, 1.6f, 1.45f, 1.52f, 1.49f, 1.5f,
                          1.51f, 1.51f, 1.5f, 1.49f, 1.5f,  1.5f, 1.5f,  1.5f,  1.48f, 1.46f};
    for (float v : up) {
        sp.push_back(1.5f);
        mv.push_back(v);
    }
    const float down[12] = {1.46f, 1.3f, 1.1f, 0.95f, 0.92f, 0.97f,
                            1.02f, 1.1f, 1.3f, 1.4f,  1.45f, 1.45f};
    for (float v : down) {
        sp.push_back(1.0f);
        mv.push_back(v);
    }
    const LoopFigures f = Flow(FlowLog(sp, mv));
    ASSERT_EQ(f.segments.size(), 1u);
    const std::vector<StepFigures>& steps = f.segments[0].steps;
    ASSERT_EQ(steps.size(), 2u);

    const StepFigures& a = steps[0];
    EXPECT_EQ(a.record, 2);
    EXPECT_EQ(a.lastRecord, 21);
    // 10 % (0.6) first at 0.8 (s = 0.2), 90 % (1.4) first at 1.75 (s = 0.4).
    EXPECT_NEAR(*a.riseTime, 0.2, 1e-9);
    EXPECT_EQ(a.peak, 1.75f);
    EXPECT_NEAR(a.peakTime, 0.4, 1e-9);
    EXPECT_NEAR(a.overshootPercent, 25.0, 1e-4);
    // Band 1.48 .. 1.52: 1.46 at the window's end is outside: never settles.
    EXPECT_FALSE(a.settlingTime.has_value());
    // Last 2 of 20 records: (1.5 - 1.48 + 1.5 - 1.46) / 2.
    EXPECT_NEAR(a.steadyStateError, 0.03, 1e-6);

    const StepFigures& b = steps[1];
    EXPECT_EQ(b.record, 22);
    EXPECT_EQ(b.from, 1.5f);
    EXPECT_EQ(b.to, 1.0f);
    // Falling: 10 % is 1.45 (1.3 at s = 0.1), 90 % is 1.05 (0.95 at s = 0.3).
    EXPECT_NEAR(*b.riseTime, 0.2, 1e-9);
    EXPECT_EQ(b.peak, 0.92f);
    EXPECT_NEAR(b.overshootPercent, 16.0, 1e-4);
    // It drifts away again: never settles; mean error of the last 2: -0.45.
    EXPECT_FALSE(b.settlingTime.has_value());
    EXPECT_NEAR(b.steadyStateError, -0.45, 1e-6);
}

TEST(ResponseFigures, ResponseThatNeverGetsThereHasNoRiseTimeAndNoOvershoot)
{
    // 0 -> 1 but the flow stops at 0.85: no 90 % crossing, `to` never passed.
    std::vector<float> sp(30, 1.0f);
    std::vector<float> mv(30, 0.85f);
    sp[0] = 0.0f;
    mv[0] = 0.0f;
    mv[1] = 0.0f;
    mv[2] = 0.5f;
    const StepFigures s = Flow(FlowLog(sp, mv)).segments[0].steps.at(0);
    EXPECT_FALSE(s.riseTime.has_value());
    EXPECT_EQ(s.overshootPercent, 0.0);
    EXPECT_EQ(s.peak, 0.85f);
    EXPECT_NEAR(s.peakTime, 0.2, 1e-9);
    EXPECT_FALSE(s.settlingTime.has_value());
    EXPECT_NEAR(s.steadyStateError, 0.15, 1e-6);
}

TEST(ResponseFigures, SettlingBandIsAShareOfTheStepNotOfTheSetPoint)
{
    // 1.0 -> 1.5 at record 3, approached as 1.5 - 0.5 exp(-s): the band is
    // 2 % of 0.5 = 0.01, entered for good at s = 4.0 (0.0092; 0.0101 at 3.9).
    std::vector<float> sp = {1.0f, 1.0f};
    std::vector<float> mv = {1.0f, 1.0f};
    for (int k = 0; k < 80; ++k) {
        sp.push_back(1.5f);
        mv.push_back(static_cast<float>(1.5 - 0.5 * std::exp(-0.1 * k)));
    }
    const StepFigures s = Flow(FlowLog(sp, mv)).segments[0].steps.at(0);
    EXPECT_EQ(s.record, 3);
    ASSERT_TRUE(s.settlingTime.has_value());
    EXPECT_NEAR(*s.settlingTime, 4.0, 1e-9);

    // A flow that is at its new set point at the step itself has settled at 0.
    std::vector<float> at(20, 1.5f);
    at[0] = 0.5f;
    at[1] = 0.5f;
    const StepFigures ideal = Flow(FlowLog(at, at)).segments[0].steps.at(0);
    EXPECT_EQ(ideal.record, 3);
    ASSERT_TRUE(ideal.settlingTime.has_value());
    EXPECT_EQ(*ideal.settlingTime, 0.0);
    EXPECT_EQ(*ideal.riseTime, 0.0);
    EXPECT_EQ(ideal.peakTime, 0.0);
    EXPECT_EQ(ideal.overshootPercent, 0.0);
}

TEST(ResponseFigures, ConstantErrorGivesIaeEqualToErrorTimesDuration)
{
    // 50 records, error 0.25 L/min throughout; output alternating 10 and 12 %.
    std::vector<float> out;
    for (int i = 0; i < 50; ++i) {
        out.push_back(i % 2 == 0 ? 10.0f : 12.0f);
    }
    const LoopFigures f =
        Flow(FlowLog(std::vector<float>(50, 1.0f), std::vector<float>(50, 0.75f), out));
    const SegmentFigures& seg = f.segments.at(0);
    EXPECT_NEAR(*seg.iae, 1.25, 1e-7);   // 0.25 x 50 x 0.1
    EXPECT_NEAR(*seg.ise, 0.3125, 1e-7); // 0.0625 x 5
    // 0.25 x 0.1 x sum of 0.1 k, k = 0..49 (= 122.5).
    EXPECT_NEAR(*seg.itae, 3.0625, 1e-6);
    EXPECT_NEAR(*seg.outputTotalVariation, 98.0, 1e-9); // 49 changes of 2 %
    // It starts 0.25 away from its set point and never gets closer: the
    // start step, with no rise and no settling.
    ASSERT_EQ(seg.steps.size(), 1u);
    EXPECT_TRUE(seg.steps[0].start);
    EXPECT_EQ(seg.steps[0].from, 0.75f);
    EXPECT_FALSE(seg.steps[0].riseTime.has_value());
    EXPECT_FALSE(seg.steps[0].settlingTime.has_value());
}

TEST(ResponseFigures, SlowSetPointMovesAreNoSteps)
{
    // A ramp of 0.039 L/min per record (just under 2 % of 2 L/min), then
    // one move of 0.041.
    std::vector<float> sp;
    for (int i = 0; i < 20; ++i) {
        sp.push_back(0.2f + 0.039f * static_cast<float>(i));
    }
    sp.push_back(sp.back() + 0.041f);
    // The flow stays at the first set point: the run starts at it.
    const LoopFigures f = Flow(FlowLog(sp, std::vector<float>(sp.size(), 0.2f)));
    ASSERT_EQ(f.segments.at(0).steps.size(), 1u);
    EXPECT_EQ(f.segments[0].steps[0].record, 21);
}

TEST(ResponseFigures, SegmentsFollowTheSettingsSegmentField)
{
    // Segments 1, 2, 3 of 3, 4 and 2 records; a set-point step exactly where
    // segment 2 begins belongs to segment 2.
    const std::vector<float> sp = {0.5f, 0.5f, 0.5f, 1.5f, 1.5f, 1.5f, 1.5f, 1.5f, 1.5f};
    const std::vector<float> mv = {0.5f, 0.5f, 0.5f, 0.5f, 1.0f, 1.5f, 1.5f, 1.0f, 1.0f};
    const std::vector<float> out = {0, 0, 0, 10, 20, 20, 20, 30, 20};
    const LoopFigures f = Flow(FlowLog(sp, mv, out, {1, 1, 1, 2, 2, 2, 2, 3, 3}));
    ASSERT_EQ(f.segments.size(), 3u);
    EXPECT_EQ(f.segments[0].segment, 1);
    EXPECT_EQ(f.segments[0].lastRecord, 3);
    EXPECT_TRUE(f.segments[0].steps.empty());
    EXPECT_EQ(f.segments[1].segment, 2);
    EXPECT_EQ(f.segments[1].firstRecord, 4);
    EXPECT_EQ(f.segments[1].lastRecord, 7);
    EXPECT_NEAR(f.segments[1].start, 0.3, 1e-12);
    EXPECT_NEAR(f.segments[1].end, 0.6, 1e-12);
    ASSERT_EQ(f.segments[1].steps.size(), 1u);
    EXPECT_EQ(f.segments[1].steps[0].record, 4);
    EXPECT_EQ(f.segments[1].steps[0].lastRecord, 7);
    // The output's changes inside segment 2 only: 10 + 0 + 0.
    EXPECT_NEAR(*f.segments[1].outputTotalVariation, 10.0, 1e-9);
    EXPECT_NEAR(*f.segments[2].outputTotalVariation, 10.0, 1e-9);
    EXPECT_NEAR(*f.segments[2].iae, 0.1, 1e-7); // 0.5 x 2 x 0.1
}

TEST(ResponseFigures, EachExerciseReportsItsOwnLoops)
{
    EXPECT_EQ(ControlledLoops(Exercise::Open).size(), 0u);
    ASSERT_EQ(ControlledLoops(Exercise::Batch).size(), 2u);
    EXPECT_EQ(ControlledLoops(Exercise::Batch)[0].name, "volume");
    EXPECT_EQ(ControlledLoops(Exercise::Batch)[0].setPointField, 14);
    EXPECT_EQ(ControlledLoops(Exercise::Batch)[0].measuredField, 15);
    EXPECT_EQ(ControlledLoops(Exercise::Batch)[0].outputField, 7);
    EXPECT_EQ(ControlledLoops(Exercise::Batch)[1].name, "temperature");
    EXPECT_EQ(ControlledLoops(Exercise::Batch)[1].outputField, 13);
    const LoopTraces level = ControlledLoops(Exercise::Level)[0];
    EXPECT_EQ(level.setPointField, 19);
    EXPECT_EQ(level.measuredField, 20);
    EXPECT_EQ(level.outputField, 7);
    const LoopTraces temperature = ControlledLoops(Exercise::Temperature)[0];
    EXPECT_EQ(temperature.setPointField, 8);
    EXPECT_EQ(temperature.measuredField, 9);
    EXPECT_EQ(temperature.outputField, 13);

    // A temperature step of 1.5 degrees is under 2 % of 100: no step; 2.5
    // is one; exactly 2 is not more than 2 %, so no step either.
    std::vector<SampleRecord> log(5);
    const float sp[5] = {30.0f, 31.5f, 34.0f, 34.0f, 36.0f};
    for (int i = 0; i < 5; ++i) {
        log[static_cast<std::size_t>(i)].field(kFieldTempSP) = sp[i];
        log[static_cast<std::size_t>(i)].field(kFieldTempMV) = 30.0f;
        log[static_cast<std::size_t>(i)].segment = 1;
    }
    const RunFigures run = AnalyseRun(log, Exercise::Temperature, kDt);
    ASSERT_EQ(run.loops.size(), 1u);
    ASSERT_EQ(run.loops[0].segments.at(0).steps.size(), 1u);
    EXPECT_EQ(run.loops[0].segments[0].steps[0].record, 3);
    EXPECT_TRUE(AnalyseRun(log, Exercise::Open, kDt).loops.empty());
}

TEST(ResponseFigures, StoredRunWithTwoGainChanges)
{
    // A sine set point (no steps but its start) with settings changed at
    // 20 s and 40 s; figures worked out separately from the file's values.
    std::ifstream in(std::string(VELMOR_TEST_DATA) + "/flow_sine_gain_changes.psm",
                     std::ios::binary);
    const SimFileResult r = ReadSimulationFile(in, {});
    ASSERT_TRUE(r.ok());
    const RunFigures run = AnalyseRun(r.load->records, Exercise::Flow, kDt);
    const std::vector<SegmentFigures>& segs = run.loops.at(0).segments;
    ASSERT_EQ(segs.size(), 3u);
    const int first[3] = {1, 201, 401};
    const int last[3] = {200, 400, 900};
    const double iae[3] = {2.40023093224, 3.2176057997, 13.1777688306};
    const double itae[3] = {17.2195971715, 26.6524579988, 334.806764567};
    const double variation[3] = {205.490200043, 1969.80392098, 5749.80393791};
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(segs[k].segment, k + 1);
        EXPECT_EQ(segs[k].firstRecord, first[k]);
        EXPECT_EQ(segs[k].lastRecord, last[k]);
        EXPECT_NEAR(*segs[k].iae, iae[k], 1e-9);
        EXPECT_NEAR(*segs[k].itae, itae[k], 1e-8);
        EXPECT_NEAR(*segs[k].outputTotalVariation, variation[k], 1e-7);
    }
    // The start step: from the flow at rest, not from B (0.4) of record 1.
    ASSERT_EQ(segs[0].steps.size(), 1u);
    EXPECT_EQ(segs[0].steps[0].record, 2);
    EXPECT_TRUE(segs[0].steps[0].start);
    EXPECT_EQ(segs[0].steps[0].from, 0.0f);
    EXPECT_EQ(segs[0].steps[0].to, 1.0125655f);
    EXPECT_TRUE(segs[1].steps.empty());
    EXPECT_TRUE(segs[2].steps.empty());
}

namespace {

// A log of one loop: set point and measured value per record, 0.1 s apart,
// in segment 1 unless segments are given.
std::vector<SampleRecord> LoopLog(const LoopTraces& loop, const std::vector<float>& sp,
                                  const std::vector<float>& mv,
                                  const std::vector<int>& segments = {})
{
    std::vector<SampleRecord> log(sp.size());
    for (std::size_t i = 0; i < sp.size(); ++i) {
        log[i].time = 0.1 * static_cast<double>(i);
        log[i].field(loop.setPointField) = sp[i];
        log[i].field(loop.measuredField) = mv[i];
        log[i].segment = segments.empty() ? 1 : segments[i];
    }
    return log;
}

} // namespace

TEST(ResponseFigures, StartStepOfEachLoop)
{
    // Record 1 carries a set point the run never asked for (Flow: B of the
    // waveform) and a measured value the previous run left; record 2 holds
    // the first measured value `base` and the set point `at`, 2 % of full
    // scale away as near as a float gets; record 11 steps to `later`.
    struct Case {
        Exercise exercise;
        int loop;
        float record1Sp, record1Mv, base, at, later;
    };
    const Case cases[] = {
        {Exercise::Flow, 0, 0.5f, 1.9f, 0.0f, 0.04f, 1.0f},
        {Exercise::Temperature, 0, 60.0f, 80.0f, 25.0f, 27.0f, 45.0f},
        {Exercise::Batch, 0, 3.0f, 5.0f, 0.0f, 0.12f, 1.5f},     // volume
        {Exercise::Batch, 1, 10.0f, 0.0f, 32.0f, 30.0f, 50.0f},  // temperature, falling
        {Exercise::Level, 0, 50.0f, 50.0f, 42.0f, 40.0f, 80.0f}, // falling
    };
    for (const Case& c : cases) {
        const LoopTraces& loop = ControlledLoops(c.exercise)[static_cast<std::size_t>(c.loop)];
        SCOPED_TRACE(std::string(loop.name));
        auto log = [&](float at) {
            std::vector<float> sp = {c.record1Sp};
            std::vector<float> mv = {c.record1Mv};
            for (int n = 2; n <= 20; ++n) {
                sp.push_back(n < 11 ? at : c.later);
                mv.push_back(n < 11 ? c.base : c.later);
            }
            return LoopLog(loop, sp, mv);
        };

        // Exactly 2 % is no start step, and record 2 is no set-point step
        // either, however far record 1's set point is; record 11 is one.
        const LoopFigures exact = AnalyseLoop(log(c.at), loop, kDt);
        ASSERT_EQ(exact.segments.at(0).steps.size(), 1u);
        const StepFigures& later = exact.segments[0].steps[0];
        EXPECT_EQ(later.record, 11);
        EXPECT_FALSE(later.start);
        EXPECT_EQ(later.from, c.at);
        EXPECT_EQ(later.to, c.later);

        // Just over: the start step, from the measured value of record 2.
        const float over = std::nextafter(c.at, c.at > c.base ? 1e9f : -1e9f);
        const LoopFigures f = AnalyseLoop(log(over), loop, kDt);
        const std::vector<StepFigures>& steps = f.segments.at(0).steps;
        ASSERT_EQ(steps.size(), 2u);
        EXPECT_TRUE(steps[0].start);
        EXPECT_EQ(steps[0].record, 2);
        EXPECT_EQ(steps[0].lastRecord, 10);
        EXPECT_EQ(steps[0].from, c.base);
        EXPECT_EQ(steps[0].to, over);
        EXPECT_FALSE(steps[0].riseTime.has_value()); // it never moves
        EXPECT_FALSE(steps[1].start);
        EXPECT_EQ(steps[1].record, 11);
        EXPECT_EQ(steps[1].from, over);
    }

    // Only the run's first segment has one: when record 2 opens a segment of
    // its own, its set point is compared with record 1's as usual.
    const LoopTraces& flow = ControlledLoops(Exercise::Flow)[0];
    std::vector<int> segments(5, 2);
    segments[0] = 1;
    const std::vector<float> sp = {0.5f, 1.5f, 1.5f, 1.5f, 1.5f};
    const LoopFigures split =
        AnalyseLoop(LoopLog(flow, sp, {0, 1.5f, 1.5f, 1.5f, 1.5f}, segments), flow, kDt);
    ASSERT_EQ(split.segments.size(), 2u);
    EXPECT_TRUE(split.segments[0].steps.empty());
    ASSERT_EQ(split.segments[1].steps.size(), 1u);
    EXPECT_FALSE(split.segments[1].steps[0].start);
    EXPECT_EQ(split.segments[1].steps[0].from, 0.5f);
    // A run of one record has no step at all.
    EXPECT_TRUE(AnalyseLoop(LoopLog(flow, {1.5f}, {0.0f}), flow, kDt).segments.at(0).steps.empty());
}

namespace {

// A complete run of an exercise opened as from the menu, after some
// settings, on `state` (a fresh one when null).
std::unique_ptr<VelmorState>
CompleteRun(Exercise e, std::initializer_list<std::pair<const char*, const char*>> sets,
            std::unique_ptr<VelmorState> state = nullptr)
{
    if (!state) {
        state = std::make_unique<VelmorState>();
        OpenExerciseState(*state, e, true);
    }
    for (const auto& [name, value] : sets) {
        EXPECT_EQ(ApplySetting(*state, e, name, value), "") << name;
    }
    std::unique_ptr<LoopEngine> engine = MakeEngine(e, *state, nullptr);
    RunHeadless(*engine);
    return state;
}

std::span<const SampleRecord> Records(const VelmorState& state)
{
    return LoggedRecords(state.log, state.run.sampleCount);
}

// The steps of the first segment of loop `index`.
std::vector<StepFigures> FirstSteps(const VelmorState& state, Exercise e, std::size_t index = 0)
{
    const RunFigures run = AnalyseRun(Records(state), e, state.run.samplePeriod);
    return run.loops.at(index).segments.at(0).steps;
}

} // namespace

TEST(ResponseFigures, RealRunsOfEveryExerciseBeginWithTheirStartStep)
{
    // Flat Flow: from the flow at rest to A, not from the B record 1 carries.
    const auto flat = CompleteRun(Exercise::Flow, {});
    ASSERT_EQ(flat->log.record(1).field(kFieldFlowSP), 0.5f);
    std::vector<StepFigures> steps = FirstSteps(*flat, Exercise::Flow);
    ASSERT_EQ(steps.size(), 1u);
    EXPECT_TRUE(steps[0].start);
    EXPECT_EQ(steps[0].record, 2);
    EXPECT_EQ(steps[0].from, 0.0f);
    EXPECT_EQ(steps[0].to, 1.5f);
    EXPECT_TRUE(steps[0].riseTime && steps[0].settlingTime);

    // Step waveform: the start up to B, then the waveform's own steps.
    steps = FirstSteps(*CompleteRun(Exercise::Flow, {{"flowWaveform", "4"}}), Exercise::Flow);
    ASSERT_GE(steps.size(), 2u);
    EXPECT_TRUE(steps[0].start);
    EXPECT_EQ(steps[0].to, 0.5f);
    EXPECT_FALSE(steps[1].start);
    EXPECT_EQ(steps[1].record, 127);
    EXPECT_EQ(steps[1].from, 0.5f);

    // Temperature heat-up from 25 to 45 degrees: rise, overshoot, settling.
    auto heat =
        CompleteRun(Exercise::Temperature, {{"initialTemperature", "25"}, {"tempEnteredSP", "45"}});
    const std::vector<StepFigures> heatUp = FirstSteps(*heat, Exercise::Temperature);
    ASSERT_EQ(heatUp.size(), 1u);
    EXPECT_TRUE(heatUp[0].start);
    EXPECT_EQ(heatUp[0].from, heat->log.record(2).field(kFieldTempMV));
    EXPECT_NEAR(heatUp[0].from, 25.0f, 0.01f);
    EXPECT_EQ(heatUp[0].to, 45.0f);
    EXPECT_TRUE(heatUp[0].riseTime && heatUp[0].settlingTime);
    EXPECT_GT(heatUp[0].overshootPercent, 0.0);
    // The same heat-up again in the same process: record 1 now carries the
    // last temperature of the run before, past the set point, but the model
    // starts again from 25 degrees, and so does the start step.
    const float before = heat->log.record(heat->run.sampleCount).field(kFieldTempMV);
    heat = CompleteRun(Exercise::Temperature, {}, std::move(heat));
    ASSERT_EQ(heat->log.record(1).field(kFieldTempMV), before);
    ASSERT_GT(before, 45.0f);
    const std::vector<StepFigures> again = FirstSteps(*heat, Exercise::Temperature);
    ASSERT_EQ(again.size(), 1u);
    EXPECT_TRUE(again[0].start);
    EXPECT_EQ(again[0].from, heat->log.record(2).field(kFieldTempMV));
    EXPECT_NEAR(again[0].from, 25.0f, 0.01f);
    EXPECT_TRUE(again[0].riseTime && again[0].settlingTime);
    EXPECT_GT(again[0].overshootPercent, 0.0);

    // Fluid level: from the initial level; none when it starts at the set point.
    steps = FirstSteps(*CompleteRun(Exercise::Level, {{"initialLevel", "30"}}), Exercise::Level);
    ASSERT_FALSE(steps.empty());
    EXPECT_TRUE(steps[0].start);
    EXPECT_EQ(steps[0].from, 30.0f);
    EXPECT_EQ(steps[0].to, 80.0f);
    EXPECT_TRUE(FirstSteps(*CompleteRun(Exercise::Level, {{"initialLevel", "80"}}), Exercise::Level)
                    .empty());

    // Batch: the volume fills from 0; the temperature starts at its set
    // point although record 1 carries 0, the temperature of no run.
    const auto batch = CompleteRun(Exercise::Batch, {});
    ASSERT_EQ(batch->log.record(1).field(kFieldTempMV), 0.0f);
    steps = FirstSteps(*batch, Exercise::Batch, 0);
    ASSERT_FALSE(steps.empty());
    EXPECT_TRUE(steps[0].start);
    EXPECT_EQ(steps[0].from, 0.0f);
    EXPECT_EQ(steps[0].to, 1.5f);
    EXPECT_TRUE(FirstSteps(*batch, Exercise::Batch, 1).empty());

    // Open loop has no set point to step to: no loop; its step test keeps
    // its own rule, the output's first move at record 2 included.
    const auto open = CompleteRun(Exercise::Open, {{"openWaveform", "4"}});
    EXPECT_TRUE(AnalyseRun(Records(*open), Exercise::Open, 0.1f).loops.empty());
    const std::vector<OutputStep> outputSteps = FitOutputSteps(Records(*open));
    ASSERT_FALSE(outputSteps.empty());
    EXPECT_EQ(outputSteps[0].record, 2);
    EXPECT_EQ(outputSteps[0].outputFrom, 0.0f);
}

namespace {

// A step at record 2 and then `n` records of error shaped by `error(s)`.
std::vector<SampleRecord> Settling(int n, double (*error)(double), float setPoint(double) = nullptr)
{
    std::vector<float> sp = {0.5f};
    std::vector<float> mv = {0.5f};
    for (int i = 0; i < n; ++i) {
        const double s = 0.1 * i;
        const float target = setPoint != nullptr ? setPoint(s) : 1.5f;
        sp.push_back(target);
        mv.push_back(static_cast<float>(target - error(s)));
    }
    return FlowLog(sp, mv);
}

std::optional<bool> Stable(const std::vector<SampleRecord>& log)
{
    const LoopTraces& loop = ControlledLoops(Exercise::Flow)[0];
    return JudgeStability(log, loop, AnalyseLoop(log, loop, kDt));
}

} // namespace

TEST(ResponseFigures, SustainedOscillationIsToldFromSettlingAndTracking)
{
    // A limit cycle: 0.1 L/min amplitude, 1 s period, for 60 s.
    EXPECT_EQ(
        Stable(Settling(600, [](double s) { return 0.1 * std::sin(2 * std::numbers::pi * s); })),
        false);
    // The same cycle dying out with a 3 s time constant.
    EXPECT_EQ(Stable(Settling(600,
                              [](double s) {
                                  return std::exp(-s / 3) * 0.5 *
                                         std::sin(2 * std::numbers::pi * s);
                              })),
              true);
    // A lightly damped one that still dies out: it swings more than 1 % of
    // full scale to the end, but half as much in each quarter as before.
    EXPECT_EQ(Stable(Settling(600,
                              [](double s) {
                                  return std::exp(-s / 15) * 0.5 *
                                         std::sin(2 * std::numbers::pi * s);
                              })),
              true);
    // A slow approach with an offset that stays.
    EXPECT_EQ(Stable(Settling(600, [](double s) { return 0.05 + 0.9 * std::exp(-s / 20); })), true);
    // A ripple under 1 % of full scale (one pump count) is no oscillation.
    EXPECT_EQ(
        Stable(Settling(600, [](double s) { return 0.004 * std::sin(2 * std::numbers::pi * s); })),
        true);
    // Following a 25 s sine set point with a lag: the error repeats with
    // the set point, not faster.
    auto sine = [](double s) {
        return static_cast<float>(1.0 + 0.5 * std::sin(2 * std::numbers::pi * s / 25));
    };
    EXPECT_EQ(
        Stable(Settling(
            3000, [](double s) { return 0.08 * std::cos(2 * std::numbers::pi * s / 25); }, sine)),
        true);
    // Too short to judge.
    EXPECT_EQ(
        Stable(Settling(30, [](double s) { return 0.1 * std::sin(2 * std::numbers::pi * s); })),
        std::nullopt);
}
