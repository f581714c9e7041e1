// The "New value" keypad: the one dialog through which a numeric setting of
// a loop exercise gets a new value. A window fills the keypad variables of
// the state and shows it; OK hands the value to the exercise named by
// currentForm through its UpdateDisplay.
#pragma once

#include "core/rundata/State.h"
#include "ui/exercises/ExerciseWindow.h"

#include <QWidget>

#include <array>
#include <functional>
#include <string>

class QLabel;
class QLineEdit;
class QPushButton;

namespace velmor {

class TfrmCalculator : public QWidget {
    Q_OBJECT

public:
    // Finds the open exercise window by its name ("frmFlow", ...).
    using TargetLookup = std::function<ExerciseWindow*(const std::string& formName)>;

    explicit TfrmCalculator(VelmorState& state, QWidget* parent = nullptr);

    void setTargetLookup(TargetLookup lookup) { m_lookup = std::move(lookup); }
    void SetLanguage();

    // Shows the keypad for the variables a caller has just set. When it is
    // open already it takes the new caller's values and target.
    void showFor();

    void btn0Click(int digit);
    void btnDotClick();
    void btnCClick();
    void btnBackSpaceClick();
    void btnOKClick();
    void btnCancelClick();
    void btnKeypadClick();

    bool keysShown() const;

    QLabel* lblMinimum = nullptr;
    QLabel* lblMaximum = nullptr;
    QLabel* lblOld = nullptr;
    QLabel* lblNew = nullptr;
    QLabel* lblMinValue = nullptr;
    QLabel* lblMaxValue = nullptr;
    QLineEdit* txtOldValue = nullptr;
    QLineEdit* txtValue = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;
    QPushButton* btnKeypad = nullptr;
    std::array<QPushButton*, 10> btnDigits{};
    QPushButton* btnDot = nullptr;
    QPushButton* btnC = nullptr;
    QPushButton* btnBackSpace = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

protected:
    // The language switch: QEvent::LanguageChange runs SetLanguage.
    void changeEvent(QEvent* event) override;

private:
    void FormShow();
    // A warning over the keypad; afterwards the keypad has the focus again.
    void warn(const QString& text);
    // txtValueKeyPress: whether a typed key may reach the edit box.
    bool txtValueKeyPress(const QString& typed);
    int scaled(int pixels) const;
    // The constructor's parts, called in this order (it is the tab order).
    void buildEntry(bool large);
    void buildButtons();
    void buildKeys(bool large);
    QPushButton* button(int x, int y, int w, int h);

    VelmorState& m_state;
    TargetLookup m_lookup;
    bool m_placed = false;
};

} // namespace velmor
