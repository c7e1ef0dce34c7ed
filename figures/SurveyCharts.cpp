#include "figures/SurveyCharts.h"

#include "figures/ChartFrame.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <optional>

namespace {

QString FromStd(const std::string& text) {
    return QString::fromStdString(text);
}

// "2024-03-11" of a midnight.
QString DateText(TDateTime midnight) {
    return FromStd(FormatIso8601(midnight).substr(0, 10));
}

// "Mon 2024-03-11".
QString WeekdayDateText(TDateTime midnight) {
    static const char* const names[] = {"Sat", "Sun", "Mon", "Tue", "Wed", "Thu", "Fri"};
    const int64_t day = DayOfSecond(WholeSeconds(midnight));
    const int64_t weekday = ((day % 7) + 7) % 7;
    return QString::fromLatin1(names[weekday]) + ' ' + DateText(midnight);
}

// A polyline of many more points than the device pixel columns it spans, cut to the first,
// lowest, highest and last point of each column, in their order: it draws the same, and the
// stroker no longer takes a second over a year of blocks.
QPolygonF ThinToColumns(const QPolygonF& line, const QPainter& painter) {
    const QTransform t = painter.deviceTransform();
    const double scale = std::hypot(t.m11(), t.m12());
    const qsizetype n = line.size();
    if (n < 8 || !(scale > 0) || n <= 4 * (line.back().x() - line.front().x()) * scale + 8)
        return line;
    QPolygonF thin;
    for (qsizetype i = 0; i < n;) {
        const double column = std::floor(line[i].x() * scale);
        qsizetype j = i, low = i, high = i;
        while (j + 1 < n && std::floor(line[j + 1].x() * scale) == column) {
            ++j;
            if (line[j].y() < line[low].y())
                low = j;
            if (line[j].y() > line[high].y())
                high = j;
        }
        std::array<qsizetype, 4> keep = {i, low, high, j};
        std::sort(keep.begin(), keep.end());
        for (size_t k = 0; k < keep.size(); ++k)
            if (k == 0 || keep[k] != keep[k - 1])
                thin << line[keep[k]];
        i = j + 1;
    }
    return thin;
}

// Ticks at whole hours (over at most three days, unless daysOnly) or midnights
// between two times (days), as far apart as their labels need: "09:00" for hours, "2024-03-11"
// for days.
std::vector<std::pair<double, QString>> TimeTicks(const ChartFrame& frame, TDateTime from,
                                                  TDateTime to, bool daysOnly = false) {
    const double gap = 2 * frame.Gap();
    const double hourLabel = frame.Metrics().horizontalAdvance(QStringLiteral("00:00")) + gap;
    const double dayLabel = frame.Metrics().horizontalAdvance(QStringLiteral("0000-00-00")) + gap;
    const double span = std::max(to - from, 1.0 / 24);
    const double perDay = frame.Plot().width() / span;
    double step = 0;
    // Hours only over a few days: across a week and more the dates say more.
    for (double hours : {1.0, 2.0, 3.0, 6.0, 12.0}) {
        if (!daysOnly && span <= 3 && perDay * hours / 24 >= hourLabel) {
            step = hours / 24;
            break;
        }
    }
    if (step == 0) {
        step = 1;
        for (double days : {1.0, 2.0, 7.0, 14.0, 28.0, 56.0, 112.0, 364.0}) {
            step = days;
            if (perDay * days >= dayLabel)
                break;
        }
    }
    std::vector<std::pair<double, QString>> ticks;
    // Weeks start on Mondays (day 2 of the count, which starts on a Saturday).
    const double offset = step >= 7 && std::fmod(step, 7) == 0 ? 2 : 0;
    const double first = std::ceil((from - offset) / step - 1e-9) * step + offset;
    for (double t = first; t <= to + 1e-9; t += step) {
        const TDateTime whole = SecondsToDays(WholeSeconds(t));
        ticks.emplace_back(whole, step >= 1 ? DateText(whole)
                                            : FromStd(FormatIso8601(whole).substr(11, 5)));
    }
    return ticks;
}

// The colour of a share from 0 to 1 of the heat map's range: blue through green and yellow
// to red.
QColor HeatColor(double share) {
    static const QColor stops[] = {QColor(0x2c, 0x3e, 0x9c), QColor(0x2b, 0x9f, 0xc2),
                                   QColor(0x5c, 0xc0, 0x5a), QColor(0xf2, 0xd0, 0x3c),
                                   QColor(0xd7, 0x30, 0x27)};
    constexpr int last = static_cast<int>(std::size(stops)) - 1;
    const double at = std::clamp(share, 0.0, 1.0) * last;
    const int i = std::min(static_cast<int>(at), last - 1);
    const double f = at - i;
    const QColor& a = stops[i];
    const QColor& b = stops[i + 1];
    return QColor::fromRgbF(static_cast<float>(a.redF() + (b.redF() - a.redF()) * f),
                            static_cast<float>(a.greenF() + (b.greenF() - a.greenF()) * f),
                            static_cast<float>(a.blueF() + (b.blueF() - a.blueF()) * f));
}

QColor ChannelColor(size_t index, const ChartLook& look) {
    const QColor colors[] = {look.Weekday,
                             look.Weekend,
                             QColor(0x2e, 0x8b, 0x3e),
                             QColor(0x7b, 0x3f, 0xa0),
                             QColor(0x8c, 0x56, 0x2d),
                             QColor(0x20, 0x90, 0x90)};
    return colors[index % std::size(colors)];
}

const QString NoBlocksText = QStringLiteral("No complete blocks to chart.");

// Ticks of the share of time from 0 to 100 %, 10 or 25 apart as their labels need.
std::vector<std::pair<double, QString>> ShareTicks(const ChartFrame& frame) {
    std::vector<std::pair<double, QString>> ticks;
    const double label = frame.Metrics().horizontalAdvance(QStringLiteral("100")) + 2 * frame.Gap();
    const int step = frame.Plot().width() / 10 >= label ? 10 : 25;
    for (int p = 0; p <= 100; p += step)
        ticks.emplace_back(p, QString::number(p));
    return ticks;
}

// Values sorted highest first against the share of time from 0 to 100 %.
void DrawDurationCurve(ChartFrame& frame, const std::vector<double>& sorted, const ChartScale& s,
                       const QColor& color) {
    // The curve falls monotonically: a few points per pixel column draw it whole.
    const size_t n = sorted.size();
    const size_t points = std::min(n, static_cast<size_t>(std::max(2.0, 2 * frame.Plot().width())));
    QPolygonF curve;
    for (size_t j = 0; j < points; ++j) {
        const size_t i =
            points == 1 ? 0 : static_cast<size_t>(std::llround(double(j) * (n - 1) / (points - 1)));
        const double share = n == 1 ? 0 : 100.0 * i / (n - 1);
        curve << frame.Map(share, sorted[i], 0, 100, s);
    }
    if (n == 1)
        curve << frame.Map(100, sorted[0], 0, 100, s);
    frame.Painter().setPen(QPen(color, frame.Pen(1.8), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    frame.Painter().drawPolyline(curve);
}

// A line across the plot at value y.
void DrawLevel(ChartFrame& frame, double y, const ChartScale& s, const QColor& color,
               ChartMark kind, double width = 1.5) {
    const double at = frame.MapY(y, s);
    frame.Painter().setPen(MarkPen(color, kind, frame.Pen(width)));
    frame.Painter().drawLine(QPointF(frame.Plot().left(), at), QPointF(frame.Plot().right(), at));
}

// Block values at the middles of their blocks (length seconds from their starts), joined while
// the blocks follow each other and broken where one is missing.
void DrawBlockLine(ChartFrame& frame, const std::vector<TimedValue>& blocks, int64_t length,
                   TDateTime from, TDateTime to, const ChartScale& s, const QColor& color,
                   double width = 1.3) {
    QPainter& painter = frame.Painter();
    painter.setPen(QPen(color, frame.Pen(width), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QPolygonF line;
    int64_t previous = 0;
    const auto flush = [&] {
        if (line.size() == 1)
            line << line.front() + QPointF(frame.Pen(1), 0);
        painter.drawPolyline(ThinToColumns(line, painter));
        line.clear();
    };
    for (const TimedValue& b : blocks) {
        const int64_t start = WholeSeconds(b.Time);
        if (!line.isEmpty() && start != previous + length)
            flush();
        line << frame.Map(SecondsToDays(start) + length / 2.0 / SecsPerDay, b.Value, from, to, s);
        previous = start;
    }
    if (!line.isEmpty())
        flush();
}

// The first and last time of blocks and their ends, in days; unset without blocks.
std::optional<std::pair<TDateTime, TDateTime>>
BlockSpan(std::initializer_list<std::pair<const std::vector<TimedValue>*, int32_t>> series) {
    std::optional<std::pair<TDateTime, TDateTime>> span;
    for (const auto& [blocks, minutes] : series) {
        if (!blocks || blocks->empty())
            continue;
        const TDateTime first = blocks->front().Time;
        const TDateTime last = blocks->back().Time + minutes / 1440.0;
        span = span ? std::pair{std::min(span->first, first), std::max(span->second, last)}
                    : std::pair{first, last};
    }
    return span;
}

} // namespace

ChartLayout PaintChartMessage(QPainter& painter, const QRectF& area, const QString& text,
                              const ChartLook& look) {
    ChartLayout out;
    painter.save();
    painter.fillRect(area, look.Background);
    painter.setFont(look.Font);
    painter.setPen(look.Text);
    painter.drawText(area, Qt::AlignCenter | Qt::TextWordWrap, text);
    painter.restore();
    out.Plot = area;
    out.Texts << text;
    return out;
}

ChartLayout PaintDailyProfile(QPainter& painter, const QRectF& area, const PowerSurvey& power,
                              const ChartLook& look) {
    const DailyProfile& profile = power.Profile;
    double low = std::numeric_limits<double>::infinity(), high = -low;
    bool weekday = false, weekend = false;
    for (const auto* bins : {&profile.Weekday, &profile.Weekend})
        for (const ProfileBin& bin : *bins)
            if (bin.Mean) {
                low = std::min(low, *bin.Minimum);
                high = std::max(high, *bin.Maximum);
                (bins == &profile.Weekday ? weekday : weekend) = true;
            }
    if (!weekday && !weekend)
        return PaintChartMessage(painter, area, NoBlocksText, look);

    ChartLayout out;
    ChartFrame frame(painter, area, look, out);
    const ChartScale s = ValueScale(std::min(low, 0.0), high, 6);
    std::vector<ChartLegendItem> legend;
    if (weekday) {
        legend.push_back({QStringLiteral("Weekday mean"), look.Weekday, ChartMark::Line});
        legend.push_back(
            {QStringLiteral("Weekday minimum to maximum"), look.Weekday, ChartMark::Band});
    }
    if (weekend) {
        legend.push_back({QStringLiteral("Weekend mean"), look.Weekend, ChartMark::Line});
        legend.push_back(
            {QStringLiteral("Weekend minimum to maximum"), look.Weekend, ChartMark::Band});
    }
    const UnitTickLabels labels = ScaledTickLabels(s, look, "W");
    frame.Place(
        std::move(legend),
        QStringLiteral("Demand (%1), blocks of %2 min").arg(labels.Unit).arg(profile.Minutes),
        labels.Labels, QStringLiteral("Time of day"));
    frame.DrawValueAxis(s);
    frame.DrawXTicks(DayTicks(frame), 0, MinutesPerDay, true);
    {
        ChartFrame::PlotClip clip(frame);
        PaintProfileSide(frame, profile.Weekday, profile.Minutes, s, look.Weekday);
        PaintProfileSide(frame, profile.Weekend, profile.Minutes, s, look.Weekend);
    }
    frame.DrawBorder();
    out.Plot = frame.Plot();
    return out;
}

ChartLayout PaintHeatMap(QPainter& painter, const QRectF& area, const PowerSurvey& power,
                         const ChartLook& look) {
    const HeatMap& heat = power.Heat;
    double low = std::numeric_limits<double>::infinity(), high = -low;
    for (double cell : heat.Cells)
        if (std::isfinite(cell)) {
            low = std::min(low, cell);
            high = std::max(high, cell);
        }
    if (heat.Days.empty() || heat.Bins <= 0 || !std::isfinite(low))
        return PaintChartMessage(painter, area, NoBlocksText, look);

    ChartLayout out;
    ChartFrame frame(painter, area, look, out);
    const ChartScale s = ValueScale(low, high, 5);
    const UnitTickLabels scaled = ScaledTickLabels(s, look, "W");
    const QStringList& scaleLabels = scaled.Labels;
    double scaleWidth = frame.Metrics().horizontalAdvance(scaled.Unit);
    for (const QString& label : scaleLabels)
        scaleWidth = std::max(scaleWidth, frame.Metrics().horizontalAdvance(label));
    const double bar = frame.Line();
    const double right = 2 * frame.Gap() + bar + frame.Gap() + scaleWidth;
    QStringList dayLabels;
    for (TDateTime day : heat.Days)
        dayLabels << WeekdayDateText(day);
    frame.Place({}, QStringLiteral("Day"), dayLabels, QStringLiteral("Time of day"), right);
    frame.DrawValueAxis(ChartScale{0, 1, {}, 0}); // the titles only
    const QRectF plot = frame.Plot();

    // The cells, edge to edge.
    const size_t rows = heat.Days.size();
    const double rowHeight = plot.height() / static_cast<double>(rows);
    const double cellWidth = plot.width() / heat.Bins;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (size_t r = 0; r < rows; ++r) {
        const double top = std::round(plot.top() + r * rowHeight);
        const double bottom = std::round(plot.top() + (r + 1) * rowHeight);
        for (int32_t b = 0; b < heat.Bins; ++b) {
            const double left = std::round(plot.left() + b * cellWidth);
            const double end = std::round(plot.left() + (b + 1) * cellWidth);
            const std::optional<double> cell = heat.Cell(r, b);
            painter.fillRect(QRectF(left, top, end - left, bottom - top),
                             cell ? HeatColor((*cell - s.Low) / (s.High - s.Low)) : look.Empty);
        }
    }
    painter.restore();

    // The day labels, as many as fit.
    const int every = std::max(1, static_cast<int>(std::ceil(frame.Line() / rowHeight)));
    for (size_t r = 0; r < rows; r += every) {
        const double middle = plot.top() + (r + 0.5) * rowHeight;
        frame.Text(QRectF(area.left(), middle - frame.Line() / 2,
                          plot.left() - area.left() - frame.Gap(), frame.Line()),
                   Qt::AlignRight | Qt::AlignVCenter, dayLabels[static_cast<int>(r)]);
    }
    frame.DrawXTicks(DayTicks(frame), 0, MinutesPerDay, false);
    frame.DrawBorder();

    // The colour legend: the scale from the lowest (bottom) to the highest demand (top).
    const QRectF legend(plot.right() + 2 * frame.Gap(), plot.top(), bar, plot.height());
    QLinearGradient gradient(legend.bottomLeft(), legend.topLeft());
    for (int i = 0; i <= 8; ++i)
        gradient.setColorAt(i / 8.0, HeatColor(i / 8.0));
    painter.fillRect(legend, gradient);
    painter.setPen(QPen(look.Axis, frame.Pen()));
    painter.drawRect(legend);
    frame.Text(QRectF(legend.left(), plot.top() - frame.Line() * 1.5, area.right() - legend.left(),
                      frame.Line()),
               Qt::AlignLeft | Qt::AlignVCenter, scaled.Unit);
    for (size_t i = 0; i < s.Ticks.size(); ++i) {
        const double y = frame.MapY(s.Ticks[i], s);
        painter.setPen(QPen(look.Axis, frame.Pen()));
        painter.drawLine(QPointF(legend.right(), y), QPointF(legend.right() + frame.Gap() / 2, y));
        frame.Text(QRectF(legend.right() + frame.Gap(), y - frame.Line() / 2,
                          scaleWidth + frame.Gap(), frame.Line()),
                   Qt::AlignLeft | Qt::AlignVCenter, scaleLabels[static_cast<int>(i)]);
    }
    out.Plot = plot;
    return out;
}

ChartLayout PaintLoadDuration(QPainter& painter, const QRectF& area, const PowerSurvey& power,
                              const ChartLook& look) {
    const LoadDuration& d = power.Duration;
    if (d.Sorted.empty())
        return PaintChartMessage(painter, area, NoBlocksText, look);

    ChartLayout out;
    ChartFrame frame(painter, area, look, out);
    double high = d.Sorted.front(), low = d.Sorted.back();
    if (d.ThresholdWatts) {
        high = std::max(high, *d.ThresholdWatts);
        low = std::min(low, *d.ThresholdWatts);
    }
    const ChartScale s = ValueScale(std::min(low, 0.0), high, 6);
    std::vector<ChartLegendItem> legend = {
        {QStringLiteral("Demand of %1-minute blocks, highest first").arg(power.Blocks.Minutes),
         look.Weekday, ChartMark::Line}};
    if (d.ThresholdWatts)
        legend.push_back(
            {QStringLiteral("Threshold %1").arg(FromStd(look.Style.Scaled(*d.ThresholdWatts, "W"))),
             look.Limit, ChartMark::Dashed});
    const UnitTickLabels labels = ScaledTickLabels(s, look, "W");
    frame.Place(std::move(legend), QStringLiteral("Demand (%1)").arg(labels.Unit), labels.Labels,
                QStringLiteral("Share of time (%)"));
    frame.DrawValueAxis(s);
    frame.DrawXTicks(ShareTicks(frame), 0, 100, true);
    {
        ChartFrame::PlotClip clip(frame);
        DrawDurationCurve(frame, d.Sorted, s, look.Weekday);
        if (d.ThresholdWatts)
            DrawLevel(frame, *d.ThresholdWatts, s, look.Limit, ChartMark::Dashed);
    }
    frame.DrawBorder();
    out.Plot = frame.Plot();
    return out;
}

ChartLayout PaintVoltageBlocks(QPainter& painter, const QRectF& area,
                               const VoltageVariation& voltage, const ChartLook& look) {
    double low = std::numeric_limits<double>::infinity(), high = -low;
    int64_t first = std::numeric_limits<int64_t>::max(), last = std::numeric_limits<int64_t>::min();
    for (const VoltageChannel& c : voltage.Channels)
        for (const DemandBlock& b : c.Blocks.Blocks)
            if (b.Complete) {
                low = std::min(low, b.Mean);
                high = std::max(high, b.Mean);
                first = std::min(first, b.Start);
                last = std::max(last, b.Start + 60 * int64_t(c.Blocks.Minutes));
            }
    if (!std::isfinite(low))
        return PaintChartMessage(painter, area,
                                 QStringLiteral("No complete 10-minute blocks to chart."), look);

    ChartLayout out;
    ChartFrame frame(painter, area, look, out);
    const std::optional<double> un = voltage.NominalVolts;
    if (un) {
        low = std::min(low, *un * 0.85);
        high = std::max(high, *un * 1.1);
    }
    const double pad = (high - low) * 0.04;
    const ChartScale s = ValueScale(low - pad, high + pad, 6);
    std::vector<ChartLegendItem> legend;
    for (size_t i = 0; i < voltage.Channels.size(); ++i)
        legend.push_back(
            {FromStd(voltage.Channels[i].ChannelLabel), ChannelColor(i, look), ChartMark::Line});
    if (un) {
        legend.push_back({QStringLiteral("Un %1 V").arg(FromStd(look.Style.Number(*un, 0))),
                          look.Axis, ChartMark::Dotted});
        legend.push_back({QStringLiteral("Un ± 10 %"), look.Limit, ChartMark::Dashed});
        legend.push_back({QStringLiteral("Un − 15 %"), look.Limit, ChartMark::DashDot});
    }
    frame.Place(std::move(legend), QStringLiteral("10-minute mean (V)"), TickLabels(s, look),
                QString());
    frame.DrawValueAxis(s);
    const TDateTime from = SecondsToDays(first), to = SecondsToDays(last);
    frame.DrawXTicks(TimeTicks(frame, from, to), from, to, true);
    {
        ChartFrame::PlotClip clip(frame);
        if (un) {
            const std::pair<double, ChartMark> limits[] = {{1.0, ChartMark::Dotted},
                                                           {1.1, ChartMark::Dashed},
                                                           {0.9, ChartMark::Dashed},
                                                           {0.85, ChartMark::DashDot}};
            for (const auto& [factor, kind] : limits) {
                const double y = frame.MapY(*un * factor, s);
                painter.setPen(MarkPen(factor == 1.0 ? look.Axis : look.Limit, kind,
                                       frame.Pen(factor == 1.0 ? 1 : 1.4)));
                painter.drawLine(QPointF(frame.Plot().left(), y), QPointF(frame.Plot().right(), y));
            }
        }
        for (size_t i = 0; i < voltage.Channels.size(); ++i) {
            const BlockSeries& blocks = voltage.Channels[i].Blocks;
            std::vector<TimedValue> complete;
            for (const DemandBlock& b : blocks.Blocks)
                if (b.Complete)
                    complete.push_back({b.Mean, b.StartTime()});
            DrawBlockLine(frame, complete, 60 * int64_t(blocks.Minutes), from, to, s,
                          ChannelColor(i, look));
        }
    }
    frame.DrawBorder();
    out.Plot = frame.Plot();
    return out;
}

ChartLayout PaintCostPerDay(QPainter& painter, const QRectF& area, const CostStudy& cost,
                            const ChartLook& look) {
    size_t periods = 0;
    double high = 0, low = 0;
    for (const CostDay& day : cost.PerDay) {
        periods = std::max(periods, day.PeriodCosts.size());
        double up = 0, down = 0;
        for (double c : day.PeriodCosts)
            (c >= 0 ? up : down) += c;
        high = std::max(high, up);
        low = std::min(low, down);
    }
    if (cost.PerDay.empty())
        return PaintChartMessage(painter, area, QStringLiteral("No days to chart."), look);

    ChartLayout out;
    ChartFrame frame(painter, area, look, out);
    const ChartScale s = ValueScale(low, high > low ? high : low + 1, 6);
    std::vector<ChartLegendItem> legend;
    for (size_t p = 0; p < periods; ++p)
        legend.push_back(
            {periods == 1 ? QStringLiteral("All hours") : QStringLiteral("Period %1").arg(p),
             ChannelColor(p, look), ChartMark::Bar});
    const QString money = FromStd(cost.Currency);
    frame.Place(std::move(legend), QStringLiteral("Energy cost per day (%1)").arg(money),
                TickLabels(s, look), QString());
    frame.DrawValueAxis(s);
    const TDateTime from = cost.PerDay.front().Date, to = cost.PerDay.back().Date + 1;
    // Days labelled under the middles of their bars.
    auto ticks = TimeTicks(frame, from, to, true);
    std::erase_if(ticks, [&](const auto& tick) { return tick.first > to - 0.5; });
    for (auto& tick : ticks)
        tick.first += 0.5;
    frame.DrawXTicks(ticks, from, to, false);
    {
        ChartFrame::PlotClip clip(frame);
        // A day's periods from the axis outwards, a gap between the days while they are wide.
        const double dayWidth = frame.Plot().width() / (to - from);
        const double gap = dayWidth > 6 * frame.Pen() ? dayWidth * 0.15 : 0;
        painter.setPen(Qt::NoPen);
        for (const CostDay& day : cost.PerDay) {
            const double left = frame.Map(day.Date, 0, from, to, s).x() + gap / 2;
            double up = 0, down = 0;
            for (size_t p = 0; p < day.PeriodCosts.size(); ++p) {
                const double c = day.PeriodCosts[p];
                double& base = c >= 0 ? up : down;
                const double y0 = frame.MapY(base, s), y1 = frame.MapY(base + c, s);
                base += c;
                painter.fillRect(QRectF(left, std::min(y0, y1), dayWidth - gap, std::abs(y1 - y0)),
                                 Translucent(ChannelColor(p, look), BarAlpha));
            }
        }
        DrawLevel(frame, 0, s, look.Axis, ChartMark::Line, 1);
    }
    frame.DrawBorder();
    out.Plot = frame.Plot();
    return out;
}

ChartLayout PaintEnergyPerDay(QPainter& painter, const QRectF& area, const PowerSurvey& power,
                              const ChartLook& look) {
    const std::vector<EnergyDay>& days = power.Days;
    if (days.empty())
        return PaintChartMessage(painter, area, QStringLiteral("No days to chart."), look);
    double high = 0, low = 0;
    for (const EnergyDay& day : days) {
        high = std::max(high, day.EnergyWh);
        low = std::min(low, day.EnergyWh);
    }
    ChartLayout out;
    ChartFrame frame(painter, area, look, out);
    const ChartScale s = ValueScale(low, high > low ? high : low + 1, 6);
    const UnitTickLabels labels = ScaledTickLabels(s, look, "WH");
    frame.Place({{QStringLiteral("Full weekday"), look.Weekday, ChartMark::Bar},
                 {QStringLiteral("Full weekend day"), look.Weekend, ChartMark::Bar},
                 {QStringLiteral("Day recorded in part"), look.Axis, ChartMark::Band}},
                QStringLiteral("Energy per day (%1)").arg(labels.Unit), labels.Labels, QString());
    frame.DrawValueAxis(s);
    const TDateTime from = days.front().Date, to = days.back().Date + 1;
    frame.DrawXTicks(TimeTicks(frame, from, to, true), from, to, true);
    {
        ChartFrame::PlotClip clip(frame);
        const double dayWidth = frame.Plot().width() / (to - from);
        const double gap = dayWidth > 6 * frame.Pen() ? dayWidth * 0.15 : 0;
        for (const EnergyDay& day : days) {
            const QColor color = !day.Full() ? Translucent(look.Axis, 70)
                                 : IsWeekend(static_cast<int64_t>(day.Date))
                                     ? Translucent(look.Weekend, BarAlpha)
                                     : Translucent(look.Weekday, BarAlpha);
            const double left = frame.Map(day.Date, 0, from, to, s).x() + gap / 2;
            const double y0 = frame.MapY(0, s), y1 = frame.MapY(day.EnergyWh, s);
            painter.fillRect(QRectF(left, std::min(y0, y1), dayWidth - gap, std::abs(y1 - y0)),
                             color);
        }
    }
    frame.DrawBorder();
    out.Plot = frame.Plot();
    return out;
}

ChartLayout PaintPowerFactorBlocks(QPainter& painter, const QRectF& area, const PowerSurvey& power,
                                   const ChartLook& look) {
    const PowerFactorCorrection& pf = power.PowerFactor;
    const auto span = BlockSpan({{&pf.BlockPf, power.Blocks.Minutes}});
    if (!span)
        return PaintChartMessage(painter, area, NoBlocksText, look);

    ChartLayout out;
    ChartFrame frame(painter, area, look, out);
    double low = pf.Target;
    for (const TimedValue& b : pf.BlockPf)
        low = std::min(low, b.Value);
    const ChartScale s = ValueScale(low - (1 - low) * 0.05, 1, 6);
    std::vector<ChartLegendItem> legend = {
        {QStringLiteral("Power factor of %1-minute blocks").arg(power.Blocks.Minutes), look.Weekday,
         ChartMark::Line},
        {QStringLiteral("Target %1").arg(FromStd(look.Style.Number(pf.Target))), look.Limit,
         ChartMark::Dashed}};
    frame.Place(std::move(legend), QStringLiteral("Power factor"), TickLabels(s, look), QString());
    frame.DrawValueAxis(s);
    const auto [from, to] = *span;
    frame.DrawXTicks(TimeTicks(frame, from, to), from, to, true);
    {
        ChartFrame::PlotClip clip(frame);
        DrawLevel(frame, pf.Target, s, look.Limit, ChartMark::Dashed);
        DrawBlockLine(frame, pf.BlockPf, 60 * int64_t(power.Blocks.Minutes), from, to, s,
                      look.Weekday);
    }
    frame.DrawBorder();
    out.Plot = frame.Plot();
    return out;
}

ChartLayout PaintQcDuration(QPainter& painter, const QRectF& area, const PowerSurvey& power,
                            const ChartLook& look) {
    const PowerFactorCorrection& pf = power.PowerFactor;
    if (pf.QcSorted.empty())
        return PaintChartMessage(painter, area, NoBlocksText, look);

    ChartLayout out;
    ChartFrame frame(painter, area, look, out);
    const double bank = pf.BankVar.value_or(0);
    const ChartScale s = ValueScale(0, std::max(pf.QcSorted.front(), bank), 6);
    std::vector<ChartLegendItem> legend = {
        {QStringLiteral("Qc of %1-minute blocks, highest first").arg(power.Blocks.Minutes),
         look.Weekday, ChartMark::Line}};
    if (pf.BankVar)
        legend.push_back({QStringLiteral("Bank %1").arg(FromStd(look.Style.Scaled(bank, "var"))),
                          look.Limit, ChartMark::Dashed});
    const UnitTickLabels labels = ScaledTickLabels(s, look, "var");
    frame.Place(std::move(legend),
                QStringLiteral("Qc (%1), target %2")
                    .arg(labels.Unit, FromStd(look.Style.Number(pf.Target))),
                labels.Labels, QStringLiteral("Share of time (%)"));
    frame.DrawValueAxis(s);
    frame.DrawXTicks(ShareTicks(frame), 0, 100, true);
    {
        ChartFrame::PlotClip clip(frame);
        DrawDurationCurve(frame, pf.QcSorted, s, look.Weekday);
        if (pf.BankVar)
            DrawLevel(frame, bank, s, look.Limit, ChartMark::Dashed);
    }
    frame.DrawBorder();
    out.Plot = frame.Plot();
    return out;
}

ChartLayout PaintUnbalanceBlocks(QPainter& painter, const QRectF& area,
                                 const UnbalanceStudy& unbalance, const ChartLook& look) {
    const UnbalanceFigures* voltage = unbalance.Voltage ? &*unbalance.Voltage : nullptr;
    const UnbalanceFigures* current = unbalance.Current ? &*unbalance.Current : nullptr;
    const auto span =
        BlockSpan({{voltage ? &voltage->Series : nullptr, voltage ? voltage->Minutes : 0},
                   {current ? &current->Series : nullptr, current ? current->Minutes : 0}});
    if (!span)
        return PaintChartMessage(painter, area,
                                 QStringLiteral("No blocks of three phases to chart."), look);

    ChartLayout out;
    ChartFrame frame(painter, area, look, out);
    double high = VoltageUnbalanceLimit;
    std::vector<ChartLegendItem> legend;
    const auto channels = [](const UnbalanceFigures& f) {
        QStringList names;
        for (const std::string& c : f.Channels)
            names << FromStd(c);
        return names.join(QStringLiteral(", "));
    };
    const std::pair<const UnbalanceFigures*, QColor> series[] = {{voltage, look.Weekday},
                                                                 {current, look.Weekend}};
    for (const auto& [f, color] : series) {
        if (!f || f->Series.empty())
            continue;
        for (const TimedValue& b : f->Series)
            high = std::max(high, b.Value);
        legend.push_back(
            {QStringLiteral("%1 %2, %3-minute blocks")
                 .arg(f == voltage ? QStringLiteral("Voltage") : QStringLiteral("Current"),
                      channels(*f))
                 .arg(f->Minutes),
             color, ChartMark::Line});
    }
    legend.push_back({QStringLiteral("2 %"), look.Limit, ChartMark::Dashed});
    const ChartScale s = ValueScale(0, high * 1.04, 6);
    frame.Place(std::move(legend), QStringLiteral("Unbalance (%)"), TickLabels(s, look), QString());
    frame.DrawValueAxis(s);
    const auto [from, to] = *span;
    frame.DrawXTicks(TimeTicks(frame, from, to), from, to, true);
    {
        ChartFrame::PlotClip clip(frame);
        DrawLevel(frame, VoltageUnbalanceLimit, s, look.Limit, ChartMark::Dashed);
        for (const auto& [f, color] : series)
            if (f)
                DrawBlockLine(frame, f->Series, 60 * int64_t(f->Minutes), from, to, s, color);
    }
    frame.DrawBorder();
    out.Plot = frame.Plot();
    return out;
}

double PaintNotes(QPainter& painter, const QRectF& area, const QStringList& notes,
                  const ChartLook& look) {
    if (notes.isEmpty())
        return 0;
    painter.save();
    painter.setFont(look.Font);
    painter.setPen(look.Text);
    const QFontMetricsF metrics(look.Font, painter.device());
    double y = area.top();
    for (const QString& note : notes) {
        const QRectF box(area.left(), y, area.width(), area.bottom() - y);
        QRectF used;
        painter.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, note, &used);
        y += std::max(used.height(), metrics.height()) + metrics.height() / 4;
    }
    painter.restore();
    return y - area.top() + metrics.height() / 4;
}

double PaintTextTable(QPainter& painter, const QRectF& area, const std::vector<QStringList>& rows,
                      const std::vector<bool>& alignRight, const ChartLook& look) {
    if (rows.empty())
        return 0;
    QFont font = look.Font;
    QFont bold = font;
    bold.setBold(true);
    size_t columns = 0;
    for (const QStringList& row : rows)
        columns = std::max(columns, static_cast<size_t>(row.size()));
    std::vector<double> widths;
    double gap = 0, line = 0, total = 0;
    // Measured again in a smaller font while the rows are wider than the area.
    for (int attempt = 0; attempt < 8; ++attempt) {
        const QFontMetricsF plain(font, painter.device()), heavy(bold, painter.device());
        gap = 2 * plain.averageCharWidth();
        line = std::max(plain.height(), heavy.height());
        widths.assign(columns, 0);
        for (size_t r = 0; r < rows.size(); ++r)
            for (int c = 0; c < rows[r].size(); ++c)
                widths[static_cast<size_t>(c)] =
                    std::max(widths[static_cast<size_t>(c)],
                             (r == 0 ? heavy : plain).horizontalAdvance(rows[r][c]));
        total = gap * (columns > 0 ? columns - 1 : 0);
        for (double w : widths)
            total += w;
        // Fonts in points (on paper) or in pixels (on screen), down to the smallest.
        const bool points = font.pointSizeF() > 0;
        const double size = points ? font.pointSizeF() : font.pixelSize();
        const double smallest = points ? look.SmallestPointSize : 7;
        if (total <= area.width() || size <= smallest)
            break;
        const double smaller = std::max(smallest, size * area.width() / total * 0.98);
        for (QFont* f : {&font, &bold}) {
            if (points)
                f->setPointSizeF(smaller);
            else
                f->setPixelSize(static_cast<int>(smaller));
        }
    }
    // Still too wide: groups of the columns, each with the columns that name the rows.
    size_t leading = 0;
    while (leading < columns && !(leading < alignRight.size() && alignRight[leading]))
        ++leading;
    std::vector<std::vector<size_t>> groups{{}};
    for (size_t c = 0; c < columns; ++c)
        groups.front().push_back(c);
    if (total > area.width())
        groups = ColumnGroups(widths, leading, area.width(), gap);
    painter.save();
    painter.setPen(look.Text);
    double y = area.top();
    for (size_t g = 0; g < groups.size(); ++g) {
        if (g > 0)
            y += line;
        for (size_t r = 0; r < rows.size() && y + line <= area.bottom() + 0.5; ++r) {
            painter.setFont(r == 0 ? bold : font);
            double x = area.left();
            for (const size_t column : groups[g]) {
                const bool right = column < alignRight.size() && alignRight[column] && r > 0;
                if (column < static_cast<size_t>(rows[r].size()))
                    painter.drawText(QRectF(x, y, widths[column], line),
                                     (right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter,
                                     rows[r][static_cast<qsizetype>(column)]);
                x += widths[column] + gap;
            }
            y += line;
            if (r == 0) {
                painter.setPen(QPen(look.Axis, look.PenScale));
                painter.drawLine(QPointF(area.left(), y), QPointF(x - gap, y));
                painter.setPen(look.Text);
            }
        }
    }
    painter.restore();
    return y - area.top();
}

double PaintTextTable(QPainter& painter, const QRectF& area, const TextTable& table,
                      const ChartLook& look) {
    std::vector<QStringList> rows;
    for (const auto& row : table.Texts(look.Style)) {
        QStringList& texts = rows.emplace_back();
        for (const std::string& cell : row)
            texts << QString::fromStdString(cell);
    }
    std::vector<bool> right;
    for (const TextColumn& column : table.Columns)
        right.push_back(column.Right);
    return PaintTextTable(painter, area, rows, right, look);
}
