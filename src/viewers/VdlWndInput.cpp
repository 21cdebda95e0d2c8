#include "viewers/VdlWnd.h"

#include "viewers/ViewOptions.h"
#include "common/Fft.h"
#include "common/Octant.h"
#include "platform/Format.h"
#include "platform/Frame.h"
#include "platform/SafeNumeric.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;

} // namespace

// ---- depth ----------------------------------------------------------------------------------

int64_t CVdlWnd::LowestFirstPosition() const
{
    const int top = TopPosition(), end = BottomPosition();
    int64_t p = end;
    // The first visible frame stays above the depth a page before the range's deepest
    // frame (counted, not walked: any step works).
    const double step = m_item.frames.Step();
    if (m_raster.rowsAvailable > 0 && step > 0) {
        const double limit = DepthOfPosition(end) - m_raster.rowsAvailable * m_page.depthPerPixel;
        const double above = std::ceil((limit - m_item.frames.TopDepth()) / step) - 1; // the last with a depth below
        if (!std::isnan(above)) p = std::min<int64_t>(p, ClampToInt(above));
    }
    return std::max<int64_t>(p, top);
}

void CVdlWnd::MoveTo(int64_t position)
{
    const int64_t p = std::clamp<int64_t>(std::min<int64_t>(position, LowestFirstPosition()), TopPosition(), BottomPosition());
    m_page.firstVisible = m_item.frames.FrameAtScrollPosition(p);
    AfterVerticalMove();
}

void CVdlWnd::AfterVerticalMove()
{
    SetDepthReadOut(Format("%10.4f%s", DepthOfPosition(FirstVisiblePosition()), m_item.frames.DepthUnitLabel()));
    // Storing the display options repaints the shown active view: prepared once, with
    // the options just stored.
    StoreViewOptions();
    if (!IsWindow()) return;
    if (!Frame() || Frame()->ActiveChild() != this || IsIconic()) {
        PrepareRepaint();
        Invalidate(true);
        UpdateWindow();
    }
}

void CVdlWnd::OnVScroll(int code, int pos)
{
    const int64_t p = FirstVisiblePosition();
    // Page Down keeps 40 frames of the page, but moves at least one frame down.
    const int64_t pageDown = std::max(m_page.framesPerPage - 40, 1), pageUp = int64_t(m_page.framesPerPage) + 40;
    switch (code) {
    case SB_LINEUP: MoveTo(p - 1); break;
    case SB_LINEDOWN: MoveTo(p + 1); break;
    case SB_PAGEUP: MoveTo(p - pageUp); break;
    case SB_PAGEDOWN: MoveTo(p + pageDown); break;
    case SB_THUMBPOSITION: MoveTo(int64_t(TopPosition()) + pos); break;
    case SB_THUMBTRACK:
        // Only the depth under the thumb.
        SetDepthReadOut(Format("%10.4f%s", DepthOfPosition(m_item.frames.ClampFrame(int64_t(TopPosition()) + pos)),
                               m_item.frames.DepthUnitLabel()));
        break;
    default: break;
    }
}

void CVdlWnd::OnKeyDown(unsigned key, unsigned, unsigned)
{
    switch (key) {
    case VK_UP: OnVScroll(SB_LINEUP, 0); break;
    case VK_DOWN: OnVScroll(SB_LINEDOWN, 0); break;
    case VK_PRIOR: OnVScroll(SB_PAGEUP, 0); break;
    case VK_NEXT: OnVScroll(SB_PAGEDOWN, 0); break;
    case VK_HOME: MoveTo(TopPosition()); break;
    case VK_END: MoveTo(BottomPosition()); break;
    default: break;
    }
}

// ---- the sample axis ----------------------------------------------------------------------------

void CVdlWnd::OnHScroll(int code, int pos)
{
    const int domain = m_samples.domain;
    if (code == SB_THUMBTRACK) {
        // The value under the thumb, without moving.
        const double at = double(pos) * m_axis.step;
        ShowAxisThumb(domain, domain == kDomainTime || domain == kDomainFrequency ? at * 0.001 : at, m_item.slownessUnit);
        return;
    }
    const int64_t delta = AxisScrollSteps(code, pos, m_axis.first).value_or(0);
    if (delta == 0) return;
    ScrollAxis(int64_t(m_axis.first) + delta);
    ShowAxisStart();
    PrepareRepaint();
    SetScrollBars();
    Invalidate(true);
    UpdateWindow();
}

void CVdlWnd::ShowAxisStart()
{
    const int domain = m_samples.domain;
    const double start = m_axis.start;
    SetReadOut(AxisPane(domain), AxisText(domain, domain == kDomainTime || domain == kDomainFrequency ? start * 0.001 : start,
                                          m_item.slownessUnit));
}

// ---- read-outs -------------------------------------------------------------------------------------

bool CVdlWnd::ReadOutFrame(int frame)
{
    if (frame == m_raster.readOutFrame) return true;
    m_raster.readOutFrame = -1;
    if (!ReadPadded(frame, m_readOut)) {
        (void)OkOrShow(m_item.file.ReportFrameReadFailure()); // only told: false says it
        return false;
    }
    m_raster.readOutFrame = frame;
    return true;
}

void CVdlWnd::OnMouseMove(unsigned, Point p)
{
    // Only over the image of the last render.
    if (!m_raster.imageRect.Contains(p)) return;
    const double depth = m_raster.imageTopDepth + (p.y - m_raster.imageRect.top) * m_page.depthPerPixel;
    SetDepthReadOut(Format("%10.4f%s", depth, m_item.frames.DepthUnitLabel()));

    std::string panes[3]; // 2 to 4
    const int w = m_raster.imageWidth;
    const int across = p.x - m_raster.imageRect.left;
    const int column = across / (w + m_gap);
    const int within = across - column * (w + m_gap);
    if (w > 0 && column < int(m_raster.columns.size()) && within < w) {
        const int receiver = m_raster.columns[size_t(column)];
        const Axis& a = m_axis;
        const double value = a.start + double(within) / w * a.span;
        // Amplitudes of the frame under the mouse, clamped to the log.
        std::string amplitude;
        if (m_samples.domain == kDomainTime || m_samples.domain == kDomainSlowness) {
            const double step = m_item.frames.Step();
            const double along = step > 0 ? (depth - m_item.frames.TopDepth()) / step + 0.001 : 0.0;
            const int frame = m_item.frames.FrameAtScrollPosition(ClampToInt(along));
            if (ReadOutFrame(frame)) {
                const int sample = std::clamp(ClampToInt(value / m_samples.step), 0, m_samples.sampleCount - 1);
                const double v = m_readOut[size_t(receiver) * size_t(m_samples.sampleCount) + size_t(sample)];
                if (m_samples.domain == kDomainSlowness) amplitude = Format("%5.3f", v);
                else if (m_instFrequency) amplitude = Format("%5.2f [kHz]", v * 0.001);
                else if (m_instSlowness) amplitude = Format("%5.2f [uSec/ft]", v);
                else amplitude = Format("%8.3f [mV]", v);
            }
        }
        switch (m_samples.domain) {
        case kDomainTime:
            panes[0] = Format("%5.2f %s", value * 0.001, "[mSec]");
            if (m_raster.readOutFrame >= 0)
                panes[1] = Format("%5.2f %s", InstantaneousFrequency(receiver, float(value)) * 0.001, "[kHz]");
            panes[2] = amplitude;
            break;
        case kDomainFrequency: panes[0] = Format("%5.2f %s", value * 0.001, "[kHz]"); break;
        case kDomainSlowness:
            panes[1] = Format("%7.2f %s", value, m_item.slownessUnit.c_str());
            panes[2] = amplitude;
            break;
        default: panes[2] = Format("%5.1f %s", value, "[deg]"); break;
        }
    }
    for (int i = 0; i < 3; ++i) SetReadOut(2 + i, panes[i]);
}

float CVdlWnd::InstantaneousFrequency(int receiver, float time)
{
    // The analytic signal of the receiver's trace (the transform's length a power of
    // two, the trace padded with 0), and the change of its phase from one sample to
    // the next at the time asked.
    const int n = m_samples.sampleCount;
    if (n < 2 || !(m_samples.step > 0)) return 0.0f;
    int length = 1;
    while (length < n) length *= 2;
    const float* x = m_readOut.data() + size_t(receiver) * size_t(n);
    float* data = g_fftData;
    float largest = 0;
    for (int i = 0; i < n; ++i)
        if (std::isfinite(x[i])) largest = std::max(largest, std::fabs(x[i]));
    const float scale = largest > 0 ? 1.0f / largest : 1.0f; // no sum can overflow
    for (int i = 0; i < length; ++i) {
        data[2 * i + 1] = i < n && std::isfinite(x[i]) ? x[i] * scale : 0.0f;
        data[2 * i + 2] = 0.0f;
    }
    CFft fft;
    fft.m_sign = 1;
    fft.m_n = length;
    fft.Transform();
    for (int k = length / 2; k < length; ++k) data[2 * k + 1] = data[2 * k + 2] = 0.0f;
    for (int k = 1; k < length / 2; ++k) {
        data[2 * k + 1] *= 2.0f;
        data[2 * k + 2] *= 2.0f;
    }
    fft.m_sign = -1;
    fft.Transform();
    const int k = std::clamp(ClampToInt(double(time) / m_samples.step + 1), 0, n - 2);
    auto phase = [&](int i) {
        const float re = data[2 * i + 1] / float(length), im = -data[2 * i + 2] / float(length);
        if (Octant(re, im) < 0) return 0.0;
        double a = std::atan2(double(im), double(re));
        if (a < 0 && a > -kPi) a += 2 * kPi;
        return a;
    };
    // The phase's change from sample to sample, taken the short way round: where the
    // phase steps back (noise where the trace is quiet) the frequency is low, not near
    // twice the Nyquist frequency.
    double change = std::fabs(phase(k + 1) - phase(k));
    if (change > kPi) change = 2 * kPi - change;
    return ClampToFloat(change * 1e6 / (double(m_samples.step) * 2 * kPi));
}
