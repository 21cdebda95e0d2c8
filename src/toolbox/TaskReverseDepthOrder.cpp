// Reverse Depth Order: the frames in the opposite order, under the opposite direction.
#include "toolbox/ToolsWnd.h"

#include "platform/Format.h"
#include "platform/Host.h"

int ReverseDepthOrder(CToolsWnd& e)
{
    const ToolInput& in = e.Task().primary;
    if (!e.Inputs().OpenSingleInput()) return -1;
    if (MessageBox(Format("This data set log direction is : %s.\nWould you like to continue?.",
                          e.Task().logDirectionLabel.c_str()),
                   MB_YESNO)
        != IDYES)
        return -1;
    e.Task().taskLine = "*** Tools (Reverse depth order)";
    const uint8_t direction = in.logDirection == qtx::kLogUp ? qtx::kLogDown : qtx::kLogUp;
    if (!e.Output().WriteOutputHead(direction, in.bottom, in.top)) return -1;
    // Depths are accumulated from the input's last depth, not read from its frames.
    return e.Output().RunFrames("Reverse Depth : ", in.frameCount - 1, -1, in.bottom, -e.Inputs().InputDepthStep(),
                                [&e](double depth) { return e.Output().CopyFrame(depth); });
}
