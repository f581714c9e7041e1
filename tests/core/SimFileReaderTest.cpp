// The simulation file reader: first line, settings lines, data lines, the
// second index, refusals that change nothing, and what applying a load does.
#include "core/rundata/SimFileReader.h"
#include "core/exercises/ControllerSettings.h"
#include "core/rundata/NumberText.h"

#include <gtest/gtest.h>

#include <fstream>
#include <initializer_list>
#include <sstream>
#include <string>

using namespace velmor;

namespace {

std::string Crlf(std::initializer_list<std::string_view> lines)
{
    std::string text;
    for (std::string_view l : lines) {
        text += l;
        text += "\r\n";
    }
    return text;
}

SimFileResult Read(std::string_view text, std::string_view currentForm = "frmMain",
                   bool decimalComma = false)
{
    SimFileReadOptions o;
    o.currentForm = currentForm;
    o.decimalComma = decimalComma;
    return ReadSimulationText(text, o);
}

SimFileLoad Good(std::string_view text, std::string_view currentForm = "frmMain")
{
    SimFileResult r = Read(text, currentForm);
    EXPECT_TRUE(r.ok()) << r.error.text();
    return r.ok() ? std::move(*r.load) : SimFileLoad{};
}

std::string Refused(std::string_view text, std::string_view currentForm = "frmMain")
{
    const SimFileResult r = Read(text, currentForm);
    EXPECT_FALSE(r.ok());
    return r.ok() ? std::string("(loaded)") : r.error.text();
}

// A Flow file head: first line, 13 settings lines; then the column line is
// line 15 and the first data line line 16.
std::string FlowHead(std::string_view pg = "1", std::string_view i = "0.8",
                     std::string_view c = "25", std::string_view type = "1")
{
    return Crlf({"Flow Simulation", pg, i, "0", "True", "False", "1.5", "0.5", c, "1", "0.9", type,
                 "70", "False"});
}

std::string TemperatureHead()
{
    return Crlf({"Temperature Simulation", "10", "45", "0", "True", "False", "30", "20", "20"});
}

std::string ReadFileText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

} // namespace

TEST(SimFileExample, TemperatureFileLoadsAndApplies)
{
    const std::string text = ReadFileText(VELMOR_TEST_DATA "/temperature_example.psm");
    ASSERT_FALSE(text.empty());
    const SimFileLoad load = Good(text);
    EXPECT_EQ(load.exercise, Exercise::Temperature);
    EXPECT_EQ(load.trendSpan, 120);
    EXPECT_FALSE(load.gateValvePercent.has_value());
    EXPECT_EQ(load.sampleCount, 2);
    ASSERT_EQ(load.records.size(), 2u);
    EXPECT_EQ(load.records[0].time, 0.0);
    EXPECT_EQ(load.records[1].time, 0.1);
    EXPECT_EQ(load.records[1].field(kFieldTempSP), 30.0f);
    EXPECT_EQ(load.records[1].field(kFieldTempMV), 20.01f);
    EXPECT_EQ(load.records[1].field(kFieldHeater), 100.0f);

    VelmorState s;
    OpenExerciseState(s, Exercise::Temperature, false);
    s.simSettings.flowGain = 7; // another exercise's group stays
    ASSERT_TRUE(ApplySimFileSettings(s, load) && ApplySimFileTrend(s, load));
    EXPECT_EQ(s.temp.tempGain, 10.0f);
    EXPECT_EQ(s.temp.tempBand, 10.0f);
    EXPECT_EQ(s.temp.tempIntegralTime, 45.0f);
    EXPECT_EQ(s.temp.tempDerivativeTime, 0.0f);
    EXPECT_TRUE(s.temp.chkI);
    EXPECT_FALSE(s.temp.chkD);
    EXPECT_EQ(s.temp.tempDerivativeOn, 0);
    EXPECT_EQ(s.temp.tempEnteredSP, 30.0f);
    EXPECT_EQ(s.run.tempSetPoint, 30.0f);
    EXPECT_EQ(s.run.measuredTemperature, 20.0f);
    EXPECT_EQ(s.temp.initialTemperature, 20.0f);
    EXPECT_EQ(s.simSettings.flowGain, 7.0f);
    EXPECT_EQ(s.run.gateValvePercent, 100);
    EXPECT_EQ(s.trend.trendSpan, 120);
    EXPECT_EQ(s.run.sampleCount, 2);
    EXPECT_EQ(s.log.record(2).time, 0.1);
    EXPECT_EQ(s.log.record(2).field(kFieldTempMV), 20.01f);
    EXPECT_FALSE(s.trend.trendNoData);
}

TEST(SimFileFirstLine, ExerciseWordAndRefusals)
{
    EXPECT_EQ(Good(TemperatureHead()).exercise, Exercise::Temperature);
    // More words after the first space do not matter.
    EXPECT_EQ(Good(Crlf({"Temperature Simulation of Tuesday", "10", "45", "0", "True", "False",
                         "30", "20", "20"}))
                  .exercise,
              Exercise::Temperature);

    const std::string notOurs = "Line 1: VELMOR does not load KLN trends";
    EXPECT_EQ(Refused(Crlf({"Manual Simulation"})), notOurs);
    EXPECT_EQ(Refused(Crlf({"Pressure Simulation", "1"})), notOurs);
    EXPECT_EQ(Refused(Crlf({"Flow simulation"})), notOurs); // case matters
    EXPECT_EQ(Refused(""), notOurs);
    EXPECT_EQ(Refused(Crlf({"", "Flow Simulation"})), notOurs);
    // No space: the open exercise, and there must be one.
    EXPECT_EQ(Refused(Crlf({"Simulation"}), "frmMain"), notOurs);
    EXPECT_EQ(Refused(Crlf({"Simulation"}), "frmManual"), notOurs);
    EXPECT_EQ(
        Good(Crlf({"TemperatureSimulation", "10", "45", "0", "True", "False", "30", "20", "20"}),
             "frmTemperature")
            .exercise,
        Exercise::Temperature);
    // A named exercise wins over the open one.
    EXPECT_EQ(Good(TemperatureHead(), "frmFlow").exercise, Exercise::Temperature);
}

TEST(SimFileSettings, LinesByType)
{
    const SimFileLoad flow = Good(FlowHead("2,5", "3", "25", "3"));
    EXPECT_EQ(flow.settings.flowGain, 2.5f);
    EXPECT_EQ(flow.settings.flowIntegralTime, 3.0f);
    EXPECT_TRUE(flow.settings.flowIOn);
    EXPECT_FALSE(flow.settings.flowDOn);
    EXPECT_EQ(flow.settings.flowA, 1.5f);
    EXPECT_EQ(flow.settings.flowC, 25.0f);
    EXPECT_EQ(flow.settings.flowRate, 0.9f);
    EXPECT_EQ(flow.settings.waveformType, 3);
    EXPECT_EQ(flow.gateValvePercent, 70);
    EXPECT_FALSE(flow.settings.flowManual);
    EXPECT_EQ(flow.trendSpan, 60);

    // Flags are true exactly for "True".
    for (std::string_view flag : {"true", "TRUE", "True ", " True", "1", ""}) {
        const SimFileLoad t =
            Good(Crlf({"Temperature Simulation", "10", "45", "0", flag, "True", "30", "20", "20"}));
        EXPECT_FALSE(t.settings.tempIOn) << "'" << flag << "'";
        EXPECT_TRUE(t.settings.tempDOn);
    }

    EXPECT_EQ(Refused(FlowHead("1", "0.8", "25", "1.0")),
              "Line 12: '1.0' is not a valid integer value");
    EXPECT_EQ(Refused(FlowHead("one")), "Line 2: 'one' is not a valid floating point value");
    EXPECT_EQ(Refused(FlowHead("1e39")),
              "Line 2: '1e39' is out of range for a floating point value");
    EXPECT_EQ(Refused(Crlf({"Temperature Simulation", "10", "45", "0", "True"})),
              "Line 6: the file ends before its settings lines are complete");
}

TEST(SimFileSettings, DivisorsOfZeroAreRefusedNamingTheLine)
{
    EXPECT_EQ(Refused(FlowHead("0")),
              "Line 2: a PG of 0 is refused: PB = 100 / PG would divide by zero");
    EXPECT_EQ(Refused(FlowHead("1", "-0")),
              "Line 3: an I of 0 is refused: the integral action would divide by zero");
    EXPECT_EQ(Refused(FlowHead("1", "0.8", "0", "3")),
              "Line 9: a waveform period C of 0 is refused: the Sine waveform would divide by "
              "zero");
    EXPECT_EQ(Refused(Crlf({"Open Simulation", "80", "10", "0,0", "40", "1.1", "4", "30"})),
              "Line 4: a waveform period C of 0 is refused: the Step waveform would divide by "
              "zero");
    EXPECT_EQ(Refused(Crlf({"Level Simulation", "10", "20", "0", "True", "True", "80", "20", "0",
                            "5", "55", "50", "40"})),
              "Line 9: a waveform period C of 0 is refused: the Sawtooth waveform would divide by "
              "zero");
    // Flat and Ramp never divide by C (the Ramp's period is the time span).
    EXPECT_TRUE(Read(FlowHead("1", "0.8", "0", "1")).ok());
    EXPECT_TRUE(Read(FlowHead("1", "0.8", "0", "2")).ok());
    // Batch: the temperature loop's lines too.
    const std::string batchPg0 = Crlf({"Batch Simulation", "0.5", "5", "0", "True", "False", "1.5",
                                       "600", "0", "400", "0", "True", "True", "35", "18"});
    EXPECT_EQ(Refused(batchPg0).substr(0, 8), "Line 9: ");
    const std::string batchI0 = Crlf({"Batch Simulation", "0.5", "5", "0", "True", "False", "1.5",
                                      "600", "1", "0", "0", "True", "True", "35", "18"});
    EXPECT_EQ(Refused(batchI0).substr(0, 9), "Line 10: ");
    // D of 0 is the usual setting.
    EXPECT_TRUE(Read(TemperatureHead()).ok());
}

TEST(SimFileData, SemicolonsWithCommaDecimalsLoadLikeCommasWithPoints)
{
    const std::string head = TemperatureHead() + "Time,Temp Set Point,Temp Measured Value\r\n";
    const SimFileLoad a = Good(head + Crlf({"0,5;1,25;20,75", "0,6;1,5;-3"}));
    const SimFileLoad b = Good(head + Crlf({"0.5,1.25,20.75", "0.6,1.5,-3"}));
    for (bool comma : {false, true}) {
        const SimFileResult c =
            Read(head + Crlf({"0,5;1,25;20,75", "0,6;1,5;-3"}), "frmMain", comma);
        ASSERT_TRUE(c.ok());
        EXPECT_EQ(c.load->records, b.records);
    }
    ASSERT_EQ(a.sampleCount, 2);
    EXPECT_EQ(a.records, b.records);
    EXPECT_EQ(a.records[0].time, 0.5);
    EXPECT_EQ(a.records[0].field(kFieldTempSP), 1.25f);
    EXPECT_EQ(a.records[1].field(kFieldTempMV), -3.0f);
}

TEST(SimFileData, MissingAndExtraValues)
{
    const std::string head = TemperatureHead();
    // A missing value is empty: with a known column it stops the load.
    EXPECT_EQ(Refused(head + Crlf({"Time,Temp Set Point,Temp Measured Value", "1,2"})),
              "Line 11: '' is not a valid floating point value");
    // Once no separator is left the middle values are empty and the last
    // column takes the rest; an unknown middle column does not mind.
    const SimFileLoad m = Good(head + Crlf({"Time,Remark,Temp Set Point", "1,2"}));
    EXPECT_EQ(m.records[0].time, 1.0);
    EXPECT_EQ(m.records[0].field(kFieldTempSP), 2.0f);
    // Extra values end up in the last column's text: "2,3" reads as 2.3.
    const SimFileLoad x = Good(head + Crlf({"Time,Temp Set Point", "1,2,3"}));
    EXPECT_EQ(x.records[0].field(kFieldTempSP), 2.3f);
    EXPECT_EQ(Refused(head + Crlf({"Time,Temp Set Point", "1,2,3,4"})),
              "Line 11: '2,3,4' is not a valid floating point value");
    // Unknown names are skipped with their values, whatever the values are.
    const SimFileLoad u = Good(head + Crlf({"Time,time,Temp Set Point ,Temp Output", "1,x,y,9"}));
    EXPECT_EQ(u.records[0].field(kFieldHeater), 9.0f);
    EXPECT_EQ(u.records[0].field(kFieldTempSP), 0.0f);
}

TEST(SimFileData, ColumnNamesAndTheirFields)
{
    const SimFileLoad v =
        Good(TemperatureHead() + Crlf({"Time,Flow Volume,PID Area", "0,1.25,3", "0.1,-2,-4"}));
    ASSERT_EQ(v.sampleCount, 2);
    EXPECT_EQ(v.records[0].field(kFieldVolMV), 1.25f);
    EXPECT_EQ(v.records[0].segment, 3);
    EXPECT_EQ(v.records[1].segment, -4);
    const SimFileLoad w = Good(TemperatureHead() + Crlf({"Vol Measured Value,Time", "7,1"}));
    EXPECT_EQ(w.records[0].field(kFieldVolMV), 7.0f);
    EXPECT_EQ(Refused(TemperatureHead() + Crlf({"Time,PID Area", "0,1", "0.1,1.5"})),
              "Line 12: '1.5' is not a valid integer value");
    // Time is a 64-bit value: it may exceed a float's range.
    const SimFileLoad t = Good(TemperatureHead() + Crlf({"Time", "1e300"}));
    EXPECT_EQ(t.records[0].time, 1e300);
    EXPECT_EQ(Refused(TemperatureHead() + Crlf({"Time,Temp PG", "0,1e39"})),
              "Line 11: '1e39' is out of range for a floating point value");
}

TEST(SimFileData, ErrorsNameTheLine)
{
    std::string text = FlowHead() + "Time,Flow Set Point\r\n";
    for (int line = 16; line < 57; ++line) {
        text += ShortestText((line - 16) / 10.0) + ",1\r\n";
    }
    text += "4.1,1.2.3\r\n5,1\r\n";
    EXPECT_EQ(Refused(text), "Line 57: '1.2.3' is not a valid floating point value");

    // The text is Windows-1252; the message is UTF-8.
    EXPECT_EQ(Refused(TemperatureHead() + Crlf({"Time", "\xe9t\xe9\x80"})),
              "Line 11: '\xc3\xa9t\xc3\xa9\xe2\x82\xac' is not a valid floating point value");
    // A runaway value is cut short in the message.
    const std::string longText(5000, 'x');
    const std::string m = Refused(TemperatureHead() + "Time\r\n" + longText + "\r\n");
    EXPECT_LT(m.size(), 300u);
    EXPECT_NE(m.find("xxx...'"), std::string::npos);
}

TEST(SimFileData, EqualsSignJoinsOneLine)
{
    const std::string head = TemperatureHead() + "Time,Temp Set Point,Temp Output\r\n";
    const SimFileLoad j = Good(head + Crlf({"0,30,=", "100", "0.1,3=", "1,50"}));
    ASSERT_EQ(j.sampleCount, 2);
    EXPECT_EQ(j.records[0].field(kFieldHeater), 100.0f);
    EXPECT_EQ(j.records[1].field(kFieldTempSP), 31.0f);
    EXPECT_EQ(j.records[1].field(kFieldHeater), 50.0f);
    // One join per data line: a joined line ending in "=" keeps it.
    EXPECT_EQ(Refused(head + Crlf({"0,30,1=", "0=", "1"})),
              "Line 11: '10=' is not a valid floating point value");
    // A fault in the joined-on part names the second physical line.
    EXPECT_EQ(Refused(head + Crlf({"0,30,=", "x"})),
              "Line 12: 'x' is not a valid floating point value");
    EXPECT_EQ(Refused(head + Crlf({"0,=", "x,1"})),
              "Line 12: 'x' is not a valid floating point value");
    // "=" on the last line joins with nothing.
    const SimFileLoad e = Good(head + Crlf({"0,30,5="}));
    EXPECT_EQ(e.records[0].field(kFieldHeater), 5.0f);
}

TEST(SimFileData, EndOfFileAndBlankLines)
{
    const std::string head = TemperatureHead() + "Time,Temp Set Point\r\n";
    const SimFileLoad withBreak = Good(head + "0,30\r\n0.1,31\r\n");
    const SimFileLoad without = Good(head + "0,30\r\n0.1,31");
    const SimFileLoad lfOnly = Good("Temperature Simulation\n10\n45\n0\nTrue\nFalse\n30\n20\n20\n"
                                    "Time,Temp Set Point\n0,30\n0.1,31\n");
    EXPECT_EQ(withBreak.sampleCount, 2);
    EXPECT_EQ(without.records, withBreak.records);
    EXPECT_EQ(lfOnly.records, withBreak.records);
    EXPECT_EQ(lfOnly.settings, withBreak.settings);

    EXPECT_EQ(Refused(head + "0,30\r\n\r\n0.1,31\r\n"),
              "Line 12: '' is not a valid floating point value");
    EXPECT_EQ(Refused(head + "0,30\r\n0.1,31\r\n\r\n"),
              "Line 13: '' is not a valid floating point value");
    // A file that stops after its settings (or its column line) holds no trend.
    EXPECT_EQ(Good(TemperatureHead()).sampleCount, 0);
    EXPECT_EQ(Good(head).sampleCount, 0);
}

TEST(SimFileSecondIndex, FilledSecondsAndEntries)
{
    const std::string head = TemperatureHead() + "Time,Temp Set Point\r\n";
    auto upTo = [&](int tenths, std::string_view extra = {}) {
        std::string t = head;
        for (int k = 0; k <= tenths; ++k) {
            t += ShortestText(k / 10.0) + ",30\r\n";
        }
        if (!extra.empty()) {
            t += std::string(extra) + ",30\r\n";
        }
        return Good(t);
    };
    const SimFileLoad a = upTo(599);
    EXPECT_EQ(a.secondIndexFilled, 60);
    EXPECT_EQ(a.sampleCount, 600);
    EXPECT_EQ(a.secondIndex[0], 1);
    for (int s = 1; s < 60; ++s) {
        ASSERT_EQ(a.secondIndex[static_cast<std::size_t>(s)], 10 * s + 1) << s;
    }
    for (int s = 60; s <= 780; ++s) {
        ASSERT_EQ(a.secondIndex[static_cast<std::size_t>(s)], 600) << s;
    }
    const SimFileLoad b = upTo(600);
    EXPECT_EQ(b.secondIndexFilled, 60);
    EXPECT_EQ(b.secondIndex[60], 601);
    EXPECT_EQ(b.secondIndex[61], 601);
    const SimFileLoad c = upTo(600, "60.02");
    EXPECT_EQ(c.secondIndexFilled, 61);

    // At most one entry per data line: a jump in time fills one second only.
    const SimFileLoad j = Good(head + Crlf({"0,1", "5,1", "5.1,1", "5.2,1"}));
    EXPECT_EQ(j.secondIndex[1], 2);
    EXPECT_EQ(j.secondIndex[2], 3);
    EXPECT_EQ(j.secondIndex[3], 4);
    EXPECT_EQ(j.secondIndex[4], 4);
    EXPECT_EQ(j.secondIndexFilled, 6); // Trunc(5.2 + 0.99)
}

TEST(SimFileSecondIndex, LineWithoutTimeKeepsTheTimeBefore)
{
    // No Time column: every line keeps the time the buffer had, which for a
    // new file is 0, never the last time of a file read before it.
    const std::string head = TemperatureHead();
    const SimFileLoad before = Good(head + Crlf({"Time,Temp Set Point", "0,1", "9.5,2"}));
    EXPECT_EQ(before.records[1].time, 9.5);
    const SimFileLoad n = Good(head + Crlf({"Temp Set Point,Temp Output", "3,4", "5,6"}));
    ASSERT_EQ(n.sampleCount, 2);
    EXPECT_EQ(n.records[0].time, 0.0);
    EXPECT_EQ(n.records[1].time, 0.0);
    EXPECT_EQ(n.secondIndex[1], 2); // nothing entered while loading
    EXPECT_EQ(n.secondIndexFilled, 0);
    // Fields a file has no column for start from zero in every file.
    const SimFileLoad other = Good(head + Crlf({"Time", "1"}));
    EXPECT_EQ(other.records[0].field(kFieldTempSP), 0.0f);
}

TEST(SimFileLimits, MoreThan6000LinesAndTimesPast780Seconds)
{
    std::string text = TemperatureHead() + "Time,Temp Set Point\r\n";
    for (int k = 0; k < 6004; ++k) {
        text += ShortestText(k * 0.25) + ",1\r\n";
    }
    text += "1=\r\n,2\r\n";     // one more data line, continued
    text += "not a number\r\n"; // left out, so not read
    const SimFileLoad load = Good(text);
    EXPECT_EQ(load.sampleCount, 6000);
    EXPECT_EQ(load.records.size(), 6000u);
    EXPECT_EQ(load.records.back().time, 5999 * 0.25);
    EXPECT_EQ(load.linesLeftOut, 6);
    EXPECT_EQ(load.warning, "6 data lines were left out: the log holds 6000 records.");
    // Seconds past 780 are not indexed and never written past the index.
    EXPECT_EQ(load.secondIndex[780], 3121);
    EXPECT_EQ(load.secondIndexFilled, 781);

    const SimFileLoad far = Good(TemperatureHead() + Crlf({"Time", "0", "1e9", "-5"}));
    EXPECT_EQ(far.secondIndex[1], 2);
    EXPECT_EQ(far.secondIndex[2], 3);
    EXPECT_EQ(far.secondIndexFilled, 0); // the last time is negative

    const SimFileLoad one = Good(TemperatureHead() + "Time\r\n" + [] {
        std::string t;
        for (int k = 0; k < 6001; ++k) {
            t += "1\r\n";
        }
        return t;
    }());
    EXPECT_EQ(one.warning, "1 data line was left out: the log holds 6000 records.");
}

TEST(SimFileApply, RefusedOrMisdirectedLoadsChangeNothing)
{
    VelmorState s;
    OpenExerciseState(s, Exercise::Flow, false);
    const SimFileLoad temp = Good(TemperatureHead() + Crlf({"Time", "0"}));
    const SimSettings before = s.simSettings;
    const float gain = s.temp.tempGain;
    // The Temperature exercise is not open: nothing is applied.
    EXPECT_FALSE(ApplySimFileSettings(s, temp) && ApplySimFileTrend(s, temp));
    EXPECT_EQ(s.simSettings, before);
    EXPECT_EQ(s.trend.trendSpan, 60);
    EXPECT_EQ(s.temp.tempGain, gain);
    EXPECT_EQ(s.run.sampleCount, 0);
    EXPECT_FALSE(s.trend.trendNoData);

    // Flow file: its gate valve line goes to the Trends window's gate.
    const SimFileLoad flow = Good(FlowHead("2") + Crlf({"Time,Flow Set Point", "0,1", "0.1,1.5"}));
    ASSERT_TRUE(ApplySimFileSettings(s, flow) && ApplySimFileTrend(s, flow));
    EXPECT_EQ(s.run.gateValvePercent, 70);
    EXPECT_EQ(s.flow.flowGain, 2.0f);
    EXPECT_EQ(s.flow.flowBand, 50.0f);
    EXPECT_FALSE(s.flow.chkD);
    EXPECT_EQ(s.run.sampleCount, 2);
    EXPECT_EQ(s.log.record(2).field(kFieldFlowSP), 1.5f);

    // A settings-only file leaves nothing to browse.
    const SimFileLoad empty = Good(FlowHead("3"));
    ASSERT_TRUE(ApplySimFileSettings(s, empty) && ApplySimFileTrend(s, empty));
    EXPECT_EQ(s.run.sampleCount, 0);
    EXPECT_TRUE(s.trend.trendNoData);
    EXPECT_EQ(s.flow.flowGain, 3.0f);
}
