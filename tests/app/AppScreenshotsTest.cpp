#include "tests/support/ModalDriver.h"
#include "tests/support/PictureColours.h"
#include "tests/support/TestSettings.h"

#include "app/AppScreenshots.h"

#include <QImage>

#include <gtest/gtest.h>

namespace {

// VRO_SCREENSHOTS=DIR keeps the pictures for a look at them.
TEST(AppScreenshotsTest, EveryWindowIsWrittenAtLeastAtItsSize) {
    QTemporaryDir temporary;
    const QString dir = qEnvironmentVariableIsSet("VRO_SCREENSHOTS")
                            ? qEnvironmentVariable("VRO_SCREENSHOTS")
                            : temporary.path();
    const QStringList files = WriteAppScreenshots(dir);
    ASSERT_EQ(files.size(), 7);
    for (const QString& file : files)
        EXPECT_GT(PictureColours(file), HandfulOfColours) << file.toStdString();
    const std::pair<const char*, QSize> sizes[] = {
        {"about.png", {441, 264}},           {"recording-info-window.png", {250, 300}},
        {"join-recordings.png", {900, 300}}, {"join-recordings-refused.png", {900, 300}},
        {"chart-gap.png", {900, 600}},
    };
    for (const auto& [name, size] : sizes) {
        const QImage image(dir + "/" + name);
        EXPECT_GE(image.width(), size.width()) << name;
        EXPECT_GE(image.height(), size.height()) << name;
    }
}

} // namespace
