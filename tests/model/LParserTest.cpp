#include "model/LParser.h"
#include "model/Auxilary.h"
#include "model/ErrorReport.h"
#include "model/LParameterCollection.h"
#include "model/LSession.h"
#include "tools/RecordingGenerator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

namespace {

// Catalogue indices used below (wye configuration).
constexpr int HistoricVAN = 6;
constexpr int EventVANMax = 47;
constexpr int EnergyTotal = 114;
constexpr int Demand = 115;

TDateTime At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
    TDateTime date = 0, time = 0;
    EXPECT_TRUE(TryEncodeDate(y, mo, d, date));
    EXPECT_TRUE(TryEncodeTime(h, mi, s, 0, time));
    return date + time;
}

// Event blocks of several points, as the parser must read them.
GeneratorOptions Small() {
    GeneratorOptions o;
    o.entries = {HistoricVAN, EventVANMax};
    o.historicPoints = 5;
    o.scatteredEvents = true;
    o.eventPoints = 3;
    return o;
}

struct Parsed {
    LSession session;
    LParameterCollection parameters;
};

void Parse(std::string bytes, Parsed& out) {
    LParser().Run(bytes, out.session, out.parameters);
}

// The message of the parse failure, or "" when the bytes parse.
std::string ParseError(const std::string& bytes) {
    Parsed p;
    try {
        Parse(bytes, p);
    } catch (const VroError& e) {
        return e.what();
    }
    return "";
}

std::string WithHeaderByte(const GeneratedRecording& r, size_t offset, uint8_t value) {
    std::string bytes = r.Serialize();
    bytes[offset] = static_cast<char>(value);
    return bytes;
}

TEST(LParserHeaderTest, ReadsEveryField) {
    GeneratorOptions o = Small();
    o.end = {2026, 11, 30, 17, 45, 10};
    o.instrumentText = "Meter \xB5-3 \xD8"; // Windows-1252 µ and Ø
    GeneratedRecording r = GenerateRecording(o);
    r.instrumentShortText = "ABCDEFGH"; // fills its field: no terminating zero
    Parsed p;
    Parse(r.Serialize(), p);
    const LSession& s = p.session;
    EXPECT_EQ(s.DataLength, static_cast<int32_t>(r.Serialize().size()));
    EXPECT_EQ(s.DateProduced, At(2003, 5, 1));
    EXPECT_EQ(s.InstrumentNumber, 1207);
    EXPECT_EQ(s.InstrumentText, "Meter µ-3 Ø");
    EXPECT_EQ(s.InstrumentShortText, "ABCDEFGH");
    EXPECT_EQ(s.InstrumentLongNumber, 20031207);
    EXPECT_EQ(s.PhaseConfig, 3);
    EXPECT_EQ(s.Rate, 4);
    EXPECT_EQ(s.Interval, 1);
    EXPECT_EQ(s.EndTime, At(2026, 11, 30, 17, 45, 10));
    EXPECT_EQ(s.ParameterCount, 2);
    EXPECT_EQ(s.HistoricPointMax, 5);
    EXPECT_EQ(s.EventPointMax, 3);
    EXPECT_EQ(p.parameters.Count(), 2);
}

TEST(LParserHeaderTest, ProductionDate) {
    GeneratedRecording r = GenerateRecording(Small());
    Parsed p;
    r.productionDate = 1299;
    Parse(r.Serialize(), p);
    EXPECT_EQ(p.session.DateProduced, At(1999, 12, 1));
    r.productionDate = 1399;
    EXPECT_EQ(ParseError(r.Serialize()), "Parse error:DateProduced [1399]");
    r.productionDate = -503;
    EXPECT_EQ(ParseError(r.Serialize()), "Parse error:DateProduced [-503]");
    r.productionDate = 96; // month 0
    EXPECT_EQ(ParseError(r.Serialize()), "Parse error:DateProduced [96]");
}

TEST(LParserHeaderTest, RefusesEveryCodeOutOfRange) {
    const GeneratedRecording r = GenerateRecording(Small());
    struct Case {
        size_t offset;
        uint8_t value;
        const char* message;
    };
    const Case cases[] = {
        {36, 2, "Parse error:PhaseConfig [2]"},     {36, 5, "Parse error:PhaseConfig [5]"},
        {36, 0xFF, "Parse error:PhaseConfig [-1]"}, {37, 3, "Parse error:CT [3]"},
        {37, 0x80, "Parse error:CT [-128]"},        {38, 8, "Parse error:Rate [8]"},
        {39, 5, "Parse error:Interval [5]"},        {40, 2, "Parse error:Mode [2]"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseError(WithHeaderByte(r, c.offset, c.value)), c.message) << c.message;
    // Checked in order: the phase fails before a bad CT is looked at.
    std::string both = WithHeaderByte(r, 36, 2);
    both[37] = 9;
    EXPECT_EQ(ParseError(both), "Parse error:PhaseConfig [2]");
}

TEST(LParserHeaderTest, IntervalCodesThreeAndFourPass) {
    const GeneratedRecording r = GenerateRecording(Small());
    for (uint8_t interval : {3, 4}) {
        Parsed p;
        Parse(WithHeaderByte(r, 39, interval), p);
        EXPECT_EQ(p.session.Interval, interval);
    }
}

TEST(LParserTimeStampTest, AfternoonHoursMidnightAndCenturies) {
    GeneratedRecording r = GenerateRecording(Small());
    auto endTime = [&](TimeStamp stamp) {
        r.end = stamp;
        Parsed p;
        Parse(r.Serialize(), p);
        return p.session.EndTime;
    };
    EXPECT_EQ(endTime({0x8C, 30, 0, 0, 1, 6, 24}), At(2024, 6, 1, 0, 30, 0)); // 24:30 is 0:30
    EXPECT_EQ(endTime({0x81, 5, 9, 0, 1, 6, 24}), At(2024, 6, 1, 13, 5, 9));
    EXPECT_EQ(endTime({0x8B, 59, 59, 0, 31, 12, 96}), At(2096, 12, 31, 23, 59, 59));
    EXPECT_EQ(endTime({11, 0, 0, 0, 28, 2, 97}), At(1997, 2, 28, 11, 0, 0));
    EXPECT_EQ(endTime({0, 0, 0, 77, 29, 2, 0}), At(2000, 2, 29)); // unused byte is ignored

    r.end = {0x80, 45, 0, 0, 30, 11, 26};
    EXPECT_EQ(ParseError(r.Serialize()), "Parse error:<<Time/Date = -128:45:0, 11/30/2026");
    r.end = {10, 60, 0, 0, 30, 11, 26};
    EXPECT_EQ(ParseError(r.Serialize()), "Parse error:<<Time/Date = 10:60:0, 11/30/2026");
    r.end = {10, 0, 0, 0, 29, 2, 25}; // 2025 is no leap year
    EXPECT_EQ(ParseError(r.Serialize()), "Parse error:<<Time/Date = 10:0:0, 2/29/2025");
    r.end = {0x8D, 0, 0, 0, 1, 1, 25}; // hour 25
    EXPECT_EQ(ParseError(r.Serialize()), "Parse error:<<Time/Date = 25:0:0, 1/1/2025");
}

TEST(LParserTimeStampTest, EventPointsAreCheckedToo) {
    GeneratedRecording r = GenerateRecording(Small());
    r.blocks[1].stamps[2] = {12, 0, 0, 0, 0, 1, 25}; // day 0
    EXPECT_EQ(ParseError(r.Serialize()), "Parse error:<<Time/Date = 12:0:0, 1/0/2025");
    r.blocks[1].stamps[2] = {0x8C, 0, 0, 0, 2, 1, 25};
    Parsed p;
    Parse(r.Serialize(), p);
    EXPECT_EQ(p.parameters.Items(1)->Times()[2], At(2025, 1, 2));
}

TEST(LParserBlocksTest, StartTimeFromTheLongestSeries) {
    GeneratorOptions o;
    o.entries = {HistoricVAN};
    o.historicPoints = 100;
    o.rate = 2; // 15 s
    o.end = {2025, 3, 1, 12, 0, 0};
    Parsed p;
    Parse(GenerateRecordingBytes(o), p);
    const TDateTime end = At(2025, 3, 1, 12, 0, 0);
    EXPECT_EQ(p.session.StartTime, end - IntervalsToDays(100, 15) + 1000 / 86400000.0);
    EXPECT_NEAR((p.session.StartTime - end) * 86400, -1499, 1e-6);
    EXPECT_EQ(p.parameters.Items(0)->StartTime(), p.session.StartTime);
    EXPECT_EQ(p.parameters.Items(0)->Rate(), 15);

    // An event series longer than every historic one sets the span.
    o.entries = {HistoricVAN, EventVANMax};
    o.historicPoints = 10;
    o.scatteredEvents = true;
    o.eventPoints = 40;
    Parsed q;
    Parse(GenerateRecordingBytes(o), q);
    EXPECT_EQ(q.session.StartTime, end - IntervalsToDays(40, 15) + 1000 / 86400000.0);
}

TEST(LParserBlocksTest, NoPointsAtAllCannotBePlaced) {
    GeneratorOptions o = Small();
    o.historicPoints = 0;
    o.eventPoints = 0;
    EXPECT_EQ(ParseError(GenerateRecordingBytes(o)), "Parse error:Error calculating start time");
    GeneratedRecording r = GenerateRecording(Small());
    r.blocks.clear();
    EXPECT_EQ(ParseError(r.Serialize()), "Parse error:Error calculating start time");
    r = GenerateRecording(Small());
    r.parameterCountOverride = -3; // a negative count reads no block
    EXPECT_EQ(ParseError(r.Serialize()), "Parse error:Error calculating start time");
}

TEST(LParserBlocksTest, ThreePhaseEnergyIsAlwaysWattHours) {
    GeneratorOptions o = Small();
    o.entries = {EnergyTotal};
    GeneratedRecording r = GenerateRecording(o);
    r.blocks[0].unit = 2;
    Parsed p;
    Parse(r.Serialize(), p);
    EXPECT_EQ(p.parameters.Items(0)->Index(), EnergyTotal);
    EXPECT_EQ(p.parameters.Items(0)->Unit(), 6);
    // Per-phase energy in watts is still refused.
    o.entries = {EnergyTotal - 1};
    r = GenerateRecording(o);
    r.blocks[0].unit = 2;
    EXPECT_EQ(ParseError(r.Serialize()), "Parse error:Parameter failed validation");
}

TEST(LParserBlocksTest, DemandSentAsCumulativeBecomesAnEvent) {
    GeneratorOptions o = Small();
    o.entries = {Demand, 190};
    GeneratedRecording r = GenerateRecording(o);
    r.blocks[0].tableType = ttCumulative;
    r.blocks[1].tableType = ttIntervalCumulative;
    Parsed p;
    Parse(r.Serialize(), p);
    const LParameter& demand = *p.parameters.Items(0);
    EXPECT_EQ(demand.Index(), Demand);
    EXPECT_EQ(demand.TableType(), ttEvent);
    ASSERT_NE(demand.Times(), nullptr);
    EXPECT_EQ(demand.Values()[2], r.blocks[0].values[2]); // 11-byte records were read
    EXPECT_EQ(p.parameters.Items(1)->TableType(), ttIntervalEvent);
    EXPECT_EQ(p.session.EventPointMax, 3);
    EXPECT_EQ(p.session.HistoricPointMax, 0);
}

TEST(LParserBlocksTest, RefusesUnknownParametersAndBadCounts) {
    GeneratedRecording r = GenerateRecording(Small());
    r.blocks[0].channel = 1; // V1 does not exist in a wye recording
    EXPECT_EQ(ParseError(r.Serialize()), "Parse error:Parameter failed validation");
    r = GenerateRecording(Small());
    r.blocks[1].tableType = 7;
    EXPECT_EQ(ParseError(r.Serialize()), "Parse error:Parameter failed validation");

    r = GenerateRecording(Small());
    r.blocks[0].countOverride = 50001;
    EXPECT_EQ(ParseError(r.Serialize()), "Parse error:Too many data points");
    r.blocks[0].countOverride = -1;
    EXPECT_EQ(ParseError(r.Serialize()), "Parse error:Negative number of data points [-1]");
    r.blocks[0].countOverride = INT32_MIN;
    EXPECT_EQ(ParseError(r.Serialize()),
              "Parse error:Negative number of data points [-2147483648]");
}

TEST(LParserBlocksTest, CopiesValuesAndTimesExactly) {
    GeneratorOptions o = Small();
    GeneratedRecording r = GenerateRecording(o);
    r.blocks[0].values[1] = std::nanf("");
    r.blocks[0].headerA = -2.5f;
    r.blocks[1].headerB = 1e30f;
    Parsed p;
    Parse(r.Serialize(), p);
    const LParameter& h = *p.parameters.Items(0);
    EXPECT_EQ(h.Count(), 5);
    EXPECT_EQ(h.Times(), nullptr);
    EXPECT_TRUE(std::isnan(h.Values()[1]));
    for (int i : {0, 2, 3, 4})
        EXPECT_EQ(h.Values()[i], r.blocks[0].values[i]);
    EXPECT_EQ(h.HeaderA(), -2.5f);
    const LParameter& e = *p.parameters.Items(1);
    EXPECT_EQ(e.HeaderB(), 1e30f);
    for (int i = 0; i < 3; ++i) {
        const TimeStamp& s = r.blocks[1].stamps[i];
        const int hour = s[0] >= 129 ? s[0] - 116 : s[0];
        EXPECT_EQ(e.Times()[i], At(2000 + s[6], s[5], s[4], hour == 24 ? 0 : hour, s[1], s[2]));
        EXPECT_EQ(e.Values()[i], r.blocks[1].values[i]);
    }
}

TEST(LParserInputTest, TruncationAtEveryOffsetFailsCleanly) {
    const std::string bytes = GenerateRecordingBytes(Small());
    ASSERT_EQ(bytes.size(), 49u + 17 + 5 * 4 + 17 + 3 * 11);
    for (size_t n = 0; n < bytes.size(); ++n)
        ASSERT_EQ(ParseError(bytes.substr(0, n)), "Parse error:Incremented past end") << n;
    EXPECT_EQ(ParseError(bytes), "");
    EXPECT_EQ(ParseError(bytes + std::string(100, '\x7F')), ""); // trailing bytes are ignored
}

TEST(LParserInputTest, TheInputIsEmptiedEitherWay) {
    LSession s;
    LParameterCollection c;
    std::string good = GenerateRecordingBytes(Small());
    LParser().Run(good, s, c);
    EXPECT_TRUE(good.empty());
    std::string bad = good = GenerateRecordingBytes(Small());
    bad.resize(60);
    EXPECT_THROW(LParser().Run(bad, s, c), VroError);
    EXPECT_TRUE(bad.empty());
}

TEST(LParserInputTest, EveryParameterGetsItsOwnId) {
    GeneratorOptions o = MaximalRecordingOptions();
    o.historicPoints = o.eventPoints = 2;
    Parsed p;
    Parse(GenerateRecordingBytes(o), p);
    ASSERT_EQ(p.parameters.Count(), 127);
    std::set<int32_t> ids;
    for (const auto& parameter : p.parameters) {
        EXPECT_GE(parameter->Id(), 0);
        EXPECT_LE(parameter->Id(), 32766);
        ids.insert(parameter->Id());
    }
    EXPECT_EQ(ids.size(), 127u);
}

} // namespace
