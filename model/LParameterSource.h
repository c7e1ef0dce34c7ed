#pragma once

#include "model/DateTime.h"

#include <cstdint>
#include <memory>
#include <string>

class LParameter;

// A view of one parameter as a table or chart shows it: selected or not, and optionally
// limited to the points of a time range.
class LParameterSource {
public:
    LParameterSource();
    explicit LParameterSource(LParameter* parameter);
    // Copies the view; the chain stays with the original.
    LParameterSource(const LParameterSource& other);
    LParameterSource& operator=(const LParameterSource&) = delete;
    ~LParameterSource();

    // Limits the view to sample periods from..to (inclusive) since the recording's start.
    // Raises "Invalid index" when to < from.
    void SetSubset(int32_t from, int32_t to);

    int32_t GetCount() const;
    // i counts within the view; false outside it.
    bool GetPoint(int32_t i, float& value, TDateTime& time) const;
    bool GetValue(int32_t i, float& value) const;
    bool GetFirst(float& value, TDateTime& time) const;
    bool GetLast(float& value, TDateTime& time) const;
    // "RMS Voltage - V1"
    std::string Label() const;

    // A chained source, owned by this one; only read from files.
    std::unique_ptr<LParameterSource> Next;
    bool Selected = true;
    LParameter* Parameter = nullptr;
    bool HasData = false;
    bool SubsetActive = false;
    int32_t First = 0;
    int32_t Last = 0;

private:
    int32_t ParameterIndex(int32_t i) const;
};
