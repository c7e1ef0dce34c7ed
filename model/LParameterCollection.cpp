#include "model/LParameterCollection.h"

#include "model/Auxilary.h"
#include "model/ErrorReport.h"

LParameterCollection::LParameterCollection() {
    ++LiveInstances::ParameterCollectionCount;
}
LParameterCollection::~LParameterCollection() {
    items_.clear();
    --LiveInstances::ParameterCollectionCount;
}

LParameter* LParameterCollection::Add(std::unique_ptr<LParameter> parameter) {
    items_.push_back(std::move(parameter));
    return items_.back().get();
}

LParameter* LParameterCollection::FindById(int32_t id) const {
    for (const auto& p : items_)
        if (p->Id() == id)
            return p.get();
    return nullptr;
}

int32_t LParameterCollection::NewId() {
    constexpr int32_t IdRange = 32767;
    if (Count() >= IdRange)
        Raise("No free parameter Id");
    for (;;) {
        const auto id = static_cast<int32_t>(random_() % IdRange);
        if (!FindById(id))
            return id;
    }
}
