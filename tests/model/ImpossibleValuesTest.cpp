#include "model/ImpossibleValues.h"
#include "model/LParameterCollection.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace {

const float NaN = std::nanf("");
const float Inf = std::numeric_limits<float>::infinity();

// The first catalogue entry of the kind.
int Entry(LTableType type, uint8_t quantity, uint8_t unit) {
    for (int i = 0; i < ParameterTableSize; ++i)
        if (ParameterTableType(i) == type && ParameterQuantity(i) == quantity &&
            ParameterUnit(i) == unit)
            return i;
    return -1;
}

TEST(ImpossibleValuesTest, CountedPerParameterAndSaidInALine) {
    const int pf = Entry(ttHistoric, 4, 5), rms = Entry(ttHistoric, 0, 0),
              power = Entry(ttHistoric, 1, 2), maximum = Entry(ttEvent, 5, 0),
              peak = Entry(ttEvent, 7, 0);
    const struct {
        int index;
        std::vector<float> values;
        std::string line; // empty: nothing found
    } cases[] = {
        // NaN in a Historic series is a sample not taken; infinity never is a value.
        {pf,
         {0.5f, 1.2f, -1.5f, NaN, Inf},
         ": 2 values outside −1 to 1, 1 value that is NaN or infinite"},
        {pf, {1, -1, 0, NaN}, ""},
        {rms, {230, -0.5f, 231}, ": 1 negative value"},
        {rms, std::vector<float>(1234, -1), ": 1,234 negative values"},
        {power, {-5000, 100}, ""},
        {maximum, {NaN}, ": 1 value that is NaN or infinite"},
        {peak, {-300}, ""},
    };
    for (const auto& c : cases) {
        LParameterCollection parameters;
        auto p = std::make_unique<LParameter>();
        const std::vector<double> times(c.values.size(), 46000.5);
        p->SetData(60, c.index, times.data(), c.values.data(),
                   static_cast<int32_t>(c.values.size()), 0, 0);
        const std::string label = p->Name() + " - " + p->ChannelLabel();
        parameters.Add(std::move(p));
        const std::vector<std::string> lines =
            ImpossibleValueLines(FindImpossibleValues(parameters));
        EXPECT_EQ(lines, c.line.empty() ? std::vector<std::string>{}
                                        : std::vector<std::string>{label + c.line})
            << label;
    }
}

} // namespace
