// The figures of the run in the log, per controlled loop and settings
// segment: the settings in force, IAE, and the first step's overshoot,
// settling and rise times. The segment under the Trends cursor is
// highlighted; the table can be copied as text for a report. Below it, the
// chosen segment's other sums and every one of its steps, the start step
// named "start".
#pragma once

#include "core/analysis/ResponseFigures.h"
#include "core/rundata/State.h"

#include <QWidget>

#include <functional>

class QLabel;
class QPushButton;
class QTableWidget;

namespace velmor {

class TfrmRunFigures : public QWidget {
    Q_OBJECT

public:
    // `cursorRecord` gives the record under the Trends window's cursor line,
    // 0 while no line is shown.
    TfrmRunFigures(VelmorState& state, std::function<int()> cursorRecord,
                   QWidget* parent = nullptr);

    // Figures of the run now in the log, for the open exercise.
    void Refresh(Exercise exercise);
    void SetLanguage();
    // The table as tab-separated text, one line per row, headers first.
    QString tableText() const;
    // The row of the segment holding the Trends cursor's record, or -1.
    int highlightedRow() const;

    QTableWidget* grdFigures = nullptr;
    QTableWidget* grdSteps = nullptr; // the shown segment's steps
    QLabel* lblSegment = nullptr;     // the shown segment's ISE, ITAE, output variation
    QPushButton* btnCopy = nullptr;
    QPushButton* btnClose = nullptr;
    QLabel* lblNoData = nullptr;
    QLabel* lblNote = nullptr; // which step the step figures are of

protected:
    void showEvent(QShowEvent* event) override;

protected:
    // The language switch: QEvent::LanguageChange runs SetLanguage.
    void changeEvent(QEvent* event) override;

private:
    void fill();
    void highlightCursorSegment();
    // The segment shown below the table: the selected row's, else the first.
    int shownRow() const;
    void showSegment();

    VelmorState& m_state;
    std::function<int()> m_cursorRecord;
    Exercise m_exercise = Exercise::Flow;
    RunFigures m_figures;
    // Per table row: the loop and the segment's first and last records.
    struct RowSpan {
        int first = 0;
        int last = 0;
        const LoopFigures* loop = nullptr;
        const SegmentFigures* segment = nullptr; // in m_figures
    };
    std::vector<RowSpan> m_rows;
};

} // namespace velmor
