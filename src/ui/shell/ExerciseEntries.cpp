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

#define MAIN_TEXT(english) QT_TRANSLATE_NOOP("TfrmMain", english)
#define MENU_TEXT(english) QT_TRANSLATE_NOOP("TfrmMenu", english)
#define HISTORY_TEXT(english) QT_TRANSLATE_NOOP("RunHistoryWindow", english)

const std::array<ExerciseEntry, 6> kEntries{{
    {"frmManual", std::nullopt, nullptr, &Icon<ToolPicture::Manual>, "mnuControlOnOff",
     MAIN_TEXT("&System Mimic"), "popOnOff", MAIN_TEXT("System Mimic"), "btnManual",
     MENU_TEXT("System Mimic"), nullptr, true},
    {nullptr, Exercise::Flow, &Make<TfrmFlow>, &Icon<ToolPicture::Flow>, "mnuControlFlow",
     MAIN_TEXT("&Flow"), "popFlow", MAIN_TEXT("Flow"), "btnFlow", MENU_TEXT("Flow Control"),
     HISTORY_TEXT("Flow")},
    {nullptr, Exercise::Temperature, &Make<TfrmTemperature>, &Icon<ToolPicture::Temperature>,
     "mnuControlTemperature", MAIN_TEXT("&Temperature"), "popTemperature", MAIN_TEXT("Temperature"),
     "btnTemperature", MENU_TEXT("Temperature Control"), HISTORY_TEXT("Temperature")},
    {nullptr, Exercise::Batch, &Make<TfrmBatch>, &Icon<ToolPicture::BatchVolume>,
     "mnuControlBatchVolume", MAIN_TEXT("&Batch Volume"), "popBatchVolume",
     MAIN_TEXT("Batch Volume"), "btnBatchVolume", MENU_TEXT("Batch Volume Control"),
     HISTORY_TEXT("Batch Volume")},
    {nullptr, Exercise::Level, &Make<TfrmLevel>, &Icon<ToolPicture::FluidLevel>,
     "mnuControlFluidLevel", MAIN_TEXT("F&luid Level"), "popFluidLevel", MAIN_TEXT("Fluid Level"),
     "btnFluidLevel", MENU_TEXT("Fluid Level Control"), HISTORY_TEXT("Fluid Level")},
    {nullptr, Exercise::Open, &Make<TfrmOpen>, &Icon<ToolPicture::OpenLoop>, "mnuControlOpenLoop",
     MAIN_TEXT("&Open Loop"), "popOpenLoop", MAIN_TEXT("Open Loop"), "btnOpenLoop",
     MENU_TEXT("Open Loop Control"), HISTORY_TEXT("Open Loop")},
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
