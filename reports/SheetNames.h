#pragma once

#include <set>
#include <string>

// The names of a workbook's sheets, as a spreadsheet takes them: at most 31 characters, each
// of []:*?/\ replaced by "_", no apostrophe at either end, never empty nor "History", and
// each unlike the others whatever their case: a name already given gets " (2)", " (3)", ...,
// the name shortened to make room.
class SheetNames {
public:
    static constexpr size_t Longest = 31;

    // A name made of wanted (shortened to leave room) and suffix, kept as given.
    std::string Take(const std::string& wanted, const std::string& suffix = {});

private:
    std::set<std::string> taken_; // in lower case
};
