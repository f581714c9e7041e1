// Response figures of a run: how well each controlled loop followed its set
// point, per settings segment and per set-point step. Plain functions over
// the records of a run (live, finished or loaded from a file); nothing here
// changes the log.
//
// Units: times in seconds; errors in the loop's own unit (L/min for flow,
// degrees C for temperature, litres for volume, percent for level); IAE and
// ISE in that unit times seconds (ISE: unit squared times seconds), ITAE in
// unit times seconds squared; output total variation in percent.
#pragma once

#include "core/exercises/Exercise.h"
#include "core/exercises/LoopTraces.h"
#include "core/rundata/SampleLog.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace velmor {

// The controlled loops of an exercise, in the order they are reported (its
// profile's): Flow: flow; Temperature: temperature; Fluid level: level;
// Batch volume: volume, then temperature; Open loop: none.
std::span<const LoopTraces> ControlledLoops(Exercise e);

// A set-point change larger than this share of the trace's full scale
// between two records is a step; a ramp or a sine moves less per record.
// The same share decides whether a run starts away from its set point.
constexpr double kStepShareOfFullScale = 0.02;
// Settling band: this share of the step's size around the new set point.
constexpr double kSettlingBand = 0.02;

// The steps of a loop. The first segment's first step may be the start
// step: at record 2, from the loop's first measured value of the run (its
// measured value in record 2) to its set point in record 2, when the two
// differ by more than kStepShareOfFullScale of full scale. Record 2 is
// never a set-point step otherwise: record 1's set point is not one the
// run asked for (Flow logs B of the waveform there, Fluid level the initial
// level), and record 1's measured temperature is the one the previous run
// left, while every model restarts at START. Every later record is a step
// when its set point differs from the record before by more than that
// share.
struct StepFigures {
    int record = 0;     // first record with the new set point (1-based)
    double time = 0;    // s, that record's time
    float from = 0;     // set point of the record before; start step: the measured value
    float to = 0;       // set point from this record on
    bool start = false; // the start step
    int lastRecord = 0; // last record of the response window
    // Time from the first record at or past 10 % of the change to the
    // first at or past 90 %; absent when the response never gets there.
    std::optional<double> riseTime;
    float peak = 0;              // extreme measured value in the step's direction
    double peakTime = 0;         // s after the step when the peak is first reached
    double overshootPercent = 0; // of |to - from|; 0 when `to` is never passed
    // s after the step from which the measured value stays within the
    // settling band until the window ends; absent when it never does.
    std::optional<double> settlingTime;
    // Mean of to - measured over the last tenth of the window's records.
    double steadyStateError = 0;
};

struct SegmentFigures {
    std::int32_t segment = 0; // the settings segment number (field 24)
    int firstRecord = 0;
    int lastRecord = 0;
    double start = 0; // s, time of the first record
    double end = 0;   // s, time of the last record
    std::optional<double> iae;
    std::optional<double> ise;
    std::optional<double> itae;
    std::optional<double> outputTotalVariation;
    std::vector<StepFigures> steps;
};

struct LoopFigures {
    LoopTraces loop{};
    std::vector<SegmentFigures> segments;
};

struct RunFigures {
    Exercise exercise = Exercise::Flow;
    float samplePeriod = 0.1f; // s
    std::vector<LoopFigures> loops;
};

// records: records 1..sampleCount of the run, in order (record n at index
// n - 1). samplePeriod (s) is the dt of the integrals.
RunFigures AnalyseRun(std::span<const SampleRecord> records, Exercise e, float samplePeriod);
LoopFigures AnalyseLoop(std::span<const SampleRecord> records, const LoopTraces& loop,
                        float samplePeriod);

// Records 1..sampleCount of the sample log.
std::span<const SampleRecord> LoggedRecords(const SampleLog& log, int sampleCount);

// Whether a loop settles or keeps oscillating. The judged stretch is the
// response window of the first step of the first segment (the whole first
// segment when it has no step). Its second half is detrended (the error
// set point - measured, minus its least-squares straight line, so an offset
// or a slow drift does not count) and split into two quarters. The loop is
// in sustained oscillation when, in the last quarter, the detrended error
// crosses zero at least four times (two full cycles), swings (max - min) by
// more than 1 % of the trace's full scale, and swings at least half as much
// as in the quarter before (it is not dying out). A moving set point that
// swings itself (Sine, Sawtooth) is allowed its own rhythm: the error must
// cross zero more than twice as often as the detrended set point does.
// Returns true (stable), false (sustained oscillation), or nothing when the
// stretch is too short to judge (under 32 records).
std::optional<bool> JudgeStability(std::span<const SampleRecord> records, const LoopTraces& loop,
                                   const LoopFigures& figures);

} // namespace velmor
