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
    // Open addressing with linear probing, at most half full: one or two probes per lookup
    // in one flat array, whatever the number of parameters.
    struct Slot {
        int32_t id;
        LParameter* parameter; // null: an empty slot
    };
    size_t Home(int32_t id) const;

    std::vector<Slot> slots_;
};
