#include "model/PlainText.h"

#include <cmath>
#include <cstdio>

std::string PlainDateTime(TDateTime value) {
    if (!std::isfinite(value) || std::fabs(value) > 3.0e6)
        return {};
    // Whole seconds first, so that 23:59:59.5 turns the date over as it turns the clock.
    const DateTimeParts p =
        DecodeDateTime(static_cast<double>(std::llround(value * SecsPerDay)) / SecsPerDay);
    if (p.year < 1 || p.year > 9999)
        return {};
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", p.year, p.month, p.day,
                  p.hour, p.minute, p.second);
    return text;
}

void AppendCsvField(std::string& out, std::string_view field) {
    if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
        out.append(field);
        return;
    }
    out.push_back('"');
    for (const char c : field) {
        if (c == '"')
            out.push_back('"');
        out.push_back(c);
    }
    out.push_back('"');
}
