// The "New value" keypad: typing filter, on-screen keys, OK conversion and
// range check, Cancel, the keys toggle and its captions.
#include "LanguageScope.h"
#include "ui/exercises/ExerciseWindow.h"
#include "ui/shell/TfrmCalculator.h"

#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

#include <memory>
#include <vector>

using namespace velmor;

namespace {

// An exercise window that records the keypad's calls.
struct RecordingExercise : ExerciseWindow {
    explicit RecordingExercise(VelmorState& s) : state(s) {}
    VelmorState& state;
    std::vector<std::pair<int, float>> calls;
    Exercise exercise() const override { return Exercise::Flow; }
    QWidget* asWidget() override { return nullptr; }
    void InitValues() override {}
    void SetLanguage() override {}
    void UpdateSettings() override {}
    void ShowSettings() override {}
    void SendSettings() override {}
    void UpdateDisplay(int code) override { calls.emplace_back(code, state.keypad.keypadValue); }
    void StopRun() override {}
};

struct Pad {
    std::unique_ptr<VelmorState> state = std::make_unique<VelmorState>();
    std::unique_ptr<RecordingExercise> target = std::make_unique<RecordingExercise>(*state);
    std::unique_ptr<TfrmCalculator> keypad;

    Pad()
    {
        state->shell.currentForm = "frmFlow";
        keypad = std::make_unique<TfrmCalculator>(*state);
        keypad->setTargetLookup([this](const std::string& form) -> ExerciseWindow* {
            return form == "frmFlow" ? target.get() : nullptr;
        });
    }

    void open(float old, float min, float max, int code)
    {
        KeypadState& k = state->keypad;
        k.keypadOld = old;
        k.keypadMin = min;
        k.keypadMax = max;
        k.keypadTarget = code;
        keypad->showFor();
    }

    void type(const QString& keys) { QTest::keyClicks(keypad->txtValue, keys); }

    // OK, answering a message box if one comes; returns its text.
    QString ok()
    {
        auto text = std::make_shared<QString>();
        // The answer belongs to this OK only: it goes with `guard`.
        QObject guard;
        QTimer::singleShot(0, &guard, [text] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                *text = box->text();
                box->accept();
            }
        });
        keypad->btnOK->click();
        return *text;
    }
};

} // namespace

class KeypadTest : public QObject {
    Q_OBJECT

private slots:
    void showingFillsTheWindow();
    void rangeIsInclusive();
    void decimalMarkRules();
    void eighthDecimalIsRefused();
    void typingFilter();
    void onScreenKeys();
    void cancelAndCloseKeepTheOldValue();
    void notANumber();
    void keysToggle();
    void spanishTexts();
    void newCallerWhileOpen();
    void commaLocale();
    void largeFonts();
};

void KeypadTest::showingFillsTheWindow()
{
    Pad pad;
    pad.state->keypad.keypadTarget = 3;
    pad.open(0.8f, 0.01f, 999, 3);
    QVERIFY(pad.keypad->isVisible());
    QCOMPARE(pad.keypad->windowTitle(), QStringLiteral("New value"));
    QCOMPARE(pad.keypad->size(), QSize(260, 321));
    QCOMPARE(pad.keypad->lblMaxValue->text(), QStringLiteral("999"));
    QCOMPARE(pad.keypad->lblMinValue->text(), QStringLiteral("0.01"));
    QCOMPARE(pad.keypad->txtOldValue->text(), QStringLiteral("0.8"));
    QVERIFY(pad.keypad->txtValue->text().isEmpty());
    QVERIFY(!pad.keypad->btnOK->isEnabled());
    QVERIFY(pad.state->keypad.suppressWaveformClick);
    QCOMPARE(pad.state->keypad.keypadTargetCopy, 3);
    pad.type(QStringLiteral("1"));
    QVERIFY(pad.keypad->btnOK->isEnabled());
    pad.keypad->hide();
    QVERIFY(!pad.state->keypad.suppressWaveformClick);
    // PB shows its maximum with five digits.
    pad.open(100, 1, 10000, 2);
    QCOMPARE(pad.keypad->lblMaxValue->text(), QStringLiteral("10000"));
}

void KeypadTest::rangeIsInclusive()
{
    Pad pad;
    pad.open(50, 0, 100, 5);
    pad.type(QStringLiteral("100.01"));
    QCOMPARE(pad.ok(), QStringLiteral("Out of Range"));
    QVERIFY(pad.target->calls.empty());
    QVERIFY(pad.keypad->isVisible());
    QVERIFY(pad.keypad->txtValue->text().isEmpty());
    QCOMPARE(pad.state->keypad.keypadValue, 50.0f);
    // After the refusal a decimal mark can be typed again.
    pad.type(QStringLiteral("99.5"));
    QCOMPARE(pad.keypad->txtValue->text(), QStringLiteral("99.5"));
    pad.keypad->btnCClick();
    pad.type(QStringLiteral("100"));
    QCOMPARE(pad.ok(), QString());
    QCOMPARE(pad.target->calls.size(), std::size_t{1});
    QCOMPARE(pad.target->calls[0].first, 5);
    QCOMPARE(pad.target->calls[0].second, 100.0f);
    QVERIFY(!pad.keypad->isVisible());
    // The lower limit is inclusive too; below it is refused.
    pad.open(1, 0.01f, 100, 1);
    pad.type(QStringLiteral("0.01"));
    QCOMPARE(pad.ok(), QString());
    QCOMPARE(pad.target->calls.back().second, 0.01f);
    pad.open(1, 0.01f, 100, 1);
    pad.type(QStringLiteral("0.009"));
    QCOMPARE(pad.ok(), QStringLiteral("Out of Range"));
    QCOMPARE(pad.target->calls.size(), std::size_t{2});
}

void KeypadTest::decimalMarkRules()
{
    Pad pad;
    pad.open(1, 0, 100, 1);
    pad.type(QStringLiteral("5,"));
    pad.ok();
    QCOMPARE(pad.target->calls.back().second, 5.0f);
    pad.open(1, 0, 100, 1);
    pad.type(QStringLiteral(",5"));
    pad.ok();
    QCOMPARE(pad.target->calls.back().second, 0.5f);
    pad.open(1, 0, 100, 1);
    pad.type(QStringLiteral("12.5"));
    pad.ok();
    QCOMPARE(pad.target->calls.back().second, 12.5f);
    // A second mark has no effect; backspace over the mark allows a new one.
    pad.open(1, 0, 100, 1);
    pad.type(QStringLiteral("1.2.,3"));
    QCOMPARE(pad.keypad->txtValue->text(), QStringLiteral("1.23"));
    pad.keypad->btnCClick();
    pad.type(QStringLiteral("1."));
    QTest::keyClick(pad.keypad->txtValue, Qt::Key_Backspace);
    QVERIFY(!pad.state->keypad.separatorTyped);
    pad.type(QStringLiteral(",7"));
    QCOMPARE(pad.keypad->txtValue->text(), QStringLiteral("1,7"));
}

void KeypadTest::eighthDecimalIsRefused()
{
    Pad pad;
    pad.open(1, 0, 100, 1);
    pad.type(QStringLiteral("1.123456789"));
    QCOMPARE(pad.keypad->txtValue->text(), QStringLiteral("1.1234567"));
    pad.ok();
    QCOMPARE(pad.target->calls.back().second, 1.1234567f);
    // The on-screen keys obey the same limit.
    pad.open(1, 0, 100, 1);
    pad.keypad->btnDotClick();
    for (int k = 0; k < 9; ++k) {
        pad.keypad->btnDigits[3]->click();
    }
    QCOMPARE(pad.keypad->txtValue->text(), QStringLiteral(".3333333"));
    // A mark put in front of eight digits would make eight decimals.
    pad.keypad->btnCClick();
    pad.type(QStringLiteral("12345678"));
    pad.keypad->txtValue->setCursorPosition(0);
    pad.type(QStringLiteral("."));
    QCOMPARE(pad.keypad->txtValue->text(), QStringLiteral("12345678"));
}

void KeypadTest::typingFilter()
{
    Pad pad;
    pad.open(1, 0, 100, 1);
    pad.type(QStringLiteral("a1-2 +e3"));
    QCOMPARE(pad.keypad->txtValue->text(), QStringLiteral("123"));
    QTest::keyClick(pad.keypad->txtValue, Qt::Key_Backspace);
    QTest::keyClick(pad.keypad->txtValue, Qt::Key_Backspace);
    QTest::keyClick(pad.keypad->txtValue, Qt::Key_Backspace);
    QVERIFY(!pad.keypad->btnOK->isEnabled());
    // Enter acts on OK, Escape on Cancel.
    pad.type(QStringLiteral("7"));
    QTest::keyClick(pad.keypad->txtValue, Qt::Key_Return);
    QCOMPARE(pad.target->calls.back().second, 7.0f);
    QVERIFY(!pad.keypad->isVisible());
    pad.open(1, 0, 100, 1);
    pad.type(QStringLiteral("8"));
    QTest::keyClick(pad.keypad->txtValue, Qt::Key_Escape);
    QVERIFY(!pad.keypad->isVisible());
    QCOMPARE(pad.target->calls.size(), std::size_t{1});
}

void KeypadTest::onScreenKeys()
{
    Pad pad;
    pad.open(1, 0, 100, 4);
    // Laid out as on a calculator: C and the back key, 7 8 9, 4 5 6, 1 2 3,
    // then 0 (under 1) and the decimal mark.
    const auto at = [&](QPushButton* b) { return b->geometry().topLeft(); };
    const auto& digit = pad.keypad->btnDigits;
    int above = at(pad.keypad->btnC).y();
    for (const std::size_t first : {7u, 4u, 1u}) {
        const QPoint left = at(digit[first]);
        QVERIFY(left.y() > above);
        QCOMPARE(left.x(), at(pad.keypad->btnC).x());
        for (std::size_t k = 1; k < 3; ++k) {
            QCOMPARE(at(digit[first + k]).y(), left.y());
            QVERIFY(at(digit[first + k]).x() > at(digit[first + k - 1]).x());
        }
        above = left.y();
    }
    QVERIFY(at(digit[0]).y() > above);
    QCOMPARE(at(digit[0]).x(), at(digit[1]).x());
    QCOMPARE(at(pad.keypad->btnDot).y(), at(digit[0]).y());
    pad.keypad->btnDigits[4]->click();
    pad.keypad->btnDigits[2]->click();
    pad.keypad->btnDot->click();
    pad.keypad->btnDot->click();
    pad.keypad->btnDigits[0]->click();
    pad.keypad->btnDigits[5]->click();
    QCOMPARE(pad.keypad->txtValue->text(), QStringLiteral("42.05"));
    QCOMPARE(pad.keypad->btnDot->text(), QStringLiteral("."));
    pad.keypad->btnBackSpace->click();
    pad.keypad->btnBackSpace->click();
    pad.keypad->btnBackSpace->click();
    QVERIFY(!pad.state->keypad.separatorTyped);
    pad.keypad->btnBackSpace->click();
    pad.keypad->btnBackSpace->click();
    QVERIFY(!pad.keypad->btnOK->isEnabled());
    pad.keypad->btnDigits[9]->click();
    pad.keypad->btnC->click();
    QVERIFY(pad.keypad->txtValue->text().isEmpty());
    QVERIFY(!pad.keypad->btnOK->isEnabled());
    pad.keypad->btnDigits[9]->click();
    pad.ok();
    QCOMPARE(pad.target->calls.back(), std::make_pair(4, 9.0f));
}

void KeypadTest::cancelAndCloseKeepTheOldValue()
{
    Pad pad;
    pad.open(3.5f, 0, 100, 1);
    pad.type(QStringLiteral("7"));
    pad.keypad->btnCancel->click();
    QCOMPARE(pad.state->keypad.keypadValue, 3.5f);
    QVERIFY(pad.target->calls.empty());
    QVERIFY(!pad.keypad->isVisible());
    pad.open(2.5f, 0, 100, 1);
    pad.type(QStringLiteral("7"));
    pad.keypad->close();
    QCOMPARE(pad.state->keypad.keypadValue, 2.5f);
    QVERIFY(pad.target->calls.empty());
    // With no open exercise of that name no window is called.
    pad.state->shell.currentForm = "frmMain";
    pad.open(2.5f, 0, 100, 1);
    pad.type(QStringLiteral("7"));
    pad.ok();
    QVERIFY(pad.target->calls.empty());
    QVERIFY(!pad.keypad->isVisible());
}

void KeypadTest::notANumber()
{
    // The message quotes the text as typed and names the kind of number
    // the box takes, in the language in force.
    const struct {
        QString typed;
        bool whole;
        bool spanish;
        const char* message;
    } cases[] = {
        {QStringLiteral("."), false, false, "'.' is not a valid floating point value"},
        {QStringLiteral(","), true, false, "'.' is not a valid integer value"},
        {QStringLiteral("."), false, true, "'.' no es un número decimal válido"},
        {QStringLiteral("."), true, true, "'.' no es un número entero válido"},
    };
    for (const auto& c : cases) {
        Pad pad;
        const LanguageScope language(pad.state->shell,
                                     c.spanish ? Language::Spanish : Language::English);
        pad.state->keypad.keypadWhole = c.whole;
        pad.open(1, 0, 100, 1);
        pad.type(c.typed);
        const QString typed = pad.keypad->txtValue->text();
        QString expected = QString::fromUtf8(c.message);
        expected.replace(QStringLiteral("'.'"), QLatin1Char('\'') + typed + QLatin1Char('\''));
        QCOMPARE(pad.ok(), expected);
        QVERIFY(pad.keypad->isVisible());
        QCOMPARE(pad.keypad->txtValue->text(), typed);
        QVERIFY(pad.target->calls.empty());
    }
}

void KeypadTest::keysToggle()
{
    Pad pad;
    pad.open(1, 0, 100, 1);
    QCOMPARE(pad.keypad->btnKeypad->text(), QStringLiteral("Keypad <--"));
    pad.keypad->btnKeypad->click();
    QCOMPARE(pad.keypad->btnKeypad->text(), QStringLiteral("Keypad -->"));
    QCOMPARE(pad.keypad->height(), 163);
    QVERIFY(!pad.keypad->keysShown());
    // Hidden keys stay hidden at the next showing.
    pad.keypad->btnCancel->click();
    pad.open(1, 0, 100, 1);
    QCOMPARE(pad.keypad->height(), 163);
    QCOMPARE(pad.keypad->btnKeypad->text(), QStringLiteral("Keypad -->"));
    pad.keypad->btnKeypad->click();
    QCOMPARE(pad.keypad->height(), 321);
    QCOMPARE(pad.keypad->btnKeypad->text(), QStringLiteral("Keypad <--"));
    QVERIFY(pad.keypad->txtValue->hasFocus() || !pad.keypad->isActiveWindow());
}

void KeypadTest::spanishTexts()
{
    Pad pad;
    pad.keypad->btnKeypadClick();
    const LanguageScope inSpanish(pad.state->shell, Language::Spanish);
    QCOMPARE(pad.keypad->windowTitle(), QStringLiteral("Nuevo valor"));
    QCOMPARE(pad.keypad->lblMinimum->text(), QString::fromUtf8("Valor mínimo"));
    QCOMPARE(pad.keypad->lblMaximum->text(), QString::fromUtf8("Valor máximo"));
    QCOMPARE(pad.keypad->lblOld->text(), QStringLiteral("Valor antiguo"));
    // One English text, two Spanish ones: the caption and the label differ.
    QCOMPARE(pad.keypad->lblNew->text(), QStringLiteral("Valor nuevo"));
    QCOMPARE(pad.keypad->btnCancel->text(), QStringLiteral("Cancelar"));
    QCOMPARE(pad.keypad->btnKeypad->text(), QStringLiteral("Teclado -->"));
    QCOMPARE(pad.keypad->btnOK->text(), QStringLiteral("OK"));
}

void KeypadTest::newCallerWhileOpen()
{
    // A second box clicked while the keypad is open takes it over: its
    // limits are shown and its code is the one called.
    Pad pad;
    pad.open(1, 0.01f, 100, 1);
    pad.type(QStringLiteral("5"));
    pad.open(0, 0, 999, 4);
    QCOMPARE(pad.keypad->lblMaxValue->text(), QStringLiteral("999"));
    QVERIFY(pad.keypad->txtValue->text().isEmpty());
    pad.type(QStringLiteral("500"));
    pad.ok();
    QCOMPARE(pad.target->calls.back(), std::make_pair(4, 500.0f));
}

void KeypadTest::commaLocale()
{
    // Where the system writes 0.5 as "0,5" the mark key shows "," and the
    // limits use the comma; the key still types ".".
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
    Pad pad;
    QLocale::setDefault(QLocale::c());
    QCOMPARE(pad.keypad->btnDot->text(), QStringLiteral(","));
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
    pad.open(0.8f, 0.01f, 999, 3);
    QLocale::setDefault(QLocale::c());
    QCOMPARE(pad.keypad->lblMinValue->text(), QStringLiteral("0,01"));
    QCOMPARE(pad.keypad->txtOldValue->text(), QStringLiteral("0,8"));
    pad.keypad->btnDigits[2]->click();
    pad.keypad->btnDot->click();
    pad.keypad->btnDigits[5]->click();
    QCOMPARE(pad.keypad->txtValue->text(), QStringLiteral("2.5"));
    pad.ok();
    QCOMPARE(pad.target->calls.back().second, 2.5f);
}

void KeypadTest::largeFonts()
{
    Pad pad;
    pad.state->shell.largeFonts = true;
    TfrmCalculator keypad(*pad.state);
    QCOMPARE(keypad.size(), QSize(313, 395));
    QVERIFY(keypad.btnOK->y() >= 121);
    keypad.btnKeypadClick();
    QCOMPARE(keypad.height(), 194);
    keypad.btnKeypadClick();
    QCOMPARE(keypad.height(), 395);
}

VELMOR_TEST_MAIN(KeypadTest, shell)
#include "KeypadTest.moc"
