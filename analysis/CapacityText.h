#pragma once

#include "analysis/Survey.h"
#include "analysis/SurveyText.h"
#include "analysis/TextStyle.h"

#include <string>
#include <vector>

// The capacity study as vrotool survey prints it: the verdict with every reason it is not
// decided, the service, the loads, each phase's calculation, the set point, the kVA form, the
// continuous check, each managed load's nights and the headroom by hour. Empty without new
// loads.
std::vector<SummaryLine> CapacityLines(const SurveyResult& survey, const TextStyle& style = {});
std::string CapacityText(const SurveyResult& survey, const TextStyle& style = {});

// "1Ø 3W, 200.00 A, 120 V (guessed)": the service as the study takes it.
std::string ServiceText(const CapacityStudy& study, const TextStyle& style = {});
