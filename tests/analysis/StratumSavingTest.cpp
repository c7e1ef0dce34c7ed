#include "analysis/StratumSaving.h"

#include <boost/math/distributions/students_t.hpp>
#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(StratumSavingTest, WelchIntervalByHand) {
    struct Case {
        const char* what;
        std::vector<double> before, after;
        double d, se, df;
    } cases[] = {
        // Variances 2 and 0.5, n 5 and 5: SE² = 0.4 + 0.1, df = 0.5² / ((0.4² + 0.1²) / 4).
        {"unequal scatter", {8, 10, 12, 10, 10}, {5, 6, 7, 6, 6}, 4, std::sqrt(0.5), 0.25 / 0.0425},
        // Variances 1 and 8/3, n 3 and 4: SE² = 1/3 + 2/3, df = 1 / ((1/3)² / 2 + (2/3)² / 3).
        {"unequal days", {1, 2, 3}, {0, 2, 4, 2}, 0, 1, 54 / 11.0},
        // No scatter: the interval is d itself, with n_b + n_a − 2 degrees.
        {"no scatter", {7, 7}, {5, 5, 5}, 2, 0, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto s = ComputeStratumSaving(c.before, c.after);
        ASSERT_TRUE(s);
        EXPECT_DOUBLE_EQ(s->DWh, c.d);
        EXPECT_NEAR(s->SeWh, c.se, 1e-12);
        EXPECT_NEAR(s->Df, c.df, 1e-9);
        const double t =
            boost::math::quantile(boost::math::students_t_distribution<double>(c.df), 0.975);
        EXPECT_NEAR(s->HighWh, c.d + t * c.se, 1e-9);
        EXPECT_NEAR(s->LowWh, c.d - t * c.se, 1e-9);
        EXPECT_EQ(s->NBefore, static_cast<int32_t>(c.before.size()));
        EXPECT_EQ(s->NAfter, static_cast<int32_t>(c.after.size()));
    }
}

TEST(StratumSavingTest, TheTQuantileIsBoosts) {
    // The table's values at whole degrees, and Boost's own between them.
    EXPECT_NEAR(TwoSided95(1), 12.7062047, 1e-6);
    EXPECT_NEAR(TwoSided95(6), 2.4469119, 1e-6);
    EXPECT_NEAR(TwoSided95(30), 2.0422725, 1e-6);
    EXPECT_EQ(TwoSided95(13.25),
              boost::math::quantile(boost::math::students_t_distribution<double>(13.25), 0.975));
}

TEST(StratumSavingTest, TwoDaysOnEachSideAreNeeded) {
    EXPECT_FALSE(ComputeStratumSaving({1}, {1, 2}));
    EXPECT_FALSE(ComputeStratumSaving({1, 2}, {}));
    EXPECT_TRUE(ComputeStratumSaving({1, 2}, {1, 2}));
}

} // namespace
