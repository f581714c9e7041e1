// The one-page lab report of a run (File > Print, velmor --print-pdf): a
// title with the exercise, the file and the date; the trend of the whole run
// or of the shown view, drawn as lines at the printer's resolution with the
// Trends window's colours, scales, grid, settings marks and a legend; the
// settings in force per settings segment (or the set-point waveform); the
// final values.
#pragma once

#include "core/exercises/Exercise.h"
#include "core/rundata/State.h"
#include "core/trends/TrendTables.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <vector>

class QPagedPaintDevice;
class QPageSize;

namespace velmor {

enum class ReportRange { WholeRun, ShownView };

struct ReportSource {
    VelmorState& state;
    Exercise exercise;
    QString fileName; // without its folder; empty when the run is not from a file
    std::array<bool, kTraceCount> shown{}; // traces on the trend, as checked
    ReportRange range = ReportRange::WholeRun;
    QDateTime printedAt;
    std::int32_t viewStart = 0; // s, the Trends window's view (ShownView) starts here
};

// The traces an exercise's Trends window shows at first.
std::array<bool, kTraceCount> DefaultTraces(Exercise e);

// What the page says, in the language in force.
struct ReportContent {
    QString title;        // "Lab report: Flow"
    QStringList subtitle; // file, date and time
    QString rangeText;    // "Whole run: 0 to 60 s, 601 samples"
    double from = 0;      // s, left edge of the trend
    double to = 60;       // s, right edge
    int firstRecord = 1;  // records drawn (1-based, inclusive)
    int lastRecord = 0;
    QString leftUnit;
    QString rightUnit;
    QString settingsHeading;
    QStringList tableHeader;        // "From (s)", then the loops' PG, PB, I, D
    std::vector<QStringList> table; // one row per settings segment
    QString waveform;               // the set-point waveform, where there is one
    QString finalHeading;
    std::vector<std::pair<QString, QString>> finalValues; // name, value with unit
};

ReportContent BuildReport(const ReportSource& source);

// The printed line of a trace: its own dash pattern (dash and gap lengths
// in pen widths; none for a solid line), so that the traces one exercise
// shows are told apart on a grey printer or by a reader who does not see
// the colours: measured values solid, set points dashed, outputs dotted.
QList<qreal> ReportDashes(TraceId trace);

// A4, or Letter where the locale measures in inches.
QPageSize DefaultReportPageSize();

// Paints the report on one page of `device` (a printer or a PDF writer).
void PaintReport(QPagedPaintDevice& device, const ReportSource& source);

// The report as the bytes of a PDF file.
QByteArray ReportPdf(const ReportSource& source);

// The report as a PDF file, written in one step (an existing file stays
// whole if writing fails). Empty on success, else the reason.
QString WriteReportPdf(const QString& path, const ReportSource& source);

} // namespace velmor
