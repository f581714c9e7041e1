#include "core/labsheets/LabSheet.h"

#include "core/exercises/ControllerSettings.h"
#include "core/exercises/ExerciseProfile.h"
#include "core/exercises/NamedSettings.h"
#include "core/rundata/NumberText.h"
#include "core/rundata/State.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <memory>
#include <set>
#include <utility>

namespace velmor {

namespace {

using Json = nlohmann::ordered_json;

constexpr int kSheetVersion = 1;
// A run never holds more records than this, so a larger minimum could never be met.
constexpr int kMaxRecords = 6000;

struct FigureRow {
    SheetFigure figure;
    std::string_view name;
    bool step;
};

constexpr std::array<FigureRow, 11> kFigures{{
    {SheetFigure::Iae, "iae", false},
    {SheetFigure::Ise, "ise", false},
    {SheetFigure::Itae, "itae", false},
    {SheetFigure::OutputTotalVariation, "outputTotalVariation", false},
    {SheetFigure::RiseTime, "riseTime", true},
    {SheetFigure::Peak, "peak", true},
    {SheetFigure::PeakTime, "peakTime", true},
    {SheetFigure::OvershootPercent, "overshootPercent", true},
    {SheetFigure::SettlingTime, "settlingTime", true},
    {SheetFigure::SteadyStateError, "steadyStateError", true},
    {SheetFigure::Stable, "stable", false},
}};

// The refusal of a sheet: the first fault found, with where it is. Thrown
// inside this file only; ReadLabSheetText turns it into its result.
struct Fault {
    std::string text;
};

[[noreturn]] void Refuse(const std::string& where, const std::string& what)
{
    throw Fault{where + ": " + what};
}

std::string Quoted(const std::string& s)
{
    // Through the JSON writer, so a control character in a key stays one line.
    return Json(s).dump(-1, ' ', true, Json::error_handler_t::replace);
}

// A key as a message's path shows it: as written, or quoted and escaped
// when it holds a control character or a quote.
std::string KeyShown(const std::string& key)
{
    const bool plain = std::none_of(key.begin(), key.end(), [](char c) {
        return static_cast<unsigned char>(c) < 0x20 || c == '"' || c == 0x7f;
    });
    return plain ? key : Quoted(key);
}

// A JSON value as the message shows it, cut short when long.
std::string Shown(const Json& v)
{
    std::string text = v.dump(-1, ' ', true, Json::error_handler_t::replace);
    if (text.size() > 40) {
        text = text.substr(0, 37) + "...";
    }
    return text;
}

std::string TypeName(const Json& v)
{
    if (v.is_number()) {
        return "a number";
    }
    if (v.is_string()) {
        return "a text";
    }
    if (v.is_boolean()) {
        return "true or false";
    }
    if (v.is_null()) {
        return "null";
    }
    return v.is_array() ? "a list" : "an object";
}

void Expect(bool ok, const std::string& where, const std::string& expected, const Json& v)
{
    if (!ok) {
        Refuse(where, "expected " + expected + ", not " + TypeName(v));
    }
}

// Refuses a member the object does not take (a misspelt key would
// otherwise be ignored, and its target silently left out).
void OnlyKeys(const Json& object, const std::string& where,
              std::initializer_list<std::string_view> keys)
{
    for (const auto& [key, value] : object.items()) {
        if (std::find(keys.begin(), keys.end(), key) == keys.end()) {
            Refuse(where.empty() ? KeyShown(key) : where + "." + KeyShown(key), "unknown key");
        }
    }
}

SheetText ReadText(const Json& root, const std::string& key, bool required)
{
    SheetText text;
    if (!root.contains(key)) {
        if (required) {
            Refuse(key, "missing");
        }
        return text;
    }
    const Json& v = root[key];
    Expect(v.is_object(), key, "an object with \"en\" and \"es\" texts", v);
    OnlyKeys(v, key, {"en", "es"});
    for (const char* language : {"en", "es"}) {
        if (v.contains(language)) {
            const Json& t = v[language];
            Expect(t.is_string(), key + "." + language, "a text", t);
            (std::string_view(language) == "en" ? text.en : text.es) = t.get<std::string>();
        }
    }
    if (required && text.en.empty() && text.es.empty()) {
        Refuse(key, "needs a text in \"en\" or \"es\"");
    }
    return text;
}

// A number as a student would type it on the keypad.
std::string KeypadText(const Json& v, const std::string& where)
{
    Expect(v.is_number(), where, "a number", v);
    if (v.is_number_unsigned()) {
        return std::to_string(v.get<std::uint64_t>());
    }
    if (v.is_number_integer()) {
        return std::to_string(v.get<std::int64_t>());
    }
    const double d = v.get<double>();
    char buf[400];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, d, std::chars_format::fixed);
    if (ec != std::errc{}) {
        Refuse(where, Shown(v) + " is out of range");
    }
    return std::string(buf, end);
}

std::vector<SheetSetting> ReadSettings(const Json& root, Exercise e)
{
    std::vector<SheetSetting> settings;
    if (!root.contains("settings")) {
        return settings;
    }
    const Json& v = root["settings"];
    Expect(v.is_object(), "settings", "an object of setting names and values", v);
    // Applied in order to the exercise as it opens, as the desktop program
    // will apply them: a value the keypad takes alone may still be refused
    // after the settings before it (a waveform row the waveform lacks).
    auto state = std::make_unique<VelmorState>();
    OpenExerciseState(*state, e, true);
    for (const auto& [name, value] : v.items()) {
        const std::string where = "settings." + KeyShown(name);
        SheetSetting s{name, KeypadText(value, where)};
        if (std::string error = ApplySetting(*state, e, s.name, s.value); !error.empty()) {
            Refuse(where, error);
        }
        settings.push_back(std::move(s));
    }
    return settings;
}

std::vector<std::string> ReadLocked(const Json& root, const std::vector<SheetSetting>& settings)
{
    std::vector<std::string> locked;
    if (!root.contains("locked")) {
        return locked;
    }
    const Json& v = root["locked"];
    Expect(v.is_array(), "locked", "a list of setting names", v);
    for (std::size_t i = 0; i < v.size(); ++i) {
        const std::string where = "locked[" + std::to_string(i) + "]";
        Expect(v[i].is_string(), where, "a setting name", v[i]);
        const std::string name = v[i].get<std::string>();
        const bool set = std::any_of(settings.begin(), settings.end(),
                                     [&](const SheetSetting& s) { return s.name == name; });
        if (!set) {
            Refuse(where, Quoted(name) + " is not in \"settings\"");
        }
        if (std::find(locked.begin(), locked.end(), name) == locked.end()) {
            locked.push_back(name);
        }
    }
    return locked;
}

int ReadMinRecords(const Json& root)
{
    if (!root.contains("minRecords")) {
        return 0;
    }
    const Json& v = root["minRecords"];
    if (!v.is_number_integer() || v.get<std::int64_t>() < 0 ||
        v.get<std::int64_t>() > kMaxRecords) {
        Refuse("minRecords", "expected a whole number from 0 to " + std::to_string(kMaxRecords) +
                                 ", not " + Shown(v));
    }
    return static_cast<int>(v.get<std::int64_t>());
}

std::optional<double> ReadLimit(const Json& t, const std::string& where, const char* key)
{
    if (!t.contains(key)) {
        return std::nullopt;
    }
    const Json& v = t[key];
    Expect(v.is_number(), where + "." + key, "a number", v);
    return v.get<double>();
}

// A whole number of at least 1, or one of the two words a key takes.
std::optional<std::int64_t> Ordinal(const Json& v)
{
    if (v.is_number_integer() && v.get<std::int64_t>() >= 1 &&
        v.get<std::int64_t>() <= std::int64_t{1} << 30) {
        return v.get<std::int64_t>();
    }
    return std::nullopt;
}

std::string ReadLoop(const Json& t, const std::string& where, Exercise e)
{
    if (!t.contains("loop")) {
        Refuse(where + ".loop", "missing");
    }
    const Json& loop = t["loop"];
    Expect(loop.is_string(), where + ".loop", "a loop name", loop);
    const std::string name = loop.get<std::string>();
    const auto loops = ProfileOf(e).loops;
    const bool known = std::any_of(loops.begin(), loops.end(),
                                   [&](const LoopTraces& l) { return l.name == name; });
    if (!known) {
        std::string names;
        for (const LoopTraces& l : loops) {
            names += (names.empty() ? "" : ", ") + std::string(l.name);
        }
        Refuse(where + ".loop", Quoted(name) + " is not a loop of " + std::string(CommandWord(e)) +
                                    (names.empty() ? " (it has none)" : " (" + names + ")"));
    }
    return name;
}

SheetFigure ReadFigure(const Json& t, const std::string& where)
{
    if (!t.contains("figure")) {
        Refuse(where + ".figure", "missing");
    }
    const Json& figure = t["figure"];
    Expect(figure.is_string(), where + ".figure", "a figure name", figure);
    const std::optional<SheetFigure> f = FigureFromName(figure.get<std::string>());
    if (!f) {
        Refuse(where + ".figure", Quoted(figure.get<std::string>()) + " is not a figure");
    }
    return *f;
}

// Which segment and which of its steps the figure is taken from.
void ReadWhere(const Json& t, const std::string& where, SheetTarget& target)
{
    if (t.contains("segment")) {
        const Json& v = t["segment"];
        if (target.figure == SheetFigure::Stable) {
            Refuse(where + ".segment", "\"stable\" is judged over the first step of the run");
        }
        if (v == "last") {
            target.segment.reset();
        } else if (const std::optional<std::int64_t> n = Ordinal(v)) {
            target.segment = static_cast<std::int32_t>(*n);
        } else {
            Refuse(where + ".segment",
                   "expected \"last\" or a segment number from 1, not " + Shown(v));
        }
    }
    if (t.contains("step")) {
        const Json& v = t["step"];
        if (!IsStepFigure(target.figure)) {
            Refuse(where + ".step",
                   Quoted(std::string(FigureName(target.figure))) + " is not a step figure");
        }
        if (v == "first") {
            target.step = 1;
        } else if (v == "start") {
            target.step = 0;
        } else if (const std::optional<std::int64_t> n = Ordinal(v)) {
            target.step = static_cast<int>(*n);
        } else {
            Refuse(where + ".step",
                   "expected \"first\", \"start\" or a step number from 1, not " + Shown(v));
        }
    }
}

// "equals" for "stable", "max" and "min" for every other figure.
void ReadBounds(const Json& t, const std::string& where, SheetTarget& target)
{
    if (target.figure == SheetFigure::Stable) {
        if (t.contains("max") || t.contains("min")) {
            Refuse(where + (t.contains("max") ? ".max" : ".min"),
                   "\"stable\" takes \"equals\": true or false");
        }
        if (!t.contains("equals")) {
            Refuse(where + ".equals", "missing (\"stable\" takes \"equals\": true or false)");
        }
        Expect(t["equals"].is_boolean(), where + ".equals", "true or false", t["equals"]);
        target.equals = t["equals"].get<bool>();
        return;
    }
    if (t.contains("equals")) {
        Refuse(where + ".equals", "only \"stable\" takes \"equals\"; use \"max\" and \"min\"");
    }
    target.max = ReadLimit(t, where, "max");
    target.min = ReadLimit(t, where, "min");
    if (!target.max && !target.min) {
        Refuse(where, "needs \"max\", \"min\" or both");
    }
    if (target.max && target.min && *target.min > *target.max) {
        Refuse(where + ".min",
               "min " + ShortestText(*target.min) + " is above max " + ShortestText(*target.max));
    }
}

SheetTarget ReadTarget(const Json& t, const std::string& where, Exercise e)
{
    Expect(t.is_object(), where, "an object", t);
    OnlyKeys(t, where, {"loop", "figure", "segment", "step", "max", "min", "equals"});
    SheetTarget target;
    target.loop = ReadLoop(t, where, e);
    target.figure = ReadFigure(t, where);
    ReadWhere(t, where, target);
    ReadBounds(t, where, target);
    return target;
}

std::vector<SheetTarget> ReadTargets(const Json& root, Exercise e)
{
    if (!root.contains("targets")) {
        Refuse("targets", "missing");
    }
    const Json& v = root["targets"];
    Expect(v.is_array(), "targets", "a list of targets", v);
    if (v.empty()) {
        Refuse("targets", "needs at least one target");
    }
    std::vector<SheetTarget> targets;
    for (std::size_t i = 0; i < v.size(); ++i) {
        targets.push_back(ReadTarget(v[i], "targets[" + std::to_string(i) + "]", e));
    }
    return targets;
}

// The parser keeps the last of two equal keys; a sheet with both is
// ambiguous, so the callback stops the parse on the second.
class DuplicateKeys {
public:
    bool operator()(int /*depth*/, Json::parse_event_t event, Json& parsed)
    {
        switch (event) {
        case Json::parse_event_t::object_start:
            m_keys.emplace_back();
            break;
        case Json::parse_event_t::object_end:
            m_keys.pop_back();
            break;
        case Json::parse_event_t::key: {
            const std::string key = parsed.get<std::string>();
            if (!m_keys.back().insert(key).second) {
                throw Fault{Quoted(key) + ": the key is given twice in one object"};
            }
            break;
        }
        default:
            break;
        }
        return true;
    }

private:
    std::vector<std::set<std::string>> m_keys;
};

LabSheet ReadSheet(std::string_view text)
{
    Json root;
    try {
        DuplicateKeys duplicates;
        root = Json::parse(text.begin(), text.end(),
                           [&duplicates](int depth, Json::parse_event_t event, Json& parsed) {
                               return duplicates(depth, event, parsed);
                           });
    } catch (const Json::parse_error& e) {
        // "[json.exception.parse_error.101] parse error at line 3, column 5:
        // syntax error ..." without the library's own tag.
        std::string message = e.what();
        if (const std::size_t close = message.find("] "); close != std::string::npos) {
            message = message.substr(close + 2);
        }
        throw Fault{"not a lab sheet: " + message};
    }
    if (!root.is_object()) {
        throw Fault{"not a lab sheet: expected a JSON object, not " + TypeName(root)};
    }
    OnlyKeys(root, "",
             {"velmorLabSheet", "title", "instructions", "exercise", "settings", "locked",
              "minRecords", "targets"});
    if (!root.contains("velmorLabSheet")) {
        Refuse("velmorLabSheet", "missing (not a lab sheet)");
    }
    const Json& version = root["velmorLabSheet"];
    if (version != kSheetVersion) {
        Refuse("velmorLabSheet", "version " + Shown(version) +
                                     " is not known (this program reads " +
                                     std::to_string(kSheetVersion) + ")");
    }

    LabSheet sheet;
    sheet.title = ReadText(root, "title", true);
    sheet.instructions = ReadText(root, "instructions", false);

    if (!root.contains("exercise")) {
        Refuse("exercise", "missing");
    }
    const Json& exercise = root["exercise"];
    Expect(exercise.is_string(), "exercise", "an exercise name", exercise);
    const std::optional<Exercise> e = ExerciseFromCommandWord(exercise.get<std::string>());
    if (!e) {
        Refuse("exercise", Quoted(exercise.get<std::string>()) + " is not an exercise");
    }
    sheet.exercise = *e;
    sheet.settings = ReadSettings(root, *e);
    sheet.locked = ReadLocked(root, sheet.settings);
    sheet.minRecords = ReadMinRecords(root);
    sheet.targets = ReadTargets(root, *e);
    return sheet;
}

// A refusal is one line of a report or a CSV cell: a control character a
// setting's name brought in from the sheet is written as an escape.
std::string OneLine(const std::string& text)
{
    std::string out;
    for (const char c : text) {
        if (static_cast<unsigned char>(c) < 0x20) {
            static constexpr char kHex[] = "0123456789abcdef";
            out += "\\u00";
            out += kHex[(c >> 4) & 0xf];
            out += kHex[c & 0xf];
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace

std::string_view FigureName(SheetFigure f)
{
    for (const FigureRow& row : kFigures) {
        if (row.figure == f) {
            return row.name;
        }
    }
    return {};
}

std::optional<SheetFigure> FigureFromName(std::string_view name)
{
    for (const FigureRow& row : kFigures) {
        if (row.name == name) {
            return row.figure;
        }
    }
    return std::nullopt;
}

bool IsStepFigure(SheetFigure f)
{
    for (const FigureRow& row : kFigures) {
        if (row.figure == f) {
            return row.step;
        }
    }
    return false;
}

const std::string& SheetText::in(std::string_view language) const
{
    const bool spanish = language == "es";
    const std::string& wanted = spanish ? es : en;
    return wanted.empty() ? (spanish ? en : es) : wanted;
}

bool LabSheet::isLocked(std::string_view name) const
{
    return std::find(locked.begin(), locked.end(), name) != locked.end();
}

LabSheetResult ReadLabSheetText(std::string_view text)
{
    try {
        return {ReadSheet(text), {}};
    } catch (const Fault& f) {
        return {std::nullopt, OneLine(f.text)};
    } catch (const Json::exception& e) {
        // A value of the wrong kind that slipped past a check: still a refusal.
        return {std::nullopt, OneLine(std::string("not a lab sheet: ") + e.what())};
    }
}

LabSheetFileResult ReadLabSheetFile(const std::string& path)
{
    LabSheetFileResult r;
    std::string text;
    r.read = ReadWholeFile(path, kMaxLabSheetBytes, text);
    if (r.read.ok()) {
        r.sheet = ReadLabSheetText(text);
    }
    return r;
}

} // namespace velmor
