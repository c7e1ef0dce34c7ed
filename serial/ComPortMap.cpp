#include "serial/ComPortMap.h"

#include <QSettings>

#include <cstdlib>
#include <map>
#include <mutex>

namespace {

std::mutex OverridesLock;
std::map<unsigned, std::string>& Overrides() {
    static std::map<unsigned, std::string> overrides;
    return overrides;
}

} // namespace

std::string ComDevicePath(unsigned port) {
    {
        std::lock_guard lock(OverridesLock);
        if (auto it = Overrides().find(port); it != Overrides().end())
            return it->second;
    }
    const std::string name = "COM" + std::to_string(port);
    if (const char* env = std::getenv(("VIREO_" + name).c_str()); env && *env)
        return env;
    // The same store as the rest of the program's settings (the port configuration of the
    // New Recording dialog lives in this group too).
    QSettings settings("Corvane", "Vireo Zure PRO");
    settings.beginGroup("Port Configuration");
    const QString stored = settings.value(QString::fromStdString(name + " Device")).toString();
    if (!stored.isEmpty())
        return stored.toStdString();
    if (port == 0)
        return {};
    return "/dev/ttyS" + std::to_string(port - 1);
}

void SetComDevicePath(unsigned port, const std::string& path) {
    std::lock_guard lock(OverridesLock);
    if (path.empty())
        Overrides().erase(port);
    else
        Overrides()[port] = path;
}
