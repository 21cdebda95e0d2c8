#include "cnv/DataOriginDlg.h"

#include "res/DataOriginDlgIds.h"
#include "res/DialogTemplates.h"

using data_origin::kIdcOrigin;

CDataOriginDlg::CDataOriginDlg() : CDialog(DialogTemplateFor(kIddDataOrigin))
{
    On(kIdcOrigin, Notify::SelChange, [this] { KeepSelection(); });
}

bool CDataOriginDlg::OnInitDialog()
{
    if (ControlState* list = Item(kIdcOrigin)) {
        list->ResetContent();
        for (const char* origin : data_origin::kOrigins) list->AddString(origin);
    }
    CDialog::OnInitDialog();
    if (ControlState* list = Item(kIdcOrigin)) list->SetCurSel(0);
    KeepSelection();
    CenterWindow();
    return true;
}

void CDataOriginDlg::DoDataExchange(DataExchange& dx)
{
    // Only the chosen text goes out; the dialog always opens on the first entry.
    if (dx.Saving()) dx.ComboString(kIdcOrigin, m_originText);
}

void CDataOriginDlg::KeepSelection()
{
    const ControlState* list = Item(kIdcOrigin);
    if (!list || list->CurSel() < 0) return;
    m_originIndex = list->CurSel();
    m_originText = list->ItemText(m_originIndex);
}
