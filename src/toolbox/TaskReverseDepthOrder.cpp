// Reverse Depth Order: the frames in the opposite order, under the opposite direction.
#include "toolbox/ToolsWnd.h"

#include "platform/Format.h"
#include "platform/Host.h"

int ReverseDepthOrder(CToolsWnd& e)
{
    const ToolInput& in = e.m_primary;
    if (!e.OpenSingleInput()) return -1;
    if (MessageBox(Format("This data set log direction is : %s.\nWould you like to continue?.",
                          e.m_logDirectionLabel.c_str()),
                   MB_YESNO)
        != IDYES)
        return -1;
    e.m_taskLine = "*** Tools (Reverse depth order)";
    const uint8_t direction = in.logDirection == qtx::kLogUp ? qtx::kLogDown : qtx::kLogUp;
    if (!e.WriteOutputHead(direction, in.bottom, in.top)) return -1;
    // Depths are accumulated from the input's last depth, not read from its frames.
    return e.RunFrames("Reverse Depth : ", in.frameCount - 1, -1, in.bottom, -e.InputDepthStep(),
                       [&e](double depth) { return e.CopyFrame(depth); });
}
