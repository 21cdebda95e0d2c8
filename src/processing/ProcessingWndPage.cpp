// The processing windows' page: its rows rendered frame by frame, and painted.
#include "processing/ProcessingWnd.h"

#include "platform/Format.h"
#include "platform/SafeNumeric.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr Pen kWigglePen{PS_SOLID, 0, Rgb(0, 0, 0)};

} // namespace

// ---- rendering ------------------------------------------------------------------------------

void CProcessingWnd::PrepareRepaint()
{
    if (!IsWindow() || m_iconic) return;
    TakeActiveRequests();
    TakeDisplayRequests();
    Layout();
    LayOutTrack();
    m_page.topPosition = std::clamp(m_page.topPosition, m_range.top, LastTopPosition());
    if (!(KeyNow() == m_rendered)) Render();
    SetVerticalScrollBar();
    int max = 0, pos = 0;
    HorizontalScroll(max, pos);
    SetHorizontalScrollBar(max, pos);
}

CProcessingWnd::PageKey CProcessingWnd::KeyNow() const
{
    PageKey k;
    k.width = m_page.clientWidth;
    k.height = m_page.clientHeight;
    k.top = m_page.topPosition;
    k.vertRes = m_vertRes;
    k.vertSize = m_vertSize;
    k.scale = m_common.depthScale;
    k.tracks = m_page.tracks;
    k.selection = m_selection.started;
    k.selectionTop = m_selection.top;
    k.selectionBottom = m_selection.bottom;
    k.background = m_background;
    k.axis = AxisKey();
    return k;
}

void CProcessingWnd::Render()
{
    m_rendered = KeyNow();
    StartRender();
    const int width = ImageWidth();
    // Nothing to draw with no receiver shown, or in a window too small for a pixel.
    if (width < 1 || m_page.pageRows < 1) {
        m_page.plotRect = {};
        m_image = Image();
        return;
    }
    if (m_image.width != width || m_image.height != m_page.pageRows) m_image = Image(width, m_page.pageRows);
    std::fill(m_image.pixels.begin(), m_image.pixels.end(), ToArgb(m_background));
    for (auto& frame : m_renderFrames) frame.resize(SlotFloats());
    if (m_pixels.size() < size_t(width)) m_pixels.resize(size_t(width)); // a row's values never span more

    WalkRows();
    m_page.plotRect = {m_page.leftMargin, m_page.topMargin, m_page.leftMargin + width, m_page.topMargin + m_page.rowsDrawn};
}

void CProcessingWnd::StartRender()
{
    m_page.framesRead = 0;
    m_page.rowsDrawn = 0;
    m_depthLabels.clear();
    m_wiggles.clear();
    m_wiggleLengths.clear();
    m_renderPositions = {-1, -1}; // read afresh: the page is read in depth order
    m_page.lastPosition = m_page.topPosition;
    m_page.pageTopDepth = m_page.pageBottomDepth = DepthOfPosition(m_page.topPosition);
}

void CProcessingWnd::WalkRows()
{
    const bool everyRow = EveryRow(), selection = m_selection.started;
    const double selTop = m_selection.top, selBottom = m_selection.bottom;
    const int top = m_page.topPosition, end = m_range.bottom;
    const double logTop = m_frames.TopDepth(), step = m_frames.Step(), dpp = m_page.depthPerPixel;
    const double depth0 = DepthOfPosition(top);
    const bool single = end == top || !(step > 0);
    const double labelStep = m_common.depthLabelStep;
    double nextLabel = std::isfinite(depth0) && labelStep > 0 ? std::ceil(depth0 / labelStep) * labelStep : NAN;
    int lastLabelY = -m_page.fontHeight;
    auto load = [this](int b, int position) {
        m_renderPositions[size_t(b)] = position;
        const int frame = m_frames.FrameAtScrollPosition(position);
        RenderFrameLoaded(b, frame, ReadFrame(frame, m_renderFrames[size_t(b)])); // a gap when it fails
        ++m_page.framesRead;
    };

    for (int row = 0; row < m_page.pageRows; ++row) {
        const double depth = depth0 + row * dpp;
        // The row's place between two frames, in depth order.
        double at = single ? (row == 0 ? top : INFINITY) : (depth - logTop) / step;
        if (!(at <= end + 1e-9)) break;
        at = std::max(at, double(top));
        const int p0 = std::clamp(ClampToInt(std::floor(at)), top, end);
        const int p1 = std::min(p0 + 1, end);
        const float weight = p1 == p0 ? 0.0f : float(std::clamp(at - p0, 0.0, 1.0));
        // Two frames at a time; each frame of the page is read once, in depth order.
        int b0 = m_renderPositions[0] == p0 ? 0 : m_renderPositions[1] == p0 ? 1 : -1;
        if (b0 < 0) {
            b0 = m_renderPositions[0] == p1 ? 1 : 0;
            load(b0, p0);
        }
        int b1 = b0;
        if (p1 != p0) {
            b1 = 1 - b0;
            if (m_renderPositions[size_t(b1)] != p1) load(b1, p1);
        }
        const bool interval = selection && depth >= selTop && depth <= selBottom;
        if (everyRow || row % kRowDecimation == 0) RenderRow(row, b0, b1, weight, interval);
        // A depth label where a multiple of the label step falls within a pixel of the
        // row, unless it would overlap the one before.
        if (std::isfinite(nextLabel) && nextLabel <= depth + dpp) {
            const int y = m_page.topMargin + row - m_page.fontHeight / 2;
            if (nextLabel >= depth - dpp && y >= lastLabelY + m_page.fontHeight) {
                m_depthLabels.push_back({5, y, Format("%5.0f", nextLabel)});
                lastLabelY = y;
            }
            nextLabel = (std::floor((depth + dpp) / labelStep) + 1) * labelStep;
        }
        m_page.rowsDrawn = row + 1;
        m_page.lastPosition = weight > 0 ? p1 : p0;
    }
    m_page.pageTopDepth = depth0;
    m_page.pageBottomDepth = depth0 + (m_page.rowsDrawn - 1) * dpp;
}

void CProcessingWnd::AddWiggle(int left, int base, const float* values, int width)
{
    int length = 0;
    for (int x = 0; x < width; ++x) {
        if (!std::isfinite(values[x])) {
            if (length > 0) m_wiggleLengths.push_back(length);
            length = 0;
            continue;
        }
        // Held well inside the coordinates a polyline can take, whatever the gain.
        const double y = base - double(values[x]) * m_common.gain;
        m_wiggles.push_back({left + x, ClampToInt(std::clamp(y, -1e6, 1e6))});
        ++length;
    }
    if (length > 0) m_wiggleLengths.push_back(length);
}

// ---- painting ----------------------------------------------------------------------------------

int CProcessingWnd::RowOfPosition(int position) const
{
    if (!(m_page.depthPerPixel > 0)) return 0;
    return ClampToInt(std::lround((DepthOfPosition(position) - m_page.pageTopDepth) / m_page.depthPerPixel));
}

void CProcessingWnd::DrawTrackCurve(Dc& dc, const Pen& pen, int left, int width, double start, double span,
                                    const std::function<float(int frame)>& valueOf)
{
    if (width < 1 || !(span > 0)) return;
    std::vector<Point>& line = m_curvePoints;
    line.clear();
    auto flush = [&] {
        if (line.size() >= 2) dc.Polyline(line.data(), int(line.size()));
        else if (line.size() == 1) dc.SetPixel(line[0].x, line[0].y, pen.color);
        line.clear();
    };
    for (int position = m_page.topPosition; position <= m_page.lastPosition; ++position) {
        const float v = valueOf(m_frames.FrameAtScrollPosition(position));
        if (v == kAbsent || !(v >= start && v <= start + span)) {
            flush();
            continue;
        }
        const int x = left + std::min(ClampToInt((v - start) / span * width), width - 1);
        line.push_back({x, m_page.topMargin + RowOfPosition(position)});
    }
    flush();
}

bool CProcessingWnd::PaintPage(Dc& dc)
{
    if (m_iconic) return false;
    const Rect client = GetClientRect();
    if (client.IsEmpty()) {
        m_iconic = true;
        return false;
    }
    dc.SelectFont({"Ariel", m_page.fontHeight, FW_NORMAL});
    dc.FillRect(client, m_background);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(Rgb(0, 0, 0));
    if (m_page.rowsDrawn <= 0 || m_image.Empty()) return false;

    if (m_common.style != "Signature")
        dc.StretchImage({m_page.plotRect.left, m_page.plotRect.top, m_page.plotRect.left + m_image.width, m_page.plotRect.top + m_page.rowsDrawn},
                        m_image, {0, 0, m_image.width, m_page.rowsDrawn});
    if (!m_wiggleLengths.empty()) {
        dc.SelectPen(kWigglePen);
        const Point* points = m_wiggles.data();
        for (int length : m_wiggleLengths) {
            if (length >= 2) dc.Polyline(points, length);
            points += length;
        }
    }
    dc.SetTextAlign(TA_LEFT | TA_TOP);
    for (const Label& label : m_depthLabels) dc.TextOut(label.x, label.y, label.text);
    return true;
}
