#include "ui/shell/TfrmCalculator.h"

#include "core/shell/KeypadEntry.h"
#include "ui/common/Language.h"
#include "ui/common/ValueBox.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>

namespace velmor {

namespace {

constexpr const char* kCalculatorContext = "TfrmCalculator";

constexpr int kWidth = 260;
constexpr int kHeightKeys = 321;
constexpr int kHeightNoKeys = 163;
constexpr int kLargeWidth = 313;
constexpr int kLargeHeightKeys = 395;
constexpr int kLargeHeightNoKeys = 194;

bool IsMark(QChar c)
{
    return c == QLatin1Char('.') || c == QLatin1Char(',');
}

bool HasMark(const QString& text)
{
    return text.contains(QLatin1Char('.')) || text.contains(QLatin1Char(','));
}

// Whether a whole entry could have been typed key by key.
bool Typeable(const QString& text)
{
    const std::string entry = text.toStdString();
    for (std::size_t k = 0; k < entry.size(); ++k) {
        if (!KeypadAcceptsChar(std::string_view(entry).substr(0, k), entry[k])) {
            return false;
        }
    }
    return true;
}

} // namespace

TfrmCalculator::TfrmCalculator(VelmorState& state, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_state(state)
{
    setWindowTitle(QStringLiteral("New value"));
    const bool large = m_state.shell.largeFonts;
    setFixedSize(large ? kLargeWidth : kWidth, large ? kLargeHeightKeys : kHeightKeys);

    buildEntry(large);
    buildButtons();
    buildKeys(large);

    txtValue->setFocus();
    SetLanguage();
}

// The limits, the old value and the entry.
void TfrmCalculator::buildEntry(bool large)
{
    const QFont labelFont = PanelFont(large ? 10 : 9, false);
    const QFont valueFont = PanelFont(large ? 10 : 9);
    const auto label = [&](int x, int y, int w, Qt::Alignment align, const QFont& font) {
        auto* l = new QLabel(this);
        l->setGeometry(scaled(x), scaled(y), scaled(w), scaled(18));
        l->setAlignment(align | Qt::AlignVCenter);
        l->setFont(font);
        return l;
    };
    lblMinimum = label(12, 8, 124, Qt::AlignLeft, labelFont);
    lblMinValue = label(140, 8, 108, Qt::AlignRight, valueFont);
    lblMaximum = label(12, 28, 124, Qt::AlignLeft, labelFont);
    lblMaxValue = label(140, 28, 108, Qt::AlignRight, valueFont);
    lblOld = label(12, 54, 124, Qt::AlignLeft, labelFont);
    lblNew = label(12, 82, 124, Qt::AlignLeft, labelFont);

    txtOldValue = new QLineEdit(this);
    txtOldValue->setGeometry(scaled(140), scaled(52), scaled(108), scaled(22));
    txtOldValue->setEnabled(false);
    txtOldValue->setAlignment(Qt::AlignRight);
    txtOldValue->setFont(valueFont);
    txtValue = new QLineEdit(this);
    txtValue->setGeometry(scaled(140), scaled(80), scaled(108), scaled(22));
    txtValue->setAlignment(Qt::AlignRight);
    txtValue->setFont(valueFont);
    txtValue->setContextMenuPolicy(Qt::NoContextMenu);
    txtValue->setAcceptDrops(false);
    txtValue->installEventFilter(this);
    connect(txtValue, &QLineEdit::textChanged, this, [this](const QString& text) {
        // The flag always tells whether the entry holds its one decimal mark,
        // also after edits the keys do not make (Delete, an emptied entry).
        m_state.keypad.separatorTyped = HasMark(text);
        btnOK->setEnabled(!text.isEmpty());
    });
}

QPushButton* TfrmCalculator::button(int x, int y, int w, int h)
{
    auto* b = new QPushButton(this);
    b->setGeometry(scaled(x), scaled(y), scaled(w), scaled(h));
    return b;
}

// OK, Cancel and the key that shows or hides the keypad.
void TfrmCalculator::buildButtons()
{
    btnOK = button(12, 118, 70, 28);
    btnOK->setText(QStringLiteral("OK"));
    btnOK->setDefault(true);
    btnOK->setEnabled(false);
    btnCancel = button(88, 118, 70, 28);
    btnKeypad = button(164, 118, 84, 28);
    btnKeypad->setText(QStringLiteral("Keypad <--"));
    connect(btnOK, &QPushButton::clicked, this, &TfrmCalculator::btnOKClick);
    connect(btnCancel, &QPushButton::clicked, this, &TfrmCalculator::btnCancelClick);
    connect(btnKeypad, &QPushButton::clicked, this, &TfrmCalculator::btnKeypadClick);
}

void TfrmCalculator::buildKeys(bool large)
{
    // Telephone-style pad: C and backspace, 7 8 9, 4 5 6, 1 2 3, 0 and the mark.
    const QFont keyFont = PanelFont(large ? 12 : 11);
    const int left = 43;
    const int pitch = 62;
    const auto key = [&](int x, int y, int w) {
        QPushButton* b = button(x, y, w, 26);
        b->setFont(keyFont);
        b->setFocusPolicy(Qt::NoFocus); // not in the tab order
        b->setCursor(Qt::PointingHandCursor);
        return b;
    };
    btnC = key(left, 168, 56);
    btnC->setText(QStringLiteral("C"));
    btnBackSpace = key(left + pitch, 168, 56 + pitch);
    btnBackSpace->setText(QString::fromUtf8("\u2190"));
    for (int digit = 1; digit <= 9; ++digit) {
        const int row = 2 - (digit - 1) / 3;
        const int column = (digit - 1) % 3;
        btnDigits[static_cast<std::size_t>(digit)] = key(left + column * pitch, 200 + row * 29, 56);
    }
    btnDigits[0] = key(left, 287, 56 + pitch);
    btnDot = key(left + 2 * pitch, 287, 56);
    for (int digit = 0; digit <= 9; ++digit) {
        QPushButton* b = btnDigits[static_cast<std::size_t>(digit)];
        b->setText(QString::number(digit));
        connect(b, &QPushButton::clicked, this, [this, digit] { btn0Click(digit); });
    }
    // The key shows the system's decimal mark; it always types ".".
    btnDot->setText(QLocale().toString(0.5).contains(QLatin1Char(',')) ? QStringLiteral(",")
                                                                       : QStringLiteral("."));
    connect(btnDot, &QPushButton::clicked, this, &TfrmCalculator::btnDotClick);
    connect(btnC, &QPushButton::clicked, this, &TfrmCalculator::btnCClick);
    connect(btnBackSpace, &QPushButton::clicked, this, &TfrmCalculator::btnBackSpaceClick);
}

int TfrmCalculator::scaled(int pixels) const
{
    return m_state.shell.largeFonts ? pixels * 6 / 5 : pixels;
}

bool TfrmCalculator::keysShown() const
{
    return !btnKeypad->text().endsWith(QLatin1Char('>'));
}

void TfrmCalculator::SetLanguage()
{
    const auto text = [](const char* english) {
        return QCoreApplication::translate(kCalculatorContext, english);
    };
    setWindowTitle(text(QT_TRANSLATE_NOOP("TfrmCalculator", "New value")));
    lblMinimum->setText(text(QT_TRANSLATE_NOOP("TfrmCalculator", "Minimum value")));
    lblMaximum->setText(text(QT_TRANSLATE_NOOP("TfrmCalculator", "Maximum value")));
    lblOld->setText(text(QT_TRANSLATE_NOOP("TfrmCalculator", "Old value")));
    // The caption and this label read alike in English but not in Spanish.
    static constexpr struct {
        const char* source;
        const char* comment;
    } newValueLabel = QT_TRANSLATE_NOOP3("TfrmCalculator", "New value", "label");
    lblNew->setText(QCoreApplication::translate(kCalculatorContext, newValueLabel.source,
                                                newValueLabel.comment));
    btnCancel->setText(text(QT_TRANSLATE_NOOP("TfrmCalculator", "Cancel")));
    btnKeypad->setText(btnKeypad->text().endsWith(QLatin1Char('>'))
                           ? text(QT_TRANSLATE_NOOP("TfrmCalculator", "Keypad -->"))
                           : text(QT_TRANSLATE_NOOP("TfrmCalculator", "Keypad <--")));
    // The edits read as their labels; the keypad key without its arrow.
    txtOldValue->setAccessibleName(lblOld->text());
    txtValue->setAccessibleName(lblNew->text());
    btnKeypad->setAccessibleName(btnKeypad->text().chopped(4));
}

void TfrmCalculator::showFor()
{
    if (isVisible()) {
        FormShow();
    } else {
        if (!m_placed && parentWidget() != nullptr) {
            // First showing: over the middle of the main window.
            const QRect frame = parentWidget()->frameGeometry();
            move(frame.center() - QPoint(width() / 2, height() / 2));
            m_placed = true;
        }
        show();
    }
    raise();
    activateWindow();
}

void TfrmCalculator::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    FormShow();
}

void TfrmCalculator::FormShow()
{
    KeypadState& k = m_state.keypad;
    k.keypadTargetCopy = k.keypadTarget;
    btnOK->setEnabled(false);
    lblMaxValue->setText(FormatGeneral(k.keypadMax, 5));
    lblMinValue->setText(FormatGeneral(k.keypadMin, 4));
    txtOldValue->setText(FormatGeneral(k.keypadOld, 4));
    txtValue->clear();
    txtValue->setFocus();
    k.separatorTyped = false;
    k.suppressWaveformClick = true;
}

void TfrmCalculator::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    m_state.keypad.suppressWaveformClick = false;
}

void TfrmCalculator::closeEvent(QCloseEvent* event)
{
    m_state.keypad.keypadValue = m_state.keypad.keypadOld;
    QWidget::closeEvent(event);
}

void TfrmCalculator::btn0Click(int digit)
{
    const QString text = txtValue->text() + QString::number(digit);
    // The eighth digit after the mark would give a value far from the text.
    if (!Typeable(text)) {
        return;
    }
    txtValue->setText(text);
    btnOK->setEnabled(true);
}

void TfrmCalculator::btnDotClick()
{
    if (!m_state.keypad.separatorTyped) {
        txtValue->setText(txtValue->text() + QLatin1Char('.'));
        m_state.keypad.separatorTyped = true;
    }
}

void TfrmCalculator::btnCClick()
{
    txtValue->clear();
    btnOK->setEnabled(false);
    m_state.keypad.separatorTyped = false;
}

void TfrmCalculator::btnBackSpaceClick()
{
    QString text = txtValue->text();
    if (!text.isEmpty() && IsMark(text.back())) {
        m_state.keypad.separatorTyped = false;
    }
    text.chop(1);
    txtValue->setText(text);
    if (text.isEmpty()) {
        btnOK->setEnabled(false);
    }
}

bool TfrmCalculator::txtValueKeyPress(const QString& typed)
{
    if (typed.size() != 1) {
        return typed.isEmpty(); // keys without text (arrows, Home) pass
    }
    const QChar c = typed.front();
    if (c == QLatin1Char('\b')) {
        if (txtValue->text().endsWith(QLatin1Char('.')) ||
            txtValue->text().endsWith(QLatin1Char(','))) {
            m_state.keypad.separatorTyped = false;
        }
        return true;
    }
    if (!IsMark(c) && !c.isDigit()) {
        return false;
    }
    if (IsMark(c) && m_state.keypad.separatorTyped) {
        return false;
    }
    // The entry as it would be after this key, wherever the caret stands.
    QString after = txtValue->text();
    const int start =
        txtValue->hasSelectedText() ? txtValue->selectionStart() : txtValue->cursorPosition();
    after.remove(start, txtValue->selectedText().size());
    after.insert(start, c);
    if (!Typeable(after)) {
        return false;
    }
    if (IsMark(c)) {
        m_state.keypad.separatorTyped = true;
    }
    return true;
}

bool TfrmCalculator::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == txtValue && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            if (btnOK->isEnabled()) {
                btnOKClick();
            }
            return true;
        }
        if (key->key() == Qt::Key_Escape) {
            btnCancelClick();
            return true;
        }
        if (key->key() == Qt::Key_Backspace) {
            txtValueKeyPress(QStringLiteral("\b"));
            return false;
        }
        if (key->key() == Qt::Key_Delete) {
            return false;
        }
        // Paste, cut and every other key with a text go through the filter.
        if (key->matches(QKeySequence::Paste) || key->matches(QKeySequence::Cut)) {
            return true;
        }
        return !txtValueKeyPress(key->text());
    }
    return QWidget::eventFilter(watched, event);
}

void TfrmCalculator::warn(const QString& text)
{
    QMessageBox box(QMessageBox::Warning, windowTitle(), text, QMessageBox::Ok, this);
    // A message box sizes itself to its text; a short text would leave the
    // title bar too narrow for the caption. Room for the caption and the
    // title bar's buttons keeps it readable.
    const int titleWidth = box.fontMetrics().horizontalAdvance(windowTitle()) + 140;
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
        grid->addItem(new QSpacerItem(titleWidth, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
    }
    box.exec();
    // The keypad stays open for the next try: typing goes on in it.
    raise();
    activateWindow();
    txtValue->setFocus();
}

void TfrmCalculator::btnOKClick()
{
    const QString text = txtValue->text();
    if (text.isEmpty()) {
        return;
    }
    KeypadState& k = m_state.keypad;
    const std::optional<float> value = KeypadTextValue(text.toStdString());
    if (!value) {
        // The text as typed, and the kind of number this box takes.
        warn(QCoreApplication::translate(
                 kCalculatorContext,
                 k.keypadWhole
                     ? QT_TRANSLATE_NOOP("TfrmCalculator", "'%1' is not a valid integer value")
                     : QT_TRANSLATE_NOOP("TfrmCalculator",
                                         "'%1' is not a valid floating point value"))
                 .arg(text));
        return;
    }
    k.keypadValue = *value;
    if (!KeypadInRange(k.keypadValue, k.keypadMin, k.keypadMax)) {
        txtValue->clear();
        k.keypadValue = k.keypadOld;
        warn(QCoreApplication::translate(kCalculatorContext,
                                         QT_TRANSLATE_NOOP("TfrmCalculator", "Out of Range")));
        return;
    }
    if (m_lookup) {
        if (ExerciseWindow* target = m_lookup(m_state.shell.currentForm)) {
            target->UpdateDisplay(k.keypadTargetCopy);
        }
    }
    hide();
}

void TfrmCalculator::btnCancelClick()
{
    m_state.keypad.keypadValue = m_state.keypad.keypadOld;
    hide();
}

void TfrmCalculator::btnKeypadClick()
{
    QString caption = btnKeypad->text();
    caption.chop(3);
    if (keysShown()) {
        // 121 pixels down, btnOK has been scaled up by large fonts.
        setFixedHeight(btnOK->y() >= 121 ? kLargeHeightNoKeys : kHeightNoKeys);
        btnKeypad->setText(caption + QStringLiteral("-->"));
    } else {
        setFixedHeight(m_state.shell.largeFonts ? kLargeHeightKeys : kHeightKeys);
        btnKeypad->setText(caption + QStringLiteral("<--"));
    }
    txtValue->setFocus();
}

void TfrmCalculator::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        SetLanguage();
    }
    QWidget::changeEvent(event);
}

} // namespace velmor
