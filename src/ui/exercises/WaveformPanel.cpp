#include "ui/exercises/WaveformPanel.h"

#include "ui/common/SettingLocks.h"

#include "core/exercises/ControllerSettings.h"
#include "core/exercises/Waveform.h"
#include "ui/common/Language.h"
#include "ui/common/ValueBox.h"
#include "ui/exercises/PanelArt.h"

#include <QCoreApplication>
#include <QPainter>
#include <QRadioButton>

namespace velmor {

namespace {

constexpr QSize kValueArea{53, 17};

} // namespace

WaveformGeometry FlowWaveformGeometry()
{
    WaveformGeometry g;
    g.labelBoxes = {Ltrb(100, 414, 154, 488), QRect(), QRect()};
    g.labelBoxCount = 1;
    g.sp = {129, 415};
    g.initial = {111, 415};
    g.initialLong = {107, 415};
    g.final = {114, 444};
    g.max = {120, 415};
    g.min = {124, 444};
    g.period = {101, 472};
    g.valueBoxes = {Ltrb(158, 415, 211, 432), Ltrb(158, 443, 211, 460), Ltrb(158, 472, 211, 489)};
    g.textX = 158;
    g.radioLeft = 8;
    g.pictureLeft = 20;
    g.pictureSize = {73, 14};
    g.tops = {422, 436, 450, 464, 478};
    return g;
}

WaveformGeometry LevelWaveformGeometry()
{
    WaveformGeometry g = FlowWaveformGeometry();
    g.labelBoxes = {Ltrb(100, 409, 151, 487), QRect(), QRect()};
    g.final = {114, 443};
    g.min = {124, 443};
    g.period = {101, 470};
    g.textX = 159;
    return g;
}

WaveformGeometry OpenWaveformGeometry()
{
    WaveformGeometry g;
    g.labelBoxes = {Ltrb(141, 247, 194, 264), Ltrb(141, 297, 194, 314), Ltrb(141, 347, 194, 364)};
    g.labelBoxCount = 3;
    g.sp = {158, 247};
    g.initial = {148, 247};
    g.initialLong = {144, 247};
    g.final = {150, 297};
    g.max = {152, 247};
    g.min = {154, 297};
    g.period = {144, 347};
    g.valueBoxes = {Ltrb(141, 273, 194, 290), Ltrb(141, 323, 195, 340), Ltrb(141, 373, 194, 390)};
    g.textX = 142;
    g.radioLeft = 122;
    g.pictureLeft = 136;
    g.pictureSize = {73, 18};
    g.tops = {160, 177, 194, 211, 228};
    return g;
}

WaveformPanel::WaveformPanel(VelmorState& state, Exercise exercise, PanelView* panel,
                             const WaveformGeometry& geometry, const std::int32_t& panelFontSize)
    : QObject(panel), m_state(state), m_exercise(exercise), m_panel(panel), m_geometry(geometry),
      m_fontSize(panelFontSize)
{
    QRadioButton** radios[] = {&chkFlat, &chkRamp, &chkSine, &chkStep, &chkSawtooth};
    ClickLabel** pictures[] = {&imgFlat, &imgRamp, &imgSine, &imgStep, &imgSawtooth};
    for (int k = 0; k < 5; ++k) {
        const std::int32_t type = k + 1;
        auto* picture = new ClickLabel(panel);
        picture->setGeometry(
            QRect(QPoint(geometry.pictureLeft, geometry.tops[k]), geometry.pictureSize));
        picture->setPixmap(
            QPixmap::fromImage(WaveformPicture(type, panel->image().devicePixelRatio())));
        picture->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        picture->setCursor(Qt::PointingHandCursor);
        connect(picture, &ClickLabel::clicked, this, [this, type] { imgClick(type); });
        *pictures[k] = picture;
    }
    // The buttons overlap the pictures beside and below them: they are made
    // last so that each round button lies above every picture.
    for (int k = 0; k < 5; ++k) {
        const std::int32_t type = k + 1;
        auto* button = new QRadioButton(panel);
        button->setGeometry(geometry.radioLeft, geometry.tops[k], 17, 17);
        button->setCursor(Qt::PointingHandCursor);
        connect(button, &QRadioButton::clicked, this, [this, type] { chkClick(type); });
        *radios[k] = button;
    }

    imgSetA = new ClickArea(geometry.valueBoxes[0], panel);
    imgSetB = new ClickArea(geometry.valueBoxes[1], panel);
    imgSetC = new ClickArea(geometry.valueBoxes[2], panel);
    connect(imgSetA, &ClickArea::clicked, this, [this] { emit boxClicked(kCodeWaveRow1); });
    connect(imgSetB, &ClickArea::clicked, this, [this] { emit boxClicked(kCodeWaveRow2); });
    connect(imgSetC, &ClickArea::clicked, this, [this] { emit boxClicked(kCodeWaveRow3); });
}

QRadioButton* WaveformPanel::radio(std::int32_t type) const
{
    switch (type) {
    case kFlat:
        return chkFlat;
    case kRamp:
        return chkRamp;
    case kSine:
        return chkSine;
    case kStep:
        return chkStep;
    case kSawtooth:
        return chkSawtooth;
    default:
        return nullptr;
    }
}

void WaveformPanel::chkClick(std::int32_t type)
{
    // While the keypad is open the waveform cannot change, nor while a lab
    // sheet holds it: the click snaps back.
    if (CurrentWaveform(m_state, m_exercise) != type &&
        RefuseLockedChange(m_panel, m_exercise, {WaveformSettingName(m_exercise)})) {
        ResetWaveform();
        return;
    }
    if (!ChooseWaveform(m_state, m_exercise, type)) {
        ResetWaveform();
        return;
    }
    SetWaveform();
}

void WaveformPanel::imgClick(std::int32_t type)
{
    QRadioButton* button = radio(type);
    if (button != nullptr && !button->isChecked()) {
        button->setChecked(true);
        chkClick(type);
    }
}

void WaveformPanel::ResetWaveform()
{
    QRadioButton* button = radio(CurrentWaveform(m_state, m_exercise));
    if (button != nullptr) {
        button->setChecked(true);
    }
}

void WaveformPanel::SetWaveform()
{
    // The buttons and pictures read as the waveforms' names.
    static constexpr const char* kNames[] = {
        QT_TRANSLATE_NOOP("WaveformPanel", "Flat"), QT_TRANSLATE_NOOP("WaveformPanel", "Ramp"),
        QT_TRANSLATE_NOOP("WaveformPanel", "Sine"), QT_TRANSLATE_NOOP("WaveformPanel", "Step"),
        QT_TRANSLATE_NOOP("WaveformPanel", "Sawtooth")};
    ClickLabel* pictures[] = {imgFlat, imgRamp, imgSine, imgStep, imgSawtooth};
    for (int k = 0; k < 5; ++k) {
        const QString name = QCoreApplication::translate("WaveformPanel", kNames[k]);
        radio(k + 1)->setAccessibleName(name);
        pictures[k]->setAccessibleName(name);
    }
    switch (WaveRows(CurrentWaveform(m_state, m_exercise))) {
    case 1:
        DrawSPBlankBlank();
        imgSetB->setEnabled(false);
        imgSetC->setEnabled(false);
        break;
    case 2:
        DrawInitialFinalBlank();
        imgSetB->setEnabled(true);
        imgSetC->setEnabled(false);
        break;
    case 3:
        DrawMaxMinPeriod();
        imgSetB->setEnabled(true);
        imgSetC->setEnabled(true);
        break;
    default:
        break;
    }
    imgSetB->setCursor(imgSetB->isEnabled() ? Qt::PointingHandCursor : Qt::ArrowCursor);
    imgSetC->setCursor(imgSetC->isEnabled() ? Qt::PointingHandCursor : Qt::ArrowCursor);
    DrawSetpointValues();
}

bool WaveformPanel::DrawFor(int code)
{
    if (code != kCodeWaveRow1 && code != kCodeWaveRow2 && code != kCodeWaveRow3) {
        return false;
    }
    DrawSetpointValues();
    return true;
}

void WaveformPanel::DrawSetpointValues()
{
    const std::int32_t type = CurrentWaveform(m_state, m_exercise);
    const WaveParams& p = WaveParamsOf(m_state, m_exercise);
    switch (WaveRows(type)) {
    case 1:
        DrawA(true, p.A(type));
        DrawB(false, 0);
        DrawC(false, 0);
        break;
    case 2:
        DrawA(true, p.B(type)); // the Ramp's initial value first
        DrawB(true, p.A(type));
        DrawC(false, 0);
        break;
    case 3:
        DrawA(true, p.A(type));
        DrawB(true, p.B(type));
        DrawC(true, p.C(type));
        break;
    default:
        break;
    }
}

void WaveformPanel::drawLabels(std::initializer_list<std::pair<QPoint, QString>> labels)
{
    QImage& image = m_panel->image();
    QPainter painter(&image);
    for (int k = 0; k < m_geometry.labelBoxCount; ++k) {
        painter.fillRect(m_geometry.labelBoxes[static_cast<std::size_t>(k)], kSilver);
    }
    const QFont font = PanelFont(m_fontSize + 2);
    const QFontMetrics metrics(font);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setFont(font);
    painter.setPen(Qt::black);
    for (const auto& [at, text] : labels) {
        painter.drawText(at.x(), at.y() + metrics.ascent(), text);
    }
    painter.end();
    QRect dirty;
    for (int k = 0; k < m_geometry.labelBoxCount; ++k) {
        dirty |= m_geometry.labelBoxes[static_cast<std::size_t>(k)];
    }
    m_panel->refresh(dirty);
}

void WaveformPanel::DrawSPBlankBlank()
{
    drawLabels({{m_geometry.sp, QStringLiteral("SP")}});
    nameRows({QStringLiteral("SP")});
}

void WaveformPanel::DrawInitialFinalBlank()
{
    const bool longTexts = LanguageOf(m_state.shell.language).longTexts;
    const QString initial = TextIn(m_state.shell.language, "WaveformPanel",
                                   QT_TRANSLATE_NOOP("WaveformPanel", "Initial"));
    drawLabels({{longTexts ? m_geometry.initialLong : m_geometry.initial, initial},
                {m_geometry.final, QStringLiteral("Final")}});
    nameRows({initial, QStringLiteral("Final")});
}

void WaveformPanel::DrawMaxMinPeriod()
{
    // The same words in both languages.
    drawLabels({{m_geometry.max, QStringLiteral("Max")},
                {m_geometry.min, QStringLiteral("Min")},
                {m_geometry.period, QStringLiteral("Period")}});
    nameRows({QStringLiteral("Max"), QStringLiteral("Min"), QStringLiteral("Period")});
}

void WaveformPanel::nameRows(std::initializer_list<QString> names)
{
    // The set point's rows, named by the words beside them; a blank row
    // has no name.
    ClickArea* rows[] = {imgSetA, imgSetB, imgSetC};
    // In Open loop the waveform drives the pump output itself.
    const QString heading = QCoreApplication::translate(
        "WaveformPanel", m_exercise == Exercise::Open
                             ? QT_TRANSLATE_NOOP("WaveformPanel", "Output")
                             : QT_TRANSLATE_NOOP("WaveformPanel", "Set point"));
    std::size_t k = 0;
    for (const QString& name : names) {
        rows[k++]->setLabel(heading + QLatin1Char(' ') + name);
    }
    static constexpr const char* kUnused =
        QT_TRANSLATE_NOOP("WaveformPanel", "not used by this waveform");
    const QString unused = QCoreApplication::translate("WaveformPanel", kUnused);
    for (; k < 3; ++k) {
        rows[k]->setLabel(heading + QStringLiteral(": ") + unused);
    }
}

void WaveformPanel::drawRow(int row, bool show, float value)
{
    const QRect box = m_geometry.valueBoxes[static_cast<std::size_t>(row)];
    const QString text = show ? FormatGeneral(value, 4) : QString();
    DrawValueBox(m_panel->image(), box, QPoint(m_geometry.textX, box.top()), kValueArea, text,
                 PanelFont(m_fontSize), Qt::black);
    m_panel->refresh(box);
    m_panel->tell(box, text, show ? std::optional<double>(value) : std::nullopt);
}

void WaveformPanel::DrawA(bool show, float value)
{
    drawRow(0, show, value);
}
void WaveformPanel::DrawB(bool show, float value)
{
    drawRow(1, show, value);
}
void WaveformPanel::DrawC(bool show, float value)
{
    drawRow(2, show, value);
}

void WaveformPanel::DrawFrames()
{
    for (const QRect& box : m_geometry.valueBoxes) {
        DrawSunkenFrame(m_panel->image(), box);
    }
    for (int k = 0; k < m_geometry.labelBoxCount; ++k) {
        DrawSunkenFrame(m_panel->image(), m_geometry.labelBoxes[static_cast<std::size_t>(k)]);
    }
}

} // namespace velmor
