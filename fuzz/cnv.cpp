// Any bytes as a CNV file: the scan's reads in their order, the CNV Data Set dialog, then
// the conversion with the file's own values. Header byte 2, which no reader uses, picks
// the origin (and for CLSS the receiver); every other box is answered Cancel.
#include "cnv/CnvFile.h"
#include "cnv/CnvToQtx.h"
#include "cnv/ScanCnvFile.h"
#include "platform/testing/ScriptedHost.h"
#include "res/ClssToolSetupDlgIds.h"
#include "res/DataOriginDlgIds.h"

#include "FuzzInput.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string path = WriteFuzzInput("cnv", ".cnv", data, size);
    static const std::string output = "/tmp/fuzz_cnv_" + std::to_string(::getpid()) + ".qtx";
    ScriptedHost host;
    ScopedHost scope(&host);

    CScanCnvFile scan;
    scan.Scan(path); // its dialog is cancelled

    CCnvFile file;
    file.ReadToolCode(path);
    if (!OkOrShow(file.LastStatus()) || !OkOrShow(file.Open(path))) return 0;
    const double top = file.ReadTopDepth();
    const double bottom = file.Ok() ? file.ReadBottomDepth() : 0.0;
    const double step = file.Ok() ? file.ReadFrameInterval() : 0.0;
    const double period = file.Ok() ? file.ReadSamplingPeriod() : 0.0;
    const uint32_t frames = file.Ok() ? file.CountFrames() : 0;
    if (!OkOrShow(file.LastStatus())) return 0;

    const int choice = size > 2 ? data[2] : 0;
    host.ScriptDialog(kIddDataOrigin).Select(data_origin::kIdcOrigin, choice % 46).Press(IDOK);
    host.ScriptDialog(kIddClssToolSetup)
        .Radio(clss_tool_setup::kIdcReceiver1 + (choice >> 6))
        .Press(clss_tool_setup::kIdcOk);
    CCnvToQtx converter;
    converter.m_topDepth = top;
    converter.m_bottomDepth = bottom;
    converter.m_depthStep = step;
    converter.m_depthUnit = file.m_depthUnits == 1 ? "FT" : "M";
    converter.m_samplingPeriod = float(period);
    converter.m_channelCount = file.m_channels;
    converter.m_samplesPerChannel = file.m_samples;
    converter.m_frameCount = frames;
    converter.m_outputConfirmed = true;
    converter.Convert(path, output);
    std::remove(output.c_str());
    return 0;
}
