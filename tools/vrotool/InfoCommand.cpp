#include "database/LDatabase.h"
#include "database/RecordingFile.h"
#include "model/ImpossibleValues.h"
#include "model/InputFile.h"
#include "model/LParameterCollection.h"
#include "model/LParser.h"
#include "model/LSession.h"
#include "tools/vrotool/Arguments.h"
#include "tools/vrotool/CommandFiles.h"
#include "tools/vrotool/Commands.h"
#include "tools/vrotool/JsonWriter.h"

#include <charconv>
#include <cstdio>
#include <cstring>
#include <string>
#include <strings.h>

namespace {

void WriteSessionJson(JsonWriter& j, const LSession& s) {
    j.BeginObject();
    j.Key("user_id"), j.String(s.UserID);
    j.Key("location"), j.String(s.Location);
    j.Key("comments"), j.String(s.Comments);
    j.Key("phase_config"), j.Int(s.PhaseConfig);
    j.Key("ct_type"), j.Int(s.CTType);
    j.Key("rate"), j.Int(s.Rate);
    j.Key("interval"), j.Int(s.Interval);
    j.Key("mode"), j.Int(s.Mode);
    j.Key("start_time"), j.Double(s.StartTime);
    j.Key("end_time"), j.Double(s.EndTime);
    j.Key("data_length"), j.Int(s.DataLength);
    j.Key("production_date"), j.Double(s.DateProduced);
    j.Key("instrument_number"), j.Int(s.InstrumentNumber);
    j.Key("instrument_text"), j.String(s.InstrumentText);
    j.Key("instrument_short_text"), j.String(s.InstrumentShortText);
    j.Key("instrument_long_number"), j.Int(s.InstrumentLongNumber);
    j.Key("parameter_count"), j.Int(s.ParameterCount);
    j.Key("event_point_max"), j.Int(s.EventPointMax);
    j.Key("historic_point_max"), j.Int(s.HistoricPointMax);
    j.EndObject();
}

void WriteParameterJson(JsonWriter& j, const LParameter& p, bool values) {
    j.BeginObject();
    j.Key("id"), j.Int(p.Id());
    j.Key("catalogue_index"), j.Int(p.Index());
    j.Key("table_type"), j.Int(p.TableType());
    j.Key("quantity"), j.Int(p.Quantity());
    j.Key("unit"), j.Int(p.Unit());
    j.Key("channel"), j.Int(p.Channel());
    j.Key("name"), j.String(p.Name());
    j.Key("channel_label"), j.String(p.ChannelLabel());
    j.Key("unit_symbol"), j.String(p.ShortUnit());
    j.Key("rate"), j.Int(p.Rate());
    j.Key("start_time"), j.Double(p.StartTime());
    j.Key("count"), j.Int(p.Count());
    j.Key("header_a"), j.Float(p.HeaderA());
    j.Key("header_b"), j.Float(p.HeaderB());
    j.Key("minimum");
    p.Count() > 0 ? j.Float(p.Minimum()) : j.Null();
    j.Key("maximum");
    p.Count() > 0 ? j.Float(p.Maximum()) : j.Null();
    if (values) {
        j.Key("values");
        j.BeginArray();
        for (int32_t i = 0; i < p.Count(); ++i)
            j.Float(p.Values()[i]);
        j.EndArray();
        if (p.Times()) {
            j.Key("times");
            j.BeginArray();
            for (int32_t i = 0; i < p.Count(); ++i)
                j.Double(p.Times()[i]);
            j.EndArray();
        }
    }
    j.EndObject();
}

void PrintSession(const LSession& s) {
    std::printf("User id:       %s\n", s.UserID.c_str());
    std::printf("Location:      %s\n", s.Location.c_str());
    std::printf("Comments:      %s\n", s.Comments.c_str());
    std::printf("Phase:         %s (%d)\n", s.PhaseConfigName().c_str(), s.PhaseConfig);
    std::printf("CT:            %s (%d)\n", s.CTName().c_str(), s.CTType);
    std::printf("Rate:          %s (%d)\n", s.RateText().c_str(), s.Rate);
    std::printf("Interval:      %s (%d)\n", s.IntervalName().c_str(), s.Interval);
    std::printf("Mode:          %s (%d)\n", s.ModeName().c_str(), s.Mode);
    std::printf("Start:         %s\n", FormatIso8601(s.StartTime).c_str());
    std::printf("End:           %s\n", FormatIso8601(s.EndTime).c_str());
    std::printf("Data length:   %d\n", s.DataLength);
    std::printf("Produced:      %s\n", FormatIso8601(s.DateProduced).substr(0, 10).c_str());
    std::printf("Instrument:    %d \"%s\" \"%s\" %d\n", s.InstrumentNumber,
                s.InstrumentText.c_str(), s.InstrumentShortText.c_str(), s.InstrumentLongNumber);
    std::printf("Parameters:    %d (most points: historic %d, event %d)\n", s.ParameterCount,
                s.HistoricPointMax, s.EventPointMax);
}

// The text followed by blanks up to width characters; "ØA" is two characters in three bytes.
std::string Padded(const std::string& text, size_t width) {
    size_t characters = 0;
    for (const char c : text)
        characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return text + std::string(width > characters ? width - characters : 0, ' ');
}

void PrintParameters(const LParameterCollection& parameters) {
    std::printf("\n%5s %3s  %s %s %s %s %6s %13s %13s\n", "Id", "#", Padded("Type", 19).c_str(),
                Padded("Name", 18).c_str(), Padded("Chan.", 5).c_str(), Padded("Unit", 5).c_str(),
                "Points", "Minimum", "Maximum");
    for (const auto& p : parameters) {
        char lo[32] = "-", hi[32] = "-";
        if (p->Count() > 0) {
            std::snprintf(lo, sizeof lo, "%.6g", static_cast<double>(p->Minimum()));
            std::snprintf(hi, sizeof hi, "%.6g", static_cast<double>(p->Maximum()));
        }
        std::printf("%5d %3d  %s %s %s %s %6d %13s %13s\n", p->Id(), p->Index(),
                    Padded(p->TableTypeName(), 19).c_str(), Padded(p->Name(), 18).c_str(),
                    Padded(p->ChannelLabel(), 5).c_str(), Padded(p->ShortUnit(), 5).c_str(),
                    p->Count(), lo, hi);
    }
}

// Every point of every parameter, a line each: its time and its value (the shortest text that
// reads back as the stored float).
void PrintValues(const LParameterCollection& parameters) {
    for (const auto& p : parameters) {
        std::printf("\n%s - %s (%s), id %d, %d points:\n", p->Name().c_str(),
                    p->ChannelLabel().c_str(), p->TableTypeName().c_str(), p->Id(), p->Count());
        for (int32_t i = 0; i < p->Count(); ++i) {
            float value = 0;
            TDateTime time = 0;
            p->GetPoint(i, value, time);
            char text[32];
            *std::to_chars(text, text + sizeof text - 1, value).ptr = '\0';
            std::printf("  %s  %s %s\n", FormatIso8601(time).c_str(), text, p->ShortUnit().c_str());
        }
    }
}

void WriteSourceJson(JsonWriter& j, const LParameterSource& source) {
    // The chain is written as nested objects, closed after the last one.
    int depth = 0;
    for (const LParameterSource* s = &source; s; s = s->Next.get(), ++depth) {
        j.BeginObject();
        j.Key("parameter_id"), j.Int(s->Parameter ? s->Parameter->Id() : -1);
        j.Key("has_data"), j.Bool(s->HasData);
        j.Key("subset_active"), j.Bool(s->SubsetActive);
        j.Key("first"), j.Int(s->First);
        j.Key("last"), j.Int(s->Last);
        j.Key("next");
        if (!s->Next)
            j.Null();
    }
    while (depth-- > 0)
        j.EndObject();
}

void WriteGroupJson(JsonWriter& j, const LParameterSourceGroup& group) {
    j.BeginArray();
    for (const auto& source : group)
        WriteSourceJson(j, *source);
    j.EndArray();
}

void WriteFontJson(JsonWriter& j, const LFont& f) {
    j.BeginObject();
    j.Key("name"), j.String(f.Name);
    j.Key("size"), j.Int(f.Size);
    j.Key("color"), j.Int(f.Color);
    j.Key("charset"), j.Int(f.Charset);
    j.Key("pitch"), j.Int(f.Pitch);
    j.Key("bold"), j.Bool(f.Bold);
    j.Key("italic"), j.Bool(f.Italic);
    j.Key("underline"), j.Bool(f.Underline);
    j.Key("strike_out"), j.Bool(f.StrikeOut);
    j.EndObject();
}

void WriteChartJson(JsonWriter& j, const LChartRecord& c) {
    j.BeginObject();
    j.Key("caption"), j.String(c.Caption);
    j.Key("title"), j.String(c.Title);
    j.Key("title_font"), WriteFontJson(j, c.TitleFont);
    j.Key("title_alignment"), j.Int(c.TitleAlignment);
    j.Key("bottom_axis_title"), j.String(c.BottomAxisTitle);
    j.Key("bottom_axis_title_font"), WriteFontJson(j, c.BottomAxisTitleFont);
    j.Key("x_axis_labels_time_date"), j.Int(c.XAxisLabelsTimeDate);
    j.Key("bottom_axis_label_font"), WriteFontJson(j, c.BottomAxisLabelFont);
    j.Key("left_axis_label_font"), WriteFontJson(j, c.LeftAxisLabelFont);
    j.Key("show_start_end"), j.Bool(c.ShowStartEnd);
    j.Key("show_location"), j.Bool(c.ShowLocation);
    j.Key("footer_font"), WriteFontJson(j, c.FooterFont);
    j.Key("footer_alignment"), j.Int(c.FooterAlignment);
    j.Key("axis_color"), j.Int(c.AxisColor);
    j.Key("background_color"), j.Int(c.BackgroundColor);
    j.Key("bottom_axis_grid"), j.Bool(c.BottomAxisGrid);
    j.Key("grid_color"), j.Int(c.GridColor);
    j.Key("legend_visible"), j.Bool(c.LegendVisible);
    j.Key("legend_font"), WriteFontJson(j, c.LegendFont);
    j.Key("legend_color"), j.Int(c.LegendColor);
    j.Key("legend_position"), j.Int(c.LegendPosition);
    j.Key("show_min_max"), j.Bool(c.ShowMinMax);
    j.Key("sources"), WriteGroupJson(j, c.Sources);
    j.Key("series");
    j.BeginArray();
    for (int32_t i = 0; i < c.Sources.Count(); ++i) {
        const LSeriesStyle& style = c.Style(i);
        j.BeginObject();
        j.Key("color"), j.Int(style.Color);
        if (LChartRecord::IsLineSource(*c.Sources.Items(i))) {
            j.Key("line_width"), j.Int(style.LineWidth);
        } else {
            j.Key("point_size"), j.Int(style.PointSize);
            j.Key("point_style"), j.Int(style.PointStyle);
        }
        j.EndObject();
    }
    j.EndArray();
    j.EndObject();
}

// On standard error, so that the output stays what it was: a line per parameter that holds
// values no recorder can produce.
void ReportImpossibleValues(const LParameterCollection& parameters) {
    for (const std::string& line : ImpossibleValueLines(FindImpossibleValues(parameters)))
        std::fprintf(stderr, "%s\n", line.c_str());
}

int DatabaseInfo(InputFile& file, bool json, bool values) {
    LDatabase db;
    db.New();
    ReadingFile(file, true, [&] { db.Load(file); });
    ReportImpossibleValues(db.Parameters());
    const std::string& fileName = file.Name();
    if (json) {
        JsonWriter j(stdout);
        j.BeginObject();
        j.Key("format"), j.String("vro");
        j.Key("version"), j.Float(db.Version());
        j.Key("session"), WriteSessionJson(j, db.Header());
        j.Key("parameters");
        j.BeginArray();
        for (const auto& p : db.Parameters())
            WriteParameterJson(j, *p, values);
        j.EndArray();
        j.Key("table_counter"), j.Int(db.TableCounter());
        j.Key("tables");
        j.BeginArray();
        for (const auto& t : db.Tables()) {
            j.BeginObject();
            j.Key("caption"), j.String(t->Caption);
            j.Key("sources"), WriteGroupJson(j, t->Sources);
            j.EndObject();
        }
        j.EndArray();
        j.Key("chart_counter"), j.Int(db.ChartCounter());
        j.Key("charts");
        j.BeginArray();
        for (const auto& c : db.Charts())
            WriteChartJson(j, *c);
        j.EndArray();
        j.EndObject();
    } else {
        std::printf("File:          %s (database, version %.2f)\n", fileName.c_str(),
                    static_cast<double>(db.Version()));
        PrintSession(db.Header());
        PrintParameters(db.Parameters());
        if (values)
            PrintValues(db.Parameters());
        std::printf("\nTables (counter %d):\n", db.TableCounter());
        for (const auto& t : db.Tables())
            std::printf("  %s: %d sources\n", t->Caption.c_str(), t->Sources.Count());
        std::printf("Charts (counter %d):\n", db.ChartCounter());
        for (const auto& c : db.Charts())
            std::printf("  %s: \"%s\", %d sources\n", c->Caption.c_str(), c->Title.c_str(),
                        c->Sources.Count());
    }
    return 0;
}

} // namespace

int InfoCommand(Arguments& args) {
    const bool json = args.Flag("--json");
    const bool values = args.Flag("--values");
    const std::string file = args.OnlyFile();

    InputFile input(file);
    if (IsDatabaseFile(input))
        return DatabaseInfo(input, json, values);

    LSession session;
    LParameterCollection parameters;
    ReadingFile(input, false, [&] {
        std::string bytes = input.Contents();
        LParser().Run(bytes, session, parameters);
    });
    ReportImpossibleValues(parameters);

    if (json) {
        JsonWriter j(stdout);
        j.BeginObject();
        j.Key("format"), j.String("bin");
        j.Key("session"), WriteSessionJson(j, session);
        j.Key("parameters");
        j.BeginArray();
        for (const auto& p : parameters)
            WriteParameterJson(j, *p, values);
        j.EndArray();
        j.EndObject();
    } else {
        std::printf("File:          %s (recording)\n", file.c_str());
        PrintSession(session);
        PrintParameters(parameters);
        if (values)
            PrintValues(parameters);
    }
    return 0;
}
