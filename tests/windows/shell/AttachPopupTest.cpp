#include "windows/shell/AttachPopup.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

#include <gtest/gtest.h>

#include <string>

namespace {

// The common items come in the order and under the names the windows' tests and help know,
// each runs its own command, and Ctrl+C copies from anywhere in the window.
TEST(AttachPopupTest, CopyExportPrintItemsRunTheirCommands) {
    QWidget window;
    auto* field = new QWidget(&window);
    field->setFocusPolicy(Qt::StrongFocus);
    (new QVBoxLayout(&window))->addWidget(field);
    auto* menu = new QMenu(&window);
    std::string ran;
    AddCopyExportPrint(
        &window, menu, [&] { ran += "copy,"; }, [&] { ran += "export,"; },
        [&] { ran += "print,"; });
    QStringList names;
    for (QAction* action : menu->actions()) {
        names << action->objectName();
        action->trigger();
    }
    EXPECT_EQ(names.join(QLatin1Char(',')).toStdString(), "Copytoclipboard,Export,,Print");
    EXPECT_EQ(ran, "copy,export,print,");

    window.show();
    QApplication::setActiveWindow(&window);
    field->setFocus();
    ran.clear();
    QTest::keyClick(field, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(ran, "copy,");
}

} // namespace
