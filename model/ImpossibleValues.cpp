#include "model/ImpossibleValues.h"

#include "model/LParameter.h"
#include "model/LParameterCollection.h"

#include <cmath>

namespace {

constexpr uint8_t UnitVolts = 0, UnitAmperes = 1, UnitPowerFactor = 5;

// RMS values and their minima, maxima and averages; a waveform's peak is left alone.
bool IsRms(const LParameter& p) {
    const uint8_t q = p.Quantity();
    return (p.Unit() == UnitVolts || p.Unit() == UnitAmperes) &&
           (q == 0 || q == 5 || q == 6 || q == 8);
}

bool OutOfRange(const LParameter& p, float v) {
    if (p.Unit() == UnitPowerFactor)
        return v < -1 || v > 1;
    return IsRms(p) && v < 0;
}

std::string Counted(int64_t n, const NumberFormat& numbers, const char* one, const char* many) {
    return numbers.Fixed(static_cast<double>(n), 0) + (n == 1 ? one : many);
}

} // namespace

ImpossibleValues CountImpossibleValues(const LParameter& p) {
    ImpossibleValues found;
    found.PowerFactor = p.Unit() == UnitPowerFactor;
    const int32_t n = p.Count();
    if (n == 0)
        return found;
    const bool historic = p.TableType() == ttHistoric;
    // The extremes the parameter keeps answer for nearly every series without a look at its
    // values.
    if (historic && std::isfinite(p.Lowest()) && std::isfinite(p.Highest()) &&
        !OutOfRange(p, p.Lowest()) && !OutOfRange(p, p.Highest()))
        return found;
    const float* v = p.Values();
    for (int32_t i = 0; i < n; ++i) {
        if (std::isinf(v[i]) || (std::isnan(v[i]) && !historic))
            ++found.NotFinite;
        else if (OutOfRange(p, v[i]))
            ++found.OutOfRange;
    }
    if (found.Any())
        found.Label = p.Name() + " - " + p.ChannelLabel();
    return found;
}

std::vector<ImpossibleValues> FindImpossibleValues(const LParameterCollection& parameters) {
    std::vector<ImpossibleValues> all;
    for (const auto& p : parameters)
        if (const ImpossibleValues found = CountImpossibleValues(*p); found.Any())
            all.push_back(found);
    return all;
}

std::vector<std::string> ImpossibleValueLines(const std::vector<ImpossibleValues>& found,
                                              const NumberFormat& numbers) {
    std::vector<std::string> lines;
    for (const ImpossibleValues& f : found) {
        std::string line = f.Label + ": ";
        if (f.OutOfRange > 0)
            line += f.PowerFactor
                        ? Counted(f.OutOfRange, numbers, " value outside −1 to 1",
                                  " values outside −1 to 1")
                        : Counted(f.OutOfRange, numbers, " negative value", " negative values");
        if (f.NotFinite > 0)
            line += (f.OutOfRange > 0 ? ", " : "") + Counted(f.NotFinite, numbers,
                                                             " value that is NaN or infinite",
                                                             " values that are NaN or infinite");
        lines.push_back(std::move(line));
    }
    return lines;
}
