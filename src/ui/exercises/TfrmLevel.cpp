#include "ui/exercises/TfrmLevel.h"

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

namespace velmor {

namespace {

constexpr const char* kLevelContext = "TfrmLevel";

// Both gauges: 263 pixels for 100 %, whole numbers, not clamped.
const GaugeLayout kLevelSetPointGauge{Ltrb(17, 14, 97, 45),
                                      QPoint(17, 14),
                                      kYellow,
                                      kYellow,
                                      16,
                                      100.0f,
                                      0,
                                      false,
                                      QT_TRANSLATE_NOOP("LoopWindow", "Set point (%)")};
const GaugeLayout kLevelGauge{Ltrb(16, 358, 97, 389),
                              QPoint(17, 359),
                              kAqua,
                              kAqua,
                              79,
                              100.0f,
                              0,
                              false,
                              QT_TRANSLATE_NOOP("LoopWindow", "Level (%)")};

constexpr QRect kInitialBox = Ltrb(142, 353, 195, 370);
constexpr QPoint kInitialBase{143, 354};
constexpr QSize kInitialArea{55, 17};
constexpr QPoint kDrainAt{194, 382};

constexpr QRect kLevelGaugeGroup = Ltrb(5, 5, 108, 397);
constexpr QRect kLevelRunGroup = Ltrb(111, 5, 221, 178);
constexpr QRect kLevelControllerGroup = Ltrb(111, 187, 221, 330);
constexpr QRect kTankGroup = Ltrb(111, 334, 221, 401);
constexpr QRect kLevelWaveGroup = Ltrb(3, 406, 221, 498);
// The fixed plate that names the control mode.
constexpr QRect kLevelModePlate = Ltrb(125, 148, 207, 172);

} // namespace

TfrmLevel::TfrmLevel(VelmorState& state, TfrmGraph* graph, MainLink* main, QWidget* parent)
    : LoopWindow(
          state, Exercise::Level, graph, main,
          Layout{LevelSampleBox(), LevelLight(), {true, true}, &state.level.panelFontSize, nullptr},
          parent)
{
    LevelUnit& l = m_state.level;
    setWindowTitle(QStringLiteral("Fluid Level Control"));
    imgDrainRed = DrainPicture(true, imgPanel->image().devicePixelRatio());
    imgDrainBlack = DrainPicture(false, imgPanel->image().devicePixelRatio());

    makeRunButtons(QRect(143, 12, 74, 24), QRect(143, 39, 74, 24), QRect(143, 66, 74, 24));
    lblSampleTime = makeLabel(QRect(113, 92, 106, 15), 8, Qt::AlignCenter);
    lblControlMode = makeLabel(QRect(113, 131, 106, 15), 8, Qt::AlignCenter);
    lblPID = makeLabel(kLevelModePlate, 9, Qt::AlignCenter);
    lblPID->setText(QStringLiteral("PID"));

    m_controllerLabels = makeControllerLabels(QPoint(117, 180), 117, 203, 235);
    lblController = m_controllerLabels.caption;
    lblPG = m_controllerLabels.pg;
    lblPB = m_controllerLabels.pb;

    lblInitialValue = makeLabel(QRect(113, 337, 106, 15), 8, Qt::AlignCenter);
    imgInitialValue = new ClickArea(kInitialBox, imgPanel);
    connect(imgInitialValue, &ClickArea::clicked, this, [this] { imgPGClick(kCodeSetPoint); });
    chkAutodrain = new QCheckBox(imgPanel);
    chkAutodrain->setGeometry(116, 379, 17, 17);
    chkAutodrain->setCursor(Qt::PointingHandCursor);
    lblAutoDrain = makeLabel(QRect(133, 379, 60, 17), 8, Qt::AlignLeft | Qt::AlignVCenter);
    // The lamp beside the box says whether the drain is open; the mouse
    // passes through it.
    m_drainLamp = new PanelItem(QRect(kDrainAt, QSize(16, 16)), imgPanel);
    m_drainLamp->setAttribute(Qt::WA_TransparentForMouseEvents);

    lblLevel = makeLabel(QRect(6, 46, 101, 13), 8, Qt::AlignCenter);
    lblSetpoint = makeLabel(QRect(10, 399, 80, 15), 9, Qt::AlignLeft | Qt::AlignVCenter);
    lblSetpoint->setAutoFillBackground(true);

    m_controller =
        new ControllerPanel(m_state, imgPanel, &LevelLoop, 0, FlowControllerGeometry(),
                            ControllerLayout{QPoint(116, 268), QPoint(116, 301),
                                             QRect(135, 268, 20, 17), QRect(135, 301, 20, 17)},
                            l.panelFontSize);
    connect(m_controller, &ControllerPanel::boxClicked, this, &TfrmLevel::imgPGClick);
    m_waveform = new WaveformPanel(m_state, Exercise::Level, imgPanel, LevelWaveformGeometry(),
                                   l.panelFontSize);
    connect(m_waveform, &WaveformPanel::boxClicked, this, &TfrmLevel::imgPGClick);
    // The drain box has no handler of its own: a click runs the D box's,
    // which re-reads the D box and counts a segment when D is above 0.
    connect(chkAutodrain, &QCheckBox::clicked, this, [this](bool checked) {
        if (RefuseLockedChange(chkAutodrain, Exercise::Level, {"chkAutodrain"})) {
            chkAutodrain->setChecked(m_state.level.chkAutodrain); // it snaps back
            return;
        }
        m_state.level.chkAutodrain = checked;
        m_controller->chkDClick();
    });

    DrawBackground();
    chkAutodrain->setChecked(l.chkAutodrain);
    finishCreation();
    DrawDrain();
    const ControllerPanel& c = *m_controller;
    const WaveformPanel& w = *m_waveform;
    setReadingOrder({topGauge(),    bottomGauge(), runLight(), btnStart,        btnStop,
                     btnMenu,       sampleItem(),  c.imgPG,    c.imgPB,         c.chkI,
                     c.imgI,        c.chkD,        c.imgD,     imgInitialValue, chkAutodrain,
                     m_drainLamp,   w.chkFlat,     w.chkRamp,  w.chkSine,       w.chkStep,
                     w.chkSawtooth, w.imgSetA,     w.imgSetB,  w.imgSetC});
}

TfrmLevel::~TfrmLevel() = default;

void TfrmLevel::DrawBackground()
{
    drawPanelGround(
        {kLevelGaugeGroup, kLevelRunGroup, kLevelControllerGroup, kTankGroup, kLevelWaveGroup});
    QImage& image = imgPanel->image();
    DrawBarScale(image, 100.0f, 20.0f, 0, QStringLiteral("%"), QStringLiteral("SP"),
                 QStringLiteral("MV"));
    for (const QRect& box : {LevelSampleBox().box, kInitialBox, kLevelModePlate}) {
        DrawSunkenFrame(image, box);
    }
    m_controller->DrawFrames();
    m_waveform->DrawFrames();
    drawGaugeWells(kLevelSetPointGauge, kLevelGauge);
    imgPanel->refresh();
}

void TfrmLevel::redrawSettings()
{
    m_controller->DrawAll();
    DrawSP();
    DrawMV();
    DrawInitialValue();
}

void TfrmLevel::InitValues()
{
    velmor::InitValues(m_state, Exercise::Level);
    m_controller->ResetChecks();
    redrawSettings();
    m_waveform->ResetWaveform();
    m_waveform->SetWaveform();
    DrawDrain();
}

void TfrmLevel::SetLanguage()
{
    const auto text = [](const char* english) {
        return QCoreApplication::translate(kLevelContext, english);
    };
    setWindowTitle(text(QT_TRANSLATE_NOOP("TfrmLevel", "Fluid Level Simulation")));
    setRunTexts();
    lblControlMode->setText(text(QT_TRANSLATE_NOOP("TfrmLevel", "Control Mode")));
    lblSetpoint->setText(QLatin1Char(' ') + text(QT_TRANSLATE_NOOP("TfrmLevel", "Set Point")) +
                         QLatin1Char(' '));
    lblSetpoint->adjustSize();
    setControllerTexts(m_controllerLabels, m_controller);
    lblInitialValue->setText(text(QT_TRANSLATE_NOOP("TfrmLevel", "Initial Value")));
    lblAutoDrain->setText(text(QT_TRANSLATE_NOOP("TfrmLevel", "Auto drain")));
    lblLevel->setText(text(QT_TRANSLATE_NOOP("TfrmLevel", "Level")));
    imgInitialValue->setLabel(lblInitialValue->text());
    chkAutodrain->setAccessibleName(lblAutoDrain->text());
    m_drainLamp->setLabel(text(QT_TRANSLATE_NOOP("TfrmLevel", "Drain valve")));
    tellDrain();
    m_waveform->SetWaveform();
}

void TfrmLevel::ShowSettings()
{
    m_controller->SyncChecks();
    // Auto drain is not in the settings block: the box shows the state.
    chkAutodrain->setChecked(m_state.level.chkAutodrain);
    redrawSettings();
    m_waveform->SetWaveform();
    m_waveform->ResetWaveform();
    m_waveform->DrawSetpointValues();
    if (m_main != nullptr) {
        m_main->hideKeypad();
    }
}

void TfrmLevel::UpdateDisplay(int code)
{
    const KeypadState& k = m_state.keypad;
    velmor::UpdateDisplay(m_state, Exercise::Level, code, k.keypadValue, k.keypadOld);
    if (!m_controller->DrawFor(code) && !m_waveform->DrawFor(code) && code == kCodeSetPoint) {
        DrawInitialValue();
    }
}

void TfrmLevel::DrawSP()
{
    DrawGauge(imgPanel, kLevelSetPointGauge, m_state.run.levelSetPoint);
}

void TfrmLevel::DrawMV()
{
    DrawGauge(imgPanel, kLevelGauge, m_state.run.levelPercent);
}

void TfrmLevel::DrawInitialValue()
{
    const QString text = QString::number(m_state.level.initialLevel);
    DrawValueBox(imgPanel->image(), kInitialBox, kInitialBase, kInitialArea, text,
                 PanelFont(m_panelFontSize), Qt::black);
    imgPanel->refresh(kInitialBox);
    imgPanel->tell(kInitialBox, text, m_state.level.initialLevel);
}

void TfrmLevel::DrawDrain()
{
    {
        QPainter p(&imgPanel->image());
        p.drawImage(kDrainAt, m_state.level.drainOpen ? imgDrainRed : imgDrainBlack);
    }
    imgPanel->refresh(QRect(kDrainAt, QSize(16, 16)));
    tellDrain();
}

void TfrmLevel::tellDrain()
{
    m_drainLamp->setValueText(
        m_state.level.drainOpen
            ? QCoreApplication::translate(kLevelContext, QT_TRANSLATE_NOOP("TfrmLevel", "open"))
            : QCoreApplication::translate(kLevelContext, QT_TRANSLATE_NOOP("TfrmLevel", "closed")));
}

void TfrmLevel::DrawCycle()
{
    DrawSP();
    DrawMV();
    if (m_state.level.chkAutodrain) {
        DrawDrain();
    }
}

} // namespace velmor
