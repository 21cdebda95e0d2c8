#include "cnv/ScanCnvFile.h"

#include "cnv/CnvFile.h"
#include "cnv/CnvLayout.h"
#include "cnv/ScanLabel.h"
#include "platform/Format.h"
#include "platform/Host.h"
#include "res/CnvDataSetDlgIds.h"
#include "res/DialogTemplates.h"
#include "res/StringTable.h"

CCnvDataSetDlg::CCnvDataSetDlg() : CDialog(DialogTemplateFor(kIddCnvDataSet)) {}

bool CCnvDataSetDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    using namespace cnv_data_set;
    const auto line = [this](int id, const char* label, const std::string& value) {
        SetItemText(id, ShortenLabel(label, value));
    };
    ShowScannedRange(*this, {kIdcFileName, kIdcTopDepth, kIdcBottomDepth, kIdcDepthStep, kIdcFrames}, m_range);
    line(kIdcToolType, "Tool type : ", m_toolName);
    line(kIdcSamplingRate, "Sampling rate : ", Format("%7.4f", double(m_samplingRate)));
    line(kIdcReceivers, "Number receivers : ", Format("%d", int(m_receiverCount)));
    line(kIdcSamples, "Number samples : ", Format("%d", int(m_sampleCount)));
    CenterWindow();
    return true;
}

std::string CScanCnvFile::ToolName(uint8_t toolCode)
{
    // String-table ids of the tool names.
    enum : unsigned {
        kIdsDsiTool = 61216, kIdsXmacTool, kIdsMacTool, kIdsWaveSonicTool, kIdsIsonicTool, kIdsUnrecognizedTool,
        kIdsFwsTool = 61223,
    };
    switch (toolCode) {
    case cnv::kToolDsi: return LoadString(kIdsDsiTool);
    case cnv::kToolMac: return LoadString(kIdsMacTool);
    case cnv::kToolXmac: return LoadString(kIdsXmacTool);
    case cnv::kToolIsonic: return LoadString(kIdsIsonicTool);
    case cnv::kToolFws: return LoadString(kIdsFwsTool);
    case cnv::kToolWaveSonic: return LoadString(kIdsWaveSonicTool);
    default: return LoadString(kIdsUnrecognizedTool);
    }
}

int CScanCnvFile::Scan(const std::string& cnvPath)
{
    CCnvFile file;
    const uint8_t toolByte = file.ReadToolCode(cnvPath);
    if (!OkOrShow(file.LastStatus()) || !OkOrShow(file.Open(cnvPath))) return 0;
    // The reader's status, not the value, tells a failure: -1.0 is a possible depth.
    const double top = file.ReadTopDepth();
    if (!OkOrShow(file.LastStatus())) return 0;
    const double bottom = file.ReadBottomDepth();
    if (!OkOrShow(file.LastStatus())) return 0;
    const double step = file.ReadFrameInterval();
    if (!OkOrShow(file.LastStatus())) return 0;
    const double period = file.ReadSamplingPeriod();
    if (!OkOrShow(file.LastStatus())) return 0;
    const uint32_t frames = file.CountFrames();
    if (!OkOrShow(file.LastStatus())) return 0;
    file.Close();

    m_topDepth = top;
    m_bottomDepth = bottom;
    m_depthStep = step;
    m_samplingRate = float(period);
    m_frameCount = frames;
    m_toolByte = toolByte;
    m_depthUnitFlag = file.m_depthUnits;
    m_receiverCount = file.m_channels;
    m_sampleCount = file.m_samples;
    m_depthUnits = m_depthUnitFlag == cnv::kFeet ? "FT" : "M";
    m_timeUnits = m_receiverCount == 1 ? "US/F" : "USEC";
    m_toolName = ToolName(toolByte);

    CCnvDataSetDlg dialog;
    dialog.m_range = {cnvPath, m_topDepth, m_bottomDepth, m_depthStep, m_frameCount};
    dialog.m_toolName = m_toolName;
    dialog.m_samplingRate = m_samplingRate;
    dialog.m_receiverCount = m_receiverCount;
    dialog.m_sampleCount = m_sampleCount;
    return dialog.DoModal() == IDOK ? 1 : 0;
}
