#include "processing/TimeFrequencyWnd.h"

#include "common/DatumChooser.h"
#include "dataset/ItemTypes.h"
#include "dataset/ReceiverGeometry.h"
#include "platform/Format.h"
#include "platform/Host.h"
#include "platform/SafeNumeric.h"
#include "settings/SettingsStore.h"
#include "viewers/ViewOptions.h"

#include <algorithm>
#include <cmath>

CTimeFrequencyWnd::CTimeFrequencyWnd()
{
    m_times.fill(kTfInvalid);
    m_frequencies.fill(kTfInvalid);
    m_axisTitle = "TimeFrequency [uSec/kHz]";
}

CTimeFrequencyWnd::~CTimeFrequencyWnd() = default;

// ---- opening ----------------------------------------------------------------------------------

bool CTimeFrequencyWnd::Open(const std::string& windowClass, double top, double bottom)
{
    if (!OpenDataSet(m_file, m_path)) return false;
    CQtxDatumList datums;
    if (!m_file.ReadDatumList(datums)) return false;
    // Only the frames the file holds: a header may count more than were written.
    QtxFileHeader header = m_file.m_header;
    const int64_t length = m_file.m_fileIn.GetLength();
    const int64_t dataStart = int64_t(qtx::DataStart(std::max<short>(m_file.GetDatumCount(), 0)));
    const uint32_t frameSize = m_file.GetFrameSize();
    const int64_t present = frameSize > 0 && length > dataStart ? (length - dataStart) / frameSize : 0;
    header.frameCount = uint32_t(std::min<int64_t>(header.frameCount, present));
    m_frames = CFrameCursor(header);
    if (m_frames.FrameCount() < 1) {
        MessageBox(Format("Data set %s holds no frame to profile.\nOperation will be abandoned.", m_path.c_str()),
                   MB_OK | MB_ICONSTOP);
        return false;
    }
    if (m_frames.FrameCount() > 1 && (!(m_frames.Step() > 0) || !std::isfinite(m_frames.Step())
                                      || !std::isfinite(m_frames.TopDepth()))) {
        MessageBox(Format("Data set %s cannot be shown against depth: its depth step or depths are not "
                          "usable numbers.\nOperation will be abandoned.",
                          m_path.c_str()),
                   MB_OK | MB_ICONSTOP);
        return false;
    }
    m_mmPerUnit = header.depthUnits == qtx::kUnitsMetres ? 1000.0f : 304.8f;
    if (!(m_depthScale >= 100 && m_depthScale <= 1000)) m_depthScale = 480.0f;
    if (!(m_timeFraction > 0.1f && m_timeFraction < 0.9f)) m_timeFraction = 0.6f;
    ChosenDatum datum;
    if (!ChooseDatum(m_file, datums, kDomainTime, datum) || !SetUpItem(datum)) return false;
    SetRange(top, bottom);

    theApp.m_display.receiverShown.fill(0);
    RegisterReceivers(std::min(m_receivers, kReceivers));
    if (!CreateChild(windowClass, "Time/Frequency Profile (" + m_path + ")", WS_VSCROLL | WS_HSCROLL | WS_MAXIMIZE)) {
        RemoveViewOptions(m_windowId);
        return false;
    }
    m_topPosition = m_rangeTop;
    SetDepthReadOut(Format("%10.4f%s", DepthOfPosition(m_topPosition), m_frames.DepthUnitLabel()));
    PrepareRepaint();
    return true;
}

bool CTimeFrequencyWnd::SetUpItem(const ChosenDatum& d)
{
    m_mnemonic = d.mnemonic;
    m_typeCode = d.typeCode;
    m_receivers = d.traceCount;
    m_step = d.step;
    m_samplesInFile = d.sampleCount;
    m_offset = d.offset;
    if (!AcceptSampleStep(m_mnemonic, m_step)) return false;
    // The transforms need a power of two: a trace is padded with 0 up to it.
    int padded = 2;
    while (padded < m_samplesInFile && padded <= kSlotFloats) padded *= 2;
    m_n = padded;
    if (!FitsSlots(m_receivers, m_n) || m_samplesInFile < 1) return RefuseDatumSize(m_mnemonic, m_receivers, m_samplesInFile);

    CReceiverGeometry geometry;
    geometry.SetItemType(m_typeCode);
    for (int t = 0; t < kSlots; ++t) m_receiverOffset[size_t(t)] = geometry.m_offset[t];
    m_caption = ItemTypeOf(m_typeCode).caption;
    m_traceLabels = ItemTraceLabels(m_typeCode);
    m_re.assign(size_t(m_n), 0.0f);
    m_im.assign(size_t(m_n), 0.0f);
    m_row.assign(size_t(m_n) + 1, 0.0f);
    SetWindows();
    return true;
}

void CTimeFrequencyWnd::SetRange(double top, double bottom)
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
    m_rangeTop = first;
    m_rangeBottom = end;
    m_profileStart = DepthOfPosition(first);
    m_profileEnd = DepthOfPosition(end);
    m_intervalStart = m_profileStart;
    m_intervalEnd = m_profileEnd;
    m_profile.Reset(RangeFirstFrame(), RangeLastFrame());
}

int CTimeFrequencyWnd::DepthToFrame(double depth) const
{
    const double step = m_frames.Step();
    const double at = step > 0 ? (depth - m_frames.TopDepth()) / step + 0.001 : 0.0;
    return m_frames.FrameAtScrollPosition(std::clamp(ClampToInt(std::floor(at)), m_rangeTop, m_rangeBottom));
}

int CTimeFrequencyWnd::NearestFrame(double depth) const
{
    const int position = m_frames.ScrollPositionOf(m_frames.NearestFrame(depth));
    return m_frames.FrameAtScrollPosition(std::clamp(position, m_rangeTop, m_rangeBottom));
}

float CTimeFrequencyWnd::FrequencyAt(const std::vector<float>& slots, int trace, float time)
{
    if (trace < 0 || trace >= Traces() || slots.size() < SlotFloats()) return kTfInvalid;
    AnalyticSignal(slots.data() + size_t(Slots()[trace]) * size_t(m_n), m_n, m_re.data(), m_im.data());
    return FrequencyAtTime(m_re.data(), m_im.data(), m_n, m_step, time);
}

// ---- the two windows ---------------------------------------------------------------------------

void CTimeFrequencyWnd::SetWindows()
{
    m_time = SetTimeRange(m_timeStart, m_timeStop, m_n, m_step);
    m_frequency = SetFrequencyRange(m_freqStart, m_freqStop, m_n, m_step);
    const float t = m_time.length;
    m_timeTickStep = t < 50 ? 10 : t < 500 ? 100 : 500;
    m_timeLabelStep = t < 50      ? 10
                      : t < 500   ? 100
                      : t < 5000  ? 500
                      : t < 10000 ? 1000
                      : t < 15000 ? 2000
                      : t < 20000 ? 3000
                                  : 4000;
    const float f = m_frequency.length;
    m_freqTickStep = 500;
    m_freqLabelStep = f <= 2500 ? 500 : f < 5000 ? 1000 : f < 10000 ? 2500 : 5000;
}

void CTimeFrequencyWnd::ApplyDomainZoom(int request)
{
    // One request zooms both windows, each about its centre; a refused one keeps its
    // window where it was scrolled to.
    m_timeStart = m_time.start;
    m_timeStop = m_time.stop;
    m_freqStart = m_frequency.start;
    m_freqStop = m_frequency.stop;
    // A window that would start before 0 starts there, keeping its width.
    auto about = [](double centre, double width, float& start, float& stop) {
        const double from = std::max(centre - width / 2, 0.0);
        start = ClampToFloat(from);
        stop = ClampToFloat(from + width);
    };
    double width = m_time.length;
    if (ZoomWidth(request, width, 500.0, double(m_n) * m_step, "Reached time domain zoom limit!\nOperation will be abandoned."))
        about((double(m_time.start) + m_time.stop) / 2, width, m_timeStart, m_timeStop);
    width = m_frequency.length;
    if (ZoomWidth(request, width, 1000.0, double(m_n) * m_frequency.binStep / 2,
                  "Reached frequency domain zoom limit!\nOperation will be abandoned."))
        about((double(m_frequency.start) + m_frequency.stop) / 2, width, m_freqStart, m_freqStop);
    SetWindows();
}

// ---- preparing ----------------------------------------------------------------------------------

CTimeFrequencyWnd::RenderKey CTimeFrequencyWnd::KeyNow() const
{
    RenderKey k;
    k.width = m_clientWidth;
    k.height = m_clientHeight;
    k.top = m_topPosition;
    k.timeFirst = m_time.first;
    k.timeLast = m_time.last;
    k.freqFirst = m_frequency.first;
    k.freqLast = m_frequency.last;
    k.vertRes = m_vertRes;
    k.vertSize = m_vertSize;
    k.scale = m_depthScale;
    k.gain = theApp.m_display.zoomFactor1;
    k.tracks = m_tracks;
    k.selection = m_intervalStarted;
    k.selectionTop = m_intervalStart;
    k.selectionBottom = m_intervalEnd;
    k.background = m_background;
    return k;
}

void CTimeFrequencyWnd::PrepareRepaint()
{
    if (!IsWindow() || m_iconic) return;
    auto& d = theApp.m_display;
    if (d.activeWindowId == m_windowId) {
        // The display toolbar's Save Profile is for the active window.
        if (d.saveProfile) {
            d.saveProfile = 0;
            SaveProfile();
        }
        if (d.optionsStored) {
            d.optionsStored = 0;
            LeaveEditMode(true);
        }
    }
    TakeDisplayRequests();
    Layout();
    // The column: the time panel, a spacing, the frequency panel.
    m_timeWidth = std::max(ClampToInt(std::floor(m_trackWidth * double(m_timeFraction))), 0);
    m_frequencyWidth = std::max(m_trackWidth - m_timeWidth - m_margin, 0);
    m_topPosition = std::clamp(m_topPosition, m_rangeTop, LastTopPosition());
    if (!(KeyNow() == m_rendered)) Render();
    SetVerticalScrollBar();
    ScrollInfo h;
    h.max = m_time.scrollMax;
    h.pos = m_time.first;
    SetScrollInfo(SB_HORZ, h);
}

void CTimeFrequencyWnd::InvalidateImage() { m_rendered = RenderKey(); }

void CTimeFrequencyWnd::Repaint(bool erase)
{
    PrepareRepaint();
    Invalidate(erase);
    UpdateWindow();
}

void CTimeFrequencyWnd::OnSize(unsigned type, int cx, int cy)
{
    // A new size ends what was being edited: it is kept.
    LeaveEditMode(true);
    CProcessingWnd::OnSize(type, cx, cy);
}

void CTimeFrequencyWnd::OnClose()
{
    if (theApp.m_display.profileOption
        && MessageBox("Do you want to save output file :\n" + m_outputPath, MB_YESNO | MB_ICONQUESTION) == IDYES) {
        SetCursor(CursorKind::Wait);
        SaveProfile();
    }
    CViewerWnd::OnClose();
}

void CTimeFrequencyWnd::OnSysCommand(unsigned id)
{
    if ((id & 0xFFF0) != SC_CLOSE) {
        CProcessingWnd::OnSysCommand(id);
        return;
    }
    // The close box always asks.
    if (MessageBox("Do you want to save output file :\n" + m_outputPath, MB_YESNO | MB_ICONQUESTION) == IDYES) {
        SetCursor(CursorKind::Wait);
        SaveProfile();
    }
    CViewerWnd::OnClose();
}
