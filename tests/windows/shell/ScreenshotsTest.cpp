#include "tests/support/ModalDriver.h"
#include "tests/support/PictureColours.h"
#include "tests/support/TestSettings.h"

#include "windows/shell/Screenshots.h"

#include <QImage>

#include <gtest/gtest.h>

namespace {

// VRO_SCREENSHOTS=DIR keeps the pictures for a look at them.
TEST(ScreenshotsTest, EveryWindowIsWrittenAtLeastAtItsSize) {
    QTemporaryDir temporary;
    const QString dir = qEnvironmentVariableIsSet("VRO_SCREENSHOTS")
                            ? qEnvironmentVariable("VRO_SCREENSHOTS")
                            : temporary.path();
    const QStringList files = WriteShellScreenshots(dir);
    ASSERT_EQ(files.size(), 3);
    for (const QString& file : files)
        EXPECT_GT(PictureColours(file), HandfulOfColours) << file.toStdString();
    const std::pair<const char*, QSize> sizes[] = {
        {"standard-dialog.png", {400, 380}},
        {"program-error.png", {425, 163}},
        {"copy-progress.png", {248, 38}},
    };
    for (const auto& [name, size] : sizes) {
        const QImage image(dir + "/" + name);
        EXPECT_GE(image.width(), size.width()) << name;
        EXPECT_GE(image.height(), size.height()) << name;
    }
}

} // namespace
