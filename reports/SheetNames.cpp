#include "reports/SheetNames.h"

#include <algorithm>
#include <cctype>
#include <string_view>

namespace {

bool Continues(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

size_t Characters(std::string_view text) {
    return static_cast<size_t>(
        std::count_if(text.begin(), text.end(), [](char c) { return !Continues(c); }));
}

// The first n characters of a UTF-8 text.
std::string Shortened(const std::string& text, size_t n) {
    size_t end = 0;
    for (size_t kept = 0; end < text.size(); ++end)
        if (!Continues(text[end]) && kept++ == n)
            break;
    return text.substr(0, end);
}

std::string Lower(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

} // namespace

std::string SheetNames::Take(const std::string& wanted, const std::string& suffix) {
    std::string base = wanted;
    for (char& c : base)
        if (std::string_view("[]:*?/\\").find(c) != std::string_view::npos)
            c = '_';
    if (!base.empty() && base.front() == '\'')
        base.front() = '_';
    if (base.empty() && suffix.empty())
        base = "Sheet";
    for (int n = 1;; ++n) {
        const std::string number = n == 1 ? std::string() : " (" + std::to_string(n) + ")";
        const size_t room = Longest - std::min(Longest, Characters(suffix) + number.size());
        std::string name = Shortened(base, room);
        if (!name.empty() && name.back() == '\'' && number.empty() && suffix.empty())
            name.back() = '_';
        name += number + suffix;
        const std::string key = Lower(name);
        if (key != "history" && taken_.insert(key).second)
            return name;
    }
}
