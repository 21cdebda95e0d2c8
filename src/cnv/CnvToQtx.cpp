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
#include "platform/Host.h"
#include "platform/Path.h"
#include "res/ClssToolSetupDlgIds.h"

#include <cstring>
#include <memory>

namespace {

const char kStopQuestion[] = "Are you sure you want to stop converting?";

} // namespace

std::string CCnvToQtx::OriginMnemonic(uint8_t code) { return CnvOriginOf(code, 0.0f).mnemonic; }

int CCnvToQtx::Convert(const std::string& cnvPath, const std::string& qtxPath)
{
    CCnvFile input;
    if (!input.Open(cnvPath)) return 0;
    // The scanned shape is the one converted; the reader refuses one it cannot hold.
    if (!input.SetShape(m_channelCount, m_samplesPerChannel)) return 0;
    const int channels = input.m_channels;
    const int samples = input.m_samples;

    // Every frame's depth, before any question: the frames take them as they are. A
    // frame beyond the file is left to the conversion, which keeps the ones before it.
    const uint8_t direction = m_topDepth < m_bottomDepth ? qtx::kLogDown : qtx::kLogUp;
    CDepthRule rule(direction, m_depthStep);
    double depth = 0.0;
    for (uint32_t k = 0; k < m_frameCount && input.ReadFrameDepth(k, depth); ++k)
        if (!rule.Check(depth, cnvPath)) return 0;

    CDataOriginDlg originDlg;
    m_origin = originDlg.DoModal() == IDOK ? originDlg.m_originIndex : 0;
    const CnvOrigin origin = CnvOriginOf(m_origin, m_samplingPeriod);
    const bool clss = IsClssOrigin(m_origin);
    m_clssReceiver = 0;
    if (clss) {
        CClssToolSetupDlg receiverDlg;
        receiverDlg.m_receiver[0] = 1;
        receiverDlg.m_receiver[1] = receiverDlg.m_receiver[2] = receiverDlg.m_receiver[3] = 0;
        if (receiverDlg.DoModal() != clss_tool_setup::kIdcOk) return 0;
        m_clssReceiver = receiverDlg.SelectedReceiver();
    }

    // Every refusal comes before the output is created.
    if (RefuseOutputOverInput(qtxPath, {cnvPath}) || (!m_outputConfirmed && RefuseToReplaceExisting(qtxPath)))
        return 0;
    auto out = std::make_unique<CQtxFile>(); // its data buffer is large
    if (!out->OpenWrite(qtxPath)) return 0;

    QtxFileHeader& header = out->m_header;
    header.logDirection = direction;
    header.depthUnits = m_depthUnit == "FT" ? qtx::kUnitsFeet : qtx::kUnitsMetres;
    header.frameCount = 0; // counted when the frames are settled, so a killed run claims none
    header.topDepth = m_topDepth;
    header.bottomDepth = m_bottomDepth;
    header.depthStep = m_depthStep;
    std::memset(header.history, ' ', sizeof header.history);

    CQtxDescriptorList descriptors;
    if (!out->AddDatum(descriptors, origin.mnemonic, origin.itemType, 1, origin.category, uint16_t(channels),
                       origin.unit, origin.step, uint16_t(samples), 0)
        || !out->WriteHeader() || !out->WriteDescriptors(descriptors)) {
        out->DropOutput(); // a head cut short is no data set
        return 0;
    }

    CProgressDlg progress(0);
    progress.Create();
    progress.SetStatus("Converting : " + PathTail(cnvPath));
    progress.SetRange(0, 1000); // per mille: any frame count fits

    CQtxFrameWriter writer(*out);
    writer.HoldDepthRule();
    const size_t traceBytes = size_t(samples) * sizeof(float);
    int result = 1;
    int shown = 0;
    for (uint32_t k = 0; k < m_frameCount; ++k) {
        if (progress.CheckCancelButton() && MessageBox(kStopQuestion, MB_YESNO | MB_ICONQUESTION) == IDYES) break;
        const double depth = input.ReadFrame(k);
        if (!input.Ok() || !writer.WriteDepth(depth)) {
            result = 0;
            break;
        }
        // Samples go over as the file holds them: both formats keep little-endian float32.
        bool written = true;
        for (int t = 0; written && t < channels; ++t) {
            uint8_t* at = writer.Reserve(traceBytes);
            if (!at) {
                written = false;
            } else if (!clss) {
                std::memcpy(at, input.ChannelSamples(t), traceBytes);
            } else if (t == m_clssReceiver) {
                std::memcpy(at, input.ChannelSamples(0), traceBytes);
            } else {
                std::memset(at, 0, traceBytes);
            }
        }
        if (!written) {
            result = 0;
            break;
        }
        const int position = int(uint64_t(k + 1) * 1000 / m_frameCount);
        if (position != shown) progress.SetPos(shown = position);
    }
    input.Close();
    // A failed run commits nothing; a finished or stopped one commits its whole frames,
    // counted by the header.
    if (!result) writer.Abandon();
    else if (!writer.Finalize()) result = 0;
    progress.DestroyWindow();
    return result;
}
