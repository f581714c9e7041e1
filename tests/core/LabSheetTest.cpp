// The lab sheet reader: a good sheet read whole and in order, and each key
// spoilt in turn refused with one message naming it.
#include "core/labsheets/LabSheet.h"

#include <gtest/gtest.h>

#include <string>

using namespace velmor;

namespace {

const std::string kSheet = R"({"velmorLabSheet": 1,
 "title": {"en": "Step", "es": "Escalón"},
 "instructions": {"en": "Tune the loop."},
 "exercise": "flow",
 "settings": {"flowWaveform": 4, "waveA": 1.5, "waveB": 1, "waveC": 20, "flowGain": 0.5},
 "locked": ["flowWaveform", "waveA"],
 "minRecords": 100,
 "targets": [{"loop": "flow", "figure": "overshootPercent", "step": "start", "max": 10},
             {"loop": "flow", "figure": "iae", "segment": 1, "min": 0, "max": 50},
             {"loop": "flow", "figure": "stable", "equals": true}]})";

std::string Replaced(const std::string& from, const std::string& to)
{
    std::string text = kSheet;
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

} // namespace

TEST(LabSheet, GoodSheetIsReadInItsOwnOrder)
{
    const LabSheetResult r = ReadLabSheetText(kSheet);
    ASSERT_TRUE(r.ok()) << r.error;
    const LabSheet& s = *r.sheet;
    EXPECT_EQ(s.exercise, Exercise::Flow);
    EXPECT_EQ(s.title.in("es"), "Escalón");
    // A missing language falls back to the other one.
    EXPECT_EQ(s.instructions.in("es"), "Tune the loop.");
    // The waveform must come before its rows: the file's order is kept.
    ASSERT_EQ(s.settings.size(), 5u);
    EXPECT_EQ(s.settings[0].name, "flowWaveform");
    EXPECT_EQ(s.settings[1].value, "1.5");
    EXPECT_EQ(s.settings[4].value, "0.5");
    EXPECT_TRUE(s.isLocked("waveA"));
    EXPECT_FALSE(s.isLocked("flowGain"));
    EXPECT_EQ(s.minRecords, 100);
    ASSERT_EQ(s.targets.size(), 3u);
    EXPECT_EQ(s.targets[0].step, 0); // the start step
    EXPECT_FALSE(s.targets[0].segment.has_value());
    EXPECT_EQ(s.targets[1].segment, 1);
    EXPECT_EQ(s.targets[1].min, 0.0);
    EXPECT_EQ(s.targets[2].equals, true);
}

TEST(LabSheet, EveryFaultIsRefusedNamingItsKey)
{
    struct Case {
        std::string text;
        std::string error;
    };
    const Case cases[] = {
        {Replaced(R"("velmorLabSheet": 1)", R"("velmorLabSheet": 2)"),
         "velmorLabSheet: version 2 is not known (this program reads 1)"},
        {Replaced(R"("velmorLabSheet": 1,)", ""), "velmorLabSheet: missing (not a lab sheet)"},
        {Replaced(R"("minRecords")", R"("minRecord")"), "minRecord: unknown key"},
        {Replaced(R"({"en": "Step", "es": "Escalón"})", R"("Step")"),
         R"(title: expected an object with "en" and "es" texts, not a text)"},
        {Replaced(R"({"en": "Step", "es": "Escalón"})", R"({"en": ""})"),
         R"(title: needs a text in "en" or "es")"},
        {Replaced(R"({"en": "Tune the loop."})", R"({"fr": "x"})"), "instructions.fr: unknown key"},
        {Replaced(R"("exercise": "flow")", R"("exercise": "flux")"),
         R"(exercise: "flux" is not an exercise)"},
        {Replaced(R"("flowGain": 0.5)", R"("flowGain": 1000)"),
         "settings.flowGain: flowGain=1000: out of range (0.01 to 100)"},
        {Replaced(R"("flowGain": 0.5)", R"("flowGian": 0.5)"),
         "settings.flowGian: unknown setting 'flowGian' for flow"},
        {Replaced(R"("flowGain": 0.5)", R"("flowGain": "0.5")"),
         "settings.flowGain: expected a number, not a text"},
        // Rows are checked against the waveform the settings before them chose.
        {Replaced(R"("flowWaveform": 4)", R"("flowWaveform": 1)"),
         "settings.waveB: waveB=1: the waveform in force has no such value"},
        {Replaced(R"(["flowWaveform", "waveA"])", R"(["flowWaveform", "chkI"])"),
         R"(locked[1]: "chkI" is not in "settings")"},
        {Replaced(R"("minRecords": 100)", R"("minRecords": 7000)"),
         "minRecords: expected a whole number from 0 to 6000, not 7000"},
        {Replaced(R"("minRecords": 100)", R"("minRecords": 2.5)"),
         "minRecords: expected a whole number from 0 to 6000, not 2.5"},
        {Replaced(R"("minRecords": 100)", R"("minRecords": 100, "minRecords": 5)"),
         R"("minRecords": the key is given twice in one object)"},
        {kSheet.substr(0, kSheet.find(R"("targets")")) + R"("targets": []})",
         "targets: needs at least one target"},
        {Replaced(R"("overshootPercent")", R"("overshot")"),
         R"(targets[0].figure: "overshot" is not a figure)"},
        {Replaced(R"("loop": "flow", "figure": "overshootPercent")",
                  R"("loop": "level", "figure": "overshootPercent")"),
         R"(targets[0].loop: "level" is not a loop of flow (flow))"},
        {Replaced(R"("step": "start")", R"("step": "last")"),
         R"(targets[0].step: expected "first", "start" or a step number from 1, not "last")"},
        {Replaced(R"("max": 10)", R"("maxx": 10)"), "targets[0].maxx: unknown key"},
        {Replaced(R"(, "max": 10)", ""), R"(targets[0]: needs "max", "min" or both)"},
        {Replaced(R"("max": 10)", R"("max": "10")"),
         "targets[0].max: expected a number, not a text"},
        {Replaced(R"("segment": 1)", R"("segment": 0)"),
         R"(targets[1].segment: expected "last" or a segment number from 1, not 0)"},
        {Replaced(R"("segment": 1)", R"("step": 2)"),
         R"(targets[1].step: "iae" is not a step figure)"},
        {Replaced(R"("min": 0, "max": 50)", R"("min": 60, "max": 50)"),
         "targets[1].min: min 60 is above max 50"},
        {Replaced(R"("equals": true)", R"("max": 1)"),
         R"(targets[2].max: "stable" takes "equals": true or false)"},
        {Replaced(R"("equals": true)", R"("equals": 1)"),
         "targets[2].equals: expected true or false, not a number"},
        {Replaced(R"("min": 0, "max": 50)", R"("min": 0, "max": 50, "equals": true)"),
         R"(targets[1].equals: only "stable" takes "equals"; use "max" and "min")"},
        {Replaced(R"({"loop": "flow", "figure": "stable", "equals": true})", "3"),
         "targets[2]: expected an object, not a number"},
        {"[1]", "not a lab sheet: expected a JSON object, not a list"},
        // A line break written as an escape in a key stays an escape in the
        // one-line message.
        {Replaced(R"("minRecords")", R"("min\nRecords")"), R"("min\nRecords": unknown key)"},
        {Replaced(R"("flowGain": 0.5)", R"("flow\nGain": 0.5)"),
         R"(settings."flow\nGain": unknown setting 'flow\u000aGain' for flow)"},
    };
    for (const Case& c : cases) {
        const LabSheetResult r = ReadLabSheetText(c.text);
        EXPECT_FALSE(r.ok()) << c.error;
        EXPECT_EQ(r.error, c.error);
    }
}

TEST(LabSheet, BrokenTextIsRefusedWithoutACrash)
{
    // A syntax fault says where; invalid UTF-8 in a text, an empty file and
    // a cut-off file are refused the same way.
    const LabSheetResult cut = ReadLabSheetText(kSheet.substr(0, kSheet.size() - 3));
    ASSERT_FALSE(cut.ok());
    EXPECT_TRUE(cut.error.starts_with("not a lab sheet: parse error at line 10")) << cut.error;
    for (const std::string& text :
         {std::string(), Replaced("Step", "St\xff\xfe"), std::string(5000, '[')}) {
        const LabSheetResult r = ReadLabSheetText(text);
        EXPECT_FALSE(r.ok());
        EXPECT_TRUE(r.error.starts_with("not a lab sheet: ")) << r.error;
        EXPECT_EQ(r.error.find('\n'), std::string::npos);
    }
}
