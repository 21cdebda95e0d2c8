#include "app/MainFrame.h"

#include "app/ViewerApp.h"
#include "common/Help.h"
#include "platform/Format.h"
#include "platform/Host.h"
#include "res/CommandIds.h"
#include "res/Menus.h"

#include <cstdio>

namespace {
constexpr char kSection[] = "Settings";
constexpr char kEntry[] = "WindowPos";
} // namespace

std::string FormatWindowPlacement(const WindowPlacement& p)
{
    return Format("%u,%u,%d,%d,%d,%d,%d,%d,%d,%d", p.flags, p.showCmd, p.minPosition.x, p.minPosition.y,
                  p.maxPosition.x, p.maxPosition.y, p.normal.left, p.normal.top, p.normal.right, p.normal.bottom);
}

bool ParseWindowPlacement(const std::string& text, WindowPlacement& placement)
{
    if (text.empty()) return false;
    WindowPlacement p;
    int consumed = 0;
    const int read = std::sscanf(text.c_str(), "%u,%u,%d,%d,%d,%d,%d,%d,%d,%d%n", &p.flags, &p.showCmd,
                                 &p.minPosition.x, &p.minPosition.y, &p.maxPosition.x, &p.maxPosition.y,
                                 &p.normal.left, &p.normal.top, &p.normal.right, &p.normal.bottom, &consumed);
    if (read != 10) return false;
    placement = p;
    return true;
}

CMainFrame::CMainFrame()
{
    for (int id : {int(ID_HELP), int(ID_HELP_FINDER), int(ID_CONTEXT_HELP), int(ID_DEFAULT_HELP)})
        m_commands.Add(id, [this] { OnHelp(); });
    m_commands.Add(ID_APP_EXIT, [this] { OnClose(); });
    m_commands.Add(ID_POPUP, [this] { OnPopUp(); });
    // The window arrangement commands act on the MDI children, so they need one.
    auto needsChild = [](CommandState& s) { s.enabled = Frame() && Frame()->ActiveChild() != nullptr; };
    m_commands.Add(ID_WINDOW_CASCADE, [] { Frame()->Cascade(); }, needsChild);
    m_commands.Add(ID_WINDOW_TILE_HORZ, [] { Frame()->TileHorizontal(); }, needsChild);
    m_commands.Add(ID_WINDOW_TILE_VERT, [] { Frame()->TileVertical(); }, needsChild);
    m_commands.Add(
        ID_VIEW_STATUS_BAR, [] { Frame()->ShowStatusBar(!Frame()->IsStatusBarVisible()); },
        [](CommandState& s) { s.check = Frame() && Frame()->IsStatusBarVisible() ? 1 : 0; });
    m_commands.Add(ID_FILE_PRINT_SETUP, [] { Host().PrinterSetup(); });
}

int CMainFrame::OnCreate()
{
    std::vector<int> widths{-1, 120};
    widths.resize(kPaneCount, 80);
    return Frame()->CreateStatusBar(widths) ? 0 : -1;
}

int CMainFrame::CreateModeToolBar(int id)
{
    const ToolBarDef& def = ToolBarResourceFor(id);
    if (def.id == 0 || !Frame()->CreateToolBar(def)) return -1;
    theViewerApp.SetToolBarCreated(id);
    return 0;
}

int CMainFrame::CreateCnvToolBar() { return CreateModeToolBar(kToolBarCnv); }
int CMainFrame::CreateLisToolBar() { return CreateModeToolBar(kToolBarLis); }
int CMainFrame::CreateQtxToolBar() { return CreateModeToolBar(kToolBarQtx); }
int CMainFrame::CreateDisplayToolBar() { return CreateModeToolBar(kToolBarDisplay); }

bool CMainFrame::ReadWindowPlacement(WindowPlacement& placement)
{
    return ParseWindowPlacement(Host().GetProfileString(kSection, kEntry, std::string()), placement);
}

void CMainFrame::WriteWindowPlacement(const WindowPlacement& placement)
{
    Host().WriteProfileString(kSection, kEntry, FormatWindowPlacement(placement));
}

void CMainFrame::InitialShowWindow(unsigned showCommand)
{
    WindowPlacement placement;
    if (!ReadWindowPlacement(placement)) {
        Frame()->Show(showCommand);
        return;
    }
    if (showCommand != SW_SHOWNORMAL) placement.showCmd = showCommand;
    Frame()->SetPlacement(placement);
    Frame()->Show(placement.showCmd);
}

void CMainFrame::OnClose()
{
    if (MessageBox("This operation will abort BronteluxViewer.\nWould you like to continue?.",
                   MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    WindowPlacement placement;
    if (Frame()->GetPlacement(placement)) {
        placement.flags = Frame()->IsZoomed() ? unsigned(WPF_RESTORETOMAXIMIZED) : 0u;
        WriteWindowPlacement(placement);
    }
    Frame()->Destroy();
}

void CMainFrame::OnHelp() { ShowHelp(theApp.m_helpPath, kHelpContents, 0); }

void CMainFrame::TrackPopupMenuAt(int x, int y) { Frame()->TrackPopupMenu(MenuResourceFor(kMenuPopup), {x, y}); }

bool CMainFrame::OnPopUp()
{
    const Point screen = Frame()->ClientToScreen({40, 40});
    TrackPopupMenuAt(screen.x, screen.y);
    return true;
}

bool CMainFrame::PreTranslateKey(unsigned key, unsigned modifiers)
{
    if ((key == VK_F10 && (modifiers & kModShift)) || key == VK_APPS) {
        OnPopUp();
        return true;
    }
    return false;
}
