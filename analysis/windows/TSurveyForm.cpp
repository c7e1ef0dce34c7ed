#include "analysis/windows/TSurveyForm.h"

#include "analysis/SurveyTables.h"
#include "analysis/SurveyText.h"
#include "analysis/windows/SurveyChartView.h"
#include "analysis/windows/TextTableModel.h"
#include "database/LDatabase.h"
#include "printing/LayoutPrinter.h"
#include "printing/PrintedTexts.h"
#include "reports/WorkbookExport.h"
#include "shell/AttachPopup.h"
#include "shell/Help.h"
#include "shell/MenuImages.h"
#include "shell/Registry.h"
#include "shell/SaveFileDialog.h"
#include "shell/SurveySettings.h"
#include "shell/SvgPicture.h"
#include "shell/TextTableCommands.h"
#include "texts/LocaleTextStyle.h"

#include <QBuffer>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QSaveFile>
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

bool IsTextPage(TSurveyForm::Page page) {
    return page == TSurveyForm::SummaryPage || page == TSurveyForm::EnergyPage ||
           page == TSurveyForm::VoltagePage;
}

bool IsPicturePage(TSurveyForm::Page page) {
    return page != TSurveyForm::SummaryPage && page != TSurveyForm::EnergyPage;
}

const char* const PageTitles[] = {"Summary",  "Energy per day", "Daily profile",
                                  "Heat map", "Load duration",  "Voltage"};

} // namespace

TSurveyForm::TSurveyForm(const LDatabase& database, QWidget* parent)
    : TToolForm(parent), database_(database), style_(LocaleTextStyle()),
      minutes_(new QComboBox(this)), rating_(new QLineEdit(this)), nominal_(new QLineEdit(this)),
      threshold_(new QLineEdit(this)), pages_(new QTabWidget(this)),
      summary_(new QPlainTextEdit(this)), energyGrid_(new QTableView(this)),
      energyModel_(new TextTableModel(EnergyDayTable({}), style_, this)),
      voltageGrid_(new QTableView(this)),
      voltageModel_(new TextTableModel(VoltageTable({}), style_, this)), popup_(new QMenu(this)) {
    SetHelpTopic(this, "surveywindow");
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    setObjectName(QStringLiteral("TSurveyForm"));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);
    layout->addWidget(MakeSettingsRow());
    layout->addWidget(pages_, 1);
    pages_->setObjectName(QStringLiteral("Pages"));

    summary_->setObjectName(QStringLiteral("Summary"));
    summary_->setReadOnly(true);
    summary_->setLineWrapMode(QPlainTextEdit::NoWrap);
    summary_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    AddPage(summary_, QString::fromLatin1(PageTitles[SummaryPage]));

    for (auto [grid, model, name] : {std::tuple{energyGrid_, energyModel_, "EnergyGrid"},
                                     std::tuple{voltageGrid_, voltageModel_, "VoltageGrid"}}) {
        grid->setObjectName(QString::fromLatin1(name));
        grid->setModel(model);
        grid->verticalHeader()->hide();
        grid->setSelectionMode(QAbstractItemView::NoSelection);
        grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
        grid->setWordWrap(false);
        grid->horizontalHeader()->setHighlightSections(false);
        grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 6);
    }
    AddPage(energyGrid_, QString::fromLatin1(PageTitles[EnergyPage]));
    for (Page page : {ProfilePage, HeatMapPage, DurationPage})
        AddPage(MakeChart(page), QString::fromLatin1(PageTitles[page]));
    auto* voltage = new QWidget(this);
    auto* voltageLayout = new QVBoxLayout(voltage);
    voltageLayout->setContentsMargins(0, 0, 0, 0);
    voltageLayout->setSpacing(4);
    voltageLayout->addWidget(voltageGrid_);
    voltageLayout->addWidget(MakeChart(VoltagePage), 1);
    AddPage(voltage, QString::fromLatin1(PageTitles[VoltagePage]));

    popup_->setObjectName(QStringLiteral("Popup"));
    QAction* copy = AddAction("Copytoclipboard", QStringLiteral("Copy to clipboard"),
                              &TSurveyForm::CopytoclipboardClick);
    copy->setIcon(MenuImage(14));
    copy->setShortcut(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addAction(copy);
    AddAction("Export", QStringLiteral("Export\u2026"), &TSurveyForm::ExportClick);
    popup_->addSeparator();
    AddAction("Print", QStringLiteral("Print"), &TSurveyForm::PrintClick)->setIcon(MenuImage(5));

    timer_.setSingleShot(true);
    timer_.setInterval(RefreshDelay);
    connect(&timer_, &QTimer::timeout, this, &TSurveyForm::Refresh);
    UpdateCaption();
    Refresh();
    resize(900, 600);
}

TSurveyForm::~TSurveyForm() = default;

QWidget* TSurveyForm::MakeSettingsRow() {
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(2, 2, 2, 2);
    const SurveyOptions stored = StoredOptions();
    const auto label = [&](const QString& text, QWidget* buddy) {
        auto* l = new QLabel(text, row);
        l->setBuddy(buddy);
        layout->addWidget(l);
        layout->addWidget(buddy);
        layout->addSpacing(8);
    };
    minutes_->setObjectName(QStringLiteral("BlockMinutesBox"));
    for (int minutes : BlockMinutes)
        minutes_->addItem(QString::number(minutes), minutes);
    minutes_->setCurrentIndex(std::max(0, minutes_->findData(stored.BlockMinutes)));
    label(SurveySettingCaption(SurveySetting::BlockMinutes), minutes_);
    const std::tuple<QLineEdit*, const char*, SurveySetting, std::optional<double>> edits[] = {
        {rating_, "RatingEdit", SurveySetting::Rating, stored.RatingAmps},
        {nominal_, "NominalEdit", SurveySetting::Nominal, stored.NominalVolts},
        {threshold_, "ThresholdEdit", SurveySetting::Threshold, stored.ThresholdWatts}};
    for (const auto& [edit, name, setting, value] : edits) {
        const QString caption = SurveySettingCaption(setting);
        edit->setObjectName(QString::fromLatin1(name));
        edit->setPlaceholderText(SurveySettingPlaceholder(setting));
        edit->setText(SurveySettingText(value));
        edit->setMaximumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("0")) * 12);
        label(caption, edit);
        connect(edit, &QLineEdit::textChanged, this, &TSurveyForm::SettingChanged);
    }
    layout->addStretch(1);
    connect(minutes_, &QComboBox::currentIndexChanged, this, &TSurveyForm::SettingChanged);
    return row;
}

void TSurveyForm::AddPage(QWidget* page, const QString& title) {
    AttachPopup(page, popup_);
    pages_->addTab(page, title);
}

SurveyChartView* TSurveyForm::MakeChart(Page page) {
    auto* view = new SurveyChartView(
        [this, page](QPainter& painter, const QRectF& area) {
            PaintPage(page, painter, area, ScreenLook(), false);
        },
        this);
    view->setObjectName(QString::fromLatin1(PageTitles[page]).remove(' ') + "Chart");
    if (page == VoltagePage) {
        AttachPopup(view, popup_);
        AttachPopup(voltageGrid_, popup_);
    }
    return view;
}

QAction* TSurveyForm::AddAction(const char* name, const QString& caption,
                                void (TSurveyForm::*handler)()) {
    QAction* action = popup_->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    connect(action, &QAction::triggered, this, handler);
    return action;
}

void TSurveyForm::UpdateCaption() {
    const QString name = QFileInfo(QFile::decodeName(database_.FileName().c_str())).fileName();
    setWindowTitle(name.isEmpty() ? QStringLiteral("Survey")
                                  : QStringLiteral("Survey of %1").arg(name));
}

SurveyOptions TSurveyForm::Options() const {
    SurveyOptions o;
    o.BlockMinutes = minutes_->currentData().toInt();
    o.RatingAmps = ParseSurveySetting(rating_->text(), SurveySetting::Rating);
    o.NominalVolts = ParseSurveySetting(nominal_->text(), SurveySetting::Nominal);
    o.ThresholdWatts = ParseSurveySetting(threshold_->text(), SurveySetting::Threshold);
    return o;
}

SurveyOptions TSurveyForm::StoredOptions() {
    return StoredSurveyOptions();
}

void TSurveyForm::StoreOptions(const SurveyOptions& options) {
    StoreSurveyOptions(options);
}

void TSurveyForm::SettingChanged() {
    // A text that is no number the setting takes shows in red and counts as not set.
    const std::pair<QLineEdit*, SurveySetting> edits[] = {{rating_, SurveySetting::Rating},
                                                          {nominal_, SurveySetting::Nominal},
                                                          {threshold_, SurveySetting::Threshold}};
    for (const auto& [edit, setting] : edits) {
        const bool bad =
            !edit->text().trimmed().isEmpty() && !ParseSurveySetting(edit->text(), setting);
        edit->setStyleSheet(bad ? QStringLiteral("color: #c02020") : QString());
    }
    StoreOptions(Options());
    timer_.start();
}

void TSurveyForm::Refresh() {
    timer_.stop();
    result_ = RunSurvey(database_.Parameters(), Options());
    summary_->setPlainText(FromStd(SurveySummaryText(result_, style_)));

    const std::vector<EnergyDay> noDays;
    const std::vector<EnergyDay>& days = result_.Power ? result_.Power->Days : noDays;
    energyModel_->SetTable(EnergyDayTable(days));
    std::vector<bool> partial;
    for (const EnergyDay& day : days)
        partial.push_back(!day.Full());
    energyModel_->SetDimmed(std::move(partial));
    voltageModel_->SetTable(VoltageTable(result_.Voltage ? *result_.Voltage : VoltageVariation{}));
    for (QTableView* grid : {energyGrid_, voltageGrid_})
        grid->resizeColumnsToContents();
    const int rows = std::max(1, voltageModel_->rowCount());
    voltageGrid_->setFixedHeight(voltageGrid_->horizontalHeader()->sizeHint().height() +
                                 rows * voltageGrid_->verticalHeader()->defaultSectionSize() +
                                 2 * voltageGrid_->frameWidth() + 2);
    for (QWidget* chart : findChildren<SurveyChartView*>())
        chart->update();
}

TSurveyForm::Page TSurveyForm::CurrentPage() const {
    return static_cast<Page>(std::max(0, pages_->currentIndex()));
}

std::string TSurveyForm::Text(Page page, CellFormat format) const {
    switch (page) {
    case SummaryPage:
        return SurveySummaryText(result_, style_);
    case EnergyPage:
        return energyModel_->Table().Text(style_, format);
    case VoltagePage:
        return voltageModel_->Table().Text(style_, format);
    default:
        return {};
    }
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
    if (page == VoltagePage) {
        if (!result_.Voltage) {
            PaintChartMessage(painter, area, QString::fromLatin1(NoVoltageText), look);
            return true;
        }
        QRectF chart = area;
        if (withTable) {
            // In a file or on paper the table stands above the chart.
            painter.fillRect(area, look.Background);
            const QFontMetricsF metrics(look.Font, painter.device());
            const double margin = metrics.averageCharWidth();
            const double height = PaintTextTable(painter, area.adjusted(margin, margin, -margin, 0),
                                                 voltageModel_->Table(), look);
            chart.setTop(area.top() + margin + height + metrics.height());
        }
        PaintVoltageBlocks(painter, chart, *result_.Voltage, look);
        return true;
    }
    if (!result_.Power) {
        PaintChartMessage(painter, area, QString::fromLatin1(NoPowerText), look);
        return true;
    }
    if (page == ProfilePage)
        PaintDailyProfile(painter, area, *result_.Power, look);
    else if (page == HeatMapPage)
        PaintHeatMap(painter, area, *result_.Power, look);
    else
        PaintLoadDuration(painter, area, *result_.Power, look);
    return true;
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
    const QString name =
        AskSaveFileName(this, QStringLiteral("Export survey"), filters,
                        windowTitle() + ' ' + QString::fromLatin1(PageTitles[page]));
    if (!name.isEmpty())
        ExportTo(name);
}

bool TSurveyForm::ExportTo(const QString& fileName) {
    const Page page = CurrentPage();
    const QString ending = QFileInfo(fileName).suffix().toLower();
    const bool picture = ending == QStringLiteral("svg") || ending == QStringLiteral("png");
    if ((page == EnergyPage || page == VoltagePage) && !picture)
        return WriteTextTable(this, fileName,
                              (page == EnergyPage ? energyModel_ : voltageModel_)->Table(), style_,
                              QString::fromLatin1(PageTitles[page]));
    QByteArray bytes;
    if (IsPicturePage(page) && ending == QStringLiteral("svg")) {
        bytes = Svg(page);
    } else if (IsPicturePage(page) && ending == QStringLiteral("png")) {
        QBuffer png(&bytes);
        png.open(QIODevice::WriteOnly);
        Picture(page, PictureSize).save(&png, "PNG");
    } else if (IsTextPage(page)) {
        bytes = QByteArray::fromStdString(
            Text(page, ending == QStringLiteral("csv") ? CellFormat::Csv : CellFormat::Tab));
    } else {
        QMessageBox::warning(this, windowTitle(),
                             QStringLiteral("This page exports as an SVG or PNG picture."));
        return false;
    }
    QSaveFile file(fileName);
    const bool written = file.open(QIODevice::WriteOnly) &&
                         file.write(bytes) == static_cast<qint64>(bytes.size()) && file.commit();
    if (!written)
        QMessageBox::warning(this, windowTitle(),
                             QStringLiteral("The survey could not be written to %1.\n%2")
                                 .arg(fileName, file.errorString()));
    else
        ReportWrittenFile(fileName);
    return written;
}

PrintedTexts TSurveyForm::Printout(Page page) const {
    std::vector<QStringList> rows;
    std::vector<bool> right;
    QFont font = this->font();
    if (page == SummaryPage) {
        // A column of lines in a fixed font, so that the figures stay aligned.
        font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        for (const QString& line : FromStd(SurveySummaryText(result_, style_)).split('\n'))
            if (!line.isEmpty() || !rows.empty())
                rows.push_back({line});
        while (rows.size() > 1 && rows.back().constFirst().isEmpty())
            rows.pop_back();
    } else {
        const TextTableModel& model = page == VoltagePage ? *voltageModel_ : *energyModel_;
        return PrintedTexts(model.Table(), style_, font);
    }
    return PrintedTexts(std::move(rows), font, std::move(right));
}

bool TSurveyForm::Print() {
    const Page page = CurrentPage();
    TLayoutPrinter& printer = LayoutPrinter();
    printer.Title = windowTitle() + QStringLiteral(": ") + QString::fromLatin1(PageTitles[page]);
    if (page == SummaryPage || page == EnergyPage) {
        PrintedTexts texts = Printout(page);
        if (texts.DataRowCount() < 1)
            return false;
        printer.Rows = &texts;
        printer.FirstRow = 0;
        printer.LastRow = texts.DataRowCount() - 1;
        return printer.PrintTable();
    }
    // Laid out for the page's own resolution: fonts in points, pens a pixel per 1/96 inch.
    printer.Chart = [this, page](QPainter& painter, const QRect& area, int) {
        ChartLook look = ScreenLook();
        if (look.Font.pointSizeF() <= 0)
            look.Font.setPointSizeF(9);
        look.PenScale = painter.device()->logicalDpiX() / 96.0;
        Paint(page, painter, QRectF(area), look);
    };
    const bool printed = printer.PrintChart();
    printer.Chart = nullptr;
    return printed;
}
