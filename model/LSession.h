#pragma once

#include "model/DateTime.h"

#include <cstdint>
#include <string>

// What a recording is as a whole: who made it, where, and the instrument's settings.
class LSession {
public:
    std::string UserID;
    std::string Location;
    std::string Comments;
    uint8_t PhaseConfig = 0;
    uint8_t CTType = 0;
    uint8_t Rate = 0;
    uint8_t Interval = 0;
    uint8_t Mode = 0;
    TDateTime StartTime = 0;
    TDateTime EndTime = 0;
    int32_t ParameterCount = 0;
    int32_t EventPointMax = 0;
    int32_t HistoricPointMax = 0;
    int32_t DataLength = 0;
    TDateTime DateProduced = 0;
    int32_t InstrumentNumber = 0;
    std::string InstrumentText;
    std::string InstrumentShortText;
    int32_t InstrumentLongNumber = 0;

    const std::string& PhaseConfigName() const;
    const std::string& CTName() const;
    std::string RateText() const;
    int32_t RateSeconds() const;
    std::string IntervalName() const;
    int32_t IntervalMinutes() const;
    const std::string& ModeName() const;
};
