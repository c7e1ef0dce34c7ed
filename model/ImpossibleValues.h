#pragma once

#include "model/NumberFormat.h"

#include <cstdint>
#include <string>
#include <vector>

class LParameter;
class LParameterCollection;

// Values no recorder can produce, found when a file is opened so that a damaged one is not
// taken at face value: a power factor beyond ±1, a negative RMS voltage or current (their
// minima, maxima and averages too), an infinity, and a NaN outside the Historic series (where
// it marks a sample not taken: the gap between joined recordings).
struct ImpossibleValues {
    std::string Label; // "Power Factor - 3Ø"
    bool PowerFactor = false;
    int64_t OutOfRange = 0; // beyond ±1, or negative
    int64_t NotFinite = 0;

    bool Any() const { return OutOfRange + NotFinite > 0; }
};

ImpossibleValues CountImpossibleValues(const LParameter& parameter);
// Those of the parameters that hold any, in the collection's order.
std::vector<ImpossibleValues> FindImpossibleValues(const LParameterCollection& parameters);

// A line per parameter: "Power Factor - 3Ø: 212 values outside −1 to 1", "RMS Voltage - VAN:
// 1 negative value, 3 values that are NaN or infinite"; the counts in the numbers' format.
std::vector<std::string> ImpossibleValueLines(const std::vector<ImpossibleValues>& found,
                                              const NumberFormat& numbers = {});
