#include "windows/reports/FindingsPage.h"

#include <QDate>
#include <QFontMetricsF>
#include <QLocale>
#include <QPainter>

#include <algorithm>

namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

// Text wrapped into the width from top; returns the height it took.
double Wrapped(QPainter& painter, const QRectF& area, double top, const QString& text,
               const QFont& font, const QColor& color = Qt::black) {
    painter.setFont(font);
    painter.setPen(color);
    QRectF used;
    painter.drawText(QRectF(area.left(), top, area.width(), std::max(0.0, area.bottom() - top)),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text, &used);
    return std::max(used.height(), QFontMetricsF(font, painter.device()).height());
}

QFont Scaled(const QFont& font, double factor, bool bold) {
    QFont scaled = font;
    scaled.setPointSizeF(font.pointSizeF() * factor);
    scaled.setBold(bold);
    return scaled;
}

} // namespace

void AddAuthorLines(TitleBlock& block, const ReportAuthor& author) {
    if (!author.Engineer.trimmed().isEmpty())
        block.Lines.emplace_back(QStringLiteral("Engineer"), author.Engineer.trimmed());
    if (!author.Company.trimmed().isEmpty())
        block.Lines.emplace_back(QStringLiteral("Company"), author.Company.trimmed());
    block.Lines.emplace_back(QStringLiteral("Report date"),
                             QLocale().toString(QDate::currentDate(), QLocale::LongFormat));
}

double PaintTitleBlock(QPainter& painter, const QRectF& area, const TitleBlock& block,
                       const QFont& font) {
    const QFontMetricsF metrics(font, painter.device());
    const double line = metrics.height();
    double y = area.top();
    y += Wrapped(painter, area, y, block.Title, Scaled(font, 2.2, true));
    if (!block.Site.isEmpty())
        y += Wrapped(painter, area, y, block.Site, Scaled(font, 1.5, false));
    y += line / 2;

    // Labels in a column as wide as the widest.
    const QFont bold = Scaled(font, 1, true);
    double labels = 0;
    for (const auto& [label, text] : block.Lines)
        labels = std::max(labels, QFontMetricsF(bold, painter.device()).horizontalAdvance(label));
    labels += 2 * metrics.averageCharWidth();
    for (const auto& [label, text] : block.Lines) {
        Wrapped(painter, area, y, label, bold);
        y += Wrapped(painter, area.adjusted(labels, 0, 0, 0), y, text, font);
    }

    // A rule below.
    y += line / 2;
    painter.setPen(QPen(Qt::darkGray, std::max(1.0, line / 20)));
    painter.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
    return y + line / 2 - area.top();
}

double PaintFinding(QPainter& painter, const QRectF& area, const Finding& f, const QFont& font) {
    const QFontMetricsF metrics(font, painter.device());
    const QFont bold = Scaled(font, 1, true);
    const QColor grey(0x50, 0x50, 0x50);
    const QRectF indented = area.adjusted(2 * metrics.averageCharWidth(), 0, 0, 0);
    double y = area.top();
    if (!f.Question.empty())
        y += Wrapped(painter, area, y, Q(f.Question), Scaled(font, 1.1, true));
    if (!f.Verdict.empty()) {
        // The verdict in bold, the answer after it on the same line.
        const QString verdict = Q(f.Verdict) + QStringLiteral(": ");
        const double w = QFontMetricsF(bold, painter.device()).horizontalAdvance(verdict);
        Wrapped(painter, indented, y, verdict, bold);
        y += Wrapped(painter, indented.adjusted(w, 0, 0, 0), y, Q(f.Answer), font);
    } else if (!f.Answer.empty()) {
        y += Wrapped(painter, indented, y, Q(f.Answer), font);
    }
    if (!f.Figures.empty())
        y += Wrapped(painter, indented, y, Q(f.Figures), font);
    if (!f.Reason.empty())
        y += Wrapped(painter, indented, y, Q(f.Reason), Scaled(font, 0.9, false), grey);
    return y - area.top();
}

std::vector<ReportBlock> FindingBlocks(const TitleBlock& block,
                                       const std::vector<Finding>& findings, const QFont& font) {
    std::vector<ReportBlock> blocks;
    blocks.push_back({{}, {}, {}, [block, font](QPainter& painter, const QRectF& area) {
                          return PaintTitleBlock(painter, area, block, font);
                      }});
    const auto add = [&](Finding f, bool continues) {
        ReportBlock piece{{}, {}, {}, [f, font](QPainter& painter, const QRectF& area) {
                              return PaintFinding(painter, area, f, font);
                          }};
        piece.Continues = continues;
        blocks.push_back(std::move(piece));
    };
    for (const Finding& f : findings) {
        // An answer of many lines (the engineer's remarks) goes on over the pages it needs, a
        // few lines at a time.
        constexpr int linesAPiece = 8;
        const QStringList lines = Q(f.Answer).split(QLatin1Char('\n'));
        if (!f.Verdict.empty() || lines.size() <= linesAPiece) {
            add(f, false);
            continue;
        }
        for (qsizetype at = 0; at < lines.size(); at += linesAPiece) {
            Finding piece;
            if (at == 0)
                piece.Question = f.Question;
            piece.Answer = lines.mid(at, linesAPiece).join(QLatin1Char('\n')).toStdString();
            if (at + linesAPiece >= lines.size()) {
                piece.Figures = f.Figures;
                piece.Reason = f.Reason;
            }
            add(std::move(piece), at != 0);
        }
    }
    return blocks;
}

double PaintContents(QPainter& painter, const QRectF& area,
                     const std::vector<std::pair<QString, int32_t>>& entries, const QFont& font) {
    const QFontMetricsF metrics(font, painter.device());
    const double line = 1.2 * metrics.height();
    double y = area.top();
    y += Wrapped(painter, area, y, QStringLiteral("Contents"), Scaled(font, 1.25, true)) + line / 4;
    painter.setFont(font);
    painter.setPen(Qt::black);
    for (const auto& [entry, page] : entries) {
        const QString number = QString::number(page);
        painter.drawText(QPointF(area.left(), y + metrics.ascent()), entry);
        painter.drawText(
            QPointF(area.right() - metrics.horizontalAdvance(number), y + metrics.ascent()),
            number);
        y += line;
    }
    return y - area.top();
}

PdfInfo ReportPdfInfo(const QString& title, const ReportAuthor& author, const QString& userId,
                      const QString& subject) {
    PdfInfo info;
    info.Title = title;
    info.Author =
        author.Engineer.trimmed().isEmpty() ? userId.trimmed() : author.Engineer.trimmed();
    info.Subject = subject;
    return info;
}
