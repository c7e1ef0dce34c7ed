#pragma once

#include "analysis/Survey.h"

#include <string>
#include <variant>
#include <vector>

// vrotool survey of several files: a row per file, in the order given, of the figures that
// compare them; a file that cannot be read gets a row with its error alone.
class SurveyRows {
public:
    // Empty where a figure does not apply; times as ISO texts.
    using Cell = std::variant<std::monostate, double, bool, std::string>;

    // file, location, from, to, days, energy_wh, …, typical_month_cost, error
    static const std::vector<const char*>& Columns();

    std::vector<std::vector<Cell>> Rows;

    bool Failed() const;
    // A header row and a row per file, RFC 4180 with CR LF; numbers as the shortest text that
    // reads back as the value.
    std::string Csv() const;
    // An object per file and line, keyed by the columns.
    std::string JsonLines() const;
};

// Surveys the files in parallel on up to threads threads (0: one per processor).
SurveyRows SurveyFiles(const std::vector<std::string>& files, const SurveyOptions& options,
                       int threads = 0);
