#pragma once

#include <cstdint>
#include <vector>

// The step between an axis' ticks: 1, 2 or 5 times a power of ten.
class TickStep {
public:
    // The smallest such step that cuts span into at most intervals parts.
    static TickStep Of(double span, int intervals);

    double Value() const { return At(1); }
    // k steps, written exactly: 3 × 0.1 is 0.3, not 0.30000000000000004.
    double At(int64_t k) const;
    // The decimals a label needs to tell ticks of this step apart (0 to 6).
    int Decimals() const;

private:
    int factor_ = 1;
    int exponent_ = 0;
};

// Tick values from the first multiple of the step at or above low to the last at or below
// high, the step 1, 2 or 5 times a power of ten cutting high − low into at most intervals
// parts; none when the range is empty or not finite. step receives the step (1 when none).
std::vector<double> NiceTicks(double low, double high, int intervals, double* step = nullptr);

// The decimals a label needs to tell ticks of this step apart (0 to 6).
int TickDecimals(double step);
