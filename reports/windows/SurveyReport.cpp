#include "reports/windows/SurveyReport.h"

#include "analysis/RangeStatistics.h"
#include "analysis/StatisticsText.h"
#include "analysis/SurveyFindingsText.h"
#include "analysis/SurveyTables.h"
#include "analysis/drawing/SummaryRows.h"
#include "analysis/drawing/SurveyCharts.h"
#include "charts/windows/ChartView.h"
#include "database/LChartRecord.h"
#include "database/LDatabase.h"
#include "database/LTableRecord.h"
#include "model/ErrorReport.h"
#include "model/ParameterTable.h"
#include "printing/LayoutPrinter.h"
#include "printing/PrintedTable.h"
#include "printing/PrintedTexts.h"
#include "tables/TableText.h"
#include "texts/DateTimeText.h"
#include "texts/LocaleTextStyle.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>

#include <memory>
#include <vector>

namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

// The Historic parameters with points, grouped by their unit in the order the units first
// appear.
std::vector<std::vector<LParameter*>> HistoricByUnit(const LParameterCollection& parameters) {
    std::vector<std::vector<LParameter*>> units;
    for (int32_t i = 0; i < parameters.Count(); ++i) {
        LParameter* p = parameters.Items(i);
        if (p->TableType() != ttHistoric || p->Count() <= 0)
            continue;
        auto same = std::find_if(units.begin(), units.end(), [&](const auto& unit) {
            return unit.front()->ShortUnit() == p->ShortUnit();
        });
        if (same == units.end())
            units.push_back({p});
        else
            same->push_back(p);
    }
    return units;
}

// A heading in bold above what follows on the page; the rest of the area below it.
QRectF Heading(QPainter& painter, const QRectF& area, const QString& text, const QFont& font) {
    QFont bold = font;
    bold.setBold(true);
    bold.setPointSizeF(font.pointSizeF() * 1.25);
    painter.setFont(bold);
    painter.setPen(Qt::black);
    const QFontMetricsF metrics(bold, painter.device());
    painter.drawText(QPointF(area.left(), area.top() + metrics.ascent()), text);
    return area.adjusted(0, 1.5 * metrics.height(), 0, 0);
}

// A chart as wide as the area and at most two thirds as high, so that it keeps its shape on a
// page taller than wide.
QRectF ChartArea(const QRectF& area) {
    QRectF chart = area;
    chart.setHeight(std::min(area.height(), area.width() * 2 / 3));
    return chart;
}

ChartLook PaperLook(const QPainter& painter, const QFont& font) {
    ChartLook look;
    look.Font = font;
    look.Style = LocaleTextStyle();
    look.PenScale = painter.device()->logicalDpiX() / 96.0;
    return look;
}

// One page: the chart engine's drawing of the sources in area, or why it cannot be drawn.
void DrawEngineChart(QPainter& painter, const QRectF& area, LChartRecord& record,
                     const QFont& font) {
    try {
        ChartView view(record);
        view.DrawChart(painter, area, painter.device()->logicalDpiX());
    } catch (const VroError& e) {
        PaintChartMessage(painter, area, Q(e.what()), PaperLook(painter, font));
    }
}

} // namespace

bool PrintSurveyReport(TLayoutPrinter& printer, LDatabase& db, const SurveyReportOptions& options) {
    if (!db.Open())
        return false;
    const QFont font = QGuiApplication::font();
    const QString title =
        options.Title.isEmpty() ? QString::fromLatin1(DefaultReportTitle) : options.Title;
    const SurveyResult survey = RunSurvey(db.Parameters(), options.Survey);
    // The numbers and times of the user's locale, as the Survey window shows them.
    const TextStyle style = LocaleTextStyle();
    const LSession& recording = db.Header();
    const auto units = HistoricByUnit(db.Parameters());

    std::vector<PrintedPart> parts;
    std::vector<std::unique_ptr<PrintedRows>> rows;
    const auto addText = [&](const QString& caption, std::unique_ptr<PrintedTexts> printed) {
        if (!caption.isEmpty())
            printed->SetCaption(caption);
        PrintedPart part;
        part.Title = title;
        part.Rows = printed.get();
        rows.push_back(std::move(printed));
        parts.push_back(std::move(part));
    };
    const auto tablePart = [&](const QString& caption, const TextTable& table) {
        addText(caption, std::make_unique<PrintedTexts>(table, style, font));
    };
    const auto drawnPart = [&](int32_t pages, auto draw) {
        PrintedPart part;
        part.Title = title;
        part.Pages = pages;
        part.Draw = draw;
        parts.push_back(std::move(part));
    };

    // The cover: the title, the location, the recording information as its page prints it,
    // then the period, rate and instrument.
    drawnPart(1, [&](QPainter& painter, const QRect& area, int32_t) {
        QFont big = font;
        big.setBold(true);
        big.setPointSizeF(font.pointSizeF() * 2.5);
        painter.setFont(big);
        painter.setPen(Qt::black);
        const QFontMetrics bigMetrics(big, painter.device());
        int y = area.top() + bigMetrics.height();
        painter.drawText(area.left(), y, title);
        const QFontMetrics metrics(font, painter.device());
        y += bigMetrics.descent();
        if (!recording.Location.empty()) {
            QFont location = font;
            location.setPointSizeF(font.pointSizeF() * 1.5);
            painter.setFont(location);
            y += QFontMetrics(location, painter.device()).height();
            painter.drawText(area.left(), y, Q(recording.Location));
        }
        y += 2 * metrics.height();
        const QRect saved = printer.PrintArea;
        printer.PrintArea.setTop(y);
        printer.PrintInfoPage();
        printer.PrintArea = saved;
        y += 13 * metrics.height();
        const QString period =
            survey.From && survey.To
                ? DateTimeToStr(*survey.From) + QStringLiteral(" to ") + DateTimeToStr(*survey.To)
                : DateTimeToStr(recording.StartTime) + QStringLiteral(" to ") +
                      DateTimeToStr(recording.EndTime);
        const QString lines[] = {QStringLiteral("Period: ") + period,
                                 QStringLiteral("Rate: ") + Q(recording.RateText()),
                                 QStringLiteral("Instrument: ") + Q(recording.InstrumentText)};
        painter.setFont(font);
        for (const QString& line : lines) {
            painter.drawText(area.left(), y + metrics.ascent(), line);
            y += static_cast<int>(1.25 * metrics.height());
        }
    });

    // The summary with the cost, power factor and unbalance, and a line for every section left
    // out; in rows of labels and values, as the Survey window shows it.
    std::vector<SummaryLine> summary = SummaryPageLines(survey, style);
    bool anyLeftOut = false;
    const auto leftOut = [&](const std::string& sections, const std::string& why) {
        if (!anyLeftOut)
            summary.emplace_back();
        anyLeftOut = true;
        summary.push_back({0, sections + " left out: " + why, {}});
    };
    if (!survey.Power)
        leftOut("Energy per day, daily profile, heat map and load duration", NoPowerText);
    if (!survey.Voltage)
        leftOut("Voltage block means", NoVoltageText);
    if (units.empty())
        leftOut("Charts and statistics of the Historic parameters",
                "the recording has no Historic parameters.");
    {
        auto printed = std::make_unique<SummaryRows>(summary, font);
        printed->SetCaption(QStringLiteral("Summary"));
        PrintedPart part;
        part.Title = title;
        part.Rows = printed.get();
        rows.push_back(std::move(printed));
        parts.push_back(std::move(part));
    }

    if (survey.Power)
        tablePart(QStringLiteral("Energy per day"), EnergyDayTable(survey.Power->Days));

    // A chart per unit over the whole recording, drawn by the chart engine.
    if (!units.empty())
        drawnPart(static_cast<int32_t>(units.size()), [&](QPainter& painter, const QRect& area,
                                                          int32_t page) {
            const auto& unit = units[static_cast<size_t>(page)];
            LChartRecord record(&db.Header());
            record.Title = QStringLiteral("Historic parameters in %1")
                               .arg(Q(unit.front()->ShortUnit()))
                               .toStdString();
            record.Caption = record.Title;
            for (LParameter* parameter : unit)
                record.Sources.Add(std::make_unique<LParameterSource>(parameter));
            // Colours of the report's own, the same in every report, apart on
            // white paper.
            const uint32_t colors[] = {0x0000C0, 0x008000, 0xC00000, 0x8000C0, 0x006080, 0x404040};
            record.SeriesStyles.assign(unit.size(), LSeriesStyle{});
            for (size_t i = 0; i < unit.size(); ++i)
                record.SeriesStyles[i].Color = colors[i % std::size(colors)];
            DrawEngineChart(painter, ChartArea(area), record, font);
        });

    if (survey.Power) {
        const PowerSurvey& power = *survey.Power;
        drawnPart(2, [&](QPainter& painter, const QRect& area, int32_t page) {
            const ChartLook look = PaperLook(painter, font);
            if (page == 0) {
                // The daily profile above, the load duration below.
                QRectF top = QRectF(area);
                top.setHeight(area.height() / 2.0);
                QRectF bottom = top.translated(0, top.height());
                PaintDailyProfile(painter,
                                  Heading(painter, top, QStringLiteral("Daily profile"), font),
                                  power, look);
                PaintLoadDuration(painter,
                                  Heading(painter, bottom, QStringLiteral("Load duration"), font),
                                  power, look);
            } else {
                PaintHeatMap(
                    painter,
                    ChartArea(Heading(painter, QRectF(area), QStringLiteral("Heat map"), font)),
                    power, look);
            }
        });
    }

    if (survey.Voltage) {
        const VoltageVariation& voltage = *survey.Voltage;
        drawnPart(1, [&](QPainter& painter, const QRect& area, int32_t) {
            const ChartLook look = PaperLook(painter, font);
            const QRectF chart = ChartArea(
                Heading(painter, QRectF(area), QStringLiteral("Voltage block means"), font));
            PaintVoltageBlocks(painter, chart, voltage, look);
            QRectF below = QRectF(area);
            below.setTop(chart.bottom() + QFontMetricsF(font, painter.device()).height());
            PaintTextTable(painter, below, VoltageTable(voltage), look);
        });
    }

    // What the load costs, the power factor correction and the unbalance, each where the
    // recording supports it (the summary says why not).
    const PowerSurvey* power = survey.Power ? &*survey.Power : nullptr;
    const auto notes = [](const std::vector<std::string>& texts) {
        QStringList list;
        for (const std::string& text : texts)
            list << Q(text);
        return list;
    };
    // The heading, the notes and a table above what draw paints into the rest.
    const auto findingsPage = [&](const QString& heading, const QStringList& lines,
                                  const TextTable* table, auto draw) {
        drawnPart(
            1, [&, heading, lines, table, draw](QPainter& painter, const QRect& area, int32_t) {
                const ChartLook look = PaperLook(painter, font);
                const double line = QFontMetricsF(font, painter.device()).height();
                QRectF rest = Heading(painter, QRectF(area), heading, font);
                rest.setTop(rest.top() + PaintNotes(painter, rest, lines, look));
                if (table)
                    rest.setTop(rest.top() + PaintTextTable(painter, rest, *table, look) + line);
                draw(painter, rest, look);
            });
    };
    const std::optional<TextTable> pfTable =
        power && power->PowerFactor.Blocks > 0
            ? std::optional<TextTable>(PowerFactorTable(power->PowerFactor))
            : std::nullopt;
    const TextTable unbalanceTable = UnbalanceTable(survey.Unbalance);
    if (power && power->Cost) {
        const CostStudy& cost = *power->Cost;
        tablePart(QStringLiteral("Cost: %1, in %2").arg(Q(cost.Tariff), Q(cost.Currency)),
                  CostTable(cost));
        findingsPage(QStringLiteral("Energy cost per day"), notes(cost.Reasons), nullptr,
                     [&](QPainter& painter, const QRectF& area, const ChartLook& look) {
                         PaintCostPerDay(painter, ChartArea(area), cost, look);
                     });
    }
    if (pfTable)
        findingsPage(QStringLiteral("Power factor"), notes(power->PowerFactor.Reasons), &*pfTable,
                     [&](QPainter& painter, const QRectF& area, const ChartLook& look) {
                         // The power factor over time above, the duration of Qc below.
                         QRectF top = area;
                         top.setHeight(std::min(area.height() / 2, area.width() / 2));
                         PaintPowerFactorBlocks(painter, top, *power, look);
                         PaintQcDuration(painter, top.translated(0, top.height()), *power, look);
                     });
    if (!unbalanceTable.Rows.empty())
        findingsPage(QStringLiteral("Unbalance"), notes(survey.Unbalance.Reasons), &unbalanceTable,
                     [&](QPainter& painter, const QRectF& area, const ChartLook& look) {
                         PaintUnbalanceBlocks(painter, ChartArea(area), survey.Unbalance, look);
                     });

    // The statistics of every Historic parameter.
    if (!units.empty()) {
        RangeStatistics statistics = StatisticsOfRecording(db.Parameters());
        std::erase_if(statistics.Rows, [](const SourceStatistics& row) {
            return !row.Parameter || row.Parameter->TableType() != ttHistoric ||
                   row.Parameter->Count() <= 0;
        });
        tablePart(QStringLiteral("Statistics"), StatisticsTable(statistics.Rows));
    }

    // The database's own tables and charts, as Print prints them.
    if (options.WithItems) {
        for (const auto& record : db.Tables()) {
            const TableLayout layout = ChooseLayout(record->Sources);
            auto table = std::make_unique<PrintedTable>(record->Sources, layout.Type, font);
            PrintedPart part;
            part.Title = Q(record->Caption);
            part.Grid = table.get();
            rows.push_back(std::move(table));
            parts.push_back(std::move(part));
        }
        for (const auto& chart : db.Charts()) {
            LChartRecord* record = chart.get();
            PrintedPart part;
            part.Title = Q(record->Caption);
            part.Draw = [&, record](QPainter& painter, const QRect& area, int32_t) {
                DrawEngineChart(painter, ChartArea(QRectF(area)), *record, font);
            };
            parts.push_back(std::move(part));
        }
    }

    // The printer is shared: it points at this database only while the report prints.
    struct Restore {
        TLayoutPrinter& printer;
        const LDatabase* before;
        ~Restore() { printer.Database = before; }
    } restore{printer, printer.Database};
    printer.Database = &db;
    printer.Title = title;
    return printer.PrintParts(parts);
}
