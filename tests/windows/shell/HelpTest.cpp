#include "tests/support/ModalDriver.h"
#include "tests/support/TestSettings.h"

#include "windows/shell/Help.h"

#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace {

// F1 opens the topic of the window it was pressed in, or of the window that window belongs to;
// a window without a topic opens the contents.
TEST(HelpTest, F1OpensTheTopicOfTheWindowItWasPressedIn) {
    InstallHelpKey();
    std::vector<QString> opened;
    const HelpOpener previous = SetHelpOpener([&](const QUrl& url) {
        opened.push_back(url.fragment());
        return true;
    });
    QWidget plain, table, dialog(&table, Qt::Dialog);
    SetHelpTopic(&table, "tables");
    auto* field = new QLineEdit(&dialog);
    new QVBoxLayout(&dialog);
    dialog.layout()->addWidget(field);
    for (QWidget* w : {&plain, &table, &dialog})
        w->show();
    QTest::keyClick(&plain, Qt::Key_F1);
    QTest::keyClick(&table, Qt::Key_F1);
    QTest::keyClick(field, Qt::Key_F1);
    SetHelpTopic(&dialog, "visible");
    QTest::keyClick(field, Qt::Key_F1);
    SetHelpOpener(previous);
    EXPECT_EQ(opened, (std::vector<QString>{"contents", "tables", "tables", "visible"}));
}

TEST(HelpTest, WithoutABrowserTheMessageNamesTheHelpFile) {
    ASSERT_FALSE(HelpFilePath().isEmpty());
    const HelpOpener previous = SetHelpOpener([](const QUrl&) { return false; });
    QString text;
    ModalDriver driver({[&](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        ASSERT_NE(box, nullptr);
        text = box->text();
        box->accept();
    }});
    EXPECT_FALSE(ShowHelpTopic(QStringLiteral("tables")));
    SetHelpOpener(previous);
    EXPECT_TRUE(text.contains(HelpFilePath())) << text.toStdString();
}

} // namespace
