#include "plot/PlotWnd.h"

#include "platform/Host.h"
#include "platform/SafeNumeric.h"
#include "plot/EditCommandDlg.h"
#include "res/CommandIds.h"
#include "settings/SettingsStore.h"

#include <algorithm>
#include <cmath>

void CPlotWnd::OnSize(unsigned type, int cx, int cy)
{
    if (type != SIZE_MINIMIZED) {
        Render(false);
        // The thumb's length and its last place follow the rows the window shows.
        SetScrollRange();
        SetScrollInfo(SB_VERT, m_view.scroll);
    }
    CViewerWnd::OnSize(type, cx, cy);
}

void CPlotWnd::MoveViewTop(double top, bool keepRows)
{
    const double lowest = LowestViewTop();
    if (top > lowest) top = lowest;
    if (!(top >= m_model.m_dTopDepth)) top = m_model.m_dTopDepth; // NaN too
    m_view.top = top;
    SetScrollRange();
    ShowReadOut(m_view.top);
    SetScrollInfo(SB_VERT, m_view.scroll);
    // The new depths are read now; the paint shows them. A scroll step leaves the
    // background be: the paint clears the page it draws on, and nothing is drawn
    // outside it.
    Render(keepRows);
    Invalidate(!keepRows);
    UpdateWindow();
}

double CPlotWnd::LowestViewTop() const
{
    // The log's last row, the one that reaches its bottom frame, stands inside the
    // window: half a depth number and a curve's pen above the lower edge, so its
    // number and marks show whole.
    const double origin = m_model.m_dTopDepth, dpr = m_view.depthPerRow;
    const double last = std::ceil((m_model.m_dBottomDepth - origin) / dpr - 1e-9);
    const int tail = std::min(m_layout.fontHeight / 2 + 2, std::max(m_view.rows - 1, 0));
    const double lowest = origin + (last - double(std::max(m_view.rows - 1 - tail, 0))) * dpr;
    return std::isfinite(lowest) ? lowest : origin;
}

void CPlotWnd::OnVScroll(int code, int pos)
{
    const double step = m_model.m_dDepthStep;
    switch (code) {
    case SB_LINEUP: MoveViewTop(m_view.top - step); break;
    case SB_LINEDOWN: MoveViewTop(m_view.top + step); break;
    case SB_PAGEUP: MoveViewTop(m_view.top - m_view.pageDepth); break;
    case SB_PAGEDOWN: MoveViewTop(m_view.top + m_view.pageDepth); break;
    case SB_THUMBPOSITION: MoveViewTop(m_model.m_dTopDepth + pos * step); break;
    case SB_THUMBTRACK: ShowReadOut(m_model.m_dTopDepth + pos * step); break; // the plot stays until release
    default: break;
    }
}

void CPlotWnd::OnKeyDown(unsigned key, unsigned, unsigned)
{
    const double step = m_model.m_dDepthStep;
    switch (key) {
    case VK_UP: MoveViewTop(m_view.top - step); break;
    case VK_DOWN: MoveViewTop(m_view.top + step); break;
    case VK_PRIOR: MoveViewTop(m_view.top - m_view.pageDepth); break;
    case VK_NEXT: MoveViewTop(m_view.top + m_view.pageDepth); break;
    case VK_HOME: MoveViewTop(m_model.m_dTopDepth); break;
    case VK_END: MoveViewTop(m_model.m_dBottomDepth); break;
    default: break;
    }
}

void CPlotWnd::OnLButtonDblClk(unsigned, Point p)
{
    const Rect client = GetClientRect();
    if (p.x < client.left || p.x > client.right || p.y < client.top || p.y > client.bottom) return;
    if (m_setup.plotItems.empty()) {
        MessageBox("Plot list is empty! Operation will be abandoned", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    CEditCommandDlg dialog;
    dialog.m_pPlotItems = &m_setup.plotItems;
    if (dialog.DoModal() != IDOK) return;
    Rebuild();
}

void CPlotWnd::Rebuild()
{
    // The edited items may move the log's depths, tracks and headers.
    m_model.BuildPlot(m_setup.plotItems);
    m_layout.tracks = m_model.m_nTracks;
    MoveViewTop(m_view.top, false);
}

bool CPlotWnd::OnCommand(int id)
{
    if (id != ID_DEPTH_ZOOM_IN && id != ID_DEPTH_ZOOM_OUT) return false;
    // The zoom is applied here, not in the paint: its limit message and the reading
    // of the new depths belong outside it.
    theApp.m_display.depthZoomRequest = id == ID_DEPTH_ZOOM_IN ? 1 : -1;
    Zoom();
    MoveViewTop(m_view.top, false);
    return true;
}

void CPlotWnd::OnClose()
{
    m_model.CloseFiles();
    CViewerWnd::OnClose();
}
