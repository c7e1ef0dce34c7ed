#include "windows/charts/TChartForm.h"

#include "printing/LayoutPrinter.h"

#include "analysis/CursorReadout.h"
#include "analysis/TimeRange.h"
#include "charts/ChartRules.h"
#include "charts/ChartText.h"
#include "charts/DisplayStyle.h"
#include "database/LChartRecord.h"
#include "model/Auxilary.h"
#include "model/ErrorReport.h"
#include "model/LParameter.h"
#include "resources/StringTable.h"
#include "texts/DateTimeText.h"
#include "texts/LocaleTextStyle.h"
#include "windows/charts/EnvelopeGraph.h"
#include "windows/charts/TChart.h"
#include "windows/charts/TChartPropertyEditor.h"
#include "windows/shell/AttachPopup.h"
#include "windows/shell/Help.h"
#include "windows/shell/MenuImages.h"
#include "windows/shell/SaveFileDialog.h"
#include "windows/shell/SvgPicture.h"
#include "windows/shell/TextTableCommands.h"
#include "windows/shell/WindowPlacement.h"
#include "windows/tables/TParameterListView.h"
#include "windows/tables/TVisibleParametersDialog.h"

#include <QActionGroup>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QShortcut>
#include <QStatusBar>
#include <QStyle>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <chrono>
#include <cmath>
#include <random>

namespace {

// A press this close to a cursor's line drags it.
constexpr int CursorGrip = 5;
// The readout takes at most this much of the window's height.
constexpr int ReadoutMaxHeight = 170;

// The mode cursors are drawn for the program; the hot spot is the picture's centre, the
// magnifier's at its glass.
QCursor ModeCursor(int id) {
    const char* file = id == TChartForm::ZoomCursor  ? ":/cursors/zoom.svg"
                       : id == TChartForm::PanCursor ? ":/cursors/pan.svg"
                                                     : ":/cursors/examine.svg";
    const QPixmap picture = QIcon(QString::fromLatin1(file)).pixmap(32, 32);
    if (picture.isNull())
        return QCursor(id == TChartForm::PanCursor ? Qt::OpenHandCursor : Qt::CrossCursor);
    return id == TChartForm::ZoomCursor ? QCursor(picture, 12, 12) : QCursor(picture, 16, 16);
}

// The "Visible parameters" dialog switches the series of this window while it runs.
class SeriesSwitchScope {
public:
    explicit SeriesSwitchScope(TChartForm& form) {
        VisibleParametersDialog().SeriesSwitch = [&form](LParameterSource& source, bool active) {
            const auto& sources = form.Record().Sources;
            for (int32_t i = 0; i < sources.Count(); ++i)
                if (sources.Items(i) == &source)
                    form.SetSeriesActive(i, active);
        };
    }
    ~SeriesSwitchScope() { VisibleParametersDialog().SeriesSwitch = nullptr; }
    SeriesSwitchScope(const SeriesSwitchScope&) = delete;
    SeriesSwitchScope& operator=(const SeriesSwitchScope&) = delete;
};

} // namespace

// The view raises on a record it cannot show, before the window counts as made.
TChartForm::TChartForm(LChartRecord& record, QWidget* parent)
    : TToolForm(parent), ChartView(record, this), record_(record), chart_(Chart()),
      statusBar_(new QStatusBar(this)), popup_(new QMenu(this)), readoutHeading_(new QLabel),
      readout_(new QTableWidget), readoutBox_(new QWidget(this)), readoutPopup_(new QMenu(this)),
      readoutStyle_(LocaleTextStyle()) {
    SetHelpTopic(this, "charts");
    ++LiveInstances::ChartFormCount;
    LoadShellResources();
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    setObjectName(QStringLiteral("TChartForm"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(chart_, 1);
    layout->addWidget(readoutBox_);
    layout->addWidget(statusBar_);

    readoutBox_->setObjectName(QStringLiteral("CursorReadout"));
    auto* readoutLayout = new QVBoxLayout(readoutBox_);
    readoutLayout->setContentsMargins(4, 2, 4, 2);
    readoutLayout->setSpacing(2);
    readoutLayout->addWidget(readoutHeading_);
    readoutLayout->addWidget(readout_);
    readoutHeading_->setObjectName(QStringLiteral("ReadoutHeading"));
    readout_->setObjectName(QStringLiteral("ReadoutGrid"));
    readout_->setColumnCount(7);
    readout_->setHorizontalHeaderLabels({QStringLiteral("Parameter"), QStringLiteral("At A"),
                                         QStringLiteral("At B"), QStringLiteral("B \u2212 A"),
                                         QStringLiteral("Minimum"), QStringLiteral("Mean"),
                                         QStringLiteral("Maximum")});
    readout_->verticalHeader()->setVisible(false);
    // The figures' columns fit their texts; the parameters' column takes the rest of the width,
    // so that nothing is cut and the readout grows with the window. The widths are the
    // window's to set (FitReadoutColumns): the header's own fitting lays out every cell again
    // at every change of one.
    readout_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    readout_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    readout_->horizontalHeader()->setMinimumSectionSize(
        readout_->fontMetrics().horizontalAdvance(QStringLiteral("Maximum")));
    readout_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    readout_->setSelectionBehavior(QAbstractItemView::SelectRows);
    readout_->verticalHeader()->setDefaultSectionSize(readout_->fontMetrics().height() + 4);
    readoutBox_->hide();
    readoutPopup_->setObjectName(QStringLiteral("ReadoutPopup"));
    const auto readoutAction = [this](const char* name, const QString& caption, auto handler) {
        QAction* action = readoutPopup_->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    readoutAction("ReadoutCopy", QStringLiteral("Copy to clipboard"), [this] {
        CopyTextTable(readoutTable_, readoutStyle_, readoutHeading_->text());
    })->setIcon(MenuImage(14));
    readoutAction("ReadoutExport", QStringLiteral("Export\u2026"), [this] {
        ExportTextTable(this, readoutTable_, readoutStyle_,
                        QStringLiteral("Cursors of %1").arg(windowTitle()),
                        readoutHeading_->text());
    });
    readoutPopup_->addSeparator();
    readoutAction("ReadoutPrint", QStringLiteral("Print"), [this] {
        PrintTextTable(readoutTable_, readoutStyle_, readout_->font(),
                       QStringLiteral("Cursors of %1").arg(windowTitle()), readoutHeading_->text());
    })->setIcon(MenuImage(5));
    AttachPopup(readout_, readoutPopup_);
    AttachPopup(readoutHeading_, readoutPopup_);
    // The window's keys: Escape removes the cursors, else goes back to Examine; Ctrl+C copies
    // the chart; + and - zoom the time about the centre, the arrows pan, Ctrl+Z steps back a
    // view.
    const auto key = [this](const QKeySequence& keys, auto handler) {
        auto* shortcut = new QShortcut(keys, this);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, this, handler);
    };
    key(QKeySequence(Qt::Key_Escape), [this] {
        chart_->CancelBand();
        if (cursorA_ || cursorB_)
            ClearCursors();
        else
            SetMode(ExamineMode);
    });
    key(QKeySequence::Copy, [this] { CopyToClipboard(); });
    key(QKeySequence::Undo, [this] { chart_->StepBack(); });
    for (const int plus : {Qt::Key_Plus, Qt::Key_Equal})
        key(QKeySequence(plus), [this] { chart_->ZoomTimePercent(200); });
    key(QKeySequence(Qt::Key_Minus), [this] { chart_->ZoomTimePercent(50); });
    // The keys act on the plot: it has the focus from the start and takes it back after a
    // dialog, without a click first.
    chart_->setFocusPolicy(Qt::StrongFocus);
    setFocusProxy(chart_);
    // A tenth of the view a press.
    const std::pair<int, QPointF> arrows[] = {{Qt::Key_Left, {-0.1, 0}},
                                              {Qt::Key_Right, {0.1, 0}},
                                              {Qt::Key_Up, {0, 0.1}},
                                              {Qt::Key_Down, {0, -0.1}}};
    for (const auto& arrow : arrows) {
        const QPointF step = arrow.second;
        key(QKeySequence(arrow.first), [this, step] { chart_->PanBy(step.x(), step.y()); });
    }

    statusBar_->setObjectName(QStringLiteral("StatusBar"));
    statusBar_->setSizeGripEnabled(false);
    statusBar_->setToolTip(QStringLiteral("Mode and last value examined."));
    for (int i = 0; i < 2; ++i) {
        panels_[i] = new QLabel(statusBar_);
        panels_[i]->setMinimumWidth(i == 0 ? 75 : 200);
        statusBar_->addWidget(panels_[i], i);
    }

    popup_->setObjectName(QStringLiteral("Popup"));
    // The modes' items show which one is on.
    auto* modes = new QActionGroup(this);
    const auto mode = [&](QAction* action, int which) {
        action->setCheckable(true);
        action->setData(which);
        modes->addAction(action);
    };
    mode(AddAction("Examinevalue1", QStringLiteral("Examine value"),
                   &TChartForm::Examinevalue1Click),
         ExamineMode);
    mode(AddAction("Zoomin1", QStringLiteral("Zoom in"), &TChartForm::Zoomin1Click), ZoomMode);
    AddAction("Zoomout1", QStringLiteral("Zoom out"), &TChartForm::Zoomout1Click);
    mode(AddAction("Pan1", QStringLiteral("Pan"), &TChartForm::Pan1Click), PanMode);
    mode(AddAction("Cursors1", QStringLiteral("Cursors"), &TChartForm::Cursors1Click), CursorsMode);
    // "Reset Zoom && Pan": a doubled ampersand is a literal one in a menu.
    AddAction("ResetZoomAndPan", QStringLiteral("Reset Zoom && Pan"),
              &TChartForm::ResetZoomAndPanClick);
    popup_->addSeparator();
    AddAction("Visibleparameters", QStringLiteral("Visible parameters"),
              &TChartForm::VisibleparametersClick);
    popup_->addSeparator();
    AddAction("Copytoclipboard1", QStringLiteral("Copy to clipboard"),
              &TChartForm::Copytoclipboard1Click)
        ->setIcon(MenuImage(14));
    AddAction("Saveaspicture1", QStringLiteral("Save as picture\u2026"),
              &TChartForm::SaveAsPictureClick);
    popup_->addSeparator();
    AddAction("Properties1", QStringLiteral("Properties"), &TChartForm::Properties1Click)
        ->setIcon(MenuImage(13));
    popup_->addSeparator();
    AddAction("Print1", QStringLiteral("Print"), &TChartForm::Print1Click)->setIcon(MenuImage(5));
    popup_->addSeparator();
    AddAction("Statistics", QStringLiteral("Statistics"), &TChartForm::StatisticsClick);
    chart_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(chart_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { popup_->popup(chart_->mapToGlobal(at)); });

    chart_->OnCursorDraw = [this](QCPPainter& painter) { ChartCursorDraw(painter); };
    connect(chart_, &TChart::CursorPressed, this, &TChartForm::ChartCursorPress);
    connect(chart_, &TChart::CursorDragged, this, &TChartForm::ChartCursorDrag);
    connect(chart_, &TChart::CursorReleased, this, [this] { dragging_ = -1; });
    connect(this, &TChartForm::VisibleParametersChanged, this, [this] {
        if (cursorA_ || cursorB_)
            RefreshReadout();
    });
    connect(chart_, &TChart::Pressed, this, [this] { ChartMouseDown(); });
    connect(chart_, &TChart::SeriesClicked, this,
            [this](const EnvelopeGraph* series, qint64 index) {
                try {
                    ChartClickSeries(series, index);
                } catch (const VroError&) {
                    // Reported in the error box already; a click has nothing to undo.
                }
            });
    connect(chart_, &TChart::Zoomed, this, [this] { ChartZoom(); });
    connect(chart_->BottomAxis(), qOverload<const QCPRange&>(&QCPAxis::rangeChanged), this,
            &TChartForm::VisibleTimesChanged);

    resize(640, 440);
    UpdateCaption();
    SetMode(ExamineMode);
    ShowBackground();
    FitWindowToLegend();
}

void TChartForm::FitWindowToLegend() {
    if (isVisible())
        return;
    const QRect screen = this->screen()->availableGeometry();
    const QSize most = LargestWindowOn(screen);
    const bool across = chart_->LegendPosition() >= LChartRecord::LegendTop;
    const int below = statusBar_->sizeHint().height();
    QSize size = this->size().boundedTo(most);
    for (;;) {
        const QSize chart(size.width(), size.height() - below);
        const QSize legend = chart_->LegendSize(chart);
        const bool crowded = across ? legend.height() * 5 > chart.height() * 2
                                    : legend.width() * 5 > chart.width() * 2;
        if (!crowded || size == most)
            break;
        size = (size * 1.15).boundedTo(most);
    }
    resize(size);
    move(WholeOnScreen(pos(), size, screen));
}

TChartForm::~TChartForm() {
    --LiveInstances::ChartFormCount;
}

QAction* TChartForm::AddAction(const char* name, const QString& caption,
                               void (TChartForm::*handler)()) {
    QAction* action = popup_->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    connect(action, &QAction::triggered, this, handler);
    return action;
}

QString TChartForm::StatusText(int panel) const {
    return panels_[panel]->text();
}

void TChartForm::showEvent(QShowEvent* event) {
    TToolForm::showEvent(event);
    FormShow();
}

void TChartForm::FormShow() {
    SetMode(ExamineMode);
    chart_->setFocus(Qt::OtherFocusReason);
}

void TChartForm::SetGroup(LParameterSourceGroup& group) {
    CheckChartSources(group);
    LParameterSourceGroup& sources = record_.Sources;
    sources.Clear();
    sources.TakeSources(group);
    sources.Sort();
    std::mt19937 random(
        static_cast<uint32_t>(std::chrono::system_clock::now().time_since_epoch().count()));
    const uint32_t background = ColorCode(DisplayColor(record_.BackgroundColor));
    record_.SeriesStyles.assign(static_cast<size_t>(sources.Count()), LSeriesStyle{});
    std::vector<uint32_t> taken;
    for (int32_t i = 0; i < sources.Count(); ++i) {
        LSeriesStyle& style = record_.Style(i);
        style.Color = RandomSeriesColor(background, random, taken);
        taken.push_back(style.Color);
        if (!LChartRecord::IsLineSource(*sources.Items(i)))
            style.PointStyle = PointStyleForQuantity(sources.Items(i)->Parameter->Quantity());
    }
    TDateTime start, end;
    if (DataTimeSpan(sources, start, end))
        record_.XAxisLabelsTimeDate = CrossesMidnight(start, end) ? 1 : 0;
    ShowRecord();
    FitWindowToLegend();
}

void TChartForm::ApplyStyle() {
    ChartView::ApplyStyle();
    ShowBackground();
}

void TChartForm::ShowBackground() {
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, DisplayColor(record_.BackgroundColor));
    setPalette(palette);
}

void TChartForm::SetSeriesActive(int32_t i, bool active) {
    if (i < 0 || i >= chart_->SeriesCount())
        return;
    ChartView::SetSeriesActive(i, active);
    emit VisibleParametersChanged();
}

void TChartForm::UpdateCaption() {
    setWindowTitle(QString::fromStdString(record_.Caption));
}

void TChartForm::SetCaption(const QString& caption) {
    record_.Caption = caption.toStdString();
    UpdateCaption();
}

void TChartForm::SetMode(int mode) {
    mode_ = mode == ZoomMode || mode == PanMode || mode == CursorsMode ? mode : ExamineMode;
    for (QAction* action : popup_->actions())
        if (action->isCheckable())
            action->setChecked(action->data().toInt() == mode_);
    panels_[1]->clear();
    chart_->SetSeriesClickable(false);
    switch (mode_) {
    case ZoomMode:
        panels_[0]->setText(QString::fromStdString(LoadStr(StrModeZoom)));
        chart_->SetRestingCursor(ModeCursor(ZoomCursor));
        chart_->SetMouseAction(TChart::MouseAction::Zoom);
        break;
    case PanMode:
        panels_[0]->setText(QString::fromStdString(LoadStr(StrModePan)));
        chart_->SetRestingCursor(ModeCursor(PanCursor));
        chart_->SetMouseAction(TChart::MouseAction::Pan);
        break;
    case CursorsMode:
        panels_[0]->setText(QStringLiteral("Cursors"));
        chart_->SetRestingCursor(QCursor(Qt::SplitHCursor));
        chart_->SetMouseAction(TChart::MouseAction::Cursors);
        break;
    default:
        panels_[0]->setText(QString::fromStdString(LoadStr(StrModeExamine)));
        chart_->SetRestingCursor(ModeCursor(ExamineCursor));
        chart_->SetMouseAction(TChart::MouseAction::None);
        chart_->SetSeriesClickable(true);
    }
}

void TChartForm::ChartMouseDown() {
    panels_[1]->setText(QString::fromStdString(LoadStr(StrNoValue)));
}

void TChartForm::ChartClickSeries(const EnvelopeGraph* series, qint64 sourceIndex) {
    const int i = chart_->SeriesIndex(series);
    if (i < 0 || i >= record_.Sources.Count())
        ShowErrorAndRaise("TChartForm::ChartClickSeries", "SeriesIndex is unknown");
    const int32_t view = static_cast<int32_t>(sourceIndex) + Samples().Samples(i).ViewOffset;
    panels_[1]->setText(ExamineText(*record_.Sources.Items(i), view, DateTimeFormatter()));
}

void TChartForm::ChartZoom() {
    QCPAxis* bottom = chart_->BottomAxis();
    double upper = bottom->range().upper;
    LimitSpan(bottom->range().lower, upper, MinTimeSpan);
    bottom->setRangeUpper(upper);
    QCPAxis* left = chart_->LeftAxis();
    upper = left->range().upper;
    LimitSpan(left->range().lower, upper, MinValueSpan);
    left->setRangeUpper(upper);
    SyncRightAxis();
}

TDateTime TChartForm::SnapCursor(TDateTime time) const {
    std::vector<const LParameterSource*> shown;
    for (int32_t i = 0; i < record_.Sources.Count(); ++i)
        if (SeriesActive(i))
            shown.push_back(record_.Sources.Items(i));
    return ::SnapCursor(shown, time);
}

QFont TChartForm::CursorFont() const {
    QFont font = DisplayFont(record_.LeftAxisLabelFont);
    font.setBold(true);
    return font;
}

namespace {

// The labelled box of a cursor at x on the plot.
QRectF CursorBox(double x, const QString& label, const QFontMetrics& metrics, const QRect& plot) {
    const int w = metrics.horizontalAdvance(label) + 6, h = metrics.height() + 2;
    return QRectF(std::clamp<double>(x - w / 2.0, plot.left(), plot.right() - w), plot.top() + 1, w,
                  h);
}

bool OnPlot(double x, const QRect& plot) {
    return x >= plot.left() - 0.5 && x <= plot.right() + 0.5;
}

} // namespace

QRegion TChartForm::CursorArea(const std::optional<TDateTime>& cursor, const QString& label) const {
    const QRect plot = chart_->ChartRect();
    if (!cursor || plot.height() <= 0)
        return {};
    const double x = chart_->BottomAxis()->coordToPixel(*cursor);
    if (!OnPlot(x, plot))
        return {};
    // The line and the box with their pens, a pixel to spare around each.
    const QFontMetrics metrics(CursorFont(), chart_);
    const int column = static_cast<int>(std::floor(x));
    return QRegion(column - 2, plot.top() - 1, 5, plot.height() + 3) +
           QRegion(CursorBox(x, label, metrics, plot).toAlignedRect().adjusted(-2, -2, 2, 2));
}

void TChartForm::SetCursors(std::optional<TDateTime> a, std::optional<TDateTime> b) {
    if (a == cursorA_ && b == cursorB_)
        return;
    // Only what the cursors covered and cover now is drawn again.
    QRegion dirty;
    const QString labelA = QStringLiteral("A"), labelB = QStringLiteral("B");
    if (a != cursorA_)
        dirty += CursorArea(cursorA_, labelA) + CursorArea(a, labelA);
    if (b != cursorB_)
        dirty += CursorArea(cursorB_, labelB) + CursorArea(b, labelB);
    cursorA_ = a;
    cursorB_ = b;
    chart_->ReplotCursors(dirty);
    // A drag moves the cursor at once; the readout follows once per turn of the event loop.
    if (!readoutPending_) {
        readoutPending_ = true;
        QTimer::singleShot(0, this, [this] {
            if (readoutPending_)
                RefreshReadout();
        });
    }
    emit CursorsChanged();
}

void TChartForm::ChartCursorPress(const QPoint& pos) {
    const QCPAxis* bottom = chart_->BottomAxis();
    const TDateTime at = SnapCursor(bottom->pixelToCoord(pos.x()));
    const auto distance = [&](const std::optional<TDateTime>& cursor) {
        return cursor ? std::abs(bottom->coordToPixel(*cursor) - pos.x()) : 1e9;
    };
    const double toA = distance(cursorA_), toB = distance(cursorB_);
    if (std::min(toA, toB) <= CursorGrip)
        dragging_ = toA <= toB ? 0 : 1;
    else if (!cursorA_)
        dragging_ = 0;
    else if (!cursorB_)
        dragging_ = 1;
    else
        dragging_ = toA <= toB ? 0 : 1;
    if (dragging_ == 0)
        SetCursors(at, cursorB_);
    else
        SetCursors(cursorA_, at);
}

void TChartForm::ChartCursorDrag(const QPoint& pos) {
    if (dragging_ < 0)
        return;
    const TDateTime at = SnapCursor(chart_->BottomAxis()->pixelToCoord(pos.x()));
    if (dragging_ == 0)
        SetCursors(at, cursorB_);
    else
        SetCursors(cursorA_, at);
}

void TChartForm::ChartCursorDraw(QCPPainter& painter) {
    const QRect plot = chart_->ChartRect();
    if (plot.height() <= 0)
        return;
    const QCPAxis* bottom = chart_->BottomAxis();
    painter.setFont(CursorFont());
    const QFontMetrics metrics = painter.fontMetrics();
    const QColor line = DisplayColor(record_.AxisColor);
    const QColor background = DisplayColor(record_.BackgroundColor);
    const std::pair<const std::optional<TDateTime>*, QString> cursors[] = {
        {&cursorA_, QStringLiteral("A")}, {&cursorB_, QStringLiteral("B")}};
    for (const auto& [cursor, label] : cursors) {
        if (!*cursor)
            continue;
        const double x = bottom->coordToPixel(**cursor);
        if (!OnPlot(x, plot))
            continue;
        painter.setPen(QPen(line, 1, Qt::DashLine));
        painter.drawLine(QLineF(x, plot.top(), x, plot.bottom()));
        const QRectF box = CursorBox(x, label, metrics, plot);
        painter.setPen(QPen(line, 1));
        painter.setBrush(background);
        painter.drawRect(box);
        painter.drawText(box, Qt::AlignCenter, label);
        painter.setBrush(Qt::NoBrush);
    }
}

QString TChartForm::ReadoutHeading() const {
    return readoutHeading_->text();
}

void TChartForm::RefreshReadout() {
    readoutPending_ = false;
    if (!cursorA_ && !cursorB_) {
        readoutBox_->hide();
        readout_->setRowCount(0);
        readoutHeading_->clear();
        cursorReadout_ = CursorReadout{};
        readoutTable_.Rows.clear();
        cellWidths_.clear();
        return;
    }
    std::vector<const LParameterSource*> shown;
    for (int32_t i = 0; i < record_.Sources.Count(); ++i)
        if (SeriesActive(i))
            shown.push_back(record_.Sources.Items(i));
    const bool fresh = shown != cursorReadout_.Sources;
    const std::vector<bool> changed = MoveCursors(cursorReadout_, shown, cursorA_, cursorB_);
    const CursorReadout& r = cursorReadout_;
    const TextStyle& style = readoutStyle_;
    const auto time = [&](const std::optional<TDateTime>& t) {
        return t ? QString::fromStdString(style.Time(*t)) : QStringLiteral("\u2013");
    };
    QString heading = QStringLiteral("A: %1    B: %2").arg(time(cursorA_), time(cursorB_));
    if (r.DeltaSeconds)
        heading += QStringLiteral("    \u0394t: %1")
                       .arg(QString::fromStdString(DurationText(*r.DeltaSeconds)));
    readoutHeading_->setText(heading);
    if (fresh)
        MakeReadoutRows(shown);

    // Only the cells whose text changed are set, and measured.
    const QFont font = readout_->font();
    if (!readoutMetrics_ || font != measuredFont_) {
        measuredFont_ = font;
        readoutMetrics_.emplace(font, readout_);
        cellWidths_.assign(cellWidths_.size(), -1);
        headerWidths_.clear();
    }
    const size_t columns = readoutTable_.Columns.size();
    for (size_t row = 0; row < r.Rows.size(); ++row) {
        const bool remeasure = cellWidths_[row * columns] < 0;
        if (!changed[row] && !fresh && !remeasure)
            continue;
        std::vector<TextCell>& cells = readoutTable_.Rows[row];
        cells = CursorReadoutCells(r.Rows[row], cells.empty() ? std::string() : cells[0].text);
        for (size_t column = 0; column < columns; ++column) {
            QTableWidgetItem* item =
                readout_->item(static_cast<int>(row), static_cast<int>(column));
            const QString text = QString::fromStdString(readoutTable_.CellText(row, column, style));
            int& width = cellWidths_[row * columns + column];
            if (item->text() == text && width >= 0)
                continue;
            item->setText(text);
            width = readoutMetrics_->horizontalAdvance(text);
        }
    }
    FitReadoutColumns();
    readoutBox_->setVisible(true);
}

void TChartForm::MakeReadoutRows(const std::vector<const LParameterSource*>& shown) {
    readoutTable_ = CursorReadoutTable(CursorReadout{}, {});
    for (const LParameterSource* source : shown)
        readoutTable_.Rows.push_back({TextCell::Of(SeriesTitle(*source, false).toStdString())});
    const int rows = static_cast<int>(shown.size());
    const int columns = readout_->columnCount();
    readout_->setRowCount(rows);
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < columns; ++column)
            if (!readout_->item(row, column)) {
                auto* item = new QTableWidgetItem;
                if (column > 0)
                    item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
                readout_->setItem(row, column, item);
            }
    cellWidths_.assign(static_cast<size_t>(rows) * static_cast<size_t>(columns), -1);
    // A cell's text takes its margins on either side as the item delegate lays it out, and
    // the grid's line.
    cellMargin_ =
        2 * (readout_->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, readout_) + 1) +
        (readout_->showGrid() ? 1 : 0) + 1;
    // As high as its rows, up to a limit that leaves the chart its room.
    const int high = readout_->horizontalHeader()->sizeHint().height() +
                     rows * readout_->verticalHeader()->defaultSectionSize() +
                     2 * readout_->frameWidth() + 2;
    readout_->setFixedHeight(std::min(high, ReadoutMaxHeight));
}

void TChartForm::FitReadoutColumns() {
    QHeaderView* header = readout_->horizontalHeader();
    const int columns = readout_->columnCount();
    for (int column = 1; column < columns; ++column) {
        int widest = 0;
        for (size_t k = static_cast<size_t>(column); k < cellWidths_.size();
             k += static_cast<size_t>(columns))
            widest = std::max(widest, cellWidths_[k]);
        if (headerWidths_.size() != static_cast<size_t>(columns))
            for (int c = static_cast<int>(headerWidths_.size()); c < columns; ++c)
                headerWidths_.push_back(header->sectionSizeHint(c));
        const int width =
            std::max(headerWidths_[static_cast<size_t>(column)], widest + cellMargin_);
        if (header->sectionSize(column) != width)
            header->resizeSection(column, width);
    }
}

void TChartForm::Zoomout1Click() {
    chart_->ZoomPercent(50);
}

void TChartForm::ResetZoomAndPanClick() {
    chart_->UndoZoom();
}

void TChartForm::VisibleparametersClick() {
    SeriesSwitchScope scope(*this);
    TVisibleParametersDialog& dialog = VisibleParametersDialog();
    dialog.ParameterListView()->SetGroup(&record_.Sources);
    dialog.Execute();
    RefreshChart();
}

void TChartForm::CopyToClipboard() {
    const QSize size = chart_->isVisible() ? chart_->size() : QSize(800, 560);
    const QByteArray svg = SvgBytes(
        size, windowTitle(), [&](QPaintDevice& device) { chart_->DrawTo(device, size, 1.0); });
    QImage picture(size, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    chart_->DrawTo(picture, size, 1.0);
    ::CopyToClipboard(QString(), svg, picture);
}

void TChartForm::SaveAsPictureClick() {
    const QString name = AskSaveFileName(this, QStringLiteral("Save as picture"),
                                         {QStringLiteral("SVG picture (*.svg)"),
                                          QStringLiteral("PNG picture (*.png)"),
                                          QStringLiteral("PDF document (*.pdf)")},
                                         windowTitle());
    if (name.isEmpty())
        return;
    QString error;
    if (SaveAsPicture(name, chart_->size(), &error))
        ReportWrittenFile(name);
    else
        QMessageBox::warning(
            this, windowTitle(),
            QStringLiteral("The chart could not be written to %1.\n%2").arg(name, error));
}

void TChartForm::PrintChart() {
    // Laid out for the page's own resolution, so that fonts and pens keep their size on paper.
    ::PrintChart(
        ProgramPrintOptions(windowTitle()),
        [this](QPainter& painter, const QRect& area, int) {
            DrawChart(painter, QRectF(area), painter.device()->logicalDpiX());
        },
        ProgramInteraction());
}

void TChartForm::EditProperties() {
    TChartPropertyEditor& editor = ChartPropertyEditor();
    editor.ChartForm = this;
    editor.Execute();
}
