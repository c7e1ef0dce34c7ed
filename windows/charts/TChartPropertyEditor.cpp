#include "windows/charts/TChartPropertyEditor.h"

#include "charts/DisplayStyle.h"
#include "database/LChartRecord.h"
#include "model/ErrorReport.h"
#include "model/LParameter.h"
#include "ui_TChartPropertyEditor.h"
#include "windows/charts/TChart.h"
#include "windows/charts/TChartForm.h"
#include "windows/shell/Help.h"
#include "windows/shell/WindowInstance.h"

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QSignalBlocker>

namespace {

const LFont NoFont;

// Unchecks every button of a group of auto-exclusive radio buttons, or checks one.
void CheckOnly(std::initializer_list<QRadioButton*> buttons, QRadioButton* checked) {
    for (QRadioButton* b : buttons) {
        b->setAutoExclusive(false);
        b->setChecked(b == checked);
        b->setAutoExclusive(true);
    }
}

// The stored alignment byte of the checked button; the stored one when none is checked (a
// value no button stands for) or the checked one says the same.
uint8_t CheckedAlignment(QRadioButton* left, QRadioButton* center, QRadioButton* right,
                         uint8_t stored) {
    if (left->isChecked())
        return LChartRecord::AlignLeft;
    if (right->isChecked())
        return LChartRecord::AlignRight;
    if (center->isChecked())
        return LChartRecord::AlignCenter;
    return stored;
}

QRadioButton* AlignmentButton(uint8_t stored, QRadioButton* left, QRadioButton* center,
                              QRadioButton* right) {
    switch (stored) {
    case LChartRecord::AlignLeft:
        return left;
    case LChartRecord::AlignRight:
        return right;
    case LChartRecord::AlignCenter:
        return center;
    default:
        return nullptr;
    }
}

} // namespace

TChartPropertyEditor::TChartPropertyEditor(QWidget* parent)
    : TStandardDialog(parent), form_(std::make_unique<Ui::TChartPropertyEditor>()),
      applyButton_(new QPushButton(QStringLiteral("Apply"), this)),
      fontDialog_(new QFontDialog(this)), colorDialog_(new QColorDialog(this)) {
    SetHelpTopic(this, "chartproperties");
    SetupContent(*form_);
    WindowInstance<TChartPropertyEditor>::Register(this);
    applyButton_->setObjectName(QStringLiteral("ApplyButton"));
    AddButton(applyButton_);
    connect(applyButton_, &QPushButton::clicked, this, [this] { ApplyButtonClick(); });

    fontDialog_->setObjectName(QStringLiteral("FontDialog"));
    fontDialog_->setOption(QFontDialog::DontUseNativeDialog);
    // The platform's font dialog has no colour; the stored fonts have one.
    if (auto* box = fontDialog_->findChild<QDialogButtonBox*>()) {
        QPushButton* color =
            box->addButton(QStringLiteral("&Color\u2026"), QDialogButtonBox::ActionRole);
        color->setObjectName(QStringLiteral("FontColorButton"));
        connect(color, &QPushButton::clicked, this, [this] { ChooseColor(fontDialogColor_); });
    }
    colorDialog_->setObjectName(QStringLiteral("ColorDialog"));
    colorDialog_->setOption(QColorDialog::DontUseNativeDialog);

    Ui::TChartPropertyEditor& f = *form_;
    for (QPushButton* b : {f.ChartTitleFontButton, f.XAxisTitleFontButton, f.FootFontButton,
                           f.XAxisLabelsFontButton, f.YAxisLabelsFontButton, f.LegendFontButton})
        connect(b, &QPushButton::clicked, this, [this, b] { FontButtonClick(b); });
    for (QPushButton* b :
         {f.AxisColorButton, f.GridColorButton, f.BackgroundColorButton, f.LegendColorButton})
        connect(b, &QPushButton::clicked, this, [this, b] { ColorButtonClick(b); });
    connect(f.ParameterColorButton, &QPushButton::clicked, this,
            [this] { ParameterColorButtonClick(); });
    for (int i = 1; i <= 9; ++i) {
        f.LineWidthComboBox->addItem(QStringLiteral("%1 pt").arg(i));
        f.PointSizeComboBox->addItem(QStringLiteral("%1 pt").arg(i));
    }
    f.PointStyleComboBox->addItems({QStringLiteral("Rectangle"), QStringLiteral("Circle"),
                                    QStringLiteral("Up triangle"), QStringLiteral("Down triangle"),
                                    QStringLiteral("Cross"), QStringLiteral("Diagonal cross"),
                                    QStringLiteral("Star")});
    connect(f.ParameterComboBox, &QComboBox::currentIndexChanged, this,
            [this] { ParameterComboBoxChange(); });
    connect(f.LineWidthComboBox, &QComboBox::currentIndexChanged, this,
            [this] { LineWidthComboBoxChange(); });
    for (QComboBox* box : {f.PointSizeComboBox, f.PointStyleComboBox})
        connect(box, &QComboBox::currentIndexChanged, this, [this] { PointComboBoxChange(); });
    connect(f.ParameterVisible, &QCheckBox::clicked, this, [this] { ParameterVisibleClick(); });
    SetStripeWidth(0);
    resize(560, 440);
}

TChartPropertyEditor::~TChartPropertyEditor() = default;

bool TChartPropertyEditor::Execute() {
    const TChartForm* form = ChartForm.data();
    if (!form)
        ShowErrorAndRaise("TChartPropertyEditor::Execute", "ChartForm = NULL");
    const bool confirmed = TStandardDialog::Execute();
    NoteChanges();
    return confirmed;
}

void TChartPropertyEditor::NoteChanges() {
    TChartForm* form = ChartForm.data();
    if (!form)
        return;
    ChartSettings now = SettingsOf(form->Record());
    if (now == reported_)
        return;
    reported_ = std::move(now);
    emit form->RecordChanged();
}

void TChartPropertyEditor::ApplyButtonClick() {
    Apply();
    NoteChanges();
}

const LFont& TChartPropertyEditor::PanelFont(const QLabel* panel) const {
    const auto it = fonts_.find(panel);
    return it == fonts_.end() ? NoFont : it->second;
}

uint32_t TChartPropertyEditor::PanelColor(const QLabel* panel) const {
    const auto it = colors_.find(panel);
    return it == colors_.end() ? 0 : it->second;
}

void TChartPropertyEditor::SetPanelFont(QLabel* panel, const LFont& font) {
    fonts_[panel] = font;
    PaintPanel(panel);
}

void TChartPropertyEditor::SetPanelColor(QLabel* panel, uint32_t color) {
    colors_[panel] = color;
    PaintPanel(panel);
}

void TChartPropertyEditor::PaintPanel(QLabel* panel) {
    QPalette palette = panel->palette();
    if (const auto font = fonts_.find(panel); font != fonts_.end()) {
        panel->setFont(DisplayFont(font->second));
        palette.setColor(QPalette::WindowText, DisplayColor(font->second.Color));
    }
    if (const auto color = colors_.find(panel); color != colors_.end())
        palette.setColor(QPalette::Window, DisplayColor(color->second));
    panel->setPalette(palette);
}

QLabel* TChartPropertyEditor::PanelOf(const QPushButton* button) const {
    const Ui::TChartPropertyEditor& f = *form_;
    const std::pair<const QPushButton*, QLabel*> ties[] = {
        {f.ChartTitleFontButton, f.ChartTitleFont},
        {f.XAxisTitleFontButton, f.XAxisTitleFont},
        {f.FootFontButton, f.FootFont},
        {f.XAxisLabelsFontButton, f.XAxisLabelsFont},
        {f.YAxisLabelsFontButton, f.YAxisLabelsFont},
        {f.LegendFontButton, f.LegendFontColor},
        {f.AxisColorButton, f.AxisColor},
        {f.GridColorButton, f.GridColor},
        {f.BackgroundColorButton, f.BackgroundColor},
        {f.LegendColorButton, f.LegendFontColor},
        {f.ParameterColorButton, f.ParameterColor}};
    for (const auto& [b, panel] : ties)
        if (b == button)
            return panel;
    return nullptr;
}

bool TChartPropertyEditor::ChooseColor(uint32_t& code) {
    const QColor shown = DisplayColor(code);
    colorDialog_->setOption(QColorDialog::ShowAlphaChannel, false);
    colorDialog_->setCurrentColor(shown);
    if (colorDialog_->exec() != QDialog::Accepted)
        return false;
    const QColor chosen = colorDialog_->selectedColor();
    if (chosen.isValid() && chosen.rgb() != shown.rgb())
        code = ColorCode(chosen);
    return true;
}

void TChartPropertyEditor::FontButtonClick(QPushButton* button) {
    QLabel* panel = PanelOf(button);
    if (!panel)
        return;
    const LFont stored = PanelFont(panel);
    fontDialogColor_ = stored.Color;
    fontDialog_->setCurrentFont(DisplayFont(stored));
    if (fontDialog_->exec() != QDialog::Accepted)
        return;
    LFont chosen = ChosenFont(fontDialog_->selectedFont(), stored);
    chosen.Color = fontDialogColor_;
    SetPanelFont(panel, chosen);
}

void TChartPropertyEditor::ColorButtonClick(QPushButton* button) {
    QLabel* panel = PanelOf(button);
    if (!panel)
        return;
    uint32_t code = PanelColor(panel);
    if (ChooseColor(code))
        SetPanelColor(panel, code);
}

void TChartPropertyEditor::Init() {
    Ui::TChartPropertyEditor& f = *form_;
    TChartForm* form = ChartForm.data();
    if (!form)
        return;
    TChartForm& chart = *form;
    const LChartRecord& r = chart.Record();
    reported_ = SettingsOf(r);
    form_->PageControl->setCurrentIndex(0);

    f.ChartTitle->setText(chart.GetTitle());
    SetPanelFont(f.ChartTitleFont, r.TitleFont);
    CheckOnly({f.ChartTitleAlignLeft, f.ChartTitleAlignCenter, f.ChartTitleAlignRight},
              AlignmentButton(r.TitleAlignment, f.ChartTitleAlignLeft, f.ChartTitleAlignCenter,
                              f.ChartTitleAlignRight));

    f.XAxisTitle->setText(QString::fromStdString(r.BottomAxisTitle));
    SetPanelFont(f.XAxisTitleFont, r.BottomAxisTitleFont);

    f.ShowStartEnd->setChecked(r.ShowStartEnd);
    f.ShowLocation->setChecked(r.ShowLocation);
    SetPanelFont(f.FootFont, r.FooterFont);
    CheckOnly(
        {f.FootAlignLeft, f.FootAlignCenter, f.FootAlignRight},
        AlignmentButton(r.FooterAlignment, f.FootAlignLeft, f.FootAlignCenter, f.FootAlignRight));

    SetPanelColor(f.AxisColor, r.AxisColor);
    SetPanelFont(f.XAxisLabelsFont, r.BottomAxisLabelFont);
    CheckOnly({f.XAxisLabelsTimeDate, f.XAxisLabelsTime},
              r.XAxisLabelsTimeDate ? f.XAxisLabelsTimeDate : f.XAxisLabelsTime);
    SetPanelFont(f.YAxisLabelsFont, r.LeftAxisLabelFont);

    SetPanelColor(f.GridColor, r.GridColor);
    f.XAxisGridVisible->setChecked(r.BottomAxisGrid);
    SetPanelColor(f.BackgroundColor, r.BackgroundColor);

    f.LegendVisible->setChecked(r.LegendVisible);
    QRadioButton* positions[] = {f.LegendPositionLeft, f.LegendPositionRight, f.LegendPositionTop,
                                 f.LegendPositionBottom};
    CheckOnly(
        {f.LegendPositionLeft, f.LegendPositionRight, f.LegendPositionTop, f.LegendPositionBottom},
        r.LegendPosition < 4 ? positions[r.LegendPosition] : nullptr);
    SetPanelFont(f.LegendFontColor, r.LegendFont);
    SetPanelColor(f.LegendFontColor, r.LegendColor);

    f.ShowMinMax->setChecked(r.ShowMinMax);

    {
        const QSignalBlocker blocker(f.ParameterComboBox);
        f.ParameterComboBox->clear();
        for (const auto& source : r.Sources)
            f.ParameterComboBox->addItem(QString::fromStdString(source->Label()));
        f.ParameterComboBox->setCurrentIndex(r.Sources.Count() > 0 ? 0 : -1);
    }
    ParameterComboBoxChange();
}

void TChartPropertyEditor::Apply() {
    TChartForm* form = ChartForm.data();
    if (!form)
        return;
    Ui::TChartPropertyEditor& f = *form_;
    TChartForm& chart = *form;
    LChartRecord& r = chart.Record();

    if (f.ChartTitle->text() != chart.GetTitle())
        chart.SetTitle(f.ChartTitle->text());
    r.TitleFont = PanelFont(f.ChartTitleFont);
    r.TitleAlignment = CheckedAlignment(f.ChartTitleAlignLeft, f.ChartTitleAlignCenter,
                                        f.ChartTitleAlignRight, r.TitleAlignment);

    r.BottomAxisTitle = f.XAxisTitle->text().toStdString();
    r.BottomAxisTitleFont = PanelFont(f.XAxisTitleFont);

    r.ShowStartEnd = f.ShowStartEnd->isChecked();
    r.ShowLocation = f.ShowLocation->isChecked();
    r.FooterFont = PanelFont(f.FootFont);
    r.FooterAlignment =
        CheckedAlignment(f.FootAlignLeft, f.FootAlignCenter, f.FootAlignRight, r.FooterAlignment);

    r.AxisColor = PanelColor(f.AxisColor);
    r.BottomAxisLabelFont = PanelFont(f.XAxisLabelsFont);
    chart.SetXAxisLabelsTimeDate(f.XAxisLabelsTimeDate->isChecked());
    r.LeftAxisLabelFont = PanelFont(f.YAxisLabelsFont);

    r.GridColor = PanelColor(f.GridColor);
    r.BottomAxisGrid = f.XAxisGridVisible->isChecked();
    r.BackgroundColor = PanelColor(f.BackgroundColor);

    r.LegendVisible = f.LegendVisible->isChecked();
    const QRadioButton* positions[] = {f.LegendPositionLeft, f.LegendPositionRight,
                                       f.LegendPositionTop, f.LegendPositionBottom};
    for (uint8_t p = 0; p < 4; ++p)
        if (positions[p]->isChecked())
            r.LegendPosition = p;
    r.LegendFont = PanelFont(f.LegendFontColor);
    r.LegendColor = PanelColor(f.LegendFontColor);

    r.ShowMinMax = f.ShowMinMax->isChecked();
    chart.ApplyStyle();
    chart.RefreshChart();
}

void TChartPropertyEditor::ParameterComboBoxChange() {
    Ui::TChartPropertyEditor& f = *form_;
    const TChartForm* form = ChartForm.data();
    series_ = -1;
    f.LinePanel->hide();
    f.PointPanel->hide();
    if (!form)
        return;
    const LChartRecord& r = form->Record();
    const int i = f.ParameterComboBox->currentIndex();
    if (i < 0 || i >= r.Sources.Count())
        return;
    series_ = i;
    const LSeriesStyle& style = r.Style(series_);
    SetPanelColor(f.ParameterColor, style.Color);
    f.ParameterVisible->setChecked(form->SeriesActive(series_));
    const QSignalBlocker line(f.LineWidthComboBox), size(f.PointSizeComboBox),
        shape(f.PointStyleComboBox);
    if (LChartRecord::IsLineSource(*r.Sources.Items(series_))) {
        f.LineWidthComboBox->setCurrentIndex(std::clamp(style.LineWidth - 1, 0, 8));
        f.LinePanel->show();
    } else {
        f.PointSizeComboBox->setCurrentIndex(std::clamp(style.PointSize - 1, 0, 8));
        f.PointStyleComboBox->setCurrentIndex(style.PointStyle < 7 ? style.PointStyle : 0);
        f.PointPanel->show();
    }
}

TChartForm* TChartPropertyEditor::EditedSeries() const {
    TChartForm* form = ChartForm.data();
    return series_ >= 0 && form && series_ < form->Record().Sources.Count() ? form : nullptr;
}

void TChartPropertyEditor::ParameterColorButtonClick() {
    TChartForm* form = EditedSeries();
    if (!form)
        return;
    uint32_t code = PanelColor(form_->ParameterColor);
    if (!ChooseColor(code))
        return;
    SetPanelColor(form_->ParameterColor, code);
    form->Record().Style(series_).Color = code;
    form->ApplySeriesStyle(series_);
    form->RefreshChart();
}

void TChartPropertyEditor::LineWidthComboBoxChange() {
    TChartForm* form = EditedSeries();
    if (!form)
        return;
    form->Record().Style(series_).LineWidth = form_->LineWidthComboBox->currentIndex() + 1;
    form->ApplySeriesStyle(series_);
    form->RefreshChart();
}

void TChartPropertyEditor::PointComboBoxChange() {
    TChartForm* form = EditedSeries();
    if (!form)
        return;
    LSeriesStyle& style = form->Record().Style(series_);
    style.PointStyle = static_cast<uint8_t>(form_->PointStyleComboBox->currentIndex());
    style.PointSize = form_->PointSizeComboBox->currentIndex() + 1;
    form->ApplySeriesStyle(series_);
    form->RefreshChart();
}

void TChartPropertyEditor::ParameterVisibleClick() {
    TChartForm* form = EditedSeries();
    if (!form)
        return;
    form->SetSeriesActive(series_, form_->ParameterVisible->isChecked());
    form->RefreshChart();
}

TChartPropertyEditor& ChartPropertyEditor() {
    return WindowInstance<TChartPropertyEditor>::Get();
}
