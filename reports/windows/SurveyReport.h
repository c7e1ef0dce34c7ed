#pragma once

#include "analysis/Survey.h"

#include <QString>

class LDatabase;
class TLayoutPrinter;

// What the survey report covers: the survey's settings, the title on the cover and in the
// pages' header, and whether the database's own tables and charts follow.
struct SurveyReportOptions {
    SurveyOptions Survey;
    QString Title; // empty: DefaultReportTitle
    bool WithItems = false;
};

inline constexpr char DefaultReportTitle[] = "Survey report";

// The survey report of the open database as one document on the printer (into the PDF file
// its interaction names when that is its output): the cover with the recording information,
// the summary (with the cost, power factor and unbalance), energy per day, a chart per unit of
// the Historic parameters, the daily profile, heat map and load duration, the voltage block
// means, the cost (with a tariff: its table, then the energy cost per day), the power factor
// correction, the unbalance, the statistics of every Historic parameter and, when asked for,
// the database's tables and charts. A section without data is left out and a line of the
// summary says why. True when printed completely; a job
// cancelled or failed leaves no file.
bool PrintSurveyReport(TLayoutPrinter& printer, LDatabase& db, const SurveyReportOptions& options);
