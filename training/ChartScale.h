#pragma once

// The range an axis shows for data between low and high: widened outward to
// whole multiples of a step of 1, 2 or 5 times a power of ten, about five
// steps in all, so the range changes only now and then as the data grow. A
// step is never below minStep (1 for counts, so their ticks fall on whole
// numbers).
struct TAxisRange {
    double Min = 0;
    double Max = 1;
    double Step = 0.2;
    bool operator==(const TAxisRange&) const = default;
};

TAxisRange NiceRange(double low, double high, double minStep = 0);
