// The main window's commands as the user meets them: open, save, close with the question,
// import, a new recording, and the explorer tree.
#include "tests/support/EventLoop.h"
#include "tests/support/ModalDriver.h"
#include "tests/support/PdfPages.h"
#include "tests/support/PipeFile.h"
#include "tests/support/PrintInteractionSpy.h"
#include "tests/support/TestSettings.h"

#include "app/TMainForm.h"
#include "app/TSettingsDialog.h"
#include "database/LDatabase.h"
#include "model/Auxilary.h"
#include "model/LParameter.h"
#include "printing/LayoutPrinter.h"
#include "tools/RecordingGenerator.h"
#include "ui_TMainForm.h"
#include "windows/analysis/TStatisticsForm.h"
#include "windows/analysis/TSurveyForm.h"
#include "windows/charts/TChart.h"
#include "windows/charts/TChartForm.h"
#include "windows/shell/TErrorBox.h"
#include "windows/tables/TParameterGrid.h"
#include "windows/tables/TTableForm.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace {

std::string SmallRecording(int historicPoints = 20) {
    GeneratorOptions o;
    o.entries = {6, 47};
    o.historicPoints = historicPoints;
    return GenerateRecordingBytes(o);
}

// Presses a message box's button and remembers its text.
ModalDriver::Step Answer(QMessageBox::StandardButton button, QString* text = nullptr) {
    return [=](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        ASSERT_NE(box, nullptr) << "expected a message box, got " << w->metaObject()->className();
        if (text)
            *text = box->text();
        box->button(button)->click();
    };
}

// Confirms the recording information dialog with a location.
ModalDriver::Step Describe(const QString& location) {
    return [=](QWidget* w) {
        Child<QComboBox>(w, "LocationComboBox")->setEditText(location);
        Child<QPushButton>(w, "OKButton")->click();
    };
}

class TMainFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        ClearSettings();
        form = std::make_unique<TMainForm>();
        form->SetFileNameAsker([this](TMainForm::FileDialogKind kind) {
            asked.push_back(kind);
            return nextName;
        });
    }
    void TearDown() override {
        if (form->Database().Open())
            form->Database().SetModified(false);
    }
    QString Path(const QString& name) const { return dir.filePath(name); }
    QString SaveDatabaseFile(const QString& name, int tables = 0, int historicPoints = 20) {
        LDatabase db;
        db.New();
        db.Parse(SmallRecording(historicPoints));
        for (int i = 0; i < tables; ++i) {
            LTableRecord* table = db.AddTable();
            for (const auto& source : db.AllSources())
                if (source->Parameter->TableType() == ttHistoric)
                    table->Sources.Add(std::make_unique<LParameterSource>(*source));
        }
        db.AddChart();
        db.SetFileName(Path(name).toStdString());
        db.Save(false);
        return QString::fromStdString(db.FileName());
    }
    bool TreeShown() const { return !form->Explorer()->isHidden(); }

    QTemporaryDir dir;
    std::unique_ptr<TMainForm> form;
    std::vector<TMainForm::FileDialogKind> asked;
    QString nextName;
};

TEST_F(TMainFormTest, StartsEmpty) {
    EXPECT_FALSE(TreeShown());
    EXPECT_EQ(form->StatusText(0), "");
    EXPECT_EQ(form->StatusText(1), "");
    EXPECT_EQ(form->ApplicationTitle(), "Vireo Zure PRO ");
    EXPECT_FALSE(form->Form().MISave->isEnabled());
    EXPECT_TRUE(form->Form().MINew->isEnabled());
    EXPECT_FALSE(form->Form().PopPrint->isEnabled());
}

TEST_F(TMainFormTest, CommandLineTakesTheDebugSwitchOnlyInFront) {
    bool debug = false;
    EXPECT_EQ(TMainForm::CommandLineFile({"/DEBUG", "/data/week 4.vro"}, debug),
              "/data/week 4.vro");
    EXPECT_TRUE(debug);
    EXPECT_EQ(TMainForm::CommandLineFile({"/data/debug/a.vro"}, debug), "/data/debug/a.vro");
    EXPECT_FALSE(debug);
    EXPECT_EQ(TMainForm::CommandLineFile({"/data/week", "4.vro"}, debug), "/data/week 4.vro");
    EXPECT_EQ(TMainForm::CommandLineFile({}, debug), "");
}

TEST_F(TMainFormTest, CommandLineFileOpensWithItsTablesAndChartsInTheTree) {
    const QString file = SaveDatabaseFile("site", 2);
    form->FormCreate(file);
    EXPECT_TRUE(TreeShown());
    EXPECT_EQ(form->StatusText(0), "site.vro");
    EXPECT_EQ(form->ApplicationTitle(), "Vireo Zure PRO site.vro");
    EXPECT_EQ(form->RecentFiles().Files().value(0), file);
    ASSERT_EQ(form->TablesNode()->childCount(), 2);
    EXPECT_EQ(form->TablesNode()->child(1)->text(0), "Table #2");
    EXPECT_EQ(form->ChartsNode()->child(0)->text(0), "Chart #1");
    EXPECT_TRUE(form->Form().MISave->isEnabled());
}

TEST_F(TMainFormTest, FailedOpenLeavesNothingOpenAndNothingRemembered) {
    QFile bad(Path("bad.vro"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("\x03\0\0\0vro", 7);
    bad.close();
    // The program-error box reports the wrong mark first, then the message box says it.
    InstallErrorBox();
    QString shown, context;
    ModalDriver driver({[&](QWidget* w) {
                            context = ErrorBox().Context();
                            Child<QPushButton>(w, "ContinueBtn")->click();
                        },
                        Answer(QMessageBox::Ok, &shown)});
    form->OpenDatabase(Path("bad.vro"), true);
    EXPECT_EQ(context, "LDatabase::Load");
    EXPECT_EQ(shown, "bad.vro could not be opened: it is damaged or not a database file of this "
                     "program.\nWrong file format");
    EXPECT_FALSE(form->Database().Open());
    EXPECT_FALSE(TreeShown());
    EXPECT_EQ(form->RecentFiles().Count(), 0);
}

// File › Open opens a FIFO once, and the cause of the failure comes from that open.
TEST_F(TMainFormTest, OpenOfAFifoThatFailsOpensItOnce) {
    const FedFifo fifo(Path("pipe.vro").toStdString(), std::string("\x03\0\0\0Vro", 7));
    nextName = Path("pipe.vro");
    QString shown;
    ModalDriver driver({Answer(QMessageBox::Ok, &shown)});
    form->MIOpenClick();
    EXPECT_EQ(shown, "pipe.vro could not be opened: it is not a regular file.\nError reading");
    EXPECT_FALSE(fifo.ReopenedForReading());
    EXPECT_FALSE(form->Database().Open());
}

// A table over a time range to the recording's end that takes in a parameter with fewer
// points than the other opens, and shows the rows past its data as empty cells.
TEST_F(TMainFormTest, ATableOverAShorterParameterOpensWithItsRows) {
    GeneratorOptions o;
    o.entries = {6, 7};
    o.historicPoints = 20;
    GeneratedRecording recording = GenerateRecording(o);
    recording.blocks[1].values.resize(12);
    LDatabase db;
    db.New();
    db.Parse(recording.Serialize());
    LTableRecord& table = *db.AddTable();
    for (const auto& p : db.Parameters())
        table.Sources.Add(std::make_unique<LParameterSource>(p.get()));
    table.Sources.SetSubset(5, 19);
    db.SetFileName(Path("range").toStdString());
    db.Save(false);

    QString shown;
    ModalDriver driver({Answer(QMessageBox::Ok, &shown)});
    form->OpenDatabase(QString::fromStdString(db.FileName()), false);
    EXPECT_EQ(shown, "");
    ASSERT_TRUE(form->Database().Open());
    form->Explorer()->expandAll();
    form->Explorer()->setCurrentItem(form->TablesNode()->child(0));
    form->PopViewClick();
    TTableForm* window = form->ExistingTableWindow(form->Database().Tables()[0].get());
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->Table()->RowCount(), 1 + 15);
    const std::string last = window->Table()->RowText(15);
    EXPECT_EQ(last.substr(last.size() - 3), "\t\r\n") << last; // V2 had 12 points
    EXPECT_NE(window->Table()->RowText(7).substr(window->Table()->RowText(7).size() - 3), "\t\r\n");
}

// Values no recorder can produce are counted when a file opens, in the status bar, until the
// database closes.
TEST_F(TMainFormTest, TheStatusBarCountsValuesNoRecorderCanProduce) {
    GeneratorOptions o;
    o.entries = {6, 40}; // RMS Voltage - VAN, Power Factor - 3Ø
    o.historicPoints = 4;
    GeneratedRecording recording = GenerateRecording(o);
    recording.blocks[0].values[1] = -1;
    recording.blocks[1].values = {0.9f, 1.5f, 1.01f, 0.8f};
    QFile file(Path("odd.bin"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray::fromStdString(recording.Serialize()));
    file.close();
    nextName = Path("odd.bin");
    {
        ModalDriver driver({Describe("Bay 2")});
        form->MIImportClick();
    }
    EXPECT_EQ(form->StatusText(2), "RMS Voltage - VAN: 1 negative value; Power Factor - 3Ø: 2 "
                                   "values outside −1 to 1");
    form->Database().SetModified(false);
    form->MICloseClick();
    EXPECT_EQ(form->StatusText(2), "");
    form->OpenDatabase(SaveDatabaseFile("plain"), false);
    EXPECT_EQ(form->StatusText(2), "");
}

TEST_F(TMainFormTest, CloseAsksOnlyWhenModifiedAndCancelKeepsEverything) {
    form->OpenDatabase(SaveDatabaseFile("w"), false);
    EXPECT_TRUE(form->CloseDatabase()) << "nothing to ask";
    EXPECT_FALSE(form->Database().Open());

    form->OpenDatabase(Path("w.vro"), false);
    form->SetModified();
    EXPECT_EQ(form->StatusText(1), "Modified");
    QString question;
    {
        ModalDriver driver({Answer(QMessageBox::Cancel, &question)});
        EXPECT_FALSE(form->CloseDatabase());
    }
    EXPECT_EQ(question, "The current file was not saved.  Do you want to save changes?");
    EXPECT_TRUE(form->Database().Open());
    {
        ModalDriver driver({Answer(QMessageBox::No)});
        EXPECT_TRUE(form->CloseDatabase());
    }
    EXPECT_FALSE(form->Database().Open());
    EXPECT_FALSE(TreeShown());
}

TEST_F(TMainFormTest, NewRecordingIsDownloadedDescribedAndSavedUnderAChosenName) {
    form->SetDownloader([](std::string& bytes) {
        bytes = SmallRecording();
        return true;
    });
    {
        ModalDriver driver({Describe("Feeder 3")});
        form->MINewClick();
    }
    ASSERT_TRUE(form->Database().Open());
    EXPECT_EQ(form->Database().Header().Location, "Feeder 3");
    EXPECT_TRUE(form->Database().Modified());
    EXPECT_FALSE(form->Database().HasFileName());
    EXPECT_EQ(form->StatusText(0), "New Database");
    EXPECT_TRUE(TreeShown());

    // Yes on an unnamed database asks for a name; cancelling that keeps everything.
    nextName.clear();
    {
        ModalDriver driver({Answer(QMessageBox::Yes)});
        EXPECT_FALSE(form->CloseDatabase());
    }
    EXPECT_EQ(asked.size(), 1u);
    EXPECT_TRUE(form->Database().Open());
    EXPECT_TRUE(form->Database().Modified());

    nextName = Path("feeder");
    form->MISaveClick();
    EXPECT_TRUE(QFile::exists(Path("feeder.vro")));
    EXPECT_FALSE(form->Database().Modified());
    EXPECT_EQ(form->StatusText(0), "feeder.vro");
    EXPECT_EQ(form->Form().StatusBar->currentMessage(),
              "Wrote " + QFileInfo(Path("feeder.vro")).absoluteFilePath());
    // Save asks only for an unnamed database; Save As always.
    form->MISaveClick();
    EXPECT_EQ(asked.size(), 2u);
    nextName = Path("copy.vro");
    form->MISaveAsClick();
    EXPECT_EQ(asked.size(), 3u);
    EXPECT_TRUE(QFile::exists(Path("copy.vro")));
}

TEST_F(TMainFormTest, FailedDownloadOrParseKeepsAConsistentState) {
    form->SetDownloader([](std::string&) { return false; });
    form->MINewClick();
    EXPECT_FALSE(form->Database().Open());

    form->SetDownloader([](std::string& bytes) {
        bytes = "too short";
        return true;
    });
    QString shown;
    {
        ModalDriver driver({Answer(QMessageBox::Ok, &shown)});
        form->MINewClick();
    }
    EXPECT_EQ(shown, "Parse error:Incremented past end");
    EXPECT_FALSE(form->Database().Open());
    EXPECT_FALSE(TreeShown());
}

TEST_F(TMainFormTest, ImportedRecordingSavesBesideItsExportFileWithoutAsking) {
    QFile bin(Path("Site 7.BIN"));
    ASSERT_TRUE(bin.open(QIODevice::WriteOnly));
    const std::string bytes = SmallRecording();
    bin.write(bytes.data(), static_cast<qint64>(bytes.size()));
    bin.close();
    nextName = bin.fileName();
    {
        ModalDriver driver({Describe("Bay 1")});
        form->MIImportClick();
    }
    ASSERT_TRUE(form->Database().Open());
    EXPECT_TRUE(form->Database().Modified());
    EXPECT_EQ(form->StatusText(0), "Site 7.vro");
    asked.clear();
    form->MISaveClick();
    EXPECT_TRUE(asked.empty());
    EXPECT_TRUE(QFile::exists(Path("Site 7.vro")));
}

TEST_F(TMainFormTest, FailedSaveKeepsTheRecordingOpenAndModified) {
    form->OpenDatabase(SaveDatabaseFile("s"), false);
    form->SetModified();
    nextName = Path("no/such/folder/x");
    QString shown;
    {
        ModalDriver driver({Answer(QMessageBox::Ok, &shown)});
        EXPECT_FALSE(form->SaveDatabase(true));
    }
    EXPECT_EQ(shown, "Error occured while saving the file.");
    EXPECT_TRUE(form->Database().Open());
    EXPECT_TRUE(form->Database().Modified());
    EXPECT_EQ(form->StatusText(1), "Modified");
}

TEST_F(TMainFormTest, TreeNodesEnableTheirCommandsAndTablesCanBeRenamedAndDeleted) {
    form->OpenDatabase(SaveDatabaseFile("t", 2), false);
    QTreeWidget* tree = form->Explorer();
    tree->setCurrentItem(form->TablesNode());
    EXPECT_EQ(form->SelectedKind(), ikTables);
    EXPECT_TRUE(form->Form().PopView->isEnabled());
    for (QAction* a : {form->Form().PopCopy, form->Form().PopPrint, form->Form().PopRename,
                       form->Form().PopDelete, form->Form().PopProperties})
        EXPECT_FALSE(a->isEnabled()) << a->text().toStdString();
    form->PopViewClick();
    EXPECT_TRUE(form->TablesNode()->isExpanded());

    QTreeWidgetItem* first = form->TablesNode()->child(0);
    tree->setCurrentItem(first);
    EXPECT_EQ(form->SelectedKind(), ikTable);
    EXPECT_TRUE(form->Form().PopRename->isEnabled());
    // F2 on a table node edits its text; accepting sets the modified flag, even unchanged.
    form->show();
    for (const QString& text : {QString("Voltages"), QString("Voltages")}) {
        form->Database().SetModified(false);
        QTest::keyClick(tree, Qt::Key_F2);
        auto* editor = tree->viewport()->findChild<QLineEdit*>();
        ASSERT_NE(editor, nullptr);
        editor->setText(text);
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents(); // the delegate commits from the event loop
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); // the editor
        EXPECT_EQ(form->Database().Tables()[0]->Caption, "Voltages");
        EXPECT_TRUE(form->Database().Modified());
    }
    // An empty name is refused: the table keeps its name, nothing is modified.
    form->Database().SetModified(false);
    QTest::keyClick(tree, Qt::Key_F2);
    auto* editor = tree->viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->setText("  ");
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(form->Database().Tables()[0]->Caption, "Voltages");
    EXPECT_EQ(first->text(0), "Voltages");
    EXPECT_FALSE(form->Database().Modified());
    // The root nodes cannot be edited.
    tree->setCurrentItem(form->TablesNode());
    QTest::keyClick(tree, Qt::Key_F2);
    EXPECT_EQ(tree->viewport()->findChild<QLineEdit*>(), nullptr);
    tree->setCurrentItem(first);

    form->Database().SetModified(false);
    {
        ModalDriver driver({Answer(QMessageBox::No)});
        form->PopDeleteClick();
    }
    EXPECT_EQ(form->Database().Tables().size(), 2u);
    EXPECT_FALSE(form->Database().Modified());
    {
        ModalDriver driver({Answer(QMessageBox::Yes)});
        form->PopDeleteClick();
    }
    ASSERT_EQ(form->Database().Tables().size(), 1u);
    EXPECT_EQ(form->TablesNode()->childCount(), 1);
    EXPECT_EQ(form->SelectedKind(), ikTables);
    EXPECT_TRUE(form->Database().Modified());
}

// The banner shows whenever no database is open, unless the settings say otherwise: also
// after a close and after a file that failed to open.
TEST_F(TMainFormTest, TheBannerShowsWheneverNoDatabaseIsOpenAndTheSettingSaysSo) {
    const auto shown = [this] { return !form->AdImage()->isHidden(); };
    EXPECT_TRUE(shown());
    form->OpenDatabase(SaveDatabaseFile("ad"), false);
    EXPECT_FALSE(shown());
    form->MICloseClick();
    EXPECT_TRUE(shown());
    {
        ModalDriver driver({Answer(QMessageBox::Ok)});
        form->OpenDatabase(Path("missing.vro"), false);
    }
    EXPECT_TRUE(shown());
    for (const bool setting : {false, true}) {
        bool boxChecked = setting;
        ModalDriver driver({[&](QWidget* w) {
            auto* box = Child<QCheckBox>(w, "ShowAdCheckbox");
            boxChecked = box->isChecked();
            box->setChecked(setting);
            Child<QPushButton>(w, "OKButton")->click();
        }});
        form->MISettingsClick();
        EXPECT_EQ(boxChecked, !setting); // the box shows the setting in effect
        EXPECT_EQ(shown(), setting);
    }
}

TEST_F(TMainFormTest, TheWorkingFoldersBannerWinsAndABrokenOneLeavesThePictureEmpty) {
    const QString before = QDir::currentPath();
    QDir::setCurrent(dir.path());
    QImage own(40, 20, QImage::Format_RGB32);
    own.fill(Qt::red);
    ASSERT_TRUE(own.save("Banner.bmp"));
    EXPECT_EQ(TMainForm().AdImage()->pixmap().size(), QSize(40, 20));
    QFile broken("Banner.bmp");
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly | QIODevice::Truncate));
    broken.write("BM not a picture");
    broken.close();
    EXPECT_TRUE(TMainForm().AdImage()->pixmap().isNull());
    QDir::setCurrent(before);
}

TEST_F(TMainFormTest, FileDialogsGiveATypedNameTheirExtension) {
    const struct {
        TMainForm::FileDialogKind kind;
        const char *typed, *file;
    } cases[] = {{TMainForm::FileDialogKind::Open, "site", "site.vro"},
                 {TMainForm::FileDialogKind::Import, "week", "week.bin"},
                 {TMainForm::FileDialogKind::Save, "new", "new.vro"}};
    for (const auto& c : cases) {
        QFile(Path(c.file)).open(QIODevice::WriteOnly);
        const auto dialog = TMainForm::MakeFileDialog(c.kind, nullptr);
        dialog->setDirectory(dir.path());
        dialog->selectFile(c.typed);
        EXPECT_EQ(dialog->selectedFiles().value(0), Path(c.file)) << c.typed;
    }
}

// Checks every offered parameter and confirms; then confirms the whole time range.
ModalDriver::Step ChooseAll() {
    return [](QWidget* w) {
        Child<QPushButton>(w, "AllButton")->click();
        Child<QPushButton>(w, "OKButton")->click();
    };
}
ModalDriver::Step Confirm() {
    return [](QWidget* w) { Child<QPushButton>(w, "OKButton")->click(); };
}

// The pop-up menu of every kind of node, read from its actions as a right-click shows them,
// and the menu and tool bar commands with and without a database.
TEST_F(TMainFormTest, EveryNodeEnablesItsCommandsAsTheUserMeetsThem) {
    const auto& f = form->Form();
    const std::pair<const char*, QAction*> popup[] = {{"view", f.PopView},
                                                      {"copy", f.PopCopy},
                                                      {"export", f.PopExport},
                                                      {"rename", f.PopRename},
                                                      {"delete", f.PopDelete},
                                                      {"properties", f.PopProperties},
                                                      {"statistics", f.PopStatistics},
                                                      {"print", f.PopPrint}};
    const std::pair<const char*, QAction*> menu[] = {{"save", f.MISave},
                                                     {"save as", f.MISaveAs},
                                                     {"close", f.MIClose},
                                                     {"create table", f.MICreateTable},
                                                     {"create chart", f.MICreateChart},
                                                     {"recording info", f.MIRecordingInfo},
                                                     {"survey", f.MISurvey},
                                                     {"survey report", f.MISurveyReport},
                                                     {"new", f.MINew},
                                                     {"open", f.MIOpen}};
    const auto enabled = [](const auto& actions) {
        std::string names;
        for (const auto& [name, action] : actions)
            if (action->isEnabled())
                names += std::string(names.empty() ? "" : " ") + name;
        return names;
    };
    EXPECT_EQ(enabled(menu), "new open");
    EXPECT_FALSE(f.PopPrint->isEnabled()); // the tool bar's Print

    form->OpenDatabase(SaveDatabaseFile("menus", 1), false);
    form->show();
    QTreeWidget* tree = form->Explorer();
    tree->expandAll();
    EXPECT_EQ(enabled(menu),
              "save save as close create table create chart recording info survey survey report "
              "new open");
    const std::pair<QTreeWidgetItem*, std::string> nodes[] = {
        {form->RecordingInfoNode(), "view copy properties print"},
        {form->TablesNode(), "view"},
        {form->TablesNode()->child(0), "view copy export rename delete statistics print"},
        {form->ChartsNode(), "view"},
        {form->ChartsNode()->child(0), "view copy rename delete properties statistics print"}};
    for (const auto& [node, expected] : nodes) {
        SCOPED_TRACE(node->text(0).toStdString());
        const QPoint at = tree->visualItemRect(node).center();
        QContextMenuEvent click(QContextMenuEvent::Mouse, at, tree->viewport()->mapToGlobal(at));
        QApplication::sendEvent(tree->viewport(), &click);
        EXPECT_EQ(tree->currentItem(), node);
        EXPECT_TRUE(form->Popup()->isVisible());
        EXPECT_EQ(enabled(popup), expected);
        form->Popup()->hide();
    }
}

// Every command that changes what the file stores marks the database modified; what is not
// stored (the visible parameters, a cancelled dialog) does not.
TEST_F(TMainFormTest, EveryChangeOfWhatIsStoredMarksTheDatabaseModified) {
    const QString file = SaveDatabaseFile("modified", 1);
    QTreeWidget* tree = form->Explorer();
    const auto select = [&](QTreeWidgetItem* node) { tree->setCurrentItem(node); };
    const auto rename = [&](QTreeWidgetItem* node) {
        select(node);
        QTest::keyClick(tree, Qt::Key_F2);
        auto* editor = tree->viewport()->findChild<QLineEdit*>();
        ASSERT_NE(editor, nullptr);
        editor->setText("Renamed");
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    };
    const ModalDriver::Step cancel = [](QWidget* w) {
        Child<QPushButton>(w, "CancelButton")->click();
    };
    const struct {
        const char* name;
        std::vector<ModalDriver::Step> answers;
        std::function<void()> command;
        bool modifies;
    } cases[] = {
        {"recording info", {Describe("Plant 7")}, [&] { form->MIRecordingInfoClick(); }, true},
        {"its properties",
         {Describe("Plant 8")},
         [&] {
             select(form->RecordingInfoNode());
             form->PopPropertiesClick();
         },
         true},
        {"recording info cancelled", {cancel}, [&] { form->MIRecordingInfoClick(); }, false},
        {"create table", {ChooseAll(), Confirm()}, [&] { form->MICreateTableClick(); }, true},
        {"create chart", {ChooseAll(), Confirm()}, [&] { form->MICreateChartClick(); }, true},
        {"rename table", {}, [&] { rename(form->TablesNode()->child(0)); }, true},
        {"rename chart", {}, [&] { rename(form->ChartsNode()->child(0)); }, true},
        {"delete table",
         {Answer(QMessageBox::Yes)},
         [&] {
             select(form->TablesNode()->child(0));
             form->PopDeleteClick();
         },
         true},
        {"delete chart",
         {Answer(QMessageBox::Yes)},
         [&] {
             select(form->ChartsNode()->child(0));
             form->PopDeleteClick();
         },
         true},
        {"chart properties",
         {[](QWidget* w) {
             Child<QLineEdit>(w, "ChartTitle")->setText("Feeder C");
             Child<QPushButton>(w, "OKButton")->click();
         }},
         [&] {
             select(form->ChartsNode()->child(0));
             form->PopPropertiesClick();
         },
         true},
        {"visible parameters",
         {[](QWidget* w) { Child<QPushButton>(w, "OKButton")->click(); }},
         [&] { form->TableWindow(*form->Database().Tables()[0]).VisibleParametersClick(); },
         false},
    };
    form->show();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        form->OpenDatabase(file, false);
        tree->expandAll();
        ASSERT_FALSE(form->Database().Modified());
        {
            ModalDriver driver(c.answers);
            c.command();
            EXPECT_EQ(driver.StepsRun(), c.answers.size());
        }
        EXPECT_EQ(form->Database().Modified(), c.modifies);
        EXPECT_EQ(form->StatusText(1).isEmpty(), !c.modifies);
        form->Database().SetModified(false);
    }
}

// The desktop's keys: Ctrl+W closes the database; in the tree Ctrl+C copies, Enter shows and
// Delete deletes (after the question) the selected table.
TEST_F(TMainFormTest, TheDesktopsKeysCloseCopyShowAndDelete) {
    form->OpenDatabase(SaveDatabaseFile("keys", 2), false);
    form->show();
    form->activateWindow();
    ASSERT_TRUE(RunEventsUntil([&] { return QApplication::activeWindow() == form.get(); }));
    QTreeWidget* tree = form->Explorer();
    tree->setFocus();
    tree->setCurrentItem(form->TablesNode()->child(0));
    LTableRecord* table = form->Database().Tables()[0].get();

    QApplication::clipboard()->clear();
    QTest::keyClick(tree, Qt::Key_C, Qt::ControlModifier);
    EXPECT_TRUE(QApplication::clipboard()->text().startsWith("Time\t"));
    EXPECT_TRUE(form->Database().Open());

    QTest::keyClick(tree, Qt::Key_Return);
    ASSERT_NE(form->ExistingTableWindow(table), nullptr);
    EXPECT_TRUE(form->ExistingTableWindow(table)->isVisible());

    form->activateWindow();
    ASSERT_TRUE(RunEventsUntil([&] { return QApplication::activeWindow() == form.get(); }));
    tree->setFocus();
    {
        ModalDriver driver({Answer(QMessageBox::Yes)});
        QTest::keyClick(tree, Qt::Key_Delete);
        EXPECT_EQ(driver.StepsRun(), 1u);
    }
    EXPECT_EQ(form->Database().Tables().size(), 1u);

    form->Database().SetModified(false);
    form->activateWindow();
    ASSERT_TRUE(RunEventsUntil([&] { return QApplication::activeWindow() == form.get(); }));
    QTest::keyClick(form.get(), Qt::Key_W, Qt::ControlModifier);
    EXPECT_FALSE(form->Database().Open());
}

// Table and chart windows open whole on the screen, below the main window's menu and tool
// bar, each a step further than the one before.
TEST_F(TMainFormTest, NewWindowsOpenCascadedBelowTheMenuAndWholeOnTheScreen) {
    form->OpenDatabase(SaveDatabaseFile("cascade", 2), false);
    const QRect screen = form->screen()->availableGeometry();
    form->setGeometry(screen);
    form->show();
    QWidget* windows[] = {&form->TableWindow(*form->Database().Tables()[0]),
                          &form->TableWindow(*form->Database().Tables()[1]),
                          form->ChartWindow(*form->Database().Charts()[0])};
    const int menuBottom = form->Form().ClientArea->mapToGlobal(QPoint(0, 0)).y();
    for (QWidget* w : windows) {
        ASSERT_NE(w, nullptr);
        EXPECT_GT(w->y(), menuBottom);
        EXPECT_TRUE(screen.contains(w->geometry())) << w->windowTitle().toStdString();
    }
    EXPECT_GT(windows[1]->x(), windows[0]->x());
    EXPECT_GT(windows[1]->y(), windows[0]->y());
}

TEST_F(TMainFormTest, CreateTableAsksParametersAndRangeAndCaptionsFromTheCounter) {
    form->OpenDatabase(SaveDatabaseFile("new", 0), false);
    {
        ModalDriver driver({ChooseAll(), Confirm()});
        form->MICreateTableClick();
        EXPECT_EQ(driver.StepsRun(), 2u);
    }
    ASSERT_EQ(form->Database().Tables().size(), 1u);
    LTableRecord& first = *form->Database().Tables()[0];
    EXPECT_EQ(first.Caption, "Table #1");
    EXPECT_EQ(first.Sources.Count(), 1); // the one Historic parameter
    // The whole time range reaches the table: every sample.
    EXPECT_EQ(first.Sources.Items(0)->GetCount(), 20);
    EXPECT_EQ(form->TablesNode()->child(0)->text(0), "Table #1");
    ASSERT_NE(form->ExistingTableWindow(&first), nullptr);
    EXPECT_TRUE(form->ExistingTableWindow(&first)->isVisible());
    EXPECT_EQ(form->ExistingTableWindow(&first)->windowTitle(), "Table #1");
    EXPECT_TRUE(form->Database().Modified());
    // The new table is the selected node, in an expanded branch.
    EXPECT_TRUE(form->TablesNode()->isExpanded());
    EXPECT_EQ(form->Explorer()->currentItem(), form->TablesNode()->child(0));

    form->Explorer()->setCurrentItem(form->TablesNode()->child(0));
    {
        ModalDriver driver({Answer(QMessageBox::Yes)});
        form->PopDeleteClick();
    }
    EXPECT_TRUE(form->Database().Tables().empty());
    {
        ModalDriver driver({ChooseAll(), Confirm()});
        form->MICreateTableClick();
    }
    ASSERT_EQ(form->Database().Tables().size(), 1u);
    EXPECT_EQ(form->Database().Tables()[0]->Caption, "Table #2");
    // Cancel in the time range makes nothing.
    {
        ModalDriver driver(
            {ChooseAll(), [](QWidget* w) { Child<QPushButton>(w, "CancelButton")->click(); }});
        form->MICreateTableClick();
    }
    EXPECT_EQ(form->Database().Tables().size(), 1u);
}

TEST_F(TMainFormTest, CreateChartMakesAChartWhoseNodeActsOnItsWindow) {
    form->OpenDatabase(SaveDatabaseFile("charts", 0), false); // with an empty Chart #1
    {
        ModalDriver driver({ChooseAll(), Confirm()});
        form->MICreateChartClick();
        EXPECT_EQ(driver.StepsRun(), 2u);
    }
    ASSERT_EQ(form->Database().Charts().size(), 2u);
    LChartRecord& chart = *form->Database().Charts()[1];
    EXPECT_EQ(chart.Caption, "Chart #2");
    EXPECT_EQ(chart.Sources.Count(), 2);
    // Every sample of the whole range reaches the chart.
    for (const auto& source : chart.Sources)
        EXPECT_EQ(source->GetCount(),
                  source->Parameter->TableType() == ttHistoric ? 20 : source->Parameter->Count());
    TChartForm* window = form->ExistingChartWindow(&chart);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), "Chart #2");
    EXPECT_TRUE(form->Database().Modified());

    QTreeWidget* tree = form->Explorer();
    QTreeWidgetItem* node = form->ChartsNode()->child(1);
    tree->setCurrentItem(node);
    EXPECT_EQ(form->SelectedKind(), ikChart);
    EXPECT_TRUE(form->Form().PopProperties->isEnabled());
    form->show();
    QTest::keyClick(tree, Qt::Key_F2);
    auto* editor = tree->viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->setText("Voltages");
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(window->windowTitle(), "Voltages");

    // The footers follow the recording's location.
    {
        ModalDriver driver({Describe("Plant 9")});
        form->MIRecordingInfoClick();
    }
    EXPECT_TRUE(window->Chart()->Foot()->text().endsWith("Plant 9"));

    // What the property editor changes is the database's.
    form->Database().SetModified(false);
    tree->setCurrentItem(form->ChartsNode()->child(1));
    {
        ModalDriver driver({[](QWidget* w) {
            Child<QLineEdit>(w, "ChartTitle")->setText("Feeder B");
            Child<QPushButton>(w, "OKButton")->click();
        }});
        form->PopPropertiesClick();
    }
    EXPECT_EQ(chart.Title, "Feeder B");
    EXPECT_TRUE(form->Database().Modified());

    {
        ModalDriver driver({Answer(QMessageBox::Yes)});
        form->PopDeleteClick();
    }
    ASSERT_EQ(form->Database().Charts().size(), 1u);
    EXPECT_EQ(form->ExistingChartWindow(&chart), nullptr);
    EXPECT_EQ(form->SelectedKind(), ikCharts);
}

TEST_F(TMainFormTest, CommandsThatCloseTheDatabaseWaitForATableCopy) {
    form->OpenDatabase(SaveDatabaseFile("copy", 1, 3000), false);
    form->Explorer()->setCurrentItem(form->TablesNode()->child(0));
    TTableForm& window = form->TableWindow(*form->Database().Tables()[0]);
    QString refused;
    bool stillOpen = false;
    // Runs from the events the copy processes.
    QTimer::singleShot(0, form.get(), [&] {
        ModalDriver driver({Answer(QMessageBox::Ok, &refused), Answer(QMessageBox::Ok)});
        form->MICloseClick();
        form->PopDeleteClick();
        stillOpen = form->Database().Open() && form->Database().Tables().size() == 1;
    });
    window.CopyEntireTable();
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(refused, "A table is being copied. Wait until the copy finishes.");
    form->MICloseClick();
    EXPECT_FALSE(form->Database().Open());
}

TEST_F(TMainFormTest, PrintPrintsTheSelectedNodeAndNothingTakesTheDatabaseMeanwhile) {
    const QString file = SaveDatabaseFile("print", 1, 30);
    form->OpenDatabase(file, true);
    PrintInteractionSpy printing(Path(QStringLiteral("print.pdf")));
    ProgramPrintSetup().Printer().setOutputFormat(QPrinter::PdfFormat);
    SetProgramInteraction(&printing);
    const std::string pdf = Path(QStringLiteral("print.pdf")).toStdString();

    form->PopPrintClick();
    ASSERT_EQ(form->SelectedKind(), ikRecordingInfo);
    EXPECT_EQ(Occurrences(PdfPageTexts(pdf).at(0), "Recording info"), 1);
    form->Explorer()->setCurrentItem(form->ChartsNode()->child(0));
    form->PopPrintClick();
    EXPECT_EQ(Occurrences(PdfPageTexts(pdf).at(0), "Chart #1"), 1);

    form->Explorer()->setCurrentItem(form->TablesNode()->child(0));
    std::vector<QString> refusals(7);
    std::vector<ModalDriver::Step> answers;
    for (QString& text : refusals)
        answers.push_back(Answer(QMessageBox::Ok, &text));
    bool downloaded = false;
    form->SetDownloader([&](std::string&) { return downloaded = true; });
    // The test's commands run from the events the printout processes.
    printing.OnProgress = [&](int32_t position) {
        if (position != 1)
            return;
        ModalDriver driver(answers);
        form->MICloseClick();
        form->MINewClick();
        form->MIOpenClick();
        form->MIImportClick();
        form->MIReopenClick(file);
        form->PopDeleteClick();
        form->TableWindow(*form->Database().Tables().front()).VisibleParametersClick();
        // Ending the program is refused without a word.
        form->close();
    };
    form->PopPrintClick();
    SetProgramInteraction(nullptr);
    std::vector<QString> expected(6, QString::fromLatin1(BusyMessage));
    expected.push_back(QStringLiteral("The visible parameters cannot be changed while a table "
                                      "prints. Wait until the printout finishes."));
    EXPECT_EQ(refusals, expected);
    EXPECT_TRUE(asked.empty());
    EXPECT_FALSE(downloaded);
    EXPECT_TRUE(form->Database().Open());
    EXPECT_EQ(form->Database().Tables().size(), 1u);
    EXPECT_EQ(Occurrences(PdfPageTexts(pdf).at(0), "Table #1"), 1);
    form->MICloseClick();
    EXPECT_FALSE(form->Database().Open());
}

// Statistics on a table or chart node opens that record's one Statistics window, which goes
// with the record when it is deleted and with every window when the database closes.
TEST_F(TMainFormTest, StatisticsWindowsAreOnePerRecordAndGoWithIt) {
    form->OpenDatabase(SaveDatabaseFile("statistics", 1), false);
    QTreeWidget* tree = form->Explorer();
    tree->expandAll();
    const int32_t before = LiveInstances::StatisticsFormCount;
    QTreeWidgetItem* table = form->TablesNode()->child(0);
    const void* record = form->Database().Tables()[0].get();
    tree->setCurrentItem(table);
    form->Form().PopStatistics->trigger();
    TStatisticsForm* shown = form->ExistingStatisticsWindow(record);
    ASSERT_NE(shown, nullptr);
    EXPECT_TRUE(shown->isVisible());
    // Owned by the main window, so that the window manager keeps it above and minimises it.
    EXPECT_EQ(shown->parentWidget(), form.get());
    EXPECT_EQ(shown->windowType(), Qt::Dialog);
    form->Form().PopStatistics->trigger();
    EXPECT_EQ(form->ExistingStatisticsWindow(record), shown);
    tree->setCurrentItem(form->ChartsNode()->child(0));
    form->Form().PopStatistics->trigger();
    EXPECT_EQ(LiveInstances::StatisticsFormCount, before + 2);

    tree->setCurrentItem(table);
    {
        ModalDriver driver({Answer(QMessageBox::Yes)});
        form->PopDeleteClick();
    }
    EXPECT_EQ(form->ExistingStatisticsWindow(record), nullptr);
    EXPECT_EQ(LiveInstances::StatisticsFormCount, before + 1);
    form->Database().SetModified(false);
    form->MICloseClick();
    EXPECT_EQ(LiveInstances::StatisticsFormCount, before);
}

// Survey opens the database's one Survey window, shows it again, and closes it with the
// database.
TEST_F(TMainFormTest, TheSurveyWindowIsOnePerDatabaseAndGoesWithIt) {
    form->MISurveyClick();
    EXPECT_EQ(form->ExistingSurveyWindow(), nullptr);
    form->OpenDatabase(SaveDatabaseFile("survey"), false);
    form->Form().MISurvey->trigger();
    TSurveyForm* window = form->ExistingSurveyWindow();
    ASSERT_NE(window, nullptr);
    const QPointer<TSurveyForm> shown = window;
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Survey of survey.vro"));
    window->hide();
    form->Form().MISurvey->trigger();
    EXPECT_EQ(form->ExistingSurveyWindow(), window);
    EXPECT_TRUE(window->isVisible());
    form->MICloseClick();
    EXPECT_FALSE(shown);
    EXPECT_EQ(form->ExistingSurveyWindow(), nullptr);
}

} // namespace

namespace {

// Escape closes the Survey and Statistics windows, as it closes a dialog.
TEST_F(TMainFormTest, EscapeClosesTheSurveyAndStatisticsWindows) {
    form->OpenDatabase(SaveDatabaseFile("escape", 1), false);
    form->Explorer()->expandAll();
    form->Explorer()->setCurrentItem(form->TablesNode()->child(0));
    form->Form().PopStatistics->trigger();
    form->Form().MISurvey->trigger();
    for (QWidget* window : std::initializer_list<QWidget*>{
             form->ExistingSurveyWindow(),
             form->ExistingStatisticsWindow(form->Database().Tables()[0].get())}) {
        ASSERT_NE(window, nullptr);
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window)) << window->objectName().toStdString();
        QTest::keyClick(window, Qt::Key_Escape);
        EXPECT_FALSE(window->isVisible()) << window->objectName().toStdString();
    }
}

} // namespace
