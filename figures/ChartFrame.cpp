#include "figures/ChartFrame.h"

#include "analysis/TickStep.h"

#include <QPolygonF>

#include <cmath>

ChartScale ValueScale(double low, double high, int count) {
    if (!(high > low)) {
        const double pad = std::max(1.0, std::abs(low) * 0.05);
        low -= pad;
        high += pad;
    }
    const TickStep step = TickStep::Of(high - low, count);
    auto first = static_cast<int64_t>(std::floor(low / step.Value() + 1e-9));
    auto last = static_cast<int64_t>(std::ceil(high / step.Value() - 1e-9));
    if (last <= first)
        last = first + 1;
    ChartScale s;
    s.Low = step.At(first);
    s.High = step.At(last);
    for (int64_t k = first; k <= last; ++k)
        s.Ticks.push_back(step.At(k));
    s.Decimals = step.Decimals();
    return s;
}

QPen MarkPen(const QColor& color, ChartMark kind, double width) {
    QPen pen(color, width);
    pen.setCapStyle(Qt::FlatCap);
    if (kind == ChartMark::Dashed)
        pen.setStyle(Qt::DashLine);
    else if (kind == ChartMark::DashDot)
        pen.setStyle(Qt::DashDotLine);
    else if (kind == ChartMark::Dotted)
        pen.setStyle(Qt::DotLine);
    return pen;
}

QColor Translucent(QColor color, int alpha) {
    color.setAlpha(alpha);
    return color;
}

QStringList TickLabels(const ChartScale& s, const ChartLook& look) {
    QStringList labels;
    for (double t : s.Ticks)
        labels << QString::fromStdString(look.Style.Number(t, s.Decimals));
    return labels;
}

UnitTickLabels ScaledTickLabels(const ChartScale& s, const ChartLook& look, std::string_view unit) {
    const ScaledUnit scaled = ScaleOf(std::max(std::abs(s.Low), std::abs(s.High)), unit);
    const double step =
        s.Ticks.size() > 1 ? (s.Ticks[1] - s.Ticks[0]) / scaled.Divisor : 1 / scaled.Divisor;
    const int decimals = TickDecimals(step);
    UnitTickLabels out;
    out.Unit = QString::fromStdString(scaled.Unit);
    for (double t : s.Ticks)
        out.Labels << QString::fromStdString(look.Style.Number(t / scaled.Divisor, decimals));
    return out;
}

std::vector<std::pair<double, QString>> DayTicks(const ChartFrame& frame) {
    const double label =
        frame.Metrics().horizontalAdvance(QStringLiteral("00:00")) + 2 * frame.Gap();
    int step = 60;
    for (int hours : {1, 2, 3, 6, 12, 24}) {
        step = hours * 60;
        if (frame.Plot().width() / (MinutesPerDay / step) >= label)
            break;
    }
    std::vector<std::pair<double, QString>> ticks;
    for (int minute = 0; minute <= MinutesPerDay; minute += step)
        ticks.emplace_back(minute, QString::fromStdString(BinStartText(minute)));
    return ticks;
}

void PaintProfileSide(ChartFrame& frame, const std::vector<ProfileBin>& bins, int32_t minutes,
                      const ChartScale& s, const QColor& color) {
    QPainter& painter = frame.Painter();
    const auto at = [&](double minute, double value) {
        return frame.Map(minute, value, 0, MinutesPerDay, s);
    };
    for (size_t first = 0; first < bins.size();) {
        if (!bins[first].Mean) {
            ++first;
            continue;
        }
        size_t end = first;
        while (end < bins.size() && bins[end].Mean)
            ++end;
        // A run of bins with blocks: points at their middles, or across a lone bin.
        std::vector<double> xs;
        std::vector<const ProfileBin*> run;
        for (size_t i = first; i < end; ++i) {
            if (end - first == 1) {
                xs = {double(bins[i].StartMinute), double(bins[i].StartMinute + minutes)};
                run = {&bins[i], &bins[i]};
            } else {
                xs.push_back(bins[i].StartMinute + minutes / 2.0);
                run.push_back(&bins[i]);
            }
        }
        QPolygonF band, mean;
        for (size_t i = 0; i < run.size(); ++i) {
            band << at(xs[i], *run[i]->Maximum);
            mean << at(xs[i], *run[i]->Mean);
        }
        for (size_t i = run.size(); i-- > 0;)
            band << at(xs[i], *run[i]->Minimum);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Translucent(color, 60));
        painter.drawPolygon(band);
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(color, frame.Pen(1.6), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawPolyline(mean);
        first = end;
    }
}
