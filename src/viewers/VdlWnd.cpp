#include "viewers/VdlWnd.h"

#include "viewers/ViewOptions.h"
#include "common/DatumChooser.h"
#include "common/FrequencyWindow.h"
#include "dataset/ItemTypes.h"
#include "platform/Format.h"
#include "platform/Host.h"
#include "platform/SafeNumeric.h"
#include "settings/VdlSetupGroup.h"

#include <algorithm>
#include <cmath>

namespace {

int Trunc(double v) { return ClampToInt(v); }

} // namespace

CVdlWnd::CVdlWnd(const VdlSetupGroup& setup) : m_setup(setup) {}
CVdlWnd::~CVdlWnd() = default;

bool CVdlWnd::Open(const std::string& windowClass)
{
    // A group that names no single domain shows azimuth, as a text of none did.
    const int code = ViewDomainCode(m_setup.domain);
    m_samples.domain = int16_t(code != 0 ? code : kDomainAzimuth);
    if (!LoadData()) return false;
    const std::string caption = std::string(ViewDomainName(m_setup.domain)) + " (" + m_setup.path + ")";
    if (!CreateChild(windowClass, caption, WS_VSCROLL | WS_HSCROLL | WS_MAXIMIZE)) {
        RemoveViewOptions(m_windowId);
        return false;
    }
    PrepareRepaint();
    return true;
}

bool CVdlWnd::LoadData()
{
    if (!OpenDataSet(m_item.file, m_setup.path)) return false;
    CQtxDatumList datums;
    if (!OkOrShow(m_item.file.ReadDatumList(datums))) return false;
    m_item.frames = CFrameCursor(m_item.file.Header());
    if (!AcceptDepths(m_item.frames, m_setup.path)) return false;

    // The display range in frames: the depth's share of the log's span times the frame
    // count (an up log counts it back from the frame count). A single frame, or a span
    // that gives no number, is frame 0.
    const int n = m_item.frames.FrameCount();
    const double top = m_item.frames.TopDepth(), bottom = m_item.frames.BottomDepth();
    auto along = [&](double depth) {
        if (n <= 1 || !(bottom != top)) return 0.0;
        const double a = std::trunc((depth - top) * double(n) / (bottom - top));
        return std::isnan(a) ? 0.0 : a;
    };
    double first, last;
    if (m_item.frames.IsDown()) {
        first = std::max(along(m_setup.topDepth), 0.0);
        last = along(m_setup.bottomDepth);
        if (last > n) last = n - 1;
    } else {
        first = double(n) - along(m_setup.topDepth);
        if (first >= n) first = n - 1;
        last = std::max(double(n) - along(m_setup.bottomDepth), 0.0);
    }
    m_page.firstFrame = int(std::clamp(first, 0.0, double(m_item.frames.LastFrame())));
    m_page.lastFrame = int(std::clamp(last, 0.0, double(n)));
    m_page.firstVisible = m_page.firstFrame;
    m_mmPerUnit = m_item.file.Header().depthUnits == qtx::kUnitsMetres ? 1000.0f : 304.8f;

    ChosenDatum datum;
    // The tab showing at OK decides the domain: an item picked on another tab is shown
    // in that tab's domain.
    int domain = m_samples.domain;
    if (!ChooseDatumOfShownTab(m_item.file, datums, domain, datum)) return false;
    m_samples.domain = int16_t(domain);
    // Any other tab is shown as azimuth, as the caption's word says.
    const ViewDomain shown = ViewDomainOfCode(m_samples.domain);
    m_setup.domain = shown == ViewDomain::kNone ? ViewDomain::kAzimuth : shown;

    theApp.m_display.receiverShown.fill(0);
    m_item.slownessUnit = SlownessUnitLabel(m_setup.slownessUnit);
    if (!SetUpItem(datum)) return false;
    // A new view shows its first receiver; the others are switched on by the user.
    RegisterReceivers(1);

    // A setup that names no palette paints in Color.
    const Palette palette = m_setup.palette;
    m_item.palette = palette == kPaletteNone ? kPaletteColor : palette;
    m_item.signature = m_setup.type == WaveStyle::kSignature;
    m_wiggleAmplitude = m_item.signature ? 20.0f : 0.0f;
    if (!(m_setup.depthScale > 0) || !std::isfinite(m_setup.depthScale)) m_setup.depthScale = 480.0f;
    m_depthGrid = m_setup.depthScale >= 500 ? 20.0f : m_setup.depthScale >= 250 ? 10.0f : 5.0f;
    m_item.vscroll = {};
    m_item.vscroll.max = std::max(BottomPosition() - TopPosition(), 0);
    m_item.vscroll.page = 20;
    // Its page follows the window (SetScrollBars): a range the window shows whole leaves
    // the bar in place, disabled, so the image keeps its width.
    m_item.vscroll.disableNoScroll = true;
    SetDepthReadOut(Format("%10.4f%s", DepthOfPosition(FirstVisiblePosition()), m_item.frames.DepthUnitLabel()));
    return true;
}

bool CVdlWnd::SetUpItem(const ChosenDatum& d)
{
    m_item.mnemonic = d.mnemonic;
    m_item.typeCode = d.typeCode;
    m_receivers = d.traceCount;
    m_samples.step = d.step;
    m_samples.samplesRead = d.sampleCount;
    m_item.offset = d.offset;
    m_datumNumber = d.datumNumber;
    m_unitCode = m_samples.domain == kDomainTime ? d.unitCode : uint8_t(kUnitNone);
    m_instFrequency = InFamily(d.typeCode, ItemFamily::InstFrequency);
    m_instSlowness = InFamily(d.typeCode, ItemFamily::InstSlowness);
    if (!AcceptSampleStep(m_item.mnemonic, m_samples.step)) return false;

    // Waveforms are padded to a power of two for their transforms; curves of a
    // frequency or a slowness keep their samples in the time domain. A spectrum
    // always needs the power of two.
    const int padded = PaddedLength(m_samples.samplesRead);
    m_samples.sampleCount = m_samples.samplesRead;
    m_samples.padded = false;
    const bool curve = m_instFrequency || m_instSlowness;
    if (((m_samples.domain == kDomainTime && !curve) || m_samples.domain == kDomainFrequency) && padded != m_samples.samplesRead) {
        m_samples.padded = true;
        m_samples.sampleCount = padded;
    }
    // The rows are built in arrays of 16 receivers of 8,192 samples.
    if (!FitsSlots(m_receivers, m_samples.sampleCount) || m_samples.samplesRead < 1)
        return RefuseDatumSize(m_item.mnemonic, m_receivers, m_samples.samplesRead);

    m_caption = ItemTypeOf(d.typeCode).caption;
    m_traceLabels = ItemTraceLabels(d.typeCode);
    // The time ticks are labelled in milliseconds.
    m_item.axisTitle = m_samples.domain == kDomainTime        ? "Time [mSec]"
                  : m_samples.domain == kDomainFrequency ? "Frequency [kHz]"
                  : m_samples.domain == kDomainSlowness  ? "Slowness " + m_item.slownessUnit
                                                 : "Azimuth [deg]";
    m_wiggleFactor = m_samples.domain == kDomainTime ? 0.5f : 1.0f;
    const size_t frameFloats = size_t(m_receivers) * size_t(m_samples.sampleCount);
    // The page's frames and the rows' scratch are sized for this item when next rendered.
    m_frame.clear();
    m_spectra.clear();
    m_framePosition.clear();
    m_scratch.clear();
    m_readOut.assign(frameFloats, 0.0f);
    SetupAxis();
    return true;
}

float& CVdlWnd::RangeStart()
{
    switch (m_samples.domain) {
    case kDomainTime: return m_setup.timeStart;
    case kDomainFrequency: return m_setup.freqStart;
    case kDomainSlowness: return m_setup.slowMin;
    default: return m_setup.azimMin;
    }
}

float& CVdlWnd::RangeStop()
{
    switch (m_samples.domain) {
    case kDomainTime: return m_setup.timeStop;
    case kDomainFrequency: return m_setup.freqStop;
    case kDomainSlowness: return m_setup.slowMax;
    default: return m_setup.azimMax;
    }
}

// (trunc(value) / base + 1) x base: time by 100 for a span of 500 or less, else 500;
// frequency by 500; slowness and azimuth by 50.
int CVdlWnd::FirstTick(float value, float span) const
{
    int64_t base = 50;
    if (m_samples.domain == kDomainFrequency) base = 500;
    if (m_samples.domain == kDomainTime) base = span <= 500 ? 100 : 500;
    return ClampToInt(double((int64_t(Trunc(value)) / base + 1) * base));
}

void CVdlWnd::SetupAxis()
{
    // Every value may come from a file or a setting: indices are clamped on their way
    // to an int, and the window keeps at least one step inside the samples (bins) the
    // domain has, the last of them included, so that interpolation never reads past.
    const int n = m_samples.sampleCount;
    const double s = m_samples.step;
    const int limit = m_samples.domain == kDomainFrequency ? n / 2 + 1 : n;
    Axis a;
    double start = 0, stop = 0, span = 0, step = s;
    switch (m_samples.domain) {
    case kDomainFrequency: {
        const FrequencyWindow w = SnapFrequencyWindow(m_setup.freqStart, m_setup.freqStop, n, s);
        step = w.binStep;
        start = w.start;
        stop = w.stop;
        span = stop - start - step;
        break;
    }
    case kDomainSlowness:
        start = RaiseToMultiple(m_setup.slowMin, s);
        stop = std::min(RaiseToMultiple(m_setup.slowMax, s), double(n) * s);
        span = stop - start - s;
        break;
    case kDomainAzimuth:
        start = RaiseToMultiple(m_setup.azimMin, s);
        stop = std::min(RaiseToMultiple(m_setup.azimMax, s), 360.0);
        break;
    default: // time
        start = RaiseToMultiple(m_setup.timeStart, s);
        stop = std::min(RaiseToMultiple(m_setup.timeStop, s), double(n) * s);
        break;
    }
    a.first = std::clamp(Trunc(start / step), 0, std::max(limit - 2, 0));
    a.last = std::clamp(Trunc(stop / step), 0, limit - 1);
    if (a.last <= a.first) a.last = std::min(a.first + 1, limit - 1);
    a.spanSamples = a.last - a.first;
    if (m_samples.domain == kDomainTime || m_samples.domain == kDomainAzimuth) span = a.spanSamples * step;
    a.step = ClampToFloat(step);
    a.start = ClampToFloat(start);
    a.stop = ClampToFloat(stop);
    a.span = ClampToFloat(span);
    a.scrollMax = std::max(limit - 1 - a.spanSamples, 0);
    m_axis = a;
    m_axis.firstTick = FirstTick(a.start, a.span);
}

void CVdlWnd::ScrollAxis(int64_t position)
{
    Axis& a = m_axis;
    a.first = int(std::clamp<int64_t>(position, 0, a.scrollMax));
    a.last = a.first + a.spanSamples;
    a.start = ClampToFloat(double(a.first) * a.step);
    a.stop = ClampToFloat(double(a.start) + a.span);
    a.firstTick = FirstTick(a.start, a.span);
}

bool CVdlWnd::ApplyDepthZoom(int request)
{
    if (request == 0) return true;
    const float scale = request > 0 ? m_setup.depthScale / 2 : m_setup.depthScale * 2;
    if ((request > 0 && scale < 100) || (request < 0 && scale > 1000)) {
        MessageBox("Reached depth domain zoom limit!\nOperation will be abandoned.", MB_OK);
        return false;
    }
    m_setup.depthScale = scale;
    // The depth labels keep their spacing on the screen.
    m_depthGrid = m_setup.depthScale >= 500 ? 20.0f : m_setup.depthScale >= 250 ? 10.0f : 5.0f;
    return true;
}

bool CVdlWnd::ApplyAxisZoom(int request)
{
    if (request == 0) return true;
    const double n = m_samples.sampleCount;
    struct Limit {
        double in, out;
        const char* message;
    };
    const Limit limit = m_samples.domain == kDomainTime
                            ? Limit{500, n * m_samples.step, "Reached time domain zoom limit!\nOperation will be abandoned."}
                        : m_samples.domain == kDomainFrequency
                            ? Limit{1000, n * m_axis.step * 0.5,
                                    "Reached frequency domain zoom limit!\nOperation will be abandoned."}
                        : m_samples.domain == kDomainSlowness
                            ? Limit{100, n * m_samples.step, "Reached Slowness domain zoom limit!\nOperation will be abandoned."}
                            : Limit{90, n * m_samples.step, "Reached azimuth domain zoom limit!\nOperation will be abandoned."};
    const double span = double(m_axis.span) * (request > 0 ? 0.75 : 1.25);
    // The limits themselves are accepted (and NaN is refused).
    if ((request > 0 && !(span >= limit.in)) || (request < 0 && !(span <= limit.out))) {
        MessageBox(limit.message, MB_OK);
        return false;
    }
    const double centre = (double(m_axis.start) + m_axis.stop) / 2;
    RangeStart() = ClampToFloat(centre - span / 2);
    RangeStop() = ClampToFloat(centre + span / 2);
    SetupAxis();
    return true;
}

int CVdlWnd::TopPosition() const { return m_item.frames.ScrollPositionOf(m_page.firstFrame); }

int CVdlWnd::BottomPosition() const
{
    // The last frame of the range may be the frame count itself (the range ends with
    // the log): the log's last frame.
    return std::max(m_item.frames.ScrollPositionOf(m_page.lastFrame), TopPosition());
}

void CVdlWnd::TakeReceivers()
{
    // The view's own record: what the display commands stored for it.
    const CViewOptions* record = FindViewOptions(m_windowId);
    if (record) MapShownReceivers(record->m_available, record->m_shown);
    m_raster.columns.clear();
    for (int r = 0; r < std::min(m_receivers, kSlots); ++r)
        if (m_shown[size_t(m_receiverIndex[size_t(r)])]) m_raster.columns.push_back(r);
    m_gain = 1.0f;
    if (record && m_samples.domain == kDomainTime) {
        const float zoom = m_instFrequency ? record->m_zoomFactor2
                           : m_instSlowness ? record->m_zoomFactor3
                                            : record->m_zoomFactor1;
        if (zoom > 0 && std::isfinite(zoom)) m_gain = zoom;
    }
}

void CVdlWnd::Layout()
{
    const Rect client = GetClientRect();
    m_item.clientWidth = client.Width();
    m_item.clientHeight = client.Height();
    const int shown = int(m_raster.columns.size());
    m_raster.imageWidth = shown > 0 ? std::max((m_item.clientWidth - (m_gap * shown + m_leftMargin)) / shown, 0) : 0;
    // Wiggles hang their annotations lower: the rows leave them room.
    const int shift = Trunc(m_wiggleFactor * m_wiggleAmplitude);
    m_raster.rowsAvailable = std::max(m_item.clientHeight - 2 * m_item.fontHeight - m_topMargin - shift, 0);
    m_page.depthPerPixel = double(m_vertSize) * m_setup.depthScale / std::max(m_vertRes, 1) / m_mmPerUnit;
    const double frames = m_item.frames.Step() > 0 ? m_raster.rowsAvailable * m_page.depthPerPixel / m_item.frames.Step() : 0.0;
    // Clamped before the one is added: a tiny depth step makes the page span any count.
    m_page.framesPerPage = std::clamp(Trunc(frames), 0, std::max(m_item.frames.FrameCount(), 1) - 1) + 1;
}

CVdlWnd::RenderKey CVdlWnd::KeyNow() const
{
    RenderKey k;
    k.width = m_item.clientWidth;
    k.height = m_item.clientHeight;
    k.firstVisible = m_page.firstVisible;
    k.first = m_axis.first;
    k.last = m_axis.last;
    k.vertRes = m_vertRes;
    k.vertSize = m_vertSize;
    k.start = m_axis.start;
    k.span = m_axis.span;
    k.scale = m_setup.depthScale;
    k.gain = m_gain;
    k.shown = m_shown;
    return k;
}

void CVdlWnd::PrepareRepaint()
{
    if (!IsWindow() || m_iconic) return;
    if (m_vertRes <= 0) ReadDeviceCaps();
    // The display commands leave their zoom requests for the active view.
    auto& d = theApp.m_display;
    if (d.activeWindowId == m_windowId) {
        if (const int request = d.depthZoomRequest) {
            d.depthZoomRequest = 0;
            ApplyDepthZoom(request);
        }
        if (const int request = d.dataAxisZoomRequest) {
            d.dataAxisZoomRequest = 0;
            ApplyAxisZoom(request);
        }
    }
    TakeReceivers();
    Layout();
    if (!(KeyNow() == m_rendered) && !RenderMoved()) Render();
    SetScrollBars();
}

void CVdlWnd::SetScrollBars()
{
    m_item.vscroll.pos = FirstVisiblePosition() - TopPosition();
    // The page is what the window shows: the thumb reaches the bottom where the view
    // stops, with the range's last frame in view.
    const int64_t lowest = LowestFirstPosition() - TopPosition();
    m_item.vscroll.page = unsigned(std::clamp<int64_t>(int64_t(m_item.vscroll.max) - lowest + 1, 1, int64_t(m_item.vscroll.max) + 1));
    SetScrollInfo(SB_VERT, m_item.vscroll);
    ScrollInfo h;
    h.max = m_axis.scrollMax;
    h.pos = m_axis.first;
    SetScrollInfo(SB_HORZ, h);
}
