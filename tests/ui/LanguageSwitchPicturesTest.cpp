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

namespace velmor::test {

using Pictures = QList<std::pair<QString, QImage>>;

// The pixels that differ between two pictures of one size.
inline qsizetype Differing(const QImage& a, const QImage& b)
{
    qsizetype n = 0;
    for (int y = 0; y < a.height(); ++y) {
        const auto* ra = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        const auto* rb = reinterpret_cast<const QRgb*>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x) {
            n += ra[x] != rb[x] ? 1 : 0;
        }
    }
    return n;
}

class Comparison {
public:
    explicit Comparison(QString folder) : m_folder(std::move(folder)) {}

    // Notes every window of `seen` that differs from its namesake in
    // `expected`, or has none there, keeping both pictures for a look.
    void compare(const QString& step, const QString& what, const Pictures& seen,
                 const Pictures& expected)
    {
        if (seen.size() != expected.size()) {
            m_faults << QStringLiteral("%1, %2: %3 windows where %4 were expected")
                            .arg(step, what)
                            .arg(seen.size())
                            .arg(expected.size());
        }
        for (const auto& [name, picture] : seen) {
            const auto other =
                std::find_if(expected.begin(), expected.end(),
                             [&name](const auto& pair) { return pair.first == name; });
            QString fault;
            if (other == expected.end()) {
                fault = QStringLiteral("no such window expected");
            } else if (other->second.size() != picture.size()) {
                fault = QStringLiteral("%1 x %2 where %3 x %4 were expected")
                            .arg(picture.width())
                            .arg(picture.height())
                            .arg(other->second.width())
                            .arg(other->second.height());
            } else if (const qsizetype n = Differing(picture, other->second); n > 0) {
                fault = QStringLiteral("%1 pixels differ").arg(n);
            }
            if (!fault.isEmpty()) {
                const QString base = QStringLiteral("%1/%2-%3-%4").arg(m_folder, step, what, name);
                picture.save(base + QStringLiteral("-seen.png"));
                if (other != expected.end()) {
                    other->second.save(base + QStringLiteral("-expected.png"));
                }
                m_faults << QStringLiteral("%1, %2, %3: %4").arg(step, what, name, fault);
            }
        }
    }

    void note(const QString& fault) { m_faults << fault; }

    const QStringList& faults() const { return m_faults; }

private:
    QString m_folder;
    QStringList m_faults;
};

} // namespace velmor::test

using namespace velmor::test;

class LanguageSwitchPicturesTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // A blinking text cursor would make two pictures of one window differ.
        QApplication::setCursorFlashTime(0);
        // The history window lists the same runs in both tours.
        QVERIFY(m_history.isValid());
        for (const char* run : {"flow_sine_gain_changes.psm", "open_step_gate.psm"}) {
            QVERIFY(QFile::copy(m_golden + QLatin1Char('/') + QLatin1String(run),
                                m_history.filePath(QLatin1String(run))));
        }
    }

    void switchedWindowsLookAsIfOpenedInSpanish()
    {
        QList<std::pair<QString, Pictures>> spanish;
        {
            PictureProgram program(m_history.path(), false);
            QVERIFY(Tour(*program.main, program.state, true, m_golden, m_sheets,
                         [&](const QString& step) {
                             spanish.append({step, WindowPictures(*program.main)});
                         }));
        }

        const QString kept = QDir::tempPath() + QStringLiteral("/velmor-language-switch");
        QDir(kept).removeRecursively();
        QDir().mkpath(kept);
        Comparison comparison(kept);
        PictureProgram program(m_history.path(), false);
        TfrmMain& m = *program.main;
        ShellState& shell = program.state.shell;
        int step = 0;
        const auto choose = [&](Language language) {
            shell.language = language;
            m.applyPreferences(true);
        };
        QVERIFY(Tour(m, program.state, false, m_golden, m_sheets, [&](const QString& name) {
            if (spanish.value(step).first != name) {
                comparison.note(QStringLiteral("step %1 is %2 in the Spanish tour")
                                    .arg(name, spanish.value(step).first));
            }
            // The language is being chosen there.
            if (name == QLatin1String("preferences")) {
                ++step;
                return;
            }
            // At creation the mimic's sump caption reads "SUMP  TANK
            // TEMPERATURE", which no language sets; any switch gives it the
            // language's own.
            if (TfrmManual* mimic = m.manualWindow()) {
                mimic->lblSumpTemperature->setText(QStringLiteral("SUMP TEMPERATURE"));
            }
            const Pictures english = WindowPictures(m);
            choose(Language::Spanish);
            comparison.compare(name, QStringLiteral("to-spanish"), WindowPictures(m),
                               spanish.value(step).second);
            choose(Language::English);
            comparison.compare(name, QStringLiteral("back-to-english"), WindowPictures(m), english);
            ++step;
        }));
        QCOMPARE(step, spanish.size());
        for (const QString& fault : comparison.faults()) {
            qWarning("%s", qPrintable(fault));
        }
        QVERIFY2(comparison.faults().isEmpty(),
                 qPrintable(comparison.faults().join(QLatin1Char('\n')) +
                            QStringLiteral("\n(pictures in %1)").arg(kept)));
    }

private:
    QTemporaryDir m_history;
    const QString m_golden = QStringLiteral(VELMOR_TEST_DATA "/golden");
    const QString m_sheets = QStringLiteral(VELMOR_SOURCE_DIR "/resources/labsheets");
};

VELMOR_TEST_MAIN(LanguageSwitchPicturesTest, shell)
#include "LanguageSwitchPicturesTest.moc"
