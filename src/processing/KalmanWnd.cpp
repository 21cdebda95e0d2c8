#include "processing/KalmanWnd.h"

#include "common/OutputGuard.h"
#include "common/PathLabel.h"
#include "common/ProgressDlg.h"
#include "dataset/QtxFrameWriter.h"
#include "platform/Format.h"
#include "platform/Host.h"
#include "platform/SafeNumeric.h"

#include <algorithm>
#include <cstring>

CKalmanWnd::CKalmanWnd()
{
    m_setup.domain = kDomainTime;
    m_setup.instFrequencyOption = false; // pane 3 stays empty
}

void CKalmanWnd::CorrectFrame(int frame, std::vector<float>& slots)
{
    if (slots.size() >= SlotFloats()) m_intervals.Apply(frame, slots.data(), size_t(m_n), m_receiverIndex.data());
}

void CKalmanWnd::OnLButtonDown(unsigned flags, Point p)
{
    if (!m_page.plotRect.Contains(p)) return;
    SetCursor(CursorKind::Arrow);
    OnMouseMove(flags, p); // the read-out of the point
    if (flags == kControlClick) SelectionStep(DepthAt(p), ReadOutAt(p).value);
}

void CKalmanWnd::OnRButtonDown(unsigned, Point) {}

void CKalmanWnd::OnLButtonDblClk(unsigned flags, Point p)
{
    if (flags == kShiftClick) Undo(p);
    else Process(p);
}

bool CKalmanWnd::Undo(Point p)
{
    if (!m_page.plotRect.Contains(p)) return false;
    OnMouseMove(0, p);
    if (MessageBox("Do you want to undo recently processed depth interval?", MB_YESNO | MB_ICONQUESTION) != IDYES)
        return false;
    if (!m_intervals.Undo(m_frames.IsDown())) return false;
    InvalidateImage();
    Repaint(false);
    return true;
}

bool CKalmanWnd::Process(Point p)
{
    if (!m_page.plotRect.Contains(p)) return false;
    OnMouseMove(0, p);
    const ReadOut at = ReadOutAt(p);
    if (MessageBox("Do you want to execute Kalman filter procedure?", MB_YESNO | MB_ICONQUESTION) != IDYES)
        return false;
    // Frames of the range only: its last frame is the last one averaged.
    int first = 0, last = 0;
    RunPositions(at.depth, first, last);
    const int frameA = m_frames.FrameAtScrollPosition(first), frameB = m_frames.FrameAtScrollPosition(last);
    m_intervalFirst = std::min(frameA, frameB);
    m_intervalLast = std::max(frameA, frameB);

    CProgressDlg progress;
    StartRunProgress(progress, last - first);
    const int traces = std::clamp(m_receivers, 0, kSlots);
    KalmanAverager averager(traces, m_n);
    std::vector<float> slots;
    for (int position = first; position <= last; ++position) {
        if (StopAsked(progress, "Are you sure you want to stop filtering?")) break;
        // As stored: an earlier record's correction is no part of the mean. A frame that
        // cannot be read adds nothing.
        if (ReadFrame(m_frames.FrameAtScrollPosition(position), slots))
            averager.Add(slots.data(), size_t(m_n), m_receiverIndex.data());
        progress.StepIt();
    }
    m_intervals.Insert(averager.Finish(m_intervalFirst, m_intervalLast), m_frames.IsDown());
    EndSelection();
    SetCursor(CursorKind::Arrow);
    progress.DestroyWindow();
    InvalidateImage();
    Repaint(false);
    return true;
}

int CKalmanWnd::SaveProfile()
{
    // Frames are written in the log's direction: one that is neither has no order.
    const uint8_t direction = m_file.Header().logDirection;
    if (direction != qtx::kLogDown && direction != qtx::kLogUp) {
        MessageBox(Format("Data set %s has the log direction %d, neither down (255) nor up (1): no output is "
                          "written.\nOperation will be abandoned.",
                          m_common.path.c_str(), int(direction)),
                   MB_OK | MB_ICONSTOP);
        return 0;
    }
    if (!OkOrShow(OutputSparesInputs(m_common.outputPath, {m_common.path}))) return 0;
    if (!m_savedOnce && !MayReplaceExisting(m_common.outputPath)) return 0;
    // The output's only datum is the one processed, described as the input has it.
    CQtxDatumList datums;
    if (!OkOrShow(m_file.ReadDatumList(datums))) return 0;
    const auto datum = std::find_if(datums.begin(), datums.end(), [this](const auto& d) {
        return d->m_offset == m_offset && d->m_mnemonic == m_mnemonic;
    });
    if (datum == datums.end()) return 0;
    const CQtxDatum& d = **datum;

    std::memcpy(m_history, m_file.Header().history, qtx::kHistorySize);
    if (AppendHistory(HistoryEnd()) < 0) return 0;

    const int first = RangeFirstFrame(), last = RangeLastFrame();
    const int traces = std::clamp(m_receivers, 0, kSlots);
    const int samples = std::clamp(m_samplesInFile, 0, m_n);
    CQtxFile out;
    if (!OkOrShow(out.OpenWrite(m_common.outputPath, 1, m_common.path))) return 0;
    QtxFileHeader h = out.Header();
    h.logDirection = direction;
    h.depthUnits = m_file.Header().depthUnits;
    h.frameCount = 0; // counted by the finalize: a save cut short claims no frame
    h.topDepth = m_range.start;
    h.bottomDepth = m_range.end;
    h.depthStep = m_file.Header().depthStep;
    std::memcpy(h.history, m_history, qtx::kHistorySize);
    out.SetHeader(h);
    CQtxDescriptorList descriptors;
    if (!OkOrShow(out.AddDatum(descriptors, d.m_mnemonic, d.m_typeCode, 1, d.m_category, uint16_t(traces),
                               d.m_axis1.m_unit, d.m_axis1.m_step, uint16_t(samples), d.m_axis1.m_firstIndex))
        || !OkOrShow(out.WriteHeader()) || !OkOrShow(out.WriteDescriptors(descriptors))) {
        out.DropOutput();
        return 0;
    }

    CProgressDlg progress;
    progress.Create();
    progress.SetStatus("Saving : " + PathTail(m_common.outputPath));
    progress.SetRange(first, last + 1);
    const bool down = m_frames.IsDown();
    const double step = m_frames.Step();
    std::vector<float> slots;
    CQtxFrameWriter writer(out);
    for (int frame = first; frame <= last; ++frame) {
        if (StopAsked(progress, "Are you sure you want to stop processing?")) break; // the frames written so far make the output
        ReadFrame(frame, slots);
        CorrectFrame(frame, slots);
        const int j = frame - first;
        bool written = OkOrShow(writer.WriteDepth(down ? m_range.start + j * step : m_range.end - j * step));
        for (int t = 0; written && t < traces; ++t)
            written = OkOrShow(writer.WriteValues(slots.data() + size_t(m_receiverIndex[size_t(t)]) * size_t(m_n),
                                                  size_t(samples)));
        if (!written) {
            // Told by the writer; a save that failed leaves no file.
            writer.Discard();
            out.DropOutput();
            return 0;
        }
        progress.StepIt();
    }
    progress.DestroyWindow();
    if (!OkOrShow(writer.Finalize())) return 0;
    m_savedOnce = true;
    return 1;
}
