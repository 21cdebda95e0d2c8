#include "plot/PlotWnd.h"

#include "platform/Format.h"
#include "platform/Host.h"
#include "platform/SafeNumeric.h"
#include "plot/PlotPalette.h"
#include "settings/SettingsStore.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr float kMinDepthScale = 100.0f, kMaxDepthScale = 1000.0f; // the zoom's limits
} // namespace

CPlotWnd::CPlotWnd(const LogSetupGroup& setup)
    : m_setup(setup), m_walk(m_model, m_layout), m_cache(m_model, m_layout, m_walk, m_band) {}

CPlotWnd::~CPlotWnd() = default;

void CPlotWnd::SetUnits()
{
    const bool feet = m_setup.depthUnits == "Feet";
    m_nDepthUnit = feet ? 1 : 255;
    m_strUnitLabel = feet ? " ft" : " m";
    m_fMmPerUnit = feet ? 304.8f : 1000.0f;
}

Color CPlotWnd::ColorLevelZero() const
{
    return BackgroundLevelZero(m_setup.backBlue != 0, m_setup.backBeige != 0, m_setup.backGray != 0);
}

CPlotRowWalk::Settings CPlotWnd::WalkSettings() const
{
    CPlotRowWalk::Settings s;
    s.depthPerRow = m_view.depthPerRow;
    s.grid = m_grid;
    s.colorLevelZero = ColorLevelZero();
    // The same spacing on screen and on paper, whatever the device's resolution.
    s.wiggleSpacing = CPlotRowWalk::WiggleSpacingFor(m_nPixelsPerInchY);
    return s;
}

bool CPlotWnd::SetUp(const DeviceCaps* paper)
{
    m_view.depthScale = m_setup.depthScale;
    m_bPrinting = paper != nullptr;
    m_iconic = false;
    PlotLayout& l = m_layout;
    l = PlotLayout();
    if (paper) {
        // One logical unit is one printer pixel; the fonts grow with the resolution.
        const float f = paper->logPixelsY > 150 ? float(paper->logPixelsY) / 144.0f : 1.0f;
        l.pageWidth = paper->horzRes;
        l.pageHeight = paper->vertRes;
        l.leftMargin = l.rightMargin = 0;
        l.pad = paper->horzRes / 500;
        l.fontHeight = l.fontHeight2 = int(18.0f * f);
        l.titleFontHeight = int(36.0f * f);
        l.waveHeader = int(15.0f * f);
        l.depthWidth = int(float(paper->logPixelsX) * 0.5f);
        m_nPixelsPerInchY = std::max(paper->logPixelsY, 1);
    }
    for (int t = 1; t <= kPlotTracks; ++t) l.trackInches[size_t(t)] = std::max(m_setup.trackWidth[size_t(t - 1)], 0.0f);
    SetUnits();
    m_grid = DepthGridFor(m_view.depthScale);
    l.SetDepthColumn(m_setup.depthTrackOn == 1);

    SetCursor(CursorKind::Wait);
    const int built = m_model.BuildPlot(m_setup.plotItems);
    SetCursor(CursorKind::Arrow);
    if (built != 1) return false;
    l.tracks = m_model.m_nTracks;
    if (l.TotalInches() == 0.0f) {
        MessageBox("Requested total tracks width equal 0.0 inch!\nOperation will be abandoned.", MB_OK | MB_ICONSTOP);
        return false;
    }
    if (paper && !FitTracksToPaper(*paper)) return false;
    if (!paper) l.FitToWindow();
    TellOtherDepthUnits();
    return true;
}

void CPlotWnd::TellOtherDepthUnits()
{
    // The log keeps Log Setup's units, which label its depths and set its scale: a data
    // set in the other units is drawn at the wrong scale unless the user knows it.
    const bool metres = m_nDepthUnit == 255;
    const char* const theirs = metres ? "[ft]" : "[m]";
    const char* const ours = metres ? "Metric [m]" : "English [ft]";
    std::string lines;
    for (const std::string& path : m_model.DataSetsInOtherUnits(metres))
        lines += Format("Depth units of data set :\n%s\nare %s, but Log Setup's depth units are %s.\n", path.c_str(),
                        theirs, ours);
    if (lines.empty()) return;
    MessageBox(lines + Format("The log is drawn and labelled in %s.", metres ? "[m]" : "[ft]"),
               MB_OK | MB_ICONEXCLAMATION);
}

bool CPlotWnd::FitTracksToPaper(const DeviceCaps& caps)
{
    PlotLayout& l = m_layout;
    const float perInch = float(std::max(caps.logPixelsX, 1));
    const float usable = float(caps.horzRes) / perInch;
    const float margins = 0.5f;
    const float borderIn = float(l.pad) / perInch;
    float borders = 0;
    for (int t = 1; t <= kPlotTracks; ++t)
        if (l.trackInches[size_t(t)] != 0.0f) borders += 2 * borderIn;
    const float total = l.TotalInches();
    const float room = usable - margins - borders;
    if (room < total) {
        const std::string question =
            Format("Requested total tracks width of %3.1f inches exceeds the width allowed for this printer (%3.1f "
                   "inches).\nWould you like to perform automatic rescaling?",
                   total, usable - margins);
        if (MessageBox(question, MB_YESNO | MB_ICONQUESTION) != IDYES) return false;
        const float factor = std::max(room, 0.0f) / total;
        for (int t = 1; t <= kPlotTracks; ++t) l.trackInches[size_t(t)] *= factor;
    }
    l.FitToPaper(int(perInch));
    return true;
}

bool CPlotWnd::ViewLog(const std::string& windowClass)
{
    if (!SetUp(nullptr)) return false;
    m_view.top = m_model.m_dTopDepth;
    SetScrollRange();
    m_rendered = false;
    m_cache.Invalidate();
    if (!CreateChild(windowClass, "View Log", WS_VSCROLL | WS_MAXIMIZE)) return false;
    if (!m_rendered) Render(); // a host that told no size yet
    SetScrollRange(); // the rows the window shows are known now
    SetScrollInfo(SB_VERT, m_view.scroll);
    ShowReadOut(m_view.top);
    Invalidate(true);
    return true;
}

void CPlotWnd::SetScrollRange()
{
    const double steps = (m_model.m_dBottomDepth - m_model.m_dTopDepth) / m_model.m_dDepthStep;
    m_view.depthSteps = std::max(ClampToInt(steps), 0);
    m_view.scroll = ScrollInfo();
    m_view.scroll.min = 0;
    m_view.scroll.max = std::max(m_view.depthSteps - 1, 0);
    // The page is the depth the window shows down to the log's last row: the thumb
    // reaches the bottom where the view stops, with that row in view, and is as long
    // as the share shown. Whole steps up: the last page starts where the view's
    // lowest top lies.
    const double shown = std::ceil((m_model.m_dBottomDepth - LowestViewTop()) / m_model.m_dDepthStep - 1e-9);
    m_view.scroll.page = unsigned(std::clamp(std::isfinite(shown) ? ClampToInt(shown) : 0, 1, m_view.scroll.max + 1));
    m_view.scroll.pos = std::clamp(ClampToInt((m_view.top - m_model.m_dTopDepth) / m_model.m_dDepthStep), 0,
                                  m_view.scroll.max);
    m_view.scroll.trackPos = m_view.scroll.pos;
}

void CPlotWnd::Zoom()
{
    int16_t& request = theApp.m_display.depthZoomRequest;
    if (request == -1 || request == 1) {
        const float scale = request == -1 ? m_view.depthScale * 2.0f : m_view.depthScale / 2.0f;
        if (scale <= kMaxDepthScale && scale >= kMinDepthScale) m_view.depthScale = scale;
        else MessageBox("Reached depth domain zoom limit!\nOperation will be abandoned.", MB_OK);
        request = 0;
    }
    SetUnits();
    m_grid = DepthGridFor(m_view.depthScale);
    m_view.depthPerRow = 25.4 / m_nPixelsPerInchY * m_view.depthScale / m_fMmPerUnit;
}

bool CPlotWnd::LayOutWindow()
{
    const Rect client = GetClientRect();
    if (client.Width() <= 0 || client.Height() <= 0) {
        m_iconic = true;
        return false;
    }
    PlotLayout& l = m_layout;
    l.pageWidth = client.Width();
    l.pageHeight = client.Height();
    l.SetDepthColumn(m_setup.depthTrackOn == 1);
    l.tracks = m_model.m_nTracks;
    l.FitToWindow();
    l.headerHeight = l.HeaderHeightFor(m_model.m_nMaxItemsPerTrack, m_model.m_bHasWaveHeader);
    m_view.rows = std::max(client.bottom - l.headerHeight, 0);
    m_iconic = false;
    return true;
}

int CPlotWnd::RowMargin() const
{
    // Enough for whatever a row draws beyond itself: a depth number's half height,
    // a wiggle's swing, a curve's pen.
    int pen = 1;
    for (size_t i = 0; i < m_model.Count(); ++i) pen = std::max(pen, m_model.View(i).penWidth);
    const int spacing = CPlotRowWalk::WiggleSpacingFor(m_nPixelsPerInchY);
    return std::max({m_layout.fontHeight, m_layout.fontHeight2, spacing, std::min(pen, 64)}) + 4;
}

void CPlotWnd::Render(bool keepRows)
{
    if (!keepRows) m_cache.Invalidate();
    if (!IsWindow() || !LayOutWindow()) {
        m_cache.Invalidate();
        m_band.Reset(m_model, m_layout, 0, ColorLevelZero());
        return;
    }
    if (!m_cache.Valid())
        if (auto dc = GetDC()) m_nPixelsPerInchY = std::max(dc->GetDeviceCaps(LOGPIXELSY), 1);
    m_view.depthPerRow = 25.4 / m_nPixelsPerInchY * m_view.depthScale / m_fMmPerUnit;
    const double origin = m_model.m_dTopDepth, step = m_model.m_dDepthStep;
    // The top row on the log's row grid nearest the window's depth: a row shows the
    // same wherever the window came from.
    CPlotRowCache::Frame frame;
    const double row = (m_view.top - origin) / m_view.depthPerRow;
    frame.top = std::isfinite(row) ? int64_t(std::clamp(std::llround(std::clamp(row, 0.0, 1.0e12)), 0LL, 1LL << 40)) : 0;
    frame.rows = m_view.rows;
    frame.margin = RowMargin();
    frame.reach = CPlotRowWalk::WiggleSpacingFor(m_nPixelsPerInchY) + 1;
    frame.origin = origin;
    frame.settings = WalkSettings();
    frame.colorLevelZero = ColorLevelZero();
    const bool shown = m_cache.Show(frame);
    m_band.top = m_layout.titleHeight + m_layout.headerHeight;
    // A first frame that cannot be read leaves the boxes empty.
    m_rendered = shown || m_band.shown > 0;
    // A page: down to the frame after the last row.
    const double lastRow = origin + double(frame.top + std::max(m_view.rows - 1, 0)) * m_view.depthPerRow;
    const double next = origin + (std::floor((lastRow - origin) / step + 1e-9) + 1.0) * step;
    m_view.pageDepth = std::max(next - m_view.top - 40 * step, step);
    if (!std::isfinite(m_view.pageDepth)) m_view.pageDepth = step;
}

void CPlotWnd::ShowReadOut(double depth) { SetDepthReadOut(Format("%10.4f%s", depth, m_strUnitLabel.c_str())); }
