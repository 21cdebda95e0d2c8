// What every setup dialog shares: it shows and edits a copy of its settings group,
// its data exchange binding the controls to the copy's fields, and Edit gives the
// copy back to the group when the dialog ends with anything but Cancel.
#pragma once

#include "platform/Dialog.h"
#include "platform/Host.h"
#include "res/DialogTemplates.h"

template <typename Group> class CSetupDlg : public CDialog {
public:
    // Runs the dialog modally on a copy of `group`; returns its end code.
    int Edit(Group& group)
    {
        m_setup = group;
        const int result = DoModal();
        if (result != IDCANCEL) group = m_setup;
        return result;
    }

    Group m_setup;

protected:
    explicit CSetupDlg(int templateId) : CDialog(DialogTemplateFor(templateId)) {}
};
