#pragma once

#include <optional>
#include <vector>

struct CompareSide;

// A number compared between the sides: its JSON name, its title and unit in the Summary, its
// decimals there, and where a side keeps it (unset where it does not apply).
struct CompareFigure {
    const char* Key;   // "energy_per_day_wh"
    const char* Title; // "Energy per full day"
    const char* Unit;  // "WH"; empty for counts and ratios
    int Decimals = 2;
    bool Cost = false; // in the tariff's currency
    std::optional<double> (*Value)(const CompareSide& side) = nullptr;
};

// Every number of a side, in the order the Summary and the JSON give them.
const std::vector<CompareFigure>& CompareFigures();
