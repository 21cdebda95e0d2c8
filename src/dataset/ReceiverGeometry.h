// Receiver array of the acoustic tool behind a datum's item type code, and the
// fixed vocabulary that goes with item type codes: four-character mnemonics of
// waveforms and derived items, per-receiver log mnemonics and item types, and
// unit labels of axis unit codes.
#pragma once

#include <cstdint>
#include <string>

class CReceiverGeometry {
public:
    static constexpr int kMaxReceivers = 16;

    // Inches between receiver i+1 and receiver i; entry 0 is 0.
    float m_spacing[kMaxReceivers];
    // Inches from receiver 1 to receiver i+1; entry 0 is 0.
    float m_offset[kMaxReceivers];
    // Bit i set: receiver i+1 exists.
    uint16_t m_receiverMask;

    // All tables zero, mask 0: entries no SetItemType call has described read 0.
    CReceiverGeometry();

    // Describes the tool of the item type code's low byte. Only the entries of
    // the receivers it describes are written; later entries keep their values.
    void SetItemType(short itemType);

    // Mnemonics by waveform or semblance item type code.
    static std::string GetWaveformMnemonic(uint8_t itemType);
    static std::string GetSemblanceMnemonic(uint8_t itemType);
    static std::string GetDistributionMnemonic(uint8_t itemType);
    static std::string GetPeakMnemonic(uint8_t itemType);
    static std::string GetComponentEnergyMnemonic(uint8_t itemType);
    static std::string GetInstFrequencyMnemonic(uint8_t itemType);
    static std::string GetInstSlownessMnemonic(uint8_t itemType);

    // Item type of the semblance-peak log derived from a semblance type (low byte counts).
    static uint8_t GetPeakItemType(short itemType);

    // Per-receiver logs for receiver index 0-12 (receiver 1-13). Mnemonics are
    // empty for any other index; item types are the index's own low byte.
    static std::string GetAmplitudeMnemonic(short receiver);
    static std::string GetEnergyMnemonic(short receiver);
    static std::string GetFrequencyMnemonic(short receiver);
    static uint8_t GetAmplitudeItemType(short receiver);
    static uint8_t GetEnergyItemType(short receiver);
    static uint8_t GetFrequencyItemType(short receiver);

    // Label of an axis unit code; a single blank for "none" and unknown codes.
    static std::string GetUnitLabel(uint8_t unitCode);
};
