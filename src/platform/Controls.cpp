#include "platform/Controls.h"

#include "platform/Format.h"
#include "platform/Input.h"

#include <algorithm>
#include <cctype>

namespace {

bool StartsWithNoCase(const std::string& text, const std::string& prefix)
{
    if (prefix.size() > text.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[i])) != std::tolower(static_cast<unsigned char>(prefix[i])))
            return false;
    return true;
}

bool LessNoCase(const std::string& a, const std::string& b)
{
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) < std::tolower(static_cast<unsigned char>(y));
    });
}

const std::string kEmpty;

} // namespace

ControlState::ControlState(const ControlTemplate& t) : id(t.id), kind(t.kind), style(t.style), group(t.group)
{
    m_text = t.text;
    m_enabled = !(t.style & kDisabled);
    m_visible = !(t.style & kHidden);
}

void ControlState::SetText(const std::string& text)
{
    m_shownNumber.reset();
    PutText(text);
}

void ControlState::PutText(const std::string& text)
{
    if (m_text == text) return;
    m_text = text;
    Touch();
}

void ControlState::ShowNumber(const std::string& text, double value)
{
    SetText(text);
    m_shownNumber = value;
    m_shownNumberText = text;
}

std::optional<double> ControlState::ShownNumber() const
{
    if (!m_shownNumber || m_text == m_shownNumberText) return m_shownNumber;
    // Numbers are compared, not texts: a blank the format put in front, taken out, or the
    // digits shown typed again, still say the number shown, not its rounded digits.
    bool typed = false, shown = false;
    const double v = ParseDouble(m_text, &typed);
    return typed && ParseDouble(m_shownNumberText, &shown) == v && shown ? m_shownNumber : std::nullopt;
}

void ControlState::Enable(bool enable)
{
    if (m_enabled == enable) return;
    m_enabled = enable;
    Touch();
}

void ControlState::Show(bool show)
{
    if (m_visible == show) return;
    m_visible = show;
    Touch();
}

void ControlState::SetCheck(int state)
{
    m_check = std::clamp(state, 0, 2);
    Touch();
}

void ControlState::SetLimitText(int chars)
{
    m_limitText = std::max(chars, 0);
    Touch();
}

bool ControlState::TypeText(const std::string& text)
{
    if (ReadOnly()) return false;
    const std::string kept = m_limitText > 0 && int(text.size()) > m_limitText ? text.substr(0, size_t(m_limitText)) : text;
    const bool changed = kept != m_text;
    if (kind == ControlKind::ComboBox) SetCurSel(-1); // keeps an editable combo's text
    PutText(kept);
    return changed;
}

const std::string& ControlState::ItemText(int index) const
{
    return index >= 0 && index < Count() ? m_items[size_t(index)] : kEmpty;
}

int ControlState::AddString(const std::string& text)
{
    if (!(style & kSorted)) return InsertString(-1, text);
    const auto at = std::upper_bound(m_items.begin(), m_items.end(), text, LessNoCase);
    return InsertString(int(at - m_items.begin()), text);
}

int ControlState::InsertString(int index, const std::string& text)
{
    if (index < 0 || index > Count()) index = Count();
    m_items.insert(m_items.begin() + index, text);
    m_itemData.insert(m_itemData.begin() + index, 0);
    m_selected.insert(m_selected.begin() + index, false);
    if (m_curSel >= index) ++m_curSel;
    m_anchor = -1;
    Commit();
    Touch();
    return index;
}

int ControlState::DeleteString(int index)
{
    if (index < 0 || index >= Count()) return -1;
    m_items.erase(m_items.begin() + index);
    m_itemData.erase(m_itemData.begin() + index);
    m_selected.erase(m_selected.begin() + index);
    if (m_curSel == index) m_curSel = -1;
    else if (m_curSel > index) --m_curSel;
    if (m_caret >= Count()) m_caret = Count() - 1;
    m_anchor = -1;
    Commit();
    Touch();
    return Count();
}

void ControlState::ResetContent()
{
    m_items.clear();
    m_itemData.clear();
    m_selected.clear();
    m_curSel = -1;
    m_caret = -1;
    m_anchor = -1;
    m_committed.clear();
    m_topIndex = 0;
    // Both combo kinds empty their edit field with the list, as the system control does.
    if (kind == ControlKind::DropDownList || kind == ControlKind::ComboBox) m_text.clear();
    Touch();
}

int ControlState::FindStringPrefix(int after, const std::string& prefix) const
{
    const int n = Count();
    for (int k = 1; k <= n; ++k) {
        const int i = (after + k) % n < 0 ? 0 : (after + k) % n;
        if (StartsWithNoCase(m_items[size_t(i)], prefix)) return i;
    }
    return -1;
}

int ControlState::FindStringExact(int after, const std::string& text) const
{
    const int n = Count();
    for (int k = 1; k <= n; ++k) {
        const int i = (after + k) % n < 0 ? 0 : (after + k) % n;
        const auto& item = m_items[size_t(i)];
        if (item.size() == text.size() && StartsWithNoCase(item, text)) return i;
    }
    return -1;
}

int64_t ControlState::ItemData(int index) const
{
    return index >= 0 && index < Count() ? m_itemData[size_t(index)] : -1;
}

bool ControlState::SetItemData(int index, int64_t data)
{
    if (index < 0 || index >= Count()) return false;
    m_itemData[size_t(index)] = data;
    return true;
}

int ControlState::SetCurSel(int index)
{
    if (index < -1 || index >= Count()) index = -1;
    m_curSel = index;
    if (index >= 0) m_caret = index;
    if (kind == ControlKind::DropDownList || kind == ControlKind::ComboBox)
        m_text = index >= 0 ? m_items[size_t(index)] : (kind == ControlKind::DropDownList ? std::string() : m_text);
    if (kind == ControlKind::ListBox) std::fill(m_selected.begin(), m_selected.end(), false);
    if (kind == ControlKind::ListBox && index >= 0) m_selected[size_t(index)] = true;
    Commit();
    Touch();
    return index;
}

int ControlState::SelectString(int after, const std::string& prefix)
{
    const int found = FindStringPrefix(after, prefix);
    if (found >= 0) SetCurSel(found);
    return found;
}

bool ControlState::IsSelected(int index) const
{
    if (kind != ControlKind::MultiListBox) return index >= 0 && index == m_curSel;
    return index >= 0 && index < Count() && m_selected[size_t(index)];
}

bool ControlState::SetSel(int index, bool select)
{
    if (index == -1) {
        std::fill(m_selected.begin(), m_selected.end(), select);
        Commit();
        Touch();
        return true;
    }
    if (index < 0 || index >= Count()) return false;
    m_selected[size_t(index)] = select;
    Commit();
    Touch();
    return true;
}

int ControlState::SelCount() const
{
    if (kind != ControlKind::MultiListBox) return m_curSel >= 0 ? 1 : 0;
    return int(std::count(m_selected.begin(), m_selected.end(), true));
}

std::vector<int> ControlState::SelItems() const
{
    std::vector<int> out;
    for (int i = 0; i < Count(); ++i)
        if (IsSelected(i)) out.push_back(i);
    return out;
}

void ControlState::SetCaretIndex(int index)
{
    m_caret = index >= 0 && index < Count() ? index : -1;
    Touch();
}

void ControlState::Commit() { m_committed = m_selected; }

void ControlState::SelectFromAnchor(int line)
{
    const int anchor = m_anchor >= 0 && m_anchor < Count() ? m_anchor : line;
    const auto [first, last] = std::minmax(anchor, line);
    if (m_committed.size() != m_selected.size()) Commit();
    for (int i = 0; i < Count(); ++i) m_selected[size_t(i)] = m_committed[size_t(i)] || (i >= first && i <= last);
}

bool ControlState::ClickLine(int line, unsigned keys)
{
    if (line < 0 || line >= Count()) return false;
    if (kind == ControlKind::ListBox) {
        const bool changed = line != m_curSel;
        SetCurSel(line);
        return changed;
    }
    if (kind != ControlKind::MultiListBox) return false;
    const std::vector<bool> before = m_selected;
    if (Extended() && (keys & MK_SHIFT)) {
        SelectFromAnchor(line);
    } else {
        if (Extended() && !(keys & MK_CONTROL)) {
            std::fill(m_selected.begin(), m_selected.end(), false);
            m_selected[size_t(line)] = true;
        } else {
            m_selected[size_t(line)] = !m_selected[size_t(line)];
        }
        m_anchor = line;
        Commit();
    }
    m_caret = line;
    Touch();
    return m_selected != before;
}

bool ControlState::PressListKey(unsigned key, unsigned keys)
{
    const int n = Count();
    if (n == 0 || (kind != ControlKind::ListBox && kind != ControlKind::MultiListBox)) return false;
    const std::vector<bool> before = m_selected;
    if (key == VK_SPACE) {
        if (kind != ControlKind::MultiListBox || m_caret < 0) return false;
        const size_t at = size_t(m_caret);
        m_selected[at] = Extended() && !(keys & MK_CONTROL) ? true : !m_selected[at];
        m_anchor = m_caret;
        Commit();
        Touch();
        return m_selected != before;
    }
    int target = 0;
    switch (key) {
    case VK_UP: target = m_caret < 0 ? 0 : std::max(m_caret - 1, 0); break;
    case VK_DOWN: target = m_caret < 0 ? 0 : std::min(m_caret + 1, n - 1); break;
    case VK_HOME: target = 0; break;
    case VK_END: target = n - 1; break;
    default: return false;
    }
    if (kind == ControlKind::ListBox) {
        const bool changed = target != m_curSel;
        SetCurSel(target);
        return changed;
    }
    if (Extended() && (keys & MK_SHIFT)) {
        SelectFromAnchor(target);
    } else if (Extended() && !(keys & MK_CONTROL)) {
        std::fill(m_selected.begin(), m_selected.end(), false);
        m_selected[size_t(target)] = true;
        m_anchor = target;
        Commit();
    }
    m_caret = target;
    Touch();
    return m_selected != before;
}

void ControlState::SetTopIndex(int index)
{
    m_topIndex = std::clamp(index, 0, std::max(Count() - 1, 0));
    Touch();
}

int ControlState::InsertNode(const std::string& text, int image, int parent)
{
    if (parent != 0 && !Node(parent)) parent = 0;
    TreeNode node;
    node.handle = m_nextHandle++;
    node.parent = parent;
    node.text = text;
    node.image = image;
    m_nodes.push_back(node);
    Touch();
    return node.handle;
}

void ControlState::DeleteAllNodes()
{
    m_nodes.clear();
    m_selectedNode = 0;
    m_firstVisible = 0;
    Touch();
}

const TreeNode* ControlState::Node(int handle) const
{
    for (const auto& n : m_nodes)
        if (n.handle == handle) return &n;
    return nullptr;
}

std::vector<int> ControlState::Children(int parent) const
{
    std::vector<int> out;
    for (const auto& n : m_nodes)
        if (n.parent == parent) out.push_back(n.handle);
    return out;
}

bool ControlState::SetNodeText(int handle, const std::string& text)
{
    for (auto& n : m_nodes)
        if (n.handle == handle) {
            n.text = text;
            Touch();
            return true;
        }
    return false;
}

bool ControlState::ExpandNode(int handle, bool expand)
{
    for (auto& n : m_nodes)
        if (n.handle == handle) {
            n.expanded = expand;
            Touch();
            return true;
        }
    return false;
}

bool ControlState::SetNodeData(int handle, int64_t data)
{
    for (auto& n : m_nodes)
        if (n.handle == handle) {
            n.data = data;
            return true;
        }
    return false;
}

bool ControlState::SelectNode(int handle)
{
    if (handle != 0 && !Node(handle)) return false;
    m_selectedNode = handle;
    Touch();
    return true;
}

bool ControlState::SetFirstVisibleNode(int handle)
{
    if (!Node(handle)) return false;
    m_firstVisible = handle;
    Touch();
    return true;
}

int ControlState::FindNode(const std::string& text) const
{
    for (const auto& n : m_nodes)
        if (n.text == text) return n.handle;
    return 0;
}

void ControlState::SetRange(int lower, int upper)
{
    m_lower = lower;
    m_upper = upper;
    m_pos = std::clamp(m_pos, std::min(lower, upper), std::max(lower, upper));
    Touch();
}

int ControlState::SetPos(int pos)
{
    const int previous = m_pos;
    m_pos = std::clamp(pos, std::min(m_lower, m_upper), std::max(m_lower, m_upper));
    Touch();
    return previous;
}

int ControlState::SetStep(int step)
{
    const int previous = m_step;
    m_step = step;
    return previous;
}

int ControlState::StepIt()
{
    const int previous = m_pos;
    const int64_t next = int64_t(m_pos) + m_step;
    // Past the end the bar starts again from the lower bound, as progress bars do.
    m_pos = next > m_upper ? int(m_lower + (next - m_upper)) : int(next);
    if (m_pos > m_upper || m_pos < m_lower) m_pos = m_lower;
    Touch();
    return previous;
}

void ControlState::SetReadOnly(bool readOnly)
{
    const unsigned next = readOnly ? style | kReadOnly : style & ~unsigned(kReadOnly);
    if (next == style) return;
    style = next;
    Touch();
}
