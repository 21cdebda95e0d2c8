#include "platform/Controls.h"
#include "platform/Host.h"
#include "res/ClssToolSetupDlgIds.h"

DialogTemplate ClssToolSetupDialogTemplate()
{
    using K = ControlKind;
    using enum clss_tool_setup::Control;
    constexpr int kReceiverGroup = -2;
    return {kIddClssToolSetup,
            "CLSS Tool Setup",
            {
                {kReceiverGroup, K::GroupBox, "Receiver", 0, 0},
                {kIdcReceiver1, K::RadioButton, "Receiver #1", kReceiverGroup, kGroupStart},
                {kIdcReceiver2, K::RadioButton, "Receiver #2", kReceiverGroup, 0},
                {kIdcReceiver3, K::RadioButton, "Receiver #3", kReceiverGroup, 0},
                {kIdcReceiver4, K::RadioButton, "Receiver #4", kReceiverGroup, 0},
                {kIdcOk, K::Button, "OK", 0, kDefaultButton},
                {IDCANCEL, K::Button, "Cancel", 0, 0},
            }};
}
