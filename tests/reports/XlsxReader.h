#pragma once

#include <map>
#include <string>
#include <vector>

// An Excel workbook read back through its zip (unzip) and its XML, without the writer: the
// sheets by name, their cells with type and style, their frozen pane, filter and columns.
struct XlsxCell {
    std::string type;   // the t attribute: empty (a number), "inlineStr", "s", ...
    std::string value;  // the number as written, or the text
    std::string format; // the style's number format code ("General" without one)
    bool bold = false;
};

struct XlsxSheet {
    std::string path; // in the zip, e.g. "xl/worksheets/sheet2.xml"
    bool chartsheet = false;
    std::map<std::string, XlsxCell> cells; // by reference, e.g. "B2"
    std::string paneTopLeft;               // of a frozen pane, e.g. "B2"
    std::string filter;                    // e.g. "A1:C1001"
    std::map<int, double> widths;          // by column from 1
};

class XlsxReader {
public:
    explicit XlsxReader(const std::string& fileName);

    std::vector<std::string> SheetNames() const { return names_; }
    // Read when first asked for.
    const XlsxSheet& Sheet(const std::string& name);
    // An entry of the zip as text (empty when there is none).
    std::string Entry(const std::string& path) const;

private:
    std::string file_;
    std::vector<std::string> names_;
    std::map<std::string, XlsxSheet> sheets_;
    std::vector<XlsxCell> styles_; // format and weight by style index
};
