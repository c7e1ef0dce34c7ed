#include "windows/analysis/TSurveyForm.h"

#include "analysis/CapacityTables.h"
#include "analysis/CapacityText.h"
#include "analysis/SurveyFindingsText.h"
#include "analysis/SurveyTables.h"
#include "database/LDatabase.h"
#include "figures/BatteryChart.h"
#include "figures/CapacityCharts.h"
#include "figures/SummaryRows.h"
#include "printing/LayoutPrinter.h"
#include "printing/PrintedTexts.h"
#include "reports/WorkbookExport.h"
#include "texts/LocaleTextStyle.h"
#include "texts/WriteFileSafely.h"
#include "windows/analysis/SurveyChartView.h"
#include "windows/analysis/SurveySummaryView.h"
#include "windows/analysis/TNewLoadsEditor.h"
#include "windows/analysis/TextTableModel.h"
#include "windows/shell/AttachPopup.h"
#include "windows/shell/Help.h"
#include "windows/shell/Registry.h"
#include "windows/shell/SaveFileDialog.h"
#include "windows/shell/SurveySettings.h"
#include "windows/shell/SvgPicture.h"
#include "windows/shell/TTariffFileBox.h"
#include "windows/shell/TextTableCommands.h"

#include <QBuffer>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QSplitter>
#include <QStyle>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

#include <cmath>
#include <iterator>

namespace {

// The size of a chart's picture when the window is not shown.
constexpr QSize PictureSize(900, 560);

QString FromStd(const std::string& text) {
    return QString::fromStdString(text);
}

bool IsTablePage(TSurveyForm::Page page) {
    return page == TSurveyForm::EnergyPage || page == TSurveyForm::VoltagePage ||
           page >= TSurveyForm::CostPage;
}

bool IsTextPage(TSurveyForm::Page page) {
    return page == TSurveyForm::SummaryPage || IsTablePage(page);
}

bool IsPicturePage(TSurveyForm::Page page) {
    return page != TSurveyForm::SummaryPage && page != TSurveyForm::EnergyPage;
}

const char* const PageTitles[] = {
    "Summary", "Energy per day", "Daily profile", "Heat map", "Load duration", "Voltage",
    "Cost",    "Power factor",   "Unbalance",     "Battery",  "New loads"};

// The battery row's fields: what each reads, unset when it does not.
std::optional<double> ParseNumber(const QString& text, bool (*takes)(double)) {
    bool ok = false;
    double value = QLocale().toDouble(text.trimmed(), &ok);
    if (!ok)
        value = QLocale::c().toDouble(text.trimmed(), &ok);
    return ok && std::isfinite(value) && takes(value) ? std::optional<double>(value) : std::nullopt;
}

bool AboveZero(double v) {
    return v > 0;
}

bool AtLeastZero(double v) {
    return v >= 0;
}

bool Efficiency(double v) {
    return v > 0 && v <= 1;
}

// Caps in kW apart by semicolons or spaces (and commas where they are no decimal comma); unset
// when one of them does not read.
std::optional<std::vector<double>> ParseCaps(const QString& text) {
    QString list = text;
    list.replace(QLatin1Char(';'), QLatin1Char(' '));
    if (QLocale().decimalPoint() != QStringLiteral(","))
        list.replace(QLatin1Char(','), QLatin1Char(' '));
    std::vector<double> watts;
    for (const QString& item : list.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const auto kw = ParseNumber(item, AboveZero);
        if (!kw)
            return std::nullopt;
        watts.push_back(*kw * 1000);
    }
    return watts;
}

QString CapsText(const std::vector<double>& watts) {
    QStringList caps;
    for (const double w : watts)
        caps << QLocale().toString(w / 1000, 'g', 12);
    return caps.join(QStringLiteral("; "));
}

const char* const NoTariffText =
    "No tariff: choose a tariff file, or give the simple tariff's rates.";

// A table's columns without its rows, for a page with nothing to show.
TextTable Empty(TextTable table) {
    table.Rows.clear();
    return table;
}

} // namespace

TSurveyForm::TSurveyForm(const LDatabase& database, QWidget* parent)
    : TToolForm(parent), database_(database), style_(LocaleTextStyle()),
      minutes_(new QComboBox(this)), rating_(new QLineEdit(this)), nominal_(new QLineEdit(this)),
      threshold_(new QLineEdit(this)), tariff_(new TTariffFileBox(this)),
      energyRate_(new QLineEdit(this)), demandRate_(new QLineEdit(this)),
      fixedMonthly_(new QLineEdit(this)), target_(new QLineEdit(this)),
      bankStep_(new QLineEdit(this)), bankPrice_(new QLineEdit(this)), pages_(new QTabWidget(this)),
      newLoads_(new TNewLoadsEditor(this)), summary_(new SurveySummaryView(this)),
      popup_(new QMenu(this)) {
    SetHelpTopic(this, "surveywindow");
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    setObjectName(QStringLiteral("TSurveyForm"));
    CloseOnEscape();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);
    // Filled first: a change in the rows above stores the battery's settings too.
    QWidget* batteryRow = MakeBatteryRow();
    layout->addWidget(MakeSettingsRows());
    layout->addWidget(pages_, 1);
    pages_->setObjectName(QStringLiteral("Pages"));

    // The summary in the window's own font, as label and value columns.
    summary_->setObjectName(QStringLiteral("Summary"));
    auto* summaryArea = new QScrollArea(this);
    summaryArea->setObjectName(QStringLiteral("SummaryArea"));
    summaryArea->setWidget(summary_);
    summaryArea->setWidgetResizable(true);
    summaryArea->setBackgroundRole(QPalette::Base);
    AttachPopup(summary_, popup_);
    AddPage(summaryArea, SummaryPage);

    AddPage(MakeGrid(EnergyPage, "EnergyGrid"), EnergyPage);
    for (Page page : {ProfilePage, HeatMapPage, DurationPage})
        AddPage(MakeChart(page), page);
    auto* voltage = new QWidget(this);
    auto* voltageLayout = new QVBoxLayout(voltage);
    voltageLayout->setContentsMargins(0, 0, 0, 0);
    voltageLayout->setSpacing(4);
    voltageLayout->addWidget(MakeGrid(VoltagePage, "VoltageGrid"));
    voltageLayout->addWidget(MakeChart(VoltagePage), 1);
    AddPage(voltage, VoltagePage);
    AddPage(MakeTableAndChart(CostPage, Qt::Vertical), CostPage);
    AddPage(MakeTableAndChart(PowerFactorPage, Qt::Horizontal), PowerFactorPage);
    AddPage(MakeTableAndChart(UnbalancePage, Qt::Vertical), UnbalancePage);
    QWidget* battery = MakeTableAndChart(BatteryPage, Qt::Vertical);
    static_cast<QVBoxLayout*>(battery->layout())->insertWidget(0, batteryRow);
    AttachPopup(batteryRow, popup_);
    AddPage(battery, BatteryPage);
    // The loads above the study of them.
    auto* loads = new QWidget(this);
    auto* loadsLayout = new QVBoxLayout(loads);
    loadsLayout->setContentsMargins(0, 0, 0, 0);
    loadsLayout->setSpacing(4);
    newLoads_->setParent(loads);
    loadsLayout->addWidget(newLoads_);
    loadsLayout->addWidget(MakeTableAndChart(NewLoadsPage, Qt::Horizontal), 1);
    AddPage(loads, NewLoadsPage);

    AddCopyExportPrint(
        this, popup_, [this] { CopytoclipboardClick(); }, [this] { ExportClick(); },
        [this] { PrintClick(); });

    timer_.setSingleShot(true);
    timer_.setInterval(RefreshDelay);
    connect(&timer_, &QTimer::timeout, this, &TSurveyForm::Refresh);
    UpdateCaption();
    Refresh();
    // Wide enough for the settings rows and every column of the voltage table, whose rows are
    // read across.
    const QTableView* voltageGrid = tables_[VoltagePage].Grid;
    const int margins = 2 * (style()->pixelMetric(QStyle::PM_LayoutLeftMargin) +
                             style()->pixelMetric(QStyle::PM_DefaultFrameWidth) + 8);
    const int columns = voltageGrid->horizontalHeader()->length() + 2 * voltageGrid->frameWidth() +
                        voltageGrid->verticalScrollBar()->sizeHint().width() + margins;
    resize(std::max({900, sizeHint().width(), columns}), 640);
}

TSurveyForm::~TSurveyForm() = default;

QWidget* TSurveyForm::MakeSettingsRows() {
    auto* rows = new QWidget(this);
    auto* column = new QVBoxLayout(rows);
    column->setContentsMargins(2, 2, 2, 2);
    column->setSpacing(2);
    QHBoxLayout* layout = nullptr;
    const auto newRow = [&] {
        if (layout)
            layout->addStretch(1);
        layout = new QHBoxLayout;
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(6);
        column->addLayout(layout);
    };
    const SurveyOptions stored = StoredOptions();
    const TariffChoice tariff = StoredTariffChoice();
    const auto label = [&](SurveySetting setting, QWidget* buddy) {
        layout->addWidget(SurveySettingLabel(setting, buddy, rows));
        layout->addWidget(buddy);
        layout->addSpacing(8);
    };
    const auto number = [&](QLineEdit* edit, const char* name, SurveySetting setting,
                            const std::optional<double>& value) {
        edit->setObjectName(QString::fromLatin1(name));
        edit->setPlaceholderText(SurveySettingPlaceholder(setting));
        edit->setText(SurveySettingText(value));
        edit->setMaximumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("0")) * 12);
        label(setting, edit);
        connect(edit, &QLineEdit::textChanged, this, &TSurveyForm::SettingChanged);
    };

    // What the load study and voltage test take; the tariff; the power factor correction.
    newRow();
    minutes_->setObjectName(QStringLiteral("BlockMinutesBox"));
    for (int minutes : BlockMinutes)
        minutes_->addItem(QString::number(minutes), minutes);
    minutes_->setCurrentIndex(std::max(0, minutes_->findData(stored.BlockMinutes)));
    label(SurveySetting::BlockMinutes, minutes_);
    number(rating_, "RatingEdit", SurveySetting::Rating, stored.RatingAmps);
    number(nominal_, "NominalEdit", SurveySetting::Nominal, stored.NominalVolts);
    number(threshold_, "ThresholdEdit", SurveySetting::Threshold, {});
    threshold_->setText(ThresholdText(stored.ThresholdWatts));
    newRow();
    if (!tariff.File.isEmpty())
        tariff_->SetFile(tariff.File);
    label(SurveySetting::Tariff, tariff_);
    number(energyRate_, "EnergyRateEdit", SurveySetting::EnergyRate, tariff.EnergyRate);
    number(demandRate_, "DemandRateEdit", SurveySetting::DemandRate, tariff.DemandRate);
    number(fixedMonthly_, "FixedMonthlyEdit", SurveySetting::FixedMonthly, tariff.FixedMonthly);
    newRow();
    number(target_, "TargetPowerFactorEdit", SurveySetting::TargetPowerFactor,
           stored.TargetPowerFactor);
    number(bankStep_, "BankStepEdit", SurveySetting::BankStep, stored.BankStepVar / 1000);
    number(bankPrice_, "BankPriceEdit", SurveySetting::BankPrice, stored.BankPricePerKvar);
    layout->addStretch(1);
    for (QLineEdit* rate : {energyRate_, demandRate_, fixedMonthly_})
        rate->setEnabled(tariff.File.isEmpty());
    connect(minutes_, &QComboBox::currentIndexChanged, this, &TSurveyForm::SettingChanged);
    connect(tariff_, &TTariffFileBox::Changed, this, &TSurveyForm::SettingChanged);
    newLoads_->SetInputs(stored.Capacity);
    connect(newLoads_, &TNewLoadsEditor::Changed, this, &TSurveyForm::SettingChanged);
    return rows;
}

QWidget* TSurveyForm::MakeBatteryRow() {
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(6);
    const BatteryOptions stored = StoredBatteryOptions();
    const auto field = [&](QLineEdit*& edit, const char* name, const QString& caption,
                           const QString& text, const QString& placeholder, int width) {
        edit = new QLineEdit(text, row);
        edit->setObjectName(QString::fromLatin1(name));
        edit->setPlaceholderText(placeholder);
        // Wide enough for what an empty field says it means.
        const QFontMetrics metrics = edit->fontMetrics();
        edit->setFixedWidth(
            std::max(metrics.horizontalAdvance(QStringLiteral("0")) * width,
                     metrics.horizontalAdvance(placeholder) + metrics.averageCharWidth() * 2));
        auto* label = new QLabel(caption, row);
        label->setBuddy(edit);
        layout->addWidget(label);
        layout->addWidget(edit);
        layout->addSpacing(8);
        connect(edit, &QLineEdit::textChanged, this, &TSurveyForm::SettingChanged);
    };
    const auto number = [](const std::optional<double>& value) {
        return value ? QLocale().toString(*value, 'g', 12) : QString();
    };
    const QString notSet = QStringLiteral("not set");
    field(batteryEfficiency_, "BatteryEfficiencyEdit", QStringLiteral("Ro&und-trip efficiency"),
          QLocale().toString(stored.Efficiency, 'g', 12),
          QLocale().toString(DefaultBatteryEfficiency, 'f', 2), 4);
    field(batteryChargeLimit_, "BatteryChargeLimitEdit", QStringLiteral("Charging &limit (kW)"),
          number(stored.ChargingLimitWatts
                     ? std::optional<double>(*stored.ChargingLimitWatts / 1000)
                     : std::nullopt),
          QStringLiteral("its power"), 8);
    field(batteryChargeHours_, "BatteryChargeHoursEdit", QStringLiteral("Charging &hours"),
          stored.ChargingHours == AllChargingHours
              ? QString()
              : QString::fromStdString(ChargingHoursText(stored.ChargingHours)),
          QStringLiteral("0-24"), 7);
    field(batteryKwhPrice_, "BatteryKwhPriceEdit", QStringLiteral("Price per k&Wh"),
          number(stored.PricePerKwh), notSet, 6);
    field(batteryKwPrice_, "BatteryKwPriceEdit", QStringLiteral("Price per &kW"),
          number(stored.PricePerKw), notSet, 6);
    field(batteryCaps_, "BatteryCapsEdit", QStringLiteral("&Caps (kW)"), CapsText(stored.CapsWatts),
          QStringLiteral("20 caps"), 16);
    layout->addStretch(1);
    return row;
}

BatteryOptions TSurveyForm::Battery() const {
    BatteryOptions o;
    o.Efficiency = ParseNumber(batteryEfficiency_->text(), Efficiency).value_or(o.Efficiency);
    if (const auto kw = ParseNumber(batteryChargeLimit_->text(), AboveZero))
        o.ChargingLimitWatts = *kw * 1000;
    if (const auto hours = ParseChargingHours(batteryChargeHours_->text().trimmed().toStdString()))
        o.ChargingHours = *hours;
    o.PricePerKwh = ParseNumber(batteryKwhPrice_->text(), AtLeastZero);
    o.PricePerKw = ParseNumber(batteryKwPrice_->text(), AtLeastZero);
    o.CapsWatts = ParseCaps(batteryCaps_->text()).value_or(std::vector<double>());
    return o;
}

QTableView* TSurveyForm::MakeGrid(Page page, const char* name) {
    TablePage& table = tables_[page];
    table.Grid = new QTableView(this);
    table.Model = new TextTableModel({}, style_, this);
    QTableView* grid = table.Grid;
    grid->setObjectName(QString::fromLatin1(name));
    grid->setModel(table.Model);
    grid->verticalHeader()->hide();
    grid->setSelectionMode(QAbstractItemView::NoSelection);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setWordWrap(false);
    grid->horizontalHeader()->setHighlightSections(false);
    grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 6);
    return grid;
}

QWidget* TSurveyForm::MakeTableAndChart(Page page, Qt::Orientation orientation) {
    auto* widget = new QWidget(this);
    auto* layout = new QVBoxLayout(widget);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    QLabel*& notes = tables_[page].Notes;
    notes = new QLabel(widget);
    notes->setObjectName(QString::fromLatin1(PageTitles[page]).remove(' ') + "Notes");
    notes->setWordWrap(true);
    notes->setTextFormat(Qt::PlainText);
    notes->setContentsMargins(4, 2, 4, 2);
    AttachPopup(notes, popup_);
    auto* split = new QSplitter(orientation, widget);
    split->setChildrenCollapsible(false);
    QTableView* grid =
        MakeGrid(page, (QString::fromLatin1(PageTitles[page]).remove(' ') + "Grid").toLatin1());
    split->addWidget(grid);
    split->addWidget(MakeChart(page));
    // Beside the charts a table keeps its width; above them it takes a share of the height.
    split->setStretchFactor(0, orientation == Qt::Horizontal ? 0 : 2);
    split->setStretchFactor(1, 3);
    layout->addWidget(notes);
    layout->addWidget(split, 1);
    return widget;
}

void TSurveyForm::AddPage(QWidget* page, Page which) {
    AttachPopup(page, popup_);
    pages_->addTab(page, PageTitle(which));
}

QString TSurveyForm::PageTitle(Page page) const {
    return QString::fromLatin1(PageTitles[page]);
}

SurveyChartView* TSurveyForm::MakeChart(Page page) {
    auto* view = new SurveyChartView(
        [this, page](QPainter& painter, const QRectF& area) {
            PaintPage(page, painter, area, ScreenLook(), false);
        },
        this);
    view->setObjectName(PageTitle(page).remove(' ') + "Chart");
    if (IsTablePage(page)) {
        AttachPopup(view, popup_);
        AttachPopup(tables_[page].Grid, popup_);
    }
    return view;
}

QTableView* TSurveyForm::Grid(Page page) const {
    return tables_[page].Grid;
}

void TSurveyForm::UpdateCaption() {
    const QString name = QFileInfo(QFile::decodeName(database_.FileName().c_str())).fileName();
    setWindowTitle(name.isEmpty() ? QStringLiteral("Survey")
                                  : QStringLiteral("Survey of %1").arg(name));
}

TariffChoice TSurveyForm::Tariff() const {
    TariffChoice choice;
    choice.File = tariff_->File();
    choice.EnergyRate = ParseSurveySetting(energyRate_->text(), SurveySetting::EnergyRate);
    choice.DemandRate = ParseSurveySetting(demandRate_->text(), SurveySetting::DemandRate);
    choice.FixedMonthly = ParseSurveySetting(fixedMonthly_->text(), SurveySetting::FixedMonthly);
    return choice;
}

SurveyOptions TSurveyForm::Options() const {
    SurveyOptions o;
    o.BlockMinutes = minutes_->currentData().toInt();
    o.RatingAmps = ParseSurveySetting(rating_->text(), SurveySetting::Rating);
    o.NominalVolts = ParseSurveySetting(nominal_->text(), SurveySetting::Nominal);
    o.ThresholdWatts = ParseThreshold(threshold_->text());
    o.TargetPowerFactor = ParseSurveySetting(target_->text(), SurveySetting::TargetPowerFactor)
                              .value_or(DefaultTargetPowerFactor);
    if (const auto step = ParseSurveySetting(bankStep_->text(), SurveySetting::BankStep))
        o.BankStepVar = *step * 1000;
    o.BankPricePerKvar = ParseSurveySetting(bankPrice_->text(), SurveySetting::BankPrice);
    o.CostTariff = ChosenTariff(Tariff(), o.TariffError);
    o.Battery = Battery();
    o.Capacity = newLoads_->Inputs();
    return o;
}

SurveyOptions TSurveyForm::StoredOptions() {
    return StoredSurveyOptions();
}

void TSurveyForm::StoreOptions(const SurveyOptions& options) {
    StoreSurveyOptions(options);
    StoreCapacityInputs(options.Capacity);
}

void TSurveyForm::SettingChanged() {
    // A text that is no number the setting takes shows in red and counts as not set.
    const std::pair<QLineEdit*, SurveySetting> edits[] = {
        {rating_, SurveySetting::Rating},
        {nominal_, SurveySetting::Nominal},
        {threshold_, SurveySetting::Threshold},
        {energyRate_, SurveySetting::EnergyRate},
        {demandRate_, SurveySetting::DemandRate},
        {fixedMonthly_, SurveySetting::FixedMonthly},
        {target_, SurveySetting::TargetPowerFactor},
        {bankStep_, SurveySetting::BankStep},
        {bankPrice_, SurveySetting::BankPrice}};
    for (const auto& [edit, setting] : edits) {
        const bool bad =
            !edit->text().trimmed().isEmpty() && !ParseSurveySetting(edit->text(), setting);
        edit->setStyleSheet(bad ? QStringLiteral("color: #c02020") : QString());
    }
    const std::pair<QLineEdit*, bool (*)(const QString&)> battery[] = {
        {batteryEfficiency_, [](const QString& t) { return !!ParseNumber(t, Efficiency); }},
        {batteryChargeLimit_, [](const QString& t) { return !!ParseNumber(t, AboveZero); }},
        {batteryChargeHours_,
         [](const QString& t) { return !!ParseChargingHours(t.trimmed().toStdString()); }},
        {batteryKwhPrice_, [](const QString& t) { return !!ParseNumber(t, AtLeastZero); }},
        {batteryKwPrice_, [](const QString& t) { return !!ParseNumber(t, AtLeastZero); }},
        {batteryCaps_, [](const QString& t) { return !!ParseCaps(t); }}};
    for (const auto& [edit, reads] : battery) {
        const bool bad = !edit->text().trimmed().isEmpty() && !reads(edit->text());
        edit->setStyleSheet(bad ? QStringLiteral("color: #c02020") : QString());
    }
    StoreBatteryOptions(Battery());
    // A tariff file's rates are its own.
    for (QLineEdit* rate : {energyRate_, demandRate_, fixedMonthly_})
        rate->setEnabled(tariff_->File().isEmpty());
    StoreOptions(Options());
    StoreTariffChoice(Tariff());
    timer_.start();
}

void TSurveyForm::Refresh() {
    timer_.stop();
    result_ = RunSurvey(database_.Parameters(), Options());
    summary_->SetLines(SummaryPageLines(result_, style_));

    const PowerSurvey* power = result_.Power ? &*result_.Power : nullptr;
    // A threshold below the base load is refused as a text that is no number is.
    if (power && power->RefusedThreshold) {
        threshold_->setStyleSheet(QStringLiteral("color: #c02020"));
        threshold_->setToolTip(
            QString::fromStdString(ThresholdRefusalText(*power->RefusedThreshold, style_)));
    } else {
        threshold_->setToolTip(QString());
    }
    const CostStudy* cost = power && power->Cost ? &*power->Cost : nullptr;
    TextTableModel& energy = *tables_[EnergyPage].Model;
    energy.SetTable(EnergyDayTable(power ? power->Days : std::vector<EnergyDay>(), cost));
    std::vector<bool> partial;
    if (power)
        for (const EnergyDay& day : power->Days)
            partial.push_back(!day.Full());
    energy.SetDimmed(std::move(partial));
    tables_[VoltagePage].Model->SetTable(
        VoltageTable(result_.Voltage ? *result_.Voltage : VoltageVariation{}));
    tables_[CostPage].Model->SetTable(cost ? CostTable(*cost) : Empty(CostTable({})));
    tables_[PowerFactorPage].Model->SetTable(
        power && power->PowerFactor.Blocks > 0
            ? PowerFactorTable(power->PowerFactor, &power->Correction)
            : Empty(PowerFactorTable({})));
    tables_[UnbalancePage].Model->SetTable(UnbalanceTable(result_.Unbalance));
    tables_[BatteryPage].Model->SetTable(power && power->Battery ? BatteryTable(*power->Battery)
                                                                 : Empty(BatteryTable({})));
    tables_[NewLoadsPage].Model->SetTable(result_.Capacity ? CapacityTable(*result_.Capacity)
                                                           : Empty(CapacityTable({})));
    for (const TablePage& table : tables_) {
        if (table.Grid)
            table.Grid->resizeColumnsToContents();
    }
    // The power factor's and the new loads' figures beside the charts, as wide as their columns.
    for (Page page : {PowerFactorPage, NewLoadsPage}) {
        QTableView* figures = tables_[page].Grid;
        if (auto* split = qobject_cast<QSplitter*>(figures->parentWidget())) {
            const int width = figures->horizontalHeader()->length() + 2 * figures->frameWidth() +
                              figures->verticalScrollBar()->sizeHint().width();
            const int total = std::max(split->width(), 2 * width);
            split->setSizes({width, total - width});
        }
    }
    for (Page page : {CostPage, PowerFactorPage, UnbalancePage, BatteryPage, NewLoadsPage}) {
        const QStringList notes = Notes(page);
        tables_[page].Notes->setText(notes.join(QLatin1Char('\n')));
        tables_[page].Notes->setVisible(!notes.isEmpty());
    }
    // The short tables take the rows they have, the charts the rest.
    for (Page page : {VoltagePage, UnbalancePage}) {
        QTableView* grid = tables_[page].Grid;
        const int rows = std::max(1, tables_[page].Model->rowCount());
        grid->setFixedHeight(grid->horizontalHeader()->sizeHint().height() +
                             rows * grid->verticalHeader()->defaultSectionSize() +
                             2 * grid->frameWidth() + 2);
    }
    for (QWidget* chart : findChildren<SurveyChartView*>())
        chart->update();
}

TSurveyForm::Page TSurveyForm::CurrentPage() const {
    return static_cast<Page>(std::max(0, pages_->currentIndex()));
}

QStringList TSurveyForm::Notes(Page page) const {
    QStringList notes;
    const auto add = [&](const std::vector<std::string>& texts) {
        for (const std::string& text : texts)
            notes << FromStd(text);
    };
    const PowerSurvey* power = result_.Power ? &*result_.Power : nullptr;
    if (page == CostPage) {
        if (!power)
            notes << QString::fromUtf8(NoPowerText);
        else if (power->Cost) {
            notes << FromStd("Tariff: " + power->Cost->Tariff + ", in " + power->Cost->Currency);
            add(power->Cost->Reasons);
            if (power->Cost->Shaving)
                notes << QString::fromUtf8(PeakShavingCaveat);
        } else if (!result_.Options.TariffError.empty())
            notes << FromStd(TariffErrorText(result_.Options.TariffError));
        else
            notes << QString::fromLatin1(NoTariffText);
    } else if (page == PowerFactorPage) {
        if (power)
            add(PowerFactorNotes(*power));
        else
            notes << QString::fromUtf8(NoPowerText);
    } else if (page == UnbalancePage) {
        add(result_.Unbalance.Reasons);
    } else if (page == BatteryPage) {
        if (power && power->Battery)
            add(BatteryNotes(*power->Battery));
        else
            notes << QString::fromUtf8(NoPowerText);
    } else if (page == NewLoadsPage) {
        // The verdict and why it is not decided.
        for (const SummaryLine& line : CapacityLines(result_, style_)) {
            if (line.Value || (line.Indent > 0 && line.Label.rfind("- ", 0) != 0))
                break;
            notes << FromStd(line.Label);
        }
        if (notes.isEmpty())
            notes << QStringLiteral("Add the loads the customer wants to connect: their rating, "
                                    "what they connect to, whether they run continuously and "
                                    "whether an energy management system limits them.");
    }
    return notes;
}

std::string TSurveyForm::Text(Page page, CellFormat format) const {
    if (page == SummaryPage)
        return SummaryLinesText(summary_->Lines());
    if (!IsTablePage(page))
        return {};
    std::string text;
    // The notes above the rows where a person reads them; a spreadsheet gets the rows alone.
    if (format == CellFormat::Tab)
        for (const QString& note : Notes(page))
            text += note.toStdString() + "\r\n";
    return text + tables_[page].Model->Table().Text(style_, format);
}

ChartLook TSurveyForm::ScreenLook() const {
    ChartLook look;
    look.Font = font();
    look.Style = style_;
    return look;
}

bool TSurveyForm::Paint(Page page, QPainter& painter, const QRectF& area,
                        const ChartLook& look) const {
    return PaintPage(page, painter, area, look, true);
}

bool TSurveyForm::PaintPage(Page page, QPainter& painter, const QRectF& area, const ChartLook& look,
                            bool withTable) const {
    if (!IsPicturePage(page))
        return false;
    if (!withTable || !IsTablePage(page)) {
        PaintCharts(page, painter, area, look);
        return true;
    }
    // In a file or on paper the notes and the table stand above the charts, beside them on
    // the Power factor page; the Cost page's table, a row per charge and month, is too long to
    // draw and goes to text, the workbook and paper.
    painter.fillRect(area, look.Background);
    const QFontMetricsF metrics(look.Font, painter.device());
    const double margin = metrics.averageCharWidth();
    QRectF inner = area.adjusted(margin, margin, -margin, -margin);
    inner.setTop(inner.top() + PaintNotes(painter, inner, Notes(page), look));
    QRectF charts = area;
    charts.setTop(inner.top());
    const bool table = page != CostPage && tables_[page].Model->rowCount() > 0;
    if (table && (page == PowerFactorPage || page == NewLoadsPage)) {
        QRectF left = inner;
        left.setWidth(inner.width() * 0.38);
        PaintTextTable(painter, left, tables_[page].Model->Table(), look);
        charts.setLeft(left.right() + margin);
    } else if (table) {
        const double height = PaintTextTable(painter, inner, tables_[page].Model->Table(), look);
        charts.setTop(inner.top() + height + metrics.height());
    }
    PaintCharts(page, painter, charts, look);
    return true;
}

void TSurveyForm::PaintCharts(Page page, QPainter& painter, const QRectF& area,
                              const ChartLook& look) const {
    const PowerSurvey* power = result_.Power ? &*result_.Power : nullptr;
    const auto message = [&](const QString& text) { PaintChartMessage(painter, area, text, look); };
    switch (page) {
    case VoltagePage:
        if (result_.Voltage)
            PaintVoltageBlocks(painter, area, *result_.Voltage, look);
        else
            message(QString::fromUtf8(NoVoltageText));
        return;
    case UnbalancePage:
        PaintUnbalanceBlocks(painter, area, result_.Unbalance, look);
        return;
    case BatteryPage:
        if (power && power->Battery)
            PaintBatteryCurve(painter, area, *power->Battery, look);
        else
            message(QString::fromUtf8(NoPowerText));
        return;
    case NewLoadsPage:
        if (!result_.Capacity) {
            message(QStringLiteral("No new loads to study."));
        } else if (result_.Capacity->Nights.empty()) {
            PaintHeadroomProfile(painter, area, *result_.Capacity, look);
        } else {
            // The headroom by hour above, the managed loads' nights below.
            QRectF top = area;
            top.setHeight(area.height() / 2);
            PaintHeadroomProfile(painter, top, *result_.Capacity, look);
            PaintNightEnergy(painter, top.translated(0, top.height()), *result_.Capacity,
                             result_.Options.Capacity.NightNeedWh, look);
        }
        return;
    case CostPage:
        if (power && power->Cost)
            PaintCostPerDay(painter, area, *power->Cost, look);
        else
            message(Notes(CostPage).join(QLatin1Char('\n')));
        return;
    case PowerFactorPage:
        if (!power || power->PowerFactor.Blocks == 0) {
            message(Notes(PowerFactorPage).join(QLatin1Char('\n')));
        } else {
            // The power factor over time above, the duration of Qc below.
            QRectF top = area;
            top.setHeight(area.height() / 2);
            PaintPowerFactorBlocks(painter, top, *power, look);
            PaintQcDuration(painter, top.translated(0, top.height()), *power, look);
        }
        return;
    default:
        break;
    }
    if (!power)
        message(QString::fromUtf8(NoPowerText));
    else if (page == ProfilePage)
        PaintDailyProfile(painter, area, *power, look);
    else if (page == HeatMapPage)
        PaintHeatMap(painter, area, *power, look);
    else
        PaintLoadDuration(painter, area, *power, look);
}

QImage TSurveyForm::Picture(Page page, const QSize& size) const {
    QImage picture(size, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    Paint(page, painter, QRectF(QPointF(0, 0), QSizeF(size)), ScreenLook());
    return picture;
}

void TSurveyForm::CopyToClipboard() {
    const Page page = CurrentPage();
    ::CopyToClipboard(IsTextPage(page) ? FromStd(Text(page, CellFormat::Tab)) : QString(),
                      IsPicturePage(page) ? Svg(page) : QByteArray(),
                      IsPicturePage(page) ? Picture(page, PictureSize) : QImage());
}

QByteArray TSurveyForm::Svg(Page page) const {
    return SvgBytes(PictureSize, windowTitle(), [&](QPaintDevice& device) {
        QPainter painter(&device);
        Paint(page, painter, QRectF(QPointF(0, 0), QSizeF(PictureSize)), ScreenLook());
    });
}

void TSurveyForm::Export() {
    const Page page = CurrentPage();
    QStringList filters;
    if (page == SummaryPage)
        filters << QStringLiteral("Text (*.txt)");
    else if (IsTextPage(page))
        filters << TextTableFilters();
    if (IsPicturePage(page))
        filters << QStringLiteral("SVG picture (*.svg)") << QStringLiteral("PNG picture (*.png)");
    const QString name = AskSaveFileName(this, QStringLiteral("Export survey"), filters,
                                         windowTitle() + ' ' + PageTitle(page));
    if (!name.isEmpty())
        ExportTo(name);
}

bool TSurveyForm::ExportTo(const QString& fileName) {
    const Page page = CurrentPage();
    const QString ending = QFileInfo(fileName).suffix().toLower();
    const bool picture = ending == QStringLiteral("svg") || ending == QStringLiteral("png");
    if (IsTablePage(page) && ending == QStringLiteral("xlsx"))
        return WriteTextTable(this, fileName, tables_[page].Model->Table(), style_,
                              PageTitle(page));
    QByteArray bytes;
    if (IsPicturePage(page) && ending == QStringLiteral("svg")) {
        bytes = Svg(page);
    } else if (IsPicturePage(page) && ending == QStringLiteral("png")) {
        QBuffer png(&bytes);
        png.open(QIODevice::WriteOnly);
        Picture(page, PictureSize).save(&png, "PNG");
    } else if (IsTextPage(page) && !picture) {
        bytes = QByteArray::fromStdString(
            Text(page, ending == QStringLiteral("csv") ? CellFormat::Csv : CellFormat::Tab));
    } else {
        QMessageBox::warning(this, windowTitle(),
                             QStringLiteral("This page exports as an SVG or PNG picture."));
        return false;
    }
    QString error;
    const bool written = WriteFileSafely(fileName, bytes, error);
    if (!written)
        QMessageBox::warning(
            this, windowTitle(),
            QStringLiteral("The survey could not be written to %1.\n%2").arg(fileName, error));
    else
        ReportWrittenFile(fileName);
    return written;
}

PrintedTexts TSurveyForm::Printout(Page page) const {
    const TablePage& table = tables_[IsTablePage(page) ? page : EnergyPage];
    return PrintedTexts(table.Model->Table(), style_, font());
}

bool TSurveyForm::Print() {
    const Page page = CurrentPage();
    const QString title = windowTitle() + QStringLiteral(": ") + PageTitle(page);
    if (page == SummaryPage)
        return PrintSummary(title);
    if (page >= CostPage)
        return PrintTableAndCharts(page, title);
    const PrintOptions options = PrintOptionsOf(ProgramPrintSetup(), &database_, title);
    if (page == EnergyPage) {
        std::vector<PrintedPart> parts{{.Rows = std::make_shared<PrintedTexts>(Printout(page))}};
        return ::Print(parts, options, ProgramInteraction()).Printed;
    }
    // Laid out for the page's own resolution: fonts in points, pens a pixel per 1/96 inch.
    const ChartDrawing chart = [this, page](QPainter& painter, const QRect& area, int) {
        ChartLook look = ScreenLook();
        if (look.Font.pointSizeF() <= 0)
            look.Font.setPointSizeF(9);
        look.PenScale = painter.device()->logicalDpiX() / 96.0;
        Paint(page, painter, QRectF(area), look);
    };
    return PrintChart(options, chart, ProgramInteraction()).Printed;
}

bool TSurveyForm::PrintSummary(const QString& title) {
    QFont font = this->font();
    if (font.pointSizeF() <= 0)
        font.setPointSizeF(9);
    std::vector<PrintedPart> parts{
        {.Rows = std::make_shared<SummaryRows>(summary_->Lines(), font)}};
    return ::Print(parts, PrintOptionsOf(ProgramPrintSetup(), &database_, title),
                   ProgramInteraction())
        .Printed;
}

bool TSurveyForm::PrintTableAndCharts(Page page, const QString& title) {
    std::vector<PrintedPart> parts(2);
    parts[0].Rows = std::make_shared<PrintedTexts>(Printout(page));
    parts[1].Draw = [this, page](QPainter& painter, const QRect& area, int32_t) {
        ChartLook look = ScreenLook();
        if (look.Font.pointSizeF() <= 0)
            look.Font.setPointSizeF(9);
        look.PenScale = painter.device()->logicalDpiX() / 96.0;
        QRectF charts(area);
        charts.setTop(charts.top() + PaintNotes(painter, charts, Notes(page), look));
        // As wide as the page and at most two thirds as high per chart.
        charts.setHeight(std::min(
            charts.height(),
            charts.width() * (page == PowerFactorPage || page == NewLoadsPage ? 4.0 : 2.0) / 3));
        PaintCharts(page, painter, charts, look);
    };
    return ::Print(parts, PrintOptionsOf(ProgramPrintSetup(), &database_, title),
                   ProgramInteraction())
        .Printed;
}
