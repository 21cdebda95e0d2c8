// Display > Time, Frequency, Slowness and Azimuth: the Domain Setup dialog on the
// shared settings block, then a domain view; Display > VDL: the VDL Setup dialog, then
// a VDL view.
#include "app/AppCommands.h"
#include "app/ViewerApp.h"
#include "platform/Host.h"
#include "res/CommandIds.h"
#include "viewers/DomainSetupDlg.h"
#include "viewers/DomainWnd.h"
#include "viewers/DomainWndFactory.h"
#include "viewers/VdlSetupDlg.h"
#include "viewers/VdlWndFactory.h"

namespace {

void OnDisplayDomain(CViewerApp& app, int domain)
{
    DomainSetupGroup& s = theApp.m_domainSetup;
    s.domain = CDomainWnd::DomainWord(domain);

    CDomainSetupDlg dialog;
    const int result = dialog.Edit(s);
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
    if (result == IDCANCEL || result == CVdlSetupDlg::kSavedSetup) return;
    if (s.path.empty()) {
        MessageBox("SEG file name is not set!\nOperation will be abandoned.", MB_OK | MB_ICONSTOP);
        return;
    }
    OpenVdlWnd(s, app.ClassName(kClassVdl));
}

} // namespace

void AddViewerCommands(CommandMap& c, CViewerApp& app)
{
    c.Add(ID_DISPLAY_TIME, [&app] { OnDisplayDomain(app, kDomainTime); });
    c.Add(ID_DISPLAY_FREQUENCY, [&app] { OnDisplayDomain(app, kDomainFrequency); });
    c.Add(ID_DISPLAY_SLOWNESS, [&app] { OnDisplayDomain(app, kDomainSlowness); });
    c.Add(ID_DISPLAY_AZIMUTH, [&app] { OnDisplayDomain(app, kDomainAzimuth); });
    c.Add(ID_DISPLAY_VDL, [&app] { OnDisplayVdl(app); });
    c.Add(ID_DISPLAY_MAP, [] { NotYetAvailable("Display Map"); });
    c.Add(ID_DISPLAY_XPLOT, [] { NotYetAvailable("Display Xplot Map"); });
}
