#include "processing/TimeFrequencyWnd.h"

#include "common/Fft.h"
#include "platform/Format.h"
#include "platform/SafeNumeric.h"
#include "settings/SettingsStore.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cmath>

namespace {

constexpr Pen kTickPen{PS_SOLID, 0, Rgb(0, 0, 0)};

// The pixel loops are built twice, for AVX2 and for any x86-64, and the loader picks
// one; neither uses fused multiply-add, so both give the same bits. ThreadSanitizer
// builds take the baseline alone: the loader picks before the sanitizer is set up.
#if defined(__x86_64__) && defined(__GLIBC__) && !defined(__SANITIZE_THREAD__)
#define TF_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define TF_CLONES
#endif

// The time panel's pixels: each between the two samples its column map names, of the
// row `weight` of the way from frame a to frame b, times `factor` and held to -1 .. 1
// (a sample that is no number stays one).
TF_CLONES void TimePixels(const float* a, const float* b, float weight, float factor, const int* i0, const int* i1,
                          const float* frac, int width, float* out)
{
    for (int x = 0; x < width; ++x) {
        const float s0 = a[i0[x]] + (b[i0[x]] - a[i0[x]]) * weight, s1 = a[i1[x]] + (b[i1[x]] - a[i1[x]]) * weight;
        const float v0 = std::isnan(s0) ? NAN : std::clamp(s0 * factor, -1.0f, 1.0f);
        const float v1 = std::isnan(s1) ? NAN : std::clamp(s1 * factor, -1.0f, 1.0f);
        out[x] = v0 + (v1 - v0) * frac[x];
    }
}

// The frequency panel's pixels: each between the two bins its column map names.
TF_CLONES void BinPixels(const float* v, const int* i0, const int* i1, const float* frac, int width, float* out)
{
    for (int x = 0; x < width; ++x) out[x] = v[i0[x]] + (v[i1[x]] - v[i0[x]]) * frac[x];
}

} // namespace

// ---- rendering ------------------------------------------------------------------------------

void CTimeFrequencyWnd::TransformFrame(int b)
{
    // The transform is linear: a row between two frames has the spectrum between
    // theirs, so each frame is transformed once and the rows only interpolate.
    // The spectra of the shown tracks only, column by column: a page of new frames
    // (a first picture's hundreds) allocates and touches no more than it shows.
    const size_t bins = size_t(m_n / 2 + 1);
    std::vector<float>& spectra = m_renderSpectra[size_t(b)];
    // Every column is written below, and the rows read no other: no clearing.
    if (spectra.size() < m_page.tracks.size() * bins * 2) spectra.resize(m_page.tracks.size() * bins * 2);
    const std::vector<float>& frame = m_renderFrames[size_t(b)];
    for (size_t column = 0; column < m_page.tracks.size(); ++column) {
        const size_t slot = size_t(Slots()[m_page.tracks[column]]);
        const float* x = frame.data() + slot * size_t(m_n);
        float* out = spectra.data() + column * bins * 2;
        if (m_renderGaps[size_t(b)][slot]) {
            std::fill(out, out + bins * 2, NAN); // a frame that could not be read is a gap
            continue;
        }
        // Real samples in: the bits of the complex transform of (x, 0) at about half its
        // cost, bin k's (re, im) at [2k], [2k + 1].
        if (!RealFftForward(x, m_n, out)) std::fill(out, out + bins * 2, NAN);
    }
}

int CTimeFrequencyWnd::ImageWidth() const
{
    // A window too narrow for a panel: no column is drawn.
    if (m_timeWidth < 1 || m_frequencyWidth < 1) return 0;
    return (m_page.trackWidth + m_page.gap) * int(m_page.tracks.size());
}

bool CTimeFrequencyWnd::EveryRow() const { return m_common.style != WaveStyle::kSignature; }

void CTimeFrequencyWnd::ReserveRenderSlots(int count)
{
    if (m_renderSpectra.size() < size_t(count)) m_renderSpectra.resize(size_t(count));
    if (m_renderGaps.size() < size_t(count)) m_renderGaps.resize(size_t(count));
}

void CTimeFrequencyWnd::BeforeRows()
{
    MapColumns(m_timeColumns, m_time.first, m_time.last, m_timeWidth);
    MapColumns(m_frequencyColumns, m_frequency.first, std::max(m_frequency.last, m_frequency.first), m_frequencyWidth);
}

void CTimeFrequencyWnd::RenderRow(int row, int b0, int b1, float weight, bool interval, RowScratch& scratch)
{
    for (int c = 0; c < int(m_page.tracks.size()); ++c) RenderColumnRow(row, c, b0, b1, weight, interval, scratch);
}

void CTimeFrequencyWnd::FindGaps(int b)
{
    // A value that is not finite makes the trace a gap: infinity and NaN are the
    // patterns whose exponent bits are all set, which a loop of masks and ORs tells on
    // any processor's vector unit.
    const std::vector<float>& frame = m_renderFrames[size_t(b)];
    for (int trace : m_page.tracks) {
        const size_t slot = size_t(Slots()[trace]);
        const float* x = frame.data() + slot * size_t(m_n);
        uint32_t notFinite = 0;
        for (int i = 0; i < m_n; ++i) notFinite |= uint32_t((std::bit_cast<uint32_t>(x[i]) & 0x7F800000u) == 0x7F800000u);
        m_renderGaps[size_t(b)][slot] = notFinite ? 1 : 0;
    }
}

void CTimeFrequencyWnd::RenderFrameLoaded(int b, int, bool)
{
    // Here, on the row threads, rather than on the one that reads every frame.
    FindGaps(b);
    TransformFrame(b);
}

void CTimeFrequencyWnd::RenderColumnRow(int row, int column, int buffer0, int buffer1, float weight, bool interval,
                                         RowScratch& scratch)
{
    const int trace = m_page.tracks[size_t(column)];
    const size_t slot = size_t(Slots()[trace]);
    const float gain = theApp.m_display.zoomFactor1 > 0 && std::isfinite(theApp.m_display.zoomFactor1)
                           ? theApp.m_display.zoomFactor1
                           : 1.0f;
    float* v = scratch.row.data();
    float* values = scratch.pixels.data();
    auto draw = [&](const ColumnMap& map, int left) {
        if (m_common.style == WaveStyle::kSignature) AddWiggle(row, left, values, map.width);
        else ColourRow(m_image.Row(row) + (left - m_page.leftMargin), values, map.width, interval);
    };

    // The time panel: the row's samples in the window, divided by the largest of them.
    const TfTimeWindow& t = m_time;
    const float* previous = m_renderFrames[size_t(buffer0)].data() + slot * size_t(m_n);
    const float* current = m_renderFrames[size_t(buffer1)].data() + slot * size_t(m_n);
    const float largest = LargestMagnitude(previous, current, weight, t.first, t.last);
    const float factor = largest > 0 ? gain / largest : 0.0f; // a row of zeros stays 0
    // Samples between the frames are worked out where a pixel needs them. The panels'
    // column maps were made before the rows (BeforeRows).
    const ColumnMap& tm = m_timeColumns;
    TimePixels(previous, current, weight, factor, tm.i0.data(), tm.i1.data(), tm.frac.data(), tm.width, values);
    draw(tm, TimeLeft(column));

    // The frequency panel: the row's amplitude spectrum divided by its largest bin.
    const TfFrequencyWindow& f = m_frequency;
    const int bins = m_n / 2 + 1, shownLast = std::max(f.last, f.first);
    const float* s0 = m_renderSpectra[size_t(buffer0)].data() + size_t(column) * size_t(bins) * 2;
    const float* s1 = m_renderSpectra[size_t(buffer1)].data() + size_t(column) * size_t(bins) * 2;
    auto power = [&](int k) {
        const double re = s0[2 * k] + (s1[2 * k] - s0[2 * k]) * weight;
        const double im = s0[2 * k + 1] + (s1[2 * k + 1] - s0[2 * k + 1]) * weight;
        return re * re + im * im;
    };
    // The largest bin from the largest power (the root keeps the order); only the
    // shown bins take their root. Each bin's power is worked out once.
    if (scratch.power.size() < size_t(bins)) scratch.power.resize(size_t(bins));
    double* powers = scratch.power.data();
    // Two plain loops, the powers and then their largest, so that each vectorises.
    for (int b = 0; b < bins; ++b) powers[b] = power(b);
    std::array<double, 4> most{};
    int k = 0;
    for (; k + 4 <= bins; k += 4)
        for (int i = 0; i < 4; ++i) {
            const double p = powers[k + i];
            most[size_t(i)] = p > most[size_t(i)] ? p : most[size_t(i)]; // NaN is not counted
        }
    for (; k < bins; ++k) most[0] = powers[k] > most[0] ? powers[k] : most[0];
    float peak = float(std::sqrt(*std::max_element(most.begin(), most.end())));
    if (!std::isfinite(peak)) {
        // Bins past a float's range are not counted: the largest of the others.
        peak = 0;
        for (k = 0; k < bins; ++k) {
            const float a = float(std::sqrt(powers[k]));
            if (std::isfinite(a)) peak = std::max(peak, a);
        }
    }
    const float scale = peak > 0 ? 1.0f / peak : 0.0f;
    const int lastBin = std::min(shownLast, bins - 1);
    for (k = f.first; k <= lastBin; ++k) v[k] = float(std::sqrt(powers[k]));
    for (; k <= shownLast; ++k) v[k] = float(std::sqrt(power(k)));
    for (k = f.first; k <= std::min(f.last, shownLast); ++k) v[k] *= scale;
    const ColumnMap& fm = m_frequencyColumns;
    BinPixels(v, fm.i0.data(), fm.i1.data(), fm.frac.data(), fm.width, values);
    draw(fm, FrequencyLeft(column));
}

// ---- painting ----------------------------------------------------------------------------------

void CTimeFrequencyWnd::OnPaint(Dc& dc)
{
    if (!PaintPage(dc)) return;
    DrawAxes(dc);
    DrawProfile(dc, m_profile.Records(), m_curvePen, false);
    // The edit line drawn so far.
    if (m_editMode && !m_profile.Edits().empty()) DrawProfile(dc, m_profile.Edits(), m_strokePen, true);
}

void CTimeFrequencyWnd::DrawAxes(Dc& dc)
{
    const int bottom = m_page.plotRect.bottom;
    dc.SelectPen(kTickPen);
    dc.SetTextAlign(TA_CENTER | TA_TOP);
    std::string text;
    // Ticks on the pixel whose value interval holds them, labels on multiples of the label step.
    auto axis = [&](int left, int width, double start, double span, int first, int tickStep, int labelStep,
                    bool time) {
        if (!(span > 0) || width < 1 || tickStep < 1 || labelStep < 1) return;
        // A narrow panel shows the labels that fit inside it without touching.
        // A narrow panel shows the ticks and labels that fit inside it without touching.
        int lastRight = left - 1, lastTick = -3;
        for (int value : TickWalk(first, tickStep, float(start), float(start + span), width)) {
            const int x = ClampToInt(std::floor((value - start) / span * width));
            if (x < 0 || x >= width) continue;
            const bool label = value % labelStep == 0;
            if (x - lastTick < 3 && !label) continue;
            dc.MoveTo(left + x, bottom - 4);
            dc.LineTo(left + x, bottom);
            lastTick = x;
            if (!label) continue;
            // Milliseconds and kilohertz.
            if (time) FormatInto(text, "%2.1f", value * 0.001);
            else FormatInto(text, "%4.1f", value * 0.001);
            const int half = (dc.GetTextExtent(text).cx + 1) / 2;
            if (left + x - half <= lastRight + 2 || left + x + half > left + width + m_page.margin / 2) continue;
            dc.TextOut(left + x, bottom + 1, text);
            lastRight = left + x + half;
        }
    };
    for (int c = 0; c < int(m_page.tracks.size()); ++c) {
        const size_t trace = size_t(m_page.tracks[size_t(c)]);
        if (trace < m_traceLabels.size()) dc.TextOut(TrackLeft(c) + m_page.trackWidth / 2, m_page.topMargin - m_page.fontHeight - 1, m_traceLabels[trace]);
        axis(TimeLeft(c), m_timeWidth, m_time.start, TimeSpan(), m_time.firstTick, m_timeTickStep, m_timeLabelStep, true);
        axis(FrequencyLeft(c), m_frequencyWidth, m_frequency.start, FrequencySpan(), m_frequency.firstTick, m_freqTickStep,
             m_freqLabelStep, false);
    }
    dc.TextOut(m_page.clientWidth / 2, m_page.fontHeight / 4 - 3, m_caption);
    dc.TextOut(m_page.clientWidth / 2, bottom + 1 + m_page.fontHeight, m_axisTitle);
}

void CTimeFrequencyWnd::DrawProfile(Dc& dc, const std::vector<TfRecord>& records, const Pen& pen, bool onlyClicked)
{
    if (records.empty() || m_timeWidth < 1 || m_frequencyWidth < 1) return;
    dc.SelectPen(pen);
    for (int c = 0; c < int(m_page.tracks.size()); ++c) {
        const int trace = m_page.tracks[size_t(c)];
        if (onlyClicked && trace != m_clickedTrace) continue;
        const size_t slot = size_t(Slots()[trace]);
        DrawTrackCurve(dc, pen, TimeLeft(c), m_timeWidth, m_time.start, TimeSpan(), [&](int frame) {
            const TfRecord* r = FindByFrame(records, frame, &TfRecord::frame);
            return r ? r->times[slot] : kAbsent;
        });
        DrawTrackCurve(dc, pen, FrequencyLeft(c), m_frequencyWidth, m_frequency.start, FrequencySpan(), [&](int frame) {
            const TfRecord* r = FindByFrame(records, frame, &TfRecord::frame);
            return r ? r->frequencies[slot] : kAbsent;
        });
    }
}
