#include "viewers/DomainWnd.h"

#include "viewers/ViewOptions.h"
#include "platform/Format.h"
#include "platform/Frame.h"
#include "platform/SafeNumeric.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

const Color kGray = Rgb(192, 192, 192);
const Pen kAxisPen{PS_SOLID, 2, Rgb(0, 0, 0)};
const Pen kGridPen{PS_DOT, 0, Rgb(192, 192, 192)};
const Pen kBlackPen{PS_SOLID, 0, Rgb(0, 0, 0)};
// The gap under each band: the usual one holds the grid's labels, the closed-up one
// is left where the usual bands would come out thinner than kLeastBand.
constexpr int kGap = 10, kClosedUpGap = 1, kLeastBand = 6;

} // namespace

void CDomainWnd::ReleaseDrawingObjects() {}

void CDomainWnd::OnPaint(Dc& dc)
{
    if (m_iconic) return;
    const Rect client = GetClientRect();
    if (client.IsEmpty()) {
        m_iconic = true;
        return;
    }
    theApp.m_display.activeWindowId = m_windowId;
    if (m_clickPending) {
        m_clickPending = false;
        PaintMoveOut(dc);
        return;
    }
    PaintFrame(dc);
}

void CDomainWnd::PaintFrame(Dc& dc)
{
    // Pens and brushes follow the display options when they changed.
    RefreshDrawingObjects();
    LoadViewOptions();
    const auto& d = theApp.m_display;
    MapShownReceivers(d.receiverAvailable.data(), d.receiverShown.data());

    const Rect client = GetClientRect();
    m_layout.clientWidth = client.Width();
    m_layout.clientHeight = client.Height();
    m_layout.plotWidth = std::max(m_layout.clientWidth - 40, 1);
    LayOutBands();

    dc.SelectFont({"Ariel", m_layout.fontHeight, FW_NORMAL});
    dc.FillRect(client, kGray);
    dc.SetBkMode(TRANSPARENT);

    m_plotRect = {m_layout.leftMargin, m_layout.topMargin, m_layout.leftMargin + m_layout.plotWidth,
                  m_layout.topMargin + m_shownTraces * m_layout.traceHeight - m_layout.gap};
    if (Frame()) SetCursor(m_domain == kDomainTime && !m_marker ? CursorKind::Cross : CursorKind::Arrow);

    if (m_frameRead && !m_layout.tooShort) {
        MapColumns();
        LayOutGrid();
        int shown = 0;
        for (int r = 0; r < m_receivers; ++r) {
            const int slot = m_receiverIndex[size_t(r)];
            if (m_shown[size_t(slot)]) PaintTrace(dc, shown++, slot);
        }
    }

    dc.SetTextAlign(TA_CENTER | TA_TOP);
    dc.SetTextColor(Rgb(0, 0, 0));
    dc.TextOut(m_layout.clientWidth / 2, m_layout.fontHeight / 2, m_caption);
    if (m_layout.tooShort) {
        const int y = std::max(m_layout.topMargin, m_layout.clientHeight / 2 - m_layout.fontHeight);
        dc.TextOut(m_layout.clientWidth / 2, y, Format("Window too short for %d traces:", m_shownTraces));
        dc.TextOut(m_layout.clientWidth / 2, y + m_layout.fontHeight, "make it taller or show fewer traces.");
    }
    dc.TextOut(m_layout.clientWidth / 2, m_layout.clientHeight - m_layout.fontHeight, m_axisTitle);
}

void CDomainWnd::LayOutBands()
{
    const int room = m_layout.clientHeight - m_layout.bottomMargin - m_layout.topMargin;
    m_layout.closedUp = m_layout.tooShort = false;
    m_layout.gap = kGap;
    m_layout.traceHeight = m_shownTraces > 0 ? room / m_shownTraces : 0;
    m_layout.bandHeight = m_layout.traceHeight - m_layout.gap - 2;
    if (m_shownTraces <= 0 || m_layout.bandHeight >= kLeastBand) return;
    // Closed up, with one row for the grid's labels under the last band.
    m_layout.closedUp = true;
    m_layout.gap = kClosedUpGap;
    m_layout.traceHeight = std::max(room - m_layout.fontHeight, 0) / m_shownTraces;
    m_layout.bandHeight = m_layout.traceHeight - m_layout.gap - 2;
    m_layout.tooShort = m_layout.bandHeight < 3;
}

void CDomainWnd::MapColumns()
{
    // Column c shows the axis value start + c x (width / plot width), between the
    // samples i0 and i1 = i0 + 1 of the window; column 0 shows the first sample.
    const int n = m_axis.last - m_axis.first;
    const float perColumn = m_axis.width / float(m_layout.plotWidth);
    const float step = m_domain == kDomainFrequency ? m_axis.binWidth : m_shape.step;
    m_columns.resize(size_t(m_layout.plotWidth));
    if (n < 1) return;
    for (int c = 0; c < m_layout.plotWidth; ++c) {
        Column& column = m_columns[size_t(c)];
        const float axis = m_axis.start + float(c) * perColumn;
        if (c == 0) {
            column.i0 = column.i1 = 0;
            column.frac = 0.0f;
        } else {
            const float index = axis / step - float(m_axis.first);
            column.i0 = std::clamp(ClampToInt(std::floor(index)), 0, n - 1);
            column.i1 = std::min(column.i0 + 1, n - 1);
            column.frac = std::clamp(index - float(column.i0), 0.0f, 1.0f);
        }
        // -1 and n stand for every sample before and after the window.
        const double sample = std::trunc(double(axis / step)) - m_axis.first;
        column.sample = sample >= 0 ? (sample < n ? int(sample) : n) : -1;
    }
}

void CDomainWnd::LayOutGrid()
{
    // A dotted line and a label below each band at every multiple of the label step
    // from the first tick on. (The ticks walk from the first tick by a step that
    // divides both the first tick and the label step, so these are the ticks that
    // carry a label.) The walk goes from label to label, at most one per plot column.
    m_tickCount = 0;
    int labelStep = 500, tick = m_axis.firstTick;
    switch (m_domain) {
    case kDomainTime:
        labelStep = m_axis.width < 5000 ? 500 : m_axis.width < 10000 ? 1000 : m_axis.width < 15000 ? 2000 : m_axis.width < 20000 ? 3000 : 4000;
        if (m_axis.width <= 1000) labelStep = 200;
        if (m_axis.width <= 500) labelStep = 100;
        break;
    case kDomainFrequency: labelStep = m_axis.width < 5000 ? 500 : m_axis.width < 10000 ? 1000 : 2000; break;
    case kDomainSlowness: labelStep = m_axis.width > 500 ? 100 : 50; break;
    default:
        tick = 0;
        labelStep = m_axis.width > 100 ? 90 : 10;
        break;
    }
    int64_t firstLabel = tick / labelStep;
    if (firstLabel * labelStep < tick) ++firstLabel;
    firstLabel *= labelStep;
    const float perColumn = m_axis.width / float(m_layout.plotWidth);
    if (!(perColumn > 0)) return;
    const TickWalk walk(firstLabel, labelStep, m_axis.start, m_axis.start + m_axis.width, m_layout.plotWidth);
    // Label strings are kept, never shrunk: formatting into them allocates nothing.
    m_tickColumns.resize(size_t(walk.Count()));
    if (m_tickLabels.size() < size_t(walk.Count())) m_tickLabels.resize(size_t(walk.Count()));
    const bool whole = m_domain == kDomainSlowness || m_domain == kDomainAzimuth;
    for (int i = 0; i < walk.Count(); ++i) {
        const int value = walk[i];
        m_tickColumns[size_t(i)] = ClampToInt((float(value) - m_axis.start) / perColumn);
        if (whole) FormatInto(m_tickLabels[size_t(i)], "%4d", value);
        else FormatInto(m_tickLabels[size_t(i)], "%2.1f", double(value) / 1000.0);
    }
    m_tickCount = walk.Count();
}

CDomainWnd::TraceBand CDomainWnd::BandOf(int k) const
{
    const auto& display = theApp.m_display;
    TraceBand b;
    b.wiggle = m_domain == kDomainTime && !m_marker;
    b.amplitudeZoom =
        display.zoomFactor1 > 0 && std::isfinite(display.zoomFactor1) ? display.zoomFactor1 : 1.0f;
    b.top = m_layout.topMargin + k * m_layout.traceHeight;
    b.band = m_layout.bandHeight;
    b.left = m_layout.leftMargin;
    b.mid = b.top + b.band / 2;
    b.base = b.wiggle ? b.mid : b.top + b.band;
    return b;
}

CDomainWnd::TraceRun CDomainWnd::NormaliseTrace(const float* v)
{
    // Extremes of the shown window. A value that is not finite is a gap in the
    // curve, not an extreme.
    float largest = 0, smallest = 0;
    for (int i = m_axis.first; i < m_axis.last; ++i) {
        if (!std::isfinite(v[i])) continue;
        largest = std::max(largest, v[i]);
        smallest = std::min(smallest, v[i]);
    }
    const float absMax = std::max(largest, -smallest);

    // Normalised values of the window, and for markers the run between the first
    // non-zero sample and the first zero after it.
    // Buffers kept across traces and frames: painting allocates nothing per trace.
    std::vector<float>& values = m_values;
    values.assign(size_t(m_axis.last - m_axis.first), 0.0f);
    TraceRun run{largest, smallest, 0, int(values.size()) - 1};
    if (!m_marker) {
        for (size_t i = 0; i < values.size(); ++i) {
            const float x = v[size_t(m_axis.first) + i];
            values[i] = !std::isfinite(x) ? NAN : absMax > 0 ? x / absMax : 0.0f;
        }
        return run;
    }
    const auto& display = theApp.m_display;
    const float zoom = m_frequencyMarker ? display.zoomFactor2 : display.zoomFactor3;
    float start = m_markerCentre - m_markerHalf, stop = m_markerCentre + m_markerHalf;
    const float zStart = m_markerCentre - m_markerHalf + (zoom - 1) * m_markerHalf;
    const float zStop = m_markerCentre + m_markerHalf - (zoom - 1) * m_markerHalf;
    if (zStart >= 0 && zStop > zStart) start = zStart, stop = zStop;
    for (size_t i = 0; i < values.size(); ++i) {
        const float x = v[size_t(m_axis.first) + i];
        values[i] = x == 0 ? 0.0f : !std::isfinite(x) ? NAN : std::clamp((x - start) / (stop - start), 0.0f, 1.0f);
    }
    run.first = -1;
    for (size_t i = 0; i < values.size(); ++i)
        if (v[size_t(m_axis.first) + i] != 0) {
            run.first = int(i);
            break;
        }
    run.last = run.first;
    if (run.first >= 0)
        while (run.last + 1 < int(values.size()) && v[size_t(m_axis.first) + size_t(run.last) + 1] != 0) ++run.last;
    run.shownMax = stop;
    run.shownMin = start;
    return run;
}

void CDomainWnd::FillCurve()
{
    // Curve value of each plot column, interpolated between the enclosing samples
    // (MapColumns); NaN next to a sample that is not finite.
    m_curve.resize(size_t(m_layout.plotWidth));
    if (m_values.empty()) {
        std::fill(m_curve.begin(), m_curve.end(), 0.0f);
        return;
    }
    const float* value = m_values.data();
    for (int c = 0; c < m_layout.plotWidth; ++c) {
        const Column& column = m_columns[size_t(c)];
        const float v0 = value[column.i0];
        m_curve[size_t(c)] = v0 + (value[column.i1] - v0) * column.frac;
    }
}

int CDomainWnd::CurveY(const TraceBand& b, float value) const
{
    // Values are finite and within -1..1 (wiggles, spectra) or 0..1 (markers) here.
    if (b.wiggle) return b.top + b.band / 2 - int(float(b.band / 2) * std::clamp(value * b.amplitudeZoom, -1.0f, 1.0f));
    if (m_marker) return b.top + b.band - int(float(b.band) * value);
    return b.top - 1 + b.band - int(float(b.band) * value);
}

void CDomainWnd::PaintBand(Dc& dc, const TraceBand& b)
{
    // Band, and the solid mid line of the wiggle. A closed-up band is too thin for
    // outlines and reference lines: they would hide the trace.
    if (m_layout.closedUp) {
        dc.FillRect({b.left, b.top, b.left + m_layout.plotWidth, b.top + b.band}, m_backgroundBrush.color);
        return;
    }
    dc.SelectPen(kAxisPen);
    dc.SelectBrush(m_backgroundBrush);
    dc.Rectangle({b.left, b.top, b.left + m_layout.plotWidth, b.top + b.band});
    if (b.wiggle) {
        dc.MoveTo(b.left, b.mid);
        dc.LineTo(b.left + m_layout.plotWidth, b.mid);
    }
}

void CDomainWnd::PaintCurve(Dc& dc, const TraceBand& b, const TraceRun& run)
{
    auto drawn = [&](int c) { return std::isfinite(m_curve[size_t(c)]); };
    const int left = b.left;
    // Each run of columns between gaps is a polygon down to the base line, traced
    // again as a polyline that stops short of the last plot column.
    std::vector<Point>& points = m_points;
    if (!m_marker && m_values.size() < 2) {
        // One sample has no curve to fill under: its value is drawn as a level line.
        if (!m_values.empty() && drawn(0)) {
            const int y = CurveY(b, m_curve[0]);
            dc.SelectPen(m_tracePen);
            dc.MoveTo(left, y);
            dc.LineTo(left + m_layout.plotWidth, y);
        }
    } else if (!m_marker) {
        const Pen& outlinePen = m_layout.closedUp ? kBlackPen : kAxisPen;
        // The fill is drawn with the trace pen round it, along the same sides: where
        // that pen is the outline's own (a black trace, the usual one) the outline
        // would set no pixel the fill has not, and is left out.
        const bool outlined = !(m_tracePen == outlinePen);
        for (int c0 = 0; c0 < m_layout.plotWidth; ++c0) {
            if (!drawn(c0)) continue;
            int c1 = c0;
            while (c1 + 1 < m_layout.plotWidth && drawn(c1 + 1)) ++c1;
            points.clear();
            points.push_back({left + c0, b.base});
            for (int c = c0; c <= c1; ++c) points.push_back({left + c, CurveY(b, m_curve[size_t(c)])});
            points.push_back({left + c1, b.base});
            dc.SelectPen(m_tracePen);
            dc.SelectBrush(m_traceBrush);
            dc.Polygon(points.data(), int(points.size()));
            const int traced = std::min(c1, m_layout.plotWidth - 2) - c0 + 1;
            if (outlined && traced >= 2) {
                dc.SelectPen(outlinePen);
                dc.Polyline(points.data() + 1, traced);
            }
            c0 = c1;
        }
    } else if (run.first >= 0) {
        // The marker's run of samples, broken where a column has no value.
        dc.SelectPen(m_tracePen);
        points.clear();
        auto flush = [&] {
            if (points.size() >= 2) dc.Polyline(points.data(), int(points.size()));
            points.clear();
        };
        for (int c = 0; c < m_layout.plotWidth; ++c) {
            const int sample = m_columns[size_t(c)].sample;
            if (sample >= run.first && sample <= run.last && drawn(c))
                points.push_back({left + c, CurveY(b, m_curve[size_t(c)])});
            else flush();
        }
        flush();
    }
}

void CDomainWnd::PaintGrid(Dc& dc, const TraceBand& b, int k)
{
    // Grid (LayOutGrid).
    dc.SetTextAlign(TA_LEFT | TA_TOP);
    if (m_tickCount > 0) dc.SelectPen(kGridPen);
    const bool labelled = !m_layout.closedUp || k == m_shownTraces - 1;
    for (int i = 0; i < m_tickCount; ++i) {
        const int x = b.left + m_tickColumns[size_t(i)];
        dc.MoveTo(x, b.top);
        dc.LineTo(x, b.top + b.band);
        if (!labelled) continue;
        // A tick at the plot's right end keeps its label whole inside the window.
        int at = x - 5;
        if (i == m_tickCount - 1)
            at = std::min(at, m_layout.clientWidth - dc.GetTextExtent(m_tickLabels[size_t(i)]).cx);
        dc.TextOut(at, b.top + b.band, m_tickLabels[size_t(i)]);
    }
}

void CDomainWnd::PaintTraceLabels(Dc& dc, const TraceBand& b, int slot, const TraceRun& run)
{
    // Label and extremes left of the band. Labels that would overlap in a short band
    // are left out: the trace's name first, then the extremes around it.
    const std::vector<std::string>& labels = m_traceLabels;
    const float divisor = m_marker ? 1.0f : b.amplitudeZoom;
    dc.SetTextAlign(TA_CENTER | TA_TOP);
    const int labelX = b.left / 2;
    int traceNumber = 0;
    for (int r = 0; r < m_receivers; ++r)
        if (m_receiverIndex[size_t(r)] == slot) traceNumber = r;
    const bool roomForName = b.band >= m_layout.fontHeight;
    const bool roomForExtremes = b.band >= 3 * m_layout.fontHeight;
    if (roomForName && size_t(traceNumber) < labels.size())
        dc.TextOut(labelX, b.mid - m_layout.fontHeight / 2, labels[size_t(traceNumber)]);
    if (roomForExtremes) {
        FitExtremeLabel(dc, double(run.shownMax / divisor));
        dc.TextOut(labelX, b.top, m_extremeLabel);
        FitExtremeLabel(dc, double(run.shownMin / divisor));
        dc.TextOut(labelX, b.top + b.band - m_layout.fontHeight, m_extremeLabel);
    }
}

void CDomainWnd::PaintReferenceLines(Dc& dc, const TraceBand& b)
{
    // Dotted reference lines; a closed-up band has no room for them.
    if (m_layout.closedUp) return;
    dc.SelectPen(kGridPen);
    for (int y : {(b.mid + b.top) / 2, (b.mid + b.top + b.band) / 2}) {
        dc.MoveTo(b.left, y);
        dc.LineTo(b.left + m_layout.plotWidth, y);
    }
    if (!b.wiggle) {
        dc.MoveTo(b.left, b.mid);
        dc.LineTo(b.left + m_layout.plotWidth, b.mid);
    }
}

void CDomainWnd::PaintTrace(Dc& dc, int k, int slot)
{
    const TraceBand b = BandOf(k);
    const TraceRun run = NormaliseTrace(Slot(slot));
    FillCurve();
    PaintBand(dc, b);
    PaintCurve(dc, b, run);
    PaintGrid(dc, b, k);
    PaintTraceLabels(dc, b, slot, run);
    PaintReferenceLines(dc, b);
}

void CDomainWnd::FitExtremeLabel(Dc& dc, double value)
{
    // Centred in the left margin, an extreme must not reach under the plot frame: the
    // first form that fits is taken (large spectra lose their decimals, then digits
    // to a k, M or G), else the narrowest.
    const int room = m_layout.leftMargin - 2;
    auto fits = [&] { return dc.GetTextExtent(m_extremeLabel).cx <= room; };
    FormatInto(m_extremeLabel, "%4.1f", value);
    if (fits()) return;
    FormatInto(m_extremeLabel, "%.0f", value);
    if (fits()) return;
    static constexpr struct {
        double scale;
        const char* format;
    } kShort[] = {{1e3, "%.0fk"}, {1e6, "%.0fM"}, {1e9, "%.0fG"}};
    for (const auto& s : kShort) {
        if (std::fabs(value) >= 999.5 * s.scale) continue;
        FormatInto(m_extremeLabel, s.format, value / s.scale);
        if (fits()) return;
        break;
    }
    FormatInto(m_extremeLabel, "%.0e", value);
}

void CDomainWnd::PaintMoveOut(Dc& dc)
{
    if (m_firstClick) {
        dc.SetPixel(m_clickPoint.x, m_clickPoint.y, Rgb(0, 0, 0));
        m_firstPoint = m_clickPoint;
        return;
    }
    if (!m_secondClick) return;
    m_secondClick = false;
    const Point a = m_firstPoint, b = m_clickPoint;
    for (int pane = 2; pane <= 1 + m_receivers; ++pane) SetReadOut(pane, "");
    // A horizontal pair of clicks gives no line across the traces.
    if (a.y == b.y) return;
    const int bottom = m_layout.topMargin + m_shownTraces * m_layout.traceHeight - m_layout.gap;
    auto xAt = [&](int y) { return ClampToInt(a.x + std::round(double(y - a.y) * (b.x - a.x) / double(b.y - a.y))); };
    dc.SelectPen(kBlackPen);
    dc.MoveTo(xAt(m_layout.topMargin), m_layout.topMargin);
    dc.LineTo(xAt(bottom), bottom);

    CReceiverGeometry geometry;
    geometry.SetItemType(m_typeCode);
    std::array<int, kSlots> shownOrder{}; // positions in the receiver index table
    int k = 0;
    for (int r = 0; r < m_receivers; ++r) {
        const int slot = m_receiverIndex[size_t(r)];
        if (!m_shown[size_t(slot)]) continue;
        const int midY = m_layout.topMargin + k * m_layout.traceHeight + m_layout.bandHeight / 2;
        const float t = float(xAt(midY) - m_layout.leftMargin) * m_axis.width / float(m_layout.plotWidth) + m_axis.start;
        m_crossingTime[size_t(slot)] = CrossingTime(slot, t);
        shownOrder[size_t(k++)] = r;
    }
    for (size_t i = 0; i + 1 < size_t(k); ++i) {
        const int r = shownOrder[i], next = shownOrder[i + 1];
        float spacing = 0;
        for (int e = r + 1; e <= next; ++e) spacing += geometry.m_spacing[size_t(m_receiverIndex[size_t(e)])];
        if (spacing == 0) continue; // no distance between the pair: no slowness
        const float dt = m_crossingTime[size_t(m_receiverIndex[size_t(next)])] - m_crossingTime[size_t(m_receiverIndex[size_t(r)])];
        SetReadOut(2 + r, Format("%5.1f uS/ft", double(dt * 12.0f / spacing)));
    }
}
