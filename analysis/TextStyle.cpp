#include "analysis/TextStyle.h"

#include "analysis/TimeRange.h"

std::string TextStyle::Whole(int64_t value) const {
    return Number(static_cast<double>(value), 0);
}

std::string TextStyle::Time(TDateTime time) const {
    const TDateTime second = SecondsToDays(WholeSeconds(time));
    return DateTime ? DateTime(second) : PlainDateTimeText(second);
}

void AppendRow(std::string& out, const std::vector<std::string>& cells, CellFormat format) {
    for (size_t i = 0; i < cells.size(); ++i) {
        if (i > 0)
            out += format == CellFormat::Tab ? '\t' : ',';
        const std::string& cell = cells[i];
        if (format == CellFormat::Csv && cell.find_first_of(",\"\r\n") != std::string::npos) {
            out += '"';
            for (const char c : cell) {
                if (c == '"')
                    out += '"';
                out += c;
            }
            out += '"';
        } else {
            out += cell;
        }
    }
    out += "\r\n";
}
