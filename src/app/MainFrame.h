// The main frame's own behaviour: the status bar, the mode toolbars (created on
// first use), the saved placement, the close question, help and the pop-up menu of
// display options. The on-screen frame itself is the host's (IFrame).
#pragma once

#include "platform/Frame.h"

#include <string>

class CMainFrame : public IFrameHandler {
public:
    CMainFrame();

    int OnCreate() override;
    void OnClose() override;
    bool PreTranslateKey(unsigned key, unsigned modifiers) override;
    void OnContextMenuKey() override { OnPopUp(); }
    bool OnCommand(int id) override { return m_commands.OnCommand(id); }
    bool OnUpdateCommand(CommandState& state) override { return m_commands.OnUpdateCommand(state); }

    int CreateCnvToolBar();
    int CreateLisToolBar();
    int CreateQtxToolBar();
    int CreateDisplayToolBar();

    void InitialShowWindow(unsigned showCommand);
    static bool ReadWindowPlacement(WindowPlacement& placement);
    static void WriteWindowPlacement(const WindowPlacement& placement);

    void OnHelp();
    void TrackPopupMenuAt(int x, int y);
    bool OnPopUp();

    static constexpr int kPaneCount = 15;
    // The frame's own commands (help, exit, pop-up, window arrangement).
    const CommandMap& Commands() const { return m_commands; }

private:
    int CreateModeToolBar(int id);

    CommandMap m_commands;
};

// The "WindowPos" text of a placement, and its parse (false unless all ten numbers are there).
std::string FormatWindowPlacement(const WindowPlacement& placement);
bool ParseWindowPlacement(const std::string& text, WindowPlacement& placement);
