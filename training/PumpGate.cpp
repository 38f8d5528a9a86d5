#include "training/PumpGate.h"

#include <chrono>

namespace {

std::int64_t steadyNanoseconds()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

}  // namespace

TPumpGate::TPumpGate(std::int64_t intervalNs, Clock clock)
    : interval_(intervalNs), clock_(clock ? std::move(clock) : Clock(steadyNanoseconds))
{
}

bool TPumpGate::Due()
{
    if (--countdown_ > 0)
        return false;
    const std::int64_t now = clock_();
    if (!started_) {
        started_ = true;
        lastRead_ = lastDue_ = now;
        countdown_ = stride_;
        return true;
    }
    const std::int64_t sinceRead = now - lastRead_;
    lastRead_ = now;
    if (sinceRead < interval_ / 20 && stride_ < kMaxStride)
        stride_ *= 2;
    else if (sinceRead > interval_ / 4)
        stride_ = 1;
    countdown_ = stride_;
    if (now - lastDue_ < interval_)
        return false;
    lastDue_ = now;
    return true;
}
