#include "tests/support/ErrorReportSpy.h"
#include "tests/support/ModalDriver.h"

#include "model/LParameter.h"
#include "tests/windows/tables/SampleRecording.h"
#include "windows/tables/TChartSelectParametersDialog.h"
#include "windows/tables/TParameterListView.h"
#include "windows/tables/TTableSelectParametersDialog.h"
#include "windows/tables/TVisibleParametersDialog.h"

#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <map>
#include <set>

#include <gtest/gtest.h>

namespace {

class TSelectParametersDialogTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { UseEnglishLocale(); }

    static std::vector<bool> Flags(const LParameterSourceGroup& group) {
        std::vector<bool> flags;
        for (const auto& source : group)
            flags.push_back(source->Selected);
        return flags;
    }

    static std::vector<bool> Checks(QWidget* dialog) {
        const auto* list = Child<TParameterListView>(dialog, "ParameterListView");
        std::vector<bool> checks;
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            checks.push_back(list->topLevelItem(i)->checkState(0) == Qt::Checked);
        return checks;
    }

    static void Click(QWidget* dialog, const char* button) {
        Child<QPushButton>(dialog, button)->click();
    }

    LDatabase db;
};

TEST_F(TSelectParametersDialogTest, OKWithNothingCheckedAsksAgainAndCancelRestoresTheFlags) {
    OpenRecording(db, {6, 7, 13, 47});
    LParameterSourceGroup& group = db.AllSources();
    group.Items(1)->Selected = false;
    const std::vector<bool> opened = Flags(group);
    int switched = 0;
    TVisibleParametersDialog dialog;
    dialog.SeriesSwitch = [&](LParameterSource&, bool) { ++switched; };
    dialog.ParameterListView()->SetGroup(&group);
    QString message;
    std::vector<bool> flagsMeanwhile;
    ModalDriver driver({[&](QWidget* w) {
                            Click(w, "NoneButton");
                            Click(w, "OKButton");
                        },
                        [&](QWidget* w) {
                            message = static_cast<QMessageBox*>(w)->text();
                            flagsMeanwhile = Flags(group);
                            static_cast<QMessageBox*>(w)->button(QMessageBox::Ok)->click();
                        },
                        [&](QWidget* w) { Click(w, "CancelButton"); }});
    EXPECT_FALSE(dialog.Execute());
    EXPECT_EQ(driver.StepsRun(), 3u);
    EXPECT_EQ(message, "No parameters selected.  You have to select at least one parameter.");
    EXPECT_EQ(flagsMeanwhile, std::vector<bool>(4, false));
    EXPECT_EQ(Flags(group), opened);
    EXPECT_EQ(switched, 0);
}

TEST_F(TSelectParametersDialogTest, VisibleParametersSwitchesTheSeriesAndCopiesNothing) {
    OpenRecording(db, {6, 7, 13});
    LParameterSourceGroup& group = db.ChartSources();
    std::vector<std::pair<LParameterSource*, bool>> switched;
    TVisibleParametersDialog dialog;
    dialog.SeriesSwitch = [&](LParameterSource& s, bool active) {
        switched.emplace_back(&s, active);
    };
    LParameterSourceGroup target(&db.Header());
    dialog.Group = &target;
    dialog.ParameterListView()->SetGroup(&group);
    group.Items(1)->Selected = false; // after SetGroup: Init shows the flags as they are now
    std::vector<bool> shown;
    ModalDriver driver({[&](QWidget* w) {
        shown = Checks(w);
        dialog.ParameterListView()->topLevelItem(2)->setCheckState(0, Qt::Unchecked);
        Click(w, "OKButton");
    }});
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(shown, (std::vector<bool>{true, false, true}));
    EXPECT_EQ(Flags(group), (std::vector<bool>{true, false, false}));
    EXPECT_EQ(switched,
              (std::vector<std::pair<LParameterSource*, bool>>{
                  {group.Items(0), true}, {group.Items(1), false}, {group.Items(2), false}}));
    EXPECT_EQ(target.Count(), 0);
    EXPECT_EQ(dialog.Group, nullptr);
}

TEST_F(TSelectParametersDialogTest, NewChartStartsUncheckedAndCopiesTheCheckedInListOrder) {
    OpenRecording(db, {47, 13, 6, 98, 122});
    TChartSelectParametersDialog dialog;
    LParameterSourceGroup target(&db.Header());
    dialog.Group = &target;
    dialog.ParameterListView()->SetGroup(&db.ChartSources());
    std::vector<bool> shown;
    std::multiset<int> types;
    std::vector<const LParameter*> checked;
    ModalDriver driver({[&](QWidget* w) {
        shown = Checks(w);
        TParameterListView* list = dialog.ParameterListView();
        for (int row = 0; row < list->topLevelItemCount(); ++row)
            types.insert(
                TParameterListView::Source(list->topLevelItem(row))->Parameter->TableType());
        for (const int row : {0, 2}) {
            list->topLevelItem(row)->setCheckState(0, Qt::Checked);
            checked.push_back(TParameterListView::Source(list->topLevelItem(row))->Parameter);
        }
        Click(w, "OKButton");
    }});
    ASSERT_TRUE(dialog.Execute());
    // The chart sources are the Historic, Event and Interval event ones, in kind order:
    // RMS Voltage, RMS Current, RMS Voltage Max twice.
    EXPECT_EQ(shown, std::vector<bool>(4, false));
    EXPECT_EQ(types, (std::multiset<int>{ttHistoric, ttHistoric, ttEvent, ttIntervalEvent}));
    ASSERT_EQ(target.Count(), 2);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(target.Items(i)->Parameter, checked[static_cast<size_t>(i)]);
        EXPECT_TRUE(target.Items(i)->Selected);
        EXPECT_NE(target.Items(i), db.ChartSources().Items(i));
    }
    EXPECT_EQ(target.Items(1)->Parameter->Name(), "RMS Voltage Max");
}

TEST_F(TSelectParametersDialogTest, NewTableOffersTheTypesTheRecordingHas) {
    const struct {
        const char* name;
        std::vector<int> entries;
        bool historic, event, cumulative;
        int shownType;
    } cases[] = {
        {"Event only", {47, 63, 115}, false, true, false, ttEvent},
        {"Historic and Cumulative", {98, 6, 111, 13}, true, false, true, ttHistoric},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        OpenRecording(db, c.entries);
        TTableSelectParametersDialog dialog;
        LParameterSourceGroup target(&db.Header());
        dialog.Group = &target;
        dialog.SetAllSources(&db.AllSources());
        bool enabled[3] = {};
        bool checked[3] = {};
        std::vector<int> types;
        int columns = 0;
        ModalDriver driver(
            {[&](QWidget* w) {
                 const QRadioButton* buttons[] = {dialog.HistoricRadioButton(),
                                                  dialog.EventRadioButton(),
                                                  dialog.CummulativeRadioButton()};
                 for (int t = 0; t < 3; ++t) {
                     enabled[t] = buttons[t]->isEnabled();
                     checked[t] = buttons[t]->isChecked();
                 }
                 const TParameterListView* list = dialog.ParameterListView();
                 columns = list->columnCount();
                 for (int i = 0; i < list->topLevelItemCount(); ++i)
                     types.push_back(
                         TParameterListView::Source(list->topLevelItem(i))->Parameter->TableType());
                 Click(w, "AllButton");
                 Click(w, "OKButton");
             },
             // Should OK be refused, the message and the dialog go away.
             [](QWidget* w) { w->close(); }, [](QWidget* w) { w->close(); }});
        ASSERT_TRUE(dialog.Execute());
        EXPECT_EQ(std::vector<bool>(enabled, enabled + 3),
                  (std::vector<bool>{c.historic, c.event, c.cumulative}));
        EXPECT_TRUE(checked[c.shownType]);
        EXPECT_EQ(types, std::vector<int>(2 + (c.shownType == ttEvent), c.shownType));
        EXPECT_EQ(columns, 2);
        EXPECT_EQ(target.Count(), static_cast<int>(types.size()));
        EXPECT_EQ(dialog.EventOrCumulative, c.shownType != ttHistoric);
        EXPECT_EQ(dialog.ParameterListView()->Group(), nullptr);
    }
}

TEST_F(TSelectParametersDialogTest, NewTableGivesTotalsTheirIntervalsAsNextSources) {
    // VAN: samples, maximum and its intervals, minimum without intervals; three-phase energy
    // and its intervals.
    OpenRecording(db, {6, 47, 122, 56, 114, 189});
    const struct {
        void (TTableSelectParametersDialog::*choose)();
        std::map<int, int> nextOf; // catalogue index: the next source's, -1 for none
    } cases[] = {
        {&TTableSelectParametersDialog::HistoricRadioButtonClick, {{6, -1}}},
        {&TTableSelectParametersDialog::EventRadioButtonClick, {{47, 122}, {56, -1}}},
        {&TTableSelectParametersDialog::CummulativeRadioButtonClick, {{114, 189}}},
    };
    for (const auto& c : cases) {
        TTableSelectParametersDialog dialog;
        LParameterSourceGroup target(&db.Header());
        dialog.Group = &target;
        dialog.SetAllSources(&db.AllSources());
        ModalDriver driver({[&](QWidget* w) {
            (dialog.*c.choose)();
            Click(w, "AllButton");
            Click(w, "OKButton");
        }});
        ASSERT_TRUE(dialog.Execute());
        std::map<int, int> nextOf;
        for (const auto& source : target) {
            EXPECT_TRUE(!source->Next || !source->Next->Next);
            nextOf[source->Parameter->Index()] =
                source->Next ? source->Next->Parameter->Index() : -1;
        }
        EXPECT_EQ(nextOf, c.nextOf);
    }
}

TEST_F(TSelectParametersDialogTest, NewTableWithoutATableTypeShowsNothing) {
    // Interval event and Interval cumulative only.
    OpenRecording(db, {122, 173});
    TTableSelectParametersDialog dialog;
    dialog.SetAllSources(&db.AllSources());
    ModalDriver driver({[](QWidget* w) { w->close(); }});
    EXPECT_FALSE(dialog.Execute());
    QTest::qWait(30);
    EXPECT_EQ(driver.StepsRun(), 0u);
}

TEST_F(TSelectParametersDialogTest, AListWithoutAGroupIsAProgrammingError) {
    TChartSelectParametersDialog chart;
    ErrorReportSpy spy;
    EXPECT_THROW(chart.Execute(), VroError);
    EXPECT_EQ(spy.reports, (std::vector<ErrorReportSpy::Report>{
                               {"TSelectParametersDialog::Init", "Group = NULL"}}));

    TVisibleParametersDialog visible;
    ModalDriver driver({[](QWidget* w) { Click(w, "CancelButton"); }});
    EXPECT_FALSE(visible.Execute());
    EXPECT_EQ(driver.StepsRun(), 1u);
}

} // namespace
