#include "core/rundata/SimFileWriter.h"

#include "core/rundata/Columns.h"
#include "core/rundata/NumberText.h"
#include "core/rundata/SettingsLines.h"

#include <string>

namespace velmor {

namespace {

constexpr const char* kEol = "\r\n";

} // namespace

std::string SimulationFileText(Exercise e, const SimSettings& settings, int gateValvePercent,
                               const SampleLog& log, int sampleCount)
{
    const int count = sampleCount < 0 ? 0 : (sampleCount > kLogRecords ? kLogRecords : sampleCount);
    return SimulationFileText(
        e, settings, gateValvePercent,
        std::span<const SampleRecord>(log.records.data(), static_cast<std::size_t>(count)));
}

std::string SimulationFileText(Exercise e, const SimSettings& settings, int gateValvePercent,
                               std::span<const SampleRecord> records)
{
    if (records.size() > static_cast<std::size_t>(kLogRecords)) {
        records = records.first(static_cast<std::size_t>(kLogRecords));
    }
    std::string text;
    text.reserve(records.size() * 96 + 512);
    text += FirstLine(e);
    text += kEol;
    for (const SettingLine& line : SettingsLines(e)) {
        switch (line.type) {
        case LineType::Decimal:
            text += ShortestText(settings.*line.real);
            break;
        case LineType::Flag:
            text += (settings.*line.flag) ? "True" : "False";
            break;
        case LineType::Integer:
            text +=
                std::to_string(line.integer != nullptr ? settings.*line.integer : gateValvePercent);
            break;
        }
        text += kEol;
    }
    const auto columns = ExerciseColumns(e);
    for (std::size_t i = 0; i < columns.size(); ++i) {
        text += i == 0 ? "" : ",";
        text += columns[i].name;
    }
    text += kEol;
    for (const SampleRecord& r : records) {
        for (std::size_t i = 0; i < columns.size(); ++i) {
            if (i > 0) {
                text += ',';
            }
            const int f = columns[i].field;
            if (f == kFieldTime) {
                text += ShortestText(r.time);
            } else if (f == kFieldSegment) {
                text += std::to_string(r.segment);
            } else {
                text += ShortestText(r.field(f));
            }
        }
        text += kEol;
    }
    return text;
}

WriteResult WriteSimulationFile(std::ostream& out, Exercise e, const SimSettings& settings,
                                int gateValvePercent, const SampleLog& log, int sampleCount)
{
    return WriteToStream(out, SimulationFileText(e, settings, gateValvePercent, log, sampleCount));
}

WriteResult WriteSimulationFile(AtomicFile& file, Exercise e, const SimSettings& settings,
                                int gateValvePercent, const SampleLog& log, int sampleCount)
{
    if (WriteResult r =
            file.write(SimulationFileText(e, settings, gateValvePercent, log, sampleCount));
        !r.ok()) {
        return r;
    }
    return file.commit();
}

WriteResult SaveSimulationFile(const std::string& path, Exercise e, const SimSettings& settings,
                               int gateValvePercent, const SampleLog& log, int sampleCount)
{
    return WriteFileAtomically(path,
                               SimulationFileText(e, settings, gateValvePercent, log, sampleCount));
}

} // namespace velmor
