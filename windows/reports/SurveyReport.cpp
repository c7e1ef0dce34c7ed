#include "windows/reports/SurveyReport.h"

#include "analysis/CapacityTables.h"
#include "analysis/CapacityText.h"
#include "analysis/RangeStatistics.h"
#include "analysis/ReportFindings.h"
#include "analysis/StatisticsText.h"
#include "analysis/SurveyFindingsText.h"
#include "analysis/SurveyTables.h"
#include "database/LChartRecord.h"
#include "database/LDatabase.h"
#include "database/LTableRecord.h"
#include "figures/BatteryChart.h"
#include "figures/CapacityCharts.h"
#include "figures/SummaryRows.h"
#include "figures/SurveyCharts.h"
#include "model/ErrorReport.h"
#include "model/ParameterTable.h"
#include "printing/LayoutPrinter.h"
#include "printing/PrintedTable.h"
#include "printing/PrintedTexts.h"
#include "tables/TableText.h"
#include "texts/DateTimeText.h"
#include "texts/LocaleTextStyle.h"
#include "windows/charts/ChartView.h"
#include "windows/reports/CapacitySheet.h"
#include "windows/reports/ReportFlow.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QPicture>

#include <cmath>
#include <memory>
#include <vector>

namespace {

// Charts of many samples are laid out at this resolution and scaled onto the page: an
// envelope of a column per printer dot would make every chart a path of megabytes.
constexpr double ChartDotsPerInch = 200;

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

// The chart engine's drawing of the sources in area, or why it cannot be drawn.
void DrawEngineChart(QPainter& painter, const QRectF& area, LChartRecord& record,
                     const QFont& font) {
    try {
        ChartView view(record);
        view.SetForPeople(true);
        const double dots = painter.device()->logicalDpiX();
        if (dots <= ChartDotsPerInch || painter.paintEngine()->type() == QPaintEngine::Raster) {
            view.DrawChart(painter, area, dots);
            return;
        }
        // Recorded at the chart's resolution, played back at the printer's.
        const double k = ChartDotsPerInch / dots;
        QPicture picture;
        {
            QPainter recorder(&picture);
            view.DrawChart(recorder, QRectF(0, 0, area.width() * k, area.height() * k),
                           ChartDotsPerInch);
        }
        painter.save();
        painter.translate(area.topLeft());
        painter.scale(picture.logicalDpiX() / dots / k, picture.logicalDpiY() / dots / k);
        painter.drawPicture(QPointF(0, 0), picture);
        painter.restore();
    } catch (const VroError& e) {
        PaintChartMessage(painter, area, Q(e.what()), PaperLook(painter, font));
    }
}

QStringList Notes(const std::vector<std::string>& texts) {
    QStringList list;
    for (const std::string& text : texts)
        list << Q(text);
    return list;
}

// The capacity sheet alone: its title block, then the study, on one page.
Printout PrintCapacitySheet(PrintSetup& setup, PrintInteraction& interaction, LDatabase& db,
                            const SurveyReportOptions& options, const SurveyResult& survey,
                            const QString& period) {
    const QFont font = QGuiApplication::font();
    const TextStyle style = LocaleTextStyle();
    const QString title =
        options.Title.isEmpty() ? QStringLiteral("Capacity sheet") : options.Title;
    TitleBlock block{title, Q(db.Header().Location).trimmed(), {}};
    block.Lines.emplace_back(QStringLiteral("Period"), period);
    if (const auto& s = survey.Capacity) {
        const double days = survey.From && survey.To ? *survey.To - *survey.From : 0;
        block.Lines.emplace_back(
            QStringLiteral("Validity"),
            s->Verdict != CapacityVerdict::NotDecided
                ? Q("valid: " + style.Number(days) +
                    " days of 15-minute blocks of every phase current, 30 asked")
                : Q("not valid for the study: " +
                    (s->Reasons.empty() ? std::string("see below") : s->Reasons.front())));
        block.Lines.emplace_back(QStringLiteral("Service"), Q(ServiceText(*s, style)));
    }
    AddAuthorLines(block, options.Author);
    std::vector<PrintedPart> parts(1);
    parts[0].Draw = [&](QPainter& painter, const QRect& area, int32_t) {
        PaintCapacitySheet(painter, QRectF(area), block, survey, font);
    };
    PrintOptions print = PrintOptionsOf(setup, &db, title);
    print.PageNumberBelow = true;
    print.Info = ReportPdfInfo(title, options.Author, Q(db.Header().UserID),
                               QStringLiteral("Capacity sheet"));
    return Print(parts, print, interaction);
}

} // namespace

Printout PrintSurveyReport(PrintSetup& setup, PrintInteraction& interaction, LDatabase& db,
                           const SurveyReportOptions& options) {
    if (!db.Open())
        return {};
    const QFont font = QGuiApplication::font();
    const QString title =
        options.Title.isEmpty() ? QString::fromLatin1(DefaultReportTitle) : options.Title;
    const SurveyResult survey = RunSurvey(db.Parameters(), options.Survey);
    // The numbers and times of the user's locale, as the Survey window shows them.
    const TextStyle style = LocaleTextStyle();
    const LSession& recording = db.Header();
    const QString site = Q(recording.Location).trimmed();
    const QString header = site.isEmpty() ? title : title + QStringLiteral(" \u2013 ") + site;
    const auto units = HistoricByUnit(db.Parameters());
    const PowerSurvey* power = survey.Power ? &*survey.Power : nullptr;

    ReportFlow flow(setup, font);
    // A chart's share of a page that holds n of them under their headings.
    const auto share = [&](int n, double ratio, bool heading) {
        return [&flow, n, ratio, heading](double width, double page) {
            const double each =
                (page - (n - 1) * flow.Gap()) / n - (heading ? flow.HeadingHeight() : 0) - 1;
            return std::min(width * ratio, each);
        };
    };
    std::vector<ReportBlock> blocks;
    // A table longer than a page goes to the appendix, in groups of its columns where it is
    // too wide for the page in the smallest type a report sets.
    const int pageWidth = PrintAreaOf(setup, true).width();
    const auto textTable = [&](const QString& heading, const TextTable& table,
                               std::function<double(QPainter&, const QRectF&)> inPlace = {}) {
        ReportBlock block;
        block.Heading = heading;
        block.Draw = [table, font](QPainter& painter, const QRectF& area) {
            return PaintTextTable(painter, area, table, PaperLook(painter, font));
        };
        const auto rowsOf = [&](const TextTable& part) {
            auto rows = std::make_shared<PrintedTexts>(part, style, font);
            rows->SetSmallestPointSize(SmallestReportPointSize);
            // Printed only in the appendix.
            rows->SetCaption(QStringLiteral("Appendix: ") + heading);
            rows->FitWidth(setup.Printer(), pageWidth);
            return rows;
        };
        const auto whole = rowsOf(table);
        if (whole->RowWidth() <= pageWidth) {
            block.Rows = {whole};
        } else {
            std::vector<double> widths(whole->ColWidths().begin(), whole->ColWidths().end());
            for (const auto& group : ColumnGroups(widths, table.LeadingColumns(), pageWidth))
                block.Rows.push_back(rowsOf(table.Only(group)));
        }
        block.ToAppendix = true;
        block.InPlace = std::move(inPlace);
        blocks.push_back(std::move(block));
    };

    // The first page: the title block and the answers.
    TitleBlock titleBlock{title, site, {}};
    const QString period =
        survey.From && survey.To
            ? DateTimeToStr(*survey.From) + QStringLiteral(" to ") + DateTimeToStr(*survey.To)
            : DateTimeToStr(recording.StartTime) + QStringLiteral(" to ") +
                  DateTimeToStr(recording.EndTime);
    if (options.CapacitySheet)
        return PrintCapacitySheet(setup, interaction, db, options, survey, period);
    titleBlock.Lines.emplace_back(QStringLiteral("Period"), period);
    for (const std::string& download : JoinedDownloads(recording.Comments, style))
        titleBlock.Lines.emplace_back(QStringLiteral("Download"), Q(download));
    AddAuthorLines(titleBlock, options.Author);
    const std::vector<Finding> findings =
        SurveyFindings(survey, style, options.Author.Remarks.toStdString());
    for (ReportBlock& block : FindingBlocks(titleBlock, findings, font))
        blocks.push_back(std::move(block));

    // The contents, filled in once the pages are laid out. The parts hold this block, so it
    // holds them weakly.
    auto parts = std::make_shared<std::vector<PrintedPart>>();
    auto entries = std::make_shared<QStringList>();
    const std::weak_ptr<std::vector<PrintedPart>> laidOut = parts;
    blocks.push_back({{}, {}, {}, [laidOut, entries, font](QPainter& painter, const QRectF& area) {
                          const auto held = laidOut.lock();
                          auto contents =
                              held ? ContentsOf(*held) : std::vector<std::pair<QString, int32_t>>{};
                          if (contents.empty())
                              for (const QString& entry : *entries)
                                  contents.emplace_back(entry, 0);
                          return PaintContents(painter, area, contents, font);
                      }});
    blocks.back().Leads = true;

    // The summary with the recording's period, rate and instrument, and a line for every
    // section left out; the cost, power factor and unbalance have sections of their own.
    std::vector<SummaryLine> summary = SurveySummaryLines(survey, style);
    summary.insert(summary.begin(), {{0, "Recording", {}},
                                     {2, "User id", recording.UserID},
                                     {2, "Start", DateTimeToStr(recording.StartTime).toStdString()},
                                     {2, "End", DateTimeToStr(recording.EndTime).toStdString()},
                                     {2, "Phase", recording.PhaseConfigName()},
                                     {2, "Mode", recording.ModeName()},
                                     {2, "Rate", recording.RateText()},
                                     {2, "Interval", recording.IntervalName()},
                                     {2, "Current clamp", recording.CTName()},
                                     {2, "Instrument", recording.InstrumentText},
                                     {}});
    if (!power || !power->Cost) {
        summary.emplace_back();
        const auto cost = CostLines(survey, style, false);
        summary.insert(summary.end(), cost.begin(), cost.end());
    }
    bool anyLeftOut = false;
    const auto leftOut = [&](const std::string& sections, const std::string& why) {
        if (!anyLeftOut)
            summary.emplace_back();
        anyLeftOut = true;
        summary.push_back({0, sections + " left out: " + why, {}});
    };
    if (!power)
        leftOut("Energy per day, daily profile, heat map and load duration", NoPowerText);
    if (!survey.Voltage)
        leftOut("Voltage block means", NoVoltageText);
    if (units.empty())
        leftOut("Charts and statistics of the Historic parameters",
                "the recording has no Historic parameters.");
    // A paragraph at a time, so that the summary goes on below the contents on their page.
    {
        auto drawn = std::make_shared<SummaryRows>(summary, font);
        constexpr int32_t rowsABlock = 20;
        bool first = true;
        for (const SummaryRows::Run& run : drawn->Runs(rowsABlock)) {
            ReportBlock block;
            if (first) {
                block.Heading = QStringLiteral("Summary");
                block.NewPage = true;
                first = false;
            }
            block.Continues = run.Continues;
            block.Draw = [drawn, run](QPainter& painter, const QRectF& area) {
                drawn->FitWidth(*painter.device(), static_cast<int>(area.width()));
                int y = static_cast<int>(area.top());
                const int top = y;
                painter.setPen(Qt::black);
                for (int32_t row = run.First; row <= run.Last; ++row)
                    drawn->DrawRow(painter, row, static_cast<int>(area.left()), y);
                return static_cast<double>(y - top);
            };
            blocks.push_back(std::move(block));
        }
    }

    // A year's days in the appendix, and here their months and the chart of every day.
    if (power)
        textTable(QStringLiteral("Energy per day"), EnergyDayTable(power->Days),
                  [power, font](QPainter& painter, const QRectF& area) {
                      const ChartLook look = PaperLook(painter, font);
                      const double line = QFontMetricsF(font, painter.device()).height();
                      const double table = PaintTextTable(
                          painter, area,
                          EnergyMonthTable(power->Days, power->Cost ? &*power->Cost : nullptr),
                          look);
                      QRectF chart = area;
                      chart.setTop(area.top() + table + line);
                      chart.setHeight(area.width() * 0.4);
                      PaintEnergyPerDay(painter, chart, *power, look);
                      return chart.bottom() - area.top();
                  });

    // A chart per unit over the whole recording, drawn by the chart engine, two to a page.
    for (const auto& unit : units) {
        auto record = std::make_shared<LChartRecord>(&db.Header());
        // In the unit its scale is drawn in.
        double largest = 0;
        for (const LParameter* p : unit)
            for (const float v : {p->Lowest(), p->Highest()})
                if (std::isfinite(v))
                    largest = std::max(largest, std::fabs(static_cast<double>(v)));
        record->Title =
            "Historic parameters in " + ScaleOf(largest, unit.front()->ShortUnit()).Unit;
        record->Caption = record->Title;
        for (LParameter* parameter : unit)
            record->Sources.Add(std::make_unique<LParameterSource>(parameter));
        // Colours of the report's own, the same in every report, apart on white paper.
        const uint32_t colors[] = {0x0000C0, 0x008000, 0xC00000, 0x8000C0, 0x006080, 0x404040};
        record->SeriesStyles.assign(unit.size(), LSeriesStyle{});
        for (size_t i = 0; i < unit.size(); ++i)
            record->SeriesStyles[i].Color = colors[i % std::size(colors)];
        ReportBlock block;
        block.Entry = Q(record->Title);
        block.Height = share(2, 2.0 / 3, false);
        block.Draw = [record, font](QPainter& painter, const QRectF& area) {
            DrawEngineChart(painter, area, *record, font);
            return area.height();
        };
        blocks.push_back(std::move(block));
    }

    // The daily profile, the load duration and the heat map at the page's width, three to a
    // page.
    if (power) {
        using Paint =
            ChartLayout (*)(QPainter&, const QRectF&, const PowerSurvey&, const ChartLook&);
        const std::pair<const char*, Paint> charts[] = {{"Daily profile", PaintDailyProfile},
                                                        {"Load duration", PaintLoadDuration},
                                                        {"Heat map", PaintHeatMap}};
        for (const auto& [heading, paint] : charts) {
            ReportBlock block;
            block.Heading = QString::fromLatin1(heading);
            block.Height = share(3, 0.5, true);
            block.Draw = [power, paint = paint, font](QPainter& painter, const QRectF& area) {
                paint(painter, area, *power, PaperLook(painter, font));
                return area.height();
            };
            blocks.push_back(std::move(block));
        }
    }

    if (survey.Voltage) {
        const VoltageVariation* voltage = &*survey.Voltage;
        ReportBlock block;
        block.Heading = QStringLiteral("Voltage block means");
        block.Draw = [voltage, font](QPainter& painter, const QRectF& area) {
            const ChartLook look = PaperLook(painter, font);
            QRectF chart = area;
            chart.setHeight(area.width() * 0.4);
            PaintVoltageBlocks(painter, chart, *voltage, look);
            QRectF below = area;
            below.setTop(chart.bottom() + QFontMetricsF(font, painter.device()).height());
            return below.top() - area.top() +
                   PaintTextTable(painter, below, VoltageTable(*voltage), look);
        };
        blocks.push_back(std::move(block));
    }

    // What the load costs, the power factor correction and the unbalance, each where the
    // recording supports it (the summary says why not): notes and a table above a chart.
    const auto findingsBlock =
        [&](const QString& heading, const QStringList& lines, std::optional<TextTable> table,
            double chartRatio,
            std::function<void(QPainter&, const QRectF&, const ChartLook&)> draw) {
            ReportBlock block;
            block.Heading = heading;
            block.Draw = [=](QPainter& painter, const QRectF& area) {
                const ChartLook look = PaperLook(painter, font);
                const double line = QFontMetricsF(font, painter.device()).height();
                QRectF rest = area;
                rest.setTop(rest.top() + PaintNotes(painter, rest, lines, look));
                if (table)
                    rest.setTop(rest.top() + PaintTextTable(painter, rest, *table, look) +
                                line / 2);
                rest.setHeight(area.width() * chartRatio);
                draw(painter, rest, look);
                return rest.bottom() - area.top();
            };
            blocks.push_back(std::move(block));
        };
    if (power && power->Cost) {
        const CostStudy* cost = &*power->Cost;
        textTable(QStringLiteral("Cost: %1, in %2").arg(Q(cost->Tariff), Q(cost->Currency)),
                  CostTable(*cost));
        QStringList costNotes = Notes(cost->Reasons);
        if (cost->Shaving)
            costNotes << QString::fromUtf8(PeakShavingCaveat);
        findingsBlock(QStringLiteral("Energy cost per day"), costNotes, std::nullopt, 0.4,
                      [cost](QPainter& painter, const QRectF& area, const ChartLook& look) {
                          PaintCostPerDay(painter, area, *cost, look);
                      });
    }
    if (power && power->PowerFactor.Blocks > 0)
        findingsBlock(QStringLiteral("Power factor"), Notes(PowerFactorNotes(*power)),
                      PowerFactorTable(power->PowerFactor, &power->Correction), 0.3,
                      [power](QPainter& painter, const QRectF& area, const ChartLook& look) {
                          // The power factor over time and the duration of Qc side by side.
                          QRectF left = area;
                          left.setWidth(area.width() / 2 - look.PenScale * 4);
                          PaintPowerFactorBlocks(painter, left, *power, look);
                          PaintQcDuration(painter, left.translated(area.width() / 2, 0), *power,
                                          look);
                      });
    const TextTable unbalanceTable = UnbalanceTable(survey.Unbalance);
    if (!unbalanceTable.Rows.empty())
        findingsBlock(QStringLiteral("Unbalance"), Notes(survey.Unbalance.Reasons), unbalanceTable,
                      0.3, [&survey](QPainter& painter, const QRectF& area, const ChartLook& look) {
                          PaintUnbalanceBlocks(painter, area, survey.Unbalance, look);
                      });
    if (power && power->Battery) {
        const BatteryStudy* battery = &*power->Battery;
        // Too wide for the page, the table goes on in groups of columns: the cap names the
        // rows, so it begins each.
        TextTable table = BatteryTable(*battery);
        table.Columns.front().Right = false;
        findingsBlock(QStringLiteral("Battery"), Notes(BatteryNotes(*battery)), table, 0.4,
                      [battery](QPainter& painter, const QRectF& area, const ChartLook& look) {
                          PaintBatteryCurve(painter, area, *battery, look);
                      });
    }

    // The new loads: the verdict, every line of the calculation, the headroom by hour and
    // the managed loads' nights.
    if (const auto& capacity = survey.Capacity) {
        QStringList lines;
        for (const SummaryLine& line : CapacityLines(survey, style)) {
            if (line.Value)
                break;
            lines << Q(line.Label);
        }
        lines << Q("Service: " + ServiceText(*capacity, style));
        const CapacityStudy* study = &*capacity;
        const std::optional<double> need = survey.Options.Capacity.NightNeedWh;
        findingsBlock(
            QStringLiteral("Capacity for the new loads"), lines, CapacityTable(*study), 0.3,
            [study, need](QPainter& painter, const QRectF& area, const ChartLook& look) {
                QRectF left = area;
                left.setWidth(area.width() / 2 - look.PenScale * 4);
                PaintHeadroomProfile(painter, left, *study, look);
                PaintNightEnergy(painter, left.translated(area.width() / 2, 0), *study, need, look);
            });
    }

    // The statistics of every Historic parameter.
    if (!units.empty()) {
        RangeStatistics statistics = StatisticsOfRecording(db.Parameters());
        std::erase_if(statistics.Rows, [](const SourceStatistics& row) {
            return !row.Parameter || row.Parameter->TableType() != ttHistoric ||
                   row.Parameter->Count() <= 0;
        });
        textTable(QStringLiteral("Statistics"), StatisticsTable(statistics.Rows));
    }

    // What the contents are measured with before the pages are laid out: every entry, and the
    // appendix's of every table that may go there.
    QStringList appendix;
    for (const ReportBlock& block : blocks) {
        const QString entry = block.Entry.isEmpty() ? block.Heading : block.Entry;
        if (entry.isEmpty())
            continue;
        *entries << entry;
        if (block.ToAppendix)
            appendix << QStringLiteral("Appendix: ") + entry;
    }
    *entries << appendix;
    *parts = flow.Parts(std::move(blocks), header);

    // The database's own tables and charts, as Print prints them.
    if (options.WithItems) {
        for (const auto& record : db.Tables()) {
            const TableLayout layout = ChooseLayout(record->Sources);
            PrintedPart part;
            part.Title = Q(record->Caption);
            part.Rows = std::make_shared<PrintedTable>(record->Sources, layout.Type, font);
            part.Contents = QStringList{Q(record->Caption)};
            parts->push_back(std::move(part));
        }
        for (const auto& chart : db.Charts()) {
            LChartRecord* record = chart.get();
            PrintedPart part;
            part.Title = Q(record->Caption);
            part.Contents = QStringList{Q(record->Caption)};
            part.Draw = [record, font](QPainter& painter, const QRect& area, int32_t) {
                QRectF chartArea(area);
                chartArea.setHeight(std::min(chartArea.height(), chartArea.width() * 2 / 3));
                DrawEngineChart(painter, chartArea, *record, font);
            };
            parts->push_back(std::move(part));
        }
    }

    PrintOptions print = PrintOptionsOf(setup, &db, title);
    print.PageNumberBelow = true;
    print.Info = ReportPdfInfo(title, options.Author, Q(recording.UserID),
                               QString::fromLatin1(DefaultReportTitle));
    return Print(*parts, print, interaction);
}
