#pragma once

#include <cstdint>

// Where the instrument was last found: indexes into the port and baud rate tables, and
// whether to search every port when that pair finds nothing.
struct PortConfiguration {
    int32_t PortIndex = 0;
    int32_t BaudRateIndex = 0;
    bool EnableAutoscan = true;

    // The three values are all or nothing: if any is missing, of the wrong type, or an index
    // outside its table (portCount ports, baudRateCount rates), all three take the defaults.
    static PortConfiguration Load(int32_t portCount, int32_t baudRateCount);
    void Save() const;
};
