// Display > Time, Frequency, Slowness and Azimuth: the Domain Setup dialog on the
// shared settings block, then a domain view.
#include "app/AppCommands.h"
#include "app/ViewerApp.h"
#include "platform/Host.h"
#include "res/CommandIds.h"
#include "viewers/DomainSetupDlg.h"
#include "viewers/DomainWnd.h"

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

    auto* view = new CDomainWnd;
    view->m_domain = int16_t(domain);
    view->m_traceCursor = int16_t(s.traceCursor);
    view->m_depthFrame = s.depthFrame;
    view->m_path = s.path;
    view->m_slownessTitle = s.slownessTitle;
    view->m_timeStart = s.timeStart;
    view->m_timeStop = s.timeStop;
    view->m_freqStart = s.freqStart;
    view->m_freqStop = s.freqStop;
    view->m_slowMin = s.slowMin;
    view->m_slowMax = s.slowMax;
    view->m_azimMin = s.azimMin;
    view->m_azimMax = s.azimMax;

    DisplayOptionBlock& d = theApp.m_display;
    ++d.windowCounter;
    d.activeWindowId = d.windowCounter;
    view->m_windowId = d.windowCounter;
    d.penColourChanged = 1;
    d.backgroundChanged = 1;
    d.zoomLevel = 0;
    d.zoomFactor1 = d.zoomFactor2 = d.zoomFactor3 = 1.0f;

    // A view that could not open has no window to own it.
    if (!view->Open(app.ClassName(kClassDomain))) delete view;
}

} // namespace

void AddViewerCommands(CommandMap& c, CViewerApp& app)
{
    c.Add(ID_DISPLAY_TIME, [&app] { OnDisplayDomain(app, kDomainTime); });
    c.Add(ID_DISPLAY_FREQUENCY, [&app] { OnDisplayDomain(app, kDomainFrequency); });
    c.Add(ID_DISPLAY_SLOWNESS, [&app] { OnDisplayDomain(app, kDomainSlowness); });
    c.Add(ID_DISPLAY_AZIMUTH, [&app] { OnDisplayDomain(app, kDomainAzimuth); });
    c.Add(ID_DISPLAY_VDL, [] { NotYetAvailable("Display VDL"); });
    c.Add(ID_DISPLAY_LOG, [] { NotYetAvailable("Display Log"); });
    c.Add(ID_DISPLAY_MAP, [] { NotYetAvailable("Display Map"); });
    c.Add(ID_DISPLAY_XPLOT, [] { NotYetAvailable("Display Xplot Map"); });
}
