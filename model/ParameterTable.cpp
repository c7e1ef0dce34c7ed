#include "model/ParameterTable.h"

#include "resources/StringTable.h"

#include <array>
#include <initializer_list>
#include <mutex>
#include <vector>

namespace {

const std::initializer_list<uint8_t> VCH = {1, 2, 3, 12, 13, 14, 15, 16, 17};
const std::initializer_list<uint8_t> ICH = {4, 5, 6, 7, 18, 19, 20, 21};
const std::initializer_list<uint8_t> PCH = {8, 9, 22, 23, 24};
const std::initializer_list<uint8_t> TOTAL = {25};

struct Block {
    LTableType type;
    uint8_t quantity, unit;
    std::initializer_list<uint8_t> channels;
    int32_t kind;
    int nameId;
};

std::vector<ParameterEntry> BuildEntries() {
    const Block blocks[] = {
        {ttHistoric, 0, 0, VCH, 0, 26},
        {ttHistoric, 0, 1, ICH, 1, 27},
        {ttHistoric, 1, 2, PCH, 10, 29},
        {ttHistoric, 1, 2, TOTAL, 15, 33},
        {ttHistoric, 2, 3, PCH, 11, 30},
        {ttHistoric, 2, 3, TOTAL, 16, 34},
        {ttHistoric, 3, 4, PCH, 12, 28},
        {ttHistoric, 3, 4, TOTAL, 17, 32},
        {ttHistoric, 4, 5, PCH, 13, 31},
        {ttHistoric, 4, 5, TOTAL, 18, 35},
        {ttEvent, 5, 0, VCH, 2, 38},
        {ttEvent, 6, 0, VCH, 4, 39},
        {ttEvent, 5, 1, ICH, 3, 40},
        {ttEvent, 6, 1, ICH, 5, 41},
        {ttEvent, 7, 0, VCH, 8, 42},
        {ttEvent, 7, 1, ICH, 9, 43},
        {ttCumulative, 8, 0, VCH, 6, 44},
        {ttCumulative, 8, 1, ICH, 7, 45},
        {ttCumulative, 9, 6, PCH, 14, 46},
        {ttCumulative, 9, 6, TOTAL, 19, 47},
        {ttEvent, 10, 2, TOTAL, 20, 48},
        {ttIntervalEvent, 5, 0, VCH, 2, 38},
        {ttIntervalEvent, 6, 0, VCH, 4, 39},
        {ttIntervalEvent, 5, 1, ICH, 3, 40},
        {ttIntervalEvent, 6, 1, ICH, 5, 41},
        {ttIntervalEvent, 7, 0, VCH, 8, 42},
        {ttIntervalEvent, 7, 1, ICH, 9, 43},
        {ttIntervalCumulative, 8, 0, VCH, 6, 44},
        {ttIntervalCumulative, 8, 1, ICH, 7, 45},
        {ttIntervalCumulative, 9, 6, PCH, 14, 46},
        {ttIntervalCumulative, 9, 6, TOTAL, 19, 47},
        {ttIntervalEvent, 10, 2, TOTAL, 20, 48},
    };
    std::vector<ParameterEntry> entries;
    for (const Block& b : blocks)
        for (uint8_t ch : b.channels)
            entries.push_back({b.type, b.quantity, b.unit, ch, b.kind, b.nameId - 26});
    // End marker, as the instrument's own table has it.
    entries.push_back({255, 0, 0, 0, 0, 0});
    return entries;
}

const std::vector<ParameterEntry>& Entries() {
    static const std::vector<ParameterEntry> entries = BuildEntries();
    return entries;
}

struct Texts {
    std::array<std::string, 5> tableTypes;
    std::array<std::string, 23> names;
    std::array<std::string, 7> longUnits, shortUnits;
    std::array<std::string, 26> channels; // index 0 is not a channel
    std::array<std::string, 5> phases;
    std::array<std::string, 3> cts, intervals;
    std::array<std::string, 2> modes;
    std::string seconds;
};

Texts& TextsStore() {
    static Texts texts;
    return texts;
}

std::once_flag initOnce;

void LoadTexts() {
    Texts& t = TextsStore();
    for (int i = 0; i < 5; ++i)
        t.tableTypes[i] = LoadStr(StrTableTypes + i);
    for (int i = 0; i < 23; ++i)
        t.names[i] = LoadStr(StrParameterNames + i);
    for (int i = 0; i < 7; ++i) {
        t.longUnits[i] = LoadStr(StrUnits + 2 * i);
        t.shortUnits[i] = LoadStr(StrUnits + 1 + 2 * i);
    }
    for (int i = 1; i <= 25; ++i)
        t.channels[i] = LoadStr(StrChannels + i);
    for (int i = 0; i < 5; ++i)
        t.phases[i] = LoadStr(StrPhaseConfigurations + i);
    for (int i = 0; i < 3; ++i) {
        t.cts[i] = LoadStr(StrCurrentClamps + i);
        t.intervals[i] = LoadStr(StrIntervals + i);
    }
    for (int i = 0; i < 2; ++i)
        t.modes[i] = LoadStr(StrModes + i);
    t.seconds = LoadStr(StrSeconds);
}

const Texts& T() {
    InitCatalogue();
    return TextsStore();
}

const std::string& Empty() {
    static const std::string empty;
    return empty;
}

template <size_t N> const std::string& At(const std::array<std::string, N>& a, size_t i) {
    return i < N ? a[i] : Empty();
}

bool ValidIndex(int index) {
    return index >= 0 && index < ParameterTableSize;
}

constexpr int32_t RateTable[8] = {1, 5, 15, 30, 60, 300, 900, 1800};
constexpr int32_t IntervalTable[3] = {0, 15, 30};

bool ChannelInPhase(uint8_t phase, uint8_t ch) {
    switch (phase) {
    case 0:
        return ch == 1 || ch == 4 || ch == 8;
    case 1:
        return ch == 1 || ch == 2 || ch == 4 || ch == 5 || ch == 8 || ch == 9;
    case 3:
        return ch >= 15 && ch <= 25;
    case 4:
        return (ch >= 12 && ch <= 14) || (ch >= 18 && ch <= 20) || (ch >= 22 && ch <= 25);
    default:
        return false;
    }
}

} // namespace

void InitCatalogue() {
    std::call_once(initOnce, LoadTexts);
}

const ParameterEntry& CatalogueEntry(int index) {
    return Entries()[ValidIndex(index) ? index : ParameterTableSize];
}

int FindParameter(uint8_t phaseConfig, uint8_t /*interval*/, uint8_t tableType, uint8_t quantity,
                  uint8_t unit, uint8_t channel) {
    if (!ChannelInPhase(phaseConfig, channel))
        return -1;
    const auto& entries = Entries();
    for (int i = 0; i < ParameterTableSize; ++i) {
        const ParameterEntry& e = entries[i];
        if (e.tableType == tableType && e.quantity == quantity && e.unit == unit &&
            e.channel == channel)
            return i;
    }
    return -1;
}

LTableType ParameterTableType(int index) {
    return ValidIndex(index) ? Entries()[index].tableType : 0;
}
uint8_t ParameterQuantity(int index) {
    return CatalogueEntry(index).quantity;
}
uint8_t ParameterUnit(int index) {
    return CatalogueEntry(index).unit;
}
uint8_t ParameterChannel(int index) {
    return CatalogueEntry(index).channel;
}
int32_t ParameterKind(int index) {
    return CatalogueEntry(index).kind;
}

const std::string& ParameterName(int index) {
    return ValidIndex(index) ? T().names[Entries()[index].nameSlot] : Empty();
}
const std::string& ParameterTableTypeName(int index) {
    return ValidIndex(index) ? TableTypeName(Entries()[index].tableType) : Empty();
}
const std::string& ParameterLongUnit(int index) {
    return ValidIndex(index) ? LongUnitName(Entries()[index].unit) : Empty();
}
const std::string& ParameterShortUnit(int index) {
    return ValidIndex(index) ? ShortUnitName(Entries()[index].unit) : Empty();
}
const std::string& ParameterChannelLabel(int index) {
    return ValidIndex(index) ? ChannelLabel(Entries()[index].channel) : Empty();
}

const std::string& TableTypeName(LTableType type) {
    return At(T().tableTypes, type);
}
const std::string& LongUnitName(uint8_t unit) {
    return At(T().longUnits, unit);
}
const std::string& ShortUnitName(uint8_t unit) {
    return At(T().shortUnits, unit);
}
const std::string& ChannelLabel(uint8_t channel) {
    return At(T().channels, channel);
}

const std::string& PhaseConfigName(uint8_t code) {
    return At(T().phases, code);
}
const std::string& CTName(uint8_t code) {
    return At(T().cts, code);
}
int32_t RateSeconds(uint8_t code) {
    return code < 8 ? RateTable[code] : 0;
}

std::string RateText(uint8_t code) {
    return std::to_string(RateSeconds(code)) + " " + T().seconds;
}

std::string IntervalName(uint8_t code) {
    // The instrument may send codes 3 and 4, which have no name of their own.
    return code < 3 ? T().intervals[code] : "Code " + std::to_string(code);
}

int32_t IntervalMinutes(uint8_t code) {
    return code < 3 ? IntervalTable[code] : 0;
}
const std::string& ModeName(uint8_t code) {
    return At(T().modes, code);
}
