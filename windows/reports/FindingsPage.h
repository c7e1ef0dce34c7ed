#pragma once

#include "analysis/ReportFindings.h"
#include "printing/PdfInfo.h"
#include "windows/reports/ReportFlow.h"
#include "windows/shell/SurveySettings.h"

#include <QFont>
#include <QRectF>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <utility>
#include <vector>

class QPainter;

// The top of a report's first page: the title, the site, then lines of a label and its text
// (period, engineer, company, report date, the downloads a joined recording was made of).
struct TitleBlock {
    QString Title, Site;
    std::vector<std::pair<QString, QString>> Lines;
};

// The title block's lines of the author (those given) and the report's date (today).
void AddAuthorLines(TitleBlock& block, const ReportAuthor& author);

// The title block: the title, the site, the label-text lines and a rule. Returns the height.
double PaintTitleBlock(QPainter& painter, const QRectF& area, const TitleBlock& block,
                       const QFont& font);
// A finding: its question in bold, its verdict in bold before its answer, its figures and its
// reason in grey, every text wrapped to the width. Returns the height it took.
double PaintFinding(QPainter& painter, const QRectF& area, const Finding& finding,
                    const QFont& font);
// The same as blocks of a report's flow, so that findings longer than a page (long remarks)
// go on over the next pages rather than being cut.
std::vector<ReportBlock> FindingBlocks(const TitleBlock& block,
                                       const std::vector<Finding>& findings, const QFont& font);

// "Contents", then a row per entry with its page number at the right. Returns the height.
double PaintContents(QPainter& painter, const QRectF& area,
                     const std::vector<std::pair<QString, int32_t>>& entries, const QFont& font);

// The PDF's title, author (the engineer, else the recording's user id) and subject.
PdfInfo ReportPdfInfo(const QString& title, const ReportAuthor& author, const QString& userId,
                      const QString& subject);
