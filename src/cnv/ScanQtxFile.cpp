#include "cnv/ScanQtxFile.h"

#include "cnv/ScanLabel.h"
#include "common/QtxDataSetHistoryDlg.h"
#include "platform/Format.h"
#include "platform/Host.h"
#include "res/DialogTemplates.h"
#include "res/QtxDataSetDlgIds.h"

CQtxDataSetDlg::CQtxDataSetDlg() : CDialog(DialogTemplateFor(kIddQtxDataSet))
{
    On(qtx_data_set::kIdcHistory, Notify::Clicked, [this] { OnHistory(); });
}

std::string CQtxDataSetDlg::DatumLine(const CQtxDatum& d)
{
    const char* mnemonic = d.m_mnemonic.c_str();
    const double step = double(d.m_axis1.m_step);
    switch (d.m_category) {
    case kCategoryWaveform:
    case 2: // frequency
    case kCategoryAzimuth:
        return Format("%s  - %d receivers (%d @ %6.3f)", mnemonic, int(d.m_traceCount), int(d.m_axis1.m_sampleCount),
                      step);
    case kCategorySlowness: return Format("%s - (%d @ %6.3f)", mnemonic, int(d.m_axis1.m_sampleCount), step);
    case kCategorySemblanceMap:
        return Format("%s - (%d x %d @ %6.3f)", mnemonic, int(d.m_axis1.m_sampleCount),
                      int(d.m_axis2.m_sampleCount), step);
    default: return d.m_mnemonic; // traces, and categories no line format knows
    }
}

bool CQtxDataSetDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    using namespace qtx_data_set;
    ShowScannedRange(*this, {kIdcFileName, kIdcTopDepth, kIdcBottomDepth, kIdcDepthStep, kIdcFrames}, m_range);
    SetItemText(kIdcLogDirection, m_logDirection == qtx::kLogDown ? "Log direction : Down" : "Log direction : Up");
    if (ControlState* list = Item(kIdcDatums)) {
        list->ResetContent();
        if (m_datums)
            for (const auto& datum : *m_datums) list->AddString(DatumLine(*datum));
    }
    CenterWindow();
    return true;
}

void CQtxDataSetDlg::OnHistory()
{
    for (;;) {
        CQtxDataSetHistoryDlg history;
        history.m_path = m_range.path;
        const int end = history.DoModal();
        if (end != CQtxDataSetHistoryDlg::kSavedHistory && end != CQtxDataSetHistoryDlg::kClearedHistory) return;
    }
}

int CScanQtxFile::Scan(const std::string& qtxPath)
{
    CQtxFile file;
    // OpenRead's result is the status: a data set may well start at depth -1.0.
    if (!OkOrShow(file.OpenRead(qtxPath))) return 0;
    m_topDepth = file.GetTopDepth();
    m_bottomDepth = file.GetBottomDepth();
    m_depthStep = file.GetDepthStep();
    m_frameCount = file.GetFrameCount();
    m_logDirection = file.Header().logDirection;
    m_datums.clear();
    const int listed = OkOrShow(file.ReadDatumList(m_datums));
    file.CloseInput();
    if (!listed) {
        m_datums.clear();
        return 0;
    }

    CQtxDataSetDlg dialog;
    dialog.m_range = {qtxPath, m_topDepth, m_bottomDepth, m_depthStep, m_frameCount};
    dialog.m_logDirection = m_logDirection;
    dialog.m_datums = &m_datums;
    const int end = dialog.DoModal();
    m_datums.clear();
    return end == IDOK ? 1 : 0;
}
