#include "platform/Controls.h"
#include "platform/Host.h"
#include "res/SelectToolDlgIds.h"

// The three group boxes only arrange the buttons: the fourteen form one radio set, so
// they follow each other in the template whatever box they sit in.
DialogTemplate SelectToolDialogTemplate()
{
    using K = ControlKind;
    using enum select_tool::Control;
    constexpr int kGroupA = -2, kGroupB = -3, kGroupC = -4;
    return {kIddSelectTool,
            "Select Tool to Convert",
            {
                {kIdcLisFile, K::Static, "LIS File:", 0, 0},
                {kGroupA, K::GroupBox, "Group A", 0, 0},
                {kGroupB, K::GroupBox, "Group B", 0, 0},
                {kGroupC, K::GroupBox, "Group C", 0, 0},
                {kIdcDsi, K::RadioButton, "DSI", kGroupA, kGroupStart},
                {kIdcIsonic, K::RadioButton, "Isonic", kGroupA, 0},
                {kIdcSlt, K::RadioButton, "SLT/HSLT", kGroupA, 0},
                {kIdcQslt, K::RadioButton, "QSLT", kGroupA, 0},
                {kIdcDslt, K::RadioButton, "DSLT", kGroupA, 0},
                {kIdcXmac, K::RadioButton, "XMAC", kGroupB, 0},
                {kIdcMac, K::RadioButton, "MAC", kGroupB, 0},
                {kIdcApx, K::RadioButton, "APX", kGroupB, 0},
                {kIdcDal, K::RadioButton, "DAL", kGroupB, 0},
                {kIdcWaveSonic, K::RadioButton, "Wavesonic", kGroupB, 0},
                {kIdcBat, K::RadioButton, "BAT", kGroupC, 0},
                {kIdcScout, K::RadioButton, "Scout/CLSS", kGroupC, 0},
                {kIdcFws, K::RadioButton, "FWS", kGroupC, 0},
                {kIdcLss, K::RadioButton, "LSS", kGroupC, 0},
                {IDOK, K::Button, "OK", 0, kDefaultButton},
                {IDCANCEL, K::Button, "Cancel", 0, 0},
            }};
}
