#include "dataset/FrameCursor.h"

#include <algorithm>
#include <cmath>

CFrameCursor::CFrameCursor(const QtxFileHeader& header)
    : m_frames(int(std::min(header.frameCount, kMaxFrames))),
      m_direction(header.logDirection),
      m_units(header.depthUnits),
      m_headerFrames(header.frameCount),
      m_headerStep(header.depthStep),
      m_step(std::fabs(header.depthStep)),
      m_top(IsDown() ? header.topDepth : header.bottomDepth),
      m_bottom(IsDown() ? header.bottomDepth : header.topDepth)
{
}

int CFrameCursor::ClampFrame(int64_t frame) const { return int(std::clamp<int64_t>(frame, 0, LastFrame())); }

int CFrameCursor::ScrollPositionOf(int64_t frame) const
{
    const int f = ClampFrame(frame);
    return IsDown() ? f : LastFrame() - f;
}

int CFrameCursor::FrameAtScrollPosition(int64_t position) const
{
    // Positions and frames share one range; an up log mirrors it.
    return ScrollPositionOf(position);
}

double CFrameCursor::DepthAtScrollPosition(int64_t position) const
{
    return double(ClampFrame(position)) * m_step + m_top;
}

int CFrameCursor::OpeningFrame(double depth) const
{
    // As viewers have always opened: the frame count times the depth's share of the
    // span, which may land one frame past the one the step gives.
    const double frames = double(m_headerFrames);
    double along = 0.0;
    if (m_bottom != m_top && m_headerFrames > 1) along = std::trunc((depth - m_top) * frames / (m_bottom - m_top));
    if (std::isnan(along)) along = 0.0;
    double frame = along;
    if (!IsDown()) frame = m_headerFrames > 1 ? frames - along : 0.0;
    // Clamped while still a double: only then is the conversion defined.
    return int(std::clamp(frame, 0.0, double(LastFrame())));
}

int CFrameCursor::NearestFrame(double depth) const
{
    const double along = (depth - m_top) / m_step;
    if (!std::isfinite(along)) return FrameAtScrollPosition(along > 0 ? LastFrame() : 0);
    // Clamped while still a double: only then is the conversion defined.
    const double position = std::clamp(std::floor(along + 0.5 + 0.001), 0.0, double(LastFrame()));
    return FrameAtScrollPosition(int64_t(position));
}

int CFrameCursor::FrameAtDepth(double depth, double shift) const
{
    const double top = m_top + shift;
    if (!(m_step > 0) || !std::isfinite(m_step) || !std::isfinite(top) || std::isnan(depth))
        return FrameAtScrollPosition(0);
    const double last = double(LastFrame());
    double p = std::clamp(std::ceil((depth - top) / m_step), 0.0, last);
    // The quotient may round either way: settle on the first position whose depth,
    // computed as the viewers compute it, is not above `depth`.
    for (int i = 0; i < 2 && p > 0 && top + (p - 1) * m_step >= depth; ++i) p -= 1;
    for (int i = 0; i < 2 && p < last && top + p * m_step < depth; ++i) p += 1;
    return FrameAtScrollPosition(int64_t(p));
}

ScrollInfo CFrameCursor::VerticalScrollInfo(unsigned page) const
{
    ScrollInfo info;
    info.min = 0;
    info.max = LastFrame();
    info.page = page;
    info.pos = ScrollPosition();
    info.disableNoScroll = true;
    return info;
}

void CFrameCursor::MoveDeeper(int64_t frames)
{
    // Bounded first, so that neither the sign nor the sum can overflow.
    const int64_t steps = std::clamp<int64_t>(frames, -int64_t(kMaxFrames), int64_t(kMaxFrames));
    SetFrame(int64_t(m_frame) + steps * Sign());
}
