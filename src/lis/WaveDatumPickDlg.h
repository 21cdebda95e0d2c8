// The pick transfer the MAC/XMAC and APX pick dialogs share: wave datums gathered from
// the datum list, an optional gain datum, the receivers, the sample period and a
// waveform mnemonic, checked before the dialog builds its waveform. `Control` is the
// dialog's id enum, naming these controls alike.
#pragma once

#include "lis/WavePickDlg.h"
#include "platform/Dialog.h"

#include <cstdint>
#include <string>

template <typename Control> class CWaveDatumPickDlg : public CWavePickDlg {
public:
    std::string m_gain;       // the picked gain datum's mnemonic
    unsigned m_receivers = 0; // 0 to 32
    float m_samplePeriod = 0; // microseconds, 0.0 to 2048.0
    int m_mnemonic = -1;      // the radio choice from kIdcWmno; -1 none

    bool OnInitDialog() override
    {
        m_gain.clear();
        m_receivers = 0;
        m_samplePeriod = 0;
        m_mnemonic = -1;
        m_gainKey = -1;
        BeginPicking();
        CDialog::OnInitDialog();
        FillDatumList(Control::kIdcDatumList);
        return true;
    }
    void OnAddWave() { AddWaveDatum(Control::kIdcDatumList, Control::kIdcWaveDatums); }
    void OnRemoveWave()
    {
        if (ControlState* datums = Item(Control::kIdcWaveDatums)) RemoveWaveDatum(*datums);
    }
    void OnSetGain() { PickChannel(Control::kIdcDatumList, Control::kIdcGain, m_gainKey); }
    void OnClearGain() { ClearPick(Control::kIdcGain, m_gainKey); }
    virtual void OnTransfer() = 0;
    virtual void OnClearWave() = 0;

protected:
    // Wires the buttons of the shared picks, the transfer and the clear.
    CWaveDatumPickDlg(int templateId) : CWavePickDlg(templateId, 1)
    {
        constexpr auto Clicked = ::Notify::Clicked;
        On(Control::kIdcAddWave, Clicked, [this] { OnAddWave(); });
        On(Control::kIdcRemoveWave, Clicked, [this] { OnRemoveWave(); });
        On(Control::kIdcWaveDatums, ::Notify::DblClick, [this] { OnRemoveWave(); });
        On(Control::kIdcSetGain, Clicked, [this] { OnSetGain(); });
        On(Control::kIdcClearGain, Clicked, [this] { OnClearGain(); });
        On(Control::kIdcTransfer, Clicked, [this] { OnTransfer(); });
        On(Control::kIdcClearWave, Clicked, [this] { OnClearWave(); });
    }

    // The data set's caption and the shared fields, in the dialogs' order.
    void ExchangeSharedFields(DataExchange& dx)
    {
        if (!dx.Saving()) SetItemText(Control::kIdcDataSet, "Data Set: " + m_dataSetName);
        dx.Text(Control::kIdcGain, m_gain);
        dx.Text(Control::kIdcReceivers, m_receivers);
        dx.MinMax(m_receivers, 0u, kMaxReceivers);
        dx.Text(Control::kIdcSamplePeriod, m_samplePeriod);
        dx.MinMax(m_samplePeriod, 0.0f, kMaxPeriod);
    }
    // The transfer's checks: the typed fields, the wave datums, one of `mnemonics`
    // chosen (else "Please Select a Waveform Mnemonic"), then the gain datum unless the
    // user says none is needed. On success `datums` is the wave-datum list and `gain`
    // the gain channel (nullptr without one); false after a message.
    bool CheckTransfer(int mnemonics, ControlState*& datums, CLisChannelItem*& gain)
    {
        if (!UpdateData(true)) return false;
        datums = PickedWaveDatums(Control::kIdcWaveDatums);
        if (!datums || !CheckTransferFields(m_samplePeriod, m_receivers, m_mnemonic >= 0 && m_mnemonic < mnemonics,
                                            "Please Select a Waveform Mnemonic     "))
            return false;
        gain = ChannelOfKey(m_gainKey);
        return !NeedsDatum(gain, "Gain Datum");
    }

    uint32_t m_nextKey = kFirstWaveformKey;
    int64_t m_gainKey = -1; // -1: none picked

private:
    static constexpr unsigned kMaxReceivers = 32;
    static constexpr float kMaxPeriod = 2048.0f;
};
