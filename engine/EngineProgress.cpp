#include "engine/EngineProgress.h"

PumpPacer::~PumpPacer()
{
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    wake_.notify_one();
    if (thread_.joinable())
        thread_.join();
}

void PumpPacer::setInterval(std::chrono::milliseconds interval)
{
    std::lock_guard lock(mutex_);
    interval_ = interval;
    due_.store(true, std::memory_order_relaxed);
}

void PumpPacer::pumped()
{
    {
        std::lock_guard lock(mutex_);
        if (interval_.count() <= 0)
            return;   // due after every piece
        due_.store(false, std::memory_order_relaxed);
        timing_ = true;
        if (!thread_.joinable())
            thread_ = std::thread([this] { tick(); });
    }
    wake_.notify_one();
}

void PumpPacer::tick()
{
    std::unique_lock lock(mutex_);
    while (!stop_) {
        wake_.wait(lock, [this] { return stop_ || timing_; });
        // A pumped() during the wait starts the interval again.
        while (!stop_ && timing_) {
            timing_ = false;
            if (!wake_.wait_for(lock, interval_, [this] { return stop_ || timing_; }))
                due_.store(true, std::memory_order_relaxed);
        }
    }
}
