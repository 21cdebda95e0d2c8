#include "platform/Controls.h"
#include "platform/Host.h"
#include "res/DalToolWaveformDlgIds.h"
#include "res/ResourceIds.h"

#include <string>

// Each row with its ----> and <---- buttons sits in a group box of its own, so that the
// automatic layout keeps the buttons beside their field.
DialogTemplate DalToolWaveformDialogTemplate()
{
    using K = ControlKind;
    using namespace dal_tool_waveform;
    constexpr int kDatumGroup = -2, kGainGroup = -3, kStartGroup = -4, kTransmitterGroup = -5, kListGroup = -6;
    constexpr int kRowGroups[4] = {-7, -8, -9, -10};
    DialogTemplate t{kIddDalToolWaveform,
                     "DAL Tool Waveform",
                     {
                         {kIdcStatic, K::Static,
                          "1. Pick Wave, Gain, and Start mnemonics from the Datum List\r\n"
                          "2. FIll in Number of Receivers (DAL 4)\r\n"
                          "3. Fill in Sample Period in microseconds\r\n"
                          "4. Pick Transmitter\r\n"
                          "4. Transfer picked items to wave list.",
                          0, 0},
                         {kIdcDataSet, K::Static, "Data Set:", 0, 0},
                         {kDatumGroup, K::GroupBox, "Datum List", 0, 0},
                         {kIdcDatumList, K::ListBox, "", kDatumGroup, kVScroll},
                     }};
    for (int r = 0; r < 4; ++r) {
        const std::string row = std::string("R").append(std::to_string(r + 1)); // not "R" + ...: a false GCC 12 warning
        t.controls.push_back({kRowGroups[r], K::GroupBox, row, 0, 0});
        t.controls.push_back({kIdcStatic, K::Static, row + " Wave:", kRowGroups[r], 0});
        t.controls.push_back({kWaveFields[r], K::Edit, "", kRowGroups[r], 0});
        t.controls.push_back({kSetWaves[r], K::Button, "---->", kRowGroups[r], 0});
        t.controls.push_back({kClearWaves[r], K::Button, "<----", kRowGroups[r], 0});
    }
    const ControlTemplate rest[] = {
        {kGainGroup, K::GroupBox, "Gain", 0, 0},
        {kIdcStatic, K::Static, "Gain:", kGainGroup, 0},
        {kIdcGain, K::Edit, "", kGainGroup, 0},
        {kIdcSetGain, K::Button, "---->", kGainGroup, 0},
        {kIdcClearGain, K::Button, "<----", kGainGroup, 0},
        {kStartGroup, K::GroupBox, "Start", 0, 0},
        {kIdcStatic, K::Static, "Start Time:", kStartGroup, 0},
        {kIdcStart, K::Edit, "", kStartGroup, 0},
        {kIdcSetStart, K::Button, "---->", kStartGroup, 0},
        {kIdcClearStart, K::Button, "<----", kStartGroup, 0},
        {kIdcStatic, K::Static, "Number Receivers:", 0, 0},
        {kIdcReceivers, K::Edit, "", 0, 0},
        {kIdcStatic, K::Static, "Sampling Period:", 0, 0},
        {kIdcSamplePeriod, K::Edit, "", 0, 0},
        {kTransmitterGroup, K::GroupBox, "Transmitter", 0, 0},
        {kIdcNear, K::RadioButton, "DAL Near", kTransmitterGroup, kGroupStart},
        {kIdcFar, K::RadioButton, "DAL Far", kTransmitterGroup, 0},
        {kListGroup, K::GroupBox, "Wave List", 0, 0},
        {kIdcWaveList, K::ListBox, "", kListGroup, kVScroll},
        {kIdcTransfer, K::Button, "Transfer To ---->", kListGroup, 0},
        {kIdcClearWave, K::Button, "<---- Clear From", kListGroup, 0},
        {IDOK, K::Button, "OK", 0, kDefaultButton},
        {IDCANCEL, K::Button, "Cancel", 0, 0},
    };
    t.controls.insert(t.controls.end(), std::begin(rest), std::end(rest));
    return t;
}
