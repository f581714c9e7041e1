// The loop exercise windows by exercise: the main window opens any of them
// through this table. A new loop window is one more row here.
#pragma once

#include "core/exercises/Exercise.h"
#include "core/rundata/State.h"

namespace velmor {

class LoopWindow;
class MainLink;
class TfrmGraph;

using LoopWindowMaker = LoopWindow* (*)(VelmorState& state, TfrmGraph* graph, MainLink* main);

// The maker of an exercise's window, or nullptr for an exercise without one.
LoopWindowMaker LoopWindowMakerFor(Exercise exercise);

} // namespace velmor
