// Domain Setup: the one dialog the Display > Time, Frequency, Slowness and Azimuth
// commands run before a domain view opens, on the Domain Setup group. The group's
// domain word says which ranges apply; "Run" ends with IDOK, "Save Setup" with
// kSavedSetup, and both give the edited group back.
#pragma once

#include "common/ViewerSetupDlg.h"
#include "res/DomainSetupDlgIds.h"
#include "settings/DomainSetupGroup.h"

class CDomainSetupDlg : public CViewerSetupDlg<DomainSetupGroup, domain_setup::Control> {
public:
    using enum domain_setup::Control; // ids shared with the template

    CDomainSetupDlg();

    bool OnInitDialog() override;
    void DoDataExchange(DataExchange& dx) override;
    void OnSelectInputFile();
    void OnTraceCursor();
    void OnHelp() override; // the page of the domain

private:
    // Enables the range edits of the domain; the others stay disabled.
    void EnableRanges();
    // "Time" only: the frequency and slowness edits follow the group's two flags,
    // which a chosen file sets from its curves against time (the instantaneous
    // frequency and slowness families).
    void EnableTimeCurves();
    void ShowDepths();
};
