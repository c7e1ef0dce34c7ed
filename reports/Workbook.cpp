#include "reports/Workbook.h"

#include "model/ErrorReport.h"

#include <xlsxwriter.h>

#include <algorithm>
#include <charconv>
#include <cmath>

namespace {

constexpr TDateTime FirstDay = 61;         // 1900-03-01: the spreadsheet counts 1900 as a leap year
constexpr TDateTime PastLastDay = 2958466; // 10000-01-01
constexpr size_t LongestText = 32767;
constexpr double WidestColumn = 80;

const char* const NumberFormats[Workbook::StyleCount] = {
    nullptr, nullptr, "#,##0.00", "#,##0", "0.000", "0.00%", "yyyy-mm-dd hh:mm:ss", "yyyy-mm-dd"};

// The characters of a UTF-8 text.
size_t Characters(const std::string& text) {
    return static_cast<size_t>(
        std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

// How many characters a number takes in the style.
double NumberWidth(double value, Workbook::Style style) {
    if (style == Workbook::Percent)
        value *= 100;
    const double magnitude = std::fabs(value);
    const int digits = magnitude < 10 ? 1 : static_cast<int>(std::floor(std::log10(magnitude))) + 1;
    const int sign = value < 0 ? 1 : 0;
    switch (style) {
    case Workbook::Number:
        return digits + (digits - 1) / 3 + 3 + sign;
    case Workbook::Whole:
        return digits + (digits - 1) / 3 + sign;
    case Workbook::Ratio:
    case Workbook::Percent:
        return digits + 4 + sign;
    default:
        return 11; // the general format's widest
    }
}

} // namespace

Workbook::Workbook(const std::string& fileName, const std::string& tmpDir)
    : fileName_(fileName), tmpDir_(tmpDir) {
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    options.tmpdir = tmpDir_.empty() ? nullptr : tmpDir_.data();
    book_ = workbook_new_opt(fileName_.c_str(), &options);
    if (!book_)
        Raise("The workbook could not be made");
    for (int s = 0; s < StyleCount; ++s) {
        styles_[s] = workbook_add_format(book_);
        if (s == Bold)
            format_set_bold(styles_[s]);
        if (NumberFormats[s])
            format_set_num_format(styles_[s], NumberFormats[s]);
    }
}

Workbook::~Workbook() {
    if (book_)
        lxw_workbook_free(book_);
}

void Workbook::Check(int error) const {
    if (error != LXW_NO_ERROR)
        Raise(std::string("The workbook could not be written: ") +
              lxw_strerror(static_cast<lxw_error>(error)));
}

Workbook::Sheet Workbook::AddSheet(const std::string& name) {
    lxw_worksheet* sheet = workbook_add_worksheet(book_, name.c_str());
    if (!sheet)
        Raise("No sheet named \"" + name + "\" could be added to the workbook");
    return Sheet(*this, sheet, name);
}

void Workbook::AddLineChart(const std::string& name, const std::string& title, const Sheet& data,
                            uint32_t rows, uint16_t seriesCount) {
    lxw_chart* chart = workbook_add_chart(book_, LXW_CHART_SCATTER_STRAIGHT);
    lxw_chartsheet* sheet = workbook_add_chartsheet(book_, name.c_str());
    if (!chart || !sheet)
        Raise("The chart \"" + name + "\" could not be added to the workbook");
    const char* from = data.Name().c_str();
    for (uint16_t col = 1; col <= seriesCount; ++col) {
        lxw_chart_series* series = chart_add_series(chart, nullptr, nullptr);
        if (!series)
            Raise("The chart \"" + name + "\" takes no more series");
        chart_series_set_categories(series, from, 1, 0, rows, 0);
        chart_series_set_values(series, from, 1, col, rows, col);
        chart_series_set_name_range(series, from, 0, col);
    }
    // A title starting with "=" would be taken for a reference.
    if (!title.empty() && title[0] != '=')
        chart_title_set_name(chart, title.c_str());
    chart_axis_set_num_format(chart->x_axis, "yyyy-mm-dd hh:mm");
    chart_legend_set_position(chart, LXW_CHART_LEGEND_BOTTOM);
    Check(chartsheet_set_chart(sheet, chart));
}

void Workbook::Close() {
    lxw_workbook* book = book_;
    book_ = nullptr;
    Check(workbook_close(book));
}

void Workbook::Sheet::Measure(uint16_t col, double width) {
    if (col >= widths_.size())
        widths_.resize(col + 1u, 0);
    widths_[col] = std::max(widths_[col], width);
}

void Workbook::Sheet::Text(uint32_t row, uint16_t col, const std::string& text, Style style) {
    if (text.empty())
        return;
    const std::string& cell = text.size() > LongestText ? text.substr(0, LongestText) : text;
    book_->Check(worksheet_write_string(sheet_, row, col, cell.c_str(), book_->styles_[style]));
    Measure(col, static_cast<double>(Characters(cell)) * (style == Bold ? 1.1 : 1));
}

void Workbook::Sheet::Line(uint32_t row, uint16_t col, const std::string& text) {
    if (text.empty())
        return;
    const double width = col < widths_.size() ? widths_[col] : 0;
    Text(row, col, text);
    widths_[col] = width;
}

void Workbook::Sheet::Number(uint32_t row, uint16_t col, double value, Style style) {
    if (!std::isfinite(value))
        return;
    book_->Check(worksheet_write_number(sheet_, row, col, value, book_->styles_[style]));
    Measure(col, NumberWidth(value, style));
}

void Workbook::Sheet::Value(uint32_t row, uint16_t col, float value, Style style) {
    if (!std::isfinite(value))
        return;
    char text[32];
    const char* end = std::to_chars(text, text + sizeof text, value).ptr;
    double decimal = value;
    std::from_chars(text, end, decimal);
    Number(row, col, decimal, style);
}

void Workbook::Sheet::DateTime(uint32_t row, uint16_t col, TDateTime value, Style style) {
    if (!std::isfinite(value) || value < FirstDay || value >= PastLastDay)
        return;
    const double second = std::round(value * SecsPerDay) / SecsPerDay;
    book_->Check(worksheet_write_number(sheet_, row, col, second, book_->styles_[style]));
    Measure(col, style == Date ? 10 : 19);
}

void Workbook::Sheet::Freeze(uint32_t row, uint16_t col) {
    worksheet_freeze_panes(sheet_, row, col);
}

void Workbook::Sheet::Filter(uint32_t firstRow, uint16_t firstCol, uint32_t lastRow,
                             uint16_t lastCol) {
    book_->Check(worksheet_autofilter(sheet_, firstRow, firstCol, lastRow, lastCol));
}

void Workbook::Sheet::FitColumns() {
    for (size_t col = 0; col < widths_.size(); ++col)
        if (widths_[col] > 0)
            book_->Check(worksheet_set_column(sheet_, static_cast<lxw_col_t>(col),
                                              static_cast<lxw_col_t>(col),
                                              std::min(widths_[col] + 2, WidestColumn), nullptr));
}
