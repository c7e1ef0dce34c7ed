#pragma once

#include "analysis/Survey.h"
#include "analysis/TextStyle.h"

#include <optional>
#include <string>
#include <vector>

// A line of the survey's texts: a heading or a note (a Label alone), or a figure (a Label and
// its Value), indented by Indent spaces. The Survey window draws them as label and value
// columns; as text they are laid out by SummaryLinesText.
struct SummaryLine {
    int Indent = 0;
    std::string Label;
    std::optional<std::string> Value;
};

// Lines ending in "\n"; a figure's label padded to the 23rd column, then a space and its value:
// "  Peak demand           2.00 kW".
std::string SummaryLinesText(const std::vector<SummaryLine>& lines);

// "The threshold 20.00 kW is below the base load 35.20 kW: not taken, …"
std::string ThresholdRefusalText(const ThresholdRefusal& refusal, const TextStyle& style = {});

// The note above the figures of a recording that holds values no recorder can produce
// (SurveyResult::Impossible), a line per parameter below it.
extern const char* const ImpossibleValuesText;

// The survey's Summary: the period, the values no recorder can produce, the load study with its
// verdict and every reason it is not valid, the totals, the energy above the threshold, and the
// voltage test per channel. Each figure has its unit and, where it has one, its time.
std::vector<SummaryLine> SurveySummaryLines(const SurveyResult& survey,
                                            const TextStyle& style = {});
// The same as plain text; vrotool survey prints it.
std::string SurveySummaryText(const SurveyResult& survey, const TextStyle& style = {});
