// The processing windows' page: its rows rendered frame by frame, kept and moved while
// the page scrolls, and painted.
#include "processing/ProcessingWnd.h"

#include "common/ParallelRows.h"
#include "platform/Format.h"
#include "platform/SafeNumeric.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <bit>
#include <climits>
#include <cmath>
#include <cstring>

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
    else if (m_page.topPosition != m_renderedTop) ScrollPage();
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

// ---- the rows ---------------------------------------------------------------------------------
// Rows lie on a grid of the depth axis: row k a pixel's depth times k below the
// range's start, the page starting at the row at or above its top frame (the range's
// first page starts on its first frame). A row's content then depends on its depth
// only, so rows a move keeps are moved, not drawn again.

void CProcessingWnd::StartRows()
{
    const double dpp = m_page.depthPerPixel, depth0 = DepthOfPosition(m_page.topPosition);
    const double first = dpp > 0 ? std::floor((depth0 - m_range.start) / dpp) : NAN;
    // Without a depth step or a pixel's depth, or at depths the grid cannot count,
    // the page is the old one-off: rows from the top frame's depth, drawn afresh.
    m_gridded = m_frames.Step() > 0 && std::isfinite(first) && std::fabs(first) < 1e12;
    m_firstRow = m_gridded ? int64_t(first) : 0;
    m_renderedTop = m_page.topPosition;
}

double CProcessingWnd::RowDepth(int row) const
{
    if (m_gridded) return m_range.start + double(m_firstRow + row) * m_page.depthPerPixel;
    return DepthOfPosition(m_page.topPosition) + row * m_page.depthPerPixel;
}

bool CProcessingWnd::PlaceRow(int row, RowPlace& place) const
{
    const int top = m_page.topPosition, end = m_range.bottom;
    const double step = m_frames.Step();
    place.depth = RowDepth(row);
    // The row's place between two frames, in depth order.
    const bool single = !m_gridded && (end == top || !(step > 0));
    double at = single ? (row == 0 ? top : INFINITY) : (place.depth - m_frames.TopDepth()) / step;
    if (!(at <= end + 1e-9)) return false;
    if (!m_gridded) at = std::max(at, double(top));
    place.p0 = std::clamp(ClampToInt(std::floor(at)), m_gridded ? m_range.top : top, end);
    place.p1 = std::min(place.p0 + 1, end);
    place.weight = place.p1 == place.p0 ? 0.0f : float(std::clamp(at - place.p0, 0.0, 1.0));
    return true;
}

int CProcessingWnd::CountRows() const
{
    RowPlace place;
    int rows = 0;
    while (rows < m_page.pageRows && PlaceRow(rows, place)) ++rows;
    return rows;
}

int CProcessingWnd::PlanRenderFrame(int position)
{
    // Only the slot's place here: the band that reads into it sizes it (ReadFrameInto),
    // so that a first picture's hundreds of new slots are touched on every core.
    const int b = m_renderLoaded++;
    if (m_renderFrames.size() <= size_t(b)) {
        m_renderFrames.emplace_back();
        m_renderPositions.push_back(-1);
    }
    m_renderPositions[size_t(b)] = position;
    return b;
}

bool CProcessingWnd::LoadRenderFrame(int b, RowScratch& scratch, bool& fileFailed)
{
    // A page reads only its tracks' slots, each a trace's (tracks are traces below
    // min(m_receivers, kSlots)): the slots no trace fills are not cleared, which is
    // as much work again as the read where half the slots are used.
    return ReadFrameInto(m_frames.FrameAtScrollPosition(m_renderPositions[size_t(b)]), m_renderFrames[size_t(b)], scratch.read,
                         fileFailed, false); // a gap when it fails
}

void CProcessingWnd::RenderRows(int from, int to)
{
    const bool everyRow = EveryRow();
    const Selection& s = m_selection;
    const uint32_t background = ToArgb(m_background);
    // First where the drawn rows lie: the frames they lie between, each given a slot
    // once, in depth order (a row's place never lies above the row before's).
    m_renderLoaded = 0;
    auto slotOf = [this](int position) {
        for (int b = m_renderLoaded; b-- > std::max(m_renderLoaded - 2, 0);)
            if (m_renderPositions[size_t(b)] == position) return b;
        return PlanRenderFrame(position);
    };
    m_rowFrames.clear();
    RowPlace place;
    for (int row = from; row < to && PlaceRow(row, place); ++row) {
        RowFrames& f = m_rowFrames.emplace_back();
        if (!everyRow && (m_firstRow + row) % kRowDecimation != 0) continue;
        f.s0 = slotOf(place.p0);
        f.s1 = place.p1 == place.p0 ? f.s0 : slotOf(place.p1);
        f.weight = place.weight;
        f.interval = s.started && place.depth >= s.top && place.depth <= s.bottom;
    }
    if (m_rowFrames.empty()) return;
    ReserveRenderSlots(m_renderLoaded);
    TakePalette();
    BeforeRows();
    // Then the rows are drawn in bands on every core, each band with its own scratch. A
    // frame is read and finished (RenderFrameLoaded: corrections, transforms) by the
    // first band that needs it, a band waiting for a neighbour already at it: the reads
    // and the transforms run on every core, each frame's once. A failed read is a gap,
    // reported here afterwards, never from a band.
    constexpr int kRowsPerBand = 16;
    m_renderFinished.Reset(m_renderLoaded);
    std::atomic<bool> failed{false};
    auto finish = [&](int b, RowScratch& scratch) {
        m_renderFinished.Do(b, [&] {
            bool fileFailed = false;
            const bool read = LoadRenderFrame(b, scratch, fileFailed);
            if (fileFailed) failed.store(true, std::memory_order_relaxed);
            RenderFrameLoaded(b, m_frames.FrameAtScrollPosition(m_renderPositions[size_t(b)]), read);
        });
    };
    const size_t workers = size_t(parallel_rows::Workers());
    if (m_scratch.size() < workers) m_scratch.resize(workers);
    for (RowScratch& scratch : m_scratch) {
        scratch.row.resize(size_t(m_n) + 1);
        scratch.pixels.resize(size_t(std::max(m_image.width, 0))); // a row's values never span more
    }
    parallel_rows::For(int(m_rowFrames.size()), RowsOnOneThread() ? INT_MAX : kRowsPerBand, [&](int begin, int end, int worker) {
        RowScratch& scratch = m_scratch[size_t(worker)];
        for (int i = begin; i < end; ++i) {
            const int row = from + i;
            std::fill_n(m_image.Row(row), m_image.width, background);
            m_wiggleRows[size_t(row)].values.clear();
            m_wiggleRows[size_t(row)].runs.clear();
            const RowFrames& f = m_rowFrames[size_t(i)];
            if (f.s0 < 0) continue;
            finish(f.s0, scratch);
            finish(f.s1, scratch);
            RenderRow(row, f.s0, f.s1, f.weight, f.interval, scratch);
        }
    });
    // Every planned frame is some drawn row's, so each was read once.
    m_page.framesRead += m_renderLoaded;
    if (failed.load()) (void)OkOrShow(m_file.ReportFrameReadFailure()); // only told: the rows show no data
}

void CProcessingWnd::Render()
{
    m_rendered = KeyNow();
    m_page.framesRead = 0;
    m_page.rowsDrawn = 0;
    m_depthLabels.clear();
    StartRows();
    const int width = ImageWidth();
    // Nothing to draw with no receiver shown, or in a window too small for a pixel.
    if (width < 1 || m_page.pageRows < 1) {
        m_page.plotRect = {};
        m_image = Image();
        m_wiggleRows.clear();
        FinishPage();
        return;
    }
    const uint32_t background = ToArgb(m_background);
    const bool sized = m_image.width == width && m_image.height == m_page.pageRows;
    if (!sized) m_image = Image(width, m_page.pageRows, background);
    m_wiggleRows.resize(size_t(m_page.pageRows));
    for (WiggleRow& w : m_wiggleRows) w.values.clear(), w.runs.clear();
    m_page.rowsDrawn = CountRows();
    // The rows drawn are cleared by their bands, on every core; here only those below.
    if (sized)
        for (int row = m_page.rowsDrawn; row < m_image.height; ++row) std::fill_n(m_image.Row(row), m_image.width, background);
    RenderRows(0, m_page.rowsDrawn);
    FinishPage();
}

void CProcessingWnd::ScrollPage()
{
    const int64_t oldFirst = m_firstRow;
    const int oldRows = m_page.rowsDrawn;
    const bool wasGridded = m_gridded;
    StartRows();
    if (!wasGridded || !m_gridded || m_image.Empty()) {
        Render();
        return;
    }
    m_page.framesRead = 0;
    const int rows = CountRows();
    // New row r is old row r + shift: the rows both pages hold are moved.
    const int64_t shift = m_firstRow - oldFirst;
    const int keepFrom = int(std::clamp<int64_t>(-shift, 0, rows));
    const int keepTo = int(std::clamp<int64_t>(int64_t(oldRows) - shift, keepFrom, rows));
    if (keepFrom < keepTo && shift != 0) {
        const size_t width = size_t(m_image.width);
        uint32_t* pixels = m_image.pixels.data();
        std::memmove(pixels + size_t(keepFrom) * width, pixels + size_t(keepFrom + shift) * width,
                     size_t(keepTo - keepFrom) * width * sizeof(uint32_t));
        auto from = m_wiggleRows.begin() + (keepFrom + shift), to = from + (keepTo - keepFrom);
        if (shift > 0) std::move(from, to, m_wiggleRows.begin() + keepFrom);
        else std::move_backward(from, to, m_wiggleRows.begin() + keepTo);
    }
    m_page.rowsDrawn = rows;
    RenderRows(0, keepFrom);
    RenderRows(keepTo, rows);
    // Rows past the range's end stay in the background, as a fresh page leaves them.
    const uint32_t background = ToArgb(m_background);
    for (int row = rows; row < std::min(oldRows, m_image.height); ++row) {
        std::fill_n(m_image.Row(row), m_image.width, background);
        m_wiggleRows[size_t(row)].values.clear();
        m_wiggleRows[size_t(row)].runs.clear();
    }
    FinishPage();
}

void CProcessingWnd::FinishPage()
{
    const int rows = m_page.rowsDrawn;
    const double dpp = m_page.depthPerPixel;
    m_page.pageTopDepth = RowDepth(0);
    m_page.pageBottomDepth = rows > 0 ? RowDepth(rows - 1) : m_page.pageTopDepth;
    m_page.lastPosition = m_page.topPosition;
    RowPlace place;
    if (rows > 0 && PlaceRow(rows - 1, place)) m_page.lastPosition = place.weight > 0 ? place.p1 : place.p0;
    if (m_image.Empty()) return;
    m_page.plotRect = {m_page.leftMargin, m_page.topMargin, m_page.leftMargin + m_image.width, m_page.topMargin + rows};
    // A depth label where a multiple of the label step falls within a pixel of a row,
    // unless it would overlap the one before.
    m_depthLabels.clear();
    const double labelStep = m_common.depthLabelStep, depth0 = m_page.pageTopDepth;
    double nextLabel = std::isfinite(depth0) && labelStep > 0 ? std::ceil(depth0 / labelStep) * labelStep : NAN;
    int lastLabelY = -m_page.fontHeight;
    for (int row = 0; row < rows && std::isfinite(nextLabel); ++row) {
        const double depth = RowDepth(row);
        if (nextLabel > depth + dpp) continue;
        const int y = m_page.topMargin + row - m_page.fontHeight / 2;
        if (nextLabel >= depth - dpp && y >= lastLabelY + m_page.fontHeight) {
            m_depthLabels.push_back({5, y, Format("%5.0f", nextLabel)});
            lastLabelY = y;
        }
        nextLabel = (std::floor((depth + dpp) / labelStep) + 1) * labelStep;
    }
}

void CProcessingWnd::MapColumns(ColumnMap& map, int first, int last, int width)
{
    if (map.first == first && map.last == last && map.width == width) return;
    map.first = first, map.last = last, map.width = width;
    map.i0.resize(size_t(std::max(width, 0)));
    map.i1.resize(map.i0.size());
    map.frac.resize(map.i0.size());
    const double perPixel = double(last - first) / width;
    for (int x = 0; x < width; ++x) {
        const double at = first + x * perPixel;
        const int i0 = std::clamp(ClampToInt(std::floor(at)), first, last);
        map.i0[size_t(x)] = i0;
        map.i1[size_t(x)] = std::min(i0 + 1, last);
        map.frac[size_t(x)] = float(at - i0);
    }
}

namespace {

// Built twice, for AVX2 and for any x86-64, and picked by the loader (ThreadSanitizer
// builds take the baseline: the loader picks before the sanitizer is set up).
#if defined(__x86_64__) && defined(__GLIBC__) && !defined(__SANITIZE_THREAD__)
#define PAGE_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define PAGE_CLONES
#endif

// The largest magnitude's bits of a[j] + (b[j] - a[j]) * weight over the whole groups
// of eight from `first`; `end` gets where they stop.
PAGE_CLONES int32_t LargestMagnitudeBits8(const float* a, const float* b, float weight, int first, int last, int& end)
{
    using F8 = float __attribute__((vector_size(32)));
    using I8 = int32_t __attribute__((vector_size(32)));
    I8 most = {};
    int j = first;
    for (; j + 8 <= last + 1; j += 8) {
        F8 a8, b8;
        std::memcpy(&a8, a + j, sizeof a8);
        std::memcpy(&b8, b + j, sizeof b8);
        const F8 v = a8 + (b8 - a8) * weight;
        I8 bits;
        std::memcpy(&bits, &v, sizeof bits);
        bits &= 0x7FFFFFFF;
        bits &= bits < 0x7F800000;
        const I8 larger = bits > most;
        most = (bits & larger) | (most & ~larger);
    }
    end = j;
    int32_t m = 0;
    for (int i = 0; i < 8; ++i) m = std::max(m, most[i]);
    return m;
}

// pixels[x] = lut[ColourIndex(values[x])] without a branch, so that it vectorises; a
// pixel whose value is no number keeps its colour.
PAGE_CLONES void ColourPixels(uint32_t* pixels, const float* values, int width, const uint32_t* lut, int top)
{
    const float last = float(top);
    for (int x = 0; x < width; ++x) {
        const float v = values[x];
        const bool gap = v != v;
        const float scaled = std::min(std::max(v * last, 0.0f), last);
        const uint32_t colour = lut[int(gap ? 0.0f : scaled)];
        pixels[x] = gap ? pixels[x] : colour;
    }
}

} // namespace

float CProcessingWnd::LargestMagnitude(const float* a, const float* b, float weight, int first, int last)
{
    // Non-negative floats order as their bit patterns do: the maximum is taken on the
    // magnitudes' bits, infinity and NaN (the patterns from 0x7F800000 up) left out,
    // eight lanes at a time.
    int j = first;
    int32_t m = LargestMagnitudeBits8(a, b, weight, first, last, j);
    for (; j <= last; ++j) {
        const float v = a[j] + (b[j] - a[j]) * weight;
        int32_t bits;
        std::memcpy(&bits, &v, sizeof bits);
        bits &= 0x7FFFFFFF;
        m = std::max(m, bits < 0x7F800000 ? bits : 0);
    }
    return std::bit_cast<float>(m);
}

void CProcessingWnd::TakePalette()
{
    const int palette = int(m_common.palette);
    if (m_lutPalette == palette) return;
    for (int i = 0; i < kColours; ++i) {
        m_lut[0][size_t(i)] = PaletteColour(palette, i, false);
        m_lut[1][size_t(i)] = PaletteColour(palette, i, true);
    }
    m_lutPalette = palette;
}

void CProcessingWnd::ColourRow(uint32_t* pixels, const float* values, int width, bool interval)
{
    ColourPixels(pixels, values, width, m_lut[interval ? 1 : 0].data(), kColours - 1);
}

void CProcessingWnd::AddWiggle(int row, int left, const float* values, int width)
{
    WiggleRow& w = m_wiggleRows[size_t(row)];
    int length = 0;
    for (int x = 0; x <= width; ++x) {
        if (x < width && std::isfinite(values[x])) {
            w.values.push_back(values[x]);
            ++length;
            continue;
        }
        if (length > 0) w.runs.push_back({left + x - length, length});
        length = 0;
    }
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

void CProcessingWnd::PaintWiggles(Dc& dc)
{
    bool selected = false;
    for (int row = 0; row < m_page.rowsDrawn && row < int(m_wiggleRows.size()); ++row) {
        const WiggleRow& w = m_wiggleRows[size_t(row)];
        const double base = m_page.topMargin + row;
        const float* v = w.values.data();
        for (const WiggleRun& run : w.runs) {
            if (!selected) dc.SelectPen(kWigglePen), selected = true;
            std::vector<Point>& points = m_curvePoints;
            points.clear();
            // Held well inside the coordinates a polyline can take, whatever the gain.
            for (int i = 0; i < run.length; ++i)
                points.push_back({run.left + i, ClampToInt(std::clamp(base - double(v[i]) * m_common.gain, -1e6, 1e6))});
            if (run.length >= 2) dc.Polyline(points.data(), run.length);
            v += run.length;
        }
    }
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

    if (m_common.style != WaveStyle::kSignature)
        dc.StretchImage({m_page.plotRect.left, m_page.plotRect.top, m_page.plotRect.left + m_image.width, m_page.plotRect.top + m_page.rowsDrawn},
                        m_image, {0, 0, m_image.width, m_page.rowsDrawn});
    PaintWiggles(dc);
    dc.SetTextAlign(TA_LEFT | TA_TOP);
    for (const Label& label : m_depthLabels) dc.TextOut(label.x, label.y, label.text);
    return true;
}
