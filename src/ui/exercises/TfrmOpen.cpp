#include "ui/exercises/TfrmOpen.h"

#include "core/exercises/ControllerSettings.h"
#include "ui/common/Language.h"
#include "ui/common/ValueBox.h"
#include "ui/trends/TfrmGraph.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>

namespace velmor {

namespace {

constexpr const char* kOpenContext = "TfrmOpen";

// The pump output: silver number on black, a black bar for 100 %.
const GaugeLayout kOutputGauge{Ltrb(17, 14, 97, 45),
                               QPoint(17, 14),
                               kSilver,
                               Qt::black,
                               16,
                               100.0f,
                               0,
                               true,
                               QT_TRANSLATE_NOOP("LoopWindow", "Pump output (%)")};

constexpr QRect kOpenGaugeGroup = Ltrb(5, 5, 108, 397);
constexpr QRect kOpenRunGroup = Ltrb(111, 5, 221, 132);
constexpr QRect kOpenWaveGroup = Ltrb(111, 148, 221, 397);
constexpr QRect kModeGroup = Ltrb(3, 406, 221, 498);
constexpr QRect kOpenModePlate = Ltrb(56, 440, 168, 466);

} // namespace

TfrmOpen::TfrmOpen(VelmorState& state, TfrmGraph* graph, MainLink* main, QWidget* parent)
    : LoopWindow(state, Exercise::Open, graph, main,
                 Layout{OpenSampleBox(), OpenLight(), {}, &state.open.panelFontSize, nullptr},
                 parent)
{
    OpenUnit& o = m_state.open;
    setWindowTitle(QStringLiteral("Open Loop Control"));

    makeRunButtons(QRect(143, 12, 74, 24), QRect(143, 39, 74, 24), QRect(143, 66, 74, 24));
    lblSampleTime = makeLabel(QRect(113, 92, 106, 15), 8, Qt::AlignCenter);
    lblSetpoint = makeLabel(QRect(117, 141, 60, 15), 9, Qt::AlignLeft | Qt::AlignVCenter);
    lblSetpoint->setAutoFillBackground(true);
    // The heading keeps its layout text in both languages.
    lblSetpoint->setText(QStringLiteral(" Output "));
    lblSetpoint->adjustSize();
    lblControlMode = makeLabel(QRect(8, 418, 208, 15), 8, Qt::AlignCenter);
    lblMode = makeLabel(kOpenModePlate, 9, Qt::AlignCenter);

    m_waveform = new WaveformPanel(m_state, Exercise::Open, imgPanel, OpenWaveformGeometry(),
                                   o.panelFontSize);
    connect(m_waveform, &WaveformPanel::boxClicked, this, &TfrmOpen::imgPGClick);

    tmrTrip = new QTimer(this);
    tmrTrip->setSingleShot(true);
    tmrTrip->setInterval(kTripMs);
    connect(tmrTrip, &QTimer::timeout, this, &TfrmOpen::tmrTripTimer);

    DrawBackground();
    finishCreation();
    const WaveformPanel& w = *m_waveform;
    setReadingOrder({topGauge(), bottomGauge(), runLight(), btnStart, btnStop, btnMenu,
                     sampleItem(), w.chkFlat, w.chkRamp, w.chkSine, w.chkStep, w.chkSawtooth,
                     w.imgSetA, w.imgSetB, w.imgSetC});
}

TfrmOpen::~TfrmOpen() = default;

void TfrmOpen::DrawBackground()
{
    drawPanelGround({kOpenGaugeGroup, kOpenRunGroup, kOpenWaveGroup, kModeGroup});
    QImage& image = imgPanel->image();
    DrawDualBarScale(image, BarScale{100.0f, 20.0f, 0, QStringLiteral("%"), QStringLiteral("Q")},
                     BarScale{2.0f, 0.5f, 1, QStringLiteral("L/min"), QStringLiteral("MV")});
    for (const QRect& box : {OpenSampleBox().box, kOpenModePlate}) {
        DrawSunkenFrame(image, box);
    }
    m_waveform->DrawFrames();
    drawGaugeWells(kOutputGauge, kFlowGauge);
    imgPanel->refresh();
}

void TfrmOpen::InitValues()
{
    velmor::InitValues(m_state, Exercise::Open);
    DrawQ();
    DrawMV();
    DrawSample();
    m_waveform->ResetWaveform();
    m_waveform->SetWaveform();
    m_state.open.openWaveformAtStart = m_state.open.openWaveform;
}

void TfrmOpen::SetLanguage()
{
    const auto text = [](const char* english) {
        return QCoreApplication::translate(kOpenContext, english);
    };
    setWindowTitle(text(QT_TRANSLATE_NOOP("TfrmOpen", "Open Loop Simulation")));
    setRunTexts();
    lblControlMode->setText(text(QT_TRANSLATE_NOOP("TfrmOpen", "Control Mode")));
    lblMode->setText(text(QT_TRANSLATE_NOOP("TfrmOpen", "Open Loop")));
    m_waveform->SetWaveform();
}

void TfrmOpen::ShowSettings()
{
    DrawQ();
    DrawMV();
    m_waveform->SetWaveform();
    m_waveform->ResetWaveform();
    m_waveform->DrawSetpointValues();
    if (m_main != nullptr) {
        m_main->hideKeypad();
    }
}

void TfrmOpen::UpdateDisplay(int code)
{
    const KeypadState& k = m_state.keypad;
    velmor::UpdateDisplay(m_state, Exercise::Open, code, k.keypadValue, k.keypadOld);
    if (code == kCodeWaveRow1 || code == kCodeWaveRow2 || code == kCodeWaveRow3) {
        m_waveform->DrawSetpointValues();
    }
}

void TfrmOpen::DrawQ()
{
    DrawGauge(imgPanel, kOutputGauge, m_state.run.outputPercent);
}

void TfrmOpen::DrawMV()
{
    DrawGauge(imgPanel, kFlowGauge, m_state.run.flowRate);
}

void TfrmOpen::DrawCycle()
{
    DrawMV();
    DrawQ();
}

void TfrmOpen::FormActivate()
{
    m_state.open.openActivating = true;
    tmrTrip->start();
}

void TfrmOpen::tmrTripTimer()
{
    m_state.open.openActivating = false;
    tmrTrip->stop();
}

bool TfrmOpen::event(QEvent* event)
{
    // Inside the main window the frame around us is what gets activated.
    if (event->type() == QEvent::ParentChange) {
        if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget())) {
            connect(frame, &QMdiSubWindow::aboutToActivate, this, &TfrmOpen::FormActivate,
                    Qt::UniqueConnection);
        }
    }
    return LoopWindow::event(event);
}

} // namespace velmor
