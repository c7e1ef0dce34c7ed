#include "tables/TableText.h"

#include "model/Auxilary.h"
#include "model/LParameter.h"
#include "model/LParameterSource.h"
#include "model/LParameterSourceGroup.h"
#include "model/LSession.h"
#include "model/PlainText.h"
#include "texts/LocaleNumbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <utility>

// Where cell texts go: a caller's buffer (or nowhere, when only the length is wanted) or a
// string.
class TableText::TextOut {
public:
    explicit TextOut(char* buffer) : buffer_(buffer) {}
    explicit TextOut(std::string& text) : string_(&text) {}

    void Put(std::string_view s) {
        if (string_)
            string_->append(s);
        else if (buffer_)
            std::memcpy(buffer_ + size_, s.data(), s.size());
        size_ += s.size();
    }
    void Put(const char* s) { Put(std::string_view(s)); }
    void Put(const std::string& s) { Put(std::string_view(s)); }
    void Put(const QString& s) { Put(std::string_view(s.toUtf8())); }
    size_t Size() const { return size_; }

private:
    char* buffer_ = nullptr;
    std::string* string_ = nullptr;
    size_t size_ = 0;
};

namespace {

constexpr TDateTime TimeSample = 0.01;
constexpr size_t ValueTextMax = NumberFormat::MaxLength;

bool Shows(LTableType layout, const LParameterSource& source) {
    if (!source.Parameter)
        return false;
    const LTableType t = source.Parameter->TableType();
    return layout != ttHistoric || (t != ttEvent && t != ttCumulative);
}

// The shortest text that reads back as the value; nothing for a value that is no number.
void PutCsvNumber(float value, std::string& out) {
    if (!std::isfinite(value))
        return;
    char text[64];
    out.append(text, std::to_chars(text, text + sizeof text, value).ptr);
}

} // namespace

TableLayout ChooseLayout(const LParameterSourceGroup& group) {
    bool historic = false, eventOrCumulative = false, next = false;
    for (const auto& source : group) {
        const LTableType t =
            source->Parameter ? source->Parameter->TableType() : TableText::NoLayout;
        historic |= t == ttHistoric;
        eventOrCumulative |= t == ttEvent || t == ttCumulative;
        next |= source->Next != nullptr;
    }
    if (historic)
        return {ttHistoric, eventOrCumulative};
    if (eventOrCumulative)
        return {next ? ttCumulative : ttEvent, false};
    return {TableText::NoLayout, false};
}

TableText::TableText(const QLocale& locale) : dateTimes_(locale), numbers_(LocaleNumbers(locale)) {}

void TableText::SetGroup(const LParameterSourceGroup* group) {
    group_ = group;
    FindVisible();
}

void TableText::SetType(LTableType type) {
    type_ = type;
    UpdateTable();
}

const char* ExtremeName(uint8_t quantity) {
    switch (quantity) {
    case 5:
        return "Maximum";
    case 6:
        return "Minimum";
    case 7:
        return "Peak";
    default:
        return "Demand";
    }
}

void TableText::FindVisible() {
    visible_.clear();
    visibleEvents_ = false;
    timeSource_ = nullptr;
    if (!group_)
        return;
    for (const auto& source : *group_) {
        if (!Shows(type_, *source))
            continue;
        if (!timeSource_)
            timeSource_ = source.get();
        if (source->Selected) {
            visible_.push_back(source.get());
            visibleEvents_ |= source->Parameter->TableType() == ttEvent;
        }
    }
}

void TableText::UpdateTable() {
    if (!group_)
        return;
    FindVisible();
    const auto v = static_cast<int32_t>(visible_.size());
    int32_t n = 0;
    for (const LParameterSource* s : visible_) {
        n = std::max(n, s->GetCount());
        if (s->Next)
            n = std::max(n, s->Next->GetCount());
    }
    int32_t dataRows = 0, dataCols = 0;
    switch (type_) {
    case ttHistoric:
        fixedRows_ = fixedCols_ = 1;
        dataCols = v;
        dataRows = n;
        break;
    case ttEvent:
        fixedRows_ = 1;
        fixedCols_ = 0;
        dataCols = 2;
        dataRows = v;
        break;
    case ttCumulative:
        fixedRows_ = fixedCols_ = 1;
        dataCols = v;
        dataRows = n + 1;
        break;
    default:
        fixedRows_ = fixedCols_ = 0;
    }
    // Always at least one row and column that are not fixed.
    rowCount_ = fixedRows_ + std::max(dataRows, 1);
    colCount_ = fixedCols_ + std::max(dataCols, 1);
}

const LParameterSource* TableText::Visible(int32_t k) const {
    return k >= 0 && k < static_cast<int32_t>(visible_.size()) ? visible_[static_cast<size_t>(k)]
                                                               : nullptr;
}

bool TableText::IsFixedCell(int32_t col, int32_t row) const {
    switch (type_) {
    case ttHistoric:
    case ttCumulative:
        return row == 0 || col == 0;
    case ttEvent:
        return row == 0;
    default:
        return false;
    }
}

size_t TableText::FormatValue(float value, char* out) const {
    return numbers_.Write(out, static_cast<double>(value), 2);
}

std::string TableText::FormatValue(float value) const {
    char text[ValueTextMax];
    return std::string(text, FormatValue(value, text));
}

QString TableText::TimeSampleText() const {
    return dateTimes_.DateTimeToStr(TimeSample);
}

void TableText::WriteDateTime(TDateTime value, TextOut& text) const {
    text.Put(dateTimes_.DateTimeToStr(value));
}

void TableText::WriteValue(const LParameterSource* source, int32_t i, TextOut& text) const {
    float value;
    // NaN marks a sample not taken (the gap between joined recordings): an empty cell.
    if (!source || !source->GetValue(i, value) || std::isnan(value))
        return;
    char buffer[ValueTextMax];
    text.Put(std::string_view(buffer, FormatValue(value, buffer)));
}

void TableText::WriteHeader(const LParameterSource& source, TextOut& text,
                            TextOut& secondLine) const {
    const LParameter& p = *source.Parameter;
    text.Put(p.Name());
    // Written into one text (a row's), the two lines are parted by a blank, as in the CSV.
    if (&secondLine == &text)
        text.Put(" ");
    secondLine.Put(p.ChannelLabel());
    secondLine.Put(" (");
    secondLine.Put(p.ShortUnit());
    secondLine.Put(")");
}

// Everything of the main text is written before the second line, so that one TextOut for
// both joins them as the row text wants.
void TableText::WriteCell(int32_t col, int32_t row, TextOut& text, TextOut& secondLine) const {
    ++cellsComputed_;
    if (!group_ || col < 0 || row < 0)
        return;
    float value;
    TDateTime time;
    switch (type_) {
    case ttHistoric:
        if (col == 0 && row == 0)
            text.Put("Time");
        else if (col == 0) {
            if (timeSource_ && timeSource_->GetPoint(row - 1, value, time))
                WriteDateTime(time, text);
        } else if (const LParameterSource* s = Visible(col - 1)) {
            if (row == 0)
                WriteHeader(*s, text, secondLine);
            else
                WriteValue(s, row - 1, text);
        }
        break;
    case ttEvent:
        if (row == 0)
            text.Put(col == 0 ? "Parameter" : col == 1 ? "Value" : "");
        else if (const LParameterSource* s = Visible(row - 1)) {
            if (col == 0)
                text.Put(s->Label());
            else if (col == 1 && s->GetPoint(0, value, time)) {
                char buffer[ValueTextMax];
                text.Put(std::string_view(buffer, FormatValue(value, buffer)));
                text.Put(" ");
                text.Put(s->Parameter->ShortUnit());
                if (s->Parameter->TableType() == ttEvent) {
                    text.Put(" (");
                    WriteDateTime(time, text);
                    text.Put(")");
                }
            }
        }
        break;
    case ttCumulative:
        if (col == 0) {
            if (row == 0)
                text.Put("Interval start");
            else if (row == 1)
                text.Put(visibleEvents_ ? "Recording" : "Total");
            else if (const LSession* session = group_->Session())
                WriteDateTime(session->StartTime +
                                  IntervalsToDays(row - 2, session->IntervalMinutes() * 60),
                              text);
        } else if (const LParameterSource* s = Visible(col - 1)) {
            if (row == 0) {
                WriteHeader(*s, text, secondLine);
            } else if (row == 1) {
                WriteValue(s, 0, text);
                // An Event parameter's one value is the recording's extreme, not a total: it
                // says which and when.
                float extreme;
                TDateTime at;
                if (s->Parameter->TableType() == ttEvent && s->GetPoint(0, extreme, at)) {
                    text.Put(" (");
                    text.Put(ExtremeName(s->Parameter->Quantity()));
                    text.Put(", ");
                    WriteDateTime(at, text);
                    text.Put(")");
                }
            } else {
                WriteValue(s->Next.get(), row - 2, text);
            }
        }
        break;
    default:
        break;
    }
}

namespace {

TableCell NumberCell(float value) {
    TableCell cell;
    if (std::isfinite(value)) {
        cell.kind = TableCell::Number;
        cell.value = value;
    }
    return cell;
}

TableCell DateTimeCell(TDateTime value) {
    TableCell cell;
    if (std::isfinite(value)) {
        cell.kind = TableCell::DateTime;
        cell.value = value;
    }
    return cell;
}

TableCell TextCell(std::string text) {
    TableCell cell;
    if (!text.empty()) {
        cell.kind = TableCell::Text;
        cell.text = std::move(text);
    }
    return cell;
}

} // namespace

TableCell TableText::Cell(int32_t col, int32_t row) const {
    if (type_ != ttEvent) {
        if (row == 0 || (type_ == ttCumulative && row == 1 && col == 0)) {
            // Headers and "Total" as the window has them, the two lines joined.
            std::string main, second;
            TextOut mainOut(main), secondOut(second);
            WriteCell(col, row, mainOut, secondOut);
            if (!second.empty())
                main += " " + second;
            return TextCell(std::move(main));
        }
        ++cellsComputed_;
        if (!group_ || col < 0 || row < 0)
            return {};
        float value;
        TDateTime time;
        if (col == 0 && type_ == ttHistoric) {
            if (timeSource_ && timeSource_->GetPoint(row - 1, value, time))
                return DateTimeCell(time);
        } else if (col == 0 && type_ == ttCumulative) {
            if (const LSession* session = group_->Session())
                return DateTimeCell(session->StartTime +
                                    IntervalsToDays(row - 2, session->IntervalMinutes() * 60));
        } else if (const LParameterSource* s = Visible(col - 1)) {
            // Cumulative: the total from the source, the intervals from its next source.
            const bool interval = type_ == ttCumulative && row >= 2;
            const LParameterSource* from = interval ? s->Next.get() : s;
            if (from && from->GetValue(interval ? row - 2 : row - 1, value))
                return NumberCell(value);
        }
        return {};
    }
    ++cellsComputed_;
    if (row == 0) {
        static const char* const headers[] = {"Parameter", "Value", "Unit", "Time"};
        return col >= 0 && col < 4 ? TextCell(headers[col]) : TableCell();
    }
    const LParameterSource* s = group_ ? Visible(row - 1) : nullptr;
    if (!s)
        return {};
    float value;
    TDateTime time;
    switch (col) {
    case 0:
        return TextCell(s->Label());
    case 1:
        if (s->GetPoint(0, value, time))
            return NumberCell(value);
        break;
    case 2:
        return TextCell(s->Parameter->ShortUnit());
    case 3:
        if (s->Parameter->TableType() == ttEvent && s->GetPoint(0, value, time))
            return DateTimeCell(time);
        break;
    default:
        break;
    }
    return {};
}

void TableText::WriteCsvCell(int32_t col, int32_t row, std::string& field) const {
    const TableCell cell = Cell(col, row);
    switch (cell.kind) {
    case TableCell::Text:
        field = cell.text;
        break;
    case TableCell::Number:
        PutCsvNumber(static_cast<float>(cell.value), field);
        break;
    case TableCell::DateTime:
        field += PlainDateTime(cell.value);
        break;
    case TableCell::Empty:
        break;
    }
}

int32_t TableText::ColCount(RowFormat format) const {
    return format == RowFormat::Csv && type_ == ttEvent ? 4 : colCount_;
}

void TableText::GetCellText(int32_t col, int32_t row, QString& text, QString& secondLine) const {
    std::string main, second;
    TextOut mainOut(main), secondOut(second);
    WriteCell(col, row, mainOut, secondOut);
    text = QString::fromStdString(main);
    secondLine = QString::fromStdString(second);
}

size_t TableText::GetRowText(int32_t row, char* buffer, RowFormat format) const {
    TextOut out(buffer);
    if (format == RowFormat::Tab) {
        for (int32_t col = 0; col < colCount_; ++col) {
            WriteCell(col, row, out, out);
            out.Put(col + 1 < colCount_ ? std::string_view("\t") : std::string_view("\r\n"));
        }
    } else {
        const int32_t cols = ColCount(RowFormat::Csv);
        std::string cell, field;
        for (int32_t col = 0; col < cols; ++col) {
            cell.clear();
            field.clear();
            WriteCsvCell(col, row, cell);
            AppendCsvField(field, cell);
            out.Put(field);
            out.Put(col + 1 < cols ? std::string_view(",") : std::string_view("\r\n"));
        }
    }
    if (buffer)
        buffer[out.Size()] = '\0';
    return out.Size();
}

std::string TableText::RowText(int32_t row, RowFormat format) const {
    std::string text(GetRowText(row, nullptr, format), '\0');
    GetRowText(row, text.data(), format);
    return text;
}
