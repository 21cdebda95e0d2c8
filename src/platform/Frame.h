// The main frame: menus, toolbars, status bar, placement, pop-up menus and the
// MDI children, plus command routing (active child, then frame, then application).
// The Qt backend and the scripted test frame implement IFrame; system code reaches
// it through Frame().
#pragma once

#include "platform/Geometry.h"
#include "platform/Input.h"
#include "platform/Wnd.h"

#include <functional>
#include <initializer_list>
#include <map>
#include <string>
#include <vector>

struct MenuItem {
    std::string text; // '&' marks the mnemonic; "\t" precedes the key label
    int id = 0;       // 0 with no items: a separator
    std::vector<MenuItem> items;
    bool IsSeparator() const { return id == 0 && items.empty() && text.empty(); }
    bool IsPopup() const { return !items.empty(); }
};

struct Menu {
    int id = 0;
    std::vector<MenuItem> items; // the bar's pop-ups, or a pop-up menu's entries
    int windowMenu = -1;         // the bar pop-up that also lists the open windows; -1 none
};

struct ToolBarDef {
    enum Dock { Top, Left, Bottom, Right };
    int id = 0;
    std::vector<int> buttons; // command ids; 0 is a separator
    Dock dock = Top;
};

enum : unsigned { kModShift = 0x1, kModControl = 0x2, kModAlt = 0x4 };

struct Accelerator {
    unsigned key = 0;
    unsigned modifiers = 0;
    int command = 0;
};

// Enable and check state of one command, as update handlers set it.
struct CommandState {
    int id = 0;
    bool enabled = true;
    int check = 0; // 0 unchecked, 1 checked, 2 indeterminate
};

class ICommandTarget {
public:
    virtual ~ICommandTarget() = default;
    virtual bool OnCommand(int id) = 0;                   // true when handled
    virtual bool OnUpdateCommand(CommandState& state) = 0; // true when the id is known here
};

// Where in the code a command was added. Made from the compilers' builtins rather than
// std::source_location, which the fuzzing build's clang does not have with this library.
// The builtins stand in the default arguments themselves, so they name the caller.
struct CodePlace {
    const char* file = "";
    int line = 0;
};

// A table of command handlers and update handlers. An id added again takes the later
// handler; every addition is remembered with the place in the code that made it, so
// that CommandIdClashes can name both places of a clash.
class CommandMap : public ICommandTarget {
public:
    using Handler = std::function<void()>;
    using UpdateHandler = std::function<void(CommandState&)>;
    void Add(int id, Handler handler, UpdateHandler update = nullptr,
             CodePlace where = {__builtin_FILE(), __builtin_LINE()});
    void AddRange(int first, int last, std::function<void(int)> handler,
                  std::function<void(int, CommandState&)> update = nullptr,
                  CodePlace where = {__builtin_FILE(), __builtin_LINE()});
    // Holds the id of a menu entry or button that has no handler in this edition (a
    // dormant command): it stays disabled, and a command later added under it is a
    // clash, as a second handler would be, until the hold is taken out.
    void Hold(int id, CodePlace where = {__builtin_FILE(), __builtin_LINE()});
    bool Has(int id) const;
    // True for an id added or held here.
    bool Claims(int id) const;
    bool OnCommand(int id) override;
    bool OnUpdateCommand(CommandState& state) override;

    struct Addition {
        int id = 0;
        CodePlace where;
        bool held = false; // by Hold: no handler
    };
    // Every Add and Hold in order, the ones whose id was already there included.
    const std::vector<Addition>& Additions() const { return m_additions; }

private:
    struct Entry {
        Handler handler;
        UpdateHandler update;
    };
    std::map<int, Entry> m_entries;
    std::vector<Addition> m_additions;
};

// One line for every id added twice, within a map or across the maps given (the frame's
// and the application's: routing would only ever reach one of the two handlers), naming
// both places: "Command id 57650 is added at src/app/MainFrame.cpp:44 and at src/app/X.cpp:12";
// a held id added: "Command id 32776 is held for a dormant command at ... and added at ...".
// A new command takes an id no map holds yet; a debug start-up refuses a clash.
std::vector<std::string> CommandIdClashes(std::initializer_list<const CommandMap*> maps);

// One line for every id of `used` (the ids menus, toolbars and accelerators show) that no
// map adds or holds: "Command id 32776 is shown by a menu, a toolbar or a key, and no
// command map adds or holds it". A debug start-up refuses it as it refuses a clash.
std::vector<std::string> UnclaimedCommandIds(const std::vector<int>& used,
                                             std::initializer_list<const CommandMap*> maps);

// What the frame needs of the system's main-frame class.
class IFrameHandler : public ICommandTarget {
public:
    virtual int OnCreate() = 0;  // -1 fails the creation
    virtual void OnClose() = 0;  // the user asked to close the main window
    // Keys before they are dispatched; true when consumed.
    virtual bool PreTranslateKey(unsigned key, unsigned modifiers) { (void)key, (void)modifiers; return false; }
    virtual void OnContextMenuKey() {}
};

// What the frame needs of the application object.
class IAppHandler : public ICommandTarget {
public:
    // A key or mouse button was pressed somewhere (before it is processed).
    virtual void OnInputEvent() {}
    // Idle time: return true to be called again.
    virtual bool OnIdle(long count) { (void)count; return false; }
    virtual void OnTimer(unsigned id) { (void)id; }
};

struct WindowPlacement {
    unsigned flags = 0;
    unsigned showCmd = SW_SHOWNORMAL;
    Point minPosition{-1, -1};
    Point maxPosition{-1, -1};
    Rect normal;
};

class IFrame {
public:
    virtual ~IFrame() = default;

    // ---- the main window -------------------------------------------------------------------
    // Creates the main window and calls handler->OnCreate; false when either fails.
    virtual bool Create(const std::string& title, IFrameHandler* handler, IAppHandler* app) = 0;
    // Closes the main window without asking (ends the program).
    virtual void Destroy() = 0;
    virtual bool Exists() const = 0;
    virtual void Show(unsigned showCmd) = 0;
    virtual void Update() = 0;
    virtual bool IsIconic() const = 0;
    virtual bool IsZoomed() const = 0;
    virtual bool GetPlacement(WindowPlacement& placement) const = 0;
    virtual void SetPlacement(const WindowPlacement& placement) = 0;
    virtual bool IsEnabled() const = 0;
    virtual void Enable(bool enable) = 0;

    // ---- menus, toolbars, status bar ---------------------------------------------------------
    virtual void SetMenu(const Menu& menu) = 0; // a mode's menu bar; no window menu
    virtual int MenuId() const = 0;
    virtual void SetAccelerators(const std::vector<Accelerator>& table) = 0;
    virtual bool CreateToolBar(const ToolBarDef& toolBar) = 0;
    virtual bool HasToolBar(int id) const = 0;
    virtual void ShowToolBar(int id, bool show) = 0;
    virtual bool IsToolBarVisible(int id) const = 0;
    // Pane widths in pixels; -1 stretches over the free width.
    virtual bool CreateStatusBar(const std::vector<int>& paneWidths) = 0;
    virtual void SetPaneText(int pane, const std::string& text) = 0;
    virtual std::string PaneText(int pane) const = 0;
    virtual void ShowStatusBar(bool show) = 0;
    virtual bool IsStatusBarVisible() const = 0;
    // Shows a pop-up menu at a screen point; the chosen command is routed.
    virtual void TrackPopupMenu(const Menu& menu, Point screen) = 0;
    virtual Point ClientToScreen(Point client) const = 0;
    virtual void SetAppTimer(unsigned id, unsigned milliseconds) = 0;
    virtual void KillAppTimer(unsigned id) = 0;

    // ---- MDI children --------------------------------------------------------------------------
    virtual bool CreateChild(CWnd& window, const WindowClass& windowClass, const std::string& caption,
                             unsigned style) = 0;
    virtual void DestroyChild(CWnd& window) = 0;
    virtual CWnd* ActiveChild() const = 0;
    virtual void ActivateChild(CWnd& window) = 0;
    virtual std::vector<CWnd*> Children() const = 0;
    virtual void Cascade() = 0;
    virtual void TileHorizontal() = 0;
    virtual void TileVertical() = 0;

    // ---- command routing (shared by every backend) ----------------------------------------------
    // Routes a command to the active child, the frame, then the application.
    bool RouteCommand(int id);
    // The state of a command: disabled when nobody handles it.
    CommandState QueryCommand(int id);

protected:
    IFrameHandler* m_handler = nullptr;
    IAppHandler* m_app = nullptr;
};

// The installed frame; nullptr when none (library code then skips window work).
IFrame* Frame();
IFrame* SetFrame(IFrame* frame);

class ScopedFrame {
public:
    explicit ScopedFrame(IFrame* frame) : m_previous(SetFrame(frame)) {}
    ~ScopedFrame() { SetFrame(m_previous); }
    ScopedFrame(const ScopedFrame&) = delete;
    ScopedFrame& operator=(const ScopedFrame&) = delete;

private:
    IFrame* m_previous;
};

// Status-bar prompt and tool tip of a command ("prompt\ntip"), as the program's
// resources give them; the application installs the source at start-up.
void SetCommandPromptSource(std::function<std::string(int id)> source);
std::string CommandPrompt(int id);

// Images drawn in code on a square of `size` device pixels: toolbar buttons by
// command id, icons and pictures by resource id. A drawer returns false when it
// has no image of that id; the application installs the drawers at start-up.
using ImageDrawer = std::function<bool(int id, Dc& dc, int size)>;
void SetImageDrawers(ImageDrawer commands, ImageDrawer resources);
bool DrawCommandImage(int id, Dc& dc, int size);
bool DrawResourceImage(int id, Dc& dc, int size);
// The program's icon, as the framework numbers the main frame's resources.
constexpr int kProgramIcon = 128;

// The text of a menu item without '&' and without the key label after "\t".
std::string MenuItemLabel(const std::string& text);
// Finds the item with this command id anywhere in the menu (nullptr when absent).
const MenuItem* FindMenuItem(const Menu& menu, int id);
