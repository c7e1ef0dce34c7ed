#include "analysis/TickStep.h"

#include <algorithm>
#include <cmath>

TickStep TickStep::Of(double span, int intervals) {
    TickStep s;
    if (!std::isfinite(span) || !(span > 0) || intervals < 1)
        return s;
    const double rough = span / intervals;
    s.exponent_ = static_cast<int>(std::floor(std::log10(rough)));
    s.factor_ = 10;
    // A hair's tolerance, so that a span of exactly five steps is not pushed to the next step
    // by the last bit of a division.
    for (const int f : {1, 2, 5})
        if (f * std::pow(10.0, s.exponent_) >= rough * (1 - 1e-9)) {
            s.factor_ = f;
            break;
        }
    if (s.factor_ == 10) {
        s.factor_ = 1;
        ++s.exponent_;
    }
    return s;
}

double TickStep::At(int64_t k) const {
    // Dividing by an exact power of ten instead of multiplying by an inexact one.
    const double power = std::pow(10.0, std::abs(exponent_));
    const double steps = static_cast<double>(k) * factor_;
    return exponent_ < 0 ? steps / power : steps * power;
}

int TickStep::Decimals() const {
    return TickDecimals(Value());
}

std::vector<double> NiceTicks(double low, double high, int intervals, double* step) {
    std::vector<double> ticks;
    if (step)
        *step = 1;
    if (!std::isfinite(low) || !std::isfinite(high) || !(high > low) || intervals < 1)
        return ticks;
    const TickStep s = TickStep::Of(high - low, intervals);
    const double value = s.Value();
    if (step)
        *step = value;
    for (auto k = static_cast<int64_t>(std::ceil(low / value - 1e-9));
         s.At(k) <= high + value * 1e-9; ++k)
        ticks.push_back(s.At(k));
    return ticks;
}

int TickDecimals(double step) {
    if (!(step > 0) || !std::isfinite(step))
        return 0;
    return std::clamp(static_cast<int>(std::ceil(-std::log10(step) - 1e-9)), 0, 6);
}
