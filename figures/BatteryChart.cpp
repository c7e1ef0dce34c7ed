#include "figures/BatteryChart.h"

#include "figures/ChartFrame.h"

#include <QPainter>
#include <QPolygonF>

#include <algorithm>

namespace {

QString FromStd(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

ChartLayout PaintBatteryCurve(QPainter& painter, const QRectF& area, const BatteryStudy& battery,
                              const ChartLook& look) {
    if (battery.Rows.empty())
        return PaintChartMessage(painter, area, QStringLiteral("No caps to chart."), look);

    // The rows run from the highest cap down; the axis from the lowest up.
    double lowCap = battery.Rows.back().CapWatts, highCap = battery.Rows.front().CapWatts;
    double energy = 0, saveLow = 0, saveHigh = 0;
    bool saving = false;
    for (const BatteryRow& r : battery.Rows) {
        energy = std::max(energy, r.EnergyWh);
        if (r.YearSaving) {
            saving = true;
            saveLow = std::min(saveLow, *r.YearSaving);
            saveHigh = std::max(saveHigh, *r.YearSaving);
        }
    }
    if (!(highCap > lowCap)) {
        lowCap *= 0.9;
        highCap = highCap * 1.1 + 1;
    }

    ChartLayout out;
    ChartFrame frame(painter, area, look, out);
    const ChartScale s = ValueScale(0, std::max(energy, 1.0), 6);
    const ChartScale money = ValueScale(saveLow, saveHigh > saveLow ? saveHigh : saveLow + 1, 6);
    const ChartScale caps = ValueScale(lowCap, highCap, 8);
    const QString currency = FromStd(battery.Currency);
    std::vector<ChartLegendItem> legend = {
        {QStringLiteral("Battery energy"), look.Weekday, ChartMark::Line}};
    if (saving)
        legend.push_back({QStringLiteral("Saving a year (%1, right)").arg(currency), look.After,
                          ChartMark::Line});
    const BatteryRow* shortest = nullptr;
    const BatteryRow* threshold = nullptr;
    for (const BatteryRow& r : battery.Rows) {
        if (r.ShortestPayback)
            shortest = &r;
        if (r.Threshold)
            threshold = &r;
    }
    if (shortest)
        legend.push_back({QStringLiteral("Shortest payback at %1")
                              .arg(FromStd(look.Style.Scaled(shortest->CapWatts, "W"))),
                          look.Weekend, ChartMark::Dashed});
    if (threshold)
        legend.push_back({QStringLiteral("Threshold %1")
                              .arg(FromStd(look.Style.Scaled(threshold->CapWatts, "W"))),
                          look.Limit, ChartMark::Dotted});

    const UnitTickLabels energyLabels = ScaledTickLabels(s, look, "WH");
    const QStringList moneyLabels = TickLabels(money, look);
    double right = 0;
    if (saving)
        for (const QString& label : moneyLabels)
            right = std::max(right, frame.Metrics().horizontalAdvance(label) + 2 * frame.Gap());
    const UnitTickLabels capLabels = ScaledTickLabels(caps, look, "W");
    frame.Place(std::move(legend), QStringLiteral("Battery energy (%1)").arg(energyLabels.Unit),
                energyLabels.Labels, QStringLiteral("Cap (%1)").arg(capLabels.Unit), right);
    frame.DrawValueAxis(s);
    std::vector<std::pair<double, QString>> ticks;
    for (size_t i = 0; i < caps.Ticks.size(); ++i)
        ticks.emplace_back(caps.Ticks[i], capLabels.Labels[static_cast<qsizetype>(i)]);
    frame.DrawXTicks(ticks, caps.Low, caps.High, true);
    const QRectF plot = frame.Plot();
    if (saving)
        for (size_t i = 0; i < money.Ticks.size(); ++i) {
            const double y = frame.MapY(money.Ticks[i], money);
            const double top = std::min(y - frame.Line() / 2, plot.bottom() - frame.Line());
            frame.Text(QRectF(plot.right() + frame.Gap(), top, right, frame.Line()),
                       Qt::AlignLeft | Qt::AlignVCenter, moneyLabels[static_cast<qsizetype>(i)]);
        }
    {
        ChartFrame::PlotClip clip(frame);
        const auto upright = [&](const BatteryRow* row, const QColor& color, ChartMark kind) {
            if (!row)
                return;
            const double x = frame.Map(row->CapWatts, 0, caps.Low, caps.High, s).x();
            painter.setPen(MarkPen(color, kind, frame.Pen(1.5)));
            painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
        };
        upright(shortest, look.Weekend, ChartMark::Dashed);
        upright(threshold, look.Limit, ChartMark::Dotted);
        const auto curve = [&](const ChartScale& scale, const QColor& color, auto value) {
            QPolygonF line;
            for (const BatteryRow& r : battery.Rows)
                if (const std::optional<double> v = value(r))
                    line << frame.Map(r.CapWatts, *v, caps.Low, caps.High, scale);
            painter.setPen(QPen(color, frame.Pen(1.8), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            painter.drawPolyline(line);
            painter.setBrush(color);
            const double dot = frame.Pen(2.5);
            for (const QPointF& p : line)
                painter.drawEllipse(p, dot, dot);
            painter.setBrush(Qt::NoBrush);
        };
        curve(s, look.Weekday,
              [](const BatteryRow& r) { return std::optional<double>(r.EnergyWh); });
        if (saving)
            curve(money, look.After, [](const BatteryRow& r) { return r.YearSaving; });
    }
    frame.DrawBorder();
    out.Plot = plot;
    return out;
}
