#include "plot/PlotWnd.h"

#include "platform/Format.h"
#include "plot/PlotPalette.h"

#include <algorithm>

namespace {

const Color kBlack = Rgb(0, 0, 0);
const Color kGrid = Rgb(192, 192, 192);        // grid pen and shading patterns
const Pen kDefaultPen{PS_SOLID, 0, kBlack};     // frames, box outlines, major grid lines
const Pen kMajorDepthPen{PS_SOLID, 1, kBlack};  // depth numbers and major depth lines
const Pen kMediumDepthPen{PS_SOLID, 1, kGrid};  // other numbered depths
const Pen kMinorDepthPen{PS_SOLID, 1, Rgb(128, 128, 128)};
const Pen kGridPen{PS_SOLID, 0, kGrid};
const Pen kImageGridPen{PS_DOT, 0, Rgb(127, 127, 127)};

Font TextFont(int height, int weight = FW_NORMAL) { return {"Arial", height, weight}; }

} // namespace

void CPlotWnd::OnPaint(Dc& dc)
{
    if (m_iconic || !LayOutWindow()) return; // a minimised window draws nothing
    const int bottom = GetClientRect().bottom;
    const Font oldFont = dc.SelectFont(TextFont(m_layout.fontHeight));
    const Pen oldPen = dc.SelectPen(kDefaultPen);
    DrawTrackHeaders(dc, m_layout.titleHeight, true);
    DrawTrackBoxes(dc, bottom);
    DrawDepthCaption(dc);
    DrawBand(dc, m_band);
    DrawImageGrid(dc, bottom);
    dc.SelectPen(oldPen);
    dc.SelectFont(oldFont);
}

void CPlotWnd::UseFont(Dc& dc, const Font& font) const
{
    // On screen the fonts often alternate between equal heights: selecting a font
    // is costly, and one already selected is left as it is. Paper gets every
    // selection, as it always has.
    if (m_bPrinting || !(dc.CurrentFont() == font)) dc.SelectFont(font);
}

void CPlotWnd::DrawTrackBoxes(Dc& dc, int bottom)
{
    const PlotLayout& l = m_layout;
    const Pen oldPen = dc.SelectPen(kDefaultPen);
    // The page below the headers was cleared white just before: a box needs white
    // again only where the headers may have drawn into it, not over its whole height
    // (a fill of the window at every scroll step).
    const Brush oldBrush = dc.SelectBrush({Rgb(255, 255, 255), true});
    const int headersEnd = l.titleHeight + l.headerHeight + 2 * std::max(l.fontHeight, l.fontHeight2);
    dc.SetBkMode(TRANSPARENT);
    for (int t = 1; t <= l.tracks; ++t) {
        const int x = l.TrackLeft(t), box = l.BoxWidth(t);
        if (box == 0) continue;
        dc.FillRect({x, l.headerHeight - 2, x + box, std::min(bottom, headersEnd)}, Rgb(255, 255, 255));
        dc.Rectangle({x, l.headerHeight - 2, x + box, bottom});
        if (m_model.m_bImageTrack[size_t(t)]) continue;
        for (bool major : {false, true}) {
            dc.SelectPen(major ? kDefaultPen : kGridPen);
            for (int offset : l.GridOffsets(t, major)) {
                dc.MoveTo(x + l.pad + offset, l.headerHeight);
                dc.LineTo(x + l.pad + offset, bottom - 2);
            }
        }
    }
    dc.SelectBrush(oldBrush);
    dc.SelectPen(oldPen);
    dc.SetBkMode(OPAQUE);
}

void CPlotWnd::DrawImageGrid(Dc& dc, int bottom)
{
    // Over the painted waveforms, so the grid stays visible.
    const PlotLayout& l = m_layout;
    const Pen oldPen = dc.SelectPen(kImageGridPen);
    const int top = l.titleHeight + l.headerHeight;
    for (int t = 1; t <= l.tracks; ++t) {
        if (!m_model.m_bImageTrack[size_t(t)] || l.BoxWidth(t) == 0) continue;
        const int x = l.TrackLeft(t) + l.pad;
        for (bool major : {false, true})
            for (int offset : l.GridOffsets(t, major)) {
                dc.MoveTo(x + offset, top);
                dc.LineTo(x + offset, bottom - 2);
            }
    }
    dc.SelectPen(oldPen);
}

void CPlotWnd::DrawDepthCaption(Dc& dc)
{
    const PlotLayout& l = m_layout;
    if (m_bPrinting && m_bDepthCaptionDone) return;
    const int x = l.DepthCentre(), y = l.titleHeight;
    const unsigned oldAlign = dc.SetTextAlign(TA_CENTER | TA_TOP);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(kBlack);
    const std::string unit = m_nDepthUnit == 255 ? "MET." : "FEET";
    const std::string scale = Format("[1:%d]", int(m_view.depthScale));
    if (m_bPrinting) {
        // On paper once, on page 1, both lines in the second font.
        UseFont(dc, TextFont(l.fontHeight2));
        dc.TextOut(x, y, unit);
        dc.TextOut(x, y + l.fontHeight, scale);
        m_bDepthCaptionDone = true;
    } else {
        UseFont(dc, TextFont(l.fontHeight));
        dc.TextOut(x, y, unit);
        UseFont(dc, TextFont(l.fontHeight2));
        dc.TextOut(x, y + l.fontHeight2, scale);
    }
    UseFont(dc, TextFont(l.fontHeight));
    dc.SetTextAlign(oldAlign);
    dc.SetBkMode(OPAQUE);
}

void CPlotWnd::DrawBand(Dc& dc, const PlotBand& band)
{
    const PlotLayout& l = m_layout;
    // A screen band holds rows above and below the window: its rows stand at
    // imageTop. Depth numbers are drawn for the rows shown (whole, as on a first
    // picture), everything else is held to those rows (not over the headers).
    const int rows = band.windowed ? band.shown : band.rows;
    const int source = band.windowed ? band.imageTop : 0;
    const int top = band.top - source;
    const Pen oldPen = dc.SelectPen(kDefaultPen);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(kBlack);

    // Depth numbers and lines, across the curve tracks.
    const unsigned oldAlign = dc.SetTextAlign(TA_CENTER | TA_TOP);
    UseFont(dc, TextFont(l.fontHeight));
    for (const PlotBand::DepthLine& d : band.depthLines) {
        if (band.windowed && (d.row < source || d.row >= source + rows)) continue;
        const int y = top + d.row;
        static const Pen* const kLinePens[] = {&kMajorDepthPen, &kMediumDepthPen, &kMinorDepthPen, &kGridPen};
        if (d.kind <= 1) {
            dc.SelectPen(kMajorDepthPen);
            dc.TextOut(l.DepthCentre() - 2, y - l.fontHeight / 2, Format("%5.0f", double(d.depth)));
        }
        dc.SelectPen(*kLinePens[std::clamp(d.kind, 0, 3)]);
        for (int t = 1; t <= l.tracks; ++t) {
            const int x = l.TrackLeft(t), box = l.BoxWidth(t);
            if (box == 0 || m_model.m_bImageTrack[size_t(t)]) continue;
            dc.MoveTo(x + 1, y + 1);
            dc.LineTo(x + box - 1, y + 1);
            if (d.kind == 0) {
                dc.MoveTo(x + 1, y + 2);
                dc.LineTo(x + box - 1, y + 2);
            }
        }
    }
    dc.SetTextAlign(oldAlign);
    if (band.windowed) dc.IntersectClipRect({0, band.top, l.pageWidth, band.top + std::max(rows, 0)});

    // Waveform and image rows: one blit per track.
    for (const PlotBand::Raster& r : band.rasters)
        if (rows > 0 && r.image.width > 0)
            dc.StretchImage({r.x, band.top, r.x + r.image.width, band.top + rows}, r.image,
                            {0, source, r.image.width, source + rows});

    // Shading strokes and their pattern marks, below the curves.
    for (const PlotBand::Stroke& s : band.strokes) {
        if (dc.CurrentPen().color != s.colour || dc.CurrentPen().width != 1) dc.SelectPen({PS_SOLID, 1, s.colour});
        dc.MoveTo(s.x0, top + s.row + 1);
        dc.LineTo(s.x1, top + s.row + 1);
    }
    for (const PlotBand::Pattern& p : band.patterns) DrawShadePattern(dc, p.x0, p.x1, top + p.row, p.pattern);

    // The curves, frame to frame.
    std::vector<Point> run;
    for (size_t i = 0; i < band.curves.size() && i < m_model.Count(); ++i) {
        const auto& points = band.curves[i];
        if (points.empty()) continue;
        const PlotItemView& v = m_model.View(i);
        dc.SelectPen({v.lineStyle, v.penWidth, v.lineColour});
        for (size_t k = 0; k <= points.size(); ++k) {
            if (k == points.size() || points[k] == PlotBand::kBreak) {
                if (run.size() > 1) dc.Polyline(run.data(), int(run.size()));
                run.clear();
                continue;
            }
            run.push_back({points[k].x, top + points[k].y});
        }
    }
    if (m_bPrinting) DrawFrameMarks(dc, band);
    dc.SelectPen(oldPen);
    dc.SetBkMode(OPAQUE);
    if (band.windowed) dc.ResetClip();
}

void CPlotWnd::DrawShadePattern(Dc& dc, int from, int to, int y, int pattern)
{
    const Pen oldPen = dc.SelectPen({PS_SOLID, 1, kGrid});
    auto line = [&dc](int x0, int x1, int yy) {
        dc.MoveTo(x0, yy);
        dc.LineTo(x1, yy);
    };
    constexpr int kPeriod = 20;
    switch (pattern) {
    case 1:
        for (int x = from; x < to - 5; x += kPeriod) line(x, x + 7, y - 1), line(x, x + 7, y);
        break;
    case 2:
        for (int x = from; x < to; x += kPeriod)
            for (int dy = -1; dy <= 1; ++dy) line(x - 1, x + 2, y + dy);
        break;
    case 3:
        for (int x = from; x < to - 10; x += kPeriod)
            for (int dy = -1; dy <= 0; ++dy) line(x - 1, x + 1, y + dy), line(x + 6, x + 13, y + dy);
        break;
    default: break;
    }
    dc.SelectPen(oldPen);
}

void CPlotWnd::DrawFrameMarks(Dc& dc, const PlotBand& band)
{
    // On paper the vertical grid of the curve tracks is made of short marks, one per
    // frame reached.
    const PlotLayout& l = m_layout;
    std::vector<int> minor, major; // x of every mark, over the curve tracks
    for (int t = 1; t <= l.tracks; ++t) {
        if (l.BoxWidth(t) == 0 || m_model.m_bImageTrack[size_t(t)]) continue;
        const int x = l.TrackLeft(t) + l.pad;
        for (int offset : l.GridOffsets(t, false)) minor.push_back(x + offset);
        for (int offset : l.GridOffsets(t, true)) major.push_back(x + offset);
    }
    for (int row : band.frameRows) {
        const int y = band.top + row;
        for (bool isMajor : {false, true}) {
            dc.SelectPen(isMajor ? kDefaultPen : Pen{PS_SOLID, 1, kGrid});
            for (int x : isMajor ? major : minor) {
                dc.MoveTo(x, y + 2);
                dc.LineTo(x, y + 3);
            }
        }
    }
}
