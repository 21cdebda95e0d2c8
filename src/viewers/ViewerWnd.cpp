#include "viewers/ViewerWnd.h"

#include "viewers/ViewOptions.h"
#include "dataset/QtxFile.h"
#include "platform/Format.h"
#include "platform/Frame.h"
#include "platform/Host.h"

#include <algorithm>
#include <cmath>

CViewerWnd::CViewerWnd()
{
    for (int i = 0; i < kSlots; ++i) m_receiverIndex[size_t(i)] = i;
}

int CViewerWnd::OpenDataSet(CQtxFile& file, const std::string& path)
{
    file.KeepInputOnFrameError();
    return OkOrShow(file.OpenRead(path));
}

bool CViewerWnd::IsActiveView() const { return Frame() && Frame()->ActiveChild() == this; }

void CViewerWnd::SetReadOut(int pane, const std::string& text)
{
    if (pane < 1 || pane > kLastReadOutPane) return;
    m_readOuts[size_t(pane)] = text;
    if (IsActiveView()) Frame()->SetPaneText(pane, text);
}

const std::string& CViewerWnd::ReadOut(int pane) const
{
    static const std::string none;
    return pane >= 1 && pane <= kLastReadOutPane ? m_readOuts[size_t(pane)] : none;
}

void CViewerWnd::ShowReadOuts() const
{
    // Empty texts too: what another view left in a pane must go.
    for (int pane = 1; pane <= kLastReadOutPane; ++pane) Frame()->SetPaneText(pane, m_readOuts[size_t(pane)]);
}

void CViewerWnd::OnMDIActivate(bool activate)
{
    if (!activate) return;
    theApp.m_display.activeWindowId = m_windowId;
    if (Frame()) ShowReadOuts();
    LoadViewOptions();
    StoreViewOptions();
}

void CViewerWnd::ReadDeviceCaps()
{
    if (auto dc = GetDC()) {
        m_vertRes = dc->GetDeviceCaps(VERTRES);
        m_vertSize = dc->GetDeviceCaps(VERTSIZE);
    }
    if (m_vertRes <= 0 || m_vertSize <= 0) {
        const DeviceCaps standard;
        m_vertRes = standard.vertRes;
        m_vertSize = standard.vertSize;
    }
}

void CViewerWnd::OnSize(unsigned type, int cx, int cy)
{
    theApp.m_display.redrawRequest = 1;
    m_iconic = type == SIZE_MINIMIZED || cx <= 0 || cy <= 0;
    if (!m_iconic) ReadDeviceCaps();
    if (!m_iconic) PrepareRepaint();
    Invalidate(true);
    UpdateWindow();
}

bool CViewerWnd::OnEraseBkgnd(Dc& dc)
{
    // Between requested redraws the old picture stays (the paint covers it anyway).
    if (!theApp.m_display.redrawRequest) return true;
    return CWnd::OnEraseBkgnd(dc);
}

void CViewerWnd::OnClose()
{
    ReleaseDrawingObjects();
    RemoveViewOptions(m_windowId);
    m_iconic = false;
    DestroyWindow();
}

void CViewerWnd::OnSysCommand(unsigned id)
{
    switch (id & 0xFFF0) {
    case SC_CLOSE: OnClose(); return;
    case SC_MINIMIZE: m_iconic = true; break;
    case SC_RESTORE:
    case SC_MAXIMIZE:
    case SC_MOVE:
    case SC_SIZE: m_iconic = false; break;
    default: break;
    }
    CWnd::OnSysCommand(id);
}

void CViewerWnd::OnDestroy()
{
    // A window destroyed without its close handler (Close All, the frame closing)
    // must not leave its record behind.
    if (FindViewOptions(m_windowId)) RemoveViewOptions(m_windowId);
    // The read-outs go with the active view; a view activated next shows its own.
    IFrame* frame = Frame();
    if (!frame) return;
    const CWnd* active = frame->ActiveChild();
    if (!active || active == this || !dynamic_cast<const CViewerWnd*>(active))
        for (int pane = 1; pane <= kLastReadOutPane; ++pane) frame->SetPaneText(pane, "");
}

namespace {

// The views' refusals to open: the reason, then the one closing line; always false.
bool RefuseToShow(const std::string& reason)
{
    MessageBox(reason + "\nOperation will be abandoned.", MB_OK | MB_ICONSTOP);
    return false;
}

} // namespace

bool CViewerWnd::AcceptSampleStep(const std::string& mnemonic, float step)
{
    if (step > 0 && std::isfinite(step)) return true;
    return RefuseToShow(Format("Datum %s cannot be shown: its sample step is not a positive number.", mnemonic.c_str()));
}

bool CViewerWnd::FitsSlots(int64_t receivers, int64_t samples)
{
    return receivers >= 1 && receivers <= kSlots && samples >= 1 && samples <= kSlotFloats;
}

void CViewerWnd::FillAround(Dc& dc, const Rect& outer, const Rect& inner, Color colour)
{
    const Rect hole = inner.Intersect(outer);
    if (hole.IsEmpty()) {
        dc.FillRect(outer, colour);
        return;
    }
    const Rect bands[] = {{outer.left, outer.top, outer.right, hole.top},
                          {outer.left, hole.bottom, outer.right, outer.bottom},
                          {outer.left, hole.top, hole.left, hole.bottom},
                          {hole.right, hole.top, outer.right, hole.bottom}};
    for (const Rect& band : bands)
        if (!band.IsEmpty()) dc.FillRect(band, colour);
}

bool CViewerWnd::AcceptDepths(const CFrameCursor& frames, const std::string& path)
{
    if (frames.FrameCount() <= 1 || (frames.Step() > 0 && std::isfinite(frames.Step()) && std::isfinite(frames.TopDepth())))
        return true;
    return RefuseToShow(Format("Data set %s cannot be shown against depth: its depth step or depths are not "
                               "usable numbers.",
                               path.c_str()));
}

int CViewerWnd::PaddedLength(int samples, int from)
{
    int padded = from;
    while (padded < samples && padded <= kSlotFloats) padded *= 2;
    return padded;
}

bool CViewerWnd::RefuseDatumSize(const std::string& mnemonic, int receivers, int samples)
{
    return RefuseToShow(Format("Datum %s cannot be shown: %d receivers of %d samples do not fit the view "
                               "(at most %d receivers of %d samples).",
                               mnemonic.c_str(), receivers, samples, kSlots, kSlotFloats));
}

int CViewerWnd::RegisterReceivers(int shown)
{
    int available[kReceivers] = {};
    const int count = std::clamp(m_receivers, 0, kSlots);
    for (int i = 0; i < count; ++i) {
        m_receiverIndex[size_t(i)] = i;
        if (i < kReceivers) {
            available[i] = 1;
            theApp.m_display.receiverShown[size_t(i)] = i < shown ? 1 : 0;
        }
    }
    AddViewOptions(m_windowId, uint16_t(m_receivers), available, this);
    return count;
}

void CViewerWnd::MapShownReceivers(const uint32_t* available, const uint32_t* shown)
{
    const int count = std::clamp(m_receivers, 0, kSlots);
    int k = 0;
    for (int i = 0; i < kReceivers && k < count; ++i)
        if (available[i]) m_shown[size_t(m_receiverIndex[size_t(k++)])] = shown[i] != 0;
    for (int r = kReceivers; r < count; ++r) m_shown[size_t(m_receiverIndex[size_t(r)])] = true;
    m_shownTraces = 0;
    for (int r = 0; r < count; ++r) m_shownTraces += m_shown[size_t(m_receiverIndex[size_t(r)])] ? 1 : 0;
}

void CViewerWnd::MakeDrawingObjects()
{
    const auto& d = theApp.m_display;
    Color colour = Rgb(0, 0, 0);
    Color brush = Rgb(0, 0, 0);
    if (d.redPen) colour = brush = Rgb(255, 50, 0);
    else if (d.greenPen) colour = brush = Rgb(10, 191, 10);
    else if (d.bluePen) colour = Rgb(0, 50, 255), brush = Rgb(10, 50, 192);
    m_tracePen = {PS_SOLID, 0, colour};
    m_traceBrush = {brush, false};
    m_backgroundBrush = {d.yellowBackground ? Rgb(255, 255, 100) : d.grayBackground ? Rgb(224, 224, 224) : Rgb(255, 255, 255),
                         false};
}

void CViewerWnd::RefreshDrawingObjects()
{
    auto& d = theApp.m_display;
    // A white pen has no trace colour of its own: the traces keep the one they had.
    if (d.penColourChanged) {
        if (!d.whitePen) {
            MakeDrawingObjects();
            m_tracePen.width = 2;
        }
        d.penColourChanged = 0;
    }
    if (d.backgroundChanged) {
        const Pen keep = m_tracePen;
        const Brush keepBrush = m_traceBrush;
        MakeDrawingObjects();
        m_tracePen = keep;
        m_traceBrush = keepBrush;
        d.backgroundChanged = 0;
    }
}

const char* CViewerWnd::DomainWord(int domain)
{
    switch (domain) {
    case kDomainTime: return "Time";
    case kDomainFrequency: return "Frequency";
    case kDomainSlowness: return "Slowness";
    default: return "Azimuth";
    }
}

std::optional<int64_t> CViewerWnd::AxisScrollSteps(int code, int pos, int64_t first)
{
    switch (code) {
    case SB_LINELEFT: return -1;
    case SB_LINERIGHT: return 1;
    case SB_PAGELEFT: return -10;
    case SB_PAGERIGHT: return 10;
    case SB_THUMBPOSITION: return int64_t(pos) - first;
    default: return std::nullopt;
    }
}

std::string CViewerWnd::AxisText(int domain, double value, const std::string& slownessUnit)
{
    switch (domain) {
    case kDomainTime: return Format("%5.2f [mSec]", value);
    case kDomainFrequency: return Format("%5.2f [kHz]", value);
    case kDomainSlowness: return Format("%7.2f %s", value, slownessUnit.c_str());
    default: return Format("%5.1f [deg]", value);
    }
}

int CViewerWnd::AxisPane(int domain)
{
    return domain == kDomainTime || domain == kDomainFrequency ? 2 : domain == kDomainSlowness ? 3 : 4;
}

void CViewerWnd::ShowAxisThumb(int domain, double value, const std::string& slownessUnit)
{
    const int pane = AxisPane(domain);
    for (int p = 2; p <= 4; ++p) SetReadOut(p, p == pane ? AxisText(domain, value, slownessUnit) : std::string());
}

void CViewerWnd::ScrollFrames(CFrameCursor& frames, int code, int pos)
{
    const int previous = frames.Frame();
    switch (code) {
    case SB_LINEUP: frames.MoveDeeper(-1); break;
    case SB_LINEDOWN: frames.MoveDeeper(1); break;
    case SB_PAGEUP: frames.MoveDeeper(-100); break;
    case SB_PAGEDOWN: frames.MoveDeeper(100); break;
    case SB_THUMBPOSITION: frames.SetScrollPosition(pos); break;
    case SB_THUMBTRACK:
        SetDepthReadOut(Format("%10.4f%s", frames.DepthAtScrollPosition(pos), frames.DepthUnitLabel()));
        return;
    default: return;
    }
    OnFramesMoved(previous);
}

void CViewerWnd::KeyFrames(CFrameCursor& frames, unsigned key)
{
    const int previous = frames.Frame();
    switch (key) {
    case VK_PRIOR: frames.MoveDeeper(-100); break;
    case VK_NEXT: frames.MoveDeeper(100); break;
    case VK_END: frames.SetScrollPosition(frames.LastFrame()); break;
    case VK_HOME: frames.SetScrollPosition(0); break;
    case VK_UP: frames.MoveDeeper(-1); break;
    case VK_DOWN: frames.MoveDeeper(1); break;
    default: return;
    }
    OnFramesMoved(previous);
}
