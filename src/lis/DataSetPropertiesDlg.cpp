#include "lis/DataSetPropertiesDlg.h"

#include "lis/LisScanModel.h"
#include "platform/Format.h"
#include "res/DialogTemplates.h"
#include "res/DataSetPropertiesDlgIds.h"

CDataSetPropertiesDlg::CDataSetPropertiesDlg() : CDialog(DialogTemplateFor(kIddDataSetProperties)) {}

void CDataSetPropertiesDlg::Fill(const CLisLogicalFile& file)
{
    const char* units = file.m_frameSpacingUnits.c_str();
    const double first = file.m_depths.empty() ? 0.0 : file.m_depths.front().m_depth;
    const double last = file.m_depths.empty() ? 0.0 : file.m_depths.back().m_depth;
    m_endDepth = Format("%10.3f %s", first, units);
    m_depthInterval = Format("%8.4f %s", file.m_frameSpacing, units);
    m_dataSetName = file.m_fileName;
    m_frameCount = Format("%zu", file.m_depths.size());
    m_startDepth = Format("%10.3f %s", last, units);
    m_logDirection = file.m_upDown == 1 ? "UP" : "DOWN";
}

bool CDataSetPropertiesDlg::OnInitDialog()
{
    SetItemText(kIdcEndDepth, "End Depth: " + m_endDepth);
    SetItemText(kIdcDepthInterval, "Depth Interval: " + m_depthInterval);
    SetItemText(kIdcDataSetName, "Data Set Name: " + m_dataSetName);
    SetItemText(kIdcFrameCount, "Number Depth Frames: " + m_frameCount);
    SetItemText(kIdcStartDepth, "Start Depth: " + m_startDepth);
    SetItemText(kIdcLogDirection, "Log Direction: " + m_logDirection);
    return CDialog::OnInitDialog();
}
