#include "analysis/FigureChange.h"

FigureChange ChangeOf(std::optional<double> before, std::optional<double> after) {
    FigureChange c{before, after, std::nullopt, std::nullopt};
    if (before && after) {
        c.Difference = *after - *before;
        if (*before != 0)
            c.Percent = *c.Difference / *before * 100;
    }
    return c;
}
