#include "tests/support/ModalDriver.h"
#include "tests/support/TestSettings.h"

#include "windows/shell/Registry.h"

#include <gtest/gtest.h>

namespace {

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override { ClearSettings(); }
};

TEST_F(RegistryTest, BooleansReadAsIntegersAndFallBackOnAnythingElse) {
    QSettings raw = StoredSettings();
    raw.setValue("Settings/On", "1");
    raw.setValue("Settings/Off", "0");
    raw.setValue("Settings/Seven", "7");
    raw.setValue("Settings/Word", "yes");
    raw.setValue("Settings/List", QStringList{"1", "2"});
    raw.sync();

    const RegistryKey key(SettingsKey);
    EXPECT_TRUE(ReadBoolDefault(key, "On", false));
    EXPECT_FALSE(ReadBoolDefault(key, "Off", true));
    EXPECT_TRUE(ReadBoolDefault(key, "Seven", false));
    EXPECT_FALSE(ReadBoolDefault(key, "Word", false));
    EXPECT_TRUE(ReadBoolDefault(key, "Word", true));
    EXPECT_TRUE(ReadBoolDefault(key, "List", true));
    EXPECT_FALSE(ReadBoolDefault(key, "Missing", false));
}

TEST_F(RegistryTest, WrittenValuesReadBackWithTheirTypes) {
    {
        RegistryKey key(SettingsKey);
        key.WriteBool("Flag", true);
        key.WriteInteger("Number", -5);
        key.WriteString("Text", "a, b");
    }
    const RegistryKey key(SettingsKey);
    int32_t number = 0;
    QString text;
    EXPECT_TRUE(ReadBoolDefault(key, "Flag", false));
    ASSERT_TRUE(key.ReadInteger("Number", number));
    EXPECT_EQ(number, -5);
    ASSERT_TRUE(key.ReadString("Text", text));
    EXPECT_EQ(text, "a, b");
    EXPECT_FALSE(key.ReadInteger("Text", number));
}

TEST_F(RegistryTest, StringListsUseFourUpperCaseHexDigits) {
    EXPECT_EQ(StringListValueName(0), "0000");
    EXPECT_EQ(StringListValueName(10), "000A");
    EXPECT_EQ(StringListValueName(0xBEEF), "BEEF");

    QStringList list;
    for (int i = 0; i < 12; ++i)
        list << QStringLiteral("entry %1").arg(i);
    SaveStringList(UserIDKey, list);
    QSettings raw = StoredSettings();
    EXPECT_EQ(raw.value("UserID/000A").toString(), "entry 10");
    EXPECT_EQ(raw.value("UserID/Count").toInt(), 12);

    QStringList loaded{"kept"};
    LoadStringList(UserIDKey, loaded);
    EXPECT_EQ(loaded, QStringList{"kept"} + list);
}

TEST_F(RegistryTest, FirstLoadCreatesAnEmptyList) {
    QStringList list;
    LoadStringList(LocationsKey, list);
    EXPECT_TRUE(list.isEmpty());
    EXPECT_EQ(StoredSettings().value("Locations/Count").toString(), "0");
}

TEST_F(RegistryTest, BadEntryKeepsWhatCameBeforeAndResetsCount) {
    QSettings raw = StoredSettings();
    raw.setValue("Locations/Count", 3);
    raw.setValue("Locations/0000", "North");
    raw.setValue("Locations/0001", "South");
    raw.setValue("Locations/0002", QStringList{"not", "a", "text"});
    raw.sync();

    QStringList list;
    LoadStringList(LocationsKey, list);
    EXPECT_EQ(list, (QStringList{"North", "South"}));
    EXPECT_EQ(StoredSettings().value("Locations/Count").toString(), "0");
}

TEST_F(RegistryTest, MissingEntryOrBadCountFailsTheRead) {
    QSettings raw = StoredSettings();
    raw.setValue("UserID/Count", 2);
    raw.setValue("UserID/0000", "Ann");
    raw.setValue("Locations/Count", "two");
    raw.setValue("Locations/0000", "North");
    raw.sync();

    QStringList users, locations;
    LoadStringList(UserIDKey, users);
    LoadStringList(LocationsKey, locations);
    EXPECT_EQ(users, QStringList{"Ann"});
    EXPECT_TRUE(locations.isEmpty());
    EXPECT_EQ(StoredSettings().value("UserID/Count").toString(), "0");
    EXPECT_EQ(StoredSettings().value("Locations/Count").toString(), "0");
}

TEST_F(RegistryTest, ShorterListLeavesOlderEntriesInPlace) {
    SaveStringList(UserIDKey, {"a", "b", "c"});
    SaveStringList(UserIDKey, {"x"});
    QSettings raw = StoredSettings();
    EXPECT_EQ(raw.value("UserID/Count").toString(), "1");
    EXPECT_EQ(raw.value("UserID/0002").toString(), "c");
    QStringList list;
    LoadStringList(UserIDKey, list);
    EXPECT_EQ(list, QStringList{"x"});
}

// A settings file that cannot be read or written costs the settings, nothing else.
TEST_F(RegistryTest, UnusableSettingsFileGivesDefaults) {
    QStringList list;
    bool backup = false;
    {
        const UnusableSettings unusable;
        SaveStringList(UserIDKey, {"Ann"});
        LoadStringList(UserIDKey, list);
        RegistryKey(SettingsKey).WriteBool("Backup", true);
        backup = ReadBoolDefault(RegistryKey(SettingsKey), "Backup", false);
    }
    EXPECT_TRUE(list.isEmpty());
    EXPECT_FALSE(backup);
}

} // namespace
