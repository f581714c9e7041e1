#include "ui/trends/TraceTexts.h"

#include "core/trends/TrendText.h"
#include "ui/common/Language.h"

#include <array>

#include <QCoreApplication>

namespace velmor {

namespace {

struct TraceWords {
    const char* name; // English source text
    int decimals;
    const char* unit; // UTF-8
};

// "Pump Output" is also a check box's text, translated differently there:
// the read-out's has the disambiguation "read-out".
struct Disambiguated {
    const char* source;
    const char* comment;
};
constexpr Disambiguated kPumpReadOut = QT_TRANSLATE_NOOP3("TfrmGraph", "Pump Output", "read-out");

// In the order of the trace table.
constexpr std::array<TraceWords, kTraceCount> kWords{{
    {QT_TRANSLATE_NOOP("TfrmGraph", "Flow Set Point"), 2, "L/min"},
    {QT_TRANSLATE_NOOP("TfrmGraph", "Flow Measured Value"), 2, "L/min"},
    {kPumpReadOut.source, 0, "%"},
    {QT_TRANSLATE_NOOP("TfrmGraph", "Temperature Set Point"), 2, "\u00b0C"},
    {QT_TRANSLATE_NOOP("TfrmGraph", "Temperature Measured Value"), 2, "\u00b0C"},
    {QT_TRANSLATE_NOOP("TfrmGraph", "Temperature Output"), 0, "%"},
    {QT_TRANSLATE_NOOP("TfrmGraph", "Volume Set Point"), 2, "L"},
    {QT_TRANSLATE_NOOP("TfrmGraph", "Volume Measured Value"), 2, "L"},
    {QT_TRANSLATE_NOOP("TfrmGraph", "Fluid Level Set Point"), 0, "%"},
    {QT_TRANSLATE_NOOP("TfrmGraph", "Fluid Level Measured Value"), 0, "%"},
}};

const TraceWords& WordsOf(TraceId trace)
{
    return kWords[static_cast<std::size_t>(trace)];
}

} // namespace

QString TraceName(TraceId trace)
{
    return QCoreApplication::translate("TfrmGraph", WordsOf(trace).name,
                                       trace == TraceId::FlowQ ? kPumpReadOut.comment : nullptr);
}

QString TraceUnit(TraceId trace)
{
    return QString::fromUtf8(WordsOf(trace).unit);
}

QString TraceValueText(TraceId trace, float value, char decimalMark)
{
    return QString::fromStdString(FormatFixed(value, 4, WordsOf(trace).decimals, decimalMark));
}

} // namespace velmor
