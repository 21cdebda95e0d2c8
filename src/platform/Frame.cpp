#include "platform/Frame.h"

#include <algorithm>
#include <set>

namespace {
IFrame* g_frame = nullptr;
std::function<std::string(int)> g_promptSource;
ImageDrawer g_commandImages;
ImageDrawer g_resourceImages;

const MenuItem* FindIn(const std::vector<MenuItem>& items, int id)
{
    for (const auto& item : items) {
        if (item.id == id && !item.IsPopup() && id != 0) return &item;
        if (const MenuItem* found = FindIn(item.items, id)) return found;
    }
    return nullptr;
}
} // namespace

IFrame* Frame() { return g_frame; }

void SetCommandPromptSource(std::function<std::string(int id)> source) { g_promptSource = std::move(source); }
std::string CommandPrompt(int id) { return g_promptSource ? g_promptSource(id) : std::string(); }

void SetImageDrawers(ImageDrawer commands, ImageDrawer resources)
{
    g_commandImages = std::move(commands);
    g_resourceImages = std::move(resources);
}
bool DrawCommandImage(int id, Dc& dc, int size) { return g_commandImages && g_commandImages(id, dc, size); }
bool DrawResourceImage(int id, Dc& dc, int size) { return g_resourceImages && g_resourceImages(id, dc, size); }

IFrame* SetFrame(IFrame* frame)
{
    IFrame* previous = g_frame;
    g_frame = frame;
    return previous;
}

void CommandMap::Add(int id, Handler handler, UpdateHandler update, CodePlace where)
{
    m_entries[id] = {std::move(handler), std::move(update)};
    m_additions.push_back({id, where});
}

void CommandMap::AddRange(int first, int last, std::function<void(int)> handler,
                          std::function<void(int, CommandState&)> update, CodePlace where)
{
    for (int id = first; id <= last; ++id)
        Add(
            id, [handler, id] { handler(id); },
            update ? UpdateHandler([update, id](CommandState& s) { update(id, s); }) : nullptr, where);
}

namespace {

// A source path from the project's folder on ("src/app/MainFrame.cpp"). The build maps the
// folder away (-fmacro-prefix-map); an object a compiler cache made elsewhere may still
// name it from its build folder ("../../src/...") or by its absolute path.
std::string ProjectPath(std::string file)
{
#ifdef BRONTE_SOURCE_ROOT
    const std::string root = BRONTE_SOURCE_ROOT;
    if (file.compare(0, root.size(), root) == 0) return file.substr(root.size());
#endif
    while (file.compare(0, 3, "../") == 0) file.erase(0, 3);
    return file;
}

} // namespace

void CommandMap::Hold(int id, CodePlace where) { m_additions.push_back({id, where, true}); }

bool CommandMap::Claims(int id) const
{
    return std::any_of(m_additions.begin(), m_additions.end(), [id](const Addition& a) { return a.id == id; });
}

std::vector<std::string> CommandIdClashes(std::initializer_list<const CommandMap*> maps)
{
    const auto place = [](const CodePlace& where) { return ProjectPath(where.file) + ":" + std::to_string(where.line); };
    const auto first = [](const CommandMap::Addition& a) { return a.held ? "held for a dormant command at " : "added at "; };
    const auto second = [](const CommandMap::Addition& earlier, const CommandMap::Addition& a) {
        return a.held ? "held for a dormant command at " : earlier.held ? "added at " : "at ";
    };
    std::map<int, CommandMap::Addition> earliest;
    std::vector<std::string> clashes;
    for (const CommandMap* map : maps)
        for (const CommandMap::Addition& a : map->Additions()) {
            const auto [it, added] = earliest.try_emplace(a.id, a);
            if (!added)
                clashes.push_back("Command id " + std::to_string(a.id) + " is " + first(it->second) +
                                  place(it->second.where) + " and " + second(it->second, a) + place(a.where));
        }
    return clashes;
}

std::vector<std::string> UnclaimedCommandIds(const std::vector<int>& used, std::initializer_list<const CommandMap*> maps)
{
    std::set<int> unclaimed;
    for (int id : used)
        if (id != 0 && std::none_of(maps.begin(), maps.end(), [id](const CommandMap* m) { return m->Claims(id); }))
            unclaimed.insert(id);
    std::vector<std::string> lines;
    for (int id : unclaimed)
        lines.push_back("Command id " + std::to_string(id) +
                        " is shown by a menu, a toolbar or a key, and no command map adds or holds it");
    return lines;
}

bool CommandMap::Has(int id) const { return m_entries.count(id) != 0; }

bool CommandMap::OnCommand(int id)
{
    const auto it = m_entries.find(id);
    if (it == m_entries.end() || !it->second.handler) return false;
    it->second.handler();
    return true;
}

bool CommandMap::OnUpdateCommand(CommandState& state)
{
    const auto it = m_entries.find(state.id);
    if (it == m_entries.end()) return false;
    state.enabled = true;
    if (it->second.update) it->second.update(state);
    return true;
}

bool IFrame::RouteCommand(int id)
{
    if (!QueryCommand(id).enabled) return false;
    SetPaneText(0, std::string()); // an earlier command's last word does not speak for this one
    if (CWnd* child = ActiveChild())
        if (child->OnCommand(id)) return true;
    if (m_handler && m_handler->OnCommand(id)) return true;
    return m_app && m_app->OnCommand(id);
}

CommandState IFrame::QueryCommand(int id)
{
    CommandState state;
    state.id = id;
    if (CWnd* child = ActiveChild())
        if (child->OnUpdateCommand(state)) return state;
    if (m_handler && m_handler->OnUpdateCommand(state)) return state;
    if (m_app && m_app->OnUpdateCommand(state)) return state;
    state.enabled = false; // nobody handles it
    return state;
}

std::string MenuItemLabel(const std::string& text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\t') break;
        if (text[i] == '&') {
            if (i + 1 < text.size() && text[i + 1] == '&') out += '&', ++i;
            continue;
        }
        out += text[i];
    }
    return out;
}

const MenuItem* FindMenuItem(const Menu& menu, int id) { return FindIn(menu.items, id); }
