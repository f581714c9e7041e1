#include "ui/exercises/TfrmFlow.h"

#include "core/Arith.h"
#include "core/exercises/ControllerSettings.h"
#include "ui/exercises/PanelArt.h"
#include "ui/exercises/ValueBox.h"
#include "ui/shell/Language.h"
#include "ui/trends/TfrmGraph.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

#include <algorithm>

namespace velmor {

namespace {

constexpr const char* kContext = "TfrmFlow";

// Both gauges: 263 pixels for 2 L/min, bottom at y = 340, so a full bar
// reaches up to y = 77.
constexpr int kBarBottom = 340;
constexpr int kBarPixels = 263;
constexpr int kBarTop = kBarBottom - kBarPixels;

constexpr QRect kSPBox = Ltrb(17, 14, 97, 45);
constexpr QRect kMVBox = Ltrb(16, 358, 97, 389);
constexpr QSize kGaugeTextArea{80, 31};

// Etched group frames of the panel.
constexpr QRect kGaugeGroup = Ltrb(5, 5, 108, 397);
constexpr QRect kRunGroup = Ltrb(111, 5, 221, 178);
constexpr QRect kControllerGroup = Ltrb(111, 187, 221, 330);
constexpr QRect kLightGroup = Ltrb(111, 334, 221, 397);
constexpr QRect kWaveGroup = Ltrb(3, 406, 221, 498);

void EtchedFrame(QPainter& p, const QRect& r)
{
    p.setPen(QColor(128, 128, 128));
    p.setBrush(Qt::NoBrush);
    p.drawRect(r.adjusted(0, 0, -1, -1));
    p.setPen(QColor(255, 255, 255));
    p.drawLine(r.left() + 1, r.top() + 1, r.right() - 1, r.top() + 1);
    p.drawLine(r.left() + 1, r.top() + 1, r.left() + 1, r.bottom() - 1);
    p.drawLine(r.left(), r.bottom(), r.right(), r.bottom());
    p.drawLine(r.right(), r.top(), r.right(), r.bottom());
}

int BarHeight(long double litresPerMinute)
{
    return static_cast<int>(Trunc(litresPerMinute / 2 * kBarPixels + 0.5L));
}

// One bar gauge at x..x+17: the whole bar's height is cleared to silver
// (rounding lets a full bar reach one row higher than the empty part
// starts), then the value's colour is drawn up from the bottom. A value
// beyond the scale (possible only from a file) stays inside the gauge.
void DrawBar(QImage& image, int x, float value, const QColor& colour)
{
    const int h = std::min(BarHeight(value), kBarPixels);
    QPainter p(&image);
    p.fillRect(Ltrb(x, kBarTop, x + 18, kBarBottom), kSilver);
    if (h > 0) {
        p.fillRect(Ltrb(x, kBarBottom - h, x + 18, kBarBottom), colour);
    }
}

} // namespace

TfrmFlow::TfrmFlow(VelmorState& state, TfrmGraph* graph, MainLink* main, QWidget* parent)
    : QWidget(parent), m_state(state), m_graph(graph), m_main(main)
{
    FlowUnit& f = m_state.flow;
    setWindowTitle(QStringLiteral("Flow Control"));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, kSilver);
    palette.setColor(QPalette::Button, kSilver);
    setPalette(palette);
    setAutoFillBackground(true);

    const int clientHeight =
        m_graph != nullptr ? std::max(m_graph->height(), kPanelSize.height()) : kPanelSize.height();
    setFixedSize(kPanelSize.width(), clientHeight);
    imgPanel = new PanelView(kPanelSize, this);
    f.panelFontSize = m_state.shell.largeFonts ? 8 : 10;

    imgTrafGreen = TrafficLightPicture(RunLamp::Green);
    imgTrafRed = TrafficLightPicture(RunLamp::Red);

    btnStart = makeButton(QRect(117, 12, 98, 24));
    btnStop = makeButton(QRect(117, 39, 98, 24));
    btnMenu = makeButton(QRect(117, 66, 98, 24));
    btnStop->setEnabled(false);
    connect(btnStart, &QPushButton::clicked, this, &TfrmFlow::btnStartClick);
    connect(btnStop, &QPushButton::clicked, this, &TfrmFlow::btnStopClick);
    connect(btnMenu, &QPushButton::clicked, this, &TfrmFlow::btnMenuClick);

    lblSampleTime = makeLabel(QRect(113, 92, 106, 15), 8, Qt::AlignCenter);
    lblControlMode = makeLabel(QRect(113, 131, 106, 15), 8, Qt::AlignCenter);
    btnControl = makeButton(QRect(125, 148, 82, 24));
    connect(btnControl, &QPushButton::clicked, this, &TfrmFlow::btnControlClick);

    lblController = makeLabel(QRect(117, 180, 90, 15), 9, Qt::AlignLeft | Qt::AlignVCenter);
    lblController->setAutoFillBackground(true);
    lblPG = makeLabel(QRect(117, 203, 38, 17), 10, Qt::AlignLeft | Qt::AlignVCenter);
    lblPB = makeLabel(QRect(117, 235, 38, 17), 10, Qt::AlignLeft | Qt::AlignVCenter);
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

    m_driver = new RunDriver(this);
    connect(m_driver, &RunDriver::started, this, &TfrmFlow::runStarted);
    connect(m_driver, &RunDriver::cycled, this, [this] {
        DrawSP();
        DrawMV();
    });
    connect(m_driver, &RunDriver::finished, this, &TfrmFlow::runEnded);

    DrawBackground();
    // The check boxes are checked in the layout, and the flags follow them.
    f.chkI = true;
    f.chkD = true;
    m_controller->SyncChecks();
    InitValues();
    SetLanguage();
    DrawSample();
    if (m_main != nullptr) {
        m_main->setFileNewEnabled(true);
    }
    m_state.run.outputPercent = 0;
    f.flowManual = false;
    DrawControl();
    m_state.trend.cursorShown = false;
    f.lightState = 0;
    // No run yet: the signal head is there, neither lamp lit.
    DrawRunLight(imgPanel, TrafficLightPicture(RunLamp::None), FlowLight());
}

TfrmFlow::~TfrmFlow() = default;

QLabel* TfrmFlow::makeLabel(const QRect& place, int pointSize, Qt::Alignment alignment)
{
    auto* label = new QLabel(imgPanel);
    label->setGeometry(place);
    label->setFont(PanelFont(pointSize));
    label->setAlignment(alignment);
    return label;
}

QPushButton* TfrmFlow::makeButton(const QRect& place)
{
    auto* button = new QPushButton(imgPanel);
    button->setGeometry(place);
    button->setFont(PanelFont(9));
    button->setCursor(Qt::PointingHandCursor);
    button->setFocusPolicy(Qt::TabFocus);
    return button;
}

void TfrmFlow::DrawBackground()
{
    QImage& image = imgPanel->image();
    image.fill(kSilver);
    {
        QPainter p(&image);
        for (const QRect& group :
             {kGaugeGroup, kRunGroup, kControllerGroup, kLightGroup, kWaveGroup}) {
            EtchedFrame(p, group);
        }
        // Recessed wells of the two bar gauges and the gauge value boxes.
        p.fillRect(Ltrb(15, 76, 35, 341), QColor(160, 160, 160));
        p.fillRect(Ltrb(78, 76, 98, 341), QColor(160, 160, 160));
        // The shared scale between the bars: 263 pixels for 2 L/min.
        p.setRenderHint(QPainter::TextAntialiasing);
        const QFont scaleFont = PanelFont(7, false);
        const QFontMetrics metrics(scaleFont);
        p.setFont(scaleFont);
        for (int tenth = 0; tenth <= 20; ++tenth) {
            const int y = kBarBottom - 1 - BarHeight(tenth / 10.0L) + (tenth == 0 ? 0 : 1);
            const bool major = tenth % 5 == 0;
            p.setPen(QColor(64, 64, 64));
            p.drawLine(37, y, major ? 42 : 39, y);
            p.drawLine(major ? 71 : 74, y, 76, y);
            if (major) {
                const QString text = FormatFixed(tenth / 10.0, 1);
                const int w = metrics.horizontalAdvance(text);
                p.setPen(Qt::black);
                p.drawText(57 - w / 2, y - metrics.height() / 2 + metrics.ascent(), text);
            }
        }
        const QFont captionFont = PanelFont(7);
        p.setFont(captionFont);
        const QFontMetrics captionMetrics(captionFont);
        p.setPen(Qt::black);
        const auto centred = [&](int centreX, int top, const QString& text) {
            p.drawText(centreX - captionMetrics.horizontalAdvance(text) / 2,
                       top + captionMetrics.ascent(), text);
        };
        centred(25, 60, QStringLiteral("SP"));
        centred(88, 60, QStringLiteral("MV"));
        centred(57, 60, QStringLiteral("L/min"));
    }
    DrawSunkenFrame(image, Ltrb(15, 76, 35, 341));
    DrawSunkenFrame(image, Ltrb(78, 76, 98, 341));
    DrawSunkenFrame(image, kSPBox);
    DrawSunkenFrame(image, kMVBox);
    DrawSunkenFrame(image, FlowSampleBox().box);
    m_controller->DrawFrames();
    m_waveform->DrawFrames();
    {
        QPainter p(&image);
        p.fillRect(Ltrb(15, 76, 35, 341), kSilver);
        p.fillRect(Ltrb(78, 76, 98, 341), kSilver);
        p.fillRect(kSPBox, Qt::black);
        p.fillRect(kMVBox, Qt::black);
    }
    imgPanel->refresh();
}

void TfrmFlow::InitValues()
{
    velmor::InitValues(m_state, Exercise::Flow);
    // The I and D switches are back on: their boxes show it.
    const PidLoop loop = FlowLoop(m_state);
    loop.chkI = loop.integralOn != 0;
    loop.chkD = loop.derivativeOn != 0;
    m_controller->SyncChecks();
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
    const ShellState& shell = m_state.shell;
    const auto text = [&shell](const char* english) { return LangText(shell, kContext, english); };
    setWindowTitle(text(QT_TRANSLATE_NOOP("TfrmFlow", "Flow Simulation")));
    btnStart->setText(text(QT_TRANSLATE_NOOP("TfrmFlow", "START")));
    btnStop->setText(text(QT_TRANSLATE_NOOP("TfrmFlow", "STOP")));
    btnMenu->setText(text(QT_TRANSLATE_NOOP("TfrmFlow", "MENU")));
    lblSampleTime->setText(text(QT_TRANSLATE_NOOP("TfrmFlow", "Sample Time")));
    lblControlMode->setText(text(QT_TRANSLATE_NOOP("TfrmFlow", "Control Mode")));
    lblController->setText(QLatin1Char(' ') + text(QT_TRANSLATE_NOOP("TfrmFlow", "Controller")) +
                           QLatin1Char(' '));
    lblController->adjustSize();
    lblSetpoint->setText(QLatin1Char(' ') + text(QT_TRANSLATE_NOOP("TfrmFlow", "Set Point")) +
                         QLatin1Char(' '));
    lblSetpoint->adjustSize();
    lblPG->setText(text(QT_TRANSLATE_NOOP("TfrmFlow", "PG")));
    lblPB->setText(text(QT_TRANSLATE_NOOP("TfrmFlow", "PB")));
    m_controller->lblI->setText(text(QT_TRANSLATE_NOOP("TfrmFlow", "I")));
    m_controller->lblD->setText(text(QT_TRANSLATE_NOOP("TfrmFlow", "D")));
    // The indicator's words follow the language.
    if (m_state.flow.lightState == 1) {
        DrawGreen();
    } else if (m_state.flow.lightState == 2) {
        DrawRed();
    }
}

void TfrmFlow::UpdateSettings()
{
    velmor::UpdateSettings(m_state, Exercise::Flow);
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

void TfrmFlow::SendSettings()
{
    velmor::SendSettings(m_state, Exercise::Flow);
}

void TfrmFlow::UpdateDisplay(int code)
{
    const KeypadState& k = m_state.keypad;
    if (!velmor::UpdateDisplay(m_state, Exercise::Flow, code, k.keypadValue, k.keypadOld)) {
        return; // the same value again changes nothing
    }
    switch (code) {
    case kCodePG:
    case kCodePB:
        DrawPG();
        DrawPB();
        break;
    case kCodeI:
        DrawI();
        break;
    case kCodeD:
        DrawD();
        break;
    case kCodeWaveRow1:
    case kCodeWaveRow2:
    case kCodeWaveRow3:
        m_waveform->DrawSetpointValues();
        break;
    default:
        break;
    }
}

void TfrmFlow::DrawSP()
{
    QImage& image = imgPanel->image();
    const float sp = m_state.run.flowSetPoint;
    DrawValueBox(image, kSPBox, kSPBox.topLeft(), kGaugeTextArea, FormatFixed(sp, 2), PanelFont(14),
                 kYellow, Qt::black);
    DrawBar(image, 16, sp, kYellow);
    imgPanel->refresh(kSPBox);
    imgPanel->refresh(Ltrb(16, kBarTop, 34, kBarBottom));
}

void TfrmFlow::DrawMV()
{
    QImage& image = imgPanel->image();
    // Clamped for display only; the log keeps the true flow.
    const float mv = std::clamp(m_state.run.flowRate, 0.0f, 2.0f);
    DrawValueBox(image, kMVBox, QPoint(17, 359), kGaugeTextArea, FormatFixed(mv, 2), PanelFont(14),
                 kAqua, Qt::black);
    DrawBar(image, 79, mv, kAqua);
    imgPanel->refresh(kMVBox);
    imgPanel->refresh(Ltrb(79, kBarTop, 97, kBarBottom));
}

void TfrmFlow::DrawSample()
{
    DrawSampleTime(imgPanel, FlowSampleBox(), m_state.run.samplePeriod, m_state.flow.panelFontSize);
}

void TfrmFlow::DrawGreen()
{
    DrawRunLight(imgPanel, imgTrafGreen, FlowLight());
    lblTrafficLight->setText(
        LangText(m_state.shell, kContext, QT_TRANSLATE_NOOP("TfrmFlow", "Process running")));
    m_state.flow.lightState = 1;
}

void TfrmFlow::DrawRed()
{
    DrawRunLight(imgPanel, imgTrafRed, FlowLight());
    lblTrafficLight->setText(
        LangText(m_state.shell, kContext, QT_TRANSLATE_NOOP("TfrmFlow", "Process stopped")));
    m_state.flow.lightState = 2;
}

void TfrmFlow::DrawControl()
{
    // The same words in both languages.
    btnControl->setText(m_state.flow.flowManual ? QStringLiteral("Manual") : QStringLiteral("PID"));
    if (m_graph != nullptr) {
        m_graph->setPumpEnabled(m_state.flow.flowManual);
    }
}

void TfrmFlow::btnStartClick()
{
    if (m_driver->running()) {
        return;
    }
    if (m_main != nullptr) {
        m_main->stopTimer();
    }
    m_driver->begin(MakeEngine(Exercise::Flow, m_state, m_graph));
}

void TfrmFlow::runStarted()
{
    btnStart->setEnabled(false);
    btnStop->setEnabled(true);
    if (m_main != nullptr) {
        m_main->setRunMenusEnabled(false);
    }
    DrawGreen();
}

void TfrmFlow::runEnded()
{
    btnStart->setEnabled(true);
    btnStop->setEnabled(false);
    DrawSample();
    DrawRed();
    if (m_main != nullptr) {
        m_main->setRunMenusEnabled(true);
    }
}

void TfrmFlow::btnStopClick()
{
    m_state.run.runActive = false;
    m_driver->poke();
}

void TfrmFlow::btnMenuClick()
{
    FormClose();
}

void TfrmFlow::btnControlClick()
{
    m_state.flow.flowManual = !m_state.flow.flowManual;
    DrawControl();
}

void TfrmFlow::imgPGClick(int code)
{
    const std::optional<KeypadRange> range = KeypadRangeFor(m_state, Exercise::Flow, code);
    if (!range) {
        return; // a blank row
    }
    KeypadState& k = m_state.keypad;
    k.keypadOld = KeypadOldFor(m_state, Exercise::Flow, code);
    k.keypadMin = range->min;
    k.keypadMax = range->max;
    k.keypadTarget = code;
    if (m_main != nullptr) {
        m_main->showKeypad();
    }
}

void TfrmFlow::FormClose()
{
    btnStart->setEnabled(true);
    btnStop->setEnabled(false);
    m_state.run.runActive = false;
    m_driver->poke();
    if (m_main != nullptr) {
        m_main->hideKeypad();
        m_main->setFileNewEnabled(false);
        m_main->setControlItemChecked(Exercise::Flow, false);
        if (m_state.shell.appRunning) {
            m_main->writeShut(QStringLiteral("frmFlow"));
        }
    }
}

void TfrmFlow::closeEvent(QCloseEvent* event)
{
    // The window never closes itself: the shell releases it later.
    FormClose();
    event->ignore();
}

} // namespace velmor
