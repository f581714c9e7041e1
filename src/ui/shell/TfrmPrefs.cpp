#include "ui/shell/TfrmPrefs.h"

#include "ui/common/Language.h"
#include "ui/shell/Preferences.h"
#include "ui/shell/RunHistory.h"
#include "ui/shell/TfrmMain.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTimer>

#include <algorithm>
#include <cstring>

namespace velmor {

namespace {

constexpr const char* kPrefsContext = "TfrmPrefs";

} // namespace

TfrmPrefs::TfrmPrefs(VelmorState& state, Preferences& preferences, TfrmMain& main)
    : QWidget(&main, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint |
                         Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_state(state), m_preferences(preferences), m_main(main)
{
    setObjectName(QStringLiteral("frmPrefs"));
    setWindowTitle(QStringLiteral("Preferences"));

    grpProgramInterface = new QGroupBox(this);
    grpProgramInterface->setGeometry(scaled(10), scaled(10), scaled(236), scaled(150));
    const auto check = [this](int top) {
        auto* box = new QCheckBox(grpProgramInterface);
        box->setGeometry(scaled(14), scaled(top), scaled(214), scaled(24));
        box->setCursor(Qt::PointingHandCursor);
        return box;
    };
    chkMaximised = check(30);
    chkShowToolbar = check(68);
    chkMenuShow = check(106);

    grpLanguage = new QGroupBox(this);
    grpLanguage->setGeometry(scaled(256), scaled(10), scaled(134), scaled(150));
    // Every language is shown; those the program speaks can be chosen.
    const auto radio = [this](int top, const char* name) {
        const auto speaks = Languages();
        const bool enabled = std::any_of(speaks.begin(), speaks.end(), [name](const auto& entry) {
            return std::strcmp(entry.name, name) == 0;
        });
        auto* button = new QRadioButton(grpLanguage);
        button->setObjectName(QLatin1String(name));
        button->setGeometry(scaled(14), scaled(top), scaled(112), scaled(22));
        button->setEnabled(enabled);
        if (enabled) {
            button->setCursor(Qt::PointingHandCursor);
        }
        return button;
    };
    chkSpanish = radio(24, "Spanish");
    chkEnglish = radio(48, "English");
    chkFrench = radio(72, "French");
    chkItalian = radio(96, "Italian");
    chkGerman = radio(120, "German");
    connect(chkSpanish, &QRadioButton::toggled, this, &TfrmPrefs::chkSpanishClick);
    connect(chkEnglish, &QRadioButton::toggled, this, &TfrmPrefs::chkEnglishClick);

    // Below both groups, as wide as the two: the run history's switch and
    // where the runs go.
    grpRunHistory = new QGroupBox(this);
    grpRunHistory->setGeometry(scaled(10), scaled(168), scaled(380), scaled(74));
    chkKeepHistory = new QCheckBox(grpRunHistory);
    chkKeepHistory->setGeometry(scaled(14), scaled(22), scaled(352), scaled(24));
    chkKeepHistory->setCursor(Qt::PointingHandCursor);
    lblHistoryFolder = new QLabel(grpRunHistory);
    lblHistoryFolder->setGeometry(scaled(14), scaled(48), scaled(352), scaled(20));
    lblHistoryFolder->setTextInteractionFlags(Qt::TextSelectableByMouse);

    btnOK = new QPushButton(QStringLiteral("OK"), this);
    btnOK->setGeometry(scaled(224), scaled(252), scaled(80), scaled(27));
    btnOK->setDefault(true);
    btnCancel = new QPushButton(QStringLiteral("Cancel"), this);
    btnCancel->setGeometry(scaled(310), scaled(252), scaled(80), scaled(27));
    // A button with the focus answers Enter itself (Cancel cancels); Enter
    // on any other control is OK.
    btnOK->setAutoDefault(true);
    btnCancel->setAutoDefault(true);
    connect(btnOK, &QPushButton::clicked, this, &TfrmPrefs::btnOKClick);
    connect(btnCancel, &QPushButton::clicked, this, &TfrmPrefs::btnCancelClick);

    // The client area ends 10 pixels right of the language group and 10
    // below the OK button.
    setFixedSize(grpLanguage->geometry().right() + 1 + scaled(10),
                 btnOK->geometry().bottom() + 1 + scaled(10));
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }

    TripTimer = new QTimer(this);
    TripTimer->setSingleShot(true);
    TripTimer->setInterval(1);
    connect(TripTimer, &QTimer::timeout, this, &TfrmPrefs::TripTimerTimer);
    SetEnglishText();
}

int TfrmPrefs::scaled(int pixels) const
{
    return m_state.shell.largeFonts ? pixels * 6 / 5 : pixels;
}

void TfrmPrefs::setTexts(Language language)
{
    const auto text = [language](const char* english) {
        return TextIn(language, kPrefsContext, english);
    };
    setWindowTitle(text(QT_TRANSLATE_NOOP("TfrmPrefs", "Preferences")));
    grpProgramInterface->setTitle(text(QT_TRANSLATE_NOOP("TfrmPrefs", "Program Interface")));
    grpLanguage->setTitle(text(QT_TRANSLATE_NOOP("TfrmPrefs", "Language")));
    chkMaximised->setText(text(QT_TRANSLATE_NOOP("TfrmPrefs", "Maximised at Startup")));
    chkShowToolbar->setText(text(QT_TRANSLATE_NOOP("TfrmPrefs", "Show Toolbar as default")));
    chkMenuShow->setText(text(QT_TRANSLATE_NOOP("TfrmPrefs", "Show Easy Menu")));
    chkEnglish->setText(text(QT_TRANSLATE_NOOP("TfrmPrefs", "English")));
    chkFrench->setText(text(QT_TRANSLATE_NOOP("TfrmPrefs", "French")));
    chkSpanish->setText(text(QT_TRANSLATE_NOOP("TfrmPrefs", "Spanish")));
    chkGerman->setText(text(QT_TRANSLATE_NOOP("TfrmPrefs", "German")));
    chkItalian->setText(text(QT_TRANSLATE_NOOP("TfrmPrefs", "Italian")));
    grpRunHistory->setTitle(text(QT_TRANSLATE_NOOP("TfrmPrefs", "Run History")));
    chkKeepHistory->setText(text(QT_TRANSLATE_NOOP("TfrmPrefs", "Keep a history of runs")));
    const RunHistory* history = m_main.runHistory();
    const QString folder =
        history != nullptr ? QDir::toNativeSeparators(history->folder()) : QString();
    lblHistoryFolder->setToolTip(folder);
    lblHistoryFolder->setText(
        history != nullptr
            ? lblHistoryFolder->fontMetrics().elidedText(
                  text(QT_TRANSLATE_NOOP("TfrmPrefs", "Folder: %1")).arg(folder), Qt::ElideMiddle,
                  lblHistoryFolder->width())
            : text(QT_TRANSLATE_NOOP("TfrmPrefs", "No folder: this program keeps no runs.")));
}

QRadioButton* TfrmPrefs::buttonOf(Language language) const
{
    for (const LanguageEntry& entry : Languages()) {
        if (entry.language == language) {
            return grpLanguage->findChild<QRadioButton*>(QLatin1String(entry.name));
        }
    }
    return nullptr;
}

void TfrmPrefs::SetLanguage()
{
    setTexts(m_state.shell.language);
}

void TfrmPrefs::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // An opening fills in the choices in force; the window coming back from
    // its icon keeps the choices being made.
    if (!event->spontaneous()) {
        TripTimer->start();
    }
}

void TfrmPrefs::TripTimerTimer()
{
    const ShellState& shell = m_state.shell;
    SetLanguage();
    m_languageChanged = false;
    chkMenuShow->setChecked(shell.showEasyMenu);
    chkMaximised->setChecked(shell.startMaximised);
    chkShowToolbar->setChecked(shell.showToolbar);
    chkKeepHistory->setChecked(m_preferences.keepRunHistory());
    if (QRadioButton* button = buttonOf(shell.language)) {
        button->setChecked(true);
    }
    TripTimer->stop();
}

void TfrmPrefs::chkEnglishClick()
{
    if (chkEnglish->isChecked()) {
        SetEnglishText();
    }
}

void TfrmPrefs::chkSpanishClick()
{
    if (chkSpanish->isChecked()) {
        SetSpanishText();
    }
}

void TfrmPrefs::SaveValues()
{
    ShellState& shell = m_state.shell;
    shell.showEasyMenu = chkMenuShow->isChecked();
    m_main.setEasyMenuChecked(shell.showEasyMenu);
    // The maximised start takes effect at the next start, and the toolbar's
    // visibility stays as it is: Setup > Toolbar changes it for this run.
    shell.showToolbar = chkShowToolbar->isChecked();
    m_preferences.save(shell.showEasyMenu, chkMaximised->isChecked(), shell.showToolbar);
    // The history's switch is in force at once, for this run and the next.
    m_preferences.saveKeepRunHistory(chkKeepHistory->isChecked());
    m_main.setKeepRunHistory(chkKeepHistory->isChecked());

    for (const LanguageEntry& entry : Languages()) {
        QRadioButton* button = buttonOf(entry.language);
        if (button != nullptr && button->isChecked()) {
            m_languageChanged = entry.language != shell.language;
            shell.language = entry.language;
        }
    }
    hide();
}

void TfrmPrefs::btnOKClick()
{
    SaveValues();
    m_main.applyPreferences(m_languageChanged);
}

void TfrmPrefs::btnCancelClick()
{
    hide();
}

void TfrmPrefs::closeEvent(QCloseEvent* event)
{
    // The close box cancels; the window lives on for its next opening.
    event->ignore();
    btnCancelClick();
}

void TfrmPrefs::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        btnCancelClick();
        return;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        btnOKClick();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TfrmPrefs::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        SetLanguage();
    }
    QWidget::changeEvent(event);
}

} // namespace velmor
