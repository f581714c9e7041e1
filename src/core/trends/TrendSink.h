// What a running loop asks of the Trends window. The desktop program's
// Trends window implements it; the headless driver passes none.
#pragma once

namespace velmor {

class TrendSink {
public:
    virtual ~TrendSink() = default;

    // Start of a run.
    virtual void DrawNewAxes() = 0;
    virtual void RestoreLine() = 0;
    virtual void ShowStartTime(int seconds) = 0; // txtStartTime, s
    virtual void HideFloat() = 0;                // txtFloat

    // Every cycle.
    virtual void DrawBars(int recordNumber) = 0;
    virtual int SetXPoints(double t) = 0; // t in s to x in pixels; may scroll the live view
    virtual void TrendSP() = 0;
    virtual void TrendMV() = 0;
    virtual void TrendQ() = 0;
    virtual void TrendTempSP() = 0;
    virtual void TrendTempMV() = 0;
    virtual void TrendTempQ() = 0;
    virtual void TrendVolSP() = 0;
    virtual void TrendVolMV() = 0;
    virtual void TrendLevelSP() = 0;
    virtual void TrendLevelMV() = 0;
    virtual void DrawMark() = 0;
    virtual void PIDUpdate(int recordNumber) = 0;
};

} // namespace velmor
