#include "figures/CapacityCharts.h"

#include "figures/ChartFrame.h"
#include "model/PlainText.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

QColor LoadColor(size_t index, const ChartLook& look) {
    const QColor colors[] = {look.Weekday, look.After, look.Weekend, QColor(0x80, 0x40, 0xa0)};
    return colors[index % std::size(colors)];
}

} // namespace

ChartLayout PaintHeadroomProfile(QPainter& painter, const QRectF& area, const CapacityStudy& s,
                                 const ChartLook& look) {
    bool headroom = false, any = false;
    double low = 0, high = -std::numeric_limits<double>::infinity();
    for (const auto* hours : {&s.Weekday, &s.Weekend})
        for (const HeadroomHour& h : *hours) {
            any = any || h.HighestAmps.has_value();
            headroom = headroom || h.HeadroomAmps.has_value();
        }
    if (!any)
        return PaintChartMessage(painter, area, QStringLiteral("No complete blocks to chart."),
                                 look);
    const auto value = [headroom](const HeadroomHour& h) {
        return headroom ? h.HeadroomAmps : h.HighestAmps;
    };
    for (const auto* hours : {&s.Weekday, &s.Weekend})
        for (const HeadroomHour& h : *hours)
            if (const auto v = value(h)) {
                low = std::min(low, *v);
                high = std::max(high, *v);
            }
    ChartLayout out;
    ChartFrame frame(painter, area, look, out);
    const ChartScale scale = ValueScale(low, std::max(high, low + 1), 6);
    frame.Place({{QStringLiteral("Weekdays"), look.Weekday, ChartMark::Bar},
                 {QStringLiteral("Weekend"), look.Weekend, ChartMark::Bar}},
                headroom ? QStringLiteral("Headroom on the tightest phase (A)")
                         : QStringLiteral("Highest block current (A)"),
                TickLabels(scale, look), QStringLiteral("Hour of day"));
    frame.DrawValueAxis(scale);
    frame.DrawXTicks(DayTicks(frame), 0, MinutesPerDay, false);
    {
        ChartFrame::PlotClip clip(frame);
        const double hour = frame.Plot().width() / 24;
        const double gap = hour > 8 * frame.Pen() ? hour * 0.1 : 0;
        const double y0 = frame.MapY(0, scale);
        for (const auto* hours : {&s.Weekday, &s.Weekend}) {
            const bool weekend = hours == &s.Weekend;
            for (const HeadroomHour& h : *hours) {
                const auto v = value(h);
                if (!v)
                    continue;
                const double left = frame.Plot().left() + h.Hour * hour + gap / 2 +
                                    (weekend ? (hour - gap) / 2 : 0);
                const double y1 = frame.MapY(*v, scale);
                painter.fillRect(
                    QRectF(left, std::min(y0, y1), (hour - gap) / 2, std::abs(y1 - y0)),
                    Translucent(weekend ? look.Weekend : look.Weekday, BarAlpha));
            }
        }
        // Below 0 the service is over its rating.
        painter.setPen(QPen(look.Limit, frame.Pen(1.5)));
        if (headroom)
            painter.drawLine(QPointF(frame.Plot().left(), y0), QPointF(frame.Plot().right(), y0));
    }
    frame.DrawBorder();
    out.Plot = frame.Plot();
    return out;
}

ChartLayout PaintNightEnergy(QPainter& painter, const QRectF& area, const CapacityStudy& s,
                             const std::optional<double>& needWh, const ChartLook& look) {
    // The nights any load has, in order: a bar group each.
    std::vector<TDateTime> nights;
    double high = needWh.value_or(0);
    for (const ManagedNights& load : s.Nights)
        for (const NightEnergy& n : load.Nights) {
            nights.push_back(n.Night);
            high = std::max(high, n.Wh);
        }
    std::sort(nights.begin(), nights.end());
    nights.erase(std::unique(nights.begin(), nights.end()), nights.end());
    if (nights.empty())
        return PaintChartMessage(
            painter, area,
            s.Nights.empty() ? QStringLiteral("No managed load: no energy per night to chart.")
                             : QStringLiteral("No charging window recorded whole."),
            look);
    ChartLayout out;
    ChartFrame frame(painter, area, look, out);
    const ChartScale scale = ValueScale(0, high > 0 ? high : 1, 6);
    const UnitTickLabels labels = ScaledTickLabels(scale, look, "WH");
    std::vector<ChartLegendItem> legend;
    for (size_t i = 0; i < s.Nights.size(); ++i)
        legend.push_back(
            {QString::fromStdString(s.Nights[i].Name), LoadColor(i, look), ChartMark::Bar});
    if (needWh)
        legend.push_back({QStringLiteral("Need per night"), look.Limit, ChartMark::Dashed});
    frame.Place(std::move(legend), QStringLiteral("Energy per night (%1)").arg(labels.Unit),
                labels.Labels, QStringLiteral("Night the charging window opens"));
    frame.DrawValueAxis(scale);
    const double count = static_cast<double>(nights.size());
    // A date under every night that has room for it.
    const double label =
        frame.Metrics().horizontalAdvance(QStringLiteral("0000-00-00")) + 4 * frame.Gap();
    const auto every =
        static_cast<size_t>(std::max(1.0, std::ceil(label / (frame.Plot().width() / count))));
    std::vector<std::pair<double, QString>> ticks;
    for (size_t i = 0; i < nights.size(); i += every)
        ticks.emplace_back(static_cast<double>(i) + 0.5,
                           QString::fromStdString(PlainDateTime(nights[i]).substr(0, 10)));
    frame.DrawXTicks(ticks, 0, count, false);
    {
        ChartFrame::PlotClip clip(frame);
        const double width = frame.Plot().width() / count;
        const double gap = width > 6 * frame.Pen() ? width * 0.15 : 0;
        const double bar = (width - gap) / static_cast<double>(s.Nights.size());
        const double y0 = frame.MapY(0, scale);
        for (size_t i = 0; i < s.Nights.size(); ++i)
            for (const NightEnergy& n : s.Nights[i].Nights) {
                const auto at = std::lower_bound(nights.begin(), nights.end(), n.Night);
                const double left = frame.Plot().left() +
                                    static_cast<double>(at - nights.begin()) * width + gap / 2 +
                                    static_cast<double>(i) * bar;
                const double y1 = frame.MapY(n.Wh, scale);
                painter.fillRect(QRectF(left, std::min(y0, y1), bar, std::abs(y1 - y0)),
                                 Translucent(LoadColor(i, look), BarAlpha));
            }
        if (needWh) {
            const double y = frame.MapY(*needWh, scale);
            painter.setPen(MarkPen(look.Limit, ChartMark::Dashed, frame.Pen(1.5)));
            painter.drawLine(QPointF(frame.Plot().left(), y), QPointF(frame.Plot().right(), y));
        }
    }
    frame.DrawBorder();
    out.Plot = frame.Plot();
    return out;
}
