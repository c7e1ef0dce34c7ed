#pragma once

#include <benchmark/benchmark.h>

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

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& r : runs)
            if (r.run_type == Run::RT_Iteration && !r.error_occurred)
                seconds_[r.run_name.function_name] = r.GetAdjustedRealTime();
    }

    void Finalize() override {
        ConsoleReporter::Finalize();
        std::printf("\n");
        for (const auto& [name, baseline, target] : ratios_) {
            if (!seconds_.count(name) || !seconds_.count(baseline))
                continue;
            const double ratio = seconds_[name] / seconds_[baseline];
            std::printf("ratio %-34s / %-24s = %6.2f  (target at most %.1f: %s)\n", name.c_str(),
                        baseline.c_str(), ratio, target, ratio <= target ? "met" : "NOT MET");
        }
    }

private:
    struct Ratio {
        std::string name, baseline;
        double target;
    };
    std::vector<Ratio> ratios_;
    std::map<std::string, double> seconds_;
};
