// The program as CreateProgram makes it, on a settings store in a folder of
// the test's own (never the tester's settings), shown offscreen.
#pragma once

#include "ui/shell/Preferences.h"
#include "ui/shell/ProgramStart.h"
#include "ui/shell/TfrmMain.h"

#include <QElapsedTimer>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <initializer_list>
#include <memory>
#include <utility>

namespace velmor::test {

using StoredValues = std::initializer_list<std::pair<const char*, const char*>>;

// A store with the program installed, not maximised.
inline constexpr StoredValues kInstalled = {{"Installed", "YES"}, {"Maximised", "False"}};

// A settings file in `dir` whose section "Setup" holds `values` (name, text).
inline QString WriteStore(const QTemporaryDir& dir,
                          const QList<std::pair<QString, QString>>& values)
{
    const QString file = dir.filePath(QStringLiteral("velmor.ini"));
    QSettings store(file, QSettings::IniFormat);
    for (const auto& [name, text] : values) {
        store.setValue(QStringLiteral("Setup/") + name, text);
    }
    return file;
}

struct ShellProgram {
    QTemporaryDir dir;
    QString storeFile;
    std::unique_ptr<Preferences> preferences;
    std::unique_ptr<VelmorState> state = std::make_unique<VelmorState>();
    std::unique_ptr<TfrmMain> main;

    explicit ShellProgram(StoredValues values = kInstalled, StartOptions options = {})
    {
        QList<std::pair<QString, QString>> texts;
        for (const auto& [name, text] : values) {
            texts.append({QLatin1String(name), QLatin1String(text)});
        }
        storeFile = WriteStore(dir, texts);
        start(options);
    }

    // Ends this run of the program and starts the next one on the same store.
    void restart(StartOptions options = {})
    {
        main.reset();
        preferences.reset();
        state = std::make_unique<VelmorState>();
        start(options);
    }

    TfrmMain& m() const { return *main; }

    // Waits in a real event loop until `done` holds.
    template <typename Done> bool waitFor(Done done, int ms = 3000)
    {
        QElapsedTimer clock;
        clock.start();
        while (!done() && clock.elapsed() < ms) {
            QTestEventLoop loop;
            loop.enterLoopMSecs(10);
        }
        return done();
    }

private:
    void start(StartOptions options)
    {
        preferences = std::make_unique<Preferences>(storeFile);
        main = CreateProgram(*state, *preferences, options);
        main->show();
    }
};

// Answers the next question box with `button` and keeps its text.
inline std::shared_ptr<QString> AnswerNextQuestion(QObject* guard,
                                                   QMessageBox::StandardButton button)
{
    auto text = std::make_shared<QString>();
    QTimer::singleShot(0, guard, [text, button] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            *text = box->text();
            box->button(button)->click();
        }
    });
    return text;
}

} // namespace velmor::test
