#pragma once

#include "model/ErrorReport.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

// The table or chart of a database file that the command line names, by its place in the
// file's list (from 1) or by its caption; raises the program's message when there is none.
// kind is "table" or "chart".
template <class Record>
Record& FindItem(const std::vector<std::unique_ptr<Record>>& items, const std::string& kind,
                 const std::optional<long long>& index,
                 const std::optional<std::string>& caption = std::nullopt) {
    if (index) {
        if (*index < 1 || *index > static_cast<long long>(items.size()))
            Raise("No " + kind + " " + std::to_string(*index) + ": the file has " +
                  std::to_string(items.size()) + " " + kind + (items.size() == 1 ? "" : "s"));
        return *items[static_cast<size_t>(*index - 1)];
    }
    for (const auto& item : items)
        if (caption && item->Caption == *caption)
            return *item;
    Raise("No " + kind + " captioned \"" + caption.value_or("") + "\"");
}
