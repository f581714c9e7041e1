// The Manual operation window in the main window: opened from the Control
// menu, the toolbar and the pop-up menu, checked while open, released
// after MENU or its close box, and switched to and from a loop exercise.
#include "LanguageScope.h"
#include "ProgramFixture.h"

#include "ui/mimic/TfrmManual.h"
#include "ui/shell/Preferences.h"
#include "ui/shell/ProgramStart.h"
#include "ui/shell/TfrmMain.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include <memory>

using namespace velmor;
using velmor::test::Item;

namespace {

// The program with the easy menu stored on or off.
struct EasyMenuProgram : test::Program {
    explicit EasyMenuProgram(const char* easyMenu = "False")
        : test::Program(
              {{"Installed", "YES"}, {"Maximised", "False"}, {"Show Easy Menus", easyMenu}})
    {
    }
};

} // namespace

class ManualShellTest : public QObject {
    Q_OBJECT

private slots:
    void openedFromThreePlaces();
    void menuAndCloseBoxRelease();
    void switchingToFlowAndBack();
    void spanishWindow();
};

void ManualShellTest::openedFromThreePlaces()
{
    const std::function<void(TfrmMain&)> ways[] = {
        [](TfrmMain& m) { Item(m, "mnuControlOnOff")->trigger(); },
        [](TfrmMain& m) { Item<QToolButton>(m, "btnManual")->click(); },
        [](TfrmMain& m) { Item(m, "popOnOff")->trigger(); },
    };
    for (const auto& open : ways) {
        EasyMenuProgram p;
        TfrmMain& m = *p.main;
        QVERIFY(Item(m, "mnuControlOnOff")->isEnabled());
        QVERIFY(Item<QToolButton>(m, "btnManual")->isEnabled());
        QVERIFY(Item(m, "popOnOff")->isEnabled());
        open(m);
        TfrmManual* manual = m.manualWindow();
        QVERIFY(manual != nullptr);
        QVERIFY(manual->isVisible());
        QVERIFY(manual->UpdateTimer->isActive());
        QVERIFY(Item(m, "mnuControlOnOff")->isChecked());
        QCOMPARE(p.state->shell.currentForm, std::string("frmManual"));
        QVERIFY(!p.state->shell.trendsOpen);
        QCOMPARE(m.mdiArea()->subWindowList().size(), 1); // no Trends window
        QVERIFY(m.graphWindow() == nullptr);
        QCOMPARE(m.exerciseSubWindow()->windowTitle(), QStringLiteral("KLN Trainer"));
        QVERIFY(m.exerciseSubWindow()->windowFlags() & Qt::WindowSystemMenuHint);
        QVERIFY(m.exerciseSubWindow()->windowFlags() & Qt::WindowCloseButtonHint);
        QCOMPARE(m.exerciseSubWindow()->pos(), p.main->centre() - QPoint(388, 289));
        // Choosing it again does nothing.
        Item(m, "mnuControlOnOff")->trigger();
        Item<QToolButton>(m, "btnManual")->click();
        QVERIFY(!m.switching());
        QCOMPARE(m.manualWindow(), manual);
        QVERIFY(Item(m, "mnuControlOnOff")->isChecked());
        // The rig runs on the real clock.
        manual->Place(114);
        QVERIFY(p.waitFor([&] { return p.state->mimic.mimicLevel > 51; }));
        QCOMPARE(manual->FlowNum->text(), QStringLiteral("1.7"));
    }
}

void ManualShellTest::menuAndCloseBoxRelease()
{
    for (const bool byMenu : {true, false}) {
        EasyMenuProgram p("True");
        TfrmMain& m = *p.main;
        Item<QToolButton>(m, "btnManual")->click();
        QVERIFY(!p.state->shell.menuShown);
        QPointer<QMdiSubWindow> sub = m.exerciseSubWindow();
        TfrmManual* manual = m.manualWindow();
        if (byMenu) {
            manual->btnMenu->click();
        } else {
            sub->close();
        }
        QVERIFY(Item<QTimer>(m, "Timer")->isActive());
        QVERIFY(!Item(m, "mnuControlOnOff")->isChecked());
        QVERIFY(!manual->UpdateTimer->isActive());
        QVERIFY(sub != nullptr); // released later, by the timer
        QVERIFY(p.waitFor([&] { return sub == nullptr; }));
        QVERIFY(m.manualWindow() == nullptr);
        QCOMPARE(p.state->shell.currentForm, std::string("frmMain"));
        QVERIFY(!Item(m, "mnuFileNew")->isEnabled());
        // With the easy menu checked, the menu screen comes back, alone.
        QVERIFY(Item(m, "mnuPreferencesEasymenus")->isChecked());
        QVERIFY(p.state->shell.menuShown);
        QCOMPARE(m.mdiArea()->subWindowList(),
                 QList<QMdiSubWindow*>{qobject_cast<QMdiSubWindow*>(m.menuScreen())});
        // And it opens again.
        Item(m, "popOnOff")->trigger();
        QVERIFY(m.manualWindow() != nullptr);
        QVERIFY(Item(m, "mnuControlOnOff")->isChecked());
    }
}

void ManualShellTest::switchingToFlowAndBack()
{
    EasyMenuProgram p;
    TfrmMain& m = *p.main;
    Item(m, "mnuControlOnOff")->trigger();
    QPointer<QMdiSubWindow> mimic = m.exerciseSubWindow();
    Item(m, "mnuControlFlow")->trigger();
    QVERIFY(m.switching());
    QVERIFY(!Item(m, "mnuControlOnOff")->isChecked());
    QVERIFY(p.waitFor([&] { return mimic == nullptr; }));
    QVERIFY(p.waitFor([&] { return m.exerciseWindow() != nullptr; }));
    QVERIFY(Item(m, "mnuControlFlow")->isChecked());
    QCOMPARE(p.state->shell.currentForm, std::string("frmFlow"));
    QCOMPARE(m.mdiArea()->subWindowList().size(), 2);
    Item<QToolButton>(m, "btnManual")->click();
    QVERIFY(p.waitFor([&] { return m.manualWindow() != nullptr; }));
    QVERIFY(!Item(m, "mnuControlFlow")->isChecked());
    QVERIFY(Item(m, "mnuControlOnOff")->isChecked());
    QCOMPARE(m.mdiArea()->subWindowList().size(), 1);
    QCOMPARE(p.state->shell.currentForm, std::string("frmManual"));
    // Resizing the frame moves the mimic with the centre.
    const QPoint at = m.exerciseSubWindow()->pos();
    m.resize(m.size() + QSize(100, 40));
    QCOMPARE(m.exerciseSubWindow()->pos(), at + QPoint(50, 20));
}

void ManualShellTest::spanishWindow()
{
    EasyMenuProgram p;
    TfrmMain& m = *p.main;
    const LanguageScope inSpanish(p.state->shell, Language::Spanish);
    Item<QToolButton>(m, "btnManual")->click();
    QCOMPARE(m.exerciseSubWindow()->windowTitle(), QStringLiteral("Entrenador NLK"));
    QCOMPARE(m.manualWindow()->lblFlowDiverted->text(), QString::fromUtf8("DESVIACI\u00d3N FLUJO"));
    QCOMPARE(Item<QToolButton>(m, "btnManual")->toolTip(), QStringLiteral("Manual"));
}

VELMOR_TEST_MAIN(ManualShellTest, mimic)
#include "ManualShellTest.moc"
