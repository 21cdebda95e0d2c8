#include "processing/ProfileWnd.h"

#include "common/DatumChooser.h"
#include "common/FrequencyWindow.h"
#include "dataset/ItemTypes.h"
#include "platform/Format.h"
#include "settings/SettingsStore.h"
#include "platform/Host.h"
#include "platform/SafeNumeric.h"
#include "viewers/ViewOptions.h"

#include <algorithm>
#include <cmath>

namespace {

// (trunc(value) / base + 1) x base.
int LabelAfter(float value, int base) { return ClampToInt(double((int64_t(ClampToInt(value)) / base + 1) * base)); }

} // namespace

CProfileWnd::CProfileWnd() = default;
CProfileWnd::~CProfileWnd() = default;

std::vector<CProfileRecord>& CProfileWnd::Profile()
{
    // Made when first asked for: a window opened on a long log does not clear a
    // record a frame before it shows anything.
    const int64_t count = int64_t(RangeLastFrame()) - RangeFirstFrame() + 1;
    if (m_profile.empty() && count > 0) {
        m_profile.assign(size_t(count), CProfileRecord());
        for (size_t i = 0; i < m_profile.size(); ++i) m_profile[i].m_frame = RangeFirstFrame() + int(i);
    }
    return m_profile;
}

CProfileRecord* CProfileWnd::ProfileRecord(int frame)
{
    const int64_t i = int64_t(frame) - RangeFirstFrame();
    const int64_t count = int64_t(RangeLastFrame()) - RangeFirstFrame() + 1;
    return i >= 0 && i < count ? &Profile()[size_t(i)] : nullptr;
}

const CProfileRecord* CProfileWnd::ProfileRecord(int frame) const
{
    return const_cast<CProfileWnd*>(this)->ProfileRecord(frame);
}

// ---- opening ----------------------------------------------------------------------------------

bool CProfileWnd::Open(const std::string& windowClass, double top, double bottom)
{
    CQtxDatumList datums;
    if (!OpenFrames(datums)) return false;
    ChosenDatum datum;
    if (!ChooseDatum(m_file, datums, m_setup.domain, datum) || !SetUpItem(datum)) return false;
    SetRange(top, bottom);
    return CreateView(windowClass, WindowTitle());
}

std::string CProfileWnd::WindowTitle() const { return std::string(DomainWord(m_setup.domain)) + " Profile (" + m_common.path + ")"; }

bool CProfileWnd::SetUpItem(const ChosenDatum& d)
{
    // Spectra and the analytic signal need a power of two: waveforms are padded with 0.
    const bool transformed = m_setup.domain == kDomainTime || m_setup.domain == kDomainFrequency;
    if (!TakeDatum(d, transformed ? 1 : 0)) return false;
    // The time and frequency ticks are labelled in thousands.
    m_axisTitle = m_setup.domain == kDomainTime        ? "Time [mSec]"
                  : m_setup.domain == kDomainFrequency ? "Frequency [kHz]"
                  : m_setup.domain == kDomainSlowness  ? std::string("Slowness ") + SlownessUnitLabel(m_setup.slownessUnit)
                                                 : "Azimuth [deg]";
    for (auto& values : m_current) values.fill(kAbsent);
    m_picks.fill(0);
    SetupWindow();
    return true;
}

void CProfileWnd::SetRange(double top, double bottom)
{
    TakeRange(top, bottom);
    // One record per frame of the range, none of them found yet (made by Profile()).
    m_profile.clear();
}

// ---- the domain axis -----------------------------------------------------------------------

void CProfileWnd::SetupWindow()
{
    const int n = m_n;
    const double s = m_step;
    DomainWindow a = m_axis;
    double start = 0, end = 0, unit = s;
    int limit = n - 1; // the last sample (bin) there is
    switch (m_setup.domain) {
    case kDomainFrequency: {
        const FrequencyWindow w = SnapFrequencyWindow(m_setup.windowStart, m_setup.windowEnd, n, s);
        unit = w.binStep;
        start = w.start;
        end = w.stop;
        limit = n / 2;
        break;
    }
    case kDomainAzimuth:
        start = RaiseToMultiple(m_setup.windowStart, s);
        end = std::min(RaiseToMultiple(m_setup.windowEnd, s), 360.0);
        break;
    case kDomainSlowness:
        m_slownessLimit = ClampToFloat(double(n) * s);
        start = RaiseToMultiple(m_setup.windowStart, s);
        end = std::min(RaiseToMultiple(m_setup.windowEnd, s), double(n) * s);
        break;
    default:
        m_slownessLimit = 1250.0f;
        start = RaiseToMultiple(m_setup.windowStart, s);
        end = std::min(RaiseToMultiple(m_setup.windowEnd, s), double(n) * s);
        break;
    }
    // At least one step shown, inside the samples (bins).
    a.first = std::clamp(ClampToInt(start / unit), 0, std::max(limit - 1, 0));
    a.last = std::clamp(ClampToInt(end / unit), 0, limit);
    if (a.last <= a.first) a.last = std::min(a.first + 1, limit);
    a.binStep = m_setup.domain == kDomainFrequency ? ClampToFloat(unit) : 0.0f;
    a.start = ClampToFloat(start);
    a.end = ClampToFloat(end);
    a.width = m_setup.domain == kDomainFrequency ? ClampToFloat(end - start - unit) : ClampToFloat((a.last - a.first) * s);
    // Scrolled, the window ends at the last sample (bin) at most.
    a.scrollMax = std::max(limit - (a.last - a.first), 0);
    m_axis = a;
    ScrollWindow(a.first);
    // A snapped window keeps its own ends; a scrolled one is computed from its samples.
    m_axis.start = a.start;
    m_axis.end = a.end;
    m_axis.firstLabel = 0;
    const float w = m_axis.width;
    switch (m_setup.domain) {
    case kDomainTime:
        m_axis.tickStep = w <= 500 ? 100 : 500;
        m_axis.labelStep = w <= 500 ? 100 : w < 5000 ? 500 : w < 10000 ? 1000 : w < 15000 ? 2000 : w < 20000 ? 3000 : 4000;
        m_axis.firstLabel = LabelAfter(m_axis.start, w <= 500 ? 100 : 500);
        break;
    case kDomainFrequency:
        m_axis.tickStep = 500;
        m_axis.labelStep = w <= 2500 ? 500 : w <= 5000 ? 1000 : w < 10000 ? 2500 : 5000;
        m_axis.firstLabel = LabelAfter(m_axis.start, 500);
        break;
    case kDomainSlowness:
        m_axis.tickStep = w <= 100 ? 25 : 50;
        m_axis.labelStep = w <= 100 ? 25 : w > 500 ? 100 : 50;
        m_axis.firstLabel = LabelAfter(m_axis.start, w <= 100 ? 25 : 50);
        break;
    default:
        m_axis.tickStep = 10;
        m_axis.labelStep = w > 100 ? 90 : 10;
        m_axis.firstLabel = 0;
        break;
    }
}

void CProfileWnd::ScrollWindow(int64_t first)
{
    DomainWindow& a = m_axis;
    const int count = a.last - a.first;
    a.first = int(std::clamp<int64_t>(first, 0, a.scrollMax));
    a.last = a.first + count;
    const double unit = m_setup.domain == kDomainFrequency ? double(a.binStep) : double(m_step);
    a.start = ClampToFloat(a.first * unit);
    a.end = ClampToFloat(a.last * unit);
    if (m_setup.domain == kDomainTime) a.firstLabel = LabelAfter(a.start, a.width <= 500 ? 100 : 500);
    else if (m_setup.domain == kDomainFrequency) a.firstLabel = LabelAfter(a.start, 500);
    else if (m_setup.domain == kDomainSlowness) a.firstLabel = LabelAfter(a.start, a.width <= 100 ? 25 : 50);
}

void CProfileWnd::ApplyDomainZoom(int request)
{
    const double n = m_n;
    struct Limit {
        double in, out;
        const char* message;
    };
    const Limit limit = m_setup.domain == kDomainTime
                            ? Limit{500, n * m_step, "Reached time domain zoom limit!\nOperation will be abandoned."}
                        : m_setup.domain == kDomainFrequency
                            ? Limit{1000, n * m_axis.binStep / 2,
                                    "Reached frequency domain zoom limit!\nOperation will be abandoned."}
                        : m_setup.domain == kDomainSlowness
                            ? Limit{100, n * m_step, "Reached Slowness domain zoom limit!\nOperation will be abandoned."}
                            : Limit{90, n * m_step, "Reached azimuth domain zoom limit!\nOperation will be abandoned."};
    double width = m_axis.width;
    if (!ZoomWidth(request, width, limit.in, limit.out, limit.message)) return;
    const double centre = (double(m_axis.start) + m_axis.end) / 2;
    m_setup.windowStart = ClampToFloat(centre - width / 2);
    m_setup.windowEnd = ClampToFloat(centre + width / 2);
    SetupWindow();
}

// ---- preparing ----------------------------------------------------------------------------------

std::vector<float> CProfileWnd::AxisKey() const
{
    return {float(m_axis.first), float(m_axis.last), m_axis.start, m_axis.width};
}

void CProfileWnd::HorizontalScroll(int& max, int& pos) const
{
    max = m_axis.scrollMax;
    pos = m_axis.first;
}

void CProfileWnd::OnSize(unsigned type, int cx, int cy)
{
    // A new size ends what was being edited: it is kept.
    ApplyEditList();
    m_editList.clear();
    m_editMode = false;
    m_strokeStart = true;
    m_curveShown = true;
    SetCursor(CursorKind::Arrow);
    CProcessingWnd::OnSize(type, cx, cy);
}
