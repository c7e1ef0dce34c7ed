#include "charts/DisplayStyle.h"

#include <QFontDatabase>
#include <QFontInfo>

#include <gtest/gtest.h>

namespace {

// Faces missing here are drawn with installed ones of the same metrics or kind; the stored
// font itself is not touched.
TEST(DisplayStyleTest, MissingFacesAreDrawnWithInstalledLikenesses) {
    if (!QFontDatabase::hasFamily(QStringLiteral("Liberation Sans")) ||
        !QFontDatabase::hasFamily(QStringLiteral("DejaVu Sans Mono")))
        GTEST_SKIP() << "fonts-liberation and fonts-dejavu-core are not installed";
    const std::pair<const char*, const char*> cases[] = {{"Arial", "Liberation Sans"},
                                                         {"Times New Roman", "Liberation Serif"},
                                                         {"Lucida Console", "DejaVu Sans Mono"},
                                                         {"Tahoma", "DejaVu Sans"}};
    for (const auto& [stored, drawn] : cases)
        if (!QFontDatabase::hasFamily(QLatin1String(stored))) {
            EXPECT_EQ(DisplayFamily(stored, 0), drawn) << stored;
        }
    const LFont stored{1, 0x800000, "Lucida Console", 2, 9, true};
    const QFont drawn = DisplayFont(stored);
    EXPECT_EQ(drawn.pointSize(), 9);
    EXPECT_TRUE(drawn.bold());
    EXPECT_TRUE(QFontInfo(drawn).fixedPitch());
}

TEST(DisplayStyleTest, StoredColoursAndSystemColoursAsDrawn) {
    QPalette palette;
    palette.setColor(QPalette::Base, QColor(1, 2, 3));
    palette.setColor(QPalette::Button, QColor(4, 5, 6));
    EXPECT_EQ(DisplayColor(0x00FF8000u, palette), QColor(0x00, 0x80, 0xFF));
    EXPECT_EQ(DisplayColor(0x80000005u, palette), QColor(1, 2, 3)); // window
    EXPECT_EQ(DisplayColor(0x8000000Fu, palette), QColor(4, 5, 6)); // button face
    EXPECT_EQ(ColorCode(QColor(0x00, 0x80, 0xFF)), 0x00FF8000u);
}

// A font dialog confirmed on what a stored font is drawn as changes nothing; a real choice
// keeps the stored character set and colour.
TEST(DisplayStyleTest, ChoosingTheFontAsDrawnKeepsTheStoredOne) {
    const LFont stored{0, 0x80000008u, "Tahoma", 1, 8};
    EXPECT_EQ(ChosenFont(DisplayFont(stored), stored), stored);
    QFont bigger = DisplayFont(stored);
    bigger.setPointSize(12);
    const LFont chosen = ChosenFont(bigger, stored);
    EXPECT_EQ(chosen.Size, 12);
    EXPECT_EQ(chosen.Name, "Tahoma");
    EXPECT_EQ(chosen.Charset, 0);
    EXPECT_EQ(chosen.Pitch, 1);
    EXPECT_EQ(chosen.Color, 0x80000008u);
    QFont other(QStringLiteral("DejaVu Serif"), 8);
    EXPECT_EQ(ChosenFont(other, stored).Name, "DejaVu Serif");
    EXPECT_EQ(ChosenFont(other, stored).Pitch, 0);
}

} // namespace
