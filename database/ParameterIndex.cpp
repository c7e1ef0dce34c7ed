#include "database/ParameterIndex.h"

#include "model/LParameterCollection.h"

#include <bit>

ParameterIndex::ParameterIndex(const LParameterCollection& parameters) {
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
    for (size_t i = Home(id);; i = (i + 1) & (slots_.size() - 1)) {
        if (!slots_[i].parameter)
            return nullptr;
        if (slots_[i].id == id)
            return slots_[i].parameter;
    }
}
