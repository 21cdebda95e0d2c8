#include "res/StringTable.h"

#include <algorithm>
#include <iterator>

namespace {

struct StringEntry {
    unsigned id;
    const char* text;
};

// Both tables are sorted by id, ids unique: LoadString bisects them. Texts are kept byte for byte
// as the data sets and other modules expect them, spelling and leading blanks
// included (a one-digit per-receiver mnemonic is padded to four characters).
// Command prompts: status-bar text, then "\n" and the tool tip. A command's prompt is
// the entry of its own id, so they are kept apart from the other texts: a command given
// the number of a mnemonic or a caption would otherwise show that text as its prompt.
constexpr StringEntry kPrompts[] = {
    {32771, "Convert LIS data set to QTX format\nLisToQtx"},
    {32772, "Convert CNV data set\nCNV"},
    {32773, "Process Brontelux data set\nQTX"},
    {32774, "Scan CNV data set\nScan CNV"},
    {32775, "Scan QTX data set\nScan QTX"},
    {32776, "Filter data\nFilter"},
    {32779, "Convert LIS data set\nLIS"},
    {32781, "Process monopole data\nQuickLook"},
    {32785, "Display data signature in time domain\nTime"},
    {32786, "Display data signature in frequency domain\nFrequency"},
    {32787, "Display data signature in slowness domain\nSlowness"},
    {32789, "Process data\nProcess"},
    {32790, "Process semblane map data\nTimeSlowness"},
    {32791, "Dispersion correction\nDispersion"},
    {32792, "Smooth data in depth domain\nSmooth"},
    {32793, "Profile data (time, frequency or slowness domain)\nProfile"},
    {32794, "Display VDL log\nVDL"},
    {32795, "Display semblance map\nMap"},
    {32796, "Tool box\nTools"},
    {32798, "Close all active windows\nClose all"},
    {32799, "Call pop up menu.\nPopUp"},
    {32800, "PopUp menu\nPopUp"},
    {32803, "Load tool dictionary\nDictionary"},
    {32804, "Mnemonics reminder\nMnemonics"},
    {32805, "Anisotropy analysis\nAnisotropy"},
    {32806, "Display data signature in azimuth domain\nAzimuth"},
    {32808, "Display frequency-slowness cross plot\nXPlot"},
    {32809, "Convert Qtx data to Lis format\nQtxToLis"},
    {32811, "Kalman filter\nKalman"},
    {32813, "Plot header\nHeader"},
    {32821, "Scan LIS data set\nScan LIS"},
    {32836, "Save profile."},
    {32837, "Plot log\nPlot"},
    {32840, "Convert CNV data set to QTX format\nCnvToQtx"},
    {57606, "Change the printer and plotting options."},
};

// Every other text: captions, mnemonics, labels.
constexpr StringEntry kStrings[] = {
    // Frame title and document-type string.
    {128, "BronteluxViewer"},
    {129, "\nBronte\nBronte"},

    // Mechanical-property mnemonics.
    {32841, "FWSMONO"},
    {32842, "VP  "},
    {32843, "VS  "},
    {32844, "KM/S"},
    {32845, "KMOD"},
    {32846, "GMOD"},
    {32847, "EMOD"},
    {32848, "COMP"},
    {32849, "RHOZ"},

    // Instantaneous attributes, per-domain captions, and the receiver 9-13
    // mnemonics and labels.
    {50000, "IFMN"},
    {50001, "IFXX"},
    {50002, "IFXY"},
    {50003, "IFYX"},
    {50004, "IFYY"},
    {50005, "IFQD"},
    {50006, "ISMN"},
    {50007, "ISXX"},
    {50008, "ISXY"},
    {50009, "ISYX"},
    {50010, "ISYY"},
    {50011, "ISQD"},
    {50012, "Monopole Slowness"},
    {50013, "Dipole XX Slowness"},
    {50014, "Dipole XY Slowness"},
    {50015, "Dipole YX Slowness"},
    {50016, "Dipole YY Slowness"},
    {50017, "Quadrupole Slowness"},
    {50018, "Monopole Frequency"},
    {50019, "Dipole XX Frequency"},
    {50020, "Dipole XY Frequency"},
    {50021, "Dipole YX Frequency"},
    {50022, "Dipole YY Frequency"},
    {50023, "Quadrupole Frequency"},
    {50024, "Monopole Frequency-Slowness"},
    {50025, "Dipole XX Frequency-Slowness"},
    {50026, "Dipole XY Frequency-Slowness"},
    {50027, "Dipole YX Frequency-Slowness"},
    {50028, "Dipole YY Frequency-Slowness"},
    {50029, "Quadrupole Frequency-Slowness"},
    {50030, " FQ1"},
    {50031, " FQ2"},
    {50032, " FQ3"},
    {50033, " FQ4"},
    {50034, " FQ5"},
    {50035, " FQ6"},
    {50036, " FQ7"},
    {50037, " FQ8"},
    {50038, "FREQ"},
    {50039, " FQ9"},
    {50040, "FQ10"},
    {50041, "FQ11"},
    {50042, "FQ12"},
    {50043, "FQ13"},
    {50044, " TT9"},
    {50045, "TT10"},
    {50046, "TT11"},
    {50047, "TT12"},
    {50048, "TT13"},
    {50049, " AM9"},
    {50050, "AM10"},
    {50051, "AM11"},
    {50052, "AM12"},
    {50053, "AM13"},
    {50054, "R9"},
    {50055, "R10"},
    {50056, "R11"},
    {50057, "R12"},
    {50058, "R13"},
    {50059, " XX9"},
    {50060, "XX10"},
    {50061, "XX11"},
    {50062, "XX12"},
    {50063, "XX13"},
    {50064, " XY9"},
    {50065, "XY10"},
    {50066, "XY11"},
    {50067, "XY12"},
    {50068, "XY13"},
    {50069, " YX9"},
    {50070, "YX10"},
    {50071, "YX11"},
    {50072, "YX12"},
    {50073, "YX13"},
    {50074, " YY9"},
    {50075, "YY10"},
    {50076, "YY11"},
    {50077, "YY12"},
    {50078, "YY13"},

    // Application title, the progress-dialog caption.
    {57344, "Brontelux"},
    {59394, "Processing progress"},

    // Tool captions.
    {61216, "DSI Tool"},
    {61217, "XMAC Tool"},
    {61218, "MAC Tool"},
    {61219, "WaveSonic Tool"},
    {61220, "ISONIC Tool"},
    {61221, "Unrecognized Tool"},
    {61222, "BAT Tool"},
    {61223, "FWS Tool"},
    {61224, "HBC Tool"},
    {61225, "SMA Tool"},
    {61226, "DAL Tool"},
    {61227, "SLT Tool"},

    // Axis titles.
    {61243, "Time [uSec]"},
    {61244, "Frequency [kHz]"},
    {61245, "Slowness [uSec/ft]"},
    {61246, "Slowness [uSec/m]"},
    {61247, "Azimuth [deg]"},

    // Waveform, semblance and distribution mnemonics of CNV channels.
    {61248, "WMNO"},
    {61249, "WDXX"},
    {61250, "WDXY"},
    {61251, "WDYX"},
    {61252, "WDYY"},
    {61253, "SMNO"},
    {61254, "SDXX"},
    {61255, "SDXY"},
    {61256, "SDYX"},
    {61257, "SDYY"},
    {61258, "PMNO"},
    {61259, "PDXX"},
    {61260, "PDXY"},
    {61261, "PDYX"},
    {61262, "PDYY"},
    {61263, "UDEF"},

    // Receiver labels R1-R8 (R9-R13 are 50054-50058) and the blank label.
    {61264, "R1"},
    {61265, "R2"},
    {61266, "R3"},
    {61267, "R4"},
    {61268, "R5"},
    {61269, "R6"},
    {61270, "R7"},
    {61271, "R8"},
    {61272, " "},

    // Data-type captions.
    {61273, "Dipole XX"},
    {61274, "Dipole XY"},
    {61275, "Dipole YX"},
    {61276, "Dipole YY"},
    {61277, "Monopole"},
    {61278, "Quadrupole"},
    {61279, "Semblance"},
    {61280, "Slowness Distribution"},

    // Output mnemonics; 61316-61320 double as the unit labels.
    {61281, "DTCO"},
    {61282, "DTXX"},
    {61283, "DTXY"},
    {61284, "DTYX"},
    {61285, "DTYY"},
    {61286, "SPCO"},
    {61287, "SPXX"},
    {61288, "SPXY"},
    {61289, "SPYX"},
    {61290, "SPYY"},
    {61291, " TT1"},
    {61292, " TT2"},
    {61293, " TT3"},
    {61294, " TT4"},
    {61295, " TT5"},
    {61296, " TT6"},
    {61297, " TT7"},
    {61298, " TT8"},
    {61299, "GDCO"},
    {61300, "GDXX"},
    {61301, "GDYY"},
    {61302, "GDXY"},
    {61303, "GDYX"},
    {61304, "SMMO"},
    {61305, "SMXX"},
    {61306, "SMXY"},
    {61307, "SMYX"},
    {61308, "SMYY"},
    {61309, "Semblance Map"},
    {61310, "FREQ"},
    {61311, "STCO"},
    {61312, "STXX"},
    {61313, "STXY"},
    {61314, "STYX"},
    {61315, "STYY"},
    {61316, "[uSec]"},
    {61317, "[uSec/ft]"},
    {61318, "[uSec/m]"},
    {61319, "[Hz]"},
    {61320, "[deg]"},
    {61321, "VPVS"},
    {61322, "POIS"},
    {61323, "WQUD"},
    {61324, "SQUD"},
    {61325, "PQUD"},
    {61326, "DTQD"},
    {61327, "SPQD"},
    {61328, "GDQD"},
    {61329, "SMQD"},
    {61330, "STQD"},

    // Mnemonic descriptions of the reminder dialog, in id order (the dialog
    // shows 61343-61348 before 61337-61342).
    {61331, "WMNO - Monopole waveform"},
    {61332, "WDXX - Dipole X on axis waveform"},
    {61333, "WDXY - Dipole X off axis waveform"},
    {61334, "WDYX - Dipole Y off axis waveform"},
    {61335, "WDYY - Dipole Y on axis waveform"},
    {61336, "WQUD - Quadrupole waveform"},
    {61337, "SMNO - Monopole semblance projection"},
    {61338, "SDXX - Dipole X on axis semblance projection"},
    {61339, "SDXY - Dipole X off axis semblance projection"},
    {61340, "SDYX - Dipole Y off axis semblance projection"},
    {61341, "SDYY - Dipole Y on axis semblance projection"},
    {61342, "SQUD - Quadrupole semblance projection"},
    {61343, "SPNO - Monopole slowness distribution"},
    {61344, "PDXX - Dipole X on axis slowness distribution"},
    {61345, "PDXY - Dipole X off axis slowness distribution"},
    {61346, "PDYX - Dipole Y off axis slowness distribution"},
    {61347, "PDYY - Dipole Y on axis slowness distribution"},
    {61348, "PQUD - Quadrupole slowness distribution"},
    {61349, "SMMO - Monopole semblance map"},
    {61350, "SMXX - Dipole X on axis semblance map"},
    {61351, "SMXY - Dipole X off axis semblance map"},
    {61352, "SMYX - Dipole Y off axis semblance map"},
    {61353, "SMYY - Dipole Y on axis semblance map"},
    {61354, "SMQD - Quadrupole semblance map"},
    {61355, "DTCO - Compressional wave slowness"},
    {61356, "DTXX - Dipole X on axis flexural wave slowness"},
    {61357, "DTXY - Dipole X off axis flexural wave slowness"},
    {61358, "DTYX - Dipole Y off axis flexural wave slowness"},
    {61359, "DTYY - Dipole Y on axis flexural wave slowness"},
    {61360, "DTQD - Quadrupole screw wave slowness"},
    {61361, "SPCO - Monopole sembalace peak value"},
    {61362, "SPXX - Dipole X on axis semblance peak value"},
    {61363, "SPXY - Dipole X off axis semblance peak value"},
    {61364, "SPYX - Dipole Y off axis semblance peak value"},
    {61365, "SPYY - Dipole Y on axis semblance peak value"},
    {61366, "SPQD - Quadrupole semblance peak value"},
    {61367, "GDCO - Monopole goodness value"},
    {61368, "GDXX - Dipole X on axis goodness value"},
    {61369, "GDXY - Dipole X off axis goodness value"},
    {61370, "GDYX - Dipole Y off axis goodness value"},
    {61371, "GDYY - Dipole Y on axis goodness value"},
    {61372, "GDQD - Quadrupole goodness value"},
    {61373, "STCO - Monopole standard deviation value"},
    {61374, "STXX - Dipole X on axis standard deviation value"},
    {61375, "STXY - Dipole X off axis standard deviation value"},
    {61376, "STYX - Dipole Y off axis standard deviation value"},
    {61377, "STYY - Dipole Y on axis standard deviation value"},
    {61378, "STQD - Quadrupole standard deviation value"},

    // Per-receiver mnemonics; 61387 doubles as the "[mV]" unit label.
    {61379, " AM1"},
    {61380, " AM2"},
    {61381, " AM3"},
    {61382, " AM4"},
    {61383, " AM5"},
    {61384, " AM6"},
    {61385, " AM7"},
    {61386, " AM8"},
    {61387, "[mV]"},
    {61388, "EGXX"},
    {61389, "EGXY"},
    {61390, "EGYX"},
    {61391, "EGYY"},
    {61392, " XX1"},
    {61393, " XX2"},
    {61394, " XX3"},
    {61395, " XX4"},
    {61396, " XX5"},
    {61397, " XX6"},
    {61398, " XX7"},
    {61399, " XX8"},
    {61400, " XY1"},
    {61401, " XY2"},
    {61402, " XY3"},
    {61403, " XY4"},
    {61404, " XY5"},
    {61405, " XY6"},
    {61406, " XY7"},
    {61407, " XY8"},
    {61408, " YX1"},
    {61409, " YX2"},
    {61410, " YX3"},
    {61411, " YX4"},
    {61412, " YX5"},
    {61413, " YX6"},
    {61414, " YX7"},
    {61415, " YX8"},
    {61416, " YY1"},
    {61417, " YY2"},
    {61418, " YY3"},
    {61419, " YY4"},
    {61420, " YY5"},
    {61421, " YY6"},
    {61422, " YY7"},
    {61423, " YY8"},
    {61424, "ASXX"},
    {61425, "ASXY"},
    {61426, "ASYX"},
    {61427, "ASYY"},
    {61428, "ACXX"},
    {61429, "ACXY"},
    {61430, "ACYX"},
    {61431, "ACYY"},
    {61432, "FAZM"},
};

template <size_t N> constexpr bool IdsStrictlyAscending(const StringEntry (&table)[N])
{
    for (size_t i = 1; i < N; ++i)
        if (table[i - 1].id >= table[i].id) return false;
    return true;
}
static_assert(IdsStrictlyAscending(kStrings) && IdsStrictlyAscending(kPrompts),
              "string tables must be sorted by id without duplicates");

template <size_t N> const StringEntry* FindIn(const StringEntry (&table)[N], unsigned id)
{
    const auto it = std::lower_bound(std::begin(table), std::end(table), id,
                                     [](const StringEntry& e, unsigned key) { return e.id < key; });
    return (it != std::end(table) && it->id == id) ? it : nullptr;
}

constexpr bool NoIdInBoth()
{
    for (const StringEntry& p : kPrompts)
        for (const StringEntry& e : kStrings)
            if (p.id == e.id) return false;
    return true;
}
static_assert(NoIdInBoth(), "a prompt's id is a command's, and no other text may share it");

const StringEntry* Find(unsigned id)
{
    const StringEntry* prompt = FindIn(kPrompts, id);
    return prompt ? prompt : FindIn(kStrings, id);
}

} // namespace

std::string LoadString(unsigned id)
{
    const StringEntry* e = Find(id);
    return e ? std::string(e->text) : std::string();
}

bool HasString(unsigned id) { return Find(id) != nullptr; }

bool IsCommandPrompt(unsigned id) { return FindIn(kPrompts, id) != nullptr; }
