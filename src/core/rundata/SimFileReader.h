// Reads a simulation file (File > Open, velmor-sim inspect and --from).
//
// The whole file is checked before anything is applied: the reader returns a
// load result, and the caller switches to the exercise it names and applies
// it only when the file was good. A refused file changes nothing.
#pragma once

#include "core/exercises/Exercise.h"
#include "core/rundata/SampleLog.h"
#include "core/rundata/SimSettings.h"
#include "core/rundata/State.h"
#include "core/rundata/WholeFile.h"

#include <array>
#include <cstdint>
#include <istream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmor {

// Warning of a file whose first line names no loop exercise.
inline constexpr std::string_view kNotASimulationFile = "VELMOR does not load KLN trends";

struct SimFileReadOptions {
    // The open exercise ("frmMain": none); a first line without a space names it.
    std::string_view currentForm = "frmMain";
    bool decimalComma = false; // the system's decimal mark is ","
};

struct SimFileLoad {
    Exercise exercise = Exercise::Flow; // to open (if not open already)
    // The values of the exercise's settings lines; the other groups of the
    // block are left at zero and never applied.
    SimSettings settings;
    // Flow and Open files carry the gate valve opening (percent); the others
    // leave it alone.
    std::optional<std::int32_t> gateValvePercent;
    std::int32_t trendSpan = 60;       // s
    std::vector<SampleRecord> records; // records 1..sampleCount
    std::int32_t sampleCount = 0;
    std::array<std::int32_t, kSecondIndexEntries> secondIndex{};
    std::int32_t secondIndexFilled = 0;
    std::int32_t linesLeftOut = 0; // data lines past the 6000th
    std::string warning;           // for the user when lines were left out
};

struct SimFileError {
    int line = 0;        // 1-based line of the file
    std::string message; // the conversion message or another reason, UTF-8
    // "Line 57: '1.2.3' is not a valid floating point value"
    std::string text() const;
};

struct SimFileResult {
    std::optional<SimFileLoad> load;
    SimFileError error; // meaningful when load is empty

    bool ok() const { return load.has_value(); }
};

// The largest file read as a simulation file. The widest data line the
// writer makes (Batch: a time and 13 values, each at its longest text) is
// 234 bytes, so no file it writes reaches 1.5 MB; 16 MiB leaves room for
// edited files with longer numbers and for lines left out beyond the 6000th.
inline constexpr std::uint64_t kMaxSimFileBytes = std::uint64_t{16} << 20;

// The bytes of the file at `path` (File > Open, velmor-sim): refused before
// anything is read when it is not a regular file (links followed) or is
// larger than kMaxSimFileBytes.
ReadResult ReadSimFileBytes(const std::string& path, std::string& text);

// Reads Windows-1252 text with lines ending in CR LF or LF.
SimFileResult ReadSimulationFile(std::istream& in, const SimFileReadOptions& options);
SimFileResult ReadSimulationText(std::string_view text, const SimFileReadOptions& options);

// What File > Open does once the named exercise is open: trendSpan, the
// settings lines into the settings block, the gate valve and the exercise's
// UpdateSettings (the Trends window then shows the file's trend from its
// start). Returns false (and changes nothing) when the exercise is not the
// open one.
bool ApplySimFileSettings(VelmorState& s, const SimFileLoad& load);

// The recorded trend: records, sampleCount, second index. The trend can then
// be browsed (trendNoData cleared) unless the file held no data lines.
bool ApplySimFileTrend(VelmorState& s, const SimFileLoad& load);

} // namespace velmor
