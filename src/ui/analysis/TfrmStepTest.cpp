#include "ui/analysis/TfrmStepTest.h"

#include "core/analysis/ResponseFigures.h"
#include "core/rundata/SampleLog.h"
#include "ui/analysis/FiguresTable.h"
#include "ui/common/Language.h"
#include "ui/common/ValueBox.h"

#include <QCoreApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <utility>

namespace velmor {

namespace {

constexpr const char* kStepTestContext = "TfrmStepTest";

// y(t) of a model for a step at t0 from y0 by du.
double ModelAt(const FopdtModel& m, double t0, double y0, double du, double t)
{
    const double since = t - t0 - m.deadTime;
    if (since <= 0) {
        return y0;
    }
    return y0 + m.gain * du * (1 - std::exp(-since / m.timeConstant));
}

} // namespace

StepPlot::StepPlot(QWidget* parent) : PanelItem(QRect(), parent)
{
    setMinimumSize(300, 200);
}

void StepPlot::setCurves(std::vector<double> t, std::vector<double> measured,
                         std::vector<double> fitted)
{
    m_t = std::move(t);
    m_measured = std::move(measured);
    m_fitted = std::move(fitted);
    update();
}

void StepPlot::paintEvent(QPaintEvent* event)
{
    {
        QPainter p(this);
        p.fillRect(rect(), Qt::black);
        paintCurves(p);
    }
    PanelItem::paintEvent(event); // the focus frame
}

void StepPlot::paintCurves(QPainter& p)
{
    if (m_t.size() < 2) {
        return;
    }
    double low = *std::min_element(m_measured.begin(), m_measured.end());
    double high = *std::max_element(m_measured.begin(), m_measured.end());
    for (double y : m_fitted) {
        low = std::min(low, y);
        high = std::max(high, y);
    }
    const double margin = std::max((high - low) * 0.1, 0.01);
    low -= margin;
    high += margin;
    const QRectF area = QRectF(rect()).adjusted(44, 10, -10, -24);
    const double t0 = m_t.front();
    const double span = std::max(m_t.back() - t0, 1e-9);
    const auto at = [&](double t, double y) {
        return QPointF(area.left() + (t - t0) / span * area.width(),
                       area.bottom() - (y - low) / (high - low) * area.height());
    };
    // Grid and scale: five flows, five times.
    p.setFont(PanelFont(7, false));
    for (int k = 0; k <= 4; ++k) {
        const double y = low + (high - low) * k / 4;
        const double t = t0 + span * k / 4;
        p.setPen(QPen(QColor(70, 70, 70), 0, Qt::DotLine));
        p.drawLine(at(t0, y), at(t0 + span, y));
        p.drawLine(at(t, low), at(t, high));
        p.setPen(QColor(200, 200, 200));
        p.drawText(QRectF(0, at(t0, y).y() - 7, 40, 14), Qt::AlignRight | Qt::AlignVCenter,
                   FormatFixed(y, 2));
        p.drawText(QRectF(at(t, low).x() - 25, area.bottom() + 4, 50, 14), Qt::AlignCenter,
                   FormatFixed(t, 1));
    }
    p.setRenderHint(QPainter::Antialiasing);
    const auto curve = [&](const std::vector<double>& ys) {
        QPainterPath path(at(m_t[0], ys[0]));
        for (std::size_t k = 1; k < ys.size(); ++k) {
            path.lineTo(at(m_t[k], ys[k]));
        }
        return path;
    };
    p.setPen(QPen(QColor(0, 255, 255), 1.5));
    p.drawPath(curve(m_measured));
    if (m_fitted.size() == m_t.size()) {
        p.setPen(QPen(QColor(255, 255, 0), 1.5, Qt::DashLine));
        p.drawPath(curve(m_fitted));
    }
}

TfrmStepTest::TfrmStepTest(VelmorState& state, QWidget* parent)
    : QWidget(parent, Qt::Window), m_state(state)
{
    setObjectName(QStringLiteral("frmStepTest"));
    grdSteps = MakeFiguresTable(8, this);
    grdTunings = MakeFiguresTable(4, this);
    grdSteps->horizontalHeader()->setStretchLastSection(false);
    imgPlot = new StepPlot(this);
    lblModel = new QLabel(this);
    lblModel->setWordWrap(true);
    btnUseInFlow = new QPushButton(this);
    btnClose = new QPushButton(this);
    connect(grdSteps, &QTableWidget::currentCellChanged, this, [this](int row) { showStep(row); });
    connect(btnUseInFlow, &QPushButton::clicked, this, [this] {
        const int row = grdTunings->currentRow();
        if (row >= 0 && row < static_cast<int>(m_tunings.size())) {
            emit useInFlow(m_tunings[static_cast<std::size_t>(row)]);
        }
    });
    connect(btnClose, &QPushButton::clicked, this, &QWidget::hide);
    // Read as the window is laid out: the steps at the left, then the plot
    // and the tunings of the chosen step, then the buttons.
    QWidget* order[] = {grdSteps, imgPlot, grdTunings, btnUseInFlow, btnClose};
    for (std::size_t k = 1; k < std::size(order); ++k) {
        QWidget::setTabOrder(order[k - 1], order[k]);
    }

    auto* right = new QVBoxLayout;
    right->addWidget(imgPlot, 1);
    right->addWidget(lblModel);
    right->addWidget(grdTunings);
    auto* top = new QHBoxLayout;
    top->addWidget(grdSteps, 0);
    top->addLayout(right, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnUseInFlow);
    buttons->addWidget(btnClose);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buttons);
    resize(1000, 480);
    SetLanguage();
}

void TfrmStepTest::SetLanguage()
{
    const auto text = [](const char* english) {
        return QCoreApplication::translate(kStepTestContext, english);
    };
    setWindowTitle(text(QT_TRANSLATE_NOOP("TfrmStepTest", "Step test and tuning")));
    btnUseInFlow->setText(text(QT_TRANSLATE_NOOP("TfrmStepTest", "Use in Flow")));
    btnClose->setText(text(QT_TRANSLATE_NOOP("TfrmStepTest", "Close")));
    grdSteps->setAccessibleName(text(QT_TRANSLATE_NOOP("TfrmStepTest", "Steps")));
    grdTunings->setAccessibleName(text(QT_TRANSLATE_NOOP("TfrmStepTest", "Tunings")));
    imgPlot->setLabel(text(QT_TRANSLATE_NOOP("TfrmStepTest", "Step response plot")));
    grdSteps->setHorizontalHeaderLabels({
        text(QT_TRANSLATE_NOOP("TfrmStepTest", "Time (s)")),
        text(QT_TRANSLATE_NOOP("TfrmStepTest", "Output from (%)")),
        text(QT_TRANSLATE_NOOP("TfrmStepTest", "to (%)")),
        text(QT_TRANSLATE_NOOP("TfrmStepTest", "K (L/min per %)")),
        text(QT_TRANSLATE_NOOP("TfrmStepTest", "tau (s)")),
        text(QT_TRANSLATE_NOOP("TfrmStepTest", "theta (s)")),
        text(QT_TRANSLATE_NOOP("TfrmStepTest", "RMS (L/min)")),
        text(QT_TRANSLATE_NOOP("TfrmStepTest", "Record")),
    });
    grdTunings->setHorizontalHeaderLabels({
        text(QT_TRANSLATE_NOOP("TfrmStepTest", "Rule")),
        text(QT_TRANSLATE_NOOP("TfrmStepTest", "PG")),
        text(QT_TRANSLATE_NOOP("TfrmStepTest", "I (s)")),
        text(QT_TRANSLATE_NOOP("TfrmStepTest", "D (s)")),
    });
    showStep(grdSteps->currentRow());
}

void TfrmStepTest::Refresh()
{
    m_steps = FitOutputSteps(LoggedRecords(m_state.log, m_state.run.sampleCount));
    fillSteps();
    const OutputStep* best = BestFittedStep(m_steps);
    const int row = best != nullptr ? static_cast<int>(best - m_steps.data()) : 0;
    if (!m_steps.empty()) {
        grdSteps->setCurrentCell(row, 0);
    }
    showStep(m_steps.empty() ? -1 : row);
}

void TfrmStepTest::fillSteps()
{
    grdSteps->setRowCount(0);
    for (const OutputStep& step : m_steps) {
        const int row = grdSteps->rowCount();
        grdSteps->insertRow(row);
        const auto cell = [&](int column, const QString& text) {
            auto* item = new QTableWidgetItem(text);
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            grdSteps->setItem(row, column, item);
        };
        const QString none = QString::fromUtf8("\u2013");
        cell(0, FormatFixed(step.time, 1));
        cell(1, FormatGeneral(step.outputFrom, 4));
        cell(2, FormatGeneral(step.outputTo, 4));
        cell(3, step.model ? FormatGeneral(step.model->gain, 4) : none);
        cell(4, step.model ? FormatGeneral(step.model->timeConstant, 4) : none);
        cell(5, step.model ? FormatGeneral(step.model->deadTime, 4) : none);
        cell(6, step.model ? FormatGeneral(step.model->rms, 3) : none);
        cell(7, QString::number(step.record));
    }
    fitStepsWidth();
}

void TfrmStepTest::fitStepsWidth()
{
    // The step table shows all its columns without scrolling sideways when
    // the screen has room for them beside the plot; the window grows to
    // make that room, never past the screen.
    QHeaderView* header = grdSteps->horizontalHeader();
    ensurePolished();
    grdSteps->ensurePolished();
    header->ensurePolished();
    header->resizeSections(QHeaderView::ResizeToContents);
    int needed = 2 * grdSteps->frameWidth() + grdSteps->verticalScrollBar()->sizeHint().width() + 4;
    for (int column = 0; column < grdSteps->columnCount(); ++column) {
        needed += header->sectionSize(column);
    }
    const QScreen* screen = this->screen();
    const int available = screen != nullptr ? screen->availableGeometry().width() - 16 : 1000;
    const int besides = imgPlot->minimumWidth() + 40;
    needed = std::min(needed, std::max(available - besides, 200));
    grdSteps->setMinimumWidth(needed);
    if (!m_sized) {
        // First showing only; later the size the user gave it stays.
        resize(std::min(std::max(needed + besides + 120, 1000), available), height());
        m_sized = true;
    }
}

void TfrmStepTest::showStep(int row)
{
    grdTunings->setRowCount(0);
    m_tunings.clear();
    if (row < 0 || row >= static_cast<int>(m_steps.size())) {
        imgPlot->setCurves({}, {}, {});
        lblModel->setText(QCoreApplication::translate(
            kStepTestContext,
            QT_TRANSLATE_NOOP("TfrmStepTest", "No step of the pump output in this run.")));
        imgPlot->setValueText(lblModel->text());
        grdTunings->setAccessibleDescription(QString());
        btnUseInFlow->setEnabled(false);
        return;
    }
    const OutputStep& step = m_steps[static_cast<std::size_t>(row)];
    std::vector<double> t;
    std::vector<double> measured;
    std::vector<double> fitted;
    const double y0 = m_state.log.record(step.record).field(kFieldFlowMV);
    const double du = static_cast<double>(step.outputTo) - step.outputFrom;
    for (int n = step.record; n <= step.lastRecord; ++n) {
        const SampleRecord& r = m_state.log.record(n);
        t.push_back(r.time);
        measured.push_back(r.field(kFieldFlowMV));
        if (step.model) {
            fitted.push_back(ModelAt(*step.model, step.time, y0, du, r.time));
        }
    }
    imgPlot->setValueText(plotSummary(step, measured));
    imgPlot->setCurves(std::move(t), std::move(measured), std::move(fitted));
    if (!step.model) {
        lblModel->setText(QCoreApplication::translate(
            kStepTestContext,
            QT_TRANSLATE_NOOP("TfrmStepTest", "No model: the flow did not answer this step.")));
        grdTunings->setAccessibleDescription(lblModel->text());
        btnUseInFlow->setEnabled(false);
        return;
    }
    lblModel->setText(QCoreApplication::translate(
        kStepTestContext,
        QT_TRANSLATE_NOOP("TfrmStepTest", "Measured flow (aqua) and the fitted model "
                                          "(yellow, dashed); tunings for the Flow window:")));
    // The note above the table is what it holds, read with it.
    grdTunings->setAccessibleDescription(lblModel->text());
    m_tunings = FlowTunings(*step.model);
    for (const FlowTuning& tuning : m_tunings) {
        const int r = grdTunings->rowCount();
        grdTunings->insertRow(r);
        const QString cells[] = {
            QString::fromLatin1(TuningRuleName(tuning.rule).data(),
                                static_cast<qsizetype>(TuningRuleName(tuning.rule).size())),
            FormatGeneral(tuning.pg, 4), FormatGeneral(tuning.i, 4), FormatGeneral(tuning.d, 4)};
        for (int column = 0; column < 4; ++column) {
            grdTunings->setItem(r, column, new QTableWidgetItem(cells[column]));
        }
    }
    if (!m_tunings.empty()) {
        grdTunings->setCurrentCell(0, 0);
    }
    btnUseInFlow->setEnabled(!m_tunings.empty());
}

QString TfrmStepTest::plotSummary(const OutputStep& step, const std::vector<double>& measured) const
{
    const auto text = [](const char* english) {
        return QCoreApplication::translate(kStepTestContext, english);
    };
    const auto [low, high] = measured.empty()
                                 ? std::pair{0.0, 0.0}
                                 : std::pair{*std::min_element(measured.begin(), measured.end()),
                                             *std::max_element(measured.begin(), measured.end())};
    QString summary =
        text(QT_TRANSLATE_NOOP("TfrmStepTest",
                               "step at %1 s, output %2 % to %3 %: measured flow %4 to %5 L/min"))
            .arg(FormatFixed(step.time, 1), FormatGeneral(step.outputFrom, 4),
                 FormatGeneral(step.outputTo, 4))
            .arg(FormatGeneral(low, 4), FormatGeneral(high, 4));
    if (step.model) {
        summary +=
            QStringLiteral("; ") +
            text(QT_TRANSLATE_NOOP("TfrmStepTest",
                                   "fitted model K %1 L/min per %, tau %2 s, theta %3 s"))
                .arg(FormatGeneral(step.model->gain, 4), FormatGeneral(step.model->timeConstant, 4),
                     FormatGeneral(step.model->deadTime, 4));
    } else {
        summary += QStringLiteral("; ") + text(QT_TRANSLATE_NOOP("TfrmStepTest", "no model"));
    }
    return summary;
}

void TfrmStepTest::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        SetLanguage();
    }
    QWidget::changeEvent(event);
}

} // namespace velmor
