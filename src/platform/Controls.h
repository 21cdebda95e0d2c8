// Dialog controls as data: a template lists them, and each live dialog keeps one
// ControlState per control. The state is the truth: handlers read and change it,
// and a backend mirrors it on screen (the scripted host simply keeps it).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

enum class ControlKind {
    Static,
    Picture,
    GroupBox,
    Edit,          // one line
    MultiLineEdit, // keeps "\r\n" line ends
    Button,
    CheckBox,
    RadioButton,   // consecutive radio buttons form one set; a set starts at kGroupStart
    DropDownList,  // combo box without an edit field
    ComboBox,      // editable combo box
    ListBox,       // single selection
    MultiListBox,  // multiple selection: a click toggles its line (kExtendedSel: Ctrl and Shift add)
    TabControl,
    Tree,          // tree with small icons
    ProgressBar,
    OwnerDraw,     // the dialog draws it (CDialog::OnDrawItem); a click notifies Clicked
    Trackbar,      // horizontal slider over the range of SetRange; the user moves Pos, nothing is notified
};

enum ControlStyle : unsigned {
    kDefaultButton = 0x1,
    kReadOnly = 0x2,
    kSorted = 0x4,     // list and combo boxes keep their items sorted
    kGroupStart = 0x8, // starts a new radio set
    kVScroll = 0x10,
    kThreeState = 0x20,
    kHidden = 0x40,
    kDisabled = 0x80,
    kPathEllipsis = 0x100, // a static showing a file's path: room for a line of one, a longer one elided
    kExtendedSel = 0x200,  // a multiple-selection list whose plain click replaces the selection
};

// Notifications a control sends to its dialog.
enum class Notify {
    Clicked,     // buttons, check boxes, radio buttons
    SelChange,   // list, combo and tab selection; tree selection
    DblClick,    // list boxes and trees
    EditChange,  // edit text and combo edit text changed by the user
    KillFocus,
};

struct ControlTemplate {
    int id = 0;
    ControlKind kind = ControlKind::Static;
    std::string text;
    int group = 0;      // id of the group box the control sits in (0: none); lays it out
    unsigned style = 0; // ControlStyle bits
};

enum DialogStyle : unsigned {
    kDialogNoCaption = 0x1, // no caption bar and no frame buttons (a splash)
};

struct DialogTemplate {
    int id = 0;
    std::string caption;
    std::vector<ControlTemplate> controls;
    unsigned style = 0; // DialogStyle bits
};

struct TreeNode {
    int handle = 0;
    int parent = 0; // 0: a root node
    std::string text;
    int image = 0;
    bool expanded = false;
    int64_t data = 0;
};

class ControlState {
public:
    ControlState() = default;
    explicit ControlState(const ControlTemplate& t);

    int id = 0;
    ControlKind kind = ControlKind::Static;
    unsigned style = 0;
    int group = 0;

    // Common state.
    const std::string& Text() const { return m_text; }
    void SetText(const std::string& text);
    bool Enabled() const { return m_enabled; }
    void Enable(bool enable);
    bool Visible() const { return m_visible; }
    void Show(bool show);
    int Check() const { return m_check; } // 0, 1 or 2 (indeterminate)
    void SetCheck(int state);
    int LimitText() const { return m_limitText; } // 0: no limit
    void SetLimitText(int chars);
    // The user typed `text` over the control's: it is kept up to the length limit
    // (setting a limit never cuts a text already there), and an editable combo box
    // loses its selection. A read-only control takes nothing. True when the text changed.
    bool TypeText(const std::string& text);
    // A number the program shows as `text`, often with fewer digits than `value` holds
    // ("%10.2f" of 0.125). While the control's text reads as the number that text reads as,
    // whatever was typed in between (the text itself, its blanks taken out, its digits
    // typed again), the value is what it means (ShownNumber): an edit left as it was shown
    // gives back every digit. The program's own SetText ends this.
    void ShowNumber(const std::string& text, double value);
    std::optional<double> ShownNumber() const;
    bool ReadOnly() const { return style & kReadOnly; }
    void SetReadOnly(bool readOnly);

    // List, combo and tab items.
    int Count() const { return int(m_items.size()); }
    const std::string& ItemText(int index) const;
    int AddString(const std::string& text); // sorted controls insert in order; returns the index
    int InsertString(int index, const std::string& text); // -1 appends
    int DeleteString(int index);                           // returns the count left, or -1
    void ResetContent();
    int FindStringPrefix(int after, const std::string& prefix) const; // case-insensitive; -1 none
    int FindStringExact(int after, const std::string& text) const;
    int64_t ItemData(int index) const;
    bool SetItemData(int index, int64_t data);
    int CurSel() const { return m_curSel; } // -1: none
    int SetCurSel(int index);              // -1 clears; returns the index or -1
    int SelectString(int after, const std::string& prefix); // by prefix; returns the index or -1
    // Multiple selection.
    bool IsSelected(int index) const;
    bool SetSel(int index, bool select); // index -1: every item
    int SelCount() const;
    std::vector<int> SelItems() const;
    int CaretIndex() const { return m_caret; }
    void SetCaretIndex(int index);
    int TopIndex() const { return m_topIndex; }
    void SetTopIndex(int index);
    // The user at a list box, as its style has it; each is true when the selection
    // changed. A click on `line` with `keys` (MK_SHIFT, MK_CONTROL): a single-selection
    // list selects the line; a multiple-selection one toggles it, whatever the keys; an
    // extended one makes it the only selected line, toggles it with Ctrl, and with Shift
    // selects from the anchor (the line last clicked or reached without Shift) to it
    // beside what was selected before that anchor was set.
    bool ClickLine(int line, unsigned keys);
    // A key (VK_UP, VK_DOWN, VK_HOME, VK_END, VK_SPACE) moves the caret: a single-selection
    // list selects where it lands; a multiple-selection one only moves it, Space toggling
    // the caret's line; an extended one selects the line it lands on alone, with Shift the
    // lines from the anchor, with Ctrl nothing (Space adds the caret's line, Ctrl+Space
    // toggles it).
    bool PressListKey(unsigned key, unsigned keys);

    // Tree.
    int InsertNode(const std::string& text, int image, int parent = 0); // returns the node handle
    void DeleteAllNodes();
    const TreeNode* Node(int handle) const;
    std::vector<int> Children(int parent) const; // in insertion order
    bool SetNodeText(int handle, const std::string& text);
    bool ExpandNode(int handle, bool expand = true);
    bool SetNodeData(int handle, int64_t data);
    int SelectedNode() const { return m_selectedNode; }
    bool SelectNode(int handle);
    int FirstVisibleNode() const { return m_firstVisible; }
    bool SetFirstVisibleNode(int handle);
    int FindNode(const std::string& text) const; // first node with this text, 0 none
    const std::vector<TreeNode>& Nodes() const { return m_nodes; }

    // Progress bar (32-bit range).
    void SetRange(int lower, int upper);
    int RangeLower() const { return m_lower; }
    int RangeUpper() const { return m_upper; }
    int Pos() const { return m_pos; }
    int SetPos(int pos); // returns the previous position
    int SetStep(int step); // returns the previous step
    int StepIt(); // advances by the step, wrapping to the lower bound past the upper; returns the previous position

    // Owner-drawn controls: the dialog's drawing changed and must be shown again.
    void Invalidate() { Touch(); }

    // Incremented by every change, so a backend mirrors only what changed.
    uint64_t Revision() const { return m_revision; }

private:
    void Touch() { ++m_revision; }
    void PutText(const std::string& text);
    bool Extended() const { return kind == ControlKind::MultiListBox && (style & kExtendedSel); }
    // The selection as it stands becomes what a Shift range is added to.
    void Commit();
    // The committed selection with the lines from the anchor to `line`.
    void SelectFromAnchor(int line);

    std::string m_text;
    std::optional<double> m_shownNumber; // of ShowNumber, with the text it showed
    std::string m_shownNumberText;
    bool m_enabled = true;
    bool m_visible = true;
    int m_check = 0;
    int m_limitText = 0;
    std::vector<std::string> m_items;
    std::vector<int64_t> m_itemData;
    std::vector<bool> m_selected;
    int m_curSel = -1;
    int m_caret = -1;
    int m_anchor = -1;                // where a Shift range starts
    std::vector<bool> m_committed;    // the selection a Shift range adds to
    int m_topIndex = 0;
    std::vector<TreeNode> m_nodes;
    int m_nextHandle = 1;
    int m_selectedNode = 0;
    int m_firstVisible = 0;
    int m_lower = 0;
    int m_upper = 100;
    int m_pos = 0;
    int m_step = 10;
    uint64_t m_revision = 0;
};
