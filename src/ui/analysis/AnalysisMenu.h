// The main window's Analysis menu: the figures of the run in the log, a
// step test of an Open-loop run with tunings for the Flow window, and the
// run as a spreadsheet table. Disabled with the other menus during a run; its
// items describe only the run the Trends window shows. It sees the window
// that hosts it through AnalysisHost alone, so it needs nothing of the
// shell.
#pragma once

#include "core/analysis/StepFit.h"
#include "core/exercises/Exercise.h"
#include "core/rundata/State.h"
#include "ui/analysis/AnalysisHost.h"

#include <QObject>
#include <QPointer>

#include <utility>
#include <vector>

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

namespace velmor {

class TfrmRunFigures;
class TfrmStepTest;
class TuningMapWindow;

class AnalysisMenu : public QObject {
    Q_OBJECT

public:
    // Adds the menu to the bar, before `before` (the Help menu); `window`
    // (the host's) is the parent of the menu's windows and boxes.
    AnalysisMenu(VelmorState& state, AnalysisHost* host, QWidget* window, QMenuBar* bar,
                 QAction* before);
    ~AnalysisMenu() override;

    void SetLanguage();
    void setEnabled(bool enabled);
    // What the Trends window shows changed; `shown`: the main window's rule
    // (a finished run or an opened file). The items follow it, and an open
    // figures or step-test window shows the new run or goes.
    void followTrend(bool shown);

    QMenu* mnuAnalysis = nullptr;
    QAction* mnuAnalysisFigures = nullptr;
    QAction* mnuAnalysisStepTest = nullptr;
    QAction* mnuAnalysisTuningMap = nullptr;
    QAction* mnuAnalysisExport = nullptr;
    QAction* mnuAnalysisCompare = nullptr;
    QAction* mnuAnalysisClearCompare = nullptr;
    QAction* mnuAnalysisLabSheet = nullptr;

    TfrmRunFigures* figuresWindow() const;
    TfrmStepTest* stepTestWindow() const;
    TuningMapWindow* tuningMapWindow() const;

    // Handlers.
    void mnuAnalysisFiguresClick();
    void mnuAnalysisStepTestClick();
    void mnuAnalysisTuningMapClick();
    // Enters (keypad code, value) pairs in the open exercise window as the
    // keypad's OK does, one after the other in one event, so that a run in
    // progress takes them in one settings segment. False when no loop
    // window of the map's exercise is open.
    bool enterValues(Exercise exercise, const std::vector<std::pair<int, float>>& entries);
    // Writes the run to `path` (the file dialog's choice); returns the
    // reason when it could not, empty when written.
    QString exportCsv(const QString& path);
    // Opens Flow and enters a tuning's PG, I and D as the keypad does.
    void useInFlow(const FlowTuning& tuning);
    // Shows the run saved in `path` behind the open exercise's trend; the
    // log and the settings stay as they are. Returns why not, empty when
    // shown.
    QString compareWith(const QString& path);
    void mnuAnalysisClearCompareClick();

private:
    void mnuAnalysisExportClick();
    void mnuAnalysisCompareClick();
    // Items follow what is open and what the log holds.
    void updateItems();
    void clearCompareText();

    VelmorState& m_state;
    AnalysisHost* m_host;
    QWidget* m_window;
    QPointer<TfrmRunFigures> m_figures;
    QPointer<TfrmStepTest> m_stepTest;
    QPointer<TuningMapWindow> m_tuningMap;
};

} // namespace velmor
