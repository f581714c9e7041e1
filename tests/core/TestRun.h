// A loop exercise opened as from the menu, driven by hand, for tests; what
// the run tells the Trends window is kept in `trends`.
#pragma once

#include "RecordingSink.h"
#include "core/exercises/ControllerSettings.h"
#include "core/exercises/LoopEngine.h"

#include <memory>

namespace velmor::test {

struct TestRun {
    explicit TestRun(Exercise e) : exercise(e)
    {
        OpenExerciseState(state, e, true);
        engine = MakeEngine(e, state, &trends);
    }
    void start() { engine->start(); }
    // Runs up to n cycles (fewer if the run ends by itself).
    void cycles(int n)
    {
        for (int i = 0; i < n && engine->canCycle(); ++i) {
            engine->cycle();
        }
    }
    // A whole run, START to its end.
    void run()
    {
        start();
        toEnd();
    }
    void toEnd()
    {
        while (engine->canCycle()) {
            engine->cycle();
        }
        engine->finish();
    }
    const SampleRecord& record(int n) const { return state.log.record(n); }
    // An accepted keypad entry, as the window's UpdateDisplay receives it.
    bool enter(int code, float v)
    {
        return UpdateDisplay(state, exercise, code, v, KeypadOldFor(state, exercise, code));
    }

    Exercise exercise;
    VelmorState state;
    RecordingSink trends;
    std::unique_ptr<LoopEngine> engine;
};

} // namespace velmor::test
