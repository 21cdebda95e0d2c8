#include "processing/ProfileWnd.h"

#include "common/ProgressDlg.h"
#include "common/Fft.h"
#include "platform/Format.h"
#include "settings/SettingsStore.h"
#include "platform/Host.h"
#include "platform/SafeNumeric.h"
#include "processing/ProfileSearchSetupDlg.h"
#include "processing/TimeFrequency.h"

#include <algorithm>
#include <cmath>

namespace {


// Inserts `record` where its frame belongs in a list kept in frame order.
void InsertByFrame(std::vector<CProfileRecord>& list, const CProfileRecord& record)
{
    const auto at = std::lower_bound(list.begin(), list.end(), record.m_frame,
                                     [](const CProfileRecord& r, int frame) { return r.m_frame < frame; });
    if (at != list.end() && at->m_frame == record.m_frame) *at = record;
    else list.insert(at, record);
}

} // namespace

// ---- the domain axis ----------------------------------------------------------------------------

void CProfileWnd::OnHScroll(int code, int pos)
{
    const int domain = m_setup.domain;
    // Time and frequency read out in thousands of the axis unit.
    const double scale = domain == kDomainTime || domain == kDomainFrequency ? 0.001 : 1.0;
    if (code == SB_THUMBTRACK) {
        // The value under the thumb, without moving.
        ShowAxisThumb(domain, double(pos) * (domain == kDomainFrequency ? m_axis.binStep : m_step) * scale, SlownessUnitLabel(m_setup.slownessUnit));
        return;
    }
    const std::optional<int64_t> delta = AxisScrollSteps(code, pos, m_axis.first);
    if (!delta) return;
    LeaveEditMode(true);
    ScrollWindow(int64_t(m_axis.first) + *delta);
    Pane(AxisPane(domain), AxisText(domain, m_axis.start * scale, SlownessUnitLabel(m_setup.slownessUnit)));
    Repaint(true);
}

// ---- read-outs ---------------------------------------------------------------------------------------

CProfileWnd::ReadOut CProfileWnd::ReadOutAt(Point p) const
{
    ReadOut at;
    at.depth = DepthAt(p);
    int within = 0;
    at.track = TrackAt(p.x, within);
    if (at.track < 0) return at;
    at.trace = m_page.tracks[size_t(at.track)];
    at.value = ClampToFloat(m_axis.start + double(within) / m_page.trackWidth * PixelSpan());
    return at;
}

void CProfileWnd::ShowReadOut(const ReadOut& at)
{
    SetDepthReadOut(Format("%10.4f%s", at.depth, m_frames.DepthUnitLabel()));
    std::string domainText, valueText;
    const bool over = at.trace >= 0;
    // The sample under the mouse, from the frame at its depth.
    if (over && (m_setup.domain == kDomainTime || m_setup.domain == kDomainSlowness)) {
        const int frame = FrameOfDepth(at.depth);
        if (frame != m_readOutFrameIndex) {
            m_readOutFrameIndex = ReadFrame(frame, m_readOutFrame) ? frame : -1;
        }
        if (m_readOutFrameIndex >= 0) {
            const int sample = std::clamp(ClampToInt(double(at.value) / m_step), 0, m_n - 1);
            const float* slot = m_readOutFrame.data() + size_t(m_receiverIndex[size_t(at.trace)]) * size_t(m_n);
            valueText = m_setup.domain == kDomainTime ? Format("%8.2f [mV]", slot[sample]) : Format("%5.2f", slot[sample]);
            if (m_setup.domain == kDomainTime && m_setup.instFrequencyOption)
                m_instFrequencyText =
                    Format("%5.2f %s", InstantaneousFrequency(slot, m_n, m_step, at.value) * 0.001, "[kHz]");
        }
    }
    switch (m_setup.domain) {
    case kDomainTime:
        m_timeText = over ? Format("%5.2f %s", at.value * 0.001, "[mSec]") : std::string();
        m_valueText = valueText;
        Pane(2, m_timeText);
        Pane(3, m_setup.instFrequencyOption ? (over ? m_instFrequencyText : std::string()) : m_slownessText);
        Pane(4, m_valueText);
        break;
    case kDomainFrequency:
        m_frequencyText = over ? Format("%5.2f %s", at.value * 0.001, "[kHz]") : std::string();
        Pane(2, m_frequencyText);
        Pane(3, m_slownessText);
        Pane(4, m_azimuthText);
        break;
    case kDomainSlowness:
        m_slownessText = over ? Format("%7.2f %s", at.value, SlownessUnitLabel(m_setup.slownessUnit)) : std::string();
        m_valueText = valueText;
        Pane(3, m_slownessText);
        Pane(2, m_timeText);
        Pane(4, m_valueText);
        break;
    default:
        m_azimuthText = over ? Format("%5.1f %s", at.value, "[deg]") : std::string();
        Pane(4, m_azimuthText);
        Pane(2, m_timeText);
        Pane(3, m_slownessText);
        break;
    }
}

// ---- clicks --------------------------------------------------------------------------------------------

void CProfileWnd::EnterEditMode()
{
    SetCursor(CursorKind::Cross);
    m_editMode = true;
    m_strokeStart = true;
    m_editList.clear();
}

void CProfileWnd::LeaveEditMode(bool apply)
{
    if (!m_editMode) return;
    if (apply) ApplyEditList();
    m_editMode = false;
    m_strokePending = false;
    if (!m_editList.empty()) {
        m_strokeStart = true;
        m_curveShown = true;
        m_editList.clear();
    }
    SetCursor(CursorKind::Arrow);
}

void CProfileWnd::BeforeVerticalMove() { LeaveEditMode(true); }

bool CProfileWnd::HasEdits() const { return !m_editList.empty(); }

void CProfileWnd::EditPointAt(Point p) { StrokePoint(ReadOutAt(p)); }

float CProfileWnd::AxisValueAt(Point p) const { return ReadOutAt(p).value; }

// ---- manual editing ----------------------------------------------------------------------------------

void CProfileWnd::StrokePoint(const ReadOut& at)
{
    if (at.trace < 0) return; // between two tracks
    const int frame = FrameOfDepth(at.depth);
    const int position = m_frames.ScrollPositionOf(frame);
    const size_t slot = size_t(m_receiverIndex[size_t(at.trace)]);
    auto& current = CurrentValues();
    if (m_strokeStart || m_editList.empty()) {
        m_editTrace = at.trace;
        m_strokeEnd = position;
        m_editList.clear();
        current.fill(kAbsent);
        current[slot] = at.value;
        m_editList.emplace_back(frame, current.data());
        m_strokePending = true;
        m_strokeStart = false;
        Repaint(false);
        return;
    }
    // A stroke stays on its trace and runs down the log.
    if (at.trace != m_editTrace || position < m_strokeEnd) {
        m_strokePending = false;
        return;
    }
    const int endFrame = m_frames.FrameAtScrollPosition(m_strokeEnd);
    const auto end = std::find_if(m_editList.begin(), m_editList.end(),
                                  [endFrame](const CProfileRecord& r) { return r.m_frame == endFrame; });
    float p0 = end != m_editList.end() ? end->m_values[slot] : kAbsent;
    const int steps = position - m_strokeEnd;
    double slope = 0;
    if (p0 == kAbsent || steps == 0) p0 = at.value;
    else slope = (double(at.value) - p0) / steps;
    // Every frame from the stroke's end to the point gets its share of the line.
    std::array<float, kSlots> values;
    values.fill(kAbsent);
    for (int j = 1; j <= steps; ++j) {
        values[slot] = ClampToFloat(p0 + slope * j);
        InsertByFrame(m_editList, CProfileRecord(m_frames.FrameAtScrollPosition(m_strokeEnd + j), values.data()));
    }
    m_strokeEnd = position;
    m_strokePending = true;
    Repaint(false);
}

void CProfileWnd::ApplyEditList()
{
    const int traces = std::clamp(m_receivers, 0, kSlots);
    for (const CProfileRecord& edit : m_editList) {
        CProfileRecord* target = ProfileRecord(edit.m_frame);
        if (!target) continue;
        for (int t = 0; t < traces; ++t) {
            const size_t slot = size_t(m_receiverIndex[size_t(t)]);
            if (edit.m_values[slot] != kAbsent) target->m_values[slot] = edit.m_values[slot];
        }
    }
}

void CProfileWnd::MergeSearch()
{
    // By frame index: a search stopped early, on a log of either direction, writes the
    // frames it searched and no others.
    const int traces = std::clamp(m_receivers, 0, kSlots);
    const bool single = theApp.m_display.singleReceiver != 0;
    for (const CProfileRecord& found : m_editList) {
        CProfileRecord* target = ProfileRecord(found.m_frame);
        if (!target) continue;
        for (int t = 0; t < traces; ++t) {
            if (single && t != m_editTrace) continue;
            const size_t slot = size_t(m_receiverIndex[size_t(t)]);
            target->m_values[slot] = found.m_values[slot];
        }
    }
}

// ---- searching ------------------------------------------------------------------------------------

bool CProfileWnd::ConfirmSearchRange(bool invalidate)
{
    if (invalidate || !theApp.m_display.profileOption) return true;
    switch (m_setup.domain) {
    case kDomainFrequency: {
        CFrequencyProfileSetupDlg dlg;
        dlg.m_minimum = m_setup.minFrequency;
        dlg.m_maximum = m_setup.maxFrequency;
        if (dlg.DoModal() != IDOK) return false;
        m_setup.minFrequency = dlg.m_minimum;
        m_setup.maxFrequency = dlg.m_maximum;
        return true;
    }
    case kDomainAzimuth: {
        CAzimuthProfileSetupDlg dlg;
        dlg.m_minimum = m_setup.minAzimuth;
        dlg.m_maximum = m_setup.maxAzimuth;
        dlg.m_trackMaximum = m_setup.trackMaximum;
        dlg.m_trackMinimum = m_setup.trackMinimum;
        if (dlg.DoModal() != IDOK) return false;
        m_setup.minAzimuth = dlg.m_minimum;
        m_setup.maxAzimuth = dlg.m_maximum;
        m_setup.trackMaximum = dlg.m_trackMaximum != 0;
        m_setup.trackMinimum = dlg.m_trackMinimum != 0;
        return true;
    }
    default: {
        CSlownessProfileSetupDlg dlg;
        dlg.m_minimum = m_setup.minSlowness;
        dlg.m_maximum = m_setup.maxSlowness;
        dlg.m_unitText = m_setup.domain == kDomainSlowness ? SlownessUnitLabel(m_setup.slownessUnit) : std::string();
        if (dlg.DoModal() != IDOK) return false;
        m_setup.minSlowness = dlg.m_minimum;
        m_setup.maxSlowness = std::min(dlg.m_maximum, m_slownessLimit);
        return true;
    }
    }
}

void CProfileWnd::SearchFrame(int frame, float previous, bool firstFrame)
{
    auto& current = CurrentValues();
    if (!ReadFrame(frame, m_searchFrame)) {
        current.fill(kAbsent); // nothing to find in a frame that cannot be read
        return;
    }
    const FrameSlots slots{m_searchFrame.data(), size_t(m_n), m_n};
    const int traces = std::clamp(m_receivers, 0, kSlots);
    const int* order = m_receiverIndex.data();
    switch (m_setup.domain) {
    case kDomainTime: {
        const TimeSearch search{m_step, m_setup.minSlowness, m_setup.maxSlowness, theApp.m_display.singleReceiver != 0};
        TimeStep(search, slots, order, traces, m_editTrace, m_receiverOffset.data(), previous, current.data(),
                 m_picks.data());
        break;
    }
    case kDomainFrequency:
        for (int t = 0; t < traces; ++t) {
            AmplitudeSpectrum(slots.Slot(order[t]), m_n, m_row.data());
            current[size_t(order[t])] = FrequencyPeak(m_row.data(), m_n / 2 + 1, m_axis.binStep, m_setup.minFrequency, m_setup.maxFrequency);
        }
        break;
    case kDomainSlowness: {
        // A slowness curve is one trace: the first.
        const SlownessSearch search{m_step, m_setup.minSlowness, m_setup.maxSlowness, m_slownessLimit};
        current[size_t(order[0])] = SlownessStep(search, slots.Slot(order[0]), m_n, previous, firstFrame);
        break;
    }
    default: {
        const AzimuthSearch search{m_step, m_setup.minAzimuth, m_setup.maxAzimuth, m_setup.trackMaximum, m_setup.trackMinimum};
        for (int t = 0; t < traces; ++t)
            current[size_t(order[t])] = AzimuthStep(search, slots.Slot(order[t]), m_n, previous);
        break;
    }
    }
}

bool CProfileWnd::RunSearch(Point p, bool invalidate)
{
    if (!m_page.plotRect.Contains(p)) return false;
    const ReadOut at = ReadOutAt(p);
    if (at.trace < 0) return false; // between two tracks: no trace to follow
    m_editTrace = at.trace;
    if (!RunAsked(invalidate)) return false;
    if (!ConfirmSearchRange(invalidate)) return false;
    if (m_editMode) {
        LeaveEditMode(true);
        m_strokeStart = true;
    }

    // From the point (or the selection's start) down to the selection's or the
    // profile's end, inside the range: the last frame searched is the range's last.
    int first = 0, last = 0;
    RunPositions(at.depth, first, last);

    CProgressDlg progress;
    StartRunProgress(progress, last - first);
    m_editList.clear();
    if (invalidate)
        for (auto& values : m_current) values.fill(kAbsent);
    const bool slowness = m_setup.domain == kDomainSlowness;
    const size_t followed = size_t(m_receiverIndex[size_t(slowness ? 0 : m_editTrace)]);
    float previous = at.value;
    bool firstFrame = true;
    for (int position = first; position <= last; ++position) {
        if (StopAsked(progress, "Are you sure you want to stop tracking?")) break;
        const int frame = m_frames.FrameAtScrollPosition(position);
        if (!invalidate) SearchFrame(frame, previous, firstFrame);
        m_editList.emplace_back(frame, CurrentValues().data());
        // The next frame starts from what this one found (a miss keeps the old start).
        const float found = CurrentValues()[followed];
        if (found != kAbsent && m_setup.domain != kDomainFrequency) previous = found;
        firstFrame = false;
        progress.StepIt();
    }
    if (!m_frames.IsDown()) std::reverse(m_editList.begin(), m_editList.end()); // frame order
    EndSelection();
    MergeSearch();
    // Merged: nothing of the search is left to apply a second time.
    m_editList.clear();
    m_curveShown = true;
    SetCursor(CursorKind::Arrow);
    progress.DestroyWindow();
    Repaint(false);
    return true;
}
