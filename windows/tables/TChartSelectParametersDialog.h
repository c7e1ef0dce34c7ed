#pragma once

#include "windows/tables/TSelectParametersDialog.h"

// "New Chart": the caller sets Group (a new empty group) and gives the list the database's
// chart sources group; every parameter starts unchecked.
class TChartSelectParametersDialog : public TSelectParametersDialog {
    Q_OBJECT

public:
    explicit TChartSelectParametersDialog(QWidget* parent = nullptr);

    void Init() override;
};

// The dialog made at start-up, or one made now if there is none yet.
TChartSelectParametersDialog& ChartSelectParametersDialog();
