#include "core/analysis/TuningMap.h"

#include "core/exercises/ControllerSettings.h"
#include "core/exercises/ExerciseProfile.h"

#include <algorithm>
#include <cmath>

namespace velmor {

std::optional<double> MapFigureValue(const SweepRow& row, MapFigure figure)
{
    switch (figure) {
    case MapFigure::Iae:
        return row.iae;
    case MapFigure::Overshoot:
        return row.overshootPercent;
    case MapFigure::Settling:
        return row.settlingTime;
    case MapFigure::Stable:
        if (row.stable) {
            return *row.stable ? 1.0 : 0.0;
        }
        return std::nullopt;
    }
    return std::nullopt;
}

std::vector<std::string> LoopSettingNames(Exercise e, std::size_t loop)
{
    std::vector<std::string> names;
    const ExerciseProfile& p = ProfileOf(e);
    if (loop >= p.panels.size()) {
        return names;
    }
    const LoopOf controller = p.panels[loop].loop;
    for (const int code : {kCodePG, kCodeI, kCodeD}) {
        for (const NamedSetting& s : p.settingNames) {
            if (s.kind == SettingKind::Keypad && s.box != nullptr && s.box->kind == BoxKind::Pid &&
                s.box->loop == controller && s.box->panelCode == code) {
                names.emplace_back(s.name);
                break;
            }
        }
    }
    return names;
}

std::optional<SettingRange> NamedSettingRange(VelmorState& state, Exercise e,
                                              const std::string& name)
{
    const ExerciseProfile& p = ProfileOf(e);
    const NamedSetting* s = p.setting(name);
    if (s == nullptr || s->kind != SettingKind::Keypad || s->box == nullptr) {
        return std::nullopt;
    }
    const std::optional<KeypadRange> range = BoxRange(state, p, *s->box);
    if (!range) {
        return std::nullopt;
    }
    return SettingRange{range->min, range->max, BoxValue(state, p, *s->box), s->box->code};
}

std::pair<double, double> DefaultMapRange(const SettingRange& range)
{
    if (!(range.value > 0)) {
        return {range.min, range.max};
    }
    const double value = range.value;
    return {std::clamp(value / 4, static_cast<double>(range.min), static_cast<double>(range.max)),
            std::clamp(value * 4, static_cast<double>(range.min), static_cast<double>(range.max))};
}

double AxisFraction(double v, double from, double to, bool logarithmic)
{
    if (logarithmic && from > 0 && to > 0 && v > 0) {
        const double span = std::log(to / from);
        return span == 0 ? 0.5 : std::log(v / from) / span;
    }
    const double span = to - from;
    return span == 0 ? 0.5 : (v - from) / span;
}

std::size_t TuningMap::columns() const
{
    return m_plan.axes.size() == 2 ? m_plan.axes[0].values.size() : 0;
}

std::size_t TuningMap::rows() const
{
    return m_plan.axes.size() == 2 ? m_plan.axes[1].values.size() : 0;
}

std::vector<std::size_t> TuningMap::setGrid(SweepPlan plan, const std::string& runKey)
{
    // The runs already made, by their two value texts.
    std::map<std::pair<std::string, std::string>, SweepRow> kept;
    if (runKey == m_runKey && m_plan.axes.size() == 2 && plan.axes.size() == 2 &&
        plan.axes[0].name == m_plan.axes[0].name && plan.axes[1].name == m_plan.axes[1].name &&
        plan.loop == m_plan.loop) {
        for (std::size_t c = 0; c < columns(); ++c) {
            for (std::size_t r = 0; r < rows(); ++r) {
                if (const std::optional<SweepRow>& row = m_cells[index(c, r)]) {
                    kept.emplace(std::pair(m_plan.axes[0].values[c], m_plan.axes[1].values[r]),
                                 *row);
                }
            }
        }
    }
    m_plan = std::move(plan);
    m_runKey = runKey;
    m_cells.assign(columns() * rows(), std::nullopt);
    m_computed = 0;
    std::vector<std::size_t> missing;
    for (std::size_t c = 0; c < columns(); ++c) {
        for (std::size_t r = 0; r < rows(); ++r) {
            const auto found =
                kept.find(std::pair(m_plan.axes[0].values[c], m_plan.axes[1].values[r]));
            if (found != kept.end()) {
                setCell(index(c, r), found->second);
            } else {
                missing.push_back(index(c, r));
            }
        }
    }
    return missing;
}

void TuningMap::setCell(std::size_t index, const SweepRow& row)
{
    if (index >= m_cells.size()) {
        return;
    }
    if (!m_cells[index]) {
        ++m_computed;
    }
    m_cells[index] = row;
}

std::optional<std::pair<double, double>> TuningMap::figureRange(MapFigure figure) const
{
    std::optional<std::pair<double, double>> range;
    for (const std::optional<SweepRow>& row : m_cells) {
        if (!row) {
            continue;
        }
        if (const std::optional<double> v = MapFigureValue(*row, figure)) {
            if (!range) {
                range = std::pair(*v, *v);
            } else {
                range->first = std::min(range->first, *v);
                range->second = std::max(range->second, *v);
            }
        }
    }
    return range;
}

std::string TuningMap::csv() const
{
    std::vector<SweepRow> rows(m_cells.size());
    for (std::size_t i = 0; i < m_cells.size(); ++i) {
        if (m_cells[i]) {
            rows[i] = *m_cells[i];
        }
    }
    return SweepCsv(m_plan, rows);
}

BackgroundSweep::BackgroundSweep(std::unique_ptr<VelmorState> prepared, SweepPlan plan,
                                 std::vector<std::size_t> indices, unsigned jobs, CellFn cell,
                                 DoneFn done)
{
    m_thread = std::thread([this, prepared = std::move(prepared), plan = std::move(plan),
                            indices = std::move(indices), jobs, cell = std::move(cell),
                            done = std::move(done)]() mutable {
        const SweepStart start(std::move(prepared));
        const SweepCellsOutcome outcome =
            RunSweepCells(start, plan, indices, jobs, m_stop, cell, {});
        if (done) {
            done(outcome);
        }
    });
}

BackgroundSweep::~BackgroundSweep()
{
    cancel();
    wait();
}

void BackgroundSweep::wait()
{
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

} // namespace velmor
