#include "viewers/DomainWnd.h"

#include "viewers/ViewOptions.h"
#include "platform/Format.h"
#include "platform/Frame.h"
#include "platform/SafeNumeric.h"

#include <algorithm>

// The cursor has moved (or stayed at an end): a new frame is read before the repaint
// shows it.
void CDomainWnd::OnFramesMoved(int previousFrame)
{
    m_vscroll.pos = m_frames.ScrollPosition();
    SetDepthReadOut(Format("%10.4f%s", m_frames.Depth(), m_frames.DepthUnitLabel()));
    if (m_frames.Frame() != previousFrame || !m_frameRead) ReadFrame();
    m_firstClick = m_secondClick = m_clickPending = false;
    SetScrollInfo(SB_VERT, m_vscroll, true);
    StoreViewOptions();
}

void CDomainWnd::OnVScroll(int code, int pos) { ScrollFrames(m_frames, code, pos); }

void CDomainWnd::OnKeyDown(unsigned key, unsigned, unsigned) { KeyFrames(m_frames, key); }

void CDomainWnd::OnHScroll(int code, int pos)
{
    if (code == SB_THUMBTRACK) {
        const float at = float(pos) * (m_domain == kDomainFrequency ? m_axis.binWidth : m_shape.step);
        ShowAxisThumb(m_domain, double(m_domain == kDomainTime || m_domain == kDomainFrequency ? at / 1000.0f : at), m_slownessUnit);
        return;
    }
    const int64_t delta = AxisScrollSteps(code, pos, m_hPos).value_or(0);
    if (delta != 0) ShiftWindow(delta);
}

void CDomainWnd::ShiftWindow(int64_t delta)
{
    m_hPos = int(std::clamp<int64_t>(m_hPos + delta, m_hMin, m_hMax));
    const float step = m_domain == kDomainFrequency ? m_axis.binWidth : m_shape.step;
    m_axis.first = m_hPos;
    m_axis.last = m_hPos + m_axis.shownCount;
    m_axis.start = float(m_hPos) * step;
    m_axis.stop = m_axis.start + m_axis.width;
    m_axis.firstTick = FirstTick();
    const bool thousands = m_domain == kDomainTime || m_domain == kDomainFrequency;
    SetReadOut(AxisPane(m_domain), AxisText(m_domain, double(thousands ? m_axis.start / 1000.0f : m_axis.start), m_slownessUnit));
    m_firstClick = m_secondClick = m_clickPending = false;
    ScrollInfo h;
    h.min = m_hMin;
    h.max = m_hMax;
    h.pos = m_hPos;
    SetScrollInfo(SB_HORZ, h);
    Invalidate(true);
    UpdateWindow();
}

void CDomainWnd::OnMouseMove(unsigned, Point p)
{
    if (m_setup.traceCursor)
        for (int pane = 2; pane <= 4; ++pane) SetReadOut(pane, "");
    if (m_domain == kDomainFrequency || m_domain == kDomainAzimuth) return;
    if (!m_plotRect.Contains(p)) {
        SetCursor(CursorKind::Arrow);
        return;
    }
    SetCursor(CursorKind::Cross);
    const float x = float(p.x - m_layout.leftMargin) * m_axis.width / float(std::max(m_layout.plotWidth, 1)) + m_axis.start;
    const int sample = std::clamp(ClampToInt(x / m_shape.step), 0, std::max(m_shape.sampleCount - 1, 0));
    if (m_domain == kDomainSlowness) {
        SetReadOut(2, "");
        SetReadOut(3, Format("%7.2f %s", double(x), m_slownessUnit.c_str()));
        const float first = m_receivers > 0 ? Slot(m_receiverIndex[0])[sample] : 0.0f;
        SetReadOut(4, Format("%5.3f", double(first)));
        return;
    }
    // Time: the value of the trace under the mouse.
    std::string value = "????";
    int k = 0;
    for (int r = 0; r < m_receivers; ++r) {
        const int slot = m_receiverIndex[size_t(r)];
        if (!m_shown[size_t(slot)]) continue;
        const int top = m_layout.topMargin + k * m_layout.traceHeight;
        if (p.y > top && p.y < top + m_layout.traceHeight - m_layout.gap) {
            const float v = Slot(slot)[sample];
            if (m_frequencyMarker) value = Format("%5.2f [kHz]", double(v / 1000.0f));
            else if (m_slownessMarker) value = Format("%5.2f [uSec/ft]", double(v));
            else value = Format("%8.3f [mV]", double(v));
            break;
        }
        ++k;
    }
    if (m_setup.traceCursor) {
        SetReadOut(2, Format("%5.2f [mSec]", double(x / 1000.0f)));
        SetReadOut(3, "");
        SetReadOut(4, value);
    }
}

void CDomainWnd::OnLButtonDown(unsigned flags, Point p)
{
    if (m_domain != kDomainTime || m_marker || !m_plotRect.Contains(p)) return;
    if (flags == (MK_LBUTTON | MK_SHIFT) || flags == MK_SHIFT) {
        m_firstClick = m_secondClick = m_clickPending = false;
        Invalidate(true);
        UpdateWindow();
        return;
    }
    if (!m_firstClick) {
        m_firstClick = true;
        m_secondClick = false;
    } else {
        m_firstClick = false;
        m_secondClick = true;
    }
    m_clickPoint = p;
    m_clickPending = true;
    Invalidate(false);
    UpdateWindow();
}
