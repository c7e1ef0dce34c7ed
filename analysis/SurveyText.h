#pragma once

#include "analysis/Survey.h"
#include "analysis/TextStyle.h"

#include <string>

// The survey's Summary as plain text, lines ending in "\n": the period, the load study with
// its verdict and every reason it is not valid, the totals, the energy above the threshold,
// and the voltage test per channel. Each figure has its unit and, where it has one, its time.
// The Survey window's Summary page and vrotool survey show it.
std::string SurveySummaryText(const SurveyResult& survey, const TextStyle& style = {});
