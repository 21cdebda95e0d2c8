// The display toolbar and pop-up menu: zoom, pens, backgrounds and receivers change
// the current display options and the active viewer's record, then repaint it.
#include "app/AppCommands.h"
#include "platform/Format.h"
#include "platform/Host.h"
#include "res/CommandIds.h"
#include "viewers/ViewOptions.h"
#include "settings/DisplayOptions.h"

#include <array>
#include <utility>

namespace {

using D = DisplayOptionBlock;
constexpr int kMaxZoomLevel = 5;

DisplayOptionBlock& Display() { return theApp.m_display; }

void Store()
{
    Display().redrawRequest = 1;
    StoreViewOptions();
}

void ResetZoomFactors(D& d) { d.zoomFactor1 = d.zoomFactor2 = d.zoomFactor3 = 1.0f; }

void Refuse(const std::string& text)
{
    theApp.m_message = text;
    MessageBox(text, MB_OK | MB_ICONSTOP);
}

void OnZoomReset()
{
    Display().zoomLevel = 0;
    ResetZoomFactors(Display());
    Store();
}

void OnZoom(int direction)
{
    D& d = Display();
    if (direction > 0 && d.zoomLevel >= kMaxZoomLevel)
        return Refuse(Format("Reached maximum zoom in (+x%2d times)!\nOperation will be abandoned.", 32));
    if (direction < 0 && d.zoomLevel <= -kMaxZoomLevel)
        return Refuse(Format("Reached minimum zoom out (-x%2d) times)!\nOperation will be abandoned.", 32));
    d.zoomLevel = int16_t(d.zoomLevel + direction);
    if (direction > 0) d.zoomFactor1 *= 2.0f;
    else d.zoomFactor1 /= 2.0f;
    d.zoomFactor2 += 0.1f * float(direction);
    d.zoomFactor3 += 0.1f * float(direction);
    Store();
}

void OnAxisZoom(int16_t D::*request, int16_t value)
{
    Display().*request = value;
    Store();
}

void OnSaveProfile()
{
    Display().saveProfile = Display().saveProfile ? 0 : 1;
    StoreViewOptions();
}

// Sets `chosen` among the one-hot `group`; choosing the current one changes nothing.
template <size_t N>
void Choose(uint32_t D::*chosen, const std::array<uint32_t D::*, N>& group, uint32_t D::*changed)
{
    D& d = Display();
    if (d.*chosen) return;
    for (auto member : group) d.*member = member == chosen ? 1 : 0;
    d.*changed = 1;
    RepaintActiveView();
}

constexpr std::array<uint32_t D::*, 5> kPens{&D::redPen, &D::greenPen, &D::bluePen, &D::blackPen, &D::whitePen};
constexpr std::array<uint32_t D::*, 2> kWidths{&D::thinPen, &D::thickPen};
constexpr std::array<uint32_t D::*, 3> kBackgrounds{&D::whiteBackground, &D::yellowBackground, &D::grayBackground};

void OnReceiver(int receiver)
{
    D& d = Display();
    const size_t i = size_t(receiver - 1);
    if (i >= size_t(kReceivers) || !d.receiverAvailable[i]) return;
    if (!d.receiverShown[i] || CountShownReceivers() > 1) {
        d.receiverShown[i] = d.receiverShown[i] ? 0 : 1;
        Store();
        return;
    }
    Refuse(Format("Could not disable receiver R%d.\nMinimum one receiver has to be active.\n"
                  "Operation will be abandoned.",
                  receiver));
}

} // namespace

void AddDisplayOptionCommands(CommandMap& c)
{
    c.Add(ID_ZOOM_RESET, [] { OnZoomReset(); });
    c.Add(ID_ZOOM_IN, [] { OnZoom(+1); });
    c.Add(ID_ZOOM_OUT, [] { OnZoom(-1); });
    c.Add(ID_DEPTH_ZOOM_IN, [] { OnAxisZoom(&D::depthZoomRequest, 1); });
    c.Add(ID_DEPTH_ZOOM_OUT, [] { OnAxisZoom(&D::depthZoomRequest, -1); });
    c.Add(ID_DATA_ZOOM_IN, [] { OnAxisZoom(&D::dataAxisZoomRequest, 1); });
    c.Add(ID_DATA_ZOOM_OUT, [] { OnAxisZoom(&D::dataAxisZoomRequest, -1); });
    c.Add(ID_SAVE_PROFILE, [] { OnSaveProfile(); });

    // Options shown as indeterminate (2) while on.
    auto onOff = [](uint32_t D::*flag) { return [flag](CommandState& s) { s.check = Display().*flag ? 2 : 0; }; };
    const std::pair<int, uint32_t D::*> pens[] = {{ID_RED_PEN, &D::redPen}, {ID_GREEN_PEN, &D::greenPen},
                                                 {ID_BLUE_PEN, &D::bluePen}, {ID_BLACK_PEN, &D::blackPen},
                                                 {ID_WHITE_PEN, &D::whitePen}};
    for (const auto& [id, flag] : pens)
        c.Add(id, [flag = flag] { Choose(flag, kPens, &D::penColourChanged); }, onOff(flag));
    c.Add(ID_THIN_PEN, [] { Choose(&D::thinPen, kWidths, &D::penWidthChanged); }, onOff(&D::thinPen));
    c.Add(ID_THICK_PEN, [] { Choose(&D::thickPen, kWidths, &D::penWidthChanged); }, onOff(&D::thickPen));
    const std::pair<int, uint32_t D::*> backgrounds[] = {{ID_WHITE_BACKGROUND, &D::whiteBackground},
                                                        {ID_YELLOW_BACKGROUND, &D::yellowBackground},
                                                        {ID_GRAY_BACKGROUND, &D::grayBackground}};
    for (const auto& [id, flag] : backgrounds)
        c.Add(id, [flag = flag] { Choose(flag, kBackgrounds, &D::backgroundChanged); }, onOff(flag));
    c.Add(ID_SINGLE_RECEIVER, [] { Display().singleReceiver = Display().singleReceiver ? 0 : 1; }, onOff(&D::singleReceiver));

    for (int n = 1; n <= kReceivers; ++n)
        c.Add(
            ReceiverCommand(n), [n] { OnReceiver(n); },
            [n](CommandState& s) {
                const size_t i = size_t(n - 1);
                s.check = Display().receiverAvailable[i] && Display().receiverShown[i] ? 0 : 2;
            });
}
