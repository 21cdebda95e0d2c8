#include "processing/ProfileWnd.h"

#include "platform/Format.h"
#include "platform/SafeNumeric.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace {

constexpr Pen kWigglePen{PS_SOLID, 0, Rgb(0, 0, 0)};
constexpr Pen kTickPen{PS_SOLID, 0, Rgb(0, 0, 0)};

} // namespace

// ---- rendering ------------------------------------------------------------------------------

void CProfileWnd::Render()
{
    m_rendered = KeyNow();
    m_framesRead = 0;
    m_rowsDrawn = 0;
    m_depthLabels.clear();
    m_wiggles.clear();
    m_wiggleLengths.clear();
    m_renderPositions = {-1, -1}; // read afresh: the page is read in depth order
    m_lastPosition = m_topPosition;
    m_pageTopDepth = m_pageBottomDepth = DepthOfPosition(m_topPosition);
    const int tracks = int(m_tracks.size());
    const int w = m_trackWidth;
    // Nothing to draw with no receiver shown, or in a window too small for a pixel.
    if (tracks == 0 || w < 1 || m_pageRows < 1) {
        m_plotRect = {};
        m_image = Image();
        return;
    }
    const int width = (w + m_gap) * tracks;
    const uint32_t background = ToArgb(m_background);
    if (m_image.width != width || m_image.height != m_pageRows) m_image = Image(width, m_pageRows);
    std::fill(m_image.pixels.begin(), m_image.pixels.end(), background);
    if (m_pixels.size() < size_t(w)) m_pixels.resize(size_t(w));
    for (auto& frame : m_renderFrames) frame.resize(SlotFloats());

    const int top = m_topPosition, end = m_rangeBottom;
    const double logTop = m_frames.TopDepth(), step = m_frames.Step(), dpp = m_depthPerPixel;
    const double depth0 = DepthOfPosition(top);
    const bool single = end == top || !(step > 0);
    const bool everyRow = m_style == "VDL";
    const double labelStep = m_depthLabelStep;
    double nextLabel = std::isfinite(depth0) && labelStep > 0 ? std::ceil(depth0 / labelStep) * labelStep : NAN;
    int lastLabelY = -m_fontHeight;

    for (int row = 0; row < m_pageRows; ++row) {
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
            m_renderPositions[size_t(b0)] = p0;
            const int frame = m_frames.FrameAtScrollPosition(p0);
            if (ReadFrame(frame, m_renderFrames[size_t(b0)])) CorrectFrame(frame, m_renderFrames[size_t(b0)]);
            ++m_framesRead;
        }
        int b1 = b0;
        if (p1 != p0) {
            b1 = 1 - b0;
            if (m_renderPositions[size_t(b1)] != p1) {
                m_renderPositions[size_t(b1)] = p1;
                const int frame = m_frames.FrameAtScrollPosition(p1);
                if (ReadFrame(frame, m_renderFrames[size_t(b1)])) CorrectFrame(frame, m_renderFrames[size_t(b1)]);
                ++m_framesRead;
            }
        }
        const bool interval = m_selectionStart && depth >= m_selectionTop && depth <= m_selectionBottom;
        if (everyRow || row % kRowDecimation == 0)
            for (int c = 0; c < tracks; ++c) {
                const size_t slot = size_t(m_receiverIndex[size_t(m_tracks[size_t(c)])]) * size_t(m_n);
                RenderRow(row, c, m_renderFrames[size_t(b0)].data() + slot, m_renderFrames[size_t(b1)].data() + slot,
                          weight, interval);
            }
        // A depth label where a multiple of the label step falls within a pixel of the
        // row, unless it would overlap the one before.
        if (std::isfinite(nextLabel) && nextLabel <= depth + dpp) {
            const int y = m_topMargin + row - m_fontHeight / 2;
            if (nextLabel >= depth - dpp && y >= lastLabelY + m_fontHeight) {
                m_depthLabels.push_back({5, y, Format("%5.0f", nextLabel)});
                lastLabelY = y;
            }
            nextLabel = (std::floor((depth + dpp) / labelStep) + 1) * labelStep;
        }
        m_rowsDrawn = row + 1;
        m_lastPosition = weight > 0 ? p1 : p0;
    }
    m_pageTopDepth = depth0;
    m_pageBottomDepth = depth0 + (m_rowsDrawn - 1) * dpp;
    m_plotRect = {m_leftMargin, m_topMargin, m_leftMargin + width, m_topMargin + m_rowsDrawn};
}

void CProfileWnd::RenderRow(int row, int track, const float* previous, const float* current, float weight,
                            bool interval)
{
    const DomainWindow& a = m_axis;
    const int n = m_n;
    float* v = m_row.data();
    // The samples the domain needs: the whole trace for a spectrum, else the shown ones.
    const bool spectrum = m_domain == kDomainFrequency;
    const int lo = spectrum ? 0 : a.first;
    const int hi = spectrum ? n - 1 : std::min(a.last, n - 1);
    for (int j = lo; j <= hi; ++j) v[j] = previous[j] + (current[j] - previous[j]) * weight;

    float factor = 1.0f;
    if (spectrum) {
        AmplitudeSpectrum(v, n, v); // bins 0 .. n/2, already divided by the largest
    } else if (m_domain != kDomainSlowness || m_normalize) {
        float largest = 0;
        for (int j = a.first; j <= hi; ++j)
            if (std::isfinite(v[j])) largest = std::max(largest, std::fabs(v[j]));
        factor = largest > 0 ? 1.0f / largest : 0.0f; // a row of zeros stays 0
    }

    // The shown samples resampled to the track's pixels.
    const int w = m_trackWidth;
    const int last = spectrum ? std::min(a.last, n / 2) : hi;
    const double perPixel = double(last - a.first) / w;
    float* values = m_pixels.data();
    for (int x = 0; x < w; ++x) {
        const double at = a.first + x * perPixel;
        const int i0 = std::clamp(ClampToInt(std::floor(at)), a.first, last);
        const int i1 = std::min(i0 + 1, last);
        const float frac = float(at - i0);
        values[x] = (v[i0] + (v[i1] - v[i0]) * frac) * factor;
    }

    if (m_style == "Signature") {
        // A wiggle about the row, broken where a value is not a number.
        const int left = TrackLeft(track), base = m_topMargin + row;
        int length = 0;
        for (int x = 0; x < w; ++x) {
            if (!std::isfinite(values[x])) {
                if (length > 0) m_wiggleLengths.push_back(length);
                length = 0;
                continue;
            }
            const double y = base - double(values[x]) * m_gain;
            m_wiggles.push_back({left + x, ClampToInt(std::clamp(y, -1e6, 1e6))});
            ++length;
        }
        if (length > 0) m_wiggleLengths.push_back(length);
        return;
    }
    uint32_t* pixels = m_image.Row(row) + track * (w + m_gap);
    for (int x = 0; x < w; ++x) {
        const int index = ColourIndex(values[x]);
        if (index >= 0) pixels[x] = PaletteColour(m_palette, index, interval);
    }
}

// ---- painting ----------------------------------------------------------------------------------

int CProfileWnd::RowOfPosition(int position) const
{
    if (!(m_depthPerPixel > 0)) return 0;
    return ClampToInt(std::lround((DepthOfPosition(position) - m_pageTopDepth) / m_depthPerPixel));
}

void CProfileWnd::OnPaint(Dc& dc)
{
    if (m_iconic) return;
    const Rect client = GetClientRect();
    if (client.IsEmpty()) {
        m_iconic = true;
        return;
    }
    dc.SelectFont({"Ariel", m_fontHeight, FW_NORMAL});
    dc.FillRect(client, m_background);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(Rgb(0, 0, 0));
    if (m_rowsDrawn <= 0 || m_image.Empty()) return;

    if (m_style != "Signature")
        dc.StretchImage({m_plotRect.left, m_plotRect.top, m_plotRect.left + m_image.width, m_plotRect.top + m_rowsDrawn},
                        m_image, {0, 0, m_image.width, m_rowsDrawn});
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
    DrawAxes(dc);
    if (m_curveShown) DrawCurve(dc, m_profile, m_curvePen, false);
    // What the stroke in progress has drawn so far.
    if (m_editMode && !m_editList.empty()) DrawCurve(dc, m_editList, m_strokePen, true);
}

void CProfileWnd::DrawAxes(Dc& dc)
{
    const DomainWindow& a = m_axis;
    const int w = m_trackWidth, bottom = m_plotRect.bottom;
    const bool thousands = m_domain == kDomainTime || m_domain == kDomainFrequency;
    const double span = PixelSpan();
    dc.SelectPen(kTickPen);
    dc.SetTextAlign(TA_CENTER | TA_TOP);
    std::string text;
    for (int c = 0; c < int(m_tracks.size()); ++c) {
        const int left = TrackLeft(c);
        const size_t trace = size_t(m_tracks[size_t(c)]);
        if (trace < m_traceLabels.size()) dc.TextOut(left + w / 2, m_topMargin - m_fontHeight - 1, m_traceLabels[trace]);
        if (!(span > 0)) continue;
        // A tick on the column whose value interval holds it; a label on multiples of
        // the label step.
        for (int value : TickWalk(a.firstLabel, a.tickStep, a.start, a.start + span, w)) {
            const int x = ClampToInt(std::floor((value - double(a.start)) / span * w));
            if (x < 0 || x >= w) continue;
            dc.MoveTo(left + x, bottom - 4);
            dc.LineTo(left + x, bottom);
            if (value % a.labelStep != 0) continue;
            if (thousands) FormatInto(text, "%2.1f", value * 0.001);
            else FormatInto(text, "%4d", value);
            dc.TextOut(left + x, bottom + 1, text);
        }
    }
    dc.TextOut(m_clientWidth / 2, m_fontHeight / 4 - 3, m_caption);
    dc.TextOut(m_clientWidth / 2, bottom + 1 + m_fontHeight, m_axisTitle);
}

void CProfileWnd::DrawCurve(Dc& dc, const std::vector<CProfileRecord>& records, const Pen& pen, bool onlyEditTrace)
{
    const DomainWindow& a = m_axis;
    const int w = m_trackWidth;
    const double span = PixelSpan();
    if (records.empty() || w < 1 || !(span > 0)) return;
    // The records of the page's frames, found by frame index.
    auto recordOf = [&records](int frame) -> const CProfileRecord* {
        const auto it = std::lower_bound(records.begin(), records.end(), frame,
                                         [](const CProfileRecord& r, int f) { return r.m_frame < f; });
        return it != records.end() && it->m_frame == frame ? &*it : nullptr;
    };
    dc.SelectPen(pen);
    std::vector<Point> line;
    auto flush = [&] {
        if (line.size() >= 2) dc.Polyline(line.data(), int(line.size()));
        else if (line.size() == 1) dc.SetPixel(line[0].x, line[0].y, pen.color);
        line.clear();
    };
    for (int c = 0; c < int(m_tracks.size()); ++c) {
        const int trace = m_tracks[size_t(c)];
        if (onlyEditTrace && trace != m_editTrace) continue;
        const size_t slot = size_t(m_receiverIndex[size_t(trace)]);
        const int left = TrackLeft(c);
        // A value absent or outside the axis breaks the line.
        for (int position = m_topPosition; position <= m_lastPosition; ++position) {
            const CProfileRecord* r = recordOf(m_frames.FrameAtScrollPosition(position));
            const float v = r ? r->m_values[slot] : kAbsent;
            if (!r || v == kAbsent || !(v >= a.start && v <= a.start + span)) {
                flush();
                continue;
            }
            const int x = left + std::min(ClampToInt((v - a.start) / span * w), w - 1);
            line.push_back({x, m_topMargin + RowOfPosition(position)});
        }
        flush();
    }
}
