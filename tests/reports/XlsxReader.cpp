#include "tests/reports/XlsxReader.h"

#include "tests/support/CommandOutput.h"

#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <array>
#include <cstdio>

namespace {

std::string Attribute(const QXmlStreamReader& xml, const char* name) {
    return xml.attributes().value(QLatin1String(name)).toString().toStdString();
}

bool Is(const QXmlStreamReader& xml, const char* name) {
    return xml.isStartElement() && xml.name() == QLatin1String(name);
}

} // namespace

XlsxReader::XlsxReader(const std::string& fileName) : file_(fileName) {
    // Sheets by relationship, relationships by target.
    std::map<std::string, std::string> targets;
    QXmlStreamReader rels(QByteArray::fromStdString(Entry("xl/_rels/workbook.xml.rels")));
    while (!rels.atEnd())
        if (rels.readNext(); Is(rels, "Relationship"))
            targets[Attribute(rels, "Id")] = "xl/" + Attribute(rels, "Target");
    QXmlStreamReader book(QByteArray::fromStdString(Entry("xl/workbook.xml")));
    while (!book.atEnd())
        if (book.readNext(); Is(book, "sheet")) {
            const std::string name = Attribute(book, "name");
            names_.push_back(name);
            XlsxSheet& sheet = sheets_[name];
            sheet.path = targets[Attribute(book, "r:id")];
            sheet.chartsheet = sheet.path.find("chartsheets/") != std::string::npos;
        }

    std::map<std::string, std::string> formats = {{"0", "General"}};
    std::vector<bool> boldFonts;
    QXmlStreamReader styles(QByteArray::fromStdString(Entry("xl/styles.xml")));
    bool inCellXfs = false;
    while (!styles.atEnd()) {
        styles.readNext();
        if (Is(styles, "numFmt"))
            formats[Attribute(styles, "numFmtId")] = Attribute(styles, "formatCode");
        else if (Is(styles, "font"))
            boldFonts.push_back(false);
        else if (Is(styles, "b") && !boldFonts.empty())
            boldFonts.back() = true;
        else if (Is(styles, "cellXfs"))
            inCellXfs = true;
        else if (styles.isEndElement() && styles.name() == QLatin1String("cellXfs"))
            inCellXfs = false;
        else if (inCellXfs && Is(styles, "xf")) {
            XlsxCell style;
            const auto format = formats.find(Attribute(styles, "numFmtId"));
            style.format = format == formats.end() ? "builtin " + Attribute(styles, "numFmtId")
                                                   : format->second;
            const size_t font = std::stoul(Attribute(styles, "fontId"));
            style.bold = font < boldFonts.size() && boldFonts[font];
            styles_.push_back(style);
        }
    }
}

std::string XlsxReader::Entry(const std::string& path) const {
    return CommandOutput("unzip -p " + ShellQuoted(file_) + " " + ShellQuoted(path) +
                         " 2>/dev/null");
}

const XlsxSheet& XlsxReader::Sheet(const std::string& name) {
    XlsxSheet& sheet = sheets_[name];
    if (sheet.path.empty() || !sheet.cells.empty() || sheet.chartsheet)
        return sheet;
    QXmlStreamReader xml(QByteArray::fromStdString(Entry(sheet.path)));
    std::string ref;
    while (!xml.atEnd()) {
        xml.readNext();
        if (Is(xml, "c")) {
            ref = Attribute(xml, "r");
            XlsxCell& cell = sheet.cells[ref];
            const std::string s = Attribute(xml, "s");
            if (!s.empty() && std::stoul(s) < styles_.size())
                cell = styles_[std::stoul(s)];
            else
                cell.format = "General";
            cell.type = Attribute(xml, "t");
        } else if (Is(xml, "v") || Is(xml, "t")) {
            sheet.cells[ref].value = xml.readElementText().toStdString();
        } else if (Is(xml, "pane") && Attribute(xml, "state") == "frozen") {
            sheet.paneTopLeft = Attribute(xml, "topLeftCell");
        } else if (Is(xml, "autoFilter")) {
            sheet.filter = Attribute(xml, "ref");
        } else if (Is(xml, "col")) {
            for (int c = std::stoi(Attribute(xml, "min")); c <= std::stoi(Attribute(xml, "max"));
                 ++c)
                sheet.widths[c] = std::stod(Attribute(xml, "width"));
        }
    }
    EXPECT_FALSE(xml.hasError()) << name << ": " << xml.errorString().toStdString();
    return sheet;
}
