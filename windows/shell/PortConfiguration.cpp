#include "windows/shell/PortConfiguration.h"

#include "windows/shell/Registry.h"

PortConfiguration PortConfiguration::Load(int32_t portCount, int32_t baudRateCount) {
    RegistryKey key(PortConfigurationKey);
    PortConfiguration config;
    const bool ok = key.ReadInteger(QStringLiteral("Port Index"), config.PortIndex) &&
                    key.ReadInteger(QStringLiteral("Baud Rate Index"), config.BaudRateIndex) &&
                    key.ReadBool(QStringLiteral("Enable Autoscan"), config.EnableAutoscan);
    const bool inRange = config.PortIndex >= 0 && config.PortIndex < portCount &&
                         config.BaudRateIndex >= 0 && config.BaudRateIndex < baudRateCount;
    return ok && inRange ? config : PortConfiguration{};
}

void PortConfiguration::Save() const {
    RegistryKey key(PortConfigurationKey);
    key.WriteInteger(QStringLiteral("Port Index"), PortIndex);
    key.WriteInteger(QStringLiteral("Baud Rate Index"), BaudRateIndex);
    key.WriteBool(QStringLiteral("Enable Autoscan"), EnableAutoscan);
}
