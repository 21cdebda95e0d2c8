// Display > Time, Frequency, Slowness and Azimuth: the Domain Setup dialog on the
// shared settings block, then a domain view; Display > VDL: the VDL Setup dialog, then
// a VDL view; Display > Map and Xplot Map: their setup dialogs, then a semblance map
// view and a frequency-slowness cross-plot.
#include "app/AppCommands.h"
#include "app/ViewerApp.h"
#include "platform/CommandResult.h"
#include "platform/Host.h"
#include "res/CommandIds.h"
#include "viewers/DomainSetupDlg.h"
#include "viewers/DomainWnd.h"
#include "viewers/DomainWndFactory.h"
#include "viewers/FreqSlowXplotSetupDlg.h"
#include "viewers/FreqSlowXplotWndFactory.h"
#include "viewers/SemblanceMapSetupDlg.h"
#include "viewers/SemblanceMapWndFactory.h"
#include "viewers/VdlSetupDlg.h"
#include "viewers/VdlWndFactory.h"
#include "settings/DomainSetupGroup.h"
#include "settings/SemblanceMapSetupGroup.h"
#include "settings/VdlSetupGroup.h"
#include "settings/XPlotSetupGroup.h"

#include <string>

namespace {


// Save Setup ends the dialog with nothing opened: the status bar says the values stay.
void SaySetupKept(const std::string& setup, const std::string& commands)
{
    ShowCommandResult(setup + " kept: " + commands + " from it");
}

void OnDisplayDomain(CViewerApp& app, int domain)
{
    DomainSetupGroup& s = theApp.m_domainSetup;
    s.domain = ViewDomainOfCode(domain);

    CDomainSetupDlg dialog;
    const int result = dialog.Edit(s);
    if (result == CDomainSetupDlg::kSavedSetup)
        SaySetupKept("Domain Setup", "Display > Time, Frequency, Slowness and Azimuth start");
    if (result == IDCANCEL || result == CDomainSetupDlg::kSavedSetup) return;

    // The path says whether a file was chosen (an extension may be empty).
    if (s.path.empty()) {
        MessageBox("QTX file name is not set!\nOperation will be abandoned.", MB_OK | MB_ICONSTOP);
        return;
    }

    OpenDomainWnd(s, domain, app.ClassName(kClassDomain));
}

// Display > VDL: the VDL Setup dialog on its settings block, then a VDL view.
void OnDisplayVdl(CViewerApp& app)
{
    VdlSetupGroup& s = theApp.m_vdlSetup;
    CVdlSetupDlg dialog;
    const int result = dialog.Edit(s);
    if (result == CVdlSetupDlg::kSavedSetup) SaySetupKept("VDL Setup", "Display > VDL starts");
    if (result == IDCANCEL || result == CVdlSetupDlg::kSavedSetup) return;
    if (s.path.empty()) {
        MessageBox("SEG file name is not set!\nOperation will be abandoned.", MB_OK | MB_ICONSTOP);
        return;
    }
    OpenVdlWnd(s, app.ClassName(kClassVdl));
}

// Display > Map: the Semblance Map Viewer Setup dialog on its settings block, then a
// semblance map view.
void OnDisplayMap(CViewerApp& app)
{
    SemblanceMapSetupGroup& s = theApp.m_semblanceMapSetup;
    CSemblanceMapSetupDlg dialog;
    const int result = dialog.Edit(s);
    if (result == CSemblanceMapSetupDlg::kSavedSetup) SaySetupKept("Semblance Map Viewer Setup", "Display > Map starts");
    if (result == IDCANCEL || result == CSemblanceMapSetupDlg::kSavedSetup) return;
    if (s.path.empty()) {
        MessageBox("LIS file name is not set!\nOperation will be abandoned.", MB_OK | MB_ICONSTOP);
        return;
    }
    OpenSemblanceMapWnd(s, app.ClassName(kClassSemblanceMap));
}

// Display > Xplot Map: the X-Plot Viewer Setup dialog on its settings block (the datum
// flags included), then a frequency-slowness cross-plot.
void OnDisplayXplot(CViewerApp& app)
{
    XPlotSetupGroup& s = theApp.m_xplotSetup;
    CFreqSlowXplotSetupDlg dialog;
    const int result = dialog.Edit(s);
    if (result == CFreqSlowXplotSetupDlg::kSavedSetup) SaySetupKept("X-Plot Viewer Setup", "Display > Xplot Map starts");
    if (result == IDCANCEL || result == CFreqSlowXplotSetupDlg::kSavedSetup) return;
    if (s.path.empty()) {
        MessageBox("LIS file name is not set!\nOperation will be abandoned.", MB_OK | MB_ICONSTOP);
        return;
    }
    OpenFreqSlowXplotWnd(s, app.ClassName(kClassXPlot));
}

} // namespace

void AddViewerCommands(CommandMap& c, CViewerApp& app)
{
    c.Add(ID_DISPLAY_TIME, [&app] { OnDisplayDomain(app, kDomainTime); });
    c.Add(ID_DISPLAY_FREQUENCY, [&app] { OnDisplayDomain(app, kDomainFrequency); });
    c.Add(ID_DISPLAY_SLOWNESS, [&app] { OnDisplayDomain(app, kDomainSlowness); });
    c.Add(ID_DISPLAY_AZIMUTH, [&app] { OnDisplayDomain(app, kDomainAzimuth); });
    c.Add(ID_DISPLAY_VDL, [&app] { OnDisplayVdl(app); });
    c.Add(ID_DISPLAY_MAP, [&app] { OnDisplayMap(app); });
    c.Add(ID_DISPLAY_XPLOT, [&app] { OnDisplayXplot(app); });
}
