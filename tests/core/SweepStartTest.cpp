// A sweep's worker starts each run from the prepared state without copying
// the whole log: what the previous run left must not show in the next.
#include "cli/RunRequest.h"
#include "core/analysis/Sweep.h"

#include <gtest/gtest.h>

using namespace velmor;

namespace {

struct Case {
    Exercise exercise;
    const char* gain; // a setting that opens a new settings segment
    const char* waveform;
};

RunRequest Request(const Case& c, const char* gain, double changeAt, long long records)
{
    RunRequest r;
    r.exercise = c.exercise;
    if (c.waveform != nullptr) {
        r.sets.push_back({c.waveform, "4"});
    }
    r.ats.push_back({changeAt, {c.gain, gain}});
    r.records = records;
    return r;
}

std::unique_ptr<VelmorState> Prepared(const RunRequest& request)
{
    auto state = std::make_unique<VelmorState>();
    PrepareRun(*state, request, nullptr);
    return state;
}

void ExpectSameLog(const VelmorState& got, const VelmorState& want, const char* when)
{
    EXPECT_EQ(got.run.sampleCount, want.run.sampleCount) << when;
    ASSERT_EQ(got.log.records.size(), want.log.records.size()) << when;
    for (std::size_t i = 0; i < want.log.records.size(); ++i) {
        ASSERT_EQ(got.log.records[i], want.log.records[i]) << when << ", record " << i + 1;
    }
    EXPECT_EQ(got.log.secondIndex, want.log.secondIndex) << when;
    EXPECT_EQ(got.log.secondIndexFilled, want.log.secondIndexFilled) << when;
}

} // namespace

TEST(SweepStart, EachRunStartsAsIfFromAFreshCopyInEveryExercise)
{
    const Case cases[] = {{Exercise::Flow, "flowGain", "flowWaveform"},
                          {Exercise::Level, "levelGain", nullptr},
                          {Exercise::Temperature, "tempGain", nullptr},
                          {Exercise::Batch, "volGain", nullptr},
                          {Exercise::Open, "openWaveform", nullptr}};
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.exercise));
        const bool open = c.exercise == Exercise::Open;
        // A long first run with a late change, then a shorter second one
        // with an earlier change: the second leaves records of the first
        // beyond its end and segments that differ from them.
        const RunRequest first = Request(c, open ? "2" : "1.5", 200, 5000);
        const RunRequest second = Request(c, open ? "3" : "0.7", 50, 1200);
        const SweepStart start(Prepared(first));

        // Each run of the worker gives the whole log a fresh copy would.
        VelmorState worker;
        worker.log.records.clear();
        start.restore(worker);
        ExpectSameLog(worker, *Prepared(first), "first restore");
        for (const RunRequest* request : {&first, &second, &first}) {
            start.restore(worker);
            ExecuteRun(worker, *request);
            const auto fresh = Prepared(first);
            ExecuteRun(*fresh, *request);
            ASSERT_GT(worker.run.sampleCount, 600);
            ExpectSameLog(worker, *fresh, request == &first ? "long run" : "short run");
        }
    }
}
