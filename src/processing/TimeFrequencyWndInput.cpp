#include "processing/TimeFrequencyWnd.h"

#include "common/ProgressDlg.h"
#include "platform/Format.h"
#include "platform/Host.h"
#include "platform/SafeNumeric.h"
#include "processing/ProfileSearchSetupDlg.h"
#include "settings/SettingsStore.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float kSlownessLimit = 1250.0f; // uSec/ft: no search goes slower

} // namespace

// ---- the time window -------------------------------------------------------------------------------

void CTimeFrequencyWnd::OnHScroll(int code, int pos)
{
    if (code == SB_THUMBTRACK) {
        Pane(2, AxisText(kDomainTime, double(pos) * m_step * 0.001, {}));
        return;
    }
    const std::optional<int64_t> delta = AxisScrollSteps(code, pos, m_time.first);
    if (!delta) return;
    const int64_t to = int64_t(m_time.first) + *delta;
    m_time = ScrollTimeRange(m_time, int(std::clamp<int64_t>(to, 0, m_time.scrollMax)), m_step);
    Pane(2, AxisText(kDomainTime, m_time.start * 0.001, {}));
    LeaveEditMode(true);
    Repaint(true);
}

// ---- read-outs ---------------------------------------------------------------------------------------

CTimeFrequencyWnd::Hit CTimeFrequencyWnd::HitTest(Point p) const
{
    Hit at;
    at.depth = DepthAt(p);
    int within = 0;
    at.column = TrackAt(p.x, within);
    if (at.column < 0 || m_timeWidth < 1 || m_frequencyWidth < 1) {
        at.column = -1;
        return at;
    }
    at.trace = m_page.tracks[size_t(at.column)];
    if (within < m_timeWidth) {
        at.inTime = true;
        at.time = ClampToFloat(m_time.start + double(within) / m_timeWidth * TimeSpan());
    } else if (within >= m_timeWidth + m_page.margin) {
        at.inFrequency = true;
        at.frequency =
            ClampToFloat(m_frequency.start + double(within - m_timeWidth - m_page.margin) / m_frequencyWidth * FrequencySpan());
    }
    return at;
}

void CTimeFrequencyWnd::ShowReadOut(const Hit& at)
{
    SetDepthReadOut(Format("%10.4f%s", at.depth, m_frames.DepthUnitLabel()));
    std::string time, frequency, amplitude;
    if (at.inTime) {
        time = Format("%5.2f  [uSec]", at.time);
        // The sample under the mouse and the instantaneous frequency there, from the
        // frame at its depth.
        const int frame = DepthToFrame(at.depth);
        if (frame != m_readOutFrameIndex) m_readOutFrameIndex = ReadFrame(frame, m_readOutFrame) ? frame : -1;
        if (m_readOutFrameIndex >= 0) {
            const int sample = std::clamp(ClampToInt(double(at.time) / m_step), 0, m_n - 1);
            amplitude = Format("%8.2f [mV]", m_readOutFrame[size_t(Slots()[at.trace]) * size_t(m_n) + size_t(sample)]);
            frequency = Format("%5.2f [kHz]", FrequencyAt(m_readOutFrame, at.trace, at.time) / 1000.0);
        }
    } else if (at.inFrequency) {
        frequency = Format("%5.2f %s", at.frequency / 1000.0, "[kHz]");
    }
    Pane(2, time);
    Pane(3, frequency);
    Pane(4, amplitude);
}

// ---- clicks --------------------------------------------------------------------------------------------

void CTimeFrequencyWnd::EnterEditMode()
{
    SetCursor(CursorKind::Cross);
    m_editMode = true;
    m_firstPointPending = true;
    m_profile.ClearEdits();
}

void CTimeFrequencyWnd::LeaveEditMode(bool merge)
{
    if (merge) m_profile.MergeEdits(Slots(), Traces());
    m_profile.ClearEdits();
    m_editMode = false;
    m_dragging = false;
    m_firstPointPending = true;
    SetCursor(CursorKind::Arrow);
}

void CTimeFrequencyWnd::BeforeVerticalMove() { LeaveEditMode(true); }

bool CTimeFrequencyWnd::HasEdits() const { return !m_profile.Edits().empty(); }

void CTimeFrequencyWnd::EditPointAt(Point p) { EditPoint(HitTest(p)); }

float CTimeFrequencyWnd::AxisValueAt(Point p) const { return HitTest(p).time; }

// ---- editing by hand ----------------------------------------------------------------------------------

void CTimeFrequencyWnd::EditPoint(const Hit& at)
{
    if (!at.inTime) return; // an edit point is a time on a trace
    const int frame = NearestFrame(at.depth);
    const int position = m_frames.ScrollPositionOf(frame);
    // An edit with no record (edit mode entered again by the right button) starts anew.
    if (m_firstPointPending || m_profile.Edits().empty()) {
        m_clickedTrace = at.trace;
        if (ReadFrame(frame, m_searchFrame)) {
            m_profile.StartEdit(frame, Slots()[at.trace], at.time, FrequencyAt(m_searchFrame, at.trace, at.time));
            m_editEnd = position;
            m_firstPointPending = false;
            m_dragging = true;
        }
        Repaint(false);
        return;
    }
    // An edit stays on its trace and runs down the log.
    if (at.trace != m_clickedTrace || position <= m_editEnd) {
        m_dragging = false;
        return;
    }
    if (!ReadFrame(frame, m_searchFrame)) return;
    m_profile.ExtendEdit(frame, Slots()[at.trace], at.time, FrequencyAt(m_searchFrame, at.trace, at.time), m_frames.IsDown());
    m_editEnd = position;
    m_dragging = true;
    Repaint(false);
}

// ---- searching ------------------------------------------------------------------------------------

bool CTimeFrequencyWnd::ConfirmSlowness()
{
    if (!theApp.m_display.profileOption) return true;
    CSlownessProfileSetupDlg dlg;
    dlg.m_minimum = m_setup.minSlowness;
    dlg.m_maximum = m_setup.maxSlowness;
    if (dlg.DoModal() != IDOK) return false;
    m_setup.minSlowness = dlg.m_minimum;
    m_setup.maxSlowness = std::min(dlg.m_maximum, kSlownessLimit);
    return true;
}

void CTimeFrequencyWnd::TrackFrame(const std::vector<float>& slots, int trace, float start)
{
    // What no crossing is found for stays invalid; frequencies are not computed yet.
    for (int t = 0; t < Traces(); ++t) {
        m_times[size_t(Slots()[t])] = kTfInvalid;
        m_frequencies[size_t(Slots()[t])] = kProfileAbsent;
    }
    const TimeSearch search{m_step, m_setup.minSlowness, m_setup.maxSlowness, theApp.m_display.singleReceiver != 0};
    const FrameSlots frame{slots.data(), size_t(m_n), m_n};
    TimeStep(search, frame, Slots(), Traces(), trace, m_receiverOffset.data(), start, m_times.data(), m_picks.data());
    if (search.singleReceiver) return;
    // A receiver whose neighbour towards the clicked one found nothing has no time to
    // follow: the slowness fallback from an invalid time would be a number of no meaning.
    auto unfound = [this](int t) { return m_times[size_t(Slots()[t])] == kTfInvalid; };
    for (int t = trace + 1; t < Traces(); ++t)
        if (unfound(t - 1)) m_times[size_t(Slots()[t])] = kTfInvalid;
    for (int t = trace - 1; t >= 0; --t)
        if (unfound(t + 1)) m_times[size_t(Slots()[t])] = kTfInvalid;
}

bool CTimeFrequencyWnd::RunSearch(Point p, bool invalidate)
{
    if (!m_page.plotRect.Contains(p)) return false;
    const Hit at = HitTest(p);
    // A search starts from a time on a trace; an invalidation needs only the trace.
    if (at.column < 0 || (!invalidate && !at.inTime)) return false;
    m_clickedTrace = at.trace;
    if (!RunAsked(invalidate)) return false;
    if (!invalidate && !ConfirmSlowness()) return false;
    LeaveEditMode(true);

    int first = 0, last = 0;
    RunPositions(at.depth, first, last);

    CProgressDlg progress;
    StartRunProgress(progress, last - first);
    for (int t = 0; t < Traces(); ++t) {
        m_times[size_t(Slots()[t])] = kTfInvalid;
        m_frequencies[size_t(Slots()[t])] = kTfInvalid;
    }
    const bool single = theApp.m_display.singleReceiver != 0;
    const size_t clicked = size_t(Slots()[m_clickedTrace]);
    std::vector<TfRecord> run;
    float time = at.time;
    // Depth order: down the frames of a down log, back through those of an up log.
    for (int position = first; position <= last; ++position) {
        if (StopAsked(progress, "Are you sure you want to stop tracking?")) break;
        const int frame = m_frames.FrameAtScrollPosition(position);
        if (!invalidate) {
            // A frame that cannot be read is searched in the previous frame's samples.
            if (ReadFrame(frame, m_scratchFrame) || m_searchFrame.size() != SlotFloats()) std::swap(m_searchFrame, m_scratchFrame);
            TrackFrame(m_searchFrame, m_clickedTrace, time);
            for (int t = 0; t < Traces(); ++t) {
                if (single && t != m_clickedTrace) continue;
                const size_t s = size_t(Slots()[t]);
                // No time found: no frequency either.
                m_frequencies[s] = m_times[s] == kTfInvalid ? kTfInvalid : FrequencyAt(m_searchFrame, t, m_times[s]);
            }
            time = m_times[clicked];
        }
        TfRecord r;
        r.frame = frame;
        r.times = m_times;
        r.frequencies = m_frequencies;
        run.push_back(r);
        progress.StepIt();
    }
    EndSelection();
    m_profile.MergeRun(run, Slots(), Traces(), single, int(clicked));
    SetCursor(CursorKind::Arrow);
    progress.DestroyWindow();
    Repaint(false);
    return true;
}
