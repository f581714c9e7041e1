// The program's compiled catalogue gives exactly the translations of
// translations/velmor_es.ts (that the catalogue matches the sources is
// lupdate's check in CI), and putting a language in force reaches the texts
// and the open windows at once.
#include "ui/common/Language.h"

#include <QDirIterator>
#include <QEvent>
#include <QFile>
#include <QWidget>
#include <QXmlStreamReader>
#include <QtTest>

#include <map>
#include <tuple>

using namespace velmor;

namespace {

// Context, English source and the comment that tells apart two uses of
// one English text ("" when there is none).
using Key = std::tuple<QString, QString, QString>;

QString Describe(const Key& key)
{
    const auto& [context, source, comment] = key;
    return context + QStringLiteral(" / ") + source +
           (comment.isEmpty() ? QString() : QStringLiteral(" (") + comment + QLatin1Char(')'));
}

struct Entry {
    QString translation;
    QString type; // "" when finished
};

QString SourceRoot()
{
    return QStringLiteral(VELMOR_SOURCE_DIR);
}

std::map<Key, Entry> Catalogue(QString* error)
{
    std::map<Key, Entry> entries;
    QFile file(SourceRoot() + QStringLiteral("/translations/velmor_es.ts"));
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("no catalogue");
        return entries;
    }
    QXmlStreamReader xml(&file);
    QString context;
    QString source;
    QString comment;
    Entry entry;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement()) {
            continue;
        }
        if (xml.name() == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (xml.name() == QLatin1String("message")) {
            comment.clear();
        } else if (xml.name() == QLatin1String("source")) {
            source = xml.readElementText();
        } else if (xml.name() == QLatin1String("comment")) {
            comment = xml.readElementText();
        } else if (xml.name() == QLatin1String("translation")) {
            entry.type = xml.attributes().value(QLatin1String("type")).toString();
            entry.translation = xml.readElementText();
            const Key key{context, source, comment};
            if (entries.count(key) != 0) {
                *error += QStringLiteral("twice: ") + Describe(key) + QLatin1Char('\n');
            }
            entries[key] = entry;
        }
    }
    if (xml.hasError()) {
        *error += xml.errorString();
    }
    return entries;
}

} // namespace

class TranslationTest : public QObject {
    Q_OBJECT

private slots:
    void compiledCatalogueMatches();
    void switchReachesTextsAndWindows();
};

void TranslationTest::compiledCatalogueMatches()
{
    QString error;
    const std::map<Key, Entry> catalogue = Catalogue(&error);
    QVERIFY(!catalogue.empty());
    QStringList differ;
    for (const auto& [key, entry] : catalogue) {
        const QByteArray context = std::get<0>(key).toUtf8();
        const QByteArray source = std::get<1>(key).toUtf8();
        const QByteArray comment = std::get<2>(key).toUtf8();
        const char* disambiguation = comment.isEmpty() ? nullptr : comment.constData();
        if (TextIn(Language::Spanish, context.constData(), source.constData(), disambiguation) !=
            entry.translation) {
            differ << Describe(key);
        }
        // In English every text is its source, "°C" and "·" included.
        if (TextIn(Language::English, context.constData(), source.constData(), disambiguation) !=
            std::get<1>(key)) {
            differ << QStringLiteral("English: ") + Describe(key);
        }
    }
    QVERIFY2(differ.isEmpty(), qPrintable(differ.join('\n')));
}

namespace {

// A window that counts the language changes it is told of.
class Listener : public QWidget {
public:
    int changes = 0;

protected:
    void changeEvent(QEvent* event) override
    {
        if (event->type() == QEvent::LanguageChange) {
            ++changes;
        }
        QWidget::changeEvent(event);
    }
};

} // namespace

void TranslationTest::switchReachesTextsAndWindows()
{
    Listener window;
    window.show();
    const auto file = [] { return QCoreApplication::translate("TfrmMain", "&File"); };
    const auto cancel = [] { return QCoreApplication::translate("QPlatformTheme", "Cancel"); };
    QCOMPARE(file(), QStringLiteral("&File"));
    const QString englishCancel = cancel();

    InstallLanguage(Language::Spanish);
    QCOMPARE(InstalledLanguage(), Language::Spanish);
    QVERIFY(window.changes > 0); // told before the switch returns
    QCOMPARE(file(), QStringLiteral("&Fichero"));
    QVERIFY(cancel() != englishCancel); // the toolkit's own words too

    // The same language again changes nothing and tells no one.
    const int told = window.changes;
    InstallLanguage(Language::Spanish);
    QCOMPARE(window.changes, told);

    InstallLanguage(Language::English);
    QVERIFY(window.changes > told);
    QCOMPARE(file(), QStringLiteral("&File"));
    QCOMPARE(cancel(), englishCancel);
    QCOMPARE(InstalledLanguage(), Language::English);
}

VELMOR_TEST_MAIN(TranslationTest, shell)
#include "TranslationTest.moc"
