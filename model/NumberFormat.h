#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// How a number is written for a person: "#,##0.00", the separators and the grouping of the
// user's locale (filled from it once by the drawing layer's LocaleNumbers), the digits always
// 0 to 9. Plain() is the form files for other programs take: a point and no grouping. The
// text never depends on the C library's locale.
struct NumberFormat {
    std::string DecimalPoint = ".";
    std::string GroupSeparator = ",";
    // Digits in the group next to the point, 0 for no grouping; in each group above it (2 in
    // India); and the fewest digits of a whole part that is grouped at all (5 in Spain, where
    // 1234 stays whole).
    int Group = 3;
    int HigherGroups = 3;
    int GroupFrom = 4;

    static NumberFormat Plain();

    // The value with decimals digits after the point (at most MaxDecimals), rounded to the
    // nearest; "-0.00" loses its sign. "???" for a value that is not finite.
    std::string Fixed(double value, int decimals = 2) const;
    // The same appended to out; returns the number of bytes appended.
    size_t Append(std::string& out, double value, int decimals = 2) const;
    // The same into a buffer of at least MaxLength bytes, without a NUL; returns the length.
    size_t Write(char* out, double value, int decimals = 2) const;

    // A power, energy, reactive or apparent power given in its base unit ("W", "WH" or "Wh",
    // "var" or "VAR", "VA", "VARH", "VAH") in the unit a person reads it in: its kilo, and its
    // mega from 10 000 kilo ("18.55 MWh", "25.13 kW", "0.80 kW", "0 kvar"); any other unit as
    // given.
    std::string Scaled(double value, std::string_view unit, int decimals = 2) const;

    static constexpr int MaxDecimals = 17;
    // The longest text: 309 digits, a group separator of up to 8 bytes before every digit
    // but the first, the sign, the point and the decimals.
    static constexpr size_t MaxLength = 309 * 9 + 1 + 8 + MaxDecimals;
};

// The unit a value of the base unit is written in (Scaled), and what the value is divided by.
struct ScaledUnit {
    double Divisor = 1;
    std::string Unit;
};
// rounding: half the last digit written, so that 999.996 W at two decimals is "1.00 kW".
ScaledUnit ScaleOf(double value, std::string_view unit, double rounding = 0);
