// Item type codes (descriptor byte 4 of a QTX datum) and what the program says about
// each: its family, the item label that LIS tables and tool dictionaries give it, the
// tool a recognised LIS datum of the type is credited to, and how the domain view
// captions and labels its traces. One table; every module looks codes up here.
//
// The receiver array of a code (spacing, mask) is CReceiverGeometry's; the waveform
// mnemonics stay there too, since the recognisers give some codes other ones.
#pragma once

#include "dataset/QtxLayout.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// How a LIS information table groups item types: waveforms by source, and the kinds
// processed from waveforms. None: the type is not described in such a table.
enum class ItemFamily : uint8_t {
    None,
    Monopole,
    DipoleX,
    DipoleY,
    Quadrupole,
    Phase,
    Semblance,
    Energy,
    InstFrequency, // frequency curves against time
    InstSlowness,  // slowness curves against time
};

// The domain view's labels of a datum's traces: prefix and receiver number ("R1"),
// right-aligned in `width` characters (" XX1"). A datum of one trace without a
// prefix is labelled with a single blank; a count of 0 gives no labels.
struct TraceLabels {
    const char* prefix = "";
    uint8_t count = 0;
    uint8_t width = 0;
};

struct ItemType {
    uint8_t code = 0;
    ItemFamily family = ItemFamily::None;
    const char* label = "";    // "DSIMONO"; empty when none
    const char* toolName = ""; // "Dsi"; empty when none
    const char* caption = "Unrecognized Tool";
    TraceLabels traces;
};

// Isonic waveforms: four receivers 8 inches apart.
inline constexpr uint8_t kItemTypeIsonic = 21;

// Curves that text curve tables name by their first letters (Import TXT Data Set).
inline constexpr uint8_t kItemTypeTransitTimeR1 = 46; // transit times of receivers R1 to R8: 46 to 53
inline constexpr uint8_t kItemTypeFrequencyCurve = 54;
inline constexpr uint8_t kItemTypeSlownessCurve = 65; // "DT..."
inline constexpr uint8_t kItemTypeSemblanceCurve = 94;
inline constexpr uint8_t kItemTypeGdCurve = 95;
inline constexpr uint8_t kItemTypeSdCurve = 96;

// Curves the tool box derives. A curve copied from its input keeps the trace
// category's code as its type, as earlier data sets hold it.
inline constexpr uint8_t kItemTypeCopiedCurve = kCategoryTrace;
inline constexpr uint8_t kItemTypeVpVsRatio = 79;
inline constexpr uint8_t kItemTypePoissonRatio = 80;
inline constexpr uint8_t kItemTypeBulkModulus = 187;
inline constexpr uint8_t kItemTypeShearModulus = 188;
inline constexpr uint8_t kItemTypeYoungsModulus = 189;
inline constexpr uint8_t kItemTypeCompressibility = 190;
inline constexpr uint8_t kItemTypeDensity = 191;
inline constexpr uint8_t kItemTypeVp = 220;
inline constexpr uint8_t kItemTypeVs = 221;

// Near and far waveforms of the two short-spacing tools, and the array of three
// receivers built from a near and a far pair.
inline constexpr uint8_t kItemTypeLssNear = 224;
inline constexpr uint8_t kItemTypeLssFar = 225;
inline constexpr uint8_t kItemTypeDsltNear = 226;
inline constexpr uint8_t kItemTypeDsltFar = 227;
inline constexpr uint8_t kItemTypeLssArray = 228;

// Every code has an entry; codes the program does not know keep the defaults above.
const ItemType& ItemTypeOf(uint8_t code);

// The code whose item label and tool name are exactly these; 0 when none.
uint8_t ItemTypeOfLabel(std::string_view toolName, std::string_view label);

// The codes of a family, ascending (every unknown code for None).
std::vector<uint8_t> ItemTypesOf(ItemFamily family);

inline bool InFamily(uint8_t code, ItemFamily family) { return ItemTypeOf(code).family == family; }

// Processed families (phase, semblance, energy, instantaneous curves) hold one trace
// of values derived from waveforms; the others hold waveforms, a trace per receiver.
bool IsProcessed(ItemFamily family);

// Category of a datum of the family read back from a LIS file (1 for waveforms).
uint8_t RecognisedCategory(ItemFamily family);

std::vector<std::string> ItemTraceLabels(uint8_t code);

// The frequency-slowness cross-plot's caption of a pair whose slowness curve has this
// code: the curve's caption with "Frequency-Slowness" for "Slowness" ("Monopole
// Frequency-Slowness"); the plain caption for a code of no slowness curve.
std::string FrequencySlownessCaption(uint8_t code);

// The semblance map view's title of a map of this code: "Semblance Map" for the
// codes of semblance maps (60-64, 92), a blank for any other.
const char* SemblanceMapTitle(uint8_t code);

// The names the log plot gives the entries of a waveform datum of this code: "R1" to
// "R8" and the like per receiver, one fixed name for phase and semblance datums,
// " XX1" to "XX13" for energy components; none for other codes.
std::vector<std::string> PlotReceiverLabels(uint8_t code);

// ---- the curves a depth profile writes --------------------------------------------------
// One output datum of a profile: its mnemonic and item type code.
struct ProfileCurve {
    std::string mnemonic;
    uint8_t code = 0;
    bool operator==(const ProfileCurve&) const = default;
};

// Profiles name receivers 1 to 13 only.
inline constexpr int kProfileCurveReceivers = 13;

// Arrival time of trace 0..12: " TT1" .. " TT9", "TT10" .. "TT13" with codes 46..53 and
// 195..199; false for any other trace.
bool ArrivalTimeCurve(int trace, ProfileCurve& out);
// Instantaneous frequency of trace 0..12: " FQ1" .. " FQ9", "FQ10" .. "FQ13" with codes
// 171..178 and 205..209; false for any other trace.
bool InstantaneousFrequencyCurve(int trace, ProfileCurve& out);
// The peak frequency of a datum: "FREQ", code 54.
ProfileCurve PeakFrequencyCurve();
// The peak slowness tracked on a distribution or semblance item: DTCO 36 (26, 31),
// DTXX 38 (27, 32), DTYY 40 (28, 33), DTXY 42 (29, 34), DTYX 44 (30, 35), DTQD 89 (87,
// 88); false for any other input type.
bool PeakSlownessCurve(uint8_t inputType, ProfileCurve& out);
// The azimuth of trace 0..12 of an energy component (113 XX, 114 XY, 115 YX, 116 YY):
// " XX1" .. "XX13" with codes 117..124 and 231..235, and so on per component; false for
// any other input type or trace.
bool AzimuthCurve(uint8_t inputType, int trace, ProfileCurve& out);
