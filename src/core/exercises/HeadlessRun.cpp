#include "core/exercises/HeadlessRun.h"

#include "core/exercises/ControllerSettings.h"
#include "core/exercises/LoopEngine.h"
#include "core/exercises/NamedSettings.h"
#include "core/rundata/NumberText.h"

namespace velmor {

std::string PrepareHeadlessRun(VelmorState& state, const RunRequest& request,
                               const SimFileLoad* from)
{
    OpenExerciseState(state, request.exercise, true);
    if (from != nullptr) {
        ApplySimFileSettings(state, *from);
    }
    for (const SettingChange& c : request.sets) {
        if (std::string error = ApplySetting(state, request.exercise, c.name, c.value);
            !error.empty()) {
            return error;
        }
    }
    return {};
}

std::string ExecuteHeadlessRun(VelmorState& state, const RunRequest& request)
{
    std::unique_ptr<LoopEngine> engine = MakeEngine(request.exercise, state, nullptr);
    std::vector<bool> done(request.ats.size(), false);
    std::string atError;
    // The pacing wait: due changes first, in the order given, then the limit.
    auto wait = [&] {
        const double newest = engine->newestRecordTime();
        for (std::size_t k = 0; k < request.ats.size(); ++k) {
            const TimedSettingChange& at = request.ats[k];
            if (!done[k] && newest >= at.time) {
                done[k] = true;
                std::string error =
                    ApplySetting(state, request.exercise, at.change.name, at.change.value);
                if (!error.empty() && atError.empty()) {
                    atError = "--at " + ShortestText(at.time) + ": " + error;
                    state.run.runActive = false;
                }
            }
        }
        if (request.records && state.run.sampleCount >= *request.records) {
            state.run.runActive = false;
        }
    };
    if (request.ats.empty() && !request.records) {
        RunHeadless(*engine); // nothing to do in the waits
    } else {
        RunHeadless(*engine, wait);
    }
    return atError;
}

} // namespace velmor
