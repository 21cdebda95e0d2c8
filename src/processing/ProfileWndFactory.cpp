#include "processing/ProfileWndFactory.h"

#include "platform/Path.h"
#include "processing/DepthProfileSetupDlg.h"
#include "processing/KalmanWnd.h"
#include "processing/ProfileWnd.h"
#include "processing/TimeFrequencyWnd.h"
#include "viewers/ViewOptions.h"
#include "settings/ProcessingSetupGroups.h"

#include <memory>
#include <utility>

namespace {

constexpr double kFeetPerMetre = 3.280839895;

float DepthLabelStep(float depthScale) { return depthScale >= 500 ? 20.0f : depthScale >= 250 ? 10.0f : 5.0f; }

// What the Depth Profile Setup gives every window it opens: the files, the style, the
// palette and the depth scale.
void TakeSetup(CProcessingWnd& view, const DepthProfileSetupGroup& setup)
{
    view.Common().path = setup.inputPath;
    view.Common().outputPath = setup.outputPath.empty()
                            ? CDepthProfileSetupDlg::OutputFolder(setup.inputPath, FileName(setup.inputPath))
                                  + CDepthProfileSetupDlg::OutputName(
                                      setup.inputTitle.empty() ? FileTitle(setup.inputPath) : setup.inputTitle, setup.domain)
                            : setup.outputPath;
    view.Common().style = setup.type == WaveStyle::kNone ? WaveStyle::kVdl : setup.type;
    view.Common().palette = setup.palette == kPaletteAnisotropy ? kPaletteAnisotropy : kPaletteColor;
    view.Common().depthScale = setup.depthScale;
    view.Common().depthLabelStep = DepthLabelStep(setup.depthScale);
}

template <class Wnd>
Wnd* OpenNew(std::unique_ptr<Wnd> view, const std::string& windowClass, double top, double bottom)
{
    view->m_windowId = StartNewViewer();
    // A new window starts without a pending depth or domain zoom.
    theApp.m_display.depthZoomRequest = 0;
    theApp.m_display.dataAxisZoomRequest = 0;
    // A window that could not open has no frame to own it.
    if (!view->Open(windowClass, top, bottom)) return nullptr;
    return view.release();
}

} // namespace

CProfileWnd* OpenProfileWnd(const DepthProfileSetupGroup& setup, const std::string& windowClass)
{
    // Time/frequency belongs to the time-frequency window.
    const int16_t domain = int16_t(ViewDomainCode(setup.domain));
    if (domain == 0) return nullptr;

    auto view = std::make_unique<CProfileWnd>();
    TakeSetup(*view, setup);
    view->Setup().domain = domain;
    view->Setup().normalize = setup.normalize != 0;
    const bool metric = IsMetric(setup.slownessUnit);
    view->Setup().slownessUnit = metric ? SlownessUnit::kPerMetre : SlownessUnit::kPerFoot;
    switch (domain) {
    case kDomainTime:
        view->Setup().windowStart = setup.timeStart;
        view->Setup().windowEnd = setup.timeStop;
        break;
    case kDomainFrequency:
        view->Setup().windowStart = setup.freqStart;
        view->Setup().windowEnd = setup.freqStop;
        break;
    case kDomainSlowness:
        view->Setup().windowStart = setup.slowMin;
        view->Setup().windowEnd = setup.slowMax;
        break;
    default:
        view->Setup().windowStart = setup.azimMin;
        view->Setup().windowEnd = setup.azimMax;
        break;
    }
    // The time search spans receivers inches apart: its slowness window is per foot.
    const double perFoot = domain == kDomainTime && metric ? 1.0 / kFeetPerMetre : 1.0;
    view->Setup().minSlowness = float(setup.slowMin * perFoot);
    view->Setup().maxSlowness = float(setup.slowMax * perFoot);
    view->Setup().minFrequency = setup.freqStart;
    view->Setup().maxFrequency = setup.freqStop;
    view->Setup().minAzimuth = setup.azimMin;
    view->Setup().maxAzimuth = setup.azimMax;
    return OpenNew(std::move(view), windowClass, setup.topDepth, setup.bottomDepth);
}

CKalmanWnd* OpenKalmanWnd(const KalmanSetupGroup& setup, const std::string& windowClass)
{
    auto view = std::make_unique<CKalmanWnd>();
    view->Common().path = setup.inputPath;
    view->Common().outputPath = setup.outputPath;
    view->Common().depthScale = setup.depthScale;
    view->Common().depthLabelStep = DepthLabelStep(setup.depthScale);
    view->Setup().windowStart = setup.timeStart;
    view->Setup().windowEnd = setup.timeStop;
    return OpenNew(std::move(view), windowClass, setup.topDepth, setup.bottomDepth);
}

CTimeFrequencyWnd* OpenTimeFrequencyWnd(const DepthProfileSetupGroup& setup, const std::string& windowClass)
{
    if (setup.domain != ViewDomain::kTimeFrequency) return nullptr;
    auto view = std::make_unique<CTimeFrequencyWnd>();
    TakeSetup(*view, setup);
    view->Setup().timeStart = setup.timeStart;
    view->Setup().timeStop = setup.timeStop;
    view->Setup().freqStart = setup.freqStart;
    view->Setup().freqStop = setup.freqStop;
    // Receivers lie inches apart: the search's slowness window is per foot.
    const double perFoot = IsMetric(setup.slownessUnit) ? 1.0 / kFeetPerMetre : 1.0;
    view->Setup().minSlowness = float(setup.slowMin * perFoot);
    view->Setup().maxSlowness = float(setup.slowMax * perFoot);
    return OpenNew(std::move(view), windowClass, setup.topDepth, setup.bottomDepth);
}

CViewerWnd* RunDepthProfileSetup(const std::string& windowClass)
{
    DepthProfileSetupGroup& setup = theApp.m_dormant.depthProfile;
    CDepthProfileSetupDlg dlg;
    if (dlg.Edit(setup) != IDOK) return nullptr;
    if (setup.domain == ViewDomain::kTimeFrequency) return OpenTimeFrequencyWnd(setup, windowClass);
    return OpenProfileWnd(setup, windowClass);
}
