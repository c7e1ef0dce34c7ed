#include "charts/ChartText.h"

#include "model/LParameter.h"
#include "model/LParameterSource.h"
#include "resources/StringTable.h"
#include "texts/DateTimeText.h"
#include "texts/LocaleNumbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

QString FormatFixed(double value, const QLocale& locale) {
    if (!std::isfinite(value))
        return locale.toString(value);
    char digits[64];
    const char* end =
        std::to_chars(digits, digits + sizeof digits, value, std::chars_format::scientific, 7).ptr;
    double rounded = value;
    std::from_chars(digits, end, rounded);
    NumberFormat plain = KeptLocaleNumbers(locale);
    plain.Group = 0;
    if (std::fabs(rounded) < 1e8)
        return QString::fromStdString(plain.Fixed(rounded, 2));
    // "1.2345678E+08": the mantissa in the locale's numbers, a signed exponent of two digits
    // at least.
    const char* e = std::find(static_cast<const char*>(digits), end, 'e');
    double m = 0;
    int exponent = 0;
    std::from_chars(digits, e, m);
    std::from_chars(e + 1 + (e[1] == '+'), end, exponent);
    std::string text = plain.Fixed(m, 7);
    text += exponent < 0 ? "E-" : "E+";
    const std::string power = std::to_string(std::abs(exponent));
    text += (power.size() < 2 ? "0" : "") + power;
    return QString::fromStdString(text);
}

namespace {

QString Label(const LParameter& p) {
    return QString::fromStdString(p.Name() + " - " + p.ChannelLabel());
}

} // namespace

QString SeriesTitle(const LParameterSource& source, bool showMinMax, const QLocale& locale,
                    const QString& shownUnit) {
    const LParameter* p = source.Parameter;
    if (!p)
        return {};
    const QString unit = QString::fromStdString(p->ShortUnit());
    QString title = Label(*p);
    if (p->TableType() == ttHistoric && showMinMax)
        title += QStringLiteral(" [ ") + FormatFixed(p->Lowest(), locale) + unit +
                 QStringLiteral(" .. ") + FormatFixed(p->Highest(), locale) + unit +
                 QStringLiteral(" ] ");
    else if (!shownUnit.isEmpty() || !unit.isEmpty())
        title += QStringLiteral(" (") + (shownUnit.isEmpty() ? unit : shownUnit) + QLatin1Char(')');
    // An interval twin is told from its Event or Cumulative parameter of the same name.
    if (p->TableType() == ttIntervalEvent || p->TableType() == ttIntervalCumulative)
        title += QStringLiteral(" (intervals)");
    return title;
}

QStringList FooterLines(bool showStartEnd, bool showLocation, bool hasSpan, TDateTime start,
                        TDateTime end, const std::string& location,
                        const DateTimeFormatter& format) {
    QStringList lines;
    if (showStartEnd && hasSpan)
        lines << QString::fromStdString(LoadStr(StrStart)) + QStringLiteral(": ") +
                     format.DateTimeToStr(start) + QLatin1Char(' ') +
                     QString::fromStdString(LoadStr(StrEnd)) + QStringLiteral(": ") +
                     format.DateTimeToStr(end);
    if (showLocation && !location.empty())
        lines << QString::fromStdString(location);
    return lines;
}

QString ExamineText(const LParameterSource& source, int32_t viewIndex,
                    const DateTimeFormatter& format) {
    float value;
    TDateTime time;
    if (!source.Parameter || !source.GetPoint(viewIndex, value, time))
        return QString::fromStdString(LoadStr(StrNoValue));
    return Label(*source.Parameter) + QStringLiteral(" = ") + FormatFixed(value, format.Locale()) +
           QString::fromStdString(source.Parameter->ShortUnit()) + QStringLiteral("  ") +
           format.DateTimeToStr(time);
}
