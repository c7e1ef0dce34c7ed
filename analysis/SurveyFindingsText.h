#pragma once

#include "analysis/Survey.h"
#include "analysis/TextStyle.h"

#include <string>

// The survey's Cost, Power factor and Unbalance sections as plain text, lines ending in "\n",
// each opening with its heading line and every reason it gives. vrotool survey prints them
// after the summary.
std::string CostText(const SurveyResult& survey, const TextStyle& style = {});
std::string PowerFactorText(const SurveyResult& survey, const TextStyle& style = {});
std::string UnbalanceText(const SurveyResult& survey, const TextStyle& style = {});

// "estimate from 2.00 days": how the typical month and year are labelled.
std::string EstimateText(double days, const TextStyle& style = {});
