#include "ui/trends/TfrmGraph.h"

#include "core/Arith.h"
#include "core/exercises/ExerciseProfile.h"
#include "ui/common/Language.h"
#include "ui/common/PanelView.h"
#include "ui/common/SettingLocks.h"
#include "ui/trends/Scales.h"
#include "ui/trends/TrendArt.h"
#include "ui/trends/TrendLayout.h"
#include "ui/trends/TrendView.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScreen>

#include <algorithm>
#include <cmath>
#include <vector>

namespace velmor {

namespace {

constexpr int kPanelWidth = 524;
constexpr int kPanelHeight = 501;

// English source texts; Spanish comes from the translation catalogue.

// The exercise profiles' texts (captions, unit labels, settings-box labels),
// listed here so that the translation catalogue picks them up.
[[maybe_unused]] constexpr const char* kProfileTexts[] = {
    QT_TRANSLATE_NOOP("TfrmGraph", "Flow Trend"),
    QT_TRANSLATE_NOOP("TfrmGraph", "Temperature Trend"),
    QT_TRANSLATE_NOOP("TfrmGraph", "Batch Volume Trend"),
    QT_TRANSLATE_NOOP("TfrmGraph", "Fluid Level Trend"),
    QT_TRANSLATE_NOOP("TfrmGraph", "Open Loop Trend"),
    QT_TRANSLATE_NOOP("TfrmGraph", "Level"),
    QT_TRANSLATE_NOOP("TfrmGraph", "Flow PG:"),
    QT_TRANSLATE_NOOP("TfrmGraph", "Flow PB:"),
    QT_TRANSLATE_NOOP("TfrmGraph", "Flow I:"),
    QT_TRANSLATE_NOOP("TfrmGraph", "Flow D:"),
    QT_TRANSLATE_NOOP("TfrmGraph", "Temp PG:"),
    QT_TRANSLATE_NOOP("TfrmGraph", "Temp PB:"),
    QT_TRANSLATE_NOOP("TfrmGraph", "Temp I:"),
    QT_TRANSLATE_NOOP("TfrmGraph", "Temp D:"),
    QT_TRANSLATE_NOOP("TfrmGraph", "Level PG:"),
    QT_TRANSLATE_NOOP("TfrmGraph", "Level PB:"),
    QT_TRANSLATE_NOOP("TfrmGraph", "Level I:"),
    QT_TRANSLATE_NOOP("TfrmGraph", "Level D:"),
    QT_TRANSLATE_NOOP("TfrmGraph", "Vol PG:"),
    QT_TRANSLATE_NOOP("TfrmGraph", "Vol PB:"),
    QT_TRANSLATE_NOOP("TfrmGraph", "Vol I:"),
    QT_TRANSLATE_NOOP("TfrmGraph", "Vol D:"),
};

constexpr const char* kTraceNames[kTraceCount] = {
    QT_TRANSLATE_NOOP("TfrmGraph", "Flow SP"),     QT_TRANSLATE_NOOP("TfrmGraph", "Flow MV"),
    QT_TRANSLATE_NOOP("TfrmGraph", "Pump Output"), QT_TRANSLATE_NOOP("TfrmGraph", "Temp SP"),
    QT_TRANSLATE_NOOP("TfrmGraph", "Temp MV"),     QT_TRANSLATE_NOOP("TfrmGraph", "Temp Output"),
    QT_TRANSLATE_NOOP("TfrmGraph", "Vol SP"),      QT_TRANSLATE_NOOP("TfrmGraph", "Vol MV"),
    QT_TRANSLATE_NOOP("TfrmGraph", "Level SP"),    QT_TRANSLATE_NOOP("TfrmGraph", "Level MV"),
};

// Background of a trace's check box, and a text colour that reads on it.
QColor BoxColour(TraceId id)
{
    if (id == TraceId::FlowQ) {
        return QColor(128, 128, 128); // its trace is white
    }
    const Rgb c = TraceTable()[static_cast<std::size_t>(id)].colour;
    return QColor(c.r, c.g, c.b);
}

void PaintBox(QCheckBox* box, const QColor& background)
{
    QPalette pal = box->palette();
    pal.setColor(QPalette::Window, background);
    const bool dark = qGray(background.rgb()) < 140;
    const QColor text = dark ? QColor(Qt::white) : QColor(Qt::black);
    pal.setColor(QPalette::Active, QPalette::WindowText, text);
    pal.setColor(QPalette::Inactive, QPalette::WindowText, text);
    pal.setColor(QPalette::Disabled, QPalette::WindowText, QColor(112, 112, 112));
    box->setPalette(pal);
    box->setBackgroundRole(QPalette::Window);
    box->setAutoFillBackground(true);
}

// The hint rule of the pump button: text before its first ":" (one is added
// when missing), then ": " and the state word (the same in both languages).
QString PumpHint(QString hint, bool on)
{
    if (!hint.contains(QLatin1Char(':'))) {
        hint += QLatin1Char(':');
    }
    return hint.left(hint.indexOf(QLatin1Char(':'))) + QStringLiteral(": ") +
           (on ? QStringLiteral("On") : QStringLiteral("Off"));
}

} // namespace

const std::array<TfrmGraph::TraceBinding, kTraceCount> TfrmGraph::kTraceBindings{{
    {&TfrmGraph::chkFlowSP, &RunState::flowSetPoint, "Flow SP"},
    {&TfrmGraph::chkFlowMV, &RunState::flowRate, "Flow MV"},
    {&TfrmGraph::chkFlowQ, &RunState::outputPercent, "Pump Output"},
    {&TfrmGraph::chkTempSP, &RunState::tempSetPoint, "Temp SP"},
    {&TfrmGraph::chkTempMV, &RunState::measuredTemperature, "Temp MV"},
    {&TfrmGraph::chkTempQ, &RunState::heaterPercent, "Temp Output"},
    {&TfrmGraph::chkVolSP, &RunState::volumeSetPoint, "Volume SP"},
    {&TfrmGraph::chkVolMV, &RunState::measuredVolume, "Volume MV"},
    {&TfrmGraph::chkLevelSP, &RunState::levelSetPoint, "Level SP"},
    {&TfrmGraph::chkLevelMV, &RunState::levelPercent, "Level MV"},
}};

QCheckBox* TfrmGraph::checkBoxOf(TraceId id) const
{
    return this->*kTraceBindings[static_cast<std::size_t>(id)].box;
}

float& TfrmGraph::currentValueOf(TraceId id)
{
    return m_state.run.*kTraceBindings[static_cast<std::size_t>(id)].value;
}

// ---------------------------------------------------------------------------
// Creation

TfrmGraph::TfrmGraph(VelmorState& state, Exercise exercise, QWidget* parent, qreal pixelRatio)
    : QWidget(parent), m_state(state), m_exercise(exercise)
{
    qreal ratio = 1;
    if (pixelRatio > 0) {
        ratio = pixelRatio;
    } else if (parent != nullptr) {
        ratio = parent->devicePixelRatioF();
    } else if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        ratio = screen->devicePixelRatio();
    }
    m_canvas = TrendCanvas(ratio);
    FormCreate();
}

TfrmGraph::~TfrmGraph() = default;

void TfrmGraph::FormCreate()
{
    m_view.trendInitialising = true;
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Where the window stands on its own; the shell places its frame.
    move(231, 0);
    setFixedSize(kPanelWidth, kPanelHeight);
    // Large-font mode keeps the same pixel sizes through smaller points
    // (see arialFont); the layout itself needs no rescaling here.
    m_view.trendFontSize = m_state.shell.largeFonts ? 7 : 9;

    setMouseTracking(true);
    readoutTimer = new QTimer(this);
    readoutTimer->setObjectName(QStringLiteral("readoutTimer"));
    readoutTimer->setSingleShot(true);
    readoutTimer->setInterval(500);
    connect(readoutTimer, &QTimer::timeout, this, &TfrmGraph::readoutTimerTimer);
    LoadPictures();
    // First in the Tab chain, so that a window brought forward gives the
    // focus to the plot and never to an edit, whose text cursor would show.
    m_plotItem = new PanelItem(QRect(kPlotLeft, 47, kPlotRight - kPlotLeft + 1, 316), this);
    m_plotItem->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_plotItem->installEventFilter(this);
    CreateTopRow();
    CreateFloat();
    CreateCheckBoxes();
    CreateButtons();

    ApplyExerciseConfiguration();
    CreateKeyboardOrder();

    m_view.trendViewStart = 0;
    txtTrendBase->setText(QString::number(m_state.trend.trendSpan));
    SliderAt(SliderKnobOffset(m_state.trend.trendSpan));

    m_state.run.pumpOn = false;
    m_state.run.gateValvePercent = 100;
    if (ProfileOf(m_exercise).trends.gateValve) {
        btnChokeUp->setEnabled(true);
        btnChokeDown->setEnabled(true);
        DrawGateBox();
    }
    if (btnPump->isEnabled()) {
        btnPump->setToolTip(PumpHint(btnPump->toolTip(), false));
    }

    m_state.log.secondIndex.fill(1);
    m_view.hoverX = 0;
    m_view.hoverY = 0;
    m_view.savedColumnX = 0;
    readoutTimer->stop();
    m_view.trendClosing = false;
    SetLanguage();
}

void TfrmGraph::LoadPictures()
{
    const qreal ratio = m_canvas.ratio();
    m_background = trendart::PanelBackground(ratio);
    m_canvas.image() = m_background.copy();
    imgLpermOverlay = trendart::LpermOverlay(QLatin1Char(decimalMark()), ratio);
    imgLitresOverlay = trendart::LitresOverlay(QLatin1Char(decimalMark()), ratio);
    imgLineBackground = m_canvas.image().copy(m_canvas.devRect(kPlotLeft, 47, kPlotLeft + 1, 362));
    imgLineBackground.fill(Qt::black);
    m_sliderTrack = trendart::SliderTrack(ratio);
    m_sliderKnob = trendart::SliderKnob(ratio);
    for (int a = 1; a <= 8; ++a) {
        m_arrows[static_cast<std::size_t>(a - 1)] = trendart::ArrowPicture(a, false, ratio);
        m_arrowsLit[static_cast<std::size_t>(a - 1)] = trendart::ArrowPicture(a, true, ratio);
    }

    m_axisFont = QFont(QStringLiteral("Arial"));
    m_axisFont.setPixelSize(13); // a 15-pixel cell, as the label strip expects
    m_axisFont.setBold(true);
    const QFontMetrics axisMetrics(m_axisFont);
    m_axisFontAscent = axisMetrics.ascent();
    m_axisFontHeight = axisMetrics.height();
}

void TfrmGraph::CreateTopRow()
{
    auto label = [this](const char* name, int x, int w, Qt::Alignment align) {
        auto* l = new QLabel(this);
        l->setObjectName(QLatin1String(name));
        l->setGeometry(x, 5, w, 16);
        l->setAlignment(align | Qt::AlignVCenter);
        l->setFont(arialFont(9));
        return l;
    };
    lblStartTime = label("lblStartTime", 4, 102, Qt::AlignRight);
    lblSecs = label("lblSecs", 143, 40, Qt::AlignLeft);
    lblTimeBase = label("lblTimeBase", 300, 94, Qt::AlignRight);
    lblSecs2 = label("lblSecs2", 437, 40, Qt::AlignLeft);

    auto edit = [this](const char* name, int x) {
        auto* e = new QLineEdit(this);
        e->setObjectName(QLatin1String(name));
        e->setGeometry(x, 3, 32, 20);
        e->setMaxLength(3);
        // Whole seconds only: anything but a digit is refused as typed.
        e->setValidator(
            new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,3}")), e));
        e->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        e->setFont(arialFont(9));
        e->setText(QStringLiteral("0"));
        e->setFocusPolicy(Qt::ClickFocus);
        // Enter is the window's; the other keys are the edit's.
        e->installEventFilter(this);
        return e;
    };
    txtStartTime = edit("txtStartTime", 108);
    txtTrendBase = edit("txtTrendBase", 400);

    auto unit = [this](const char* name, int x) {
        auto* l = new QLabel(this);
        l->setObjectName(QLatin1String(name));
        l->setGeometry(x, 26, 32, 17);
        l->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        l->setFont(arialFont(7, true));
        return l;
    };
    lblLeftUnit = unit("lblLeftUnit", 2);
    lblRightUnit = unit("lblRightUnit", 490);
}

void TfrmGraph::CreateFloat()
{
    txtFloat = new QLabel(this);
    txtFloat->setObjectName(QStringLiteral("txtFloat"));
    txtFloat->setAutoFillBackground(true);
    QPalette floatPalette = txtFloat->palette();
    floatPalette.setColor(QPalette::Window, QColor(255, 255, 230));
    floatPalette.setColor(QPalette::WindowText, Qt::black);
    txtFloat->setPalette(floatPalette);
    txtFloat->setFrameShape(QFrame::Box);
    txtFloat->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    txtFloat->setMargin(2);
    txtFloat->setFont(arialFont(8));
    txtFloat->installEventFilter(this);
    txtFloat->hide();
}

void TfrmGraph::CreateCheckBoxes()
{
    // One column beside the bar box, in the order of the bar places; the
    // level boxes share the first two places with the flow boxes.
    static constexpr const char* kNames[kTraceCount] = {
        "chkFlowSP", "chkFlowMV", "chkFlowQ", "chkTempSP",  "chkTempMV",
        "chkTempQ",  "chkVolSP",  "chkVolMV", "chkLevelSP", "chkLevelMV"};
    for (int i = 0; i < kTraceCount; ++i) {
        const auto id = static_cast<TraceId>(i);
        const TraceBinding& binding = kTraceBindings[static_cast<std::size_t>(i)];
        auto* box = new QCheckBox(QString::fromLatin1(binding.layoutText), this);
        box->setObjectName(QLatin1String(kNames[i]));
        box->setGeometry(230, 379 + 15 * BarPlaceIndex(id), 104, 14);
        box->setFont(arialFont(m_view.trendFontSize));
        box->setFocusPolicy(Qt::NoFocus);
        PaintBox(box, BoxColour(id));
        this->*binding.box = box;
        connect(box, &QCheckBox::toggled, this, [this, id] { chkTraceClick(id); });
    }
    chkLevelSP->hide();
    chkLevelMV->hide();
}

void TfrmGraph::CreateKeyboardOrder()
{
    // The edits take the focus from a click, as before, and from Tab; the
    // check boxes and buttons from Tab only, so a click shows no focus.
    txtStartTime->setFocusPolicy(Qt::StrongFocus);
    txtTrendBase->setFocusPolicy(Qt::StrongFocus);
    QWidget* previous = m_plotItem;
    const auto next = [&previous](QWidget* widget) {
        if (widget->focusPolicy() == Qt::NoFocus) {
            widget->setFocusPolicy(Qt::TabFocus);
        }
        QWidget::setTabOrder(previous, widget);
        previous = widget;
    };
    next(txtStartTime);
    next(txtTrendBase);
    // The check boxes in the order of their places, top to bottom.
    std::vector<QCheckBox*> boxes;
    for (const TraceBinding& binding : kTraceBindings) {
        boxes.push_back(this->*binding.box);
    }
    std::stable_sort(boxes.begin(), boxes.end(),
                     [](const QCheckBox* a, const QCheckBox* b) { return a->y() < b->y(); });
    for (QCheckBox* box : boxes) {
        next(box);
    }
    next(btnChokeUp);
    next(btnChokeDown);
    next(btnPump);
}

void TfrmGraph::CreateButtons()
{
    auto button = [this](const char* name, int x, int y, int w, int h, const QIcon& icon) {
        auto* b = new QPushButton(this);
        b->setObjectName(QLatin1String(name));
        b->setGeometry(x, y, w, h);
        b->setIcon(icon);
        b->setFocusPolicy(Qt::NoFocus);
        b->setEnabled(false);
        return b;
    };
    btnChokeUp = button("btnChokeUp", 433, 395, 29, 15, trendart::GateIcon(true));
    btnChokeDown = button("btnChokeDown", 433, 410, 29, 14, trendart::GateIcon(false));
    btnPump = button("btnPump", 462, 395, 29, 29, trendart::PumpIcon(false));
    btnPump->setIconSize(QSize(22, 22));
    btnChokeUp->setToolTip(QStringLiteral("Open Gate Valve"));
    btnChokeDown->setToolTip(QStringLiteral("Close Gate Valve"));
    btnPump->setToolTip(QStringLiteral("Pump"));
    connect(btnChokeUp, &QPushButton::clicked, this, [this] { btnChokeUpClick(); });
    connect(btnChokeDown, &QPushButton::clicked, this, [this] { btnChokeDownClick(); });
    connect(btnPump, &QPushButton::clicked, this, [this] { btnPumpClick(); });
}

void TfrmGraph::ApplyExerciseConfiguration()
{
    const TrendsProfile& config = ProfileOf(m_exercise).trends;
    setWindowTitle(QString::fromUtf8(config.caption));

    QPainter p(&m_canvas.image());
    switch (config.scale) {
    case ScalePicture::FlowRate:
        p.drawImage(2, 20, imgLpermOverlay);
        break;
    case ScalePicture::Litres:
        p.drawImage(2, 19, imgLitresOverlay);
        break;
    case ScalePicture::None:
        break;
    }
    p.end();
    // The scale picture belongs to the laid-out panel from now on.
    m_background = m_canvas.image().copy();

    m_state.trend.trendSpan = ProfileOf(m_exercise).trendSpan;
    if (config.levelBoxes) {
        chkFlowSP->hide();
        chkFlowMV->hide();
        chkLevelSP->show();
        chkLevelMV->show();
    }
    for (TraceId id : config.checked) {
        checkBoxOf(id)->setChecked(true);
    }
    for (TraceId id : config.disabled) {
        QCheckBox* box = checkBoxOf(id);
        box->setEnabled(false);
        PaintBox(box, trendart::kSilver);
    }
}

// ---------------------------------------------------------------------------
// What a running loop tells the window

void TfrmGraph::runStarted(const RunStart& start)
{
    TrendViewState& v = m_view;
    v.trendPrevX = kPlotLeft;
    for (TraceId id : start.traces) {
        v.prevY(id) =
            PlotOnScale(TraceTable()[static_cast<std::size_t>(id)].scale, start.firstValues[id]);
    }
    v.trendSegmentShown = 0;
    // A cursor line drawn over loaded or earlier data goes with the new run.
    if (!start.hadNoData) {
        v.cursorShown = false;
    }
    v.liveTraces = start.traces;
    v.liveMarks = start.settingsMarks;
    txtFloat->hide();
    // The view starts at 0 with fresh axes; a cursor line still shown is
    // drawn again over them.
    v.trendViewStart = 0;
    ShowStartTime(0);
    DrawNewAxes();
    RestoreLine();
    v.trendLive = true;
}

void TfrmGraph::recordAppended(int recordNumber, double cycleTime, std::int32_t settingsSegment)
{
    TrendViewState& v = m_view;
    DrawBars(recordNumber);
    if (v.trendLive) {
        txtFloat->hide();
        v.trendX = SetXPoints(cycleTime);
        for (TraceId id : v.liveTraces) {
            TrendSegment(id);
        }
        if (v.liveMarks && v.trendSegmentShown < settingsSegment) {
            if (v.trendSegmentShown > 0) {
                DrawMark();
            }
            PIDUpdate(recordNumber);
        }
    }
    v.trendPrevX = v.trendX;
}

void TfrmGraph::runFinished()
{
    m_view.trendLive = false;
}

void TfrmGraph::ShowLoadedRun()
{
    // A cursor of the run before would mark a record of another run.
    m_view.cursorShown = false;
    m_view.trendViewStart = 0;
    ShowStartTime(0);
    txtTrendBase->setText(QString::number(m_state.trend.trendSpan));
    SliderAt(SliderKnobOffset(m_state.trend.trendSpan));
    DrawTrend();
    DrawBars(m_state.run.sampleCount);
}

int TfrmGraph::cursorRecordShown() const
{
    return m_view.cursorShown ? m_view.cursorRecord : 0;
}

// ---------------------------------------------------------------------------
// Texts

void TfrmGraph::Heading(const QString& fileName)
{
    const QString caption = windowTitle();
    const int p = caption.indexOf(QLatin1Char('-')) + 1; // 1-based, 0: none
    const QString title = p > 0 ? caption.left(std::max(p - 2, 0)) : caption;
    setWindowTitle(title + QStringLiteral(" - ") + fileName);
}

void TfrmGraph::SetLanguage()
{
    auto text = [](const char* english) {
        return QCoreApplication::translate("TfrmGraph", english);
    };

    // Keep a loaded file's name: " - name" after the title.
    const QString caption = windowTitle();
    const int dash = caption.indexOf(QLatin1Char('-'));
    const QString suffix = dash >= 0 ? caption.mid(std::max(dash - 1, 0)) : QString();
    setWindowTitle(text(ProfileOf(m_exercise).trends.caption) + suffix);

    for (int i = 0; i < kTraceCount; ++i) {
        checkBoxOf(static_cast<TraceId>(i))->setText(text(kTraceNames[i]));
    }
    lblStartTime->setText(text(QT_TRANSLATE_NOOP("TfrmGraph", "Start Time")));
    lblTimeBase->setText(text(QT_TRANSLATE_NOOP("TfrmGraph", "TimeBase")));
    lblSecs->setText(text(QT_TRANSLATE_NOOP("TfrmGraph", "secs")));
    lblSecs2->setText(text(QT_TRANSLATE_NOOP("TfrmGraph", "secs")));
    lblLeftUnit->setText(text(ProfileOf(m_exercise).trends.leftUnit));
    lblRightUnit->setText(text(ProfileOf(m_exercise).trends.rightUnit));

    // Hints; the pump's keeps its state word when it has one.
    const QString pump = text(QT_TRANSLATE_NOOP("TfrmGraph", "Pump"));
    btnPump->setToolTip(
        btnPump->toolTip().contains(QLatin1Char(':')) ? PumpHint(pump, m_state.run.pumpOn) : pump);
    btnChokeUp->setToolTip(text(QT_TRANSLATE_NOOP("TfrmGraph", "Open gate valve")));
    btnChokeDown->setToolTip(text(QT_TRANSLATE_NOOP("TfrmGraph", "Close gate valve")));
    if (ProfileOf(m_exercise).trends.gateValve) {
        DrawGateBox();
    }
    // The picture buttons and the edits read as their hints and labels.
    btnPump->setAccessibleName(pump);
    btnChokeUp->setAccessibleName(btnChokeUp->toolTip());
    btnChokeDown->setAccessibleName(btnChokeDown->toolTip());
    txtStartTime->setAccessibleName(lblStartTime->text() + QStringLiteral(" (") + lblSecs->text() +
                                    QLatin1Char(')'));
    txtTrendBase->setAccessibleName(lblTimeBase->text() + QStringLiteral(" (") + lblSecs2->text() +
                                    QLatin1Char(')'));
    m_plotItem->setLabel(text(QT_TRANSLATE_NOOP("TfrmGraph", "Trend plot")));
    m_plotItem->setAccessibleDescription(
        text(QT_TRANSLATE_NOOP("TfrmGraph", "After a run: Left and Right move the cursor line, "
                                            "Home and End go to the run's ends")));
    tellCursorValues();

    DrawSettingsLabels();
}

void TfrmGraph::setEditCursor(const QCursor& cursor)
{
    txtStartTime->setCursor(cursor);
    txtTrendBase->setCursor(cursor);
}

void TfrmGraph::btnPumpClick()
{
    if (RefuseLockedChange(btnPump, m_exercise, {"pumpOn"})) {
        return;
    }
    m_state.run.pumpOn = !m_state.run.pumpOn;
    btnPump->setToolTip(PumpHint(btnPump->toolTip(), m_state.run.pumpOn));
    btnPump->setIcon(trendart::PumpIcon(m_state.run.pumpOn));
}

void TfrmGraph::setPumpEnabled(bool enabled)
{
    btnPump->setEnabled(enabled);
}

// ---------------------------------------------------------------------------
// Drawing helpers and events

QFont TfrmGraph::arialFont(int points, bool bold) const
{
    // Points at 96 dpi, or at 120 dpi in large-font mode (which also asks
    // for smaller points), so that the panel's pixels stay put.
    const int dpi = m_state.shell.largeFonts ? 120 : 96;
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(std::max(1, static_cast<int>(RoundEven(static_cast<Real>(points) * dpi / 72))));
    f.setBold(bold);
    return f;
}

char TfrmGraph::decimalMark() const
{
    return m_state.shell.decimalComma ? ',' : '.';
}

void TfrmGraph::refreshPanel()
{
    update();
}

void TfrmGraph::closeEvent(QCloseEvent* event)
{
    // The window never closes itself: the shell releases it together with
    // its exercise.
    event->ignore();
    m_view.trendClosing = true;
    if (m_state.shell.appRunning) {
        emit closeRequested();
    }
}

void TfrmGraph::mousePressEvent(QMouseEvent* event)
{
    const QPointF at = event->position();
    imgPanelMouseDown(event->button(), static_cast<int>(std::floor(at.x())),
                      static_cast<int>(std::floor(at.y())));
}

void TfrmGraph::mouseMoveEvent(QMouseEvent* event)
{
    const QPointF at = event->position();
    imgPanelMouseMove(event->buttons(), static_cast<int>(std::floor(at.x())),
                      static_cast<int>(std::floor(at.y())));
}

bool TfrmGraph::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto* press = static_cast<QKeyEvent*>(event);
        const int key = press->key();
        // Tab always leaves an edit: the edits' own rules never trap the focus.
        if (key == Qt::Key_Tab || key == Qt::Key_Backtab) {
            return QWidget::eventFilter(watched, event);
        }
        if (watched == m_plotItem) {
            return plotKeyPress(key, press->modifiers());
        }
        if (watched == txtStartTime) {
            return txtStartTimeKeyPress(key);
        }
        if (watched == txtTrendBase) {
            return txtTrendBaseKeyPress(key);
        }
    }
    if (watched == txtFloat && event->type() == QEvent::MouseMove) {
        const auto* move = static_cast<QMouseEvent*>(event);
        txtFloatMouseMove(move->buttons(), static_cast<int>(std::floor(move->position().x())),
                          static_cast<int>(std::floor(move->position().y())));
    }
    return QWidget::eventFilter(watched, event);
}

void TfrmGraph::paintEvent(QPaintEvent* event)
{
    // The picture holds the screen's pixels: its source area is the
    // logical area times the ratio.
    const QRect area = event->rect();
    const qreal ratio = m_canvas.ratio();
    QPainter p(this);
    p.drawImage(
        area, m_canvas.image(),
        QRectF(area.x() * ratio, area.y() * ratio, area.width() * ratio, area.height() * ratio));
}

void TfrmGraph::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        SetLanguage();
    }
    QWidget::changeEvent(event);
}

} // namespace velmor
