#pragma once

#include "model/LParameterSource.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class LParameter;
class LSession;

// An ordered list of sources that owns them: what one table or chart shows.
class LParameterSourceGroup {
public:
    explicit LParameterSourceGroup(LSession* session);
    ~LParameterSourceGroup();
    LParameterSourceGroup(const LParameterSourceGroup&) = delete;
    LParameterSourceGroup& operator=(const LParameterSourceGroup&) = delete;

    LParameterSource* Add(std::unique_ptr<LParameterSource> source);
    void Delete(int32_t i);
    void Clear();
    // Appends every source of other, in order, leaving other empty.
    void TakeSources(LParameterSourceGroup& other);
    int32_t Count() const { return static_cast<int32_t>(items_.size()); }
    LParameterSource* Items(int32_t i) const { return items_.at(static_cast<size_t>(i)).get(); }
    LSession* Session() const { return session_; }

    void SetSubset(int32_t from, int32_t to);
    // Cumulative types first, then Historic, then the event types; by label within each.
    void Sort();

    // The source whose parameter holds the intervals of total's parameter: the same quantity,
    // unit and channel under the interval type (Interval event for Event, Interval cumulative
    // for Cumulative). Null when there is none, or for a parameter of another type.
    const LParameterSource* FindIntervalTwin(const LParameter& total) const;
    // Gives every Event and Cumulative source without a next source a copy of its interval
    // twin from candidates as next source, so that a table shows its total and its intervals.
    void ChainIntervalTwins(const LParameterSourceGroup& candidates);

    int32_t SelectedCount() const;
    // The n-th selected source counting from 0, or null.
    LParameterSource* Selected(int32_t n) const;

    // How labels compare when sorting: < 0, 0, > 0. By default the collation of the user's
    // locale (case-sensitive); the windowed program may install its own.
    using LabelCompare = std::function<int(const std::string&, const std::string&)>;
    static void SetLabelCompare(LabelCompare compare);

    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

private:
    std::vector<std::unique_ptr<LParameterSource>> items_;
    LSession* session_;
};
