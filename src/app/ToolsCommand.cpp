// Utilities > Tools: the Utilities Setup dialog on the settings block, then one task
// of the tool box engine.
#include "app/AppCommands.h"
#include "app/ViewerApp.h"
#include "res/CommandIds.h"
#include "platform/BinaryFile.h"
#include "platform/CommandResult.h"
#include "platform/Format.h"
#include "platform/Host.h"
#include "toolbox/ToolTasks.h"
#include "toolbox/ToolsWnd.h"
#include "toolbox/UtilitiesSetupDlg.h"
#include "settings/UtilitiesSetupGroup.h"

#include <memory>
#include <string>
#include <utility>

namespace {

void OnUtilitiesTools(CViewerApp&)
{
    UtilitiesSetupGroup& s = theApp.m_utilitiesSetup;
    CUtilitiesSetupDlg dialog;
    const int ended = dialog.Edit(s);
    // Save Setup runs nothing: the status bar says the values stay.
    if (ended == CUtilitiesSetupDlg::kSaveSetup) ShowCommandResult("Utilities Setup kept: Utilities > Tools starts from it");
    if (ended != CUtilitiesSetupDlg::kRun) return;

    // A name that is no task runs nothing: running the previous run's task in its
    // place would surprise whoever typed it.
    const int code = ToolTaskCode(s.taskName);
    if (code == 0) {
        MessageBox(Format("Unknown task \"%s\"!\nOperation will be abandoned.", s.taskName.c_str()), MB_OK | MB_ICONSTOP);
        return;
    }
    s.taskCode = uint16_t(code);
    // An input the task reads with no file chosen for it is named: its list is empty
    // because there is no file, not because nothing in it was selected.
    if (const ToolTaskRow* row = FindToolTask(ToolTask(code))) {
        const std::pair<const char*, const std::string*> inputs[] = {
            {"Primary", &s.primary.path}, {"Secondary", &s.secondary.path}, {"Density", &s.density.path}};
        for (int i = 0; i < int(row->inputs) && i < 3; ++i)
            if (inputs[i].second->empty()) {
                MessageBox(Format("%s file name is not set!\nOperation will be abandoned.", inputs[i].first),
                           MB_OK | MB_ICONSTOP);
                return;
            }
        // The dialog clears a proposed output that would name an input, so none may be left.
        if (row->inputs != ToolInputs::None && s.outputPath.empty()) {
            MessageBox("Output file name is not set!\nOperation will be abandoned.", MB_OK | MB_ICONSTOP);
            return;
        }
    }

    auto engine = std::make_unique<CToolsWnd>();
    engine->Settings().factor = s.factor;
    engine->Settings().factorDouble = double(s.factor);
    engine->Settings().outputPath = s.outputPath;
    engine->Settings().outputConfirmed = dialog.m_outputConfirmed;
    engine->Settings().startDepth = s.primary.startDepth;
    engine->Settings().stopDepth = s.primary.stopDepth;
    engine->Settings().spliceDepth = s.spliceDepth;
    engine->Settings().startSample = uint16_t(s.startSample);
    engine->Settings().stopSample = uint16_t(s.stopSample);
    engine->Settings().decimation = uint16_t(s.decimation);

    const int result = RunToolTask(*engine, ToolTask(code), s.primary.path, s.secondary.path, s.density.path);
    // Failures said so in a box; a finished run says what it wrote, and where.
    if (result == 1 && FileExists(engine->Settings().outputPath))
        ShowCommandResult(Format("%s %s: wrote %s", s.taskName.c_str(),
                                 engine->Task().stopped ? "stopped" : "done", engine->Settings().outputPath.c_str()));
}

} // namespace

void AddToolBoxCommands(CommandMap& c, CViewerApp& app)
{
    c.Add(ID_UTILITIES_TOOLS, [&app] { OnUtilitiesTools(app); });
}
