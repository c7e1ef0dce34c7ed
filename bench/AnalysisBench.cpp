// The analyses on the largest recording (127 Historic parameters of 50 000 samples): the
// statistics of every source against one pass summing the same floats, the whole survey
// against one pass over its power samples, and the comparison of two such recordings against
// surveying each; the survey with three new loads (the capacity study) against the survey
// without them, on that recording and on a joined year of one-minute samples. Each is measured
// in the same run; every time is in milliseconds, as the ratios need one unit.
#include "analysis/Comparison.h"
#include "analysis/RangeStatistics.h"
#include "analysis/Survey.h"
#include "analysis/TariffReader.h"
#include "bench/RatioReporter.h"
#include "database/JoinRecordings.h"
#include "database/LDatabase.h"
#include "model/Auxilary.h"
#include "model/LParameter.h"
#include "model/ParameterTable.h"
#include "tools/RecordingGenerator.h"

namespace {

LDatabase& Maximal() {
    static LDatabase d;
    static const bool made = [] {
        d.New();
        d.Parse(GenerateRecordingBytes(MaximalRecordingOptions(true)));
        LTableRecord* table = d.AddTable();
        for (const auto& s : d.AllSources())
            table->Sources.Add(std::make_unique<LParameterSource>(*s));
        return true;
    }();
    (void)made;
    return d;
}

// A second recording of that size, of other values.
LDatabase& SecondMaximal() {
    static LDatabase d;
    static const bool made = [] {
        GeneratorOptions o = MaximalRecordingOptions(true);
        o.seed = 2;
        d.New();
        d.Parse(GenerateRecordingBytes(o));
        return true;
    }();
    (void)made;
    return d;
}

// The year 2025 in one-minute samples, joined from 73 recordings of five days.
LDatabase& Year() {
    static LDatabase d;
    static const bool made = [] {
        GeneratorOptions o;
        o.start = CalendarTime{2025, 1, 1, 0, 0, 0};
        o.historicPoints = 5 * 1440;
        std::vector<JoinInput> parts;
        for (const GeneratedRecording& part : GenerateSeries(o, 73)) {
            parts.push_back({"part.bin", std::make_unique<LDatabase>()});
            parts.back().Recording->New();
            parts.back().Recording->Parse(part.Serialize());
        }
        JoinRecordings(std::move(parts), JoinOverlap::Refuse, d);
        return true;
    }();
    (void)made;
    return d;
}

// A survey with a rating, and with three new loads (one of them managed) when asked.
SurveyOptions Rated(bool newLoads) {
    SurveyOptions options;
    options.RatingAmps = 400;
    if (newLoads)
        for (const char* given : {"Chiller,60,A+B+C", "Heat pump,40,A+B+C,continuous",
                                  "EV charger,32,B,continuous,managed"})
            options.Capacity.Loads.push_back(ParseNewLoad(given));
    return options;
}

void SurveyOf(benchmark::State& state, LDatabase& (*db)(), bool newLoads) {
    const LParameterCollection& parameters = db().Parameters();
    const SurveyOptions options = Rated(newLoads);
    for (auto _ : state)
        benchmark::DoNotOptimize(RunSurvey(parameters, options));
}

// A plain sum into a double, as the mean alone would be computed.
double Sum(const LParameter& p) {
    double sum = 0;
    for (int32_t i = 0; i < p.Count(); ++i)
        sum += p.Values()[i];
    return sum;
}

void BM_SumBaseline(benchmark::State& state) {
    const LParameterCollection& parameters = Maximal().Parameters();
    for (auto _ : state)
        for (const auto& p : parameters)
            benchmark::DoNotOptimize(Sum(*p));
}

void BM_Statistics127(benchmark::State& state) {
    const LParameterSourceGroup& group = Maximal().Tables().front()->Sources;
    for (auto _ : state)
        benchmark::DoNotOptimize(StatisticsOfGroup(group));
}

void BM_Statistics127OneThread(benchmark::State& state) {
    const LParameterSourceGroup& group = Maximal().Tables().front()->Sources;
    for (auto _ : state)
        benchmark::DoNotOptimize(StatisticsOfGroup(group, std::nullopt, 1));
}

// A chart zoomed to the middle tenth of the recording: the window recomputes this per step.
void BM_Statistics127Zoomed(benchmark::State& state) {
    const LParameterSourceGroup& group = Maximal().Tables().front()->Sources;
    const LParameter& p = *group.Items(0)->Parameter;
    const TDateTime span = p.Count() * p.Rate() / SecsPerDay;
    const TimeRange middle{p.StartTime() + 0.45 * span, p.StartTime() + 0.55 * span};
    for (auto _ : state)
        benchmark::DoNotOptimize(StatisticsOfGroup(group, middle));
}

void BM_PowerPass(benchmark::State& state) {
    const LParameter* power = nullptr;
    for (const auto& p : Maximal().Parameters())
        if (!power && p->Quantity() == 1 && p->Channel() == chThreePhase)
            power = p.get();
    if (!power)
        return state.SkipWithError("no 3Ø power");
    for (auto _ : state)
        benchmark::DoNotOptimize(Sum(*power));
}

void BM_Survey(benchmark::State& state) {
    const LParameterCollection& parameters = Maximal().Parameters();
    for (auto _ : state)
        benchmark::DoNotOptimize(RunSurvey(parameters, {}));
}

// The same survey priced by a three-period tariff with tiers, time-of-use and flat demand
// and a reactive charge.
void BM_SurveyTariff(benchmark::State& state) {
    const LParameterCollection& parameters = Maximal().Parameters();
    SurveyOptions options;
    options.CostTariff = ReadTariffFile(VRO_TARIFF_EXAMPLE);
    options.ThresholdWatts = 1000;
    for (auto _ : state)
        benchmark::DoNotOptimize(RunSurvey(parameters, options));
}

// Surveying both recordings, as a comparison does, one after the other.
void BM_SurveyBoth(benchmark::State& state) {
    SurveyOptions options;
    for (auto _ : state) {
        benchmark::DoNotOptimize(RunSurvey(Maximal().Parameters(), options));
        benchmark::DoNotOptimize(RunSurvey(SecondMaximal().Parameters(), options));
    }
}

void BM_CompareBoth(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(
            RunComparison(Maximal().Parameters(), SecondMaximal().Parameters(), {}));
}

} // namespace

int main(int argc, char** argv) {
    InitCatalogue();
    TuneAllocator();
    benchmark::Initialize(&argc, argv);
    Maximal();
    SecondMaximal();
    Year();
    benchmark::RegisterBenchmark("BM_SumBaseline", BM_SumBaseline)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_Statistics127", BM_Statistics127)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark("BM_Statistics127OneThread", BM_Statistics127OneThread)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_Statistics127Zoomed", BM_Statistics127Zoomed)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark("BM_PowerPass", BM_PowerPass)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_Survey", BM_Survey)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_SurveyTariff", BM_SurveyTariff)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_SurveyBoth", BM_SurveyBoth)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_CompareBoth", BM_CompareBoth)->Unit(benchmark::kMillisecond);
    for (const bool loads : {false, true}) {
        const char* const suffix = loads ? "NewLoads" : "";
        benchmark::RegisterBenchmark((std::string("BM_SurveyRated") + suffix).c_str(), SurveyOf,
                                     &Maximal, loads)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark((std::string("BM_SurveyYear") + suffix).c_str(), SurveyOf,
                                     &Year, loads)
            ->Unit(benchmark::kMillisecond);
    }
    RatioReporter reporter;
    reporter.AddRatio("BM_Statistics127", "BM_SumBaseline", 3);
    reporter.AddRatio("BM_Statistics127OneThread", "BM_SumBaseline", 3);
    // The survey reads seven series (power, three currents, three voltages), finds three
    // medians and sorts the blocks: about a hundred passes' worth. Its own target is under
    // 50 ms, read off the table above.
    reporter.AddRatio("BM_Survey", "BM_PowerPass", 150);
    // The tariff adds a pass over the power samples and a walk over the blocks.
    reporter.AddRatio("BM_SurveyTariff", "BM_Survey", 1.5);
    // The comparison is the two surveys and a walk over their days and blocks.
    reporter.AddRatio("BM_CompareBoth", "BM_SurveyBoth", 1.3);
    // The capacity study reads the phase currents once more (the 3-hour means, the nights) and
    // the apparent power: a few passes besides the survey's hundred.
    reporter.AddRatio("BM_SurveyRatedNewLoads", "BM_SurveyRated", 1.2);
    reporter.AddRatio("BM_SurveyYearNewLoads", "BM_SurveyYear", 1.2);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
