#include "viewers/ScratchDlg.h"

#include "common/RangeCheck.h"
#include "res/ScratchDlgIds.h"

CScratchDlg::CScratchDlg() : CSetupDlg(kIddScratch) {}

void CScratchDlg::DoDataExchange(DataExchange& dx)
{
    dx.Text(scratch::kIdcValue, m_setup.value);
    CheckLimits(dx, scratch::kIdcValue, m_setup.value, {"value", 0.0, 100.0, ""});
}
