// Tariff files come from anywhere: any bytes are read or refused with the program's message,
// and a tariff that was read prices a load without reaching outside its tables.
#include "analysis/CostStudy.h"
#include "analysis/TariffReader.h"
#include "model/ErrorReport.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace {

// Three days of a load that swings between export and import, a sample every five minutes, from
// a Saturday (a weekend and a weekday, two months).
const SampledSeries& Load() {
    static const std::vector<float> values = [] {
        std::vector<float> v(3 * 288);
        for (size_t k = 0; k < v.size(); ++k)
            v[k] = static_cast<float>(20000 * std::sin(static_cast<double>(k) / 40) + 5000);
        v[100] = NAN;
        return v;
    }();
    // 2024-03-30 00:00, a Saturday.
    static const SampledSeries series{
        "3Ø", values.data(), static_cast<int32_t>(values.size()), 45381, 0, 300};
    return series;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Tariff tariff;
    try {
        tariff = ReadTariff(std::string_view(reinterpret_cast<const char*>(data), size), "t.json");
    } catch (const VroError&) {
        return 0;
    }
    const BlockSeries blocks = ComputeBlocks(Load(), tariff.DemandWindowMinutes.value_or(15));
    const CostStudy cost = ComputeCost(tariff, Load(), &blocks, &blocks, 3, 1000);
    if (cost.PerDay.size() != 3 || cost.Months.size() != 2)
        __builtin_trap();
    return 0;
}
