#include "ui/shell/RunHistory.h"

#include "core/exercises/ControllerSettings.h"
#include "core/rundata/AtomicFile.h"
#include "core/rundata/HistoryNames.h"
#include "core/rundata/SimFileReader.h"
#include "core/rundata/SimFileWriter.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QStandardPaths>

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace velmor {

namespace {

// Summaries are handed to the lists in small batches, newest first, so the
// first lines fill in at once while older runs are still being read.
constexpr int kSummaryBatch = 10;

std::string Native(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

HistoryStamp StampOf(const QDateTime& time)
{
    const QDate d = time.date();
    const QTime t = time.time();
    return {d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second()};
}

QDateTime TimeOf(const HistoryStamp& s)
{
    return QDateTime(QDate(s.year, s.month, s.day),
                     QTime(s.hour, s.minute, std::min(s.second, 59)));
}

// Our names in the folder, newest first; every name in `all` when asked.
QStringList HistoryNamesIn(const QString& folder, std::vector<std::string>* all = nullptr)
{
    const QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
    std::vector<std::pair<HistoryName, QString>> ours;
    for (const QString& name : names) {
        const std::string native = Native(name);
        if (all != nullptr) {
            all->push_back(native);
        }
        if (const std::optional<HistoryName> parsed = ParseHistoryFileName(native)) {
            ours.emplace_back(*parsed, name);
        }
    }
    std::sort(ours.begin(), ours.end(),
              [](const auto& a, const auto& b) { return NewerRun(a.first, b.first); });
    QStringList sorted;
    for (const auto& entry : ours) {
        sorted << entry.second;
    }
    return sorted;
}

KeptRun EntryFor(const QString& fileName)
{
    KeptRun run;
    run.fileName = fileName;
    if (const std::optional<HistoryName> parsed = ParseHistoryFileName(Native(fileName))) {
        run.ended = TimeOf(parsed->stamp);
        run.exercise = parsed->exercise;
    }
    return run;
}

// Reads one kept run's file for its summary (on the worker).
KeptRun ReadEntry(const QString& folder, const QString& fileName)
{
    KeptRun run = EntryFor(fileName);
    std::ifstream in(Native(QDir(folder).filePath(fileName)), std::ios::binary);
    if (!in) {
        run.unreadable = true;
        return run;
    }
    const SimFileResult result = ReadSimulationFile(in, SimFileReadOptions{});
    if (!result.ok()) {
        run.unreadable = true;
        return run;
    }
    const SimFileLoad& load = *result.load;
    run.exercise = load.exercise;
    const std::size_t count =
        std::min(load.records.size(), static_cast<std::size_t>(std::max(load.sampleCount, 0)));
    run.summary = SummariseRun(std::span<const SampleRecord>(load.records.data(), count),
                               load.exercise, load.settings);
    return run;
}

bool Newer(const KeptRun& a, const KeptRun& b)
{
    const std::optional<HistoryName> x = ParseHistoryFileName(Native(a.fileName));
    const std::optional<HistoryName> y = ParseHistoryFileName(Native(b.fileName));
    if (x && y) {
        return NewerRun(*x, *y);
    }
    return a.fileName > b.fileName;
}

} // namespace

RunCopy TakeRunCopy(VelmorState& state, Exercise exercise)
{
    RunCopy run;
    run.exercise = exercise;
    SendSettings(state, exercise);
    run.settings = state.simSettings;
    run.gateValvePercent = state.run.gateValvePercent;
    run.samplePeriod = state.run.samplePeriod;
    const int count = std::clamp(state.run.sampleCount, 0, kLogRecords);
    run.records.assign(state.log.records.begin(), state.log.records.begin() + count);
    run.ended = QDateTime::currentDateTime();
    return run;
}

RunHistory::RunHistory(const QString& folder, QObject* parent)
    : QObject(parent), m_folder(QDir::cleanPath(folder))
{
    m_worker.setMaxThreadCount(1);
    m_worker.setObjectName(QStringLiteral("RunHistory"));
    startReading();
}

RunHistory::~RunHistory()
{
    waitForWrites();
}

QString RunHistory::DefaultFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
           QStringLiteral("/runs");
}

QString RunHistory::pathOf(const QString& fileName) const
{
    return QDir(m_folder).filePath(fileName);
}

QList<KeptRun> RunHistory::newest(int count) const
{
    return m_runs.mid(0, count);
}

void RunHistory::waitForWrites()
{
    m_stopReading->store(true);
    m_worker.waitForDone();
    m_stopReading->store(false);
}

void RunHistory::reread()
{
    startReading();
}

void RunHistory::startReading()
{
    const int generation = ++m_generation;
    ++m_pendingReads;
    // Runs read before keep their summaries: only new names are read.
    QSet<QString> known;
    for (const KeptRun& run : m_runs) {
        if (run.summary || run.unreadable) {
            known.insert(run.fileName);
        }
    }
    m_worker.start([this, folder = m_folder, generation, stop = m_stopReading, known] {
        const QStringList names = HistoryNamesIn(folder);
        QMetaObject::invokeMethod(
            this, [this, names, generation] { takeListing(names, generation); },
            Qt::QueuedConnection);
        QList<KeptRun> batch;
        for (const QString& name : names) {
            if (stop->load()) {
                break;
            }
            if (known.contains(name)) {
                continue;
            }
            batch << ReadEntry(folder, name);
            if (batch.size() == kSummaryBatch) {
                QMetaObject::invokeMethod(
                    this, [this, batch, generation] { takeSummaries(batch, generation); },
                    Qt::QueuedConnection);
                batch.clear();
            }
        }
        QMetaObject::invokeMethod(
            this,
            [this, batch, generation] {
                --m_pendingReads;
                takeSummaries(batch, generation);
            },
            Qt::QueuedConnection);
    });
}

void RunHistory::takeListing(const QStringList& names, int generation)
{
    if (generation != m_generation) {
        return;
    }
    QList<KeptRun> runs;
    for (const QString& name : names) {
        const auto known = std::find_if(m_runs.cbegin(), m_runs.cend(),
                                        [&name](const KeptRun& r) { return r.fileName == name; });
        runs << (known != m_runs.cend() ? *known : EntryFor(name));
    }
    m_runs = runs;
    emit runsChanged();
}

void RunHistory::takeSummaries(const QList<KeptRun>& read, int generation)
{
    if (generation != m_generation) {
        return;
    }
    for (const KeptRun& run : read) {
        for (KeptRun& entry : m_runs) {
            if (entry.fileName == run.fileName) {
                entry = run;
            }
        }
    }
    emit runsChanged();
}

bool RunHistory::keep(RunCopy run)
{
    if (!m_enabled || static_cast<int>(run.records.size()) < kMinimumRecords) {
        return false;
    }
    auto copy = std::make_shared<const RunCopy>(std::move(run));
    m_worker.start([this, folder = m_folder, copy] {
        std::error_code error;
        std::filesystem::create_directories(Native(folder), error);
        if (error) {
            const QString reason = QString::fromLocal8Bit(error.message().c_str());
            QMetaObject::invokeMethod(
                this, [this, reason] { emit keepFailed(reason); }, Qt::QueuedConnection);
            return;
        }
        std::vector<std::string> taken;
        HistoryNamesIn(folder, &taken);
        const std::string name =
            FreeHistoryFileName(StampOf(copy->ended), copy->exercise, taken, copy->sheet);
        const WriteResult written =
            WriteFileAtomically(Native(QDir(folder).filePath(QFile::decodeName(name.c_str()))),
                                SimulationFileText(copy->exercise, copy->settings,
                                                   copy->gateValvePercent, copy->records));
        if (!written.ok()) {
            const QString reason = QString::fromStdString(written.error);
            QMetaObject::invokeMethod(
                this, [this, reason] { emit keepFailed(reason); }, Qt::QueuedConnection);
            return;
        }
        taken.push_back(name);
        QStringList removed;
        for (const std::string& old : HistoryNamesToRemove(taken, kHistoryRuns, name)) {
            const QString oldName = QFile::decodeName(old.c_str());
            if (QFile::remove(QDir(folder).filePath(oldName))) {
                removed << oldName;
            }
        }
        KeptRun kept = EntryFor(QFile::decodeName(name.c_str()));
        kept.summary =
            SummariseRun(copy->records, copy->exercise, copy->settings, copy->samplePeriod);
        QMetaObject::invokeMethod(
            this, [this, kept, removed] { takeKept(kept, removed); }, Qt::QueuedConnection);
    });
    return true;
}

void RunHistory::takeKept(const KeptRun& run, const QStringList& removed)
{
    m_runs.removeIf([&](const KeptRun& r) {
        return removed.contains(r.fileName) || r.fileName == run.fileName;
    });
    insertSorted(run);
    emit runsChanged();
    emit runKept(pathOf(run.fileName));
}

void RunHistory::insertSorted(const KeptRun& run)
{
    const auto at = std::find_if(m_runs.begin(), m_runs.end(),
                                 [&run](const KeptRun& r) { return Newer(run, r); });
    m_runs.insert(at, run);
}

void RunHistory::forget(const QString& fileName)
{
    m_runs.removeIf([&fileName](const KeptRun& r) { return r.fileName == fileName; });
    emit runsChanged();
}

} // namespace velmor
