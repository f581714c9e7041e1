#include "ui/exercises/TfrmBatch.h"

#include "core/exercises/ControllerSettings.h"
#include "ui/common/Language.h"
#include "ui/common/ValueBox.h"
#include "ui/trends/TfrmGraph.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>

#include <utility>

namespace velmor {

namespace {

constexpr const char* kBatchContext = "TfrmBatch";

constexpr QSize kBatchBoxArea{52, 17};
constexpr QRect kVolSPBox = Ltrb(30, 364, 84, 381);
constexpr QPoint kVolSPBase{32, 364};
constexpr QRect kTempSPBox = Ltrb(142, 364, 193, 381);
constexpr QPoint kTempSPBase{142, 364};
constexpr QRect kSumpBox = Ltrb(142, 447, 193, 464);
constexpr QPoint kSumpBase{142, 447};
constexpr QRect kExpTimeBox = Ltrb(28, 72, 80, 89);
constexpr QPoint kExpTimeBase{29, 73};

constexpr QRect kBatchRunGroup = Ltrb(3, 3, 221, 97);
constexpr QRect kVolumeGroup = Ltrb(3, 101, 111, 400);
constexpr QRect kTemperatureGroup = Ltrb(113, 101, 221, 400);
constexpr QRect kSumpGroup = Ltrb(3, 406, 221, 498);
constexpr QRect kVolumeModePlate = Ltrb(20, 138, 92, 160);
constexpr QRect kTemperatureModePlate = Ltrb(131, 138, 203, 160);

const QColor kPidGreen{0, 128, 0};
const QColor kPidRed{192, 0, 0};

} // namespace

TfrmBatch::TfrmBatch(VelmorState& state, TfrmGraph* graph, MainLink* main, QWidget* parent)
    : LoopWindow(
          state, Exercise::Batch, graph, main,
          Layout{
              BatchSampleBox(), BatchLight(), {true, false}, &state.batch.panelFontSize, nullptr},
          parent)
{
    BatchUnit& b = m_state.batch;
    setWindowTitle(QStringLiteral("Batch Volume Control"));

    makeRunButtons(QRect(139, 12, 76, 24), QRect(139, 39, 76, 24), QRect(139, 66, 76, 24));
    lblSampleTime = makeLabel(QRect(6, 9, 96, 15), 8, Qt::AlignCenter);
    lblExpTime = makeLabel(QRect(6, 44, 96, 14), 8, Qt::AlignCenter);
    lblSumpTankEnterValue = makeLabel(QRect(6, 57, 96, 14), 7, Qt::AlignCenter);
    // "Enter Value" stays English under the expected time in both languages.
    lblSumpTankEnterValue->setText(QStringLiteral("Enter Value"));

    lblVolume = makeLabel(QRect(8, 104, 98, 15), 9, Qt::AlignCenter);
    lblTemperature = makeLabel(QRect(118, 104, 98, 15), 9, Qt::AlignCenter);
    lblVolControl = makeLabel(QRect(8, 121, 98, 15), 8, Qt::AlignCenter);
    lblTempControl = makeLabel(QRect(118, 121, 98, 15), 8, Qt::AlignCenter);
    // The mode plates name the one mode these loops have, in their colours.
    const auto plate = [this](const QRect& place, const QColor& colour) {
        QPushButton* button = makeButton(place);
        button->setText(QStringLiteral("PID"));
        QPalette palette = button->palette();
        palette.setColor(QPalette::ButtonText, colour);
        button->setPalette(palette);
        button->setFocusPolicy(Qt::NoFocus);
        button->setCursor(Qt::ArrowCursor);
        button->setAttribute(Qt::WA_TransparentForMouseEvents);
        return button;
    };
    btnVolControl = plate(kVolumeModePlate, kPidGreen);
    btnTempControl = plate(kTemperatureModePlate, kPidRed);
    m_volumeLabels = makeControllerLabels(QPoint(8, 180), 8, 205, 238);
    m_temperatureLabels = makeControllerLabels(QPoint(118, 180), 118, 206, 238);
    lblVolController = m_volumeLabels.caption;
    lblPG2 = m_volumeLabels.pg;
    lblPB2 = m_volumeLabels.pb;
    lblTempController = m_temperatureLabels.caption;
    lblPG = m_temperatureLabels.pg;
    lblPB = m_temperatureLabels.pb;

    lblVolSetpoint = makeLabel(QRect(8, 332, 98, 15), 9, Qt::AlignCenter);
    lblVolEnterValue = makeLabel(QRect(8, 347, 98, 14), 7, Qt::AlignCenter);
    lblTempSetpoint = makeLabel(QRect(118, 332, 98, 15), 9, Qt::AlignCenter);
    lblTempEnterValue = makeLabel(QRect(118, 347, 98, 14), 7, Qt::AlignCenter);
    lblSumpTank = makeLabel(QRect(118, 414, 98, 15), 9, Qt::AlignCenter);
    lblSumpEnterValue = makeLabel(QRect(118, 430, 98, 14), 7, Qt::AlignCenter);

    imgVolSetP = new ClickArea(kVolSPBox, imgPanel);
    imgTempSetP = new ClickArea(QRect(135, 359, 64, 26), imgPanel);
    imgExpTime = new ClickArea(kExpTimeBox, imgPanel);
    imgSumpTank = new ClickArea(QRect(135, 442, 64, 26), imgPanel);
    connect(imgVolSetP, &ClickArea::clicked, this, [this] { imgPGClick(kCodeSetPoint); });
    connect(imgTempSetP, &ClickArea::clicked, this, [this] { imgPGClick(kCodeBatchTempSP); });
    connect(imgExpTime, &ClickArea::clicked, this, [this] { imgPGClick(kCodeExpectedTime); });
    connect(imgSumpTank, &ClickArea::clicked, this, [this] { imgPGClick(kCodeSumpTemperature); });

    m_volume =
        new ControllerPanel(m_state, imgPanel, &BatchVolumeLoop, 0, BatchVolumeControllerGeometry(),
                            ControllerLayout{QPoint(8, 271), QPoint(8, 304), QRect(27, 271, 20, 17),
                                             QRect(27, 304, 20, 17)},
                            b.panelFontSize);
    m_temperature = new ControllerPanel(
        m_state, imgPanel, &BatchTemperatureLoop, 10, BatchTemperatureControllerGeometry(),
        ControllerLayout{QPoint(118, 271), QPoint(118, 304), QRect(137, 271, 20, 17),
                         QRect(137, 304, 20, 17)},
        b.panelFontSize);
    connect(m_volume, &ControllerPanel::boxClicked, this, &TfrmBatch::imgPGClick);
    connect(m_temperature, &ControllerPanel::boxClicked, this, &TfrmBatch::imgPGClick);

    DrawBackground();
    finishCreation();
    const ControllerPanel& v = *m_volume;
    const ControllerPanel& t = *m_temperature;
    setReadingOrder({sampleItem(), imgExpTime,  runLight(), btnStart, btnStop, btnMenu,
                     v.imgPG,      v.imgPB,     v.chkI,     v.imgI,   v.chkD,  v.imgD,
                     t.imgPG,      t.imgPB,     t.chkI,     t.imgI,   t.chkD,  t.imgD,
                     imgVolSetP,   imgTempSetP, imgSumpTank});
}

TfrmBatch::~TfrmBatch() = default;

void TfrmBatch::DrawBackground()
{
    drawPanelGround({kBatchRunGroup, kVolumeGroup, kTemperatureGroup, kSumpGroup});
    QImage& image = imgPanel->image();
    for (const QRect& box : {BatchSampleBox().box, kExpTimeBox, kVolSPBox, kTempSPBox, kSumpBox}) {
        DrawSunkenFrame(image, box);
    }
    m_volume->DrawFrames();
    m_temperature->DrawFrames();
    {
        // The two controller groups are marked off by a line under them.
        QPainter p(&image);
        for (int x0 : {8, 118}) {
            p.setPen(QColor(128, 128, 128));
            p.drawLine(x0, 326, x0 + 98, 326);
            p.setPen(Qt::white);
            p.drawLine(x0, 327, x0 + 98, 327);
        }
    }
    imgPanel->refresh();
}

void TfrmBatch::redrawSettings()
{
    DrawSumpTemp();
    DrawTempSP();
    m_temperature->DrawAll();
    DrawVolSP();
    m_volume->DrawAll();
    DrawExpTime();
}

void TfrmBatch::InitValues()
{
    velmor::InitValues(m_state, Exercise::Batch);
    m_volume->ResetChecks();
    m_temperature->ResetChecks();
    redrawSettings();
}

void TfrmBatch::SetLanguage()
{
    const auto text = [](const char* english) {
        return QCoreApplication::translate(kBatchContext, english);
    };
    setWindowTitle(text(QT_TRANSLATE_NOOP("TfrmBatch", "Batch Volume Simulation")));
    setRunTexts();
    const QString mode = text(QT_TRANSLATE_NOOP("TfrmBatch", "Control Mode"));
    lblVolControl->setText(mode);
    lblTempControl->setText(mode);
    // One English text, two Spanish ones: told apart by the loop.
    struct Disambiguated {
        const char* source;
        const char* comment;
    };
    static constexpr Disambiguated volumeSP =
        QT_TRANSLATE_NOOP3("TfrmBatch", "Set Point", "volume");
    static constexpr Disambiguated temperatureSP =
        QT_TRANSLATE_NOOP3("TfrmBatch", "Set Point", "temperature");
    lblVolSetpoint->setText(
        QCoreApplication::translate(kBatchContext, volumeSP.source, volumeSP.comment));
    lblTempSetpoint->setText(
        QCoreApplication::translate(kBatchContext, temperatureSP.source, temperatureSP.comment));
    lblSumpTank->setText(text(QT_TRANSLATE_NOOP("TfrmBatch", "Sump Tank")));
    lblVolume->setText(text(QT_TRANSLATE_NOOP("TfrmBatch", "Volume")));
    lblTemperature->setText(text(QT_TRANSLATE_NOOP("TfrmBatch", "Temperature")));
    lblExpTime->setText(text(QT_TRANSLATE_NOOP("TfrmBatch", "Exp. Time")));
    setControllerTexts(m_volumeLabels, m_volume);
    setControllerTexts(m_temperatureLabels, m_temperature);
    // Two loops with the same letters: each box reads with its loop's name.
    for (const auto& [panel, loop] : {std::pair{m_volume, lblVolume->text()},
                                      std::pair{m_temperature, lblTemperature->text()}}) {
        for (PanelItem* box :
             {static_cast<PanelItem*>(panel->imgPG), static_cast<PanelItem*>(panel->imgPB),
              static_cast<PanelItem*>(panel->imgI), static_cast<PanelItem*>(panel->imgD)}) {
            box->setLabel(loop + QLatin1Char(' ') + box->label());
        }
        panel->chkI->setAccessibleName(loop + QLatin1Char(' ') + panel->chkI->accessibleName());
        panel->chkD->setAccessibleName(loop + QLatin1Char(' ') + panel->chkD->accessibleName());
    }
    const QString enter = text(QT_TRANSLATE_NOOP("TfrmBatch", "Enter Value"));
    lblVolEnterValue->setText(enter);
    lblTempEnterValue->setText(enter);
    lblSumpEnterValue->setText(enter);
    imgVolSetP->setLabel(lblVolSetpoint->text());
    imgTempSetP->setLabel(lblTempSetpoint->text());
    imgSumpTank->setLabel(lblSumpTank->text());
    imgExpTime->setLabel(lblExpTime->text());
}

void TfrmBatch::ShowSettings()
{
    m_volume->SyncChecks();
    m_temperature->SyncChecks();
    redrawSettings();
    if (m_main != nullptr) {
        m_main->hideKeypad();
    }
}

void TfrmBatch::UpdateDisplay(int code)
{
    const KeypadState& k = m_state.keypad;
    velmor::UpdateDisplay(m_state, Exercise::Batch, code, k.keypadValue, k.keypadOld);
    if (m_volume->DrawFor(code) || m_temperature->DrawFor(code)) {
        return;
    }
    switch (code) {
    case kCodeSetPoint:
        DrawVolSP();
        break;
    case kCodeBatchTempSP:
        DrawTempSP();
        break;
    case kCodeExpectedTime:
        DrawExpTime();
        break;
    case kCodeSumpTemperature:
        DrawSumpTemp();
        break;
    default:
        break;
    }
}

void TfrmBatch::DrawVolSP()
{
    const QString text = FormatFixed(m_state.batch.batchVolumeSP, 2);
    DrawValueBox(imgPanel->image(), kVolSPBox, kVolSPBase, kBatchBoxArea, text,
                 PanelFont(m_panelFontSize), Qt::black);
    imgPanel->refresh(kVolSPBox);
    imgPanel->tell(kVolSPBox, text, m_state.batch.batchVolumeSP);
}

void TfrmBatch::DrawTempSP()
{
    const QString text = FormatFixed(m_state.batch.batchTempSP, 0);
    DrawValueBox(imgPanel->image(), kTempSPBox, kTempSPBase, kBatchBoxArea, text,
                 PanelFont(m_panelFontSize), Qt::black);
    imgPanel->refresh(kTempSPBox);
    imgPanel->tell(kTempSPBox, text, m_state.batch.batchTempSP);
}

void TfrmBatch::DrawSumpTemp()
{
    const QString text = FormatFixed(m_state.batch.sumpTemperature, 0);
    DrawValueBox(imgPanel->image(), kSumpBox, kSumpBase, kBatchBoxArea, text,
                 PanelFont(m_panelFontSize), Qt::black);
    imgPanel->refresh(kSumpBox);
    imgPanel->tell(kSumpBox, text, m_state.batch.sumpTemperature);
}

void TfrmBatch::DrawExpTime()
{
    const QString text = FormatGeneral(m_state.batch.expectedTime, 4);
    DrawValueBox(imgPanel->image(), kExpTimeBox, kExpTimeBase, kBatchBoxArea, text,
                 PanelFont(m_panelFontSize), Qt::black);
    imgPanel->refresh(kExpTimeBox);
    imgPanel->tell(kExpTimeBox, text, m_state.batch.expectedTime);
}

void TfrmBatch::DrawCycle()
{
    DrawTempSP();
    DrawVolSP();
}

} // namespace velmor
