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
#include "viewers/ViewerWnd.h"

#include <array>
#include <string>

class IPrintJob;

class CPlotWnd : public CViewerWnd {
public:
    // Page kinds of a printed page, which choose its frame and bottom headers.
    enum PageKind : int { kFirstPage = 1, kNextPage = 2, kLastPage = -1, kOnlyPage = 3 };

    CPlotWnd();
    ~CPlotWnd() override;

    // ---- set by the Display > Log command before ViewLog or PrintLog --------------------
    std::array<float, kPlotTracks + 1> m_fTrackWidth{}; // inches, by track number 1..16
    bool m_bBackBlue = false, m_bBackBeige = false, m_bBackGray = false;
    std::string m_strHeader; // the title of a printed log

    // Builds the plot and opens the window; false (with the reason shown) when no
    // window was opened. `depthUnits` "Feet" gives feet, any other text metres; the
    // depth column stands left of track 1 when `depthTrackOn` is 1, else between
    // tracks 1 and 2.
    bool ViewLog(const std::string& windowClass, const PlotItemList& items, float depthScale, short depthTrackOn,
                 short depthTrackOff, const std::string& depthUnits);
    // Builds the plot and prints it on the host's print job; true when a document
    // was written (whole, or up to where the user stopped it or a frame failed).
    bool PrintLog(const PlotItemList& items, float depthScale, short depthTrackOn, short depthTrackOff,
                  const std::string& depthUnits);

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

    // ---- state (read by tests) -------------------------------------------------------------------
    const CPlotRowCache& RowCache() const { return m_cache; }
    PlotItemList m_items; // the plot list shown; its items are the application's
    CPlotModel m_model;
    PlotLayout m_layout;
    PlotBand m_band;      // the rows the window shows, or the page being printed
    bool m_bPrinting = false;
    float m_fDepthScale = 480.0f;
    DepthGrid m_grid;
    short m_bDepthTrackOn = 0, m_bDepthTrackOff = 0;
    int m_nDepthUnit = 1; // 1 feet, 255 metres
    std::string m_strDepthUnits, m_strUnitLabel = " ft";
    float m_fMmPerUnit = 304.8f;
    int m_nPixelsPerInchY = 96; // the device's rows per inch
    double m_dDepthPerRow = 0.0;
    double m_dViewTop = 0.0;
    double m_dViewDepth = 0.0; // the page step of scrolling
    int m_nViewRows = 0;
    int m_nDepthSteps = 0;
    ScrollInfo m_scrollInfo;
    // The print run.
    int m_nPage = 0;
    int m_nPageKind = kFirstPage;
    int m_nRowsDone = 0, m_nRowsTotal = 0;
    bool m_bDepthCaptionDone = false;

private:
    // Steps shared by both entry points; false when nothing can be drawn (reason shown).
    bool SetUp(const PlotItemList& items, float depthScale, short depthTrackOn, short depthTrackOff,
               const std::string& depthUnits, const DeviceCaps* paper);
    bool FitTracksToPaper(const DeviceCaps& caps);
    void SetUnits(const std::string& depthUnits);
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
    void ShowReadOut(double depth);
    void Rebuild();

    // Painters (device units; the band's rows stand at band.top + row).
    void UseFont(Dc& dc, const Font& font) const;
    void DrawTrackHeaders(Dc& dc, int y0, bool pageFrame);
    void ClearPage(Dc& dc, const Rect& page);
    void DrawHeaderBlocks(Dc& dc, int y0);
    void DrawCurveBlock(Dc& dc, const PlotItemView& v, int t, int y);
    void DrawWaveBlock(Dc& dc, const PlotItemView& v, int t, int y);
    void DrawColourBar(Dc& dc, const std::string& scaleName, int width, int height, int x, int y);
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

    CPlotRowWalk m_walk;
    CPlotRowCache m_cache;
    bool m_rendered = false; // the band holds the window's rows
    Image m_colourBar; // the header colour bar being drawn
};
