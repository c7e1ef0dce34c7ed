#pragma once

#include <QFont>
#include <QLocale>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class QFontMetrics;

class LParameterSourceGroup;

// Parameters of very different magnitudes share one plot: every value is normalised per
// physical unit to 0..1, and the chart draws a value scale of its own for each unit shown.

// One unit's scale.
struct UnitScale {
    bool Shown = false;
    bool LeftSide = false; // "V" and "A" at the left edge, the others at the right
    std::string Symbol;
    double Minimum = 0;
    double Range = 0;

    // (value - Minimum) / Range, in single precision as the series hold it.
    float Normalise(float value) const;
    // The recorded value at a normalised position.
    double Value(double normalised) const { return normalised * Range + Minimum; }
};

// The units in their fixed order: "V", "A", "W", "VAR", "VA", "[PF]", "WH" (the unit codes
// 0 to 6 of the catalogue).
constexpr int UnitCount = 7;
using UnitScaleSet = std::array<UnitScale, UnitCount>;

// Symbols from the string table, hidden, minimum and range 0.
UnitScaleSet MakeUnitScales();

// Minimum and range over the parameters of the unit's sources (the extremes of all their
// values, not only of the viewed ones, NaN samples left out); range 1 when they are all equal.
// Parameters without points and extremes that are not numbers take no part.
void MeasureUnitScale(UnitScale& scale, const LParameterSourceGroup& group, uint8_t unit);

// Each unit with an active series is shown, every other one hidden; active[i] tells whether
// the series of source i is.
void UpdateShownScales(UnitScaleSet& scales, const LParameterSourceGroup& group,
                       const std::vector<bool>& active);

// Chart margins in percent of the chart's width, and the legend's horizontal margin in pixels.
struct ChartMargins {
    int LeftPercent = 2;
    int RightPercent = 2;
    int LegendMargin = 0;
    bool operator==(const ChartMargins&) const = default;
};

// leftScales and rightScales shown, each scaleWidth pixels wide, in a chart chartWidth pixels
// wide; legendPosition as the chart record stores it (0 left, 1 right, 2 top, 3 bottom).
ChartMargins ComputeMargins(int leftScales, int rightScales, int scaleWidth, int chartWidth,
                            bool legendVisible, uint8_t legendPosition);

// The width a unit scale takes: the label width of 99999.99 in the label font, the axis line
// and the tick.
int UnitScaleWidth(const QFont& labelFont, int axisLineWidth, int tickLength);

// Round tick values (steps of 1, 2 or 5 times a power of ten) from min to max, at most
// maxCount of them (and at least two steps' worth whenever the range allows).
std::vector<double> ScaleTicks(double min, double max, int maxCount);
QString ScaleLabel(double value, int decimals, const QLocale& locale = QLocale());
// The labels of a scale's ticks, each at most maxWidth pixels wide in metrics, so that none
// is cut or runs into the next scale: as ScaleLabel writes them with the step's decimals
// when they fit, else all in thousands, millions, billions or trillions, one to three digits
// before the point for the largest ("250k", "1.5M", "12G"), else in exponent form ("1.2E+20").
QStringList ScaleLabels(const std::vector<double>& ticks, const QFontMetrics& metrics, int maxWidth,
                        const QLocale& locale = QLocale());
