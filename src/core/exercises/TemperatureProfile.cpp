// The temperature exercise's profile: its value boxes, settings lines,
// setting names, record columns, controller panels, defaults and Trends
// configuration, and the row that holds them.
#include "core/Arith.h"
#include "core/exercises/ProfileRows.h"

namespace velmor {

namespace {

using namespace profile_rows;

constexpr auto kTemperatureBoxes =
    Join(PanelBoxes(&TemperatureLoop, 0, 999),
         std::array{Value(
                        kCodeSetPoint, 20, 90, [](VelmorState& s) { return s.temp.tempEnteredSP; },
                        [](VelmorState& s, float v) {
                            s.temp.tempEnteredSP = v;
                            s.run.tempSetPoint = v;
                        }),
                    // The model starts from it, so it takes no entry during a run.
                    Value(
                        kCodeInitialValue, 10, 90,
                        [](VelmorState& s) { return s.temp.initialTemperature; },
                        [](VelmorState& s, float v) {
                            s.temp.initialTemperature = v;
                            s.run.measuredTemperature = v;
                        },
                        true)});

constexpr std::array<SettingLine, 8> kTemperatureLines{
    R("tempGain", &S::tempGain, kGain),
    R("tempIntegralTime", &S::tempIntegralTime, kIntegral),
    R("tempDerivativeTime", &S::tempDerivativeTime),
    F("chkI", &S::tempIOn),
    F("chkD", &S::tempDOn),
    R("tempEnteredSP", &S::tempSetPoint),
    R("measuredTemperature", &S::measuredTemperature),
    R("initialTemperature", &S::initialTemperature),
};

constexpr std::array<NamedSetting, 8> kTemperatureNames{{
    Typed("tempGain", kTemperatureBoxes, kCodePG),
    Typed("tempBand", kTemperatureBoxes, kCodePB),
    Typed("tempIntegralTime", kTemperatureBoxes, kCodeI),
    Typed("tempDerivativeTime", kTemperatureBoxes, kCodeD),
    Named("chkI", SettingKind::IBox, &TemperatureLoop),
    Named("chkD", SettingKind::DBox, &TemperatureLoop),
    Typed("tempEnteredSP", kTemperatureBoxes, kCodeSetPoint),
    Typed("initialTemperature", kTemperatureBoxes, kCodeInitialValue),
}};

constexpr auto kTemperatureColumns = ColumnsOfFields(std::array{0, 8, 9, 10, 11, 12, 13, 24});
constexpr std::array kTemperatureLogFields{0, 1, 8, 9, 10, 11, 12, 13, 24};

// Shared with Batch's temperature loop.
constexpr std::array kTemperatureLoops{kTemperatureLoop};

constexpr std::array<PanelTransfer, 1> kTemperaturePanels{{
    {&TemperatureLoop, &S::tempGain, &S::tempIntegralTime, &S::tempDerivativeTime, &S::tempIOn,
     &S::tempDOn},
}};

void TemperatureInitValues(VelmorState& s)
{
    TemperatureUnit& t = s.temp;
    RunState& r = s.run;
    t.tempGain = 10;
    t.tempBand = static_cast<float>(100 / static_cast<Real>(t.tempGain));
    t.tempIntegralTime = 45;
    t.tempDerivativeTime = 0;
    t.tempEnteredSP = 30;
    r.tempSetPoint = 30;
    r.samplePeriod = 0.1f;
    t.tempIntegralOn = 1;
    t.tempDerivativeOn = 1;
    r.heaterPercent = 0;
    t.initialTemperature = 20;
    r.measuredTemperature = 20;
}

void TemperatureWindowCreated(VelmorState& s)
{
    s.temp.chkI = s.temp.chkD = true;
    s.temp.lightState = 0;
}

void TemperatureSendRest(VelmorState& s)
{
    const TemperatureUnit& t = s.temp;
    SimSettings& ss = s.simSettings;
    ss.tempSetPoint = t.tempLastSP;
    ss.measuredTemperature = t.tempLastPV;
    ss.initialTemperature = t.initialTemperature;
}

void TemperatureUpdateRest(VelmorState& s)
{
    TemperatureUnit& t = s.temp;
    const SimSettings& ss = s.simSettings;
    t.tempEnteredSP = ss.tempSetPoint;
    s.run.tempSetPoint = t.tempEnteredSP;
    // What the next save writes: the file's run's last values, not those
    // of a run made before it was opened.
    t.tempLastSP = ss.tempSetPoint;
    t.initialTemperature = ss.initialTemperature;
    s.run.measuredTemperature = ss.measuredTemperature;
    t.tempLastPV = ss.measuredTemperature;
}

constexpr std::array kTemperatureChecked{T::TempSP, T::TempMV, T::TempQ};
constexpr std::array kTemperatureDisabled{T::FlowSP, T::FlowMV, T::FlowQ, T::VolSP, T::VolMV};
constexpr std::array kTemperatureColumnsBox{
    SettingsColumn{kTempLabels, ColumnPlace::Right, 10, 11, 12}};

} // namespace

constexpr ExerciseProfile kTemperatureProfile{Exercise::Temperature,
                                              "frmTemperature",
                                              "temperature",
                                              "Temperature Simulation",
                                              120,
                                              kTemperatureBoxes,
                                              nullptr,
                                              nullptr,
                                              nullptr,
                                              nullptr,
                                              false,
                                              kTemperatureLines,
                                              kTemperatureNames,
                                              kTemperatureColumns,
                                              kTemperatureLogFields,
                                              kTemperaturePanels,
                                              kTemperatureLoops,
                                              &TemperatureInitValues,
                                              &TemperatureWindowCreated,
                                              &TemperatureSendRest,
                                              &TemperatureUpdateRest,
                                              &kTemperatureSteps,
                                              {"Temperature Trend", "°C", "%", ScalePicture::None,
                                               kTemperatureChecked, kTemperatureDisabled, false,
                                               false, kTemperatureColumnsBox}};

} // namespace velmor
