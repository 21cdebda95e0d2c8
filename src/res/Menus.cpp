#include "res/Menus.h"

#include "res/CommandIds.h"
#include "res/StringTable.h"

#include "platform/Format.h"

#include <map>
#include <set>

namespace {

MenuItem Item(const char* text, int id) { return {text, id, {}}; }
MenuItem Separator() { return {}; }
MenuItem Popup(const char* text, std::vector<MenuItem> items) { return {text, 0, std::move(items)}; }

MenuItem FileMenu(bool printerSetup)
{
    std::vector<MenuItem> items{Item("&Cnv\tCtrl+F1", ID_FILE_CNV), Item("&Lis\tCtrl+F2", ID_FILE_LIS),
                                Item("&Qtx\tCtrl+F3", ID_FILE_QTX), Separator()};
    if (printerSetup) {
        items.push_back(Item("&Printer Setup...", ID_FILE_PRINT_SETUP));
        items.push_back(Separator());
    }
    items.push_back(Item("E&xit", ID_APP_EXIT));
    return Popup("&File", items);
}

MenuItem HelpMenu()
{
    return Popup("&Help", {Item("&Help Topics", ID_HELP_FINDER), Separator(),
                           Item("&About BronteluxViewer...", ID_APP_ABOUT)});
}

MenuItem ViewMenu(bool controlBar)
{
    std::vector<MenuItem> items{Item("&Status Bar", ID_VIEW_STATUS_BAR)};
    if (controlBar) items.push_back(Item("&Control Bar", ID_VIEW_CONTROL_BAR));
    return Popup("&View", items);
}

// The Window menu's place on the bars that have it; it also lists the open views.
constexpr int kWindowMenuIndex = 2;

MenuItem WindowMenu()
{
    return Popup("&Window", {Item("&Cascade", ID_WINDOW_CASCADE), Item("Tile &Horizontal", ID_WINDOW_TILE_HORZ),
                             Item("Tile &Vertical", ID_WINDOW_TILE_VERT), Item("Close A&ll", ID_WINDOW_CLOSE_ALL)});
}

std::map<int, Menu> BuildMenus()
{
    std::map<int, Menu> m;
    m[kMenuStart] = {kMenuStart, {FileMenu(false), ViewMenu(false), HelpMenu()}};
    m[kMenuCnv] = {kMenuCnv,
                   {FileMenu(false), ViewMenu(false),
                    Popup("&Process", {Item("Scan &CNV\tCtrl+C", ID_SCAN_CNV), Separator(),
                                       Item("Convert CNV\tAlt+C", ID_CONVERT_CNV)}),
                    HelpMenu()}};
    m[kMenuLis] = {kMenuLis,
                   {FileMenu(false), ViewMenu(false),
                    Popup("&Process", {Item("Scan &Lis\tCtrl+L", ID_SCAN_LIS), Separator(),
                                       Item("&Lis to Qtx\tAlt+L", ID_LIS_TO_QTX),
                                       Item("&Qtx to Lis\tCtrl+S", ID_QTX_TO_LIS), Separator(),
                                       Item("&Dictionary\tAlt+D", ID_DICTIONARY)}),
                    HelpMenu()}};
    m[kMenuQtx] = {
        kMenuQtx,
        {FileMenu(true), ViewMenu(true), WindowMenu(),
         Popup("&Display", {Item("&Time\tAlt+T", ID_DISPLAY_TIME), Item("&Frequency\tAlt+F", ID_DISPLAY_FREQUENCY),
                            Item("&Slowness\tAlt+S", ID_DISPLAY_SLOWNESS), Item("&Azimuth\tAlt+A", ID_DISPLAY_AZIMUTH),
                            Item("&VDL\tAlt+V", ID_DISPLAY_VDL), Item("&Log\tAlt+L", ID_DISPLAY_LOG),
                            Item("&Map\tAlt+M", ID_DISPLAY_MAP), Item("&Xplot Map\tAlt+X", ID_DISPLAY_XPLOT)}),
         Popup("&Process",
               {Item("Scan &Qtx\tCtrl+S", ID_SCAN_QTX), Separator(), Item("Pop&Up\tCtrl+U", ID_POPUP), Separator(),
                Item("&QuickLook\tCtrl+Q", ID_PROCESS_QUICKLOOK), Item("&Filter\tCtrl+F", ID_PROCESS_FILTER),
                Item("&Smooth\tCtrl+S", ID_PROCESS_SMOOTH), Item("P&rofile\tCtrl+R", ID_PROCESS_PROFILE),
                Item("&Pick\tCtrl+P", ID_PROCESS_PICK), Item("&Dispersion\tCtrl+D", ID_PROCESS_DISPERSION),
                Item("&TimeSlowness\tCtrl+T", ID_PROCESS_TIMESLOWNESS),
                Item("Anisot&ropy\tCtrl+R", ID_PROCESS_ANISOTROPY), Item("&Kalman\tCtrl+K", ID_PROCESS_KALMAN)}),
         Popup("&Utilities", {Item("&Tools\tCtrl+T", ID_UTILITIES_TOOLS), Item("&Header\tCtrl+H", ID_UTILITIES_HEADER)}),
         HelpMenu()},
        kWindowMenuIndex};
    m[kMenuReducedQtx] = {kMenuReducedQtx,
                          {FileMenu(false), ViewMenu(true), WindowMenu(),
                           Popup("&Process", {Item("Scan &Qtx\tCtrl+S", ID_SCAN_QTX)}), HelpMenu()},
                          kWindowMenuIndex};
    m[kMenuPopup] = {kMenuPopup,
                     {Item("&Contents", ID_HELP_CONTENTS), Item("&Using Help", ID_HELP_USING_POPUP), Separator(),
                      Item("Single Receiver", ID_SINGLE_RECEIVER), Separator(), Item("Red Pen", ID_RED_PEN),
                      Item("Green Pen", ID_GREEN_PEN), Item("Blue Pen", ID_BLUE_PEN), Item("Black Pen", ID_BLACK_PEN),
                      Item("White Pen", ID_WHITE_PEN), Separator(), Item("Thin Pen", ID_THIN_PEN),
                      Item("Thick Pen", ID_THICK_PEN), Separator(), Item("White Background", ID_WHITE_BACKGROUND),
                      Item("Yellow Background", ID_YELLOW_BACKGROUND), Item("Gray Background", ID_GRAY_BACKGROUND),
                      Separator(), Item("Save Profile", ID_SAVE_PROFILE)}};
    return m;
}

std::map<int, ToolBarDef> BuildToolBars()
{
    std::map<int, ToolBarDef> t;
    t[kToolBarCnv] = {kToolBarCnv, {ID_SCAN_CNV, 0, ID_CONVERT_CNV, 0, ID_APP_ABOUT, ID_CONTEXT_HELP}, ToolBarDef::Top};
    t[kToolBarLis] = {kToolBarLis,
                      {ID_SCAN_LIS, 0, ID_LIS_TO_QTX, ID_QTX_TO_LIS, 0, ID_APP_ABOUT, ID_CONTEXT_HELP},
                      ToolBarDef::Top};
    t[kToolBarQtx] = {kToolBarQtx,
                      {ID_SCAN_QTX, 0, ID_DISPLAY_TIME, ID_DISPLAY_FREQUENCY, ID_DISPLAY_SLOWNESS, ID_DISPLAY_AZIMUTH,
                       ID_DISPLAY_VDL, ID_DISPLAY_LOG, ID_DISPLAY_MAP, ID_DISPLAY_XPLOT, 0, ID_PROCESS_QUICKLOOK,
                       ID_PROCESS_FILTER, ID_PROCESS_SMOOTH, ID_PROCESS_PROFILE, ID_PROCESS_PICK,
                       ID_PROCESS_DISPERSION, ID_PROCESS_TIMESLOWNESS, 0, ID_UTILITIES_TOOLS, ID_PROCESS_ANISOTROPY,
                       ID_PROCESS_KALMAN, ID_UTILITIES_HEADER, 0, ID_APP_ABOUT, ID_CONTEXT_HELP},
                      ToolBarDef::Top};
    std::vector<int> display{ID_ZOOM_RESET, ID_ZOOM_IN, ID_ZOOM_OUT, 0, ID_POPUP, 0};
    for (int n = 1; n <= 8; ++n) display.push_back(ReceiverCommand(n));
    display.push_back(0);
    for (int n = 9; n <= 13; ++n) display.push_back(ReceiverCommand(n));
    for (int id : {0, int(ID_DEPTH_ZOOM_IN), int(ID_DEPTH_ZOOM_OUT), int(ID_DATA_ZOOM_IN), int(ID_DATA_ZOOM_OUT), 0,
                   int(ID_MNEMONICS)})
        display.push_back(id);
    t[kToolBarDisplay] = {kToolBarDisplay, display, ToolBarDef::Left};
    return t;
}

const std::map<int, Menu>& Menus()
{
    static const std::map<int, Menu> menus = BuildMenus();
    return menus;
}

const std::map<int, ToolBarDef>& ToolBars()
{
    static const std::map<int, ToolBarDef> toolBars = BuildToolBars();
    return toolBars;
}

} // namespace

const Menu& MenuResourceFor(int id)
{
    static const Menu empty;
    const auto it = Menus().find(id);
    return it == Menus().end() ? empty : it->second;
}

const ToolBarDef& ToolBarResourceFor(int id)
{
    static const ToolBarDef empty;
    const auto it = ToolBars().find(id);
    return it == ToolBars().end() ? empty : it->second;
}

const std::vector<Accelerator>& AcceleratorTable()
{
    // Only the two help keys reach a handler; the editing and pane keys of the
    // table have none here, so they are left out.
    static const std::vector<Accelerator> table{{VK_F1, 0, ID_HELP}, {VK_F1, kModShift, ID_CONTEXT_HELP}};
    return table;
}

std::vector<int> ShownCommandIds()
{
    std::set<int> ids;
    const auto walk = [&ids](const std::vector<MenuItem>& items, const auto& self) -> void {
        for (const MenuItem& item : items) {
            if (!item.IsPopup() && item.id != 0) ids.insert(item.id);
            self(item.items, self);
        }
    };
    for (const auto& [id, menu] : Menus()) walk(menu.items, walk);
    for (const auto& [id, bar] : ToolBars())
        for (int button : bar.buttons)
            if (button != 0) ids.insert(button);
    for (const Accelerator& a : AcceleratorTable()) ids.insert(a.command);
    return {ids.begin(), ids.end()};
}

const std::vector<int>& DormantCommandIds()
{
    static const std::vector<int> ids{ID_PROCESS_QUICKLOOK, ID_PROCESS_FILTER,    ID_PROCESS_SMOOTH,
                                      ID_PROCESS_PROFILE,   ID_PROCESS_PICK,      ID_PROCESS_DISPERSION,
                                      ID_PROCESS_TIMESLOWNESS, ID_PROCESS_ANISOTROPY, ID_PROCESS_KALMAN,
                                      ID_UTILITIES_HEADER,  ID_HELP_CONTENTS,     ID_HELP_USING_POPUP};
    return ids;
}

std::string CommandPromptText(int id)
{
    if (id >= ID_RECEIVER_1 && id < ID_RECEIVER_1 + 8)
        return Format("Show or hide receiver R%d\nR%d", id - ID_RECEIVER_1 + 1, id - ID_RECEIVER_1 + 1);
    if (id >= ID_RECEIVER_9 && id < ID_RECEIVER_9 + 5)
        return Format("Show or hide receiver R%d\nR%d", id - ID_RECEIVER_9 + 9, id - ID_RECEIVER_9 + 9);
    switch (id) {
    case ID_ZOOM_RESET: return "Reset the zoom\nZoom reset\nZ1";
    case ID_ZOOM_IN: return "Zoom in\nZoom in\nZ+";
    case ID_ZOOM_OUT: return "Zoom out\nZoom out\nZ-";
    case ID_DEPTH_ZOOM_IN: return "Zoom the depth axis in\nDepth zoom in\nD+";
    case ID_DEPTH_ZOOM_OUT: return "Zoom the depth axis out\nDepth zoom out\nD-";
    case ID_DATA_ZOOM_IN: return "Zoom the data axis in\nData axis zoom in\nA+";
    case ID_DATA_ZOOM_OUT: return "Zoom the data axis out\nData axis zoom out\nA-";
    case ID_POPUP: return LoadString(32800) + "\nPop";
    // The string table's tip for Pick says "Process"; the button says what the menu does.
    case ID_PROCESS_PICK: return "Process data\nPick";
    case ID_MNEMONICS: return LoadString(ID_MNEMONICS) + "\nMn";
    case ID_APP_ABOUT: return "Display program information\nAbout\n?";
    case ID_CONTEXT_HELP: return "Display help\nHelp\nH";
    case ID_HELP_FINDER: return "List help topics\nHelp Topics";
    case ID_APP_EXIT: return "Quit the application\nExit";
    case ID_VIEW_STATUS_BAR: return "Show or hide the status bar\nToggle status bar";
    case ID_WINDOW_CASCADE: return "Arrange windows so they overlap\nCascade windows";
    case ID_WINDOW_TILE_HORZ:
    case ID_WINDOW_TILE_VERT: return "Arrange windows as non-overlapping tiles\nTile windows";
    // The pop-up menu's trace colours and backgrounds: the string table holds no prompts for them.
    case ID_RED_PEN: return "Draw the traces in red";
    case ID_GREEN_PEN: return "Draw the traces in green";
    case ID_BLUE_PEN: return "Draw the traces in blue";
    case ID_BLACK_PEN: return "Draw the traces in black";
    case ID_WHITE_BACKGROUND: return "Paint the view's background white";
    case ID_YELLOW_BACKGROUND: return "Paint the view's background yellow";
    case ID_GRAY_BACKGROUND: return "Paint the view's background gray";
    default: return IsCommandPrompt(unsigned(id)) ? LoadString(unsigned(id)) : std::string();
    }
}

std::vector<std::string> CommandIdsOfOtherTexts(std::initializer_list<const CommandMap*> maps)
{
    std::vector<std::string> lines;
    for (const CommandMap* map : maps)
        for (const CommandMap::Addition& a : map->Additions())
            if (a.id > 0 && HasString(unsigned(a.id)) && !IsCommandPrompt(unsigned(a.id)))
                lines.push_back(Format("Command id %d (%s:%d) is the number of the string-table text \"%s\", "
                                       "which the status bar would show as its prompt",
                                       a.id, a.where.file, a.where.line, LoadString(unsigned(a.id)).c_str()));
    return lines;
}
