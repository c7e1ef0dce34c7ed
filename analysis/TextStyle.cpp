#include "analysis/TextStyle.h"

#include "analysis/TimeRange.h"
#include "model/PlainText.h"

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
        if (format == CellFormat::Csv)
            AppendCsvField(out, cells[i]);
        else
            out += cells[i];
    }
    out += "\r\n";
}
