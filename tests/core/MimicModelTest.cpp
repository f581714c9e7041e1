#include "core/mimic/MimicModel.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

using namespace velmor;

namespace {

// A rig opened at `start` ms whose updates come every 125 ms.
struct Rig {
    MimicUnit m;
    std::int64_t now;
    explicit Rig(std::int64_t start = 1000) : now(start) { MimicStart(m, now); }
    MimicStep tick(std::int64_t ms = 125)
    {
        now += ms;
        return MimicUpdate(m, now);
    }
    void ticks(int n)
    {
        for (int k = 0; k < n; ++k) {
            tick();
        }
    }
    // The knob moved at the current time (the last move is long past).
    void knob(std::int32_t x) { ASSERT_TRUE(MimicPlace(m, x, now)); }
};

} // namespace

TEST(MimicModel, StartValues)
{
    MimicUnit m;
    m.mimicLevel = 3;
    m.heatDialPos = -11;
    m.mimicDrainOpen = true;
    m.overflowPathShown = true;
    MimicStart(m, 7'000);
    EXPECT_EQ(m.pumpKnobX, 10);
    EXPECT_EQ(m.knobMoveAllowedAt, 7'000);
    EXPECT_FALSE(m.mimicDrainOpen);
    EXPECT_EQ(m.mimicLevel, 50.0f);
    EXPECT_EQ(m.mimicFlowTemp, 20.0f);
    EXPECT_EQ(m.mimicNow, 7.0);
    EXPECT_EQ(m.mimicPrevTime, 7.0);
    EXPECT_TRUE(m.mimicTankNotFull);
    EXPECT_FALSE(m.overflowPathShown);
    EXPECT_EQ(m.stirrerFrame, 2);
    EXPECT_EQ(m.fanFrame, 2);
    EXPECT_EQ(m.levelBarUnits, 0);
    // A reopened window draws its dial needle again.
    EXPECT_EQ(m.heatDialPos, 0);
}

TEST(MimicModel, FlowAndItsReadout)
{
    EXPECT_EQ(MimicPumpFlow(10), 0.0L);
    EXPECT_NEAR(static_cast<double>(MimicPumpFlow(114)), 1.7, 1e-15);
    EXPECT_NEAR(static_cast<double>(MimicPumpFlow(22)), 0.19615384615384615, 1e-15);
    Rig r;
    r.knob(114);
    const MimicStep s = r.tick();
    EXPECT_NEAR(static_cast<double>(s.flow), 1.7, 1e-15);
    EXPECT_TRUE(r.m.mimicFlowing);
    EXPECT_EQ(s.tankReading, 20);
    EXPECT_EQ(s.flowReading, 20);
    EXPECT_EQ(s.sumpReading, 20);
    EXPECT_EQ(s.heatText, "0.0");
}

TEST(MimicModel, KnobPlacement)
{
    Rig r(10'000);
    // Clamped at both ends; the own place is no move.
    EXPECT_FALSE(MimicPlace(r.m, -40, r.now));
    EXPECT_EQ(r.m.pumpKnobX, 10);
    EXPECT_TRUE(MimicPlace(r.m, 113, r.now));
    EXPECT_EQ(r.m.pumpKnobX, 113);
    EXPECT_EQ(r.m.knobMoveAllowedAt, 10'050);
    // A second move within 50 ms is ignored, also when the pointer goes on.
    EXPECT_FALSE(MimicPlace(r.m, 60, 10'049));
    EXPECT_EQ(r.m.pumpKnobX, 113);
    EXPECT_TRUE(MimicPlace(r.m, 500, 10'050));
    EXPECT_EQ(r.m.pumpKnobX, 114);
    EXPECT_TRUE(MimicPlace(r.m, 11, 10'100));
    EXPECT_EQ(r.m.pumpKnobX, 11);
    // Beyond 2^32 ms the guard still opens (no wrapping tick counter).
    Rig late(5'000'000'000);
    EXPECT_FALSE(MimicPlace(late.m, 40, 4'999'999'999));
    EXPECT_TRUE(MimicPlace(late.m, 40, 5'000'000'000));
    EXPECT_EQ(late.m.knobMoveAllowedAt, 5'000'000'050);
    EXPECT_FALSE(MimicPlace(late.m, 41, 5'000'000'049));
    EXPECT_TRUE(MimicPlace(late.m, 41, 5'000'000'050));
}

TEST(MimicModel, FillingAndDraining)
{
    {
        // Knob at 22: below the display threshold, yet the tank fills.
        Rig r;
        r.knob(22);
        r.tick(1000); // 5 simulated seconds
        EXPECT_FALSE(r.m.mimicFlowing);
        EXPECT_NEAR(r.m.mimicLevel, 50.506, 0.001);
    }
    {
        // From 50 % at 1.7 L/min: full after 1.615 L, about 57 simulated s.
        Rig r;
        r.knob(114);
        r.ticks(91); // 0.625 simulated s each
        EXPECT_NEAR(r.m.mimicLevel, 99.890, 0.001);
        EXPECT_TRUE(r.m.mimicTankNotFull);
        r.tick(); // 57.5 simulated s
        EXPECT_EQ(r.m.mimicLevel, 100.0f);
        EXPECT_FALSE(r.m.mimicTankNotFull);
    }
    {
        // Drain open at full pump: 1.96 % per simulated second.
        Rig r;
        r.knob(114);
        r.m.mimicDrainOpen = true;
        r.tick(1000);
        EXPECT_NEAR(r.m.mimicLevel, 40.196, 0.001);
        r.tick(200); // one simulated second
        EXPECT_NEAR(r.m.mimicLevel, 38.235, 0.001);
    }
}

TEST(MimicModel, ClockJumpsAndBadLevelsStayInTheTank)
{
    Rig r;
    r.knob(114);
    r.tick(3'600'000); // an hour asleep
    EXPECT_EQ(r.m.mimicLevel, 100.0f);
    EXPECT_EQ(r.m.levelBarUnits, 250);
    r.m.mimicDrainOpen = true;
    r.tick(3'600'000);
    EXPECT_EQ(r.m.mimicLevel, 0.0f);
    EXPECT_EQ(r.m.levelBarUnits, 0);
    r.m.mimicLevel = std::numeric_limits<float>::quiet_NaN();
    r.m.mimicDrainOpen = false;
    r.tick();
    EXPECT_EQ(r.m.mimicLevel, 0.0f);
}

TEST(MimicModel, FlowTemperatureThroughTheCooler)
{
    Rig r;
    r.knob(114);
    r.m.mimicDiverted = true;
    r.m.mimicCoolerOn = true;
    EXPECT_EQ(r.tick().flowReading, 19);
    r.m.mimicCoolerOn = false;
    EXPECT_EQ(r.tick().flowReading, 20);
    r.m.mimicCoolerOn = true;
    EXPECT_EQ(r.tick().flowReading, 19);
    // With the flow stopped the last value stays, cooler or not.
    r.knob(10);
    r.m.mimicCoolerOn = false;
    EXPECT_EQ(r.tick().flowReading, 19);
    // Cooler on but the diverter closed: the cooler is bypassed.
    r.knob(114);
    r.m.mimicDiverted = false;
    r.m.mimicCoolerOn = true;
    EXPECT_EQ(r.tick().flowReading, 20);
}

TEST(MimicModel, AnimationFrames)
{
    Rig r;
    EXPECT_EQ(r.tick().stirrerFrameDrawn, 0);
    r.m.mimicStirrerOn = true;
    r.m.mimicCoolerOn = true;
    int stirrer[6];
    int fan[6];
    for (int k = 0; k < 6; ++k) {
        const MimicStep s = r.tick();
        stirrer[k] = s.stirrerFrameDrawn;
        fan[k] = s.fanFrameDrawn;
    }
    EXPECT_EQ((std::vector<int>(stirrer, stirrer + 6)), (std::vector<int>{2, 3, 4, 1, 2, 3}));
    EXPECT_EQ((std::vector<int>(fan, fan + 6)), (std::vector<int>{2, 3, 1, 2, 3, 1}));
    r.m.mimicStirrerOn = false;
    EXPECT_EQ(r.tick().stirrerFrameDrawn, 0);
    EXPECT_EQ(r.m.stirrerFrame, 4);
}

TEST(MimicModel, LevelBarAndDial)
{
    Rig r;
    MimicStep s = r.tick();
    EXPECT_TRUE(s.levelBarMoved);
    EXPECT_EQ(r.m.levelBarUnits, 125);
    // The dial for setting 0 is drawn once and then stays.
    EXPECT_TRUE(s.dialMoved);
    EXPECT_EQ(r.m.heatDialPos, -11);
    s = r.tick();
    EXPECT_FALSE(s.levelBarMoved);
    EXPECT_FALSE(s.dialMoved);
    EXPECT_EQ(MimicDialPosition(255), 277);
}

// Which paths are shown, as a string of six letters (pump, direct,
// cooler, drain, overflow, sump), "-" for hidden.
std::string Paths(const MimicUnit& m)
{
    const char* letters = "PDCROS";
    std::string s;
    for (int k = 0; k < 6; ++k) {
        s += MimicPathShown(m, static_cast<MimicPath>(1u << k)) ? letters[k] : '-';
    }
    return s;
}

TEST(MimicPaths, PumpDiverterAndThreshold)
{
    Rig r;
    r.tick();
    EXPECT_EQ(Paths(r.m), "------");
    r.knob(22);
    r.tick();
    EXPECT_EQ(Paths(r.m), "------");
    r.knob(23);
    MimicStep s = r.tick();
    EXPECT_EQ(Paths(r.m), "PD----");
    EXPECT_EQ(s.pathsSwitched, unsigned(kPathPump | kPathDirect));
    r.m.mimicDiverted = true;
    s = r.tick();
    EXPECT_EQ(Paths(r.m), "P-C---");
    EXPECT_EQ(s.pathsSwitched, unsigned(kPathDirect | kPathCooler));
    r.knob(10);
    r.tick();
    EXPECT_EQ(Paths(r.m), "------");
}

TEST(MimicPaths, DrainWithPumpOff)
{
    Rig r;
    r.m.mimicDrainOpen = true;
    r.tick();
    EXPECT_EQ(Paths(r.m), "---R--");
    // 50 % drains in 17.6 simulated s: 1.77 % an update, 29 updates.
    r.ticks(27);
    EXPECT_GT(r.m.mimicLevel, 0.0f);
    EXPECT_EQ(Paths(r.m), "---R--");
    r.tick();
    EXPECT_EQ(r.m.mimicLevel, 0.0f);
    EXPECT_EQ(Paths(r.m), "------");
    // With the pump running the drain path shows at an empty tank too.
    r.knob(60);
    r.tick();
    EXPECT_EQ(Paths(r.m), "PD-R-S");
}

TEST(MimicPaths, OverflowThenDrain)
{
    Rig r;
    r.knob(114);
    r.ticks(91);
    EXPECT_EQ(Paths(r.m), "PD----");
    r.tick();
    EXPECT_EQ(Paths(r.m), "PD--OS");
    // The drain takes the level under 100 %: the overflow goes, the path
    // into the sump stays, now fed by the drain.
    r.m.mimicDrainOpen = true;
    const MimicStep s = r.tick();
    EXPECT_LT(r.m.mimicLevel, 100.0f);
    EXPECT_TRUE(r.m.mimicTankNotFull);
    EXPECT_EQ(Paths(r.m), "PD-R-S");
    EXPECT_EQ(s.pathsSwitched, unsigned(kPathDrain | kPathOverflow));
    // Pump stopped with the drain open: only the drain path.
    r.knob(10);
    r.tick();
    EXPECT_EQ(Paths(r.m), "---R--");
}

TEST(MimicModel, HeatReadout)
{
    // No heat goes in, full tank or not, whatever the dial says.
    Rig r;
    r.knob(114);
    for (int k = 0; k < 92; ++k) {
        EXPECT_EQ(r.tick().heatText, "0.0");
    }
    EXPECT_FALSE(r.m.mimicTankNotFull);
    r.m.manualHeatSetting = 87;
    EXPECT_EQ(r.tick().heatText, "0.0");
    EXPECT_EQ(r.m.heatDialPos, 87);
}
