#include "windows/acquisition/AcquisitionScreenshots.h"
#include "tests/support/PictureColours.h"

#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(AcquisitionScreenshotsTest, EveryWindowIsPicturedAtLeastAtItsSize) {
    QTemporaryDir dir;
    const QStringList files = WriteAcquisitionScreenshots(dir.filePath(QStringLiteral("shots")));
    ASSERT_EQ(files.size(), 4);
    for (const QString& file : files)
        EXPECT_GT(PictureColours(file), HandfulOfColours) << file.toStdString();
    const struct {
        const char* name;
        int width, height;
    } expected[] = {{"new-recording.png", 400, 380},
                    {"manual-configuration.png", 400, 380},
                    {"detecting.png", 322, 65},
                    {"download.png", 242, 212}};
    for (const auto& window : expected) {
        const QString file = dir.filePath(QStringLiteral("shots/") + window.name);
        EXPECT_TRUE(files.contains(file)) << window.name;
        const QImage image(file);
        EXPECT_GE(image.width(), window.width) << window.name;
        EXPECT_GE(image.height(), window.height) << window.name;
    }
}

} // namespace
