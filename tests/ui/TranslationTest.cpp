// Every text the windows mark for translation has its Spanish in
// translations/velmor_es.ts, finished; the catalogue holds nothing else;
// and the program's compiled catalogue gives exactly those translations.
// The marked texts are read from the sources, the translations from the
// catalogue: nothing is listed here by hand.
#include "ui/shell/Language.h"

#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QXmlStreamReader>
#include <QtTest>

#include <map>
#include <set>
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

// The value of one or more adjacent C++ string literals.
QString Unquote(const QString& literals)
{
    static const QRegularExpression piece(QStringLiteral("\"((?:[^\"\\\\]|\\\\.)*)\""));
    QString text;
    for (auto it = piece.globalMatch(literals); it.hasNext();) {
        const QString body = it.next().captured(1);
        for (qsizetype k = 0; k < body.size(); ++k) {
            if (body[k] == QLatin1Char('\\') && k + 1 < body.size()) {
                const QChar next = body[++k];
                text += next == QLatin1Char('n') ? QChar(QLatin1Char('\n')) : next;
            } else {
                text += body[k];
            }
        }
    }
    return text;
}

struct Marked {
    std::set<Key> texts;
    QStringList trCalls; // files that call tr(), which bypasses the flags
};

// Texts marked with QT_TRANSLATE_NOOP("Context", "text"), directly or
// through a one-argument macro of a file that fixes the context.
Marked MarkedTexts()
{
    static const QString literals = QStringLiteral("((?:\"(?:[^\"\\\\]|\\\\.)*\"\\s*)+)");
    static const QRegularExpression direct(
        QStringLiteral("QT_TRANSLATE_NOOP\\(\\s*\"(\\w+)\"\\s*,\\s*") + literals +
        QStringLiteral("\\)"));
    static const QRegularExpression withComment(
        QStringLiteral("QT_TRANSLATE_NOOP3\\(\\s*\"(\\w+)\"\\s*,\\s*") + literals +
        QStringLiteral(",\\s*") + literals + QStringLiteral("\\)"));
    static const QRegularExpression alias(
        QStringLiteral("#define\\s+(\\w+)\\s*\\(\\s*(\\w+)\\s*\\)\\s+QT_TRANSLATE_NOOP\\(\\s*\"("
                       "\\w+)\"\\s*,\\s*\\2\\s*\\)"));
    static const QRegularExpression trCall(QStringLiteral("\\btr\\(\\s*\""));
    Marked marked;
    QDirIterator files(SourceRoot() + QStringLiteral("/src/ui"),
                       {QStringLiteral("*.cpp"), QStringLiteral("*.h")}, QDir::Files,
                       QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString path = files.next();
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            continue;
        }
        const QString code = QString::fromUtf8(file.readAll());
        for (auto it = direct.globalMatch(code); it.hasNext();) {
            const QRegularExpressionMatch m = it.next();
            marked.texts.insert({m.captured(1), Unquote(m.captured(2)), QString()});
        }
        for (auto it = withComment.globalMatch(code); it.hasNext();) {
            const QRegularExpressionMatch m = it.next();
            marked.texts.insert({m.captured(1), Unquote(m.captured(2)), Unquote(m.captured(3))});
        }
        for (auto it = alias.globalMatch(code); it.hasNext();) {
            const QRegularExpressionMatch m = it.next();
            const QRegularExpression use(QStringLiteral("\\b") + m.captured(1) +
                                         QStringLiteral("\\(\\s*") + literals +
                                         QStringLiteral("\\)"));
            for (auto u = use.globalMatch(code); u.hasNext();) {
                marked.texts.insert({m.captured(3), Unquote(u.next().captured(1)), QString()});
            }
        }
        if (trCall.match(code).hasMatch()) {
            marked.trCalls << path;
        }
    }
    return marked;
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
    void everyMarkedTextIsTranslated();
    void catalogueHoldsNothingElse();
    void compiledCatalogueMatches();
    void noTextBypassesTheLanguageFlags();
};

void TranslationTest::everyMarkedTextIsTranslated()
{
    const Marked marked = MarkedTexts();
    QString error;
    const std::map<Key, Entry> catalogue = Catalogue(&error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    // The windows mark well over a hundred texts; finding few would mean
    // the reading of the sources broke.
    QVERIFY2(marked.texts.size() > 150, qPrintable(QString::number(marked.texts.size())));
    QStringList missing;
    for (const Key& key : marked.texts) {
        const auto found = catalogue.find(key);
        if (found == catalogue.end() || found->second.translation.isEmpty() ||
            !found->second.type.isEmpty()) {
            missing << Describe(key);
        }
    }
    QVERIFY2(missing.isEmpty(), qPrintable(QStringLiteral("untranslated:\n") + missing.join('\n')));
}

void TranslationTest::catalogueHoldsNothingElse()
{
    const Marked marked = MarkedTexts();
    QString error;
    const std::map<Key, Entry> catalogue = Catalogue(&error);
    QStringList stale;
    for (const auto& [key, entry] : catalogue) {
        if (!entry.type.isEmpty()) {
            stale << entry.type + QStringLiteral(": ") + Describe(key);
        } else if (marked.texts.count(key) == 0) {
            stale << QStringLiteral("not in the sources: ") + Describe(key);
        }
    }
    QVERIFY2(stale.isEmpty(), qPrintable(stale.join('\n')));
}

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
        if (SpanishText(context.constData(), source.constData(),
                        comment.isEmpty() ? nullptr : comment.constData()) != entry.translation) {
            differ << Describe(key);
        }
    }
    QVERIFY2(differ.isEmpty(), qPrintable(differ.join('\n')));
}

void TranslationTest::noTextBypassesTheLanguageFlags()
{
    // tr() would translate by the application's installed translator, which
    // this program does not install: such a text would never be Spanish.
    QVERIFY2(MarkedTexts().trCalls.isEmpty(), qPrintable(MarkedTexts().trCalls.join('\n')));
}

VELMOR_TEST_MAIN(TranslationTest, shell)
#include "TranslationTest.moc"
