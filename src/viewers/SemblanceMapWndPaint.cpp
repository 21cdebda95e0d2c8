#include "viewers/SemblanceMapWnd.h"

#include "common/ParallelRows.h"

#include "viewers/Palettes.h"
#include "viewers/ViewOptions.h"
#include "platform/Format.h"
#include "platform/SafeNumeric.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr Color kGray = Rgb(192, 192, 192);
constexpr Pen kBlackPen{PS_SOLID, 0, Rgb(0, 0, 0)};

} // namespace

void CSemblanceMapWnd::Layout()
{
    const Rect client = GetClientRect();
    m_item.clientWidth = client.Width();
    m_item.clientHeight = client.Height();
    // The time labels on the left, the title above, the slowness labels and axis
    // title below.
    const int left = kMargin + kLabelBand, top = kHeader;
    const int right = std::max(m_item.clientWidth - kMargin, left);
    const int bottom = std::max(m_item.clientHeight - kBottomBand, top);
    m_mapRect = {left, top, right, bottom};
}

CSemblanceMapWnd::RenderKey CSemblanceMapWnd::KeyNow() const
{
    RenderKey k;
    k.width = m_mapRect.Width();
    k.height = m_mapRect.Height();
    k.framesRead = m_item.framesRead;
    k.timeStart = m_time.start;
    k.timeStop = m_time.stop;
    k.slownessStart = m_slowness.start;
    k.slownessSpan = m_slowness.span;
    k.pen = m_tracePen.color;
    k.background = m_backgroundBrush.color;
    return k;
}

void CSemblanceMapWnd::PrepareRepaint()
{
    if (!IsWindow() || m_iconic) return;
    // The display commands leave their zoom requests for the active view; a map has
    // no depth axis to zoom.
    auto& d = theApp.m_display;
    if (d.activeWindowId == m_windowId) {
        d.depthZoomRequest = 0;
        if (const int request = d.dataAxisZoomRequest) {
            d.dataAxisZoomRequest = 0;
            ApplyZoom(request);
        }
    }
    RefreshDrawingObjects();
    Layout();
    if (!(KeyNow() == m_rendered)) Render();
    SetScrollBars();
}

void CSemblanceMapWnd::MapColumns()
{
    // Column c shows slowness start + c x span / width, between the two samples
    // around it.
    const int w = m_mapRect.Width();
    m_columns.resize(size_t(w));
    const double perColumn = double(m_slowness.span) / w;
    for (int c = 0; c < w; ++c) {
        const double at = (m_slowness.start + c * perColumn) / m_samples.ds - m_samples.fs;
        const int i0 = std::clamp(ClampToInt(std::floor(at)), 0, m_samples.ns - 1);
        m_columns[size_t(c)] = {i0, std::min(i0 + 1, m_samples.ns - 1), float(std::clamp(at - i0, 0.0, 1.0))};
    }
    m_fractions.resize(size_t(w));
    m_runs.clear();
    for (int c = 0; c < w; ++c) {
        const Column& col = m_columns[size_t(c)];
        m_fractions[size_t(c)] = col.frac;
        if (m_runs.empty() || m_runs.back().i0 != col.i0 || m_runs.back().i1 != col.i1)
            m_runs.push_back({c, c, col.i0, col.i1, col.frac, col.frac});
        m_runs.back().end = c + 1;
        m_runs.back().lastFraction = col.frac;
    }
}

void CSemblanceMapWnd::RenderRow(const float* p, uint32_t* pixels, RowScratch& scratch) const
{
    // Each column is v0 + (v1 - v0) x frac of its run's samples, coloured by RampIndex;
    // a column on a sample (frac 0) takes v0 whatever v1 holds.
    const uint32_t* colours = m_colourTable.data() + 1;
    const float* fractions = m_fractions.data();
    constexpr float top = float(kRampColours - 1);

    // A sample is "clear" when 31 x its value lies at least kMargin inside one level
    // (below 1 counts as level 0). Columns between two clear samples of one level are
    // of that level too: their values lie between the samples' but for rounding, a
    // few 1e-7 of a value of at most 1, far less than the margin.
    constexpr float kMargin = 1e-3f;
    const int lo = m_runs.front().i0, hi = m_runs.back().i1;
    int8_t* clear = scratch.clearLevel.data();
    for (int k = lo; k <= hi; ++k) {
        // A gap (no number) is never clear.
        const float x = p[k] * top;
        const float held = x > 0.0f ? x : 0.0f;
        const int level = int(held);
        const float within = held - float(level);
        const int inside = (within >= kMargin) & (within <= 1.0f - kMargin);
        clear[k] = int8_t(x < 1.0f - kMargin ? 0 : inside ? level : -1);
    }

    for (size_t r = 0; r < m_runs.size(); ++r) {
        const Run& run = m_runs[r];
        const int level = clear[run.i0];
        if (level >= 0 && clear[run.i1] == level) {
            // This run and the next ones of the same clear level, in one fill.
            int end = run.end;
            while (r + 1 < m_runs.size() && clear[m_runs[r + 1].i0] == level && clear[m_runs[r + 1].i1] == level)
                end = m_runs[++r].end;
            std::fill(pixels + run.begin, pixels + end, colours[level]);
            continue;
        }
        const float v0 = p[run.i0];
        const float step = p[run.i1] - v0;
        if (step != step) {
            // A gap at either sample: the general rule, column by column.
            for (int c = run.begin; c < run.end; ++c)
                pixels[c] = colours[RampIndex(fractions[c] == 0.0f ? v0 : v0 + step * fractions[c])];
            continue;
        }
        // Both samples are numbers, and so is every column between them (where frac 0
        // adds a zero). The level grows or falls steadily along the run: equal levels
        // at its ends colour the whole run.
        auto levelAt = [&](float frac) {
            const float x = (v0 + step * frac) * top;
            return int(x < top ? (x > 0.0f ? x : 0.0f) : top);
        };
        const int first = levelAt(run.firstFraction), last = levelAt(run.lastFraction);
        uint32_t* out = pixels + run.begin;
        const int n = run.end - run.begin;
        if (first == last) {
            std::fill(out, out + n, colours[first]);
            continue;
        }
        out[0] = colours[first];
        for (int k = 1; k < n - 1; ++k) out[k] = colours[levelAt(fractions[run.begin + k])];
        out[n - 1] = colours[last];
    }
}

const float* CSemblanceMapWnd::NormalisedRow(int j, int keep, RowScratch& scratch) const
{
    // Row j over the window's samples, divided by its largest value and held to
    // -1..1 (a value that is not a number stays one: a gap). Two rows are kept, since
    // several pixel rows fall between the same two time samples.
    for (int s = 0; s < 2; ++s)
        if (scratch.cachedRow[size_t(s)] == j) return scratch.rowCache[size_t(s)].data();
    const int slot = scratch.cachedRow[0] == keep ? 1 : 0;
    scratch.cachedRow[size_t(slot)] = j;
    float* out = scratch.rowCache[size_t(slot)].data();
    const float* row = m_samples.values.data() + size_t(j) * size_t(m_samples.ns);
    const double scale = m_samples.rowScale[size_t(j)];
    const int lo = std::clamp(m_slowness.first - m_samples.fs, 0, m_samples.ns - 1);
    const int hi = std::clamp(m_slowness.last - m_samples.fs, 0, m_samples.ns - 1);
    for (int k = lo; k <= hi; ++k) {
        const double v = double(row[k]) * scale;
        out[k] = float(v < -1.0 ? -1.0 : v > 1.0 ? 1.0 : v);
    }
    return out;
}

const float* CSemblanceMapWnd::Profile(double time, RowScratch& scratch) const
{
    // Between the rows around `time`.
    const double at = time / m_samples.dt - m_samples.ft;
    const int j0 = std::clamp(ClampToInt(std::floor(at)), 0, m_samples.nt - 1);
    const int j1 = std::min(j0 + 1, m_samples.nt - 1);
    const float weight = j1 == j0 ? 0.0f : float(std::clamp(at - j0, 0.0, 1.0));
    const float* r0 = NormalisedRow(j0, j1, scratch);
    if (weight == 0.0f) return r0;
    const float* r1 = NormalisedRow(j1, j0, scratch);
    const int lo = std::clamp(m_slowness.first - m_samples.fs, 0, m_samples.ns - 1);
    const int hi = std::clamp(m_slowness.last - m_samples.fs, 0, m_samples.ns - 1);
    float* p = scratch.profile.data();
    for (int k = lo; k <= hi; ++k) p[k] = r0[k] + (r1[k] - r0[k]) * weight;
    return p;
}

float CSemblanceMapWnd::ColumnValue(const float* profile, int c) const
{
    // A column on a sample shows that sample; between two, a gap beside a gap.
    const Column& col = m_columns[size_t(c)];
    const float v0 = profile[col.i0];
    if (col.frac == 0.0f) return v0;
    return v0 + (profile[col.i1] - v0) * col.frac;
}

void CSemblanceMapWnd::Render()
{
    m_rendered = KeyNow();
    m_item.wiggles.clear();
    m_item.wiggleLengths.clear();
    const int w = m_mapRect.Width(), rows = m_mapRect.Height();
    LayOutAnnotations();
    if (w < 1 || rows < 1 || m_samples.values.empty()) {
        m_item.image = Image();
        return;
    }
    MapColumns();
    m_colourTable.resize(kColours + 1);
    m_colourTable[0] = ToArgb(kGray); // a gap
    for (int i = 0; i < kColours; ++i) m_colourTable[size_t(i) + 1] = PaletteColour(m_item.palette, i);
    if (!m_item.signature && (m_item.image.width != w || m_item.image.height != rows)) m_item.image = Image(w, rows);
    if (m_item.signature) m_item.image = Image();

    // Row y shows the time stop - y x (stop - start) / rows: the top row the window's
    // stop, the rows below ever earlier. An image's rows are coloured in bands on the
    // machine's cores, each band with its own scratch; a wiggle's points are laid out
    // in row order, on this thread.
    const double perRow = (m_time.stop - m_time.start) / rows;
    const size_t workers = m_item.signature ? 1 : size_t(parallel_rows::Workers());
    if (m_scratch.size() < workers) m_scratch.resize(workers);
    for (RowScratch& scratch : m_scratch) {
        scratch.cachedRow = {-1, -1};
        for (auto& row : scratch.rowCache) row.resize(size_t(m_samples.ns));
        scratch.profile.resize(size_t(m_samples.ns));
        scratch.clearLevel.resize(size_t(m_samples.ns));
    }
    if (!m_item.signature) {
        constexpr int kRowsPerBand = 32;
        parallel_rows::For(rows, kRowsPerBand, [&](int begin, int end, int worker) {
            RowScratch& scratch = m_scratch[size_t(worker)];
            for (int y = begin; y < end; ++y) RenderRow(Profile(m_time.stop - y * perRow, scratch), m_item.image.Row(y), scratch);
        });
        return;
    }
    for (int y = 0; y < rows; y += kWigglePeriod) {
        const float* p = Profile(m_time.stop - y * perRow, m_scratch[0]);
        // A wiggle above its row, broken where a value is not a number, kept below
        // the top of the map.
        const int base = m_mapRect.top + y;
        int length = 0;
        for (int c = 0; c < w; ++c) {
            const float v = ColumnValue(p, c);
            if (std::isnan(v)) {
                if (length > 0) m_item.wiggleLengths.push_back(length);
                length = 0;
                continue;
            }
            // Held to -1..1: a value outside lifts no further than a semblance of 1.
            const float held = std::clamp(v, -1.0f, 1.0f);
            m_item.wiggles.push_back({m_mapRect.left + c, std::max(base - int(held * kWiggleGain), m_mapRect.top)});
            ++length;
        }
        if (length > 0) m_item.wiggleLengths.push_back(length);
    }
}

void CSemblanceMapWnd::LayOutAnnotations()
{
    // Time: a tick at every grid value from the first one down to the window's start,
    // labelled where it is a multiple of the label step. Slowness: the same from the
    // first grid value up to the window's end.
    const Rect& r = m_mapRect;
    m_marks.timeTicks.clear();
    m_marks.slownessTicks.clear();
    m_marks.timeLabels.clear();
    m_marks.slownessLabels.clear();
    const int rows = r.Height(), w = r.Width();
    const double timeWidth = m_time.stop - m_time.start;
    if (rows > 0 && timeWidth > 0 && m_time.tickStep > 0)
        for (int value : TickWalk(0, m_time.tickStep, m_time.start, m_time.firstGrid, rows)) {
            const int y = r.top + ClampToInt((m_time.stop - value) / timeWidth * rows);
            if (y >= r.bottom) continue;
            m_marks.timeTicks.push_back(y);
            if (value % m_time.labelStep == 0) m_marks.timeLabels.push_back({y, Format("%d", value)});
        }
    if (w > 0 && m_slowness.span > 0 && m_slowness.tickStep > 0)
        for (int value : TickWalk(m_slowness.firstGrid, m_slowness.tickStep, m_slowness.firstGrid,
                                  m_slowness.start + m_slowness.span, w)) {
            const int x = r.left + ClampToInt((value - m_slowness.start) / m_slowness.span * w);
            if (x >= r.right) continue;
            m_marks.slownessTicks.push_back(x);
            if (value % m_slowness.labelStep == 0) m_marks.slownessLabels.push_back({x, Format("%4d", value)});
        }
}

// ---- painting ----------------------------------------------------------------------------------

void CSemblanceMapWnd::OnPaint(Dc& dc)
{
    if (m_iconic) return;
    const Rect client = GetClientRect();
    if (client.IsEmpty()) {
        m_iconic = true;
        return;
    }
    dc.SelectFont({"Ariel", m_item.fontHeight, FW_NORMAL});
    const bool mapCovered = m_item.signature ? !m_mapRect.IsEmpty() : !m_item.image.Empty();
    FillAround(dc, client, mapCovered ? m_mapRect : Rect{}, kGray);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(Rgb(0, 0, 0));
    PaintMap(dc);
    PaintTimeAxis(dc);
    PaintSlownessAxis(dc);
    PaintTitles(dc);
}

void CSemblanceMapWnd::PaintMap(Dc& dc)
{
    const Rect& r = m_mapRect;
    if (!m_item.signature) {
        if (!m_item.image.Empty()) dc.StretchImage(r, m_item.image);
        return;
    }
    if (r.IsEmpty()) return;
    dc.FillRect(r, m_backgroundBrush.color);
    dc.SelectPen({PS_SOLID, 0, m_tracePen.color});
    const Point* points = m_item.wiggles.data();
    for (int length : m_item.wiggleLengths) {
        if (length >= 2) dc.Polyline(points, length);
        points += length;
    }
}

void CSemblanceMapWnd::PaintTimeAxis(Dc& dc)
{
    // Ticks and labels left of the map, in microseconds.
    const Rect& r = m_mapRect;
    dc.SelectPen(kBlackPen);
    for (int y : m_marks.timeTicks) {
        dc.MoveTo(r.left - kTick, y);
        dc.LineTo(r.left, y);
    }
    dc.SetTextAlign(TA_RIGHT | TA_TOP);
    for (const Label& label : m_marks.timeLabels) dc.TextOut(r.left - kTick - 1, label.at - m_item.fontHeight / 2, label.text);
    dc.SetTextAlign(TA_CENTER | TA_TOP);
    dc.TextOut((r.left - kTick) / 2, r.top - m_item.fontHeight - 2, "[uSec]");
}

void CSemblanceMapWnd::PaintSlownessAxis(Dc& dc)
{
    // Ticks and labels below the map; a label is kept inside the window.
    const Rect& r = m_mapRect;
    dc.SelectPen(kBlackPen);
    for (int x : m_marks.slownessTicks) {
        dc.MoveTo(x, r.bottom);
        dc.LineTo(x, r.bottom + kTick);
    }
    dc.SetTextAlign(TA_CENTER | TA_TOP);
    for (const Label& label : m_marks.slownessLabels) {
        const int half = dc.GetTextExtent(label.text).cx / 2;
        dc.TextOut(std::min(label.at, m_item.clientWidth - half - 1), r.bottom + kTick + 1, label.text);
    }
}

void CSemblanceMapWnd::PaintTitles(Dc& dc)
{
    dc.SetTextAlign(TA_CENTER | TA_TOP);
    dc.TextOut(m_item.clientWidth / 2, m_item.fontHeight / 4, m_title);
    dc.TextOut(m_item.clientWidth / 2, m_mapRect.bottom + kTick + 2 + m_item.fontHeight, m_item.axisTitle);
}
