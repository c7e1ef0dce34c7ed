#pragma once

#include <QSettings>
#include <QString>
#include <QStringList>

#include <cstdint>

// The program's settings live per user under the maker's and the program's name: on Linux in
// ~/.config/Corvane/Vireo Zure PRO.conf, on Windows under the same names in HKEY_CURRENT_USER.
// A settings file that cannot be read or written never stops the program: reads then fail
// and give their defaults, writes are lost at the end of the run.
inline constexpr char RegistryOrganization[] = "Corvane";
inline constexpr char RegistryApplication[] = "Vireo Zure PRO";

// The keys under the program's base, one group each.
inline constexpr char RecentFilesKey[] = "Recently Used Files";
inline constexpr char SettingsKey[] = "Settings";
inline constexpr char PortConfigurationKey[] = "Port Configuration";
inline constexpr char UserIDKey[] = "UserID";
inline constexpr char LocationsKey[] = "Locations";
inline constexpr char SurveyKey[] = "Survey";
inline constexpr char RecentTariffsKey[] = "Recent Tariffs";
inline constexpr char NewLoadsKey[] = "New Loads";

// One key of the store, opened for one piece of work and closed (written out) when it goes.
// A read succeeds only when the value exists and has the type asked for.
class RegistryKey {
public:
    explicit RegistryKey(const char* key);

    bool ReadInteger(const QString& name, int32_t& value) const;
    // Stored as an integer; anything but 0 is true.
    bool ReadBool(const QString& name, bool& value) const;
    bool ReadString(const QString& name, QString& value) const;

    void WriteInteger(const QString& name, int32_t value);
    void WriteBool(const QString& name, bool value);
    void WriteString(const QString& name, const QString& value);

private:
    QSettings Settings;
};

bool ReadBoolDefault(const RegistryKey& key, const QString& name, bool defaultValue);

// A numbered list: "Count" and the entries under "0000", "0001", ... (upper-case hex).
QString StringListValueName(int index);
// Appends the stored entries to list. When an entry cannot be read, the ones before it stay
// in list and the stored "Count" becomes 0; a missing "Count" is created as 0.
void LoadStringList(const char* key, QStringList& list);
// Entries beyond the new "Count" are left in place.
void SaveStringList(const char* key, const QStringList& list);
