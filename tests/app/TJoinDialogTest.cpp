// The Join recordings dialog and the File menu's command that opens it.
#include "tests/support/ModalDriver.h"
#include "tests/support/TestSettings.h"

#include "app/TJoinDialog.h"
#include "app/TMainForm.h"
#include "database/LDatabase.h"
#include "model/LParameter.h"
#include "tools/RecordingGenerator.h"

#include <QComboBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <fstream>

namespace {

class TJoinDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        ClearSettings();
        GeneratorOptions o;
        o.entries = {6, 47};
        o.start = CalendarTime{2026, 11, 2, 0, 0, 0};
        o.historicPoints = 120;
        // Two hours each: the second 37 minutes after the first, the third back to back.
        const std::vector<GeneratedRecording> series = GenerateSeries(o, 3, 37);
        for (int k = 0; k < 3; ++k)
            Write(files[k], series[static_cast<size_t>(k)].Serialize());
        // The second again, an hour later: it overlaps the third.
        o.start = CalendarTime{2026, 11, 2, 3, 37, 0};
        Write("late.bin", GenerateRecording(o).Serialize());
    }
    void Write(const QString& name, const std::string& bytes) {
        std::ofstream(Path(name).toStdString(), std::ios::binary) << bytes;
    }
    QString Path(const QString& name) const { return dir.filePath(name); }
    static QStringList Column(const TJoinDialog& dialog, int column) {
        QStringList texts;
        for (int i = 0; i < dialog.FileList()->topLevelItemCount(); ++i)
            texts << dialog.FileList()->topLevelItem(i)->text(column);
        return texts;
    }

    QTemporaryDir dir;
    const QString files[3] = {QStringLiteral("a.bin"), QStringLiteral("b.bin"),
                              QStringLiteral("c.bin")};
};

TEST_F(TJoinDialogTest, ListsTheFilesByStartWithWhatLiesBetweenAndWhyNot) {
    TJoinDialog dialog;
    EXPECT_FALSE(dialog.OKButton()->isEnabled());
    EXPECT_EQ(dialog.OKButton()->text(), "Join");
    QString shown;
    {
        ModalDriver driver({[&](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            ASSERT_NE(box, nullptr);
            shown = box->text();
            box->accept();
        }});
        dialog.AddFiles({Path("c.bin"), Path("missing.bin"), Path("a.bin"), Path("b.bin")});
    }
    EXPECT_EQ(shown, "missing.bin could not be opened: it does not exist.\nError opening file!");
    EXPECT_EQ(Column(dialog, TJoinDialog::FileColumn), QStringList({"a.bin", "b.bin", "c.bin"}));
    EXPECT_EQ(Column(dialog, TJoinDialog::BeforeColumn),
              QStringList({"", "gap of 37 min", "gap of 37 min"}));
    EXPECT_EQ(Column(dialog, TJoinDialog::ParametersColumn), QStringList({"2", "2", "2"}));
    EXPECT_EQ(dialog.FileList()->topLevelItem(0)->text(TJoinDialog::RateColumn), "60 sec.");
    EXPECT_EQ(dialog.VerdictLabel()->text(),
              "The 3 recordings join into one of 7 h 14 min, with 2 gaps and 0 overlaps.");
    EXPECT_TRUE(dialog.OKButton()->isEnabled());

    dialog.AddFiles({Path("late.bin")});
    EXPECT_EQ(Column(dialog, TJoinDialog::FileColumn),
              QStringList({"a.bin", "b.bin", "late.bin", "c.bin"}));
    EXPECT_EQ(dialog.VerdictLabel()->text(),
              "They cannot be joined: late.bin starts 1 h before b.bin ends");
    EXPECT_FALSE(dialog.OKButton()->isEnabled());
    dialog.OverlapComboBox()->setCurrentIndex(2);
    EXPECT_EQ(dialog.Overlap(), JoinOverlap::Later);
    EXPECT_TRUE(dialog.OKButton()->isEnabled());
    dialog.SetOverlap(JoinOverlap::Refuse);
    EXPECT_FALSE(dialog.OKButton()->isEnabled());

    dialog.FileList()->setCurrentItem(dialog.FileList()->topLevelItem(2));
    dialog.RemoveFileButton()->click();
    EXPECT_EQ(Column(dialog, TJoinDialog::FileColumn), QStringList({"a.bin", "b.bin", "c.bin"}));
    EXPECT_TRUE(dialog.OKButton()->isEnabled());
    dialog.SetFilesAsker([&](QWidget*) { return QStringList{Path("late.bin")}; });
    dialog.AddFileButton()->click();
    EXPECT_EQ(dialog.FileList()->topLevelItemCount(), 4);
}

// After the save question for the open database, the joined one is open: new and modified.
TEST_F(TJoinDialogTest, JoinOpensTheResultAsANewModifiedDatabase) {
    TMainForm form;
    form.Database().New();
    GeneratorOptions open;
    open.entries = {6};
    open.historicPoints = 10;
    form.Database().Parse(GenerateRecordingBytes(open));
    form.SetModified();
    const auto choose = [&](QStringList names) {
        return [=](QWidget* w) {
            auto* dialog = qobject_cast<TJoinDialog*>(w);
            ASSERT_NE(dialog, nullptr);
            dialog->AddFiles(names);
            dialog->OKButton()->click();
        };
    };
    QString question;
    const auto answer = [&](QMessageBox::StandardButton button) {
        return [&question, button](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            ASSERT_NE(box, nullptr);
            question = box->text();
            box->button(button)->click();
        };
    };
    {
        // Cancelled at the question: the open database stays.
        ModalDriver driver({choose({Path("a.bin"), Path("b.bin")}), answer(QMessageBox::Cancel)});
        form.MIJoinClick();
    }
    EXPECT_EQ(question, "The current file was not saved.  Do you want to save changes?");
    EXPECT_EQ(form.Database().Parameters().Items(0)->Count(), 10);
    {
        ModalDriver driver(
            {choose({Path("c.bin"), Path("a.bin"), Path("b.bin")}), answer(QMessageBox::No)});
        form.MIJoinClick();
    }
    const LDatabase& db = form.Database();
    ASSERT_TRUE(db.Open());
    EXPECT_TRUE(db.Modified());
    EXPECT_FALSE(db.HasFileName());
    EXPECT_EQ(db.Parameters().Items(0)->Count(), 3 * 120 + 2 * 37);
    EXPECT_EQ(db.Header().Comments.rfind("Joined from: a.bin (", 0), 0u);
    EXPECT_EQ(form.StatusText(1), "Modified");
    form.Database().SetModified(false);
}

} // namespace
