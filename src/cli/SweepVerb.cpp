// velmor-sim sweep: parsing, Ctrl-C, progress and the output file.
#include "cli/AnalysisVerbs.h"
#include "cli/CliSupport.h"
#include "cli/RunRequest.h"
#include "cli/VaryOption.h"
#include "core/analysis/ResponseFigures.h"
#include "core/analysis/Sweep.h"
#include "core/exercises/NamedSettings.h"
#include "core/rundata/AtomicFile.h"
#include "core/rundata/NumberText.h"

#include <charconv>
#include <cmath>
#include <csignal>
#include <thread>

namespace velmor {

namespace {

constexpr int kExitInterrupted = 130; // as a shell reports a Ctrl-C

// Raised by SIGINT / SIGTERM while a sweep runs; the workers check it
// between runs. A lock-free atomic is safe to store from a handler.
std::atomic<bool> g_interrupted{false};
static_assert(std::atomic<bool>::is_always_lock_free);

extern "C" void OnInterrupt(int)
{
    g_interrupted.store(true);
}

// Installs the handler for the life of a sweep, then puts the old one back.
class InterruptGuard {
public:
    InterruptGuard()
    {
        g_interrupted = false;
        struct sigaction action {};
        action.sa_handler = OnInterrupt;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        sigaction(SIGINT, &action, &m_oldInt);
        sigaction(SIGTERM, &action, &m_oldTerm);
    }
    ~InterruptGuard()
    {
        sigaction(SIGINT, &m_oldInt, nullptr);
        sigaction(SIGTERM, &m_oldTerm, nullptr);
    }
    InterruptGuard(const InterruptGuard&) = delete;
    InterruptGuard& operator=(const InterruptGuard&) = delete;

private:
    struct sigaction m_oldInt {};
    struct sigaction m_oldTerm {};
};

struct SweepCommand {
    SweepPlan plan;
    unsigned jobs = 1;
    std::optional<std::string> out; // standard output when empty
};

SweepCommand ParseSweep(const std::vector<std::string>& args)
{
    if (args.size() < 2) {
        throw Refusal("sweep needs an exercise: " + ExerciseWords(" or ", true));
    }
    SweepCommand c;
    const std::optional<Exercise> e = ExerciseFromCommandWord(args[1]);
    if (!e) {
        throw Refusal("unknown exercise '" + args[1] + "' (expected " +
                      ExerciseWords(" or ", true) + ")");
    }
    if (ControlledLoops(*e).empty()) {
        throw Refusal("sweep: the " + args[1] +
                      " exercise has no controlled loop to judge (expected " +
                      ExerciseWords(" or ", true) + ")");
    }
    c.plan.request.exercise = *e;
    const unsigned cores = std::thread::hardware_concurrency();
    c.jobs = cores > 0 ? cores : 1;
    bool haveOut = false;
    for (std::size_t i = 2; i < args.size(); ++i) {
        const std::string& opt = args[i];
        if (opt == "--vary") {
            SweepAxis axis = VaryAxis(*e, ParseVaryOption(OptionArgument(args, i)), false);
            for (const SweepAxis& other : c.plan.axes) {
                if (other.name == axis.name) {
                    throw Refusal("--vary " + axis.name + " is given twice");
                }
            }
            c.plan.axes.push_back(std::move(axis));
        } else if (opt == "--jobs") {
            c.jobs = ParseJobs(OptionArgument(args, i));
        } else if (opt == "--out") {
            c.out = OptionArgument(args, i);
            if (c.out->empty()) {
                throw Refusal("--out needs a file name");
            }
            if (*c.out == "-") {
                c.out.reset();
            }
            haveOut = true;
        } else if (!ParseRunOption(c.plan.request, args, i)) {
            throw Refusal("unknown option '" + opt + "'");
        }
    }
    if (c.plan.axes.empty()) {
        throw Refusal("sweep needs at least one --vary NAME=FROM:TO:COUNT");
    }
    if (!haveOut) {
        throw Refusal("sweep needs --out FILE.csv");
    }
    std::size_t runs = 1;
    for (const SweepAxis& axis : c.plan.axes) {
        if (runs > kMaxRuns / axis.values.size()) {
            throw Refusal("sweep: more than " + std::to_string(kMaxRuns) +
                          " combinations; make the grid coarser");
        }
        runs *= axis.values.size();
    }
    return c;
}

// "sweep: 42% (4200 of 10000 runs)": rewritten in place on a terminal, else
// one line per tenth.
class Progress {
public:
    Progress(std::ostream& err, std::size_t total, bool terminal)
        : m_err(err), m_total(total), m_terminal(terminal)
    {
    }

    void operator()(std::size_t done)
    {
        const int percent = static_cast<int>(done * 100 / std::max<std::size_t>(m_total, 1));
        const int shown = m_terminal ? percent : percent / 10 * 10;
        if (shown == m_shown) {
            return;
        }
        m_shown = shown;
        const std::string line = "sweep: " + std::to_string(shown) + "% (" + std::to_string(done) +
                                 " of " + std::to_string(m_total) + " runs)";
        if (m_terminal) {
            m_err << '\r' << line << std::flush;
            m_open = true;
        } else {
            m_err << line << '\n' << std::flush;
        }
    }

    void end()
    {
        if (m_open) {
            m_err << '\n' << std::flush;
            m_open = false;
        }
    }

private:
    std::ostream& m_err;
    std::size_t m_total;
    bool m_terminal;
    int m_shown = -1;
    bool m_open = false;
};

} // namespace

int RunSweep(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
             bool progressOnTerminal)
{
    SweepCommand c = ParseSweep(args);
    c.plan.from = ReadFromFile(c.plan.request);
    // Open the output first: a path that cannot be written is refused
    // before any run; the file appears only when the table is complete.
    AtomicFile file;
    if (c.out) {
        if (const WriteResult r = file.open(*c.out); !r.ok()) {
            throw Refusal(CannotWrite(c.out, r.error));
        }
    }
    Progress progress(err, c.plan.combinations(), progressOnTerminal);
    SweepOutcome outcome;
    {
        const InterruptGuard guard;
        outcome =
            RunSweepGrid(c.plan, c.jobs, g_interrupted, [&](std::size_t done) { progress(done); });
    }
    progress.end();
    if (outcome.interrupted) {
        err << "velmor-sim: sweep interrupted; nothing written\n";
        return kExitInterrupted;
    }
    if (outcome.startRefused) {
        throw Refusal(outcome.error);
    }
    if (!outcome.error.empty()) {
        throw Refusal("sweep: " + outcome.error);
    }
    const std::string csv = SweepCsv(c.plan, outcome.rows);
    if (!c.out) {
        Emit(out, csv);
        return 0;
    }
    WriteResult r = file.write(csv);
    if (r.ok()) {
        r = file.commit();
    }
    if (!r.ok()) {
        throw Refusal(CannotWrite(c.out, r.error));
    }
    return 0;
}

} // namespace velmor
