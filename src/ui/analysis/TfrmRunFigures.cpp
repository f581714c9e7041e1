#include "ui/analysis/TfrmRunFigures.h"

#include "core/rundata/SampleLog.h"
#include "ui/exercises/ValueBox.h"
#include "ui/shell/Language.h"

#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace velmor {

namespace {

constexpr const char* kContext = "TfrmRunFigures";

// Where a loop's controller settings are logged: PG, I, D.
struct SettingsFieldsOf {
    int pg;
    int i;
    int d;
};

SettingsFieldsOf SettingsFields(LoopKind loop)
{
    switch (loop) {
    case LoopKind::Flow:
        return {kFieldFlowPG, kFieldFlowI, kFieldFlowD};
    case LoopKind::Temperature:
        return {kFieldTempPG, kFieldTempI, kFieldTempD};
    case LoopKind::Volume:
        return {kFieldVolPG, kFieldVolI, kFieldVolD};
    case LoopKind::Level:
        return {kFieldLevelPG, kFieldLevelI, kFieldLevelD};
    }
    return {kFieldFlowPG, kFieldFlowI, kFieldFlowD};
}

const char* LoopTitle(LoopKind loop)
{
    switch (loop) {
    case LoopKind::Flow:
        return QT_TRANSLATE_NOOP("TfrmRunFigures", "Flow");
    case LoopKind::Temperature:
        return QT_TRANSLATE_NOOP("TfrmRunFigures", "Temperature");
    case LoopKind::Volume:
        return QT_TRANSLATE_NOOP("TfrmRunFigures", "Volume");
    case LoopKind::Level:
        return QT_TRANSLATE_NOOP("TfrmRunFigures", "Level");
    }
    return "";
}

QString Figure(std::optional<double> value, int precision = 4)
{
    return value ? FormatGeneral(*value, precision) : QString::fromUtf8("\u2013");
}

constexpr int kColumns = 11;

} // namespace

TfrmRunFigures::TfrmRunFigures(VelmorState& state, QWidget* parent)
    : QWidget(parent, Qt::Window), m_state(state)
{
    setObjectName(QStringLiteral("frmRunFigures"));
    grdFigures = new QTableWidget(0, kColumns, this);
    grdFigures->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdFigures->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdFigures->setSelectionMode(QAbstractItemView::SingleSelection);
    grdFigures->verticalHeader()->hide();
    grdFigures->verticalHeader()->setDefaultSectionSize(grdFigures->fontMetrics().height() + 6);
    grdFigures->horizontalHeader()->setStretchLastSection(true);
    grdFigures->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    lblNoData = new QLabel(this);
    lblNoData->setWordWrap(true);
    lblNote = new QLabel(this);
    lblNote->setWordWrap(true);
    btnCopy = new QPushButton(this);
    btnClose = new QPushButton(this);
    connect(btnCopy, &QPushButton::clicked, this,
            [this] { QApplication::clipboard()->setText(tableText()); });
    connect(btnClose, &QPushButton::clicked, this, &QWidget::hide);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(lblNote, 1);
    buttons->addWidget(btnCopy);
    buttons->addWidget(btnClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblNoData);
    layout->addWidget(grdFigures);
    layout->addLayout(buttons);
    resize(760, 320);
    SetLanguage();
}

void TfrmRunFigures::SetLanguage()
{
    const ShellState& shell = m_state.shell;
    const auto text = [&shell](const char* english) { return LangText(shell, kContext, english); };
    setWindowTitle(text(QT_TRANSLATE_NOOP("TfrmRunFigures", "Run figures")));
    btnCopy->setText(text(QT_TRANSLATE_NOOP("TfrmRunFigures", "Copy table")));
    btnClose->setText(text(QT_TRANSLATE_NOOP("TfrmRunFigures", "Close")));
    lblNoData->setText(text(QT_TRANSLATE_NOOP(
        "TfrmRunFigures", "No controlled loop in this run: an open-loop run has no set point.")));
    lblNote->setText(text(QT_TRANSLATE_NOOP(
        "TfrmRunFigures",
        "Overshoot, settling and rise: the first set-point step of each segment.")));
    grdFigures->setHorizontalHeaderLabels({
        text(QT_TRANSLATE_NOOP("TfrmRunFigures", "Loop")),
        text(QT_TRANSLATE_NOOP("TfrmRunFigures", "Segment")),
        text(QT_TRANSLATE_NOOP("TfrmRunFigures", "Start (s)")),
        text(QT_TRANSLATE_NOOP("TfrmRunFigures", "PG")),
        text(QT_TRANSLATE_NOOP("TfrmRunFigures", "I")),
        text(QT_TRANSLATE_NOOP("TfrmRunFigures", "D")),
        text(QT_TRANSLATE_NOOP("TfrmRunFigures", "IAE")),
        text(QT_TRANSLATE_NOOP("TfrmRunFigures", "Steps")),
        text(QT_TRANSLATE_NOOP("TfrmRunFigures", "Overshoot (%)")),
        text(QT_TRANSLATE_NOOP("TfrmRunFigures", "Settling (s)")),
        text(QT_TRANSLATE_NOOP("TfrmRunFigures", "Rise (s)")),
    });
    fill();
}

void TfrmRunFigures::Refresh(Exercise exercise)
{
    m_exercise = exercise;
    const std::span<const SampleRecord> records =
        LoggedRecords(m_state.log, m_state.run.sampleCount);
    m_figures = AnalyseRun(records, exercise, m_state.run.samplePeriod);
    fill();
}

void TfrmRunFigures::fill()
{
    grdFigures->setRowCount(0);
    m_rows.clear();
    lblNoData->setVisible(m_figures.loops.empty());
    const ShellState& shell = m_state.shell;
    for (const LoopFigures& loop : m_figures.loops) {
        const SettingsFieldsOf fields = SettingsFields(loop.loop);
        for (const SegmentFigures& segment : loop.segments) {
            const SampleRecord& first = m_state.log.record(segment.firstRecord);
            const StepFigures* step = segment.steps.empty() ? nullptr : &segment.steps.front();
            const QStringList cells = {
                LangText(shell, kContext, LoopTitle(loop.loop)),
                QString::number(segment.segment),
                FormatFixed(segment.start, 1),
                FormatGeneral(first.field(fields.pg), 4),
                FormatGeneral(first.field(fields.i), 4),
                FormatGeneral(first.field(fields.d), 4),
                Figure(segment.iae),
                QString::number(segment.steps.size()),
                step != nullptr ? FormatFixed(step->overshootPercent, 1) : Figure({}),
                step != nullptr ? Figure(step->settlingTime) : Figure({}),
                step != nullptr ? Figure(step->riseTime) : Figure({}),
            };
            const int row = grdFigures->rowCount();
            grdFigures->insertRow(row);
            for (int column = 0; column < kColumns; ++column) {
                auto* item = new QTableWidgetItem(cells[column]);
                item->setTextAlignment(column == 0 ? Qt::AlignLeft | Qt::AlignVCenter
                                                   : Qt::AlignRight | Qt::AlignVCenter);
                grdFigures->setItem(row, column, item);
            }
            m_rows.push_back({segment.firstRecord, segment.lastRecord});
        }
    }
    highlightCursorSegment();
}

int TfrmRunFigures::highlightedRow() const
{
    const TrendViewState& tv = m_state.trend;
    if (!tv.cursorShown || tv.cursorRecord < 1) {
        return -1;
    }
    for (std::size_t row = 0; row < m_rows.size(); ++row) {
        if (tv.cursorRecord >= m_rows[row].first && tv.cursorRecord <= m_rows[row].last) {
            return static_cast<int>(row);
        }
    }
    return -1;
}

void TfrmRunFigures::highlightCursorSegment()
{
    const int row = highlightedRow();
    grdFigures->clearSelection();
    if (row >= 0) {
        grdFigures->selectRow(row);
        grdFigures->scrollToItem(grdFigures->item(row, 0));
    }
}

QString TfrmRunFigures::tableText() const
{
    QStringList lines;
    QStringList header;
    for (int column = 0; column < grdFigures->columnCount(); ++column) {
        header << grdFigures->horizontalHeaderItem(column)->text();
    }
    lines << header.join(QLatin1Char('\t'));
    for (int row = 0; row < grdFigures->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < grdFigures->columnCount(); ++column) {
            cells << grdFigures->item(row, column)->text();
        }
        lines << cells.join(QLatin1Char('\t'));
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

void TfrmRunFigures::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    highlightCursorSegment();
}

} // namespace velmor
