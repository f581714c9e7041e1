#include "ui/trends/TfrmGraph.h"

#include "core/Arith.h"
#include "core/exercises/ExerciseProfile.h"
#include "core/trends/RunReport.h"
#include "core/trends/Scales.h"
#include "core/trends/TrendLine.h"
#include "core/trends/TrendTables.h"
#include "core/trends/TrendText.h"
#include "core/trends/TrendView.h"
#include "ui/shell/Language.h"
#include "ui/trends/TraceTexts.h"
#include "ui/trends/TrendArt.h"

#include <QCheckBox>
#include <QCloseEvent>
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
#include <array>
#include <cmath>
#include <cstring>
#include <optional>
#include <span>
#include <utility>
#include <vector>

namespace velmor {

namespace {

constexpr int kPanelWidth = 524;
constexpr int kPanelHeight = 501;
constexpr QRgb kBlack = 0xff000000;
constexpr QRgb kGridGrey = 0xff808080;
constexpr QRgb kMarkColour = 0xffd2a300; // 210,163,0
constexpr QRgb kCursorWhite = 0xffffffff;
constexpr QRgb kSilverRgb = 0xffc0c0c0;

QRgb ToQRgb(Rgb c)
{
    return qRgb(c.r, c.g, c.b);
}

// English source texts; Spanish comes from the translation catalogue.
#define GRAPH_TEXT(english) QT_TRANSLATE_NOOP("TfrmGraph", english)

// The exercise profiles' texts (captions, unit labels, settings-box labels),
// listed here so that the translation catalogue picks them up.
[[maybe_unused]] constexpr const char* kProfileTexts[] = {
    GRAPH_TEXT("Flow Trend"),
    GRAPH_TEXT("Temperature Trend"),
    GRAPH_TEXT("Batch Volume Trend"),
    GRAPH_TEXT("Fluid Level Trend"),
    GRAPH_TEXT("Open Loop Trend"),
    GRAPH_TEXT("Level"),
    GRAPH_TEXT("Flow PG:"),
    GRAPH_TEXT("Flow PB:"),
    GRAPH_TEXT("Flow I:"),
    GRAPH_TEXT("Flow D:"),
    GRAPH_TEXT("Temp PG:"),
    GRAPH_TEXT("Temp PB:"),
    GRAPH_TEXT("Temp I:"),
    GRAPH_TEXT("Temp D:"),
    GRAPH_TEXT("Level PG:"),
    GRAPH_TEXT("Level PB:"),
    GRAPH_TEXT("Level I:"),
    GRAPH_TEXT("Level D:"),
    GRAPH_TEXT("Vol PG:"),
    GRAPH_TEXT("Vol PB:"),
    GRAPH_TEXT("Vol I:"),
    GRAPH_TEXT("Vol D:"),
};

constexpr const char* kTraceNames[kTraceCount] = {
    GRAPH_TEXT("Flow SP"),  GRAPH_TEXT("Flow MV"), GRAPH_TEXT("Pump Output"),
    GRAPH_TEXT("Temp SP"),  GRAPH_TEXT("Temp MV"), GRAPH_TEXT("Temp Output"),
    GRAPH_TEXT("Vol SP"),   GRAPH_TEXT("Vol MV"),  GRAPH_TEXT("Level SP"),
    GRAPH_TEXT("Level MV"),
};

constexpr int kSettingsLineY[4] = {432, 447, 462, 477};

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

bool IsEnter(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

// The whole number in a time edit; nothing for any other text.
std::optional<int> WholeNumber(const QLineEdit* edit)
{
    bool ok = false;
    const int value = edit->text().toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
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

// ---------------------------------------------------------------------------
// Creation

TfrmGraph::TfrmGraph(VelmorState& state, Exercise exercise, QWidget* parent, qreal pixelRatio)
    : QWidget(parent), m_state(state), m_exercise(exercise)
{
    if (pixelRatio > 0) {
        m_ratio = pixelRatio;
    } else if (parent != nullptr) {
        m_ratio = parent->devicePixelRatioF();
    } else if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        m_ratio = screen->devicePixelRatio();
    }
    FormCreate();
}

TfrmGraph::~TfrmGraph() = default;

void TfrmGraph::FormCreate()
{
    TrendViewState& tv = m_state.trend;
    tv.trendInitialising = true;
    setAttribute(Qt::WA_OpaquePaintEvent);
    move(231, 0);
    setFixedSize(kPanelWidth, kPanelHeight);
    // Large-font mode keeps the same pixel sizes through smaller points
    // (see arialFont); the layout itself needs no rescaling here.
    tv.trendFontSize = m_state.shell.largeFonts ? 7 : 9;

    setMouseTracking(true);
    m_background = trendart::PanelBackground(m_ratio);
    m_panel = m_background.copy();
    imgLpermOverlay = trendart::LpermOverlay(QLatin1Char(decimalMark()), m_ratio);
    imgLitresOverlay = trendart::LitresOverlay(QLatin1Char(decimalMark()), m_ratio);
    imgLineBackground = m_panel.copy(devRect(kPlotLeft, 47, kPlotLeft + 1, 362));
    imgLineBackground.fill(Qt::black);
    m_sliderTrack = trendart::SliderTrack(m_ratio);
    m_sliderKnob = trendart::SliderKnob(m_ratio);
    for (int a = 1; a <= 8; ++a) {
        m_arrows[static_cast<std::size_t>(a - 1)] = trendart::ArrowPicture(a, false, m_ratio);
        m_arrowsLit[static_cast<std::size_t>(a - 1)] = trendart::ArrowPicture(a, true, m_ratio);
    }

    m_axisFont = QFont(QStringLiteral("Arial"));
    m_axisFont.setPixelSize(13); // a 15-pixel cell, as the label strip expects
    m_axisFont.setBold(true);
    const QFontMetrics axisMetrics(m_axisFont);
    m_axisFontAscent = axisMetrics.ascent();
    m_axisFontHeight = axisMetrics.height();

    CreateControls();

    if (m_state.shell.halfWidth != 388 || m_state.shell.halfHeight != 289) {
        move(m_state.shell.halfWidth - 157, m_state.shell.halfHeight - 289);
    }

    ApplyExerciseConfiguration();

    tv.trendViewStart = 0;
    txtTrendBase->setText(QString::number(tv.trendSpan));
    SliderAt(SliderKnobOffset(tv.trendSpan));

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
    tv.hoverX = 0;
    tv.hoverY = 0;
    tv.savedColumnX = 0;
    emit mainTimerStopRequested();
    tv.trendClosing = false;
    SetLanguage();
}

void TfrmGraph::CreateControls()
{
    const int boxFont = m_state.trend.trendFontSize;

    auto label = [this](int x, int y, int w, int h, Qt::Alignment align) {
        auto* l = new QLabel(this);
        l->setGeometry(x, y, w, h);
        l->setAlignment(align);
        l->setFont(arialFont(9));
        return l;
    };
    lblStartTime = label(4, 5, 102, 16, Qt::AlignRight | Qt::AlignVCenter);
    lblSecs = label(143, 5, 40, 16, Qt::AlignLeft | Qt::AlignVCenter);
    lblTimeBase = label(300, 5, 94, 16, Qt::AlignRight | Qt::AlignVCenter);
    lblSecs2 = label(437, 5, 40, 16, Qt::AlignLeft | Qt::AlignVCenter);

    auto edit = [this](int x) {
        auto* e = new QLineEdit(this);
        e->setGeometry(x, 3, 32, 20);
        e->setMaxLength(3);
        // Whole seconds only: anything but a digit is refused as typed.
        e->setValidator(
            new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,3}")), e));
        e->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        e->setFont(arialFont(9));
        e->setText(QStringLiteral("0"));
        e->setFocusPolicy(Qt::ClickFocus);
        return e;
    };
    txtStartTime = edit(108);
    txtTrendBase = edit(400);
    // Enter in either edit is the window's; the other keys are the edit's.
    txtStartTime->installEventFilter(this);
    txtTrendBase->installEventFilter(this);

    lblLeftUnit = new QLabel(this);
    lblLeftUnit->setGeometry(2, 26, 32, 17);
    lblRightUnit = new QLabel(this);
    lblRightUnit->setGeometry(490, 26, 32, 17);
    for (QLabel* unit : {lblLeftUnit, lblRightUnit}) {
        unit->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        unit->setFont(arialFont(7, true));
    }

    txtFloat = new QLabel(this);
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

    // Check boxes: one column beside the bar box; the level boxes share the
    // first two places with the flow boxes.
    const int places[kTraceCount] = {0, 1, 2, 3, 4, 5, 6, 7, 0, 1};
    QCheckBox** boxes[kTraceCount] = {&chkFlowSP, &chkFlowMV, &chkFlowQ, &chkTempSP,  &chkTempMV,
                                      &chkTempQ,  &chkVolSP,  &chkVolMV, &chkLevelSP, &chkLevelMV};
    const char* layoutTexts[kTraceCount] = {"Flow SP",  "Flow MV",     "Pump Output", "Temp SP",
                                            "Temp MV",  "Temp Output", "Volume SP",   "Volume MV",
                                            "Level SP", "Level MV"};
    for (int i = 0; i < kTraceCount; ++i) {
        auto* box = new QCheckBox(QString::fromLatin1(layoutTexts[i]), this);
        box->setGeometry(230, 379 + 15 * places[i], 104, 14);
        box->setFont(arialFont(boxFont));
        box->setFocusPolicy(Qt::NoFocus);
        PaintBox(box, BoxColour(static_cast<TraceId>(i)));
        *boxes[i] = box;
        const auto id = static_cast<TraceId>(i);
        connect(box, &QCheckBox::toggled, this, [this, id] { chkTraceClick(id); });
    }
    chkLevelSP->hide();
    chkLevelMV->hide();

    auto button = [this](int x, int y, int w, int h, const QIcon& icon) {
        auto* b = new QPushButton(this);
        b->setGeometry(x, y, w, h);
        b->setIcon(icon);
        b->setFocusPolicy(Qt::NoFocus);
        b->setEnabled(false);
        return b;
    };
    btnChokeUp = button(433, 395, 29, 15, trendart::GateIcon(true));
    btnChokeDown = button(433, 410, 29, 14, trendart::GateIcon(false));
    btnPump = button(462, 395, 29, 29, trendart::PumpIcon(false));
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

    QPainter p(&m_panel);
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
    m_background = m_panel.copy();

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

void TfrmGraph::DrawGateBox()
{
    const QFont font = arialFont(m_state.trend.trendFontSize - 1);
    const QFontMetrics fm(font);
    // The box is drawn again in another language, and may be narrower:
    // what lay under the wider box comes back first.
    const QRect under = devRect(345, 429, 433, 434 + 2 * fm.height());
    copyPanelRect(m_background, under, under.topLeft());
    QPainter p(&m_panel);
    p.setFont(font);
    p.setPen(Qt::black);
    const QString gate = LangText(m_state.shell, "TfrmGraph", GRAPH_TEXT("Gate"));
    const QString valve = LangText(m_state.shell, "TfrmGraph", GRAPH_TEXT("Valve:"));
    const int h = fm.height();
    p.drawText(349, 431 + fm.ascent(), gate);
    p.drawText(349, 431 + h + fm.ascent(), valve);
    p.end();
    gateTextX = fm.horizontalAdvance(valve) + 351;
    gateTextY = 431 + h / 2;
    gateTextWidth = fm.horizontalAdvance(QStringLiteral("100%"));
    gateTextHeight = fm.height();
    const int bottom = 433 + 2 * h;
    const int right = 353 + fm.horizontalAdvance(valve) + gateTextWidth;
    panelLine(345, 429, 345, bottom, kBlack);
    panelLine(345, bottom, right, bottom, kBlack);
    panelLine(right, bottom, right, 429, kBlack);
    panelLine(right, 429, 345, 429, kBlack);
    DrawGate();
}

// ---------------------------------------------------------------------------
// Small drawing helpers

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

int TfrmGraph::dev(int logical) const
{
    // The device pixel whose centre is the first inside the logical edge:
    // the same edges QPainter fills at this ratio.
    if (m_ratio == 1) {
        return logical;
    }
    return static_cast<int>(std::ceil(logical * m_ratio - 0.5));
}

QRect TfrmGraph::devRect(int left, int top, int right, int bottom) const
{
    return QRect(QPoint(dev(left), dev(top)), QPoint(dev(right) - 1, dev(bottom) - 1));
}

void TfrmGraph::fillPanelRect(int left, int top, int right, int bottom, QRgb colour)
{
    // Rectangles are normalised, as the bars need for values out of range.
    if (right < left) {
        std::swap(left, right);
    }
    if (bottom < top) {
        std::swap(top, bottom);
    }
    const QRect r = devRect(left, top, right, bottom) & m_panel.rect();
    if (r.isEmpty()) {
        return;
    }
    uchar* bits = m_panel.bits();
    const qsizetype stride = m_panel.bytesPerLine();
    for (int y = r.top(); y <= r.bottom(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(bits + y * stride);
        std::fill(row + r.left(), row + r.right() + 1, colour);
    }
}

void TfrmGraph::panelLine(int x0, int y0, int x1, int y1, QRgb colour, int* dashPhase)
{
    // The line is walked in device pixels, each step painting a square
    // as wide as one logical pixel: at ratio 1 exactly the logical line.
    const int pen = std::max(1, static_cast<int>(std::lround(m_ratio)));
    const int width = m_panel.width();
    const int height = m_panel.height();
    uchar* bits = m_panel.bits();
    const qsizetype stride = m_panel.bytesPerLine();
    // Dashes of 4 logical pixels, gaps of 3.
    const int dash = 4 * pen;
    const int period = 7 * pen;
    RasterLine(dev(x0), dev(y0), dev(x1), dev(y1), 0, 0, width, height, [&](int x, int y) {
        if (dashPhase != nullptr) {
            const bool on = *dashPhase % period < dash;
            ++*dashPhase;
            if (!on) {
                return;
            }
        }
        for (int dy = 0; dy < pen && y + dy < height; ++dy) {
            auto* row = reinterpret_cast<QRgb*>(bits + (y + dy) * stride);
            for (int dx = 0; dx < pen && x + dx < width; ++dx) {
                row[x + dx] = colour;
            }
        }
    });
}

void TfrmGraph::copyPanelRect(const QImage& from, const QRect& deviceSource, QPoint deviceTarget)
{
    const QRect target = QRect(deviceTarget, deviceSource.size()) & m_panel.rect();
    if (target.isEmpty() || from.format() != m_panel.format()) {
        return;
    }
    const QPoint shift = deviceSource.topLeft() - deviceTarget;
    const QRect source = target.translated(shift) & from.rect();
    const QRect fitted = source.translated(-shift);
    for (int y = 0; y < fitted.height(); ++y) {
        std::memcpy(m_panel.scanLine(fitted.top() + y) + fitted.left() * 4,
                    from.constScanLine(source.top() + y) + source.left() * 4,
                    static_cast<std::size_t>(fitted.width()) * 4);
    }
}

void TfrmGraph::refreshPanel()
{
    update();
}

// ---------------------------------------------------------------------------
// Axes and traces

void TfrmGraph::DrawNewAxes()
{
    const TrendViewState& tv = m_state.trend;
    fillPanelRect(38, 47, 489, 377, kBlack);
    fillPanelRect(27, 361, 501, 377, kBlack);
    // Marks at the plot's edges reach into the frame; put it back.
    for (int x : {36, 489}) {
        const QRect frame = devRect(x, 47, x + 2, 361);
        copyPanelRect(m_background, frame, frame.topLeft());
    }
    QPainter p(&m_panel);
    p.setFont(m_axisFont);
    const int s = TickStep(tv.trendSpan);
    for (int i = 0; i <= 19; ++i) {
        const int x = TickX(i, tv.trendSpan);
        if (x < 498) {
            DrawAxisLine(p, x, tv.trendViewStart + s * i);
        }
    }
    // Twenty ticks fall short of the right edge for these two spans.
    if (tv.trendSpan == 40 || tv.trendSpan == 100) {
        DrawAxisLine(p, 489, tv.trendViewStart + tv.trendSpan);
    }
    p.end();
    // A saved run to compare with lies under every trace drawn later.
    DrawComparison();
    refreshPanel();
}

void TfrmGraph::DrawAxisLine(int x, int label)
{
    QPainter p(&m_panel);
    p.setFont(m_axisFont);
    DrawAxisLine(p, x, label);
    p.end();
    refreshPanel();
}

void TfrmGraph::DrawAxisLine(QPainter& painter, int x, int label)
{
    // Dotted: every other pixel from y = 47, the end pixel 362 left out.
    if (x >= 0 && x < kPanelWidth) {
        for (int y = 47; y < 362; y += 2) {
            fillPanelRect(x, y, x + 1, y + 1, kGridGrey);
        }
    }
    const QString text = QString::number(label);
    const QFontMetrics fm(m_axisFont);
    const int left = CentredLeft(x, fm.horizontalAdvance(text));
    const int top = AxisLabelTop(m_axisFontHeight);
    painter.setPen(QColor(128, 128, 128));
    painter.drawText(left, top + m_axisFontAscent, text);
}

int TfrmGraph::SetXPoints(double t)
{
    TrendViewState& tv = m_state.trend;
    int x = TimeToX(t, tv.trendViewStart, tv.trendSpan);
    if (x > kPlotRight && tv.trendLive) {
        // The run has reached the right edge: scroll on by 10 s.
        tv.trendViewStart += 10;
        ShowStartTime(tv.trendViewStart);
        DrawNewAxes();
        DrawTrend();
        if (tv.cursorShown) {
            RestoreLine();
        }
        x = TimeToX(t, tv.trendViewStart, tv.trendSpan);
        tv.trendPrevX = std::max(x - 1, kPlotLeft);
    }
    x = FoldX(x);
    tv.trendInitialising = false;
    return x;
}

QCheckBox* TfrmGraph::checkBoxOf(TraceId id) const
{
    switch (id) {
    case TraceId::FlowSP:
        return chkFlowSP;
    case TraceId::FlowMV:
        return chkFlowMV;
    case TraceId::FlowQ:
        return chkFlowQ;
    case TraceId::TempSP:
        return chkTempSP;
    case TraceId::TempMV:
        return chkTempMV;
    case TraceId::TempQ:
        return chkTempQ;
    case TraceId::VolSP:
        return chkVolSP;
    case TraceId::VolMV:
        return chkVolMV;
    case TraceId::LevelSP:
        return chkLevelSP;
    case TraceId::LevelMV:
        break;
    }
    return chkLevelMV;
}

float& TfrmGraph::currentValueOf(TraceId id)
{
    RunState& r = m_state.run;
    switch (id) {
    case TraceId::FlowSP:
        return r.flowSetPoint;
    case TraceId::FlowMV:
        return r.flowRate;
    case TraceId::FlowQ:
        return r.outputPercent;
    case TraceId::TempSP:
        return r.tempSetPoint;
    case TraceId::TempMV:
        return r.measuredTemperature;
    case TraceId::TempQ:
        return r.heaterPercent;
    case TraceId::VolSP:
        return r.volumeSetPoint;
    case TraceId::VolMV:
        return r.measuredVolume;
    case TraceId::LevelSP:
        return r.levelSetPoint;
    case TraceId::LevelMV:
        break;
    }
    return r.levelPercent;
}

std::int32_t& TfrmGraph::previousYOf(TraceId id)
{
    TrendViewState& tv = m_state.trend;
    switch (id) {
    case TraceId::FlowSP:
        return tv.trendPrevSP;
    case TraceId::FlowMV:
        return tv.trendPrevPV;
    case TraceId::FlowQ:
        return tv.trendPrevOutput;
    case TraceId::TempSP:
        return tv.trendPrevTempSP;
    case TraceId::TempMV:
        return tv.trendPrevTemp;
    case TraceId::TempQ:
        return tv.trendPrevHeater;
    case TraceId::VolSP:
        return tv.trendPrevVolumeSP;
    case TraceId::VolMV:
        return tv.trendPrevVolume;
    case TraceId::LevelSP:
        return tv.trendPrevLevelSP;
    case TraceId::LevelMV:
        break;
    }
    return tv.trendPrevLevel;
}

void TfrmGraph::DrawTraceSegment(TraceId id)
{
    if (!checkBoxOf(id)->isChecked()) {
        return;
    }
    const TraceInfo& trace = TraceTable()[static_cast<std::size_t>(id)];
    TrendViewState& tv = m_state.trend;
    std::int32_t& previousY = previousYOf(id);
    const int fromY = previousY;
    const int y = PlotOnScale(trace.scale, currentValueOf(id));
    previousY = y;
    panelLine(tv.trendPrevX, fromY, tv.trendX, y, ToQRgb(trace.colour));
    refreshPanel();
}

void TfrmGraph::TrendSP()
{
    DrawTraceSegment(TraceId::FlowSP);
}
void TfrmGraph::TrendMV()
{
    DrawTraceSegment(TraceId::FlowMV);
}
void TfrmGraph::TrendQ()
{
    DrawTraceSegment(TraceId::FlowQ);
}
void TfrmGraph::TrendTempSP()
{
    DrawTraceSegment(TraceId::TempSP);
}
void TfrmGraph::TrendTempMV()
{
    DrawTraceSegment(TraceId::TempMV);
}
void TfrmGraph::TrendTempQ()
{
    DrawTraceSegment(TraceId::TempQ);
}
void TfrmGraph::TrendVolSP()
{
    DrawTraceSegment(TraceId::VolSP);
}
void TfrmGraph::TrendVolMV()
{
    DrawTraceSegment(TraceId::VolMV);
}
void TfrmGraph::TrendLevelSP()
{
    DrawTraceSegment(TraceId::LevelSP);
}
void TfrmGraph::TrendLevelMV()
{
    DrawTraceSegment(TraceId::LevelMV);
}

void TfrmGraph::DrawMark()
{
    // Pen width 3: the columns either side of trendX as well.
    const int x = m_state.trend.trendX;
    fillPanelRect(x - 1, 47, x + 2, 362, kMarkColour);
    refreshPanel();
}

void TfrmGraph::PlotPoint(int recordNumber)
{
    TrendViewState& tv = m_state.trend;
    const SampleRecord& rec = m_state.log.record(ClampRecordNumber(recordNumber));
    for (const TraceInfo& trace : TraceTable()) {
        currentValueOf(trace.id) = rec.field(trace.field);
    }
    tv.pointSegment = rec.segment;
    tv.trendX = SetXPoints(rec.time);
    if (tv.trendPrevX >= tv.trendX) {
        return; // a column already drawn
    }
    TrendSP();
    TrendMV();
    TrendQ();
    TrendTempSP();
    TrendTempMV();
    TrendTempQ();
    TrendVolSP();
    TrendVolMV();
    TrendLevelSP();
    TrendLevelMV();
    if (tv.pointSegment > tv.plottedSegment) {
        if (tv.plottedSegment > 0) {
            DrawMark();
        }
        tv.plottedSegment = tv.pointSegment;
    }
    tv.trendPrevX = tv.trendX;
}

void TfrmGraph::DrawTrend()
{
    TrendViewState& tv = m_state.trend;
    const SampleLog& log = m_state.log;

    // Index look-ups are clamped to the 781 entries and record numbers to
    // the log, so any view start and span is safe to draw.
    const int a = ClampRecordNumber(SecondIndexAt(log, tv.trendViewStart));
    const SampleRecord& first = log.record(a);
    tv.trendPrevX = SetXPoints(first.time);
    for (const TraceInfo& trace : TraceTable()) {
        previousYOf(trace.id) = PlotOnScale(trace.scale, first.field(trace.field));
    }
    tv.plottedSegment = 0;

    int last = SecondIndexAt(log, static_cast<std::int64_t>(tv.trendViewStart) + tv.trendSpan);
    tv.trendLive = false;
    if (last == 0) {
        last = m_state.run.sampleCount;
        tv.trendLive = true;
    }
    last = std::min(last, kLogRecords);

    DrawNewAxes();

    const int step = RedrawStep(tv.trendSpan, m_state.run.samplePeriod);
    for (int n = a; n < last; n += step) {
        PlotPoint(n);
    }
    PlotPoint(last);

    if (!tv.trendClosing) {
        emit mainTimerStopRequested();
    }
    txtFloat->hide();
    if (tv.trendLive || !m_state.run.runActive) {
        PIDUpdate(last);
    }
    if (tv.cursorShown) {
        RestoreLine();
    }
    refreshPanel();
}

void TfrmGraph::RestoreLine()
{
    TrendViewState& tv = m_state.trend;
    if (!tv.cursorShown) {
        return;
    }
    const int x = std::clamp(tv.cursorX, kPlotLeft, kPlotRight);
    imgLineBackground = m_panel.copy(devRect(x, 47, x + 1, 362));
    tv.savedColumnX = x;
    fillPanelRect(x, 47, x + 1, 362, kCursorWhite);
}

void TfrmGraph::ShowStartTime(int seconds)
{
    txtStartTime->setText(QString::number(seconds));
}

void TfrmGraph::HideFloat()
{
    txtFloat->hide();
}

// ---------------------------------------------------------------------------
// Bars, settings box, gate and pump

void TfrmGraph::BlankPlace(int place)
{
    const BarPlace& p = BarPlaces()[static_cast<std::size_t>(place)];
    fillPanelRect(p.bar.left, p.bar.top, p.bar.right, p.bar.bottom, kBlack);
    fillPanelRect(p.text.left, p.text.top, p.text.right, p.text.bottom, kBlack);
    refreshPanel();
}

void TfrmGraph::BlankFlowSP()
{
    BlankPlace(0);
}
void TfrmGraph::BlankFlowMV()
{
    BlankPlace(1);
}
void TfrmGraph::BlankFlowQ()
{
    BlankPlace(2);
}
void TfrmGraph::BlankTempSP()
{
    BlankPlace(3);
}
void TfrmGraph::BlankTempMV()
{
    BlankPlace(4);
}
void TfrmGraph::BlankTempQ()
{
    BlankPlace(5);
}
void TfrmGraph::BlankVolSP()
{
    BlankPlace(6);
}
void TfrmGraph::BlankVolMV()
{
    BlankPlace(7);
}

void TfrmGraph::DrawBars(int recordNumber)
{
    const SampleRecord& rec = m_state.log.record(BarRecordNumber(recordNumber));
    const QFont font = arialFont(m_state.trend.trendFontSize - 2);
    const QFontMetrics fm(font);
    for (const BarInfo& bar : BarTable()) {
        if (!checkBoxOf(bar.id)->isChecked()) {
            continue;
        }
        BlankPlace(bar.place);
        const float v = BarValue(bar, rec.field(bar.field));
        const QString text = QString::fromStdString(BarText(bar, v, decimalMark()));
        const int x = CellTextLeft(bar.cellLeft, kTrendBarCellWidth, fm.horizontalAdvance(text));
        const int y = kTrendBarTextTop + (kTrendBarCellHeight - fm.height()) / 2;
        const QRgb colour = ToQRgb(bar.colour);
        {
            QPainter p(&m_panel);
            p.setFont(font);
            p.setPen(QColor(colour));
            p.drawText(x, y + fm.ascent(), text);
        }
        fillPanelRect(bar.barLeft, kTrendBarTop, bar.barLeft + kTrendBarWidth,
                      BarEmptyBottom(bar, v), kBlack);
        fillPanelRect(bar.barLeft, BarFilledTop(bar, v), bar.barLeft + kTrendBarWidth,
                      kTrendBarBottom, colour);
    }
    refreshPanel();
}

void TfrmGraph::PIDUpdate(int recordNumber)
{
    const std::span<const SettingsColumn> columns = ProfileOf(m_exercise).trends.settingsColumns;
    if (columns.empty()) {
        return; // no settings box in this exercise
    }
    const int n = std::min({recordNumber, m_state.run.sampleCount, kLogRecords});
    if (n < 1) {
        return;
    }
    const SampleRecord& rec = m_state.log.record(n);
    m_state.trend.trendSegmentShown = rec.segment;

    std::vector<BoxTexts> values;
    for (const SettingsColumn& c : columns) {
        const std::array<std::string, 4> texts = SettingsTexts(rec, c, decimalMark());
        BoxTexts& t = values.emplace_back();
        for (std::size_t i = 0; i < texts.size(); ++i) {
            t[i] = QString::fromStdString(texts[i]);
        }
    }
    DrawSettingsValues(values);
}

void TfrmGraph::DrawSettingsValues(const std::vector<BoxTexts>& values)
{
    const std::span<const SettingsColumn> columns = ProfileOf(m_exercise).trends.settingsColumns;
    if (columns.empty()) {
        return;
    }
    const QFont font = arialFont(m_state.trend.trendFontSize - 1);
    const int ascent = QFontMetrics(font).ascent();
    QPainter p(&m_panel);
    p.setFont(font);
    p.setPen(Qt::black);
    for (std::size_t k = 0; k < columns.size(); ++k) {
        const SettingsColumn& c = columns[k];
        p.fillRect(QRect(c.valueLeft, 432, c.valueRight - c.valueLeft, 490 - 432),
                   trendart::kSilver);
        if (k >= values.size()) {
            continue;
        }
        for (std::size_t i = 0; i < values[k].size(); ++i) {
            if (!values[k][i].isEmpty()) {
                p.drawText(c.valueLeft, kSettingsLineY[i] + ascent, values[k][i]);
            }
        }
    }
    p.end();
    refreshPanel();
}

void TfrmGraph::ClearRun()
{
    DrawNewAxes();
    for (const BarInfo& bar : BarTable()) {
        if (checkBoxOf(bar.id)->isChecked()) {
            BlankPlace(bar.place);
        }
    }
    DrawSettingsValues({}); // no values; nothing where there is no settings box
    refreshPanel();
}

void TfrmGraph::DrawGate()
{
    if (gateTextWidth == 0) {
        return; // no gate box in this exercise
    }
    const QFont font = arialFont(m_state.trend.trendFontSize - 1);
    const QFontMetrics fm(font);
    fillPanelRect(gateTextX, gateTextY, gateTextX + gateTextWidth, gateTextY + gateTextHeight,
                  kSilverRgb);
    const QString text = QString::number(m_state.run.gateValvePercent) + QLatin1Char('%');
    QPainter p(&m_panel);
    p.setFont(font);
    p.setPen(Qt::black);
    p.drawText(gateTextX + gateTextWidth / 2 - fm.horizontalAdvance(text) / 2,
               gateTextY + fm.ascent(), text);
    p.end();
    refreshPanel();
}

void TfrmGraph::btnChokeUpClick()
{
    if (m_state.run.gateValvePercent < 100) {
        m_state.run.gateValvePercent += 10;
        DrawGate();
    }
}

void TfrmGraph::btnChokeDownClick()
{
    if (m_state.run.gateValvePercent > 0) {
        m_state.run.gateValvePercent -= 10;
        DrawGate();
    }
}

void TfrmGraph::btnPumpClick()
{
    m_state.run.pumpOn = !m_state.run.pumpOn;
    btnPump->setToolTip(PumpHint(btnPump->toolTip(), m_state.run.pumpOn));
    btnPump->setIcon(trendart::PumpIcon(m_state.run.pumpOn));
}

void TfrmGraph::setPumpEnabled(bool enabled)
{
    btnPump->setEnabled(enabled);
}

// ---------------------------------------------------------------------------
// Navigation: arrows, start time, time base, cursor line and read-out

std::array<bool, kTraceCount> TfrmGraph::shownTraces() const
{
    std::array<bool, kTraceCount> shown{};
    for (int i = 0; i < kTraceCount; ++i) {
        shown[static_cast<std::size_t>(i)] = checkBoxOf(static_cast<TraceId>(i))->isChecked();
    }
    return shown;
}

QImage TfrmGraph::ArrowHandle(int arrow, int state) const
{
    if (arrow < 1 || arrow > 8 || (state != 0 && state != 3)) {
        return {};
    }
    const auto i = static_cast<std::size_t>(arrow - 1);
    return state == 3 ? m_arrowsLit[i] : m_arrows[i];
}

void TfrmGraph::DrawArrow(int x, const QImage& picture)
{
    if (picture.isNull()) {
        return;
    }
    QPainter p(&m_panel);
    p.drawImage(x, 27, picture);
    p.end();
    arrowRedrawn = true;
}

void TfrmGraph::Highlight(int arrow)
{
    DrawArrow(Across(arrow), ArrowHandle(arrow, 3));
    m_state.trend.litArrow = arrow;
}

void TfrmGraph::RemoveHighlight()
{
    TrendViewState& tv = m_state.trend;
    if (tv.trendClosing || tv.litArrow <= 0) {
        return;
    }
    DrawArrow(Across(tv.litArrow), ArrowHandle(tv.litArrow, 0));
    tv.litArrow = 0;
    arrowRedrawn = false;
    refreshPanel();
}

void TfrmGraph::Move(int arrow)
{
    TrendViewState& tv = m_state.trend;
    if (tv.trendNoData) {
        return;
    }
    tv.trendViewStart = ScrolledStart(tv.trendViewStart, ArrowStep(arrow),
                                      m_state.log.secondIndexFilled, tv.trendSpan);
    ShowStartTime(tv.trendViewStart);
    DrawTrend();
    cursorFollowsView();
}

void TfrmGraph::cursorFollowsView()
{
    // The line stays at its pixel and now marks another record.
    TrendViewState& tv = m_state.trend;
    if (tv.cursorShown) {
        tv.cursorRecord = PosToPointer(tv.cursorX);
        DrawBars(tv.cursorRecord);
    }
}

bool TfrmGraph::txtStartTimeKeyPress(int key)
{
    TrendViewState& tv = m_state.trend;
    if (tv.trendNoData) {
        // Nothing to browse: the edit keeps showing the start.
        ShowStartTime(tv.trendViewStart);
        return true;
    }
    if (!IsEnter(key)) {
        return false;
    }
    const std::optional<int> typed = WholeNumber(txtStartTime);
    if (const std::optional<std::int32_t> start =
            typed ? TypedStart(*typed, m_state.log.secondIndexFilled, tv.trendSpan)
                  : std::nullopt) {
        tv.trendViewStart = *start;
        ShowStartTime(*start);
        DrawTrend();
        cursorFollowsView();
    }
    return true;
}

bool TfrmGraph::txtTrendBaseKeyPress(int key)
{
    if (!IsEnter(key)) {
        return false;
    }
    const std::optional<int> typed = WholeNumber(txtTrendBase);
    if (const std::optional<std::int32_t> span = typed ? TypedSpan(*typed) : std::nullopt) {
        SliderAt(SliderKnobOffset(*span));
        applySpan(*span);
    }
    return true;
}

void TfrmGraph::Slider(int offset)
{
    const int k = KnobOfSliderOffset(offset);
    SliderAt(k);
    const std::int32_t span = SpanOfKnob(k);
    if (span != m_state.trend.trendSpan) {
        applySpan(span);
    }
}

void TfrmGraph::applySpan(std::int32_t span)
{
    TrendViewState& tv = m_state.trend;
    const std::int32_t oldSpan = tv.trendSpan;
    if (tv.cursorShown) {
        // The cursor keeps its time; past the right edge it goes.
        tv.cursorX = CursorXAfterSpan(tv.cursorX, oldSpan, span);
        tv.cursorShown = tv.cursorX <= kPlotRight;
    }
    const std::int32_t start =
        StartAfterSpan(tv.trendViewStart, oldSpan, span, m_state.log.secondIndexFilled);
    if (start != tv.trendViewStart) {
        tv.trendViewStart = start;
        ShowStartTime(start);
    }
    tv.trendSpan = span;
    txtTrendBase->setText(QString::number(span));
    if (!tv.trendNoData) {
        DrawTrend();
        // Its record is read in the new view.
        cursorFollowsView();
    }
}

int TfrmGraph::PosToPointer(int x) const
{
    const TrendViewState& tv = m_state.trend;
    return velmor::PosToPointer({m_state.log, tv.trendViewStart, tv.trendSpan, tv.trendLive,
                                 tv.trendX, m_state.run.sampleCount},
                                x);
}

void TfrmGraph::LineAt(int x)
{
    TrendViewState& tv = m_state.trend;
    txtFloat->hide();
    emit mainTimerStopRequested();
    tv.cursorRecord = PosToPointer(x);
    tv.cursorX = x;
    if (!m_state.run.runActive) {
        const int n = std::min(tv.cursorRecord, m_state.run.sampleCount);
        if (n >= 1 && m_state.log.record(n).segment != tv.trendSegmentShown) {
            PIDUpdate(tv.cursorRecord);
        }
    }
    DrawLine();
    DrawBars(tv.cursorRecord);
}

void TfrmGraph::DrawLine()
{
    TrendViewState& tv = m_state.trend;
    if (tv.cursorShown) {
        copyPanelRect(imgLineBackground, imgLineBackground.rect(),
                      QPoint(dev(tv.savedColumnX), dev(47)));
    }
    tv.cursorShown = true;
    RestoreLine();
    if (!m_state.run.runActive) {
        refreshPanel();
    }
}

void TfrmGraph::BlankLine()
{
    TrendViewState& tv = m_state.trend;
    if (!tv.cursorShown) {
        return;
    }
    copyPanelRect(imgLineBackground, imgLineBackground.rect(),
                  QPoint(dev(tv.savedColumnX), dev(47)));
    tv.cursorShown = false;
    if (!m_state.run.runActive) {
        refreshPanel();
    }
}

void TfrmGraph::Info(int x, int y)
{
    TrendViewState& tv = m_state.trend;
    if (x >= kPlotLeft && x <= kPlotRight && y >= kPlotTop && y <= 377) {
        tv.hoverRecord = PosToPointer(x);
        const int n = std::min(tv.hoverRecord, m_state.run.sampleCount);
        if (n >= 1 && m_state.log.record(n).segment != tv.trendSegmentShown) {
            PIDUpdate(tv.hoverRecord);
        }
    }
    if (std::abs(tv.hoverX - x) <= 1 && std::abs(tv.hoverY - y) <= 1) {
        return; // a still mouse does not restart the read-out
    }
    emit mainTimerStartRequested();
    tv.hoverX = x;
    tv.hoverY = y;
}

void TfrmGraph::Display()
{
    TrendViewState& tv = m_state.trend;
    if (tv.hoverRecord == 0) {
        return;
    }
    txtFloat->hide();
    if (tv.cursorShown || tv.trendLive || m_state.run.sampleCount < tv.hoverRecord) {
        return;
    }
    const SampleRecord& rec = m_state.log.record(ClampRecordNumber(tv.hoverRecord));
    const std::optional<TraceId> trace = NearestTrace(rec, shownTraces(), tv.hoverY);
    if (!trace) {
        return;
    }
    const float value = rec.field(TraceTable()[static_cast<std::size_t>(*trace)].field);
    txtFloat->setText(TraceName(m_state.shell, *trace) + QLatin1Char('\n') +
                      LangText(m_state.shell, "TfrmGraph", GRAPH_TEXT("Value")) +
                      QStringLiteral(": ") + TraceValueText(*trace, value, decimalMark()) +
                      TraceUnit(*trace));
    txtFloat->adjustSize();
    const LabelPlace place =
        ReadoutPlace(tv.hoverX, tv.hoverY, txtFloat->width(), txtFloat->height(), width());
    txtFloat->move(place.left, place.top);
    txtFloat->show();
    txtFloat->raise();
}

void TfrmGraph::imgPanelMouseDown(Qt::MouseButton /*button*/, int x, int y)
{
    const TrendViewState& tv = m_state.trend;
    if (tv.trendClosing) {
        return;
    }
    const int block = Block(x, y);
    if (block == kBlockPlot) {
        if (!tv.trendNoData && !m_state.run.runActive) {
            LineAt(x);
        }
    } else if (block == kBlockSlider) {
        Slider(x - 399);
    } else if (const int arrow = ArrowOfBlock(block)) {
        Move(arrow);
    } else {
        BlankLine(); // a click beside or outside the plot
    }
}

void TfrmGraph::imgPanelMouseMove(Qt::MouseButtons buttons, int x, int y)
{
    TrendViewState& tv = m_state.trend;
    if (tv.trendClosing) {
        return;
    }
    const int block = Block(x, y);
    if (block != tv.hoverBlock && tv.litArrow > 0) {
        DrawArrow(Across(tv.litArrow), ArrowHandle(tv.litArrow, 0));
        tv.litArrow = 0;
    }
    tv.hoverBlock = block;
    const bool held = (buttons & (Qt::LeftButton | Qt::RightButton)) != 0;
    const bool browsing = !m_state.run.runActive && !tv.trendNoData;
    if (block == kBlockPlot) {
        if (browsing) {
            if (held) {
                LineAt(x);
            } else {
                Info(x, y);
            }
        }
    } else if (block == kBlockSlider) {
        if (held && !m_state.run.runActive) {
            Slider(x - 399);
        }
    } else if (const int arrow = ArrowOfBlock(block)) {
        Highlight(arrow);
    } else if (block == kBlockBesidePlot && held && browsing) {
        // Dragged off the plot: the line stops at its edge.
        if (x < kPlotLeft) {
            LineAt(kPlotLeft);
        } else if (x > kPlotRight) {
            LineAt(kPlotRight);
        }
    }
    if (block != kBlockPlot) {
        txtFloat->hide();
    }
    const bool hand =
        (block == kBlockPlot && browsing) || block == kBlockSlider || ArrowOfBlock(block) > 0;
    if (hand) {
        setCursor(Qt::PointingHandCursor);
    } else {
        unsetCursor();
    }
    if (arrowRedrawn) {
        refreshPanel();
        arrowRedrawn = false;
    }
}

void TfrmGraph::txtFloatMouseMove(Qt::MouseButtons buttons, int x, int y)
{
    const TrendViewState& tv = m_state.trend;
    if (tv.trendClosing || (buttons & (Qt::LeftButton | Qt::RightButton)) == 0 ||
        m_state.run.runActive || tv.trendNoData) {
        return;
    }
    Info(std::clamp(x + txtFloat->x(), kPlotLeft, kPlotRight), y + txtFloat->y());
}

// ---------------------------------------------------------------------------
// A saved run to compare with

void TfrmGraph::SetComparison(std::vector<SampleRecord> records,
                              const std::array<std::int32_t, kSecondIndexEntries>& secondIndex,
                              const QString& name)
{
    m_comparison = std::move(records);
    m_comparisonName = m_comparison.empty() ? QString() : name;
    m_comparisonIndex = secondIndex;
    if (m_state.trend.trendNoData || m_state.run.sampleCount == 0) {
        DrawNewAxes();
    } else {
        DrawTrend();
    }
}

void TfrmGraph::ClearComparison()
{
    SetComparison({}, {});
}

void TfrmGraph::DrawComparison()
{
    if (m_comparison.empty()) {
        return;
    }
    const TrendViewState& tv = m_state.trend;
    const int count = static_cast<int>(m_comparison.size());
    const auto indexAt = [this](std::int64_t second) {
        return m_comparisonIndex[static_cast<std::size_t>(ClampSecond(second))];
    };
    const int first = std::clamp(indexAt(tv.trendViewStart), 1, count);
    const int last = std::clamp(
        indexAt(static_cast<std::int64_t>(tv.trendViewStart) + tv.trendSpan), first, count);
    const int step = RedrawStep(tv.trendSpan, m_state.run.samplePeriod);
    for (const TraceInfo& trace : TraceTable()) {
        if (!checkBoxOf(trace.id)->isChecked()) {
            continue;
        }
        // Dimmed to three fifths: the saved run reads as a shadow.
        const QRgb colour =
            qRgb(trace.colour.r * 3 / 5, trace.colour.g * 3 / 5, trace.colour.b * 3 / 5);
        int dashPhase = 0;
        int prevX = -1;
        int prevY = 0;
        const auto point = [&](int n) {
            const SampleRecord& r = m_comparison[static_cast<std::size_t>(n - 1)];
            const int x = TimeToX(r.time, tv.trendViewStart, tv.trendSpan);
            if (x > kPlotRight || x <= prevX) {
                return;
            }
            const int y = PlotOnScale(trace.scale, r.field(trace.field));
            if (prevX >= 0) {
                panelLine(prevX, prevY, x, y, colour, &dashPhase);
            }
            prevX = x;
            prevY = y;
        };
        for (int n = first; n < last; n += step) {
            point(n);
        }
        point(last);
    }
}

// ---------------------------------------------------------------------------
// Check boxes, slider, texts, close

void TfrmGraph::chkTraceClick(TraceId id)
{
    switch (id) {
    case TraceId::FlowSP:
    case TraceId::LevelSP:
        BlankFlowSP();
        break;
    case TraceId::FlowMV:
    case TraceId::LevelMV:
        BlankFlowMV();
        break;
    case TraceId::FlowQ:
        BlankFlowQ();
        break;
    case TraceId::TempSP:
        BlankTempSP();
        break;
    case TraceId::TempMV:
        BlankTempMV();
        break;
    case TraceId::TempQ:
        BlankTempQ();
        break;
    case TraceId::VolSP:
        BlankVolSP();
        break;
    case TraceId::VolMV:
        BlankVolMV();
        break;
    }
    if (!m_state.trend.trendInitialising) {
        DrawTrend();
    }
}

void TfrmGraph::SliderAt(int k)
{
    QPainter p(&m_panel);
    p.drawImage(398, 29, m_sliderTrack);
    p.drawImage(398 + std::clamp(k, 0, 55), 29, m_sliderKnob);
    p.end();
    refreshPanel();
}

void TfrmGraph::Heading(const QString& fileName)
{
    const QString caption = windowTitle();
    const int p = caption.indexOf(QLatin1Char('-')) + 1; // 1-based, 0: none
    const QString title = p > 0 ? caption.left(std::max(p - 2, 0)) : caption;
    setWindowTitle(title + QStringLiteral(" - ") + fileName);
}

void TfrmGraph::SetLanguage()
{
    const ShellState& shell = m_state.shell;
    if (!shell.langEnglish && !shell.langSpanish) {
        return;
    }
    auto text = [&shell](const char* english) { return LangText(shell, "TfrmGraph", english); };

    // Keep a loaded file's name: " - name" after the title.
    const QString caption = windowTitle();
    const int dash = caption.indexOf(QLatin1Char('-'));
    const QString suffix = dash >= 0 ? caption.mid(std::max(dash - 1, 0)) : QString();
    setWindowTitle(text(ProfileOf(m_exercise).trends.caption) + suffix);

    for (int i = 0; i < kTraceCount; ++i) {
        checkBoxOf(static_cast<TraceId>(i))->setText(text(kTraceNames[i]));
    }
    lblStartTime->setText(text(GRAPH_TEXT("Start Time")));
    lblTimeBase->setText(text(GRAPH_TEXT("TimeBase")));
    lblSecs->setText(text(GRAPH_TEXT("secs")));
    lblSecs2->setText(text(GRAPH_TEXT("secs")));
    lblLeftUnit->setText(text(ProfileOf(m_exercise).trends.leftUnit));
    lblRightUnit->setText(text(ProfileOf(m_exercise).trends.rightUnit));

    // Hints; the pump's keeps its state word when it has one.
    const QString pump = text(GRAPH_TEXT("Pump"));
    btnPump->setToolTip(
        btnPump->toolTip().contains(QLatin1Char(':')) ? PumpHint(pump, m_state.run.pumpOn) : pump);
    btnChokeUp->setToolTip(text(GRAPH_TEXT("Open gate valve")));
    btnChokeDown->setToolTip(text(GRAPH_TEXT("Close gate valve")));
    if (ProfileOf(m_exercise).trends.gateValve) {
        DrawGateBox();
    }

    DrawSettingsLabels();
}

void TfrmGraph::DrawSettingsLabels()
{
    const TrendsProfile& config = ProfileOf(m_exercise).trends;
    const QFont font = arialFont(m_state.trend.trendFontSize - 1);
    const int ascent = QFontMetrics(font).ascent();
    QPainter p(&m_panel);
    p.setFont(font);
    p.fillRect(QRect(424, 430, 479 - 424, 493 - 430), trendart::kSilver);
    for (const SettingsColumn& c : config.settingsColumns) {
        p.fillRect(QRect(c.clearLeft, 430, c.clearRight - c.clearLeft, 493 - 430),
                   trendart::kSilver);
    }
    p.setPen(Qt::black);
    for (const SettingsColumn& c : config.settingsColumns) {
        for (std::size_t i = 0; i < c.labels.size(); ++i) {
            p.drawText(c.labelX, kSettingsLineY[i] + ascent,
                       LangText(m_state.shell, "TfrmGraph", c.labels[i]));
        }
    }
    p.end();
    const int frameLeft = config.frameLeft;
    if (frameLeft > 0) {
        panelLine(519, 429, frameLeft, 429, kBlack);
        panelLine(frameLeft, 429, frameLeft, 494, kBlack);
        panelLine(frameLeft, 494, 519, 494, kBlack);
    } else {
        panelLine(519, 429, 519, 495, kSilverRgb);
    }
    refreshPanel();
}

void TfrmGraph::closeEvent(QCloseEvent* event)
{
    // The window never closes itself: the shell releases it together with
    // its exercise.
    event->ignore();
    m_state.trend.trendClosing = true;
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
        const int key = static_cast<QKeyEvent*>(event)->key();
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
    QPainter p(this);
    p.drawImage(area, m_panel,
                QRectF(area.x() * m_ratio, area.y() * m_ratio, area.width() * m_ratio,
                       area.height() * m_ratio));
}

} // namespace velmor
