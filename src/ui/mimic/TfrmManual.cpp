#include "ui/mimic/TfrmManual.h"

#include "ui/common/Language.h"
#include "ui/common/PanelView.h"
#include "ui/common/ValueBox.h"
#include "ui/mimic/MimicArt.h"
#include "ui/mimic/MimicGauges.h"
#include "ui/mimic/MimicLayout.h"
#include "ui/mimic/MimicView.h"

#include <QCloseEvent>
#include <QEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTimer>

#include <cmath>

#include <chrono>

namespace velmor {

namespace {

constexpr const char* kManualContext = "TfrmManual";

std::int64_t SteadyMilliseconds()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// The paths in the order of their bits (pump, direct, cooler, drain,
// overflow, sump).
constexpr std::array kPathBits{kPathPump,  kPathDirect,   kPathCooler,
                               kPathDrain, kPathOverflow, kPathSump};

const QString kTagStyle = QStringLiteral(
    "QLabel { background: rgb(250, 222, 74); color: black; border: 1px solid rgb(62, 70, 82); "
    "padding: 0px 2px; }");
const QString kReadoutStyle = QStringLiteral(
    "QLabel { background: black; color: rgb(96, 240, 120); border: 1px solid rgb(62, 70, 82); }");

// A read-out's text, set only when it changes (no relayout for nothing).
void SetReadout(QLabel* readout, const QString& text)
{
    if (readout->text() != text) {
        readout->setText(text);
    }
}

} // namespace

TfrmManual::TfrmManual(VelmorState& state, QWidget* parent, Clock clock)
    : QWidget(parent), m_state(state), m_clock(std::move(clock))
{
    using namespace mimic;
    if (!m_clock) {
        m_clock = SteadyMilliseconds;
    }
    MimicStart(m_state.mimic, now());
    setFixedSize(kClientSize);

    imgManual = new MimicView(kDiagramSize, this);
    connect(imgManual, &MimicView::ratioChanged, this, &TfrmManual::rebuild, Qt::QueuedConnection);

    imgCoolLight.place = kCoolLamp;
    imgDivLight.place = kDivLamp;
    imgDrainLight.place = kDrainLamp;
    imgTankFull.place = kTankFullLamp;

    makeTexts();
    makeParts();
    setKeyboardOrder();

    // The layout's texts are English; another language replaces them.
    setTexts(Language::English, true);
    if (m_state.shell.language != Language::English) {
        SetLanguage();
    } else {
        rebuild();
    }

    UpdateTimer = new QTimer(this);
    UpdateTimer->setInterval(125);
    UpdateTimer->setTimerType(Qt::PreciseTimer);
    connect(UpdateTimer, &QTimer::timeout, this, &TfrmManual::UpdateTimerTimer);
    UpdateTimer->start();
}

// The parts' names and the numbers the diagram shows.
void TfrmManual::makeTexts()
{
    using namespace mimic;
    lblPumpOutput = makeTag(kLblPumpOutput);
    lblPumpOutput->setStyleSheet(QString());
    lblTankFull = makeTag(kLblTankFull);
    lblProcessTemp = makeTag(kLblProcessTemp);
    lblHeatInput = makeTag(kLblHeatInput);
    lblManualHeat = makeTag(kLblManualHeat);
    lblDrainValve = makeTag(kLblDrainValve);
    lblSumpTemperature = makeTag(kLblSump);
    lblFlowTemperature = makeTag(kLblFlowTemp);
    lblFlowRate = makeTag(kLblFlowRate);
    lblCoolerActivated = makeTag(kLblCooler);
    lblFlowDiverted = makeTag(kLblDiverted);
    FlowNum = makeReadout(kFlowNum, FormatFixed(0, 1));
    TankNum = makeReadout(kTankNum, QStringLiteral("20"));
    TempNum = makeReadout(kTempNum, QStringLiteral("20"));
    SumpNum = makeReadout(kSumpNum, QStringLiteral("20"));
    HeatNum = makeReadout(kHeatNum, QStringLiteral("0.0"));
}

// The parts that a click works, the lamps, the pump's slider and MENU.
void TfrmManual::makeParts()
{
    using namespace mimic;
    SolenoidDrain = makeClickArea(kSolenoidDrain, "Click here to Open/Close the Drain Valve.");
    SolenoidDiverter =
        makeClickArea(kSolenoidDiverter, "Click here to Open/Close the Diverter Valve.");
    const char* coolerHint = "Click here to Start/Stop the Cooler.";
    imgCooler = makeClickArea(kCooler, coolerHint);
    Fan = makeClickArea(kFan, coolerHint);
    const char* stirrerHint = "Click here to Start/Stop the Stirrer.";
    imgStirrer = makeClickArea(kStirrerMotor, stirrerHint);
    Stirrer = makeClickArea(kStirrer, stirrerHint);
    DrainValveInd = makeClickArea(kDrainLamp, nullptr);
    DrainValveInd->hide(); // a dark lamp takes no clicks
    // The lamps read to a screen reader whether lit or dark; the mouse
    // passes through them.
    for (MimicLamp* lamp : {&imgTankFull, &imgDrainLight, &imgDivLight, &imgCoolLight}) {
        lamp->item = new PanelItem(lamp->place, imgManual);
        lamp->item->setAttribute(Qt::WA_TransparentForMouseEvents);
        lamp->item->stackUnder(DrainValveInd);
    }
    connect(SolenoidDrain, &ClickArea::clicked, this, &TfrmManual::SolenoidDrainClick);
    connect(SolenoidDiverter, &ClickArea::clicked, this, &TfrmManual::SolenoidDiverterClick);
    connect(imgCooler, &ClickArea::clicked, this, &TfrmManual::imgCoolerClick);
    connect(Fan, &ClickArea::clicked, this, &TfrmManual::imgCoolerClick);
    connect(imgStirrer, &ClickArea::clicked, this, &TfrmManual::imgStirrerClick);
    connect(Stirrer, &ClickArea::clicked, this, &TfrmManual::imgStirrerClick);
    connect(DrainValveInd, &ClickArea::clicked, this, &TfrmManual::DrainValveIndClick);

    imgScroll = new MimicSlider(kScroll, imgManual);
    imgScroll->setToolTip(QStringLiteral("Click and drag the slider to adjust the Motor Output."));
    connect(imgScroll, &MimicSlider::placed, this, &TfrmManual::Place);

    btnMenu = new QPushButton(imgManual);
    btnMenu->setGeometry(kBtnMenu);
    btnMenu->setFont(PanelFont(9));
    btnMenu->setCursor(Qt::PointingHandCursor);
    btnMenu->setFocusPolicy(Qt::TabFocus);
    connect(btnMenu, &QPushButton::clicked, this, &TfrmManual::btnMenuClick);
}

void TfrmManual::setKeyboardOrder()
{
    // The keyboard reaches each part once: the fan, the stirrer's blades and
    // the drain lamp repeat a part before them.
    for (ClickArea* repeat : {Fan, Stirrer, DrainValveInd}) {
        repeat->setFocusPolicy(Qt::NoFocus);
    }
    connect(imgScroll, &MimicSlider::stepped, this, &TfrmManual::stepKnob);
    // Each lamp after the part it answers to; the tank-full lamp after the
    // pump that fills the tank.
    QWidget* order[] = {imgScroll,        imgTankFull.item, SolenoidDrain, imgDrainLight.item,
                        SolenoidDiverter, imgDivLight.item, imgCooler,     imgCoolLight.item,
                        imgStirrer,       btnMenu};
    for (std::size_t k = 1; k < std::size(order); ++k) {
        QWidget::setTabOrder(order[k - 1], order[k]);
    }
}

TfrmManual::~TfrmManual() = default;

std::int64_t TfrmManual::now() const
{
    return m_clock();
}

QLabel* TfrmManual::makeTag(const QRect& place)
{
    auto* label = new QLabel(imgManual);
    label->setGeometry(place);
    label->setFont(PanelFont(7));
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    label->setStyleSheet(kTagStyle);
    return label;
}

QLabel* TfrmManual::makeReadout(const QRect& place, const QString& text)
{
    auto* label = new QLabel(text, imgManual);
    label->setGeometry(place);
    label->setFont(PanelFont(11));
    label->setAlignment(Qt::AlignCenter);
    label->setTextFormat(Qt::PlainText);
    label->setStyleSheet(kReadoutStyle);
    return label;
}

ClickArea* TfrmManual::makeClickArea(const QRect& place, const char* hint)
{
    auto* area = new ClickArea(place, imgManual);
    if (hint != nullptr) {
        // Hints are English in every language.
        area->setToolTip(QString::fromUtf8(hint));
    }
    return area;
}

void TfrmManual::setTexts(Language language, bool atCreation)
{
    const auto text = [language](const char* english) {
        return TextIn(language, kManualContext, english);
    };
    setWindowTitle(text(QT_TRANSLATE_NOOP("TfrmManual", "KLN Trainer")));
    btnMenu->setText(text(QT_TRANSLATE_NOOP("TfrmManual", "MENU")));
    lblPumpOutput->setText(text(QT_TRANSLATE_NOOP("TfrmManual", "Pump Output")));
    lblTankFull->setText(text(QT_TRANSLATE_NOOP("TfrmManual", "TANK FULL INDICATOR")));
    lblProcessTemp->setText(text(QT_TRANSLATE_NOOP("TfrmManual", "PROCESS  TANK TEMPERATURE")));
    lblHeatInput->setText(text(QT_TRANSLATE_NOOP("TfrmManual", "HEAT INPUT KILOWATTS")));
    lblManualHeat->setText(text(QT_TRANSLATE_NOOP("TfrmManual", "MANUAL HEAT INPUT")));
    lblDrainValve->setText(text(QT_TRANSLATE_NOOP("TfrmManual", "DRAIN VALVE OPEN")));
    // The layout's caption differs from the one the language sets.
    lblSumpTemperature->setText(atCreation
                                    ? QStringLiteral("SUMP  TANK TEMPERATURE")
                                    : text(QT_TRANSLATE_NOOP("TfrmManual", "SUMP TEMPERATURE")));
    lblFlowTemperature->setText(text(QT_TRANSLATE_NOOP("TfrmManual", "FLOW TEMPERATURE")));
    lblFlowRate->setText(text(QT_TRANSLATE_NOOP("TfrmManual", "FLOW  RATE LITRES / MIN")));
    lblCoolerActivated->setText(text(QT_TRANSLATE_NOOP("TfrmManual", "COOLER ACTIVATED")));
    lblFlowDiverted->setText(text(QT_TRANSLATE_NOOP("TfrmManual", "FLOW   DIVERTED")));
    // The hints of the parts that answer a click, and of the speed slider.
    SolenoidDrain->setToolTip(
        text(QT_TRANSLATE_NOOP("TfrmManual", "Click here to Open/Close the Drain Valve.")));
    SolenoidDiverter->setToolTip(
        text(QT_TRANSLATE_NOOP("TfrmManual", "Click here to Open/Close the Diverter Valve.")));
    const QString cooler =
        text(QT_TRANSLATE_NOOP("TfrmManual", "Click here to Start/Stop the Cooler."));
    imgCooler->setToolTip(cooler);
    Fan->setToolTip(cooler);
    const QString stirrer =
        text(QT_TRANSLATE_NOOP("TfrmManual", "Click here to Start/Stop the Stirrer."));
    imgStirrer->setToolTip(stirrer);
    Stirrer->setToolTip(stirrer);
    imgScroll->setToolTip(text(
        QT_TRANSLATE_NOOP("TfrmManual", "Click and drag the slider to adjust the Motor Output.")));
    // What the keyboard and a screen reader meet: the parts' names and states.
    SolenoidDrain->setLabel(text(QT_TRANSLATE_NOOP("TfrmManual", "Drain valve")));
    SolenoidDiverter->setLabel(text(QT_TRANSLATE_NOOP("TfrmManual", "Diverter valve")));
    imgCooler->setLabel(text(QT_TRANSLATE_NOOP("TfrmManual", "Cooler and fan")));
    imgStirrer->setLabel(text(QT_TRANSLATE_NOOP("TfrmManual", "Stirrer")));
    m_switchWords = {text(QT_TRANSLATE_NOOP("TfrmManual", "open")),
                     text(QT_TRANSLATE_NOOP("TfrmManual", "closed")),
                     text(QT_TRANSLATE_NOOP("TfrmManual", "on")),
                     text(QT_TRANSLATE_NOOP("TfrmManual", "off"))};
    m_knobName = text(QT_TRANSLATE_NOOP("TfrmManual", "Pump speed"));
    imgTankFull.item->setLabel(text(QT_TRANSLATE_NOOP("TfrmManual", "Tank full lamp")));
    imgDrainLight.item->setLabel(text(QT_TRANSLATE_NOOP("TfrmManual", "Drain valve open lamp")));
    imgDivLight.item->setLabel(text(QT_TRANSLATE_NOOP("TfrmManual", "Flow diverted lamp")));
    imgCoolLight.item->setLabel(text(QT_TRANSLATE_NOOP("TfrmManual", "Cooler activated lamp")));
    // The lit drain lamp answers a click by going dark.
    DrainValveInd->setLabel(imgDrainLight.item->label());
    m_lampWords = {text(QT_TRANSLATE_NOOP("TfrmManual", "lit")),
                   text(QT_TRANSLATE_NOOP("TfrmManual", "dark"))};
    tellSwitches();
    tellLamps();
}

void TfrmManual::tellLamps()
{
    for (const MimicLamp* lamp : {&imgTankFull, &imgDrainLight, &imgDivLight, &imgCoolLight}) {
        lamp->item->setValueText(lamp->visible ? m_lampWords[0] : m_lampWords[1]);
    }
}

void TfrmManual::tellSwitches()
{
    const MimicUnit& m = m_state.mimic;
    const auto& [open, closed, on, off] = m_switchWords;
    SolenoidDrain->setValueText(m.mimicDrainOpen ? open : closed);
    SolenoidDiverter->setValueText(m.mimicDiverted ? open : closed);
    imgCooler->setValueText(m.mimicCoolerOn ? on : off);
    imgStirrer->setValueText(m.mimicStirrerOn ? on : off);
    const int percent =
        static_cast<int>(std::lround(100.0 * (m.pumpKnobX - kKnobLeft) / (kKnobRight - kKnobLeft)));
    imgScroll->setAccessibleName(m_knobName + QStringLiteral(": ") + QString::number(percent) +
                                 QStringLiteral(" %"));
}

void TfrmManual::stepKnob(int pixels)
{
    Place(m_state.mimic.pumpKnobX + pixels);
}

void TfrmManual::SetLanguage()
{
    setTexts(m_state.shell.language, false);
    rebuild(); // the title plate follows the language
}

// Draws the static diagram and the pictures that move for the screen's
// pixel ratio, then everything that the model and the clicks have put on it.
void TfrmManual::rebuild()
{
    using namespace mimic;
    const qreal ratio = imgManual->devicePixelRatioF();
    const auto canvas = [ratio](QSize size, QImage::Format format) {
        QImage image((QSizeF(size) * ratio).toSize(), format);
        image.setDevicePixelRatio(ratio);
        return image;
    };
    // A picture of `place` painted by `paint` in diagram coordinates.
    const auto sprite = [&](const QRect& place, const auto& paint) {
        QImage image = canvas(place.size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        p.translate(-place.topLeft());
        paint(p);
        return image;
    };
    m_background = canvas(kDiagramSize, QImage::Format_ARGB32_Premultiplied);
    {
        QPainter p(&m_background);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        PaintDiagram(p, m_state.shell.language);
    }
    for (int frame = 1; frame <= 3; ++frame) {
        m_fanFrames[frame - 1] = sprite(kFan, [frame](QPainter& p) { PaintFan(p, kFan, frame); });
    }
    for (int frame = 1; frame <= 4; ++frame) {
        m_stirrerFrames[frame - 1] =
            sprite(kStirrer, [frame](QPainter& p) { PaintStirrer(p, kStirrer, frame); });
    }
    for (const bool open : {false, true}) {
        m_drainPictures[open] = sprite(
            kSolenoidDrain, [open](QPainter& p) { PaintDrainValve(p, kSolenoidDrain, open); });
        m_diverterPictures[open] = sprite(
            kSolenoidDiverter, [open](QPainter& p) { PaintDiverter(p, kSolenoidDiverter, open); });
    }
    const QRect lamp(QPoint(0, 0), QSize(kLampSize, kLampSize));
    m_litLamp = sprite(lamp, [&lamp](QPainter& p) { PaintLamp(p, lamp, true); });
    const QRect knob(kScroll.topLeft(), kKnobSize);
    m_knob = sprite(knob, [](QPainter& p) { PaintKnob(p, 0); });

    QImage& image = imgManual->image();
    if (image.size() != m_background.size() || !qFuzzyCompare(image.devicePixelRatio(), ratio)) {
        image = canvas(kDiagramSize, QImage::Format_ARGB32_Premultiplied);
    }
    compose(QRect(QPoint(0, 0), kDiagramSize));
}

// Each area is drawn from the background up, with only the pictures that
// reach into it.
void TfrmManual::compose(const QRegion& dirty)
{
    using namespace mimic;
    const MimicUnit& m = m_state.mimic;
    QImage& image = imgManual->image();
    const qreal ratio = image.devicePixelRatio();
    const QRect tankInside = kTank.adjusted(3, 3, -3, -3);
    const QRect knob(kScroll.topLeft() + QPoint(m_knobX, 0), kKnobSize);
    const int bar = MimicBarPixels(m.levelBarUnits);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        for (const QRect& area : dirty) {
            p.setClipRect(area);
            p.setCompositionMode(QPainter::CompositionMode_Source);
            const QRectF source(QPointF(area.topLeft()) * ratio, QSizeF(area.size()) * ratio);
            p.drawImage(QRectF(area), m_background, source);
            p.setCompositionMode(QPainter::CompositionMode_SourceOver);
            if (area.intersects(tankInside)) {
                PaintTankWater(p, bar);
            }
            if (area.intersects(kStirrer)) {
                p.drawImage(kStirrer.topLeft(), m_stirrerFrames[m_stirrerShown - 1]);
            }
            if (area.intersects(kSolenoidDrain)) {
                p.drawImage(kSolenoidDrain.topLeft(), m_drainPictures[m.mimicDrainOpen]);
            }
            if (area.intersects(kSolenoidDiverter)) {
                p.drawImage(kSolenoidDiverter.topLeft(), m_diverterPictures[m.mimicDiverted]);
            }
            // Aliased, so rectangles that meet at a fractional device pixel
            // leave no seam.
            p.setRenderHint(QPainter::Antialiasing, false);
            for (std::size_t k = 0; k < kFlowPaths.size(); ++k) {
                if (MimicPathShown(m, kPathBits[k])) {
                    for (const QRect& r : kFlowPaths[k]) {
                        if (area.intersects(r)) {
                            p.fillRect(QRectF(r), kFlowBlue);
                        }
                    }
                }
            }
            p.setRenderHint(QPainter::Antialiasing);
            for (const MimicLamp* lamp :
                 {&imgCoolLight, &imgDivLight, &imgDrainLight, &imgTankFull}) {
                if (lamp->visible && area.intersects(lamp->place)) {
                    p.drawImage(lamp->place.topLeft(), m_litLamp);
                }
            }
            if (area.intersects(kFan)) {
                p.drawImage(kFan.topLeft(), m_fanFrames[m_fanShown - 1]);
            }
            if (area.intersects(kScale)) {
                InvertLevelBar(p, bar);
            }
            if (m_needleDrawn && area.intersects(kHeatControl)) {
                PaintNeedle(p, m.heatDialPos, kNeedleGrey);
            }
            if (area.intersects(knob)) {
                p.drawImage(knob.topLeft(), m_knob);
            }
        }
    }
    imgManual->update(dirty);
}

const QImage& TfrmManual::picture() const
{
    return imgManual->image();
}

QRegion TfrmManual::pathRegion(unsigned paths) const
{
    QRegion region;
    for (std::size_t k = 0; k < mimic::kFlowPaths.size(); ++k) {
        if ((paths & kPathBits[k]) != 0) {
            for (const QRect& r : mimic::kFlowPaths[k]) {
                region += r;
            }
        }
    }
    return region;
}

void TfrmManual::UpdateTimerTimer()
{
    using namespace mimic;
    MimicUnit& m = m_state.mimic;
    const MimicStep step = MimicUpdate(m, now());
    SetReadout(FlowNum, FormatFixed(static_cast<double>(step.flow), 1));
    SetReadout(TankNum, QString::number(step.tankReading));
    SetReadout(TempNum, QString::number(step.flowReading));
    SetReadout(SumpNum, QString::number(step.sumpReading));
    SetReadout(HeatNum, QString::fromStdString(step.heatText));

    QRegion dirty;
    if (step.stirrerFrameDrawn != 0) {
        m_stirrerShown = step.stirrerFrameDrawn;
        dirty += kStirrer;
    }
    if (step.fanFrameDrawn != 0) {
        m_fanShown = step.fanFrameDrawn;
        dirty += kFan;
    }
    if (step.dialMoved || !m_needleDrawn) {
        m_needleDrawn = true;
        dirty += kHeatControl;
    }
    if (step.levelBarMoved) {
        dirty += kScale;
        dirty += QRect(kTank).adjusted(3, 3, -3, -3);
    }
    if (imgTankFull.visible != m.overflowPathShown) {
        imgTankFull.visible = m.overflowPathShown;
        dirty += imgTankFull.place;
        tellLamps();
    }
    dirty += pathRegion(step.pathsSwitched);
    if (!dirty.isEmpty()) {
        compose(dirty);
    }
}

void TfrmManual::SolenoidDrainClick()
{
    MimicUnit& m = m_state.mimic;
    m.mimicDrainOpen = !m.mimicDrainOpen;
    imgDrainLight.visible = m.mimicDrainOpen;
    DrainValveInd->setVisible(imgDrainLight.visible);
    compose(QRegion(mimic::kSolenoidDrain) + imgDrainLight.place);
    tellSwitches();
    tellLamps();
}

void TfrmManual::SolenoidDiverterClick()
{
    MimicUnit& m = m_state.mimic;
    m.mimicDiverted = !m.mimicDiverted;
    imgDivLight.visible = m.mimicDiverted;
    compose(QRegion(mimic::kSolenoidDiverter) + imgDivLight.place);
    tellSwitches();
    tellLamps();
}

void TfrmManual::imgCoolerClick()
{
    MimicUnit& m = m_state.mimic;
    m.mimicCoolerOn = !m.mimicCoolerOn;
    imgCoolLight.visible = m.mimicCoolerOn;
    compose(QRegion(imgCoolLight.place));
    tellSwitches();
    tellLamps();
}

void TfrmManual::imgStirrerClick()
{
    m_state.mimic.mimicStirrerOn = !m_state.mimic.mimicStirrerOn;
    tellSwitches();
}

void TfrmManual::DrainValveIndClick()
{
    imgDrainLight.visible = !imgDrainLight.visible;
    DrainValveInd->setVisible(imgDrainLight.visible);
    compose(QRegion(imgDrainLight.place));
    tellLamps();
}

void TfrmManual::Place(int x)
{
    if (!MimicPlace(m_state.mimic, x, now())) {
        return;
    }
    m_knobX = m_state.mimic.pumpKnobX;
    compose(QRegion(mimic::kScroll));
    tellSwitches();
}

void TfrmManual::btnMenuClick()
{
    FormClose();
}

void TfrmManual::FormClose()
{
    UpdateTimer->stop();
    m_state.mimic.pumpKnobX = 0;
    emit controlItemUnchecked();
    if (m_state.shell.appRunning) {
        emit closeRequested();
    }
}

void TfrmManual::closeEvent(QCloseEvent* event)
{
    // The window never closes itself: the shell releases it later.
    FormClose();
    event->ignore();
}

void TfrmManual::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        SetLanguage();
    }
    QWidget::changeEvent(event);
}

} // namespace velmor
