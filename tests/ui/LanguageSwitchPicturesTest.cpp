// A language chosen while windows are open must leave each of them as it
// would be had it been opened in that language: every text, every picture
// that takes the language, every layout that follows the texts' length.
// The tour of every window is made twice. Once in Spanish from the start;
// once in English, where at each step the language is switched to Spanish
// and the windows compared with the first tour's, then switched back and
// compared with what they were before the switch.
#include "common/PictureProgram.h"
#include "common/WindowTour.h"
#include "ui/mimic/TfrmManual.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace velmor;
using namespace velmor::tools;

namespace {

using Pictures = QMap<QString, QImage>;

Pictures PicturesOf(TfrmMain& m)
{
    Pictures pictures;
    for (const auto& [name, picture] : WindowPictures(m)) {
        pictures.insert(name, picture);
    }
    return pictures;
}

} // namespace

class LanguageSwitchPicturesTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // A blinking text cursor would make two pictures of one window differ.
        QApplication::setCursorFlashTime(0);
        // The history window lists the same runs in both tours.
        QVERIFY(m_history.isValid());
        QVERIFY(KeepTourRuns(m_golden, m_history.path()));
    }

    void switchedWindowsLookAsIfOpenedInSpanish()
    {
        QList<std::pair<QString, Pictures>> spanish;
        {
            PictureProgram program(m_history.path(), false);
            QVERIFY(Tour(*program.main, program.state, true, m_golden, m_sheets,
                         [&](const QString& step) {
                             spanish.append({step, PicturesOf(*program.main)});
                         }));
        }

        // A window that differs is named, and kept in both forms for a look.
        const QString kept = QDir::tempPath() + QStringLiteral("/velmor-language-switch");
        QDir(kept).removeRecursively();
        QDir().mkpath(kept);
        QStringList faults;
        const auto compare = [&](const QString& step, const char* what, const Pictures& seen,
                                 const Pictures& expected) {
            if (seen.keys() != expected.keys()) {
                faults << step + QLatin1String(", ") + QLatin1String(what) + QLatin1String(": ") +
                              seen.keys().join(QLatin1Char(' ')) + QLatin1String(" where ") +
                              expected.keys().join(QLatin1Char(' ')) +
                              QLatin1String(" were expected");
                return;
            }
            for (auto it = seen.cbegin(); it != seen.cend(); ++it) {
                if (it.value() != expected.value(it.key())) {
                    const QString base =
                        QStringLiteral("%1-%2-%3").arg(step, QLatin1String(what), it.key());
                    it.value().save(kept + QLatin1Char('/') + base + QStringLiteral("-seen.png"));
                    expected.value(it.key()).save(kept + QLatin1Char('/') + base +
                                                  QStringLiteral("-expected.png"));
                    faults << base;
                }
            }
        };
        PictureProgram program(m_history.path(), false);
        TfrmMain& m = *program.main;
        const auto choose = [&](Language language) {
            program.state.shell.language = language;
            m.applyPreferences(true);
        };
        int step = 0;
        QVERIFY(Tour(m, program.state, false, m_golden, m_sheets, [&](const QString& name) {
            const auto& [spanishStep, spanishPictures] = spanish.value(step++);
            if (spanishStep != name) {
                faults << name + QLatin1String(" is ") + spanishStep + QLatin1String(" in Spanish");
            }
            // The language is being chosen there.
            if (name == QLatin1String("preferences")) {
                return;
            }
            // At creation the mimic's sump caption reads "SUMP  TANK
            // TEMPERATURE", which no language sets; any switch gives it the
            // language's own.
            if (TfrmManual* mimic = m.manualWindow()) {
                mimic->lblSumpTemperature->setText(QStringLiteral("SUMP TEMPERATURE"));
            }
            const Pictures english = PicturesOf(m);
            choose(Language::Spanish);
            compare(name, "to-spanish", PicturesOf(m), spanishPictures);
            choose(Language::English);
            compare(name, "back-to-english", PicturesOf(m), english);
        }));
        QCOMPARE(step, spanish.size());
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n')) +
                                              QStringLiteral("\n(pictures in %1)").arg(kept)));
    }

private:
    QTemporaryDir m_history;
    const QString m_golden = QStringLiteral(VELMOR_TEST_DATA "/golden");
    const QString m_sheets = QStringLiteral(VELMOR_SOURCE_DIR "/resources/labsheets");
};

VELMOR_TEST_MAIN(LanguageSwitchPicturesTest, shell)
#include "LanguageSwitchPicturesTest.moc"
