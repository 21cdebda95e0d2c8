// What the four LIS pick dialogs (Pick APX Waveforms, MAC/XMAC Waveform Pick, DAL Tool
// Waveform, FWS Wave Pick) share: the scan's channels lent to them, a datum list of the
// free ones, the waveforms built from the user's picks and their wave list, and the
// removal of a waveform with the channels it took.
//
// Ownership: the channels stay the scan's (the logical file owns them); a dialog only
// sets their used flags and list keys, and gives every waveform copies of them. The
// waveforms are the dialog's until the caller takes them after OK. Cancel puts every
// used flag back as it was when the dialog opened: nothing changes.
#pragma once

#include "lis/LisRecords.h"
#include "platform/Dialog.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CWavePickDlg : public CDialog {
public:
    // The first waveform key of the dialogs that number their waveforms.
    static constexpr uint32_t kFirstWaveformKey = 43605;

    // The datum-list key of channel i of the lent list is i + `keyBase`.
    CWavePickDlg(int templateId, int keyBase);

    std::vector<CLisChannelItem*> m_channelList; // lent by the caller before DoModal; not owned
    CWaveformPickList m_picked;                  // the waveforms built, in order
    std::string m_dataSetName;                   // the logical file's name

    // A datum-list line: "%s %s  - %d Samples" (mnemonic, units, samples).
    static std::string DatumText(const CLisChannelItem& channel);
    // A wave-list line: "%s - %s  %s %d Rcvr, %d @ %4.1f  " for a waveform (its first
    // wave channel's mnemonic without its last character, mnemonic, label, receivers,
    // samples, period), "%s  %s %d @ %4.1f  " for slowness and frequency items.
    static std::string WaveLine(const CWaveformPickItem& item);
    // The pick dialogs' wave-datum removal: the only entry of `list`, else its
    // selected one; nothing without a selection.
    static void RemoveWaveDatum(ControlState& list);

    void OnCancel() override;

protected:
    // From OnInitDialog: keeps the used flags for Cancel and keys every channel.
    void BeginPicking();
    // Fills list `listId` with the free channels, item data = key.
    void FillDatumList(int listId);
    // Fills list `listId` with m_picked, item data = each waveform's key.
    void FillWaveList(int listId);
    // The channel of a key; nullptr for none.
    CLisChannelItem* ChannelOfKey(int64_t key) const;
    // The key of list `listId`'s selected line; -1 without one.
    int64_t SelectedKey(int listId) const;
    // A copy of the channel of `key` for a waveform (index = key); the channel is marked
    // used. nullptr for no channel.
    std::unique_ptr<CLisChannelItem> TakeChannel(int64_t key);
    // Removes the waveform of the wave list's selected line: the channels its lists were
    // cut from become free unless another waveform still holds them. False without one.
    bool RemoveSelectedWaveform(int waveListId);

    // The picks of the transfer. PickChannel puts the channel selected in the datum list
    // `listId` into `key` and shows its mnemonic in `fieldId` (nothing without a
    // selection); ClearPick forgets it again. AddWaveDatum appends the selected channel to
    // the wave-datum list `waveDatumsId` (item data = key).
    void PickChannel(int listId, int fieldId, int64_t& key);
    void ClearPick(int fieldId, int64_t& key);
    void AddWaveDatum(int listId, int waveDatumsId);

    // The wave-datum list `waveDatumsId` when it holds a pick; else nullptr, after the
    // message that asks for one.
    ControlState* PickedWaveDatums(int waveDatumsId);
    // The transfer's checks of the typed fields, in the dialogs' order, each with its
    // message: a sample period, a number of receivers, then the dialog's radio choice
    // (`chooseMessage` asks for it). False after the first message.
    bool CheckTransferFields(float period, unsigned receivers, bool chosen, const char* chooseMessage);
    // Without `channel`, asks "Does this Waveform need a <what>?": true when the user
    // says yes (the transfer then stops for the pick).
    bool NeedsDatum(const CLisChannelItem* channel, const char* what);

    // A waveform of the user's picks (category 1), with `receivers` receivers and traces.
    static std::unique_ptr<CWaveformPickItem> NewWaveform(uint32_t key, const std::string& tool,
                                                          const std::string& label, uint8_t typeCode,
                                                          const std::string& mnemonic, unsigned receivers,
                                                          float period);
    // The waveform is named after its first wave channel: "<mnemonic> - <label>".
    static void NameAfter(CWaveformPickItem& item, const CLisChannelItem& first);
    // The wave datums of list `datums` become the wave channels of `item` (named after
    // the first): several are one per receiver, in the order picked; a single one holds
    // every receiver's trace one after another and is sliced into item.m_receiverCount
    // traces named `stemOf` its mnemonic. Every channel taken is marked used.
    void TakeWaveDatums(const ControlState& datums, CWaveformPickItem& item,
                        std::string (*stemOf)(const std::string&));

    static constexpr const char* kPickAWave = "Please pick a Wave name from the Datum List     ";

private:
    int m_keyBase;
    std::vector<uint32_t> m_usedAtStart; // per lent channel
};
