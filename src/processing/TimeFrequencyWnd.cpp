#include "processing/TimeFrequencyWnd.h"

#include "common/DatumChooser.h"
#include "dataset/ItemTypes.h"
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
    CQtxDatumList datums;
    if (!OpenFrames(datums)) return false;
    if (!(m_setup.timeFraction > 0.1f && m_setup.timeFraction < 0.9f)) m_setup.timeFraction = 0.6f;
    ChosenDatum datum;
    if (!ChooseDatum(m_file, datums, kDomainTime, datum) || !SetUpItem(datum)) return false;
    SetRange(top, bottom);
    return CreateView(windowClass, "Time/Frequency Profile (" + m_common.path + ")");
}

bool CTimeFrequencyWnd::SetUpItem(const ChosenDatum& d)
{
    // The transforms need a power of two of at least two samples: a trace is padded
    // with 0 up to it.
    if (!TakeDatum(d, 2)) return false;
    m_re.assign(size_t(m_n), 0.0f);
    m_im.assign(size_t(m_n), 0.0f);
    SetWindows();
    return true;
}

void CTimeFrequencyWnd::SetRange(double top, double bottom)
{
    TakeRange(top, bottom);
    m_profile.Reset(RangeFirstFrame(), RangeLastFrame());
}

int CTimeFrequencyWnd::DepthToFrame(double depth) const
{
    const double step = m_frames.Step();
    const double at = step > 0 ? (depth - m_frames.TopDepth()) / step + 0.001 : 0.0;
    return m_frames.FrameAtScrollPosition(std::clamp(ClampToInt(std::floor(at)), m_range.top, m_range.bottom));
}

int CTimeFrequencyWnd::NearestFrame(double depth) const
{
    const int position = m_frames.ScrollPositionOf(m_frames.NearestFrame(depth));
    return m_frames.FrameAtScrollPosition(std::clamp(position, m_range.top, m_range.bottom));
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
    m_time = SetTimeRange(m_setup.timeStart, m_setup.timeStop, m_n, m_step);
    m_frequency = SetFrequencyRange(m_setup.freqStart, m_setup.freqStop, m_n, m_step);
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
    m_setup.timeStart = m_time.start;
    m_setup.timeStop = m_time.stop;
    m_setup.freqStart = m_frequency.start;
    m_setup.freqStop = m_frequency.stop;
    // A window that would start before 0 starts there, keeping its width.
    auto about = [](double centre, double width, float& start, float& stop) {
        const double from = std::max(centre - width / 2, 0.0);
        start = ClampToFloat(from);
        stop = ClampToFloat(from + width);
    };
    double width = m_time.length;
    if (ZoomWidth(request, width, 500.0, double(m_n) * m_step, "Reached time domain zoom limit!\nOperation will be abandoned."))
        about((double(m_time.start) + m_time.stop) / 2, width, m_setup.timeStart, m_setup.timeStop);
    width = m_frequency.length;
    if (ZoomWidth(request, width, 1000.0, double(m_n) * m_frequency.binStep / 2,
                  "Reached frequency domain zoom limit!\nOperation will be abandoned."))
        about((double(m_frequency.start) + m_frequency.stop) / 2, width, m_setup.freqStart, m_setup.freqStop);
    SetWindows();
}

// ---- preparing ----------------------------------------------------------------------------------

std::vector<float> CTimeFrequencyWnd::AxisKey() const
{
    return {float(m_time.first), float(m_time.last), float(m_frequency.first), float(m_frequency.last),
            theApp.m_display.zoomFactor1};
}

void CTimeFrequencyWnd::LayOutTrack()
{
    // The column: the time panel, a spacing, the frequency panel.
    m_timeWidth = std::max(ClampToInt(std::floor(m_page.trackWidth * double(m_setup.timeFraction))), 0);
    m_frequencyWidth = std::max(m_page.trackWidth - m_timeWidth - m_page.margin, 0);
}

void CTimeFrequencyWnd::HorizontalScroll(int& max, int& pos) const
{
    max = m_time.scrollMax;
    pos = m_time.first;
}

void CTimeFrequencyWnd::OnSize(unsigned type, int cx, int cy)
{
    // A new size ends what was being edited: it is kept.
    LeaveEditMode(true);
    CProcessingWnd::OnSize(type, cx, cy);
}
