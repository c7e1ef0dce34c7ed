#pragma once

#include <cstdint>
#include <string>

// The layout of a recorded series; one byte in every record.
using LTableType = uint8_t;
constexpr LTableType ttHistoric = 0;
constexpr LTableType ttEvent = 1;
constexpr LTableType ttCumulative = 2;
constexpr LTableType ttIntervalEvent = 3;
constexpr LTableType ttIntervalCumulative = 4;

// Quantity codes the instrument sends that the parser treats specially.
constexpr uint8_t qEnergy = 9;
constexpr uint8_t qDemand = 10;
constexpr uint8_t uWattHours = 6;
constexpr uint8_t chThreePhase = 25;

// One row of the catalogue. The row order is part of the database file format.
struct ParameterEntry {
    LTableType tableType;
    uint8_t quantity;
    uint8_t unit;
    uint8_t channel;
    int32_t kind;
    int nameSlot; // 0-22, the parameter name's string id minus 26
};

constexpr int ParameterTableSize = 191;

// Loads every text of the catalogue from the string table. Safe to call more than once;
// the accessors below call it themselves if nobody has.
void InitCatalogue();

const ParameterEntry& CatalogueEntry(int index); // index 0-190

// The catalogue index of the combination, or -1. The interval takes no part in the lookup.
int FindParameter(uint8_t phaseConfig, uint8_t interval, uint8_t tableType, uint8_t quantity,
                  uint8_t unit, uint8_t channel);

// Entry accessors by catalogue index; an index outside 0-190 yields 0 or an empty text.
LTableType ParameterTableType(int index);
uint8_t ParameterQuantity(int index);
uint8_t ParameterUnit(int index);
uint8_t ParameterChannel(int index);
int32_t ParameterKind(int index);
const std::string& ParameterName(int index);
const std::string& ParameterTableTypeName(int index);
const std::string& ParameterLongUnit(int index);
const std::string& ParameterShortUnit(int index);
const std::string& ParameterChannelLabel(int index);

// Texts by code; a code without a text yields an empty one.
const std::string& TableTypeName(LTableType type);
const std::string& LongUnitName(uint8_t unit);
const std::string& ShortUnitName(uint8_t unit);
const std::string& ChannelLabel(uint8_t channel);

// Recording-level texts and tables, by the codes a recording stores.
const std::string& PhaseConfigName(uint8_t code);
const std::string& CTName(uint8_t code);
int32_t RateSeconds(uint8_t code);  // 0 for a code outside 0-7
std::string RateText(uint8_t code); // "60 sec."
std::string IntervalName(uint8_t code);
int32_t IntervalMinutes(uint8_t code); // 0 for a code outside 0-2
const std::string& ModeName(uint8_t code);
