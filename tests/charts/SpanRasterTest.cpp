#include "charts/SpanRaster.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

namespace {

constexpr uint32_t Red = 0xffff0000u;

struct Series {
    std::vector<double> x;
    std::vector<float> y;
};

Series Noisy(int n, uint32_t seed = 5) {
    Series s;
    std::mt19937 random(seed);
    std::normal_distribution<float> noise(0.f, 0.02f);
    for (int i = 0; i < n; ++i) {
        s.x.push_back(100.0 + i * 0.001);
        s.y.push_back(0.5f + 0.3f * static_cast<float>(std::sin(i / 300.0)) + noise(random));
    }
    return s;
}

// A row-major image drawn through column bands, as the renderer draws.
struct Image {
    int w, h;
    std::vector<uint32_t> px;
    Image(int width, int height)
        : w(width), h(height), px(static_cast<size_t>(width) * static_cast<size_t>(height)) {}
    uint32_t At(int col, int row) const { return px[static_cast<size_t>(row * w + col)]; }
    void Draw(const SeriesEnvelope& e, double x0, double x1, const SpanStyle& style, int from,
              int to, int tile = DefaultTileColumns) {
        const SeriesJob job{&e, x0, x1, {static_cast<double>(h), -static_cast<double>(h)}, style};
        std::vector<uint32_t> scratch(static_cast<size_t>(tile * h));
        RenderSeries({&job, 1}, {px.data(), w, h, w}, scratch.data(), from, to, tile);
    }
};

// Every segment of the data, column by column, without any envelope.
std::vector<std::pair<int, int>> ReferenceRuns(const Series& s, double x0, double x1, int w,
                                               int h) {
    std::vector<double> lo(static_cast<size_t>(w), 1e18), hi(static_cast<size_t>(w), -1e18);
    const double k = w / (x1 - x0);
    for (size_t i = 0; i + 1 < s.x.size(); ++i) {
        if (std::isnan(s.y[i]) || std::isnan(s.y[i + 1]))
            continue;
        const double px = (s.x[i] - x0) * k, qx = (s.x[i + 1] - x0) * k;
        const double py = h - h * static_cast<double>(s.y[i]);
        const double qy = h - h * static_cast<double>(s.y[i + 1]);
        for (int c = static_cast<int>(std::floor(std::max(px, 0.0)));
             c <= static_cast<int>(std::floor(std::min(qx, w - 1e-9))); ++c) {
            const double xa = std::max(px, static_cast<double>(c)), xb = std::min(qx, c + 1.0);
            const double a = py + (xa - px) * (qy - py) / (qx - px);
            const double b = py + (xb - px) * (qy - py) / (qx - px);
            lo[static_cast<size_t>(c)] = std::min({lo[static_cast<size_t>(c)], a, b});
            hi[static_cast<size_t>(c)] = std::max({hi[static_cast<size_t>(c)], a, b});
        }
    }
    std::vector<std::pair<int, int>> runs;
    for (size_t c = 0; c < lo.size(); ++c)
        runs.emplace_back(
            lo[c] > 1e17 ? -1 : std::clamp(static_cast<int>(std::floor(lo[c])), 0, h),
            hi[c] < -1e17 ? -2 : std::clamp(static_cast<int>(std::floor(hi[c])), -1, h - 1));
    return runs;
}

std::vector<std::pair<int, int>> PaintedRuns(const Image& img) {
    std::vector<std::pair<int, int>> runs;
    for (int c = 0; c < img.w; ++c) {
        int first = -1, last = -2;
        for (int r = 0; r < img.h; ++r)
            if (img.At(c, r)) {
                first = first < 0 ? r : first;
                last = r;
            }
        runs.emplace_back(first, last);
    }
    return runs;
}

// The runs drawn from the envelope are those of drawing every segment, at every zoom and
// whatever the split between threads and tiles.
TEST(SpanRasterTest, PaintsWhatEverySegmentPaintsHoweverTheColumnsAreSplit) {
    struct Case {
        const char* name;
        int samples;
        double from, to;
        int width, height, split, tile, gapAt, pen;
    };
    const Case cases[] = {
        {"full view", 50000, 0.0, 1.0, 1880, 400, 940, 64, -1, 1},
        {"odd width, height, split and tile", 50000, 0.0, 1.0, 641, 399, 333, 7, -1, 1},
        {"a few samples", 50000, 0.5, 0.50005, 900, 401, 450, 64, -1, 1},
        {"off the right end", 1000, 0.9, 1.3, 500, 400, 250, 64, -1, 1},
        {"gap on the split column", 5000, 0.0, 1.0, 1000, 400, 500, 64, 2499, 1},
        {"wide pen across tiles", 5000, 0.0, 1.0, 700, 402, 350, 5, -1, 3},
        {"columns of thousands of samples, a gap", 200000, 0.0, 1.0, 97, 300, 50, 16, 99990, 1},
    };
    for (const Case& c : cases) {
        Series s = Noisy(c.samples);
        if (c.gapAt >= 0)
            for (int i = c.gapAt; i < c.gapAt + 40; ++i)
                s.y[static_cast<size_t>(i)] = std::numeric_limits<float>::quiet_NaN();
        const SeriesEnvelope e(s.x, s.y);
        const double span = s.x.back() - s.x.front();
        const double x0 = s.x.front() + c.from * span, x1 = s.x.front() + c.to * span;
        Image whole(c.width, c.height), halves(c.width, c.height);
        SpanStyle style;
        style.Color = Red;
        style.Width = c.pen;
        whole.Draw(e, x0, x1, style, 0, c.width, c.width);
        halves.Draw(e, x0, x1, style, 0, c.split, c.tile);
        halves.Draw(e, x0, x1, style, c.split, c.width, c.tile);
        EXPECT_EQ(whole.px, halves.px) << c.name;
        if (c.pen == 1) {
            EXPECT_EQ(PaintedRuns(whole), ReferenceRuns(s, x0, x1, c.width, c.height)) << c.name;
        }
    }
}

TEST(SpanRasterTest, ASingleSampleSpikeIsPaintedAtEveryWidth) {
    for (int width : {200, 1880, 7016}) {
        Series s = Noisy(50000);
        s.y[31337] = 0.98f;
        Image img(width, 300);
        SpanStyle style;
        style.Color = Red;
        style.Antialias = width == 1880;
        img.Draw(SeriesEnvelope(s.x, s.y), s.x.front(), s.x.back(), style, 0, width);
        const int col =
            static_cast<int>((s.x[31337] - s.x.front()) / (s.x.back() - s.x.front()) * width);
        EXPECT_NE(img.At(std::min(col, width - 1), 8), 0u) << width;
    }
}

TEST(SpanRasterTest, LaterSeriesPaintOverEarlierOnes) {
    const std::vector<double> x{0.0, 1.0};
    // On the bottom row, which is not in a whole block of four.
    const std::vector<float> y{0.05f, 0.05f};
    const SeriesEnvelope e(x, y);
    std::vector<uint32_t> px(100 * 10);
    SpanStyle red, blue;
    red.Color = Red;
    blue.Color = 0xff0000ffu;
    const SeriesJob jobs[] = {{&e, 0.0, 1.0, {10.0, -10.0}, red},
                              {&e, 0.0, 1.0, {10.0, -10.0}, blue}};
    std::vector<uint32_t> scratch(16 * 10);
    RenderSeries(jobs, {px.data(), 100, 10, 100}, scratch.data(), 0, 100, 16);
    for (int c = 0; c < 100; ++c)
        EXPECT_EQ(px[static_cast<size_t>(9 * 100 + c)], 0xff0000ffu) << c;
}

// Premultiplied source-over, rounded to nearest; the renderer rounds down, so channels may
// differ by 2.
uint32_t Over(uint32_t dst, uint32_t src) {
    const uint32_t keep = 255 - (src >> 24);
    uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const uint32_t d = (dst >> shift) & 0xff, s = (src >> shift) & 0xff;
        out |= std::min<uint32_t>(255, s + (d * keep + 127) / 255) << shift;
    }
    return out;
}

bool Near(uint32_t a, uint32_t b) {
    for (int shift = 0; shift < 32; shift += 8)
        if (std::abs(int((a >> shift) & 0xff) - int((b >> shift) & 0xff)) > 2)
            return false;
    return true;
}

// Series drawn together give what each gives alone, laid over the ones before: whatever a
// later series hides is hidden exactly, and nothing shows through a translucent one wrongly.
TEST(SpanRasterTest, SeriesDrawnTogetherAreEachDrawnAloneLaidOverTheOnesBefore) {
    const std::vector<uint32_t> alphas[] = {{255, 255, 255}, {255, 128, 255}, {128, 255, 60}};
    const int w = 300, h = 200;
    std::vector<Series> lines;
    for (uint32_t seed : {1u, 2u, 3u}) {
        lines.push_back(Noisy(20000, seed));
        for (float& v : lines.back().y)
            v += 0.05f * static_cast<float>(seed);
    }
    // One times array, as a recording's parameters share theirs; the first line has a gap.
    for (size_t i = 5000; i < 5100; ++i)
        lines[0].y[i] = std::numeric_limits<float>::quiet_NaN();
    std::vector<SeriesEnvelope> envelopes;
    for (const Series& s : lines)
        envelopes.emplace_back(lines[0].x, s.y);
    const double x0 = lines[0].x.front(), x1 = lines[0].x.back();
    for (const auto& alpha : alphas)
        for (bool antialias : {false, true}) {
            std::vector<SeriesJob> jobs;
            std::vector<uint32_t> composite(static_cast<size_t>(w * h), 0);
            for (size_t i = 0; i < 3; ++i) {
                SpanStyle style;
                const uint32_t a = alpha[i], rgb = (0x30u + 0x60u * i) * a / 255;
                style.Color = a << 24 | rgb << 16 | (a - rgb) << 8 | (a / 2);
                style.Antialias = antialias;
                Image alone(w, h);
                alone.Draw(envelopes[i], x0, x1, style, 0, w, 32);
                for (size_t p = 0; p < composite.size(); ++p)
                    composite[p] = Over(composite[p], alone.px[p]);
                jobs.push_back({&envelopes[i], x0, x1, {double(h), -double(h)}, style});
            }
            Image together(w, h);
            std::vector<uint32_t> scratch(static_cast<size_t>(32 * h));
            RenderSeries(jobs, {together.px.data(), w, h, w}, scratch.data(), 0, w, 32);
            int wrong = 0;
            for (size_t p = 0; p < composite.size(); ++p)
                wrong += !Near(together.px[p], composite[p]);
            EXPECT_EQ(wrong, 0) << "alpha " << alpha[1] << " antialias " << antialias;
        }
}

} // namespace
