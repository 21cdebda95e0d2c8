// Dialogs: a class per dialog with a template of controls, a state per control,
// handlers by control id and notification, OnInitDialog and a two-way data
// exchange. The host shows the dialog (modal or modeless); the dialog never sees
// a widget.
#pragma once

#include "platform/Controls.h"
#include "platform/Geometry.h"

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class CDialog;
class Dc;

// Moves member values into controls (filling) or out of them (saving, with
// validation). The first failure shows its message, puts the focus on the control
// and stops the exchange: every later call does nothing.
class DataExchange {
public:
    DataExchange(CDialog& dialog, bool saveAndValidate) : m_dialog(dialog), m_save(saveAndValidate) {}

    bool Saving() const { return m_save; }
    bool Failed() const { return m_failed; }
    CDialog& Dialog() { return m_dialog; }

    void Text(int id, std::string& value);
    void Text(int id, int& value);
    void Text(int id, unsigned& value);
    void Text(int id, short& value);
    void Text(int id, unsigned short& value);
    // Numbers, shown in `format` (printf style), or with 6 (float) or 15 (double)
    // significant digits (NumberText). An edit whose text still says the number shown
    // gives back the value it showed, every digit of it: only another number is read.
    void Text(int id, float& value, const char* format = nullptr);
    void Text(int id, double& value, const char* format = nullptr);
    // The value edit `id` means, the one reading of a number that the exchange and every
    // dialog's own check make: the number it showed, every digit of it, while its text reads
    // as the same number as the text shown (blanks aside, digits typed again); else its text
    // read as a finite number; else none.
    std::optional<double> NumberMeant(int id) const;
    // How the exchange shows a number: a dialog that sets a bound field itself uses
    // these (or CDialog::SetItemNumber), so one field never shows one value in two formats.
    static std::string NumberText(float value);
    static std::string NumberText(double value);
    // Range and length checks apply to the control exchanged last, when saving.
    void MaxChars(const std::string& value, int maxChars); // also limits the control when filling
    void MinMax(int value, int minValue, int maxValue);
    void MinMax(unsigned value, unsigned minValue, unsigned maxValue);
    void MinMax(float value, float minValue, float maxValue);
    void MinMax(double value, double minValue, double maxValue);
    void Radio(int firstId, int& index); // index in the radio set starting at firstId; -1 none
    // A one-hot flag set: one 0/1 flag per button, in any order of the template.
    // Filling checks the button of the first set flag and clears the others; saving
    // sets each flag from its button's check mark.
    struct FlagButton {
        int id;
        uint16_t* flag;
    };
    void OneHot(std::initializer_list<FlagButton> buttons);
    void Check(int id, int& state);
    void ComboString(int id, std::string& value); // filling selects the first item starting with value
    void ComboIndex(int id, int& index);
    void ListIndex(int id, int& index);
    void ListString(int id, std::string& value);

    // Fails the exchange with the dialog's own message, focus on `id` (0: the
    // control exchanged last). Returns false so callers can `return dx.Fail(...)`.
    bool Fail(int id, const std::string& message, unsigned type = 0x30 /* exclamation */);

private:
    bool Active(int id);
    template <typename T> void Integer(int id, T& value, long long lo, long long hi);
    // Floating point: anything finite within +-limit.
    template <typename T> void Real(int id, T& value, double limit, const char* format);

    CDialog& m_dialog;
    bool m_save;
    bool m_failed = false;
    int m_lastId = 0;
};

class CDialog {
public:
    // The template must outlive the dialog (templates are static resource data).
    explicit CDialog(const DialogTemplate& dialogTemplate);
    virtual ~CDialog();
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    // Runs the dialog modally and returns the code it ended with.
    int DoModal();
    // Creates the dialog modeless; false when the host could not.
    virtual bool Create();
    virtual bool DestroyWindow();
    bool IsWindow() const { return m_open; } // shown, modal or modeless
    bool IsModal() const { return m_modal; }

    virtual bool OnInitDialog(); // default: fills the controls; true
    virtual void DoDataExchange(DataExchange&) {}
    bool UpdateData(bool saveAndValidate = true);
    virtual void OnOK();     // exchange, then EndDialog(IDOK) only when it succeeded
    virtual void OnCancel(); // EndDialog(IDCANCEL), no exchange
    // Draws owner-drawn control `id` into `dc`, whose client area is `client` (device
    // units from 0,0). Every draw gets a context in its start state: what a draw
    // selects or maps ends with it. Paint only what the dialog holds: no I/O here.
    virtual void OnDrawItem(int id, Dc& dc, const Rect& client) { (void)id, (void)dc, (void)client; }
    // The owner-drawn control `id` is shown again from OnDrawItem.
    void RedrawItem(int id);
    void EndDialog(int code);
    bool Ended() const { return m_ended; }
    int EndCode() const { return m_endCode; }

    // ---- called by hosts --------------------------------------------------------
    // Builds fresh control states from the template and runs OnInitDialog.
    bool InitDialog(bool modal);
    // A control sent a notification: runs its handler (OK and Cancel have defaults).
    void Notify(int id, ::Notify code);
    // Enter: the default button; Escape: Cancel.
    void PressEnter();
    void PressEscape();
    // Draws owner-drawn control `id` through OnDrawItem; false (nothing drawn) when
    // it is no shown owner-drawn control or the area is empty.
    bool DrawItem(int id, Dc& dc, const Rect& client);
    int DefaultButton() const;

    // ---- controls ----------------------------------------------------------------
    int TemplateId() const { return m_template->id; }
    const DialogTemplate& Template() const { return *m_template; }
    const std::string& Caption() const { return m_caption; }
    void SetCaption(const std::string& caption) { m_caption = caption; }
    ControlState* Item(int id);
    const ControlState* Item(int id) const;
    std::vector<ControlState>& Controls() { return m_controls; }
    const std::vector<ControlState>& Controls() const { return m_controls; }
    std::string GetItemText(int id) const;
    void SetItemText(int id, const std::string& text);
    // Shows a number bound by the exchange as the exchange would (in `format`, else its
    // NumberText): left as shown, the field gives back `value` whole.
    void SetItemNumber(int id, float value, const char* format = nullptr);
    void SetItemNumber(int id, double value, const char* format = nullptr);
    void EnableItem(int id, bool enable);
    bool IsItemEnabled(int id) const;
    int Focus() const { return m_focus; }
    void SetFocus(int id) { m_focus = id; }
    void CenterWindow() { m_centered = true; }
    bool Centered() const { return m_centered; }
    // Ids of the radio set that starts at firstId, in template order. A set runs
    // to the next control that is no radio button or starts a set (kGroupStart).
    std::vector<int> RadioSet(int firstId) const;
    // Ids of the radio set that holds `id`; empty when it is no radio button.
    std::vector<int> RadioSetOf(int id) const;
    // The user clicked radio button `id`: it is checked and the rest of its set cleared.
    void CheckRadio(int id);

    // Host-private pointer for the backend's view of this dialog.
    void* m_hostView = nullptr;

protected:
    using Handler = std::function<void()>;
    void On(int id, ::Notify code, Handler handler) { m_handlers[{id, code}] = std::move(handler); }

private:
    const DialogTemplate* m_template;
    std::string m_caption;
    std::vector<ControlState> m_controls;
    std::map<std::pair<int, ::Notify>, Handler> m_handlers;
    bool m_open = false;
    bool m_modal = false;
    bool m_ended = false;
    int m_endCode = 0;
    int m_focus = 0;
    bool m_centered = false;
};
