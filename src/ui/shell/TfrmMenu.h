// The easy menu screen: a picture of the rig with its parts named, a heading
// and a bar of buttons, one per exercise, plus Trends and Exit. It stands in
// the empty frame whenever no exercise is open and the easy menu is on.
#pragma once

#include "core/rundata/State.h"

#include <QImage>
#include <QWidget>

#include <array>
#include <map>
#include <vector>

class QFrame;
class QLabel;
class QMdiSubWindow;
class QPushButton;

namespace velmor {

class TfrmMain;

class TfrmMenu : public QWidget {
    Q_OBJECT

public:
    // FormCreate, up to the placing in the frame (see ShowMenuScreen).
    TfrmMenu(VelmorState& state, TfrmMain& main, QWidget* parent = nullptr);

    void SetLanguage();

    // 14, or 12 in large-font mode: the heading's size in English.
    int baseHeadingSize() const { return m_baseHeadingSize; }

    // The exercises' buttons are made from their rows of ExerciseEntries()
    // and carry their object names (btnManual, btnFlow, ...).
    QLabel* imgPanel = nullptr;
    QLabel* Heading = nullptr;
    QFrame* Panel2 = nullptr;
    QPushButton* btnTrends = nullptr;
    QPushButton* btnExit = nullptr;

protected:
    // The language switch: QEvent::LanguageChange runs SetLanguage.
    void changeEvent(QEvent* event) override;

private:
    struct ExerciseButton {
        QPushButton* button;
        const char* caption;
    };

    QPushButton* button(int slot);
    // imgEnglish, imgSpanish: the picture in each language, drawn when
    // first shown.
    const QImage& picture(Language language);
    void offerPopupMenu(QWidget* control);

    VelmorState& m_state;
    TfrmMain& m_main;
    std::map<Language, QImage> m_pictures;
    std::vector<ExerciseButton> m_exerciseButtons;
    int m_baseHeadingSize = 14;
};

// The maker that the main window's ShowMenu uses: the screen in a child
// window with a tool-window frame, no close box and a one-blank caption,
// placed at (59, 0) in a frame of exactly 776 x 578 and centred otherwise.
QMdiSubWindow* ShowMenuScreen(VelmorState& state, TfrmMain& main);

} // namespace velmor
