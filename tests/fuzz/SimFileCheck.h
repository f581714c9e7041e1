// What must hold for any bytes given to the simulation file reader: a clean
// refusal with a line number, or a load whose counts and index stay inside
// the log, which applies to the open exercise and which, written out and read
// again, gives back the same settings and records. Shared by the libFuzzer
// target and the regression test that replays its corpus.
#pragma once

#include "core/exercises/ControllerSettings.h"
#include "core/rundata/Columns.h"
#include "core/rundata/SettingsLines.h"
#include "core/rundata/SimFileReader.h"
#include "core/rundata/SimFileWriter.h"

#include <bit>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace velmor::fuzz {

namespace detail {

inline std::string CheckLoad(const SimFileLoad& load)
{
    if (load.sampleCount < 0 || load.sampleCount > kLogRecords ||
        load.records.size() != static_cast<std::size_t>(load.sampleCount)) {
        return "sampleCount " + std::to_string(load.sampleCount) + " with " +
               std::to_string(load.records.size()) + " records";
    }
    if (load.secondIndex[0] != 1) {
        return "second index entry 0 is not 1";
    }
    for (int s = 1; s <= kLastIndexedSecond; ++s) {
        const std::int32_t v = load.secondIndex[static_cast<std::size_t>(s)];
        if (v < 0 || v > load.sampleCount ||
            (s > 1 && v < load.secondIndex[static_cast<std::size_t>(s - 1)])) {
            return "second index entry " + std::to_string(s) + " is " + std::to_string(v);
        }
    }
    if (load.secondIndexFilled < 0 || load.secondIndexFilled > kSecondIndexEntries) {
        return "secondIndexFilled " + std::to_string(load.secondIndexFilled);
    }
    if ((load.linesLeftOut > 0) != !load.warning.empty() ||
        (load.linesLeftOut > 0 && load.sampleCount != kLogRecords)) {
        return "lines left out without a full log, or without a warning";
    }
    return {};
}

inline bool SameSettings(Exercise e, const SimFileLoad& a, const SimFileLoad& b)
{
    for (const SettingLine& l : SettingsLines(e)) {
        switch (l.type) {
        case LineType::Decimal:
            if (std::bit_cast<std::uint32_t>(a.settings.*l.real) !=
                std::bit_cast<std::uint32_t>(b.settings.*l.real)) {
                return false;
            }
            break;
        case LineType::Flag:
            if (a.settings.*l.flag != b.settings.*l.flag) {
                return false;
            }
            break;
        case LineType::Integer:
            if (l.integer != nullptr ? a.settings.*l.integer != b.settings.*l.integer
                                     : a.gateValvePercent != b.gateValvePercent) {
                return false;
            }
            break;
        }
    }
    return true;
}

inline bool SameRecords(Exercise e, const SimFileLoad& a, const SimFileLoad& b)
{
    if (a.sampleCount != b.sampleCount || a.records.size() != b.records.size()) {
        return false;
    }
    for (std::size_t n = 0; n < a.records.size(); ++n) {
        const SampleRecord& x = a.records[n];
        const SampleRecord& y = b.records[n];
        for (const Column& c : ExerciseColumns(e)) {
            const bool same =
                c.field == kFieldTime
                    ? std::bit_cast<std::uint64_t>(x.time) == std::bit_cast<std::uint64_t>(y.time)
                : c.field == kFieldSegment ? x.segment == y.segment
                                           : std::bit_cast<std::uint32_t>(x.field(c.field)) ==
                                                 std::bit_cast<std::uint32_t>(y.field(c.field));
            if (!same) {
                return false;
            }
        }
    }
    return true;
}

inline std::string CheckOne(std::string_view text, std::string_view currentForm, bool decimalComma)
{
    SimFileReadOptions options;
    options.currentForm = currentForm;
    options.decimalComma = decimalComma;
    const SimFileResult r = ReadSimulationText(text, options);
    if (!r.ok()) {
        if (r.error.line < 1 || r.error.message.empty()) {
            return "refused without a line or a message";
        }
        return {};
    }
    const SimFileLoad& load = *r.load;
    if (std::string e = CheckLoad(load); !e.empty()) {
        return e;
    }

    // Open the exercise and apply, as File > Open does.
    auto state = std::make_unique<VelmorState>();
    OpenExerciseState(*state, load.exercise, false);
    if (!(ApplySimFileSettings(*state, load) && ApplySimFileTrend(*state, load))) {
        return "the load does not apply to its own exercise";
    }
    if (state->run.sampleCount != load.sampleCount) {
        return "sampleCount not applied";
    }

    // Written out and read again: the same settings and records.
    const std::string written =
        SimulationFileText(load.exercise, load.settings, load.gateValvePercent.value_or(100),
                           state->log, state->run.sampleCount);
    const SimFileResult again = ReadSimulationText(written, {});
    if (!again.ok()) {
        return "the written file is refused: " + again.error.text();
    }
    if (again.load->exercise != load.exercise || !SameSettings(load.exercise, load, *again.load) ||
        !SameRecords(load.exercise, load, *again.load)) {
        return "the written file reads back differently";
    }
    return {};
}

} // namespace detail

// Empty when everything holds, else what went wrong.
inline std::string CheckSimFileInput(std::string_view text)
{
    // Once with no exercise open, once with one open and "," as the mark.
    if (std::string e = detail::CheckOne(text, "frmMain", false); !e.empty()) {
        return e;
    }
    return detail::CheckOne(text, "frmLevel", true);
}

} // namespace velmor::fuzz
