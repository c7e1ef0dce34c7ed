#pragma once

#include "windows/tables/TSelectParametersDialog.h"

#include <array>
#include <memory>

class QRadioButton;
namespace Ui {
class TTableSelectParametersDialog;
}

// "New Table": the type of the table (Historic, Event or Cumulative; the types the recording
// has are offered), then its parameters, all unchecked at first. The caller sets Group (a
// new empty group) and the database's all sources group. An Event or Cumulative parameter
// comes with its interval twin as next source, so that the table shows the intervals too.
class TTableSelectParametersDialog : public TSelectParametersDialog {
    Q_OBJECT

public:
    explicit TTableSelectParametersDialog(QWidget* parent = nullptr);
    ~TTableSelectParametersDialog() override;

    // The database's all sources group; their selected flags are cleared by Execute.
    void SetAllSources(LParameterSourceGroup* all);
    // False when Historic was chosen.
    bool EventOrCumulative = false;

    // False, and nothing shown, when the recording has no parameter of the three types.
    bool Execute() override;

    void HistoricRadioButtonClick();
    void EventRadioButtonClick();
    void CummulativeRadioButtonClick();

    QRadioButton* HistoricRadioButton() const;
    QRadioButton* EventRadioButton() const;
    QRadioButton* CummulativeRadioButton() const;

private:
    // 0 Historic, 1 Event, 2 Cumulative.
    void ShowCandidates(int type);
    QRadioButton* TypeButton(int type) const;

    std::unique_ptr<Ui::TTableSelectParametersDialog> TypeForm;
    LParameterSourceGroup* allSources_ = nullptr;
    // Copies of the all sources group by type, while Execute runs.
    std::array<std::unique_ptr<LParameterSourceGroup>, 3> candidates_;
};

// The dialog made at start-up, or one made now if there is none yet.
TTableSelectParametersDialog& TableSelectParametersDialog();
