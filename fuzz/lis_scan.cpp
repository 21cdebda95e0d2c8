// Any bytes as a LIS file for the parameter scan, with a dictionary that knows every
// tool a recogniser exists for and the files this program writes. The tool is chosen
// by the input's length among every code with a recogniser; the damaged-file question
// is answered Yes, the first dialog of each recogniser OK, every other box Cancel.
#include "lis/LisDictionary.h"
#include "lis/LisParamScan.h"
#include "lis/LisRecognise.h"
#include "lis/LssSamplePeriodDlg.h"
#include "lis/WaveformPropertiesDlg.h"
#include "platform/testing/ScriptedHost.h"
#include "res/ResourceIds.h"

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
                                    "~DSI\r\nDX:GN:NRM:NS:PER:NR:DIP:DSIMONO\r\nDE:GN:NRM:NS:PER:NR:DIP:DSIDEXP\r\n"
                                    "SM:PER:DLY:SP:SEMBMONO\r\nEND::\r\n"
                                    "~BAT\r\nB1:B2:B3:B4:B5:B6:B7:BW:BATHFF\r\nEND::\r\n"
                                    "~LSS\r\nL1:L2:G1:G2:LSSNEAR\r\nL3:L4:G3:G4:LSSFAR\r\nEND::\r\n"
                                    "~QTX\r\nMON1:MNS:MSP::MNR:WMNO\r\nWMNO:MNS:MSP::MNR:WMNO\r\n"
                                    "DXX1:DXNS:DXSP::DXNR:WDXX\r\nWDXX:DXNS:DXSP::DXNR:WDXX\r\n"
                                    "SMNO:SPNS:SPSP:SPSD::SMNO\r\nEND::\r\n";

// Every tool code that has a recogniser, so each new recogniser is reached as it comes.
const std::vector<int>& Tools()
{
    static const std::vector<int> tools = [] {
        std::vector<int> codes;
        for (int code = lis::kToolApx; code <= lis::kToolDslt; ++code)
            if (RecogniserFor(code)) codes.push_back(code);
        return codes;
    }();
    return tools;
}

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
    // The recognisers' dialogs: the first of each kind is answered, later ones cancelled.
    host.ScriptDialog(kIddWaveformProperties).Type(CWaveformPropertiesDlg::kIdcSamplePeriod, "10").Press(IDOK);
    host.ScriptDialog(kIddLssSamplePeriod)
        .Radio(CLssSamplePeriodDlg::kIdcOther)
        .Type(CLssSamplePeriodDlg::kIdcOtherPeriod, "6")
        .Press(IDOK);
    CLisLogicalFileList files;
    FuzzScan scan;
    scan.Scan(path, &files, "", Tools()[size % Tools().size()]);
    return 0;
}
