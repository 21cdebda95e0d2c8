// Domain Setup: the one dialog the Display > Time, Frequency, Slowness and Azimuth
// commands run before a domain view opens. The caller copies the settings into the
// members, names the domain by its word, and reads the members back after IDOK
// ("Run") or kSavedSetup ("Save Setup").
#pragma once

#include "platform/Dialog.h"
#include "res/DomainSetupDlgIds.h"

#include <cstdint>
#include <string>

class CWnd;

class CDomainSetupDlg : public CDialog {
public:
    using enum domain_setup::Control; // ids shared with the template
    enum : int { kSavedSetup = kIdcSaveSetup }; // end code of "Save Setup"

    explicit CDomainSetupDlg(CWnd* parent = nullptr); // the host places the dialog

    bool OnInitDialog() override;
    void DoDataExchange(DataExchange& dx) override;
    void OnSelectInputFile();
    void OnTraceCursor();
    void OnSaveSetup();
    void OnHelp();

    int m_bEnableFrequency = 0; // "Time" only: the file has a frequency curve against time (types 158-163)
    int m_bEnableSlowness = 0;  // "Time" only: the file has a slowness curve against time (types 164-169)
    int16_t m_nTraceCursor = 0; // changes only in OnTraceCursor
    std::string m_strPath;
    std::string m_strTitle;
    std::string m_strExt;
    double m_dDepthFrame = 1.0;
    double m_dTopDepth = 1.0;
    double m_dBottomDepth = 20000.0;
    float m_fFreqStart = 0.0f, m_fTimeStart = 0.0f, m_fSlowMin = 40.0f, m_fAzimMin = 0.0f;
    float m_fFreqStop = 10000.0f, m_fTimeStop = 10000.0f, m_fSlowMax = 240.0f, m_fAzimMax = 0.0f;
    std::string m_strDomain; // "Time", "Frequency", "Slowness" or "Azimuth"
    std::string m_strSlownessTitle;

private:
    // Enables the range edits of the domain; the others stay disabled.
    void EnableRanges();
    // "Time" only: the frequency and slowness edits follow the two flags.
    void EnableTimeCurves();
    void ShowDepths();
};
