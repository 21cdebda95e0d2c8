#include "platform/Dialog.h"

#include "platform/Dc.h"
#include "platform/Format.h"
#include "platform/Host.h"

#include <cerrno>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdlib>

// ---- CDialog ----------------------------------------------------------------------

CDialog::CDialog(const DialogTemplate& dialogTemplate) : m_template(&dialogTemplate), m_caption(dialogTemplate.caption)
{
}

CDialog::~CDialog()
{
    if (m_open && !m_modal) Host().DestroyModeless(*this);
}

int CDialog::DoModal()
{
    m_ended = false;
    m_endCode = 0;
    const int code = Host().RunModal(*this);
    m_open = false;
    m_modal = false;
    return code;
}

bool CDialog::Create()
{
    if (m_open) return true;
    m_ended = false;
    return Host().CreateModeless(*this);
}

bool CDialog::DestroyWindow()
{
    if (!m_open || m_modal) return false;
    Host().DestroyModeless(*this);
    m_open = false;
    return true;
}

bool CDialog::InitDialog(bool modal)
{
    m_controls.clear();
    for (const auto& t : m_template->controls) m_controls.emplace_back(t);
    m_caption = m_template->caption;
    m_open = true;
    m_modal = modal;
    m_ended = false;
    m_centered = false;
    m_focus = 0;
    for (const auto& c : m_controls)
        if (c.Enabled() && c.Visible() && c.kind != ControlKind::Static && c.kind != ControlKind::GroupBox
            && c.kind != ControlKind::Picture) {
            m_focus = c.id;
            break;
        }
    return OnInitDialog();
}

bool CDialog::OnInitDialog()
{
    UpdateData(false);
    return true;
}

bool CDialog::UpdateData(bool saveAndValidate)
{
    DataExchange dx(*this, saveAndValidate);
    DoDataExchange(dx);
    return !dx.Failed();
}

void CDialog::OnOK()
{
    if (UpdateData(true)) EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

void CDialog::EndDialog(int code)
{
    m_ended = true;
    m_endCode = code;
}

void CDialog::Notify(int id, ::Notify code)
{
    const auto it = m_handlers.find({id, code});
    if (it != m_handlers.end()) {
        it->second();
        return;
    }
    if (code != ::Notify::Clicked) return;
    if (id == IDOK) OnOK();
    else if (id == IDCANCEL) OnCancel();
}

int CDialog::DefaultButton() const
{
    for (const auto& c : m_controls)
        if (c.kind == ControlKind::Button && (c.style & kDefaultButton)) return c.id;
    return IDOK;
}

void CDialog::PressEnter()
{
    const int id = DefaultButton();
    const ControlState* button = Item(id);
    if (button && !button->Enabled()) return;
    Notify(id, ::Notify::Clicked);
}

void CDialog::PressEscape() { Notify(IDCANCEL, ::Notify::Clicked); }

void CDialog::RedrawItem(int id)
{
    ControlState* c = Item(id);
    if (!c || c->kind != ControlKind::OwnerDraw) return;
    c->Invalidate();
    if (m_open) Host().DialogChanged(*this);
}

bool CDialog::DrawItem(int id, Dc& dc, const Rect& client)
{
    const ControlState* c = Item(id);
    if (!c || c->kind != ControlKind::OwnerDraw || !c->Visible() || client.IsEmpty()) return false;
    OnDrawItem(id, dc, client);
    return true;
}

ControlState* CDialog::Item(int id)
{
    for (auto& c : m_controls)
        if (c.id == id) return &c;
    return nullptr;
}

const ControlState* CDialog::Item(int id) const
{
    for (const auto& c : m_controls)
        if (c.id == id) return &c;
    return nullptr;
}

std::string CDialog::GetItemText(int id) const
{
    const ControlState* c = Item(id);
    return c ? c->Text() : std::string();
}

void CDialog::SetItemText(int id, const std::string& text)
{
    if (ControlState* c = Item(id)) c->SetText(text);
}

void CDialog::SetItemNumber(int id, float value, const char* format)
{
    if (ControlState* c = Item(id))
        c->ShowNumber(format ? Format(format, double(value)) : DataExchange::NumberText(value), double(value));
}

void CDialog::SetItemNumber(int id, double value, const char* format)
{
    if (ControlState* c = Item(id)) c->ShowNumber(format ? Format(format, value) : DataExchange::NumberText(value), value);
}

void CDialog::EnableItem(int id, bool enable)
{
    if (ControlState* c = Item(id)) c->Enable(enable);
}

bool CDialog::IsItemEnabled(int id) const
{
    const ControlState* c = Item(id);
    return c && c->Enabled();
}

std::vector<int> CDialog::RadioSet(int firstId) const
{
    std::vector<int> ids;
    bool inSet = false;
    for (const auto& c : m_controls) {
        if (!inSet) {
            if (c.id == firstId && c.kind == ControlKind::RadioButton) {
                inSet = true;
                ids.push_back(c.id);
            }
            continue;
        }
        if (c.kind != ControlKind::RadioButton || (c.style & kGroupStart)) break;
        ids.push_back(c.id);
    }
    return ids;
}

std::vector<int> CDialog::RadioSetOf(int id) const
{
    const ControlState* first = nullptr;
    for (const auto& c : m_controls) {
        if (c.kind != ControlKind::RadioButton) first = nullptr;
        else if (!first || (c.style & kGroupStart)) first = &c;
        if (c.id == id) return first ? RadioSet(first->id) : std::vector<int>{};
    }
    return {};
}

void CDialog::CheckRadio(int id)
{
    for (int member : RadioSetOf(id)) Item(member)->SetCheck(member == id ? 1 : 0);
}

// ---- DataExchange -----------------------------------------------------------------

namespace {

bool ParseInteger(const std::string& text, long long& out)
{
    const char* p = text.c_str();
    char* end = nullptr;
    errno = 0;
    const long long v = std::strtoll(p, &end, 10);
    if (end == p || errno == ERANGE) return false;
    while (*end == ' ' || *end == '\t') ++end;
    if (*end) return false;
    out = v;
    return true;
}

} // namespace

bool DataExchange::Active(int id)
{
    if (m_failed) return false;
    m_lastId = id;
    return true;
}

bool DataExchange::Fail(int id, const std::string& message, unsigned type)
{
    if (m_failed) return false;
    m_failed = true;
    MessageBox(message, type);
    const int focus = id ? id : m_lastId;
    if (focus) m_dialog.SetFocus(focus);
    return false;
}

void DataExchange::Text(int id, std::string& value)
{
    if (!Active(id)) return;
    ControlState* c = m_dialog.Item(id);
    if (!c) return;
    if (m_save) value = c->Text();
    else c->SetText(value);
}

template <typename T> void DataExchange::Integer(int id, T& value, long long lo, long long hi)
{
    if (!Active(id)) return;
    ControlState* c = m_dialog.Item(id);
    if (!c) return;
    if (!m_save) {
        c->SetText(Format("%lld", static_cast<long long>(value)));
        return;
    }
    long long v = 0;
    if (!ParseInteger(c->Text(), v)) {
        Fail(id, "Please enter an integer.");
        return;
    }
    if (v < lo || v > hi) {
        Fail(id, Format("Please enter an integer between %lld and %lld.", lo, hi));
        return;
    }
    value = static_cast<T>(v);
}

void DataExchange::Text(int id, int& value) { Integer(id, value, INT_MIN, INT_MAX); }
void DataExchange::Text(int id, unsigned& value) { Integer(id, value, 0, UINT_MAX); }
void DataExchange::Text(int id, short& value) { Integer(id, value, SHRT_MIN, SHRT_MAX); }
void DataExchange::Text(int id, unsigned short& value) { Integer(id, value, 0, USHRT_MAX); }

std::string DataExchange::NumberText(float value) { return Format("%.*g", FLT_DIG, double(value)); }
std::string DataExchange::NumberText(double value) { return Format("%.*g", DBL_DIG, value); }

template <typename T> void DataExchange::Real(int id, T& value, double limit, const char* format)
{
    if (!Active(id)) return;
    ControlState* c = m_dialog.Item(id);
    if (!c) return;
    if (!m_save) {
        c->ShowNumber(format ? Format(format, double(value)) : NumberText(value), double(value));
        return;
    }
    const std::optional<double> v = NumberMeant(id);
    if (!v || *v > limit || *v < -limit) {
        Fail(id, "Please enter a number.");
        return;
    }
    value = static_cast<T>(*v);
}

std::optional<double> DataExchange::NumberMeant(int id) const
{
    const ControlState* c = m_dialog.Item(id);
    if (!c) return std::nullopt;
    // A text that still says the number shown means the value shown, not its rounded digits.
    const std::optional<double> shown = c->ShownNumber();
    bool ok = shown.has_value();
    const double v = ok ? *shown : ParseDouble(c->Text(), &ok);
    // strtod takes "nan" and "inf"; neither is a number a user can mean.
    if (!ok || !std::isfinite(v)) return std::nullopt;
    return v;
}

void DataExchange::Text(int id, float& value, const char* format) { Real(id, value, FLT_MAX, format); }
void DataExchange::Text(int id, double& value, const char* format) { Real(id, value, DBL_MAX, format); }

void DataExchange::MaxChars(const std::string& value, int maxChars)
{
    if (m_failed) return;
    if (!m_save) {
        if (ControlState* c = m_dialog.Item(m_lastId)) c->SetLimitText(maxChars);
        return;
    }
    if (int(value.size()) > maxChars) Fail(m_lastId, Format("Please enter no more than %d characters.", maxChars));
}

void DataExchange::MinMax(int value, int minValue, int maxValue)
{
    if (m_failed || !m_save) return;
    if (value < minValue || value > maxValue)
        Fail(m_lastId, Format("Please enter an integer between %d and %d.", minValue, maxValue));
}

void DataExchange::MinMax(unsigned value, unsigned minValue, unsigned maxValue)
{
    if (m_failed || !m_save) return;
    if (value < minValue || value > maxValue)
        Fail(m_lastId, Format("Please enter an integer between %u and %u.", minValue, maxValue));
}

void DataExchange::MinMax(float value, float minValue, float maxValue)
{
    if (m_failed || !m_save) return;
    if (value < minValue || value > maxValue)
        Fail(m_lastId, Format("Please enter a number between %.*g and %.*g.", FLT_DIG, double(minValue), FLT_DIG,
                              double(maxValue)));
}

void DataExchange::MinMax(double value, double minValue, double maxValue)
{
    if (m_failed || !m_save) return;
    if (value < minValue || value > maxValue)
        Fail(m_lastId,
             Format("Please enter a number between %.*g and %.*g.", DBL_DIG, minValue, DBL_DIG, maxValue));
}

void DataExchange::Radio(int firstId, int& index)
{
    if (!Active(firstId)) return;
    const std::vector<int> ids = m_dialog.RadioSet(firstId);
    if (m_save) {
        index = -1;
        for (size_t i = 0; i < ids.size(); ++i)
            if (m_dialog.Item(ids[i])->Check()) {
                index = int(i);
                break;
            }
        return;
    }
    for (size_t i = 0; i < ids.size(); ++i) m_dialog.Item(ids[i])->SetCheck(int(i) == index ? 1 : 0);
}

void DataExchange::OneHot(std::initializer_list<FlagButton> buttons)
{
    if (buttons.size() == 0 || !Active(buttons.begin()->id)) return;
    bool checked = false;
    for (const FlagButton& b : buttons) {
        ControlState* c = m_dialog.Item(b.id);
        if (m_save) {
            if (c && b.flag) *b.flag = c->Check() ? 1 : 0;
            continue;
        }
        const bool on = !checked && b.flag && *b.flag;
        checked = checked || on;
        if (c) c->SetCheck(on ? 1 : 0);
    }
}

void DataExchange::Check(int id, int& state)
{
    if (!Active(id)) return;
    ControlState* c = m_dialog.Item(id);
    if (!c) return;
    if (m_save) state = c->Check();
    else c->SetCheck(state);
}

void DataExchange::ComboString(int id, std::string& value)
{
    if (!Active(id)) return;
    ControlState* c = m_dialog.Item(id);
    if (!c) return;
    if (m_save) {
        value = c->kind == ControlKind::ComboBox || c->CurSel() < 0 ? c->Text() : c->ItemText(c->CurSel());
        return;
    }
    if (c->SelectString(-1, value) < 0 && c->kind == ControlKind::ComboBox) c->SetText(value);
}

void DataExchange::ComboIndex(int id, int& index)
{
    if (!Active(id)) return;
    ControlState* c = m_dialog.Item(id);
    if (!c) return;
    if (m_save) index = c->CurSel();
    else c->SetCurSel(index);
}

void DataExchange::ListIndex(int id, int& index) { ComboIndex(id, index); }

void DataExchange::ListString(int id, std::string& value)
{
    if (!Active(id)) return;
    ControlState* c = m_dialog.Item(id);
    if (!c) return;
    if (m_save) value = c->CurSel() >= 0 ? c->ItemText(c->CurSel()) : std::string();
    else c->SelectString(-1, value);
}
