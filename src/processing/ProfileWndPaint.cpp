#include "processing/ProfileWnd.h"

#include "common/Fft.h"
#include "platform/Format.h"
#include "platform/SafeNumeric.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace {

constexpr Pen kTickPen{PS_SOLID, 0, Rgb(0, 0, 0)};

} // namespace

// ---- rendering ------------------------------------------------------------------------------

int CProfileWnd::ImageWidth() const
{
    const int tracks = int(m_page.tracks.size());
    if (m_page.trackWidth < 1) return 0;
    return (m_page.trackWidth + m_page.gap) * tracks;
}

bool CProfileWnd::EveryRow() const { return m_common.style == WaveStyle::kVdl; }

// A row's own spectrum works in the FFT's one sample array.
void CProfileWnd::BeforeRows()
{
    const DomainWindow& a = m_axis;
    const int n = m_n;
    const bool spectrum = m_setup.domain == kDomainFrequency;
    MapColumns(m_columns, a.first, spectrum ? std::min(a.last, n / 2) : std::min(a.last, n - 1), m_page.trackWidth);
}

void CProfileWnd::RenderRow(int row, int b0, int b1, float weight, bool interval, RowScratch& scratch)
{
    for (int c = 0; c < int(m_page.tracks.size()); ++c) {
        const size_t slot = size_t(m_receiverIndex[size_t(m_page.tracks[size_t(c)])]) * size_t(m_n);
        RenderTrackRow(row, c, m_renderFrames[size_t(b0)].data() + slot, m_renderFrames[size_t(b1)].data() + slot, weight,
                       interval, scratch);
    }
}

void CProfileWnd::RenderFrameLoaded(int b, int frame, bool read)
{
    if (read) CorrectFrame(frame, m_renderFrames[size_t(b)]);
}

void CProfileWnd::RenderTrackRow(int row, int track, const float* previous, const float* current, float weight,
                                bool interval, RowScratch& scratch)
{
    const DomainWindow& a = m_axis;
    const int n = m_n;
    float* v = scratch.row.data();
    // The samples the domain needs: the whole trace for a spectrum, else the shown ones.
    const bool spectrum = m_setup.domain == kDomainFrequency;
    const int lo = spectrum ? 0 : a.first;
    const int hi = spectrum ? n - 1 : std::min(a.last, n - 1);
    const int w = m_page.trackWidth;
    float* values = scratch.pixels.data(); // m_columns was mapped before the rows (BeforeRows)
    if (spectrum) {
        for (int j = lo; j <= hi; ++j) v[j] = previous[j] + (current[j] - previous[j]) * weight;
        AmplitudeSpectrum(v, n, v); // bins 0 .. n/2, already divided by the largest
    }
    // Samples between the frames are worked out where a pixel needs them; the row's
    // largest value from all of the shown ones.
    auto at = [&](int j) { return spectrum ? v[j] : previous[j] + (current[j] - previous[j]) * weight; };
    float factor = 1.0f;
    if (!spectrum && (m_setup.domain != kDomainSlowness || m_setup.normalize)) {
        const float largest = LargestMagnitude(previous, current, weight, a.first, hi);
        factor = largest > 0 ? 1.0f / largest : 0.0f; // a row of zeros stays 0
    }

    // The shown samples resampled to the track's pixels.
    for (int x = 0; x < w; ++x) {
        const float v0 = at(m_columns.i0[size_t(x)]), v1 = at(m_columns.i1[size_t(x)]);
        values[x] = (v0 + (v1 - v0) * m_columns.frac[size_t(x)]) * factor;
    }

    if (m_common.style == WaveStyle::kSignature) AddWiggle(row, TrackLeft(track), values, w);
    else ColourRow(m_image.Row(row) + track * (w + m_page.gap), values, w, interval);
}

// ---- painting ----------------------------------------------------------------------------------

void CProfileWnd::OnPaint(Dc& dc)
{
    if (!PaintPage(dc)) return;
    DrawAxes(dc);
    if (m_curveShown) DrawCurve(dc, m_profile, m_curvePen, false);
    // What the stroke in progress has drawn so far.
    if (m_editMode && !m_editList.empty()) DrawCurve(dc, m_editList, m_strokePen, true);
}

void CProfileWnd::DrawAxes(Dc& dc)
{
    const DomainWindow& a = m_axis;
    const int w = m_page.trackWidth, bottom = m_page.plotRect.bottom;
    const bool thousands = m_setup.domain == kDomainTime || m_setup.domain == kDomainFrequency;
    const double span = PixelSpan();
    dc.SelectPen(kTickPen);
    dc.SetTextAlign(TA_CENTER | TA_TOP);
    std::string text;
    for (int c = 0; c < int(m_page.tracks.size()); ++c) {
        const int left = TrackLeft(c);
        const size_t trace = size_t(m_page.tracks[size_t(c)]);
        if (trace < m_traceLabels.size()) dc.TextOut(left + w / 2, m_page.topMargin - m_page.fontHeight - 1, m_traceLabels[trace]);
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
    dc.TextOut(m_page.clientWidth / 2, m_page.fontHeight / 4 - 3, m_caption);
    dc.TextOut(m_page.clientWidth / 2, bottom + 1 + m_page.fontHeight, m_axisTitle);
}

void CProfileWnd::DrawCurve(Dc& dc, const std::vector<CProfileRecord>& records, const Pen& pen, bool onlyEditTrace)
{
    if (records.empty() || m_page.trackWidth < 1 || !(PixelSpan() > 0)) return;
    dc.SelectPen(pen);
    for (int c = 0; c < int(m_page.tracks.size()); ++c) {
        const int trace = m_page.tracks[size_t(c)];
        if (onlyEditTrace && trace != m_editTrace) continue;
        const size_t slot = size_t(m_receiverIndex[size_t(trace)]);
        DrawTrackCurve(dc, pen, TrackLeft(c), m_page.trackWidth, m_axis.start, PixelSpan(), [&](int frame) {
            const CProfileRecord* r = FindByFrame(records, frame, &CProfileRecord::m_frame);
            return r ? r->m_values[slot] : kAbsent;
        });
    }
}
