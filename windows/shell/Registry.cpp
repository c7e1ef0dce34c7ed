#include "windows/shell/Registry.h"

#include <QVariant>

#include <limits>

RegistryKey::RegistryKey(const char* key)
    : Settings(QSettings::NativeFormat, QSettings::UserScope, RegistryOrganization,
               RegistryApplication) {
    Settings.beginGroup(QString::fromLatin1(key));
}

bool RegistryKey::ReadInteger(const QString& name, int32_t& value) const {
    const QVariant stored = Settings.value(name);
    qlonglong number = 0;
    switch (stored.typeId()) {
    case QMetaType::QString: {
        // Text files hold every value as text; an integer is one that reads fully as one.
        bool ok = false;
        number = stored.toString().toLongLong(&ok, 10);
        if (!ok)
            return false;
        break;
    }
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
        number = stored.toLongLong();
        break;
    default:
        return false;
    }
    // A 32-bit registry integer may come back unsigned; keep its bits as the registry does.
    if (number < std::numeric_limits<int32_t>::min() ||
        number > std::numeric_limits<uint32_t>::max())
        return false;
    value = static_cast<int32_t>(static_cast<uint32_t>(number));
    return true;
}

bool RegistryKey::ReadBool(const QString& name, bool& value) const {
    int32_t number = 0;
    if (!ReadInteger(name, number))
        return false;
    value = number != 0;
    return true;
}

bool RegistryKey::ReadString(const QString& name, QString& value) const {
    const QVariant stored = Settings.value(name);
    if (stored.typeId() != QMetaType::QString)
        return false;
    value = stored.toString();
    return true;
}

void RegistryKey::WriteInteger(const QString& name, int32_t value) {
    Settings.setValue(name, value);
}

void RegistryKey::WriteBool(const QString& name, bool value) {
    WriteInteger(name, value ? 1 : 0);
}

void RegistryKey::WriteString(const QString& name, const QString& value) {
    Settings.setValue(name, value);
}

bool ReadBoolDefault(const RegistryKey& key, const QString& name, bool defaultValue) {
    bool value = defaultValue;
    return key.ReadBool(name, value) ? value : defaultValue;
}

QString StringListValueName(int index) {
    return QStringLiteral("%1").arg(index, 4, 16, QLatin1Char('0')).toUpper();
}

void LoadStringList(const char* key, QStringList& list) {
    RegistryKey registry(key);
    int32_t count = 0;
    bool ok = registry.ReadInteger(QStringLiteral("Count"), count);
    for (int32_t i = 0; ok && i < count; ++i) {
        QString entry;
        ok = registry.ReadString(StringListValueName(i), entry);
        if (ok)
            list.append(entry);
    }
    if (!ok)
        registry.WriteInteger(QStringLiteral("Count"), 0);
}

void SaveStringList(const char* key, const QStringList& list) {
    RegistryKey registry(key);
    for (int i = 0; i < list.size(); ++i)
        registry.WriteString(StringListValueName(i), list[i]);
    registry.WriteInteger(QStringLiteral("Count"), static_cast<int32_t>(list.size()));
}
