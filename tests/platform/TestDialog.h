// A dialog whose set-up, exchange and handlers a test supplies as lambdas, so each
// test keeps its dialog beside its expectations.
#pragma once

#include "platform/Dialog.h"

#include <functional>

class TestDlg : public CDialog {
public:
    explicit TestDlg(const DialogTemplate& dialogTemplate) : CDialog(dialogTemplate) {}
    using CDialog::On;

    std::function<void(TestDlg&)> init;             // runs before the controls are filled
    std::function<void(DataExchange&)> exchange;

    bool OnInitDialog() override
    {
        if (init) init(*this);
        return CDialog::OnInitDialog();
    }
    void DoDataExchange(DataExchange& dx) override
    {
        if (exchange) exchange(dx);
    }
};
