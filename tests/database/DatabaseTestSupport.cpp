#include "tests/database/DatabaseTestSupport.h"

#include "tools/RecordingGenerator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <random>
#include <sstream>
#include <unistd.h>

void FillDatabase(LDatabase& db, int historicPoints, int eventPoints) {
    GeneratorOptions options;
    // RMS voltage (Historic), its maximum (Event) and its interval maxima (Interval event), its
    // average (Cumulative).
    options.entries = {6, 47, 122, 98};
    options.historicPoints = historicPoints;
    options.scatteredEvents = eventPoints > 0;
    options.eventPoints = eventPoints;
    db.New();
    db.Parse(GenerateRecordingBytes(options));
    db.Header().UserID = "Jürgen";
    db.Header().Location = "Plant Ø, µ-grid";
    db.Header().Comments = "line one\r\nline two";

    LTableRecord* table = db.AddTable();
    for (const auto& s : db.AllSources())
        table->Sources.Add(std::make_unique<LParameterSource>(*s));
    table->Sources.Items(0)->SetSubset(2, std::min(9, historicPoints - 1));
    // An Event table as New Table makes it: the maximum with its intervals.
    LParameterSourceGroup& events = db.AddTable()->Sources;
    events.Add(std::make_unique<LParameterSource>(*db.AllSources().Items(1)));
    events.Add(std::make_unique<LParameterSource>(*db.AllSources().Items(3)));
    events.ChainIntervalTwins(db.AllSources());

    LChartRecord* chart = db.AddChart();
    chart->Title = "Voltage é";
    chart->ShowMinMax = true;
    chart->TitleFont.Bold = false;
    chart->LegendFont.Underline = true;
    chart->BackgroundColor = 0x80000005; // a system colour code
    for (int i = 0; i < db.ChartSources().Count(); ++i) {
        chart->Sources.Add(std::make_unique<LParameterSource>(*db.ChartSources().Items(i)));
        // Only what the file keeps for the kind of series.
        LSeriesStyle& style = chart->Style(i);
        style.Color = static_cast<uint32_t>(0x102030 * (i + 1));
        if (LChartRecord::IsLineSource(*chart->Sources.Items(i))) {
            style.LineWidth = 2 + i;
        } else {
            style.PointSize = 5 + i;
            style.PointStyle = static_cast<uint8_t>(2 + i);
        }
    }
    // A chained source, as older files hold them.
    LParameterSource* first = chart->Sources.Items(0);
    first->Next = std::make_unique<LParameterSource>(*db.ChartSources().Items(1));
    first->Next->Next = std::make_unique<LParameterSource>(*db.ChartSources().Items(0));
    db.AddChart()->XAxisLabelsTimeDate = 0;
}

std::string SaveAs(LDatabase& db, const std::string& name) {
    db.SetFileName(name);
    db.Save(false);
    return db.FileName();
}

void LoadFrom(LDatabase& db, const std::string& fileName) {
    db.New();
    db.Load(fileName);
}

void ExpectSameContent(const LDatabase& a, const LDatabase& b) {
    const LSession &x = a.Header(), &y = b.Header();
    EXPECT_EQ(x.UserID, y.UserID);
    EXPECT_EQ(x.Location, y.Location);
    EXPECT_EQ(x.Comments, y.Comments);
    EXPECT_EQ(x.StartTime, y.StartTime);
    EXPECT_EQ(x.ParameterCount, y.ParameterCount);
    ASSERT_EQ(a.Parameters().Count(), b.Parameters().Count());
    for (int i = 0; i < a.Parameters().Count(); ++i) {
        const LParameter &p = *a.Parameters().Items(i), &q = *b.Parameters().Items(i);
        EXPECT_EQ(p.Id(), q.Id());
        EXPECT_EQ(p.Index(), q.Index());
        EXPECT_EQ(p.TableType(), q.TableType());
        ASSERT_EQ(p.Count(), q.Count());
        for (int k = 0; k < p.Count(); ++k) {
            float v, w;
            TDateTime t, u;
            p.GetPoint(k, v, t);
            q.GetPoint(k, w, u);
            EXPECT_EQ(v, w);
            EXPECT_EQ(t, u);
        }
    }
    ASSERT_EQ(a.Tables().size(), b.Tables().size());
    ASSERT_EQ(a.Charts().size(), b.Charts().size());
}
