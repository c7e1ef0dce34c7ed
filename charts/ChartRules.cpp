#include "charts/ChartRules.h"

#include "model/ErrorReport.h"
#include "model/LParameter.h"
#include "model/LParameterSourceGroup.h"

#include <cmath>
#include <cstdlib>

void LimitSpan(double lower, double& upper, double minSpan) {
    if (upper - lower < minSpan)
        upper = lower + minSpan;
}

void CheckChartSources(const LParameterSourceGroup& group) {
    for (const auto& source : group) {
        const LTableType type = source->Parameter ? source->Parameter->TableType() : ttHistoric;
        if (type == ttCumulative || type == ttIntervalCumulative)
            ShowErrorAndRaise("TChartForm::MakeSeries", "Wrong parameter type for chart");
    }
}

bool DataTimeSpan(const LParameterSourceGroup& group, TDateTime& start, TDateTime& end) {
    bool found = false;
    for (const auto& source : group) {
        float value;
        TDateTime first, last;
        if (!source->GetFirst(value, first) || !source->GetLast(value, last))
            continue;
        start = found ? std::min(start, first) : first;
        end = found ? std::max(end, last) : last;
        found = true;
    }
    return found;
}

bool CrossesMidnight(TDateTime start, TDateTime end) {
    return std::trunc(start) != std::trunc(end);
}

uint8_t PointStyleForQuantity(uint8_t quantity) {
    switch (quantity) {
    case 5:
        return 2;
    case 6:
        return 3;
    case 7:
        return 1;
    default:
        return 0;
    }
}

double ColorDistance(uint32_t a, uint32_t b) {
    auto part = [](uint32_t color, int shift) {
        return static_cast<double>((color >> shift) & 0xFF);
    };
    // The "red mean" weighting: closer to how far apart two colours look than plain RGB.
    const double meanRed = (part(a, 0) + part(b, 0)) / 2;
    const double red = part(a, 0) - part(b, 0), green = part(a, 8) - part(b, 8),
                 blue = part(a, 16) - part(b, 16);
    return std::sqrt((2 + meanRed / 256) * red * red + 4 * green * green +
                     (2 + (255 - meanRed) / 256) * blue * blue);
}

uint32_t RandomSeriesColor(uint32_t background, std::mt19937& random,
                           const std::vector<uint32_t>& taken) {
    auto part = [](uint32_t color, int shift) { return static_cast<int>((color >> shift) & 0xFF); };
    // Far enough from the background to read as a line on it, and from every colour taken to
    // be told apart; with many series, the draw farthest from the nearest colour taken.
    constexpr double FromBackground = 300, FromSeries = 250;
    constexpr int Draws = 200;
    uint32_t best = 0;
    double bestDistance = -1;
    for (int draw = 0;; ++draw) {
        const auto blue = static_cast<uint32_t>(random() % 255);
        const auto green = static_cast<uint32_t>(random() % 255);
        const auto red = static_cast<uint32_t>(random() % 255);
        const uint32_t color = blue << 16 | green << 8 | red;
        if (std::abs(part(color, 16) - part(background, 16)) < 10 &&
            std::abs(part(color, 8) - part(background, 8)) < 6 &&
            std::abs(part(color, 0) - part(background, 0)) < 10)
            continue;
        double nearest = ColorDistance(color, background) * FromSeries / FromBackground;
        for (const uint32_t other : taken)
            nearest = std::min(nearest, ColorDistance(color, other));
        if (nearest >= FromSeries)
            return color;
        if (nearest > bestDistance) {
            best = color;
            bestDistance = nearest;
        }
        if (draw >= Draws)
            return best;
    }
}
