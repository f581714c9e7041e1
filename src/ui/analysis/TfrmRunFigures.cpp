#include "ui/analysis/TfrmRunFigures.h"

#include "core/rundata/SampleLog.h"
#include "ui/analysis/FiguresTable.h"
#include "ui/common/Language.h"
#include "ui/common/ValueBox.h"

#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

namespace velmor {

namespace {

constexpr const char* kRunFiguresContext = "TfrmRunFigures";

// The exercise profiles' loop titles, listed here so that the translation
// catalogue picks them up.
[[maybe_unused]] constexpr const char* kLoopTitles[] = {
    QT_TRANSLATE_NOOP("TfrmRunFigures", "Flow"),
    QT_TRANSLATE_NOOP("TfrmRunFigures", "Temperature"),
    QT_TRANSLATE_NOOP("TfrmRunFigures", "Volume"),
    QT_TRANSLATE_NOOP("TfrmRunFigures", "Level"),
};

QString Figure(std::optional<double> value, int precision = 4)
{
    return value ? FormatGeneral(*value, precision) : QString::fromUtf8("\u2013");
}

constexpr int kColumns = 11;
constexpr int kStepColumns = 10;

void SetRow(QTableWidget* grid, int row, const QStringList& cells, int leftColumns)
{
    for (int column = 0; column < cells.size(); ++column) {
        auto* item = new QTableWidgetItem(cells[column]);
        item->setTextAlignment(column < leftColumns ? Qt::AlignLeft | Qt::AlignVCenter
                                                    : Qt::AlignRight | Qt::AlignVCenter);
        grid->setItem(row, column, item);
    }
}

} // namespace

TfrmRunFigures::TfrmRunFigures(VelmorState& state, std::function<int()> cursorRecord,
                               QWidget* parent)
    : QWidget(parent, Qt::Window), m_state(state), m_cursorRecord(std::move(cursorRecord))
{
    setObjectName(QStringLiteral("frmRunFigures"));
    grdFigures = MakeFiguresTable(kColumns, this);
    grdSteps = MakeFiguresTable(kStepColumns, this);
    lblSegment = new QLabel(this);
    lblSegment->setWordWrap(true);
    connect(grdFigures, &QTableWidget::itemSelectionChanged, this, [this] { showSegment(); });
    lblNoData = new QLabel(this);
    lblNoData->setWordWrap(true);
    lblNote = new QLabel(this);
    lblNote->setWordWrap(true);
    btnCopy = new QPushButton(this);
    btnClose = new QPushButton(this);
    connect(btnCopy, &QPushButton::clicked, this,
            [this] { QApplication::clipboard()->setText(tableText()); });
    connect(btnClose, &QPushButton::clicked, this, &QWidget::hide);
    // Read top to bottom: the segments, the chosen segment's steps, the
    // buttons.
    QWidget* order[] = {grdFigures, grdSteps, btnCopy, btnClose};
    for (std::size_t k = 1; k < std::size(order); ++k) {
        QWidget::setTabOrder(order[k - 1], order[k]);
    }

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(lblNote, 1);
    buttons->addWidget(btnCopy);
    buttons->addWidget(btnClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblNoData);
    layout->addWidget(grdFigures, 2);
    layout->addWidget(lblSegment);
    layout->addWidget(grdSteps, 3);
    layout->addLayout(buttons);
    // Wide enough for both tables in either language, never past the screen.
    const QScreen* screen = this->screen();
    const int available = screen != nullptr ? screen->availableGeometry().width() - 16 : 840;
    resize(std::min(840, available), 480);
    SetLanguage();
}

void TfrmRunFigures::SetLanguage()
{
    const auto text = [](const char* english) {
        return QCoreApplication::translate(kRunFiguresContext, english);
    };
    setWindowTitle(text(QT_TRANSLATE_NOOP("TfrmRunFigures", "Run figures")));
    btnCopy->setText(text(QT_TRANSLATE_NOOP("TfrmRunFigures", "Copy table")));
    btnClose->setText(text(QT_TRANSLATE_NOOP("TfrmRunFigures", "Close")));
    // The two tables read with the words of their note.
    grdFigures->setAccessibleName(text(QT_TRANSLATE_NOOP("TfrmRunFigures", "Segments")));
    grdSteps->setAccessibleName(text(QT_TRANSLATE_NOOP("TfrmRunFigures", "Steps")));
    lblNoData->setText(text(QT_TRANSLATE_NOOP(
        "TfrmRunFigures", "No controlled loop in this run: an open-loop run has no set point.")));
    lblNote->setText(text(QT_TRANSLATE_NOOP(
        "TfrmRunFigures", "Upper table: overshoot, settling and rise of each segment's first "
                          "step (in the first segment, the start step when the run starts "
                          "away from its set point).")));
    // The notes that explain a table are read with it.
    grdFigures->setAccessibleDescription(lblNote->text());
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
    grdSteps->setHorizontalHeaderLabels({
        text(QT_TRANSLATE_NOOP("TfrmRunFigures", "Step")),
        text(QT_TRANSLATE_NOOP("TfrmRunFigures", "Step at (s)")),
        text(QT_TRANSLATE_NOOP("TfrmRunFigures", "From")),
        text(QT_TRANSLATE_NOOP("TfrmRunFigures", "To")),
        text(QT_TRANSLATE_NOOP("TfrmRunFigures", "Rise (s)")),
        text(QT_TRANSLATE_NOOP("TfrmRunFigures", "Peak")),
        text(QT_TRANSLATE_NOOP("TfrmRunFigures", "Peak at (s)")),
        text(QT_TRANSLATE_NOOP("TfrmRunFigures", "Overshoot (%)")),
        text(QT_TRANSLATE_NOOP("TfrmRunFigures", "Settling (s)")),
        text(QT_TRANSLATE_NOOP("TfrmRunFigures", "Steady-state error")),
    });
    fill();
}

void TfrmRunFigures::Refresh(Exercise exercise)
{
    m_exercise = exercise;
    const std::span<const SampleRecord> records =
        LoggedRecords(m_state.log, m_state.run.sampleCount);
    m_rows.clear(); // they point into the figures replaced now
    m_figures = AnalyseRun(records, exercise, m_state.run.samplePeriod);
    fill();
}

void TfrmRunFigures::fill()
{
    // The keyboard's place in the table stays where it was (a change of
    // language fills the table again).
    const int currentRow = grdFigures->currentRow();
    const int currentColumn = grdFigures->currentColumn();
    m_rows.clear();
    grdFigures->setRowCount(0);
    lblNoData->setVisible(m_figures.loops.empty());
    for (const LoopFigures& loop : m_figures.loops) {
        const LoopTraces& traces = loop.loop;
        for (const SegmentFigures& segment : loop.segments) {
            const SampleRecord& first = m_state.log.record(segment.firstRecord);
            const StepFigures* step = segment.steps.empty() ? nullptr : &segment.steps.front();
            const QStringList cells = {
                QCoreApplication::translate(kRunFiguresContext, traces.title),
                QString::number(segment.segment),
                FormatFixed(segment.start, 1),
                FormatGeneral(first.field(traces.gainField), 4),
                FormatGeneral(first.field(traces.integralField), 4),
                FormatGeneral(first.field(traces.derivativeField), 4),
                Figure(segment.iae),
                QString::number(segment.steps.size()),
                step != nullptr ? FormatFixed(step->overshootPercent, 1) : Figure({}),
                step != nullptr ? Figure(step->settlingTime) : Figure({}),
                step != nullptr ? Figure(step->riseTime) : Figure({}),
            };
            const int row = grdFigures->rowCount();
            grdFigures->insertRow(row);
            SetRow(grdFigures, row, cells, 1);
            m_rows.push_back({segment.firstRecord, segment.lastRecord, &loop, &segment});
        }
    }
    if (currentRow >= 0 && currentRow < grdFigures->rowCount()) {
        grdFigures->setCurrentCell(currentRow, currentColumn, QItemSelectionModel::NoUpdate);
    }
    highlightCursorSegment();
    showSegment();
}

int TfrmRunFigures::shownRow() const
{
    const QList<QTableWidgetItem*> selected = grdFigures->selectedItems();
    if (!selected.isEmpty()) {
        return selected.front()->row();
    }
    return m_rows.empty() ? -1 : 0;
}

void TfrmRunFigures::showSegment()
{
    grdSteps->setRowCount(0);
    const int row = shownRow();
    if (row < 0 || row >= static_cast<int>(m_rows.size())) {
        lblSegment->clear();
        grdSteps->setAccessibleDescription(QString());
        return;
    }
    const RowSpan& span = m_rows[static_cast<std::size_t>(row)];
    const SegmentFigures& segment = *span.segment;
    lblSegment->setText(
        QCoreApplication::translate(
            kRunFiguresContext,
            QT_TRANSLATE_NOOP("TfrmRunFigures",
                              "%1, segment %2: ISE %3, ITAE %4, output variation %5 %; "
                              "its steps:"))
            .arg(QCoreApplication::translate(kRunFiguresContext, span.loop->loop.title))
            .arg(segment.segment)
            .arg(Figure(segment.ise), Figure(segment.itae), Figure(segment.outputTotalVariation)));
    grdSteps->setAccessibleDescription(lblSegment->text());
    const QString start = QCoreApplication::translate(kRunFiguresContext,
                                                      QT_TRANSLATE_NOOP("TfrmRunFigures", "start"));
    for (const StepFigures& step : segment.steps) {
        const int r = grdSteps->rowCount();
        grdSteps->insertRow(r);
        // Steps are numbered in their segment; the start step is named.
        SetRow(grdSteps, r,
               {step.start ? start : QString::number(r + 1), FormatFixed(step.time, 1),
                FormatGeneral(step.from, 4), FormatGeneral(step.to, 4), Figure(step.riseTime),
                FormatGeneral(step.peak, 4), FormatGeneral(step.peakTime, 4),
                FormatFixed(step.overshootPercent, 1), Figure(step.settlingTime),
                FormatGeneral(step.steadyStateError, 3)},
               1);
    }
}

int TfrmRunFigures::highlightedRow() const
{
    const int record = m_cursorRecord ? m_cursorRecord() : 0;
    if (record < 1) {
        return -1;
    }
    for (std::size_t row = 0; row < m_rows.size(); ++row) {
        if (record >= m_rows[row].first && record <= m_rows[row].last) {
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

void TfrmRunFigures::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        SetLanguage();
    }
    QWidget::changeEvent(event);
}

} // namespace velmor
