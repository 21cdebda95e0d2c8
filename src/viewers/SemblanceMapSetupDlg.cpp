#include "viewers/SemblanceMapSetupDlg.h"

#include "common/PathLabel.h"
#include "common/DomainRangeChecks.h"
#include "common/RangeCheck.h"
#include "common/SetupSteps.h"
#include "dataset/QtxFile.h"
#include "platform/Format.h"
#include "platform/Host.h"
#include "platform/SafeNumeric.h"
#include "res/SemblanceMapSetupDlgIds.h"

#include <utility>

namespace {

using enum semblance_map_setup::Control;

constexpr const char* kInputFileLabel = "Input File : ";
constexpr uint32_t kHelpSemblanceMapSetup = 11;

constexpr RangeFields kDepths{kIdcTopDepth, kIdcBottomDepth, "start depth", "stop depth", "ft", -10.0, 50000.0};
constexpr RangeFields kTime = TimeRangeFields<semblance_map_setup::Control>();
constexpr RangeFields kSlowness = SlownessRangeFields<semblance_map_setup::Control>();
// The Type list's lines, in order.
constexpr WaveStyle kStyles[] = {WaveStyle::kSignature, WaveStyle::kVdl};

} // namespace

CSemblanceMapSetupDlg::CSemblanceMapSetupDlg()
    : CPresentationSetupDlg(kIddSemblanceMapSetup, kHelpSemblanceMapSetup, kStyles, kPalettes)
{
    On(kIdcSelectInputFile, Notify::Clicked, [this] { OnSelectInputFile(); });
}

void CSemblanceMapSetupDlg::DoDataExchange(DataExchange& dx)
{
    ExchangePresentation(dx);
    ExchangeRange(dx, kDepths, m_setup.topDepth, m_setup.bottomDepth);
    ExchangeRange(dx, kTime, m_setup.timeStart, m_setup.timeStop);
    ExchangeRange(dx, kSlowness, m_setup.slowMin, m_setup.slowMax);
    ShowNormalize(dx);
}

bool CSemblanceMapSetupDlg::OnInitDialog()
{
    // The lists must hold their entries before the exchange selects the stored ones.
    FillTypeList();
    FillList(Item(kIdcColour), semblance_map_setup::kColours);
    FillPaletteList();
    CDialog::OnInitDialog();
    SetItemText(kIdcInputFile, ShortenPathLabel(kInputFileLabel, m_setup.path));
    EnableByType();
    SetItemText(kIdcSlownessGroup, SlownessRangeTitle(m_setup.slownessUnit));
    CenterWindow();
    return true;
}

void CSemblanceMapSetupDlg::OnSelectInputFile()
{
    // The host's dialog starts from the file chosen last.
    std::string title = m_setup.title, ext;
    if (!ChooseQtxInput(*this, kIdcInputFile, m_setup.path, title, ext)) return;
    m_setup.title = std::move(title);
    m_setup.ext = std::move(ext);

    // Used here and dropped: the list of the file chosen before is gone with its handler.
    QtxInputRead read;
    if (!ReadInput(m_setup.path, read)) return;

    // The windows of the last semblance map: the whole map, in whole numbers. Axis 1
    // is slowness, axis 2 time; a step or count from the file reaches an int only
    // through ClampToInt.
    for (const auto& datum : read.datums) {
        if (datum->m_category != kCategorySemblanceMap) continue;
        const CQtxDatumAxis& slowness = datum->m_axis1;
        const CQtxDatumAxis& time = datum->m_axis2;
        m_setup.slownessUnit = SlownessUnitOfCode(slowness.m_unit);
        const double slowMin = double(slowness.m_firstIndex) * slowness.m_step;
        const double slowMax = slowMin + double(slowness.m_sampleCount) * slowness.m_step;
        const double timeStart = double(time.m_firstIndex) * time.m_step;
        const double timeStop = (double(time.m_sampleCount) + time.m_firstIndex) * time.m_step;
        m_setup.timeStart = float(ClampToInt(timeStart));
        m_setup.timeStop = float(ClampToInt(timeStop));
        m_setup.slowMin = float(ClampToInt(slowMin));
        m_setup.slowMax = float(ClampToInt(slowMax));
        SetItemText(kIdcSlownessGroup, SlownessRangeTitle(m_setup.slownessUnit));
        SetItemText(kIdcTimeStart, Format("%d", ClampToInt(timeStart)));
        SetItemText(kIdcTimeStop, Format("%d", ClampToInt(timeStop)));
        SetItemText(kIdcSlowMin, Format("%d", ClampToInt(slowMin)));
        SetItemText(kIdcSlowMax, Format("%d", ClampToInt(slowMax)));
    }
}
