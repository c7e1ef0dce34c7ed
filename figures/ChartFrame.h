#pragma once

#include "analysis/DailyProfile.h"
#include "figures/SurveyCharts.h"

#include <QColor>
#include <QFontMetricsF>
#include <QPainter>
#include <QPen>
#include <QRectF>
#include <QString>
#include <QStringList>

#include <string_view>
#include <utility>
#include <vector>

// What every chart of the survey and the comparison is drawn with: the value axis, the marks
// of the legend and the frame that lays a chart out.

constexpr int MinutesPerDay = 1440;

// A value axis: its range (the ticks' ends) and ticks.
struct ChartScale {
    double Low = 0, High = 1;
    std::vector<double> Ticks;
    int Decimals = 0;
};

// A scale from low to high with about count ticks 1, 2 or 5 times a power of ten apart.
ChartScale ValueScale(double low, double high, int count);

enum class ChartMark { Line, Band, Bar, Dashed, DashDot, Dotted };

// How opaque a bar's colour is: the grid shows through a little.
constexpr int BarAlpha = 200;

struct ChartLegendItem {
    QString Text;
    QColor Color;
    ChartMark Kind = ChartMark::Line;
};

QPen MarkPen(const QColor& color, ChartMark kind, double width);
QColor Translucent(QColor color, int alpha);

// The frame every chart shares: the legend on top, the value axis' title above its labels on
// the left, the time axis' labels and title below; the plot fills the rest.
class ChartFrame {
public:
    ChartFrame(QPainter& painter, const QRectF& area, const ChartLook& look, ChartLayout& out)
        : painter_(painter), area_(area), look_(look), out_(out),
          metrics_(look.Font, painter.device()) {
        painter_.save();
        painter_.setFont(look.Font);
        painter_.setRenderHint(QPainter::Antialiasing, true);
        painter_.fillRect(area, look.Background);
        line_ = metrics_.height();
        gap_ = metrics_.averageCharWidth();
    }
    ~ChartFrame() { painter_.restore(); }
    ChartFrame(const ChartFrame&) = delete;
    ChartFrame& operator=(const ChartFrame&) = delete;

    const QFontMetricsF& Metrics() const { return metrics_; }
    double Line() const { return line_; }
    double Gap() const { return gap_; }
    double Pen(double width = 1) const { return width * look_.PenScale; }
    QPainter& Painter() { return painter_; }
    const QRectF& Plot() const { return plot_; }

    // Lays the chart out; yLabels are the texts left of the plot (the value axis' tick labels
    // when there is one), right the room kept right of it.
    void Place(std::vector<ChartLegendItem> legend, const QString& yTitle,
               const QStringList& yLabels, const QString& xTitle, double right = 0) {
        legend_ = std::move(legend);
        yLabels_ = yLabels;
        yTitle_ = yTitle;
        xTitle_ = xTitle;
        double labels = 0;
        for (const QString& label : yLabels)
            labels = std::max(labels, metrics_.horizontalAdvance(label));
        const double left = std::max(labels + 2 * gap_, 3 * gap_);
        const double width = std::max(area_.width() - left - right - 2 * gap_, 10.0);
        legendRows_ = LegendRows(width);
        const double top = gap_ + legendRows_.size() * line_ + line_ + line_ / 2;
        const double bottom = line_ * (xTitle.isEmpty() ? 1.5 : 2.5) + gap_;
        plot_ = QRectF(area_.left() + left, area_.top() + top, width,
                       std::max(area_.height() - top - bottom, 10.0));
    }

    QPointF Map(double x, double y, double x0, double x1, const ChartScale& s) const {
        return {plot_.left() + (x - x0) / (x1 - x0) * plot_.width(),
                plot_.bottom() - (y - s.Low) / (s.High - s.Low) * plot_.height()};
    }
    double MapY(double y, const ChartScale& s) const { return Map(0, y, 0, 1, s).y(); }

    void Text(const QRectF& box, int flags, const QString& text, const QColor* color = nullptr) {
        painter_.setPen(color ? *color : look_.Text);
        painter_.drawText(box, flags, text);
        out_.Texts << text;
    }

    // The legend, the titles, the value axis with its grid lines and the plot's border.
    void DrawValueAxis(const ChartScale& s) {
        DrawLegend();
        Text(QRectF(area_.left() + gap_, plot_.top() - line_ - line_ / 2,
                    plot_.right() - area_.left(), line_),
             Qt::AlignLeft | Qt::AlignVCenter, yTitle_);
        const bool placed = static_cast<size_t>(yLabels_.size()) == s.Ticks.size();
        for (size_t i = 0; i < s.Ticks.size(); ++i) {
            const double y = MapY(s.Ticks[i], s);
            painter_.setPen(QPen(look_.Grid, Pen()));
            painter_.drawLine(QPointF(plot_.left(), y), QPointF(plot_.right(), y));
            // The lowest label ("0") no lower than the plot, above the time axis' labels, so
            // that the two at the plot's bottom left never touch.
            const double top = std::min(y - line_ / 2, plot_.bottom() - line_);
            Text(QRectF(area_.left(), top, plot_.left() - area_.left() - gap_, line_),
                 Qt::AlignRight | Qt::AlignVCenter,
                 placed ? yLabels_[static_cast<qsizetype>(i)]
                        : QString::fromStdString(look_.Style.Number(s.Ticks[i], s.Decimals)));
        }
        DrawXTitle();
    }

    void DrawXTitle() {
        if (xTitle_.isEmpty())
            return;
        Text(QRectF(plot_.left(), plot_.bottom() + line_ * 1.25, plot_.width(), line_),
             Qt::AlignHCenter | Qt::AlignVCenter, xTitle_);
    }

    // Ticks below the plot at x (between x0 and x1) with their labels, and grid lines.
    void DrawXTicks(const std::vector<std::pair<double, QString>>& ticks, double x0, double x1,
                    bool grid) {
        for (const auto& [x, label] : ticks) {
            const double at = plot_.left() + (x - x0) / (x1 - x0) * plot_.width();
            if (grid) {
                painter_.setPen(QPen(look_.Grid, Pen()));
                painter_.drawLine(QPointF(at, plot_.top()), QPointF(at, plot_.bottom()));
            }
            painter_.setPen(QPen(look_.Axis, Pen()));
            painter_.drawLine(QPointF(at, plot_.bottom()), QPointF(at, plot_.bottom() + gap_ / 2));
            const double width = metrics_.horizontalAdvance(label) + gap_;
            // The labels at the ends stay inside the area.
            double left = at - width / 2;
            left = std::clamp(left, area_.left(), area_.right() - width);
            Text(QRectF(left, plot_.bottom() + gap_ / 2, width, line_), Qt::AlignCenter, label);
        }
    }

    void DrawBorder() {
        painter_.setPen(QPen(look_.Axis, Pen()));
        painter_.setBrush(Qt::NoBrush);
        painter_.drawRect(plot_);
    }

    // Clips to the plot until the scope ends.
    class PlotClip {
    public:
        explicit PlotClip(ChartFrame& frame) : painter_(frame.painter_) {
            painter_.save();
            painter_.setClipRect(frame.plot_);
        }
        ~PlotClip() { painter_.restore(); }
        PlotClip(const PlotClip&) = delete;
        PlotClip& operator=(const PlotClip&) = delete;

    private:
        QPainter& painter_;
    };

private:
    double ItemWidth(const ChartLegendItem& item) const {
        return 2 * line_ + gap_ + metrics_.horizontalAdvance(item.Text) + 2 * gap_;
    }

    std::vector<std::vector<const ChartLegendItem*>> LegendRows(double width) const {
        std::vector<std::vector<const ChartLegendItem*>> rows;
        double x = width;
        for (const ChartLegendItem& item : legend_) {
            const double w = ItemWidth(item);
            if (rows.empty() || (x + w > width && !rows.back().empty())) {
                rows.emplace_back();
                x = 0;
            }
            rows.back().push_back(&item);
            x += w;
        }
        return rows;
    }

    void DrawLegend() {
        double y = area_.top() + gap_;
        for (const auto& row : legendRows_) {
            double x = plot_.left();
            for (const ChartLegendItem* item : row) {
                const QRectF swatch(x, y + line_ * 0.2, 2 * line_, line_ * 0.6);
                if (item->Kind == ChartMark::Band || item->Kind == ChartMark::Bar) {
                    painter_.fillRect(
                        swatch,
                        Translucent(item->Color, item->Kind == ChartMark::Bar ? BarAlpha : 70));
                } else {
                    painter_.setPen(MarkPen(item->Color, item->Kind, Pen(2)));
                    painter_.drawLine(QPointF(swatch.left(), swatch.center().y()),
                                      QPointF(swatch.right(), swatch.center().y()));
                }
                const double textWidth = metrics_.horizontalAdvance(item->Text) + gap_;
                Text(QRectF(swatch.right() + gap_, y, textWidth, line_),
                     Qt::AlignLeft | Qt::AlignVCenter, item->Text);
                x += ItemWidth(*item);
            }
            y += line_;
        }
    }

    QPainter& painter_;
    QRectF area_;
    const ChartLook& look_;
    ChartLayout& out_;
    QFontMetricsF metrics_;
    double line_ = 0, gap_ = 0;
    std::vector<ChartLegendItem> legend_;
    std::vector<std::vector<const ChartLegendItem*>> legendRows_;
    QString yTitle_, xTitle_;
    QStringList yLabels_;
    QRectF plot_;
};

// The scale's tick values as the look writes them.
QStringList TickLabels(const ChartScale& s, const ChartLook& look);
// The labels of a scale of power, energy or reactive power given in its base unit ("W", "WH",
// "var"), in the unit the texts write the scale's largest value in ("kW", "MW" from 10 000
// kW), with that unit.
struct UnitTickLabels {
    QStringList Labels;
    QString Unit;
};
UnitTickLabels ScaledTickLabels(const ChartScale& s, const ChartLook& look, std::string_view unit);
// Time-of-day ticks from 00:00 to 24:00, as many hours apart as their labels need.
std::vector<std::pair<double, QString>> DayTicks(const ChartFrame& frame);
// One side of the daily profile: its band and mean line. In the colour, the band translucent.
void PaintProfileSide(ChartFrame& frame, const std::vector<ProfileBin>& bins, int32_t minutes,
                      const ChartScale& s, const QColor& color);
