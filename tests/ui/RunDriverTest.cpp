// The run driver's pacing on a made-up clock: each cycle begins 80 ms after
// the previous one began, the last milliseconds are polled, a late cycle
// still yields to the event loop once, and STOP ends a run at once.
#include "ui/exercises/RunDriver.h"
#include "core/exercises/ControllerSettings.h"
#include "core/exercises/LoopEngine.h"

#include <QSignalSpy>
#include <QtTest>

#include <memory>
#include <vector>

using namespace velmor;
using namespace std::chrono_literals;

namespace {

class FakePace : public PaceTimer {
public:
    TimePoint now() const override { return m_now; }
    void start(std::chrono::milliseconds delay) override
    {
        m_active = true;
        delays.push_back(delay);
    }
    void stop() override { m_active = false; }
    bool isActive() const override { return m_active; }

    // Moves the clock on to `at` and fires the timer, as the event loop would.
    void fireAt(std::chrono::microseconds at)
    {
        QVERIFY(m_active);
        m_now = TimePoint{} + at;
        m_active = false;
        timeout();
    }
    void advance(std::chrono::microseconds by) { m_now += by; }
    std::chrono::microseconds elapsed() const
    {
        return std::chrono::duration_cast<std::chrono::microseconds>(m_now - TimePoint{});
    }

    std::vector<std::chrono::milliseconds> delays;

private:
    TimePoint m_now{};
    bool m_active = false;
};

struct Paced {
    std::unique_ptr<VelmorState> state = std::make_unique<VelmorState>();
    FakePace* pace = nullptr;
    std::unique_ptr<RunDriver> driver;

    Paced()
    {
        OpenExerciseState(*state, Exercise::Flow, true);
        auto timer = std::make_unique<FakePace>();
        pace = timer.get();
        driver = std::make_unique<RunDriver>(nullptr, std::move(timer));
    }
    void begin() { driver->begin(MakeEngine(Exercise::Flow, *state, nullptr)); }
    int records() const { return state->run.sampleCount; }
    std::chrono::microseconds lastStart() const
    {
        return std::chrono::duration_cast<std::chrono::microseconds>(driver->lastCycleStart() -
                                                                     PaceTimer::TimePoint{});
    }
};

} // namespace

class RunDriverTest : public QObject {
    Q_OBJECT

private slots:
    void firstCycleAtOnceThenEveryEightyMilliseconds();
    void lateCycleYieldsOnceAndPacesFromItsStart();
    void stopEndsTheRunAtOnce();
    void runEndsByItselfAfterTheLastRecord();
};

void RunDriverTest::firstCycleAtOnceThenEveryEightyMilliseconds()
{
    Paced p;
    QSignalSpy cycled(p.driver.get(), &RunDriver::cycled);
    p.begin();
    // Record 1 at Start, record 2 by the first cycle, at once.
    QCOMPARE(p.records(), 2);
    QCOMPARE(cycled.count(), 1);
    QCOMPARE(p.pace->delays.back(), 78ms);

    // Woken 2 ms early: poll through the event loop until the pace is over.
    p.pace->fireAt(78ms);
    QCOMPARE(p.records(), 2);
    QCOMPARE(p.pace->delays.back(), 0ms);
    p.pace->fireAt(79900us);
    QCOMPARE(p.records(), 2);
    QCOMPARE(p.pace->delays.back(), 0ms);
    p.pace->fireAt(80ms);
    QCOMPARE(p.records(), 3);
    QCOMPARE(p.lastStart(), 80ms);

    // A timer that wakes late does not shift the pace: it is measured from
    // when each cycle began.
    p.pace->fireAt(161ms);
    QCOMPARE(p.records(), 4);
    QCOMPARE(p.lastStart(), 161ms);
    QCOMPARE(p.pace->delays.back(), 78ms);
    p.pace->fireAt(239ms);
    QCOMPARE(p.records(), 4);
    p.pace->fireAt(241ms);
    QCOMPARE(p.records(), 5);
    QCOMPARE(cycled.count(), 4);
}

void RunDriverTest::lateCycleYieldsOnceAndPacesFromItsStart()
{
    Paced p;
    // Every cycle's work (with its drawing) takes 95 ms.
    connect(p.driver.get(), &RunDriver::cycled, p.driver.get(), [&p] { p.pace->advance(95ms); });
    p.begin();
    QCOMPARE(p.records(), 2);
    // Already late: the next cycle waits for one round of events, no more.
    QCOMPARE(p.pace->delays.back(), 0ms);
    p.pace->fireAt(95ms);
    QCOMPARE(p.records(), 3);
    QCOMPARE(p.lastStart(), 95ms);
    QCOMPARE(p.pace->delays.back(), 0ms);
    p.pace->fireAt(190ms);
    QCOMPARE(p.records(), 4);
    QCOMPARE(p.lastStart(), 190ms);
}

void RunDriverTest::stopEndsTheRunAtOnce()
{
    Paced p;
    QSignalSpy finished(p.driver.get(), &RunDriver::finished);
    p.begin();
    p.pace->fireAt(80ms);
    QCOMPARE(p.records(), 3);
    // A poke while the run may go on changes nothing.
    p.driver->poke();
    QVERIFY(p.driver->running());
    QVERIFY(p.pace->isActive());
    QCOMPARE(finished.count(), 0);
    // STOP during the wait: the run ends now, not when the wait is over.
    p.state->run.runActive = false;
    p.driver->poke();
    QCOMPARE(finished.count(), 1);
    QVERIFY(!p.driver->running());
    QVERIFY(!p.pace->isActive());
    QCOMPARE(p.records(), 3);
    QVERIFY(!p.state->run.runActive);
    // A second poke or a stray timer event changes nothing.
    p.driver->poke();
    QCOMPARE(finished.count(), 1);
    p.pace->timeout();
    QCOMPARE(p.records(), 3);

    // runActive cleared by a handler without a poke: the next wake-up ends it.
    Paced q;
    QSignalSpy finishedQ(q.driver.get(), &RunDriver::finished);
    q.begin();
    q.state->run.runActive = false;
    q.pace->fireAt(78ms);
    QCOMPARE(finishedQ.count(), 1);
    QCOMPARE(q.records(), 2);
}

void RunDriverTest::runEndsByItselfAfterTheLastRecord()
{
    Paced p;
    QSignalSpy finished(p.driver.get(), &RunDriver::finished);
    p.begin();
    std::chrono::microseconds at = 0us;
    while (p.driver->running() && p.records() < 7000) {
        at += 80ms;
        p.pace->fireAt(at);
    }
    QCOMPARE(p.records(), 6000);
    QCOMPARE(finished.count(), 1);
    QVERIFY(!p.state->run.runActive);
    // 5999 cycles, the first at once: the last began at 5998 x 80 ms.
    QCOMPARE(p.lastStart(), std::chrono::microseconds(5998 * 80ms));
}

VELMOR_TEST_MAIN(RunDriverTest, exercises)
#include "RunDriverTest.moc"
