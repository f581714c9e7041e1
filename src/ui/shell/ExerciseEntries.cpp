#include "ui/shell/ExerciseEntries.h"

#include "ui/exercises/TfrmBatch.h"
#include "ui/exercises/TfrmFlow.h"
#include "ui/exercises/TfrmLevel.h"
#include "ui/exercises/TfrmOpen.h"
#include "ui/exercises/TfrmTemperature.h"
#include "ui/shell/ShellArt.h"

#include <algorithm>
#include <array>
#include <vector>

namespace velmor {

namespace {

template <typename Window> LoopWindow* Make(VelmorState& state, TfrmGraph* graph, MainLink* main)
{
    return new Window(state, graph, main);
}

template <ToolPicture picture> QIcon Icon()
{
    return ToolbarIcon(picture);
}

const std::array<ExerciseEntry, 6> kEntries{{
    {"frmManual", std::nullopt, nullptr, &Icon<ToolPicture::Manual>, "mnuControlOnOff",
     QT_TRANSLATE_NOOP("TfrmMain", "&System Mimic"), "popOnOff",
     QT_TRANSLATE_NOOP("TfrmMain", "System Mimic"), "btnManual",
     QT_TRANSLATE_NOOP("TfrmMenu", "System Mimic"), nullptr, true},
    {nullptr, Exercise::Flow, &Make<TfrmFlow>, &Icon<ToolPicture::Flow>, "mnuControlFlow",
     QT_TRANSLATE_NOOP("TfrmMain", "&Flow"), "popFlow", QT_TRANSLATE_NOOP("TfrmMain", "Flow"),
     "btnFlow", QT_TRANSLATE_NOOP("TfrmMenu", "Flow Control"),
     QT_TRANSLATE_NOOP("RunHistoryWindow", "Flow")},
    {nullptr, Exercise::Temperature, &Make<TfrmTemperature>, &Icon<ToolPicture::Temperature>,
     "mnuControlTemperature", QT_TRANSLATE_NOOP("TfrmMain", "&Temperature"), "popTemperature",
     QT_TRANSLATE_NOOP("TfrmMain", "Temperature"), "btnTemperature",
     QT_TRANSLATE_NOOP("TfrmMenu", "Temperature Control"),
     QT_TRANSLATE_NOOP("RunHistoryWindow", "Temperature")},
    {nullptr, Exercise::Batch, &Make<TfrmBatch>, &Icon<ToolPicture::BatchVolume>,
     "mnuControlBatchVolume", QT_TRANSLATE_NOOP("TfrmMain", "&Batch Volume"), "popBatchVolume",
     QT_TRANSLATE_NOOP("TfrmMain", "Batch Volume"), "btnBatchVolume",
     QT_TRANSLATE_NOOP("TfrmMenu", "Batch Volume Control"),
     QT_TRANSLATE_NOOP("RunHistoryWindow", "Batch Volume")},
    {nullptr, Exercise::Level, &Make<TfrmLevel>, &Icon<ToolPicture::FluidLevel>,
     "mnuControlFluidLevel", QT_TRANSLATE_NOOP("TfrmMain", "F&luid Level"), "popFluidLevel",
     QT_TRANSLATE_NOOP("TfrmMain", "Fluid Level"), "btnFluidLevel",
     QT_TRANSLATE_NOOP("TfrmMenu", "Fluid Level Control"),
     QT_TRANSLATE_NOOP("RunHistoryWindow", "Fluid Level")},
    {nullptr, Exercise::Open, &Make<TfrmOpen>, &Icon<ToolPicture::OpenLoop>, "mnuControlOpenLoop",
     QT_TRANSLATE_NOOP("TfrmMain", "&Open Loop"), "popOpenLoop",
     QT_TRANSLATE_NOOP("TfrmMain", "Open Loop"), "btnOpenLoop",
     QT_TRANSLATE_NOOP("TfrmMenu", "Open Loop Control"),
     QT_TRANSLATE_NOOP("RunHistoryWindow", "Open Loop")},
}};

std::vector<const ExerciseEntry*>& Registry()
{
    static std::vector<const ExerciseEntry*> registry = [] {
        std::vector<const ExerciseEntry*> all;
        for (const ExerciseEntry& e : kEntries) {
            all.push_back(&e);
        }
        return all;
    }();
    return registry;
}

} // namespace

QString FormOf(const ExerciseEntry& entry)
{
    if (!entry.exercise) {
        return QLatin1String(entry.form);
    }
    const std::string_view form = FormName(*entry.exercise);
    return QString::fromLatin1(form.data(), static_cast<qsizetype>(form.size()));
}

std::span<const ExerciseEntry* const> ExerciseEntries()
{
    return Registry();
}

const ExerciseEntry* ExerciseEntryNamed(const QString& form)
{
    for (const ExerciseEntry* e : Registry()) {
        if (form == FormOf(*e)) {
            return e;
        }
    }
    return nullptr;
}

const ExerciseEntry* ExerciseEntryFor(Exercise exercise)
{
    for (const ExerciseEntry* e : Registry()) {
        if (e->exercise == exercise) {
            return e;
        }
    }
    return nullptr;
}

bool Offered(const ExerciseEntry& entry)
{
    return !entry.exercise || entry.makeWindow != nullptr;
}

bool RegisterExerciseEntry(const ExerciseEntry& entry)
{
    if (ExerciseEntryNamed(FormOf(entry)) != nullptr) {
        return false;
    }
    Registry().push_back(&entry);
    return true;
}

void UnregisterExerciseEntry(const ExerciseEntry& entry)
{
    // The built-in rows stay, whatever is asked.
    if (std::any_of(kEntries.begin(), kEntries.end(),
                    [&](const ExerciseEntry& e) { return &e == &entry; })) {
        return;
    }
    std::vector<const ExerciseEntry*>& all = Registry();
    all.erase(std::remove(all.begin(), all.end(), &entry), all.end());
}

} // namespace velmor
