#include "ui/exercises/ControllerPanel.h"

#include "ui/common/SettingLocks.h"

#include "ui/common/ValueBox.h"

#include <QCheckBox>
#include <QPainter>

namespace velmor {

namespace {

constexpr QSize kControllerPanelBoxArea{52, 17};
constexpr QSize kSampleArea{54, 16};

BoxPlace Place(int l, int t, int r, int b, int bx, int by)
{
    return {Ltrb(l, t, r, b), QPoint(bx, by)};
}

} // namespace

ControllerGeometry FlowControllerGeometry()
{
    return {Place(158, 203, 210, 220, 158, 203), Place(158, 235, 210, 252, 158, 235),
            Place(158, 268, 210, 285, 158, 268), Place(158, 301, 210, 318, 158, 301)};
}

ControllerGeometry BatchVolumeControllerGeometry()
{
    return {Place(48, 205, 100, 222, 49, 206), Place(48, 238, 100, 255, 49, 238),
            Place(49, 271, 101, 288, 49, 271), Place(49, 304, 101, 321, 49, 304)};
}

ControllerGeometry BatchTemperatureControllerGeometry()
{
    return {Place(159, 206, 211, 223, 159, 206), Place(159, 238, 211, 255, 159, 238),
            Place(160, 271, 211, 288, 160, 271), Place(160, 304, 211, 321, 160, 304)};
}

BoxPlace FlowSampleBox()
{
    return Place(141, 108, 195, 125, 141, 109);
}
BoxPlace LevelSampleBox()
{
    return Place(141, 109, 193, 125, 142, 109);
}
BoxPlace TemperatureSampleBox()
{
    return Place(141, 108, 193, 125, 141, 109);
}
BoxPlace BatchSampleBox()
{
    return Place(28, 25, 80, 42, 29, 26);
}
BoxPlace OpenSampleBox()
{
    return Place(141, 108, 193, 125, 142, 109);
}

LightPlace FlowLight()
{
    return {QSize(56, 46), QPoint(126, 340)};
}
LightPlace LevelLight()
{
    return {QSize(26, 46), QPoint(114, 15)};
}
LightPlace OpenLight()
{
    return {QSize(26, 46), QPoint(114, 15)};
}
LightPlace TemperatureLight()
{
    return {QSize(93, 46), QPoint(126, 340)};
}
LightPlace BatchLight()
{
    return {QSize(26, 46), QPoint(106, 22)};
}

ControllerPanel::ControllerPanel(VelmorState& state, PanelView* panel, LoopOf loop, int codeOffset,
                                 const ControllerGeometry& geometry, const ControllerLayout& layout,
                                 const std::int32_t& panelFontSize)
    : QObject(panel), m_state(state), m_panel(panel), m_loop(loop), m_codeOffset(codeOffset),
      m_geometry(geometry), m_fontSize(panelFontSize)
{
    imgPG = new ClickArea(geometry.pg.box, panel);
    imgPB = new ClickArea(geometry.pb.box, panel);
    imgI = new ClickArea(geometry.i.box, panel);
    imgD = new ClickArea(geometry.d.box, panel);
    const int codes[] = {kCodePG, kCodePB, kCodeI, kCodeD};
    ClickArea* boxes[] = {imgPG, imgPB, imgI, imgD};
    for (int k = 0; k < 4; ++k) {
        const int code = codes[k] + m_codeOffset;
        connect(boxes[k], &ClickArea::clicked, this, [this, code] { emit boxClicked(code); });
    }

    chkI = new QCheckBox(panel);
    chkD = new QCheckBox(panel);
    chkI->move(layout.chkI);
    chkD->move(layout.chkD);
    chkI->resize(17, 17);
    chkD->resize(17, 17);
    chkI->setCursor(Qt::PointingHandCursor);
    chkD->setCursor(Qt::PointingHandCursor);
    // A click changes the box's state; the handler re-reads it.
    connect(chkI, &QCheckBox::clicked, this, [this](bool checked) {
        PidLoop l = m_loop(m_state);
        l.chkI = checked;
        chkIClick();
    });
    connect(chkD, &QCheckBox::clicked, this, [this](bool checked) {
        PidLoop l = m_loop(m_state);
        l.chkD = checked;
        chkDClick();
    });

    lblI = new ClickLabel(panel);
    lblD = new ClickLabel(panel);
    lblI->setGeometry(layout.lblI);
    lblD->setGeometry(layout.lblD);
    for (ClickLabel* letter : {lblI, lblD}) {
        letter->setFont(PanelFont(panelFontSize + 1));
        letter->setCursor(Qt::PointingHandCursor);
        letter->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    }
    connect(lblI, &ClickLabel::clicked, this, &ControllerPanel::lblIClick);
    connect(lblD, &ClickLabel::clicked, this, &ControllerPanel::lblDClick);
    SyncChecks();
}

void ControllerPanel::drawBox(const BoxPlace& place, float value, int precision)
{
    const QString text = FormatGeneral(value, precision);
    DrawValueBox(m_panel->image(), place.box, place.base, kControllerPanelBoxArea, text,
                 PanelFont(m_fontSize), Qt::black);
    m_panel->refresh(place.box);
    m_panel->tell(place.box, text, value);
}

void ControllerPanel::DrawPG()
{
    drawBox(m_geometry.pg, m_loop(m_state).gain, 4);
}
// Five digits so that 10000 shows in full.
void ControllerPanel::DrawPB()
{
    drawBox(m_geometry.pb, m_loop(m_state).band, 5);
}
void ControllerPanel::DrawI()
{
    drawBox(m_geometry.i, m_loop(m_state).integralTime, 4);
}
void ControllerPanel::DrawD()
{
    drawBox(m_geometry.d, m_loop(m_state).derivativeTime, 4);
}

void ControllerPanel::DrawAll()
{
    DrawPG();
    DrawPB();
    DrawI();
    DrawD();
}

void ControllerPanel::DrawFrames()
{
    for (const BoxPlace* place : {&m_geometry.pg, &m_geometry.pb, &m_geometry.i, &m_geometry.d}) {
        DrawSunkenFrame(m_panel->image(), place->box);
    }
}

void ControllerPanel::SyncChecks()
{
    const PidLoop l = m_loop(m_state);
    chkI->setChecked(l.chkI);
    chkD->setChecked(l.chkD);
}

void ControllerPanel::ResetChecks()
{
    const PidLoop l = m_loop(m_state);
    l.chkI = l.integralOn != 0;
    l.chkD = l.derivativeOn != 0;
    SyncChecks();
}

bool ControllerPanel::DrawFor(int code)
{
    switch (code - m_codeOffset) {
    case kCodePG:
    case kCodePB:
        DrawPG();
        DrawPB();
        return true;
    case kCodeI:
        DrawI();
        return true;
    case kCodeD:
        DrawD();
        return true;
    default:
        return false;
    }
}

void ControllerPanel::chkIClick()
{
    if (RefuseLockedCheckBox(m_panel, m_loop, true)) {
        SyncChecks(); // the box snaps back
        return;
    }
    IBoxHandler(m_loop(m_state));
}

void ControllerPanel::chkDClick()
{
    if (RefuseLockedCheckBox(m_panel, m_loop, false)) {
        SyncChecks(); // the box snaps back
        return;
    }
    DBoxHandler(m_loop(m_state));
}

void ControllerPanel::lblIClick()
{
    if (RefuseLockedCheckBox(m_panel, m_loop, true)) {
        return;
    }
    const PidLoop l = m_loop(m_state);
    SetIBox(l, !l.chkI);
    SyncChecks();
}

void ControllerPanel::lblDClick()
{
    if (RefuseLockedCheckBox(m_panel, m_loop, false)) {
        return;
    }
    const PidLoop l = m_loop(m_state);
    SetDBox(l, !l.chkD);
    SyncChecks();
}

void DrawSampleTime(PanelView* panel, const BoxPlace& place, float samplePeriod, int fontSize)
{
    const QString text = FormatGeneral(samplePeriod, 4);
    DrawValueBox(panel->image(), place.box, place.base, kSampleArea, text, PanelFont(fontSize),
                 kGrey);
    panel->refresh(place.box);
    panel->tell(place.box, text, samplePeriod);
}

void DrawRunLight(PanelView* panel, const QImage& source, const LightPlace& place)
{
    {
        // The source rectangle is in the picture's own pixels.
        const qreal ratio = source.devicePixelRatio();
        QPainter painter(&panel->image());
        painter.drawImage(QRect(place.at, place.size), source,
                          QRectF(0, 0, place.size.width() * ratio, place.size.height() * ratio));
    }
    panel->refresh(QRect(place.at, place.size));
}

} // namespace velmor
