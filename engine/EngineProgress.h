#pragma once
// What a running computation needs of the progress window: the step text, two bars, the cancel
// flag, and a way to let window events run. The progress window implements it; headless runs
// (tests, the benchmark runner) implement it without a window.
#include <QString>
#include <cstdint>

class EngineProgress {
public:
    virtual ~EngineProgress() = default;
    virtual void setStepText(const QString& text) = 0;   // the step label
    virtual void setProgress1Max(int32_t max) = 0;
    virtual void setProgress2Max(int32_t max) = 0;
    virtual void updateProgress1(int32_t value) = 0;      // repaints at once
    virtual void updateProgress2(int32_t value) = 0;
    virtual bool cancel() const = 0;                      // true once Cancel was pressed
    virtual void setCancel(bool value) = 0;
    virtual void pumpEvents() = 0;                        // let pending window events run
};
