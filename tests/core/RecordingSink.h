// A Trends window stand-in that keeps what a running loop tells it.
#pragma once

#include "core/trends/TrendSink.h"

#include <cstdint>
#include <string>
#include <vector>

namespace velmor::test {

struct RecordingSink : TrendSink {
    struct Appended {
        int recordNumber;
        double cycleTime;
        std::int32_t segment;
    };
    void runStarted(const RunStart& start) override
    {
        starts.push_back(start);
        events += 'S';
    }
    void recordAppended(int recordNumber, double cycleTime, std::int32_t segment) override
    {
        appended.push_back({recordNumber, cycleTime, segment});
        events += 'R';
    }
    void runFinished() override { events += 'F'; }

    std::vector<RunStart> starts;
    std::vector<Appended> appended;
    std::string events; // S started, R a record appended, F finished
};

} // namespace velmor::test
