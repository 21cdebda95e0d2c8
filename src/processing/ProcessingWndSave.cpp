// The processing windows' saving: the profile of the range as a data set of curves,
// and the history lines it carries.
#include "processing/ProcessingWnd.h"

#include "common/OutputGuard.h"
#include "common/ProgressDlg.h"
#include "common/QtxDataSetHistoryDlg.h"
#include "dataset/DepthRule.h"
#include "dataset/ItemTypes.h"
#include "dataset/QtxFrameWriter.h"
#include "platform/BinaryFile.h"
#include "platform/Format.h"
#include "platform/Host.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

constexpr int kHistoryEnd = 4094; // lines end before it
constexpr int kHistoryReserve = 500;

bool Blank(char c) { return c == ' ' || c == '\0'; }

// A save that failed part-way commits nothing: a data set whose frames stop short
// would read as a whole profile.
int Abandon(CQtxFile& out)
{
    out.DropOutput();
    return 0;
}

} // namespace

// ---- saving ----------------------------------------------------------------------------------------------

int CProcessingWnd::WriteProfile(const std::vector<ProfileCurve>& curves, const std::vector<uint8_t>& units,
                                 const std::function<void(int frame, float* values)>& fill)
{
    if (curves.empty() || units.size() != curves.size()
        || !OkOrShow(DatumCountFits(curves.size(), m_common.path)))
        return 0;
    if (!OkOrShow(OutputSparesInputs(m_common.outputPath, {m_common.path}))) return 0;
    // A name derived from the input may be another file's: asked once per window.
    if (!m_savedOnce && !MayReplaceExisting(m_common.outputPath)) return 0;

    std::memcpy(m_history, m_file.Header().history, qtx::kHistorySize);
    if (AppendHistory(HistoryEnd()) < 0) return 0;

    const int first = RangeFirstFrame(), last = RangeLastFrame();
    CQtxFile out;
    if (!OkOrShow(out.OpenWrite(m_common.outputPath, curves.size(), m_common.path))) return 0;
    QtxFileHeader h = out.Header();
    h.logDirection = m_file.Header().logDirection;
    h.depthUnits = m_file.Header().depthUnits;
    h.frameCount = 0; // counted when the save ends: a save cut short leaves no header that lies
    h.topDepth = m_range.start;
    h.bottomDepth = m_range.end;
    h.depthStep = m_file.Header().depthStep;
    std::memcpy(h.history, m_history, qtx::kHistorySize);
    out.SetHeader(h);
    CQtxDescriptorList descriptors;
    // A curve the list refuses would leave a header naming fewer curves than each frame holds.
    for (size_t i = 0; i < curves.size(); ++i)
        if (!OkOrShow(out.AddDatum(descriptors, curves[i].mnemonic, curves[i].code, 1, kCategoryTrace, 1, units[i],
                                   1.0f, 1, 0)))
            return Abandon(out);
    if (!OkOrShow(out.WriteHeader()) || !OkOrShow(out.WriteDescriptors(descriptors))) return Abandon(out);

    CSaveWaitDlg notice;
    notice.Create();
    // Frames in file order; depths counted from the range's first frame.
    const bool down = m_frames.IsDown();
    const double step = m_frames.Step();
    std::vector<float> values(curves.size());
    CQtxFrameWriter writer(out);
    for (int frame = first; frame <= last; ++frame) {
        const int j = frame - first;
        fill(frame, values.data());
        if (!OkOrShow(writer.WriteDepth(down ? m_range.start + j * step : m_range.end - j * step))
            || !OkOrShow(writer.WriteValues(values.data(), values.size()))) {
            writer.Abandon();
            return 0;
        }
    }
    // A flush that failed inside the finalize commits nothing either.
    if (!OkOrShow(writer.Finalize())) return Abandon(out);
    m_savedOnce = true;
    return 1;
}

// ---- history ------------------------------------------------------------------------------------------

int CProcessingWnd::HistoryEnd() const
{
    for (int i = kHistoryEnd; i >= 1; --i)
        if (!Blank(m_history[i])) return i + 1;
    return 1;
}

int CProcessingWnd::AppendHistory(int p)
{
    if (p + kHistoryReserve > int(qtx::kHistorySize)
        && MessageBox("You are running low with the data history buffer.\nWould you like to edit the history?",
                      MB_YESNO | MB_ICONQUESTION)
               == IDYES) {
        p = EditHistory();
        if (p < 0) return -1;
    }
    p = std::clamp(p, 0, kHistoryEnd);
    // Zero bytes before the end would hide the lines after them.
    std::replace(m_history, m_history + p, '\0', ' ');
    auto put = [this, &p](const std::string& text) {
        std::memcpy(m_history + p, text.data(), text.size());
        p += int(text.size());
    };
    // A line that does not fit is left out; its separator is still written.
    auto line = [&](const std::string& text) {
        if (p >= kHistoryEnd) return;
        put("\r\n");
        if (!text.empty() && p + int(text.size()) < kHistoryEnd) put(text);
    };
    if (p < kHistoryEnd) put("\r\n");
    line("*** Input data : " + m_common.path);
    // The unit label brings its own leading blank.
    line(Format("*** Depth range : %10.4f - %10.4f%s", m_range.start, m_range.end, m_frames.DepthUnitLabel()));
    line(HistoryTitle());
    std::fill(m_history + p, m_history + qtx::kHistorySize, ' ');
    return p;
}

int CProcessingWnd::EditHistory()
{
    int code;
    do {
        CQtxDataSetHistoryDlg dlg;
        dlg.m_path = m_common.path;
        code = dlg.DoModal();
    } while (code == CQtxDataSetHistoryDlg::kSavedHistory || code == CQtxDataSetHistoryDlg::kClearedHistory);
    // The input read again, so that its header carries the edited history.
    m_file.CloseInput();
    m_readOutFrameIndex = -1;
    m_renderPositions.assign(m_renderPositions.size(), -1);
    if (!OpenDataSet(m_file, m_common.path)) return -1;
    std::memcpy(m_history, m_file.Header().history, qtx::kHistorySize);
    return HistoryEnd();
}
