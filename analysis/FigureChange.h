#pragma once

#include <optional>

// How a figure changed: after − before, and that in % of before. Unset where a side lacks the
// figure (and the share where before is 0).
struct FigureChange {
    std::optional<double> Before, After, Difference, Percent;
};

FigureChange ChangeOf(std::optional<double> before, std::optional<double> after);
