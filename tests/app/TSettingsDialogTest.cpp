#include "tests/support/ModalDriver.h"
#include "tests/support/TestSettings.h"

#include "app/TSettingsDialog.h"

#include <QCheckBox>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

class TSettingsDialogTest : public ::testing::Test {
protected:
    void SetUp() override { ClearSettings(); }
};

TEST_F(TSettingsDialogTest, FirstRunHasNoBackupAndShowsTheAd) {
    TSettingsDialog dialog;
    EXPECT_FALSE(dialog.Backup());
    EXPECT_TRUE(dialog.ShowAd());
    EXPECT_TRUE(TSettingsDialog::StoredShowAd());
}

TEST_F(TSettingsDialogTest, OKStoresBoth) {
    QSettings raw = StoredSettings();
    TSettingsDialog dialog;
    ModalDriver driver({[](QWidget* w) {
        EXPECT_TRUE(Child<QCheckBox>(w, "ShowAdCheckbox")->isChecked());
        Child<QCheckBox>(w, "ShowAdCheckbox")->setChecked(false);
        Child<QCheckBox>(w, "BackupCheckbox")->setChecked(true);
        Child<QPushButton>(w, "OKButton")->click();
    }});
    EXPECT_TRUE(dialog.Execute());
    EXPECT_FALSE(dialog.ShowAd());
    EXPECT_TRUE(dialog.Backup());
    raw.sync();
    EXPECT_EQ(raw.value("Settings/Show ad").toString(), "0");
    EXPECT_EQ(raw.value("Settings/Backup").toString(), "1");

    // The next run starts from what was stored.
    TSettingsDialog next;
    EXPECT_TRUE(next.Backup());
    EXPECT_FALSE(next.ShowAd());
    EXPECT_FALSE(TSettingsDialog::StoredShowAd());
}

TEST_F(TSettingsDialogTest, CancelStoresNothingButTheBackupBoxStaysForThisRun) {
    TSettingsDialog dialog;
    ModalDriver driver({[](QWidget* w) {
        Child<QCheckBox>(w, "ShowAdCheckbox")->setChecked(false);
        Child<QCheckBox>(w, "BackupCheckbox")->setChecked(true);
        Child<QPushButton>(w, "CancelButton")->click();
    }});
    EXPECT_FALSE(dialog.Execute());
    EXPECT_TRUE(dialog.Backup());
    EXPECT_TRUE(dialog.ShowAd());
    EXPECT_FALSE(StoredSettings().contains("Settings/Backup"));

    // Shown again, the ad box shows the setting rather than the abandoned change.
    ModalDriver again({[](QWidget* w) {
        EXPECT_TRUE(Child<QCheckBox>(w, "ShowAdCheckbox")->isChecked());
        EXPECT_TRUE(Child<QCheckBox>(w, "BackupCheckbox")->isChecked());
        Child<QPushButton>(w, "CancelButton")->click();
    }});
    dialog.Execute();
    EXPECT_EQ(again.StepsRun(), 1u);
}

TEST_F(TSettingsDialogTest, IllTypedOrUnreadableSettingsGiveTheDefaults) {
    {
        QSettings raw = StoredSettings();
        raw.setValue("Settings/Backup", "yes");
        raw.setValue("Settings/Show ad", QStringList{"0", "1"});
    }
    TSettingsDialog dialog;
    EXPECT_FALSE(dialog.Backup());
    EXPECT_TRUE(dialog.ShowAd());

    UnusableSettings unusable;
    TSettingsDialog broken;
    EXPECT_FALSE(broken.Backup());
    EXPECT_TRUE(broken.ShowAd());
    ModalDriver driver({[](QWidget* w) { Child<QPushButton>(w, "OKButton")->click(); }});
    EXPECT_TRUE(broken.Execute());
}

} // namespace
