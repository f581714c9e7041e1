// The intro screen, the easy menu screen and the about box: how the intro
// ends and what it leaves, where the menu screen stands and what its buttons
// do, the about box's texts, version and links, in both languages.
#include "LanguageScope.h"
#include "ProgramFixture.h"

#include "ui/exercises/TfrmFlow.h"
#include "ui/shell/HelpViewer.h"
#include "ui/shell/ScreenArt.h"
#include "ui/shell/TfrmAbout.h"
#include "ui/shell/TfrmCalculator.h"
#include "ui/shell/TfrmIntro.h"
#include "ui/shell/TfrmMenu.h"
#include "ui/shell/TfrmPrefs.h"

#include <QAction>
#include <QDesktopServices>
#include <QFrame>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>
#include <QUrl>

using namespace velmor;
using velmor::test::Answer;
using velmor::test::Item;
using velmor::test::Program;

namespace {

TfrmIntro* IntroOf(const TfrmMain& main)
{
    return main.findChild<TfrmIntro*>();
}

TfrmMenu* MenuOf(const TfrmMain& main)
{
    auto* sub = qobject_cast<QMdiSubWindow*>(main.menuScreen());
    return sub != nullptr ? qobject_cast<TfrmMenu*>(sub->widget()) : nullptr;
}

// Each test's program starts in English again (its main window's start).
void UseSpanish(VelmorState& state)
{
    UseLanguage(state.shell, Language::Spanish);
}

// What a label shows, in the format the pictures are drawn in.
QImage PixmapImage(const QLabel* label)
{
    return label->pixmap().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

} // namespace

// Records the addresses the desktop is asked to open for one scheme.
class UrlRecorder : public QObject {
    Q_OBJECT

public:
    explicit UrlRecorder(const QString& scheme) : m_scheme(scheme)
    {
        QDesktopServices::setUrlHandler(m_scheme, this, "record");
    }
    ~UrlRecorder() override { QDesktopServices::unsetUrlHandler(m_scheme); }
    QList<QUrl> urls;

public slots:
    void record(const QUrl& url) { urls << url; }

private:
    QString m_scheme;
};

class ShellScreensTest : public QObject {
    Q_OBJECT

private slots:
    void introLooksAndWaits();
    void introEndsByClickOrTimer();
    void introWithoutEasyMenuLeavesTheEmptyFrame();
    void introLeavesAnOpenExerciseAlone();
    void introTakesTheSettledCentre();
    void introInSpanish();

    void menuScreenLayout();
    void menuScreenPlaceBySize();
    void menuButtons();
    void menuPopupOnEveryControl();
    void menuScreenLanguages();
    void easyMenuToggle();

    void aboutBoxTexts();
    void aboutVersionUntilHidden();
    void aboutLinks();
    void aboutLanguages();
};

void ShellScreensTest::introLooksAndWaits()
{
    Program p(test::kInstalled, {.intro = true});
    TfrmIntro* intro = IntroOf(p.m());
    QVERIFY(intro != nullptr);
    QCOMPARE(intro->size(), QSize(514, 394));
    QVERIFY(intro->windowFlags() & Qt::FramelessWindowHint);
    QVERIFY(intro->windowFlags() & Qt::WindowStaysOnTopHint);
    QCOMPARE(intro->cursor().shape(), Qt::PointingHandCursor);
    QCOMPARE(intro->imgLogo->geometry().topLeft(), QPoint(21, 24));
    QVERIFY(intro->imgLogo->isVisibleTo(intro));
    QCOMPARE(intro->EndTimer->interval(), 6000);
    QVERIFY(intro->EndTimer->isSingleShot());
    QVERIFY(intro->EndTimer->isActive());
    QVERIFY(intro->shownLanguage() == Language::English);
    // Nothing of the easy menu yet: the intro brings it.
    QVERIFY(!p.state->shell.menuShown);
    // The other start-up windows exist, hidden.
    QVERIFY(p.m().aboutBox() != nullptr && !p.m().aboutBox()->isVisible());
    QVERIFY(p.m().preferencesWindow() != nullptr && !p.m().preferencesWindow()->isVisible());
    QVERIFY(!p.m().keypad()->isVisible());
}

void ShellScreensTest::introEndsByClickOrTimer()
{
    for (const bool byClick : {true, false}) {
        Program p({{"Installed", "YES"}, {"Maximised", "False"}, {"Show Easy Menus", "True"}},
                  {.intro = true});
        QPointer<TfrmIntro> intro = IntroOf(p.m());
        intro->show();
        QSignalSpy ended(intro.data(), &TfrmIntro::ended);
        if (byClick) {
            // A click on its picture ends it as well as one on the window.
            QTest::mouseClick(intro->imgIntro, Qt::LeftButton, {}, QPoint(200, 300));
        } else {
            intro->EndTimer->start(20);
        }
        QVERIFY(p.waitFor([&] { return intro == nullptr; }));
        QCOMPARE(ended.count(), 1);
        QVERIFY(p.state->shell.menuShown);
        QVERIFY(MenuOf(p.m()) != nullptr);
        QCOMPARE(p.m().mdiArea()->subWindowList().size(), 1);
    }
}

void ShellScreensTest::introWithoutEasyMenuLeavesTheEmptyFrame()
{
    Program p(kNoEasyMenu, {.intro = true});
    QPointer<TfrmIntro> intro = IntroOf(p.m());
    intro->imgIntroClick();
    intro->imgIntroClick(); // a second end (click and timer together) does nothing more
    QVERIFY(p.waitFor([&] { return intro == nullptr; }));
    QVERIFY(!p.state->shell.menuShown);
    QVERIFY(p.m().mdiArea()->subWindowList().isEmpty());
    QCOMPARE(p.state->shell.currentForm, std::string("frmMain"));
}

void ShellScreensTest::introLeavesAnOpenExerciseAlone()
{
    // The intro does not hold the frame: an exercise can be opened from the
    // menus while it is up. Its end must not lay the menu screen over it.
    Program p({{"Installed", "YES"}, {"Maximised", "False"}, {"Show Easy Menus", "True"}},
              {.intro = true});
    QPointer<TfrmIntro> intro = IntroOf(p.m());
    Item(p.m(), "mnuControlFlow")->trigger();
    QVERIFY(p.m().exerciseWindow() != nullptr);
    intro->imgIntroClick();
    QVERIFY(p.waitFor([&] { return intro == nullptr; }));
    QVERIFY(!p.state->shell.menuShown);
    QCOMPARE(p.m().mdiArea()->subWindowList().size(), 2);
}

void ShellScreensTest::introTakesTheSettledCentre()
{
    Program p(kNoEasyMenu, {.intro = true});
    TfrmMain& m = p.m();
    // While the intro is up the frame is still finding its size: the centre
    // follows the client area (1000 pixels wide here).
    m.resize(1000, 700);
    QCOMPARE(m.centre().x(), 500);
    m.resize(900, 700);
    QCOMPARE(m.centre().x(), 450);
    // When the intro ends the centre is taken from the client area.
    IntroOf(m)->imgIntroClick();
    QCOMPARE(m.centre(), QPoint(450, m.mdiArea()->height() / 2));
    // From then on a resize with nothing open keeps the centre last seen.
    m.resize(1100, 760);
    QCOMPARE(m.centre().x(), 450);
    // And an exercise opens from that centre.
    Item(m, "mnuControlFlow")->trigger();
    QCOMPARE(m.exerciseSubWindow()->x(), 450 - 388);
}

void ShellScreensTest::introInSpanish()
{
    const QImage english = SplashPicture(Language::English, 1);
    const QImage spanish = SplashPicture(Language::Spanish, 1);
    QCOMPARE(english.size(), QSize(514, 394));
    QCOMPARE(spanish.size(), QSize(514, 394));
    // The name band carries the program's name in the language.
    QVERIFY(english.copy(100, 18, 400, 50) != spanish.copy(100, 18, 400, 50));
    // At 200 % the splash has four times the pixels, for the same layout.
    QCOMPARE(SplashPicture(Language::English, 2).size(), QSize(1028, 788));

    Program p(test::kInstalled);
    UseSpanish(*p.state);
    auto* intro = new TfrmIntro(*p.state, p.m());
    QVERIFY(intro->shownLanguage() == Language::Spanish);
    QCOMPARE(PixmapImage(intro->imgIntro).copy(100, 18, 400, 50), spanish.copy(100, 18, 400, 50));
    intro->imgIntroClick();
}

void ShellScreensTest::menuScreenLayout()
{
    Program p;
    TfrmMain& m = p.m();
    m.ShowMenu();
    TfrmMenu* menu = MenuOf(m);
    QVERIFY(menu != nullptr);
    QVERIFY(p.state->shell.menuShown);
    QCOMPARE(menu->size(), QSize(650, 501));
    QCOMPARE(menu->imgPanel->geometry(), QRect(0, 0, 650, 501));
    QCOMPARE(menu->Heading->geometry(), QRect(0, 0, 650, 40));
    QCOMPARE(menu->Panel2->geometry(), QRect(0, 424, 650, 77));
    QCOMPARE(menu->Heading->font().bold(), true);
    QCOMPARE(menu->Heading->font().pointSize(), 14);
    const std::pair<QPushButton*, QRect> places[] = {
        {Item<QPushButton>(*menu, "btnManual"), QRect(7, 7, 156, 29)},
        {Item<QPushButton>(*menu, "btnFlow"), QRect(167, 7, 156, 29)},
        {Item<QPushButton>(*menu, "btnTemperature"), QRect(327, 7, 156, 29)},
        {Item<QPushButton>(*menu, "btnBatchVolume"), QRect(487, 7, 156, 29)},
        {Item<QPushButton>(*menu, "btnFluidLevel"), QRect(7, 40, 156, 29)},
        {Item<QPushButton>(*menu, "btnOpenLoop"), QRect(167, 40, 156, 29)},
        {menu->btnTrends, QRect(327, 40, 156, 29)},
        {menu->btnExit, QRect(485, 40, 156, 29)},
    };
    for (const auto& [button, place] : places) {
        QCOMPARE(button->geometry(), place);
        QCOMPARE(button->font().pointSize(), 9);
    }
    QCOMPARE(menu->Heading->text(), QStringLiteral("TORVEX KLN TRAINER SIMULATOR"));
    QCOMPARE(Item<QPushButton>(*menu, "btnBatchVolume")->text(),
             QStringLiteral("Batch Volume Control"));
    // Exercises the program's menus offer are offered here too.
    QCOMPARE(Item<QPushButton>(*menu, "btnFlow")->isEnabled(),
             Item(m, "mnuControlFlow")->isEnabled());
    QCOMPARE(Item<QPushButton>(*menu, "btnTemperature")->isEnabled(),
             Item(m, "mnuControlTemperature")->isEnabled());
    QVERIFY(menu->btnTrends->isEnabled());
    // A tool window's frame: a caption of one blank and no close box.
    auto* sub = qobject_cast<QMdiSubWindow*>(m.menuScreen());
    QCOMPARE(sub->windowTitle(), QStringLiteral(" "));
    QVERIFY(!(sub->windowFlags() & Qt::WindowCloseButtonHint));
    QVERIFY(!(sub->windowFlags() & Qt::WindowSystemMenuHint));
    // Shown once: a second ShowMenu makes no second screen.
    m.ShowMenu();
    QCOMPARE(m.mdiArea()->subWindowList().size(), 1);
    m.HideMenu();
    QVERIFY(!p.state->shell.menuShown);
    QVERIFY(m.menuScreen() == nullptr);
    QVERIFY(m.mdiArea()->subWindowList().isEmpty());
}

void ShellScreensTest::menuScreenPlaceBySize()
{
    // At exactly 776 x 578 the screen stands at (59, 0); at any other size
    // it is centred: 329 left of and 289 above the client area's centre.
    struct Case {
        QSize frame;
        int left;
    };
    for (const Case& c : {Case{QSize(776, 578), 59}, Case{QSize(1024, 768), 183},
                          Case{QSize(900, 700), 121}, Case{QSize(777, 578), 59}}) {
        Program p;
        TfrmMain& m = p.m();
        m.resize(c.frame);
        m.ShowMenu();
        const QPoint at = m.menuScreen()->pos();
        QCOMPARE(at.x(), c.left);
        if (c.frame == QSize(776, 578)) {
            QCOMPARE(at.y(), 0);
        } else {
            QCOMPARE(at.y(), std::max(0, m.mdiArea()->height() / 2 - 289));
        }
        // The layout rule then moves it with the centre.
        m.resize(c.frame + QSize(100, 0));
        QCOMPARE(m.menuScreen()->x(), c.left + 50);
    }
}

void ShellScreensTest::menuButtons()
{
    Program p;
    TfrmMain& m = p.m();
    m.ShowMenu();
    // Flow opens the exercise and takes the menu screen away.
    Item<QPushButton>(*MenuOf(m), "btnFlow")->click();
    QVERIFY(m.exerciseWindow() != nullptr);
    QVERIFY(!p.state->shell.menuShown);
    QVERIFY(p.state->trend.trendNoData); // chosen by the user: fresh
    QCOMPARE(m.mdiArea()->subWindowList().size(), 2);
    // Closing it brings the menu screen back (the easy menu is on).
    m.exerciseSubWindow()->close();
    QVERIFY(p.waitFor([&] { return MenuOf(m) != nullptr; }));
    // System Mimic opens the mimic.
    Item<QPushButton>(*MenuOf(m), "btnManual")->click();
    QVERIFY(m.manualWindow() != nullptr);
    m.exerciseSubWindow()->close();
    QVERIFY(p.waitFor([&] { return MenuOf(m) != nullptr; }));
    // Trends is File > Open: the chosen run opens in its exercise, in place
    // of the menu screen.
    {
        QObject guard;
        test::ChooseInDialog(&guard, test::Golden("open_sawtooth.psm"));
        MenuOf(m)->btnTrends->click();
    }
    QVERIFY(p.waitFor([&] { return m.graphWindow() != nullptr && !p.state->trend.trendNoData; }));
    QCOMPARE(p.state->shell.currentForm, std::string("frmOpen"));
    QVERIFY(!p.state->shell.menuShown);
    QVERIFY(MenuOf(m) == nullptr);
    m.exerciseSubWindow()->close();
    QVERIFY(p.waitFor([&] { return MenuOf(m) != nullptr; }));
    // Exit asks first.
    {
        QObject guard;
        auto text = Answer(&guard, QMessageBox::No);
        MenuOf(m)->btnExit->click();
        QCOMPARE(*text, QStringLiteral("Close VELMOR?"));
    }
    QVERIFY(!p.state->shell.closing);
    {
        QObject guard;
        Answer(&guard, QMessageBox::Yes);
        MenuOf(m)->btnExit->click();
    }
    QVERIFY(p.state->shell.closing);
}

void ShellScreensTest::menuPopupOnEveryControl()
{
    Program p;
    TfrmMain& m = p.m();
    QVERIFY(QTest::qWaitForWindowExposed(&m));
    m.ShowMenu();
    TfrmMenu* menu = MenuOf(m);
    for (QWidget* control :
         std::initializer_list<QWidget*>{menu->imgPanel, menu->Heading, menu->Panel2,
                                         Item<QPushButton>(*menu, "btnFlow"), menu->btnExit}) {
        QVERIFY(!Item<QMenu>(m, "MainPopupMenu")->isVisible());
        emit control->customContextMenuRequested(QPoint(3, 3));
        QVERIFY2(Item<QMenu>(m, "MainPopupMenu")->isVisible(),
                 qPrintable(control->metaObject()->className()));
        Item<QMenu>(m, "MainPopupMenu")->hide();
    }
    QCOMPARE(menu->imgPanel->contextMenuPolicy(), Qt::CustomContextMenu);
    QCOMPARE(menu->btnTrends->contextMenuPolicy(), Qt::CustomContextMenu);
}

void ShellScreensTest::menuScreenLanguages()
{
    Program p;
    TfrmMain& m = p.m();
    m.ShowMenu();
    TfrmMenu* menu = MenuOf(m);
    const QImage english = PixmapImage(menu->imgPanel);
    UseSpanish(*p.state);
    menu->SetLanguage();
    QCOMPARE(menu->Heading->text(), QStringLiteral("SIMULADOR DEL ENTRENADOR TORVEX NLK"));
    QCOMPARE(menu->Heading->font().pointSize(), 13);
    QCOMPARE(Item<QPushButton>(*menu, "btnManual")->text(), QStringLiteral("Control Manual"));
    QCOMPARE(Item<QPushButton>(*menu, "btnOpenLoop")->text(),
             QStringLiteral("Control Circuito Abierto"));
    QCOMPARE(menu->btnTrends->text(), QStringLiteral("Tendencias"));
    QCOMPARE(menu->btnExit->text(), QStringLiteral("Salir"));
    QCOMPARE(Item<QPushButton>(*menu, "btnFlow")->font().pointSize(), 8);
    // The picture's part names are in Spanish.
    const QImage spanish = PixmapImage(menu->imgPanel);
    QCOMPARE(spanish.size(), english.size());
    QVERIFY(spanish != english);
    QCOMPARE(spanish, MenuPicture(Language::Spanish, menu->devicePixelRatioF()));

    // Large-font mode: a base heading size of 12, 11 in Spanish.
    Program large;
    large.state->shell.largeFonts = true;
    large.m().ShowMenu();
    QCOMPARE(MenuOf(large.m())->baseHeadingSize(), 12);
    QCOMPARE(MenuOf(large.m())->Heading->font().pointSize(), 12);
    UseSpanish(*large.state);
    MenuOf(large.m())->SetLanguage();
    QCOMPARE(MenuOf(large.m())->Heading->font().pointSize(), 11);
}

void ShellScreensTest::easyMenuToggle()
{
    Program p;
    TfrmMain& m = p.m();
    QVERIFY(Item(m, "mnuPreferencesEasymenus")->isChecked());
    Item(m, "mnuPreferencesEasymenus")->trigger(); // off: nothing to remove
    QVERIFY(!Item(m, "mnuPreferencesEasymenus")->isChecked());
    QVERIFY(!p.state->shell.menuShown);
    Item(m, "mnuPreferencesEasymenus")->trigger(); // on, with no exercise open: shown
    QVERIFY(p.state->shell.menuShown);
    Item(m, "mnuPreferencesEasymenus")->trigger(); // off: removed at once
    QVERIFY(!p.state->shell.menuShown);
    QVERIFY(m.mdiArea()->subWindowList().isEmpty());
    // The stored preference is not touched by the toggle.
    QCOMPARE(p.preferences->text(QStringLiteral("Show Easy Menus")), QString());
}

void ShellScreensTest::aboutBoxTexts()
{
    Program p;
    TfrmMain& m = p.m();
    TfrmAbout* about = m.aboutBox();
    QVERIFY(!about->isVisible());
    QCOMPARE(about->size(), QSize(296, 228));
    QCOMPARE(about->windowTitle(), QStringLiteral("About"));
    QCOMPARE(about->ProductName->text(), QStringLiteral("VELMOR"));
    QVERIFY(about->ProductName->font().bold());
    QCOMPARE(about->Version->text(), QStringLiteral("Version:"));
    QCOMPARE(about->Number->text(), QStringLiteral("7.0"));
    QVERIFY(about->OKButton->isDefault());
    QVERIFY(Item(m, "mnuHelpAbout")->isEnabled());
    Item(m, "mnuHelpAbout")->trigger();
    QVERIFY(about->isVisible());
    QVERIFY(!about->isModal()); // the frame stays usable
    about->OKButton->click();
    QVERIFY(!about->isVisible());
}

void ShellScreensTest::aboutVersionUntilHidden()
{
    Program p;
    TfrmAbout* about = p.m().aboutBox();
    for (QLabel* label : {about->Version, about->Number}) {
        Item(p.m(), "mnuHelpAbout")->trigger();
        QTest::mouseDClick(label, Qt::LeftButton);
        QCOMPARE(about->Number->text(), QStringLiteral("7.0.6"));
        // Still there while the box stays open...
        QTest::mouseClick(about->ProductName, Qt::LeftButton);
        QCOMPARE(about->Number->text(), QStringLiteral("7.0.6"));
        // ...and back to the short one once it is hidden.
        about->hide();
        QCOMPARE(about->Number->text(), QStringLiteral("7.0"));
    }
}

void ShellScreensTest::aboutLinks()
{
    {
        // The web link opens the help's start page, through the desktop.
        Program p;
        TfrmMain& m = p.m();
        TfrmAbout* about = m.aboutBox();
        QCOMPARE(about->lblWebLink->cursor().shape(), Qt::PointingHandCursor);
        QCOMPARE(about->lblWebLink->palette().color(QPalette::WindowText), QColor(0, 0, 255));
        QVERIFY(about->lblWebLink->font().underline());
        Item(m, "mnuHelpAbout")->trigger();
        QTest::mouseClick(about->lblWebLink, Qt::LeftButton);
        QVERIFY(m.helpViewer()->isVisible());
        QCOMPARE(m.helpViewer()->currentFile(), QStringLiteral("KLN.hlp"));
        // No contact address in this build: no e-mail link.
        if (BuildContactAddress().isEmpty()) {
            QVERIFY(!about->lblEmailLink->isVisibleTo(about));
        }
    }
    {
        // With an address the e-mail link shows it and opens a mail to it.
        Program p;
        UrlRecorder mail(QStringLiteral("mailto"));
        TfrmAbout about(*p.state, nullptr, QStringLiteral("teacher@example.org"));
        QVERIFY(about.lblEmailLink->isVisibleTo(&about));
        QCOMPARE(about.lblEmailLink->text(), QStringLiteral("teacher@example.org"));
        QTest::mouseClick(about.lblEmailLink, Qt::LeftButton);
        QCOMPARE(mail.urls, QList<QUrl>{QUrl(QStringLiteral("mailto:teacher@example.org"))});
    }
}

void ShellScreensTest::aboutLanguages()
{
    Program p;
    TfrmAbout* about = p.m().aboutBox();
    UseSpanish(*p.state);
    about->SetLanguage();
    QCOMPARE(about->windowTitle(), QStringLiteral("Sobre"));
    QCOMPARE(about->ProductName->text(), QStringLiteral("ROMLEV"));
    QCOMPARE(about->Version->text(), QString::fromUtf8("Versi\u00f3n"));
    QCOMPARE(about->Number->text(), QStringLiteral("7.0"));
    // Back in English the label reads "Version" (the layout's "Version:"
    // stands only until the language is first applied).
    UseLanguage(p.state->shell, Language::English);
    QCOMPARE(about->windowTitle(), QStringLiteral("About"));
    QCOMPARE(about->ProductName->text(), QStringLiteral("VELMOR"));
    QCOMPARE(about->Version->text(), QStringLiteral("Version"));
    // Made while Spanish is in force, the box is Spanish from the start.
    UseSpanish(*p.state);
    TfrmAbout spanish(*p.state);
    QCOMPARE(spanish.ProductName->text(), QStringLiteral("ROMLEV"));
    QCOMPARE(spanish.lblWebLink->text(), QStringLiteral("Ayuda y primeros pasos"));
    // The web link follows the language of the help.
    p.m().SetLanguage();
    QTest::mouseClick(p.m().aboutBox()->lblWebLink, Qt::LeftButton);
    QCOMPARE(p.m().helpViewer()->currentFile(), QStringLiteral("NLK.hlp"));
}

VELMOR_TEST_MAIN(ShellScreensTest, shell)
#include "ShellScreensTest.moc"
