// Display > Log: the Log Setup dialog in a loop. The dialog ends with the button the
// user pressed; this command loads, saves or re-bases the command file and shows the
// dialog again, or leaves the loop.
#include "app/AppCommands.h"
#include "app/ViewerApp.h"
#include "platform/CommandResult.h"
#include "platform/Host.h"
#include "platform/Path.h"
#include "plot/LogSetupDlg.h"
#include "plot/PlotWndFactory.h"
#include "plot/QtxCommand.h"
#include "res/CommandIds.h"
#include "settings/SettingsStore.h"
#include "settings/LogSetupGroup.h"

namespace {

void OnDisplayLog(CViewerApp& app)
{
    LogSetupGroup& s = theApp.m_logSetup;
    CQtxCommand command;
    for (;;) {
        CLogSetupDlg dialog;
        const int result = dialog.Edit(s);
        switch (result) {
        case CLogSetupDlg::kAdd:
        case CLogSetupDlg::kEdit:
        case CLogSetupDlg::kCopy:
        case CLogSetupDlg::kDelete:
        case CLogSetupDlg::kClearAll: continue;
        case CLogSetupDlg::kLoadSettings: {
            LogCommandPage page = PageOf(s);
            if (command.Read(s.plotItems, page, s.loadPath)) SetPage(s, page);
            continue;
        }
        case CLogSetupDlg::kSaveSettings:
            if (command.Write(s.plotItems, PageOf(s), s.savePath))
                ShowCommandResult("Save Settings done: wrote " + s.savePath);
            continue;
        case CLogSetupDlg::kBrowseFolder:
            CQtxCommand::RebaseItemPaths(s.plotItems, s.browsePath);
            ShowCommandResult("Browse Folder done: the plot items read their data sets from " + FolderOf(s.browsePath));
            continue;
        case CLogSetupDlg::kViewLog:
        case CLogSetupDlg::kPrintLog:
            if (s.plotItems.empty()) {
                MessageBox("The plot list is empty!", MB_OK | MB_ICONEXCLAMATION);
                return;
            }
            s.depthUnits = s.english ? "Feet" : "Meters";
            if (result == CLogSetupDlg::kViewLog) OpenPlotWnd(s, app.ClassName(kClassPlot));
            else PrintPlot(s);
            return;
        case CLogSetupDlg::kApply:
            ShowCommandResult("Log Setup kept: Display > Log starts from it");
            return;
        default: return; // Cancel
        }
    }
}

} // namespace

void AddLogPlotCommands(CommandMap& c, CViewerApp& app)
{
    c.Add(ID_DISPLAY_LOG, [&app] { OnDisplayLog(app); });
}
