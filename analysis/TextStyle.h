#pragma once

#include "model/DateTime.h"
#include "model/NumberFormat.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// How the analyses' texts write numbers and times. The windows and vrotool fill it from the
// user's locale (the numbers and date-time text the tables use); by default numbers are
// "12,345.67" and times "2024-03-11 09:30:01".
struct TextStyle {
    NumberFormat Numbers;
    // Given a time at a whole second.
    std::function<std::string(TDateTime)> DateTime;

    // "#,##0.00" with decimals digits after the point; "???" for a value that is not finite,
    // as the tables write one.
    std::string Number(double value, int decimals = 2) const {
        return Numbers.Fixed(value, decimals);
    }
    // A power or energy in its scaled unit: "25.13 kW", "18.55 MWh" (NumberFormat::Scaled).
    std::string Scaled(double value, std::string_view unit, int decimals = 2) const {
        return Numbers.Scaled(value, unit, decimals);
    }
    // A whole number with the group separator: "50,000".
    std::string Whole(int64_t value) const;
    std::string Time(TDateTime time) const;
};

// How rows of cells are joined: TAB between cells as the clipboard takes them, or commas with
// fields quoted as RFC 4180 asks; every row ends in CR LF, as the tables' rows do.
enum class CellFormat { Tab, Csv };
void AppendRow(std::string& out, const std::vector<std::string>& cells, CellFormat format);
