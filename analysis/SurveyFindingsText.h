#pragma once

#include "analysis/Survey.h"
#include "analysis/SurveyText.h"
#include "analysis/TextStyle.h"

#include <string>
#include <vector>

// The survey's Cost, Power factor and Unbalance sections, each opening with its heading line
// and every reason it gives; the cost's lines end with each month's charges when months is
// set. vrotool survey prints them after the summary, as text (lines ending in "\n").
std::vector<SummaryLine> CostLines(const SurveyResult& survey, const TextStyle& style = {},
                                   bool months = true);
std::vector<SummaryLine> PowerFactorLines(const SurveyResult& survey, const TextStyle& style = {});
std::vector<SummaryLine> UnbalanceLines(const SurveyResult& survey, const TextStyle& style = {});
std::string CostText(const SurveyResult& survey, const TextStyle& style = {});
std::string PowerFactorText(const SurveyResult& survey, const TextStyle& style = {});
std::string UnbalanceText(const SurveyResult& survey, const TextStyle& style = {});

// The battery study, when asked: its inputs, every reason, the months the recording did not
// see, and the rows it marks; the text adds the table of every cap, aligned.
std::vector<SummaryLine> BatteryLines(const SurveyResult& survey, const TextStyle& style = {});
std::string BatteryText(const SurveyResult& survey, const TextStyle& style = {});
// What goes beside the battery's table and chart: the study's reasons, the months the
// recording did not see, and the caveat.
std::vector<std::string> BatteryNotes(const BatteryStudy& battery);

// Beside every battery and peak-shaving figure, wherever it is shown: a shaved peak is no
// longer what the service meets, so the measured demand stops proving its capacity.
inline constexpr char PeakShavingCaveat[] = "A service that adopts peak shaving can no longer be "
                                            "judged by a measured-demand study (NEC 220.87).";

// The Survey window's Summary page and the report's summary: the survey's Summary, then the
// cost without its months (the Cost page and section have them), the power factor and the
// unbalance, a blank line between.
std::vector<SummaryLine> SummaryPageLines(const SurveyResult& survey, const TextStyle& style = {});

// Whether a power factor correction bank pays: "Yes, 1,234.56 $ a year; the bank's 750.00 $
// paid back in 0.6 years", "No: REASON", "Not decided: REASON".
std::string CorrectionText(const CorrectionSaving& correction, const TextStyle& style = {});

// "estimate from 2.00 days": how the typical month and year are labelled.
std::string EstimateText(double days, const TextStyle& style = {});

// "The tariff could not be read: REASON"
std::string TariffErrorText(const std::string& reason);
