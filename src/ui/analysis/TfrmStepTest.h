// A step test of the flow line from an Open-loop run: each step of the pump
// output with the first-order-plus-dead-time model fitted to the flow's
// answer, the measured and fitted curves of the chosen step, and what the
// tuning rules make of the model in the Flow window's own PG, I and D.
#pragma once

#include "core/analysis/StepFit.h"
#include "core/rundata/State.h"
#include "ui/common/PanelView.h"

#include <QWidget>

#include <vector>

class QLabel;
class QPainter;
class QPushButton;
class QTableWidget;

namespace velmor {

// The measured flow of one step's window and its fitted model, drawn on
// black as the Trends window draws its traces. To the keyboard and a screen
// reader it is a panel item whose value is a summary of the curves.
class StepPlot : public PanelItem {
    Q_OBJECT

public:
    explicit StepPlot(QWidget* parent = nullptr);
    // Times (s), measured flow (L/min) and the model (or none).
    void setCurves(std::vector<double> t, std::vector<double> measured, std::vector<double> fitted);
    const std::vector<double>& fitted() const { return m_fitted; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void paintCurves(QPainter& p);

    std::vector<double> m_t;
    std::vector<double> m_measured;
    std::vector<double> m_fitted;
};

class TfrmStepTest : public QWidget {
    Q_OBJECT

public:
    explicit TfrmStepTest(VelmorState& state, QWidget* parent = nullptr);

    // Fits the Open-loop run now in the log.
    void Refresh();
    void SetLanguage();
    // Shows one step (row of the step table): its curves and its tunings.
    void showStep(int row);

    const std::vector<OutputStep>& steps() const { return m_steps; }
    const std::vector<FlowTuning>& tunings() const { return m_tunings; }

    QTableWidget* grdSteps = nullptr;
    QTableWidget* grdTunings = nullptr;
    StepPlot* imgPlot = nullptr;
    QPushButton* btnUseInFlow = nullptr;
    QPushButton* btnClose = nullptr;
    QLabel* lblModel = nullptr;

signals:
    // "Use in Flow": open the Flow exercise with these settings.
    void useInFlow(const FlowTuning& tuning);

protected:
    // The language switch: QEvent::LanguageChange runs SetLanguage.
    void changeEvent(QEvent* event) override;

private:
    void fillSteps();
    // What the plot shows, in words: the step, the flow's span and the model.
    QString plotSummary(const OutputStep& step, const std::vector<double>& measured) const;
    void fitStepsWidth();

    VelmorState& m_state;
    std::vector<OutputStep> m_steps;
    std::vector<FlowTuning> m_tunings;
    bool m_sized = false;
};

} // namespace velmor
