#include "database/ParameterIndex.h"

#include "model/LParameterCollection.h"

#include <algorithm>

ParameterIndex::ParameterIndex(const LParameterCollection& parameters) {
    byId_.reserve(static_cast<size_t>(parameters.Count()));
    for (const auto& p : parameters)
        byId_.emplace_back(p->Id(), p.get());
    std::stable_sort(byId_.begin(), byId_.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
}

LParameter* ParameterIndex::Find(int32_t id) const {
    const auto at =
        std::lower_bound(byId_.begin(), byId_.end(), id,
                         [](const auto& entry, int32_t key) { return entry.first < key; });
    return at != byId_.end() && at->first == id ? at->second : nullptr;
}
