// Any bytes as a LIS file for the parameter scan, with a dictionary that knows every
// tool and the files this program writes. The tool is chosen by the input's length
// among every code with a recogniser (LisScanTools.h); the questions and dialogs are
// answered as LisFuzzScan.h says.
#include "FuzzInput.h"
#include "LisFuzzScan.h"
#include "LisScanTools.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string path = WriteFuzzInput("lis_scan", ".lis", data, size);
    ScriptedHost host;
    ScopedHost scope(&host);
    lisfuzz::ScriptScanAnswers(host);
    CLisLogicalFileList files;
    lisfuzz::FuzzScan scan;
    scan.Scan(path, &files, "", lisfuzz::ScanToolFor(size));
    return 0;
}
