// The about box: the program's picture, name and version, a link to the
// help's start page and, when the build names one, a contact address. It
// lives as long as the program and is shown without blocking the frame.
#pragma once

#include "core/rundata/State.h"

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

namespace velmor {

// The version shown ("7.0") and the full one that a double-click reveals
// ("7.0.6"); both from the project's version.
QString ShortVersion();
QString FullVersion();

// The contact address configured at build time ("" when none is).
QString BuildContactAddress();

// The address of the help's start page; the main window opens it in the
// help viewer when the desktop is asked to open it.
inline constexpr const char* kHelpStartUrl = "velmor-help:contents";

// Asks the desktop to open `text` (a web address or "mailto:") with its
// registered handler; the outcome is not checked.
void InternetLink(const QString& text);

class TfrmAbout : public QDialog {
    Q_OBJECT

public:
    // FormCreate; the texts are set only when the language is not English,
    // so the layout's own texts stand at start.
    explicit TfrmAbout(VelmorState& state, QWidget* parent = nullptr,
                       const QString& contactAddress = BuildContactAddress());

    void SetLanguage();

    void OKButtonClick();
    void lblWebLinkClick();
    void lblEmailLinkClick();
    // A double-click on Version or Number.
    void VersionDblClick();

    QFrame* Panel = nullptr;
    QLabel* ProgramIcon = nullptr;
    QLabel* ProductName = nullptr;
    QLabel* lblDescription = nullptr;
    QLabel* Version = nullptr;
    QLabel* Number = nullptr;
    QLabel* lblWebLink = nullptr;
    QLabel* lblEmailLink = nullptr;
    QPushButton* OKButton = nullptr;

protected:
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

protected:
    // The language switch: QEvent::LanguageChange runs SetLanguage.
    void changeEvent(QEvent* event) override;

private:
    int scaled(int pixels) const;

    VelmorState& m_state;
    QString m_contact;
};

} // namespace velmor
