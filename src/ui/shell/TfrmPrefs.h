// The preferences window: the maximised start, the toolbar and the easy menu
// (stored for the next runs), the interface language (for this run only) and
// the run history's switch (stored, and in force at once), with its folder.
// OK stores and applies the choices; Cancel and the close box forget them.
#pragma once

#include "core/rundata/State.h"

#include <QWidget>

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QTimer;

namespace velmor {

class Preferences;
class TfrmMain;

class TfrmPrefs : public QWidget {
    Q_OBJECT

public:
    TfrmPrefs(VelmorState& state, Preferences& preferences, TfrmMain& main);

    void SetLanguage();
    void SetEnglishText() { setTexts(Language::English); }
    void SetSpanishText() { setTexts(Language::Spanish); }

    // Stores the choices and applies what takes effect now (run by OK).
    void SaveValues();
    void btnOKClick();
    void btnCancelClick();
    void TripTimerTimer();
    void chkEnglishClick();
    void chkSpanishClick();

    // The last OK changed the language.
    bool languageChanged() const { return m_languageChanged; }

    QGroupBox* grpProgramInterface = nullptr;
    QGroupBox* grpLanguage = nullptr;
    QCheckBox* chkMaximised = nullptr;
    QCheckBox* chkShowToolbar = nullptr;
    QCheckBox* chkMenuShow = nullptr;
    QRadioButton* chkSpanish = nullptr;
    QRadioButton* chkEnglish = nullptr;
    QRadioButton* chkFrench = nullptr;
    QRadioButton* chkItalian = nullptr;
    QRadioButton* chkGerman = nullptr;
    QGroupBox* grpRunHistory = nullptr;
    QCheckBox* chkKeepHistory = nullptr;
    QLabel* lblHistoryFolder = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;
    QTimer* TripTimer = nullptr;

protected:
    // FormShow: the choices in force are filled in once the window is up.
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

protected:
    // The language switch: QEvent::LanguageChange runs SetLanguage.
    void changeEvent(QEvent* event) override;

private:
    void setTexts(Language language);
    // The choice of `language`, or nullptr when the list has no such entry.
    QRadioButton* buttonOf(Language language) const;
    int scaled(int pixels) const;

    VelmorState& m_state;
    Preferences& m_preferences;
    TfrmMain& m_main;
    bool m_languageChanged = false;
};

} // namespace velmor
