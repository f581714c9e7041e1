// The run history: every run that ends is kept as an ordinary simulation
// file in a folder of the user's data ("runs"), named by the local date and
// time it ended and its exercise. The newest 200 are kept.
//
// The user-interface thread only copies the run (records and settings); one
// worker thread formats, writes (in one step), prunes and reads files, in
// the order asked. The list of kept runs lives in memory: the folder's names
// at once, each run's summary as the worker reads it, newest first, so 200
// full files never hold up a window.
#pragma once

#include "core/analysis/RunSummary.h"
#include "core/exercises/Exercise.h"
#include "core/rundata/SampleLog.h"
#include "core/rundata/SimSettings.h"
#include "core/rundata/State.h"

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QString>
#include <QThreadPool>

#include <atomic>
#include <memory>
#include <optional>
#include <span>
#include <vector>

namespace velmor {

// One kept run as the lists show it.
struct KeptRun {
    QString fileName;
    QDateTime ended; // local time, from the name
    Exercise exercise = Exercise::Flow;
    std::optional<RunSummary> summary; // once read
    bool unreadable = false;           // read, and not a simulation file
};

// A run's copy, taken on the user-interface thread when it ends.
struct RunCopy {
    Exercise exercise = Exercise::Flow;
    SimSettings settings;
    int gateValvePercent = 100;
    float samplePeriod = 0.1f;
    std::vector<SampleRecord> records;
    QDateTime ended;
    std::string sheet; // the label of the lab sheet it was made for (SheetLabel), or empty
};

// What File > Save would write of the run in the log, copied: the
// exercise's settings (SendSettings), the gate valve and the records.
RunCopy TakeRunCopy(VelmorState& state, Exercise exercise);

class RunHistory : public QObject {
    Q_OBJECT

public:
    // Fewer records than this is no run worth keeping.
    static constexpr int kMinimumRecords = 2;

    // `folder` is where runs go (the program passes DefaultFolder()).
    explicit RunHistory(const QString& folder, QObject* parent = nullptr);
    // Waits for what is still being written.
    ~RunHistory() override;

    // The per-user data folder's "runs".
    static QString DefaultFolder();
    QString folder() const { return m_folder; }
    QString pathOf(const QString& fileName) const;

    // The preference: off, nothing is kept.
    void setEnabled(bool on) { m_enabled = on; }
    bool enabled() const { return m_enabled; }

    // A run that ended. The copy is taken now; the file is written later,
    // off this thread. False when nothing is kept (off, too short).
    bool keep(RunCopy run);

    // Every kept run known, newest first.
    const QList<KeptRun>& runs() const { return m_runs; }
    // The newest `count` runs.
    QList<KeptRun> newest(int count) const;
    // The folder is being read.
    bool reading() const { return m_pendingReads > 0; }
    // Reads the folder again (after a change outside the program); runs
    // read before are not read again.
    void reread();
    // A run removed from the folder by the user.
    void forget(const QString& fileName);

    // Blocks until every write asked so far is on disk (Exit). A reading
    // of the folder still going is cut short.
    void waitForWrites();

signals:
    // A run is on disk (path), after the folder was pruned.
    void runKept(const QString& path);
    // A run could not be written: the reason, for the user.
    void keepFailed(const QString& reason);
    // The list changed (runs added, removed or summarised).
    void runsChanged();

private:
    void startReading();
    void takeListing(const QStringList& names, int generation);
    void takeSummaries(const QList<KeptRun>& read, int generation);
    void takeKept(const KeptRun& run, const QStringList& removed);
    void insertSorted(const KeptRun& run);

    QString m_folder;
    bool m_enabled = true;
    QList<KeptRun> m_runs;
    int m_pendingReads = 0;
    int m_generation = 0; // a newer reading makes an older one's results stale
    // Set while the program waits for its writes: readings stop early.
    std::shared_ptr<std::atomic<bool>> m_stopReading = std::make_shared<std::atomic<bool>>(false);
    // One thread: writes, pruning and reading happen in the order asked.
    QThreadPool m_worker;
};

} // namespace velmor
