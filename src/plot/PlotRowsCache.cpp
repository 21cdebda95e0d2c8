#include "plot/PlotRowsCache.h"

#include "plot/PlotModel.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

bool IsBreak(const Point& p) { return p == PlotBand::kBreak; }

// A curve's points from its line into row `from` on: the last point above `from`
// when the next one joins it, then the points at `from` and below. A list never
// starts with a break, since nothing before it would be drawn.
void TrimCurveAbove(std::vector<Point>& points, int from)
{
    const size_t none = points.size();
    size_t last = none; // the last point above `from`
    for (size_t k = 0; k < points.size(); ++k) {
        if (IsBreak(points[k])) continue;
        if (points[k].y >= from) break;
        last = k;
    }
    size_t keep = 0;
    if (last != none) {
        // Kept when the next point joins it, or when none has come yet.
        const bool joins = last + 1 == points.size() || !IsBreak(points[last + 1]);
        keep = joins ? last : last + 1;
    }
    while (keep < points.size() && IsBreak(points[keep])) ++keep;
    points.erase(points.begin(), points.begin() + ptrdiff_t(keep));
}

// Drops the points at row `to` and below (with the break before the first of them).
void TrimCurveBelow(std::vector<Point>& points, int to)
{
    for (size_t k = 0; k < points.size(); ++k) {
        if (IsBreak(points[k]) || points[k].y < to) continue;
        const size_t cut = k > 0 && IsBreak(points[k - 1]) ? k - 1 : k;
        points.resize(cut);
        return;
    }
}

// The first point at row `row` or below, from index `from`; size() when none.
size_t FirstPointFrom(const std::vector<Point>& points, size_t from, int row)
{
    for (size_t k = from; k < points.size(); ++k)
        if (!IsBreak(points[k]) && points[k].y >= row) return k;
    return points.size();
}

// Of the entries a walk added from index `from`, keeps those of rows first..last-1,
// at the end of the list or, for rows above those held, at its start.
template <typename T>
void KeepRows(std::vector<T>& list, size_t from, int first, int last, bool before)
{
    std::vector<T> added;
    for (size_t k = from; k < list.size(); ++k)
        if (list[k].row >= first && list[k].row < last) added.push_back(list[k]);
    list.resize(from);
    list.insert(before ? list.begin() : list.end(), added.begin(), added.end());
}

template <typename T>
void ShiftRows(std::vector<T>& list, int by)
{
    for (T& item : list) item.row += by;
}

template <typename T>
void DropRows(std::vector<T>& list, int first, int last)
{
    list.erase(std::remove_if(list.begin(), list.end(), [&](const T& t) { return t.row < first || t.row >= last; }),
               list.end());
}

} // namespace

bool CPlotRowCache::SameSettings(const Frame& f) const
{
    const Frame& m = m_frame;
    const CPlotRowWalk::Settings &a = f.settings, &b = m.settings;
    return f.rows == m.rows && f.margin == m.margin && f.reach == m.reach && f.origin == m.origin
           && f.colorLevelZero == m.colorLevelZero && a.depthPerRow == b.depthPerRow
           && a.wiggleSpacing == b.wiggleSpacing && a.colorLevelZero == b.colorLevelZero && a.grid.major == b.grid.major
           && a.grid.medium == b.grid.medium && a.grid.minor == b.grid.minor && a.grid.labelStep == b.grid.labelStep;
}

int64_t CPlotRowCache::LeadIn() const
{
    // Two frames and a few rows: a walk that began there has reached the state of
    // any walk through the rows it keeps (frames, interpolation, lines, numbers).
    const double dpr = m_frame.settings.depthPerRow;
    const double perFrame = dpr > 0 ? m_model.m_dDepthStep / dpr : 1.0;
    const double rows = std::isfinite(perFrame) ? std::ceil(std::clamp(perFrame, 1.0, 1.0e6)) : 1.0;
    return 2 * int64_t(rows) + 4;
}

bool CPlotRowCache::Show(const Frame& frame)
{
    m_rowsWalked = 0;
    const int64_t top = std::max<int64_t>(frame.top, 0);
    const int64_t first = std::max<int64_t>(top - frame.margin, 0);
    const int64_t last = top + frame.rows + frame.margin;
    bool ok = true;
    if (!m_valid || !SameSettings(frame) || first >= m_last || last <= m_first) {
        m_frame = frame;
        ok = Fresh(first, last);
    } else {
        if (last < m_last) DropBelow(last);
        if (first > m_first) DropAbove(first);
        if (first < m_first) ok = Prepend(first);
        if (ok && last > m_last && m_last < m_end) ok = Append(last);
    }
    m_frame.top = top;
    m_band.imageTop = int(top - m_first);
    m_band.shown = int(std::clamp<int64_t>(std::min(m_last, top + frame.rows) - top, 0, frame.rows));
    m_band.rows = m_band.shown;
    if (!ok) m_valid = false;
    return ok;
}

bool CPlotRowCache::Fresh(int64_t first, int64_t last)
{
    m_band.Reset(m_model, m_layout, Capacity() + Apron(), m_frame.colorLevelZero);
    m_band.windowed = true;
    m_band.rowBase = first;
    m_first = m_last = first;
    m_end = INT64_MAX;
    m_walkAt = -1;
    m_valid = true;
    return Append(last);
}

void CPlotRowCache::ShiftImages(int by)
{
    // Rows move by `by` (down when positive); the rows left behind turn white.
    for (PlotBand::Raster& r : m_band.rasters) {
        Image& image = r.image;
        const int h = image.height, w = image.width;
        if (w <= 0 || h <= 0) continue;
        const int n = std::clamp(std::abs(by), 0, h);
        const size_t row = size_t(w);
        uint32_t* p = image.pixels.data();
        if (by > 0) {
            std::memmove(p + size_t(n) * row, p, size_t(h - n) * row * sizeof(uint32_t));
            std::fill(p, p + size_t(n) * row, 0xFFFFFFFFu);
        } else if (by < 0) {
            std::memmove(p, p + size_t(n) * row, size_t(h - n) * row * sizeof(uint32_t));
            std::fill(p + size_t(h - n) * row, p + size_t(h) * row, 0xFFFFFFFFu);
        }
    }
}

void CPlotRowCache::ShiftLists(int by)
{
    ShiftRows(m_band.depthLines, by);
    ShiftRows(m_band.strokes, by);
    ShiftRows(m_band.patterns, by);
    for (auto& points : m_band.curves)
        for (Point& p : points)
            if (!IsBreak(p)) p.y += by;
}

void CPlotRowCache::TrimLists(int from, int to)
{
    DropRows(m_band.depthLines, from, to);
    DropRows(m_band.strokes, from, to);
    DropRows(m_band.patterns, from, to);
    for (auto& points : m_band.curves) {
        TrimCurveBelow(points, to);
        TrimCurveAbove(points, from);
    }
}

void CPlotRowCache::DropAbove(int64_t first)
{
    const int by = int(first - m_first);
    ShiftImages(-by);
    ShiftLists(-by);
    m_first = first;
    m_band.rowBase = first;
    TrimLists(0, HeldRows());
}

void CPlotRowCache::DropBelow(int64_t last)
{
    m_last = std::max(last, m_first);
    TrimLists(0, HeldRows());
    m_walkAt = -1; // the walk stands further down
}

bool CPlotRowCache::Prepend(int64_t first)
{
    const int64_t held = m_first;
    const int by = int(held - first);
    ShiftImages(by);
    ShiftLists(by);
    m_first = first;
    m_band.rowBase = first;
    // Down to a frame below the rows held, so that the join of every curve into them
    // is known, and a wiggle's reach into them, so that the wiggles crossing into
    // them are whole.
    const double dpr = m_frame.settings.depthPerRow;
    const double perFrame = dpr > 0 ? std::ceil(std::clamp(m_model.m_dDepthStep / dpr, 1.0, 1.0e6)) : 1.0;
    const int64_t stop = std::min(m_last, held + std::max<int64_t>(Apron(), int64_t(perFrame) + 1) + 1);
    const bool ok = WalkRows(std::max<int64_t>(first - LeadIn(), 0), stop, first, held, true, false);
    m_walkAt = -1;
    return ok;
}

bool CPlotRowCache::Append(int64_t last)
{
    const bool continuing = m_walkAt >= 0 && m_walkAt == m_last;
    const int64_t start = continuing ? m_last : std::max<int64_t>(m_last - LeadIn(), 0);
    return WalkRows(start, last, m_last, last, false, continuing);
}

bool CPlotRowCache::WalkRows(int64_t start, int64_t stop, int64_t keepFrom, int64_t keepTo, bool before,
                             bool continuing)
{
    PlotBand& b = m_band;
    if (!continuing && m_walk.StartAt(start, m_frame.origin, m_frame.settings) < 0) return false;
    const size_t depthLines = b.depthLines.size(), strokes = b.strokes.size(), patterns = b.patterns.size();
    std::vector<size_t> curves(b.curves.size());
    for (size_t i = 0; i < curves.size(); ++i) curves[i] = b.curves[i].size();
    const int kf = int(keepFrom - m_first), kt = int(keepTo - m_first);
    b.rows = int(start - m_first);
    b.drawFrom = kf;
    b.drawTo = before ? int(stop - m_first) : INT32_MAX;
    const CPlotRowWalk::End end = m_walk.Walk(b, int(stop - m_first));
    m_rowsWalked += b.rows - int(start - m_first);
    b.frameRows.clear();
    b.drawFrom = 0;
    b.drawTo = INT32_MAX;

    KeepRows(b.depthLines, depthLines, kf, kt, before);
    KeepRows(b.strokes, strokes, kf, kt, before);
    KeepRows(b.patterns, patterns, kf, kt, before);
    for (size_t i = 0; i < curves.size(); ++i) {
        std::vector<Point>& points = b.curves[i];
        const size_t held = curves[i];
        if (before) {
            // The new rows, then the rows held from their first point on, joined as
            // the walk found them.
            std::vector<Point> merged(points.begin() + ptrdiff_t(held), points.end());
            const size_t seam = FirstPointFrom(merged, 0, kt);
            const bool joined = seam < merged.size() && seam > 0 && !IsBreak(merged[seam - 1]);
            merged.resize(seam > 0 && seam < merged.size() && IsBreak(merged[seam - 1]) ? seam - 1 : seam);
            const size_t from = FirstPointFrom(points, 0, kt);
            if (from < held) {
                if (!joined) merged.push_back(PlotBand::kBreak);
                merged.insert(merged.end(), points.begin() + ptrdiff_t(from), points.begin() + ptrdiff_t(held));
            }
            points = std::move(merged);
        } else if (!continuing && kf > 0) {
            // Only what the walk found at the new rows; the rows held end the lines above.
            const size_t first = FirstPointFrom(points, held, kf);
            const size_t cut = first > held && first < points.size() && IsBreak(points[first - 1]) ? first - 1 : first;
            points.erase(points.begin() + ptrdiff_t(held), points.begin() + ptrdiff_t(cut));
        }
        TrimCurveAbove(points, 0);
    }
    if (!before) {
        m_last = m_first + b.rows;
        const bool ended = end != CPlotRowWalk::End::Rows;
        if (ended) m_end = m_last;
        m_walkAt = ended ? -1 : m_last;
        if (end == CPlotRowWalk::End::ReadFailed) return false;
    } else if (end == CPlotRowWalk::End::ReadFailed) {
        return false;
    }
    return true;
}
