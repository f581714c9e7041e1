#include "core/rundata/SettingsLines.h"

#include <array>

namespace velmor {

namespace {

using S = SimSettings;

constexpr SettingLine R(std::string_view name, float S::*m)
{
    return {name, LineType::Decimal, m, nullptr, nullptr};
}
constexpr SettingLine F(std::string_view name, bool S::*m)
{
    return {name, LineType::Flag, nullptr, m, nullptr};
}
constexpr SettingLine I(std::string_view name, std::int32_t S::*m)
{
    return {name, LineType::Integer, nullptr, nullptr, m};
}
constexpr SettingLine Gate()
{
    return {"gateValvePercent", LineType::Integer, nullptr, nullptr, nullptr};
}

const std::array<SettingLine, 13> kFlow{
    R("flowGain", &S::flowGain),
    R("flowIntegralTime", &S::flowIntegralTime),
    R("flowDerivativeTime", &S::flowDerivativeTime),
    F("chkI", &S::flowIOn),
    F("chkD", &S::flowDOn),
    R("waveA", &S::flowA),
    R("waveB", &S::flowB),
    R("waveC", &S::flowC),
    R("flowSetPoint", &S::flowSetPoint),
    R("flowRate", &S::flowRate),
    I("flowWaveform", &S::waveformType),
    Gate(),
    F("flowManual", &S::flowManual),
};

const std::array<SettingLine, 8> kTemperature{
    R("tempGain", &S::tempGain),
    R("tempIntegralTime", &S::tempIntegralTime),
    R("tempDerivativeTime", &S::tempDerivativeTime),
    F("chkI", &S::tempIOn),
    F("chkD", &S::tempDOn),
    R("tempEnteredSP", &S::tempSetPoint),
    R("measuredTemperature", &S::measuredTemperature),
    R("initialTemperature", &S::initialTemperature),
};

const std::array<SettingLine, 14> kBatch{
    R("volGain", &S::volGain),
    R("volIntegralTime", &S::volIntegralTime),
    R("volDerivativeTime", &S::volDerivativeTime),
    F("chkVolI", &S::volIOn),
    F("chkVolD", &S::volDOn),
    R("batchVolumeSP", &S::volumeSetPoint),
    R("expectedTime", &S::expectedTime),
    R("batchTempGain", &S::tempGain),
    R("batchTempIntegralTime", &S::tempIntegralTime),
    R("batchTempDerivativeTime", &S::tempDerivativeTime),
    F("chkTempI", &S::tempIOn),
    F("chkTempD", &S::tempDOn),
    R("batchTempSP", &S::tempSetPoint),
    R("sumpTemperature", &S::sumpTemperature),
};

const std::array<SettingLine, 12> kLevel{
    R("levelGain", &S::levelGain),
    R("levelIntegralTime", &S::levelIntegralTime),
    R("levelDerivativeTime", &S::levelDerivativeTime),
    F("chkI", &S::levelIOn),
    F("chkD", &S::levelDOn),
    R("waveA", &S::levelA),
    R("waveB", &S::levelB),
    R("waveC", &S::levelC),
    I("levelWaveform", &S::waveformType),
    R("levelSetPoint", &S::levelSetPoint),
    R("levelPercent", &S::levelPercent),
    I("initialLevel", &S::initialLevel),
};

const std::array<SettingLine, 7> kOpen{
    R("waveA", &S::openA),
    R("waveB", &S::openB),
    R("waveC", &S::openC),
    R("outputPercent", &S::openOutput),
    R("flowRate", &S::openFlow),
    I("openWaveform", &S::waveformType),
    Gate(),
};

} // namespace

std::span<const SettingLine> SettingsLines(Exercise e)
{
    switch (e) {
    case Exercise::Flow:
        return kFlow;
    case Exercise::Temperature:
        return kTemperature;
    case Exercise::Batch:
        return kBatch;
    case Exercise::Level:
        return kLevel;
    case Exercise::Open:
        return kOpen;
    }
    return kFlow;
}

} // namespace velmor
