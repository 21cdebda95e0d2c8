#include "plot/PlotWnd.h"

#include "platform/Format.h"
#include "platform/NumberText.h"
#include "plot/PlotPalette.h"

#include <algorithm>
#include <array>
#include <utility>
#include <vector>
#include <cmath>

namespace {

const Color kBlack = Rgb(0, 0, 0);
const Pen kDefaultPen{PS_SOLID, 0, kBlack};
const Pen kGridDotPen{PS_DOT, 0, Rgb(128, 128, 128)}; // over image tracks on paper

Font TextFont(int height, int weight = FW_NORMAL) { return {"Arial", height, weight}; }

// A scale limit with the decimals it was given (0.45, not 0.4); one that one decimal
// holds prints as it always has.
std::string LimitText(float value) { return Format("%4.*f", FloatDecimals(value), double(value)); }

} // namespace

void CPlotWnd::DrawTrackHeaders(Dc& dc, int y0, bool pageFrame)
{
    const PlotLayout& l = m_layout;
    const Pen oldPen = dc.SelectPen(kDefaultPen);
    dc.SetBkMode(TRANSPARENT);
    if (pageFrame && !m_bPrinting) {
        // The page, cleared white, with its frame.
        const Rect page{l.leftMargin, y0, l.pageWidth - l.rightMargin, GetClientRect().bottom};
        ClearPage(dc, page);
        const Brush oldBrush = dc.SelectBrush({Rgb(255, 255, 255), true});
        dc.Rectangle(page);
        dc.SelectBrush(oldBrush);
    } else if (pageFrame) {
        dc.MoveTo(l.leftMargin, y0);
        dc.LineTo(l.pageWidth - l.rightMargin, y0);
    }
    DrawHeaderBlocks(dc, y0);
    dc.SelectPen(oldPen);
    dc.SetBkMode(OPAQUE);
}

void CPlotWnd::ClearPage(Dc& dc, const Rect& page)
{
    // Not under the band's image rows: their blits cover them whole, and the page
    // is mostly image on a log of waveforms.
    const Color white = Rgb(255, 255, 255);
    const PlotBand& band = m_band;
    const int shown = band.windowed ? band.shown : band.rows;
    const int top = std::clamp(band.top, page.top, page.bottom);
    const int end = std::clamp(band.top + std::max(shown, 0), top, page.bottom);
    std::vector<std::pair<int, int>> covered; // columns of the blits, left to right
    for (const PlotBand::Raster& r : band.rasters)
        if (r.image.width > 0) covered.emplace_back(std::max(r.x, page.left), std::min(r.x + r.image.width, page.right));
    std::sort(covered.begin(), covered.end());
    dc.FillRect({page.left, page.top, page.right, top}, white);
    int x = page.left;
    for (const auto& [from, to] : covered) {
        if (from > x) dc.FillRect({x, top, from, end}, white);
        x = std::max(x, to);
    }
    dc.FillRect({x, top, page.right, end}, white);
    dc.FillRect({page.left, end, page.right, page.bottom}, white);
}

void CPlotWnd::DrawHeaderBlocks(Dc& dc, int y0)
{
    // Curve blocks first, then the waveform and image blocks of each track below them.
    const PlotLayout& l = m_layout;
    std::array<int, kPlotTracks + 1> blocks{};
    for (bool curves : {true, false})
        for (int t = 1; t <= l.tracks; ++t) {
            if (l.BoxWidth(t) == 0) continue;
            for (size_t i = 0; i < m_model.Count(); ++i) {
                const PlotItemView& v = m_model.View(i);
                if (!v.inUse || v.track != t || v.curve != curves) continue;
                const int y = y0 + blocks[size_t(t)]++ * 2 * l.fontHeight;
                UseFont(dc, TextFont(l.fontHeight2));
                if (curves) DrawCurveBlock(dc, v, t, y);
                else DrawWaveBlock(dc, v, t, y);
                UseFont(dc, TextFont(l.fontHeight));
            }
        }
}

void CPlotWnd::DrawCurveBlock(Dc& dc, const PlotItemView& v, int t, int y)
{
    const PlotLayout& l = m_layout;
    const int h = l.fontHeight, w = l.trackPixels[size_t(t)], xL = l.TrackLeft(t);
    const int xc = xL + l.BoxWidth(t) / 2, y2 = y + int(h * 1.1);
    const CLogPlotItem& it = *v.item;
    dc.SelectPen({v.lineStyle, v.penWidth, v.lineColour});
    dc.SetTextColor(v.lineColour);
    dc.SetTextAlign(TA_CENTER | TA_TOP);
    dc.TextOut(xc, y, it.m_strName);
    if (l.trackInches[size_t(t)] >= 1.0f) dc.TextOut(xc, y2, it.m_datum.unitsName);
    dc.MoveTo(xL + l.pad + 1, y + h);
    dc.LineTo(xL + w - l.pad - 1, y + h);
    dc.SetTextAlign(TA_LEFT | TA_TOP);
    dc.TextOut(xL + l.pad + 1, y2, LimitText(v.left));
    dc.SetTextAlign(TA_RIGHT | TA_TOP);
    dc.TextOut(xL + w - l.pad - 1, y2, LimitText(v.right));
    dc.SetTextAlign(TA_LEFT | TA_TOP);
    dc.SelectPen(kDefaultPen);
}

void CPlotWnd::DrawWaveBlock(Dc& dc, const PlotItemView& v, int t, int y)
{
    const PlotLayout& l = m_layout;
    const int h = l.fontHeight, w = l.trackPixels[size_t(t)], xL = l.TrackLeft(t);
    const int xc = xL + l.BoxWidth(t) / 2, y2 = y + int(h * 1.1);
    const int textLeft = xL + l.pad + 1, textRight = xL + w - l.pad - 1;
    const CLogPlotItem& it = *v.item;
    dc.SelectPen({PS_SOLID, 1, kBlack});
    dc.SetTextColor(kBlack);
    auto text = [&dc](unsigned align, int x, int yy, const std::string& s) {
        dc.SetTextAlign(align | TA_TOP);
        dc.TextOut(x, yy, s);
    };
    int bar = 0;
    if (!v.frequencyImage && !v.slownessImage) {
        text(TA_CENTER, xc, y, it.m_strName);
        dc.MoveTo(textLeft, y + h);
        dc.LineTo(textRight, y + h);
    }
    if (v.frequencyImage) {
        text(TA_CENTER, xc, y, Format("%s [Hz]", it.m_strName.c_str()));
        text(TA_LEFT, textLeft, y, LimitText(it.m_scale.freqMin));
        text(TA_RIGHT, textRight, y, LimitText(it.m_scale.freqMax));
        DrawColourBar(dc, it.m_style.palette.Value(), w, l.waveHeader, xL, y);
        bar = l.waveHeader;
    }
    if (v.slownessImage) {
        const char* unit = it.m_datum.slownessUnit == 2 ? "uSec/ft" : "uSec/m";
        text(TA_CENTER, xc, y, Format("%s [%s]", it.m_strName.c_str(), unit));
        text(TA_LEFT, textLeft, y, LimitText(it.m_scale.slowMin));
        text(TA_RIGHT, textRight, y, LimitText(it.m_scale.slowMax));
        DrawColourBar(dc, it.m_style.palette.Value(), w, l.waveHeader, xL, y);
        bar = l.waveHeader;
    }
    text(TA_CENTER, xc, y2 + bar, it.m_datum.unitsName);
    text(TA_LEFT, textLeft, y2 + bar, LimitText(v.left));
    text(TA_RIGHT, textRight, y2 + bar, LimitText(v.right));
    dc.SetTextAlign(TA_LEFT | TA_TOP);
    dc.SelectPen(kDefaultPen);
}

void CPlotWnd::DrawColourBar(Dc& dc, Palette scale, int width, int height, int x, int y)
{
    // The 32 levels in runs of width / 32 + 1 columns, the last run up to the end; an
    // image of the bar's size whatever the track's width.
    if (scale == kPaletteNone || width <= 0 || height <= 0) return;
    const int run = width / kScaleLevels + 1;
    if (m_colourBar.width != width || m_colourBar.height != height) m_colourBar = Image(width, height);
    const Color zero = ColorLevelZero();
    for (int c = 0; c < width; ++c)
        m_colourBar.Row(0)[c] = ToArgb(ScaleColour(scale, std::min(c / run, kScaleLevels - 1), zero));
    for (int k = 1; k < height; ++k) std::copy(m_colourBar.Row(0), m_colourBar.Row(0) + width, m_colourBar.Row(k));
    const int left = m_layout.pad + x + 1, top = y + m_layout.fontHeight;
    dc.StretchImage({left, top, left + width, top + height}, m_colourBar);
}

void CPlotWnd::DrawBottomHeaders(Dc& dc)
{
    const PlotLayout& l = m_layout;
    int y0 = m_band.rows;
    if (m_nPageKind == kOnlyPage) y0 += l.titleHeight + l.headerHeight;
    const Pen oldPen = dc.SelectPen(kDefaultPen);
    dc.SetBkMode(TRANSPARENT);
    DrawHeaderBlocks(dc, y0);
    dc.MoveTo(l.leftMargin, y0 + l.headerHeight);
    dc.LineTo(l.pageWidth - l.rightMargin, y0 + l.headerHeight);
    dc.SelectPen(oldPen);
    dc.SetBkMode(OPAQUE);
}

void CPlotWnd::DrawTitleBox(Dc& dc)
{
    const PlotLayout& l = m_layout;
    const Pen oldPen = dc.SelectPen({PS_SOLID, 1, kBlack});
    dc.SetBkMode(TRANSPARENT);
    const int top = l.fontHeight;
    dc.Rectangle({l.leftMargin, top, l.pageWidth - l.rightMargin, top + 2 * l.titleFontHeight});
    dc.SelectFont(TextFont(l.titleFontHeight, 600));
    const unsigned oldAlign = dc.SetTextAlign(TA_CENTER | TA_TOP);
    dc.SetTextColor(kBlack);
    dc.TextOut(l.leftMargin + l.pageWidth / 2, top + l.titleFontHeight / 2, m_setup.header);
    dc.SetTextAlign(oldAlign);
    UseFont(dc, TextFont(l.fontHeight));
    dc.SelectPen(oldPen);
}

void CPlotWnd::DrawPageFrame(Dc& dc)
{
    const PlotLayout& l = m_layout;
    const int row = m_band.rows, vertRes = l.pageHeight;
    int top = 0, gridTop = 0, bottom = vertRes;
    switch (m_nPageKind) {
    case kFirstPage:
        top = l.titleHeight;
        gridTop = l.titleHeight + l.headerHeight - 2;
        bottom = std::min(l.titleHeight + l.headerHeight + row, vertRes);
        break;
    case kLastPage: bottom = row; break;
    case kOnlyPage:
        top = l.titleHeight;
        gridTop = l.titleHeight + l.headerHeight - 2;
        bottom = row + l.titleHeight + l.headerHeight;
        break;
    default: break;
    }
    const Pen oldPen = dc.SelectPen(kDefaultPen);
    dc.SetBkMode(TRANSPARENT);
    auto vertical = [&dc](int x, int y0, int y1) {
        dc.MoveTo(x, y0);
        dc.LineTo(x, y1);
    };
    if (l.depthMode == 1) vertical(l.leftMargin, top, bottom + l.headerHeight);
    for (int t = 1; t <= l.tracks; ++t) {
        const int box = l.BoxWidth(t);
        if (box == 0) continue; // a track of no width takes no room
        const int x = l.TrackLeft(t);
        dc.SelectPen(kDefaultPen);
        vertical(x, top, bottom + l.headerHeight);
        vertical(x + box, top, bottom + l.headerHeight);
        if (!m_model.m_bImageTrack[size_t(t)]) continue;
        dc.SelectPen(kGridDotPen);
        for (bool major : {false, true})
            for (int offset : l.GridOffsets(t, major)) vertical(x + l.pad + offset, gridTop + 2, bottom);
    }
    dc.SelectPen(oldPen);
    dc.SetBkMode(OPAQUE);
}
