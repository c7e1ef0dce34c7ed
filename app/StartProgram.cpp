#include "app/StartProgram.h"

#include "acquisition/windows/TManualConfigurationDialog.h"
#include "acquisition/windows/TNewSessionDialog.h"
#include "app/TAboutBox.h"
#include "app/TMainForm.h"
#include "app/TRecordingInfoForm.h"
#include "app/TSessionInfoDialog.h"
#include "app/TSettingsDialog.h"
#include "charts/windows/TChartPropertyEditor.h"
#include "printing/windows/TPrintingOptionsDialog.h"
#include "printing/windows/TPrintingProgressForm.h"
#include "printing/windows/WindowPrinting.h"
#include "shell/Help.h"
#include "shell/TCopyProgressForm.h"
#include "shell/TErrorBox.h"
#include "tables/windows/TChartSelectParametersDialog.h"
#include "tables/windows/TTableSelectParametersDialog.h"
#include "tables/windows/TTimeSelectionDialog.h"
#include "tables/windows/TVisibleParametersDialog.h"

#include <QLabel>

std::unique_ptr<TMainForm> StartProgram(const QString& commandLineFile) {
    auto mainForm = std::make_unique<TMainForm>();
    InstallErrorBox();
    mainForm->FormCreate(commandLineFile);

    // The long-lived windows belong to the main window and go with it.
    TMainForm* owner = mainForm.get();
    new TNewSessionDialog(owner);
    new TManualConfigDialog(owner);
    new TSessionInfoDialog(owner);
    new TRecordingInfoForm(owner);
    new TTimeSelectionDialog(owner);
    new TTableSelectParametersDialog(owner);
    new TChartSelectParametersDialog(owner);
    new TPrintingOptionsDialog(owner);
    new TVisibleParametersDialog(owner);
    new TChartPropertyEditor(owner);
    new TSettingsDialog(owner);
    new TAboutBox(owner);
    new TPrintingProgressForm(owner);
    new TCopyProgressForm(owner);
    InstallWindowPrinting();
    InstallHelpKey();
    mainForm->SetDownloader([](std::string& bytes) {
        NewSessionDialog().SetDestination(&bytes);
        return NewSessionDialog().Execute();
    });
    return mainForm;
}
