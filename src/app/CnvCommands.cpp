// Process menu of the CNV mode (Scan CNV, Convert CNV) and Process > Scan Qtx of the
// QTX mode: each asks for its file and runs one engine of cnv/.
#include "app/AppCommands.h"
#include "cnv/CnvToQtx.h"
#include "cnv/ScanCnvFile.h"
#include "cnv/ScanQtxFile.h"
#include "platform/CommandResult.h"
#include "platform/FileChoice.h"
#include "platform/Host.h"
#include "res/CommandIds.h"
#include "settings/SettingsStore.h"
#include "settings/ConvertCnvValues.h"

#include <memory>

namespace {

const char kQtxScanFilter[] = "Qtx Data (*.qtx)|*.qtx|All files (*.*)|*.*|";
const char kCnvFilter[] = "Cnv files (*.cnv)|*.cnv|All files (*.*)|*.*|";
const char kQtxOutputFilter[] = "Qtx files (*.qtx)|*.qtx|All files (*.*)|*.*|";

// Asks for a file to read; the path chosen is kept in `path` (the next command's start).
bool AskOpen(const char* title, const char* filter, std::string& path)
{
    FileDialogOptions o;
    o.title = title;
    o.filter = filter;
    const FileDialogResult chosen = ChooseFile(o);
    if (chosen.ok) path = chosen.path;
    return chosen.ok;
}

void OnScanQtx()
{
    std::string& path = theApp.m_convertCnv.qtxPath;
    if (AskOpen("Browse QTX file for scanning.", kQtxScanFilter, path)) CScanQtxFile().Scan(path);
}

void OnScanCnv()
{
    std::string& path = theApp.m_convertCnv.cnvPath;
    if (AskOpen("Browse CNV file for scanning.", kCnvFilter, path)) CScanCnvFile().Scan(path);
}

// The scan shows the file's values; only when the user confirms them does the
// conversion ask for its output.
void OnConvertCnv()
{
    ConvertCnvValues& v = theApp.m_convertCnv;
    if (!AskOpen("Browse CNV file for converting.", kCnvFilter, v.cnvPath)) return;

    CScanCnvFile scan;
    if (!scan.Scan(v.cnvPath)) return;
    v.topDepth = scan.m_topDepth;
    v.bottomDepth = scan.m_bottomDepth;
    v.depthStep = scan.m_depthStep;
    v.depthUnit = scan.m_depthUnits;
    v.sampleAxis = scan.m_timeUnits;
    v.samplingPeriod = scan.m_samplingRate;
    v.channelCount = scan.m_receiverCount;
    v.samplesPerChannel = scan.m_sampleCount;
    v.toolCode = scan.m_toolByte;
    v.frameCount = scan.m_frameCount;

    FileDialogOptions o;
    o.open = false;
    o.title = "Browse QTX file for converting.";
    o.filter = kQtxOutputFilter;
    o.defaultExt = "qtx";
    // The dialog asks before replacing a file, so the converter does not ask again.
    o.flags = kHideReadOnly | kOverwritePrompt;
    const FileDialogResult output = ChooseFile(o);
    if (!output.ok) return;
    v.qtxPath = output.path;

    auto converter = std::make_unique<CCnvToQtx>();
    converter->m_topDepth = v.topDepth;
    converter->m_bottomDepth = v.bottomDepth;
    converter->m_depthStep = v.depthStep;
    converter->m_depthUnit = v.depthUnit;
    converter->m_samplingPeriod = v.samplingPeriod;
    converter->m_sampleAxis = v.sampleAxis;
    converter->m_channelCount = v.channelCount;
    converter->m_samplesPerChannel = v.samplesPerChannel;
    converter->m_toolCode = v.toolCode;
    converter->m_frameCount = v.frameCount;
    converter->m_outputConfirmed = true;
    if (converter->Convert(v.cnvPath, v.qtxPath)) ShowCommandResult("Convert CNV done: wrote " + v.qtxPath);
}

} // namespace

void AddCnvCommands(CommandMap& c)
{
    c.Add(ID_SCAN_QTX, OnScanQtx);
    c.Add(ID_SCAN_CNV, OnScanCnv);
    c.Add(ID_CONVERT_CNV, OnConvertCnv);
}
