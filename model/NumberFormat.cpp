#include "model/NumberFormat.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <iterator>

NumberFormat NumberFormat::Plain() {
    NumberFormat plain;
    plain.GroupSeparator.clear();
    plain.Group = 0;
    return plain;
}

namespace {

// Drops the last digit of the text from digits to end and carries one into the digits before
// it ("9.995" to "10.00", "0.5" to "1" without a point). Returns the new end.
char* DropAndCarry(char* digits, char* end, bool pointBefore) {
    --end;
    if (pointBefore)
        --end;
    char* d = end;
    while (d > digits && (d[-1] == '9' || d[-1] == '.')) {
        if (d[-1] == '9')
            d[-1] = '0';
        --d;
    }
    if (d > digits && d[-1] != '-') {
        ++d[-1];
    } else {
        std::memmove(d + 1, d, static_cast<size_t>(end - d));
        *d = '1';
        ++end;
    }
    return end;
}

// The value with decimals digits after the point, a tie rounded away from zero as a person
// rounds (0.125 to 0.13), not to even as the C library does. Returns the end of the text.
char* RoundedDigits(char* digits, char* last, double value, int decimals) {
    // One digit more, correctly rounded: any last digit but 5 rounds the same from it as from
    // the value. Behind a 5, a double that is not exactly on the tie differs from it within
    // about 2 × decimals + 25 digits, so 46 more show whether it is.
    char* end = std::to_chars(digits, last, value, std::chars_format::fixed, decimals + 1).ptr;
    if (end[-1] == '5') {
        char longer[400 + 46];
        const char* longEnd = std::to_chars(longer, longer + sizeof longer, value,
                                            std::chars_format::fixed, decimals + 1 + 46)
                                  .ptr;
        const char* rest = longer + (end - digits);
        const bool tie = std::equal(digits, end, longer) &&
                         std::all_of(rest, longEnd, [](char c) { return c == '0'; });
        if (!tie)
            return std::to_chars(digits, last, value, std::chars_format::fixed, decimals).ptr;
    }
    if (end[-1] >= '5')
        return DropAndCarry(digits, end, decimals == 0);
    return end - 1 - (decimals == 0);
}

} // namespace

size_t NumberFormat::Write(char* out, double value, int decimals) const {
    if (!std::isfinite(value)) {
        std::memcpy(out, "???", 3);
        return 3;
    }
    decimals = std::clamp(decimals, 0, MaxDecimals);
    char digits[400];
    const char* end = RoundedDigits(digits, digits + sizeof digits - 1, value, decimals);
    const char* p = digits;
    size_t n = 0;
    if (*p == '-') {
        ++p;
        // -0.001 rounds to 0.00, which has no sign.
        if (std::any_of(p, end, [](char c) { return c >= '1' && c <= '9'; }))
            out[n++] = '-';
    }
    const char* point = decimals > 0 ? end - decimals - 1 : end;
    const auto whole = static_cast<int>(point - p);
    const bool grouped = Group > 0 && whole >= GroupFrom && !GroupSeparator.empty();
    // The digits left before the next separator, counted from the left.
    int next = whole;
    if (grouped) {
        const int above = whole - Group;
        const int higher = HigherGroups > 0 ? HigherGroups : Group;
        next = above <= 0 ? whole : (above % higher == 0 ? higher : above % higher);
    }
    for (int i = 0; i < whole; ++i) {
        if (grouped && i == next) {
            std::memcpy(out + n, GroupSeparator.data(), GroupSeparator.size());
            n += GroupSeparator.size();
            next += whole - i > Group ? (HigherGroups > 0 ? HigherGroups : Group) : Group;
        }
        out[n++] = p[i];
    }
    if (decimals > 0) {
        std::memcpy(out + n, DecimalPoint.data(), DecimalPoint.size());
        n += DecimalPoint.size();
        std::memcpy(out + n, point + 1, static_cast<size_t>(decimals));
        n += static_cast<size_t>(decimals);
    }
    return n;
}

size_t NumberFormat::Append(std::string& out, double value, int decimals) const {
    const size_t at = out.size();
    // The separators are the only part that can be long; size for the text at hand.
    char digits[400];
    const size_t room = std::isfinite(value)
                            ? static_cast<size_t>(std::to_chars(digits, digits + sizeof digits,
                                                                value, std::chars_format::fixed)
                                                      .ptr -
                                                  digits) *
                                      (1 + GroupSeparator.size()) +
                                  DecimalPoint.size() + MaxDecimals + 2
                            : 3;
    out.resize(at + room);
    out.resize(at + Write(out.data() + at, value, decimals));
    return out.size() - at;
}

std::string NumberFormat::Fixed(double value, int decimals) const {
    std::string text;
    Append(text, value, decimals);
    return text;
}

ScaledUnit ScaleOf(double value, std::string_view unit, double rounding) {
    struct Family {
        std::string_view Base, Kilo, Mega;
    };
    static constexpr Family families[] = {{"W", "kW", "MW"},          {"WH", "kWh", "MWh"},
                                          {"Wh", "kWh", "MWh"},       {"var", "kvar", "Mvar"},
                                          {"VAR", "kvar", "Mvar"},    {"VA", "kVA", "MVA"},
                                          {"VARH", "kvarh", "Mvarh"}, {"varh", "kvarh", "Mvarh"},
                                          {"VAH", "kVAh", "MVAh"},    {"VAh", "kVAh", "MVAh"}};
    const auto family = std::find_if(std::begin(families), std::end(families),
                                     [&](const Family& f) { return f.Base == unit; });
    if (family == std::end(families))
        return {1, std::string(unit)};
    // Not a number: kilo, as the rest of the column.
    if (!(std::fabs(value) + rounding * 1e3 >= 1e7))
        return {1e3, std::string(family->Kilo)};
    return {1e6, std::string(family->Mega)};
}

std::string NumberFormat::Scaled(double value, std::string_view unit, int decimals) const {
    const double rounding = 0.5 * std::pow(10.0, -std::clamp(decimals, 0, MaxDecimals));
    const ScaledUnit scale = ScaleOf(value, unit, rounding);
    std::string text = Fixed(value / scale.Divisor, decimals);
    if (!scale.Unit.empty())
        text += " " + scale.Unit;
    return text;
}
