#include "viewers/FreqSlowXplotWnd.h"

#include "viewers/ViewOptions.h"
#include "platform/Format.h"
#include "platform/SafeNumeric.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr Color kReceiverColours[] = {Rgb(0, 0, 0),     Rgb(255, 0, 0),   Rgb(10, 128, 32), Rgb(0, 0, 255),
                                      Rgb(128, 128, 128), Rgb(0, 255, 255), Rgb(255, 0, 255), Rgb(128, 0, 0),
                                      Rgb(0, 0, 128),   Rgb(64, 64, 64),  Rgb(0, 128, 128), Rgb(128, 0, 128)};
constexpr Color kGray = Rgb(192, 192, 192);
constexpr Pen kAxisPen{PS_SOLID, 2, Rgb(0, 0, 0)};
constexpr Pen kGridPen{PS_DOT, 0, Rgb(192, 192, 192)};
constexpr Pen kFramePen{PS_SOLID, 0, Rgb(0, 0, 0)};
constexpr int kTickBelow = 6;       // the slowness grid lines reach below the plot
constexpr int kFrequencyLabelX = 17; // centre of the frequency labels

// Label steps by the span an axis shows: a grid line every `walk`, from the first
// multiple of `label` above the axis start.
struct Steps {
    int walk, label;
};

Steps FrequencySteps(double width)
{
    if (width <= 1000) return {100, 100};
    return {500, width < 5000 ? 500 : width < 10000 ? 1000 : width < 15000 ? 2000 : width < 20000 ? 3000 : 4000};
}

Steps SlownessSteps(double width)
{
    if (width <= 100) return {25, 25};
    return {50, width > 500 ? 100 : 50};
}

int64_t FirstTick(double minimum, int label)
{
    return (int64_t(ClampToInt(minimum)) / label + 1) * label;
}

} // namespace

Color CFreqSlowXplotWnd::ReceiverColour(int receiver)
{
    return receiver >= 0 && receiver < int(std::size(kReceiverColours)) ? kReceiverColours[receiver] : Rgb(0, 0, 0);
}

void CFreqSlowXplotWnd::TakeReceivers()
{
    // The view's own record: what the display commands stored for it.
    if (const CViewOptions* record = FindViewOptions(m_windowId)) MapShownReceivers(record->m_available, record->m_shown);
}

void CFreqSlowXplotWnd::Layout()
{
    const Rect client = GetClientRect();
    m_clientWidth = client.Width();
    m_clientHeight = client.Height();
    m_plotWidth = std::max(m_clientWidth - 40, 0);
    m_plotHeight = std::max(m_clientHeight - 55, 0);
    m_plotRect = {m_leftMargin, m_topMargin, m_leftMargin + m_plotWidth, m_topMargin + m_plotHeight};
}

CFreqSlowXplotWnd::RenderKey CFreqSlowXplotWnd::KeyNow() const
{
    RenderKey k;
    k.width = m_plotWidth;
    k.height = m_plotHeight;
    k.framesRead = m_framesRead;
    k.background = m_backgroundBrush.color;
    k.shown = m_shown;
    return k;
}

void CFreqSlowXplotWnd::PrepareRepaint()
{
    if (!IsWindow() || m_iconic) return;
    RefreshDrawingObjects();
    TakeReceivers();
    Layout();
    if (!(KeyNow() == m_rendered)) Render();
}

void CFreqSlowXplotWnd::Render()
{
    m_rendered = KeyNow();
    m_pointsDrawn = 0;
    LayOutGrid();
    if (m_plotWidth < 1 || m_plotHeight < 1) {
        m_image = Image();
        m_stamped.clear();
        return;
    }
    const uint32_t background = ToArgb(m_backgroundBrush.color);
    if (m_image.width != m_plotWidth || m_image.height != m_plotHeight) {
        m_image = Image(m_plotWidth, m_plotHeight, background);
    } else if (background != m_imageBackground) {
        std::fill(m_image.pixels.begin(), m_image.pixels.end(), background);
    } else {
        // A frame's few thousand points, not the whole plot, are put back to the background.
        for (const Stamped& s : m_stamped) Stamp(s.x, s.y, s.cross, background);
    }
    m_imageBackground = background;
    m_stamped.clear();
    if (!m_frameRead) return;
    for (int r = 0; r < std::min(m_receivers, kSlots); ++r)
        if (m_shown[size_t(m_receiverIndex[size_t(r)])]) PlotReceiver(r, ToArgb(ReceiverColour(r)));
}

void CFreqSlowXplotWnd::Stamp(int x, int y, bool cross, uint32_t colour)
{
    const int w = m_image.width, h = m_image.height;
    if (x >= 5 && x < w - 5 && y >= 5 && y < h - 5) {
        // Wholly inside: no pixel needs its own check.
        const size_t stride = size_t(w);
        uint32_t* centre = m_image.Row(y) + x;
        for (uint32_t* row : {centre - stride, centre, centre + stride}) row[-1] = row[0] = row[1] = colour;
        if (cross)
            for (int d = 2; d <= 5; ++d)
                centre[-d * int(stride)] = centre[d * stride] = centre[-d] = centre[d] = colour;
        return;
    }
    auto put = [&](int px, int py) {
        if (px >= 0 && px < w && py >= 0 && py < h) m_image.Row(py)[px] = colour;
    };
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) put(x + dx, y + dy);
    if (cross)
        for (int d = 2; d <= 5; ++d) {
            put(x, y - d);
            put(x, y + d);
            put(x - d, y);
            put(x + d, y);
        }
}

void CFreqSlowXplotWnd::PlotReceiver(int receiver, uint32_t colour)
{
    const double slowWidth = double(m_setup.slowMax) - m_setup.slowMin, freqWidth = double(m_setup.freqMax) - m_setup.freqMin;
    if (!(slowWidth > 0) || !(freqWidth > 0) || !std::isfinite(slowWidth) || !std::isfinite(freqWidth)) return;
    const size_t n = size_t(m_sampleCount);
    const float* s = m_slownessSamples.data() + size_t(receiver) * n;
    const float* f = m_frequencySamples.data() + size_t(receiver) * n;
    bool first = true;
    for (size_t i = 0; i + 1 < n; ++i) {
        // Inside both ranges (a value that is no number is inside neither), and not
        // the last sample of a run: the next one of each curve is a pick.
        if (!(s[i] >= m_setup.slowMin && s[i] <= m_setup.slowMax && f[i] >= m_setup.freqMin && f[i] <= m_setup.freqMax)) continue;
        if (s[i + 1] == 0 || f[i + 1] == 0) continue;
        const int x = int((s[i] - double(m_setup.slowMin)) / slowWidth * m_plotWidth);
        const int y = int(m_plotHeight - (f[i] - double(m_setup.freqMin)) / freqWidth * m_plotHeight);
        // The receiver's first point is marked with a cross around it.
        Stamp(x, y, first, colour);
        m_stamped.push_back({x, y, first});
        first = false;
        ++m_pointsDrawn;
    }
}

void CFreqSlowXplotWnd::LayOutGrid()
{
    // A grid value v lies in plot row r (from 1 at the bottom) when min + (r - 1) x
    // width / height <= v < min + r x width / height; rows 1 to height - 1 carry
    // lines. Columns likewise from the left. At most one line per row or column.
    auto layOut = [](std::vector<Tick>& ticks, double minimum, double maximum, int pixels, Steps steps,
                     const char* format) {
        ticks.clear();
        const double width = maximum - minimum;
        if (!(width > 0) || pixels < 2) return;
        const TickWalk walk(FirstTick(minimum, steps.label), steps.walk, minimum, maximum, pixels);
        int previous = 0;
        for (int value : walk) {
            const int cell = ClampToInt(std::floor((value - minimum) * pixels / width)) + 1;
            if (cell < 1 || cell > pixels - 1 || cell == previous) continue;
            previous = cell;
            ticks.push_back({cell, Format(format, double(value))});
        }
    };
    const Steps frequency = FrequencySteps(double(m_setup.freqMax) - m_setup.freqMin);
    const Steps slowness = SlownessSteps(double(m_setup.slowMax) - m_setup.slowMin);
    m_frequencyWalk = frequency.walk;
    m_slownessWalk = slowness.walk;
    layOut(m_frequencyTicks, m_setup.freqMin, m_setup.freqMax, m_plotHeight, frequency, "%5.1f");
    layOut(m_slownessTicks, m_setup.slowMin, m_setup.slowMax, m_plotWidth, slowness, "%4.1f");
    for (Tick& t : m_frequencyTicks) t.at = m_topMargin + m_plotHeight - t.at + 1; // y
    for (Tick& t : m_slownessTicks) t.at = m_leftMargin + t.at - 1;                // x
}

// ---- painting ----------------------------------------------------------------------------------

CFreqSlowXplotWnd::LayerKey CFreqSlowXplotWnd::LayerKeyNow() const
{
    LayerKey k;
    k.clientWidth = m_clientWidth;
    k.clientHeight = m_clientHeight;
    k.plotRect = m_plotRect;
    k.image = !m_image.Empty();
    k.background = m_backgroundBrush.color;
    return k;
}

void CFreqSlowXplotWnd::OnPaint(Dc& dc)
{
    const bool stepped = m_frameStepped;
    m_frameStepped = false;
    if (m_iconic) return;
    const Rect client = GetClientRect();
    if (client.IsEmpty()) {
        m_iconic = true;
        m_layerPainted = false;
        return;
    }
    // The texts, grid and legend painted last are still in the window when only the
    // frame moved since; over the plot the legend's box hides whatever is under it.
    if (stepped && m_layerPainted && m_legendOpaque && LayerKeyNow() == m_paintedLayer) {
        PaintPlotOnly(dc);
        return;
    }
    dc.SelectFont({"Ariel", m_fontHeight, FW_NORMAL});
    FillAround(dc, client, m_image.Empty() ? Rect{} : m_plotRect, kGray);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(Rgb(0, 0, 0));
    PaintPlotFrame(dc);
    PaintTexts(dc);
    PaintLegend(dc);
    PaintGrid(dc);
    m_paintedLayer = LayerKeyNow();
    m_layerPainted = true;
}

void CFreqSlowXplotWnd::PaintPlotFrame(Dc& dc)
{
    if (!m_image.Empty()) dc.StretchImage(m_plotRect, m_image);
    dc.SelectPen(kAxisPen);
    dc.SelectBrush({0, true});
    dc.Rectangle(m_plotRect);
}

void CFreqSlowXplotWnd::PaintPlotOnly(Dc& dc)
{
    // The plot in up to four bands around the legend's box, each drawn as the whole
    // paint draws it there: the image, the frame over it, the grid lines over both.
    const Rect p = m_plotRect, box = m_legendBox.Intersect(m_plotRect);
    Rect bands[4] = {p, {}, {}, {}};
    if (!box.IsEmpty()) {
        bands[0] = {p.left, p.top, p.right, box.top};
        bands[1] = {p.left, box.bottom, p.right, p.bottom};
        bands[2] = {p.left, box.top, box.left, box.bottom};
        bands[3] = {box.right, box.top, p.right, box.bottom};
    }
    for (const Rect& band : bands) {
        if (band.IsEmpty()) continue;
        dc.IntersectClipRect(band);
        PaintPlotFrame(dc);
        PaintGridLines(dc);
        dc.ResetClip();
    }
}

void CFreqSlowXplotWnd::PaintTexts(Dc& dc)
{
    dc.SetTextAlign(TA_CENTER | TA_TOP);
    dc.TextOut(m_clientWidth / 2, m_fontHeight / 4, m_caption);
    // Below the slowness labels, which hang below the plot's grid lines.
    dc.TextOut(m_clientWidth / 2, m_topMargin + m_plotHeight + kTickBelow + m_fontHeight, m_axisTitle);
    dc.TextOut(25, m_fontHeight / 4, "Frequency");
    dc.TextOut(kFrequencyLabelX, m_fontHeight / 4 + m_fontHeight, " [Hz]");
}

void CFreqSlowXplotWnd::PaintLegend(Dc& dc)
{
    const int fh = m_fontHeight;
    const int left = int(m_leftMargin * 1.25), top = m_topMargin + fh;
    dc.SelectPen(kFramePen);
    dc.SelectBrush(m_backgroundBrush);
    m_legendBox = {left, top, left + 70, top + 2 * fh * m_receivers};
    dc.Rectangle(m_legendBox);
    const int lineX = int(m_leftMargin * 1.5);
    dc.SetTextAlign(TA_CENTER | TA_TOP);
    // A label reaching out of the box (a pixel of smoothing included) would show
    // over the points around it.
    const Rect inside = {m_legendBox.left + 1, m_legendBox.top + 1, m_legendBox.right - 1, m_legendBox.bottom - 1};
    m_legendOpaque = !m_backgroundBrush.hollow;
    for (int k = 0; k < std::min(m_receivers, kSlots); ++k) {
        const int y = 2 * fh + m_topMargin + 2 * fh * k;
        dc.SelectPen({PS_SOLID, 2, ReceiverColour(k)});
        dc.MoveTo(lineX, y);
        dc.LineTo(lineX + 30, y);
        if (size_t(k) >= m_legendLabels.size()) continue;
        const std::string& label = m_legendLabels[size_t(k)];
        dc.TextOut(lineX + 45, y - fh / 2, label);
        const Size extent = dc.GetTextExtent(label);
        const Rect cell = {lineX + 45 - extent.cx / 2 - 1, y - fh / 2, lineX + 45 + (extent.cx + 1) / 2 + 1, y - fh / 2 + extent.cy};
        if (!(cell.left >= inside.left && cell.right <= inside.right && cell.top >= inside.top && cell.bottom <= inside.bottom))
            m_legendOpaque = false;
    }
}

void CFreqSlowXplotWnd::PaintGridLines(Dc& dc)
{
    dc.SelectPen(kGridPen);
    const int right = m_leftMargin + m_plotWidth, bottom = m_topMargin + m_plotHeight;
    for (const Tick& t : m_frequencyTicks) {
        dc.MoveTo(m_leftMargin, t.at);
        dc.LineTo(right, t.at);
    }
    for (const Tick& t : m_slownessTicks) {
        dc.MoveTo(t.at, m_topMargin);
        dc.LineTo(t.at, bottom + kTickBelow);
    }
}

void CFreqSlowXplotWnd::PaintGrid(Dc& dc)
{
    dc.SelectPen(kGridPen);
    dc.SetTextAlign(TA_CENTER | TA_TOP);
    const int right = m_leftMargin + m_plotWidth, bottom = m_topMargin + m_plotHeight;
    for (const Tick& t : m_frequencyTicks) {
        dc.MoveTo(m_leftMargin, t.at);
        dc.LineTo(right, t.at);
        // Centred in the margin: a label too wide for it loses its decimal.
        const std::string* text = &t.text;
        if (dc.GetTextExtent(t.text).cx > 2 * kFrequencyLabelX) {
            const size_t point = t.text.find('.');
            m_shortLabel.assign(t.text, 0, point);
            text = &m_shortLabel;
        }
        dc.TextOut(kFrequencyLabelX, t.at - m_fontHeight / 2, *text);
    }
    for (const Tick& t : m_slownessTicks) {
        dc.MoveTo(t.at, m_topMargin);
        dc.LineTo(t.at, bottom + kTickBelow);
        dc.TextOut(t.at, bottom + kTickBelow, t.text);
    }
}
