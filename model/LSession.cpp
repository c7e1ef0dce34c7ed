#include "model/LSession.h"

#include "model/ParameterTable.h"

const std::string& LSession::PhaseConfigName() const {
    return ::PhaseConfigName(PhaseConfig);
}
const std::string& LSession::CTName() const {
    return ::CTName(CTType);
}
std::string LSession::RateText() const {
    return ::RateText(Rate);
}
int32_t LSession::RateSeconds() const {
    return ::RateSeconds(Rate);
}
std::string LSession::IntervalName() const {
    return ::IntervalName(Interval);
}
int32_t LSession::IntervalMinutes() const {
    return ::IntervalMinutes(Interval);
}
const std::string& LSession::ModeName() const {
    return ::ModeName(Mode);
}
