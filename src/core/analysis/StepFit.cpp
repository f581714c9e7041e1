#include "core/analysis/StepFit.h"

#include "core/shell/KeypadEntry.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>

namespace velmor {

namespace {

constexpr double kInfinite = std::numeric_limits<double>::infinity();

// exp(-40): from 40 time constants on, 1 - exp(-x) is 1 to double precision.
constexpr double kSettled = 4.25e-18;

// The least-squares problem of one window. For a given dead time and time
// constant the model is linear in the response size g = K du, so g has a
// closed form and the sum of squares depends on the two times only:
//   f_i = 1 - exp(-(s_i - theta) / tau) for s_i > theta, else 0
//   g = sum f_i d_i / sum f_i^2,  SSE = sum d_i^2 - (sum f_i d_i)^2 / sum f_i^2
// with s_i the time since the step and d_i = y_i - y0. Records more than 40
// time constants past the dead time have f_i = 1 and come from suffix sums.
class StepProblem {
public:
    StepProblem(std::span<const double> t, std::span<const double> y)
        : m_s(t.size()), m_d(t.size()), m_suffix(t.size() + 1, 0.0)
    {
        for (std::size_t i = 0; i < t.size(); ++i) {
            m_s[i] = t[i] - t[0];
            m_d[i] = y[i] - y[0];
            m_sumSquares += m_d[i] * m_d[i];
        }
        for (std::size_t i = t.size(); i-- > 0;) {
            m_suffix[i] = m_suffix[i + 1] + m_d[i];
        }
        // Records come at a fixed period; then exp(-(s_i - theta) / tau)
        // follows from its predecessor by one product.
        const double period = m_s.size() > 1 ? m_s.back() / static_cast<double>(m_s.size() - 1) : 0;
        bool uniform = period > 0;
        for (std::size_t i = 1; uniform && i < m_s.size(); ++i) {
            uniform = std::fabs(m_s[i] - m_s[i - 1] - period) <= 1e-9 * period;
        }
        m_period = uniform ? period : 0;
    }

    double sumSquares() const { return m_sumSquares; }
    double span() const { return m_s.back(); }
    const std::vector<double>& s() const { return m_s; }
    const std::vector<double>& d() const { return m_d; }

    struct Result {
        double sse = kInfinite;
        double g = 0;
    };

    Result evaluate(double theta, double tau) const
    {
        if (!(theta >= 0) || !(tau > 0) || theta >= m_s.back()) {
            return {};
        }
        std::size_t i =
            static_cast<std::size_t>(std::upper_bound(m_s.begin(), m_s.end(), theta) - m_s.begin());
        double fd = 0;
        double ff = 0;
        if (m_period > 0) {
            const double ratio = std::exp(-m_period / tau);
            double decay = i < m_s.size() ? std::exp(-(m_s[i] - theta) / tau) : 0;
            for (; i < m_s.size() && decay > kSettled; ++i, decay *= ratio) {
                const double f = 1 - decay;
                fd += f * m_d[i];
                ff += f * f;
            }
        } else {
            for (; i < m_s.size(); ++i) {
                const double decay = std::exp(-(m_s[i] - theta) / tau);
                if (decay <= kSettled) {
                    break;
                }
                const double f = 1 - decay;
                fd += f * m_d[i];
                ff += f * f;
            }
        }
        fd += m_suffix[i];
        ff += static_cast<double>(m_s.size() - i);
        if (!(ff > 0)) {
            return {};
        }
        return {std::max(0.0, m_sumSquares - fd * fd / ff), fd / ff};
    }

private:
    std::vector<double> m_s;
    std::vector<double> m_d;
    std::vector<double> m_suffix;
    double m_sumSquares = 0;
    double m_period = 0; // s between records when constant, else 0
};

// Starting point: the classic two-point method (the response reaches 28.3 %
// of its final change at theta + tau / 3 and 63.2 % at theta + tau).
std::array<double, 2> TwoPointGuess(const StepProblem& p)
{
    const std::vector<double>& s = p.s();
    const std::vector<double>& d = p.d();
    const std::size_t n = s.size();
    const std::size_t tail = std::max<std::size_t>(1, n / 10);
    double final = 0;
    for (std::size_t i = n - tail; i < n; ++i) {
        final += d[i];
    }
    final /= static_cast<double>(tail);
    auto crossing = [&](double share) -> std::optional<double> {
        if (final == 0) {
            return std::nullopt;
        }
        for (std::size_t i = 1; i < n; ++i) {
            const double a = d[i - 1] / final;
            const double b = d[i] / final;
            if (b >= share) {
                const double w = b > a ? (share - a) / (b - a) : 1.0;
                return s[i - 1] + std::clamp(w, 0.0, 1.0) * (s[i] - s[i - 1]);
            }
        }
        return std::nullopt;
    };
    const std::optional<double> t28 = crossing(0.283);
    const std::optional<double> t63 = crossing(0.632);
    const double step = s[1] - s[0];
    if (!t28 || !t63) {
        return {0.0, std::max(step, p.span() / 5)};
    }
    const double tau = std::max(1.5 * (*t63 - *t28), step / 4);
    return {std::max(0.0, *t63 - tau), tau};
}

// Nelder-Mead over (theta, ln tau).
struct Point {
    std::array<double, 2> x;
    double f;
};

Point Minimise(const StepProblem& p, std::array<double, 2> start, std::array<double, 2> scale)
{
    auto f = [&](const std::array<double, 2>& x) { return p.evaluate(x[0], std::exp(x[1])).sse; };
    std::array<Point, 3> v{};
    v[0].x = start;
    v[1].x = {start[0] + scale[0], start[1]};
    v[2].x = {start[0], start[1] + scale[1]};
    for (Point& q : v) {
        q.f = f(q.x);
    }
    const double tolerance = 1e-12 * std::max(p.sumSquares(), 1e-300);
    for (int iteration = 0; iteration < 400; ++iteration) {
        std::sort(v.begin(), v.end(), [](const Point& a, const Point& b) { return a.f < b.f; });
        const double size =
            std::max(std::fabs(v[2].x[0] - v[0].x[0]), std::fabs(v[1].x[0] - v[0].x[0])) +
            std::max(std::fabs(v[2].x[1] - v[0].x[1]), std::fabs(v[1].x[1] - v[0].x[1]));
        if (std::isfinite(v[2].f) && v[2].f - v[0].f <= tolerance && size < 1e-7) {
            break;
        }
        const std::array<double, 2> c = {(v[0].x[0] + v[1].x[0]) / 2, (v[0].x[1] + v[1].x[1]) / 2};
        auto along = [&](double k) {
            Point q;
            q.x = {c[0] + k * (v[2].x[0] - c[0]), c[1] + k * (v[2].x[1] - c[1])};
            q.f = f(q.x);
            return q;
        };
        const Point reflected = along(-1.0);
        if (reflected.f < v[0].f) {
            const Point expanded = along(-2.0);
            v[2] = expanded.f < reflected.f ? expanded : reflected;
        } else if (reflected.f < v[1].f) {
            v[2] = reflected;
        } else {
            const Point contracted = reflected.f < v[2].f ? along(-0.5) : along(0.5);
            if (contracted.f < std::min(reflected.f, v[2].f)) {
                v[2] = contracted;
            } else {
                for (int k = 1; k < 3; ++k) {
                    v[k].x = {(v[k].x[0] + v[0].x[0]) / 2, (v[k].x[1] + v[0].x[1]) / 2};
                    v[k].f = f(v[k].x);
                }
            }
        }
    }
    return *std::min_element(v.begin(), v.end(),
                             [](const Point& a, const Point& b) { return a.f < b.f; });
}

double KeypadRounded(double value)
{
    const std::optional<std::string> text = KeypadText(value);
    if (!text) {
        return value;
    }
    double v = 0;
    std::from_chars(text->data(), text->data() + text->size(), v);
    return v;
}

} // namespace

std::optional<FopdtModel> FitFopdt(std::span<const double> t, std::span<const double> y, double du)
{
    if (t.size() != y.size() || t.size() < 5 || !(du != 0) || !std::isfinite(du)) {
        return std::nullopt;
    }
    const StepProblem p(t, y);
    if (!(p.sumSquares() > 0) || !(p.span() > 0)) {
        return std::nullopt;
    }
    const std::array<double, 2> guess = TwoPointGuess(p);
    const double step = p.s()[1] - p.s()[0];
    Point best =
        Minimise(p, {guess[0], std::log(guess[1])}, {std::max(step / 2, guess[1] / 5), 0.3});
    // Restarts from the best point with a fresh simplex: the dead time
    // bends the sum of squares at every sample time, which can stall one.
    for (int restart = 0; restart < 1; ++restart) {
        const Point again = Minimise(p, best.x, {step / 4, 0.1});
        if (!(again.f < best.f)) {
            break;
        }
        best = again;
    }
    if (!std::isfinite(best.f)) {
        return std::nullopt;
    }
    const double tau = std::exp(best.x[1]);
    const StepProblem::Result r = p.evaluate(best.x[0], tau);
    FopdtModel m;
    m.gain = r.g / du;
    m.timeConstant = tau;
    m.deadTime = best.x[0];
    m.rms = std::sqrt(r.sse / static_cast<double>(t.size()));
    if (!std::isfinite(m.gain) || !std::isfinite(m.timeConstant) || !std::isfinite(m.rms)) {
        return std::nullopt;
    }
    return m;
}

std::vector<OutputStep> FitOutputSteps(std::span<const SampleRecord> records)
{
    std::vector<std::size_t> starts;
    for (std::size_t i = 1; i < records.size(); ++i) {
        const double change = static_cast<double>(records[i].field(kFieldOutput)) -
                              records[i - 1].field(kFieldOutput);
        if (std::fabs(change) > kOutputStepPercent) {
            starts.push_back(i);
        }
    }
    std::vector<OutputStep> steps;
    std::vector<double> t;
    std::vector<double> y;
    for (std::size_t k = 0; k < starts.size(); ++k) {
        const std::size_t begin = starts[k];
        const std::size_t end = k + 1 < starts.size() ? starts[k + 1] - 1 : records.size() - 1;
        OutputStep step;
        step.record = static_cast<int>(begin) + 1;
        step.lastRecord = static_cast<int>(end) + 1;
        step.time = records[begin].time;
        step.outputFrom = records[begin - 1].field(kFieldOutput);
        step.outputTo = records[begin].field(kFieldOutput);
        t.clear();
        y.clear();
        for (std::size_t i = begin; i <= end; ++i) {
            t.push_back(records[i].time);
            y.push_back(records[i].field(kFieldFlowMV));
        }
        step.model = FitFopdt(t, y, static_cast<double>(step.outputTo) - step.outputFrom);
        steps.push_back(step);
    }
    return steps;
}

const OutputStep* BestFittedStep(const std::vector<OutputStep>& steps)
{
    const OutputStep* best = nullptr;
    double bestShare = kInfinite;
    for (const OutputStep& step : steps) {
        if (!step.model || !(step.model->gain > 0) || !(step.model->timeConstant > 0) ||
            !(step.model->deadTime > 0)) {
            continue;
        }
        const double size =
            std::fabs(step.model->gain * (static_cast<double>(step.outputTo) - step.outputFrom));
        const double share = step.model->rms / size;
        if (share <= kUsableFitShare && share < bestShare) {
            bestShare = share;
            best = &step;
        }
    }
    return best;
}

std::string_view TuningRuleName(TuningRule rule)
{
    switch (rule) {
    case TuningRule::Simc:
        return "SIMC";
    case TuningRule::ZieglerNicholsPi:
        return "ZN-PI";
    case TuningRule::ZieglerNicholsPid:
        return "ZN-PID";
    case TuningRule::CohenCoonPi:
        return "CC-PI";
    }
    return "SIMC";
}

// From a rule's controller to the Flow window's settings.
//
// Each sample the Flow controller computes, with the flow and set point in
// L/min and the sample period dt in s:
//   e      = (SP - flow) x 255 / 2                      counts
//   sum    = sum of dt x e                               counts x s
//   counts = PG x (e + sum / I + D x (e - e_prev) / dt)  counts
//   output = counts x 100 / 255                          percent
// so, in L/min and percent,
//   output = PG x (255 / 2) x (100 / 255) x (e' + (1 / I) integral e' dt + D de'/dt)
//          = 50 PG x (e' + (1 / I) integral e' dt + D de'/dt),   e' = SP - flow in L/min:
// the ideal (non-interacting) PID with Kc = 50 PG percent per L/min, Ti = I s
// and Td = D s. The rules take the model gain K in L/min per percent and give
// Kc in percent per L/min, hence PG = Kc / 50 (a pure number, counts per
// count), I = Ti and D = Td.
std::vector<FlowTuning> FlowTunings(const FopdtModel& model)
{
    const double k = model.gain;
    const double tau = model.timeConstant;
    const double theta = model.deadTime;
    if (!(k > 0) || !(tau > 0) || !(theta > 0)) {
        return {};
    }
    constexpr double kPercentPerLitrePerMinute = 50.0; // Kc of PG = 1
    auto tuning = [&](TuningRule rule, double kc, double ti, double td) {
        return FlowTuning{rule, KeypadRounded(kc / kPercentPerLitrePerMinute), KeypadRounded(ti),
                          KeypadRounded(td)};
    };
    // SIMC with the closed-loop time constant tau_c = theta.
    const double tauC = theta;
    const double simcKc = tau / (k * (tauC + theta));
    const double simcTi = std::min(tau, 4 * (tauC + theta));
    // Ziegler-Nichols reaction curve, with a = K theta / tau.
    const double a = k * theta / tau;
    // Cohen-Coon PI.
    const double r = theta / tau;
    const double ccKc = (1 / k) * (tau / theta) * (0.9 + r / 12);
    const double ccTi = theta * (30 + 3 * r) / (9 + 20 * r);
    return {
        tuning(TuningRule::Simc, simcKc, simcTi, 0),
        tuning(TuningRule::ZieglerNicholsPi, 0.9 / a, theta / 0.3, 0),
        tuning(TuningRule::ZieglerNicholsPid, 1.2 / a, 2 * theta, 0.5 * theta),
        tuning(TuningRule::CohenCoonPi, ccKc, ccTi, 0),
    };
}

} // namespace velmor
