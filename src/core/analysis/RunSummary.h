// What a list of kept runs shows of each: its length, its settings segments,
// the controller it started with (or the Open loop's waveform) and how well
// the first step was followed. Figures come from AnalyseRun.
#pragma once

#include "core/exercises/Exercise.h"
#include "core/rundata/SampleLog.h"
#include "core/rundata/SimSettings.h"

#include <cstdint>
#include <optional>
#include <span>

namespace velmor {

struct RunSummary {
    Exercise exercise = Exercise::Flow;
    int records = 0;
    double duration = 0; // s, from the first record's time to the last one's
    int segments = 0;    // settings segments the run went through
    // The first controlled loop's PG, I and D as record 1 logs them (I and
    // D are 0 while switched off); absent for Open loop.
    struct Controller {
        float pg = 0;
        float i = 0;
        float d = 0;
    };
    std::optional<Controller> controller;
    // Open loop: the waveform type (1 Flat .. 5 Sawtooth) and its A, B and
    // C (percent, percent, s) from the settings lines.
    std::int32_t waveform = 0;
    float waveA = 0;
    float waveB = 0;
    float waveC = 0;
    // The first controlled loop's first set-point step: its overshoot
    // (percent of the step), and the IAE of the segment it is in (of the
    // first segment when there is no step). Absent where there is none.
    std::optional<double> overshootPercent;
    std::optional<double> iae;
};

// records: records 1..sampleCount in order; settings: the file's settings
// lines (for the Open loop's waveform).
RunSummary SummariseRun(std::span<const SampleRecord> records, Exercise e,
                        const SimSettings& settings, float samplePeriod = 0.1f);

} // namespace velmor
