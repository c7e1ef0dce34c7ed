#include "model/LParameterSourceGroup.h"

#include "model/Auxilary.h"
#include "model/LParameter.h"

#include <algorithm>
#include <locale>

namespace {

int LocaleCompare(const std::string& a, const std::string& b) {
    static const std::locale locale = [] {
        try {
            return std::locale("");
        } catch (const std::runtime_error&) {
            return std::locale::classic();
        }
    }();
    const auto& collate = std::use_facet<std::collate<char>>(locale);
    return collate.compare(a.data(), a.data() + a.size(), b.data(), b.data() + b.size());
}

LParameterSourceGroup::LabelCompare& CurrentCompare() {
    static LParameterSourceGroup::LabelCompare compare = LocaleCompare;
    return compare;
}

int Weight(const LParameterSource& s) {
    switch (s.Parameter->TableType()) {
    case ttCumulative:
    case ttIntervalCumulative:
        return 2;
    case ttHistoric:
        return 1;
    default:
        return 0;
    }
}

} // namespace

LParameterSourceGroup::LParameterSourceGroup(LSession* session) : session_(session) {
    ++LiveInstances::ParameterSourceGroupCount;
}

LParameterSourceGroup::~LParameterSourceGroup() {
    items_.clear();
    --LiveInstances::ParameterSourceGroupCount;
}

LParameterSource* LParameterSourceGroup::Add(std::unique_ptr<LParameterSource> source) {
    items_.push_back(std::move(source));
    return items_.back().get();
}

void LParameterSourceGroup::Delete(int32_t i) {
    items_.erase(items_.begin() + i);
}
void LParameterSourceGroup::TakeSources(LParameterSourceGroup& other) {
    if (&other == this)
        return;
    for (auto& source : other.items_)
        items_.push_back(std::move(source));
    other.items_.clear();
}

void LParameterSourceGroup::Clear() {
    items_.clear();
}

void LParameterSourceGroup::SetSubset(int32_t from, int32_t to) {
    for (const auto& s : items_)
        s->SetSubset(from, to);
}

void LParameterSourceGroup::Sort() {
    const LabelCompare& compare = CurrentCompare();
    std::stable_sort(items_.begin(), items_.end(), [&](const auto& a, const auto& b) {
        const int wa = Weight(*a), wb = Weight(*b);
        if (wa != wb)
            return wa > wb;
        return compare(a->Label(), b->Label()) < 0;
    });
}

const LParameterSource* LParameterSourceGroup::FindIntervalTwin(const LParameter& total) const {
    const LTableType type = total.TableType();
    if (type != ttEvent && type != ttCumulative)
        return nullptr;
    // The interval types follow their totals' types by two.
    const auto intervalType = static_cast<LTableType>(type + 2);
    for (const auto& s : items_) {
        const LParameter* p = s->Parameter;
        if (p && p->TableType() == intervalType && p->Quantity() == total.Quantity() &&
            p->Unit() == total.Unit() && p->Channel() == total.Channel())
            return s.get();
    }
    return nullptr;
}

void LParameterSourceGroup::ChainIntervalTwins(const LParameterSourceGroup& candidates) {
    for (const auto& s : items_) {
        if (s->Next || !s->Parameter)
            continue;
        if (const LParameterSource* twin = candidates.FindIntervalTwin(*s->Parameter)) {
            s->Next = std::make_unique<LParameterSource>(*twin);
            s->Next->Selected = true;
        }
    }
}

int32_t LParameterSourceGroup::SelectedCount() const {
    return static_cast<int32_t>(
        std::count_if(items_.begin(), items_.end(), [](const auto& s) { return s->Selected; }));
}

LParameterSource* LParameterSourceGroup::Selected(int32_t n) const {
    for (const auto& s : items_)
        if (s->Selected && n-- == 0)
            return s.get();
    return nullptr;
}

void LParameterSourceGroup::SetLabelCompare(LabelCompare compare) {
    CurrentCompare() = compare ? std::move(compare) : LocaleCompare;
}
