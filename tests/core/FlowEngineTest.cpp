#include "exercises/ControllerSettings.h"
#include "exercises/FlowEngine.h"

#include <gtest/gtest.h>

using namespace velmor;

TEST(FlowSmoke, Runs)
{
    VelmorState s;
    OpenExerciseState(s, Exercise::Flow, true);
    FlowEngine e(s, nullptr);
    RunHeadless(e);
    EXPECT_EQ(s.run.sampleCount, 6000);
}
