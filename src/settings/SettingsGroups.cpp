// The start-up values of the store's groups.
#include "settings/ConvertCnvValues.h"
#include "settings/DisplayOptions.h"
#include "settings/DomainRanges.h"
#include "settings/DomainSetupGroup.h"
#include "settings/LogSetupGroup.h"
#include "settings/ProcessingSetupGroups.h"
#include "settings/SemblanceMapSetupGroup.h"
#include "settings/UtilitiesSetupGroup.h"
#include "settings/VdlSetupGroup.h"
#include "settings/XPlotSetupGroup.h"

#include <initializer_list>

namespace {
constexpr double kDefaultTopDepth = 1.0;
constexpr double kDefaultBottomDepth = 50000.0;
} // namespace

void DomainRanges::SetDefaultRanges()
{
    freqStart = 0.0f;
    freqStop = 10000.0f;
    timeStart = 0.0f;
    timeStop = 5000.0f;
    slowMin = 40.0f;
    slowMax = 240.0f;
    azimMin = 0.0f;
    azimMax = 360.0f;
}

void DisplayOptionBlock::SetDefaults()
{
    *this = DisplayOptionBlock{};
    currentMode = -1;
    zoomFactor1 = zoomFactor2 = zoomFactor3 = 1.0f;
    receiverAvailable.fill(1);
    receiverShown.fill(1);
    blackPen = 1;
    penColourChanged = 1;
    thickPen = 1;
    penWidthChanged = 1;
    whiteBackground = 1;
    backgroundChanged = 1;
    redrawRequest = 1;
    profileOption = 1;
    singleReceiver = 1;
}

void ConvertCnvValues::SetDefaults()
{
    *this = ConvertCnvValues{};
}

void DomainSetupGroup::SetDefaults()
{
    *this = DomainSetupGroup{};
    topDepth = kDefaultTopDepth;
    bottomDepth = kDefaultBottomDepth;
    depthFrame = 1.0;
    SetDefaultRanges();
    slownessUnit = SlownessUnit::kPerFoot;
    domain = ViewDomain::kTime;
}

void VdlSetupGroup::SetDefaults()
{
    *this = VdlSetupGroup{};
    topDepth = kDefaultTopDepth;
    bottomDepth = kDefaultBottomDepth;
    depthScale = 480.0f;
    SetDefaultRanges();
    slownessUnit = SlownessUnit::kPerFoot;
    domain = ViewDomain::kTime;
    colour = "Black";
    type = WaveStyle::kVdl;
    palette = kPaletteColor;
}

void SemblanceMapSetupGroup::SetDefaults()
{
    *this = SemblanceMapSetupGroup{};
    topDepth = kDefaultTopDepth;
    bottomDepth = kDefaultBottomDepth;
    timeStart = 0.0f;
    timeStop = 1000.0f;
    slowMin = 40.0f;
    slowMax = 240.0f;
    slownessUnit = SlownessUnit::kPerFoot;
    colour = "Brown";
    type = WaveStyle::kVdl;
    palette = kPaletteColor;
}

void XPlotDatumFlags::SetDefaults()
{
    *this = XPlotDatumFlags{};
}

void XPlotSetupGroup::SetDefaults()
{
    *this = XPlotSetupGroup{};
    topDepth = kDefaultTopDepth;
    bottomDepth = kDefaultBottomDepth;
    freqMin = 1000.0f;
    freqMax = 3000.0f;
    slowMin = 80.0f;
    slowMax = 480.0f;
    slownessUnit = SlownessUnit::kPerFoot;
}

void LogSetupGroup::SetDefaults()
{
    *this = LogSetupGroup{}; // also releases the plot items of a used group
    depthTrackOn = 0;
    depthTrackOff = 1;
    english = 1;
    metric = 0;
    backBlue = 1;
    depthScale = 480.0f;
    for (int i = 0; i < 4; ++i)
        trackWidth[static_cast<size_t>(i)] = 4.0f;
    itemPens = {{{"Brown", "Bold"}, {"Blue", "Bold"}, {"White", "Bold"}}};
}

void UtilitiesSetupGroup::SetDefaults()
{
    *this = UtilitiesSetupGroup{};
    taskName = "Extract Item(s)";
    for (ToolInputSelection* input : {&primary, &secondary, &density}) {
        input->startDepth = kDefaultTopDepth;
        input->stopDepth = kDefaultBottomDepth;
    }
    // The dialog refuses a decimation outside 1..10 even for tasks that ignore it,
    // so the start value must be one it accepts.
    decimation = 1;
}

void DepthProfileSetupGroup::SetDefaults()
{
    *this = DepthProfileSetupGroup{};
    domain = ViewDomain::kTime;
    type = WaveStyle::kVdl;
    colour = "Blue";
    palette = kPaletteColor;
    slownessUnit = SlownessUnit::kPerFoot;
    topDepth = kDefaultTopDepth;
    bottomDepth = kDefaultBottomDepth;
    depthScale = 480.0f;
    SetDefaultRanges();
}

void DormantSetupGroups::SetDefaults()
{
    *this = DormantSetupGroups{};
    depthProfile.SetDefaults();
}
