#pragma once

#include "analysis/Comparison.h"
#include "windows/reports/FindingsPage.h"

#include <QString>

#include "printing/LayoutPrinter.h"

class LDatabase;

inline constexpr char DefaultCompareReportTitle[] = "Before and after";

// The compare report as one document on the setup's printer (into the PDF file the interaction
// names when that is its output): the findings below the title block (the yearly saving with its
// interval first), then the Summary table, the saving and the verdict, then the overlaid daily
// profiles, the energy per full day and the load duration, titled (empty:
// DefaultCompareReportTitle) with the before side's database in the pages' footer. True when
// printed completely; a job cancelled or failed leaves no file.
Printout PrintCompareReport(PrintSetup& setup, PrintInteraction& interaction,
                            const Comparison& comparison, const LDatabase* before,
                            const QString& title, const ReportAuthor& author = {});
