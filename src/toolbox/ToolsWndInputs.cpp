// CToolsWnd: the steps of tasks that read more than one input (selections, opening,
// checks of the inputs against each other, depth alignment) and the shared helpers of
// the tasks that derive curves.
#include "toolbox/ToolsWnd.h"

#include "dataset/DepthRule.h"
#include "dataset/ItemTypes.h"
#include "settings/SettingsStore.h"
#include "settings/UtilitiesSetupGroup.h"
#include "platform/Format.h"
#include "platform/Host.h"
#include "platform/SafeNumeric.h"

#include <algorithm>
#include <cmath>
#include <utility>

static_assert(ToolInput::kMaxDatums == kToolBoxFlagCount);

namespace {

const char kEmptySelection[] = "Encountered empty selection list!\nOperation will be abandoned.";
const char kEmptyNamedSelection[] = "Encountered empty %s selection list!\nOperation will be abandoned.";
const char kFrameCounts[] = "Different number of depth frames in input files!\nOperation will be abandoned.";
const char kSteps[] = "Different depth increments in input files!\nOperation will be abandoned.";
const char kUnits[] = "Different depth units in input files!\nOperation will be abandoned.";
const char kDirections[] = "Different log directions in input files!\nOperation will be abandoned.";
const char kPrimaryCurve[] = "Unproper datum selection in primary file!\nOperation will be abandoned.";
const char kSecondaryCurve[] = "Unproper domain selection in secondary file!\nOperation will be abandoned.";
const char kDensityCurve[] = "Unproper domain selection in density file!\nOperation will be abandoned.";
const char kTooManyReceivers[] = "Encountered more than 13 receivers in selected datum!\nOperation will be abandoned.";

constexpr int kMaxReceivers = 13; // per-receiver log names and types exist for receivers 1 to 13

// The settings' selection that belongs to an input.
const ToolInputSelection& SettingsOf(const CToolsWnd& e, const ToolInput& in)
{
    const UtilitiesSetupGroup& s = theApp.m_utilitiesSetup;
    return &in == &e.Task().secondary ? s.secondary : &in == &e.Task().density ? s.density : s.primary;
}

// The smallest k of 0..count-1 for which `holds` is true; count when there is none.
template <class Pred> int32_t FirstFrame(int32_t count, Pred holds)
{
    for (int32_t k = 0; k < count; ++k)
        if (holds(k)) return k;
    return count;
}

} // namespace

using namespace toolbox;

int CToolsWnd::TakeSelection() { return TakeSelection(m_task.primary); }

int CToolsWnd::TakeSelection(ToolInput& in)
{
    const ToolInputSelection& settings = SettingsOf(*this, in);
    const size_t count = size_t(std::clamp<int32_t>(settings.itemCount, 0, ToolInput::kMaxDatums));
    // Flags beyond the listed datums are left from an earlier listing: they choose nothing.
    in.selected.fill(0);
    std::copy_n(settings.selected.begin(), count, in.selected.begin());
    in.selectedCount =
        uint16_t(std::count_if(in.selected.begin(), in.selected.end(), [](uint32_t f) { return f != 0; }));
    if (in.selectedCount) return 1;
    MessageBox(m_settings.inputCount > 1 ? Format(kEmptyNamedSelection, in.role) : std::string(kEmptySelection),
               MB_OK | MB_ICONSTOP);
    return 0;
}

int CToolsWnd::TakeSelections()
{
    ToolInput* inputs[] = {&m_task.primary, &m_task.secondary, &m_task.density};
    for (int i = 0; i < std::min(m_settings.inputCount, 3); ++i)
        if (!TakeSelection(*inputs[i])) return 0;
    return 1;
}

int CToolsWnd::Require(bool holds, const std::string& refusal)
{
    if (holds) return 1;
    CloseInputs();
    MessageBox(refusal, MB_OK | MB_ICONSTOP);
    return 0;
}

const CQtxDatum* toolbox::FirstSelected(const ToolInput& in)
{
    for (size_t k = 0; k < in.list.size(); ++k)
        if (in.IsSelected(k)) return in.list[k].get();
    return nullptr;
}

const CQtxDatum* toolbox::LastSelected(const ToolInput& in)
{
    for (size_t k = in.list.size(); k-- > 0;)
        if (in.IsSelected(k)) return in.list[k].get();
    return nullptr;
}

int CToolsWnd::RequireSelectedDatums()
{
    for (const ToolInput* in : {&m_task.primary, &m_task.secondary, &m_task.density}) {
        if (in->selectedCount == 0 || FirstSelected(*in)) continue;
        return Require(false, m_settings.inputCount > 1 ? Format(kEmptyNamedSelection, in->role)
                                                        : std::string(kEmptySelection));
    }
    return 1;
}

int CToolsWnd::OpenInputs()
{
    if (!OpenSingleInput()) return 0;
    ToolInput* further[] = {&m_task.secondary, &m_task.density};
    for (int i = 0; i + 1 < std::min(m_settings.inputCount, 3); ++i)
        if (!OpenInput(*further[i])) {
            CloseInputs();
            return 0;
        }
    return OkOrShow(DatumListsFit()) ? 1 : 0;
}

int CToolsWnd::CheckInputsAgree(bool sameFrameCount)
{
    const ToolInput* further[] = {&m_task.secondary, &m_task.density};
    const size_t n = size_t(std::clamp(m_settings.inputCount - 1, 0, 2));
    const ToolInput& p = m_task.primary;
    auto all = [&](auto agrees) {
        for (size_t i = 0; i < n; ++i)
            if (!agrees(*further[i])) return false;
        return true;
    };
    return Require(!sameFrameCount || all([&](const ToolInput& o) { return o.frameCount == p.frameCount; }),
                   kFrameCounts)
           // Up logs store their step with either sign: only its size is compared.
           && Require(all([&](const ToolInput& o) {
                          return !(std::fabs(std::fabs(p.step) - std::fabs(o.step)) > qtx::kStepTolerance);
                      }),
                      kSteps)
           && Require(all([&](const ToolInput& o) { return o.depthUnits == p.depthUnits; }), kUnits)
           && Require(all([&](const ToolInput& o) { return o.logDirection == p.logDirection; }), kDirections);
}

int CToolsWnd::RequireSelectedCategory(const ToolInput& in, uint8_t category, const std::string& refusal)
{
    for (size_t k = 0; k < in.list.size(); ++k)
        if (in.IsSelected(k) && in.list[k]->m_category != category) return Require(false, refusal);
    return 1;
}

int CToolsWnd::OpenCurveInputs()
{
    if (!TakeSelections() || !OpenInputs() || !CheckInputsAgree(false) || !RequireSelectedDatums()) return 0;
    const std::pair<const ToolInput*, const char*> inputs[] = {
        {&m_task.primary, kPrimaryCurve}, {&m_task.secondary, kSecondaryCurve}, {&m_task.density, kDensityCurve}};
    for (int i = 0; i < std::min(m_settings.inputCount, 3); ++i)
        if (!RequireSelectedCategory(*inputs[i].first, kCategoryTrace, inputs[i].second)) return 0;
    return 1;
}

Status CToolsWnd::ReceiverCountFits(const CQtxDatum& item)
{
    if (item.m_traceCount <= kMaxReceivers) return {};
    CloseInputs();
    return Status::Failure(kTooManyReceivers);
}

double toolbox::RoundDepth(double depth) { return ClampToInt(depth * 10000.0) * 0.0001; }

void CToolsWnd::FindDepthOverlap()
{
    const ToolInput& p = m_task.primary;
    const ToolInput& s = m_task.secondary;
    const int32_t pc = std::max(p.frameCount, 0), sc = std::max(s.frameCount, 0);
    // Up logs may store their step negative: frames lie at top -/+ k x |step| by the direction.
    const double ps = std::fabs(p.step), ss = std::fabs(s.step);
    auto R = RoundDepth;
    int32_t primaryFirst = 0, primaryEnd = pc, secondaryFirst = 0;
    if (p.logDirection == qtx::kLogDown) {
        if (R(s.top) >= R(p.top)) {
            primaryFirst = FirstFrame(pc, [&](int32_t k) { return R(p.top + k * ps) >= R(s.top); });
            m_task.rangeStart = s.top;
        } else {
            secondaryFirst = FirstFrame(sc, [&](int32_t k) { return R(s.top + k * ss) >= R(p.top); });
            m_task.rangeStart = p.top;
        }
        if (R(s.bottom) >= R(p.bottom)) {
            m_task.rangeEnd = p.bottom;
        } else {
            primaryEnd = pc - FirstFrame(pc, [&](int32_t k) { return R(p.bottom - k * ps) <= R(s.bottom); });
            m_task.rangeEnd = s.bottom;
        }
    } else if (p.logDirection == qtx::kLogUp) {
        if (R(s.top) >= R(p.top)) {
            secondaryFirst = FirstFrame(sc, [&](int32_t k) { return R(s.top - k * ss) <= R(p.top); });
            m_task.rangeStart = p.top;
        } else {
            primaryFirst = FirstFrame(pc, [&](int32_t k) { return R(p.top - k * ps) <= R(s.top); });
            m_task.rangeStart = s.top;
        }
        if (R(s.bottom) >= R(p.bottom)) {
            primaryEnd = FirstFrame(pc, [&](int32_t k) { return R(p.top - k * ps) <= R(s.bottom); });
            m_task.rangeEnd = s.bottom;
        } else {
            m_task.rangeEnd = p.bottom;
        }
    }
    // Steps may differ by up to 0.0005: over many frames the secondary could run out first.
    const int64_t secondaryLeft = int64_t(sc) - secondaryFirst;
    m_task.firstIndex = primaryFirst;
    m_task.endIndex =
        int32_t(std::clamp<int64_t>(std::min<int64_t>(primaryEnd, primaryFirst + secondaryLeft), primaryFirst, pc));
    m_task.secondaryOffset = secondaryFirst - primaryFirst;
}

int32_t toolbox::FramesHeld(const ToolInput& in)
{
    return int32_t(std::min<int64_t>(in.file.FramesHeld(), std::max(in.frameCount, 0)));
}

CQtxDatum toolbox::CurveDatum(const std::string& mnemonic, uint8_t typeCode, uint8_t unit)
{
    return CQtxDatum(1, mnemonic, typeCode, kCategoryTrace, typeCode, 0, 1, 1, qtx::kDepthSize, sizeof(float), unit, 0,
                     1, 1.0f);
}

std::vector<CQtxDatum> toolbox::VelocityCurves(const CQtxDatum& dtp, const CQtxDatum& dts)
{
    return {
        CurveDatum(dtp.m_mnemonic, kItemTypeCopiedCurve, dtp.m_axis1.m_unit),
        CurveDatum(dts.m_mnemonic, kItemTypeCopiedCurve, dts.m_axis1.m_unit),
        CurveDatum("VP  ", kItemTypeVp, kUnitVelocity),
        CurveDatum("VS  ", kItemTypeVs, kUnitVelocity),
        CurveDatum("VPVS", kItemTypeVpVsRatio, kUnitRatio),
        CurveDatum("POIS", kItemTypePoissonRatio, kUnitRatio),
    };
}

std::pair<const CQtxDatum*, const CQtxDatum*> toolbox::OpenAlignedCurves(CToolsWnd& e)
{
    if (!e.Inputs().OpenCurveInputs()) return {};
    const std::pair<const CQtxDatum*, const CQtxDatum*> curves{LastSelected(e.Task().primary),
                                                               LastSelected(e.Task().secondary)};
    e.Inputs().FindDepthOverlap();
    if (!OkOrShow(e.Inputs().HasFramesToConvert())) return {};
    return curves;
}
