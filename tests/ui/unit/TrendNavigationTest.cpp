// Browsing rules of the Trends window: panel regions, scrolling, the typed
// start and time base, the slider, the cursor across a span change, the
// record under a plot column and the trace the read-out names.
#include "ui/trends/TrendView.h"

#include <gtest/gtest.h>

using namespace velmor;

namespace {

// A finished run of `seconds` whole seconds at 0.1 s per record: entry s is
// record 10 s + 1, and the seconds after the run hold the last record.
SampleLog FinishedRunIndex(int seconds)
{
    SampleLog log;
    const int last = 10 * seconds + 1;
    for (int s = 0; s < kSecondIndexEntries; ++s) {
        log.secondIndex[static_cast<std::size_t>(s)] = s <= seconds ? 10 * s + 1 : last;
    }
    return log;
}

} // namespace

TEST(TrendNavigation, RegionsOfThePanel)
{
    EXPECT_EQ(Block(38, 47), kBlockPlot);
    EXPECT_EQ(Block(488, 362), kBlockPlot);
    EXPECT_EQ(Block(100, 377), kBlockElsewhere); // the label strip
    EXPECT_EQ(Block(37, 100), kBlockBesidePlot);
    EXPECT_EQ(Block(489, 100), kBlockBesidePlot);
    EXPECT_EQ(Block(500, 47), kBlockBesidePlot);
    EXPECT_EQ(Block(399, 29), kBlockSlider);
    EXPECT_EQ(Block(469, 45), kBlockSlider);
    EXPECT_EQ(Block(398, 30), kBlockElsewhere);
    EXPECT_EQ(Block(470, 30), kBlockElsewhere);
    // Arrows overlap by one column; the later arrow is tested first.
    EXPECT_EQ(Block(170, 27), 3);
    EXPECT_EQ(Block(187, 46), 3);
    EXPECT_EQ(Block(171, 30), 3);
    EXPECT_EQ(Block(169, 30), 4);
    EXPECT_EQ(Block(59, 30), 9);
    EXPECT_EQ(Block(42, 30), 10);
    EXPECT_EQ(Block(41, 30), kBlockElsewhere);
    EXPECT_EQ(Block(115, 30), kBlockElsewhere); // the gap between 4 and 5
    EXPECT_EQ(Block(188, 30), kBlockElsewhere);
    EXPECT_EQ(Block(10, 10), kBlockElsewhere);

    EXPECT_EQ(ArrowOfBlock(3), 8);
    EXPECT_EQ(ArrowOfBlock(10), 1);
    EXPECT_EQ(ArrowOfBlock(1), 0);
    EXPECT_EQ(ArrowOfBlock(11), 0);
    EXPECT_EQ(Across(1), 42);
    EXPECT_EQ(Across(4), 90);
    EXPECT_EQ(Across(5), 122);
    EXPECT_EQ(Across(8), 170);
    // Left to right: back 60, 30, 20 and 10 s, then forward as far.
    const int steps[] = {-60, -30, -20, -10, 10, 20, 30, 60};
    for (int arrow = 1; arrow <= 8; ++arrow) {
        EXPECT_EQ(ArrowStep(arrow), steps[arrow - 1]) << arrow;
    }
}

TEST(TrendNavigation, ScrollingStaysOnTheLoggedStretch)
{
    // 95 logged seconds, span 60: +60 from 0 stops at 100 - 60.
    EXPECT_EQ(ScrolledStart(0, 60, 95, 60), 40);
    EXPECT_EQ(ScrolledStart(20, -60, 95, 60), 0);
    EXPECT_EQ(ScrolledStart(40, -10, 95, 60), 30);
    EXPECT_EQ(ScrolledStart(0, 10, 45, 60), 0);
    EXPECT_EQ(ScrolledStart(30, 30, 600, 60), 60);
    EXPECT_EQ(ScrolledStart(540, 60, 600, 60), 540);
    EXPECT_EQ(ScrolledStart(0, 60, 100, 60), 40);
    EXPECT_EQ(ScrolledStart(0, 60, 101, 60), 50); // 110 - 60
}

TEST(TrendNavigation, TypedStartAndTimeBase)
{
    EXPECT_EQ(TypedStart(37, 150, 60), 40);
    EXPECT_EQ(TypedStart(200, 150, 60), std::nullopt);
    EXPECT_EQ(TypedStart(37, 45, 60), 0);
    EXPECT_EQ(TypedStart(4, 150, 60), 0);
    EXPECT_EQ(TypedStart(150, 150, 60), 90);
    EXPECT_EQ(TypedStart(155, 150, 60), std::nullopt); // 160 is past the log

    EXPECT_EQ(TypedSpan(15), 20);
    EXPECT_EQ(TypedSpan(185), std::nullopt);
    EXPECT_EQ(TypedSpan(175), 180);
    EXPECT_EQ(TypedSpan(14), std::nullopt);
    EXPECT_EQ(TypedSpan(0), std::nullopt);
    EXPECT_EQ(TypedSpan(64), 60);
}

TEST(TrendNavigation, SliderKnobAndSpan)
{
    EXPECT_EQ(KnobOfSliderOffset(402 - 399), 0);
    EXPECT_EQ(KnobOfSliderOffset(460 - 399), 55);
    EXPECT_EQ(KnobOfSliderOffset(23), 18);
    EXPECT_EQ(KnobOfSliderOffset(-4), 0);
    EXPECT_EQ(SpanOfKnob(0), 20);
    EXPECT_EQ(SpanOfKnob(55), 180);
    EXPECT_EQ(SpanOfKnob(13), 60);
    EXPECT_EQ(SpanOfKnob(34), 120);
    EXPECT_EQ(SpanOfKnob(18), 70);
    // Every span's knob gives the span back.
    for (int span = 20; span <= 180; span += 10) {
        EXPECT_EQ(SpanOfKnob(SliderKnobOffset(span)), span) << span;
    }
}

TEST(TrendNavigation, SpanChangeMovesTheCursorAndKeepsTheRightEdge)
{
    EXPECT_EQ(CursorXAfterSpan(263, 60, 120), 151);
    EXPECT_EQ(CursorXAfterSpan(151, 120, 60), 264);
    EXPECT_EQ(CursorXAfterSpan(38, 60, 180), 38);
    EXPECT_EQ(CursorXAfterSpan(488, 60, 20), 1388); // past the plot: hidden

    EXPECT_EQ(StartAfterSpan(100, 60, 120, 150), 40);
    EXPECT_EQ(StartAfterSpan(0, 60, 120, 150), 0);
    EXPECT_EQ(StartAfterSpan(20, 60, 30, 150), 20);
    EXPECT_EQ(StartAfterSpan(30, 60, 180, 150), 0);
    EXPECT_EQ(StartAfterSpan(0, 120, 60, 50), 0); // a view from 0 stays there
}

TEST(TrendNavigation, RecordUnderAColumn)
{
    const SampleLog log = FinishedRunIndex(60);
    auto at = [&log](int start, int span, int x) {
        return PosToPointer({log, start, span, false, 0, 601}, x);
    };
    EXPECT_EQ(at(0, 60, 38), 1);
    EXPECT_EQ(at(0, 60, 488), 601);
    EXPECT_EQ(at(0, 60, 263), 301);
    EXPECT_EQ(at(30, 60, 38), 301);
    EXPECT_EQ(at(30, 60, 263), 451);
    EXPECT_EQ(at(30, 60, 488), 601);
    // Views past the index or before 0 read inside it.
    EXPECT_EQ(at(900, 60, 300), 601);
    EXPECT_EQ(at(-40, 60, 38), 1);

    // Live, 29.9 s into a run: the newest point at x = 262 is the right end.
    SampleLog running;
    running.secondIndex.fill(0);
    for (int s = 0; s < 30; ++s) {
        running.secondIndex[static_cast<std::size_t>(s)] = 10 * s + 1;
    }
    auto live = [&running](int x) { return PosToPointer({running, 0, 60, true, 262, 300}, x); };
    EXPECT_EQ(live(38), 1);
    EXPECT_EQ(live(261), 300);
    EXPECT_EQ(live(150), 151);
    // Right edge Trunc(100 - 63 / 126 + 0.5) = 100, the newest record's column.
    EXPECT_EQ(PosToPointer({running, 0, 60, true, 100, 127}, 100), 127);
    // The first record of a run: the view's end second is not reached yet.
    EXPECT_EQ(PosToPointer({running, 0, 60, true, 38, 1}, 488), 1);

    // An index holding numbers past the log still gives a record of it.
    SampleLog wild;
    wild.secondIndex.fill(7000);
    wild.secondIndex[0] = 1;
    EXPECT_EQ(PosToPointer({wild, 0, 60, false, 0, 6000}, 488), 6000);
}

TEST(TrendNavigation, ReadOutNamesTheNearestShownTrace)
{
    SampleRecord r;
    r.field(kFieldFlowSP) = 1.5f; // y 125
    r.field(kFieldFlowMV) = 1.0f; // y 202
    r.field(kFieldOutput) = 50.f; // y 202
    std::array<bool, kTraceCount> shown{};
    shown[0] = shown[1] = shown[2] = true;
    EXPECT_EQ(NearestTrace(r, shown, 160), TraceId::FlowSP);
    EXPECT_EQ(NearestTrace(r, shown, 164), TraceId::FlowMV);
    // Measured flow and output at the same distance: the earlier one.
    EXPECT_EQ(NearestTrace(r, shown, 230), TraceId::FlowMV);
    EXPECT_EQ(NearestTrace(r, shown, 251), TraceId::FlowMV);
    EXPECT_EQ(NearestTrace(r, shown, 252), std::nullopt); // 50 pixels away
    shown[1] = false;
    EXPECT_EQ(NearestTrace(r, shown, 230), TraceId::FlowQ);
    shown.fill(false);
    EXPECT_EQ(NearestTrace(r, shown, 202), std::nullopt);

    const LabelPlace inside = ReadoutPlace(100, 200, 120, 30, 524);
    EXPECT_EQ(inside.left, 100);
    EXPECT_EQ(inside.top, 216);
    const LabelPlace corner = ReadoutPlace(405, 360, 120, 30, 524);
    EXPECT_EQ(corner.left, 404);
    EXPECT_EQ(corner.top, 365);
    EXPECT_EQ(ReadoutPlace(403, 348, 120, 30, 524).left, 403);
    EXPECT_EQ(ReadoutPlace(403, 348, 120, 30, 524).top, 364);
    EXPECT_EQ(ReadoutPlace(403, 349, 120, 30, 524).top, 365);
}
