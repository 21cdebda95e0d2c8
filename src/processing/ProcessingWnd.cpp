#include "processing/ProcessingWnd.h"

#include "common/DatumChooser.h"
#include "common/ProgressDlg.h"
#include "dataset/ItemTypes.h"
#include "dataset/ReceiverGeometry.h"
#include "platform/Format.h"
#include "settings/SettingsStore.h"
#include "platform/Frame.h"
#include "platform/Host.h"
#include "platform/SafeNumeric.h"
#include "viewers/VdlWnd.h"
#include "viewers/ViewOptions.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr uint32_t Rgb24(int r, int g, int b) { return uint32_t(r) << 16 | uint32_t(g) << 8 | uint32_t(b); }

// Rows inside a selected interval: each palette's colours, darker.
constexpr uint32_t kColorInterval[CProcessingWnd::kColours] = {
    Rgb24(70, 70, 102), Rgb24(25, 0, 85),    Rgb24(13, 0, 106),  Rgb24(0, 0, 125),   Rgb24(0, 37, 125),
    Rgb24(0, 83, 125),  Rgb24(0, 84, 63),    Rgb24(0, 85, 0),    Rgb24(19, 92, 0),   Rgb24(38, 105, 0),
    Rgb24(63, 117, 0),  Rgb24(87, 130, 0),   Rgb24(112, 143, 40), Rgb24(157, 157, 0), Rgb24(146, 143, 0),
    Rgb24(140, 135, 0), Rgb24(146, 125, 0),  Rgb24(157, 112, 0), Rgb24(155, 100, 0), Rgb24(152, 82, 0),
    Rgb24(150, 67, 0),  Rgb24(147, 55, 0),   Rgb24(131, 27, 0),  Rgb24(116, 0, 0),   Rgb24(110, 0, 10),
    Rgb24(105, 0, 16),  Rgb24(97, 0, 23),    Rgb24(91, 0, 30),   Rgb24(85, 0, 35),   Rgb24(79, 0, 41),
    Rgb24(70, 0, 47),   Rgb24(84, 0, 55)};
constexpr uint32_t kAnisotropyInterval[CProcessingWnd::kColours] = {
    Rgb24(158, 158, 57), Rgb24(158, 158, 51), Rgb24(158, 158, 45), Rgb24(158, 158, 40), Rgb24(158, 158, 23),
    Rgb24(158, 158, 6),  Rgb24(158, 156, 7),  Rgb24(158, 154, 8),  Rgb24(158, 150, 1),  Rgb24(158, 146, 1),
    Rgb24(156, 141, 0),  Rgb24(156, 136, 0),  Rgb24(156, 132, 0),  Rgb24(156, 130, 0),  Rgb24(152, 122, 0),
    Rgb24(150, 116, 0),  Rgb24(140, 102, 5),  Rgb24(131, 90, 10),  Rgb24(121, 78, 8),   Rgb24(112, 70, 7),
    Rgb24(112, 66, 7),   Rgb24(112, 61, 7),   Rgb24(112, 58, 7),   Rgb24(112, 56, 7),   Rgb24(112, 53, 7),
    Rgb24(112, 51, 7),   Rgb24(108, 47, 3),   Rgb24(105, 43, 0),   Rgb24(96, 40, 0),    Rgb24(87, 37, 0),
    Rgb24(75, 31, 0),    Rgb24(62, 25, 0)};

// White, then greys from 240 down by 8 from 232 to black.
constexpr uint32_t Grey(int index)
{
    const int level = index == 0 ? 255 : index == 1 ? 240 : 232 - 8 * (index - 2);
    return Rgb24(level, level, level);
}

} // namespace

CProcessingWnd::CProcessingWnd() = default;

// ---- opening ----------------------------------------------------------------------------------

bool CProcessingWnd::OpenFrames(CQtxDatumList& datums)
{
    if (!OpenDataSet(m_file, m_common.path)) return false;
    if (!OkOrShow(m_file.ReadDatumList(datums))) return false;
    // Only the frames the file holds: a header may count more than were written.
    QtxFileHeader header = m_file.Header();
    header.frameCount = uint32_t(std::min<int64_t>(header.frameCount, m_file.FramesHeld()));
    m_frames = CFrameCursor(header);
    if (m_frames.FrameCount() < 1) {
        MessageBox(Format("Data set %s holds no frame to profile.\nOperation will be abandoned.", m_common.path.c_str()),
                   MB_OK | MB_ICONSTOP);
        return false;
    }
    if (!AcceptDepths(m_frames, m_common.path)) return false;
    m_mmPerUnit = header.depthUnits == qtx::kUnitsMetres ? 1000.0f : 304.8f;
    if (!(m_common.depthScale >= 100 && m_common.depthScale <= 1000)) m_common.depthScale = 480.0f;
    return true;
}

bool CProcessingWnd::TakeDatum(const ChosenDatum& d, int padFrom)
{
    m_mnemonic = d.mnemonic;
    m_typeCode = d.typeCode;
    m_receivers = d.traceCount;
    m_step = d.step;
    m_samplesInFile = d.sampleCount;
    m_offset = d.offset;
    if (!AcceptSampleStep(m_mnemonic, m_step)) return false;
    m_n = padFrom > 0 ? PaddedLength(m_samplesInFile, padFrom) : m_samplesInFile;
    if (!FitsSlots(m_receivers, m_n) || m_samplesInFile < 1) return RefuseDatumSize(m_mnemonic, m_receivers, m_samplesInFile);

    CReceiverGeometry geometry;
    geometry.SetItemType(m_typeCode);
    for (int t = 0; t < kSlots; ++t) m_receiverOffset[size_t(t)] = geometry.m_offset[t];
    m_caption = ItemTypeOf(m_typeCode).caption;
    m_traceLabels = ItemTraceLabels(m_typeCode);
    m_row.assign(size_t(m_n) + 1, 0.0f);
    return true;
}

void CProcessingWnd::TakeRange(double top, double bottom)
{
    const int last = m_frames.LastFrame();
    const double step = m_frames.Step(), logTop = m_frames.TopDepth();
    if (bottom < top) std::swap(top, bottom);
    int first = 0, end = last;
    if (step > 0 && last > 0) {
        first = std::clamp(ClampToInt(std::ceil((top - logTop) / step - 1e-6)), 0, last);
        end = std::clamp(ClampToInt(std::floor((bottom - logTop) / step + 1e-6)), 0, last);
        if (end < first) end = first;
    }
    m_range.top = first;
    m_range.bottom = end;
    m_range.start = DepthOfPosition(first);
    m_range.end = DepthOfPosition(end);
    const int frameA = m_frames.FrameAtScrollPosition(first), frameB = m_frames.FrameAtScrollPosition(end);
    m_range.firstFrame = std::min(frameA, frameB);
    m_range.lastFrame = std::max(frameA, frameB);
    EndSelection();
}

bool CProcessingWnd::CreateView(const std::string& windowClass, const std::string& title)
{
    // Every receiver of the datum is shown (the first thirteen have buttons).
    theApp.m_display.receiverShown.fill(0);
    RegisterReceivers(std::min(m_receivers, kReceivers));
    if (!CreateChild(windowClass, title, WS_VSCROLL | WS_HSCROLL | WS_MAXIMIZE)) {
        RemoveViewOptions(m_windowId);
        return false;
    }
    m_page.topPosition = m_range.top;
    SetDepthReadOut(Format("%10.4f%s", DepthOfPosition(m_page.topPosition), m_frames.DepthUnitLabel()));
    PrepareRepaint();
    return true;
}

uint32_t CProcessingWnd::PaletteColour(int palette, int index, bool interval)
{
    index = std::clamp(index, 0, kColours - 1);
    switch (palette) {
    case kPaletteColor:
        return 0xFF000000u | (interval ? kColorInterval[index] : ColourRampRgb(index));
    case kPaletteAnisotropy:
        return 0xFF000000u | (interval ? kAnisotropyInterval[index] : AnisotropyRgb(index));
    case kPaletteGrey: return 0xFF000000u | Grey(index);
    default: return 0xFF808080u;
    }
}


// ---- frames ------------------------------------------------------------------------------------

bool CProcessingWnd::ReadFrame(int frame, std::vector<float>& slots)
{
    bool fileFailed = false;
    const bool read = ReadFrameInto(frame, slots, m_readBuffer, fileFailed);
    if (fileFailed) (void)OkOrShow(m_file.ReportFrameReadFailure()); // only told: `read` says it
    return read;
}

bool CProcessingWnd::ReadFrameInto(int frame, std::vector<float>& slots, std::vector<float>& readBuffer,
                                   bool& fileFailed, bool clearUnfilled) const
{
    slots.resize(SlotFloats());
    const int traces = std::clamp(m_receivers, 0, kSlots);
    const size_t stored = size_t(m_samplesInFile), n = size_t(m_n);
    // Traces whose slots are theirs in order, each a slot long, are read in place.
    bool inPlace = stored == n;
    for (int t = 0; t < traces && inPlace; ++t) inPlace = m_receiverIndex[size_t(t)] == t;
    float* buffer = slots.data();
    if (!inPlace) {
        readBuffer.resize(size_t(traces) * stored);
        buffer = readBuffer.data();
    }
    const bool usable = traces >= 1 && stored <= n;
    if (!usable || !m_file.ReadFrameItemShared(frame, int64_t(m_offset), traces, int(stored), buffer, size_t(traces) * stored)) {
        if (usable) fileFailed = true;
        std::fill(slots.begin(), slots.end(), NAN);
        return false;
    }
    // Trace t into the slot of its receiver; the rest of each slot is 0. Only what no
    // trace fills is cleared, where asked.
    std::array<bool, kSlots> filled{};
    for (int t = 0; t < traces; ++t) {
        float* to = slots.data() + size_t(m_receiverIndex[size_t(t)]) * n;
        if (!inPlace) {
            const float* from = readBuffer.data() + size_t(t) * stored;
            std::copy(from, from + stored, to);
        }
        std::fill(to + stored, to + n, 0.0f);
        filled[size_t(m_receiverIndex[size_t(t)])] = true;
    }
    if (clearUnfilled)
        for (size_t slot = 0; slot < size_t(kSlots); ++slot)
            if (!filled[slot]) std::fill_n(slots.data() + slot * n, n, 0.0f);
    return true;
}

// ---- the page ----------------------------------------------------------------------------------

int CProcessingWnd::LastTopPosition() const
{
    // The top moves back until its depth lies above the profile's end by a page:
    // counted, not walked, so that any step works.
    int p = m_range.bottom;
    const double step = m_frames.Step();
    if (m_page.pageRows > 0 && step > 0) {
        const double limit = m_range.end - m_page.pageRows * m_page.depthPerPixel;
        const double above = std::ceil((limit - m_frames.TopDepth()) / step) - 1; // the last with a depth below it
        if (!std::isnan(above)) p = int(std::clamp<double>(above, INT32_MIN, p));
    }
    return std::max(p, m_range.top);
}

void CProcessingWnd::MoveTop(int64_t position)
{
    m_page.topPosition = int(std::clamp<int64_t>(position, m_range.top, LastTopPosition()));
    SetDepthReadOut(Format("%10.4f%s", DepthOfPosition(m_page.topPosition), m_frames.DepthUnitLabel()));
    SetVerticalScrollBar();
    StoreViewOptions(); // repaints
    if (!IsWindow()) return;
    if (Frame() && Frame()->ActiveChild() != this) {
        PrepareRepaint();
        Invalidate(true);
        UpdateWindow();
    }
}

void CProcessingWnd::SetVerticalScrollBar()
{
    ScrollInfo v;
    v.max = std::max(LastTopPosition() - m_range.top, 0);
    v.page = 1;
    v.pos = m_page.topPosition - m_range.top;
    SetScrollInfo(SB_VERT, v);
}

void CProcessingWnd::OnVScroll(int code, int pos)
{
    const int64_t p = m_page.topPosition, step = m_stepPerKey;
    // Page Down keeps 40 frames of the page, but moves at least one line.
    const int64_t pageDown = std::max<int64_t>(m_page.framesPerPage - 40, 1) * step;
    const int64_t pageUp = (int64_t(m_page.framesPerPage) + 40) * step;
    if (code == SB_THUMBTRACK) {
        // Only the depth under the thumb.
        SetDepthReadOut(Format("%10.4f%s", DepthOfPosition(int64_t(m_range.top) + int64_t(pos) * step),
                               m_frames.DepthUnitLabel()));
        return;
    }
    int64_t to;
    switch (code) {
    case SB_LINEUP: to = p - step; break;
    case SB_LINEDOWN: to = p + step; break;
    case SB_PAGEUP: to = p - pageUp; break;
    case SB_PAGEDOWN: to = p + pageDown; break;
    case SB_THUMBPOSITION: to = int64_t(m_range.top) + int64_t(pos) * step; break;
    case SB_TOP: to = m_range.top; break;
    case SB_BOTTOM: to = m_range.bottom; break;
    default: return;
    }
    BeforeVerticalMove();
    MoveTop(to);
}

void CProcessingWnd::OnKeyDown(unsigned key, unsigned, unsigned)
{
    switch (key) {
    case VK_UP: OnVScroll(SB_LINEUP, 0); break;
    case VK_DOWN: OnVScroll(SB_LINEDOWN, 0); break;
    case VK_PRIOR: OnVScroll(SB_PAGEUP, 0); break;
    case VK_NEXT: OnVScroll(SB_PAGEDOWN, 0); break;
    case VK_HOME: OnVScroll(SB_TOP, 0); break;
    case VK_END: OnVScroll(SB_BOTTOM, 0); break;
    default: break;
    }
}

void CProcessingWnd::OnClose()
{
    if (theApp.m_display.profileOption
        && MessageBox("Do you want to save output file :\n" + m_common.outputPath, MB_YESNO | MB_ICONQUESTION) == IDYES) {
        SetCursor(CursorKind::Wait);
        SaveProfile();
    }
    CViewerWnd::OnClose();
}

void CProcessingWnd::OnSysCommand(unsigned id)
{
    if ((id & 0xFFF0) != SC_CLOSE) {
        CViewerWnd::OnSysCommand(id);
        return;
    }
    // The close box always asks.
    if (MessageBox("Do you want to save output file :\n" + m_common.outputPath, MB_YESNO | MB_ICONQUESTION) == IDYES) {
        SetCursor(CursorKind::Wait);
        SaveProfile();
    }
    CViewerWnd::OnClose();
}

// ---- input ------------------------------------------------------------------------------------

void CProcessingWnd::OnMouseMove(unsigned, Point p)
{
    if (!m_page.plotRect.Contains(p)) {
        SetCursor(CursorKind::Arrow);
        return;
    }
    SetCursor(m_editMode ? CursorKind::Cross : CursorKind::Arrow);
    ShowReadOutAt(p);
}

void CProcessingWnd::OnLButtonDblClk(unsigned flags, Point p) { RunSearch(p, flags == kShiftClick); }

void CProcessingWnd::OnLButtonDown(unsigned flags, Point p)
{
    if (!m_page.plotRect.Contains(p)) return;
    if (flags == kShiftClick) {
        if (!m_editMode) {
            EnterEditMode();
            return;
        }
        // Leaving edit mode keeps the edits unless the user says No.
        const bool keep = !theApp.m_display.profileOption
                          || MessageBox("Do you want to save recent modifications?", MB_YESNO | MB_ICONQUESTION) != IDNO;
        LeaveEditMode(keep);
        Repaint(true);
        return;
    }
    if (m_editMode) {
        EditPointAt(p);
        return;
    }
    if (flags == kControlClick) {
        SelectionStep(DepthAt(p), AxisValueAt(p));
        return;
    }
    ShowReadOutAt(p);
}

void CProcessingWnd::OnRButtonDown(unsigned flags, Point p)
{
    if (flags != MK_RBUTTON || !m_page.plotRect.Contains(p)) return;
    if (!m_editMode) {
        EnterEditMode();
        return;
    }
    const bool edits = HasEdits();
    LeaveEditMode(true);
    if (edits) Repaint(false);
}

void CProcessingWnd::SelectionStep(double depth, float value)
{
    Selection& s = m_selection;
    if (!s.started) {
        s.top = depth;
        s.topValue = value;
        s.bottom = m_range.end;
        s.started = true;
    } else if (!s.complete) {
        s.bottom = depth;
        s.bottomValue = value;
        s.complete = true;
        if (s.bottom < s.top) {
            std::swap(s.top, s.bottom);
            std::swap(s.topValue, s.bottomValue);
        }
    } else {
        EndSelection();
    }
    SetCursor(CursorKind::Arrow);
    Repaint(true);
}

void CProcessingWnd::EndSelection()
{
    m_selection.top = m_range.start;
    m_selection.bottom = m_range.end;
    m_selection.started = m_selection.complete = false;
}

void CProcessingWnd::RunPositions(double depth, int& first, int& last) const
{
    const double start = m_selection.started ? m_selection.top : depth;
    const double end = m_selection.started ? m_selection.bottom : m_range.end;
    const double step = m_frames.Step(), logTop = m_frames.TopDepth();
    auto positionOf = [&](double depth) {
        return step > 0 ? std::clamp(ClampToInt((depth - logTop) / step + 0.0001), m_range.top, m_range.bottom) : m_range.top;
    };
    first = positionOf(start);
    last = std::max(positionOf(end), first);
}

bool CProcessingWnd::RunAsked(bool invalidate)
{
    const char* question =
        invalidate ? "Do you want to invalidate selected interval?" : "Do you want to execute profile searching routine?";
    return MessageBox(question, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void CProcessingWnd::StartRunProgress(CProgressDlg& progress, int steps)
{
    progress.Create();
    progress.SetStatus("Profiling in progress. Please wait...");
    progress.SetRange(0, steps);
}

bool CProcessingWnd::StopAsked(CProgressDlg& progress, const char* question)
{
    return progress.CheckCancelButton() && MessageBox(question, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

// ---- preparing --------------------------------------------------------------------------------

void CProcessingWnd::TakeActiveRequests()
{
    auto& d = theApp.m_display;
    if (d.activeWindowId != m_windowId) return;
    // The display toolbar's Save Profile is for the active window.
    if (d.saveProfile) {
        d.saveProfile = 0;
        SaveProfile();
    }
    // Display options changed (a receiver, a zoom, a pen): a pending edit is kept.
    if (d.optionsStored) {
        d.optionsStored = 0;
        LeaveEditMode(true);
    }
}

void CProcessingWnd::SetHorizontalScrollBar(int max, int pos)
{
    ScrollInfo h;
    h.max = max;
    h.pos = pos;
    SetScrollInfo(SB_HORZ, h);
}

void CProcessingWnd::Repaint(bool erase)
{
    PrepareRepaint();
    Invalidate(erase);
    UpdateWindow();
}

// ---- layout ----------------------------------------------------------------------------------

int CProcessingWnd::TrackAt(int x, int& within) const
{
    within = 0;
    const int pitch = m_page.trackWidth + m_page.gap;
    if (m_page.trackWidth <= 0 || m_page.tracks.empty() || x < m_page.leftMargin) return -1;
    const int track = (x - m_page.leftMargin) / pitch;
    within = (x - m_page.leftMargin) - track * pitch;
    if (track >= int(m_page.tracks.size()) || within >= m_page.trackWidth) return -1;
    return track;
}

bool CProcessingWnd::TakeDisplayRequests()
{
    if (m_vertRes <= 0) ReadDeviceCaps();
    bool taken = false;
    // The display commands leave their zoom requests for the active view.
    auto& d = theApp.m_display;
    if (d.activeWindowId == m_windowId) {
        if (const int request = d.depthZoomRequest) {
            d.depthZoomRequest = 0;
            ApplyDepthZoom(request);
            taken = true;
        }
        if (const int request = d.dataAxisZoomRequest) {
            d.dataAxisZoomRequest = 0;
            ApplyDomainZoom(request);
            taken = true;
        }
    }
    // The view's own record: what the display commands stored for it.
    if (const CViewOptions* record = FindViewOptions(m_windowId)) MapShownReceivers(record->m_available, record->m_shown);
    m_page.tracks.clear();
    for (int t = 0; t < std::min(m_receivers, kSlots); ++t)
        if (m_shown[size_t(m_receiverIndex[size_t(t)])]) m_page.tracks.push_back(t);
    RefreshProfilePens();
    return taken;
}

void CProcessingWnd::Layout()
{
    const Rect client = GetClientRect();
    m_page.clientWidth = client.Width();
    m_page.clientHeight = client.Height();
    // With no receiver shown there is no track to draw: the width stays 0.
    const int shown = int(m_page.tracks.size());
    m_page.trackWidth = shown > 0 ? std::max((m_page.clientWidth - (shown * m_page.gap + m_page.leftMargin)) / shown, 0) : 0;
    m_page.pageRows = std::max(m_page.clientHeight - 2 * m_page.fontHeight - m_page.topMargin, 0);
    m_page.depthPerPixel = double(m_vertSize) * m_common.depthScale / std::max(m_vertRes, 1) / m_mmPerUnit;
    const double frames = m_frames.Step() > 0 ? m_page.pageRows * m_page.depthPerPixel / m_frames.Step() : 0.0;
    // Clamped before the one is added: a tiny depth step makes the page span any count.
    m_page.framesPerPage = std::clamp(ClampToInt(frames), 0, std::max(m_frames.FrameCount(), 1) - 1) + 1;
}

// ---- zoom ------------------------------------------------------------------------------------------

bool CProcessingWnd::ApplyDepthZoom(int request)
{
    if (request == 0) return true;
    const float scale = request > 0 ? m_common.depthScale * 0.5f : m_common.depthScale * 2.0f;
    if ((request > 0 && scale < 100) || (request < 0 && scale > 1000)) {
        MessageBox("Reached depth domain zoom limit!\nOperation will be abandoned.", MB_OK);
        return false;
    }
    m_common.depthScale = scale;
    return true;
}

bool CProcessingWnd::ZoomWidth(int request, double& width, double inLimit, double outLimit, const char* message)
{
    if (request == 0) return true;
    const double zoomed = width * (request > 0 ? 0.75 : 1.25);
    // The limits themselves are accepted (and NaN is refused).
    if ((request > 0 && !(zoomed >= inLimit)) || (request < 0 && !(zoomed <= outLimit))) {
        MessageBox(message, MB_OK);
        return false;
    }
    width = zoomed;
    return true;
}

// ---- pens and read-outs ----------------------------------------------------------------------------

void CProcessingWnd::RefreshProfilePens()
{
    auto& d = theApp.m_display;
    if (d.penColourChanged || d.penWidthChanged) {
        Color colour = Rgb(0, 0, 0);
        if (d.redPen) colour = Rgb(255, 50, 0);
        else if (d.greenPen) colour = Rgb(10, 192, 10);
        else if (d.bluePen) colour = Rgb(0, 50, 255);
        else if (d.whitePen) colour = Rgb(255, 255, 255);
        const int width = d.thinPen ? 1 : 2;
        m_curvePen = {PS_SOLID, width, colour};
        m_strokePen = m_curvePen;
        d.penColourChanged = 0;
        d.penWidthChanged = 0;
    }
    if (d.backgroundChanged) {
        m_background = d.yellowBackground ? Rgb(255, 255, 100) : d.grayBackground ? Rgb(224, 224, 224) : Rgb(255, 255, 255);
        d.backgroundChanged = 0;
    }
}
