#pragma once
// What a running computation needs of the progress window: the step text, two bars, the cancel
// flag, and a way to let window events run. The progress window implements it; headless runs
// (tests, the benchmark runner) implement it without a window.
//
// The computation reports at its own rate (a bar may move after every piece): an implementation
// records each value at once and draws at the screen's rate, never waiting for the screen. It
// lets window events run when its PumpPacer says the interval is over, not after every piece.
#include <QString>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

class EngineProgress {
public:
    virtual ~EngineProgress() = default;
    virtual void setStepText(const QString& text) = 0;   // the step label
    virtual void setProgress1Max(int32_t max) = 0;
    virtual void setProgress2Max(int32_t max) = 0;
    virtual void updateProgress1(int32_t value) = 0;      // recorded at once, drawn at display rate
    virtual void updateProgress2(int32_t value) = 0;
    virtual bool cancel() const = 0;                      // true once Cancel was pressed
    virtual void setCancel(bool value) = 0;
    virtual void pumpEvents() = 0;                        // let pending window events run
};

// When window events are due again: `due()` turns true once the interval has passed since the
// last `pumped()` (and before the first). Asking costs one relaxed atomic load, so a computation
// may ask after every piece without reading a clock; a timer thread raises the flag and sleeps
// while nobody pumps. An interval of 0 makes events due after every piece (tests that must see
// the events at a given piece).
// How often a run lets window events run: often enough for Cancel to answer at once; events that
// find nothing to do cost a few microseconds, and the progress window draws at its own rate.
inline constexpr std::chrono::milliseconds kPumpInterval{5};

class PumpPacer {
public:
    explicit PumpPacer(std::chrono::milliseconds interval) : interval_(interval) {}
    ~PumpPacer();
    PumpPacer(const PumpPacer&) = delete;
    PumpPacer& operator=(const PumpPacer&) = delete;

    bool due() const { return due_.load(std::memory_order_relaxed); }
    void pumped();   // events just ran: the next are due one interval from now
    void setInterval(std::chrono::milliseconds interval);

private:
    void tick();

    std::chrono::milliseconds interval_;
    std::atomic<bool> due_{true};
    std::mutex mutex_;
    std::condition_variable wake_;
    bool timing_ = false;   // an interval is running
    bool stop_ = false;
    std::thread thread_;    // started by the first pumped()
};
