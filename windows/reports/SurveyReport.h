#pragma once

#include "analysis/Survey.h"
#include "windows/reports/FindingsPage.h"

#include <QString>

#include "printing/LayoutPrinter.h"

class LDatabase;

// What the survey report covers: the survey's settings, the title on the first page and in the
// pages' header, who writes it, and whether the database's own tables and charts follow.
struct SurveyReportOptions {
    SurveyOptions Survey;
    QString Title; // empty: DefaultReportTitle
    ReportAuthor Author;
    bool WithItems = false;
    // Only the one-page capacity sheet of the new loads.
    bool CapacitySheet = false;
};

inline constexpr char DefaultReportTitle[] = "Survey report";

// The survey report of the open database as one document on the setup's printer (into the PDF
// file the interaction names when that is its output): the findings below the title block, the
// contents, the summary with the recording information, energy per day, a chart per unit of
// the Historic parameters (two to a page), the daily profile, load duration and heat map, the
// voltage block means, the cost (with a tariff: its table, then the energy cost per day), the
// power factor correction, the unbalance, the battery (when the survey's options ask for it:
// its notes with the caveat, table and chart), the statistics of every Historic parameter and,
// when asked for, the database's tables and charts; the sections flow onto pages that are
// full. A section without data is left out and a line of the summary says why. A PDF names
// the title, the engineer (else the recording's user id) and "Survey report". With new loads,
// their finding and a section of the capacity study follow the unbalance; with CapacitySheet
// the document is the capacity sheet alone, on one page. True when printed completely; a job
// cancelled or failed leaves no file.
Printout PrintSurveyReport(PrintSetup& setup, PrintInteraction& interaction, LDatabase& db,
                           const SurveyReportOptions& options);
