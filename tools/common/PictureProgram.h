// The desktop program as the picture tools start it: a preferences store of
// its own in a temporary folder (installed, not maximised, toolbar and easy
// menu shown) and the main window on screen at 1024 x 768, so that every
// picture is of the same frame whoever runs the tool.
#pragma once

#include "ui/shell/Preferences.h"
#include "ui/shell/ProgramStart.h"
#include "ui/shell/TfrmMain.h"

#include <QSettings>
#include <QTemporaryDir>

#include <memory>

namespace velmor::tools {

class PictureProgram {
public:
    // `keepHistory`: the store's "Keep a history of runs" (the preferences
    // window shows it); `historyFolder` is where the history lists runs from.
    // With `stillMimic` the mimic's clock stands still, so that the rig shows
    // its state at rest however late its updates come; without, the mimic
    // runs on the steady clock (a picture of it pumping).
    PictureProgram(const QString& historyFolder, bool keepHistory, bool stillMimic = true)
        : m_preferences(WriteStore(m_home.filePath(QStringLiteral("velmor.ini")), keepHistory))
    {
        StartOptions options{.historyFolder = historyFolder};
        if (stillMimic) {
            options.mimicClock = [] { return std::int64_t{0}; };
        }
        main = CreateProgram(state, m_preferences, options);
        main->resize(1024, 768);
        main->show();
    }

    VelmorState state;
    std::unique_ptr<TfrmMain> main;

private:
    static QString WriteStore(const QString& file, bool keepHistory)
    {
        QSettings store(file, QSettings::IniFormat);
        store.setValue(QStringLiteral("Setup/Installed"), QStringLiteral("YES"));
        store.setValue(QStringLiteral("Setup/Maximised"), QStringLiteral("False"));
        store.setValue(QStringLiteral("Setup/Toolbar"), QStringLiteral("True"));
        store.setValue(QStringLiteral("Setup/Show Easy Menus"), QStringLiteral("True"));
        store.setValue(QStringLiteral("Setup/Keep Run History"),
                       keepHistory ? QStringLiteral("True") : QStringLiteral("False"));
        return file;
    }

    QTemporaryDir m_home;
    Preferences m_preferences;
};

} // namespace velmor::tools
