// Any bytes as a LIS file for the parameter scan, with a dictionary that knows every
// tool a recogniser exists for and the files this program writes. The tool is chosen
// by the input's length; the damaged-file question is answered Yes, every other box
// Cancel.
#include "lis/LisDictionary.h"
#include "lis/LisParamScan.h"
#include "platform/testing/ScriptedHost.h"

#include "FuzzInput.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr const char* kDictionary = "Tool dictionary\r\n"
                                    "~DEPTH\r\nDEPT\r\nTDEP\r\nEND::\r\n"
                                    "~ISONIC\r\nW1:W2:W3:W4:W5:W6:W7:W8:DLY:PER:DIP:ISO\r\nEND::\r\n"
                                    "~DSLT\r\nU1:U2:ST1:ST2:DLY:DSLTNEAR\r\nEND::\r\n"
                                    "~SLT\r\nU1:U2:ST1:ST2:DLY:PER:SW:SLTLOWER\r\nEND::\r\n"
                                    "~QSLT\r\nQS:DLY:NS:PER:UP:QSLTUPPER\r\nEND::\r\n"
                                    "~CLSS/SCOUT\r\nSCW:MON:SCOUTUPPER\r\nSHRT:UP:SCOUTUPPER\r\nEND::\r\n"
                                    "~WAVESONIC\r\nWS1:WS2:WAV:WSDXAC\r\nWFMS:MON:WSMONO\r\nEND::\r\n"
                                    "~QTX\r\nMON1:MNS:MSP::MNR:WMNO\r\nWMNO:MNS:MSP::MNR:WMNO\r\n"
                                    "DXX1:DXNS:DXSP::DXNR:WDXX\r\nWDXX:DXNS:DXSP::DXNR:WDXX\r\n"
                                    "SMNO:SPNS:SPSP:SPSD::SMNO\r\nEND::\r\n";

constexpr int kTools[] = {lis::kToolIsonic, lis::kToolDslt,      lis::kToolSlt, lis::kToolQslt,
                          lis::kToolScout,  lis::kToolWaveSonic, lis::kToolDsi};

class FuzzScan : public CLisParamScan {
protected:
    int LoadDictionary(const std::string&) override
    {
        auto text = std::make_shared<std::vector<uint8_t>>(kDictionary, kDictionary + std::strlen(kDictionary));
        lisdic::Scramble(*text);
        BinaryFile file;
        file.OpenMemory(text, false);
        m_own = std::make_unique<CLisDictionary>();
        m_dictionary = m_own.get();
        return m_own->Load(file);
    }

private:
    std::unique_ptr<CLisDictionary> m_own;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string path = WriteFuzzInput("lis_scan", ".lis", data, size);
    ScriptedHost host;
    ScopedHost scope(&host);
    host.ExpectMessage("Do you want to proceed?", IDYES);
    CLisLogicalFileList files;
    FuzzScan scan;
    scan.Scan(path, &files, "", kTools[size % std::size(kTools)]);
    return 0;
}
