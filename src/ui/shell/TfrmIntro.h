// The intro screen: a borderless splash that stays on top, centred on the
// desktop, while the program starts. It ends after six seconds or at the
// first click, and then brings up the easy menu screen when that preference
// is on.
#pragma once

#include "core/rundata/State.h"

#include <QImage>
#include <QWidget>

class QLabel;
class QTimer;

namespace velmor {

class TfrmMain;

class TfrmIntro : public QWidget {
    Q_OBJECT

public:
    static constexpr int kShowMs = 6000;

    // FormCreate. The window is made, not shown: the program shows it.
    TfrmIntro(VelmorState& state, TfrmMain& main);

    // The end (a click on the window or its pictures, or EndTimer): the
    // centre is taken, the easy menu screen comes up if wanted, and the
    // intro screen goes. Runs once.
    void imgIntroClick();

    // The language of the splash shown.
    Language shownLanguage() const { return m_shown; }

    QLabel* imgIntro = nullptr;
    QLabel* imgLogo = nullptr;
    QTimer* EndTimer = nullptr;

signals:
    // The intro screen has ended and is being released.
    void ended();

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    VelmorState& m_state;
    TfrmMain& m_main;
    Language m_shown = Language::English;
    bool m_ended = false;
};

} // namespace velmor
