// Shows the history text of one data set; Save History writes the edited text
// back, Clear History blanks it.
#pragma once

#include "dataset/QtxLayout.h"
#include "platform/Dialog.h"

#include <string>

class CQtxDataSetHistoryDlg : public CDialog {
public:
    enum : int { kSavedHistory = 1103, kClearedHistory = 1104 };

    CQtxDataSetHistoryDlg();

    bool OnInitDialog() override;
    void DoDataExchange(DataExchange& dx) override;
    void OnSaveHistory();
    void OnClearHistory();

    std::string m_path;    // data set; set by the caller
    std::string m_history; // exchanged with the edit
    char m_buffer[qtx::kHistorySize + 1] = {};

    // The shown text of a 4096-byte history block: up to its first zero byte, with
    // trailing blanks removed (an all-blank history shows as one blank).
    static std::string HistoryText(const char* block);
    // The 4096-byte block that stores `text`: all of it when it fits, else its first
    // 4095 characters, padded with blanks.
    static void FillHistoryBlock(const std::string& text, char* block);
};
