// Process menu of the LIS mode: Scan Lis, Lis to QTX, Qtx to Lis and the tool dictionary.
#include "app/AppCommands.h"
#include "lis/LisDictionary.h"
#include "lis/LisScan.h"
#include "lis/LisToQtx.h"
#include "platform/Host.h"
#include "lis/QtxToLis.h"
#include "res/CommandIds.h"
#include "settings/SettingsStore.h"

namespace {

// Process > Scan Lis: the LIS file, the report's name, the report, then the report in
// the desktop's text viewer.
void OnScanLis()
{
    FileDialogOptions in;
    in.title = "Open Lis File to Scan";
    in.filter = "Lis files (.lis;.tap;.nti;.tif;.lti)|*.lis;*.tap;*.nti;*.tif;*.lti|All files (*.*)|*.*|";
    const FileDialogResult input = Host().FileDialog(in);
    if (!input.ok) return;
    FileDialogOptions out;
    out.open = false;
    out.title = "Create Scan File";
    out.filter = "Scan file (.txt)|*.txt|All files (*.*)|*.*||";
    out.initialName = CLisScan::ProposedReportName(input.path);
    const FileDialogResult report = Host().FileDialog(out);
    if (!report.ok) return;
    CLisScan scan;
    scan.Run(input.path, report.path);
    if (!Host().ShellOpen(report.path)) MessageBox("Could not execute WordPad application.", MB_OK | MB_ICONSTOP);
}

} // namespace

void AddLisCommands(CommandMap& c)
{
    c.Add(ID_SCAN_LIS, OnScanLis);
    c.Add(ID_QTX_TO_LIS, [] {
        CQtxToLis exporter;
        exporter.Run();
    });
    // The importer asks for its file and reports its own result.
    c.Add(ID_DICTIONARY, [] {
        CLisDictionary dictionary;
        dictionary.Import(theApp.m_startupDir);
    });
    // The converter asks for its files and reports its own result.
    c.Add(ID_LIS_TO_QTX, [] {
        CLisToQtx converter;
        converter.Run(theApp.m_startupDir);
    });
}
