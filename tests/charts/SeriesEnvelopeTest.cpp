#include "charts/SeriesEnvelope.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <span>
#include <utility>
#include <vector>

namespace {

struct Data {
    std::vector<double> x;
    std::vector<float> y;
};

Data Noisy(int n, uint32_t seed = 7) {
    Data d;
    std::mt19937 random(seed);
    std::normal_distribution<float> noise(0.f, 0.01f);
    for (int i = 0; i < n; ++i) {
        d.x.push_back(46000.0 + i * 15.0 / 86400.0);
        d.y.push_back(0.5f + 0.2f * static_cast<float>(std::sin(i / 500.0)) + noise(random));
    }
    return d;
}

bool Kept(const ReducedSeries& r, size_t i) {
    return std::find(r.SourceIndex.begin(), r.SourceIndex.end(), static_cast<uint32_t>(i)) !=
           r.SourceIndex.end();
}

// A spike of one sample survives every zoom and width, on column borders and at the edges.
TEST(SeriesEnvelopeTest, ASingleSampleSpikeIsNeverDropped) {
    struct Case {
        int spikeAt;
        float spike;
        double from, to; // of the data's span
        int columns;
    };
    const Case cases[] = {
        {25000, 1.0f, 0.0, 1.0, 1},       {25000, 0.0f, 0.0, 1.0, 1800},
        {12345, 1.0f, 0.0, 1.0, 1919},    {12345, 1.0f, 0.0, 1.0, 7016},
        {49999, 1.0f, 0.0, 1.0, 1800},    {0, 0.0f, 0.0, 1.0, 1800},
        {25000, 1.0f, 0.5, 0.5001, 1800}, {25000, 1.0f, 0.0, 1.0, 100000},
        {30000, 1.0f, 0.0, 0.6, 333},
    };
    for (const Case& c : cases) {
        Data d = Noisy(50000);
        d.y[static_cast<size_t>(c.spikeAt)] = c.spike;
        const double span = d.x.back() - d.x.front();
        const double lo = d.x.front() + c.from * span, hi = d.x.front() + c.to * span;
        ReducedSeries r;
        SeriesEnvelope(d.x, d.y).Reduce(lo, hi, c.columns, r);
        EXPECT_TRUE(Kept(r, static_cast<size_t>(c.spikeAt)))
            << "spike " << c.spikeAt << ", " << c.columns << " columns";
    }
}

// Per column the kept points reach exactly the extremes of the data; every kept point is a
// real sample, in order, and the line runs to both borders.
TEST(SeriesEnvelopeTest, KeepsEveryColumnsExtremesAndRunsToTheBorders) {
    const Data d = Noisy(20000, 3);
    for (int columns : {1, 10, 1920, 40000}) {
        const double lo = d.x[1000], hi = d.x[18000];
        ReducedSeries r;
        SeriesEnvelope(d.x, d.y).Reduce(lo, hi, columns, r);
        ASSERT_LE(r.Size(), SeriesEnvelope::MaxPoints(columns)) << columns;
        const double perUnit = columns / (hi - lo);
        std::vector<float> wantMin(static_cast<size_t>(columns), 9.f),
            wantMax(wantMin.size(), -9.f);
        std::vector<float> gotMin = wantMin, gotMax = wantMax;
        for (size_t i = 1000; i <= 18000; ++i) {
            const auto c =
                static_cast<size_t>(SeriesEnvelope::ColumnOf(d.x[i], lo, perUnit, columns));
            wantMin[c] = std::min(wantMin[c], d.y[i]);
            wantMax[c] = std::max(wantMax[c], d.y[i]);
        }
        for (size_t k = 0; k < r.Size(); ++k) {
            const uint32_t i = r.SourceIndex[k];
            ASSERT_EQ(r.X[k], d.x[i]);
            ASSERT_EQ(r.Y[k], static_cast<double>(d.y[i]));
            if (k > 0) {
                ASSERT_GT(i, r.SourceIndex[k - 1]);
            }
            if (r.X[k] < lo || r.X[k] > hi)
                continue;
            const auto c =
                static_cast<size_t>(SeriesEnvelope::ColumnOf(r.X[k], lo, perUnit, columns));
            gotMin[c] = std::min(gotMin[c], static_cast<float>(r.Y[k]));
            gotMax[c] = std::max(gotMax[c], static_cast<float>(r.Y[k]));
        }
        EXPECT_EQ(gotMin, wantMin) << columns;
        EXPECT_EQ(gotMax, wantMax) << columns;
        EXPECT_EQ(r.SourceIndex.front(), 999u);
        EXPECT_EQ(r.SourceIndex.back(), 18001u);
    }
}

// The extremes of any length, with a spike or a dip at every place in turn.
TEST(SeriesEnvelopeTest, MinMaxFindsTheExtremesWhereverTheyLie) {
    for (size_t n = 1; n <= 40; ++n)
        for (size_t at = 0; at < n; ++at)
            for (const float odd : {5.0f, -3.0f}) {
                std::vector<float> v(n, 1.0f);
                v[at] = odd;
                float lo, hi;
                SeriesEnvelope::MinMax(v.data(), n, lo, hi);
                EXPECT_EQ(hi, n == 1 ? odd : std::max(1.0f, odd)) << n << " " << at;
                EXPECT_EQ(lo, n == 1 ? odd : std::min(1.0f, odd)) << n << " " << at;
            }
}

// A column's extremes from the summary's blocks and the values at its ends are those of a
// scan, wherever the stretch lies in the blocks: a spike inside it is found, a dip just outside
// it is not.
TEST(SeriesEnvelopeTest, ExtremesFromTheSummaryAreThoseOfAScan) {
    // The envelope's values start inside the summary's, off the borders of its blocks.
    constexpr size_t offset = 1000, n = 69000;
    struct Case {
        const char* name;
        size_t begin, end;
        bool gaps;
    };
    const Case cases[] = {
        {"too short for blocks", 5, 40, false},
        {"a few blocks of 16", 7, 100, false},
        {"on the borders of blocks of 16", 8, 264, false},
        {"blocks of 256", 3, 5000, false},
        {"one block of 4096", 3096, 7192, false},
        {"up to a block of 65536", 1, 68000, false},
        {"to the last value", 60000, n, false},
        {"across a gap", 3, 5000, true},
        {"within a gap", 2100, 2500, true},
    };
    std::mt19937 random(3);
    std::uniform_real_distribution<float> any(0.0f, 1.0f);
    std::vector<float> base(offset + n);
    for (float& v : base)
        v = any(random);
    const std::vector<double> x(n); // only the values are read
    for (const Case& c : cases)
        for (const size_t at : {c.begin, (c.begin + c.end) / 2, c.end - 1}) {
            std::vector<float> v = base;
            if (c.gaps)
                std::fill_n(v.begin() + offset + 2000, 600, std::nanf(""));
            v[offset + at] = 100.0f;
            v[offset + c.begin - 1] = -100.0f;
            if (c.end < n)
                v[offset + c.end] = -100.0f;
            const ValueSummary summary(v.data(), static_cast<int32_t>(v.size()));
            const SeriesEnvelope e(x, {v.data() + offset, n}, &summary, offset);
            float lo, hi, low = INFINITY;
            for (size_t i = c.begin; i < c.end; ++i)
                low = std::isnan(v[offset + i]) ? low : std::min(low, v[offset + i]);
            if (c.gaps)
                e.Extremes<true>(c.begin, c.end, lo, hi);
            else
                e.Extremes<false>(c.begin, c.end, lo, hi);
            EXPECT_EQ(lo, low) << c.name << " " << at;
            EXPECT_EQ(hi, 100.0f) << c.name << " " << at;
        }
    std::vector<float> gap(100, std::nanf(""));
    float lo, hi;
    SeriesEnvelope(std::vector<double>(100), gap).Extremes<true>(0, 100, lo, hi);
    EXPECT_GT(lo, hi);
}

TEST(SeriesEnvelopeTest, AGapBreaksTheLineOnce) {
    Data d = Noisy(1000);
    for (size_t i = 400; i < 420; ++i)
        d.y[i] = std::nanf("");
    ReducedSeries r;
    SeriesEnvelope(d.x, d.y).Reduce(d.x.front(), d.x.back(), 100, r);
    EXPECT_EQ(std::count_if(r.Y.begin(), r.Y.end(), [](double v) { return std::isnan(v); }), 1);
}

// Points as marks: every column's points where it holds one or two, else the first of its
// lowest and of its highest among those the window shows, as a scan of the column finds them (from
// the summary's blocks, on the summary's own offset too); the nearest point beyond each edge.
TEST(SeriesEnvelopeTest, PointsKeepSparseColumnsWholeAndCrowdedOnesExtremes) {
    // Irregular times, dense and sparse; ties and NaN among the values; a spike.
    std::mt19937 random(11);
    std::uniform_real_distribution<double> step(0.0, 1.0);
    std::vector<double> x;
    double t = 46000;
    for (int i = 0; i < 60000; ++i)
        x.push_back(t += (i / 10000 % 2 ? 40.0 : 0.5) * step(random) / 86400.0);
    const size_t offset = 300;
    std::vector<float> v(offset + x.size());
    for (float& y : v)
        y = std::round(static_cast<float>(step(random)) * 50.0f) / 10.0f;
    for (size_t i = 20000; i < 20100; ++i)
        v[offset + i] = std::nanf("");
    v[offset + 33333] = 80.0f;
    const ValueSummary summary(v.data(), static_cast<int32_t>(v.size()));
    const std::span<const float> y(v.data() + offset, x.size());
    const SeriesEnvelope e(x, y, &summary, offset);
    struct Case {
        double from, to; // of the span
        int columns;
        double lower, upper; // the window, on values / 10
    };
    const Case cases[] = {{0.0, 1.0, 1900, -1, 9},    {0.0, 1.0, 7, -1, 9},
                          {0.2, 0.9, 1900, 0.1, 0.3}, {0.3, 0.31, 1900, -1, 9},
                          {0.1, 0.6, 50000, -1, 9},   {0.5, 0.5, 10, -1, 9}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.columns + c.from);
        const double span = x.back() - x.front();
        const double lo = x.front() + c.from * span, hi = x.front() + c.to * span;
        ValueWindow window;
        window.Range = 10;
        window.Lower = c.lower;
        window.Upper = c.upper;
        ReducedPoints got;
        e.ReducePoints(lo, hi, c.columns, window, got);
        // What a scan of each column keeps.
        std::vector<std::pair<uint32_t, bool>> want;
        const auto first =
            static_cast<size_t>(std::lower_bound(x.begin(), x.end(), lo) - x.begin());
        const auto end = static_cast<size_t>(std::upper_bound(x.begin(), x.end(), hi) - x.begin());
        if (first > 0)
            want.emplace_back(first - 1, true);
        const double perUnit = hi > lo ? c.columns / (hi - lo) : 0.0;
        for (size_t i = first; i < end;) {
            const int column = SeriesEnvelope::ColumnOf(x[i], lo, perUnit, c.columns);
            size_t j = i;
            while (j < end && SeriesEnvelope::ColumnOf(x[j], lo, perUnit, c.columns) == column)
                ++j;
            if (j - i <= 2) {
                for (size_t k = i; k < j; ++k)
                    want.emplace_back(k, true);
            } else {
                size_t low = j, high = j;
                for (size_t k = i; k < j; ++k) {
                    if (!window.Shows(y[k]))
                        continue;
                    low = low == j || y[k] < y[low] ? k : low;
                    high = high == j || y[k] > y[high] ? k : high;
                }
                if (low < j)
                    want.emplace_back(std::min(low, high), false);
                if (low < j && high != low)
                    want.emplace_back(std::max(low, high), false);
            }
            i = j;
        }
        if (end < x.size())
            want.emplace_back(end, true);
        ASSERT_EQ(got.Size(), want.size());
        for (size_t k = 0; k < want.size(); ++k)
            ASSERT_EQ(std::pair(got.Index[k], got.Whole[k] != 0), want[k]) << k;
    }
}

} // namespace
