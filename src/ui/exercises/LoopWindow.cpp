#include "ui/exercises/LoopWindow.h"

#include "ui/common/SettingLocks.h"

#include "core/Arith.h"
#include "core/exercises/ControllerSettings.h"
#include "ui/common/Language.h"
#include "ui/common/ValueBox.h"
#include "ui/trends/TfrmGraph.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

#include <algorithm>

namespace velmor {

namespace {

// Bar gauges: 263 pixels for full scale, bottom at y = 340, so a full bar
// reaches up to y = 77.
constexpr int kBarBottom = 340;
constexpr int kBarPixels = 263;
constexpr int kBarTop = kBarBottom - kBarPixels;
constexpr QSize kGaugeTextArea{80, 31};

int BarPixels(long double value, long double fullScale)
{
    return static_cast<int>(Trunc(value / fullScale * kBarPixels + 0.5L));
}

// The grey wells the two bars stand in, before their scale is drawn.
void FillBarWells(QPainter& p)
{
    p.fillRect(Ltrb(15, 76, 35, 341), QColor(160, 160, 160));
    p.fillRect(Ltrb(78, 76, 98, 341), QColor(160, 160, 160));
}

// Tick k of a scale with `steps` ticks from 0 to `fullScale`: its value and
// its row (every fifth tick is a major one with a label).
struct Tick {
    long double value;
    int y;
    bool major;
};

Tick TickAt(float fullScale, int k, int steps)
{
    const long double value = static_cast<long double>(fullScale) * k / steps;
    const int h = BarPixels(value, fullScale);
    return {value, kBarBottom - 1 - h + (k == 0 ? 0 : 1), k % 5 == 0};
}

int TickCount(float fullScale, float labelStep)
{
    return static_cast<int>(std::lround(fullScale / (labelStep / 5)));
}

} // namespace

void DrawGauge(PanelView* panel, const GaugeLayout& gauge, float value, int fontSize)
{
    QImage& image = panel->image();
    const QString text = FormatFixed(value, gauge.decimals);
    const QFont font = PanelFont(fontSize);
    if (gauge.roundedOffsets) {
        const QFontMetrics metrics(font);
        QPainter p(&image);
        p.fillRect(gauge.box, Qt::black);
        p.setFont(font);
        p.setPen(gauge.textColour);
        const int dx = static_cast<int>(
            std::lround((kGaugeTextArea.width() - metrics.horizontalAdvance(text)) / 2.0));
        const int dy =
            static_cast<int>(std::lround((kGaugeTextArea.height() - metrics.height()) / 2.0));
        p.drawText(gauge.base.x() + dx, gauge.base.y() + dy + metrics.ascent(), text);
    } else {
        DrawValueBox(image, gauge.box, gauge.base, kGaugeTextArea, text, font, gauge.textColour,
                     Qt::black);
    }
    // The whole bar is cleared first: rounding lets a full bar reach a row
    // above where the empty part starts. A value beyond the scale (possible
    // from a file) stays inside the gauge.
    const int filled = std::clamp(BarPixels(value, gauge.fullScale), 0, kBarPixels);
    const QRect bar = Ltrb(gauge.barLeft, kBarTop, gauge.barLeft + 18, kBarBottom);
    {
        QPainter p(&image);
        p.fillRect(bar, kSilver);
        if (filled > 0) {
            p.fillRect(Ltrb(gauge.barLeft, kBarBottom - filled, gauge.barLeft + 18, kBarBottom),
                       gauge.barColour);
        }
    }
    panel->refresh(gauge.box);
    panel->refresh(bar);
    panel->tell(gauge.box, text, value);
}

void DrawBarScale(QImage& image, float fullScale, float labelStep, int decimals,
                  const QString& unit, const QString& left, const QString& right)
{
    QPainter p(&image);
    FillBarWells(p);
    p.setRenderHint(QPainter::TextAntialiasing);
    const QFont scaleFont = PanelFont(7, false);
    const QFontMetrics metrics(scaleFont);
    p.setFont(scaleFont);
    const int steps = TickCount(fullScale, labelStep);
    for (int k = 0; k <= steps; ++k) {
        const Tick tick = TickAt(fullScale, k, steps);
        p.setPen(QColor(64, 64, 64));
        p.drawLine(37, tick.y, tick.major ? 42 : 39, tick.y);
        p.drawLine(tick.major ? 71 : 74, tick.y, 76, tick.y);
        if (tick.major) {
            const QString text = FormatFixed(static_cast<double>(tick.value), decimals);
            const int w = metrics.horizontalAdvance(text);
            p.setPen(Qt::black);
            p.drawText(57 - w / 2, tick.y - metrics.height() / 2 + metrics.ascent(), text);
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
    centred(25, 60, left);
    centred(88, 60, right);
    centred(57, 60, unit);
}

void DrawDualBarScale(QImage& image, const BarScale& left, const BarScale& right)
{
    QPainter p(&image);
    FillBarWells(p);
    p.setRenderHint(QPainter::TextAntialiasing);
    const QFont scaleFont = PanelFont(6, false);
    const QFontMetrics metrics(scaleFont);
    p.setFont(scaleFont);
    const auto side = [&](const BarScale& scale, bool onLeft) {
        const int steps = TickCount(scale.fullScale, scale.labelStep);
        for (int k = 0; k <= steps; ++k) {
            const Tick tick = TickAt(scale.fullScale, k, steps);
            p.setPen(QColor(64, 64, 64));
            if (onLeft) {
                p.drawLine(37, tick.y, tick.major ? 41 : 39, tick.y);
            } else {
                p.drawLine(tick.major ? 72 : 74, tick.y, 76, tick.y);
            }
            if (tick.major) {
                const QString text = FormatFixed(static_cast<double>(tick.value), scale.decimals);
                const int w = metrics.horizontalAdvance(text);
                p.setPen(Qt::black);
                const int x = onLeft ? 43 : 70 - w;
                p.drawText(x, tick.y - metrics.height() / 2 + metrics.ascent(), text);
            }
        }
    };
    side(left, true);
    side(right, false);
    const QFont captionFont = PanelFont(7);
    p.setFont(captionFont);
    const QFontMetrics captionMetrics(captionFont);
    p.setPen(Qt::black);
    const auto centred = [&](int centreX, int top, const QString& text) {
        p.drawText(centreX - captionMetrics.horizontalAdvance(text) / 2,
                   top + captionMetrics.ascent(), text);
    };
    // Names above the wells' tops, each bar's unit under its name.
    centred(25, 48, left.name);
    centred(88, 48, right.name);
    const QFont unitFont = PanelFont(6);
    p.setFont(unitFont);
    const QFontMetrics unitMetrics(unitFont);
    p.drawText(25 - unitMetrics.horizontalAdvance(left.unit) / 2, 61 + unitMetrics.ascent(),
               left.unit);
    p.drawText(88 - unitMetrics.horizontalAdvance(right.unit) / 2, 61 + unitMetrics.ascent(),
               right.unit);
}

LoopWindow::LoopWindow(VelmorState& state, Exercise exercise, TfrmGraph* graph, MainLink* main,
                       const Layout& layout, QWidget* parent)
    : QWidget(parent), m_state(state), m_exercise(exercise), m_graph(graph), m_main(main),
      m_layout(layout), m_panelFontSize(*layout.panelFontSize)
{
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, kSilver);
    palette.setColor(QPalette::Button, kSilver);
    setPalette(palette);
    setAutoFillBackground(true);

    const int clientHeight =
        m_graph != nullptr ? std::max(m_graph->height(), kPanelSize.height()) : kPanelSize.height();
    setFixedSize(kPanelSize.width(), clientHeight);
    imgPanel = new PanelView(kPanelSize, this);
    m_panelFontSize = m_state.shell.largeFonts ? 8 : 10;
    // A new window has shown no run yet, whatever an earlier window of the
    // exercise showed: its texts must not bring back that window's words.
    if (m_layout.lightState != nullptr) {
        *m_layout.lightState = 0;
    }

    const qreal ratio = imgPanel->image().devicePixelRatio();
    imgTrafGreen = TrafficLightPicture(RunLamp::Green, ratio);
    imgTrafRed = TrafficLightPicture(RunLamp::Red, ratio);

    // The sample time and the run light read to a screen reader; the
    // light's words are its state.
    m_sampleItem = new PanelItem(m_layout.sampleBox.box, imgPanel);
    m_sampleItem->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_runLight = new PanelItem(QRect(m_layout.light.at, m_layout.light.size), imgPanel);
    m_runLight->setAttribute(Qt::WA_TransparentForMouseEvents);

    m_driver = new RunDriver(this);
    connect(m_driver, &RunDriver::started, this, &LoopWindow::runStarted);
    connect(m_driver, &RunDriver::cycled, this, &LoopWindow::DrawCycle);
    connect(m_driver, &RunDriver::finished, this, &LoopWindow::runEnded);
    // Told through the driver, which outlives this window's own steps: a
    // run cut short by the window's release still reaches the shell.
    m_driver->setEndHook([main = m_main, exercise = m_exercise] {
        if (main != nullptr) {
            main->runEnded(exercise);
        }
    });
}

LoopWindow::~LoopWindow() = default;

void LoopWindow::finishCreation()
{
    InitValues();
    SetLanguage();
    DrawSample();
    if (m_main != nullptr) {
        m_main->setFileNewEnabled(true);
    }
    // No run yet: the signal head is there, neither lamp lit.
    DrawRunLight(imgPanel, TrafficLightPicture(RunLamp::None, imgPanel->image().devicePixelRatio()),
                 m_layout.light);
}

QLabel* LoopWindow::makeLabel(const QRect& place, int pointSize, Qt::Alignment alignment)
{
    auto* label = new QLabel(imgPanel);
    label->setGeometry(place);
    label->setFont(PanelFont(pointSize));
    label->setAlignment(alignment);
    return label;
}

QPushButton* LoopWindow::makeButton(const QRect& place, int pointSize)
{
    auto* button = new QPushButton(imgPanel);
    button->setGeometry(place);
    button->setFont(PanelFont(pointSize));
    button->setCursor(Qt::PointingHandCursor);
    button->setFocusPolicy(Qt::TabFocus);
    return button;
}

void LoopWindow::makeRunButtons(const QRect& start, const QRect& stop, const QRect& menu)
{
    btnStart = makeButton(start);
    btnStop = makeButton(stop);
    btnMenu = makeButton(menu);
    btnStop->setEnabled(false);
    connect(btnStart, &QPushButton::clicked, this, &LoopWindow::btnStartClick);
    connect(btnStop, &QPushButton::clicked, this, &LoopWindow::btnStopClick);
    connect(btnMenu, &QPushButton::clicked, this, &LoopWindow::btnMenuClick);
}

void LoopWindow::drawPanelGround(std::initializer_list<QRect> groups)
{
    QImage& image = imgPanel->image();
    image.fill(kSilver);
    QPainter p(&image);
    for (const QRect& group : groups) {
        DrawEtchedFrame(p, group);
    }
}

LoopWindow::ControllerLabels LoopWindow::makeControllerLabels(QPoint captionAt, int x, int pgTop,
                                                              int pbTop)
{
    const auto left = Qt::AlignLeft | Qt::AlignVCenter;
    ControllerLabels labels;
    labels.caption = makeLabel(QRect(captionAt, QSize(90, 15)), 9, left);
    labels.caption->setAutoFillBackground(true);
    labels.pg = makeLabel(QRect(x, pgTop, 38, 17), 10, left);
    labels.pb = makeLabel(QRect(x, pbTop, 38, 17), 10, left);
    return labels;
}

void LoopWindow::setControllerTexts(const ControllerLabels& labels, ControllerPanel* panel)
{
    const auto text = [](const char* english) {
        return QCoreApplication::translate("LoopWindow", english);
    };
    // A caption on the group's frame: a blank either side breaks the line.
    labels.caption->setText(QLatin1Char(' ') + text(QT_TRANSLATE_NOOP("LoopWindow", "Controller")) +
                            QLatin1Char(' '));
    labels.caption->adjustSize();
    labels.pg->setText(text(QT_TRANSLATE_NOOP("LoopWindow", "PG")));
    labels.pb->setText(text(QT_TRANSLATE_NOOP("LoopWindow", "PB")));
    panel->lblI->setText(text(QT_TRANSLATE_NOOP("LoopWindow", "I")));
    panel->lblD->setText(text(QT_TRANSLATE_NOOP("LoopWindow", "D")));
    // The boxes and switches read as the letters beside them.
    panel->imgPG->setLabel(labels.pg->text());
    panel->imgPB->setLabel(labels.pb->text());
    panel->imgI->setLabel(panel->lblI->text());
    panel->imgD->setLabel(panel->lblD->text());
    panel->chkI->setAccessibleName(panel->lblI->text());
    panel->chkD->setAccessibleName(panel->lblD->text());
}

void LoopWindow::drawGaugeWells(const GaugeLayout& top, const GaugeLayout& bottom)
{
    QImage& image = imgPanel->image();
    const QRect wells[] = {Ltrb(15, 76, 35, 341), Ltrb(78, 76, 98, 341)};
    for (const QRect& box : {wells[0], wells[1], top.box, bottom.box}) {
        DrawSunkenFrame(image, box);
    }
    QPainter p(&image);
    p.fillRect(wells[0], kSilver);
    p.fillRect(wells[1], kSilver);
    p.fillRect(top.box, Qt::black);
    p.fillRect(bottom.box, Qt::black);
    // The gauges read to a screen reader; the mouse passes through.
    const auto item = [this](const GaugeLayout& gauge) {
        auto* reading = new PanelItem(gauge.box, imgPanel);
        reading->setAttribute(Qt::WA_TransparentForMouseEvents);
        return reading;
    };
    m_topGauge = item(top);
    m_bottomGauge = item(bottom);
    m_topGaugeName = top.name;
    m_bottomGaugeName = bottom.name;
}

void LoopWindow::setRunTexts()
{
    const auto text = [](const char* english) {
        return QCoreApplication::translate("LoopWindow", english);
    };
    btnStart->setText(text(QT_TRANSLATE_NOOP("LoopWindow", "START")));
    btnStop->setText(text(QT_TRANSLATE_NOOP("LoopWindow", "STOP")));
    btnMenu->setText(text(QT_TRANSLATE_NOOP("LoopWindow", "MENU")));
    lblSampleTime->setText(text(QT_TRANSLATE_NOOP("LoopWindow", "Sample Time")));
    m_sampleItem->setLabel(text(QT_TRANSLATE_NOOP("LoopWindow", "Sample time (s)")));
    if (m_topGauge != nullptr && m_topGaugeName != nullptr) {
        m_topGauge->setLabel(text(m_topGaugeName));
    }
    if (m_bottomGauge != nullptr && m_bottomGaugeName != nullptr) {
        m_bottomGauge->setLabel(text(m_bottomGaugeName));
    }
    m_runLight->setLabel(text(QT_TRANSLATE_NOOP("LoopWindow", "Run light")));
    m_runLight->setValueText(m_driver->running()
                                 ? text(QT_TRANSLATE_NOOP("LoopWindow", "Process running"))
                                 : text(QT_TRANSLATE_NOOP("LoopWindow", "Process stopped")));
}

void LoopWindow::setReadingOrder(std::initializer_list<QWidget*> order)
{
    QWidget* previous = nullptr;
    for (QWidget* widget : order) {
        if (widget == nullptr) {
            continue;
        }
        if (widget->focusPolicy() == Qt::NoFocus) {
            widget->setFocusPolicy(Qt::TabFocus);
        }
        if (previous != nullptr) {
            QWidget::setTabOrder(previous, widget);
        }
        previous = widget;
    }
}

void LoopWindow::UpdateSettings()
{
    velmor::UpdateSettings(m_state, m_exercise);
    ShowSettings();
}

void LoopWindow::SendSettings()
{
    velmor::SendSettings(m_state, m_exercise);
}

void LoopWindow::DrawSample()
{
    DrawSampleTime(imgPanel, m_layout.sampleBox, m_state.run.samplePeriod, m_panelFontSize);
}

void LoopWindow::DrawGreen()
{
    m_runLight->setValueText(QCoreApplication::translate(
        "LoopWindow", QT_TRANSLATE_NOOP("LoopWindow", "Process running")));
    DrawRunLight(imgPanel, imgTrafGreen, m_layout.light);
    if (m_layout.lightState != nullptr) {
        *m_layout.lightState = 1;
    }
}

void LoopWindow::DrawRed()
{
    m_runLight->setValueText(QCoreApplication::translate(
        "LoopWindow", QT_TRANSLATE_NOOP("LoopWindow", "Process stopped")));
    DrawRunLight(imgPanel, imgTrafRed, m_layout.light);
    if (m_layout.lightState != nullptr) {
        *m_layout.lightState = 2;
    }
}

void LoopWindow::btnStartClick()
{
    if (m_driver->running()) {
        return;
    }
    if (m_graph != nullptr) {
        m_graph->stopReadout();
    }
    m_driver->begin(MakeEngine(m_exercise, m_state, m_graph));
}

void LoopWindow::runStarted()
{
    // STOP is enabled first and takes the focus from START: a disabled
    // START would hand it to the next control (MENU), where the next Space
    // would close the exercise.
    const bool focusOnStart = btnStart->hasFocus();
    btnStop->setEnabled(true);
    if (focusOnStart) {
        btnStop->setFocus(Qt::OtherFocusReason);
    }
    btnStart->setEnabled(false);
    if (m_main != nullptr) {
        m_main->setRunMenusEnabled(false);
        // The toolbar's Save and Print stay reachable during a run.
        m_main->setFileCommandsEnabled(false);
    }
    DrawGreen();
    runStartedOwn();
}

void LoopWindow::runEnded()
{
    const bool focusOnStop = btnStop->hasFocus();
    btnStart->setEnabled(true);
    if (focusOnStop) {
        btnStart->setFocus(Qt::OtherFocusReason);
    }
    btnStop->setEnabled(false);
    DrawRed();
    if (m_main != nullptr) {
        m_main->setRunMenusEnabled(true);
        // The finished run can be saved and printed.
        m_main->setFileCommandsEnabled(true);
    }
    runEndedOwn();
}

void LoopWindow::btnStopClick()
{
    m_state.run.runActive = false;
    m_driver->poke();
}

void LoopWindow::btnMenuClick()
{
    FormClose();
}

void LoopWindow::imgPGClick(int code)
{
    const std::optional<KeypadRange> range = KeypadRangeFor(m_state, m_exercise, code);
    if (!range) {
        return; // a blank row, or a box that takes no entry now
    }
    if (RefuseLockedChange(this, m_exercise, BoxSettingNames(m_state, m_exercise, code))) {
        return;
    }
    KeypadState& k = m_state.keypad;
    k.keypadOld = KeypadOldFor(m_state, m_exercise, code);
    k.keypadMin = range->min;
    k.keypadMax = range->max;
    k.keypadWhole = range->number == KeypadNumber::Whole;
    k.keypadTarget = code;
    m_state.shell.currentForm = std::string(FormName(m_exercise));
    if (m_main != nullptr) {
        m_main->showKeypad();
    }
}

void LoopWindow::FormClose()
{
    const CloseRule& rule = m_layout.close;
    if (rule.resetsRun) {
        btnStart->setEnabled(true);
        btnStop->setEnabled(false);
        m_state.run.runActive = false;
        m_driver->poke();
    }
    if (m_main == nullptr) {
        return;
    }
    m_main->hideKeypad();
    if (rule.disablesNew) {
        m_main->setFileNewEnabled(false);
    }
    m_main->setFileCommandsEnabled(false);
    m_main->setControlItemChecked(m_exercise, false);
    if (m_state.shell.appRunning) {
        emit closeRequested(m_exercise);
    }
}

void LoopWindow::closeEvent(QCloseEvent* event)
{
    // The window never closes itself: the shell releases it later.
    FormClose();
    event->ignore();
}

void LoopWindow::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        SetLanguage();
    }
    QWidget::changeEvent(event);
}

} // namespace velmor
