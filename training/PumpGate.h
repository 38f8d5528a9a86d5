#pragma once

#include <cstdint>
#include <functional>

// Decides when a pump that is called after every epoch should do its work:
// at most once per interval. Asking the clock costs as much as a tiny epoch,
// so it is asked only on every stride-th call; the stride doubles while the
// clock readings come closer than a twentieth of the interval and drops to 1
// when they are more than a quarter apart. Calls come at a steady pace in a
// run, so the readings settle between a twentieth and a tenth of the interval.
class TPumpGate {
public:
    using Clock = std::function<std::int64_t()>;  // nanoseconds from any start

    explicit TPumpGate(std::int64_t intervalNs, Clock clock = {});

    // True on the first call and whenever at least the interval has passed
    // since the last true.
    bool Due();

    int Stride() const { return stride_; }

private:
    static constexpr int kMaxStride = 1 << 16;

    std::int64_t interval_;
    Clock clock_;
    bool started_ = false;
    int stride_ = 1;
    int countdown_ = 1;
    std::int64_t lastRead_ = 0;
    std::int64_t lastDue_ = 0;
};
