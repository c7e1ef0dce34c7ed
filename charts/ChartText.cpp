#include "charts/ChartText.h"

#include "model/LParameter.h"
#include "model/LParameterSource.h"
#include "resources/StringTable.h"
#include "tables/DateTimeText.h"

#include <cmath>
#include <cstdio>

QString FormatFixed(double value, const QLocale& locale) {
    if (!std::isfinite(value))
        return locale.toString(value);
    char digits[32];
    std::snprintf(digits, sizeof digits, "%.7e", value);
    const double rounded = std::strtod(digits, nullptr);
    QLocale plain = locale;
    plain.setNumberOptions(plain.numberOptions() | QLocale::OmitGroupSeparator);
    if (std::fabs(rounded) >= 1e8)
        return plain.toString(rounded, 'E', 7);
    return plain.toString(rounded, 'f', 2);
}

namespace {

QString Label(const LParameter& p) {
    return QString::fromStdString(p.Name() + " - " + p.ChannelLabel());
}

} // namespace

QString SeriesTitle(const LParameterSource& source, bool showMinMax, const QLocale& locale) {
    const LParameter* p = source.Parameter;
    if (!p)
        return {};
    const QString unit = QString::fromStdString(p->ShortUnit());
    QString title = Label(*p);
    if (p->TableType() == ttHistoric && showMinMax)
        title += QStringLiteral(" [ ") + FormatFixed(p->Minimum(), locale) + unit +
                 QStringLiteral(" .. ") + FormatFixed(p->Maximum(), locale) + unit +
                 QStringLiteral(" ] ");
    else if (!unit.isEmpty())
        title += QStringLiteral(" (") + unit + QLatin1Char(')');
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
