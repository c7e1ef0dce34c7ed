#include "figures/CompareCharts.h"

#include "analysis/CompareTables.h"
#include "figures/ChartFrame.h"

#include <QPolygonF>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// One stratum's profiles of both sides.
ChartLayout PaintStratumProfiles(QPainter& painter, const QRectF& area, const Comparison& c,
                                 bool weekend, const ChartLook& look) {
    const auto& before =
        weekend ? c.Before.Power().Profile.Weekend : c.Before.Power().Profile.Weekday;
    const auto& after = weekend ? c.After.Power().Profile.Weekend : c.After.Power().Profile.Weekday;
    const QString days = weekend ? QStringLiteral("Weekend days") : QStringLiteral("Weekdays");
    double low = std::numeric_limits<double>::infinity(), high = -low;
    for (const auto* bins : {&before, &after})
        for (const ProfileBin& bin : *bins)
            if (bin.Mean) {
                low = std::min(low, *bin.Minimum);
                high = std::max(high, *bin.Maximum);
            }
    if (!std::isfinite(low))
        return PaintChartMessage(painter, area,
                                 days + QStringLiteral(": no complete blocks to chart."), look);
    ChartLayout out;
    ChartFrame frame(painter, area, look, out);
    const ChartScale s = ValueScale(std::min(low, 0.0), high, 6);
    const UnitTickLabels labels = ScaledTickLabels(s, look, "W");
    frame.Place({{QStringLiteral("Before, mean"), look.Before, ChartMark::Line},
                 {QStringLiteral("minimum to maximum"), look.Before, ChartMark::Band},
                 {QStringLiteral("After, mean"), look.After, ChartMark::Line},
                 {QStringLiteral("minimum to maximum"), look.After, ChartMark::Band}},
                days + QStringLiteral(": demand (%1), blocks of %2 min")
                           .arg(labels.Unit)
                           .arg(c.Options.BlockMinutes),
                labels.Labels, QStringLiteral("Time of day"));
    frame.DrawValueAxis(s);
    frame.DrawXTicks(DayTicks(frame), 0, MinutesPerDay, true);
    {
        ChartFrame::PlotClip clip(frame);
        PaintProfileSide(frame, before, c.Options.BlockMinutes, s, look.Before);
        PaintProfileSide(frame, after, c.Options.BlockMinutes, s, look.After);
    }
    frame.DrawBorder();
    out.Plot = frame.Plot();
    return out;
}

QString DayText(TDateTime midnight) {
    return QString::fromStdString(FormatIso8601(midnight).substr(0, 10));
}

// A heading in bold, a quarter larger than the look's font; the rest of the area below it.
QRectF Heading(QPainter& painter, const QRectF& area, const QString& text, const ChartLook& look,
               ChartLayout& out) {
    QFont bold = look.Font;
    bold.setBold(true);
    if (bold.pointSizeF() > 0)
        bold.setPointSizeF(bold.pointSizeF() * 1.25);
    else
        bold.setPixelSize(bold.pixelSize() * 5 / 4);
    painter.setFont(bold);
    painter.setPen(look.Text);
    const QFontMetricsF metrics(bold, painter.device());
    painter.drawText(QPointF(area.left(), area.top() + metrics.ascent()), text);
    out.Texts << text;
    return area.adjusted(0, 1.5 * metrics.height(), 0, 0);
}

} // namespace

ChartLayout PaintCompareSummary(QPainter& painter, const QRectF& area, const Comparison& c,
                                const ChartLook& look) {
    ChartLayout out;
    out.Plot = area;
    painter.save();
    painter.fillRect(area, look.Background);
    const QFontMetricsF metrics(look.Font, painter.device());
    const double margin = metrics.averageCharWidth();
    QRectF rest = area.adjusted(margin, margin, -margin, -margin);
    for (const auto& [title, table] :
         {std::pair{QStringLiteral("Summary"), CompareSummaryTable(c, CompareUnits::ForPeople)},
          std::pair{QStringLiteral("Saving"), SavingTable(c, CompareUnits::ForPeople)}}) {
        rest = Heading(painter, rest, title, look, out);
        rest.setTop(rest.top() + PaintTextTable(painter, rest, table, look) + metrics.height());
    }
    painter.setFont(look.Font);
    painter.setPen(look.Text);
    for (const std::string& line : CompareNotes(c)) {
        const QString text = QString::fromStdString(line);
        const QRectF box = painter.boundingRect(rest, Qt::TextWordWrap, text);
        painter.drawText(rest, Qt::TextWordWrap, text);
        rest.setTop(rest.top() + box.height());
        out.Texts << text;
    }
    painter.restore();
    out.Plot.setBottom(std::min(area.bottom(), rest.top() + margin));
    return out;
}

ChartLayout PaintCompareProfiles(QPainter& painter, const QRectF& area, const Comparison& c,
                                 const ChartLook& look) {
    QRectF top = area;
    top.setHeight(area.height() / 2);
    const ChartLayout upper = PaintStratumProfiles(painter, top, c, false, look);
    const ChartLayout lower =
        PaintStratumProfiles(painter, top.translated(0, top.height()), c, true, look);
    ChartLayout out;
    out.Plot = upper.Plot.united(lower.Plot);
    out.Texts = upper.Texts + lower.Texts;
    return out;
}

ChartLayout PaintCompareEnergy(QPainter& painter, const QRectF& area, const Comparison& c,
                               const ChartLook& look) {
    const std::vector<EnergyDay>& before = c.Before.FullDayList;
    const std::vector<EnergyDay>& after = c.After.FullDayList;
    double high = 0;
    for (const auto* days : {&before, &after})
        for (const EnergyDay& d : *days)
            high = std::max(high, d.EnergyWh);
    ChartLayout out;
    ChartFrame frame(painter, area, look, out);
    const ChartScale s = ValueScale(0, high, 6);
    const UnitTickLabels energy = ScaledTickLabels(s, look, "WH");
    frame.Place(
        {{QStringLiteral("Before"), look.Before, ChartMark::Band},
         {QStringLiteral("After"), look.After, ChartMark::Band},
         {QStringLiteral("Weekday mean"), look.Axis, ChartMark::Line},
         {QStringLiteral("Weekend mean (paler bars: weekend days)"), look.Axis, ChartMark::Dashed}},
        QStringLiteral("Energy of a full day (%1)").arg(energy.Unit), energy.Labels, QString());
    frame.DrawValueAxis(s);
    // A slot per day, two empty slots between the sides.
    const double slotCount = static_cast<double>(before.size() + after.size() + 2);
    const double width = frame.Plot().width() / slotCount;
    const auto left = [&](double slot) { return frame.Plot().left() + slot * width; };
    std::vector<std::pair<double, QString>> labels;
    {
        ChartFrame::PlotClip clip(frame);
        painter.setRenderHint(QPainter::Antialiasing, false);
        const auto side = [&](const CompareSide& sideOf, const std::vector<EnergyDay>& days,
                              double first, const QColor& color) {
            double slot = first;
            for (const EnergyDay& d : days) {
                const bool weekend = IsWeekend(static_cast<int64_t>(d.Date));
                const double top = frame.MapY(d.EnergyWh, s);
                const double gap = std::min(width * 0.15, frame.Pen(2));
                painter.fillRect(QRectF(left(slot) + gap, top, std::max(width - 2 * gap, 1.0),
                                        frame.Plot().bottom() - top),
                                 weekend ? Translucent(color, 110) : color);
                slot += 1;
            }
            painter.setRenderHint(QPainter::Antialiasing, true);
            for (const auto& [mean, mark] : {std::pair{sideOf.WeekdayEnergyWh, ChartMark::Line},
                                             std::pair{sideOf.WeekendEnergyWh, ChartMark::Dashed}})
                if (mean) {
                    painter.setPen(MarkPen(look.Axis, mark, frame.Pen(1.6)));
                    const double y = frame.MapY(*mean, s);
                    painter.drawLine(QPointF(left(first), y), QPointF(left(slot), y));
                }
            painter.setRenderHint(QPainter::Antialiasing, false);
        };
        side(c.Before, before, 0, look.Before);
        side(c.After, after, static_cast<double>(before.size()) + 2, look.After);
    }
    const auto groupLabel = [&](const char* name, const std::vector<EnergyDay>& days,
                                double first) {
        if (days.empty())
            return;
        const double middle = (left(first) + left(first + static_cast<double>(days.size()))) / 2;
        labels.emplace_back(middle, QString::fromLatin1(name) + ' ' + DayText(days.front().Date) +
                                        QStringLiteral(" to ") + DayText(days.back().Date));
    };
    groupLabel("Before:", before, 0);
    groupLabel("After:", after, static_cast<double>(before.size()) + 2);
    for (const auto& [x, text] : labels)
        frame.Text(QRectF(x - frame.Plot().width() / 4, frame.Plot().bottom() + frame.Gap() / 2,
                          frame.Plot().width() / 2, frame.Line()),
                   Qt::AlignCenter, text);
    frame.DrawBorder();
    out.Plot = frame.Plot();
    return out;
}

ChartLayout PaintCompareDuration(QPainter& painter, const QRectF& area, const Comparison& c,
                                 const ChartLook& look) {
    const std::vector<double>& before = c.Before.Power().Duration.Sorted;
    const std::vector<double>& after = c.After.Power().Duration.Sorted;
    if (before.empty() && after.empty())
        return PaintChartMessage(painter, area, QStringLiteral("No complete blocks to chart."),
                                 look);
    double high = 0, low = 0;
    for (const auto* sorted : {&before, &after})
        if (!sorted->empty()) {
            high = std::max(high, sorted->front());
            low = std::min(low, sorted->back());
        }
    ChartLayout out;
    ChartFrame frame(painter, area, look, out);
    const ChartScale s = ValueScale(low, high, 6);
    const UnitTickLabels labels = ScaledTickLabels(s, look, "W");
    frame.Place({{QStringLiteral("Before"), look.Before, ChartMark::Line},
                 {QStringLiteral("After"), look.After, ChartMark::Line}},
                QStringLiteral("Demand of %1-minute blocks (%2), highest first")
                    .arg(c.Options.BlockMinutes)
                    .arg(labels.Unit),
                labels.Labels, QStringLiteral("Share of each side's own time (%)"));
    frame.DrawValueAxis(s);
    std::vector<std::pair<double, QString>> ticks;
    for (int p = 0; p <= 100; p += 10)
        ticks.emplace_back(p, QString::number(p));
    frame.DrawXTicks(ticks, 0, 100, true);
    {
        ChartFrame::PlotClip clip(frame);
        for (const auto& [sorted, color] :
             {std::pair{&before, look.Before}, {&after, look.After}}) {
            const size_t n = sorted->size();
            if (n == 0)
                continue;
            // The curve falls monotonically: a few points per pixel column draw it whole.
            const size_t points =
                std::min(n, static_cast<size_t>(std::max(2.0, 2 * frame.Plot().width())));
            QPolygonF curve;
            for (size_t j = 0; j < points; ++j) {
                const size_t i = points == 1 ? 0
                                             : static_cast<size_t>(std::llround(
                                                   double(j) * double(n - 1) / double(points - 1)));
                curve << frame.Map(n == 1 ? 0 : 100.0 * double(i) / double(n - 1), (*sorted)[i], 0,
                                   100, s);
            }
            if (n == 1)
                curve << frame.Map(100, (*sorted)[0], 0, 100, s);
            painter.setPen(QPen(color, frame.Pen(1.8), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            painter.drawPolyline(curve);
        }
    }
    frame.DrawBorder();
    out.Plot = frame.Plot();
    return out;
}
