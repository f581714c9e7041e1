// The desktop program as CreateProgram makes it, for the window tests: its
// stored preferences in a folder of the test's own (never the tester's), a
// real event loop to wait in, and message boxes answered as they come up.
#pragma once

#include "LanguageScope.h"
#include "MainItems.h"

#include "ui/exercises/TfrmFlow.h"
#include "ui/shell/Preferences.h"
#include "ui/shell/ProgramStart.h"
#include "ui/shell/TfrmMain.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
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

// The same without the easy menu, so that the main window shows at once.
inline constexpr StoredValues kNoEasyMenu = {
    {"Installed", "YES"}, {"Maximised", "False"}, {"Show Easy Menus", "False"}};

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

struct Program {
    QTemporaryDir dir;
    QString storeFile;
    std::unique_ptr<Preferences> preferences;
    std::unique_ptr<VelmorState> state = std::make_unique<VelmorState>();
    std::unique_ptr<TfrmMain> main;

    // A store holding `values`; none at all for a first run.
    explicit Program(StoredValues values = kInstalled, StartOptions options = {})
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
    TfrmFlow* flow() const { return dynamic_cast<TfrmFlow*>(main->exerciseWindow()); }

    // Waits in a real event loop until `done` holds. The bound only ends a
    // test that has already failed: it is far beyond any delay of the
    // program, so that a loaded machine cannot make a test fail.
    template <typename Done> bool waitFor(Done done)
    {
        constexpr qint64 kPatienceMs = 120000;
        QElapsedTimer clock;
        clock.start();
        while (!done() && clock.elapsed() < kPatienceMs) {
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

// The items of every menu of the main window, one list per menu: the menu
// bar's titles, each menu and submenu, and the pop-up menu.
inline QList<QList<QAction*>> MenuGroups(const TfrmMain& m)
{
    QList<QList<QAction*>> groups{m.menuBar()->actions()};
    QList<QMenu*> menus{Item<QMenu>(m, "MainPopupMenu")};
    for (QAction* title : m.menuBar()->actions()) {
        menus << title->menu();
    }
    while (!menus.isEmpty()) {
        QMenu* menu = menus.takeFirst();
        if (menu == nullptr) {
            continue;
        }
        groups << menu->actions();
        for (QAction* item : menu->actions()) {
            menus << item->menu();
        }
    }
    return groups;
}

// Switches the shell's language flags and the main window's texts.
inline void SetSpanish(TfrmMain& m, VelmorState& state, bool spanish)
{
    (void)m; // the main window retranslates itself on the switch
    UseLanguage(state.shell, spanish ? Language::Spanish : Language::English);
}

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

// Answers the next question box with the Enter key: its default button.
inline std::shared_ptr<QString> AnswerWithEnter(QObject* guard)
{
    auto text = std::make_shared<QString>();
    QTimer::singleShot(0, guard, [text] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            *text = box->text();
            QTest::keyClick(box, Qt::Key_Return);
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

// A simulation file of the golden runs the tests carry.
inline QString Golden(const char* name)
{
    return QStringLiteral(VELMOR_TEST_DATA "/golden/") + QLatin1String(name);
}

// Picks `path` in the next file dialog that comes up and accepts it.
inline void ChooseInDialog(QObject* guard, const QString& path)
{
    auto* poll = new QTimer(guard);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, path] {
        if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
            poll->deleteLater();
            // Typed into the name box, as a user would.
            dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(path);
            QMetaObject::invokeMethod(dialog, "accept");
        }
    });
    poll->start(10);
}

} // namespace velmor::test
