#include "viewers/SemblanceMapWnd.h"

#include "viewers/ViewOptions.h"
#include "platform/Format.h"
#include "platform/Frame.h"
#include "platform/SafeNumeric.h"

#include <cmath>

void CSemblanceMapWnd::SetScrollBars()
{
    m_item.vscroll.pos = m_item.frames.ScrollPosition();
    SetScrollInfo(SB_VERT, m_item.vscroll);
    ScrollInfo h;
    h.min = m_slownessScrollMin;
    h.max = m_slownessScrollMax;
    h.pos = m_slowness.first;
    SetScrollInfo(SB_HORZ, h);
}

// ---- depth ----------------------------------------------------------------------------------

// The cursor has moved (or stayed at an end): a new frame is read before the repaint
// shows it.
void CSemblanceMapWnd::OnFramesMoved(int previousFrame)
{
    SetDepthReadOut(Format("%10.4f%s", m_item.frames.Depth(), m_item.frames.DepthUnitLabel()));
    if (m_item.frames.Frame() != previousFrame || !m_samples.read) ReadFrame();
    SetScrollBars();
    StoreViewOptions();
}

void CSemblanceMapWnd::OnVScroll(int code, int pos) { ScrollFrames(m_item.frames, code, pos); }

void CSemblanceMapWnd::OnKeyDown(unsigned key, unsigned, unsigned) { KeyFrames(m_item.frames, key); }

// ---- slowness ---------------------------------------------------------------------------------

void CSemblanceMapWnd::OnHScroll(int code, int pos)
{
    int64_t index = m_slowness.first;
    switch (code) {
    case SB_LINELEFT: index -= 1; break;
    case SB_LINERIGHT: index += 1; break;
    case SB_PAGELEFT: index -= 10; break;
    case SB_PAGERIGHT: index += 10; break;
    case SB_THUMBPOSITION: index = pos; break;
    case SB_THUMBTRACK:
        // The slowness under the thumb, without moving.
        SetReadOut(2, "");
        SetReadOut(3, Format("%7.2f %s", double(pos) * m_samples.ds, m_item.slownessUnit.c_str()));
        SetReadOut(4, "");
        return;
    default: return;
    }
    ScrollSlowness(index);
    SetReadOut(3, Format("%7.2f %s", m_slowness.start, m_item.slownessUnit.c_str()));
    PrepareRepaint();
    Invalidate(true);
    UpdateWindow();
}

// ---- read-outs ----------------------------------------------------------------------------------

void CSemblanceMapWnd::OnMouseMove(unsigned, Point p)
{
    const Rect& r = m_mapRect;
    if (!r.Contains(p)) {
        SetCursor(CursorKind::Arrow);
        return;
    }
    const double slowness = double(p.x - r.left) / r.Width() * m_slowness.span + m_slowness.start;
    const double time = (1.0 - double(p.y - r.top) / r.Height()) * (m_time.stop - m_time.start) + m_time.start;
    SetReadOut(2, Format("%7.2f %s", slowness, m_item.slownessUnit.c_str()));
    SetReadOut(3, Format("%8.2f%s", time * 0.001, m_timeUnit.c_str()));
    // The sample under the mouse, its column and row held inside the map.
    const int column = ClampToInt(slowness / m_samples.ds - m_samples.fs), row = ClampToInt(time / m_samples.dt - m_samples.ft);
    SetReadOut(4, m_samples.read ? Format("%5.3f", double(MapAt(column, row))) : std::string());
}
