#include "common/QtxMnemonicsDlg.h"

#include "res/DialogTemplates.h"
#include "res/ResourceIds.h"
#include "res/StringTable.h"

CQtxMnemonicsDlg::CQtxMnemonicsDlg() : CDialog(DialogTemplateFor(kIddMnemonics)) {}

void CQtxMnemonicsDlg::DoDataExchange(DataExchange& dx) { dx.Text(kIdcMnemonicsText, m_text); }

std::string CQtxMnemonicsDlg::ReminderText()
{
    // Distributions (61343) come before semblance projections (61337) on purpose:
    // the reminder reads waveform, distribution, projection, map, then the logs.
    static const unsigned kGroupStarts[] = {61331, 61343, 61337, 61349, 61355, 61361, 61367, 61373};
    std::string text;
    for (size_t g = 0; g < std::size(kGroupStarts); ++g) {
        if (g > 0) text += "\r\n";
        for (unsigned id = kGroupStarts[g]; id < kGroupStarts[g] + 6; ++id) text += LoadString(id) + "\r\n";
    }
    return text;
}

bool CQtxMnemonicsDlg::OnInitDialog()
{
    m_text = ReminderText();
    CDialog::OnInitDialog();
    CenterWindow();
    return true;
}
