#pragma once

#include "analysis/Comparison.h"
#include "analysis/Survey.h"
#include "analysis/TextStyle.h"

#include <string>
#include <vector>

// One answer on the report's first page: the question, its verdict in words ("Yes", "No",
// "Not decided"; empty where the question asks for figures, not a decision), the answer, its
// key figures and a one-line reason. A verdict is never "No" where nothing was measured.
struct Finding {
    std::string Question;
    std::string Verdict;
    std::string Answer;
    std::string Figures;
    std::string Reason;
};

inline constexpr char VerdictYes[] = "Yes";
inline constexpr char VerdictNo[] = "No";
inline constexpr char VerdictUndecided[] = "Not decided";

// The questions the survey can answer, in order, each only where it applies: whether the
// recording holds values no recorder can produce (only when it does), the service's
// headroom, where the energy goes, the cost (with a tariff), whether it takes the new loads
// (when there are any), the battery that would hold the peak (when asked), the voltage, the
// balance and the
// power factor correction; then the remarks, as written, when there are any.
std::vector<Finding> SurveyFindings(const SurveyResult& survey, const TextStyle& style,
                                    const std::string& remarks = {});

// The comparison's answers: the yearly saving with its 95 % interval first ("Yes" beyond the
// day-to-day scatter, "No" for an increase beyond it, "Not decided" within it), then the daily
// energy, the peak and the base load before and after; then the remarks.
std::vector<Finding> CompareFindings(const Comparison& comparison, const TextStyle& style,
                                     const std::string& remarks = {});

// A joined recording's downloads as its comments name them ("Joined from: NAME (FROM to TO);
// …"), one text each, with the gap to the one before: "b.vro, 2024-03-08 00:00:00 to
// 2024-03-14 23:59:00, 2.00 days after the one before". None for a recording not joined.
std::vector<std::string> JoinedDownloads(const std::string& comments, const TextStyle& style);
