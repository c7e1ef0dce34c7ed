// The battery study over a joined year of one-minute samples (525 600 of them): the survey
// with 20 and with 100 caps against the same survey without, priced by the example tariff,
// each the median of five runs measured in the same run. Every time is in milliseconds, as
// the ratios need one unit.
#include "analysis/Survey.h"
#include "analysis/TariffReader.h"
#include "bench/RatioReporter.h"
#include "database/LDatabase.h"
#include "model/Auxilary.h"
#include "model/ParameterTable.h"
#include "tests/support/JoinedSeries.h"

namespace {

LDatabase Year;

SurveyOptions Options(int caps) {
    SurveyOptions options;
    options.CostTariff = ReadTariffFile(VRO_TARIFF_EXAMPLE);
    if (caps == 0)
        return options;
    // The default 20, or as many spread over the same span.
    BatteryOptions& battery = options.Battery.emplace();
    battery.PricePerKwh = 400;
    battery.PricePerKw = 150;
    if (caps != DefaultBatteryCaps) {
        const SurveyResult survey = RunSurvey(Year.Parameters(), {});
        const PowerSurvey& p = *survey.Power;
        const double top = HighestBlock(p.Blocks)->Value, bottom = *p.Totals.AverageWatts;
        for (int i = 0; i < caps; ++i)
            battery.CapsWatts.push_back(top - (top - bottom) * i / (caps - 1));
    }
    return options;
}

void BM_Survey(benchmark::State& state, int caps) {
    const SurveyOptions options = Options(caps);
    for (auto _ : state)
        benchmark::DoNotOptimize(RunSurvey(Year.Parameters(), options));
}

} // namespace

int main(int argc, char** argv) {
    InitCatalogue();
    TuneAllocator();
    benchmark::Initialize(&argc, argv);
    JoinedYear(Year);
    for (const auto& [name, caps] : {std::pair{"BM_SurveyYear", 0},
                                     {"BM_SurveyYearBattery20", 20},
                                     {"BM_SurveyYearBattery100", 100}})
        benchmark::RegisterBenchmark(name, BM_Survey, caps)
            ->Unit(benchmark::kMillisecond)
            ->Repetitions(5)
            ->ReportAggregatesOnly(true)
            ->UseRealTime();
    RatioReporter reporter;
    // The caps run four to a pass over the samples, in parallel, skipping the stretches where
    // the battery is full and the load below every cap of the pass.
    reporter.AddRatio("BM_SurveyYearBattery20", "BM_SurveyYear", 1.5);
    reporter.AddRatio("BM_SurveyYearBattery100", "BM_SurveyYear", 5);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
