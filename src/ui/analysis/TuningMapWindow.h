// Analysis > Tuning Map: where the good tunings of a loop lie. The student
// picks two of the loop's settings and their ranges; every pair is run in
// the background with the exercise window's other settings, and the map
// fills in cell by cell. Hovering tells a cell's figures, a click shows its
// run beside the map, and "Use these settings" enters the pair in the
// exercise window as the keypad does.
#pragma once

#include "core/analysis/TuningMap.h"
#include "core/rundata/State.h"
#include "ui/analysis/TuningMapWidgets.h"

#include <QWidget>

#include <algorithm>
#include <functional>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QGridLayout;
class QHBoxLayout;
class QLabel;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTimer;

namespace velmor {

class TuningMapWindow : public QWidget {
    Q_OBJECT

public:
    // Enters values (keypad code, value) in the exercise window as the
    // keypad's OK does, all in one go; false when the window is gone.
    using UseFn = std::function<bool(const std::vector<std::pair<int, float>>& entries)>;

    TuningMapWindow(VelmorState& state, Exercise exercise, UseFn use, QWidget* parent = nullptr);
    ~TuningMapWindow() override;

    Exercise exercise() const { return m_exercise; }
    void SetLanguage();
    // Computes what is not on the map yet for the ranges and the exercise
    // window's settings as they are now.
    void Refresh();

    const TuningMap& map() const { return m_map; }
    const MapView& view() const { return m_view; }
    bool computing() const { return m_sweep != nullptr && m_running; }
    // The workers of the next computation (at first one per core).
    void setJobs(unsigned jobs) { m_jobs = std::max(jobs, 1u); }
    // A cell as a click chooses it.
    void chooseCell(std::size_t index);
    // What the figures line says of a cell.
    QString cellText(std::size_t index) const;
    QImage picture(qreal ratio) const;
    // Writes the picture or the table; the reason when it could not.
    QString exportPng(const QString& path, qreal ratio) const;
    QString exportCsv(const QString& path) const;

    QComboBox* cboLoop = nullptr;
    QComboBox* cboFigure = nullptr;
    QSpinBox* txtRecords = nullptr;
    std::array<QComboBox*, 2> cboSetting{};
    std::array<QDoubleSpinBox*, 2> txtFrom{};
    std::array<QDoubleSpinBox*, 2> txtTo{};
    std::array<QSpinBox*, 2> txtCount{};
    std::array<QCheckBox*, 2> chkLog{};
    QPushButton* btnCompute = nullptr;
    QPushButton* btnCancel = nullptr;
    QProgressBar* prgCompute = nullptr;
    MapPicture* imgMap = nullptr;
    RunPlot* imgRun = nullptr;
    QLabel* lblCell = nullptr;
    QLabel* lblChosen = nullptr;
    QPushButton* btnUse = nullptr;
    QPushButton* btnExportPng = nullptr;
    QPushButton* btnExportCsv = nullptr;
    QPushButton* btnClose = nullptr;

    // Handlers.
    void btnComputeClick();
    void btnCancelClick();
    void btnUseClick();

signals:
    // A computation ended: all its cells are in, or it was cancelled.
    void computeEnded();

protected:
    void changeEvent(QEvent* event) override;

private:
    QGridLayout* buildSettings();
    QHBoxLayout* buildProgress();
    QHBoxLayout* buildPicture();
    QHBoxLayout* buildButtons();
    void connectControls();
    void orderTabStops();
    void nameControls();
    // What the map tells a screen reader: the cursor's cell, or what it shows.
    void tellMap();
    void loopChosen();
    void settingChosen(std::size_t axis);
    void figureChosen();
    // Cells reach the window in batches: a worker adds to the inbox and
    // posts one drain for all that come before it runs.
    void cellArrived(unsigned generation, std::size_t index, const SweepRow& row);
    void drainInbox();
    void sweepEnded(unsigned generation, const SweepCellsOutcome& outcome);
    void updateButtons();
    void updateToday();
    void exportPngClick(qreal ratio);
    void exportCsvClick();
    // A run of the exercise window's settings with the two values given
    // (none: today's), for the plot.
    RunPlot::Trace RunOf(const std::vector<std::pair<std::string, std::string>>& values) const;
    std::size_t loop() const;

    VelmorState& m_state;
    Exercise m_exercise;
    UseFn m_use;
    TuningMap m_map;
    MapView m_view;
    std::unique_ptr<BackgroundSweep> m_sweep;
    unsigned m_generation = 0;
    unsigned m_jobs = 1;
    bool m_running = false;
    bool m_filling = false; // controls being set by the window itself
    std::optional<std::size_t> m_chosen;
    QLabel* lblLoop = nullptr;
    QLabel* lblFigure = nullptr;
    QLabel* lblRecords = nullptr;
    std::array<QLabel*, 2> lblAxis{};
    std::array<QLabel*, 2> lblTo{};
    std::array<QLabel*, 2> lblCount{};
    struct Arrival {
        unsigned generation;
        std::size_t index;
        SweepRow row;
    };
    std::mutex m_inboxMutex;
    std::vector<Arrival> m_inbox;
    bool m_drainPosted = false;
    // Repaints the map at most this often while cells arrive.
    QTimer* tmrPaint = nullptr;
    QAction* m_pngScreen = nullptr;
    QAction* m_pngDouble = nullptr;
};

} // namespace velmor
