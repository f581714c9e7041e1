// A tuning map: the response figures of one loop over a grid of two of its
// controller settings, made with the sweep's runs. The map keeps what it
// has computed, so a new range recomputes only the cells whose runs are
// new, and computes in the background, cell by cell, until done or
// cancelled.
#pragma once

#include "core/analysis/Sweep.h"

#include <atomic>
#include <cstddef>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace velmor {

// What a map colours its cells by.
enum class MapFigure {
    Iae,       // loop unit x s, smaller is better
    Overshoot, // percent of the step
    Settling,  // s
    Stable,    // 1 free of sustained oscillation, 0 oscillating
};

// The figure of a cell, or nothing when it cannot be computed.
std::optional<double> MapFigureValue(const SweepRow& row, MapFigure figure);

// The velmor-sim names of a controlled loop's PG, I and D settings (the
// loop's place in the exercise's list); empty when it has none.
std::vector<std::string> LoopSettingNames(Exercise e, std::size_t loop);

// The keypad's limits of a named value setting, and its value in `state`.
struct SettingRange {
    float min = 0;
    float max = 0;
    float value = 0;
    int code = 0; // the keypad code that enters it
};
std::optional<SettingRange> NamedSettingRange(VelmorState& state, Exercise e,
                                              const std::string& name);

// A map's first range for a setting: a quarter to four times today's
// value, within the keypad's limits (the limits themselves when today's
// value is 0).
std::pair<double, double> DefaultMapRange(const SettingRange& range);

// One axis of the map: a setting and its range. On a logarithmic axis the
// values stand in equal ratios.
struct MapAxis {
    std::string name;
    double from = 0;
    double to = 0;
    std::size_t count = 41;
    bool logarithmic = false;
};

inline constexpr std::size_t kMaxMapCount = 201;

// Where value `v` stands along an axis from `from` to `to`, 0 at `from`
// and 1 at `to`, in the axis's spacing.
double AxisFraction(double v, double from, double to, bool logarithmic);

class TuningMap {
public:
    // Sets the grid: `plan` holds the exercise, the loop, what every run
    // shares (its request) and the two axes, across then up. `runKey`
    // stands for everything the runs share beyond the two settings: a cell
    // is kept when its two value texts are in the new grid and the key is
    // the same; otherwise it is to be computed again. Returns those cells.
    std::vector<std::size_t> setGrid(SweepPlan plan, const std::string& runKey);

    const SweepPlan& plan() const { return m_plan; }
    std::size_t columns() const; // across: the first axis
    std::size_t rows() const;    // up: the second axis
    // The grid order number of a cell (the first axis varies slowest, as
    // in velmor-sim's table).
    std::size_t index(std::size_t column, std::size_t row) const { return column * rows() + row; }

    const std::optional<SweepRow>& cell(std::size_t index) const { return m_cells[index]; }
    void setCell(std::size_t index, const SweepRow& row);
    std::size_t computed() const { return m_computed; }
    bool complete() const { return m_computed == m_cells.size(); }
    // The smallest and largest value of a figure over the computed cells.
    std::optional<std::pair<double, double>> figureRange(MapFigure figure) const;

    // velmor-sim sweep's table for this grid (cells not computed are left
    // empty).
    std::string csv() const;

private:
    SweepPlan m_plan;
    std::string m_runKey;
    std::vector<std::optional<SweepRow>> m_cells;
    std::size_t m_computed = 0;
};

// Makes the grid's runs `indices` on a thread of its own, which shares
// them among `jobs` workers. `cell` is called on a worker as each run is
// analysed, `done` once on the thread at the end (after the last `cell`).
// Destroying it cancels it and waits for the runs in progress.
class BackgroundSweep {
public:
    using CellFn = std::function<void(std::size_t index, const SweepRow& row)>;
    using DoneFn = std::function<void(const SweepCellsOutcome& outcome)>;

    // `prepared`: the state every run starts from (the window's settings).
    BackgroundSweep(std::unique_ptr<VelmorState> prepared, SweepPlan plan,
                    std::vector<std::size_t> indices, unsigned jobs, CellFn cell, DoneFn done);
    ~BackgroundSweep();
    BackgroundSweep(const BackgroundSweep&) = delete;
    BackgroundSweep& operator=(const BackgroundSweep&) = delete;

    // Asks the workers to stop after the runs in progress; returns at once.
    void cancel() { m_stop = true; }
    // Waits for the thread to end.
    void wait();

private:
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

} // namespace velmor
