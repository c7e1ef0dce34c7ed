#include "printing/PdfInfo.h"

#include <cctype>
#include <optional>

namespace {

// The whole number after key in the trailer, as written there.
std::optional<QByteArray> TrailerValue(const QByteArray& trailer, const QByteArray& key) {
    const qsizetype at = trailer.indexOf(key);
    if (at < 0)
        return std::nullopt;
    qsizetype from = at + key.size();
    while (from < trailer.size() && trailer[from] == ' ')
        ++from;
    qsizetype to = from;
    while (to < trailer.size() && (std::isdigit(static_cast<unsigned char>(trailer[to])) ||
                                   trailer[to] == ' ' || trailer[to] == 'R'))
        ++to;
    const QByteArray value = trailer.mid(from, to - from).trimmed();
    return value.isEmpty() ? std::nullopt : std::optional<QByteArray>(value);
}

// A text string of any characters: UTF-16 with its byte order mark, in hexadecimal.
QByteArray TextString(const QString& text) {
    QByteArray bytes("\xFE\xFF", 2);
    for (const QChar c : text) {
        bytes.append(static_cast<char>(c.unicode() >> 8));
        bytes.append(static_cast<char>(c.unicode() & 0xFF));
    }
    return '<' + bytes.toHex().toUpper() + '>';
}

} // namespace

bool AppendPdfInfo(QByteArray& pdf, const PdfInfo& info) {
    const qsizetype trailerAt = pdf.lastIndexOf("trailer");
    const qsizetype startAt = pdf.lastIndexOf("startxref");
    if (trailerAt < 0 || startAt < trailerAt)
        return false;
    const QByteArray trailer = pdf.mid(trailerAt, startAt - trailerAt);
    const auto size = TrailerValue(trailer, "/Size");
    const auto root = TrailerValue(trailer, "/Root");
    bool ok = false;
    QByteArray offset = pdf.mid(startAt + 9, 32).trimmed();
    offset.truncate(offset.indexOf('\n') < 0 ? offset.size() : offset.indexOf('\n'));
    const qlonglong previous = offset.trimmed().toLongLong(&ok);
    const int object = size ? size->toInt() : 0;
    if (!size || !root || !ok || object <= 0)
        return false;

    QByteArray update;
    if (!pdf.endsWith('\n'))
        update += '\n';
    const qsizetype objectAt = pdf.size() + update.size();
    update += QByteArray::number(object) + " 0 obj\n<<\n";
    const std::pair<const char*, const QString*> fields[] = {{"/Title ", &info.Title},
                                                             {"/Author ", &info.Author},
                                                             {"/Subject ", &info.Subject},
                                                             {"/Creator ", &info.Creator}};
    for (const auto& [key, value] : fields)
        if (!value->isEmpty())
            update += key + TextString(*value) + '\n';
    update += ">>\nendobj\n";
    const qsizetype xrefAt = pdf.size() + update.size();
    update += "xref\n0 1\n0000000000 65535 f \n" + QByteArray::number(object) + " 1\n" +
              QByteArray::number(objectAt).rightJustified(10, '0') + " 00000 n \n";
    update += "trailer\n<<\n/Size " + QByteArray::number(object + 1) + "\n/Root " + *root +
              "\n/Info " + QByteArray::number(object) + " 0 R\n/Prev " +
              QByteArray::number(previous) + "\n>>\nstartxref\n" + QByteArray::number(xrefAt) +
              "\n%%EOF\n";
    pdf += update;
    return true;
}
