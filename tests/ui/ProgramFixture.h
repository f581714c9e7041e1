// The desktop program as CreateProgram makes it, for the window tests: its
// stored preferences in a folder of the test's own, a real event loop to
// wait in, and message boxes answered as they come up.
#pragma once

#include "ui/exercises/TfrmFlow.h"
#include "ui/shell/Preferences.h"
#include "ui/shell/ProgramStart.h"
#include "ui/shell/TfrmMain.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTestEventLoop>
#include <QTimer>

#include <memory>
#include <utility>

namespace velmor::test {

struct Program {
    QTemporaryDir dir;
    std::unique_ptr<Preferences> preferences;
    std::unique_ptr<VelmorState> state = std::make_unique<VelmorState>();
    std::unique_ptr<TfrmMain> main;

    // A store holding `values` (name, text); none at all for a first run.
    explicit Program(std::initializer_list<std::pair<const char*, const char*>> values = {
                         {"Installed", "YES"}, {"Maximised", "False"}})
    {
        const QString file = dir.filePath(QStringLiteral("velmor.ini"));
        {
            QSettings store(file, QSettings::IniFormat);
            for (const auto& [name, text] : values) {
                store.setValue(QStringLiteral("Setup/") + QLatin1String(name), QLatin1String(text));
            }
        }
        preferences = std::make_unique<Preferences>(file);
        main = CreateProgram(*state, *preferences);
        main->show();
    }

    TfrmFlow* flow() const { return dynamic_cast<TfrmFlow*>(main->exerciseWindow()); }

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
};

// Answers the next question box with `button`, keeping its text.
inline std::shared_ptr<QString> Answer(QObject* guard, QMessageBox::StandardButton button)
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

// Answers the first message box that comes up later (after an exercise
// switch, say) with `button`, keeping its text.
inline std::shared_ptr<QString> AnswerWhenShown(QObject* guard, QMessageBox::StandardButton button)
{
    auto text = std::make_shared<QString>();
    auto* poll = new QTimer(guard);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, text, button] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            *text = box->text();
            poll->deleteLater();
            box->button(button)->click();
        }
    });
    poll->start(10);
    return text;
}

} // namespace velmor::test
