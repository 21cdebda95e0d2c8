#include "platform/testing/ScriptedHost.h"

#include "platform/BinaryFile.h"
#include "platform/Dialog.h"
#include "platform/Format.h"
#include "platform/Frame.h"
#include "platform/PrintJob.h"

#include <algorithm>

// ---- DialogScript -------------------------------------------------------------------

namespace {
DialogScript::Action MakeAction(DialogScript::Action::Kind kind, int id = 0, int value = 0,
                                const std::string& text = std::string())
{
    DialogScript::Action a;
    a.kind = kind;
    a.id = id;
    a.value = value;
    a.text = text;
    return a;
}
} // namespace

DialogScript& DialogScript::Type(int id, const std::string& text)
{
    actions.push_back(MakeAction(Action::Type, id, 0, text));
    return *this;
}
DialogScript& DialogScript::Check(int id, int state)
{
    actions.push_back(MakeAction(Action::Check, id, state));
    return *this;
}
DialogScript& DialogScript::Radio(int id)
{
    actions.push_back(MakeAction(Action::Radio, id));
    return *this;
}
DialogScript& DialogScript::Select(int id, int index)
{
    actions.push_back(MakeAction(Action::Select, id, index));
    return *this;
}
DialogScript& DialogScript::Click(int id, int line, unsigned keys)
{
    Action a = MakeAction(Action::Click, id, line);
    a.keys = keys;
    actions.push_back(a);
    return *this;
}
DialogScript& DialogScript::Key(int id, unsigned key, unsigned keys)
{
    Action a = MakeAction(Action::Key, id, int(key));
    a.keys = keys;
    actions.push_back(a);
    return *this;
}
DialogScript& DialogScript::SelectText(int id, const std::string& item)
{
    actions.push_back(MakeAction(Action::SelectText, id, 0, item));
    return *this;
}
DialogScript& DialogScript::SelectMany(int id, const std::vector<int>& indices)
{
    Action a = MakeAction(Action::SelectMany, id);
    a.indices = indices;
    actions.push_back(a);
    return *this;
}
DialogScript& DialogScript::DoubleClick(int id, int index)
{
    actions.push_back(MakeAction(Action::DoubleClick, id, index));
    return *this;
}
DialogScript& DialogScript::SelectNode(int id, const std::string& text)
{
    actions.push_back(MakeAction(Action::SelectNode, id, 0, text));
    return *this;
}
DialogScript& DialogScript::DoubleClickNode(int id, const std::string& text)
{
    actions.push_back(MakeAction(Action::DoubleClickNode, id, 0, text));
    return *this;
}
DialogScript& DialogScript::Press(int id)
{
    actions.push_back(MakeAction(Action::Press, id));
    return *this;
}
DialogScript& DialogScript::Enter()
{
    actions.push_back(MakeAction(Action::Enter));
    return *this;
}
DialogScript& DialogScript::Escape()
{
    actions.push_back(MakeAction(Action::Escape));
    return *this;
}
DialogScript& DialogScript::Pumps(int count)
{
    actions.push_back(MakeAction(Action::Pumps, 0, count));
    return *this;
}
DialogScript& DialogScript::Inspect(std::function<void(CDialog&)> check)
{
    Action a = MakeAction(Action::Inspect);
    a.inspect = std::move(check);
    actions.push_back(a);
    return *this;
}

const ControlState* ShownDialog::Item(int id) const
{
    for (const auto& c : controls)
        if (c.id == id) return &c;
    return nullptr;
}

// ---- ScriptedHost ---------------------------------------------------------------------

ScriptedHost::ScriptedHost() = default;

void ScriptedHost::Unexpected(const std::string& what)
{
    if (onUnexpected) onUnexpected(what);
}

void ScriptedHost::ExpectMessage(const std::string& textPart, int answer) { m_expected.push_back({textPart, answer}); }

void ScriptedHost::ExpectFileDialog(const std::string& titlePart, const std::string& path)
{
    m_fileAnswers.push_back({titlePart, path});
}

void ScriptedHost::ExpectFolder(const std::string& titlePart, const std::string& folder)
{
    m_folderAnswers.push_back({titlePart, folder});
}

DialogScript& ScriptedHost::ScriptDialog(int templateId)
{
    auto& queue = m_scripts[templateId];
    queue.push_back(std::make_unique<DialogScript>());
    return *queue.back();
}

const ShownDialog* ScriptedHost::LastDialog(int templateId) const
{
    for (auto it = m_dialogs.rbegin(); it != m_dialogs.rend(); ++it)
        if (it->templateId == templateId) return &*it;
    return nullptr;
}

std::vector<std::string> ScriptedHost::PendingExpectations() const
{
    std::vector<std::string> out;
    for (const auto& e : m_expected) out.push_back("message box \"" + e.textPart + "\"");
    for (const auto& f : m_fileAnswers) out.push_back("file dialog \"" + f.titlePart + "\"");
    for (const auto& f : m_folderAnswers) out.push_back("folder dialog \"" + f.titlePart + "\"");
    for (const auto& [id, queue] : m_scripts)
        for (size_t i = 0; i < queue.size(); ++i) out.push_back(Format("script of dialog %d", id));
    for (const auto& [dialog, script] : m_modelessScripts)
        for (const auto& a : script->actions)
            if (a.kind != DialogScript::Action::Pumps)
                out.push_back(Format("action on modeless dialog %d", dialog->TemplateId()));
    return out;
}

int ScriptedHost::MessageBox(const std::string& text, const std::string& caption, unsigned type)
{
    const MessageLayout layout = LayOutMessage(text);
    ShownMessage shown{text, layout.summary, layout.scrolled, caption.empty() ? DefaultCaption() : caption, type, 0,
                       false};
    if (!m_expected.empty() && text.find(m_expected.front().textPart) != std::string::npos) {
        shown.answer = m_expected.front().answer;
        shown.expected = true;
        m_expected.pop_front();
    } else {
        shown.answer = DefaultAnswer(type);
        m_messages.push_back(shown);
        Unexpected("unexpected message box: \"" + text + "\"");
        return shown.answer;
    }
    m_messages.push_back(shown);
    return shown.answer;
}

FileDialogResult ScriptedHost::FileDialog(const FileDialogOptions& options)
{
    ShownFileDialog shown{options, {}};
    if (!m_fileAnswers.empty() && options.title.find(m_fileAnswers.front().titlePart) != std::string::npos) {
        const std::string path = m_fileAnswers.front().path;
        m_fileAnswers.pop_front();
        if (!path.empty()) {
            if (options.open && (options.flags & kFileMustExist) && !FileExists(path))
                Unexpected("file dialog \"" + options.title + "\" cannot choose a missing file: " + path);
            else
                shown.result = MakeFileDialogResult(path, options.open ? std::string() : options.defaultExt);
        }
    } else {
        Unexpected("unexpected file dialog: \"" + options.title + "\"");
    }
    m_fileDialogs.push_back(shown);
    return shown.result;
}

bool ScriptedHost::ChooseFolder(const std::string& title, std::string& folder)
{
    if (!m_folderAnswers.empty() && title.find(m_folderAnswers.front().titlePart) != std::string::npos) {
        const std::string chosen = m_folderAnswers.front().path;
        m_folderAnswers.pop_front();
        if (chosen.empty()) return false;
        folder = chosen;
        return true;
    }
    Unexpected("unexpected folder dialog: \"" + title + "\"");
    return false;
}

bool ScriptedHost::ShellOpen(const std::string& target)
{
    m_shellOpened.push_back(target);
    return true;
}

bool ScriptedHost::SetCurrentDirectory(const std::string& path)
{
    currentDirectory = path;
    return true;
}

void ScriptedHost::EnableMainWindow(bool enable)
{
    if (enable) ++mainEnableCalls;
    else ++mainDisableCalls;
    mainEnabled = enable;
    if (Frame() && Frame()->Exists()) Frame()->Enable(enable);
}

bool ScriptedHost::PrinterSetup()
{
    ++printerSetups;
    return HostBase::PrinterSetup();
}

namespace {

// Records each page's operations into the host's list of printed documents.
class RecordingPrintJob : public IPrintJob {
public:
    RecordingPrintJob(std::vector<ScriptedHost::PrintedDocument>& out, DeviceCaps caps) : m_out(out), m_caps(caps) {}
    ~RecordingPrintJob() override
    {
        if (m_index >= 0 && !m_out[size_t(m_index)].ended) Abort();
    }
    bool StartDoc(const std::string& name) override
    {
        m_out.push_back({name, {}, false, false});
        m_index = int(m_out.size()) - 1;
        return true;
    }
    bool StartPage() override
    {
        if (m_index < 0) return false;
        m_page = std::make_unique<RecordingDc>(m_caps);
        return true;
    }
    Dc& PageDc() override
    {
        if (!m_page) m_page = std::make_unique<RecordingDc>(m_caps);
        return *m_page;
    }
    bool EndPage() override
    {
        if (m_index < 0 || !m_page) return false;
        m_out[size_t(m_index)].pages.push_back(m_page->ops);
        m_page.reset();
        return true;
    }
    bool EndDoc() override
    {
        if (m_index < 0) return false;
        m_out[size_t(m_index)].ended = true;
        return true;
    }
    void Abort() override
    {
        m_page.reset();
        if (m_index < 0) return;
        m_out[size_t(m_index)].aborted = true;
        m_out[size_t(m_index)].pages.clear();
    }
    DeviceCaps Caps() const override { return m_caps; }

private:
    std::vector<ScriptedHost::PrintedDocument>& m_out;
    DeviceCaps m_caps;
    int m_index = -1;
    std::unique_ptr<RecordingDc> m_page;
};

} // namespace

std::unique_ptr<IPrintJob> ScriptedHost::CreatePrintJob(const std::string&)
{
    if (!printerAvailable) return nullptr;
    return std::make_unique<RecordingPrintJob>(printed, printerCaps ? *printerCaps : PageCaps(PrinterPage()));
}

ShownDialog ScriptedHost::Snapshot(const CDialog& dialog) const
{
    ShownDialog shown;
    shown.templateId = dialog.TemplateId();
    shown.caption = dialog.Caption();
    shown.modal = dialog.IsModal();
    shown.endCode = dialog.EndCode();
    shown.centered = dialog.Centered();
    shown.focus = dialog.Focus();
    shown.controls = dialog.Controls();
    return shown;
}

int ScriptedHost::RunModal(CDialog& dialog)
{
    std::unique_ptr<DialogScript> script;
    auto& queue = m_scripts[dialog.TemplateId()];
    if (!queue.empty()) {
        script = std::move(queue.front());
        queue.pop_front();
    }
    if (queue.empty()) m_scripts.erase(dialog.TemplateId());

    dialog.InitDialog(true);
    if (!script) {
        Unexpected(Format("unexpected dialog %d \"%s\"", dialog.TemplateId(), dialog.Caption().c_str()));
        if (!dialog.Ended()) dialog.EndDialog(IDCANCEL);
    } else {
        RunActions(dialog, *script);
        if (!dialog.Ended()) {
            Unexpected(Format("dialog %d \"%s\" left open by its script", dialog.TemplateId(),
                              dialog.Caption().c_str()));
            dialog.EndDialog(IDCANCEL);
        } else if (!script->actions.empty()) {
            Unexpected(Format("dialog %d ended before its script did", dialog.TemplateId()));
        }
    }
    m_dialogs.push_back(Snapshot(dialog));
    return dialog.EndCode();
}

bool ScriptedHost::CreateModeless(CDialog& dialog)
{
    if (failModelessCreate) return false;
    m_modeless.push_back(&dialog);
    auto it = m_scripts.find(dialog.TemplateId());
    if (it != m_scripts.end() && !it->second.empty()) {
        m_modelessScripts[&dialog] = std::move(it->second.front());
        it->second.pop_front();
        if (it->second.empty()) m_scripts.erase(it);
    }
    dialog.InitDialog(false);
    auto script = m_modelessScripts.find(&dialog);
    if (script != m_modelessScripts.end()) RunActions(dialog, *script->second);
    return true;
}

void ScriptedHost::DestroyModeless(CDialog& dialog)
{
    const auto it = std::find(m_modeless.begin(), m_modeless.end(), &dialog);
    if (it == m_modeless.end()) return;
    m_modeless.erase(it);
    m_dialogs.push_back(Snapshot(dialog));
    const auto script = m_modelessScripts.find(&dialog);
    if (script != m_modelessScripts.end()) {
        for (const auto& a : script->second->actions)
            if (a.kind != DialogScript::Action::Pumps) {
                Unexpected(Format("modeless dialog %d closed before its script ended", dialog.TemplateId()));
                break;
            }
        m_modelessScripts.erase(script);
    }
}

void ScriptedHost::PumpEvents()
{
    ++m_pumps;
    clock += clockStepPerPump;
    const std::vector<CDialog*> live = m_modeless;
    for (CDialog* dialog : live) {
        if (std::find(m_modeless.begin(), m_modeless.end(), dialog) == m_modeless.end()) continue;
        const auto it = m_modelessScripts.find(dialog);
        if (it == m_modelessScripts.end()) continue;
        auto& actions = it->second->actions;
        if (!actions.empty() && actions.front().kind == DialogScript::Action::Pumps && actions.front().value > 0)
            --actions.front().value;
        RunActions(*dialog, *it->second);
    }
}

void ScriptedHost::Act(CDialog& dialog, DialogScript script) { RunActions(dialog, script); }

void ScriptedHost::RunActions(CDialog& dialog, DialogScript& script)
{
    // A handler that destroys its modeless dialog also frees this script: stop
    // before touching it again.
    while (!dialog.Ended() && dialog.IsWindow() && !script.actions.empty()) {
        DialogScript::Action& front = script.actions.front();
        if (front.kind == DialogScript::Action::Pumps) {
            if (front.value > 0 && !dialog.IsModal()) return;
            script.actions.pop_front();
            continue;
        }
        DialogScript::Action action = std::move(front);
        script.actions.pop_front();
        Perform(dialog, action);
    }
}

bool ScriptedHost::Perform(CDialog& dialog, DialogScript::Action& a)
{
    using K = DialogScript::Action;
    if (a.kind == K::Enter) {
        dialog.PressEnter();
        return true;
    }
    if (a.kind == K::Escape) {
        dialog.PressEscape();
        return true;
    }
    if (a.kind == K::Inspect) {
        a.inspect(dialog);
        return true;
    }
    ControlState* c = dialog.Item(a.id);
    if (!c) {
        Unexpected(Format("dialog %d has no control %d", dialog.TemplateId(), a.id));
        return false;
    }
    if (!c->Enabled() || !c->Visible()) {
        Unexpected(Format("control %d of dialog %d cannot be used: it is disabled or hidden", a.id,
                          dialog.TemplateId()));
        return false;
    }
    switch (a.kind) {
    case K::Type:
        if (c->ReadOnly()) {
            Unexpected(Format("control %d of dialog %d is read-only", a.id, dialog.TemplateId()));
            return false;
        }
        c->TypeText(a.text);
        dialog.Notify(a.id, Notify::EditChange);
        return true;
    case K::Check:
        c->SetCheck(a.value);
        dialog.Notify(a.id, Notify::Clicked);
        return true;
    case K::Radio:
        dialog.CheckRadio(a.id);
        dialog.Notify(a.id, Notify::Clicked);
        return true;
    case K::SelectText:
    case K::Select:
    case K::Click:
    case K::DoubleClick:
        return PerformChoice(dialog, *c, a);
    case K::Key:
        if (c->kind != ControlKind::ListBox && c->kind != ControlKind::MultiListBox) {
            Unexpected(Format("control %d of dialog %d is no list box", a.id, dialog.TemplateId()));
            return false;
        }
        if (c->PressListKey(unsigned(a.value), a.keys)) dialog.Notify(a.id, Notify::SelChange);
        return true;
    case K::SelectMany:
        c->SetSel(-1, false);
        for (int i : a.indices) c->SetSel(i, true);
        if (!a.indices.empty()) c->SetCaretIndex(a.indices.back());
        dialog.Notify(a.id, Notify::SelChange);
        return true;
    case K::SelectNode:
    case K::DoubleClickNode: {
        const int node = c->FindNode(a.text);
        if (!node) {
            Unexpected(Format("tree %d of dialog %d has no node \"%s\"", a.id, dialog.TemplateId(), a.text.c_str()));
            return false;
        }
        c->SelectNode(node);
        dialog.Notify(a.id, Notify::SelChange);
        if (a.kind == K::DoubleClickNode) dialog.Notify(a.id, Notify::DblClick);
        return true;
    }
    case K::Press:
        dialog.Notify(a.id, Notify::Clicked);
        return true;
    default:
        return false;
    }
}

// A line of a list or combo chosen, clicked or double-clicked, by its index or its text.
bool ScriptedHost::PerformChoice(CDialog& dialog, ControlState& c, DialogScript::Action& a)
{
    using K = DialogScript::Action;
    if (a.kind == K::SelectText) {
        a.value = c.FindStringExact(-1, a.text);
        if (a.value < 0) {
            Unexpected(Format("control %d of dialog %d has no item \"%s\"", a.id, dialog.TemplateId(),
                              a.text.c_str()));
            return false;
        }
    }
    if (a.value < 0 || a.value >= c.Count()) {
        Unexpected(Format("control %d of dialog %d has no item %d", a.id, dialog.TemplateId(), a.value));
        return false;
    }
    // A list line is clicked as the list's style has it (a double click's second
    // press changes no selection).
    if (c.kind == ControlKind::ListBox || c.kind == ControlKind::MultiListBox) {
        c.ClickLine(a.value, a.keys);
    } else if (a.kind == K::Click) {
        Unexpected(Format("control %d of dialog %d is no list box", a.id, dialog.TemplateId()));
        return false;
    } else {
        c.SetCurSel(a.value);
    }
    dialog.Notify(a.id, Notify::SelChange);
    if (a.kind == K::DoubleClick) dialog.Notify(a.id, Notify::DblClick);
    return true;
}

std::vector<std::string> ScriptedHost::DrawnItem(CDialog& dialog, int id, int cx, int cy) const
{
    RecordingDc dc;
    dialog.DrawItem(id, dc, {0, 0, cx, cy});
    return dc.ops;
}
