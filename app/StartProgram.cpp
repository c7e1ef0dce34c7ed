#include "app/StartProgram.h"

#include "app/TAboutBox.h"
#include "app/TMainForm.h"
#include "app/TRecordingInfoForm.h"
#include "app/TSessionInfoDialog.h"
#include "app/TSettingsDialog.h"
#include "windows/acquisition/TManualConfigurationDialog.h"
#include "windows/acquisition/TNewSessionDialog.h"
#include "windows/charts/TChartPropertyEditor.h"
#include "windows/printing/TPrintingOptionsDialog.h"
#include "windows/printing/TPrintingProgressForm.h"
#include "windows/printing/WindowPrinting.h"
#include "windows/shell/Help.h"
#include "windows/shell/TCopyProgressForm.h"
#include "windows/shell/TErrorBox.h"
#include "windows/tables/TChartSelectParametersDialog.h"
#include "windows/tables/TTableSelectParametersDialog.h"
#include "windows/tables/TTimeSelectionDialog.h"
#include "windows/tables/TVisibleParametersDialog.h"

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
