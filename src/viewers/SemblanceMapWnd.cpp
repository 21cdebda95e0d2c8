#include "viewers/SemblanceMapWnd.h"

#include "viewers/Palettes.h"
#include "viewers/ViewOptions.h"
#include "common/DatumChooser.h"
#include "dataset/ItemTypes.h"
#include "platform/Format.h"
#include "platform/Host.h"
#include "platform/SafeNumeric.h"
#include "settings/SemblanceMapSetupGroup.h"

#include <algorithm>
#include <cmath>

namespace {

// The index of the first grid value not below v, the grid walked up from 0 in steps
// of `step` (a value a rounding error above a grid value keeps that value); clamped
// to lo..hi while still a double.
int SnapIndex(double v, double step, int lo, int hi)
{
    double index = std::ceil(v / step - 1e-6);
    if (std::isnan(index)) index = lo;
    return int(std::clamp(index, double(lo), double(std::max(lo, hi))));
}

// The window [start, stop] raised to the grid of `step` whose indices run from `lo`
// over `count` values: inside the grid, its last index past its first.
template <typename Window> void SnapWindow(Window& w, double start, double stop, double step, int lo, int count)
{
    w.first = SnapIndex(start, step, lo, lo + count - 1);
    w.last = SnapIndex(stop, step, w.first + 1, lo + count);
    w.start = w.first * step;
    w.stop = w.last * step;
    w.span = w.stop - w.start - step;
}

} // namespace

uint32_t CSemblanceMapWnd::PaletteColour(int palette, int index)
{
    index = std::clamp(index, 0, kColours - 1);
    if (palette == kPaletteBlackWhite) {
        const uint32_t level = index == 0 ? 255u : uint32_t(248 - 8 * index);
        return 0xFF000000u | level * 0x010101u;
    }
    return 0xFF000000u | ColourRampRgb(index);
}

CSemblanceMapWnd::CSemblanceMapWnd(const SemblanceMapSetupGroup& setup) : m_setup(setup) {}
CSemblanceMapWnd::~CSemblanceMapWnd() = default;

bool CSemblanceMapWnd::Open(const std::string& windowClass)
{
    if (!Load()) return false;
    const std::string caption = "Samblance Map (" + m_setup.title + "." + m_setup.ext + ")";
    if (!CreateChild(windowClass, caption, WS_VSCROLL | WS_HSCROLL | WS_MAXIMIZE)) {
        RemoveViewOptions(m_windowId);
        return false;
    }
    PrepareRepaint();
    return true;
}

int CSemblanceMapWnd::Load()
{
    if (!OpenDataSet(m_item.file, m_setup.path)) return 0;
    CQtxDatumList datums;
    if (!OkOrShow(m_item.file.ReadDatumList(datums))) return 0;
    m_item.frames = CFrameCursor(m_item.file.Header());
    // A down log opens at the top depth's share of the log, an up log counts it back
    // from the frame count; either way inside the log.
    m_item.frames.SetFrame(m_item.frames.OpeningFrame(m_setup.topDepth));

    ChosenDatum datum;
    if (!ChooseDatum(m_item.file, datums, kTabSemblanceMap, datum)) return 0;

    for (int i = 0; i < 8; ++i) theApp.m_display.receiverShown[size_t(i)] = 0;
    m_item.slownessUnit = SlownessUnitLabel(m_setup.slownessUnit);
    if (!SetUpMap(datum)) return 0;
    FitTimeWindow(m_setup.timeStart, m_setup.timeStop);
    FitSlownessWindow(m_setup.slowMin, m_setup.slowMax);
    // One map: one receiver, shown.
    m_receivers = 1;
    RegisterReceivers(1);
    // The map paints in Black&White or, for any other text, in Color.
    m_item.palette = m_setup.palette == kPaletteBlackWhite ? kPaletteBlackWhite : kPaletteColor;
    m_item.signature = m_setup.type == WaveStyle::kSignature;
    m_item.vscroll = m_item.frames.VerticalScrollInfo(1); // one frame shown, as in the domain view
    SetDepthReadOut(Format("%10.4f%s", m_item.frames.Depth(), m_item.frames.DepthUnitLabel()));
    // A frame that cannot be read is reported now and shows a gap.
    ReadFrame();
    return 1;
}

bool CSemblanceMapWnd::SetUpMap(const ChosenDatum& d)
{
    m_item.mnemonic = d.mnemonic;
    m_item.typeCode = d.typeCode;
    m_item.offset = d.offset;
    m_samples.ns = d.sampleCount;
    m_samples.fs = d.firstIndex;
    m_samples.ds = d.step;
    m_samples.nt = d.sampleCount2;
    m_samples.ft = d.firstIndex2;
    m_samples.dt = d.step2;
    // Storage is sized to the map; a map larger than a view holds is refused.
    const int64_t samples = int64_t(m_samples.nt) * m_samples.ns;
    if (samples < 1 || samples > kMaxMapSamples) {
        MessageBox(Format("Semblance map %s cannot be shown: its %d x %d samples (time x slowness) are %s.\n"
                          "Operation will be abandoned.",
                          m_item.mnemonic.c_str(), m_samples.nt, m_samples.ns,
                          samples < 1 ? "none" : Format("more than the %lld a view holds", (long long)kMaxMapSamples).c_str()),
                   MB_OK | MB_ICONSTOP);
        return false;
    }
    if (!AcceptSampleStep(m_item.mnemonic, m_samples.ds) || !AcceptSampleStep(m_item.mnemonic, m_samples.dt)) return false;
    m_samples.values.assign(size_t(samples), 0.0f);
    m_samples.rowScale.assign(size_t(m_samples.nt), 1.0);
    m_title = SemblanceMapTitle(m_item.typeCode);
    m_item.axisTitle = "Slowness " + m_item.slownessUnit;
    return true;
}

bool CSemblanceMapWnd::ReadFrame()
{
    ++m_item.framesRead;
    m_samples.read = OkOrShow(m_item.file.ReadFrameItem(m_item.frames.Frame(), int64_t(m_item.offset), m_samples.nt,
                                                        m_samples.ns, m_samples.values.data(), m_samples.values.size()));
    if (!m_samples.read) {
        std::fill(m_samples.values.begin(), m_samples.values.end(), NAN);
        return false;
    }
    // Each row is shown divided by its largest value when that is positive; values
    // that are no finite number take no part.
    for (int j = 0; j < m_samples.nt; ++j) {
        const float* row = m_samples.values.data() + size_t(j) * size_t(m_samples.ns);
        float largest = 0;
        for (int k = 0; k < m_samples.ns; ++k)
            if (std::isfinite(row[k])) largest = std::max(largest, row[k]);
        m_samples.rowScale[size_t(j)] = largest > 0 ? 1.0 / double(largest) : 1.0;
    }
    return true;
}

bool CSemblanceMapWnd::ReadFrameAt(int frame)
{
    m_item.frames.SetFrame(frame);
    return ReadFrame();
}

float CSemblanceMapWnd::MapAt(int k, int j) const
{
    if (m_samples.values.empty()) return NAN;
    return m_samples.values[size_t(std::clamp(j, 0, m_samples.nt - 1)) * size_t(m_samples.ns) + size_t(std::clamp(k, 0, m_samples.ns - 1))];
}

// ---- the windows ---------------------------------------------------------------------------

void CSemblanceMapWnd::FitTimeWindow(double start, double stop)
{
    // Raised to the time grid, inside the map's rows: from its first time to one step
    // past its last.
    Window& w = m_time;
    SnapWindow(w, start, stop, m_samples.dt, m_samples.ft, m_samples.nt);
    const bool fine = w.span <= 1000;
    const int64_t grid = fine ? 100 : 250;
    w.firstGrid = ClampToInt(double(int64_t(ClampToInt(w.stop)) / grid * grid - grid));
    w.tickStep = int(grid);
    w.labelStep = fine ? 100
                  : w.span < 5000  ? 500
                  : w.span < 10000 ? 1000
                  : w.span < 15000 ? 2000
                  : w.span < 20000 ? 3000
                                   : 4000;
}

void CSemblanceMapWnd::FitSlownessWindow(double start, double stop)
{
    Window& w = m_slowness;
    SnapWindow(w, start, stop, m_samples.ds, m_samples.fs, m_samples.ns);
    // Panning keeps the window's samples inside the map.
    const int count = w.last - w.first - 1;
    m_slownessScrollMin = m_samples.fs;
    m_slownessScrollMax = std::max(m_samples.fs + m_samples.ns - count - 1, m_samples.fs);
    const bool fine = w.span <= 100;
    const int64_t label = fine ? 25 : 50;
    w.firstGrid = ClampToInt(double((int64_t(ClampToInt(w.start)) / label + 1) * label));
    w.tickStep = fine ? 25 : 50;
    w.labelStep = fine ? 25 : w.span > 500 ? 100 : 50;
}

void CSemblanceMapWnd::ScrollSlowness(int64_t index)
{
    Window& w = m_slowness;
    const int count = w.last - w.first;
    const double span = w.span;
    w.first = int(std::clamp<int64_t>(index, m_slownessScrollMin, m_slownessScrollMax));
    w.last = w.first + count;
    w.start = w.first * double(m_samples.ds);
    w.stop = w.last * double(m_samples.ds);
    w.span = span;
    const bool fine = w.span <= 100;
    const int64_t label = fine ? 25 : 50;
    w.firstGrid = ClampToInt(double((int64_t(ClampToInt(w.start)) / label + 1) * label));
}

bool CSemblanceMapWnd::ApplyZoom(int request)
{
    if (request == 0) return true;
    const double span = m_slowness.span * (request > 0 ? 0.75 : 1.25);
    // The limits themselves are accepted (and NaN is refused).
    if ((request > 0 && !(span >= 100.0)) || (request < 0 && !(span <= double(m_samples.ns) * m_samples.ds))) {
        MessageBox("Reached Slowness domain zoom limit!\nOperation will be abandoned.", MB_OK);
        return false;
    }
    // Centred where it was.
    const double centre = m_slowness.start + m_slowness.span / 2;
    FitSlownessWindow(centre - span / 2, centre + span / 2 + m_samples.ds);
    return true;
}
