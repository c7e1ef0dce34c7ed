#pragma once

#include <QByteArray>
#include <QString>

// What a PDF says about itself in its information dictionary (pdfinfo's Title, Author,
// Subject and Creator).
struct PdfInfo {
    QString Title, Author, Subject;
    QString Creator = QStringLiteral("VroView");

    bool Empty() const { return Title.isEmpty() && Author.isEmpty() && Subject.isEmpty(); }
};

// Appends an update to a complete PDF that replaces its information dictionary with info,
// keeping the rest as written (the writer of Qt 6.4 knows no author or subject). False, and
// the bytes as they were, when the PDF's last trailer cannot be read.
bool AppendPdfInfo(QByteArray& pdf, const PdfInfo& info);
