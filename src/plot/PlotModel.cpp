#include "plot/PlotModel.h"

#include "common/FrequencyWindow.h"
#include "dataset/FastDatum.h"
#include "platform/Format.h"
#include "platform/Host.h"
#include "platform/SafeNumeric.h"
#include "plot/PlotExchange.h"
#include "plot/PlotPalette.h"
#include "viewers/ViewerWnd.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <string_view>

namespace {

int PowerOfTwoAtLeast(int n)
{
    int p = 1;
    while (p < n && p < CPlotModel::kMaxSamples * 2) p *= 2;
    return p;
}

// Mnemonics are stored blank-padded to four characters; an item may hold either form.
std::string_view Trimmed(std::string_view s)
{
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

int IndexOf(float value, float step, int limit)
{
    return std::clamp(ClampToInt(double(value) / step), 0, std::max(limit, 0));
}

// (trunc(start) / base + 1) x base: the first labelled mark after the start.
int FirstMark(float start, int base) { return int((int64_t(ClampToInt(start)) / base + 1) * base); }

} // namespace

bool CPlotModel::Refuse(const CLogPlotItem& item, const std::string& reason)
{
    MessageBox(Format("Plot item %s cannot be plotted: %s.\nOperation will be abandoned.", item.m_strName.c_str(),
                      reason.c_str()),
               MB_OK | MB_ICONSTOP);
    return false;
}

int CPlotModel::BuildPlot(const PlotItemList& items)
{
    CloseFiles();
    m_views.clear();
    m_groups.clear();
    if (items.size() > size_t(kMaxItems)) {
        MessageBox(Format("Requested number of plot items exceeded allowable quota (%d)!\nOperation will be abandoned.",
                          kMaxItems),
                   MB_OK | MB_ICONSTOP);
        return 0;
    }
    m_bImageTrack.fill(false);
    m_dTopDepth = 50000.0;
    m_dBottomDepth = 0.0;
    m_dDepthStep = 50000.0;

    for (const auto& item : items) {
        PlotItemView v;
        v.item = item;
        if (item && !DescribeItem(v)) return -1;
        m_views.push_back(std::move(v));
    }
    if (!OpenGroups()) return -1;
    PlanSpans();
    ReportMissingDatums();
    FindShadePartners();
    CountTrackItems();
    AllocateValueSlots();
    return 1;
}

bool CPlotModel::DescribeItem(PlotItemView& v)
{
    const CLogPlotItem& it = *v.item;
    v.inUse = it.m_bEnabled != 0;
    v.domain = it.m_datum.domain;
    v.track = it.m_scale.track;
    v.curve = it.m_datum.domain == kPlotCurve;
    v.frequencyImage = it.m_scale.frequencyImage != 0;
    v.slownessImage = it.m_scale.slownessImage != 0;
    v.left = it.m_scale.leftLimit;
    v.right = it.m_scale.rightLimit;
    v.plotStart = it.m_scale.startDepth + it.m_scale.depthShift;
    v.plotStop = it.m_scale.stopDepth + it.m_scale.depthShift;
    if (!v.inUse) return true;
    if (!CheckItem(v)) return false;
    if (!v.curve) {
        if (m_bImageTrack[size_t(v.track)]) {
            constexpr const char* kOverlap =
                "Overlapped waveforms have been found (track %d).\nThis mode is not supported yet.";
            MessageBox(Format(kOverlap, v.track), MB_OK | MB_ICONSTOP);
            return false;
        }
        m_bImageTrack[size_t(v.track)] = true;
    }
    m_dTopDepth = std::min(m_dTopDepth, v.plotStart);
    m_dBottomDepth = std::max(m_dBottomDepth, v.plotStop);
    if (v.curve) {
        CurveColour(it.m_style.color.Value(), v.lineColour);
        CurveColour(it.m_shade.color.Value(), v.shadeColour);
        v.penWidth = CurvePenWidth(it.m_style.lineWidth.Value());
        v.lineStyle = CurveLineStyle(it.m_style.lineStyle.Value());
        v.shadePattern = ShadePatternCode(it.m_shade.pattern.Value());
        v.shaded = it.m_shade.off == 0;
    }
    return true;
}

bool CPlotModel::CheckItem(PlotItemView& v)
{
    // Values a command file may hold but no plot can draw are refused here, so that no
    // loop, index or division later meets them.
    const CLogPlotItem& it = *v.item;
    if (v.track < 1 || v.track > kTracks)
        return Refuse(it, Format("its track %d is not one of 1 to %d", v.track, kTracks));
    const bool known = v.curve || (v.domain >= kPlotTime && v.domain <= kPlotAzimuth);
    if (!known) return Refuse(it, Format("its domain code %d is unknown", v.domain));
    // The depths the Log Item Setup dialog accepts keep every log's rows countable.
    namespace px = plot_exchange;
    const auto outside = [](double d, double lo, double hi) { return !(d >= lo && d <= hi); };
    if (outside(it.m_scale.startDepth, px::kMinDepth, px::kMaxDepth) || outside(it.m_scale.stopDepth, px::kMinDepth, px::kMaxDepth)
        || outside(it.m_scale.depthShift, -px::kMaxShift, px::kMaxShift))
        return Refuse(it, Format("its depths are not within %.1f to %.1f with a shift of at most %.1f", px::kMinDepth,
                                 px::kMaxDepth, px::kMaxShift));
    if (!v.curve && (!(it.m_datum.sampleInterval > 0) || !std::isfinite(it.m_datum.sampleInterval)))
        return Refuse(it, "its sample interval is not a positive number");
    v.samples = v.curve ? 1 : it.m_datum.sampleCount;
    const bool image = v.frequencyImage || v.slownessImage;
    const bool padToPower = (v.domain == kPlotTime || v.domain == kPlotFrequency) && !image;
    v.padded = padToPower ? PowerOfTwoAtLeast(v.samples) : v.samples;
    v.zeroFill = v.padded != v.samples;
    if (v.samples < 1 || v.padded > kMaxSamples)
        return Refuse(it, Format("%d samples do not fit a plot item (at most %d)", v.samples, kMaxSamples));
    if (!DeriveWindow(v)) return Refuse(it, "its limits are not numbers");
    return true;
}

void CPlotModel::FindShadePartners()
{
    // Shading against a curve: the partner is counted among the list's curve items.
    for (PlotItemView& v : m_views) {
        if (!v.inUse || !v.curve || !v.shaded || !v.item->m_shade.curveLimit || v.item->m_shade.curve < 0) continue;
        int curves = 0;
        for (size_t j = 0; j < m_views.size(); ++j)
            if (m_views[j].item && m_views[j].item->m_datum.domain == kPlotCurve && curves++ == v.item->m_shade.curve) {
                v.partner = int(j);
                break;
            }
    }
}

void CPlotModel::CountTrackItems()
{
    m_nTracks = 1;
    for (const PlotItemView& v : m_views)
        if (v.inUse) m_nTracks = std::max(m_nTracks, v.track);
    m_nItemsInTrack.fill(0);
    m_nMaxItemsPerTrack = 0;
    m_bHasWaveHeader = false;
    for (const PlotItemView& v : m_views) {
        if (!v.inUse) continue;
        m_nMaxItemsPerTrack = std::max(m_nMaxItemsPerTrack, ++m_nItemsInTrack[size_t(v.track)]);
        if (v.frequencyImage || v.slownessImage) m_bHasWaveHeader = true;
    }
}

void CPlotModel::AllocateValueSlots()
{
    // The value slots: next and previous values of every item, nothing per frame.
    m_slot.assign(m_views.size(), 0);
    size_t total = 0;
    for (size_t i = 0; i < m_views.size(); ++i) {
        m_slot[i] = total;
        total += 2 * size_t(m_views[i].padded);
    }
    m_values.assign(total, 0.0f);
    m_inRange.assign(m_views.size(), 0);
}

bool CPlotModel::DeriveWindow(PlotItemView& v)
{
    if (!std::isfinite(v.left) || !std::isfinite(v.right)) return false;
    if (v.curve) return true;
    if (v.left > v.right) std::swap(v.left, v.right);
    const float interval = v.item->m_datum.sampleInterval;
    const int samples = v.samples;
    v.step = interval;
    v.fullLength = ClampToFloat(double(interval) * (samples - 1));
    switch (v.domain) {
    case kPlotFrequency: {
        v.fftSize = v.padded;
        const FrequencyWindow w = SnapFrequencyWindow(v.left, v.right, v.fftSize, interval);
        v.step = ClampToFloat(w.binStep); // the frequency step
        v.nyquist = ClampToFloat(1000000.0 / (2.0 * interval));
        v.start = ClampToFloat(w.start);
        v.end = ClampToFloat(w.stop);
        v.span = v.end - v.start - v.step;
        v.first = IndexOf(v.start, v.step, v.padded / 2);
        v.last = IndexOf(v.end, v.step, v.padded / 2);
        v.firstMark = FirstMark(v.start, 500);
        break;
    }
    case kPlotSlowness:
        if (v.fullLength < v.right) v.right = v.fullLength + v.step;
        [[fallthrough]];
    case kPlotTime:
    case kPlotAzimuth:
        v.start = ClampToFloat(RaiseToMultiple(v.left, v.step));
        v.end = std::min(ClampToFloat(RaiseToMultiple(v.right, v.step)), v.fullLength);
        v.span = v.end - v.start - (v.domain == kPlotSlowness ? 0.0f : v.step);
        v.first = IndexOf(v.start, v.step, samples - 1);
        v.last = IndexOf(v.end, v.step, samples - 1);
        v.firstMark = FirstMark(v.start, v.domain == kPlotTime ? 500 : 50);
        if (v.domain == kPlotAzimuth) v.limitSpan = v.right - v.left, v.limitLeft = v.left;
        break;
    default: break;
    }
    v.last = std::max(v.last, v.first);
    return true;
}

bool CPlotModel::OpenGroups()
{
    for (PlotItemView& v : m_views) {
        if (!v.inUse) continue;
        const std::string& path = v.item->m_file.path;
        auto at = std::find_if(m_groups.begin(), m_groups.end(), [&](const auto& g) { return g->m_path == path; });
        if (at == m_groups.end()) {
            auto group = std::make_unique<CPlotFileGroup>(path);
            // A frame that cannot be read is reported once; the readable ones still show.
            if (!CViewerWnd::OpenDataSet(group->m_file, path)
                || !OkOrShow(group->m_file.ReadDatumList(group->m_datums)))
                return false;
            m_groups.push_back(std::move(group));
            at = m_groups.end() - 1;
        }
        v.group = int(at - m_groups.begin());
        const CQtxFile& file = (*at)->m_file;
        v.frames = CFrameCursor(file.Header());
        // The magnitude serves both directions; a log without a step has no frames to
        // walk through and would divide every row by zero.
        v.depthStep = v.frames.Step();
        if (!(v.depthStep > 0) || !std::isfinite(v.depthStep))
            return Refuse(*v.item, Format("the depth step of its data set (%g) is not a positive number",
                                          file.Header().depthStep));
        m_dDepthStep = std::min(m_dDepthStep, v.depthStep);
        if (!FindDatum(v)) return false;
    }
    return true;
}

bool CPlotModel::FindDatum(PlotItemView& v)
{
    const CLogPlotItem& it = *v.item;
    for (const auto& d : m_groups[size_t(v.group)]->m_datums) {
        if (d->m_typeCode != it.m_datum.itemType) continue;
        if (d->m_category == kCategoryTrace && Trimmed(d->m_mnemonic) != Trimmed(it.m_datum.currentName)) continue;
        // The item's receiver, whole, inside the datum: nothing read may reach past it.
        const int receiver = v.curve ? 0 : it.m_datum.current;
        const uint64_t bytes = uint64_t(v.samples) * sizeof(float);
        const uint64_t traceBytes = d->m_size / std::max<uint64_t>(d->m_traceCount, 1);
        if (receiver < 0 || receiver >= std::max<int>(d->m_traceCount, 1) || bytes > traceBytes)
            return Refuse(it, Format("receiver %d of %d samples is not in datum %s", receiver + 1, v.samples,
                                     d->m_mnemonic.c_str()));
        v.datumFound = true;
        v.offset = int64_t(d->m_offset) + int64_t(uint64_t(receiver) * traceBytes);
        // A curve of several values a frame shows the one at the frame's depth.
        if (v.curve) v.offset += int64_t(sizeof(float)) * qtx::ValueAtFrameDepth(*d);
        return true;
    }
    // A datum no longer in its data set reads nothing and draws nothing (see
    // ReportMissingDatums); the rest of the log still shows.
    v.datumFound = false;
    return true;
}

void CPlotModel::ReportMissingDatums() const
{
    // One message for all of them: a log whose data set was rewritten may miss several.
    std::string lines;
    for (const PlotItemView& v : m_views) {
        if (!v.inUse || v.datumFound) continue;
        const CLogPlotItem& it = *v.item;
        lines += Format("Plot item %s: datum %s (item type %d) is missing from data set :\n%s\n", it.m_strName.c_str(),
                        it.m_datum.currentName.c_str(), int(it.m_datum.itemType), it.m_file.path.c_str());
    }
    if (lines.empty()) return;
    MessageBox(lines + "Nothing is drawn for such an item.", MB_OK | MB_ICONEXCLAMATION);
}

void CPlotModel::PlanSpans()
{
    // Items of one data set usually sit in one stretch of the frame: one read of the
    // stretch serves them all, unless it would read much more than they need.
    constexpr int64_t kSmallSpan = 256 * 1024;
    for (size_t g = 0; g < m_groups.size(); ++g) {
        CPlotFileGroup& group = *m_groups[g];
        int64_t start = std::numeric_limits<int64_t>::max(), end = 0, needed = 0;
        for (const PlotItemView& v : m_views) {
            if (!v.inUse || !v.datumFound || v.group != int(g)) continue;
            const int64_t bytes = int64_t(v.samples) * int64_t(sizeof(float));
            start = std::min(start, v.offset);
            end = std::max(end, v.offset + bytes);
            needed += bytes;
        }
        group.m_spanFrame = -1;
        group.m_readSpan = needed > 0 && (end - start <= kSmallSpan || end - start <= 2 * needed);
        if (!group.m_readSpan) continue;
        group.m_spanStart = start;
        group.m_spanBytes = end - start;
        group.m_span.assign(size_t((end - start + 3) / 4), 0.0f);
    }
}

bool CPlotModel::ReadItem(size_t i, int frame)
{
    PlotItemView& v = m_views[i];
    CPlotFileGroup& group = *m_groups[size_t(v.group)];
    float* next = Next(i);
    if (!group.m_readSpan)
        return OkOrShow(group.m_file.ReadFrameItem(frame, v.offset, 1, v.samples, next, size_t(v.padded)));
    if (group.m_spanFrame != frame) {
        group.m_spanFrame = -1;
        if (!OkOrShow(group.m_file.ReadFrameItem(frame, group.m_spanStart, 1, int(group.m_spanBytes / 4),
                                                 group.m_span.data(), group.m_span.size())))
            return false;
        group.m_spanFrame = frame;
    }
    std::memcpy(next, reinterpret_cast<const char*>(group.m_span.data()) + (v.offset - group.m_spanStart),
                size_t(v.samples) * sizeof(float));
    return true;
}

int CPlotModel::ReadFrames(double depth)
{
    for (size_t i = 0; i < m_views.size(); ++i) {
        PlotItemView& v = m_views[i];
        const bool wasInRange = m_inRange[i] != 0;
        m_inRange[i] = 0;
        // A missing datum has no values: it is left out, never drawn from zeros.
        if (!v.inUse || depth < v.plotStart || depth > v.plotStop || !v.datumFound) {
            // Out of range an item holds zeros, not the values of whatever frame was
            // read last, so that the rows where it comes into range draw the same
            // from whichever depth the walk began.
            if (wasInRange) std::fill(Next(i), Next(i) + v.padded, 0.0f);
            continue;
        }
        m_inRange[i] = 1;
        if (!ReadItem(i, v.frames.FrameAtDepth(depth, v.item->m_scale.depthShift))) return -1;
        if (v.zeroFill) std::fill(Next(i) + v.samples, Next(i) + v.padded, 0.0f);
    }
    for (size_t i = 0; i < m_views.size(); ++i) {
        PlotItemView& v = m_views[i];
        if (!m_inRange[i] || v.partner < 0) continue;
        const size_t p = size_t(v.partner);
        v.partnerValid = m_inRange[p] && m_views[p].inUse && m_views[p].track == v.track;
        v.partnerValue = v.partnerValid ? Next(p)[0] : kPlotAbsent;
    }
    return 1;
}

void CPlotModel::ShiftFrames()
{
    for (size_t i = 0; i < m_views.size(); ++i)
        std::memcpy(Prev(i), Next(i), size_t(m_views[i].padded) * sizeof(float));
}

void CPlotModel::CloseFiles()
{
    for (auto& g : m_groups) g->m_file.CloseInput();
}

std::vector<std::string> CPlotModel::DataSetsInOtherUnits(bool logInMetres) const
{
    std::vector<std::string> paths;
    for (const auto& g : m_groups)
        if ((g->m_file.Header().depthUnits == qtx::kUnitsMetres) != logInMetres) paths.push_back(g->m_path);
    return paths;
}
