#include "dataset/ItemTypes.h"

#include <array>
#include <cstddef>

namespace {

using F = ItemFamily;

constexpr TraceLabels R(uint8_t receivers) { return {"R", receivers, 0}; }
constexpr TraceLabels Components(const char* pair) { return {pair, 13, 4}; }
constexpr TraceLabels kOneUnnamed{"", 1, 0};
constexpr TraceLabels kNoLabels{};

constexpr const char* kMono = "Monopole";
constexpr const char* kXX = "Dipole XX";
constexpr const char* kXY = "Dipole XY";
constexpr const char* kYX = "Dipole YX";
constexpr const char* kYY = "Dipole YY";
constexpr const char* kUnknown = "Unrecognized Tool";

// Ascending codes. Captions and trace labels differ between codes of one tool and
// family on purpose: they are what the views have always shown. A processed item of
// one trace has the one blank label.
constexpr ItemType kTable[] = {
    // code, family, item label, tool, domain caption, domain trace labels
    {1, F::Monopole, "DSIMONO", "Dsi", kMono, R(8)},
    {2, F::DipoleX, "DSIDXX", "Dsi", kXX, R(8)},
    {3, F::DipoleX, "DSIDXY", "Dsi", kXY, R(8)},
    {4, F::DipoleY, "DSIDYX", "Dsi", kYX, R(8)},
    {5, F::DipoleY, "DSIDYY", "Dsi", kYY, R(8)},
    {6, F::Monopole, "XMACMONO", "Xmac", kMono, R(8)},
    {7, F::DipoleX, "XMACDXX", "Xmac", kXX, R(8)},
    {8, F::DipoleX, "XMACDXY", "Xmac", kXY, R(8)},
    {9, F::DipoleY, "XMACDYX", "Xmac", kYX, R(8)},
    {10, F::DipoleY, "XMACDYY", "Xmac", kYY, R(8)},
    {11, F::Monopole, "MACMONO", "MAC", kMono, R(8)},
    {12, F::DipoleX, "MACDXX", "MAC", kXX, R(8)},
    {13, F::DipoleX, "MACDXY", "MAC", kXY, R(8)},
    {14, F::DipoleY, "MACDYX", "MAC", kYX, R(8)},
    {15, F::DipoleY, "MACDYY", "MAC", kYY, R(8)},
    {16, F::Monopole, "WSMONO", "Wavesonic", kMono, R(8)},
    {17, F::DipoleX, "WSDXAC", "Wavesonic", kXX, R(8)},
    {18, F::DipoleY, "WSDYBD", "Wavesonic", kYY, R(8)},
    {19, F::DipoleX, "WSDXBD", "Wavesonic", kXY, R(8)},
    {20, F::DipoleY, "WSDYAC", "Wavesonic", kYX, R(8)},
    {21, F::Monopole, "ISONIC", "Isonic", kMono, R(4)},
    {22, F::Monopole, "BATHFF", "Bat", kMono, R(7)},
    {23, F::Monopole, "BATHFB", "Bat", kMono, R(7)},
    {24, F::Monopole, "BATLFF", "Bat", kMono, R(7)},
    {25, F::Monopole, "BATLFB", "Bat", kMono, R(7)},
    {26, F::Phase, "PHASEMONO", "Phase Dist", "Slowness Distribution", kOneUnnamed},
    {27, F::Phase, "PHASEDXX", "Phase Dist", "Slowness Distribution", kOneUnnamed},
    {28, F::Phase, "PHASEDYY", "Phase Dist", "Slowness Distribution", kOneUnnamed},
    {29, F::Phase, "PHASEDXY", "Phase Dist", "Slowness Distribution", kOneUnnamed},
    {30, F::Phase, "PHASEDYX", "Phase Dist", "Slowness Distribution", kOneUnnamed},
    {31, F::Semblance, "SEMBMONO", "Semblance Proj", "Semblance", kOneUnnamed},
    {32, F::Semblance, "SEMBDXX", "Semblance Proj", "Semblance", kOneUnnamed},
    {33, F::Semblance, "SEMBDYY", "Semblance Proj", "Semblance", kOneUnnamed},
    {34, F::Semblance, "SEMBDXY", "Semblance Proj", "Semblance", kOneUnnamed},
    {35, F::Semblance, "SEMBDYX", "Semblance Proj", "Semblance", kOneUnnamed},
    {71, F::DipoleX, "WSDXA", "Wavesonic", kXX, R(8)},
    {72, F::DipoleX, "WSDXB", "Wavesonic", kXX, R(8)},
    {73, F::DipoleX, "WSDXC", "Wavesonic", kXX, R(8)},
    {74, F::DipoleX, "WSDXD", "Wavesonic", kXX, R(8)},
    {75, F::DipoleY, "WSDYA", "Wavesonic", kYY, R(8)},
    {76, F::DipoleY, "WSDYB", "Wavesonic", kYY, R(8)},
    {77, F::DipoleY, "WSDYC", "Wavesonic", kYY, R(8)},
    {78, F::DipoleY, "WSDYD", "Wavesonic", kYY, R(8)},
    {81, F::Monopole, "WSMA", "Wavesonic", kMono, R(8)},
    {82, F::Monopole, "WSMB", "Wavesonic", kMono, R(8)},
    {83, F::Monopole, "WSMC", "Wavesonic", kMono, R(8)},
    {84, F::Monopole, "WSMD", "Wavesonic", kMono, R(8)},
    {85, F::Monopole, "APXMONO", "Apx", kMono, R(6)},
    {86, F::Quadrupole, "APXQUAD", "Apx", "Quadrupole", R(6)},
    {87, F::Semblance, "SEMBQD", "Semblance Proj", "Semblance", kOneUnnamed},
    {88, F::Phase, "PHASEQD", "Phase Dist", "Slowness Distribution", kOneUnnamed},
    {105, F::Monopole, "SLTUPPER", "SLT", kUnknown, kNoLabels},
    {106, F::Monopole, "SLTLOWER", "SLT", kUnknown, kNoLabels},
    {107, F::Monopole, "QSLTUPPER", "Qslt", kMono, R(5)},
    {108, F::Monopole, "QSLTLOWER", "Qslt", kMono, R(5)},
    {109, F::Monopole, "SCOUTUPPER", "Scout", kMono, R(4)},
    {110, F::Monopole, "SCOUTLOWER", "Scout", kMono, R(4)},
    {111, F::Monopole, "DALNEAR", "DAL", kMono, R(4)},
    {112, F::Monopole, "DALFAR", "DAL", kMono, R(4)},
    {113, F::Energy, "EGXX", "Energy", kXX, Components("XX")},
    {114, F::Energy, "EGXY", "Energy", kXY, Components("XY")},
    {115, F::Energy, "EGYX", "Energy", kYX, Components("YX")},
    {116, F::Energy, "EGYY", "Energy", kYY, Components("YY")},
    {158, F::InstFrequency, "IFMN", "Inst Phase", "Monopole Frequency", R(13)},
    {159, F::InstFrequency, "IFXX", "Inst Phase", "Dipole XX Frequency", R(13)},
    {160, F::InstFrequency, "IFXY", "Inst Phase", "Dipole XY Frequency", R(13)},
    {161, F::InstFrequency, "IFYX", "Inst Phase", "Dipole YX Frequency", R(13)},
    {162, F::InstFrequency, "IFYY", "Inst Phase", "Dipole YY Frequency", R(13)},
    {163, F::InstFrequency, "IFQD", "Inst Phase", "Quadrupole Frequency", R(13)},
    {164, F::InstSlowness, "ISMN", "Inst Slowness", "Monopole Slowness", R(13)},
    {165, F::InstSlowness, "ISXX", "Inst Slowness", "Dipole XX Slowness", R(13)},
    {166, F::InstSlowness, "ISXY", "Inst Slowness", "Dipole XY Slowness", R(13)},
    {167, F::InstSlowness, "ISYX", "Inst Slowness", "Dipole YX Slowness", R(13)},
    {168, F::InstSlowness, "ISYY", "Inst Slowness", "Dipole YY Slowness", R(13)},
    {169, F::InstSlowness, "ISQD", "Inst Slowness", "Quadrupole Slowness", R(13)},
    {170, F::DipoleX, "APXDXX", "Apx", kUnknown, kNoLabels},
    {179, F::None, "", "", kMono, R(13)},
    {180, F::None, "", "", kMono, R(13)},
    {181, F::None, "", "", kXX, R(13)},
    {182, F::None, "", "", kXY, R(13)},
    {183, F::None, "", "", kYX, R(13)},
    {184, F::None, "", "", kYY, R(13)},
    {185, F::None, "", "", kMono, R(13)},
    {186, F::None, "", "", kMono, R(13)},
    {219, F::Monopole, "FWSMONO", "", kMono, R(4)},
    {222, F::None, "", "", kMono, R(4)},
    {223, F::None, "", "", kXX, R(4)},
    // Named by tool dictionaries only: no LIS table of this program describes them.
    {224, F::None, "LSSNEAR", "", kMono, R(2)},
    {225, F::None, "LSSFAR", "", kMono, R(2)},
    {226, F::None, "DSLTNEAR", "", kMono, R(2)},
    {227, F::None, "DSLTFAR", "", kMono, R(2)},
    {228, F::None, "", "", kMono, R(3)},
    {229, F::None, "", "", kMono, R(4)},
    {230, F::None, "", "", kMono, R(4)},
    {251, F::None, "", "", kXY, kNoLabels},
    {252, F::None, "", "", kYX, kNoLabels},
    {253, F::None, "", "", kYY, kNoLabels},
};

constexpr bool Ascending()
{
    for (size_t i = 1; i < std::size(kTable); ++i)
        if (kTable[i - 1].code >= kTable[i].code) return false;
    return true;
}
static_assert(Ascending(), "one row per code, in order");

constexpr std::array<ItemType, 256> IndexByCode()
{
    std::array<ItemType, 256> all{};
    for (size_t c = 0; c < all.size(); ++c) all[c].code = uint8_t(c);
    for (const ItemType& t : kTable) all[t.code] = t;
    return all;
}

constexpr std::array<ItemType, 256> kByCode = IndexByCode();

} // namespace

const ItemType& ItemTypeOf(uint8_t code) { return kByCode[code]; }

uint8_t ItemTypeOfLabel(std::string_view toolName, std::string_view label)
{
    for (const ItemType& t : kTable)
        if (*t.label && label == t.label && toolName == t.toolName) return t.code;
    return 0;
}

std::vector<uint8_t> ItemTypesOf(ItemFamily family)
{
    std::vector<uint8_t> codes;
    for (const ItemType& t : kByCode)
        if (t.family == family) codes.push_back(t.code);
    return codes;
}

bool IsProcessed(ItemFamily family)
{
    switch (family) {
    case F::Phase: case F::Semblance: case F::Energy: case F::InstFrequency: case F::InstSlowness: return true;
    default: return false;
    }
}

uint8_t RecognisedCategory(ItemFamily family)
{
    switch (family) {
    case F::Phase: case F::Semblance: case F::InstSlowness: return 3;
    case F::Energy: return 4;
    case F::InstFrequency: return 2;
    default: return 1;
    }
}

std::vector<std::string> ItemTraceLabels(uint8_t code)
{
    const TraceLabels& t = ItemTypeOf(code).traces;
    if (!*t.prefix) return std::vector<std::string>(t.count ? 1 : 0, " ");
    std::vector<std::string> labels;
    labels.reserve(t.count);
    for (int receiver = 1; receiver <= t.count; ++receiver) {
        std::string label = t.prefix + std::to_string(receiver);
        if (label.size() < t.width) label.insert(0, t.width - label.size(), ' ');
        labels.push_back(std::move(label));
    }
    return labels;
}

std::string FrequencySlownessCaption(uint8_t code)
{
    std::string caption = ItemTypeOf(code).caption;
    constexpr std::string_view kSlowness = "Slowness";
    if (InFamily(code, F::InstSlowness) && caption.ends_with(kSlowness))
        caption.replace(caption.size() - kSlowness.size(), kSlowness.size(), "Frequency-Slowness");
    return caption;
}

const char* SemblanceMapTitle(uint8_t code)
{
    return (code >= 60 && code <= 64) || code == 92 ? "Semblance Map" : " ";
}

std::vector<std::string> PlotReceiverLabels(uint8_t code)
{
    struct Range {
        uint8_t first, last;
        uint8_t receivers;
    };
    // The log plot's own receiver counts, which differ from the domain view's.
    constexpr Range kReceiverRanges[] = {{1, 20, 8},    {21, 21, 4},   {22, 25, 7},    {71, 78, 8},   {81, 84, 8},
                                         {85, 86, 6},   {105, 112, 8}, {158, 169, 8},  {179, 186, 13}, {219, 219, 8},
                                         {223, 230, 8}, {251, 253, 8}};
    for (const Range& r : kReceiverRanges)
        if (code >= r.first && code <= r.last) {
            std::vector<std::string> labels;
            // Appended, not concatenated: GCC 12 warns falsely of an overlap in "R" + text.
            for (int receiver = 1; receiver <= r.receivers; ++receiver) labels.push_back(std::string("R").append(std::to_string(receiver)));
            return labels;
        }
    switch (code) {
    case 26: return {"PMNO"};
    case 27: return {"PDXX"};
    case 28: return {"PDYY"};
    case 29: return {"PDXY"};
    case 30: return {"PDYX"};
    case 31: return {"SMNO"};
    case 32: return {"SDXX"};
    case 33: return {"SDYY"};
    case 34: return {"SDXY"};
    case 35: return {"SDYX"};
    case 87: return {"SQUD"};
    case 88: return {"PQUD"};
    case 113: case 114: case 115: case 116: return ItemTraceLabels(code); // " XX1" .. "XX13"
    default: return {};
    }
}

namespace {

// " XX1" .. " XX9", "XX10" .. "XX13": the prefix and the receiver number in four characters.
std::string ReceiverMnemonic(const char* prefix, int trace)
{
    std::string m = prefix;
    m += std::to_string(trace + 1);
    if (m.size() < 4) m.insert(0, 4 - m.size(), ' ');
    return m;
}

// Receivers 1 to 8 take the first eight codes from `first8`, 9 to 13 five from `first13`.
bool PerReceiverCurve(const char* prefix, uint8_t first8, uint8_t first13, int trace, ProfileCurve& out)
{
    if (trace < 0 || trace >= kProfileCurveReceivers) return false;
    out.mnemonic = ReceiverMnemonic(prefix, trace);
    out.code = uint8_t(trace < 8 ? first8 + trace : first13 + (trace - 8));
    return true;
}

} // namespace

bool ArrivalTimeCurve(int trace, ProfileCurve& out) { return PerReceiverCurve("TT", 46, 195, trace, out); }

ProfileCurve PeakFrequencyCurve() { return {"FREQ", 54}; }

bool InstantaneousFrequencyCurve(int trace, ProfileCurve& out) { return PerReceiverCurve("FQ", 171, 205, trace, out); }

bool PeakSlownessCurve(uint8_t inputType, ProfileCurve& out)
{
    switch (inputType) {
    case 26: case 31: out = {"DTCO", 36}; return true;
    case 27: case 32: out = {"DTXX", 38}; return true;
    case 28: case 33: out = {"DTYY", 40}; return true;
    case 29: case 34: out = {"DTXY", 42}; return true;
    case 30: case 35: out = {"DTYX", 44}; return true;
    case 87: case 88: out = {"DTQD", 89}; return true;
    default: return false;
    }
}

bool AzimuthCurve(uint8_t inputType, int trace, ProfileCurve& out)
{
    switch (inputType) {
    case 113: return PerReceiverCurve("XX", 117, 231, trace, out);
    case 114: return PerReceiverCurve("XY", 125, 236, trace, out);
    case 115: return PerReceiverCurve("YX", 133, 241, trace, out);
    case 116: return PerReceiverCurve("YY", 141, 246, trace, out);
    default: return false;
    }
}
