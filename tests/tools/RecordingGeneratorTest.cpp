// The generator's recordings read as the instrument's: totals and intervals that agree.
#include "tools/RecordingGenerator.h"
#include "model/LParameterCollection.h"
#include "model/LParameterSourceGroup.h"
#include "model/LParser.h"
#include "model/LSession.h"
#include "tests/support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <set>

namespace {

struct Parsed {
    LSession session;
    LParameterCollection parameters;
    LParameterSourceGroup sources{&session};
};

void Parse(const GeneratorOptions& o, Parsed& p) {
    std::string bytes = GenerateRecordingBytes(o);
    LParser().Run(bytes, p.session, p.parameters);
    for (const auto& parameter : p.parameters)
        p.sources.Add(std::make_unique<LParameterSource>(parameter.get()));
}

TEST(RecordingGeneratorTest, TotalsAgreeWithTheirIntervals) {
    const struct {
        uint8_t phase, rate, interval;
        int32_t points;
        int32_t intervals;
    } cases[] = {
        {3, 4, 1, 1440, 96}, // a day at 60 s in quarter hours
        {4, 2, 2, 1000, 9},  // 4 h 10 min at 15 s in half hours: the last one cut short
        {0, 5, 1, 10, 4},    // 50 minutes at 5 min: intervals of three samples
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.points);
        GeneratorOptions o;
        o.phaseConfig = c.phase;
        o.rate = c.rate;
        o.interval = c.interval;
        o.historicPoints = c.points;
        Parsed p;
        Parse(o, p);
        const double interval = IntervalMinutes(c.interval) / 1440.0;
        const TDateTime start = p.session.StartTime;
        EXPECT_NEAR((p.session.EndTime - start) * 86400, c.points * RateSeconds(c.rate) - 1, 1e-3);
        int totals = 0;
        for (const auto& s : p.sources) {
            const LParameter& total = *s->Parameter;
            const LParameterSource* twin = p.sources.FindIntervalTwin(total);
            if (!twin)
                continue;
            ++totals;
            SCOPED_TRACE(s->Label());
            const LParameter& parts = *twin->Parameter;
            ASSERT_EQ(total.Count(), 1);
            ASSERT_EQ(parts.Count(), c.intervals);
            const std::vector<float> values(parts.Values(), parts.Values() + parts.Count());
            for (int32_t k = 0; k < parts.Count(); ++k) {
                // Each value lies in its interval, as the tables count them from the start.
                EXPECT_GE(parts.Times()[k], start + k * interval - 1e-9);
                EXPECT_LT(parts.Times()[k], start + (k + 1) * interval);
            }
            const float value = total.Values()[0];
            const auto largest = std::max_element(values.begin(), values.end());
            const auto smallest = std::min_element(values.begin(), values.end());
            const double sum = std::accumulate(values.begin(), values.end(), 0.0);
            switch (total.Quantity()) {
            case 5:  // maxima
            case 7:  // peaks
            case 10: // demand
                EXPECT_EQ(value, *largest);
                EXPECT_EQ(total.Times()[0], parts.Times()[largest - values.begin()]);
                break;
            case 6:
                EXPECT_EQ(value, *smallest);
                EXPECT_EQ(total.Times()[0], parts.Times()[smallest - values.begin()]);
                break;
            case 8:
                EXPECT_NEAR(value, sum / c.intervals, 1e-4 * value);
                break;
            case 9:
                EXPECT_NEAR(value, sum, 1e-5 * value);
                EXPECT_GT(*smallest, 0);
                break;
            default:
                ADD_FAILURE() << "quantity " << int{total.Quantity()};
            }
            // A voltage's swells and sags lie beyond the samples of the same voltage.
            if ((total.Quantity() == 5 || total.Quantity() == 6) && total.Unit() == 0) {
                for (const auto& h : p.parameters) {
                    if (h->TableType() == ttHistoric && h->Unit() == 0 &&
                        h->Channel() == total.Channel()) {
                        EXPECT_TRUE(total.Quantity() == 5 ? value > h->Maximum()
                                                          : value < h->Minimum());
                    }
                }
            }
        }
        // Every Event and Cumulative parameter of the configuration has its twin.
        EXPECT_EQ(totals, std::count_if(p.sources.begin(), p.sources.end(), [](const auto& s) {
                      const LTableType t = s->Parameter->TableType();
                      return t == ttEvent || t == ttCumulative;
                  }));
        EXPECT_GT(totals, 0);
    }
}

// Each phase configuration records its own channels, at its mains voltage.
TEST(RecordingGeneratorTest, EachPhaseConfigurationItsChannels) {
    const struct {
        uint8_t phase;
        std::set<uint8_t> channels; // of the Historic parameters
        double volts;               // of the first voltage channel
    } cases[] = {
        {0, {1, 4, 8}, 230},
        {1, {1, 2, 4, 5, 8, 9}, 120},
        {3, {15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25}, 230},
        {4, {12, 13, 14, 18, 19, 20, 22, 23, 24, 25}, 230 * std::sqrt(3.0)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(int{c.phase});
        GeneratorOptions o;
        o.phaseConfig = c.phase;
        o.historicPoints = 60;
        Parsed p;
        Parse(o, p);
        std::set<uint8_t> channels;
        const LParameter* voltage = nullptr;
        for (const auto& parameter : p.parameters) {
            if (parameter->TableType() != ttHistoric)
                continue;
            channels.insert(parameter->Channel());
            if (!voltage && parameter->Unit() == 0)
                voltage = parameter.get();
        }
        EXPECT_EQ(channels, c.channels);
        ASSERT_TRUE(voltage);
        EXPECT_NEAR(voltage->Values()[0], c.volts, 0.05 * c.volts);
    }
}

TEST(RecordingGeneratorTest, ScatteredEventsKeepTheirCountAndTheirBytes) {
    GeneratorOptions o;
    o.entries = {6, 47, 122, 114};
    o.historicPoints = 30;
    o.scatteredEvents = true;
    o.eventPoints = 50;
    for (const GeneratedBlock& b : GenerateRecording(o).blocks)
        EXPECT_EQ(b.values.size(), b.tableType == ttHistoric ? 30u : 50u);
    // The fuzzing corpora were made of this shape, as make_fuzz_seeds makes them still.
    for (uint8_t phase : {0, 1, 3, 4}) {
        GeneratorOptions seed;
        seed.phaseConfig = phase;
        seed.historicPoints = 3;
        seed.scatteredEvents = true;
        seed.eventPoints = 2;
        seed.seed = phase;
        const int n = phase < 2 ? phase : phase - 1;
        EXPECT_TRUE(GenerateRecordingBytes(seed) ==
                    ReadBytes(VRO_FUZZ_CORPUS "/parser/seed" + std::to_string(n)))
            << int{phase};
    }
}

} // namespace
