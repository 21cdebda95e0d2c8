#include "viewers/VdlWnd.h"

#include "viewers/Palettes.h"

#include "common/Fft.h"
#include "common/ParallelRows.h"
#include "platform/Format.h"
#include "platform/SafeNumeric.h"

#include <algorithm>
#include <atomic>
#include <cfloat>
#include <cmath>
#include <climits>
#include <cstring>

namespace {

constexpr uint32_t Grey(int level) { return uint32_t(level) * 0x010101u; }

constexpr Pen kBlackPen{PS_SOLID, 0, Rgb(0, 0, 0)};
constexpr Pen kDottedPen{PS_DOT, 0, Rgb(192, 192, 192)};
constexpr Color kBackground = Rgb(192, 192, 192);

int Trunc(double v) { return ClampToInt(v); }

// The row loops are built twice, for AVX2 and for any x86-64, and the loader picks
// one; neither uses fused multiply-add, so both give the same bits. ThreadSanitizer
// builds take the baseline alone: the loader picks before the sanitizer is set up.
#if defined(__x86_64__) && defined(__GLIBC__) && !defined(__SANITIZE_THREAD__)
#define VDL_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define VDL_CLONES
#endif

// Samples lo..hi of two frames blended into `out`, `weight` of the second; returns the
// largest finite magnitude of samples lo..hi - 1 (as LargestFinite), taken on the way.
VDL_CLONES float BlendRow(const float* previous, const float* current, float weight, float* out, int lo, int hi)
{
    constexpr int32_t kMagnitude = 0x7FFFFFFF, kInfinity = 0x7F800000;
    int32_t largest = 0;
    for (int j = lo; j < hi; ++j) {
        // Each part no larger than its sample: no sum of two finite samples overflows.
        const float x = previous[j] * (1 - weight) + current[j] * weight;
        out[j] = x;
        int32_t bits;
        std::memcpy(&bits, &x, sizeof bits);
        bits &= kMagnitude;
        bits = bits < kInfinity ? bits : 0;
        largest = bits > largest ? bits : largest;
    }
    out[hi] = previous[hi] * (1 - weight) + current[hi] * weight;
    float result;
    std::memcpy(&result, &largest, sizeof result);
    return result;
}

// Pixel c: the colour of the row's value between samples i0[c] and i1[c], times
// `factor`: the palette index of that value held to -1 .. 1 (see ColourIndex), without
// a branch that a noisy row would mispredict. `colours[-1]` is a gap's.
VDL_CLONES void ColourRow(const float* v, const int* i0, const int* i1, const float* frac, float factor, int w,
                          const uint32_t* colours, uint32_t* pixels)
{
    constexpr float kTop = float(CVdlWnd::kColours - 1);
    for (int c = 0; c < w; ++c) {
        const float v0 = v[i0[c]];
        const float x = (v0 + (v[i1[c]] - v0) * frac[c]) * factor;
        const bool gap = x != x;
        const float scaled = std::min(std::max(x * kTop, 0.0f), kTop);
        pixels[c] = colours[int(gap ? 0.0f : scaled) - int(gap)];
    }
}

// The amplitudes of a blend of two spectra of `bins` (re, im) bins, `a` times the first
// and `b` times the second, divided by the largest of them (0 when none is positive),
// into out[from .. to]. The largest is found among the squares (non-negative: their
// bit patterns order as they do), so that only the bins asked take a square root.
VDL_CLONES void BlendAmplitudes(const float* first, const float* second, float a, float b, int bins, int from, int to,
                                float* squares, float* out)
{
    int32_t peakBits = 0;
    for (int k = 0; k < bins; ++k) {
        const float re = first[2 * k] * a + second[2 * k] * b, im = first[2 * k + 1] * a + second[2 * k + 1] * b;
        const float square = re * re + im * im;
        squares[k] = square;
        int32_t bits;
        std::memcpy(&bits, &square, sizeof bits);
        peakBits = bits > peakBits ? bits : peakBits;
    }
    float peakSquare;
    std::memcpy(&peakSquare, &peakBits, sizeof peakSquare);
    const float peak = std::sqrt(peakSquare);
    for (int k = from; k <= to; ++k) out[k] = peak > 0 ? std::sqrt(squares[k]) / peak : std::sqrt(squares[k]);
}

// The largest magnitude's bit pattern among `count` values; with `finiteOnly`, of the
// finite ones (0 when none). The magnitudes' bit patterns order as the magnitudes do,
// infinities and NaN above every finite one: an integer maximum, which vectorises,
// finds it.
VDL_CLONES int32_t LargestMagnitudeBits(const float* v, int count, bool finiteOnly)
{
    constexpr int32_t kMagnitude = 0x7FFFFFFF, kInfinity = 0x7F800000;
    int32_t largest = 0;
    for (int j = 0; j < count; ++j) {
        int32_t bits;
        std::memcpy(&bits, v + j, sizeof bits);
        bits &= kMagnitude;
        bits = !finiteOnly || bits < kInfinity ? bits : 0;
        largest = bits > largest ? bits : largest;
    }
    return largest;
}

// v[0 .. count - 1] times `scale`, in place.
VDL_CLONES void ScaleInPlace(float* v, int count, float scale)
{
    for (int i = 0; i < count; ++i) v[i] *= scale;
}

float FromBits(int32_t bits)
{
    float out;
    std::memcpy(&out, &bits, sizeof out);
    return out;
}

float LargestFinite(const float* v, int count) { return FromBits(LargestMagnitudeBits(v, count, true)); }

// Whether all of `count` samples are finite, and their largest magnitude.
bool FiniteLargest(const float* v, int count, float& largest)
{
    const int32_t bits = LargestMagnitudeBits(v, count, false);
    largest = FromBits(bits);
    return bits < 0x7F800000;
}

} // namespace

uint32_t CVdlWnd::PaletteColour(int palette, int index)
{
    index = std::clamp(index, 0, kColours - 1);
    uint32_t rgb;
    switch (palette) {
    case kPaletteAnisotropy: rgb = AnisotropyRgb(index); break;
    // Grey ramps in steps of 8 from a mid-grey 0; the rising one ends in black, the
    // falling one in black as well.
    case kPaletteBlackWhite: rgb = index == 0 ? Grey(0x80) : index == kColours - 1 ? 0 : Grey(8 * index); break;
    case kPaletteWhiteBlack: rgb = index == 0 ? Grey(0xD4) : index == kColours - 1 ? 0 : Grey(0xF8 - 8 * index); break;
    default: rgb = ColourRampRgb(index); break;
    }
    return 0xFF000000u | rgb;
}

int CVdlWnd::ColourIndex(float value) { return RampIndex(value); }

// ---- rendering ------------------------------------------------------------------------------

bool CVdlWnd::ReadPadded(int frame, std::vector<float>& out) const
{
    if (!m_item.file.ReadFrameItemShared(frame, int64_t(m_item.offset), m_receivers, m_samples.samplesRead, out.data(), out.size())) {
        std::fill(out.begin(), out.end(), NAN);
        return false;
    }
    // Receivers were read one after another; each takes its padded length.
    const size_t stored = size_t(m_samples.samplesRead), padded = size_t(m_samples.sampleCount);
    if (padded > stored)
        for (size_t r = size_t(m_receivers); r-- > 0;) {
            float* from = out.data() + r * stored;
            float* to = out.data() + r * padded;
            std::copy_backward(from, from + stored, to + stored);
            std::fill(to + stored, to + padded, 0.0f);
        }
    return true;
}

int CVdlWnd::PlanFrame(int position)
{
    // Only the slot's place here: its buffers are sized by the band that reads into it,
    // so that a first picture's hundreds of new buffers are touched on every core.
    const size_t slot = size_t(m_framesLoaded++);
    if (m_frame.size() <= slot) {
        m_frame.emplace_back();
        m_framePosition.push_back(-1);
        m_spectra.emplace_back();
    }
    m_framePosition[slot] = position;
    return int(slot);
}

void CVdlWnd::SizeSlot(int slot, bool spectra)
{
    const size_t receivers = size_t(m_receivers);
    std::vector<float>& frame = m_frame[size_t(slot)];
    if (frame.size() != receivers * size_t(m_samples.sampleCount)) frame.assign(receivers * size_t(m_samples.sampleCount), 0.0f);
    if (!spectra) return;
    const size_t bins = size_t(m_samples.sampleCount / 2) + 1;
    FrameSpectra& out = m_spectra[size_t(slot)];
    if (out.bins.size() != receivers * bins * 2) {
        out.bins.assign(receivers * bins * 2, 0.0f);
        out.largest.assign(receivers, 0.0f);
        out.gap.assign(receivers, 1);
    }
}

bool CVdlWnd::LoadFrame(int slot)
{
    return ReadPadded(m_item.frames.FrameAtScrollPosition(m_framePosition[size_t(slot)]), m_frame[size_t(slot)]);
}

bool CVdlWnd::BlendsSpectra() const
{
    // Where rows are fewer than the frames they pass, a transform per row is the
    // fewer. A slowness curve blends its rows by a rule of its own (a 0 is no pick),
    // which is not linear: its rows are transformed one by one too.
    return m_samples.domain == kDomainFrequency && !m_instSlowness && m_grid.framesPerRow <= 1;
}

void CVdlWnd::ScaleForSpectra(int slot)
{
    // The rows blend the spectra, never these samples: each trace is divided by its
    // largest magnitude in place, so that no sum of its transform overflows.
    const int n = m_samples.sampleCount;
    FrameSpectra& out = m_spectra[size_t(slot)];
    for (int receiver : m_raster.columns) {
        float* x = m_frame[size_t(slot)].data() + size_t(receiver) * size_t(n);
        float largest = 0;
        const bool finite = FiniteLargest(x, n, largest);
        out.gap[size_t(receiver)] = finite ? 0 : 1;
        out.largest[size_t(receiver)] = finite ? largest : 0.0f;
        if (!finite || !(largest > 0)) continue;
        ScaleInPlace(x, n, 1.0f / largest);
    }
}

void CVdlWnd::TakeSpectra(int slot)
{
    const int n = m_samples.sampleCount;
    const size_t bins = size_t(n / 2) + 1;
    FrameSpectra& out = m_spectra[size_t(slot)];
    for (int receiver : m_raster.columns) {
        if (out.gap[size_t(receiver)]) continue;
        const float* x = m_frame[size_t(slot)].data() + size_t(receiver) * size_t(n);
        float* spectrum = out.bins.data() + size_t(receiver) * bins * 2;
        // Real samples in, straight into the slot's bins: the bits of the complex
        // transform of (x, 0) at about half its cost.
        if (!RealFftForward(x, n, spectrum)) {
            // No transform of this length: the spectrum is 0, as AmplitudeSpectrum's.
            std::fill(spectrum, spectrum + 2 * bins, 0.0f);
            out.largest[size_t(receiver)] = 0;
        }
    }
}

void CVdlWnd::MapColumns()
{
    // Column 0 shows the first displayed sample; column c the axis value start + c x
    // (span / image width), between the two samples around it. Every index stays
    // inside the displayed samples.
    const Axis& a = m_axis;
    const int w = m_raster.imageWidth;
    m_columns.i0.resize(size_t(w));
    m_columns.i1.resize(size_t(w));
    m_columns.frac.resize(size_t(w));
    const double perColumn = a.step > 0 ? double(a.span) / w / a.step : 0.0;
    // The sample after a column's first, held to the last the row has (a spectrum's
    // bins end at half the samples).
    const int n = m_samples.sampleCount;
    const int last = m_samples.domain == kDomainFrequency ? std::min(a.last, n / 2) : std::min(a.last, n - 1);
    for (int c = 0; c < w; ++c) {
        const double at = c == 0 || !(perColumn > 0) ? 0.0 : c * perColumn;
        const int k = std::clamp(Trunc(at), 0, std::max(a.spanSamples - 1, 0));
        m_columns.i0[size_t(c)] = a.first + k;
        m_columns.i1[size_t(c)] = std::min(a.first + k + 1, last);
        m_columns.frac[size_t(c)] = a.spanSamples > 0 ? float(std::clamp(at - k, 0.0, 1.0)) : 0.0f;
    }
}

CVdlWnd::RowGrid CVdlWnd::RowGridNow() const
{
    RowGrid g;
    g.first = std::clamp(FirstVisiblePosition(), TopPosition(), BottomPosition());
    g.end = BottomPosition();
    const double logTop = m_item.frames.TopDepth(), step = m_item.frames.Step();
    const double dpp = m_page.depthPerPixel;
    g.single = g.end == g.first || !(step > 0);
    g.framesPerRow = dpp / step;
    g.topDepth = DepthOfPosition(g.first);
    // The rows lie on one pixel grid of the whole log, the first at or within a pixel
    // below the first visible frame: a move by whole frames moves the picture by whole
    // rows, and a row shows the same place whatever the page it is drawn in. Values
    // that give no such grid draw row 0 at the first visible frame and render afresh
    // on every move.
    const double rowsBefore = double(g.first) * step / dpp;
    if (!g.single && g.framesPerRow > 0 && std::isfinite(g.framesPerRow) && rowsBefore >= 0 && rowsBefore < 1e12) {
        g.anchored = true;
        g.anchor = std::ceil(rowsBefore - 1e-6);
        if (RowPlace(g, 0) < g.first) g.anchor += 1; // never above the first visible frame
        g.topDepth = logTop + g.anchor * dpp;
    }
    return g;
}

double CVdlWnd::RowPlace(const RowGrid& g, int row) const
{
    if (g.single) return row == 0 ? g.first : INFINITY;
    if (g.anchored) {
        // A place a rounding error off a frame is that frame, on every page alike.
        const double at = (g.anchor + row) * g.framesPerRow, whole = std::round(at);
        return std::fabs(at - whole) < 1e-6 ? whole : at;
    }
    return (g.topDepth + row * m_page.depthPerPixel - m_item.frames.TopDepth()) / m_item.frames.Step();
}

int CVdlWnd::CountRows(const RowGrid& g) const
{
    int rows = 0;
    while (rows < m_raster.rowsAvailable && RowPlace(g, rows) <= g.end + 1e-9) ++rows;
    return rows;
}

void CVdlWnd::Render()
{
    m_rendered = KeyNow();
    m_item.framesRead = 0;
    m_raster.rowsDrawn = 0;
    m_depthLabelCount = 0;
    m_tickCount = 0;
    m_item.wiggles.clear();
    m_item.wiggleLengths.clear();
    m_raster.readOutFrame = -1;
    const int shown = int(m_raster.columns.size());
    const int w = m_raster.imageWidth;
    // Nothing to draw in a window too small for one pixel of image, or with no
    // receiver shown.
    if (shown == 0 || w < 1 || m_raster.rowsAvailable < 1) {
        m_raster.imageRect = {};
        m_item.image = Image();
        return;
    }
    const int width = (w + m_gap) * shown;
    if (m_item.image.width != width || m_item.image.height != m_raster.rowsAvailable) m_item.image = Image(width, m_raster.rowsAvailable);
    MapColumns();
    if (m_values.size() < size_t(w)) m_values.resize(size_t(w));
    m_colourTable[0] = ToArgb(kBackground); // a gap
    for (int i = 0; i < kColours; ++i) m_colourTable[size_t(i) + 1] = PaletteColour(m_item.palette, i);

    m_grid = RowGridNow();
    RenderRows(0, CountRows(m_grid));
    FinishRows();
}

bool CVdlWnd::RenderMoved()
{
    // Only the first visible frame moved: the rows still on the page move with it and
    // only the rows it exposes are read and rendered.
    RenderKey moved = KeyNow();
    moved.firstVisible = m_rendered.firstVisible;
    if (!(moved == m_rendered) || m_item.signature || m_raster.rowsDrawn < 1 || !m_grid.anchored) return false;
    const RowGrid g = RowGridNow();
    const double shift = g.anchor - m_grid.anchor;
    if (!g.anchored || !(std::fabs(shift) < m_raster.rowsAvailable)) return false;
    const int delta = int(shift), before = m_raster.rowsDrawn;
    const int rows = CountRows(g);
    // New row r is old row r + delta: rows lo .. hi - 1 are kept.
    const int lo = std::clamp(-delta, 0, rows), hi = std::clamp(before - delta, lo, rows);
    m_rendered = KeyNow();
    m_grid = g;
    m_item.framesRead = 0;
    m_raster.readOutFrame = -1;
    if (hi > lo) {
        const size_t stride = size_t(m_item.image.width);
        std::memmove(m_item.image.Row(lo), m_item.image.Row(lo + delta), size_t(hi - lo) * stride * sizeof(uint32_t));
    }
    m_readFailed = false;
    RenderRows(0, lo);
    RenderRows(hi, rows);
    // A frame that could not be read may be a file changed under the view: the kept
    // rows are not trusted either.
    if (m_readFailed) return false;
    m_raster.rowsDrawn = rows;
    m_depthLabelCount = 0;
    m_tickCount = 0;
    FinishRows();
    return true;
}

void CVdlWnd::RenderRows(int begin, int end)
{
    if (begin >= end) return;
    const RowGrid& g = m_grid;
    const int shown = int(m_raster.columns.size());
    const int width = m_item.image.width;
    const uint32_t background = ToArgb(kBackground);
    // First where the rows lie: the frames they lie between, each given a slot once,
    // in depth order (a row's place never lies above the row before's).
    m_framesLoaded = 0;
    auto slotOf = [this](int position) {
        for (int s = m_framesLoaded; s-- > std::max(m_framesLoaded - 2, 0);)
            if (m_framePosition[size_t(s)] == position) return s;
        return PlanFrame(position);
    };
    m_rowFrames.resize(size_t(end - begin));
    for (int row = begin; row < end; ++row) {
        // The row's place between frames, in depth order.
        const double at = std::max(RowPlace(g, row), double(g.first));
        const int p0 = std::clamp(Trunc(std::floor(at)), g.first, g.end);
        const int p1 = std::min(p0 + 1, g.end);
        RowFrames& f = m_rowFrames[size_t(row - begin)];
        f.weight = p1 == p0 ? 0.0f : float(std::clamp(at - p0, 0.0, 1.0));
        f.s0 = slotOf(p0);
        f.s1 = p1 == p0 ? f.s0 : slotOf(p1);
    }
    // Then the rows are rendered in bands on every core, each band writing its own rows
    // with its own scratch. A frame is read, and in the frequency domain its spectra
    // taken, by the first band that needs it (a band waits for a neighbour already at
    // it): the reads and the transforms run on every core, each frame's once. A failed
    // read is a gap, reported here afterwards, never from a band. The wiggles are laid
    // out in row order: those rows stay on this thread.
    const bool oneThread = m_item.signature;
    constexpr int kRowsPerBand = 16;
    const size_t workers = size_t(parallel_rows::Workers());
    if (m_scratch.size() < workers) m_scratch.resize(workers);
    for (RowScratch& scratch : m_scratch) {
        scratch.row.resize(size_t(m_samples.sampleCount) + 1);
        scratch.squares.resize(size_t(m_samples.sampleCount / 2) + 1);
    }
    const bool spectra = BlendsSpectra();
    m_frameReady.Reset(m_framesLoaded);
    std::atomic<bool> failed{false};
    parallel_rows::For(end - begin, oneThread ? INT_MAX : kRowsPerBand, [&](int from, int to, int worker) {
        RowScratch& scratch = m_scratch[size_t(worker)];
        for (int i = from; i < to; ++i) {
            const int row = begin + i;
            const RowFrames& f = m_rowFrames[size_t(i)];
            for (int slot : {f.s0, f.s1})
                m_frameReady.Do(slot, [&] {
                    SizeSlot(slot, spectra);
                    if (!LoadFrame(slot)) failed.store(true, std::memory_order_relaxed);
                    if (!spectra) return;
                    ScaleForSpectra(slot);
                    TakeSpectra(slot);
                });
            uint32_t* pixels = m_item.image.Row(row);
            if (!m_item.signature) std::fill(pixels, pixels + width, background);
            for (int c = 0; c < shown; ++c) RenderRow(row, c, f.s0, f.s1, f.weight, scratch);
        }
    });
    // Every planned frame is some row's, so each was read once.
    m_item.framesRead += m_framesLoaded;
    if (failed.load()) {
        m_readFailed = true;
        (void)OkOrShow(m_item.file.ReportFrameReadFailure()); // only told: m_readFailed holds it
    }
    m_raster.rowsDrawn = std::max(m_raster.rowsDrawn, end);
}

void CVdlWnd::FinishRows()
{
    const double dpp = m_page.depthPerPixel, grid = m_depthGrid;
    const double depth0 = m_grid.topDepth;
    double next = std::isfinite(depth0) && grid > 0 ? std::ceil(depth0 / grid) * grid : NAN; // the next labelled depth
    int lastLabelY = -m_item.fontHeight;
    for (int row = 0; row < m_raster.rowsDrawn && std::isfinite(next); ++row) {
        const double depth = RowDepth(row);
        if (next <= depth + dpp) LabelDepth(row, depth, next, lastLabelY);
    }
    m_raster.imageRect = {m_leftMargin, m_topMargin, m_leftMargin + m_item.image.width, m_topMargin + m_raster.rowsDrawn};
    m_raster.imageTopDepth = depth0;
    m_raster.imageBottomDepth = depth0 + m_raster.rowsDrawn * dpp;
    LayOutAnnotations();
}

double CVdlWnd::RowDepth(int row) const
{
    if (m_grid.anchored) return m_item.frames.TopDepth() + (m_grid.anchor + row) * m_page.depthPerPixel;
    return m_grid.topDepth + row * m_page.depthPerPixel;
}

void CVdlWnd::LabelDepth(int row, double depth, double& next, int& lastLabelY)
{
    // A depth label where a multiple of the grid falls within a pixel of the row,
    // unless it would overlap the one before.
    const double dpp = m_page.depthPerPixel, grid = m_depthGrid;
    if (next >= depth - dpp) {
        const int y = Trunc(m_wiggleFactor * m_wiggleAmplitude) + row + 1 + 17;
        if (y >= lastLabelY + m_item.fontHeight) {
            if (m_depthLabels.size() <= size_t(m_depthLabelCount)) m_depthLabels.resize(size_t(m_depthLabelCount) + 1);
            Label& label = m_depthLabels[size_t(m_depthLabelCount++)];
            label.x = 5;
            label.y = y;
            FormatInto(label.text, "%5.0f", next);
            lastLabelY = y;
        }
    }
    next = (std::floor((depth + dpp) / grid) + 1) * grid;
}

void CVdlWnd::BlendSpectra(int slot0, int slot1, int receiver, float weight, float* bins, float* squares)
{
    const int count = m_samples.sampleCount / 2 + 1;
    const FrameSpectra& s0 = m_spectra[size_t(slot0)];
    const FrameSpectra& s1 = m_spectra[size_t(slot1)];
    const size_t r = size_t(receiver);
    // A trace with a value that is no number blends into no number: a gap.
    if (s0.gap[r] || (weight > 0 && s1.gap[r])) {
        std::fill(bins, bins + count, NAN);
        return;
    }
    // Each spectrum was taken of its trace divided by its largest magnitude: the
    // blend weighs them back, relative to the larger of the two.
    const float l0 = s0.largest[r], l1 = weight > 0 ? s1.largest[r] : 0.0f;
    const float larger = std::max(l0, l1);
    const float a = larger > 0 ? (1 - weight) * (l0 / larger) : 0.0f;
    const float b = larger > 0 ? weight * (l1 / larger) : 0.0f;
    const size_t offset = r * size_t(count) * 2;
    // The columns read the displayed bins alone.
    const int from = std::clamp(m_axis.first, 0, count - 1), to = std::clamp(m_axis.last, from, count - 1);
    BlendAmplitudes(s0.bins.data() + offset, s1.bins.data() + offset, a, b, count, from, to, squares, bins);
}

const float* CVdlWnd::RowValues(int column, int s0, int s1, float weight, float& factor, RowScratch& rs)
{
    const Axis& a = m_axis;
    const int n = m_samples.sampleCount;
    const size_t offset = size_t(m_raster.columns[size_t(column)]) * size_t(n);
    const float* previous = m_frame[size_t(s0)].data() + offset;
    const float* current = m_frame[size_t(s1)].data() + offset;
    float* scratch = rs.row.data();
    // The samples the domain needs: a whole trace for a spectrum, else the displayed
    // ones and the one after them.
    const bool spectrum = m_samples.domain == kDomainFrequency;
    const bool curve = m_instFrequency || m_instSlowness;
    const bool normalised = !spectrum && (m_samples.domain != kDomainSlowness || m_setup.normalize);
    const int lo = spectrum ? 0 : a.first;
    const int hi = spectrum ? n - 1 : std::min(a.last, n - 1);
    const float* v = scratch;
    bool largestKnown = false;
    float largest = 0;
    if (spectrum && BlendsSpectra()) {
        // Blended below from the frames' spectra.
    } else if (weight == 0.0f && !curve) {
        v = previous; // the frame itself: nothing to blend and nothing rewritten
    } else if (weight == 0.0f) {
        std::copy(previous + lo, previous + hi + 1, scratch + lo);
    } else if (m_instSlowness) {
        // A slowness of 0 is no pick: it does not blend with its neighbour.
        for (int j = lo; j <= hi; ++j)
            scratch[j] = previous[j] == 0 || current[j] == 0 ? 0.0f : previous[j] * (1 - weight) + current[j] * weight;
    } else if (normalised && !curve && hi == a.last) {
        largest = BlendRow(previous, current, weight, scratch, lo, hi);
        largestKnown = true;
    } else {
        for (int j = lo; j <= hi; ++j) scratch[j] = previous[j] * (1 - weight) + current[j] * weight;
    }

    // What each column's value is multiplied by: the row's normalisation (by its
    // largest magnitude) and the time domain's amplitude zoom.
    factor = 1.0f;
    if (spectrum && BlendsSpectra()) {
        BlendSpectra(s0, s1, m_raster.columns[size_t(column)], weight, scratch, rs.squares.data());
        v = scratch;
    } else if (spectrum) {
        AmplitudeSpectrum(v, n, scratch);
        v = scratch;
    } else if (normalised) {
        if (!largestKnown) largest = LargestFinite(v + a.first, a.last - a.first);
        if (curve) {
            ScaleCurveRow(scratch, hi); // a curve's row is always the scratch row
            if (largest == 0) factor = 0;
        } else {
            factor = largest > 0 ? 1.0f / largest : 0.0f; // a row of zeros stays 0, its gaps gaps
        }
    }
    if (m_samples.domain == kDomainTime) factor *= m_gain;
    return v;
}

void CVdlWnd::RenderRow(int row, int column, int s0, int s1, float weight, RowScratch& scratch)
{
    float factor = 1.0f;
    const float* v = RowValues(column, s0, s1, weight, factor, scratch);
    // One value per pixel column, held to -1 .. 1 (raw slowness values included); a
    // colour straight away for the image.
    const int w = m_raster.imageWidth;
    const int* i0 = m_columns.i0.data();
    const int* i1 = m_columns.i1.data();
    const float* frac = m_columns.frac.data();
    const int x0 = (w + m_gap) * column;
    if (!m_item.signature) {
        ColourRow(v, i0, i1, frac, factor, w, m_colourTable.data() + 1, m_item.image.Row(row) + x0 + 1);
        return;
    }
    auto valueAt = [&](int c) {
        const float v0 = v[i0[c]];
        const float x = (v0 + (v[i1[c]] - v0) * frac[c]) * factor;
        const float low = x < -1.0f ? -1.0f : x; // NaN stays NaN: a gap
        return low > 1.0f ? 1.0f : low;
    };
    float* values = m_values.data();
    for (int c = 0; c < w; ++c) values[c] = valueAt(c);
    if (row % kWigglePeriod == 0) LayOutWiggle(row, x0, values);
}

void CVdlWnd::LayOutWiggle(int row, int x0, const float* values)
{
    // A wiggle about its base line, broken where a value is not a number.
    const int w = m_raster.imageWidth;
    const int base = row + 1 + 24 + Trunc(m_wiggleFactor * 20);
    const int left = m_leftMargin + x0;
    int length = 0;
    for (int c = 0; c + 1 < w; ++c) {
        if (std::isnan(values[c])) {
            if (length > 0) m_item.wiggleLengths.push_back(length);
            length = 0;
            continue;
        }
        m_item.wiggles.push_back({left + c, base - Trunc(values[c] * m_wiggleFactor * 20)});
        ++length;
    }
    if (length > 0) m_item.wiggleLengths.push_back(length);
}

void CVdlWnd::ScaleCurveRow(float* v, int hi)
{
    // Curves of a frequency or a slowness: their values between the range's ends, 0
    // (no pick) kept.
    const Axis& a = m_axis;
    double low = m_setup.freqStart, high = m_setup.freqStop;
    if (m_instSlowness) {
        low = 5000, high = 0;
        for (int j = a.first; j < hi; ++j) {
            if (v[j] == 0) continue;
            if (v[j + 1] == 0) {
                v[j] = 0; // a pick without a follower is left out
                continue;
            }
            low = std::min(low, double(v[j]));
            high = std::max(high, double(v[j]));
        }
        low = std::max(0.9 * low, double(m_setup.slowMin));
        high = std::min(1.1 * high, double(m_setup.slowMax));
    }
    const double range = high - low;
    for (int j = a.first; j <= hi; ++j)
        if (v[j] != 0) v[j] = range > 0 ? float(std::clamp((v[j] - low) / range, 0.0, 1.0)) : std::isnan(v[j]) ? NAN : 0.0f;
}

void CVdlWnd::LayOutAnnotations()
{
    // Every receiver column has its label above it and, below the rows, the labelled
    // ticks of its axis with a dotted line up through the image.
    const Axis& a = m_axis;
    const int w = m_raster.imageWidth;
    int minor = 500, major = 500, tickStart = a.firstTick;
    const float span = a.span;
    switch (m_samples.domain) {
    case kDomainTime:
        major = span < 5000 ? 500 : span < 10000 ? 1000 : span < 15000 ? 2000 : span < 20000 ? 3000 : 4000;
        if (span <= 500) minor = major = 100;
        break;
    case kDomainFrequency:
        major = span <= 2500 ? 500 : span <= 5000 ? 1000 : span < 10000 ? 2500 : 5000;
        break;
    case kDomainSlowness:
        minor = 50;
        major = span > 500 ? 100 : 50;
        break;
    default:
        minor = 10;
        major = span > 100 ? 90 : 10;
        tickStart = 0;
        break;
    }
    (void)minor; // the ticks between labels carry no mark
    int64_t firstLabel = tickStart / major;
    if (firstLabel * major < tickStart) ++firstLabel;
    firstLabel *= major;
    const double perColumn = double(span) / w;
    const int y0 = Trunc(m_wiggleFactor * m_wiggleAmplitude) + m_topMargin;
    const bool whole = m_samples.domain == kDomainSlowness || m_samples.domain == kDomainAzimuth;
    m_tickLines.clear();
    if (perColumn > 0) {
        const TickWalk walk(firstLabel, major, a.start, a.start + perColumn * (w - 1), w);
        for (int c = 0; c < int(m_raster.columns.size()); ++c) {
            const int x0 = (w + m_gap) * c + m_leftMargin;
            for (int value : walk) {
                const int j = std::clamp(Trunc(std::floor((value - double(a.start)) / perColumn)), 0, w - 1);
                if (j > w - 2) continue;
                m_tickLines.push_back(x0 + j);
                if (m_tickLabels.size() <= size_t(m_tickCount)) m_tickLabels.resize(size_t(m_tickCount) + 1);
                Label& label = m_tickLabels[size_t(m_tickCount++)];
                label.y = y0 + m_raster.rowsDrawn + 1;
                if (whole) {
                    label.x = x0 + j - 5;
                    FormatInto(label.text, "%4d", value);
                } else {
                    label.x = x0 + j;
                    FormatInto(label.text, "%2.1f", value * 0.001);
                }
            }
        }
    }
}

// ---- painting ----------------------------------------------------------------------------------

void CVdlWnd::OnPaint(Dc& dc)
{
    if (m_iconic) return;
    const Rect client = GetClientRect();
    if (client.IsEmpty()) {
        m_iconic = true;
        return;
    }
    const WindowClass* windowClass = FindWindowClass(ClassName());
    dc.SelectFont({"Ariel", m_item.fontHeight, FW_NORMAL});
    dc.FillRect(client, windowClass ? windowClass->background : kBackground);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(Rgb(0, 0, 0));

    if (!m_item.signature && m_raster.rowsDrawn > 0 && !m_item.image.Empty())
        dc.StretchImage(m_raster.imageRect, m_item.image, {0, 0, m_item.image.width, m_raster.rowsDrawn});
    if (!m_item.wiggleLengths.empty()) {
        dc.SelectPen(kBlackPen);
        const Point* points = m_item.wiggles.data();
        for (int length : m_item.wiggleLengths) {
            if (length >= 2) dc.Polyline(points, length);
            points += length;
        }
    }

    dc.SetTextAlign(TA_LEFT | TA_TOP);
    for (int i = 0; i < m_depthLabelCount; ++i) {
        const Label& label = m_depthLabels[size_t(i)];
        dc.TextOut(label.x, label.y, label.text);
    }
    if (m_raster.rowsDrawn > 0) {
        const int y0 = Trunc(m_wiggleFactor * m_wiggleAmplitude) + m_topMargin;
        dc.SelectPen(kDottedPen);
        for (int x : m_tickLines) {
            dc.MoveTo(x, y0);
            dc.LineTo(x, y0 + m_raster.rowsDrawn);
        }
    }
    dc.SetTextAlign(TA_CENTER | TA_TOP);
    for (int i = 0; i < m_tickCount; ++i) {
        const Label& label = m_tickLabels[size_t(i)];
        dc.TextOut(label.x, label.y, label.text);
    }
    if (m_raster.imageWidth > 0)
        for (int c = 0; c < int(m_raster.columns.size()); ++c) {
            const size_t receiver = size_t(m_raster.columns[size_t(c)]);
            if (receiver < m_traceLabels.size())
                dc.TextOut((m_raster.imageWidth + m_gap) * c + m_leftMargin + m_raster.imageWidth / 2, 12, m_traceLabels[receiver]);
        }
    const int y0 = Trunc(m_wiggleFactor * m_wiggleAmplitude) + m_topMargin;
    dc.TextOut(m_item.clientWidth / 2, m_item.fontHeight / 4, m_caption);
    dc.TextOut(m_item.clientWidth / 2, y0 + m_raster.rowsDrawn + m_item.fontHeight - 1, m_item.axisTitle);
}
