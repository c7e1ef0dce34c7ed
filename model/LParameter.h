#pragma once

#include "model/DateTime.h"
#include "model/ParameterTable.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

class ValueSummary;

// One recorded series: its values and, for every table type but Historic, a time per value.
class LParameter {
public:
    LParameter();
    ~LParameter();
    LParameter(const LParameter&) = delete;
    LParameter& operator=(const LParameter&) = delete;

    // Copies the caller's arrays; times are read only when the entry's table type is not
    // Historic. The four codes come from the catalogue entry.
    void SetData(int32_t rate, int32_t index, const TDateTime* times, const float* values,
                 int32_t count, float headerA, float headerB);
    // The same, taking over arrays the caller has filled (the parser avoids a second copy).
    void SetData(int32_t rate, int32_t index, std::unique_ptr<TDateTime[]> times,
                 std::unique_ptr<float[]> values, int32_t count, float headerA, float headerB);

    // The fields exactly as a database file stores them; the codes are taken as stored and
    // times are expected exactly when the stored table type is not Historic.
    struct Record {
        int32_t id;
        int32_t index;
        TDateTime startTime;
        int32_t rate;
        LTableType tableType;
        uint8_t quantity, unit, channel;
        float headerA, headerB;
        int32_t count;
    };
    void SetRecord(const Record& record, std::unique_ptr<float[]> values,
                   std::unique_ptr<TDateTime[]> times);
    Record GetRecord() const;

    // False when i is not a point of the series.
    bool GetPoint(int32_t i, float& value, TDateTime& time) const;
    bool GetValue(int32_t i, float& value) const;

    int32_t Rate() const { return rate_; }
    TDateTime StartTime() const { return startTime_; }
    void SetStartTime(TDateTime t) { startTime_ = t; }
    int32_t Index() const { return index_; }
    int32_t Id() const { return id_; }
    void SetId(int32_t id) { id_ = id; }
    LTableType TableType() const { return tableType_; }
    uint8_t Quantity() const { return quantity_; }
    uint8_t Unit() const { return unit_; }
    uint8_t Channel() const { return channel_; }
    int32_t Count() const { return count_; }
    float HeaderA() const { return headerA_; }
    float HeaderB() const { return headerB_; }
    // Meaningless for a parameter without points.
    float Minimum() const { return minimum_; }
    float Maximum() const { return maximum_; }
    // The lowest and highest value that is a number: the same but for the NaN samples (the
    // gaps between joined recordings), which Minimum lets in. NaN when there is none.
    float Lowest() const { return lowest_; }
    float Highest() const { return highest_; }
    const float* Values() const { return values_.get(); }
    const TDateTime* Times() const { return times_.get(); }
    // The values' blocks, made by the first caller (callers on other threads wait for it) and
    // dropped when the values change.
    const ValueSummary& Summary() const;

    const std::string& Name() const { return ParameterName(index_); }
    const std::string& ShortUnit() const { return ParameterShortUnit(index_); }
    const std::string& ChannelLabel() const { return ParameterChannelLabel(index_); }
    const std::string& TableTypeName() const { return ParameterTableTypeName(index_); }
    int32_t Kind() const { return ParameterKind(index_); }

private:
    void ComputeMinMax();

    int32_t rate_ = 0;
    TDateTime startTime_ = 0;
    std::unique_ptr<float[]> values_;
    std::unique_ptr<TDateTime[]> times_;
    int32_t index_ = 0;
    int32_t id_ = 0;
    LTableType tableType_ = 0;
    uint8_t quantity_ = 0;
    uint8_t unit_ = 0;
    uint8_t channel_ = 0;
    int32_t count_ = 0;
    float headerA_ = 0;
    float headerB_ = 0;
    float minimum_ = 0;
    float maximum_ = 0;
    float lowest_ = 0;
    float highest_ = 0;
    mutable std::mutex summaryMade_;
    mutable std::unique_ptr<const ValueSummary> summary_;
};
