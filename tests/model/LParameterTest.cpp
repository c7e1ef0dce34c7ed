#include "model/Auxilary.h"
#include "model/LParameterCollection.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <vector>

namespace {

constexpr int HistoricVAN = 6;
constexpr int EventVANMax = 47;
const float NaN = std::nanf("");

std::unique_ptr<LParameter> Make(int index, std::vector<float> values,
                                 std::vector<double> times = {}) {
    auto p = std::make_unique<LParameter>();
    p->SetData(60, index, times.data(), values.data(), static_cast<int32_t>(values.size()), 0, 0);
    return p;
}

TEST(LParameterMinMaxTest, NaNBecomesTheMinimumUntilTheNextValue) {
    struct Case {
        std::vector<float> values;
        float min, max;
        bool minIsNaN;
    };
    const Case cases[] = {
        {{3, 1, 2}, 1, 3, false},
        {{1, NaN}, 0, 1, true},     // NaN does not compare >= 1
        {{1, NaN, 5}, 5, 5, false}, // 5 does not compare >= NaN either
        {{NaN, 2, 1}, 1, 2, false},
    };
    for (const Case& c : cases) {
        LParameter p;
        p.SetData(60, HistoricVAN, nullptr, c.values.data(), static_cast<int32_t>(c.values.size()),
                  0, 0);
        if (c.minIsNaN)
            EXPECT_TRUE(std::isnan(p.Minimum()));
        else
            EXPECT_EQ(p.Minimum(), c.min);
    }
    // Order matters for signed zeros: 0.0 compares >= -0.0, so the first one stays.
    LParameter p;
    std::vector<float> zeros = {-0.0f, 0.0f};
    p.SetData(60, HistoricVAN, nullptr, zeros.data(), 2, 0, 0);
    EXPECT_TRUE(std::signbit(p.Minimum()));
    EXPECT_TRUE(std::signbit(p.Maximum()));
    // The maximum is NaN only when the first value is.
    std::vector<float> v = {NaN, 2, 1};
    p.SetData(60, HistoricVAN, nullptr, v.data(), 3, 0, 0);
    EXPECT_TRUE(std::isnan(p.Maximum())); // nothing compares greater than the initial NaN
    v = {1, NaN, 2};
    p.SetData(60, HistoricVAN, nullptr, v.data(), 3, 0, 0);
    EXPECT_EQ(p.Maximum(), 2);
    EXPECT_EQ(p.Minimum(), 2);
}

// A gap between joined recordings must not hide what came before it.
TEST(LParameterMinMaxTest, LowestAndHighestLeaveNaNOut) {
    std::vector<float> joined(100, 230);
    joined[10] = 200;
    joined[11] = 250;
    std::fill(joined.begin() + 40, joined.begin() + 60, NaN);
    const struct {
        std::vector<float> values;
        float lowest, highest;
    } cases[] = {
        {{3, 1, 2}, 1, 3},
        {{1, NaN, 5}, 1, 5},
        {{NaN, 2, 1}, 1, 2},
        {joined, 200, 250},
        {std::vector<float>(40, 7), 7, 7},
        {{NaN, NaN}, NaN, NaN},
    };
    for (const auto& c : cases) {
        LParameter p;
        p.SetData(60, HistoricVAN, nullptr, c.values.data(), static_cast<int32_t>(c.values.size()),
                  0, 0);
        EXPECT_TRUE(p.Lowest() == c.lowest || (std::isnan(p.Lowest()) && std::isnan(c.lowest)))
            << c.values.size() << ": " << p.Lowest();
        EXPECT_TRUE(p.Highest() == c.highest || (std::isnan(p.Highest()) && std::isnan(c.highest)))
            << c.values.size() << ": " << p.Highest();
    }
}

TEST(LParameterDataTest, CodesComeFromTheCatalogueAndArraysAreCopied) {
    std::vector<float> values = {1, 2};
    std::vector<double> times = {100.5, 100.75};
    LParameter p;
    p.SetData(30, EventVANMax, times.data(), values.data(), 2, 1.5f, -1.5f);
    values[0] = 99;
    times[0] = 0;
    EXPECT_EQ(p.Values()[0], 1);
    EXPECT_EQ(p.Times()[0], 100.5);
    EXPECT_EQ(p.TableType(), ttEvent);
    EXPECT_EQ(p.Quantity(), 5);
    EXPECT_EQ(p.Channel(), 15);
    EXPECT_EQ(p.Name(), "RMS Voltage Max");
    EXPECT_EQ(p.ChannelLabel(), "VAN");
    EXPECT_EQ(p.HeaderB(), -1.5f);
    // Historic parameters never keep times, even when given some.
    p.SetData(30, HistoricVAN, times.data(), values.data(), 2, 0, 0);
    EXPECT_EQ(p.Times(), nullptr);
}

TEST(LParameterDataTest, GetPoint) {
    auto hp = Make(HistoricVAN, {1, 2, 3});
    LParameter& h = *hp;
    h.SetStartTime(45000.25);
    float v;
    TDateTime t;
    ASSERT_TRUE(h.GetPoint(0, v, t));
    EXPECT_EQ(t, 45000.25);
    EXPECT_FALSE(h.GetPoint(3, v, t));
    EXPECT_FALSE(h.GetPoint(-1, v, t));
    EXPECT_FALSE(h.GetValue(3, v));

    std::vector<float> many(100, 1.0f);
    LParameter minutes;
    minutes.SetData(60, HistoricVAN, nullptr, many.data(), 100, 0, 0);
    minutes.SetStartTime(45000.0);
    ASSERT_TRUE(minutes.GetPoint(90, v, t));
    EXPECT_NEAR((t - 45000.0) * 24 * 60, 90, 1e-6);

    // Event points keep their own time, whatever the rate says.
    auto ep = Make(EventVANMax, {7, 8}, {45001.0, 45000.1});
    LParameter& e = *ep;
    e.SetStartTime(45000.0);
    ASSERT_TRUE(e.GetPoint(1, v, t));
    EXPECT_EQ(t, 45000.1);
    EXPECT_EQ(v, 8);
}

TEST(LParameterDataTest, EmptyParameter) {
    auto p = Make(HistoricVAN, {});
    EXPECT_EQ(p->Count(), 0);
    float v;
    TDateTime t;
    EXPECT_FALSE(p->GetPoint(0, v, t));
}

TEST(LParameterCollectionTest, NewIdNeverRepeatsAndFindById) {
    LParameterCollection c;
    std::set<int32_t> ids;
    for (int i = 0; i < 2000; ++i) {
        auto p = std::make_unique<LParameter>();
        p->SetId(c.NewId());
        ASSERT_GE(p->Id(), 0);
        ASSERT_LE(p->Id(), 32766);
        ASSERT_TRUE(ids.insert(p->Id()).second);
        c.Add(std::move(p));
    }
    EXPECT_EQ(c.FindById(c.Items(1234)->Id()), c.Items(1234));
    EXPECT_EQ(c.FindById(32767), nullptr);
}

TEST(LiveInstancesTest, ParametersAndCollectionsAreCounted) {
    const int32_t parameters = LiveInstances::ParameterCount;
    const int32_t collections = LiveInstances::ParameterCollectionCount;
    {
        LParameterCollection c;
        c.Add(std::make_unique<LParameter>());
        c.Add(std::make_unique<LParameter>());
        EXPECT_EQ(LiveInstances::ParameterCount, parameters + 2);
        EXPECT_EQ(LiveInstances::ParameterCollectionCount, collections + 1);
    }
    EXPECT_EQ(LiveInstances::ParameterCount, parameters);
    EXPECT_EQ(LiveInstances::ParameterCollectionCount, collections);
}

} // namespace
