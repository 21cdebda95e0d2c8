// The log-header editor: the Header Setup dialog and the Well Info, Fluid Properties
// and Remarks dialogs it runs. Every button of the Header Setup but the remarks check
// box ends it with the button's id, so its creator runs it again until OK or Cancel.
// The sub-dialogs edit copies: what a cancelled one changed is lost.
#pragma once

#include "common/BrowseFile.h"
#include "common/SetupDlg.h"
#include "processing/LogHeader.h"
#include "res/HeaderSetupDlgIds.h"
#include "settings/ProcessingSetupGroups.h"

#include <array>
#include <string>

class CFluidPropertiesDlg : public CDialog {
public:
    CFluidPropertiesDlg();
    void DoDataExchange(DataExchange& dx) override;
    std::array<std::string, kFluidStringCount> m_strings;
};

class CWellInfoDlg : public CDialog {
public:
    CWellInfoDlg();
    void DoDataExchange(DataExchange& dx) override;
    // Runs the Fluid Properties dialog on strings 32-43; the Well Info dialog stays open.
    void OnFluidProperties();
    WellInfoStrings m_strings;
};

class CRemarksDlg : public CDialog {
public:
    CRemarksDlg();
    void DoDataExchange(DataExchange& dx) override;
    std::string m_text;
};

class CHeaderSetupDlg : public CSetupDlg<LogHeaderSetupGroup> {
public:
    using enum header_setup::Control;

    CHeaderSetupDlg();
    void DoDataExchange(DataExchange& dx) override;

    void OnWellInfo();
    void OnRemarks();
    void OnBuildHeader() { End(kIdcBuildHeader); }
    void OnLoadTemplate();
    void OnSaveTemplate();
    void OnSelectImageFile();
    void OnRemarksCheck();

private:
    void End(int code);
    // The file step of the template and image buttons: the host's dialog starts from the
    // group's file; a choice becomes the group's and ends the dialog with `code`.
    void ChooseFileAndEnd(Browse mode, const char* caption, const char* filter, std::string& path,
                          std::string& title, std::string& ext, int code);
};
