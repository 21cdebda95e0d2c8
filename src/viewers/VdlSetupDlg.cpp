#include "viewers/VdlSetupDlg.h"

#include "settings/SettingsStore.h"
#include "common/BrowseFile.h"
#include "common/Help.h"
#include "common/PathLabel.h"
#include "common/RangeCheck.h"
#include "dataset/ItemTypes.h"
#include "dataset/QtxFile.h"
#include "platform/Host.h"
#include "platform/Path.h"
#include "res/ResourceIds.h"

#include <initializer_list>
#include <utility>

namespace {

using enum vdl_setup::Control;

constexpr const char* kInputFileLabel = "Input File : ";
constexpr uint32_t kHelpVdlSetup = 17;

constexpr RangeFields kDepths{kIdcTopDepth, kIdcBottomDepth, "start depth", "stop depth", "ft", -100.0, 50000.0};
constexpr FieldLimits kDepthScale{"depth scale", 100.0, 2000.0, ""};
constexpr RangeFields kFrequency{kIdcFreqStart, kIdcFreqStop, "start frequency", "stop frequency", "Hz", 0.0, 30000.0};
constexpr RangeFields kTime{kIdcTimeStart, kIdcTimeStop, "start time", "stop time", "uSec", 0.0, 30000.0};
// The message names uSec/ft whatever unit the file's slowness has; the limits hold for both.
constexpr RangeFields kSlowness{kIdcSlowMin, kIdcSlowMax, "min slowness", "max slowness", "uSec/ft", 0.0, 2000.0};
constexpr RangeFields kAzimuth{kIdcAzimMin, kIdcAzimMax, "min azimuth", "max azimuth", "deg", 0.0, 360.0};

constexpr int kSwitched[] = {kIdcTimeStart, kIdcTimeStop, kIdcFreqStart, kIdcFreqStop, kIdcSlowMin,
                             kIdcSlowMax,   kIdcAzimMin,  kIdcAzimMax,   kIdcNormalize};

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

CVdlSetupDlg::CVdlSetupDlg() : CSetupDlg(kIddVdlSetup)
{
    On(kIdcSelectInputFile, Notify::Clicked, [this] { OnSelectInputFile(); });
    On(kIdcDomain, Notify::SelChange, [this] { OnSelChangeDomain(); });
    On(kIdcType, Notify::SelChange, [this] { OnSelChangeType(); });
    On(kIdcNormalize, Notify::Clicked, [this] { OnNormalize(); });
    On(kIdcSaveSetup, Notify::Clicked, [this] { OnSaveSetup(); });
    On(kIdcHelp, Notify::Clicked, [this] { OnHelp(); });
}

void CVdlSetupDlg::DoDataExchange(DataExchange& dx)
{
    dx.ComboString(kIdcDomain, m_setup.domain);
    dx.ComboString(kIdcType, m_setup.type);
    dx.ComboString(kIdcColour, m_setup.colour);
    dx.ComboString(kIdcPalette, m_setup.palette);
    ExchangeRange(dx, kDepths, m_setup.topDepth, m_setup.bottomDepth);
    dx.Text(kIdcDepthScale, m_setup.depthScale);
    CheckLimits(dx, kIdcDepthScale, m_setup.depthScale, kDepthScale);
    ExchangeRange(dx, kFrequency, m_setup.freqStart, m_setup.freqStop);
    ExchangeRange(dx, kTime, m_setup.timeStart, m_setup.timeStop);
    ExchangeRange(dx, kSlowness, m_setup.slowMin, m_setup.slowMax);
    ExchangeRange(dx, kAzimuth, m_setup.azimMin, m_setup.azimMax);
    // The box shows the setting both ways; only OnNormalize changes the setting.
    if (!dx.Failed())
        if (ControlState* box = Item(kIdcNormalize)) box->SetCheck(m_setup.normalize ? 1 : 0);
}

void CVdlSetupDlg::EnableRanges()
{
    for (int id : kSwitched) EnableItem(id, false);
    auto enable = [this](std::initializer_list<int> ids) {
        for (int id : ids) EnableItem(id, true);
    };
    if (m_setup.domain == "Time") {
        enable({kIdcTimeStart, kIdcTimeStop});
        if (m_setup.instFrequency) enable({kIdcFreqStart, kIdcFreqStop});
        if (m_setup.instSlowness) enable({kIdcSlowMin, kIdcSlowMax});
    } else if (m_setup.domain == "Frequency") {
        enable({kIdcFreqStart, kIdcFreqStop});
    } else if (m_setup.domain == "Slowness") {
        enable({kIdcSlowMin, kIdcSlowMax, kIdcNormalize});
    } else {
        enable({kIdcAzimMin, kIdcAzimMax});
    }
}

void CVdlSetupDlg::EnableByType()
{
    const bool wiggles = SelectedText(Item(kIdcType)) == "Signature";
    EnableItem(kIdcColour, wiggles);
    EnableItem(kIdcPalette, !wiggles);
}

bool CVdlSetupDlg::OnInitDialog()
{
    // The lists must hold their entries before the exchange selects the stored ones.
    Fill(Item(kIdcDomain), vdl_setup::kDomains);
    Fill(Item(kIdcType), vdl_setup::kTypes);
    Fill(Item(kIdcColour), vdl_setup::kColours);
    Fill(Item(kIdcPalette), vdl_setup::kPalettes);
    CDialog::OnInitDialog();
    SetItemText(kIdcInputFile, ShortenPathLabel(kInputFileLabel, m_setup.path));
    EnableRanges();
    EnableByType();
    SetItemText(kIdcSlownessGroup, m_setup.slownessTitle);
    CenterWindow();
    return true;
}

void CVdlSetupDlg::OnSelChangeDomain()
{
    m_setup.domain = SelectedText(Item(kIdcDomain));
    EnableRanges();
}

void CVdlSetupDlg::OnSelChangeType() { EnableByType(); }

void CVdlSetupDlg::OnNormalize()
{
    m_setup.normalize = m_setup.normalize ? 0 : 1;
    if (ControlState* box = Item(kIdcNormalize)) box->SetCheck(int(m_setup.normalize));
}

void CVdlSetupDlg::OnSelectInputFile()
{
    // The host's dialog starts from the file chosen last.
    std::string title = m_setup.fileName, ext;
    if (!BrowseFile(Browse::Open, "Browse Input QTX File", "Qtx Data (*.qtx)|*.qtx|All Files (*.*)|*.*||",
                    m_setup.path, title, ext))
        return;
    m_setup.fileName = FileName(m_setup.path);
    m_setup.title = std::move(title);
    SetItemText(kIdcInputFile, ShortenPathLabel(kInputFileLabel, m_setup.path));

    CQtxFile file;
    if (!file.OpenRead(m_setup.path)) return;
    double top = file.GetTopDepth(), bottom = file.GetBottomDepth();
    if (top == -1.0 || bottom == -1.0) return;
    // Read before anything is shown, so that a file whose descriptors cannot be read
    // leaves the depths and ranges as they were. Used here and dropped.
    CQtxDatumList datums;
    if (!file.ReadDatumList(datums)) return;
    file.CloseInput();

    if (bottom < top) std::swap(top, bottom);
    m_setup.topDepth = top;
    m_setup.bottomDepth = bottom;
    // The formats of the data exchange: a field never shows one value two ways.
    SetItemText(kIdcTopDepth, DataExchange::NumberText(top));
    SetItemText(kIdcBottomDepth, DataExchange::NumberText(bottom));

    m_setup.instFrequency = 0;
    m_setup.instSlowness = 0;
    for (const auto& datum : datums) {
        if (InFamily(datum->m_typeCode, ItemFamily::InstFrequency)) m_setup.instFrequency = 1;
        if (InFamily(datum->m_typeCode, ItemFamily::InstSlowness)) m_setup.instSlowness = 1;
        if (datum->m_category != kCategorySlowness) continue;
        // The last slowness datum decides.
        const bool metres = datum->m_axis1.m_unit == kUnitMicrosecondsPerMetre;
        m_setup.slownessTitle = metres ? "Slowness range [uSec/m]" : "Slowness range [uSec/ft]";
        m_setup.slowMin = metres ? 100.0f : 40.0f;
        m_setup.slowMax = metres ? 600.0f : 240.0f;
        SetItemText(kIdcSlownessGroup, m_setup.slownessTitle);
        SetItemText(kIdcSlowMin, DataExchange::NumberText(m_setup.slowMin));
        SetItemText(kIdcSlowMax, DataExchange::NumberText(m_setup.slowMax));
    }

    // The curves found are offered in any domain until the domain changes, which
    // keeps them for "Time" only.
    EnableRanges();
    for (int id : {kIdcFreqStart, kIdcFreqStop})
        if (m_setup.instFrequency) EnableItem(id, true);
    for (int id : {kIdcSlowMin, kIdcSlowMax})
        if (m_setup.instSlowness) EnableItem(id, true);
}

void CVdlSetupDlg::OnSaveSetup()
{
    if (UpdateData(true)) EndDialog(kSavedSetup);
}

void CVdlSetupDlg::OnHelp() { ShowHelp(theApp.m_helpPath, kHelpContext, kHelpVdlSetup); }
