#include "resources/StringTable.h"

#include <map>

namespace {

const std::map<int, std::string>& Table() {
    static const std::map<int, std::string> table = {
        {14, "User Id"},
        {15, "Location"},
        {16, "Comments"},
        {17, "Start"},
        {18, "Phase"},
        {19, "Mode"},
        {20, "sec."},
        // Table types
        {21, "Historic"},
        {22, "Event"},
        {23, "Cumulative"},
        {24, "Interval event"},
        {25, "Interval cumulative"},
        // Parameter names, name slots 0 to 22
        {26, "RMS Voltage"},
        {27, "RMS Current"},
        {28, "Apparent Power"},
        {29, "Real Power"},
        {30, "Reactive Power"},
        {31, "Power Factor"},
        {32, "Apparent Power"},
        {33, "Real Power"},
        {34, "Reactive Power"},
        {35, "Power Factor"},
        {36, "Threshold RMS Voltage"},
        {37, "Threshold RMS Current"},
        {38, "RMS Voltage Max"},
        {39, "RMS Voltage Min"},
        {40, "RMS Current Max"},
        {41, "RMS Current Min"},
        {42, "Peak Voltage Max"},
        {43, "Peak Current Max"},
        {44, "RMS Voltage Avg"},
        {45, "RMS Current Avg"},
        {46, "Energy"},
        {47, "Energy"},
        {48, "Demand"},
        // Units, long and short
        {49, "Volts"},
        {50, "V"},
        {51, "Amperes"},
        {52, "A"},
        {53, "Watts"},
        {54, "W"},
        {55, "VAR"},
        {56, "VAR"},
        {57, "VoltAmperes"},
        {58, "VA"},
        {59, "[PF]"},
        {60, "[PF]"},
        {61, "WattHours"},
        {62, "WH"},
        // Channel labels, channel codes 1 to 25
        {63, "V1"},
        {64, "V2"},
        {65, "V3"},
        {66, "I1"},
        {67, "I2"},
        {68, "I3"},
        {69, "I4"},
        {70, "V1I1"},
        {71, "V2I2"},
        {72, "V3I3"},
        {73, "Total"},
        {74, "VAB"},
        {75, "VBC"},
        {76, "VCA"},
        {77, "VAN"},
        {78, "VBN"},
        {79, "VCN"},
        {80, "IA"},
        {81, "IB"},
        {82, "IC"},
        {83, "IN"},
        {84, "ØA"},
        {85, "ØB"},
        {86, "ØC"},
        {87, "3Ø"},
        {88, "Rate"},
        {89, "Interval"},
        {90, "CT"},
        // Instrument information labels
        {91, "PCB Revision"},
        {92, "Manufacture date"},
        {93, "Serial number"},
        {94, "Memory size"},
        {95, "Version"},
        {96, "kB"},
        // Time-span formats
        {97, "%2.2d:%2.2d:%2.2d"},
        {98, "%2.2dy %2.2dm %2.2dd"},
        {99, "End"},
        // Phase configurations; code 2 has no text
        {100, "1Ø 2W"},
        {101, "1Ø 3W"},
        {103, "3Ø 4W Wye"},
        {104, "3Ø 3W Delta"},
        // Explorer tree
        {105, "Recording Info"},
        {106, "Tables"},
        {107, "Charts"},
        {108, "Table #"},
        {109, "Chart #"},
        // Current clamps
        {110, "KLCT"},
        {111, "FPX 7000 300"},
        {112, "FPX 7000 3000"},
        {113, "Are you sure you want to delete this item?"},
        // Chart modes
        {114, "Zoom"},
        {115, "Pan"},
        {116, "Examine"},
        {117, "No value"},
        {118, "Modified"},
        {119, "The current file was not saved.  Do you want to save changes?"},
        // Intervals
        {120, "None"},
        {121, "15 min."},
        {122, "30 min."},
        {123, "No parameters selected.  You have to select at least one parameter."},
        // Printing
        {124, "Page %d of %d"},
        {125, "Location: %s"},
        {126, "User Id: %s"},
        {127, "New Database"},
        // Modes
        {130, "Normal"},
        {131, "Loop"},
        // File errors
        {1000, "Error occured while loading the file."},
        {1001, "Error occured while saving the file."},
    };
    return table;
}

} // namespace

const std::string& LoadStr(int id) {
    static const std::string empty;
    const auto& table = Table();
    auto it = table.find(id);
    return it == table.end() ? empty : it->second;
}
