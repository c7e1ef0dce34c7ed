#pragma once

#include "windows/tables/TSelectParametersDialog.h"

#include <functional>

class LParameterSource;

// "Visible parameters": which sources of a table or chart window are shown. The caller gives
// the list the window's group; the selected flags are edited in place and nothing is copied.
class TVisibleParametersDialog : public TSelectParametersDialog {
    Q_OBJECT

public:
    explicit TVisibleParametersDialog(QWidget* parent = nullptr);

    // The check boxes show the flags; no group is required and Group is cleared.
    void Init() override;
    // Then, when at least one source is selected, SeriesSwitch runs for every source of the
    // list, with its flag.
    void Apply() override;

    // Set by the chart window: makes a source's series active or not.
    std::function<void(LParameterSource&, bool active)> SeriesSwitch;
};

// The dialog made at start-up, or one made now if there is none yet.
TVisibleParametersDialog& VisibleParametersDialog();
