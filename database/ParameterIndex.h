#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class LParameter;
class LParameterCollection;

// The parameters of a collection by id, made once per load: binding each stored source then
// costs a lookup, not a search of every parameter. Of parameters sharing an id (a damaged
// file) the first in collection order is found, as a search from the front finds it.
class ParameterIndex {
public:
    explicit ParameterIndex(const LParameterCollection& parameters);
    // Null when no parameter has the id.
    LParameter* Find(int32_t id) const;

private:
    // Ids close together (the program draws them from 0 to 32766) index a flat table
    // directly; scattered ones go to a hash table with linear probing, at most half full.
    // Either is one flat array, kept small so that lookups stay in the cache.
    struct Slot {
        int32_t id;
        LParameter* parameter; // null: an empty slot
    };
    size_t Home(int32_t id) const;

    int64_t lowest_ = 0;
    std::vector<LParameter*> direct_;
    std::vector<Slot> slots_;
};
