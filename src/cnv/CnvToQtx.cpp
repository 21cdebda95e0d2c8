#include "cnv/CnvToQtx.h"

#include "cnv/ClssToolSetupDlg.h"
#include "cnv/CnvFile.h"
#include "cnv/CnvOrigins.h"
#include "cnv/DataOriginDlg.h"
#include "common/OutputGuard.h"
#include "common/PathLabel.h"
#include "common/ProgressDlg.h"
#include "dataset/DepthRule.h"
#include "dataset/QtxFile.h"
#include "dataset/QtxFrameWriter.h"
#include "platform/Format.h"
#include "platform/Host.h"
#include "platform/Path.h"
#include "res/ClssToolSetupDlgIds.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>

namespace {

const char kStopQuestion[] = "Are you sure you want to stop converting?";
const char kBadPeriod[] = "Encountered invalid sampling period (%g) in file :\n%s\nA waveform's samples need a "
                          "period above 0.\nOperation will be abandoned.";

// The Data Origin question and, for a CLSS origin, the receiver's: the origin code
// (0 when the dialog is cancelled) and the receiver (0..3; -1 for other origins).
// False when the receiver's dialog is cancelled.
bool AskOrigin(int& origin, int& clssReceiver)
{
    CDataOriginDlg originDlg;
    origin = originDlg.DoModal() == IDOK ? originDlg.m_originIndex : 0;
    clssReceiver = -1;
    if (!IsClssOrigin(origin)) return true;
    CClssToolSetupDlg receiverDlg;
    receiverDlg.m_receiver[0] = 1;
    receiverDlg.m_receiver[1] = receiverDlg.m_receiver[2] = receiverDlg.m_receiver[3] = 0;
    if (receiverDlg.DoModal() != clss_tool_setup::kIdcOk) return false;
    clssReceiver = receiverDlg.SelectedReceiver();
    return true;
}

// The output's header and its one datum of `channels` x `samples`; false when a write
// failed, and the output is removed (a head cut short is no data set).
bool WriteHead(CQtxFile& out, const CCnvToQtx& job, uint8_t direction, const CnvOrigin& origin, int channels,
               int samples)
{
    QtxFileHeader header = out.Header();
    header.logDirection = direction;
    header.depthUnits = job.m_depthUnit == "FT" ? qtx::kUnitsFeet : qtx::kUnitsMetres;
    header.frameCount = 0; // counted when the frames are settled, so a killed run claims none
    header.topDepth = job.m_topDepth;
    header.bottomDepth = job.m_bottomDepth;
    header.depthStep = job.m_depthStep;
    std::memset(header.history, ' ', sizeof header.history);
    out.SetHeader(header);

    CQtxDescriptorList descriptors;
    if (!OkOrShow(out.AddDatum(descriptors, origin.mnemonic, origin.itemType, 1, origin.category, uint16_t(channels),
                               origin.unit, origin.step, uint16_t(samples), 0))
        || !OkOrShow(out.WriteHeader()) || !OkOrShow(out.WriteDescriptors(descriptors))) {
        out.DropOutput();
        return false;
    }
    return true;
}

// Frames 0 .. frameCount - 1 of `input` into `writer`, the progress in per mille, until
// a confirmed stop. A CLSS file's one channel goes to trace `clssReceiver` and the other
// traces are zero (`clssReceiver` -1: every channel as it is). 0 when a read or a write
// failed, else 1.
int CopyFrames(CCnvFile& input, CQtxFrameWriter& writer, uint32_t frameCount, int clssReceiver, CProgressDlg& progress)
{
    const int channels = input.m_channels;
    const size_t traceBytes = size_t(input.m_samples) * sizeof(float);
    int shown = 0;
    for (uint32_t k = 0; k < frameCount; ++k) {
        if (progress.CheckCancelButton() && MessageBox(kStopQuestion, MB_YESNO | MB_ICONQUESTION) == IDYES) break;
        const double depth = input.ReadFrame(k);
        if (!OkOrShow(input.LastStatus()) || !OkOrShow(writer.WriteDepth(depth))) return 0;
        // Samples go over as the file holds them: both formats keep little-endian float32.
        for (int t = 0; t < channels; ++t) {
            uint8_t* at = nullptr;
            if (!OkOrShow(writer.Reserve(traceBytes, at))) return 0;
            if (clssReceiver < 0) std::memcpy(at, input.ChannelSamples(t), traceBytes);
            else if (t == clssReceiver) std::memcpy(at, input.ChannelSamples(0), traceBytes);
            else std::memset(at, 0, traceBytes);
        }
        const int position = int(uint64_t(k + 1) * 1000 / frameCount);
        if (position != shown) progress.SetPos(shown = position);
    }
    return 1;
}

} // namespace

std::string CCnvToQtx::OriginMnemonic(uint8_t code) { return CnvOriginOf(code, 0.0f).mnemonic; }

int CCnvToQtx::Convert(const std::string& cnvPath, const std::string& qtxPath)
{
    CCnvFile input;
    if (!OkOrShow(input.Open(cnvPath))) return 0;
    // The scanned shape is the one converted; the reader refuses one it cannot hold.
    if (!OkOrShow(input.SetShape(m_channelCount, m_samplesPerChannel))) return 0;

    // Every frame's depth, before any question: the frames take them as they are. A
    // frame beyond the file is left to the conversion, which keeps the ones before it.
    const uint8_t direction = m_topDepth < m_bottomDepth ? qtx::kLogDown : qtx::kLogUp;
    CDepthRule rule(direction, m_depthStep);
    double depth = 0.0;
    for (uint32_t k = 0; k < m_frameCount && input.ReadFrameDepth(k, depth); ++k)
        if (!OkOrShow(rule.Check(depth, cnvPath))) return 0;

    int clssReceiver = -1;
    const bool asked = AskOrigin(m_origin, clssReceiver);
    m_clssReceiver = std::max(clssReceiver, 0);
    if (!asked) return 0;

    // Every refusal comes before the output is created. A sample step of 0 or below
    // (CLSS origins have their own) would make waveforms no view can show.
    const CnvOrigin origin = CnvOriginOf(m_origin, m_samplingPeriod);
    if (!(origin.step > 0) || !std::isfinite(origin.step)) {
        MessageBox(Format(kBadPeriod, double(m_samplingPeriod), cnvPath.c_str()), MB_OK | MB_ICONSTOP);
        return 0;
    }
    if (!OkOrShow(OutputSparesInputs(qtxPath, {cnvPath})) || (!m_outputConfirmed && !MayReplaceExisting(qtxPath)))
        return 0;
    auto out = std::make_unique<CQtxFile>();
    if (!OkOrShow(out->OpenWrite(qtxPath, 1, cnvPath)) // one datum: the channels as its traces
        || !WriteHead(*out, *this, direction, origin, input.m_channels, input.m_samples))
        return 0;

    CProgressDlg progress(0);
    progress.Create();
    progress.SetStatus("Converting : " + PathTail(cnvPath));
    progress.SetRange(0, 1000); // per mille: any frame count fits

    CQtxFrameWriter writer(*out);
    writer.HoldDepthRule();
    int result = CopyFrames(input, writer, m_frameCount, clssReceiver, progress);
    input.Close();
    // A failed run commits nothing; a finished or stopped one commits its whole frames,
    // counted by the header.
    if (!result) writer.Abandon();
    else if (!OkOrShow(writer.Finalize())) result = 0;
    progress.DestroyWindow();
    return result;
}
