// Process menu of the LIS and CNV modes: Qtx to Lis and the tool dictionary; the
// scans and the conversions to QTX arrive with their subsystems.
#include "app/AppCommands.h"
#include "lis/LisDictionary.h"
#include "lis/QtxToLis.h"
#include "res/CommandIds.h"
#include "settings/SettingsStore.h"

#include <utility>

void AddLisCommands(CommandMap& c)
{
    c.Add(ID_QTX_TO_LIS, [] {
        CQtxToLis exporter;
        exporter.Run();
    });
    // The importer asks for its file and reports its own result.
    c.Add(ID_DICTIONARY, [] {
        CLisDictionary dictionary;
        dictionary.Import(theApp.m_startupDir);
    });
    const std::pair<int, const char*> later[] = {
        {ID_SCAN_QTX, "Scan QTX"}, {ID_SCAN_CNV, "Scan CNV"},         {ID_SCAN_LIS, "Scan LIS"},
        {ID_LIS_TO_QTX, "Lis to QTX"}, {ID_CONVERT_CNV, "Convert CNV"},
    };
    for (const auto& [id, name] : later) c.Add(id, [name = name] { NotYetAvailable(name); });
}
