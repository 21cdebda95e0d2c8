#include "lis/SelectToolDlg.h"

#include "lis/LisScanModel.h"
#include "res/DialogTemplates.h"
#include "res/SelectToolDlgIds.h"

namespace {

constexpr CSelectToolDlg::Tool kTools[CSelectToolDlg::kToolCount] = {
    {"Dsi", lis::kToolDsi},   {"Isonic", lis::kToolIsonic},       {"SLT", lis::kToolSlt},    {"Qslt", lis::kToolQslt},
    {"Dslt", lis::kToolDslt}, {"Xmac", lis::kToolXmac},           {"MAC", lis::kToolMac},    {"Apx", lis::kToolApx},
    {"DAL", lis::kToolDal},   {"Wavesonic", lis::kToolWaveSonic}, {"Bat", lis::kToolBat},    {"Scout", lis::kToolScout},
    {"Fws", lis::kToolFws},   {"LSS", lis::kToolLss},
};

} // namespace

CSelectToolDlg::Tool CSelectToolDlg::ToolOf(int index)
{
    return index >= 0 && index < kToolCount ? kTools[index] : Tool{"", 0};
}

CSelectToolDlg::CSelectToolDlg() : CDialog(DialogTemplateFor(kIddSelectTool)) {}

bool CSelectToolDlg::OnInitDialog()
{
    SetItemText(kIdcLisFile, "LIS File: " + m_lisFileName);
    return CDialog::OnInitDialog();
}

void CSelectToolDlg::DoDataExchange(DataExchange& dx)
{
    dx.Radio(kIdcDsi, m_toolIndex);
    // OK without a tool would end the command without a word: the dialog stays and asks.
    if (dx.Saving() && m_toolIndex < 0)
        dx.Fail(kIdcDsi, "Select the tool that recorded the file, then OK (Cancel ends the conversion).");
}
