#include "platform/Controls.h"
#include "platform/Host.h"
#include "res/FwsWavePickDlgIds.h"
#include "res/ResourceIds.h"

#include <string>

// Each receiver row with its buttons sits in a group box of its own, so that the
// automatic layout keeps the buttons beside its fields.
DialogTemplate FwsWavePickDialogTemplate()
{
    using K = ControlKind;
    using namespace fws_pick;
    constexpr int kTypeGroup = -2, kDatumGroup = -3, kPeriodGroup = -4, kListGroup = -5;
    constexpr int kRowGroups[kRows] = {-6, -7, -8, -9};
    DialogTemplate t{
        kIddFwsWavePick,
        "FWS Wave Pick",
        {
            {kIdcStatic, K::Static,
             "1. Select Waveform Type, then Wave(s) mnemonics and  Gain(s) mnemonics\r\n"
             "2. Select Sample Period\r\n"
             "3. Transfer selections to Wave List",
             0, 0},
            {kIdcDataSet, K::Static, "Data Set:", 0, 0},
            {kTypeGroup, K::GroupBox, "Waveform Type", 0, 0},
            {kIdcPacked, K::RadioButton, "Packed", kTypeGroup, kGroupStart},
            {kIdcIndividual, K::RadioButton, "Individual", kTypeGroup, 0},
            {kDatumGroup, K::GroupBox, "Datum List", 0, 0},
            {kIdcDatumList, K::ListBox, "", kDatumGroup, kVScroll},
            {kPeriodGroup, K::GroupBox, "Sample Period", 0, 0},
            {kIdc4us, K::RadioButton, "4 uSec", kPeriodGroup, kGroupStart},
            {kIdc8us, K::RadioButton, "8 uSec", kPeriodGroup, 0},
            {kIdcOther, K::RadioButton, "Other", kPeriodGroup, 0},
            {kIdcStatic, K::Static, "Other [uSec]:", kPeriodGroup, 0},
            {kIdcOtherPeriod, K::Edit, "", kPeriodGroup, 0},
        }};
    for (int r = 0; r < kRows; ++r) {
        t.controls.push_back({kRowGroups[r], K::GroupBox, std::string("R").append(std::to_string(r + 1)), 0, 0});
        t.controls.push_back({kIdcStatic, K::Static, "Gain", kRowGroups[r], 0});
        t.controls.push_back({kGainFields[r], K::Edit, "", kRowGroups[r], 0});
        t.controls.push_back({kIdcStatic, K::Static, "Waveform", kRowGroups[r], 0});
        t.controls.push_back({kWaveFields[r], K::Edit, "", kRowGroups[r], 0});
        t.controls.push_back({kSetGains[r], K::Button, "Gain ---->", kRowGroups[r], 0});
        t.controls.push_back({kSetWaves[r], K::Button, "Wave ---->", kRowGroups[r], 0});
        t.controls.push_back({kClearRows[r], K::Button, "<---- Clear", kRowGroups[r], 0});
    }
    const ControlTemplate rest[] = {
        {kListGroup, K::GroupBox, "Wave List", 0, 0},
        {kIdcWaveList, K::ListBox, "", kListGroup, kVScroll},
        {kIdcTransfer, K::Button, "To Wave List", kListGroup, 0},
        {kIdcClearWaveList, K::Button, "Clear WaveList", kListGroup, 0},
        {IDOK, K::Button, "OK", 0, kDefaultButton},
        {IDCANCEL, K::Button, "Cancel", 0, 0},
    };
    t.controls.insert(t.controls.end(), std::begin(rest), std::end(rest));
    return t;
}
