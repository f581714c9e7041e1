// The Manual operation window: a mimic diagram of the rig on which the user
// works the pump knob, the drain valve, the diverter, the cooler and the
// stirrer by hand. A 125 ms timer runs the rig model and the diagram shows
// its flow paths, lamps, valves, level bar, heat dial and the turning
// stirrer and fan.
#pragma once

#include "core/mimic/MimicModel.h"
#include "core/rundata/State.h"

#include <QImage>
#include <QRect>
#include <QRegion>
#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>

class QLabel;
class QPushButton;
class QTimer;

namespace velmor {

class ClickArea;
class MimicSlider;
class PanelItem;
class MimicView;

// An indicator lamp of the diagram: lit while visible. `item` reads it to a
// screen reader.
struct MimicLamp {
    QRect place;
    bool visible = false;
    PanelItem* item = nullptr;
    bool isVisible() const { return visible; }
};

class TfrmManual : public QWidget {
    Q_OBJECT

public:
    static constexpr QSize kClientSize{755, 501};
    // Steady-clock milliseconds; tests pass their own clock.
    using Clock = std::function<std::int64_t()>;

    // FormCreate: start values, pictures, texts. The timer runs from here.
    TfrmManual(VelmorState& state, QWidget* parent = nullptr, Clock clock = {});
    ~TfrmManual() override;

    void SetLanguage();

    // Handlers.
    void UpdateTimerTimer();
    void SolenoidDrainClick();
    void SolenoidDiverterClick();
    void imgCoolerClick();
    void imgStirrerClick();
    void DrainValveIndClick();
    void Place(int x);
    void btnMenuClick();
    void FormClose();

    // The diagram as shown (device pixels at the screen's pixel ratio).
    const QImage& picture() const;
    // The frames the stirrer and fan pictures show now.
    int stirrerShown() const { return m_stirrerShown; }
    int fanShown() const { return m_fanShown; }
    int knobShown() const { return m_knobX; }
    bool needleShown() const { return m_needleDrawn; }

    MimicView* imgManual = nullptr;
    QTimer* UpdateTimer = nullptr;
    QPushButton* btnMenu = nullptr;
    MimicSlider* imgScroll = nullptr;
    ClickArea* SolenoidDrain = nullptr;
    ClickArea* SolenoidDiverter = nullptr;
    ClickArea* imgCooler = nullptr;
    ClickArea* Fan = nullptr;
    ClickArea* imgStirrer = nullptr;
    ClickArea* Stirrer = nullptr;
    ClickArea* DrainValveInd = nullptr; // the drain lamp's click area

    MimicLamp imgCoolLight;
    MimicLamp imgDivLight;
    MimicLamp imgDrainLight;
    MimicLamp imgTankFull;

    QLabel* lblPumpOutput = nullptr;
    QLabel* lblTankFull = nullptr;
    QLabel* lblProcessTemp = nullptr;
    QLabel* lblHeatInput = nullptr;
    QLabel* lblManualHeat = nullptr;
    QLabel* lblDrainValve = nullptr;
    QLabel* lblSumpTemperature = nullptr;
    QLabel* lblFlowTemperature = nullptr;
    QLabel* lblFlowRate = nullptr;
    QLabel* lblCoolerActivated = nullptr;
    QLabel* lblFlowDiverted = nullptr;
    QLabel* FlowNum = nullptr;
    QLabel* TankNum = nullptr;
    QLabel* TempNum = nullptr;
    QLabel* SumpNum = nullptr;
    QLabel* HeatNum = nullptr;

signals:
    // The window closed itself: its Control menu item is to be unchecked.
    void controlItemUnchecked();
    // The close box or MENU while the program runs: the shell is to release
    // this window a moment later.
    void closeRequested();

protected:
    void closeEvent(QCloseEvent* event) override;

protected:
    // The language switch: QEvent::LanguageChange runs SetLanguage.
    void changeEvent(QEvent* event) override;

private:
    void makeTexts();
    void makeParts();
    void setKeyboardOrder();
    QLabel* makeTag(const QRect& place);
    QLabel* makeReadout(const QRect& place, const QString& text);
    ClickArea* makeClickArea(const QRect& place, const char* hint);
    void setTexts(Language language, bool atCreation);
    void rebuild();
    void compose(const QRegion& dirty);
    QRegion pathRegion(unsigned paths) const;
    // The switches' states and the knob's share of its travel, as a screen
    // reader reads them.
    void tellSwitches();
    // The lamps, lit or dark, as a screen reader reads them.
    void tellLamps();
    // The knob moved from the keyboard by this many pixels.
    void stepKnob(int pixels);
    std::int64_t now() const;

    VelmorState& m_state;
    Clock m_clock;
    // Pictures drawn once for the screen's pixel ratio.
    QImage m_background;
    std::array<QImage, 3> m_fanFrames;
    std::array<QImage, 4> m_stirrerFrames;
    std::array<QImage, 2> m_drainPictures;    // closed, open
    std::array<QImage, 2> m_diverterPictures; // closed, open
    QImage m_litLamp;
    QImage m_knob;
    int m_stirrerShown = 1;
    int m_fanShown = 1;
    int m_knobX = kKnobLeft;
    bool m_needleDrawn = false;
    std::array<QString, 4> m_switchWords; // open, closed, on, off
    std::array<QString, 2> m_lampWords;   // lit, dark
    QString m_knobName;
};

} // namespace velmor
