#pragma once

#include <cstdint>
#include <limits>
#include <vector>

// A parameter's values cut into blocks at every multiple of BlockSize, and what each block
// holds of its finite values. Every range is cut at the same places, so a whole block's
// figures are the same whether a range's scan makes them or they were kept from before, and a
// range's extremes and mean taken from kept figures are those its scan gives, bit for bit: a
// long range costs its two part blocks and a step per whole block.
class ValueBlocks {
public:
    static constexpr int32_t BlockSize = 1024;
    // Within a block, four lanes keep their own sums, so that no add waits for the one before.
    static constexpr int Lanes = 4;

    struct Figures {
        int32_t Count = 0;       // finite values
        double Sums[Lanes] = {}; // their sums, lane by lane, the lanes counted from the start
        float Lo = std::numeric_limits<float>::infinity();
        float Hi = -std::numeric_limits<float>::infinity();
    };

    // The figures of v[begin, end), a stretch within one block.
    static Figures Scan(const float* v, int32_t begin, int32_t end);
    // The same, and the sums of the finite values' deviations from shift and of their squares.
    static Figures Scan(const float* v, int32_t begin, int32_t end, double shift,
                        double& deviations, double& squares);
    // The end of the block that i lies in, or end when that comes first.
    static int32_t BlockEnd(int32_t i, int32_t end);

    // The figures of every whole block of values[0, count): one pass.
    ValueBlocks(const float* values, int32_t count);

    // Made from these values.
    bool MadeOf(const float* values, int32_t count) const {
        return values == values_ && count == count_;
    }
    // The figures of the values [begin, end), within one block: kept for a whole block, else
    // scanned.
    Figures Of(int32_t begin, int32_t end) const;

private:
    const float* values_;
    int32_t count_;
    std::vector<Figures> whole_;
};
