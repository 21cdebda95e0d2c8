#include "viewers/SemblanceMapSetupDlg.h"

#include "settings/SettingsStore.h"
#include "common/BrowseFile.h"
#include "common/Help.h"
#include "common/PathLabel.h"
#include "common/RangeCheck.h"
#include "dataset/QtxFile.h"
#include "platform/Format.h"
#include "platform/Host.h"
#include "platform/SafeNumeric.h"
#include "res/ResourceIds.h"

#include <utility>

namespace {

using enum semblance_map_setup::Control;

constexpr const char* kInputFileLabel = "Input File : ";
constexpr uint32_t kHelpSemblanceMapSetup = 11;

constexpr RangeFields kDepths{kIdcTopDepth, kIdcBottomDepth, "start depth", "stop depth", "ft", -10.0, 50000.0};
constexpr RangeFields kTime{kIdcTimeStart, kIdcTimeStop, "start time", "stop time", "uSec", 0.0, 30000.0};
// The message names uSec/ft whatever unit the file's maps have; the limits hold for both.
constexpr RangeFields kSlowness{kIdcSlowMin, kIdcSlowMax, "min slowness", "max slowness", "uSec/ft", 0.0, 2000.0};

template <size_t N> void Fill(ControlState* box, const char* const (&entries)[N])
{
    if (!box) return;
    box->ResetContent();
    for (const char* entry : entries) box->AddString(entry);
}

std::string SelectedText(const ControlState* box)
{
    return box && box->CurSel() >= 0 ? box->ItemText(box->CurSel()) : std::string();
}

} // namespace

CSemblanceMapSetupDlg::CSemblanceMapSetupDlg() : CSetupDlg(kIddSemblanceMapSetup)
{
    On(kIdcSelectInputFile, Notify::Clicked, [this] { OnSelectInputFile(); });
    On(kIdcType, Notify::SelChange, [this] { OnSelChangeType(); });
    On(kIdcNormalize, Notify::Clicked, [this] { OnNormalize(); });
    On(kIdcSaveSetup, Notify::Clicked, [this] { OnSaveSetup(); });
    On(kIdcHelp, Notify::Clicked, [this] { OnHelp(); });
}

void CSemblanceMapSetupDlg::DoDataExchange(DataExchange& dx)
{
    dx.ComboString(kIdcType, m_setup.type);
    dx.ComboString(kIdcColour, m_setup.colour);
    dx.ComboString(kIdcPalette, m_setup.palette);
    ExchangeRange(dx, kDepths, m_setup.topDepth, m_setup.bottomDepth);
    ExchangeRange(dx, kTime, m_setup.timeStart, m_setup.timeStop);
    ExchangeRange(dx, kSlowness, m_setup.slowMin, m_setup.slowMax);
    // The box shows the setting both ways; only OnNormalize changes the setting.
    if (!dx.Failed())
        if (ControlState* box = Item(kIdcNormalize)) box->SetCheck(m_setup.normalize ? 1 : 0);
}

void CSemblanceMapSetupDlg::EnableByType()
{
    const bool wiggles = SelectedText(Item(kIdcType)) == "Signature";
    EnableItem(kIdcColour, wiggles);
    EnableItem(kIdcPalette, !wiggles);
}

bool CSemblanceMapSetupDlg::OnInitDialog()
{
    // The lists must hold their entries before the exchange selects the stored ones.
    Fill(Item(kIdcType), semblance_map_setup::kTypes);
    Fill(Item(kIdcColour), semblance_map_setup::kColours);
    Fill(Item(kIdcPalette), semblance_map_setup::kPalettes);
    CDialog::OnInitDialog();
    SetItemText(kIdcInputFile, ShortenPathLabel(kInputFileLabel, m_setup.path));
    EnableByType();
    SetItemText(kIdcSlownessGroup, m_setup.slownessTitle);
    CenterWindow();
    return true;
}

void CSemblanceMapSetupDlg::OnSelChangeType()
{
    m_setup.type = SelectedText(Item(kIdcType));
    m_setup.palette = SelectedText(Item(kIdcPalette));
    m_setup.colour = SelectedText(Item(kIdcColour));
    EnableByType();
}

void CSemblanceMapSetupDlg::OnNormalize()
{
    m_setup.normalize = m_setup.normalize ? 0 : 1;
    if (ControlState* box = Item(kIdcNormalize)) box->SetCheck(int(m_setup.normalize));
}

void CSemblanceMapSetupDlg::OnSelectInputFile()
{
    // The host's dialog starts from the file chosen last.
    std::string title = m_setup.title, ext;
    if (!BrowseFile(Browse::Open, "Browse Input QTX File", "Qtx Data (*.qtx)|*.qtx|All Files (*.*)|*.*||",
                    m_setup.path, title, ext))
        return;
    m_setup.title = std::move(title);
    m_setup.ext = std::move(ext);
    SetItemText(kIdcInputFile, ShortenPathLabel(kInputFileLabel, m_setup.path));

    CQtxFile file;
    if (!file.OpenRead(m_setup.path)) return;
    double top = file.GetTopDepth(), bottom = file.GetBottomDepth();
    if (top == -1.0 || bottom == -1.0) return;
    // Read before anything is shown, so that a file whose descriptors cannot be read
    // leaves the depths and windows as they were. Used here and dropped: the list of
    // the file chosen before is gone with its handler.
    CQtxDatumList datums;
    if (!file.ReadDatumList(datums)) return;
    file.CloseInput();

    if (bottom < top) std::swap(top, bottom);
    m_setup.topDepth = top;
    m_setup.bottomDepth = bottom;
    // The formats of the data exchange: a field never shows one value two ways.
    SetItemText(kIdcTopDepth, DataExchange::NumberText(top));
    SetItemText(kIdcBottomDepth, DataExchange::NumberText(bottom));

    // The windows of the last semblance map: the whole map, in whole numbers. Axis 1
    // is slowness, axis 2 time; a step or count from the file reaches an int only
    // through ClampToInt.
    for (const auto& datum : datums) {
        if (datum->m_category != kCategorySemblanceMap) continue;
        const CQtxDatumAxis& slowness = datum->m_axis1;
        const CQtxDatumAxis& time = datum->m_axis2;
        m_setup.slownessTitle =
            slowness.m_unit == kUnitMicrosecondsPerMetre ? "Slowness range [uSec/m]" : "Slowness range [uSec/ft]";
        const double slowMin = double(slowness.m_firstIndex) * slowness.m_step;
        const double slowMax = slowMin + double(slowness.m_sampleCount) * slowness.m_step;
        const double timeStart = double(time.m_firstIndex) * time.m_step;
        const double timeStop = (double(time.m_sampleCount) + time.m_firstIndex) * time.m_step;
        m_setup.timeStart = float(ClampToInt(timeStart));
        m_setup.timeStop = float(ClampToInt(timeStop));
        m_setup.slowMin = float(ClampToInt(slowMin));
        m_setup.slowMax = float(ClampToInt(slowMax));
        SetItemText(kIdcSlownessGroup, m_setup.slownessTitle);
        SetItemText(kIdcTimeStart, Format("%d", ClampToInt(timeStart)));
        SetItemText(kIdcTimeStop, Format("%d", ClampToInt(timeStop)));
        SetItemText(kIdcSlowMin, Format("%d", ClampToInt(slowMin)));
        SetItemText(kIdcSlowMax, Format("%d", ClampToInt(slowMax)));
    }
}

void CSemblanceMapSetupDlg::OnSaveSetup()
{
    if (UpdateData(true)) EndDialog(kSavedSetup);
}

void CSemblanceMapSetupDlg::OnHelp() { ShowHelp(theApp.m_helpPath, kHelpContext, kHelpSemblanceMapSetup); }
