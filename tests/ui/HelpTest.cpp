// The help pages and their viewer: every link and picture of every page
// leads somewhere, both languages have the same pages, every menu item is
// described in its language, the contents list follows the start page,
// back and forward retrace the pages read, find searches the page, and a
// change of language turns the page shown.
#include "LanguageScope.h"
#include "ui/common/Language.h"
#include "ui/shell/HelpViewer.h"

#include "ProgramFixture.h"

#include <QAction>
#include <QDirIterator>
#include <QFile>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>

#include <set>

using namespace velmor;

namespace {

// A page as the viewer shows it: without its comments (which hold notes
// for whoever edits the pages).
QString Read(const QString& resource)
{
    QFile file(resource);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    static const QRegularExpression comment(QStringLiteral("<!--.*?-->"),
                                            QRegularExpression::DotMatchesEverythingOption);
    return QString::fromUtf8(file.readAll()).remove(comment);
}

// Every page of the help, as resource paths (":/help/...").
QStringList Pages()
{
    QStringList pages{QStringLiteral(":/help/KLN.hlp"), QStringLiteral(":/help/NLK.hlp")};
    QDirIterator it(QStringLiteral(":/help"), {QStringLiteral("*.html")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        pages << it.next();
    }
    pages.sort();
    return pages;
}

QStringList Captures(const QString& text, const QString& pattern)
{
    QStringList found;
    const QRegularExpression expression(pattern);
    for (auto it = expression.globalMatch(text); it.hasNext();) {
        found << it.next().captured(1);
    }
    return found;
}

// The words of every page of one language ("en", "es"), as the viewer
// shows them, on one line.
QString HelpWords(const QString& language)
{
    QString words;
    for (const QString& page : Pages()) {
        if (page.startsWith(QStringLiteral(":/help/") + language + QLatin1Char('/')) ||
            page == (language == QLatin1String("en") ? QStringLiteral(":/help/KLN.hlp")
                                                     : QStringLiteral(":/help/NLK.hlp"))) {
            QTextDocument document;
            document.setHtml(Read(page));
            words += document.toPlainText() + QLatin1Char('\n');
        }
    }
    return words.replace(QChar::Nbsp, QLatin1Char(' ')).simplified();
}

QStringList Anchors(const QString& page)
{
    return Captures(Read(page), QStringLiteral("<a name=\"([^\"]+)\""));
}

QStringList Titles(const QTreeWidgetItem* parent)
{
    QStringList titles;
    for (int k = 0; k < parent->childCount(); ++k) {
        titles << parent->child(k)->text(0);
    }
    return titles;
}

} // namespace

class HelpTest : public QObject {
    Q_OBJECT

private slots:
    void everyLinkAndPictureLeadsSomewhere();
    void bothLanguagesHaveTheSamePages();
    void everyMenuItemIsDescribed();
    void contentsFollowTheStartPage();
    void backAndForward();
    void findInPage();
    void languageTurnsThePage();
    void unknownFileIsRefused();
};

void HelpTest::everyLinkAndPictureLeadsSomewhere()
{
    const QStringList pages = Pages();
    QCOMPARE(pages.size(), 2 + 2 * 18);
    QStringList broken;
    int links = 0;
    int pictures = 0;
    for (const QString& page : pages) {
        const QString text = Read(page);
        QVERIFY2(!text.isEmpty(), qPrintable(page));
        QVERIFY2(text.contains(QStringLiteral("<title>")), qPrintable(page));
        const QUrl base(QStringLiteral("qrc") + page);
        for (const QString& href : Captures(text, QStringLiteral("href=\"([^\"]+)\""))) {
            ++links;
            const QUrl target = base.resolved(QUrl(href));
            const QString file = QLatin1Char(':') + target.path();
            if (!QFile::exists(file)) {
                broken << page + QStringLiteral(" -> ") + href;
            } else if (target.hasFragment() && !Anchors(file).contains(target.fragment())) {
                broken << page + QStringLiteral(" -> ") + href + QStringLiteral(" (no anchor)");
            }
        }
        for (const QString& src : Captures(text, QStringLiteral("<img src=\"([^\"]+)\""))) {
            ++pictures;
            const QString file = QLatin1Char(':') + base.resolved(QUrl(src)).path();
            if (QImage(file).isNull()) {
                broken << page + QStringLiteral(" -> picture ") + src;
            }
        }
    }
    QVERIFY2(broken.isEmpty(), qPrintable(broken.join('\n')));
    // Few links found would mean the reading of the pages broke.
    QVERIFY2(links > 100, qPrintable(QString::number(links)));
    QCOMPARE(pictures, 2 * 14);
}

void HelpTest::bothLanguagesHaveTheSamePages()
{
    std::set<QString> english;
    std::set<QString> spanish;
    for (const QString& page : Pages()) {
        if (page.startsWith(QStringLiteral(":/help/en/"))) {
            english.insert(page.mid(10));
        } else if (page.startsWith(QStringLiteral(":/help/es/"))) {
            spanish.insert(page.mid(10));
        }
    }
    QCOMPARE(english, spanish);
    for (const QString& page : english) {
        // The same anchors, so that a link into a page works in both.
        QCOMPARE(Anchors(QStringLiteral(":/help/es/") + page),
                 Anchors(QStringLiteral(":/help/en/") + page));
        // The same pictures, each drawn in its own language.
        const QStringList pictures = Captures(Read(QStringLiteral(":/help/en/") + page),
                                              QStringLiteral("<img src=\"([^\"]+)\""));
        QCOMPARE(Captures(Read(QStringLiteral(":/help/es/") + page),
                          QStringLiteral("<img src=\"([^\"]+)\"")),
                 pictures);
        for (const QString& picture : pictures) {
            const QImage en(QStringLiteral(":/help/en/") + picture);
            const QImage es(QStringLiteral(":/help/es/") + picture);
            QCOMPARE(es.size(), en.size());
            QVERIFY2(es != en, qPrintable(picture));
        }
    }
}

void HelpTest::everyMenuItemIsDescribed()
{
    // The real main window's menus, in each language, against that
    // language's pages: a caption (without its "&") found in none of them
    // is a command the help does not describe. Items that stand for data
    // (a file, say) carry it and are not captions.
    test::Program p;
    for (const bool spanish : {false, true}) {
        test::SetSpanish(*p.main, *p.state, spanish);
        // The help viewer's own words follow the program's.
        QCOMPARE(p.main->helpViewer()->backAction()->text(),
                 spanish ? QString::fromUtf8("Atr\u00e1s") : QStringLiteral("Back"));
        const QString words = HelpWords(spanish ? QStringLiteral("es") : QStringLiteral("en"));
        QVERIFY(words.size() > 10000);
        QStringList missing;
        int captions = 0;
        for (const QList<QAction*>& items : test::MenuGroups(*p.main)) {
            for (const QAction* item : items) {
                if (item->isSeparator() || !item->data().isNull()) {
                    continue;
                }
                ++captions;
                const QString caption = NoAnd(item->text());
                if (!words.contains(caption)) {
                    missing << caption;
                }
            }
        }
        QVERIFY(captions > 30);
        QVERIFY2(missing.isEmpty(), qPrintable(missing.join(QStringLiteral(" | "))));
    }
}

void HelpTest::contentsFollowTheStartPage()
{
    HelpViewer viewer;
    QVERIFY(viewer.showContents(QStringLiteral("KLN.hlp")));
    QCOMPARE(viewer.windowTitle(), QStringLiteral("VELMOR Help"));
    QTreeWidget* contents = viewer.contentsList();
    QCOMPARE(contents->topLevelItemCount(), 1);
    const QTreeWidgetItem* top = contents->topLevelItem(0);
    QCOMPARE(top->text(0), QStringLiteral("VELMOR Help"));
    QCOMPARE(Titles(top), (QStringList{
                              QStringLiteral("Getting started"),
                              QStringLiteral("The exercises"),
                              QStringLiteral("The controller: PG, PB, I and D"),
                              QStringLiteral("Set-point waveforms"),
                              QStringLiteral("Entering a value: the keypad"),
                              QStringLiteral("Reading and browsing the trend"),
                              QStringLiteral("Analysing a run"),
                              QStringLiteral("Simulation files"),
                              QStringLiteral("Preferences and languages"),
                              QStringLiteral("Lab sheets"),
                              QStringLiteral("Classroom exercises"),
                          }));
    QCOMPARE(Titles(top->child(1)),
             (QStringList{QStringLiteral("System mimic"), QStringLiteral("Flow control"),
                          QStringLiteral("Fluid level control"), QStringLiteral("Open loop"),
                          QStringLiteral("Temperature control"),
                          QStringLiteral("Batch volume control")}));
    QCOMPARE(top->child(0)->childCount(), 4);
    // Choosing an entry shows its page and marks it as the one shown.
    QTreeWidgetItem* flow = top->child(1)->child(1);
    emit contents->itemClicked(flow, 0);
    QCOMPARE(viewer.currentPage(), QUrl(QStringLiteral("qrc:/help/en/flow.html")));
    QCOMPARE(viewer.windowTitle(), QStringLiteral("Flow control"));
    QCOMPARE(contents->currentItem(), flow);
    // A link followed inside the pages moves the mark too.
    viewer.browser()->setSource(QUrl(QStringLiteral("qrc:/help/en/keypad.html")));
    QCOMPARE(contents->currentItem()->text(0), QStringLiteral("Entering a value: the keypad"));

    // The Spanish start page gives the Spanish contents.
    QVERIFY(viewer.showContents(QStringLiteral("NLK.hlp")));
    QCOMPARE(viewer.windowTitle(), QStringLiteral("Ayuda de ROMLEV"));
    QCOMPARE(contents->topLevelItem(0)->child(0)->text(0), QStringLiteral("Primeros pasos"));
    QCOMPARE(contents->topLevelItem(0)->childCount(), 11);
}

void HelpTest::backAndForward()
{
    HelpViewer viewer;
    viewer.showContents(QStringLiteral("KLN.hlp"));
    QVERIFY(!viewer.backAction()->isEnabled());
    QVERIFY(!viewer.forwardAction()->isEnabled());
    viewer.browser()->setSource(QUrl(QStringLiteral("qrc:/help/en/trends.html")));
    viewer.browser()->setSource(QUrl(QStringLiteral("qrc:/help/en/files.html")));
    QVERIFY(viewer.backAction()->isEnabled());
    viewer.backAction()->trigger();
    QCOMPARE(viewer.currentPage(), QUrl(QStringLiteral("qrc:/help/en/trends.html")));
    QVERIFY(viewer.forwardAction()->isEnabled());
    viewer.backAction()->trigger();
    QCOMPARE(viewer.currentPage(), QUrl(QStringLiteral("qrc:/help/KLN.hlp")));
    QVERIFY(!viewer.backAction()->isEnabled());
    viewer.forwardAction()->trigger();
    viewer.forwardAction()->trigger();
    QCOMPARE(viewer.currentPage(), QUrl(QStringLiteral("qrc:/help/en/files.html")));
    QVERIFY(!viewer.forwardAction()->isEnabled());
    // Contents goes back to the start page.
    viewer.homeAction()->trigger();
    QCOMPARE(viewer.currentPage(), QUrl(QStringLiteral("qrc:/help/KLN.hlp")));
}

void HelpTest::findInPage()
{
    HelpViewer viewer;
    viewer.showContents(QStringLiteral("KLN.hlp"));
    viewer.browser()->setSource(QUrl(QStringLiteral("qrc:/help/en/flow.html")));
    QVERIFY(viewer.findInPage(QStringLiteral("gate valve")));
    QCOMPARE(viewer.browser()->textCursor().selectedText().toLower(), QStringLiteral("gate valve"));
    const int first = viewer.browser()->textCursor().position();
    // The next match lies further on; past the last one the search goes
    // round to the first again.
    QVERIFY(viewer.findInPage(QStringLiteral("gate valve")));
    QVERIFY(viewer.browser()->textCursor().position() > first);
    int rounds = 0;
    while (viewer.browser()->textCursor().position() != first && rounds < 20) {
        QVERIFY(viewer.findInPage(QStringLiteral("gate valve")));
        ++rounds;
    }
    QCOMPARE(viewer.browser()->textCursor().position(), first);
    // Backwards from the first match goes round to the last.
    QVERIFY(viewer.findInPage(QStringLiteral("gate valve"), true));
    QVERIFY(viewer.browser()->textCursor().position() > first);
    // A word that is not there: nothing found, and the field says so.
    QVERIFY(!viewer.findInPage(QStringLiteral("xylophone")));
    QVERIFY(viewer.findField()->styleSheet().contains(QStringLiteral("background")));
    QVERIFY(viewer.findInPage(QStringLiteral("Manual")));
    QVERIFY(viewer.findField()->styleSheet().isEmpty());
    // Typing in the field searches from the top of the page.
    viewer.findField()->clear();
    QTest::keyClicks(viewer.findField(), QStringLiteral("pump button"));
    QCOMPARE(viewer.browser()->textCursor().selectedText(), QStringLiteral("pump button"));
    // The bar's arrows: the next match (down), then back to the one
    // before (up).
    QMap<Qt::ArrowType, QToolButton*> arrow;
    for (QToolButton* button : viewer.findChildren<QToolButton*>()) {
        arrow.insert(button->arrowType(), button);
    }
    viewer.findField()->setText(QStringLiteral("gate valve"));
    viewer.browser()->moveCursor(QTextCursor::Start);
    QVERIFY(viewer.findInPage(QStringLiteral("gate valve")));
    const int at = viewer.browser()->textCursor().position();
    arrow.value(Qt::DownArrow)->click();
    QVERIFY(viewer.browser()->textCursor().position() > at);
    arrow.value(Qt::UpArrow)->click();
    QCOMPARE(viewer.browser()->textCursor().position(), at);
}

void HelpTest::languageTurnsThePage()
{
    HelpViewer viewer;
    viewer.showContents(QStringLiteral("KLN.hlp"));
    viewer.browser()->setSource(QUrl(QStringLiteral("qrc:/help/en/controller.html#units")));
    ShellState shell;
    const LanguageScope inSpanish(shell, Language::Spanish);
    viewer.SetLanguage(QStringLiteral("NLK.hlp"));
    QCOMPARE(viewer.currentFile(), QStringLiteral("NLK.hlp"));
    QCOMPARE(viewer.currentPage(), QUrl(QStringLiteral("qrc:/help/es/controller.html#units")));
    QCOMPARE(viewer.windowTitle(), QStringLiteral("El controlador: Kp, LP, Ki y Kd"));
    QCOMPARE(viewer.backAction()->text(), QString::fromUtf8("Atr\u00e1s"));
    QCOMPARE(viewer.homeAction()->text(), QStringLiteral("Contenido"));
    // From the start page to the start page.
    viewer.homeAction()->trigger();
    UseLanguage(shell, Language::English);
    viewer.SetLanguage(QStringLiteral("KLN.hlp"));
    QCOMPARE(viewer.currentPage(), QUrl(QStringLiteral("qrc:/help/KLN.hlp")));
    QCOMPARE(viewer.backAction()->text(), QStringLiteral("Back"));
    // A hidden viewer only takes the words; its page waits for F1.
    viewer.hide();
    UseLanguage(shell, Language::Spanish);
    viewer.SetLanguage(QStringLiteral("NLK.hlp"));
    QCOMPARE(viewer.currentFile(), QStringLiteral("KLN.hlp"));
    QCOMPARE(viewer.forwardAction()->text(), QStringLiteral("Adelante"));
}

void HelpTest::unknownFileIsRefused()
{
    HelpViewer viewer;
    QVERIFY(!viewer.showContents(QStringLiteral("missing.hlp")));
    QVERIFY(!viewer.isVisible());
    QVERIFY(viewer.currentFile().isEmpty());
}

VELMOR_TEST_MAIN(HelpTest, shell)
#include "HelpTest.moc"
