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

uint32_t RandomSeriesColor(uint32_t background, std::mt19937& random) {
    auto part = [](uint32_t color, int shift) { return static_cast<int>((color >> shift) & 0xFF); };
    for (;;) {
        const auto blue = static_cast<uint32_t>(random() % 255);
        const auto green = static_cast<uint32_t>(random() % 255);
        const auto red = static_cast<uint32_t>(random() % 255);
        const uint32_t color = blue << 16 | green << 8 | red;
        if (std::abs(part(color, 16) - part(background, 16)) >= 10 ||
            std::abs(part(color, 8) - part(background, 8)) >= 6 ||
            std::abs(part(color, 0) - part(background, 0)) >= 10)
            return color;
    }
}
