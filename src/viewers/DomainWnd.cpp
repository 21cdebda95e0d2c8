#include "viewers/DomainWnd.h"

#include "viewers/ViewOptions.h"
#include "common/DatumChooser.h"
#include "common/Fft.h"
#include "common/FrequencyWindow.h"
#include "dataset/ItemTypes.h"
#include "platform/Format.h"
#include "platform/Host.h"
#include "platform/SafeNumeric.h"
#include "settings/DomainSetupGroup.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

CDomainWnd::CDomainWnd(const DomainSetupGroup& setup, int domain)
    : m_setup(setup), m_domain(int16_t(domain)), m_samples(size_t(kSlots) * kSlotFloats, 0.0f)
{
}

CDomainWnd::~CDomainWnd() = default;

bool CDomainWnd::Open(const std::string& windowClass)
{
    if (!Load()) return false;
    MakeDrawingObjects();
    const std::string caption = std::string(DomainWord(m_domain)) + " (" + m_setup.path + ")";
    if (!CreateChild(windowClass, caption, WS_VSCROLL | WS_HSCROLL | WS_MAXIMIZE)) {
        RemoveViewOptions(m_windowId);
        return false;
    }
    SetScrollBars();
    return true;
}

void CDomainWnd::SetScrollBars()
{
    SetScrollInfo(SB_VERT, m_vscroll);
    ScrollInfo h;
    h.min = m_hMin;
    h.max = m_hMax;
    h.pos = m_hPos;
    SetScrollInfo(SB_HORZ, h);
}

int CDomainWnd::Load()
{
    // A successful OpenRead is the test: -1 is a real depth step of an up log sampled
    // every foot, and any value is a possible header field (the cursor clamps them).
    if (!OpenDataSet(m_file, m_setup.path)) return 0;
    CQtxDatumList datums;
    if (!OkOrShow(m_file.ReadDatumList(datums))) return 0;
    m_frames = CFrameCursor(m_file.Header());
    m_frames.SetFrame(m_frames.OpeningFrame(m_setup.depthFrame));

    ChosenDatum datum;
    if (!ChooseDatum(m_file, datums, m_domain, datum)) return 0;

    theApp.m_display.receiverShown.fill(0);
    ForgetKeptFrames();
    m_firstClick = m_secondClick = false;
    m_shape.interpolation = 1;
    m_slownessUnit = SlownessUnitLabel(m_setup.slownessUnit);
    if (!SetUpItem(datum)) return 0;
    RegisterReceivers(kReceivers);

    // One frame shown: a page of one, so the thumb stands on the frame shown, the last
    // one included, and is as long as one frame's share of the log.
    m_vscroll = m_frames.VerticalScrollInfo(1);
    SetDepthReadOut(Format("%10.4f%s", m_frames.Depth(), m_frames.DepthUnitLabel()));
    // A frame that cannot be read is reported now and shows no traces.
    ReadFrame();
    return 1;
}

bool CDomainWnd::SetUpItem(const ChosenDatum& d)
{
    m_mnemonic = d.mnemonic;
    m_typeCode = d.typeCode;
    m_receivers = d.traceCount;
    m_shape.step = d.step;
    m_shape.samplesRead = d.sampleCount;
    m_shape.sampleCount = d.sampleCount;
    m_offset = d.offset;
    m_datumNumber = d.datumNumber;
    m_unitCode = m_domain == kDomainTime ? d.unitCode : uint8_t(kUnitNone);
    m_caption = ItemTypeOf(d.typeCode).caption;
    m_traceLabels = ItemTraceLabels(d.typeCode);
    // The time ticks are labelled in milliseconds.
    m_axisTitle = m_domain == kDomainTime        ? "Time [mSec]"
                  : m_domain == kDomainFrequency ? "Frequency [kHz]"
                  : m_domain == kDomainSlowness  ? "Slowness " + m_slownessUnit
                                                 : "Azimuth [deg]";

    m_frequencyMarker = InFamily(d.typeCode, ItemFamily::InstFrequency);
    m_slownessMarker = InFamily(d.typeCode, ItemFamily::InstSlowness);
    m_marker = m_frequencyMarker || m_slownessMarker;
    if (m_frequencyMarker) m_markerWidth = m_setup.freqStop - m_setup.freqStart, m_markerCentre = m_setup.freqStart;
    if (m_slownessMarker) m_markerWidth = m_setup.slowMax - m_setup.slowMin, m_markerCentre = m_setup.slowMin;
    m_markerHalf = m_markerWidth / 2;
    m_markerCentre += m_markerHalf;

    m_shape.fftLength = 1;
    while (m_shape.fftLength < m_shape.samplesRead) m_shape.fftLength *= 2;

    const bool waveform = (m_domain == kDomainTime && !m_marker) || m_domain == kDomainFrequency;
    m_shape.padding = false;
    m_shape.interpolation = 1;
    if (waveform) {
        if (m_shape.fftLength != m_shape.samplesRead) {
            m_shape.padding = true;
            m_shape.sampleCount = m_shape.fftLength;
        }
        if (m_shape.step > 10.0f) m_shape.interpolation = 4;
        else if (m_shape.step > 5.0f) m_shape.interpolation = 2;
    }
    // The view keeps 16 receivers of 8,192 samples, and a frame is read whole into
    // the shared sample array: a datum beyond either is refused, not overrun.
    if (!AcceptSampleStep(m_mnemonic, m_shape.step)) return false;
    const int64_t interpolated = int64_t(m_shape.sampleCount) * m_shape.interpolation;
    if (!FitsSlots(m_receivers, interpolated) || m_shape.samplesRead < 1
        || int64_t(m_receivers) * m_shape.samplesRead > kFftDataSize - 1)
        return RefuseDatumSize(m_mnemonic, m_receivers, m_shape.samplesRead * m_shape.interpolation);
    if (waveform) {
        m_shape.sampleCount *= m_shape.interpolation;
        m_shape.step /= float(m_shape.interpolation);
    }
    ComputeWindow();
    return true;
}

void CDomainWnd::ComputeWindow()
{
    // Any positive step of any size gets here: every index is clamped on its way to
    // an int, and the window stays inside the samples the domain has (a spectrum
    // has half as many bins as the trace has samples).
    const float n = float(m_shape.sampleCount);
    const int limit = std::max(m_domain == kDomainFrequency ? m_shape.sampleCount / 2 : m_shape.sampleCount, 1);
    switch (m_domain) {
    case kDomainFrequency: {
        const FrequencyWindow w = SnapFrequencyWindow(m_setup.freqStart, m_setup.freqStop, m_shape.sampleCount, m_shape.step);
        m_axis.binWidth = ClampToFloat(w.binStep);
        m_axis.start = ClampToFloat(w.start);
        m_axis.stop = ClampToFloat(w.stop);
        m_axis.width = m_axis.stop - m_axis.start - m_axis.binWidth;
        m_axis.first = ClampToInt(m_axis.start / m_axis.binWidth);
        m_axis.last = std::min(ClampToInt(m_axis.stop / m_axis.binWidth), m_shape.sampleCount / 2);
        m_axis.shownCount = ClampToInt(double(m_axis.last) - m_axis.first);
        break;
    }
    case kDomainTime:
    case kDomainSlowness:
    case kDomainAzimuth: {
        const float lo = m_domain == kDomainTime ? m_setup.timeStart : m_domain == kDomainSlowness ? m_setup.slowMin : m_setup.azimMin;
        float hi = m_domain == kDomainTime ? m_setup.timeStop : m_domain == kDomainSlowness ? m_setup.slowMax : m_setup.azimMax;
        if (m_domain == kDomainAzimuth) hi = std::min(hi, 360.0f);
        m_axis.start = ClampToFloat(RaiseToMultiple(lo, m_shape.step));
        m_axis.stop = std::min(ClampToFloat(RaiseToMultiple(hi, m_shape.step)), n * m_shape.step);
        m_axis.width = m_axis.stop - m_axis.start - m_shape.step;
        m_axis.first = ClampToInt(m_axis.start / m_shape.step);
        m_axis.last = std::min(ClampToInt(m_axis.stop / m_shape.step), m_shape.sampleCount);
        m_axis.shownCount = ClampToInt(double(m_axis.last) - m_axis.first - (m_domain == kDomainAzimuth ? 1 : 0));
        break;
    }
    default: break;
    }
    // A window outside the data leaves at least one sample to show.
    m_axis.first = std::clamp(m_axis.first, 0, limit - 1);
    m_axis.last = std::clamp(m_axis.last, m_axis.first + 1, limit);
    m_axis.shownCount = std::clamp(m_axis.shownCount, 1, limit);
    if (!(m_axis.width > 0) || !std::isfinite(m_axis.width)) m_axis.width = m_domain == kDomainFrequency ? m_axis.binWidth : m_shape.step;
    m_hMin = 0;
    m_hMax = limit - m_axis.shownCount;
    m_hPos = m_axis.first;
    m_axis.firstTick = FirstTick();
}

// (trunc(start) / base + 1) * base, the base by domain and, in time, by width.
int CDomainWnd::FirstTick() const
{
    int base = 50;
    if (m_domain == kDomainFrequency) base = 500;
    if (m_domain == kDomainTime) base = m_axis.width <= 500 ? 100 : m_axis.width <= 1000 ? 200 : 500;
    return ClampToInt(double((int64_t(ClampToInt(m_axis.start)) / base + 1) * base));
}

bool CDomainWnd::ReadFrame()
{
    m_frameRead = false;
    if (TakeKeptFrame(m_frames.Frame())) return m_frameRead = true;
    float* buffer = g_fftData + 1;
    if (!OkOrShow(m_file.ReadFrameItem(m_frames.Frame(), int64_t(m_offset), m_receivers, m_shape.samplesRead, buffer,
                                       kFftDataSize - 1)))
        return false;
    for (int r = 0; r < m_receivers; ++r) {
        float* slot = Slot(m_receiverIndex[size_t(r)]);
        std::copy(buffer + size_t(r) * m_shape.samplesRead, buffer + size_t(r + 1) * m_shape.samplesRead, slot);
        if (m_shape.padding) std::fill(slot + m_shape.samplesRead, slot + m_shape.sampleCount, 0.0f);
    }
    const bool waveform = (m_domain == kDomainTime && !m_marker) || m_domain == kDomainFrequency;
    if (waveform && m_shape.interpolation > 1)
        for (int r = 0; r < m_receivers; ++r) Interpolate(m_receiverIndex[size_t(r)]);
    if (m_domain == kDomainFrequency)
        for (int r = 0; r < m_receivers; ++r) Spectrum(m_receiverIndex[size_t(r)]);
    KeepFrame(m_frames.Frame());
    m_frameRead = true;
    return true;
}

bool CDomainWnd::TakeKeptFrame(int frame)
{
    const size_t count = size_t(m_shape.sampleCount);
    for (const KeptFrame& kept : m_kept) {
        if (kept.frame != frame || kept.samples.size() != size_t(m_receivers) * count) continue;
        for (int r = 0; r < m_receivers; ++r)
            std::copy_n(kept.samples.data() + size_t(r) * count, count, Slot(m_receiverIndex[size_t(r)]));
        return true;
    }
    return false;
}

void CDomainWnd::KeepFrame(int frame)
{
    const size_t count = size_t(m_shape.sampleCount);
    KeptFrame& kept = m_kept[size_t(m_nextKept)];
    m_nextKept = (m_nextKept + 1) % kKeptFrames;
    kept.frame = frame;
    kept.samples.resize(size_t(m_receivers) * count);
    for (int r = 0; r < m_receivers; ++r)
        std::copy_n(Slot(m_receiverIndex[size_t(r)]), count, kept.samples.data() + size_t(r) * count);
}

void CDomainWnd::ForgetKeptFrames()
{
    for (KeptFrame& kept : m_kept) kept.frame = -1;
}

namespace {

// Puts n real samples into the shared array as complex points and transforms them.
// Samples that are not finite go in as 0 (the caller decides what becomes of their
// gaps), and samples so large that the transform's sums could overflow go in scaled
// down: the result times the returned factor is the transform of the samples.
float ForwardTransform(const float* samples, int n)
{
    // n sums of samples and their doubles stay finite below this.
    constexpr float kLargestUnscaled = FLT_MAX / float(4 * kFftMaxPoints);
    // Four running maxima: one would wait on the last comparison at every sample.
    float largest[4] = {};
    for (int i = 0; i < n; ++i) {
        const float a = std::fabs(samples[i]);
        if (a <= FLT_MAX) largest[i % 4] = std::max(largest[i % 4], a);
    }
    const float peak = std::max(std::max(largest[0], largest[1]), std::max(largest[2], largest[3]));
    const float scale = peak > kLargestUnscaled ? peak : 1.0f;
    float* data = g_fftData;
    if (scale == 1.0f) {
        for (int i = 0; i < n; ++i) {
            data[2 * i + 1] = std::isfinite(samples[i]) ? samples[i] : 0.0f;
            data[2 * i + 2] = 0.0f;
        }
    } else {
        for (int i = 0; i < n; ++i) {
            data[2 * i + 1] = std::isfinite(samples[i]) ? samples[i] / scale : 0.0f;
            data[2 * i + 2] = 0.0f;
        }
    }
    CFft fft;
    fft.m_sign = 1;
    fft.m_n = n;
    fft.Transform();
    return scale;
}

} // namespace

void CDomainWnd::Interpolate(int slotIndex)
{
    float* slot = Slot(slotIndex);
    const int n = m_shape.sampleCount / m_shape.interpolation;
    float* data = g_fftData;
    m_gaps.clear();
    for (int i = 0; i < n; ++i)
        if (!std::isfinite(slot[i])) m_gaps.push_back(i);
    const float scale = ForwardTransform(slot, n);
    CFft fft;
    // The analytic spectrum: negative frequencies dropped, positive ones doubled.
    for (int p = n / 2; p < n; ++p) data[2 * p + 1] = data[2 * p + 2] = 0.0f;
    for (int p = 1; p < n / 2; ++p) {
        data[2 * p + 1] *= 2.0f;
        data[2 * p + 2] *= 2.0f;
    }
    std::fill(data + n + 1, data + 2 * m_shape.sampleCount + 1, 0.0f);
    fft.m_sign = -1;
    fft.m_n = m_shape.sampleCount;
    fft.Transform();
    if (scale == 1.0f) {
        const float inverse = 1.0f / float(n);
        for (int i = 0; i < m_shape.sampleCount; ++i) slot[i] = data[2 * i + 1] * inverse;
    } else {
        for (int i = 0; i < m_shape.sampleCount; ++i) slot[i] = ClampToFloat(double(data[2 * i + 1]) * scale / n);
    }
    // A sample that was not a number stays a gap at its own place.
    for (int i : m_gaps) slot[size_t(i) * size_t(m_shape.interpolation)] = NAN;
}

void CDomainWnd::Spectrum(int slotIndex)
{
    float* slot = Slot(slotIndex);
    const float* data = g_fftData;
    // A trace with a gap has no spectrum: every bin is a gap.
    for (int i = 0; i < m_shape.sampleCount; ++i)
        if (!std::isfinite(slot[i])) {
            std::fill(slot, slot + m_shape.sampleCount / 2, NAN);
            return;
        }
    const double scale = ForwardTransform(slot, m_shape.sampleCount);
    // Squares of floats in double cannot overflow, so the plain root serves (hypot is slow).
    // Unscaled samples keep every magnitude below FLT_MAX / 2: no clamp is needed.
    if (scale == 1.0) {
        for (int i = 0; i < m_shape.sampleCount / 2; ++i) {
            const double re = data[2 * i + 1], im = data[2 * i + 2];
            slot[i] = float(std::sqrt(re * re + im * im));
        }
    } else {
        for (int i = 0; i < m_shape.sampleCount / 2; ++i) {
            const double re = data[2 * i + 1], im = data[2 * i + 2];
            slot[i] = ClampToFloat(std::sqrt(re * re + im * im) * scale);
        }
    }
}

float CDomainWnd::CrossingTime(int slotIndex, float t) const
{
    const float* v = Slot(slotIndex);
    const int n = m_shape.sampleCount;
    if (n < 2 || !(m_shape.step > 0)) return t;
    const int i = std::clamp(ClampToInt(t / m_shape.step), 0, n - 1);
    // Searches stay inside the trace: an edge without a crossing picks the start point.
    auto forward = [&](int from) -> int {
        for (int j = std::max(from, 0); j + 1 < n; ++j)
            if (v[j] <= 0 && v[j + 1] > 0) return j + 1;
        return -1;
    };
    auto backward = [&](int from) -> int {
        for (int j = std::min(from, n - 1); j >= 1; --j)
            if (v[j] > 0 && v[j - 1] <= 0) return j;
        return -1;
    };
    int pick;
    if (v[i] <= 0) {
        pick = forward(i);
        if (pick < 0) pick = backward(i);
    } else {
        pick = backward(i);
        if (pick < 0) pick = forward(i);
    }
    if (pick < 1) return float(std::max(pick, i)) * m_shape.step;
    const float a = v[pick - 1], b = v[pick];
    if (a == b) return float(pick) * m_shape.step;
    return float(pick) * m_shape.step - b * m_shape.step / (b - a);
}
