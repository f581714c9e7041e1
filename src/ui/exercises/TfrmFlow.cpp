#include "ui/exercises/TfrmFlow.h"

#include "core/Arith.h"
#include "core/exercises/ControllerSettings.h"
#include "ui/common/Language.h"
#include "ui/common/SettingLocks.h"
#include "ui/common/ValueBox.h"
#include "ui/trends/TfrmGraph.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>

namespace velmor {

namespace {

constexpr const char* kFlowContext = "TfrmFlow";

// Both gauges: 263 pixels for 2 L/min, bottom at y = 340.
const GaugeLayout kFlowSetPointGauge{Ltrb(17, 14, 97, 45),
                                     QPoint(17, 14),
                                     kYellow,
                                     kYellow,
                                     16,
                                     2.0f,
                                     2,
                                     false,
                                     QT_TRANSLATE_NOOP("LoopWindow", "Set point (L/min)")};

// Etched group frames of the panel.
constexpr QRect kFlowGaugeGroup = Ltrb(5, 5, 108, 397);
constexpr QRect kFlowRunGroup = Ltrb(111, 5, 221, 178);
constexpr QRect kFlowControllerGroup = Ltrb(111, 187, 221, 330);
constexpr QRect kLightGroup = Ltrb(111, 334, 221, 397);
constexpr QRect kFlowWaveGroup = Ltrb(3, 406, 221, 498);

} // namespace

TfrmFlow::TfrmFlow(VelmorState& state, TfrmGraph* graph, MainLink* main, QWidget* parent)
    : LoopWindow(
          state, Exercise::Flow, graph, main,
          Layout{
              FlowSampleBox(), FlowLight(), {}, &state.flow.panelFontSize, &state.flow.lightState},
          parent)
{
    FlowUnit& f = m_state.flow;
    setWindowTitle(QStringLiteral("Flow Control"));

    makeRunButtons(QRect(117, 12, 98, 24), QRect(117, 39, 98, 24), QRect(117, 66, 98, 24));
    lblSampleTime = makeLabel(QRect(113, 92, 106, 15), 8, Qt::AlignCenter);
    lblControlMode = makeLabel(QRect(113, 131, 106, 15), 8, Qt::AlignCenter);
    btnControl = makeButton(QRect(125, 148, 82, 24));
    connect(btnControl, &QPushButton::clicked, this, &TfrmFlow::btnControlClick);

    m_controllerLabels = makeControllerLabels(QPoint(117, 180), 117, 203, 235);
    lblController = m_controllerLabels.caption;
    lblPG = m_controllerLabels.pg;
    lblPB = m_controllerLabels.pb;
    lblTrafficLight = makeLabel(QRect(155, 343, 64, 40), 8, Qt::AlignLeft | Qt::AlignVCenter);
    lblTrafficLight->setWordWrap(true);
    lblSetpoint = makeLabel(QRect(10, 399, 80, 15), 9, Qt::AlignLeft | Qt::AlignVCenter);
    lblSetpoint->setAutoFillBackground(true);

    m_controller =
        new ControllerPanel(m_state, imgPanel, &FlowLoop, 0, FlowControllerGeometry(),
                            ControllerLayout{QPoint(116, 268), QPoint(116, 301),
                                             QRect(135, 268, 20, 17), QRect(135, 301, 20, 17)},
                            f.panelFontSize);
    connect(m_controller, &ControllerPanel::boxClicked, this, &TfrmFlow::imgPGClick);
    m_waveform = new WaveformPanel(m_state, Exercise::Flow, imgPanel, FlowWaveformGeometry(),
                                   f.panelFontSize);
    connect(m_waveform, &WaveformPanel::boxClicked, this, &TfrmFlow::imgPGClick);

    DrawBackground();
    finishCreation();
    m_state.run.outputPercent = 0;
    f.flowManual = false;
    DrawControl();
    // The etched groups in turn: the gauges, the run buttons and mode, the
    // controller, the run light, the set point's waveform.
    const ControllerPanel& c = *m_controller;
    const WaveformPanel& w = *m_waveform;
    setReadingOrder({topGauge(),    bottomGauge(), btnStart,  btnStop,   btnMenu,   sampleItem(),
                     btnControl,    c.imgPG,       c.imgPB,   c.chkI,    c.imgI,    c.chkD,
                     c.imgD,        runLight(),    w.chkFlat, w.chkRamp, w.chkSine, w.chkStep,
                     w.chkSawtooth, w.imgSetA,     w.imgSetB, w.imgSetC});
}

TfrmFlow::~TfrmFlow() = default;

void TfrmFlow::DrawBackground()
{
    drawPanelGround(
        {kFlowGaugeGroup, kFlowRunGroup, kFlowControllerGroup, kLightGroup, kFlowWaveGroup});
    QImage& image = imgPanel->image();
    DrawBarScale(image, 2.0f, 0.5f, 1, QStringLiteral("L/min"), QStringLiteral("SP"),
                 QStringLiteral("MV"));
    DrawSunkenFrame(image, FlowSampleBox().box);
    m_controller->DrawFrames();
    m_waveform->DrawFrames();
    drawGaugeWells(kFlowSetPointGauge, kFlowGauge);
    imgPanel->refresh();
}

void TfrmFlow::InitValues()
{
    velmor::InitValues(m_state, Exercise::Flow);
    m_controller->ResetChecks();
    DrawPG();
    DrawPB();
    DrawI();
    DrawD();
    DrawSP();
    DrawMV();
    m_waveform->ResetWaveform();
    m_waveform->SetWaveform();
    m_state.flow.flowWaveformAtStart = 0;
}

void TfrmFlow::SetLanguage()
{
    const auto text = [](const char* english) {
        return QCoreApplication::translate(kFlowContext, english);
    };
    setWindowTitle(text(QT_TRANSLATE_NOOP("TfrmFlow", "Flow Simulation")));
    setRunTexts();
    lblControlMode->setText(text(QT_TRANSLATE_NOOP("TfrmFlow", "Control Mode")));
    lblSetpoint->setText(QLatin1Char(' ') + text(QT_TRANSLATE_NOOP("TfrmFlow", "Set Point")) +
                         QLatin1Char(' '));
    lblSetpoint->adjustSize();
    setControllerTexts(m_controllerLabels, m_controller);
    // The indicator's words follow the language.
    if (m_state.flow.lightState == 1) {
        DrawGreen();
    } else if (m_state.flow.lightState == 2) {
        DrawRed();
    }
    // The waveform labels that have a Spanish word ("Inicial", "Periodo").
    if (m_waveform != nullptr) {
        m_waveform->SetWaveform();
    }
}

void TfrmFlow::ShowSettings()
{
    DrawPG();
    DrawPB();
    DrawI();
    DrawD();
    m_controller->SyncChecks();
    DrawSP();
    DrawMV();
    DrawControl();
    // Our radio buttons run no handler when checked by program, so the
    // re-check needs no suppression of waveform clicks.
    m_waveform->SetWaveform();
    m_waveform->ResetWaveform();
    m_waveform->DrawSetpointValues();
    if (m_main != nullptr) {
        m_main->hideKeypad();
    }
}

void TfrmFlow::UpdateDisplay(int code)
{
    const KeypadState& k = m_state.keypad;
    if (!velmor::UpdateDisplay(m_state, Exercise::Flow, code, k.keypadValue, k.keypadOld)) {
        return; // the same value again changes nothing
    }
    if (!m_controller->DrawFor(code)) {
        m_waveform->DrawFor(code);
    }
}

void TfrmFlow::DrawSP()
{
    DrawGauge(imgPanel, kFlowSetPointGauge, m_state.run.flowSetPoint);
}

void TfrmFlow::DrawMV()
{
    // Clamped for display only; the log keeps the true flow.
    DrawGauge(imgPanel, kFlowGauge, std::clamp(m_state.run.flowRate, 0.0f, 2.0f));
}

void TfrmFlow::DrawCycle()
{
    DrawSP();
    DrawMV();
}

void TfrmFlow::runEndedOwn()
{
    DrawSample();
}

void TfrmFlow::DrawGreen()
{
    LoopWindow::DrawGreen();
    lblTrafficLight->setText(QCoreApplication::translate(
        kFlowContext, QT_TRANSLATE_NOOP("TfrmFlow", "Process running")));
}

void TfrmFlow::DrawRed()
{
    LoopWindow::DrawRed();
    lblTrafficLight->setText(QCoreApplication::translate(
        kFlowContext, QT_TRANSLATE_NOOP("TfrmFlow", "Process stopped")));
}

void TfrmFlow::DrawControl()
{
    // The same words in both languages.
    btnControl->setText(m_state.flow.flowManual ? QStringLiteral("Manual") : QStringLiteral("PID"));
    if (m_graph != nullptr) {
        m_graph->setPumpEnabled(m_state.flow.flowManual);
    }
}

void TfrmFlow::btnControlClick()
{
    if (RefuseLockedChange(btnControl, Exercise::Flow, {"flowManual"})) {
        return;
    }
    m_state.flow.flowManual = !m_state.flow.flowManual;
    DrawControl();
}

} // namespace velmor
