// The mnemonics reminder: the program's datum mnemonics, one line each.
#pragma once

#include "platform/Dialog.h"

#include <string>

class CQtxMnemonicsDlg : public CDialog {
public:
    CQtxMnemonicsDlg();
    bool OnInitDialog() override;
    void DoDataExchange(DataExchange& dx) override;

    // Eight groups of six descriptions, each line ended by "\r\n", an empty line
    // between groups.
    static std::string ReminderText();

    std::string m_text;
};
