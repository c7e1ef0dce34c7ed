#include "tests/support/ModalDriver.h"
#include "tests/support/TestSettings.h"

#include "app/RUF.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QMenu>

#include <gtest/gtest.h>

namespace {

class RUFTest : public ::testing::Test {
protected:
    void SetUp() override { ClearSettings(); }
    static QStringList Captions(const QMenu& menu) {
        QStringList captions;
        for (const QAction* action : menu.actions())
            captions << action->text();
        return captions;
    }
};

TEST_F(RUFTest, ReopeningAFileMovesItToTheTopOnce) {
    RUF recent;
    recent.Add("/data/First.vro");
    recent.Add("/data/second.vro");
    recent.Add("/data/First.vro");
    EXPECT_EQ(recent.Files(), (QStringList{"/data/First.vro", "/data/second.vro"}));

    QSettings raw = StoredSettings();
    EXPECT_EQ(raw.value("Recently Used Files/Count").toString(), "2");
    EXPECT_EQ(raw.value("Recently Used Files/0000").toString(), "/data/First.vro");
}

// Linux file names are case-sensitive: names keep their case, so that Reopen finds them,
// and names that differ in case are different files.
TEST_F(RUFTest, NamesAreFullAndKeepTheirCase) {
    RUF recent;
    recent.Add("/data/Site.vro");
    recent.Add("/data/SITE.vro");
    recent.Add("/data/sub/../Site.vro");
    recent.Add("relative.vro");
    EXPECT_EQ(recent.Files(), (QStringList{QDir::current().filePath("relative.vro"),
                                           "/data/Site.vro", "/data/SITE.vro"}));
    recent.Add("");
    EXPECT_EQ(recent.Count(), 3);
}

TEST_F(RUFTest, KeepsTheFiveNewest) {
    QSettings raw = StoredSettings();
    raw.setValue("Recently Used Files/0005", "/by/hand.vro");
    raw.sync();

    RUF recent;
    for (int i = 1; i <= 6; ++i)
        recent.Add(QStringLiteral("/data/%1.vro").arg(i));
    EXPECT_EQ(recent.Files(), (QStringList{"/data/6.vro", "/data/5.vro", "/data/4.vro",
                                           "/data/3.vro", "/data/2.vro"}));
    raw.sync();
    EXPECT_EQ(raw.value("Recently Used Files/Count").toString(), "5");
    EXPECT_EQ(raw.value("Recently Used Files/0004").toString(), "/data/2.vro");
    EXPECT_EQ(raw.value("Recently Used Files/0005").toString(), "/by/hand.vro");
}

TEST_F(RUFTest, SetMenuLoadsAtMostFiveAndBuildsTheItems) {
    QSettings raw = StoredSettings();
    raw.setValue("Recently Used Files/Count", 7);
    for (int i = 0; i < 7; ++i)
        raw.setValue("Recently Used Files/" + QStringLiteral("%1").arg(i, 4, 10, QChar('0')),
                     QStringLiteral("/d/R&D %1.vro").arg(i));
    raw.sync();

    QMenu menu;
    QStringList clicked;
    RUF recent;
    recent.SetMenu(&menu, [&](const QString& name) { clicked << name; });
    ASSERT_EQ(recent.Count(), 5);
    EXPECT_EQ(Captions(menu).first(), "/d/R&&D 0.vro");
    menu.actions()[2]->trigger();
    EXPECT_EQ(clicked, QStringList{"/d/R&D 2.vro"});
}

TEST_F(RUFTest, BadStoredEntryKeepsTheGoodOnes) {
    QSettings raw = StoredSettings();
    raw.setValue("Recently Used Files/Count", 3);
    raw.setValue("Recently Used Files/0000", "/a.vro");
    raw.setValue("Recently Used Files/0001", "/b.vro");
    raw.setValue("Recently Used Files/0002", QStringList{"x", "y"});
    raw.sync();

    QMenu menu;
    RUF recent;
    recent.SetMenu(&menu, {});
    EXPECT_EQ(recent.Files(), (QStringList{"/a.vro", "/b.vro"}));
    EXPECT_EQ(Captions(menu), (QStringList{"/a.vro", "/b.vro"}));
    raw.sync();
    EXPECT_EQ(raw.value("Recently Used Files/Count").toString(), "0");
}

// A save during a reopen adds to the list while the clicked item is still running.
TEST_F(RUFTest, AddFromInsideAClickRebuildsSafely) {
    QMenu menu;
    RUF recent;
    recent.SetMenu(&menu, [&](const QString&) { recent.Add("/saved.vro"); });
    recent.Add("/opened.vro");
    menu.actions().first()->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(Captions(menu), (QStringList{"/saved.vro", "/opened.vro"}));
}

TEST_F(RUFTest, UnusableSettingsFileStillKeepsTheList) {
    const UnusableSettings unusable;
    QMenu menu;
    RUF recent;
    recent.SetMenu(&menu, {});
    recent.Add("/a.vro");
    recent.Add("/b.vro");
    EXPECT_EQ(Captions(menu), (QStringList{"/b.vro", "/a.vro"}));
}

} // namespace
