// CPlotWnd: the log-plot window and the print engine of the log plot. ViewLog builds
// the plot from the plot list and opens a "View Log" window that scrolls through the
// log's depths; PrintLog builds the same plot and prints it page by page as one job
// named "PDF Log", with no window.
//
// The frames are read outside the paint: whenever the window's depths change
// (opening, scrolling, keys, sizing, zoom, an edit of the items) the rows it shows
// are walked into a band (PlotRows.h), and a paint draws the headers, the track
// boxes and that band. The band outlives a scroll step (PlotRowsCache.h): a step
// walks only the rows that come into view; sizing, zoom and edits walk afresh. Split by concern: PlotWnd.cpp (set-up, zoom, the walk of the
// window), PlotWndInput.cpp (scrolling, keys, mouse, commands, closing),
// PlotWndPaint.cpp (paint, track boxes, grids, depth column, band),
// PlotWndHeaders.cpp (track headers, colour bars, title box, page frames),
// PlotWndPrint.cpp (the print run).
#pragma once

#include "platform/Input.h"
#include "plot/LogPlotItem.h"
#include "plot/PlotLayout.h"
#include "plot/PlotModel.h"
#include "plot/PlotRows.h"
#include "plot/PlotRowsCache.h"
#include "settings/LogSetupGroup.h"
#include "viewers/ViewerWnd.h"

#include <string>

class IPrintJob;

class CPlotWnd : public CViewerWnd {
public:
    // Page kinds of a printed page, which choose its frame and bottom headers.
    enum PageKind : int { kFirstPage = 1, kNextPage = 2, kLastPage = -1, kOnlyPage = 3 };

    // The plot of `setup`: its list, page settings, depth scale, depth column and units.
    explicit CPlotWnd(const LogSetupGroup& setup = LogSetupGroup());
    ~CPlotWnd() override;

    // Builds the plot and opens the window; false (with the reason shown) when no
    // window was opened. Depth units "Feet" give feet, any other text metres; the
    // depth column stands left of track 1 when depthTrackOn is 1, else between
    // tracks 1 and 2.
    bool ViewLog(const std::string& windowClass);
    // Builds the plot and prints it, titled by the setup's header, on the host's print
    // job; true when a document was written (whole, or up to where the user stopped
    // it or a frame failed).
    bool PrintLog();

    // Applies the application's pending depth zoom (+1 halves the scale, -1 doubles it,
    // within 1:100 to 1:1000) and recomputes the grid.
    void Zoom();

    // ---- handlers ------------------------------------------------------------------------------
    void OnPaint(Dc& dc) override;
    void OnSize(unsigned type, int cx, int cy) override;
    void OnVScroll(int code, int pos) override;
    void OnKeyDown(unsigned key, unsigned repeat, unsigned flags) override;
    void OnLButtonDblClk(unsigned flags, Point p) override;
    void OnClose() override;
    bool OnCommand(int id) override;

    // Where the window stands in the log's depths.
    struct DepthView {
        float depthScale = 480.0f; // 1:depthScale, as zoomed
        double depthPerRow = 0.0;
        double top = 0.0;       // depth of the first row shown
        double pageDepth = 0.0; // the page step of scrolling
        int rows = 0;           // rows below the headers
        int depthSteps = 0;     // frames of the log
        ScrollInfo scroll;
    };

    // ---- what the frame, commands and tests read -------------------------------------------------
    // The settings the plot was made from; its plot list is the one shown, its items
    // the application's.
    LogSetupGroup& Setup() { return m_setup; }
    const CPlotModel& Model() const { return m_model; }
    const PlotLayout& Layout() const { return m_layout; }
    const DepthGrid& Grid() const { return m_grid; }
    const DepthView& Depths() const { return m_view; }
    // The rows the window shows, or the page being printed.
    const PlotBand& Band() const { return m_band; }
    const CPlotRowCache& RowCache() const { return m_cache; }
    // The kind of the last page printed.
    int LastPageKind() const { return m_nPageKind; }
    // Places the window's top for the next walk (sizing, zoom); reads nothing.
    void SetViewTop(double top) { m_view.top = top; }

private:
    // Steps shared by both entry points; false when nothing can be drawn (reason shown).
    bool SetUp(const DeviceCaps* paper);
    bool FitTracksToPaper(const DeviceCaps& caps);
    void SetUnits(); // from the setup's depth units
    // Tells the user which data sets' depth units disagree with the log's.
    void TellOtherDepthUnits();
    Color ColorLevelZero() const;
    CPlotRowWalk::Settings WalkSettings() const;
    // Screen: the page from the client area (no reading); false when it is empty.
    bool LayOutWindow();
    // Screen: walks the rows the window shows into the band, keeping the rows it
    // holds when `keepRows` (a scroll step). Reads; never in a paint.
    void Render(bool keepRows = false);
    int RowMargin() const; // rows kept above and below the window
    void SetScrollRange();
    void MoveViewTop(double top, bool keepRows = true);
    double LowestViewTop() const; // the view top that shows the log's last row
    void ShowReadOut(double depth);
    void Rebuild();

    // Painters (device units; the band's rows stand at band.top + row).
    void UseFont(Dc& dc, const Font& font) const;
    void DrawTrackHeaders(Dc& dc, int y0, bool pageFrame);
    void ClearPage(Dc& dc, const Rect& page);
    void DrawHeaderBlocks(Dc& dc, int y0);
    void DrawCurveBlock(Dc& dc, const PlotItemView& v, int t, int y);
    void DrawWaveBlock(Dc& dc, const PlotItemView& v, int t, int y);
    void DrawColourBar(Dc& dc, Palette scale, int width, int height, int x, int y);
    void DrawBottomHeaders(Dc& dc);
    void DrawTitleBox(Dc& dc);
    void DrawPageFrame(Dc& dc);
    void DrawTrackBoxes(Dc& dc, int bottom);
    void DrawImageGrid(Dc& dc, int bottom);
    void DrawDepthCaption(Dc& dc);
    void DrawBand(Dc& dc, const PlotBand& band);
    void DrawFrameMarks(Dc& dc, const PlotBand& band);
    void DrawShadePattern(Dc& dc, int from, int to, int y, int pattern);
    void DrawPage(Dc& dc, bool lastPage);
    int PlotToPrinter(IPrintJob& job);

    LogSetupGroup m_setup;
    CPlotModel m_model;
    PlotLayout m_layout;
    PlotBand m_band; // the rows the window shows, or the page being printed
    DepthGrid m_grid;
    DepthView m_view;
    bool m_bPrinting = false;
    int m_nDepthUnit = 1; // 1 feet, 255 metres
    std::string m_strUnitLabel = " ft";
    float m_fMmPerUnit = 304.8f;
    int m_nPixelsPerInchY = 96; // the device's rows per inch
    // The print run.
    int m_nPage = 0;
    int m_nPageKind = kFirstPage;
    int m_nRowsDone = 0, m_nRowsTotal = 0;
    bool m_bDepthCaptionDone = false;

    CPlotRowWalk m_walk;
    CPlotRowCache m_cache;
    bool m_rendered = false; // the band holds the window's rows
    Image m_colourBar; // the header colour bar being drawn
};
