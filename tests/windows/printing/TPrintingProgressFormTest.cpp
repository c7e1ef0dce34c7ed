#include "tests/support/EventLoop.h"
#include "tests/support/PictureColours.h"

#include "printing/LayoutPrinter.h"
#include "windows/printing/PrintingScreenshots.h"
#include "windows/printing/TPrintingProgressForm.h"

#include <QImage>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

TEST(TPrintingProgressFormTest, ACancelClickIsSeenWhileTheProgressMoves) {
    TPrintingProgressForm form;
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Printing..."));
    form.StartProgress(4);
    EXPECT_EQ(form.ProgressBar()->maximum(), 4);
    EXPECT_EQ(form.ProgressBar()->value(), 0);
    form.Cancelled = true;
    form.show();
    EXPECT_FALSE(form.Cancelled);

    ClickLater(form.CancelButton());
    form.SetProgress(1);
    EXPECT_EQ(form.ProgressBar()->value(), 1);
    EXPECT_TRUE(form.Cancelled);
    // The printer hides the window once it has aborted; Escape only cancels.
    EXPECT_TRUE(form.isVisible());
    form.hide();
    form.show();
    EXPECT_FALSE(form.Cancelled);
    QTest::keyClick(&form, Qt::Key_Escape);
    EXPECT_TRUE(form.Cancelled);
    EXPECT_TRUE(form.isVisible());
}

TEST(TPrintingProgressFormTest, BothPrintingWindowsArePictured) {
    QTemporaryDir dir;
    const QStringList files = WritePrintingScreenshots(dir.path());
    ASSERT_EQ(files.size(), 2);
    for (const QString& file : files)
        EXPECT_GT(PictureColours(file), HandfulOfColours) << file.toStdString();
    EXPECT_EQ(QImage(dir.filePath(QStringLiteral("printing-progress.png"))).size(),
              QSize(242, 109));
    EXPECT_GE(QImage(dir.filePath(QStringLiteral("printing-options.png"))).width(), 300);
}

} // namespace
