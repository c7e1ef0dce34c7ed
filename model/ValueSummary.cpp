#include "model/ValueSummary.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

constexpr int32_t Fan = 1 << ValueSummary::LevelBits;

// The lanes of v[begin, end): lane j takes the values begin + j, begin + j + Lanes, …
template <class Add> void ByLanes(const float* v, int32_t begin, int32_t end, Add add) {
    constexpr int Lanes = ValueSummary::Lanes;
    int32_t i = begin;
    for (; end - i >= Lanes; i += Lanes)
        for (int j = 0; j < Lanes; ++j)
            add(j, v[i + j]);
    for (int j = 0; i < end; ++i, ++j)
        add(j, v[i]);
}

} // namespace

ValueSummary::Figures ValueSummary::Scan(const float* v, int32_t begin, int32_t end) {
    Figures f;
    int32_t n[Lanes] = {};
    float lo[Lanes], hi[Lanes];
    std::fill_n(lo, Lanes, f.Lo);
    std::fill_n(hi, Lanes, f.Hi);
    ByLanes(v, begin, end, [&](int j, float value) {
        const bool finite = std::isfinite(value);
        f.Sums[j] += finite ? value : 0.0f;
        n[j] += finite;
        lo[j] = finite && value < lo[j] ? value : lo[j];
        hi[j] = finite && value > hi[j] ? value : hi[j];
    });
    for (int j = 0; j < Lanes; ++j) {
        f.Count += n[j];
        f.Lo = std::min(f.Lo, lo[j]);
        f.Hi = std::max(f.Hi, hi[j]);
    }
    if (f.Count == 0)
        return f;
    const double shift = (f.Sums[0] + f.Sums[1] + f.Sums[2] + f.Sums[3]) / f.Count;
    double s[Lanes] = {}, q[Lanes] = {};
    ByLanes(v, begin, end, [&](int j, float value) {
        const double d = std::isfinite(value) ? static_cast<double>(value) - shift : 0.0;
        s[j] += d;
        q[j] += d * d;
    });
    const double deviations = s[0] + s[1] + s[2] + s[3];
    const double squares = q[0] + q[1] + q[2] + q[3];
    f.Mean = shift + deviations / f.Count;
    f.M2 = std::max(0.0, squares - deviations * deviations / f.Count);
    return f;
}

int32_t ValueSummary::BlockEnd(int32_t i, int32_t end) {
    const int64_t next = (static_cast<int64_t>(i) / BlockSize + 1) * BlockSize;
    return static_cast<int32_t>(std::min<int64_t>(next, end));
}

ValueSummary::ValueSummary(const float* values, int32_t count)
    : values_(values), count_(std::max(count, 0)) {
    whole_.resize(static_cast<size_t>(count_ / BlockSize));
    std::vector<float>& first = levels_.emplace_back(static_cast<size_t>(count_ / Fan) * 2);
    // Block by block, each one read while it is in the cache.
    for (int32_t b = 0; b < count_; b += BlockSize) {
        const int32_t e = std::min(b + BlockSize, count_);
        for (int32_t k = b; k + Fan <= e; k += Fan) {
            float lo = std::numeric_limits<float>::infinity(), hi = -lo;
            for (int32_t i = k; i < k + Fan; ++i) {
                lo = values[i] < lo ? values[i] : lo;
                hi = values[i] > hi ? values[i] : hi;
            }
            first[static_cast<size_t>(k / Fan) * 2] = lo;
            first[static_cast<size_t>(k / Fan) * 2 + 1] = hi;
        }
        if (e - b == BlockSize)
            whole_[static_cast<size_t>(b / BlockSize)] = Scan(values, b, e);
    }
    while (levels_.back().size() >= 2 * Fan) {
        const std::vector<float>& below = levels_.back();
        std::vector<float> level(below.size() / (2 * Fan) * 2);
        for (size_t k = 0; k < level.size(); k += 2) {
            const float* pairs = below.data() + k * Fan;
            float lo = pairs[0], hi = pairs[1];
            for (int i = 1; i < Fan; ++i) {
                lo = std::min(lo, pairs[2 * i]);
                hi = std::max(hi, pairs[2 * i + 1]);
            }
            level[k] = lo;
            level[k + 1] = hi;
        }
        levels_.push_back(std::move(level));
    }
}

ValueSummary::Figures ValueSummary::Of(int32_t begin, int32_t end) const {
    if (end - begin == BlockSize && begin % BlockSize == 0 &&
        static_cast<size_t>(begin / BlockSize) < whole_.size())
        return whole_[static_cast<size_t>(begin / BlockSize)];
    return Scan(values_, begin, end);
}

size_t ValueSummary::Bytes() const {
    size_t bytes = sizeof *this + whole_.capacity() * sizeof(Figures) +
                   levels_.capacity() * sizeof(std::vector<float>);
    for (const std::vector<float>& level : levels_)
        bytes += level.capacity() * sizeof(float);
    return bytes;
}
