#include "database/ParameterIndex.h"

#include "model/LParameterCollection.h"

#include <algorithm>
#include <bit>

ParameterIndex::ParameterIndex(const LParameterCollection& parameters) {
    if (parameters.Count() == 0)
        return;
    int64_t highest = INT32_MIN;
    lowest_ = INT32_MAX;
    for (const auto& p : parameters) {
        lowest_ = std::min<int64_t>(lowest_, p->Id());
        highest = std::max<int64_t>(highest, p->Id());
    }
    const int64_t range = highest - lowest_ + 1;
    if (range <= std::max<int64_t>(4 * int64_t{parameters.Count()}, 32768)) {
        direct_.assign(static_cast<size_t>(range), nullptr);
        for (const auto& p : parameters) {
            LParameter*& entry = direct_[static_cast<size_t>(p->Id() - lowest_)];
            if (!entry)
                entry = p.get();
        }
        return;
    }
    slots_.assign(std::bit_ceil(2 * static_cast<size_t>(parameters.Count()) + 1), Slot{0, nullptr});
    for (const auto& p : parameters) {
        size_t i = Home(p->Id());
        while (slots_[i].parameter && slots_[i].id != p->Id())
            i = (i + 1) & (slots_.size() - 1);
        if (!slots_[i].parameter)
            slots_[i] = {p->Id(), p.get()};
    }
}

size_t ParameterIndex::Home(int32_t id) const {
    // Fibonacci hashing: neighbouring ids land far apart.
    const uint64_t h = static_cast<uint32_t>(id) * 0x9E3779B97F4A7C15ull;
    return static_cast<size_t>(h >> 32) & (slots_.size() - 1);
}

LParameter* ParameterIndex::Find(int32_t id) const {
    if (slots_.empty()) {
        const int64_t at = id - lowest_;
        return at >= 0 && at < static_cast<int64_t>(direct_.size())
                   ? direct_[static_cast<size_t>(at)]
                   : nullptr;
    }
    for (size_t i = Home(id);; i = (i + 1) & (slots_.size() - 1)) {
        if (!slots_[i].parameter)
            return nullptr;
        if (slots_[i].id == id)
            return slots_[i].parameter;
    }
}
