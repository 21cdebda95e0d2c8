#include "plot/PlotWnd.h"

#include "common/ProgressDlg.h"
#include "platform/CommandResult.h"
#include "platform/Host.h"
#include "platform/PrintJob.h"
#include "platform/SafeNumeric.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace {
constexpr int kRowsBetweenPolls = 64; // rows drawn between looks at the progress dialog's Cancel
} // namespace

bool CPlotWnd::PrintLog()
{
    // The job is made first: its page says how wide the tracks may be. A job that is
    // dropped before its document starts leaves nothing behind.
    std::unique_ptr<IPrintJob> job = Host().CreatePrintJob("PDF Log");
    if (!job) return false; // the user chose no file, or there is no printer
    const DeviceCaps caps = job->Caps();
    if (!SetUp(&caps)) return false;
    const int result = PlotToPrinter(*job);
    m_model.CloseFiles();
    if (result == 0) {
        // The job says why its document could not be written (a full disk, ...).
        const std::string why = job->FailureText();
        MessageBox("Error plotting log data." + (why.empty() ? why : "\n" + why), MB_OK | MB_ICONSTOP);
        return false;
    }
    if (!job->OutputPath().empty()) ShowCommandResult("Print PDF File done: wrote " + job->OutputPath());
    return true;
}

void CPlotWnd::DrawPage(Dc& dc, bool lastPage)
{
    // Frame lines that run on to the bottom headers stop at the paper's edge.
    dc.IntersectClipRect({0, 0, m_layout.pageWidth, m_layout.pageHeight});
    const Font oldFont = dc.SelectFont({"Arial", m_layout.fontHeight, FW_NORMAL});
    if (m_nPage == 1) {
        DrawTitleBox(dc);
        DrawTrackHeaders(dc, m_layout.titleHeight, true);
        DrawDepthCaption(dc);
    }
    DrawBand(dc, m_band);
    DrawPageFrame(dc);
    if (lastPage) DrawBottomHeaders(dc);
    dc.SelectFont(oldFont);
    dc.ResetClip();
}

int CPlotWnd::PlotToPrinter(IPrintJob& job)
{
    PlotLayout& l = m_layout;
    m_view.depthPerRow = 25.4 / m_nPixelsPerInchY * m_view.depthScale / m_fMmPerUnit;
    m_bDepthCaptionDone = false;
    l.titleHeight = 3 * l.titleFontHeight;
    l.headerHeight = l.HeaderHeightFor(m_model.m_nMaxItemsPerTrack, m_model.m_bHasWaveHeader);
    if (m_walk.Start(m_model.m_dTopDepth, WalkSettings()) < 0) return 0;
    // The rows down to the log's last frame, and that frame's own.
    const double rows = std::ceil((m_model.m_dBottomDepth - m_model.m_dTopDepth) / m_view.depthPerRow) + 1;
    m_nRowsTotal = std::max(ClampToInt(rows), 0);
    m_nRowsDone = 0;
    m_nPage = 0;
    m_nPageKind = kFirstPage;

    CProgressDlg progress(0);
    progress.Create();
    progress.SetStatus("Preparing log data for plotting. Please wait...");
    progress.SetRange(0, m_nRowsTotal);
    if (!job.StartDoc("PDF Log")) {
        progress.DestroyWindow();
        return 0;
    }
    const int pageRows = l.pageHeight;
    for (;;) {
        if (!job.StartPage()) {
            job.Abort();
            progress.DestroyWindow();
            return 0;
        }
        ++m_nPage;
        // Page 1 keeps room for the title and the track headers.
        const int allowance = m_nPage == 1 ? l.titleHeight + l.headerHeight : 0;
        const int capacity = std::max(pageRows - allowance, 1);
        m_band.Reset(m_model, l, capacity, ColorLevelZero());
        m_band.top = allowance;
        m_walk.NewPage();
        CPlotRowWalk::End end = CPlotRowWalk::End::Rows;
        bool stopped = false;
        while (m_band.rows < capacity) {
            if (progress.CheckCancelButton()
                && MessageBox("Are you sure you want to stop plotting?", MB_YESNO | MB_ICONQUESTION) == IDYES) {
                stopped = true;
                break;
            }
            const int before = m_band.rows;
            end = m_walk.Walk(m_band, std::min(capacity, m_band.rows + kRowsBetweenPolls));
            m_nRowsDone += m_band.rows - before;
            progress.SetPos(std::min(m_nRowsDone, m_nRowsTotal));
            if (end != CPlotRowWalk::End::Rows) break;
        }
        const bool endOfData = end == CPlotRowWalk::End::Bottom && !stopped;
        // A frame that cannot be read ends the log there, once: its data set has said
        // why, and the pages so far stay a document.
        const bool last = endOfData || stopped || end == CPlotRowWalk::End::ReadFailed;
        if (last) m_nPageKind = endOfData && m_nPage == 1 ? kOnlyPage : kLastPage;
        DrawPage(job.PageDc(), endOfData);
        job.EndPage();
        if (last) break;
        m_nPageKind = kNextPage;
    }
    const bool ended = job.EndDoc();
    progress.DestroyWindow();
    return ended ? 1 : 0;
}
