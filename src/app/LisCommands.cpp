// Process menu of the LIS mode: Scan Lis, Lis to QTX, Qtx to Lis and the tool dictionary.
#include "app/AppCommands.h"
#include "app/ViewerApp.h"
#include "common/OutputGuard.h"
#include "lis/LisDictionary.h"
#include "lis/LisRecordIO.h"
#include "lis/LisScan.h"
#include "lis/LisToQtx.h"
#include "platform/BinaryFile.h"
#include "platform/CommandResult.h"
#include "platform/FileChoice.h"
#include "platform/Format.h"
#include "platform/Host.h"
#include "platform/OutputFile.h"
#include "platform/Path.h"
#include "lis/QtxToLis.h"
#include "res/CommandIds.h"
#include "settings/SettingsStore.h"

#include <filesystem>
#include <system_error>
#include <vector>

namespace {

// The tool dictionary's folder, made when it is missing; "" after a message when it
// cannot be made.
std::string DictionaryFolder()
{
    const std::string& folder = theViewerApp.m_dataDir;
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    const int made = error.value();
    if (!std::filesystem::is_directory(folder, error)) {
        // The cause as every refused output names it; a file under the folder's own
        // name reads to the system as a path through a file, so it is said apart.
        std::error_code none;
        const std::string cause = std::filesystem::exists(folder, none) ? "\n" + folder + " is a file, not a folder."
                                                                        : OutputFailureCause(folder, made, false);
        MessageBox("Could not create the folder of the tool dictionary :\n" + folder + cause, MB_OK | MB_ICONSTOP);
        return std::string();
    }
    return folder;
}

// Lis to Qtx reads the dictionary from the user's folder, so that folder comes first,
// whether or not a dictionary is there yet: false after the message that it cannot be
// made, before the conversion asks for anything (it could read no dictionary there, and
// Process > Dictionary would fail for the same cause). Earlier runs kept the dictionary
// in the folder the program was started from. When the user's folder has none yet, a
// copy of that one is taken there (once: from then on the user's folder has its own),
// and the user is told where it went.
bool TakeOverStartupDictionary()
{
    const std::string folder = DictionaryFolder();
    if (folder.empty()) return false;
    const std::string old = JoinPath(theApp.m_startupDir, lisdic::kFileName);
    const std::string kept = JoinPath(folder, lisdic::kFileName);
    if (theApp.m_startupDir.empty() || FileExists(kept) || !FileExists(old)) return true;
    std::error_code error;
    if (std::filesystem::equivalent(old, kept, error)) return true;
    // Copied through an output file: a copy cut short never passes for a dictionary.
    bool copied = false;
    int inputError = 0, outputError = 0; // of the copy's input and output
    {
        BinaryFile in;
        OutputFile out;
        if (in.Open(old, BinaryFile::modeRead, &inputError) && out.Open(kept)) {
            std::vector<uint8_t> buffer(64 * 1024);
            copied = true;
            for (size_t n; copied && (n = in.Read(buffer.data(), buffer.size())) > 0;) copied = out.Write(buffer.data(), n);
            copied = copied && in.GetPosition() == in.GetLength() && out.Commit();
        }
        outputError = out.Error();
    }
    if (!copied) {
        MessageBox(Format("Could not copy the tool dictionary of an earlier run from :\n%s\nto :\n%s",
                          old.c_str(), kept.c_str())
                       + (inputError ? OpenFailureCause(old, inputError) : OutputFailureCause(kept, outputError)),
                   MB_OK | MB_ICONSTOP);
        return true;
    }
    MessageBox(Format("The tool dictionary of an earlier run was copied from :\n%s\nto :\n%s\n"
                      "Process > Dictionary imports into and Process > Lis to Qtx reads from that folder now.",
                      old.c_str(), kept.c_str()),
               MB_OK | MB_ICONINFORMATION);
    return true;
}

// Process > Scan Lis: the LIS file, the report's name, the report, then the report in
// the desktop's text viewer.
void OnScanLis()
{
    FileDialogOptions in;
    in.title = "Open Lis File to Scan";
    in.filter = "Lis files (.lis;.tap;.nti;.tif;.lti)|*.lis;*.tap;*.nti;*.tif;*.lti|All files (*.*)|*.*|";
    const FileDialogResult input = ChooseFile(in);
    if (!input.ok) return;
    // An input that cannot be read is told before a report is named.
    if (BinaryFile probe; !OkOrShow(CLisRecordIO::OpenInput(probe, input.path))) return;
    FileDialogOptions out;
    out.open = false;
    out.title = "Create Scan File";
    out.filter = "Scan file (.txt)|*.txt|All files (*.*)|*.*||";
    // The report goes beside the file it describes, unless the user says otherwise.
    out.initialName = JoinPath(FolderOf(input.path), CLisScan::ProposedReportName(input.path));
    const FileDialogResult report = ChooseFile(out);
    if (!report.ok) return;
    CLisScan scan;
    // A scan that failed is told; the report under the name is not this file's.
    if (!OkOrShow(scan.Run(input.path, report.path))) return;
    ShowCommandResult("Scan Lis done: wrote " + report.path);
    Host().ShellOpen(report.path); // the host itself says when no program of the desktop took it
}

} // namespace

void AddLisCommands(CommandMap& c)
{
    c.Add(ID_SCAN_LIS, OnScanLis);
    c.Add(ID_QTX_TO_LIS, [] {
        CQtxToLis exporter;
        exporter.Run();
    });
    // The importer asks for its file; its result is told here.
    c.Add(ID_DICTIONARY, [] {
        const std::string folder = DictionaryFolder();
        if (folder.empty()) return;
        CLisDictionary dictionary;
        if (!OkOrShow(dictionary.Import(folder))) return;
        MessageBox("Dictionary Importation Complete!", MB_OK);
        // The box does not say where the dictionary went; the status bar keeps it.
        ShowCommandResult("Dictionary done: wrote " + JoinPath(folder, lisdic::kFileName));
    });
    // The converter asks for its files and reports its own result.
    c.Add(ID_LIS_TO_QTX, [] {
        if (!TakeOverStartupDictionary()) return;
        CLisToQtx converter;
        converter.Run(theViewerApp.m_dataDir);
    });
}
