// What the LIS harnesses share: a scan whose dictionary knows every tool and the files
// this program writes, and the answers to the scan's questions and dialogs (the
// damaged-file question Yes, the first dialog of each kind OK, the pick dialogs
// building a waveform of the first datums, every other box Cancel).
#pragma once

#include "lis/ApxToolWaveformDlg.h"
#include "lis/DalToolWaveformDlg.h"
#include "lis/FwsSamplePeriodDlg.h"
#include "lis/FwsWavePickDlg.h"
#include "lis/LisDictionary.h"
#include "lis/LisParamScan.h"
#include "lis/LssSamplePeriodDlg.h"
#include "lis/MacXmacPickDlg.h"
#include "lis/PickApxWaveformsDlg.h"
#include "lis/WaveformPropertiesDlg.h"
#include "platform/testing/ScriptedHost.h"
#include "res/ApxToolWaveformDlgIds.h"
#include "res/DalToolWaveformDlgIds.h"
#include "res/FwsSamplePeriodDlgIds.h"
#include "res/FwsWavePickDlgIds.h"
#include "res/LssSamplePeriodDlgIds.h"
#include "res/MacXmacPickDlgIds.h"
#include "res/PickApxWaveformsDlgIds.h"
#include "res/WaveformPropertiesDlgIds.h"

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace lisfuzz {

inline constexpr const char* kDictionary = "Tool dictionary\r\n"
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
                                    "SMNO:SPNS:SPSP:SPSD::SMNO\r\nEND::\r\n"
                                    "~APX\r\nAPXW:AGN:APXW:APXMONO\r\nAW:AGN:AWAV:APXQUAD\r\nEND::\r\n"
                                    "~MAC/XMAC\r\nXW:XGN:XST:XWAV:XMACMONO\r\nYYWV:XGN:XST:YWAV:XMACDXY\r\nEND::\r\n"
                                    "~DAL\r\nDW:DGN:DST:DWAV:DALNEAR\r\nEND::\r\n"
                                    "~FWS\r\nFW:FWSMONO\r\nW1:W2:W3:W4:G1:G2:G3:G4:FWAV:FWSMONO\r\nSM:SEMBMONO\r\nEND::\r\n";

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

// Queues the answers to every question and dialog a scan may ask.
inline void ScriptScanAnswers(ScriptedHost& host)
{
    host.ExpectMessage("Do you want to proceed?", IDYES);
    // The recognisers' dialogs: the first of each kind is answered, later ones cancelled.
    host.ScriptDialog(kIddWaveformProperties).Type(CWaveformPropertiesDlg::kIdcSamplePeriod, "10").Press(IDOK);
    host.ScriptDialog(kIddLssSamplePeriod)
        .Radio(CLssSamplePeriodDlg::kIdcOther)
        .Type(CLssSamplePeriodDlg::kIdcOtherPeriod, "6")
        .Press(IDOK);
    using A = CApxToolWaveformDlg;
    host.ScriptDialog(kIddApxToolWaveform)
        .Radio(A::kIdcApxMono)
        .Type(A::kIdcReceivers, "4")
        .Type(A::kIdcSamples, "100")
        .Type(A::kIdcSamplePeriod, "10")
        .Press(IDOK);
    host.ScriptDialog(kIddFwsSamplePeriod)
        .Radio(CFwsSamplePeriodDlg::kIdcOther)
        .Type(CFwsSamplePeriodDlg::kIdcOtherPeriod, "12")
        .Press(IDOK);
    // The pick dialogs build one waveform of the first datums (questions answered Cancel).
    using P = CPickApxWaveformsDlg;
    host.ScriptDialog(kIddPickApxWaveforms)
        .Select(P::kIdcDatumList, 0)
        .Press(P::kIdcAddWave)
        .Select(P::kIdcDatumList, 1)
        .Press(P::kIdcSetGain)
        .Type(P::kIdcReceivers, "2")
        .Type(P::kIdcSamplePeriod, "10")
        .Radio(P::kIdcWqud)
        .Press(P::kIdcTransfer)
        .Press(IDOK);
    using X = CMacXmacPickDlg;
    host.ScriptDialog(kIddMacXmacPick)
        .Select(X::kIdcDatumList, 0)
        .Press(X::kIdcAddWave)
        .Select(X::kIdcDatumList, 1)
        .Press(X::kIdcSetStart)
        .Type(X::kIdcReceivers, "8")
        .Type(X::kIdcSamplePeriod, "10")
        .Radio(X::kIdcWmno)
        .Press(X::kIdcTransfer)
        .Press(IDOK);
    using D = CDalToolWaveformDlg;
    DialogScript& dal = host.ScriptDialog(kIddDalToolWaveform);
    for (int r = 0; r < D::kRows; ++r) dal.Select(D::kIdcDatumList, r).Press(dal_tool_waveform::kSetWaves[r]);
    dal.Select(D::kIdcDatumList, 4)
        .Press(D::kIdcSetStart)
        .Type(D::kIdcReceivers, "4")
        .Type(D::kIdcSamplePeriod, "8")
        .Radio(D::kIdcNear)
        .Press(D::kIdcTransfer)
        .Press(IDOK);
    using F = CFwsWavePickDlg;
    host.ScriptDialog(kIddFwsWavePick)
        .Select(F::kIdcDatumList, 0)
        .Press(fws_pick::kSetWaves[0])
        .Radio(F::kIdc4us)
        .Press(F::kIdcTransfer)
        .Press(IDOK);
}

} // namespace lisfuzz
