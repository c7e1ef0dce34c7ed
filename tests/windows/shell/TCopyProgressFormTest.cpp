#include "tests/support/ModalDriver.h"
#include "tests/support/TestSettings.h"

#include "windows/shell/TCopyProgressForm.h"

#include <QProgressBar>
#include <QTest>

#include <gtest/gtest.h>

namespace {

bool ActivateAndSettle(QWidget& window) {
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window, 1000);
}

TEST(TCopyProgressFormTest, KeepsTheFocusOnlyWhileTheCopyRuns) {
    TCopyProgressForm form;
    EXPECT_EQ(form.ProgressBar()->maximum(), 100);
    QWidget table;
    table.show();
    bool copying = true;
    form.SetCopyingWindow(&table, [&] { return copying; });
    form.show();
    ASSERT_TRUE(ActivateAndSettle(form));

    // Clicking the table window while it copies brings the form back.
    table.activateWindow();
    QTest::qWait(50);
    EXPECT_TRUE(QTest::qWaitForWindowActive(&form, 1000));

    copying = false;
    ASSERT_TRUE(ActivateAndSettle(table));
    QTest::qWait(50);
    EXPECT_FALSE(form.isActiveWindow());

    // Escape does not hide the form: the copying window does.
    QTest::keyClick(&form, Qt::Key_Escape);
    EXPECT_TRUE(form.isVisible());
}

TEST(TCopyProgressFormTest, AGoneWindowIsNotAsked) {
    TCopyProgressForm form;
    bool asked = false;
    {
        QWidget table;
        form.SetCopyingWindow(&table, [&] {
            asked = true;
            return true;
        });
    }
    form.show();
    form.FormDeactivate();
    EXPECT_FALSE(asked);
    EXPECT_EQ(form.CopyingWindow(), nullptr);
}

} // namespace
