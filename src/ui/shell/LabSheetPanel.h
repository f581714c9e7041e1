// The "Lab sheet" panel docked at the right of the main window: the sheet's
// title and instructions in the interface's language, and its targets as a
// table with the value the run on screen reached and whether each is met.
#pragma once

#include "core/labsheets/SheetGrade.h"

#include <QDockWidget>
#include <QPointer>

#include <optional>

class QLabel;
class QPushButton;
class QTableWidget;
class QTextBrowser;

namespace velmor {

class LabSheetPanel : public QDockWidget {
    Q_OBJECT

public:
    explicit LabSheetPanel(QWidget* parent = nullptr);

    // The sheet shown (its targets with no values yet).
    void showSheet(const LabSheet& sheet);
    // A graded run: each target's value and verdict, and the run's.
    void showGrade(const RunGrade& grade);
    // No run graded yet: the values and verdicts go blank.
    void clearGrade();
    const std::optional<RunGrade>& grade() const { return m_grade; }

    void SetLanguage();
    // Shows the panel and gives it the keyboard, at its first control; F6
    // there gives the keyboard back to where it was.
    void takeFocus();

    QTableWidget* targetTable() const { return m_table; }
    QLabel* verdictLabel() const { return m_verdict; }

signals:
    // "Close Sheet": the sheet goes and its settings are unlocked.
    void closeSheetRequested();

protected:
    void changeEvent(QEvent* event) override;

private:
    void fillTable();
    // F6: into the panel, or back out of it.
    void switchPane();

    std::optional<LabSheet> m_sheet;
    std::optional<RunGrade> m_grade;
    QLabel* m_title = nullptr;
    QTextBrowser* m_instructions = nullptr;
    QTableWidget* m_table = nullptr;
    QLabel* m_verdict = nullptr;
    QPushButton* m_close = nullptr;
    QPointer<QWidget> m_returnTo; // where the keyboard was before the panel took it
};

} // namespace velmor
