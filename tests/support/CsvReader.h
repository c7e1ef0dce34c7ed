#pragma once

#include <string>
#include <vector>

using CsvRows = std::vector<std::vector<std::string>>;

// The records of an RFC 4180 text as a spreadsheet reads them: fields split at commas outside
// quotes, doubled quotes as one, records ending in CR LF.
inline CsvRows ReadCsv(const std::string& text) {
    CsvRows rows(1, std::vector<std::string>(1));
    bool quoted = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        std::string& field = rows.back().back();
        if (quoted && c == '"' && text.compare(i, 2, "\"\"") == 0)
            field += text[i++];
        else if (c == '"')
            quoted = !quoted;
        else if (!quoted && c == ',')
            rows.back().emplace_back();
        else if (!quoted && text.compare(i, 2, "\r\n") == 0)
            rows.emplace_back(1), ++i;
        else
            field += c;
    }
    rows.pop_back(); // after the last CR LF
    return rows;
}
