#include "analysis/ValueBlocks.h"

#include <algorithm>
#include <cmath>

namespace {

template <bool Moments>
ValueBlocks::Figures ScanPart(const float* v, int32_t begin, int32_t end, double shift,
                              double* deviations, double* squares) {
    constexpr int Lanes = ValueBlocks::Lanes;
    ValueBlocks::Figures f;
    double s[Lanes] = {}, q[Lanes] = {};
    int32_t n[Lanes] = {};
    float lo[Lanes], hi[Lanes];
    std::fill_n(lo, Lanes, f.Lo);
    std::fill_n(hi, Lanes, f.Hi);
    auto add = [&](int j, float value) {
        const bool finite = std::isfinite(value);
        f.Sums[j] += finite ? value : 0.0f;
        n[j] += finite;
        lo[j] = finite && value < lo[j] ? value : lo[j];
        hi[j] = finite && value > hi[j] ? value : hi[j];
        if constexpr (Moments) {
            const double d = finite ? static_cast<double>(value) - shift : 0.0;
            s[j] += d;
            q[j] += d * d;
        }
    };
    int32_t i = begin;
    for (; end - i >= Lanes; i += Lanes)
        for (int j = 0; j < Lanes; ++j)
            add(j, v[i + j]);
    for (int j = 0; i < end; ++i, ++j)
        add(j, v[i]);
    for (int j = 0; j < Lanes; ++j) {
        f.Count += n[j];
        f.Lo = std::min(f.Lo, lo[j]);
        f.Hi = std::max(f.Hi, hi[j]);
        if constexpr (Moments) {
            *deviations += s[j];
            *squares += q[j];
        }
    }
    return f;
}

} // namespace

ValueBlocks::Figures ValueBlocks::Scan(const float* v, int32_t begin, int32_t end) {
    return ScanPart<false>(v, begin, end, 0.0, nullptr, nullptr);
}

ValueBlocks::Figures ValueBlocks::Scan(const float* v, int32_t begin, int32_t end, double shift,
                                       double& deviations, double& squares) {
    deviations = squares = 0.0;
    return ScanPart<true>(v, begin, end, shift, &deviations, &squares);
}

int32_t ValueBlocks::BlockEnd(int32_t i, int32_t end) {
    const int64_t next = (static_cast<int64_t>(i) / BlockSize + 1) * BlockSize;
    return static_cast<int32_t>(std::min<int64_t>(next, end));
}

ValueBlocks::ValueBlocks(const float* values, int32_t count) : values_(values), count_(count) {
    whole_.resize(static_cast<size_t>(std::max(count, 0) / BlockSize));
    for (size_t k = 0; k < whole_.size(); ++k) {
        const int32_t b = static_cast<int32_t>(k) * BlockSize;
        whole_[k] = Scan(values, b, b + BlockSize);
    }
}

ValueBlocks::Figures ValueBlocks::Of(int32_t begin, int32_t end) const {
    if (end - begin == BlockSize && begin % BlockSize == 0 &&
        static_cast<size_t>(begin / BlockSize) < whole_.size())
        return whole_[static_cast<size_t>(begin / BlockSize)];
    return Scan(values_, begin, end);
}
