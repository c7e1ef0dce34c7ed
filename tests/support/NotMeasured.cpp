#include "tests/support/NotMeasured.h"

#include "model/LParameter.h"
#include "model/LParameterCollection.h"

#include <algorithm>
#include <cmath>
#include <limits>

void SetNotMeasured(LParameterCollection& parameters, TDateTime from, TDateTime to) {
    const auto second = [](TDateTime t) { return std::llround(t * SecsPerDay); };
    for (const auto& p : parameters) {
        const auto n = static_cast<size_t>(p->Count());
        auto values = std::make_unique<float[]>(n);
        std::copy_n(p->Values(), n, values.get());
        std::unique_ptr<TDateTime[]> times;
        if (p->Times()) {
            times = std::make_unique<TDateTime[]>(n);
            std::copy_n(p->Times(), n, times.get());
        }
        for (size_t k = 0; k < n; ++k) {
            const TDateTime t =
                times ? times[k] : p->StartTime() + static_cast<double>(k) * p->Rate() / SecsPerDay;
            if (second(t) >= second(from) && second(t) <= second(to))
                values[k] = std::numeric_limits<float>::quiet_NaN();
        }
        // Set anew, so that the summary and extremes are those of the values now.
        p->SetRecord(p->GetRecord(), std::move(values), std::move(times));
    }
}
