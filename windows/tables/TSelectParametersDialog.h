#pragma once

#include "windows/shell/TStandardDialog.h"

#include <memory>

class LParameterSourceGroup;
class QGroupBox;
class TParameterListView;
namespace Ui {
class TSelectParametersDialog;
}

// The base of the dialogs that choose parameters: the list of a group's sources with their
// check boxes, All and None. It closes with OK only once at least one source is checked;
// Cancel leaves the selected flags as they were when the dialog opened.
class TSelectParametersDialog : public TStandardDialog {
    Q_OBJECT

public:
    explicit TSelectParametersDialog(QWidget* parent = nullptr);
    ~TSelectParametersDialog() override;

    // The caller gives the list its group (SetGroup) before Execute.
    TParameterListView* ParameterListView() const;
    // Receives, after OK, a copy of every selected source in list order; may be null.
    LParameterSourceGroup* Group = nullptr;

    // Refuses a list without a group ("Group = NULL").
    void Init() override;
    // The check boxes become the sources' selected flags.
    void Apply() override;
    // Shown again, after a message, as long as OK leaves nothing selected.
    bool Execute() override;

    void AllButtonClick();
    void NoneButtonClick();

    QGroupBox* ListGroupBox() const;
    QPushButton* AllButton() const;
    QPushButton* NoneButton() const;

protected:
    // For the descendants: the dialog's caption and the list's group box caption.
    void SetCaptions(const QString& caption, const QString& listCaption);
    // A descendant's own part of the form, above the list.
    void InsertAboveList(QWidget* part);

private:
    std::unique_ptr<Ui::TSelectParametersDialog> Form;
};
