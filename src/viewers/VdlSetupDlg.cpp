#include "viewers/VdlSetupDlg.h"

#include "common/PathLabel.h"
#include "common/DomainRangeChecks.h"
#include "common/RangeCheck.h"
#include "common/SetupSteps.h"
#include "dataset/ItemTypes.h"
#include "dataset/QtxFile.h"
#include "platform/Host.h"
#include "platform/Path.h"
#include "res/VdlSetupDlgIds.h"

#include <initializer_list>
#include <utility>

namespace {

using enum vdl_setup::Control;

constexpr const char* kInputFileLabel = "Input File : ";
constexpr uint32_t kHelpVdlSetup = 17;

constexpr RangeFields kDepths{kIdcTopDepth, kIdcBottomDepth, "start depth", "stop depth", "ft", -100.0, 50000.0};
constexpr FieldLimits kDepthScale{"depth scale", 100.0, 2000.0, ""};
using C = vdl_setup::Control;
constexpr DomainRangeCheck kRanges[] = {FrequencyCheck<C>(), TimeCheck<C>(), SlownessCheck<C>(), AzimuthCheck<C>()};

constexpr int kSwitched[] = {kIdcTimeStart, kIdcTimeStop, kIdcFreqStart, kIdcFreqStop, kIdcSlowMin,
                             kIdcSlowMax,   kIdcAzimMin,  kIdcAzimMax,   kIdcNormalize};
// The Type list's lines, in order.
constexpr WaveStyle kStyles[] = {WaveStyle::kSignature, WaveStyle::kVdl};
constexpr ViewDomain kDomains[] = {ViewDomain::kTime, ViewDomain::kFrequency, ViewDomain::kSlowness, ViewDomain::kAzimuth};

} // namespace

CVdlSetupDlg::CVdlSetupDlg() : CPresentationSetupDlg(kIddVdlSetup, kHelpVdlSetup, kStyles, kPalettes, kDomains)
{
    On(kIdcSelectInputFile, Notify::Clicked, [this] { OnSelectInputFile(); });
    On(kIdcDomain, Notify::SelChange, [this] { OnSelChangeDomain(); });
}

void CVdlSetupDlg::DoDataExchange(DataExchange& dx)
{
    ExchangeDomainView(dx, kDepths, kDepthScale, kRanges);
}

void CVdlSetupDlg::EnableRanges()
{
    for (int id : kSwitched) EnableItem(id, false);
    auto enable = [this](std::initializer_list<int> ids) {
        for (int id : ids) EnableItem(id, true);
    };
    if (m_setup.domain == ViewDomain::kTime) {
        enable({kIdcTimeStart, kIdcTimeStop});
        if (m_setup.instFrequency) enable({kIdcFreqStart, kIdcFreqStop});
        if (m_setup.instSlowness) enable({kIdcSlowMin, kIdcSlowMax});
    } else if (m_setup.domain == ViewDomain::kFrequency) {
        enable({kIdcFreqStart, kIdcFreqStop});
    } else if (m_setup.domain == ViewDomain::kSlowness) {
        enable({kIdcSlowMin, kIdcSlowMax, kIdcNormalize});
    } else {
        enable({kIdcAzimMin, kIdcAzimMax});
    }
}

bool CVdlSetupDlg::OnInitDialog()
{
    // The lists must hold their entries before the exchange selects the stored ones.
    FillDomainList();
    FillTypeList();
    FillList(Item(kIdcColour), vdl_setup::kColours);
    FillPaletteList();
    CDialog::OnInitDialog();
    SetItemText(kIdcInputFile, ShortenPathLabel(kInputFileLabel, m_setup.path));
    EnableRanges();
    EnableByType();
    SetItemText(kIdcSlownessGroup, SlownessRangeTitle(m_setup.slownessUnit));
    CenterWindow();
    return true;
}

void CVdlSetupDlg::OnSelChangeDomain()
{
    m_setup.domain = SelectedDomain();
    EnableRanges();
}

void CVdlSetupDlg::OnSelectInputFile()
{
    // The host's dialog starts from the file chosen last.
    std::string title = m_setup.fileName, ext;
    if (!ChooseQtxInput(*this, kIdcInputFile, m_setup.path, title, ext)) return;
    m_setup.fileName = FileName(m_setup.path);
    m_setup.title = std::move(title);

    // Used here and dropped.
    QtxInputRead read;
    if (!ReadInput(m_setup.path, read)) return;
    m_setup.instFrequency = 0;
    m_setup.instSlowness = 0;
    for (const auto& datum : read.datums) {
        if (InFamily(datum->m_typeCode, ItemFamily::InstFrequency)) m_setup.instFrequency = 1;
        if (InFamily(datum->m_typeCode, ItemFamily::InstSlowness)) m_setup.instSlowness = 1;
    }
    TakeSlownessWindow(*this, read.datums, {kIdcSlownessGroup, kIdcSlowMin, kIdcSlowMax, m_setup.slownessUnit,
                                            m_setup.slowMin, m_setup.slowMax});

    // The curves found are offered in any domain until the domain changes, which
    // keeps them for "Time" only.
    EnableRanges();
    for (int id : {kIdcFreqStart, kIdcFreqStop})
        if (m_setup.instFrequency) EnableItem(id, true);
    for (int id : {kIdcSlowMin, kIdcSlowMax})
        if (m_setup.instSlowness) EnableItem(id, true);
}
