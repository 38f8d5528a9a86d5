#include "training/PumpGate.h"

#include <gtest/gtest.h>

namespace {

constexpr std::int64_t kMs = 1'000'000;

// A clock that moves by a given step between calls of Due and counts how
// often it is read.
struct FakeClock {
    std::int64_t now = 0;
    int reads = 0;
    TPumpGate::Clock clock()
    {
        return [this] {
            ++reads;
            return now;
        };
    }
};

TEST(PumpGate, IsDueFirstThenOncePerIntervalWhateverTheCallRate)
{
    for (std::int64_t step : {std::int64_t(1000), kMs / 10, 3 * kMs, 50 * kMs}) {
        SCOPED_TRACE(step);
        FakeClock fake;
        TPumpGate gate(20 * kMs, fake.clock());
        EXPECT_TRUE(gate.Due());
        int due = 0;
        const std::int64_t span = 2000 * kMs;
        std::int64_t lastDue = 0, longestGap = 0;
        for (fake.now = step; fake.now < span; fake.now += step) {
            if (gate.Due()) {
                ++due;
                EXPECT_GE(fake.now - lastDue, 20 * kMs);
                longestGap = std::max(longestGap, fake.now - lastDue);
                lastDue = fake.now;
            }
        }
        // Never more often than the interval, and never much later than it
        // (one stride's worth of calls at most).
        EXPECT_LE(due, span / (20 * kMs));
        EXPECT_LE(longestGap, std::max<std::int64_t>(30 * kMs, step));
        EXPECT_GE(due, span / std::max<std::int64_t>(30 * kMs, step) - 1);
    }
}

TEST(PumpGate, ReadsTheClockRarelyWhenCallsAreTinyAndEveryTimeWhenTheyAreLong)
{
    FakeClock fast;
    TPumpGate quick(20 * kMs, fast.clock());
    for (int i = 0; i < 1'000'000; ++i, fast.now += 1000)  // a microsecond per epoch
        quick.Due();
    EXPECT_LT(fast.reads, 5000);
    EXPECT_GT(quick.Stride(), 100);

    FakeClock slow;
    TPumpGate patient(20 * kMs, slow.clock());
    for (int i = 0; i < 100; ++i, slow.now += 10 * kMs)
        patient.Due();
    EXPECT_EQ(slow.reads, 100);
    EXPECT_EQ(patient.Stride(), 1);

    // Epochs that suddenly grow long are noticed at the next reading, at
    // most one stride of calls later, and from then on every call reads.
    const int stride = quick.Stride();
    const int readsBefore = fast.reads;
    int calls = 0;
    while (fast.reads == readsBefore) {
        fast.now += 10 * kMs;
        quick.Due();
        ++calls;
    }
    EXPECT_LE(calls, stride);
    EXPECT_EQ(quick.Stride(), 1);
}

}  // namespace
