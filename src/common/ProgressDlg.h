// The shared modeless progress dialog of long operations, and the two "please
// wait" notices. A running loop creates the dialog, sets a range, steps it and
// polls Cancel; every step pumps events so windows repaint and Cancel can be
// pressed. The main window stays disabled while the dialog exists.
#pragma once

#include "platform/Dialog.h"

#include <string>

class CProgressDlg : public CDialog {
public:
    explicit CProgressDlg(unsigned captionId = 0); // 0: "Processing progress"
    ~CProgressDlg() override;

    // Disables the main window (when it exists and is enabled), then shows the dialog.
    bool Create() override;
    bool DestroyWindow() override;
    bool OnInitDialog() override;
    void OnCancel() override; // only latches the request; the loop polls it

    void SetStatus(const std::string& text);
    void SetRange(int lower, int upper);
    int SetPos(int pos); // returns the previous position
    int StepIt();        // returns the previous position
    bool CheckCancelButton(); // true once per press of Cancel or Escape

    unsigned m_captionId;
    int m_lower = 0;
    int m_upper = 100;
    int m_step = 1;
    bool m_cancel = false;
    bool m_parentDisabled = false;

private:
    void PumpMessages();
    void UpdatePercent(int pos);
    void ReEnableParent();
};

class CReadWaitDlg : public CDialog {
public:
    CReadWaitDlg();
    ~CReadWaitDlg() override;
};

class CSaveWaitDlg : public CDialog {
public:
    CSaveWaitDlg();
    ~CSaveWaitDlg() override;
};
