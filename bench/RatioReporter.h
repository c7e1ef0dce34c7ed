#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

// Prints the usual table, then each benchmark's time as a ratio to its baseline measured in
// the same run, so that the figures mean the same on a fast or a busy machine.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    // name / baseline, both as registered (without arguments or suffixes).
    void AddRatio(std::string name, std::string baseline, double target) {
        ratios_.push_back({std::move(name), std::move(baseline), target});
    }

    // A ratio measured otherwise (of memory, say), printed with the others.
    void AddMeasuredRatio(std::string name, std::string baseline, double ratio, double target) {
        measured_.push_back({std::move(name), std::move(baseline), ratio, target});
    }

    // For a benchmark run with several sizes, each run's time per unit of its counter (as
    // "ms per MB"), and the ratio of the largest size's to the smallest's. With repetitions,
    // the median is taken.
    void AddFlatness(std::string name, std::string counter, double target) {
        flatness_.push_back({std::move(name), std::move(counter), target});
    }

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& r : runs) {
            if (r.error_occurred)
                continue;
            const bool median = r.run_type == Run::RT_Aggregate && r.aggregate_name == "median";
            if (r.run_type != Run::RT_Iteration && !median)
                continue;
            // With repetitions the median comes after the runs it is taken of, and stays.
            seconds_[r.run_name.function_name] = r.GetAdjustedRealTime();
            for (const Flatness& f : flatness_) {
                const auto counter = r.counters.find(f.counter);
                if (f.name == r.run_name.function_name && counter != r.counters.end())
                    perUnit_[f.name].push_back({counter->second.value,
                                                r.GetAdjustedRealTime() / counter->second.value,
                                                r.time_unit});
            }
        }
    }

    void Finalize() override {
        ConsoleReporter::Finalize();
        std::printf("\n");
        for (const auto& [name, baseline, target] : ratios_)
            if (seconds_.count(name) && seconds_.count(baseline))
                PrintRatio(name, baseline, seconds_[name] / seconds_[baseline], target);
        for (const Measured& m : measured_)
            PrintRatio(m.name, m.baseline, m.ratio, m.target);
        for (const auto& [name, counter, target] : flatness_) {
            auto runs = perUnit_[name];
            if (runs.size() < 2)
                continue;
            std::sort(runs.begin(), runs.end(),
                      [](const PerUnit& a, const PerUnit& b) { return a.size < b.size; });
            for (const PerUnit& r : runs)
                std::printf("%s at %.2f %s: %.2f %s per %s\n", name.c_str(), r.size,
                            counter.c_str(), r.time, benchmark::GetTimeUnitString(r.unit),
                            counter.c_str());
            const double ratio = runs.back().time / runs.front().time;
            std::printf("ratio %s per %s, largest / smallest = %.2f  (target at most %g: %s)\n",
                        name.c_str(), counter.c_str(), ratio, target,
                        ratio <= target ? "met" : "NOT MET");
        }
    }

private:
    static void PrintRatio(const std::string& name, const std::string& baseline, double ratio,
                           double target) {
        std::printf("ratio %-34s / %-24s = %6.2f  (target at most %g: %s)\n", name.c_str(),
                    baseline.c_str(), ratio, target, ratio <= target ? "met" : "NOT MET");
    }

    struct Ratio {
        std::string name, baseline;
        double target;
    };
    struct Measured {
        std::string name, baseline;
        double ratio, target;
    };
    struct Flatness {
        std::string name, counter;
        double target;
    };
    struct PerUnit {
        double size, time;
        benchmark::TimeUnit unit;
    };
    std::vector<Ratio> ratios_;
    std::vector<Measured> measured_;
    std::map<std::string, double> seconds_;
    std::vector<Flatness> flatness_;
    std::map<std::string, std::vector<PerUnit>> perUnit_;
};
