#pragma once

#include "charts/ChartSettings.h"
#include "database/LFont.h"
#include "windows/shell/TStandardDialog.h"

#include <QPointer>

#include <cstdint>
#include <map>
#include <memory>

class QColorDialog;
class QFontDialog;
class QLabel;
class TChartForm;
namespace Ui {
class TChartPropertyEditor;
}

// "Chart Properties": the appearance of one chart window, on five pages. Every Font and
// Color button is tied to a sample panel, which holds the font or colour (as the record
// stores it) until Apply. The Parameters page changes the chart at once, and Cancel does not
// undo that. Whatever the dialog changed in what the database stores is reported through the
// window's RecordChanged, on Apply, OK and Cancel alike.
class TChartPropertyEditor : public TStandardDialog {
    Q_OBJECT

public:
    explicit TChartPropertyEditor(QWidget* parent = nullptr);
    ~TChartPropertyEditor() override;

    // The window edited; set by the caller.
    QPointer<TChartForm> ChartForm;

    // The window's settings into the controls.
    void Init() override;
    // The controls into the window and its record; what the user left alone stays as stored.
    void Apply() override;
    // Refuses to run without a window ("ChartForm = NULL").
    bool Execute() override;

    void ApplyButtonClick();
    // The font or colour dialog on the button's sample panel.
    void FontButtonClick(QPushButton* button);
    void ColorButtonClick(QPushButton* button);
    void ParameterComboBoxChange();
    void ParameterColorButtonClick();
    void LineWidthComboBoxChange();
    void PointComboBoxChange();
    void ParameterVisibleClick();

    Ui::TChartPropertyEditor& Form() const { return *form_; }
    QPushButton* ApplyButton() const { return applyButton_; }
    QFontDialog* FontDialog() const { return fontDialog_; }
    QColorDialog* ColorDialog() const { return colorDialog_; }
    // What a sample panel holds.
    const LFont& PanelFont(const QLabel* panel) const;
    uint32_t PanelColor(const QLabel* panel) const;
    void SetPanelFont(QLabel* panel, const LFont& font);
    void SetPanelColor(QLabel* panel, uint32_t color);

private:
    // Reports a change of what the database stores since the last report.
    void NoteChanges();
    // The window when a parameter is selected on the Parameters page.
    TChartForm* EditedSeries() const;
    QLabel* PanelOf(const QPushButton* button) const;
    void PaintPanel(QLabel* panel);
    // Runs the colour dialog on a stored colour; the stored code stays when the choice is the
    // colour it is drawn with.
    bool ChooseColor(uint32_t& code);

    std::unique_ptr<Ui::TChartPropertyEditor> form_;
    QPushButton* applyButton_;
    QFontDialog* fontDialog_;
    QColorDialog* colorDialog_;
    std::map<const QLabel*, LFont> fonts_;
    std::map<const QLabel*, uint32_t> colors_;
    uint32_t fontDialogColor_ = 0;
    ChartSettings reported_;
    int series_ = -1;
};

// The editor made at start-up, or one made now if there is none yet.
TChartPropertyEditor& ChartPropertyEditor();
