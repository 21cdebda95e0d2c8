#include "viewers/ViewerWnd.h"

#include "viewers/ViewOptions.h"
#include "dataset/QtxFile.h"
#include "platform/Frame.h"

namespace {
constexpr int kDepthPane = 1;
} // namespace

int CViewerWnd::OpenDataSet(CQtxFile& file, const std::string& path)
{
    file.m_keepInputOnFrameError = true;
    return file.OpenRead(path);
}

bool CViewerWnd::IsActiveView() const { return Frame() && Frame()->ActiveChild() == this; }

void CViewerWnd::SetDepthReadOut(const std::string& text)
{
    m_depthReadOut = text;
    if (IsActiveView()) Frame()->SetPaneText(kDepthPane, text);
}

void CViewerWnd::OnMDIActivate(bool activate)
{
    if (!activate) return;
    theApp.m_display.activeWindowId = m_windowId;
    if (Frame()) Frame()->SetPaneText(kDepthPane, m_depthReadOut);
    LoadViewOptions();
    StoreViewOptions();
}

void CViewerWnd::OnSize(unsigned type, int cx, int cy)
{
    theApp.m_display.redrawRequest = 1;
    m_iconic = type == SIZE_MINIMIZED || cx <= 0 || cy <= 0;
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
    // The read-out goes with the active view; a view activated next shows its own.
    IFrame* frame = Frame();
    if (!frame) return;
    const CWnd* active = frame->ActiveChild();
    if (!active || active == this || !dynamic_cast<const CViewerWnd*>(active)) frame->SetPaneText(kDepthPane, "");
}
