#include "dataset/ReceiverGeometry.h"

#include "dataset/QtxLayout.h"

namespace {

// Every array the program knows has evenly spaced receivers, so a tool is its
// entry count, spacing and mask. Codes 85 and 86 describe six entries under
// mask 95 (receivers 1-5 and 7, not 1-6); the mismatch is kept on purpose,
// other code reads the mask and the offsets each on its own.
struct ArrayLayout {
    int entries;
    float spacing; // inches
    uint16_t mask;
};

ArrayLayout LayoutFor(uint8_t code)
{
    switch (code) {
    case 21:
        return {4, 8.0f, 15};
    case 22: case 23: case 24: case 25:
        return {7, 6.0f, 127};
    case 26: case 27: case 28: case 29: case 30:
    case 31: case 32: case 33: case 34: case 35:
    case 87: case 88:
        return {1, 0.0f, 1};
    case 85: case 86:
        return {6, 9.0f, 95};
    case 107: case 108:
        return {5, 6.0f, 31};
    case 109: case 110: case 229: case 230:
    case 219: case 222: case 223: case 251: case 252: case 253:
        return {4, 12.0f, 15};
    case 111: case 112:
        return {4, 6.0f, 15};
    case 179: case 180: case 181: case 182: case 183: case 184: case 185: case 186:
        return {13, 6.0f, 8191};
    case 224: case 225: case 226: case 227:
        return {2, 24.0f, 3};
    case 228:
        return {3, 24.0f, 7};
    default:
        return {8, 6.0f, 255};
    }
}

constexpr int kLoggedReceivers = 13;

std::string PerReceiver(const char* const (&names)[kLoggedReceivers], short receiver)
{
    return (receiver >= 0 && receiver < kLoggedReceivers) ? names[receiver] : "";
}

// Receivers 1-8 and 9-13 took their item type codes from separate blocks.
uint8_t PerReceiverType(uint8_t firstOf1To8, uint8_t firstOf9To13, short receiver)
{
    if (receiver >= 0 && receiver < 8) return uint8_t(firstOf1To8 + receiver);
    if (receiver >= 8 && receiver < kLoggedReceivers) return uint8_t(firstOf9To13 + receiver - 8);
    return uint8_t(receiver);
}

// Four characters each: a one-digit receiver number takes a leading blank.
constexpr const char* kAmplitude[kLoggedReceivers] = {
    " AM1", " AM2", " AM3", " AM4", " AM5", " AM6", " AM7", " AM8", " AM9", "AM10", "AM11", "AM12", "AM13"};
constexpr const char* kEnergy[kLoggedReceivers] = {
    " EG1", " EG2", " EG3", " EG4", " EG5", " EG6", " EG7", " EG8", " EG9", "EG10", "EG11", "EG12", "EG13"};
constexpr const char* kFrequency[kLoggedReceivers] = {
    " FQ1", " FQ2", " FQ3", " FQ4", " FQ5", " FQ6", " FQ7", " FQ8", " FQ9", "FQ10", "FQ11", "FQ12", "FQ13"};

} // namespace

CReceiverGeometry::CReceiverGeometry() : m_spacing{}, m_offset{}, m_receiverMask(0) {}

void CReceiverGeometry::SetItemType(short itemType)
{
    const ArrayLayout layout = LayoutFor(uint8_t(itemType));
    for (int i = 0; i < layout.entries; ++i) {
        m_spacing[i] = i == 0 ? 0.0f : layout.spacing;
        m_offset[i] = float(i) * layout.spacing;
    }
    m_receiverMask = layout.mask;
}

std::string CReceiverGeometry::GetWaveformMnemonic(uint8_t itemType)
{
    switch (itemType) {
    case 2: case 7: case 12: case 17: case 71: case 72: case 73: case 74: case 181: case 223:
        return "WDXX";
    case 3: case 8: case 13: case 19: case 182: case 251:
        return "WDXY";
    case 4: case 9: case 14: case 20: case 183: case 252:
        return "WDYX";
    case 5: case 10: case 15: case 18: case 75: case 76: case 77: case 78: case 184: case 253:
        return "WDYY";
    case 86:
        return "WQUD";
    default:
        return "WMNO";
    }
}

// Codes 71-78 group by component here, not as in GetWaveformMnemonic.
std::string CReceiverGeometry::GetComponentEnergyMnemonic(uint8_t itemType)
{
    switch (itemType) {
    case 2: case 7: case 12: case 17: case 71: case 73: case 181: case 223:
        return "EGXX";
    case 3: case 8: case 13: case 19: case 72: case 74: case 182: case 251:
        return "EGXY";
    case 4: case 9: case 14: case 20: case 75: case 77: case 183: case 252:
        return "EGYX";
    case 5: case 10: case 15: case 18: case 76: case 78: case 184: case 253:
        return "EGYY";
    default:
        return "UDEF";
    }
}

std::string CReceiverGeometry::GetSemblanceMnemonic(uint8_t itemType)
{
    switch (itemType) {
    case 32: return "SDXX";
    case 33: return "SDYY";
    case 34: return "SDXY";
    case 35: return "SDYX";
    case 87: return "SQUD";
    default: return "SMNO";
    }
}

std::string CReceiverGeometry::GetDistributionMnemonic(uint8_t itemType)
{
    switch (itemType) {
    case 27: return "PDXX";
    case 28: return "PDYY";
    case 29: return "PDXY";
    case 30: return "PDYX";
    case 88: return "PQUD";
    default: return "PMNO";
    }
}

std::string CReceiverGeometry::GetPeakMnemonic(uint8_t itemType)
{
    switch (itemType) {
    case 32: return "SPXX";
    case 33: return "SPYY";
    case 34: return "SPXY";
    case 35: return "SPYX";
    case 87: return "SPQD";
    default: return "SPCO";
    }
}

uint8_t CReceiverGeometry::GetPeakItemType(short itemType)
{
    switch (uint8_t(itemType)) {
    case 32: return 39;
    case 33: return 41;
    case 34: return 43;
    case 35: return 45;
    case 87: return 90;
    default: return 37;
    }
}

std::string CReceiverGeometry::GetInstFrequencyMnemonic(uint8_t itemType)
{
    switch (itemType) {
    case 159: return "IFXX";
    case 160: return "IFXY";
    case 161: return "IFYX";
    case 162: return "IFYY";
    case 163: return "IFQD";
    default: return "IFMN";
    }
}

std::string CReceiverGeometry::GetInstSlownessMnemonic(uint8_t itemType)
{
    switch (itemType) {
    case 165: return "ISXX";
    case 166: return "ISXY";
    case 167: return "ISYX";
    case 168: return "ISYY";
    case 169: return "ISQD";
    default: return "ISMN";
    }
}

std::string CReceiverGeometry::GetAmplitudeMnemonic(short receiver)
{
    return PerReceiver(kAmplitude, receiver);
}
std::string CReceiverGeometry::GetEnergyMnemonic(short receiver)
{
    return PerReceiver(kEnergy, receiver);
}
std::string CReceiverGeometry::GetFrequencyMnemonic(short receiver)
{
    return PerReceiver(kFrequency, receiver);
}

// Amplitude and energy logs share their item type codes.
uint8_t CReceiverGeometry::GetAmplitudeItemType(short receiver)
{
    return PerReceiverType(97, 200, receiver);
}
uint8_t CReceiverGeometry::GetEnergyItemType(short receiver)
{
    return PerReceiverType(97, 200, receiver);
}
uint8_t CReceiverGeometry::GetFrequencyItemType(short receiver)
{
    return PerReceiverType(171, 205, receiver);
}

std::string CReceiverGeometry::GetUnitLabel(uint8_t unitCode)
{
    switch (unitCode) {
    case kUnitMicroseconds: return "[uSec]";
    case kUnitMicrosecondsPerFoot: return "[uSec/ft]";
    case kUnitMicrosecondsPerMetre: return "[uSec/m]";
    case kUnitHertz: return "[Hz]";
    case kUnitDegrees: return "[deg]";
    case kUnitMillivolts: return "[mV]";
    default: return " ";
    }
}
