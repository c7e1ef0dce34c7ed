#include "analysis/TextStyle.h"

#include "analysis/TimeRange.h"

#include <cmath>
#include <cstdio>

std::string TextStyle::Number(double value, int decimals) const {
    if (!std::isfinite(value))
        return "???";
    char digits[400];
    std::snprintf(digits, sizeof digits, "%.*f", decimals, value);
    std::string_view text(digits);
    bool negative = text.front() == '-';
    if (negative)
        text.remove_prefix(1);
    // -0.001 rounds to 0.00, which has no sign.
    if (text.find_first_of("123456789") == std::string_view::npos)
        negative = false;
    const size_t point = text.find('.');
    const std::string_view whole = text.substr(0, point);
    std::string out = negative ? "-" : "";
    for (size_t i = 0; i < whole.size(); ++i) {
        if (i > 0 && (whole.size() - i) % 3 == 0)
            out += GroupSeparator;
        out += whole[i];
    }
    if (point != std::string_view::npos) {
        out += DecimalPoint;
        out += text.substr(point + 1);
    }
    return out;
}

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
