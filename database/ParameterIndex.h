#pragma once

#include <cstdint>
#include <utility>
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
    std::vector<std::pair<int32_t, LParameter*>> byId_; // sorted by id, stable
};
