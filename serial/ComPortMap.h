#pragma once

#include <string>

// The program speaks of COM1 to COM4, as the instrument's manual does; on Linux each stands
// for a device path. By default COMn is /dev/ttyS(n-1); the settings store can point it at
// another device (group "Port Configuration", value "COMn Device", e.g. /dev/ttyUSB0), the
// environment variable VIREO_COMn overrides that for one run, and a path set here overrides
// both for this process (vrotool --device).
std::string ComDevicePath(unsigned port);

// An empty path removes the override.
void SetComDevicePath(unsigned port, const std::string& path);
