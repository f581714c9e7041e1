// The main window: stored preferences, menus and hints, opening Flow with
// its Trends window, close requests and the delayed release, File > New,
// Exit, Help and the centre-keeping layout rule. (Switching between the
// exercises is SwitchingTest.)
#include "LanguageScope.h"
#include "ProgramFixture.h"
#include "core/exercises/ControllerSettings.h"
#include "core/exercises/Exercise.h"

#include "TrendControls.h"
#include "core/exercises/Waveform.h"
#include "ui/exercises/LoopWindow.h"
#include "ui/exercises/TfrmFlow.h"
#include "ui/shell/HelpViewer.h"
#include "ui/shell/Preferences.h"
#include "ui/shell/ProgramStart.h"
#include "ui/shell/TfrmCalculator.h"
#include "ui/shell/TfrmMain.h"
#include "ui/trends/TfrmGraph.h"

#include "ProgramFixture.h"
#include "WindowRun.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyleOptionTitleBar>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include <algorithm>
#include <chrono>
#include <map>
#include <memory>
#include <vector>

using namespace velmor;
using namespace velmor::test;

namespace {

// The easy menu is off unless a test stores it on, so that released windows
// leave the frame empty.

// The accelerator of a caption: the character after its "&" ("&&" is a
// plain "&"), or none.
QChar Accelerator(const QString& caption)
{
    for (qsizetype k = 0; k + 1 < caption.size(); ++k) {
        if (caption[k] == QLatin1Char('&')) {
            if (caption[k + 1] != QLatin1Char('&')) {
                return caption[k + 1];
            }
            ++k;
        }
    }
    return {};
}

// The key a reader takes an accelerator for: "Á" and "a" are both A.
QChar KeyOf(QChar accelerator)
{
    return QString(accelerator).normalized(QString::NormalizationForm_D).front().toUpper();
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void firstRunWritesDefaults();
    void readingRulesAreExact();
    void menusAndHints();
    void spanishMenusAndHints();
    void acceleratorsAreUniqueAndOpenTheMenus();
    void openingFlowCreatesTrendsFirst();
    void choosingFlowAgainDoesNothing();
    void closingTrendsReleasesBoth();
    void menuClosesAndReopens();
    void runDisablesMenus();
    void fileNewAsksFirst();
    void exitAsksAndEnds();
    void helpContents();
    void resizeKeepsChildrenCentred();
    void smallScreensShowEveryControl();
    void childWindowsHaveCloseBoxes();
    void keypadGoesWithItsExercise();
    void newDuringRunStopsAndResets();
    void keypadReachesTheOpenExercise();
    void keypadNamesWhatTheBoxTakes();
    void keypadKeepsFocusAfterOutOfRange();
    void runningFlowOnScreen();
};

void MainWindowTest::firstRunWritesDefaults()
{
    Program p({});
    QCOMPARE(p.preferences->text(QStringLiteral("Installed")), QStringLiteral("YES"));
    QCOMPARE(p.preferences->text(QStringLiteral("Show Easy Menus")), QStringLiteral("True"));
    QCOMPARE(p.preferences->text(QStringLiteral("Maximised")), QStringLiteral("True"));
    QCOMPARE(p.preferences->text(QStringLiteral("Toolbar")), QStringLiteral("False"));
    QVERIFY(p.main->windowState() & Qt::WindowMaximized);
    QVERIFY(p.state->shell.startMaximised);
    QVERIFY(!Item<QWidget>(*p.main, "pnlToolbar")->isVisible());
    QVERIFY(!Item(*p.main, "mnuPreferencesToolbar")->isChecked());
    QVERIFY(Item(*p.main, "mnuPreferencesEasymenus")->isChecked());
    QVERIFY(p.state->shell.showEasyMenu);
}

void MainWindowTest::readingRulesAreExact()
{
    {
        // Absent values read as their defaults.
        Program p({{"Installed", "YES"}});
        QVERIFY(p.state->shell.showEasyMenu);
        QVERIFY(!p.state->shell.startMaximised);
        QVERIFY(p.state->shell.showToolbar);
        QVERIFY(Item<QWidget>(*p.main, "pnlToolbar")->isVisible());
        QVERIFY(Item(*p.main, "mnuPreferencesToolbar")->isChecked());
    }
    {
        // Only "False" is off for Maximised; only "True" is on for the others.
        Program p({{"Installed", "YES"},
                   {"Maximised", "false"},
                   {"Toolbar", "true"},
                   {"Show Easy Menus", "TRUE"}});
        QVERIFY(p.state->shell.startMaximised);
        QVERIFY(!p.state->shell.showToolbar);
        QVERIFY(!Item<QWidget>(*p.main, "pnlToolbar")->isVisible());
        QVERIFY(!p.state->shell.showEasyMenu);
        QVERIFY(!Item(*p.main, "mnuPreferencesEasymenus")->isChecked());
    }
}

void MainWindowTest::menusAndHints()
{
    Program p(kNoEasyMenu);
    TfrmMain& m = *p.main;
    QCOMPARE(m.windowTitle(), QStringLiteral("VELMOR"));
    QCOMPARE(Item<QMenu>(m, "mnuFile")->title(), QStringLiteral("&File"));
    QCOMPARE(Item<QMenu>(m, "mnuPreferences")->title(), QStringLiteral("&Setup"));
    QCOMPARE(Item(m, "mnuControlFluidLevel")->text(), QStringLiteral("F&luid Level"));
    QCOMPARE(Item(m, "mnuHelpContents")->shortcut(), QKeySequence(Qt::Key_F1));
    QCOMPARE(Item(m, "popLoadTrend")->text(), QStringLiteral("Open Saved Trend..."));
    QVERIFY(!Item(m, "mnuFileNew")->isEnabled());
    QVERIFY(!Item(m, "mnuFileSave")->isEnabled());
    QVERIFY(!Item(m, "mnuFilePrint")->isEnabled());
    QVERIFY(Item(m, "mnuFileExit")->isEnabled());
    // Every exercise has its window: all are offered.
    for (QAction* item :
         {Item(m, "mnuControlOnOff"), Item(m, "mnuControlFlow"), Item(m, "mnuControlTemperature"),
          Item(m, "mnuControlBatchVolume"), Item(m, "mnuControlFluidLevel"),
          Item(m, "mnuControlOpenLoop"), Item(m, "popTemperature"), Item(m, "popOpenLoop")}) {
        QVERIFY(item->isEnabled());
    }
    QVERIFY(Item<QToolButton>(m, "btnTemperature")->isEnabled());
    QVERIFY(Item<QToolButton>(m, "btnBatchVolume")->isEnabled());
    QVERIFY(!Item<QToolButton>(m, "btnSave")->isEnabled());
    QVERIFY(!Item<QToolButton>(m, "btnPrint")->isEnabled());
    QCOMPARE(Item<QToolButton>(m, "btnFluidLevel")->toolTip(), QStringLiteral("Fluid Level"));
    QCOMPARE(Item<QToolButton>(m, "btnManual")->toolTip(), QStringLiteral("System Mimic"));
    QCOMPARE(Item<QToolButton>(m, "btnNew")->toolTip(), QStringLiteral("New..."));
    QCOMPARE(Item<QToolButton>(m, "btnHelp")->toolTip(), QStringLiteral("Help..."));
    QCOMPARE(Item<QToolButton>(m, "btnOpenLoop")->geometry(), QRect(294, 2, 24, 24));
    QCOMPARE(Item<QWidget>(m, "pnlToolbar")->height(), 28);
    QVERIFY(!p.state->shell.decimalComma); // the C locale writes 0.01
    QVERIFY(!p.state->shell.largeFonts);   // 96 dots per inch here
    QCOMPARE(p.state->shell.currentForm, std::string("frmMain"));
    QVERIFY(p.state->shell.appRunning);
    // The grey background's pop-up menu.
    QVERIFY(QTest::qWaitForWindowExposed(&m));
    QWidget* background = m.mdiArea()->viewport();
    QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(40, 40),
                            background->mapToGlobal(QPoint(40, 40)));
    QApplication::sendEvent(background, &click);
    QVERIFY(Item<QMenu>(m, "MainPopupMenu")->isVisible());
    Item<QMenu>(m, "MainPopupMenu")->hide();
    // The toolbar toggle inverts its visibility and check mark.
    const bool shown = Item<QWidget>(m, "pnlToolbar")->isVisible();
    Item(m, "mnuPreferencesToolbar")->trigger();
    QCOMPARE(Item<QWidget>(m, "pnlToolbar")->isVisible(), !shown);
    QCOMPARE(Item(m, "mnuPreferencesToolbar")->isChecked(), !shown);
    // For this run only: the stored choice stays.
    QCOMPARE(p.preferences->text(QStringLiteral("Toolbar")), QString());
}

void MainWindowTest::spanishMenusAndHints()
{
    Program p(kNoEasyMenu);
    TfrmMain& m = *p.main;
    const LanguageScope inSpanish(p.state->shell, Language::Spanish);
    QCOMPARE(m.windowTitle(), QStringLiteral("ROMLEV"));
    QCOMPARE(m.helpFile(), QStringLiteral("NLK.hlp"));
    QCOMPARE(Item(m, "mnuPreferencesOptions")->text(), QStringLiteral("&Preferencias..."));
    // Every hint from its own menu item, without the accelerator mark.
    const std::pair<QToolButton*, const char*> hints[] = {
        {Item<QToolButton>(m, "btnNew"), "Nuevo..."},
        {Item<QToolButton>(m, "btnOpenIt"), "Abrir..."},
        {Item<QToolButton>(m, "btnManual"), "Manual"},
        {Item<QToolButton>(m, "btnFlow"), "Flujo"},
        {Item<QToolButton>(m, "btnTemperature"), "Temperatura"},
        {Item<QToolButton>(m, "btnBatchVolume"), "Volumen del Lote"},
        {Item<QToolButton>(m, "btnFluidLevel"), "Nivel de Fluido"},
        {Item<QToolButton>(m, "btnOpenLoop"), "Circuito Abierto"},
        {Item<QToolButton>(m, "btnPreferences"), "Preferencias..."},
        {Item<QToolButton>(m, "btnSave"), "Guardar..."},
        {Item<QToolButton>(m, "btnPrint"), "Imprimir..."},
        {Item<QToolButton>(m, "btnHelp"), "Ayuda..."},
    };
    // ...and every button a picture of its own.
    std::vector<QImage> pictures;
    for (const auto& [button, hint] : hints) {
        QCOMPARE(button->toolTip(), QString::fromUtf8(hint));
        const QImage picture = button->icon().pixmap(button->iconSize()).toImage();
        QVERIFY2(!picture.isNull(), hint);
        QVERIFY2(std::find(pictures.begin(), pictures.end(), picture) == pictures.end(), hint);
        pictures.push_back(picture);
    }
    QCOMPARE(Item(m, "mnuFileSave")->text(), QStringLiteral("&Guardar..."));
    QCOMPARE(Item(m, "mnuFilePrint")->text(), QStringLiteral("&Imprimir..."));
    QCOMPARE(Item(m, "popOnOff")->text(), QStringLiteral("&Manual"));
    QCOMPARE(Item(m, "popPreferences")->text(), QStringLiteral("Preferencias..."));
    QCOMPARE(Item(m, "popLoadTrend")->text(), QStringLiteral("Cargar Tendencia Guardada..."));
    UseLanguage(p.state->shell, Language::English);
    QCOMPARE(Item(m, "mnuHelpAbout")->text(), QStringLiteral("About..."));
    QCOMPARE(Item(m, "popLoadTrend")->text(), QStringLiteral("Open Saved Trend..."));
}

void MainWindowTest::acceleratorsAreUniqueAndOpenTheMenus()
{
    Program p(kNoEasyMenu);
    TfrmMain& m = *p.main;
    QVERIFY(QTest::qWaitForWindowActive(&m));
    for (const bool spanish : {false, true}) {
        SetSpanish(m, *p.state, spanish);
        const QString language = spanish ? QStringLiteral("es: ") : QStringLiteral("en: ");
        // Within each menu, no two items answer to one key.
        for (const QList<QAction*>& items : MenuGroups(m)) {
            std::map<QChar, QString> taken;
            for (const QAction* item : items) {
                const QChar accelerator = Accelerator(item->text());
                if (item->isSeparator() || accelerator.isNull()) {
                    continue;
                }
                const auto [at, added] = taken.emplace(KeyOf(accelerator), item->text());
                QVERIFY2(added, qPrintable(language + at->second + QStringLiteral(" and ") +
                                           item->text()));
            }
        }
        // Every top menu has a letter of its own, and Alt with it opens it.
        for (QAction* title : m.menuBar()->actions()) {
            const QChar letter = Accelerator(title->text());
            QVERIFY2(letter.isLetter() && letter.unicode() < 128,
                     qPrintable(language + title->text()));
            QTest::keyClick(&m, static_cast<Qt::Key>(letter.toUpper().unicode()), Qt::AltModifier);
            QTRY_VERIFY2(title->menu()->isVisible(), qPrintable(language + title->text()));
            title->menu()->hide();
            QTRY_VERIFY(QApplication::activePopupWidget() == nullptr);
        }
    }
}

void MainWindowTest::openingFlowCreatesTrendsFirst()
{
    Program p(kNoEasyMenu);
    TfrmMain& m = *p.main;
    Item(m, "mnuControlFlow")->trigger();
    const QList<QMdiSubWindow*> windows = m.mdiArea()->subWindowList(QMdiArea::CreationOrder);
    QCOMPARE(windows.size(), 2);
    QVERIFY(qobject_cast<TfrmGraph*>(windows[0]->widget()) != nullptr);
    QVERIFY(qobject_cast<TfrmFlow*>(windows[1]->widget()) != nullptr);
    QVERIFY(Item(m, "mnuControlFlow")->isChecked());
    QVERIFY(Item(m, "mnuFileNew")->isEnabled());
    QCOMPARE(p.state->shell.currentForm, std::string("frmFlow"));
    QVERIFY(p.state->shell.trendsOpen);
    QVERIFY(p.state->trend.trendNoData);
    // The pair sits centred on the frame: Trends 231 pixels right of Flow.
    QCOMPARE(m.graphSubWindow()->x() - m.exerciseSubWindow()->x(), 231);
    QCOMPARE(m.exerciseSubWindow()->pos(), m.centre() - QPoint(388, 289));
    QCOMPARE(velmor::test::Edit(*m.graphWindow(), "txtStartTime")->cursor().shape(),
             Qt::BitmapCursor);
}

void MainWindowTest::choosingFlowAgainDoesNothing()
{
    Program p(kNoEasyMenu);
    TfrmMain& m = *p.main;
    Item<QToolButton>(m, "btnFlow")->click();
    QMdiSubWindow* flow = m.exerciseSubWindow();
    QMdiSubWindow* graph = m.graphSubWindow();
    Item(m, "mnuControlFlow")->trigger();
    Item(m, "popFlow")->trigger();
    Item<QToolButton>(m, "btnFlow")->click();
    QVERIFY(!m.switching());
    QVERIFY(Item(m, "mnuControlFlow")->isChecked());
    QCOMPARE(m.exerciseSubWindow(), flow);
    QCOMPARE(m.graphSubWindow(), graph);
    QCOMPARE(m.mdiArea()->subWindowList().size(), 2);
    QVERIFY(!Item<QTimer>(m, "Timer")->isActive()); // nothing is on its way out
}

void MainWindowTest::closingTrendsReleasesBoth()
{
    Program p(kNoEasyMenu);
    TfrmMain& m = *p.main;
    Item(m, "popFlow")->trigger();
    TfrmFlow* flow = p.flow();
    flow->btnStartClick();
    QVERIFY(p.state->run.runActive);
    QPointer<QMdiSubWindow> flowWindow = m.exerciseSubWindow();
    QPointer<QMdiSubWindow> graphWindow = m.graphSubWindow();
    auto* release = Item<QTimer>(m, "Timer");
    QVERIFY(release->isSingleShot());
    QCOMPARE(release->interval(), 500);
    QSignalSpy released(release, &QTimer::timeout);
    graphWindow->close();
    // The run stops at once; both windows stay until the release delay
    // has run out.
    QVERIFY(!p.state->run.runActive);
    QVERIFY(!p.state->shell.trendsOpen);
    QVERIFY(release->isActive());
    // The exercise's own close box meanwhile, and a click on the plot (which
    // cancels a read-out), neither lose nor repeat the release.
    flowWindow->close();
    m.graphWindow()->imgPanelMouseDown(Qt::LeftButton, 200, 200);
    QVERIFY(release->isActive());
    QVERIFY(flowWindow != nullptr && graphWindow != nullptr);
    QVERIFY(released.wait());
    QVERIFY(flowWindow == nullptr && graphWindow == nullptr);
    QVERIFY(!Item(m, "mnuControlFlow")->isChecked());
    QVERIFY(!Item(m, "mnuFileNew")->isEnabled());
    QCOMPARE(p.state->shell.currentForm, std::string("frmMain"));
    QVERIFY(m.mdiArea()->subWindowList().isEmpty());
    QVERIFY(Item<QMenu>(m, "mnuFile")->menuAction()->isEnabled());
    QCOMPARE(released.count(), 1);
    QVERIFY(!release->isActive());
}

void MainWindowTest::menuClosesAndReopens()
{
    // MENU closes Flow; choosing Flow again before the release goes
    // through the switching wait and opens a new pair.
    Program p(kNoEasyMenu);
    TfrmMain& m = *p.main;
    Item(m, "mnuControlFlow")->trigger();
    QPointer<QMdiSubWindow> oldFlow = m.exerciseSubWindow();
    auto* release = Item<QTimer>(m, "Timer");
    auto* wait = Item<QTimer>(m, "switchTimer");
    QVERIFY(wait->isSingleShot());
    QCOMPARE(wait->interval(), 750);
    QSignalSpy released(release, &QTimer::timeout);
    QSignalSpy waited(wait, &QTimer::timeout);
    p.flow()->btnMenu->click();
    QVERIFY(!Item(m, "mnuControlFlow")->isChecked());
    Item(m, "mnuControlFlow")->trigger();
    QVERIFY(m.switching());
    QVERIFY(!p.state->shell.menuAllowed);
    QVERIFY(released.wait());
    QVERIFY(oldFlow == nullptr);
    QVERIFY(m.switching());
    QVERIFY(m.exerciseWindow() == nullptr); // released, the new one not yet made
    QVERIFY(waited.wait());
    QVERIFY(m.exerciseWindow() != nullptr);
    QVERIFY(!m.switching());
    QVERIFY(p.state->shell.menuAllowed);
    QVERIFY(Item(m, "mnuControlFlow")->isChecked());
    QCOMPARE(m.mdiArea()->subWindowList().size(), 2);
    QVERIFY(!release->isActive());
    // The new pair closes as the first did: its request is not taken for
    // the one already served.
    m.graphSubWindow()->close();
    QVERIFY(release->isActive());
    QVERIFY(Item(m, "mnuFileNew")->isEnabled());
    QVERIFY(released.wait());
    QVERIFY(m.exerciseWindow() == nullptr);
    QVERIFY(!Item(m, "mnuControlFlow")->isChecked());
    QVERIFY(!Item(m, "mnuFileNew")->isEnabled()); // nothing open to clear

    // Two choices during one wait: the newer one opens.
    Item(m, "mnuControlFlow")->trigger();
    Item(m, "mnuControlFluidLevel")->trigger();
    QVERIFY(m.switching());
    m.Start(QStringLiteral("frmTemperature"), true);
    QVERIFY(waited.wait());
    QVERIFY(m.exerciseWindow() != nullptr);
    QCOMPARE(m.exerciseWindow()->exercise(), Exercise::Temperature);
}

void MainWindowTest::runDisablesMenus()
{
    Program p(kNoEasyMenu);
    TfrmMain& m = *p.main;
    Item(m, "mnuControlFlow")->trigger();
    p.flow()->btnStartClick();
    for (QMenu* menu : {Item<QMenu>(m, "mnuFile"), Item<QMenu>(m, "mnuControl"),
                        Item<QMenu>(m, "mnuPreferences"), Item<QMenu>(m, "mnuHelp")}) {
        QVERIFY(!menu->menuAction()->isEnabled());
    }
    p.flow()->btnStopClick();
    for (QMenu* menu : {Item<QMenu>(m, "mnuFile"), Item<QMenu>(m, "mnuControl"),
                        Item<QMenu>(m, "mnuPreferences"), Item<QMenu>(m, "mnuHelp")}) {
        QVERIFY(menu->menuAction()->isEnabled());
    }
}

void MainWindowTest::fileNewAsksFirst()
{
    Program p(kNoEasyMenu);
    TfrmMain& m = *p.main;
    Item(m, "mnuControlFlow")->trigger();
    TfrmFlow* flow = p.flow();
    flow->btnStartClick();
    flow->btnStopClick();
    p.state->flow.flowGain = 7;
    QVERIFY(p.state->run.sampleCount > 0);
    {
        // Enter keeps the work: No is the default.
        QObject guard;
        auto text = AnswerWithEnter(&guard);
        Item(m, "mnuFileNew")->trigger();
        QCOMPARE(*text, QStringLiteral("Are you sure?"));
    }
    QCOMPARE(p.state->flow.flowGain, 7.0f);
    QVERIFY(p.state->run.sampleCount > 0);
    {
        QObject guard;
        Answer(&guard, QMessageBox::Yes);
        Item<QToolButton>(m, "btnNew")->click();
    }
    QCOMPARE(p.state->flow.flowGain, 1.0f);
    QCOMPARE(p.state->run.sampleCount, 0);
    QCOMPARE(p.state->log.secondIndexFilled, 0);
}

void MainWindowTest::exitAsksAndEnds()
{
    Program p(kNoEasyMenu);
    TfrmMain& m = *p.main;
    QSignalSpy terminated(&m, &TfrmMain::terminateRequested);
    Item(m, "mnuControlFlow")->trigger();
    p.flow()->btnStartClick();
    {
        QObject guard;
        auto text = Answer(&guard, QMessageBox::No);
        m.close();
        QCOMPARE(*text, QStringLiteral("Close VELMOR?"));
    }
    QVERIFY(p.state->run.runActive);
    QVERIFY(!p.state->shell.closing);
    {
        QObject guard;
        Answer(&guard, QMessageBox::Yes);
        Item(m, "mnuFileExit")->trigger();
    }
    QVERIFY(p.state->shell.closing);
    QVERIFY(!p.state->shell.appRunning);
    QVERIFY(!p.state->run.runActive);
    auto* exit = Item<QTimer>(m, "exitTimer");
    QVERIFY(exit->isSingleShot());
    QCOMPARE(exit->interval(), 500);
    QVERIFY(exit->isActive());
    // The windows go only when the delay is over.
    QVERIFY(!m.mdiArea()->subWindowList().isEmpty());
    // A bound far beyond the 500 ms: it only ends a test that has failed.
    QVERIFY(terminated.wait(120000));
    QVERIFY(m.mdiArea()->subWindowList().isEmpty());
    // Released during exit, the windows asked for no release of their own.
    QVERIFY(!Item<QTimer>(m, "Timer")->isActive());
}

void MainWindowTest::helpContents()
{
    Program p(kNoEasyMenu);
    TfrmMain& m = *p.main;
    QVERIFY(QTest::qWaitForWindowExposed(&m));
    QTest::keyClick(&m, Qt::Key_F1);
    QVERIFY(m.helpViewer()->isVisible());
    QCOMPARE(m.helpViewer()->currentFile(), QStringLiteral("KLN.hlp"));
    QVERIFY(m.helpViewer()->windowTitle().contains(QStringLiteral("VELMOR")));
    m.helpViewer()->hide();
    // A run disables the Help menu and with it the F1 accelerator.
    m.setRunMenusEnabled(false);
    QTest::keyClick(&m, Qt::Key_F1);
    QVERIFY(!m.helpViewer()->isVisible());
    m.setRunMenusEnabled(true);
    const LanguageScope inSpanish(p.state->shell, Language::Spanish);
    Item<QToolButton>(m, "btnHelp")->click();
    QCOMPARE(m.helpViewer()->currentFile(), QStringLiteral("NLK.hlp"));
    QVERIFY(m.helpViewer()->windowTitle().contains(QStringLiteral("ROMLEV")));
}

void MainWindowTest::resizeKeepsChildrenCentred()
{
    Program p(kNoEasyMenu);
    TfrmMain& m = *p.main;
    QMdiArea* client = m.mdiArea();
    // At start-up (a maximised frame gets its size only after it is first
    // shown) the centre follows the client area.
    m.resize(m.width() + 100, m.height() + 40);
    QCOMPARE(m.centre(), QPoint(client->width() / 2, client->height() / 2));
    Item(m, "mnuControlFlow")->trigger();
    const QPoint flowAt = m.exerciseSubWindow()->pos();
    const QPoint graphAt = m.graphSubWindow()->pos();
    QCOMPARE(flowAt, m.centre() - QPoint(388, 289));
    // With an exercise open the pair keeps its offset from the centre.
    const QPoint oldCentre = m.centre();
    m.resize(m.size() + QSize(120, 60));
    QCOMPARE(m.centre(), QPoint(client->width() / 2, client->height() / 2));
    const QPoint shift = m.centre() - oldCentre;
    QCOMPARE(shift, QPoint(60, 30));
    QCOMPARE(m.exerciseSubWindow()->pos(), flowAt + shift);
    QCOMPARE(m.graphSubWindow()->pos(), graphAt + shift);
    // Once closed, a resize leaves the centre where it was last seen.
    p.flow()->btnMenu->click();
    QVERIFY(p.waitFor([&] { return m.exerciseWindow() == nullptr; }));
    const QPoint lastCentre = m.centre();
    m.resize(m.size() - QSize(200, 100));
    QCOMPARE(m.centre(), lastCentre);
}

void MainWindowTest::smallScreensShowEveryControl()
{
    // A maximised frame on an 800 x 600 screen, and one on 1024 x 768.
    for (const QSize frame : {QSize(800, 576), QSize(1024, 744), QSize(700, 500)}) {
        Program p(kNoEasyMenu);
        TfrmMain& m = *p.main;
        m.resize(frame);
        QVERIFY(QTest::qWaitForWindowExposed(&m));
        Item(m, "mnuControlFlow")->trigger();
        QMdiArea* area = m.mdiArea();
        const QRect client(QPoint(0, 0), area->contentsRect().size());
        const QRect flow = m.exerciseSubWindow()->frameGeometry();
        const QRect graph = m.graphSubWindow()->frameGeometry();
        // Side by side: Trends 231 pixels right of Flow, not over its edge.
        QCOMPARE(graph.left() - flow.left(), 231);
        QCOMPARE(flow.width(), 231);
        QVERIFY(flow.right() < graph.left());
        QCOMPARE(flow.top(), graph.top());
        QVERIFY2(flow.top() >= 0 && flow.left() >= 0, qPrintable(QString::number(flow.top())));
        if (client.contains(flow | graph)) {
            continue;
        }
        // Too small for both (700 x 500): the rest is reached by scrolling.
        QVERIFY(frame.height() < 576);
        QTRY_VERIFY(area->verticalScrollBar()->isVisible());
        area->verticalScrollBar()->setValue(area->verticalScrollBar()->maximum());
        area->horizontalScrollBar()->setValue(area->horizontalScrollBar()->maximum());
        QTRY_VERIFY(m.exerciseSubWindow()->frameGeometry().bottom() < area->viewport()->height());
        QVERIFY(m.graphSubWindow()->frameGeometry().right() < area->viewport()->width());
    }

    // Shifted back to the last pixel: a pair one pixel past the client area
    // moves by that pixel, one that fits stays.
    Program p(kNoEasyMenu);
    TfrmMain& m = *p.main;
    m.resize(1024, 744);
    QVERIFY(QTest::qWaitForWindowExposed(&m));
    Item(m, "mnuControlFlow")->trigger();
    QMdiSubWindow* flow = m.exerciseSubWindow();
    QMdiSubWindow* graph = m.graphSubWindow();
    const QSize client = m.mdiArea()->contentsRect().size();
    const auto placeEnds = [&](int right, int bottom) {
        const QRect both = flow->frameGeometry() | graph->frameGeometry();
        const QPoint by(right - both.right(), bottom - both.bottom());
        flow->move(flow->pos() + by);
        graph->move(graph->pos() + by);
        m.keepInSight({flow, graph});
        return (flow->frameGeometry() | graph->frameGeometry()).bottomRight();
    };
    const QPoint last(client.width() - 1, client.height() - 1);
    QCOMPARE(placeEnds(client.width(), client.height()), last);
    QCOMPARE(placeEnds(last.x(), last.y()), last);
    QCOMPARE(placeEnds(last.x() - 5, last.y() - 5), last - QPoint(5, 5));
}

void MainWindowTest::childWindowsHaveCloseBoxes()
{
    Program p(kNoEasyMenu);
    TfrmMain& m = *p.main;
    QVERIFY(QTest::qWaitForWindowExposed(&m));
    for (bool trends : {false, true}) {
        Item(m, "mnuControlFlow")->trigger();
        QVERIFY(p.waitFor([&] { return m.exerciseWindow() != nullptr; }));
        QMdiSubWindow* sub = trends ? m.graphSubWindow() : m.exerciseSubWindow();
        QVERIFY(sub->windowFlags() & Qt::WindowSystemMenuHint);
        QVERIFY(sub->windowFlags() & Qt::WindowCloseButtonHint);
        QVERIFY(!(sub->windowFlags() & Qt::WindowMinimizeButtonHint));
        // The close box in the title bar, where the style draws it.
        QStyleOptionTitleBar option;
        option.initFrom(sub);
        option.rect = QRect(0, 0, sub->width(),
                            sub->style()->pixelMetric(QStyle::PM_TitleBarHeight, &option, sub));
        option.titleBarFlags = sub->windowFlags();
        option.subControls = QStyle::SC_All;
        const QRect box = sub->style()->subControlRect(QStyle::CC_TitleBar, &option,
                                                       QStyle::SC_TitleBarCloseButton, sub);
        QVERIFY(box.isValid());
        // The pointer comes to the box first, as a hand does.
        QTest::mouseMove(sub, box.center());
        QTest::mouseClick(sub, Qt::LeftButton, {}, box.center());
        QVERIFY(Item<QTimer>(m, "Timer")->isActive());
        QVERIFY(p.waitFor([&] { return m.exerciseWindow() == nullptr; }));
        QVERIFY(!Item(m, "mnuControlFlow")->isChecked());
        QVERIFY(m.mdiArea()->subWindowList().isEmpty());
    }
    // Ctrl+F4 closes the active child window the same way.
    Item(m, "mnuControlFlow")->trigger();
    QVERIFY(p.waitFor([&] { return m.exerciseWindow() != nullptr; }));
    m.mdiArea()->setActiveSubWindow(m.graphSubWindow());
    QTest::keySequence(m.graphSubWindow(), QKeySequence(Qt::CTRL | Qt::Key_F4));
    QVERIFY(Item<QTimer>(m, "Timer")->isActive());
    QVERIFY(p.waitFor([&] { return m.exerciseWindow() == nullptr; }));
}

void MainWindowTest::keypadGoesWithItsExercise()
{
    Program p(kNoEasyMenu);
    TfrmMain& m = *p.main;
    for (int way = 0; way < 3; ++way) {
        Item(m, "mnuControlFlow")->trigger();
        QVERIFY(p.waitFor([&] { return m.exerciseWindow() != nullptr; }));
        QTest::mouseClick(p.flow()->controller()->imgPG, Qt::LeftButton);
        QVERIFY(m.keypad()->isVisible());
        if (way == 0) {
            p.flow()->btnMenu->click();
        } else if (way == 1) {
            m.graphSubWindow()->close();
        } else {
            m.exerciseSubWindow()->close();
        }
        QVERIFY(!m.keypad()->isVisible());
        QVERIFY(!p.state->keypad.suppressWaveformClick);
        QVERIFY(p.waitFor([&] { return m.exerciseWindow() == nullptr; }));
    }
}

void MainWindowTest::newDuringRunStopsAndResets()
{
    Program p(kNoEasyMenu);
    TfrmMain& m = *p.main;
    Item(m, "mnuControlFlow")->trigger();
    TfrmFlow* flow = p.flow();
    flow->controller()->chkI->click();
    QCOMPARE(p.state->flow.flowIntegralOn, 0);
    flow->driver()->setInterval(std::chrono::milliseconds(5));
    flow->btnStartClick();
    QVERIFY(p.waitFor([&] { return p.state->run.sampleCount >= 40; }));
    {
        QObject guard;
        Answer(&guard, QMessageBox::Yes);
        Item<QToolButton>(m, "btnNew")->click();
    }
    // The run is over, as after STOP, and everything is back at its defaults.
    QVERIFY(!flow->driver()->running());
    QVERIFY(!p.state->run.runActive);
    QVERIFY(flow->btnStart->isEnabled());
    QVERIFY(!flow->btnStop->isEnabled());
    QVERIFY(Item<QMenu>(m, "mnuFile")->menuAction()->isEnabled());
    QCOMPARE(p.state->flow.lightState, 2);
    QCOMPARE(p.state->run.sampleCount, 0);
    QCOMPARE(p.state->flow.flowIntegralOn, 1);
    QVERIFY(flow->controller()->chkI->isChecked());
    QVERIFY(flow->controller()->chkD->isChecked());
    // No trace is left on the plot and none comes back; the settings box
    // is blank.
    const TfrmGraph* graph = m.graphWindow();
    const auto noTrace = [graph] {
        for (int y = 48; y < 358; ++y) {
            for (int x = 39; x < 488; ++x) {
                const QRgb c = graph->panel().pixel(x, y) & 0xFFFFFF;
                if (c == 0xFFFF00 || c == 0x00FFFF) {
                    return false;
                }
            }
        }
        return true;
    };
    QVERIFY(noTrace());
    // Were a cycle still due, its timer would fire before one started now
    // for a whole pace: timers of the same kind fire in deadline order.
    QSignalSpy cycles(flow->driver(), &RunDriver::cycled);
    QTimer pace;
    pace.setSingleShot(true);
    pace.setTimerType(Qt::PreciseTimer);
    QSignalSpy paced(&pace, &QTimer::timeout);
    pace.start(flow->driver()->interval());
    QVERIFY(paced.wait());
    QCOMPARE(cycles.count(), 0);
    QVERIFY(noTrace());
    for (int y = 433; y < 489; ++y) {
        for (int x = 481; x < 517; ++x) {
            QCOMPARE(graph->panel().pixel(x, y) & 0xFFFFFF, QColor(192, 192, 192).rgb() & 0xFFFFFF);
        }
    }
}

void MainWindowTest::keypadReachesTheOpenExercise()
{
    Program p(kNoEasyMenu);
    TfrmMain& m = *p.main;
    Item(m, "mnuControlFlow")->trigger();
    TfrmFlow* flow = p.flow();
    QTest::mouseClick(flow->controller()->imgPG, Qt::LeftButton);
    TfrmCalculator* keypad = m.keypad();
    QVERIFY(keypad->isVisible());
    QVERIFY(p.state->keypad.suppressWaveformClick);
    QTest::keyClicks(keypad->txtValue, QStringLiteral("4"));
    keypad->btnOK->click();
    QVERIFY(!keypad->isVisible());
    QCOMPARE(p.state->flow.flowGain, 4.0f);
    QCOMPARE(p.state->flow.flowBand, 25.0f);
    QVERIFY(!p.state->keypad.suppressWaveformClick);
}

void MainWindowTest::keypadNamesWhatTheBoxTakes()
{
    // A decimal mark alone, typed into the keypad of a box that takes
    // decimals and of one that keeps whole percents.
    Program p(kNoEasyMenu);
    TfrmMain& m = *p.main;
    const struct {
        QAction* exercise;
        int code;
        const char* message;
    } boxes[] = {
        {Item(m, "mnuControlFlow"), kCodePG, "'.' is not a valid floating point value"},
        {Item(m, "mnuControlFluidLevel"), kCodeSetPoint, "'.' is not a valid integer value"},
        {Item(m, "mnuControlTemperature"), kCodeInitialValue,
         "'.' is not a valid floating point value"},
    };
    for (const auto& box : boxes) {
        box.exercise->trigger();
        QVERIFY(p.waitFor([&] { return box.exercise->isChecked() && !m.switching(); }));
        auto* window = dynamic_cast<LoopWindow*>(m.exerciseWindow());
        QVERIFY(window != nullptr);
        window->imgPGClick(box.code);
        TfrmCalculator* keypad = m.keypad();
        QVERIFY(keypad->isVisible());
        QTest::keyClicks(keypad->txtValue, QStringLiteral("."));
        QObject guard;
        auto text = Answer(&guard, QMessageBox::Ok);
        keypad->btnOK->click();
        QCOMPARE(*text, QString::fromUtf8(box.message));
        keypad->btnCancel->click();
    }
}

void MainWindowTest::keypadKeepsFocusAfterOutOfRange()
{
    Program p(kNoEasyMenu);
    TfrmMain& m = *p.main;
    QVERIFY(QTest::qWaitForWindowExposed(&m));
    Item(m, "mnuControlFlow")->trigger();
    QTest::mouseClick(p.flow()->controller()->imgPG, Qt::LeftButton);
    TfrmCalculator* keypad = m.keypad();
    QVERIFY(QTest::qWaitForWindowActive(keypad));
    QTest::keyClicks(keypad->txtValue, QStringLiteral("1000"));
    int boxWidth = 0;
    QString text;
    {
        QObject guard;
        QTimer::singleShot(0, &guard, [&boxWidth, &text] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                boxWidth = box->width();
                text = box->text();
                box->accept();
            }
        });
        // Clicked with the mouse, as a student does: the button takes the focus.
        QTest::mouseClick(keypad->btnOK, Qt::LeftButton);
    }
    QCOMPARE(text, QStringLiteral("Out of Range"));
    // Wide enough for its title ("New value") beside the title bar's buttons.
    QVERIFY2(boxWidth >= keypad->fontMetrics().horizontalAdvance(keypad->windowTitle()) + 120,
             qPrintable(QString::number(boxWidth)));
    // The keypad is open and empty, and what is typed next goes into it.
    QVERIFY(keypad->isVisible());
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(keypad->txtValue));
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("7"));
    QCOMPARE(keypad->txtValue->text(), QStringLiteral("7"));
    keypad->btnOK->click();
    QCOMPARE(p.state->flow.flowGain, 7.0f);
}

void MainWindowTest::runningFlowOnScreen()
{
    // The whole frame with Flow running on a Sine: traces on the plot, the
    // green light, the gauges. VELMOR_SHOT_DIR keeps a picture of it.
    Program p({{"Installed", "YES"}, {"Maximised", "False"}, {"Toolbar", "True"}});
    TfrmMain& m = *p.main;
    QVERIFY(QTest::qWaitForWindowExposed(&m));
    Item<QToolButton>(m, "btnFlow")->click();
    TfrmFlow* flow = p.flow();
    flow->waveform()->chkSine->click();
    p.state->flow.waveParams.setC(kSine, 20);
    flow->waveform()->DrawSetpointValues();
    flow->driver()->setInterval(std::chrono::milliseconds(2));
    flow->btnStartClick();
    QVERIFY(p.waitFor([&] { return p.state->run.sampleCount >= 450; }));
    const QImage frame = m.grab().toImage();
    if (const QByteArray dir = qgetenv("VELMOR_SHOT_DIR"); !dir.isEmpty()) {
        frame.save(QString::fromLocal8Bit(dir) + QStringLiteral("/flow-running.png"));
        QTest::mouseClick(flow->controller()->imgI, Qt::LeftButton);
        QTest::keyClicks(m.keypad()->txtValue, QStringLiteral("2.5"));
        m.keypad()->grab().save(QString::fromLocal8Bit(dir) + QStringLiteral("/keypad.png"));
        m.keypad()->btnCancel->click();
    }
    flow->btnStopClick();
    QCOMPARE(p.state->flow.lightState, 2);
    // Yellow set point and aqua flow traces are on the Trends panel.
    const QImage& plot = m.graphWindow()->panel();
    int yellow = 0;
    int aqua = 0;
    for (int y = 47; y < 358; ++y) {
        for (int x = 39; x < 488; ++x) {
            const QRgb c = plot.pixel(x, y) & 0xFFFFFF;
            yellow += c == 0xFFFF00;
            aqua += c == 0x00FFFF;
        }
    }
    QVERIFY(yellow > 100);
    QVERIFY(aqua > 100);
}

VELMOR_TEST_MAIN(MainWindowTest, shell)
#include "MainWindowTest.moc"
