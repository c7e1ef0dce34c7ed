#include "windows/charts/ChartView.h"

#include "charts/ChartRules.h"
#include "charts/ChartText.h"
#include "charts/DisplayStyle.h"
#include "database/LChartRecord.h"
#include "model/LParameter.h"
#include "model/LSession.h"
#include "texts/DateTimeText.h"
#include "texts/WriteFileSafely.h"
#include "windows/charts/DayTimeTicker.h"
#include "windows/charts/EnvelopeGraph.h"
#include "windows/charts/TChart.h"
#include "windows/shell/SvgPicture.h"

#include <QDataStream>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>

namespace {

constexpr int TickLength = 4;
constexpr int AxisLineWidth = 1;

Qt::Alignment TextAlignment(uint8_t stored) {
    switch (stored) {
    case LChartRecord::AlignLeft:
        return Qt::AlignLeft;
    case LChartRecord::AlignRight:
        return Qt::AlignRight;
    default:
        return Qt::AlignHCenter;
    }
}

QCPScatterStyle::ScatterShape PointShape(uint8_t style) {
    switch (style) {
    case 1:
        return QCPScatterStyle::ssCircle;
    case 2:
        return QCPScatterStyle::ssTriangle;
    case 3:
        return QCPScatterStyle::ssTriangleInverted;
    case 4:
        return QCPScatterStyle::ssPlus;
    case 5:
        return QCPScatterStyle::ssCross;
    case 6:
        return QCPScatterStyle::ssStar;
    default: // rectangle, and styles beyond the star
        return QCPScatterStyle::ssSquare;
    }
}

} // namespace

ChartView::ChartView(LChartRecord& record, QWidget* parent)
    : record_(record), ownChart_(parent ? nullptr : new TChart),
      chart_(parent ? new TChart(parent) : ownChart_.get()), scales_(MakeUnitScales()) {
    chart_->MarginsFor = [this](int width) {
        int left = 0, right = 0;
        for (const UnitScale& s : scales_)
            if (s.Shown)
                ++(s.LeftSide ? left : right);
        return ComputeMargins(left, right, ScaleWidth(), width, record_.LegendVisible,
                              record_.LegendPosition);
    };
    chart_->OnAfterDraw = [this](QCPPainter& painter) { ChartAfterDraw(painter); };
    ShowRecord();
}

ChartView::~ChartView() {
    // A window's engine outlives the view by a moment; it must not call back into it.
    chart_->MarginsFor = nullptr;
    chart_->OnAfterDraw = nullptr;
}

void ChartView::ShowRecord() {
    const LParameterSourceGroup& sources = record_.Sources;
    CheckChartSources(sources);
    chart_->ClearSeries();
    series_.assign(static_cast<size_t>(sources.Count()), nullptr);
    samples_ = SeriesSamples(sources);
    for (int u = 0; u < UnitCount; ++u)
        MakeSeries(static_cast<uint8_t>(u), scales_[static_cast<size_t>(u)]);
    // A unit the catalogue does not have is plotted unscaled, with no scale of its own.
    UnitScale plain{false, true, {}, 0, 1};
    MakeSeries(UnitCount, plain);
    // Series and sources in the same order.
    for (int32_t i = 0; i < sources.Count(); ++i) {
        EnvelopeGraph* series = series_[static_cast<size_t>(i)];
        chart_->AttachSeries(series);
        series->setVisible(sources.Items(i)->Selected);
        ApplySeriesStyle(i);
    }
    hasSpan_ = DataTimeSpan(sources, start_, end_);
    if (hasSpan_)
        chart_->SetDataRange(start_, end_);
    // Events are marks: room for the half of a mark that would stand beyond the top or bottom.
    bool points = false;
    for (int32_t i = 0; i < sources.Count(); ++i)
        points |= !LChartRecord::IsLineSource(*sources.Items(i));
    chart_->SetValuePad(points ? 0.03 : 0);
    chart_->LeftAxis()->setRange(chart_->FullValueRange());
    ApplyStyle();
    RefreshChart();
}

void ChartView::MakeSeries(uint8_t unit, UnitScale& scale) {
    const LParameterSourceGroup& sources = record_.Sources;
    if (unit < UnitCount)
        MeasureUnitScale(scale, sources, unit);
    for (int32_t i = 0; i < sources.Count(); ++i) {
        const LParameterSource& source = *sources.Items(i);
        const uint8_t own =
            source.Parameter ? std::min<uint8_t>(source.Parameter->Unit(), UnitCount) : UnitCount;
        EnvelopeGraph*& series = series_[static_cast<size_t>(i)];
        if (own == unit && !series)
            series = chart_->MakeSeries(samples_.Samples(i), LChartRecord::IsLineSource(source),
                                        scale.Minimum, scale.Range, !scale.LeftSide);
    }
}

void ChartView::ApplySeriesStyle(int32_t i) {
    if (i < 0 || i >= chart_->SeriesCount())
        return;
    const LChartRecord& record = record_;
    const LSeriesStyle& style = record.Style(i);
    EnvelopeGraph* series = chart_->Series(i);
    const QColor color = DisplayColor(style.Color);
    if (series->SeriesKind() == EnvelopeGraph::Kind::Line) {
        series->setPen(QPen(color, std::max(1, style.LineWidth)));
    } else {
        series->setPen(QPen(color, 1));
        series->setScatterStyle(QCPScatterStyle(PointShape(style.PointStyle), color, color,
                                                2.0 * std::max(1, style.PointSize) + 1));
    }
}

void ChartView::ApplyStyle() {
    const LChartRecord& r = record_;
    const QColor background = DisplayColor(r.BackgroundColor);
    chart_->setBackground(QBrush(background));

    SetTitle(QString::fromStdString(r.Title));
    QCPTextElement* title = chart_->Title();
    title->setFont(DisplayFont(r.TitleFont));
    title->setTextColor(DisplayColor(r.TitleFont.Color));
    title->setTextFlags(static_cast<int>(TextAlignment(r.TitleAlignment) | Qt::AlignVCenter));

    QCPAxis* bottom = chart_->BottomAxis();
    bottom->setLabel(QString::fromStdString(r.BottomAxisTitle));
    bottom->setLabelFont(DisplayFont(r.BottomAxisTitleFont));
    bottom->setLabelColor(DisplayColor(r.BottomAxisTitleFont.Color));
    bottom->setTickLabelFont(DisplayFont(r.BottomAxisLabelFont));
    bottom->setTickLabelColor(DisplayColor(r.BottomAxisLabelFont.Color));
    chart_->TimeTicker().SetWithDate(r.XAxisLabelsTimeDate != 0);
    QCPAxis* left = chart_->LeftAxis();
    left->setTickLabelFont(DisplayFont(r.LeftAxisLabelFont));
    left->setTickLabelColor(DisplayColor(r.LeftAxisLabelFont.Color));
    SetAxisColor(r.AxisColor);
    bottom->grid()->setVisible(r.BottomAxisGrid);
    bottom->grid()->setPen(QPen(DisplayColor(r.GridColor), 0, Qt::DotLine));

    QCPTextElement* foot = chart_->Foot();
    foot->setFont(DisplayFont(r.FooterFont));
    foot->setTextColor(DisplayColor(r.FooterFont.Color));
    foot->setTextFlags(static_cast<int>(TextAlignment(r.FooterAlignment) | Qt::AlignVCenter));

    QCPLegend* legend = chart_->Legend();
    legend->setFont(DisplayFont(r.LegendFont));
    legend->setTextColor(DisplayColor(r.LegendFont.Color));
    legend->setBrush(QBrush(DisplayColor(r.LegendColor)));
    legend->setIconSize(24, 12);
    chart_->SetLegendPlace(r.LegendVisible, r.LegendPosition);
}

void ChartView::SetForPeople(bool on) {
    forPeople_ = on;
    for (EnvelopeGraph* series : series_)
        if (series)
            series->SetBand(on);
    RefreshChart();
}

ScaledUnit ChartView::ShownUnit(const UnitScale& scale) const {
    if (!forPeople_)
        return {1, scale.Symbol};
    return ScaleOf(std::max(std::fabs(scale.Minimum), std::fabs(scale.Minimum + scale.Range)),
                   scale.Symbol);
}

void ChartView::RefreshChart() {
    const LParameterSourceGroup& sources = record_.Sources;
    std::vector<bool> active;
    for (int32_t i = 0; i < sources.Count() && i < chart_->SeriesCount(); ++i) {
        const LParameter* p = sources.Items(i)->Parameter;
        const QString unit = forPeople_ && p && p->Unit() < UnitCount
                                 ? QString::fromStdString(ShownUnit(scales_[p->Unit()]).Unit)
                                 : QString();
        chart_->Series(i)->setName(
            SeriesTitle(*sources.Items(i), record_.ShowMinMax, QLocale(), unit));
        active.push_back(chart_->Series(i)->visible());
    }
    SyncRightAxis();
    UpdateShownScales(scales_, sources, active);
    chart_->RebuildLegend();
    UpdateFooter();
}

void ChartView::SyncRightAxis() {
    QCPAxis* left = chart_->LeftAxis();
    QCPAxis* right = chart_->RightAxis();
    right->setTickLabelFont(left->tickLabelFont());
    right->setTickLabelColor(left->tickLabelColor());
    right->setBasePen(left->basePen());
    right->setTickPen(left->tickPen());
    right->setSubTickPen(left->subTickPen());
    right->setRange(left->range());
}

void ChartView::UpdateFooter() {
    const LSession* session = record_.Sources.Session();
    chart_->SetFootLines(FooterLines(record_.ShowStartEnd, record_.ShowLocation, hasSpan_, start_,
                                     end_, session ? session->Location : std::string(),
                                     DateTimeFormatter()));
    // Once, from the event loop, however many changes come together.
    chart_->replot(QCustomPlot::rpQueuedReplot);
}

void ChartView::SetTitle(const QString& text) {
    record_.Title = text.toStdString();
    chart_->SetTitleText(text);
}

QString ChartView::GetTitle() const {
    return QString::fromStdString(record_.Title).section(QLatin1Char('\n'), 0, 0);
}

void ChartView::SetAxisColor(uint32_t color) {
    record_.AxisColor = color;
    const QPen pen(DisplayColor(color), AxisLineWidth);
    for (QCPAxis* axis : {chart_->BottomAxis(), chart_->LeftAxis()}) {
        axis->setBasePen(pen);
        axis->setTickPen(pen);
        axis->setSubTickPen(pen);
    }
}

void ChartView::SetXAxisLabelsTimeDate(bool on) {
    // The stored byte stays as it is when it already says so.
    if ((record_.XAxisLabelsTimeDate != 0) != on)
        record_.XAxisLabelsTimeDate = on ? 1 : 0;
    chart_->TimeTicker().SetWithDate(on);
}

void ChartView::SetShowStartEnd(bool on) {
    record_.ShowStartEnd = on;
    UpdateFooter();
}

void ChartView::SetShowLocation(bool on) {
    record_.ShowLocation = on;
    UpdateFooter();
}

void ChartView::SetSeriesActive(int32_t i, bool active) {
    if (i < 0 || i >= chart_->SeriesCount())
        return;
    chart_->Series(i)->setVisible(active);
    record_.Sources.Items(i)->Selected = active;
}

bool ChartView::SeriesActive(int32_t i) const {
    return i >= 0 && i < chart_->SeriesCount() && chart_->Series(i)->visible();
}

int ChartView::ScaleWidth() const {
    return UnitScaleWidth(DisplayFont(record_.LeftAxisLabelFont), AxisLineWidth, TickLength);
}

TDateTime ChartView::ViewStart() const {
    return chart_->BottomAxis()->range().lower;
}

TDateTime ChartView::ViewEnd() const {
    return chart_->BottomAxis()->range().upper;
}

ChartMargins ChartView::Margins() const {
    return chart_->MarginsFor(chart_->width());
}

void ChartView::ChartAfterDraw(QCPPainter& painter) {
    const QRect plot = chart_->ChartRect();
    if (plot.height() <= 0)
        return;
    // Everything the scales are drawn from. Their symbols overhang the plot's edges by half a
    // scale's width; the rest lies beside the plot.
    const int width = ScaleWidth();
    const QCPRange view = chart_->LeftAxis()->range();
    QByteArray key;
    QDataStream out(&key, QIODevice::WriteOnly);
    out << plot << view.lower << view.upper << width << DisplayFont(record_.LeftAxisLabelFont)
        << DisplayColor(record_.AxisColor).rgba()
        << DisplayColor(record_.LeftAxisLabelFont.Color).rgba();
    for (const UnitScale& scale : scales_)
        out << scale.Shown << scale.LeftSide << QByteArray::fromStdString(scale.Symbol)
            << scale.Minimum << scale.Range;
    out << forPeople_;
    scalesPicture_.Draw(painter, chart_->viewport().size(), plot.left() + width / 2 + 2,
                        plot.right() + 1 - width / 2 - 2, key,
                        [this](QCPPainter& p) { DrawUnitScales(p); });
}

void ChartView::DrawUnitScales(QCPPainter& painter) {
    const QRect plot = chart_->ChartRect();
    const QFont font = DisplayFont(record_.LeftAxisLabelFont);
    painter.setFont(font);
    const QFontMetrics metrics = painter.fontMetrics();
    const int width = ScaleWidth();
    const QPen axisPen(DisplayColor(record_.AxisColor), AxisLineWidth);
    const QColor textColor = DisplayColor(record_.LeftAxisLabelFont.Color);
    const QCPAxis* left = chart_->LeftAxis();
    const QCPRange view = left->range();
    int xLeft = plot.left(), xRight = plot.right() + 1;
    for (const UnitScale& scale : scales_) {
        if (!scale.Shown)
            continue;
        const int direction = scale.LeftSide ? -1 : 1;
        int& x = scale.LeftSide ? xLeft : xRight;
        painter.setPen(axisPen);
        painter.drawLine(QLineF(x, plot.top(), x, plot.bottom()));
        const int labelAt = x + (AxisLineWidth + TickLength) * direction;
        const ScaledUnit shown = ShownUnit(scale);
        const double low = scale.Value(view.lower) / shown.Divisor,
                     high = scale.Value(view.upper) / shown.Divisor;
        const std::vector<double> ticks =
            ScaleTicks(low, high, std::max(2, plot.height() / std::max(1, 2 * metrics.height())));
        // Within the scale's width, so that no label is cut at the window's edge or runs
        // into the next scale.
        const QStringList labels =
            ScaleLabels(ticks, metrics, width - AxisLineWidth - TickLength - 1);
        for (size_t i = 0; i < ticks.size(); ++i) {
            const double v = ticks[i];
            const double y = left->coordToPixel((v * shown.Divisor - scale.Minimum) / scale.Range);
            painter.setPen(axisPen);
            painter.drawLine(QLineF(x, y, x + TickLength * direction, y));
            const QString& text = labels[static_cast<qsizetype>(i)];
            const int textWidth = metrics.horizontalAdvance(text);
            QRectF box(direction < 0 ? labelAt - textWidth - 1 : labelAt + 1,
                       y - metrics.height() / 2.0, textWidth, metrics.height());
            // Within the plot's height: the lowest label ("0") clear of the time axis' first
            // label below the plot, the highest of the unit's symbol above it.
            if (box.bottom() > plot.bottom() + 1)
                box.moveBottom(plot.bottom() + 1);
            if (box.top() < plot.top())
                box.moveTop(plot.top());
            painter.setPen(textColor);
            painter.drawText(box, Qt::AlignCenter, text);
        }
        painter.setPen(textColor);
        painter.drawText(
            QRectF(x - width / 2.0, plot.top() - metrics.height() - 2, width, metrics.height()),
            Qt::AlignCenter, QString::fromStdString(shown.Unit));
        x += width * direction;
    }
}

void ChartView::DrawChart(QPainter& painter, const QRectF& target, double dotsPerInch) {
    chart_->DrawChart(painter, target, dotsPerInch);
}

bool ChartView::SaveAsPicture(const QString& fileName, const QSize& size, QString* error) {
    // The PDF's resolution: the chart is laid out for it as for a printer.
    constexpr int PdfDotsPerInch = 300;
    const QString title = QString::fromStdString(record_.Caption);
    const auto write = [&](QIODevice& file) {
        if (fileName.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive)) {
            WriteSvg(file, size, title,
                     [&](QPaintDevice& device) { chart_->DrawTo(device, size, 1.0); });
            return true;
        }
        if (fileName.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive)) {
            QPdfWriter pdf(&file);
            pdf.setTitle(title);
            pdf.setCreator(QStringLiteral("VroView"));
            pdf.setResolution(PdfDotsPerInch);
            pdf.setPageSize(QPageSize(QSizeF(size) / 96.0, QPageSize::Inch));
            pdf.setPageMargins(QMarginsF());
            QPainter painter;
            if (!painter.begin(&pdf))
                return false;
            DrawChart(painter, QRectF(0, 0, pdf.width(), pdf.height()), PdfDotsPerInch);
            return painter.end();
        }
        QImage image(size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::white);
        chart_->DrawTo(image, size, 1.0);
        return image.save(&file, "PNG");
    };
    QString message;
    if (!size.isEmpty() && WriteFileSafely(fileName, write, message))
        return true;
    if (error)
        *error = message;
    return false;
}
