// The batch volume exercise's profile: its value boxes, settings lines,
// setting names, record columns, controller panels, defaults and Trends
// configuration, and the row that holds them.
#include "core/exercises/ProfileRows.h"

namespace velmor {

namespace {

using namespace profile_rows;

constexpr LoopTraces kVolumeLoop{"volume",    "Volume",   kFieldVolSP, kFieldVolMV, kFieldOutput,
                                 kFieldVolPG, kFieldVolI, kFieldVolD,  6.0,         "L"};
constexpr std::array<const char*, 4> kVolLabels{"Vol PG:", "Vol PB:", "Vol I:", "Vol D:"};

constexpr auto kBatchBoxes = Join(
    Join(PanelBoxes(&BatchVolumeLoop, 0, 999), PanelBoxes(&BatchTemperatureLoop, 10, 999)),
    std::array{
        Value(
            kCodeSetPoint, 0.5f, 12, [](VelmorState& s) { return s.batch.batchVolumeSP; },
            [](VelmorState& s, float v) { s.batch.batchVolumeSP = v; }),
        Value(
            kCodeBatchTempSP, 20, 90, [](VelmorState& s) { return s.batch.batchTempSP; },
            [](VelmorState& s, float v) { s.batch.batchTempSP = v; }),
        Value(
            kCodeExpectedTime, 60, 600, [](VelmorState& s) { return s.batch.expectedTime; },
            [](VelmorState& s, float v) { s.batch.expectedTime = v; }),
        Value(
            kCodeSumpTemperature, 10, 90, [](VelmorState& s) { return s.batch.sumpTemperature; },
            [](VelmorState& s, float v) { s.batch.sumpTemperature = v; }),
    });

// Lines 9 to 14 use the Temperature file's fields.
constexpr std::array<SettingLine, 14> kBatchLines{
    R("volGain", &S::volGain, kGain),
    R("volIntegralTime", &S::volIntegralTime, kIntegral),
    R("volDerivativeTime", &S::volDerivativeTime),
    F("chkVolI", &S::volIOn),
    F("chkVolD", &S::volDOn),
    R("batchVolumeSP", &S::volumeSetPoint),
    R("expectedTime", &S::expectedTime),
    R("batchTempGain", &S::tempGain, kGain),
    R("batchTempIntegralTime", &S::tempIntegralTime, kIntegral),
    R("batchTempDerivativeTime", &S::tempDerivativeTime),
    F("chkTempI", &S::tempIOn),
    F("chkTempD", &S::tempDOn),
    R("batchTempSP", &S::tempSetPoint),
    R("sumpTemperature", &S::sumpTemperature),
};

constexpr std::array<NamedSetting, 16> kBatchNames{{
    Typed("volGain", kBatchBoxes, kCodePG),
    Typed("volBand", kBatchBoxes, kCodePB),
    Typed("volIntegralTime", kBatchBoxes, kCodeI),
    Typed("volDerivativeTime", kBatchBoxes, kCodeD),
    Named("chkVolI", SettingKind::IBox, &BatchVolumeLoop),
    Named("chkVolD", SettingKind::DBox, &BatchVolumeLoop),
    Typed("batchTempGain", kBatchBoxes, kCodeTempPG),
    Typed("batchTempBand", kBatchBoxes, kCodeTempPB),
    Typed("batchTempIntegralTime", kBatchBoxes, kCodeTempI),
    Typed("batchTempDerivativeTime", kBatchBoxes, kCodeTempD),
    Named("chkTempI", SettingKind::IBox, &BatchTemperatureLoop),
    Named("chkTempD", SettingKind::DBox, &BatchTemperatureLoop),
    Typed("batchVolumeSP", kBatchBoxes, kCodeSetPoint),
    Typed("batchTempSP", kBatchBoxes, kCodeBatchTempSP),
    Typed("expectedTime", kBatchBoxes, kCodeExpectedTime),
    Typed("sumpTemperature", kBatchBoxes, kCodeSumpTemperature),
}};

constexpr auto kBatchColumns =
    ColumnsOfFields(std::array{0, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 24});
constexpr std::array kBatchLogFields{0, 1, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 24};

constexpr std::array kBatchLoops{kVolumeLoop, kTemperatureLoop};

constexpr std::array<PanelTransfer, 2> kBatchPanels{{
    {&BatchVolumeLoop, &S::volGain, &S::volIntegralTime, &S::volDerivativeTime, &S::volIOn,
     &S::volDOn},
    {&BatchTemperatureLoop, &S::tempGain, &S::tempIntegralTime, &S::tempDerivativeTime, &S::tempIOn,
     &S::tempDOn},
}};

void BatchInitValues(VelmorState& s)
{
    BatchUnit& b = s.batch;
    RunState& r = s.run;
    b.volGain = 0.5f;
    b.volBand = 200;
    b.volIntegralTime = 5;
    b.volDerivativeTime = 0;
    b.batchTempGain = 1;
    b.batchTempBand = 100;
    b.batchTempIntegralTime = 400;
    b.batchTempDerivativeTime = 0;
    b.volIntegralOn = 1;
    b.volDerivativeOn = 1;
    b.batchTempIntegralOn = 1;
    b.batchTempDerivativeOn = 1;
    b.batchVolumeSP = 1.5f;
    b.batchTempSP = 30;
    b.expectedTime = 180;
    b.sumpTemperature = 20;
    r.samplePeriod = 0.1f;
    r.outputPercent = 0;
    r.heaterPercent = 0;
}

void BatchWindowCreated(VelmorState& s)
{
    s.batch.chkVolI = s.batch.chkVolD = true;
    s.batch.chkTempI = s.batch.chkTempD = true;
}

void BatchSendRest(VelmorState& s)
{
    const BatchUnit& b = s.batch;
    SimSettings& ss = s.simSettings;
    ss.volumeSetPoint = b.batchVolumeSP;
    ss.expectedTime = b.expectedTime;
    ss.tempSetPoint = b.batchLastTempSP;
    ss.sumpTemperature = b.sumpTemperature;
}

void BatchUpdateRest(VelmorState& s)
{
    BatchUnit& b = s.batch;
    const SimSettings& ss = s.simSettings;
    b.batchVolumeSP = ss.volumeSetPoint;
    b.expectedTime = ss.expectedTime;
    b.batchTempSP = ss.tempSetPoint;
    s.run.tempSetPoint = ss.tempSetPoint;
    b.batchLastTempSP = ss.tempSetPoint;
    b.sumpTemperature = ss.sumpTemperature;
}

constexpr std::array kBatchChecked{T::FlowQ, T::TempSP, T::TempMV, T::TempQ, T::VolSP, T::VolMV};
constexpr std::array kBatchDisabled{T::FlowSP, T::FlowMV};
// The temperature loop at the right, the volume loop left of it.
constexpr std::array kBatchColumnsBox{SettingsColumn{kTempLabels, ColumnPlace::Right, 10, 11, 12},
                                      SettingsColumn{kVolLabels, ColumnPlace::Left, 16, 17, 18}};

} // namespace

constexpr ExerciseProfile kBatchProfile{Exercise::Batch,
                                        "frmBatch",
                                        "batch",
                                        "Batch Simulation",
                                        180,
                                        kBatchBoxes,
                                        nullptr,
                                        nullptr,
                                        nullptr,
                                        nullptr,
                                        false,
                                        kBatchLines,
                                        kBatchNames,
                                        kBatchColumns,
                                        kBatchLogFields,
                                        kBatchPanels,
                                        kBatchLoops,
                                        &BatchInitValues,
                                        &BatchWindowCreated,
                                        &BatchSendRest,
                                        &BatchUpdateRest,
                                        &kBatchSteps,
                                        {"Batch Volume Trend", "L", "°C / %", ScalePicture::Litres,
                                         kBatchChecked, kBatchDisabled, false, false,
                                         kBatchColumnsBox}};

} // namespace velmor
