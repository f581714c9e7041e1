#include "core/mimic/MimicModel.h"

#include <cmath>

namespace velmor {

namespace {

// 1.7 L/min over the 104 pixels of knob travel.
constexpr Real kFlowPerPixel = 0.016346153846153846L;

std::int32_t Reading(float degrees)
{
    return static_cast<std::int32_t>(Trunc(static_cast<Real>(degrees) + 0.5L));
}

// Sets a path's flag to `shown`, noting a switch in `switched`.
void SwitchPath(bool& flag, bool shown, MimicPath path, unsigned& switched)
{
    if (flag != shown) {
        flag = shown;
        switched |= path;
    }
}

} // namespace

bool MimicPathShown(const MimicUnit& m, MimicPath path)
{
    switch (path) {
    case kPathPump:
        return m.mimicFlowing;
    case kPathDirect:
        return m.directPathShown;
    case kPathCooler:
        return m.coolerPathShown;
    case kPathDrain:
        return m.drainPathShown;
    case kPathOverflow:
        return m.overflowPathShown;
    case kPathSump:
        return m.sumpPathShown;
    }
    return false;
}

Real MimicPumpFlow(std::int32_t pumpKnobX)
{
    return static_cast<Real>(pumpKnobX - kKnobLeft) * kFlowPerPixel;
}

void MimicStart(MimicUnit& m, std::int64_t nowMs)
{
    m = MimicUnit{};
    m.knobMoveAllowedAt = nowMs;
    m.mimicNow = static_cast<double>(nowMs) / 1000;
    m.mimicPrevTime = m.mimicNow;
}

bool MimicPlace(MimicUnit& m, std::int32_t x, std::int64_t nowMs)
{
    if (x <= kKnobLeft) {
        x = kKnobLeft;
    } else if (x > kKnobRight - 1) {
        x = kKnobRight;
    }
    if (x == m.pumpKnobX || nowMs < m.knobMoveAllowedAt) {
        return false;
    }
    m.pumpKnobX = x;
    m.knobMoveAllowedAt = nowMs + kKnobGuardMs;
    return true;
}

MimicStep MimicUpdate(MimicUnit& m, std::int64_t nowMs)
{
    MimicStep step;
    const Real f = MimicPumpFlow(m.pumpKnobX);
    step.flow = f;

    // Exactly at the threshold nothing changes.
    if (f > kFlowThreshold && !m.mimicFlowing) {
        SwitchPath(m.mimicFlowing, true, kPathPump, step.pathsSwitched);
    } else if (f < kFlowThreshold && m.mimicFlowing) {
        SwitchPath(m.mimicFlowing, false, kPathPump, step.pathsSwitched);
    }

    if (m.mimicStirrerOn) {
        step.stirrerFrameDrawn = m.stirrerFrame;
        m.stirrerFrame = m.stirrerFrame % 4 + 1;
    }
    if (m.mimicCoolerOn) {
        step.fanFrameDrawn = m.fanFrame;
        m.fanFrame = m.fanFrame % 3 + 1;
    }

    m.mimicNow = static_cast<double>(nowMs) / 1000;
    const Real delta = (static_cast<Real>(m.mimicNow) - m.mimicPrevTime) * kMimicSpeed;
    m.mimicPrevTime = m.mimicNow;

    // The pump adds its flow whether or not its path is shown.
    float volume = static_cast<float>(delta * f / 60);
    if (m.mimicDrainOpen) {
        volume = static_cast<float>(volume - delta * kDrainFlow / 60);
    }
    float level = static_cast<float>(m.mimicLevel + volume / kTankCapacity * 100);
    // A clock jump gives one large step; the clamp keeps it in the tank.
    if (std::isnan(level) || level < 0) {
        level = 0;
    } else if (level > 100) {
        level = 100;
    }
    m.mimicLevel = level;

    if (m.mimicFlowing) {
        m.mimicFlowTemp =
            m.mimicDiverted && m.mimicCoolerOn ? m.mimicSumpTemp - 1 : m.mimicSumpTemp;
    }

    step.tankReading = Reading(m.mimicTankTemp);
    step.flowReading = Reading(m.mimicFlowTemp);
    step.sumpReading = Reading(m.mimicSumpTemp);
    // No heat goes into the tank: nothing the student does sets a heat input.
    step.heatText = "0.0";

    // The drawing state, in the order the diagram is redrawn.
    const std::int32_t dial = MimicDialPosition(m.manualHeatSetting);
    if (dial != m.heatDialPos) {
        m.heatDialPos = dial;
        step.dialMoved = true;
    }
    const bool diverted = m.mimicDiverted;
    const auto units = static_cast<std::int32_t>(
        Trunc(static_cast<Real>(m.mimicLevel) / 100 * kLevelBarFull + 0.5L));
    if (units != m.levelBarUnits) {
        m.levelBarUnits = units;
        step.levelBarMoved = true;
    }
    unsigned& switched = step.pathsSwitched;
    SwitchPath(m.directPathShown, m.mimicFlowing && !diverted, kPathDirect, switched);
    SwitchPath(m.coolerPathShown, m.mimicFlowing && diverted, kPathCooler, switched);
    SwitchPath(m.drainPathShown, m.mimicDrainOpen && (m.mimicFlowing || m.mimicLevel > 0),
               kPathDrain, switched);
    m.mimicTankNotFull = m.mimicLevel < 100;
    SwitchPath(m.overflowPathShown, m.mimicFlowing && m.mimicLevel == 100, kPathOverflow, switched);
    SwitchPath(m.sumpPathShown, m.mimicFlowing && (m.drainPathShown || m.overflowPathShown),
               kPathSump, switched);
    return step;
}

std::int32_t MimicDialPosition(std::int32_t manualHeatSetting)
{
    return static_cast<std::int32_t>(RoundEven((manualHeatSetting - 10) * 1.13L));
}

} // namespace velmor
