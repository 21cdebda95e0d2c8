#include "viewers/FreqSlowXplotWnd.h"

#include "viewers/ViewOptions.h"
#include "dataset/ItemTypes.h"
#include "platform/Format.h"
#include "platform/Frame.h"
#include "platform/Host.h"
#include "settings/XPlotSetupGroup.h"

#include <algorithm>
#include <cmath>

namespace {

void Refuse(const char* text) { MessageBox(text, MB_OK | MB_ICONSTOP); }

} // namespace

CFreqSlowXplotWnd::CFreqSlowXplotWnd(const XPlotSetupGroup& setup) : m_setup(setup) {}
CFreqSlowXplotWnd::~CFreqSlowXplotWnd() = default;

bool CFreqSlowXplotWnd::Open(const std::string& windowClass)
{
    if (!Load()) return false;
    const std::string caption = "FrequencySlowness Xplot (" + m_setup.title + "." + m_setup.ext + ")";
    if (!CreateChild(windowClass, caption, WS_VSCROLL | WS_MAXIMIZE)) {
        RemoveViewOptions(m_windowId);
        return false;
    }
    SetScrollInfo(SB_VERT, m_vscroll);
    PrepareRepaint();
    return true;
}

int CFreqSlowXplotWnd::Load()
{
    // Exactly two datums: the pair.
    int selected = 0;
    const int count = std::clamp(int(m_setup.datums.datumCount), 0, kXPlotFlagCount);
    for (int k = 0; k < count; ++k) selected += m_setup.datums.selected[size_t(k)] ? 1 : 0;
    if (selected != 2) {
        Refuse("Unrecognized selection list!\nOperation will be abandoned.");
        return 0;
    }

    if (!OpenDataSet(m_file, m_setup.path)) return 0;
    CQtxDatumList datums;
    if (!OkOrShow(m_file.ReadDatumList(datums))) return 0;
    m_frames = CFrameCursor(m_file.Header());
    m_frames.SetFrame(OpeningFrame());
    if (!TakePair(datums)) return 0;

    theApp.m_display.receiverShown.fill(0);
    // A new view shows its first receiver; the others are switched on by the user.
    m_receivers = m_slowness.receivers;
    RegisterReceivers(1);
    m_caption = FrequencySlownessCaption(m_slowness.typeCode);
    m_legendLabels = ItemTraceLabels(m_slowness.typeCode);

    const size_t floats = size_t(m_receivers) * size_t(m_sampleCount);
    m_slownessSamples.assign(floats, 0.0f);
    m_frequencySamples.assign(floats, 0.0f);
    m_vscroll = m_frames.VerticalScrollInfo(1); // one frame shown, as in the domain view
    SetDepthReadOut(Format("%10.4f%s", m_frames.Depth(), m_frames.DepthUnitLabel()));
    // A frame that cannot be read is reported now and shows no points.
    ReadFrame();
    return 1;
}

int CFreqSlowXplotWnd::OpeningFrame() const
{
    // The depth's share of the log between its first and last frame, in file order: a
    // down log opens at the start depth, an up log at the stop depth. One frame, equal
    // depths or a share that is no number open the first frame.
    const QtxFileHeader& h = m_file.Header();
    const int frames = m_frames.FrameCount();
    const double first = h.topDepth, last = h.bottomDepth;
    if (frames <= 1 || !(first != last)) return 0;
    const double along = m_frames.IsDown() ? (m_setup.topDepth - first) * frames / (last - first)
                                           : (first - m_setup.bottomDepth) * frames / (first - last);
    if (std::isnan(along)) return 0;
    // Clamped while still a double: only then is the conversion defined.
    return int(std::clamp(std::trunc(along), 0.0, double(m_frames.LastFrame())));
}

bool CFreqSlowXplotWnd::TakePair(const CQtxDatumList& datums)
{
    m_slowness = {};
    m_frequency = {};
    const size_t count = std::min({datums.size(), size_t(kXPlotFlagCount), size_t(m_setup.datums.datumCount)});
    for (size_t k = 0; k < count; ++k) {
        if (!m_setup.datums.selected[k]) continue;
        const CQtxDatum& d = *datums[k];
        Member* member = InFamily(d.m_typeCode, ItemFamily::InstSlowness)    ? &m_slowness
                         : InFamily(d.m_typeCode, ItemFamily::InstFrequency) ? &m_frequency
                                                                            : nullptr;
        if (!member || member->found) continue;
        *member = {true, d.m_mnemonic, d.m_typeCode, d.m_traceCount, d.m_axis1.m_sampleCount, d.m_offset,
                   d.m_axis1.m_step};
    }
    if (!m_slowness.found || !m_frequency.found) {
        Refuse("Could not find IFS data set!\nOperation will be abandoned.");
        return false;
    }
    if (m_slowness.receivers != m_frequency.receivers) {
        Refuse("Inconsistent IFS data set (number receivers)!\nOperation will be abandoned.");
        return false;
    }
    if (m_slowness.samples != m_frequency.samples) {
        Refuse("Inconsistent IFS data set (number samples)!\nOperation will be abandoned.");
        return false;
    }
    // Bit for bit: a NaN step differs from every step, its own included.
    if (!(m_slowness.step == m_frequency.step)) {
        Refuse("Inconsistent IFS data set (sampling period)!\nOperation will be abandoned.");
        return false;
    }
    // The samples are held in the view's 16 receiver slots of 8,192 samples.
    if (!FitsSlots(m_slowness.receivers, m_slowness.samples))
        return RefuseDatumSize(m_slowness.mnemonic, m_slowness.receivers, m_slowness.samples);
    m_sampleCount = m_slowness.samples;
    return true;
}

bool CFreqSlowXplotWnd::ReadFrame()
{
    ++m_framesRead;
    const int frame = m_frames.Frame();
    m_frameRead = OkOrShow(m_file.ReadFrameItem(frame, int64_t(m_slowness.offset), m_receivers, m_sampleCount,
                                                m_slownessSamples.data(), m_slownessSamples.size()))
                  && OkOrShow(m_file.ReadFrameItem(frame, int64_t(m_frequency.offset), m_receivers, m_sampleCount,
                                                   m_frequencySamples.data(), m_frequencySamples.size()));
    return m_frameRead;
}

bool CFreqSlowXplotWnd::ReadFrameAt(int frame)
{
    m_frames.SetFrame(frame);
    return ReadFrame();
}

// ---- moving through the frames -----------------------------------------------------------

// The cursor has moved (or stayed at an end): a new frame is read before the repaint
// shows it.
void CFreqSlowXplotWnd::OnFramesMoved(int previousFrame)
{
    m_vscroll.pos = m_frames.ScrollPosition();
    SetDepthReadOut(Format("%10.4f%s", m_frames.Depth(), m_frames.DepthUnitLabel()));
    if (m_frames.Frame() != previousFrame || !m_frameRead) ReadFrame();
    SetScrollInfo(SB_VERT, m_vscroll, true);
    m_frameStepped = true;
    StoreViewOptions(); // repaints
}

void CFreqSlowXplotWnd::OnVScroll(int code, int pos) { ScrollFrames(m_frames, code, pos); }

void CFreqSlowXplotWnd::OnKeyDown(unsigned key, unsigned, unsigned) { KeyFrames(m_frames, key); }

void CFreqSlowXplotWnd::OnMouseMove(unsigned, Point p)
{
    if (!m_plotRect.Contains(p)) {
        SetCursor(CursorKind::Arrow);
        return;
    }
    const Rect& r = m_plotRect;
    const double slowness = double(p.x - r.left) / r.Width() * (double(m_setup.slowMax) - m_setup.slowMin) + m_setup.slowMin;
    const double frequency = (1.0 - double(p.y - r.top) / r.Height()) * (double(m_setup.freqMax) - m_setup.freqMin) + m_setup.freqMin;
    SetReadOut(4, Format("%7.2f %s", slowness, m_slownessUnit.c_str()));
    SetReadOut(3, Format("%8.2f%s", frequency, " [Hz]"));
}
