// The stored preferences and the preferences window: the reading rule of
// every value, what OK stores and what it applies at once or at the next
// start, Cancel, the language preview, and the language reaching every
// window that is open.
#include "ProgramFixture.h"

#include "ui/exercises/ControllerPanel.h"
#include "ui/mimic/TfrmManual.h"
#include "ui/shell/FileCommands.h"
#include "ui/shell/TfrmAbout.h"
#include "ui/shell/TfrmCalculator.h"
#include "ui/shell/TfrmMenu.h"
#include "ui/shell/TfrmPrefs.h"
#include "ui/trends/TfrmGraph.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMessageBox>
#include <QRadioButton>
#include <QToolButton>

using namespace velmor;
using velmor::test::Answer;
using velmor::test::Item;
using velmor::test::Program;

namespace {

// Opens the preferences window as the Setup menu does and waits for its
// first tick, which fills in the choices in force.
TfrmPrefs* OpenPreferences(Program& p)
{
    Item(p.m(), "mnuPreferencesOptions")->trigger();
    TfrmPrefs* prefs = p.m().preferencesWindow();
    if (!p.waitFor([prefs] { return prefs->isVisible() && !prefs->TripTimer->isActive(); })) {
        return nullptr;
    }
    return prefs;
}

QString Spanish(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

} // namespace

class PreferencesTest : public QObject {
    Q_OBJECT

private slots:
    void readingRules_data();
    void readingRules();
    void firstRun_data();
    void firstRun();

    void windowShowsTheChoicesInForce();
    void spanishAndOkSwitchesEveryOpenWindow();
    void spanishReachesTheMimicAndTheMenuScreen();
    void spanishThenCancelChangesNothing();
    void spanishQuestionsAndWarnings();
    void previewTouchesOnlyThisWindow();
    void restoringKeepsTheChoicesBeingMade();
    void toolbarChoiceWaitsForTheNextStart();
    void maximisedChoiceWaitsForTheNextStart();
    void easyMenuChoiceActsAtOnce();
};

void PreferencesTest::readingRules_data()
{
    QTest::addColumn<QString>("stored"); // "<absent>" for no value at all
    QTest::addColumn<bool>("easyMenu");
    QTest::addColumn<bool>("maximised");
    QTest::addColumn<bool>("toolbar");
    // Only "True" turns the easy menu and the toolbar on (absent reads as
    // "True"); only "False" turns the maximised start off (absent reads
    // as "False").
    QTest::newRow("absent") << QStringLiteral("<absent>") << true << false << true;
    QTest::newRow("True") << QStringLiteral("True") << true << true << true;
    QTest::newRow("true") << QStringLiteral("true") << false << true << false;
    QTest::newRow("False") << QStringLiteral("False") << false << false << false;
    QTest::newRow("false") << QStringLiteral("false") << false << true << false;
    QTest::newRow("garbage") << QStringLiteral("1x%") << false << true << false;
    QTest::newRow("empty") << QString() << false << true << false;
}

void PreferencesTest::readingRules()
{
    QFETCH(QString, stored);
    QFETCH(bool, easyMenu);
    QFETCH(bool, maximised);
    QFETCH(bool, toolbar);
    QTemporaryDir dir;
    QList<std::pair<QString, QString>> values{{QStringLiteral("Installed"), QStringLiteral("YES")}};
    if (stored != QLatin1String("<absent>")) {
        for (const char* name : {"Show Easy Menus", "Maximised", "Toolbar"}) {
            values.append({QLatin1String(name), stored});
        }
    }
    Preferences preferences(test::WriteStore(dir, values));
    QVERIFY(!preferences.firstRun());
    QCOMPARE(preferences.showEasyMenus(), easyMenu);
    QCOMPARE(preferences.maximised(), maximised);
    QCOMPARE(preferences.toolbar(), toolbar);

    // The main window takes them as read.
    VelmorState state;
    TfrmMain main(state, preferences);
    QCOMPARE(state.shell.showEasyMenu, easyMenu);
    QCOMPARE(Item(main, "mnuPreferencesEasymenus")->isChecked(), easyMenu);
    QCOMPARE(state.shell.startMaximised, maximised);
    QCOMPARE(bool(main.windowState() & Qt::WindowMaximized), maximised);
    QCOMPARE(state.shell.showToolbar, toolbar);
    QCOMPARE(Item(main, "mnuPreferencesToolbar")->isChecked(), toolbar);
    QCOMPARE(Item<QWidget>(main, "pnlToolbar")->isVisibleTo(&main), toolbar);
}

void PreferencesTest::firstRun_data()
{
    QTest::addColumn<QString>("installed");
    QTest::addColumn<bool>("first");
    QTest::newRow("absent") << QStringLiteral("<absent>") << true;
    QTest::newRow("NO") << QStringLiteral("NO") << true;
    QTest::newRow("YES") << QStringLiteral("YES") << false;
    QTest::newRow("yes") << QStringLiteral("yes") << false;
    QTest::newRow("garbage") << QStringLiteral("maybe") << false;
}

void PreferencesTest::firstRun()
{
    QFETCH(QString, installed);
    QFETCH(bool, first);
    QTemporaryDir dir;
    QList<std::pair<QString, QString>> values{{QStringLiteral("Toolbar"), QStringLiteral("True")}};
    if (installed != QLatin1String("<absent>")) {
        values.append({QStringLiteral("Installed"), installed});
    }
    Preferences preferences(test::WriteStore(dir, values));
    QCOMPARE(preferences.firstRun(), first);
    VelmorState state;
    TfrmMain main(state, preferences);
    // A first run writes the defaults over what was there.
    QCOMPARE(preferences.text(QStringLiteral("Installed")),
             first ? QStringLiteral("YES") : installed);
    QCOMPARE(preferences.text(QStringLiteral("Toolbar")),
             first ? QStringLiteral("False") : QStringLiteral("True"));
    QCOMPARE(state.shell.showToolbar, !first);
}

void PreferencesTest::windowShowsTheChoicesInForce()
{
    Program p({{"Installed", "YES"},
               {"Maximised", "True"},
               {"Toolbar", "False"},
               {"Show Easy Menus", "True"}});
    TfrmMain& m = p.m();
    QVERIFY(Item(m, "mnuPreferencesOptions")->isEnabled());
    QVERIFY(Item(m, "popPreferences")->isEnabled());
    QVERIFY(Item<QToolButton>(m, "btnPreferences")->isEnabled());
    TfrmPrefs* prefs = OpenPreferences(p);
    QVERIFY(prefs != nullptr);
    // On top, with a close box only, and of one size.
    QVERIFY(prefs->windowFlags() & Qt::WindowStaysOnTopHint);
    QVERIFY(prefs->windowFlags() & Qt::WindowCloseButtonHint);
    QVERIFY(!(prefs->windowFlags() & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(prefs->windowFlags() & Qt::WindowMaximizeButtonHint));
    QCOMPARE(prefs->minimumSize(), prefs->maximumSize());
    QVERIFY(prefs->chkMaximised->isChecked());
    QVERIFY(!prefs->chkShowToolbar->isChecked());
    QVERIFY(prefs->chkMenuShow->isChecked());
    QVERIFY(prefs->chkEnglish->isChecked());
    QVERIFY(!prefs->chkSpanish->isChecked());
    for (QRadioButton* other : {prefs->chkFrench, prefs->chkItalian, prefs->chkGerman}) {
        QVERIFY(!other->isEnabled());
        QVERIFY(!other->isChecked());
    }
    QCOMPARE(prefs->windowTitle(), QStringLiteral("Preferences"));
    QCOMPARE(prefs->grpProgramInterface->title(), QStringLiteral("Program Interface"));
    QCOMPARE(prefs->chkShowToolbar->text(), QStringLiteral("Show Toolbar as default"));
    QCOMPARE(prefs->btnOK->text(), QStringLiteral("OK"));
    // The client area: 10 pixels right of the language group and below OK.
    QCOMPARE(prefs->width(), prefs->grpLanguage->geometry().right() + 1 + 10);
    QCOMPARE(prefs->height(), prefs->btnOK->geometry().bottom() + 1 + 10);
    // The toolbar button and the pop-up item open it as well.
    prefs->btnCancel->click();
    QVERIFY(!prefs->isVisible());
    Item<QToolButton>(m, "btnPreferences")->click();
    QVERIFY(prefs->isVisible());
    prefs->close();
    QVERIFY(!prefs->isVisible());
    Item(m, "popPreferences")->trigger();
    QVERIFY(prefs->isVisible());
}

void PreferencesTest::spanishAndOkSwitchesEveryOpenWindow()
{
    Program p;
    TfrmMain& m = p.m();
    Item(m, "mnuControlFlow")->trigger();
    m.showKeypad();
    TfrmPrefs* prefs = OpenPreferences(p);
    QTest::mouseClick(prefs->chkSpanish, Qt::LeftButton);
    prefs->btnOK->click();
    QVERIFY(!prefs->isVisible());
    QVERIFY(prefs->languageChanged());
    QCOMPARE(p.state->shell.language, Language::Spanish);
    // Everything open speaks Spanish at once.
    QCOMPARE(m.windowTitle(), QStringLiteral("ROMLEV"));
    QCOMPARE(Item<QMenu>(m, "mnuFile")->title(), QStringLiteral("&Fichero"));
    QCOMPARE(Item<QToolButton>(m, "btnHelp")->toolTip(), QStringLiteral("Ayuda..."));
    QCOMPARE(Item<QToolButton>(m, "btnPreferences")->toolTip(), QStringLiteral("Preferencias..."));
    QCOMPARE(m.helpFile(), QStringLiteral("NLK.hlp"));
    QCOMPARE(m.keypad()->windowTitle(), QStringLiteral("Nuevo valor"));
    QCOMPARE(m.aboutBox()->windowTitle(), QStringLiteral("Sobre"));
    QCOMPARE(m.exerciseWindow()->asWidget()->windowTitle(), Spanish("Simulaci\u00f3n del Flujo"));
    QCOMPARE(m.graphWindow()->windowTitle(), QStringLiteral("Tendencias del Flujo"));
    // Nothing about the language is stored: the next start is English.
    for (const char* name : {"Installed", "Show Easy Menus", "Maximised", "Toolbar"}) {
        QVERIFY(!p.preferences->text(QLatin1String(name)).isEmpty());
    }
    QCOMPARE(p.preferences->text(QStringLiteral("Installed")), QStringLiteral("YES"));
    p.restart();
    QCOMPARE(p.state->shell.language, Language::English);
    QCOMPARE(p.m().windowTitle(), QStringLiteral("VELMOR"));
    QCOMPARE(p.m().aboutBox()->windowTitle(), QStringLiteral("About"));
    // And the window offers English again.
    QVERIFY(OpenPreferences(p)->chkEnglish->isChecked());
}

void PreferencesTest::spanishReachesTheMimicAndTheMenuScreen()
{
    {
        Program p;
        Item(p.m(), "mnuControlOnOff")->trigger();
        TfrmPrefs* prefs = OpenPreferences(p);
        prefs->chkSpanish->click();
        prefs->btnOK->click();
        QCOMPARE(p.m().manualWindow()->windowTitle(), QStringLiteral("Entrenador NLK"));
    }
    {
        Program p({{"Installed", "YES"}, {"Maximised", "False"}, {"Show Easy Menus", "True"}});
        p.m().ShowMenu();
        TfrmPrefs* prefs = OpenPreferences(p);
        prefs->chkSpanish->click();
        prefs->btnOK->click();
        auto* sub = qobject_cast<QMdiSubWindow*>(p.m().menuScreen());
        auto* menu = qobject_cast<TfrmMenu*>(sub->widget());
        QCOMPARE(menu->btnExit->text(), QStringLiteral("Salir"));
        // Back to English the same way.
        prefs = OpenPreferences(p);
        QVERIFY(prefs->chkSpanish->isChecked());
        QCOMPARE(prefs->windowTitle(), QStringLiteral("Preferencias"));
        prefs->chkEnglish->click();
        prefs->btnOK->click();
        QCOMPARE(menu->btnExit->text(), QStringLiteral("Exit"));
        QCOMPARE(Item(p.m(), "mnuHelpAbout")->text(), QStringLiteral("About..."));
        QCOMPARE(Item(p.m(), "popLoadTrend")->text(), QStringLiteral("Open Saved Trend..."));
    }
}

void PreferencesTest::spanishThenCancelChangesNothing()
{
    Program p;
    TfrmMain& m = p.m();
    const QString storedBefore = p.preferences->text(QStringLiteral("Show Easy Menus"));
    TfrmPrefs* prefs = OpenPreferences(p);
    prefs->chkSpanish->click();
    prefs->chkMenuShow->setChecked(!prefs->chkMenuShow->isChecked());
    prefs->btnCancel->click();
    QVERIFY(!prefs->isVisible());
    QCOMPARE(p.state->shell.language, Language::English);
    QCOMPARE(m.windowTitle(), QStringLiteral("VELMOR"));
    QCOMPARE(p.preferences->text(QStringLiteral("Show Easy Menus")), storedBefore);
    // The next opening shows English and the stored choices again.
    prefs = OpenPreferences(p);
    QVERIFY(prefs->chkEnglish->isChecked());
    QCOMPARE(prefs->windowTitle(), QStringLiteral("Preferences"));
    QCOMPARE(prefs->chkMenuShow->isChecked(), p.state->shell.showEasyMenu);
    // Escape cancels as well; the close box too.
    prefs->chkSpanish->click();
    QTest::keyClick(prefs, Qt::Key_Escape);
    QVERIFY(!prefs->isVisible());
    QCOMPARE(p.state->shell.language, Language::English);
    // Enter on the Cancel button cancels; Enter anywhere else is OK.
    prefs = OpenPreferences(p);
    prefs->chkSpanish->click();
    prefs->chkMenuShow->setChecked(!prefs->chkMenuShow->isChecked());
    QTest::keyClick(prefs->btnCancel, Qt::Key_Return);
    QVERIFY(!prefs->isVisible());
    QCOMPARE(p.state->shell.language, Language::English);
    QCOMPARE(p.preferences->text(QStringLiteral("Show Easy Menus")), storedBefore);
    prefs = OpenPreferences(p);
    prefs->chkSpanish->click();
    QTest::keyClick(prefs->chkMaximised, Qt::Key_Return);
    QVERIFY(!prefs->isVisible());
    QCOMPARE(p.state->shell.language, Language::Spanish);
}

void PreferencesTest::spanishQuestionsAndWarnings()
{
    Program p;
    TfrmMain& m = p.m();
    QVERIFY(QTest::qWaitForWindowExposed(&m));
    Item(m, "mnuControlFlow")->trigger();
    TfrmPrefs* prefs = OpenPreferences(p);
    prefs->chkSpanish->click();
    prefs->btnOK->click();
    QCOMPARE(p.state->shell.language, Language::Spanish);
    {
        QObject guard;
        auto text = Answer(&guard, QMessageBox::No);
        Item(m, "mnuFileNew")->trigger();
        QCOMPARE(*text, Spanish("\u00bfEst\u00e1 seguro?"));
    }
    {
        QObject guard;
        // The question's buttons speak Spanish too.
        QString yes;
        QTimer::singleShot(0, &guard, [&yes] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                yes = box->button(QMessageBox::Yes)->text();
            }
        });
        auto text = Answer(&guard, QMessageBox::No);
        Item(m, "mnuFileExit")->trigger();
        QCOMPARE(*text, Spanish("\u00bfCerrar ROMLEV?"));
        QCOMPARE(yes.remove(QLatin1Char('&')), Spanish("S\u00ed"));
    }
    QVERIFY(!p.state->shell.closing);
    QCOMPARE(
        m.fileCommands()->openDialog()->labelText(QFileDialog::Reject).remove(QLatin1Char('&')),
        QStringLiteral("Cancelar"));

    // The keypad's range warning and the refusal of a file that is not a
    // simulation.
    QTest::mouseClick(p.flow()->controller()->imgPG, Qt::LeftButton);
    TfrmCalculator* keypad = m.keypad();
    QVERIFY(keypad->isVisible());
    QCOMPARE(keypad->windowTitle(), QStringLiteral("Nuevo valor"));
    QTest::keyClicks(keypad->txtValue, QStringLiteral("1000"));
    {
        QObject guard;
        auto text = Answer(&guard, QMessageBox::Ok);
        keypad->btnOK->click();
        QCOMPARE(*text, QStringLiteral("Fuera de rango"));
    }
    keypad->btnCancel->click();
    const QString notes = p.dir.filePath(QStringLiteral("notes.psm"));
    {
        QFile file(notes);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("Some notes\r\n1,2\r\n");
    }
    {
        QObject guard;
        auto text = Answer(&guard, QMessageBox::Ok);
        m.fileCommands()->openChosenFile(notes);
        QCOMPARE(*text, QStringLiteral("VELMOR does not load KLN trends"));
    }
}

void PreferencesTest::previewTouchesOnlyThisWindow()
{
    Program p;
    TfrmPrefs* prefs = OpenPreferences(p);
    prefs->chkSpanish->click();
    QCOMPARE(prefs->windowTitle(), QStringLiteral("Preferencias"));
    QCOMPARE(prefs->grpLanguage->title(), QStringLiteral("Idioma"));
    QCOMPARE(prefs->chkMaximised->text(), QStringLiteral("Maximizar la Ventana"));
    QCOMPARE(prefs->chkEnglish->text(), Spanish("Ingl\u00e9s"));
    QCOMPARE(prefs->chkGerman->text(), Spanish("Alem\u00e1n"));
    QCOMPARE(prefs->btnCancel->text(), QStringLiteral("Cancel"));
    QCOMPARE(p.m().windowTitle(), QStringLiteral("VELMOR"));
    QCOMPARE(p.state->shell.language, Language::English);
    prefs->chkEnglish->click();
    QCOMPARE(prefs->windowTitle(), QStringLiteral("Preferences"));
    QCOMPARE(prefs->chkMenuShow->text(), QStringLiteral("Show Easy Menu"));
    QCOMPARE(prefs->btnCancel->text(), QStringLiteral("Cancel"));
}

void PreferencesTest::restoringKeepsTheChoicesBeingMade()
{
    Program p;
    TfrmPrefs* prefs = OpenPreferences(p);
    const bool menuShow = prefs->chkMenuShow->isChecked();
    prefs->chkSpanish->click();
    prefs->chkMenuShow->click();
    // The window manager brings the window back from its icon: a show
    // event of its own, not an opening.
    QShowEvent restored;
    QSpontaneKeyEvent::setSpontaneous(&restored);
    // Delivered as the system delivers it (sendEvent would clear the mark).
    qApp->notify(prefs, &restored);
    // An opening fills the choices in on the trip timer; a restore starts
    // nothing that could.
    QVERIFY(!prefs->TripTimer->isActive());
    QCoreApplication::processEvents();
    QVERIFY(prefs->chkSpanish->isChecked());
    QCOMPARE(prefs->chkMenuShow->isChecked(), !menuShow);
    QCOMPARE(prefs->windowTitle(), QStringLiteral("Preferencias"));
    prefs->btnOK->click();
    QCOMPARE(p.state->shell.language, Language::Spanish);
}

void PreferencesTest::toolbarChoiceWaitsForTheNextStart()
{
    Program p({{"Installed", "YES"}, {"Maximised", "False"}, {"Toolbar", "True"}});
    TfrmMain& m = p.m();
    QVERIFY(Item<QWidget>(m, "pnlToolbar")->isVisible());
    TfrmPrefs* prefs = OpenPreferences(p);
    QVERIFY(prefs->chkShowToolbar->isChecked());
    prefs->chkShowToolbar->click();
    prefs->btnOK->click();
    // Stored and remembered, but the toolbar stays until the next start.
    QCOMPARE(p.preferences->text(QStringLiteral("Toolbar")), QStringLiteral("False"));
    QVERIFY(!p.state->shell.showToolbar);
    QVERIFY(Item<QWidget>(m, "pnlToolbar")->isVisible());
    QVERIFY(Item(m, "mnuPreferencesToolbar")->isChecked());
    QVERIFY(!prefs->languageChanged());
    p.restart();
    QVERIFY(!Item<QWidget>(p.m(), "pnlToolbar")->isVisible());
    QVERIFY(!Item(p.m(), "mnuPreferencesToolbar")->isChecked());
}

void PreferencesTest::maximisedChoiceWaitsForTheNextStart()
{
    // Not maximised, no toolbar: the one choice changes, the other stays.
    Program p({{"Installed", "YES"}, {"Maximised", "False"}, {"Toolbar", "False"}});
    TfrmPrefs* prefs = OpenPreferences(p);
    QVERIFY(!prefs->chkMaximised->isChecked());
    prefs->chkMaximised->click();
    prefs->btnOK->click();
    QCOMPARE(p.preferences->text(QStringLiteral("Maximised")), QStringLiteral("True"));
    QCOMPARE(p.preferences->text(QStringLiteral("Toolbar")), QStringLiteral("False"));
    QVERIFY(!p.state->shell.startMaximised);
    QVERIFY(!(p.m().windowState() & Qt::WindowMaximized));
    // The window offers what is in force in this run, not what is stored.
    QVERIFY(!OpenPreferences(p)->chkMaximised->isChecked());
    p.restart();
    QVERIFY(p.m().windowState() & Qt::WindowMaximized);
    QVERIFY(p.state->shell.startMaximised);
}

void PreferencesTest::easyMenuChoiceActsAtOnce()
{
    Program p({{"Installed", "YES"}, {"Maximised", "False"}, {"Show Easy Menus", "True"}});
    TfrmMain& m = p.m();
    m.ShowMenu();
    QVERIFY(p.state->shell.menuShown);
    TfrmPrefs* prefs = OpenPreferences(p);
    prefs->chkMenuShow->click();
    prefs->btnOK->click();
    // With no exercise open the menu screen goes at once.
    QVERIFY(!p.state->shell.menuShown);
    QVERIFY(m.mdiArea()->subWindowList().isEmpty());
    QVERIFY(!p.state->shell.showEasyMenu);
    QVERIFY(!Item(m, "mnuPreferencesEasymenus")->isChecked());
    QCOMPARE(p.preferences->text(QStringLiteral("Show Easy Menus")), QStringLiteral("False"));
    // Switched on again it comes back at once.
    prefs = OpenPreferences(p);
    prefs->chkMenuShow->click();
    prefs->btnOK->click();
    QVERIFY(p.state->shell.menuShown);
    QVERIFY(Item(m, "mnuPreferencesEasymenus")->isChecked());
    // With an exercise open nothing appears over it; closing it brings the
    // menu screen back.
    Item(m, "mnuControlFlow")->trigger();
    prefs = OpenPreferences(p);
    prefs->btnOK->click();
    QCOMPARE(m.mdiArea()->subWindowList().size(), 2);
    m.exerciseSubWindow()->close();
    QVERIFY(p.waitFor([&] { return p.state->shell.menuShown; }));
}

VELMOR_TEST_MAIN(PreferencesTest, shell)
#include "PreferencesTest.moc"
