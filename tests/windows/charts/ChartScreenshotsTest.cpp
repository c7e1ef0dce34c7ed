#include "windows/charts/ChartScreenshots.h"
#include "tests/support/PictureColours.h"

#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(ChartScreenshotsTest, TheChartItsZoomItsCursorsAndEveryEditorPageArePictured) {
    QTemporaryDir dir;
    const QStringList files = WriteChartScreenshots(dir.filePath(QStringLiteral("shots")));
    ASSERT_EQ(files.size(), 8);
    for (const QString& file : files)
        EXPECT_GT(PictureColours(file), HandfulOfColours) << file.toStdString();
    for (const QString& file : files)
        EXPECT_GE(QImage(file).width(), 500) << file.toStdString();
    EXPECT_TRUE(files.contains(dir.filePath(QStringLiteral("shots/chart-zoomed.png"))));
    EXPECT_TRUE(files.contains(dir.filePath(QStringLiteral("shots/chart-cursors.png"))));
}

} // namespace
