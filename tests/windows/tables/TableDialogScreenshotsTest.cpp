#include "windows/tables/TableDialogScreenshots.h"
#include "tests/support/PictureColours.h"

#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(TableDialogScreenshotsTest, EveryDialogIsPicturedAtItsSize) {
    QTemporaryDir dir;
    const QStringList files = WriteTableDialogScreenshots(dir.filePath(QStringLiteral("shots")));
    ASSERT_EQ(files.size(), 4);
    for (const QString& file : files)
        EXPECT_GT(PictureColours(file), HandfulOfColours) << file.toStdString();
    for (const char* name :
         {"time-range.png", "new-table.png", "new-chart.png", "visible-parameters.png"}) {
        const QString file = dir.filePath(QStringLiteral("shots/") + name);
        EXPECT_TRUE(files.contains(file)) << name;
        const QImage image(file);
        EXPECT_GE(image.width(), 400) << name;
        EXPECT_GE(image.height(), 380) << name;
    }
}

} // namespace
