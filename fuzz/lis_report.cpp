// Any bytes as a LIS file for the scan report (Process > Scan Lis); every box is
// answered with its default; the report goes to a file of this process.
#include "lis/LisScan.h"
#include "platform/testing/ScriptedHost.h"

#include "FuzzInput.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string path = WriteFuzzInput("lis_report", ".lis", data, size);
    static const std::string report = "/tmp/fuzz_lis_report_" + std::to_string(::getpid()) + ".txt";
    ScriptedHost host;
    ScopedHost scope(&host);
    std::remove(report.c_str()); // no overwrite question: every input is scanned
    CLisScan scan;
    (void)OkOrShow(scan.Run(path, report)); // a refusal is shown to the scripted host, as the command shows it
    std::remove(report.c_str());
    return 0;
}
