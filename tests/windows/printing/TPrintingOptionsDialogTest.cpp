#include "tests/support/ModalDriver.h"

#include "printing/LayoutPrinter.h"
#include "windows/printing/TPrintingOptionsDialog.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

TEST(TPrintingOptionsDialogTest, ShowsTheFlagsAndPagesAndStoresThemOnlyOnPrint) {
    PrintSettings printer;
    TPrintingOptionsDialog dialog;
    dialog.SetSettings(&printer, 6);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Printing options"));
    EXPECT_EQ(dialog.OKButton()->text(), QStringLiteral("Print"));
    QCheckBox* const boxes[] = {dialog.TitleBox(), dialog.PageBox(), dialog.LocationBox(),
                                dialog.UserIdBox()};
    bool* const flags[] = {&printer.PrintTitle, &printer.PrintPageNumber, &printer.PrintLocation,
                           &printer.PrintUserId};

    // Every box off, then Print: the flags stay off for the next document, which shows them so.
    std::vector<bool> shown;
    QString pages;
    {
        ModalDriver driver({[&](QWidget*) {
            for (QCheckBox* box : boxes) {
                shown.push_back(box->isChecked());
                box->setChecked(false);
            }
            pages = dialog.PagesCount()->text();
            dialog.OKButton()->click();
        }});
        EXPECT_TRUE(dialog.Execute());
    }
    EXPECT_EQ(shown, std::vector<bool>(4, true));
    EXPECT_EQ(pages, QStringLiteral("6"));
    for (bool* flag : flags)
        EXPECT_FALSE(*flag);
    EXPECT_EQ(printer.ChartResolution, 100);

    // Cancel changes nothing.
    printer.ChartResolution = 0;
    dialog.SetSettings(&printer, 1);
    shown.clear();
    {
        ModalDriver driver({[&](QWidget*) {
            for (QCheckBox* box : boxes) {
                shown.push_back(box->isChecked());
                box->setChecked(true);
            }
            pages = dialog.PagesCount()->text();
            dialog.CancelButton()->click();
        }});
        EXPECT_FALSE(dialog.Execute());
    }
    EXPECT_EQ(shown, std::vector<bool>(4, false));
    EXPECT_EQ(pages, QStringLiteral("1"));
    for (bool* flag : flags)
        EXPECT_FALSE(*flag);
    EXPECT_EQ(printer.ChartResolution, 0);
}

} // namespace
