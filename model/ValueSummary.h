#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

// What a parameter's values hold, block by block, so that a long range is read as a few kept
// blocks and its two ends rather than value by value. Blocks are cut at fixed multiples of
// their size from the first value, so every range is cut at the same places, and what is kept
// of a whole block is what its scan gives, bit for bit. Two kinds:
// - levels of extremes, each block holding 16 blocks of the level below (16, 256, 4 096 …
//   values): the lowest and highest value that is a number (NaN is skipped as the raster's scan
//   skips it, infinities are kept; a block of NaN holds +inf, -inf);
// - for the blocks of the third level (4 096 values), also what the statistics and the cursor
//   readout add up.
// Made once per parameter, on first use (LParameter::Summary), and never stored.
class ValueSummary {
public:
    static constexpr int LevelBits = 4; // 16 blocks of a level make one of the next
    static constexpr int32_t BlockSize = 1 << (3 * LevelBits);
    // Within a block, four lanes keep their own sums, so that no add waits for the one before.
    static constexpr int Lanes = 4;

    // Of the finite values of a stretch within one block.
    struct Figures {
        int32_t Count = 0;
        double Sums[Lanes] = {}; // lane by lane, the lanes counted from the stretch's start
        float Lo = std::numeric_limits<float>::infinity();
        float Hi = -std::numeric_limits<float>::infinity();
        // Their mean and sum of squared deviations from it, from a second pass around the
        // stretch's own mean, so that a large offset costs no digits.
        double Mean = 0;
        double M2 = 0;
    };

    // The figures of v[begin, end), a stretch within one block.
    static Figures Scan(const float* v, int32_t begin, int32_t end);
    // The end of the block that i lies in, or end when that comes first.
    static int32_t BlockEnd(int32_t i, int32_t end);

    // Of values[0, count), which must outlive it unchanged.
    ValueSummary(const float* values, int32_t count);

    const float* Values() const { return values_; }
    int32_t Count() const { return count_; }

    // The figures of the values [begin, end), within one block: kept for a whole block, else
    // scanned.
    Figures Of(int32_t begin, int32_t end) const;

    // Level l holds the blocks of 16^(l + 1) values that lie wholly in the values, each as a
    // pair: lowest, highest.
    int Levels() const { return static_cast<int>(levels_.size()); }
    const float* Level(int l) const { return levels_[static_cast<size_t>(l)].data(); }

    size_t Bytes() const;

private:
    const float* values_;
    int32_t count_;
    std::vector<std::vector<float>> levels_;
    std::vector<Figures> whole_;
};
