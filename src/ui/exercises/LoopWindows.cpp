#include "ui/exercises/LoopWindows.h"

#include "ui/exercises/TfrmBatch.h"
#include "ui/exercises/TfrmFlow.h"
#include "ui/exercises/TfrmLevel.h"
#include "ui/exercises/TfrmOpen.h"
#include "ui/exercises/TfrmTemperature.h"

#include <array>
#include <utility>

namespace velmor {

namespace {

template <typename Window> LoopWindow* Make(VelmorState& state, TfrmGraph* graph, MainLink* main)
{
    return new Window(state, graph, main);
}

constexpr std::array<std::pair<Exercise, LoopWindowMaker>, 5> kMakers{{
    {Exercise::Flow, &Make<TfrmFlow>},
    {Exercise::Temperature, &Make<TfrmTemperature>},
    {Exercise::Batch, &Make<TfrmBatch>},
    {Exercise::Level, &Make<TfrmLevel>},
    {Exercise::Open, &Make<TfrmOpen>},
}};

} // namespace

LoopWindowMaker LoopWindowMakerFor(Exercise exercise)
{
    for (const auto& [e, maker] : kMakers) {
        if (e == exercise) {
            return maker;
        }
    }
    return nullptr;
}

} // namespace velmor
