#include "common/QtxDataSetHistoryDlg.h"

#include "dataset/QtxFile.h"
#include "platform/Host.h"
#include "res/DialogTemplates.h"
#include "res/ResourceIds.h"

#include <algorithm>
#include <cstring>

CQtxDataSetHistoryDlg::CQtxDataSetHistoryDlg() : CDialog(DialogTemplateFor(kIddHistory))
{
    On(kIdcSaveHistory, Notify::Clicked, [this] { OnSaveHistory(); });
    On(kIdcClearHistory, Notify::Clicked, [this] { OnClearHistory(); });
}

void CQtxDataSetHistoryDlg::DoDataExchange(DataExchange& dx) { dx.Text(kIdcHistoryText, m_history); }

std::string CQtxDataSetHistoryDlg::HistoryText(const char* block)
{
    const size_t length = strnlen(block, qtx::kHistorySize);
    if (length == 0) return std::string();
    size_t last = length - 1;
    while (last > 0 && block[last] == ' ') --last;
    return std::string(block, last + 1);
}

void CQtxDataSetHistoryDlg::FillHistoryBlock(const std::string& text, char* block)
{
    const size_t n = text.size() <= qtx::kHistorySize ? text.size() : qtx::kHistorySize - 1;
    std::memcpy(block, text.data(), n);
    std::memset(block + n, ' ', qtx::kHistorySize - n);
}

bool CQtxDataSetHistoryDlg::OnInitDialog()
{
    CQtxFile file;
    if (!OkOrShow(file.OpenRead(m_path))) return false; // the reader has said why; the history shows empty
    std::memcpy(m_buffer, file.Header().history, qtx::kHistorySize);
    m_buffer[qtx::kHistorySize] = '\0';
    file.CloseInput();
    m_history = HistoryText(m_buffer);
    CDialog::OnInitDialog();
    CenterWindow();
    return true;
}

void CQtxDataSetHistoryDlg::OnSaveHistory()
{
    if (MessageBox("This operation will modify the history.\nWould you like to continue?.", MB_YESNO | MB_ICONQUESTION)
        != IDYES)
        return;
    if (!UpdateData(true)) return;
    CQtxFile file;
    if (!OkOrShow(file.OpenRead(m_path))) return;
    char block[qtx::kHistorySize];
    FillHistoryBlock(m_history, block);
    const int written = OkOrShow(file.WriteHistory(block));
    file.CloseInput();
    if (written) EndDialog(kSavedHistory);
}

void CQtxDataSetHistoryDlg::OnClearHistory()
{
    if (MessageBox("This operation will clear the history.\nWould you like to continue?.", MB_YESNO | MB_ICONQUESTION)
        != IDYES)
        return;
    if (!UpdateData(true)) return;
    CQtxFile file;
    if (!OkOrShow(file.OpenRead(m_path))) return;
    // The whole block is blanked, not only as many bytes as the shown text is long:
    // an edited, shorter text must not leave the rest of the old history behind.
    char block[qtx::kHistorySize];
    std::memset(block, ' ', qtx::kHistorySize);
    const int written = OkOrShow(file.WriteHistory(block));
    file.CloseInput();
    if (written) EndDialog(kClearedHistory);
}
