#include "core/rundata/SimFileReader.h"

#include "core/Arith.h"
#include "core/exercises/ControllerSettings.h"
#include "core/rundata/Columns.h"
#include "core/rundata/SafeStrToFloat.h"
#include "core/rundata/SettingsLines.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace velmor {

namespace {

constexpr std::size_t kNoJoin = std::string_view::npos;

// Lines of the text, without their CR LF or LF. A final line break does not
// start another line; a blank line before the end does.
class Lines {
public:
    explicit Lines(std::string_view text) : m_text(text) {}

    bool next(std::string_view& line)
    {
        if (m_pos >= m_text.size()) {
            return false;
        }
        const char* start = m_text.data() + m_pos;
        const std::size_t left = m_text.size() - m_pos;
        const void* nl = std::memchr(start, '\n', left);
        const std::size_t len =
            nl != nullptr ? static_cast<std::size_t>(static_cast<const char*>(nl) - start) : left;
        m_pos += len + (nl != nullptr ? 1 : 0);
        line = std::string_view(start, len);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (m_number < std::numeric_limits<int>::max()) {
            ++m_number; // a file of billions of empty lines must not overflow
        }
        return true;
    }

    int number() const { return m_number; } // of the line last returned
    std::size_t bytesLeft() const { return m_text.size() - m_pos; }

private:
    std::string_view m_text;
    std::size_t m_pos = 0;
    int m_number = 0;
};

void AppendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

// A piece of the file quoted in a message: Windows-1252 turned into UTF-8,
// control characters shown as "?", and a runaway line cut short so that a
// message box stays readable.
std::string FileText(std::string_view raw)
{
    static constexpr char32_t k80to9F[32] = {
        0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};
    constexpr std::size_t kMaxQuoted = 200;
    const bool cut = raw.size() > kMaxQuoted;
    if (cut) {
        raw = raw.substr(0, kMaxQuoted);
    }
    std::string out;
    out.reserve(raw.size() + 8);
    for (char ch : raw) {
        const auto b = static_cast<unsigned char>(ch);
        if (b < 0x20 || b == 0x7F) {
            out.push_back(b == '\t' ? '\t' : '?');
        } else if (b < 0x80) {
            out.push_back(ch);
        } else if (b < 0xA0) {
            AppendUtf8(out, k80to9F[b - 0x80]);
        } else {
            AppendUtf8(out, b);
        }
    }
    if (cut) {
        out += "...";
    }
    return out;
}

SimFileResult Refuse(int line, std::string message)
{
    SimFileResult r;
    r.error.line = line;
    r.error.message = std::move(message);
    return r;
}

std::string NumberMessage(NumberError e, std::string_view raw)
{
    return e == NumberError::OutOfRange ? OutOfRangeMessage(FileText(raw))
                                        : NotARealMessage(FileText(raw));
}

std::string_view WaveformName(std::int32_t type)
{
    switch (type) {
    case kSine:
        return "Sine";
    case kStep:
        return "Step";
    case kSawtooth:
        return "Sawtooth";
    default:
        return "chosen";
    }
}

// Settings that the exercise would divide by: a PG of 0 (PB = 100 / PG), an
// I of 0 (the integral term) and a period C of 0 for the waveforms that
// divide by it (Sine, Step, Sawtooth; the Ramp takes its period from the
// time span). Empty when all are usable.
std::optional<SimFileError> CheckDivisors(std::span<const SettingLine> lines,
                                          const SimSettings& settings,
                                          const std::array<int, 16>& lineNumbers)
{
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const SettingLine& l = lines[i];
        if (l.type != LineType::Decimal) {
            continue;
        }
        if (l.guard == ZeroGuard::None || settings.*l.real != 0) {
            continue;
        }
        switch (l.guard) {
        case ZeroGuard::Gain:
            return SimFileError{lineNumbers[i],
                                "a PG of 0 is refused: PB = 100 / PG would divide by zero"};
        case ZeroGuard::IntegralTime:
            return SimFileError{lineNumbers[i],
                                "an I of 0 is refused: the integral action would divide by zero"};
        case ZeroGuard::Period: {
            const std::int32_t type = settings.waveformType;
            if (type == kSine || type == kStep || type == kSawtooth) {
                return SimFileError{lineNumbers[i], "a waveform period C of 0 is refused: the " +
                                                        std::string(WaveformName(type)) +
                                                        " waveform would divide by zero"};
            }
            break;
        }
        case ZeroGuard::None:
            break;
        }
    }
    return std::nullopt;
}

// InterpretData and PlaceIntoStruct with the column line resolved once: the
// names are the same on every data line, only the values change.
class DataLines {
public:
    DataLines(std::string_view columnLine, bool decimalComma) : m_decimalComma(decimalComma)
    {
        for (;;) {
            const std::size_t p = columnLine.find(',');
            const std::string_view name = columnLine.substr(0, p);
            const std::optional<int> field = FieldOfColumn(name);
            m_fields.push_back(field ? *field : -1);
            if (p == std::string_view::npos) {
                break;
            }
            columnLine.remove_prefix(p + 1);
        }
    }

    // Parses one data line into the buffer. `joinAt` is where a continued
    // line's second physical line begins (for the line number of a fault).
    std::optional<SimFileError> interpret(std::string_view d, int lineNumber, std::size_t joinAt,
                                          SampleRecord& buffer) const
    {
        const char sep = std::memchr(d.data(), ';', d.size()) != nullptr ? ';' : ',';
        std::size_t pos = 0;
        const std::size_t last = m_fields.size() - 1;
        for (std::size_t i = 0; i < last; ++i) {
            const std::size_t q = d.find(sep, pos);
            std::string_view value;
            std::size_t at = pos;
            if (q != std::string_view::npos) {
                value = d.substr(pos, q - pos);
                pos = q + 1;
            } else {
                // No separator left: an empty value, and the rest waits for
                // the last column.
                at = d.size();
            }
            if (auto e = place(m_fields[i], value, buffer)) {
                e->line = LineOf(lineNumber, joinAt, at);
                return e;
            }
        }
        if (auto e = place(m_fields[last], d.substr(pos), buffer)) {
            e->line = LineOf(lineNumber, joinAt, pos);
            return e;
        }
        return std::nullopt;
    }

private:
    static int LineOf(int lineNumber, std::size_t joinAt, std::size_t offset)
    {
        return joinAt != kNoJoin && offset >= joinAt ? lineNumber + 1 : lineNumber;
    }

    std::optional<SimFileError> place(int field, std::string_view value, SampleRecord& buffer) const
    {
        if (field < 0) {
            return std::nullopt; // a name we do not know: skipped with its value
        }
        if (field == kFieldTime) {
            const RealValue v = ParseSafeReal(value, m_decimalComma);
            if (v.error != NumberError::None) {
                return SimFileError{0, NumberMessage(v.error, value)};
            }
            buffer.time = v.value;
        } else if (field == kFieldSegment) {
            const std::optional<std::int32_t> v = ParseInteger32(value);
            if (!v) {
                return SimFileError{0, NotAnIntegerMessage(FileText(value))};
            }
            buffer.segment = *v;
        } else {
            const Float32Value v = ParseSafeFloat32(value, m_decimalComma);
            if (v.error != NumberError::None) {
                return SimFileError{0, NumberMessage(v.error, value)};
            }
            buffer.field(field) = v.value;
        }
        return std::nullopt;
    }

    std::vector<int> m_fields; // per column: record field, or -1 when unknown
    bool m_decimalComma;
};

std::string LeftOutWarning(std::int32_t n)
{
    return std::to_string(n) + (n == 1 ? " data line was" : " data lines were") +
           " left out: the log holds 6000 records.";
}

} // namespace

std::string SimFileError::text() const
{
    return line > 0 ? "Line " + std::to_string(line) + ": " + message : message;
}

ReadResult ReadSimFileBytes(const std::string& path, std::string& text)
{
    ReadResult r = ReadWholeFile(path, kMaxSimFileBytes, text);
    if (r.fault == ReadFault::TooLarge) {
        r.reason = "it is larger than a simulation file can be (" +
                   std::to_string(kMaxSimFileBytes >> 20) + " MiB)";
    }
    return r;
}

SimFileResult ReadSimulationFile(std::istream& in, const SimFileReadOptions& options)
{
    std::streambuf* buf = in.rdbuf();
    if (buf == nullptr) {
        return Refuse(0, "the file could not be read");
    }
    // One read of the whole rest when the stream knows its size, then
    // whatever else it still has.
    std::string text;
    const std::streampos here = buf->pubseekoff(0, std::ios::cur, std::ios::in);
    const std::streampos end = buf->pubseekoff(0, std::ios::end, std::ios::in);
    if (here != std::streampos(-1) && end != std::streampos(-1) && end > here) {
        buf->pubseekpos(here, std::ios::in);
        text.resize(static_cast<std::size_t>(end - here));
        const std::streamsize got =
            buf->sgetn(text.data(), static_cast<std::streamsize>(text.size()));
        text.resize(static_cast<std::size_t>(std::max<std::streamsize>(got, 0)));
    } else if (here != std::streampos(-1)) {
        buf->pubseekpos(here, std::ios::in);
    }
    std::array<char, 1 << 16> chunk{};
    for (;;) {
        const std::streamsize got = buf->sgetn(chunk.data(), chunk.size());
        if (got <= 0) {
            break;
        }
        text.append(chunk.data(), static_cast<std::size_t>(got));
    }
    return ReadSimulationText(text, options);
}

namespace {

// The first line: "Simulation" somewhere; the exercise's file word before
// the first space, or the open exercise when there is no space. Nothing for
// the mimic, an unknown word, or no loop exercise open.
std::optional<Exercise> ExerciseOfFirstLine(std::string_view line, std::string_view currentForm)
{
    if (line.find("Simulation") == std::string_view::npos) {
        return std::nullopt;
    }
    if (const std::size_t space = line.find(' '); space != std::string_view::npos) {
        return ExerciseFromFileWord(line.substr(0, space));
    }
    return ExerciseFromForm(currentForm);
}

// One settings line into the load, by its type.
std::optional<SimFileError> ReadSettingLine(const SettingLine& l, std::string_view line,
                                            int lineNumber, bool decimalComma, SimFileLoad& load)
{
    switch (l.type) {
    case LineType::Decimal: {
        const Float32Value v = ParseSafeFloat32(line, decimalComma);
        if (v.error != NumberError::None) {
            return SimFileError{lineNumber, NumberMessage(v.error, line)};
        }
        load.settings.*l.real = v.value;
        break;
    }
    case LineType::Flag:
        load.settings.*l.flag = line == "True";
        break;
    case LineType::Integer: {
        const std::optional<std::int32_t> v = ParseInteger32(line);
        if (!v) {
            return SimFileError{lineNumber, NotAnIntegerMessage(FileText(line))};
        }
        if (l.integer != nullptr) {
            load.settings.*l.integer = *v;
        } else {
            load.gateValvePercent = *v;
        }
        break;
    }
    }
    return std::nullopt;
}

// The exercise's settings lines, in file order, then the settings it would
// divide by.
std::optional<SimFileError> ReadSettingsLines(Lines& lines, bool decimalComma, SimFileLoad& load)
{
    const std::span<const SettingLine> settingLines = SettingsLines(load.exercise);
    std::array<int, 16> lineNumbers{};
    std::string_view line;
    for (std::size_t i = 0; i < settingLines.size(); ++i) {
        if (!lines.next(line)) {
            return SimFileError{lines.number() + 1,
                                "the file ends before its settings lines are complete"};
        }
        lineNumbers[i] = lines.number();
        if (auto e = ReadSettingLine(settingLines[i], line, lines.number(), decimalComma, load)) {
            return e;
        }
    }
    return CheckDivisors(settingLines, load.settings, lineNumbers);
}

// The next data line, a line ending in "=" joined with the one after it
// (the "=" replaced, at most once: a joined line that again ends in "="
// keeps it).
struct DataLine {
    std::string_view text;
    int lineNumber = 0;
    std::size_t joinAt = kNoJoin; // where the second physical line begins
};

bool NextDataLine(Lines& lines, std::string& joined, DataLine& d)
{
    std::string_view line;
    if (!lines.next(line)) {
        return false;
    }
    d = DataLine{line, lines.number(), kNoJoin};
    if (!line.empty() && line.back() == '=') {
        joined.assign(line.data(), line.size() - 1);
        d.joinAt = joined.size();
        std::string_view next;
        if (lines.next(next)) {
            joined.append(next);
        }
        d.text = joined;
    }
    return true;
}

// The column line and the data lines into the records, with the second
// index as the times come; lines past the 6000th are counted, not read.
// `buffer` carries values from line to line and ends as the last record.
std::optional<SimFileError> ReadDataLines(Lines& lines, bool decimalComma, SimFileLoad& load,
                                          SampleRecord& buffer)
{
    load.secondIndex[0] = 1;
    int cursor = 1;
    std::string_view columnLine;
    if (lines.next(columnLine)) {
        const DataLines data(columnLine, decimalComma);
        load.records.reserve(std::min<std::size_t>(kLogRecords, lines.bytesLeft() / 8 + 1));
        std::string joined;
        DataLine d;
        while (NextDataLine(lines, joined, d)) {
            if (load.sampleCount == kLogRecords) {
                if (load.linesLeftOut < std::numeric_limits<std::int32_t>::max()) {
                    ++load.linesLeftOut;
                }
                continue;
            }
            if (auto e = data.interpret(d.text, d.lineNumber, d.joinAt, buffer)) {
                return e;
            }
            load.records.push_back(buffer);
            ++load.sampleCount;
            if (cursor <= kLastIndexedSecond && cursor <= buffer.time) {
                load.secondIndex[static_cast<std::size_t>(cursor)] = load.sampleCount;
                ++cursor;
            }
        }
    }
    for (int s = cursor; s <= kLastIndexedSecond; ++s) {
        load.secondIndex[static_cast<std::size_t>(s)] = load.sampleCount;
    }
    return std::nullopt;
}

} // namespace

SimFileResult ReadSimulationText(std::string_view text, const SimFileReadOptions& options)
{
    Lines lines(text);
    std::string_view first;
    if (!lines.next(first)) {
        first = {};
    }
    const std::optional<Exercise> exercise = ExerciseOfFirstLine(first, options.currentForm);
    if (!exercise) {
        return Refuse(1, std::string(kNotASimulationFile));
    }

    SimFileResult result;
    SimFileLoad& load = result.load.emplace();
    load.exercise = *exercise;
    load.trendSpan = DefaultTrendSpan(*exercise);
    // A fresh sample buffer for this file, carried from line to line.
    SampleRecord buffer{};
    std::optional<SimFileError> error = ReadSettingsLines(lines, options.decimalComma, load);
    if (!error) {
        error = ReadDataLines(lines, options.decimalComma, load, buffer);
    }
    if (error) {
        result.load.reset();
        result.error = std::move(*error);
        return result;
    }
    // Whole seconds covered: Trunc(last time + 0.99), within the index.
    const std::int64_t filled = Trunc(static_cast<Real>(buffer.time) + 0.99L);
    load.secondIndexFilled =
        static_cast<std::int32_t>(std::clamp<std::int64_t>(filled, 0, kSecondIndexEntries));
    if (load.linesLeftOut > 0) {
        load.warning = LeftOutWarning(load.linesLeftOut);
    }
    return result;
}

bool ApplySimFileSettings(VelmorState& s, const SimFileLoad& load)
{
    if (s.shell.currentForm != FormName(load.exercise)) {
        return false;
    }
    s.trend.trendSpan = load.trendSpan;
    // Only this exercise's lines: the other groups of the block stay as they are.
    for (const SettingLine& l : SettingsLines(load.exercise)) {
        switch (l.type) {
        case LineType::Decimal:
            s.simSettings.*l.real = load.settings.*l.real;
            break;
        case LineType::Flag:
            s.simSettings.*l.flag = load.settings.*l.flag;
            break;
        case LineType::Integer:
            if (l.integer != nullptr) {
                s.simSettings.*l.integer = load.settings.*l.integer;
            }
            break;
        }
    }
    if (load.gateValvePercent) {
        s.run.gateValvePercent = *load.gateValvePercent;
    }
    UpdateSettings(s, load.exercise);
    return true;
}

bool ApplySimFileTrend(VelmorState& s, const SimFileLoad& load)
{
    if (s.shell.currentForm != FormName(load.exercise)) {
        return false;
    }
    const int n = std::clamp(load.sampleCount, 0, kLogRecords);
    for (int i = 1; i <= n && static_cast<std::size_t>(i) <= load.records.size(); ++i) {
        s.log.record(i) = load.records[static_cast<std::size_t>(i - 1)];
    }
    s.run.sampleCount = n;
    s.log.secondIndex = load.secondIndex;
    s.log.secondIndexFilled = load.secondIndexFilled;
    // A settings-only file leaves nothing to browse.
    s.trend.trendNoData = n == 0;
    return true;
}

} // namespace velmor
