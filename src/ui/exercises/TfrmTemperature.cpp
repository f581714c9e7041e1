#include "ui/exercises/TfrmTemperature.h"

#include "core/exercises/ControllerSettings.h"
#include "ui/common/Language.h"
#include "ui/common/ValueBox.h"
#include "ui/trends/TfrmGraph.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

namespace velmor {

namespace {

constexpr const char* kTemperatureContext = "TfrmTemperature";

const QColor kGreen{0, 255, 0};
const QColor kRed{255, 0, 0};
// Both gauges: 263 pixels for 100 degrees, whole numbers.
const GaugeLayout kTemperatureSetPointGauge{Ltrb(16, 13, 98, 45),
                                            QPoint(17, 14),
                                            kGreen,
                                            kGreen,
                                            16,
                                            100.0f,
                                            0,
                                            false,
                                            QT_TRANSLATE_NOOP("LoopWindow", "Set point (°C)")};
const GaugeLayout kTemperatureGauge{Ltrb(17, 359, 98, 390),
                                    QPoint(17, 359),
                                    kRed,
                                    kRed,
                                    79,
                                    100.0f,
                                    0,
                                    false,
                                    QT_TRANSLATE_NOOP("LoopWindow", "Temperature (°C)")};

constexpr QRect kSetPointBox = Ltrb(30, 447, 84, 464);
constexpr QPoint kSetPointBase{30, 447};
constexpr QRect kInitialBox = Ltrb(140, 446, 193, 463);
constexpr QPoint kInitialBase{140, 447};
constexpr QSize kEntryArea{54, 17};
// Where the indicator's words go: two lines from (154, 338).
constexpr QRect kWordsArea = Ltrb(154, 338, 220, 392);

constexpr QRect kTemperatureGaugeGroup = Ltrb(5, 5, 108, 397);
constexpr QRect kTemperatureRunGroup = Ltrb(111, 5, 221, 178);
constexpr QRect kTemperatureControllerGroup = Ltrb(111, 187, 221, 330);
constexpr QRect kLightGroup = Ltrb(111, 334, 221, 397);
constexpr QRect kEntryGroup = Ltrb(3, 406, 221, 498);
constexpr QRect kTemperatureModePlate = Ltrb(125, 148, 207, 172);

} // namespace

TfrmTemperature::TfrmTemperature(VelmorState& state, TfrmGraph* graph, MainLink* main,
                                 QWidget* parent)
    : LoopWindow(state, Exercise::Temperature, graph, main,
                 // Closing leaves the run to the shell, which stops it.
                 Layout{TemperatureSampleBox(),
                        TemperatureLight(),
                        {false, true},
                        &state.temp.panelFontSize,
                        &state.temp.lightState},
                 parent)
{
    TemperatureUnit& t = m_state.temp;
    setWindowTitle(QStringLiteral("Temperature Control"));

    makeRunButtons(QRect(117, 12, 98, 24), QRect(117, 39, 98, 24), QRect(117, 66, 98, 24));
    lblSampleTime = makeLabel(QRect(113, 92, 106, 15), 8, Qt::AlignCenter);
    lblControlMode = makeLabel(QRect(113, 131, 106, 15), 8, Qt::AlignCenter);
    lblControl = makeLabel(kTemperatureModePlate, 9, Qt::AlignCenter);
    lblControl->setText(QStringLiteral("PID"));

    m_controllerLabels = makeControllerLabels(QPoint(117, 180), 117, 203, 235);
    lblController = m_controllerLabels.caption;
    lblPG = m_controllerLabels.pg;
    lblPB = m_controllerLabels.pb;

    lblSetpoint = makeLabel(QRect(5, 412, 104, 15), 9, Qt::AlignCenter);
    lblEnterValue = makeLabel(QRect(5, 428, 104, 15), 8, Qt::AlignCenter);
    lblInitialValue = makeLabel(QRect(113, 412, 106, 15), 9, Qt::AlignCenter);
    lblEnterValue2 = makeLabel(QRect(113, 428, 106, 15), 8, Qt::AlignCenter);
    imgSetP = new ClickArea(kSetPointBox, imgPanel);
    imgInitVal = new ClickArea(kInitialBox, imgPanel);
    connect(imgSetP, &ClickArea::clicked, this, [this] { imgPGClick(kCodeSetPoint); });
    // While a run goes the core gives this box no range: the click does nothing.
    connect(imgInitVal, &ClickArea::clicked, this, [this] { imgPGClick(kCodeInitialValue); });

    m_controller =
        new ControllerPanel(m_state, imgPanel, &TemperatureLoop, 0, FlowControllerGeometry(),
                            ControllerLayout{QPoint(116, 271), QPoint(116, 303),
                                             QRect(135, 271, 20, 17), QRect(135, 303, 20, 17)},
                            t.panelFontSize);
    connect(m_controller, &ControllerPanel::boxClicked, this, &TfrmTemperature::imgPGClick);

    DrawBackground();
    finishCreation();
    const ControllerPanel& c = *m_controller;
    setReadingOrder({topGauge(), bottomGauge(), btnStart, btnStop, btnMenu, sampleItem(), c.imgPG,
                     c.imgPB, c.chkI, c.imgI, c.chkD, c.imgD, runLight(), imgSetP, imgInitVal});
}

TfrmTemperature::~TfrmTemperature() = default;

void TfrmTemperature::DrawBackground()
{
    drawPanelGround({kTemperatureGaugeGroup, kTemperatureRunGroup, kTemperatureControllerGroup,
                     kLightGroup, kEntryGroup});
    QImage& image = imgPanel->image();
    DrawBarScale(image, 100.0f, 20.0f, 0, QString::fromUtf8("\u00B0C"), QStringLiteral("SP"),
                 QStringLiteral("MV"));
    for (const QRect& box :
         {TemperatureSampleBox().box, kSetPointBox, kInitialBox, kTemperatureModePlate}) {
        DrawSunkenFrame(image, box);
    }
    m_controller->DrawFrames();
    drawGaugeWells(kTemperatureSetPointGauge, kTemperatureGauge);
    {
        QPainter p(&image);
        // A line between the two entry boxes.
        p.setPen(QColor(128, 128, 128));
        p.drawLine(111, 412, 111, 490);
        p.setPen(Qt::white);
        p.drawLine(112, 412, 112, 490);
    }
    imgPanel->refresh();
}

void TfrmTemperature::redrawSettings()
{
    DrawSetPoint();
    DrawInitialValue();
    m_controller->DrawAll();
    DrawSP();
    DrawMV();
}

void TfrmTemperature::InitValues()
{
    velmor::InitValues(m_state, Exercise::Temperature);
    m_controller->ResetChecks();
    redrawSettings();
}

void TfrmTemperature::SetLanguage()
{
    const auto text = [](const char* english) {
        return QCoreApplication::translate(kTemperatureContext, english);
    };
    setWindowTitle(text(QT_TRANSLATE_NOOP("TfrmTemperature", "Temperature Simulation")));
    setRunTexts();
    lblSetpoint->setText(text(QT_TRANSLATE_NOOP("TfrmTemperature", "Set Point")));
    lblInitialValue->setText(text(QT_TRANSLATE_NOOP("TfrmTemperature", "Initial Value")));
    lblControlMode->setText(text(QT_TRANSLATE_NOOP("TfrmTemperature", "Control Mode")));
    setControllerTexts(m_controllerLabels, m_controller);
    lblEnterValue->setText(text(QT_TRANSLATE_NOOP("TfrmTemperature", "Enter Value")));
    lblEnterValue2->setText(lblEnterValue->text());
    imgSetP->setLabel(lblSetpoint->text());
    imgInitVal->setLabel(lblInitialValue->text());
    // The indicator's words follow the language.
    if (m_state.temp.lightState == 1) {
        DrawGreen();
    } else if (m_state.temp.lightState == 2) {
        DrawRed();
    }
}

void TfrmTemperature::ShowSettings()
{
    m_controller->SyncChecks();
    redrawSettings();
    if (m_main != nullptr) {
        m_main->hideKeypad();
    }
}

void TfrmTemperature::UpdateDisplay(int code)
{
    const KeypadState& k = m_state.keypad;
    velmor::UpdateDisplay(m_state, Exercise::Temperature, code, k.keypadValue, k.keypadOld);
    if (m_controller->DrawFor(code)) {
        return;
    }
    switch (code) {
    case kCodeSetPoint:
        DrawSetPoint();
        break;
    case kCodeInitialValue:
        // The temperature display follows at its next redraw.
        DrawInitialValue();
        break;
    default:
        break;
    }
}

void TfrmTemperature::DrawSetPoint()
{
    const QString text = FormatFixed(m_state.temp.tempEnteredSP, 0);
    DrawValueBox(imgPanel->image(), kSetPointBox, kSetPointBase, kEntryArea, text,
                 PanelFont(m_panelFontSize), Qt::black);
    imgPanel->refresh(kSetPointBox);
    imgPanel->tell(kSetPointBox, text, m_state.temp.tempEnteredSP);
}

void TfrmTemperature::DrawInitialValue()
{
    const QString text = FormatFixed(m_state.temp.initialTemperature, 0);
    DrawValueBox(imgPanel->image(), kInitialBox, kInitialBase, kEntryArea, text,
                 PanelFont(m_panelFontSize), Qt::black);
    imgPanel->refresh(kInitialBox);
    imgPanel->tell(kInitialBox, text, m_state.temp.initialTemperature);
}

void TfrmTemperature::DrawSP()
{
    DrawGauge(imgPanel, kTemperatureSetPointGauge, m_state.run.tempSetPoint);
}

void TfrmTemperature::DrawMV()
{
    DrawGauge(imgPanel, kTemperatureGauge, m_state.run.measuredTemperature);
}

void TfrmTemperature::DrawCycle()
{
    DrawSP();
    DrawMV();
}

void TfrmTemperature::drawLightWords(const char* twoLines)
{
    const QStringList lines =
        QCoreApplication::translate(kTemperatureContext, twoLines).split(QLatin1Char('\n'));
    const QFont font = PanelFont(m_panelFontSize - 1, false);
    const QFontMetrics metrics(font);
    {
        QPainter p(&imgPanel->image());
        p.fillRect(kWordsArea, kSilver);
        p.setFont(font);
        p.setPen(Qt::black);
        for (qsizetype k = 0; k < lines.size(); ++k) {
            p.drawText(154, 338 + static_cast<int>(k) * metrics.height() + metrics.ascent(),
                       lines[k]);
        }
    }
    imgPanel->refresh(kWordsArea);
}

void TfrmTemperature::DrawGreen()
{
    LoopWindow::DrawGreen();
    drawLightWords(QT_TRANSLATE_NOOP("TfrmTemperature", "Process\nrunning"));
}

void TfrmTemperature::DrawRed()
{
    LoopWindow::DrawRed();
    drawLightWords(QT_TRANSLATE_NOOP("TfrmTemperature", "Process\nstopped"));
}

} // namespace velmor
