#include "charts/UnitScales.h"

#include "analysis/TickStep.h"

#include "model/LParameter.h"
#include "model/LParameterSourceGroup.h"
#include "model/ParameterTable.h"
#include "texts/LocaleNumbers.h"

#include <QFontMetrics>

#include <algorithm>
#include <cmath>
#include <limits>

float UnitScale::Normalise(float value) const {
    return (value - static_cast<float>(Minimum)) / static_cast<float>(Range);
}

UnitScaleSet MakeUnitScales() {
    UnitScaleSet scales;
    for (int u = 0; u < UnitCount; ++u) {
        UnitScale& s = scales[static_cast<size_t>(u)];
        s.Symbol = ShortUnitName(static_cast<uint8_t>(u));
        s.LeftSide = u < 2;
    }
    return scales;
}

void MeasureUnitScale(UnitScale& scale, const LParameterSourceGroup& group, uint8_t unit) {
    double minimum = std::numeric_limits<double>::infinity();
    double maximum = -std::numeric_limits<double>::infinity();
    for (const auto& source : group) {
        const LParameter* p = source->Parameter;
        if (!p || p->Unit() != unit || p->Count() == 0)
            continue;
        // Not Minimum: a gap's NaN would hide the values before it.
        if (std::isfinite(p->Lowest()))
            minimum = std::min(minimum, static_cast<double>(p->Lowest()));
        if (std::isfinite(p->Highest()))
            maximum = std::max(maximum, static_cast<double>(p->Highest()));
    }
    if (!(minimum <= maximum)) {
        scale.Minimum = 0;
        scale.Range = 1;
        return;
    }
    scale.Minimum = minimum;
    scale.Range = maximum - minimum;
    if (scale.Range == 0)
        scale.Range = 1;
}

void UpdateShownScales(UnitScaleSet& scales, const LParameterSourceGroup& group,
                       const std::vector<bool>& active) {
    for (UnitScale& s : scales)
        s.Shown = false;
    for (int32_t i = 0; i < group.Count() && static_cast<size_t>(i) < active.size(); ++i) {
        const LParameter* p = group.Items(i)->Parameter;
        if (active[static_cast<size_t>(i)] && p && p->Unit() < UnitCount)
            scales[p->Unit()].Shown = true;
    }
}

ChartMargins ComputeMargins(int leftScales, int rightScales, int scaleWidth, int chartWidth,
                            bool legendVisible, uint8_t legendPosition) {
    auto percent = [&](int n) {
        return chartWidth > 0
                   ? static_cast<int>(static_cast<int64_t>(n) * scaleWidth * 100 / chartWidth)
                   : 0;
    };
    ChartMargins m;
    m.LeftPercent = percent(leftScales) + 2;
    m.RightPercent = percent(rightScales) + 2;
    if (!legendVisible)
        return m;
    switch (legendPosition) {
    case 0: // left: the scales stand between the legend and the plot
        m.LeftPercent = 2;
        m.LegendMargin = leftScales * scaleWidth;
        break;
    case 1:
        m.RightPercent = 2;
        m.LegendMargin = rightScales * scaleWidth;
        break;
    default:
        m.LegendMargin = 4;
    }
    return m;
}

int UnitScaleWidth(const QFont& labelFont, int axisLineWidth, int tickLength) {
    return QFontMetrics(labelFont).horizontalAdvance(QStringLiteral("99999.99")) + axisLineWidth +
           tickLength;
}

std::vector<double> ScaleTicks(double min, double max, int maxCount) {
    return NiceTicks(min, max, std::max(maxCount - 1, 1));
}

QString ScaleLabel(double value, int decimals, const QLocale& locale) {
    return QString::fromStdString(KeptLocaleNumbers(locale).Fixed(value, decimals));
}

QStringList ScaleLabels(const std::vector<double>& ticks, const QFontMetrics& metrics, int maxWidth,
                        const QLocale& locale) {
    const double step = ticks.size() > 1 ? ticks[1] - ticks[0] : 0.0;
    const auto fits = [&](const QStringList& labels) {
        return std::all_of(labels.begin(), labels.end(), [&](const QString& label) {
            return metrics.horizontalAdvance(label) <= maxWidth;
        });
    };
    QStringList labels;
    for (const double v : ticks)
        labels << ScaleLabel(v, TickDecimals(step), locale);
    if (fits(labels))
        return labels;
    // One to three digits before the point for the largest tick, if they fit.
    static const char* const Suffixes[] = {"k", "M", "G", "T"};
    double largest = 0;
    for (const double v : ticks)
        largest = std::max(largest, std::fabs(v));
    size_t first = 0;
    while (first + 1 < std::size(Suffixes) && largest >= std::pow(1000.0, first + 2))
        ++first;
    for (size_t i = first; i < std::size(Suffixes); ++i) {
        const double divisor = std::pow(1000.0, i + 1);
        const int decimals = step > 0 ? TickDecimals(step / divisor) : 0;
        labels.clear();
        for (const double v : ticks)
            labels << ScaleLabel(v / divisor, decimals, locale) + QLatin1String(Suffixes[i]);
        if (fits(labels))
            return labels;
    }
    labels.clear();
    for (const double v : ticks)
        labels << locale.toString(v, 'g', 2);
    return labels;
}
