#pragma once

#include "model/LParameter.h"

#include <cstdint>
#include <memory>
#include <random>
#include <vector>

// The parameters of one recording, in the order the recording delivered them. Owns them.
class LParameterCollection {
public:
    LParameterCollection();
    ~LParameterCollection();
    LParameterCollection(const LParameterCollection&) = delete;
    LParameterCollection& operator=(const LParameterCollection&) = delete;

    LParameter* Add(std::unique_ptr<LParameter> parameter);
    int32_t Count() const { return static_cast<int32_t>(items_.size()); }
    LParameter* Items(int32_t i) const { return items_.at(static_cast<size_t>(i)).get(); }
    LParameter* FindById(int32_t id) const;
    // A pseudo-random id 0-32766 that no parameter of the collection has yet.
    int32_t NewId();

    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

private:
    std::vector<std::unique_ptr<LParameter>> items_;
    std::minstd_rand random_;
};
