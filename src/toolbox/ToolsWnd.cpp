#include "toolbox/ToolsWnd.h"

#include "settings/SettingsStore.h"
#include "common/Fft.h"
#include "common/OutputGuard.h"
#include "common/ProgressDlg.h"
#include "common/QtxDataSetHistoryDlg.h"
#include "platform/Endian.h"
#include "platform/Format.h"
#include "platform/Host.h"
#include "platform/Path.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <cmath>
#include <cstring>
#include <filesystem>

float g_toolBuffer[kToolBufferSize];

namespace {

const char kEmptySelection[] = "Encountered empty selection list!\nOperation will be abandoned.";
const char kTooManyDatums[] = "Encountered more than 256 datums in input file!\nOperation will be abandoned.";
const char kItemTooLarge[] = "Datum %s does not fit into the sample buffer!\nOperation will be abandoned.";
const char kStopQuestion[] = "Are you sure you want to stop processing?";
const char kLowHistory[] = "You are running low with the data history buffer.\nWould you like to edit the history?";
const char kIncrements[] = "Different depth increments in input files!\nOperation will be abandoned.";
const char kUnits[] = "Different depth units in input files!\nOperation will be abandoned.";
const char kDirections[] = "Different log directions in input files!\nOperation will be abandoned.";
const char kPrimaryDatum[] = "Unproper datum selection in primary file!\nOperation will be abandoned.";
const char kSecondaryDomain[] = "Unproper domain selection in secondary file!\nOperation will be abandoned.";
const char kDensityDomain[] = "Unproper domain selection in density file!\nOperation will be abandoned.";
const char kFrameCounts[] = "Different number of depth frames in input files!\nOperation will be abandoned.";
const char kSameDatums[] = "Encountered the same datums in input files!\nOperation will be abandoned.";
const char kUnknownDirection[] = "Encountered unknown log direction in file :\n%s\nOperation will be abandoned.";

constexpr size_t kHistoryHeadroom = 500;
constexpr double kStepTolerance = 0.0005;
constexpr uint8_t kCategoryCurve = kCategoryTrace;
constexpr uint32_t kNullBits = std::bit_cast<uint32_t>(-999.25f);

int Refuse(const std::string& text)
{
    MessageBox(text, MB_OK | MB_ICONSTOP);
    return 0;
}

// Offsets beyond int reach ReadFrameItem as -1, which it refuses with its read message.
int FrameOffset(uint64_t at) { return at > uint64_t(INT_MAX) ? -1 : int(at); }

bool IsSelected(const uint32_t* selected, size_t k) { return k < CToolsWnd::kMaxToolDatums && selected[k] != 0; }

// Smallest k in [0, count) for which `hit(k)` holds, or count.
template <class Hit> int32_t FirstFrame(int32_t count, Hit hit)
{
    for (int32_t k = 0; k < count; ++k)
        if (hit(double(k))) return k;
    return count;
}

std::string TaskLine(int code, const CToolsWnd& t)
{
    const double factor = double(t.m_factor);
    switch (code) {
    case 1: return "*** Tools (Extract depth)";
    case 2: return "*** Tools (Extract datums)";
    case 3: return Format("*** Tools (Shift in depth) - %10.4f %s", t.m_factorDouble, t.m_depthUnitLabel.c_str());
    case 4: return "*** Tools (Amplitude)";
    case 5: return Format("*** Tools (Multiply by factor) - %8.4f", factor);
    case 6: return "*** Tools (Convert depth to metric)";
    case 7: return "*** Tools (Convert depth to english)";
    case 8: return Format("*** Tools (Splice at depth) - %10.4f %s", t.m_spliceDepth, t.m_depthUnitLabel.c_str());
    case 9: return "*** Tools (Vp/Vs ratio)";
    case 10: return "*** Tools (Convert QTX to LAS)";
    case 11: return "*** Tools (Convert LAS to QTX)";
    case 12: return "*** Tools (Convert slowness to metric)";
    case 13: return "*** Tools (Convert slowness to english)";
    case 14: return "*** Tools (Reverse depth order)";
    case 16: return "*** Tools (Add waveforms)";
    case 17: return "*** Tools (Subtract waveforms)";
    case 18: return "*** Tools (Frequency log)";
    case 19: return "*** Tools (Convert QTX to SEGY)";
    case 20: return "*** Tools (Convert SEGY to QTX)";
    case 21: return Format("*** Tools (Resample depth) - %8.4f", factor);
    case 22: return Format("*** Tools (Shift by factor) - %8.4f", factor);
    case 23: return Format("*** Tools (Overwrite depth step) - %8.4f", factor);
    case 24: return "*** Tools (Lss array)";
    case 25: return "*** Tools (Compute average)";
    case 26: return "*** Tools (Compute Rms average log)";
    case 27: return "*** Tools (Construct Min-Max log)";
    case 28: return "*** Tools (Reverse receiver order)";
    case 29: return "*** Tools (Construct QTX data set)";
    default: return std::string(); // 15, 30, 31 and unknown codes add no task line
    }
}

} // namespace

CToolsWnd::CToolsWnd() : m_outBytes(kOutputPieceBytes) {}

// ---- shared helpers ---------------------------------------------------------------------

std::string CToolsWnd::ShortPath(const std::string& path)
{
    const size_t at = LastSeparator(path);
    return at == std::string::npos ? std::string("...") : "..." + path.substr(at);
}

double CToolsWnd::RoundDepth(double depth)
{
    // 64-bit truncation: the same result as 32 bits wherever that is defined.
    const double scaled = depth * 10000.0;
    if (!(std::fabs(scaled) < 9.0e18)) return depth;
    return double(static_cast<int64_t>(scaled)) * 0.0001;
}

uint64_t CToolsWnd::ItemValueCount(const CQtxDatum& item)
{
    const uint64_t rows = IsTwoAxis(item) ? item.m_axis2.m_sampleCount : 1u;
    return uint64_t(item.m_traceCount) * item.m_axis1.m_sampleCount * rows;
}

int CToolsWnd::RefuseUnfitItems(const CQtxDatumList& list, const uint32_t* selected)
{
    for (size_t k = 0; k < list.size(); ++k) {
        if (selected && !IsSelected(selected, k)) continue;
        if (ItemValueCount(*list[k]) > kToolSampleCapacity)
            return Refuse(Format(kItemTooLarge, list[k]->m_mnemonic.c_str()));
    }
    return 1;
}

// ---- opening inputs ------------------------------------------------------------------------

int CToolsWnd::OpenInput(CQtxFile& file, const std::string& path, CQtxDatumList& list, double& top,
                         double& bottom, double& step, int32_t& frames)
{
    list.clear();
    if (!file.OpenRead(path)) return 0;
    top = file.GetTopDepth();
    bottom = file.GetBottomDepth();
    step = file.GetDepthStep();
    const uint32_t count = file.GetFrameCount();
    // Frame indices are int; a count beyond them is as unusable as the -1 marker.
    if (top == -1.0 || bottom == -1.0 || step == -1.0 || count > uint32_t(INT32_MAX)) {
        file.CloseInput();
        return 0;
    }
    frames = int32_t(count);
    return file.ReadDatumList(list);
}

void CToolsWnd::OpenedInput(const CQtxFile& file, InputGroup& group, double top, double bottom, int32_t frames,
                            int which)
{
    m_singleFrameIndex = 0;
    group.logDirection = file.m_header.logDirection;
    group.depthUnits = file.m_header.depthUnits;
    if (group.logDirection == qtx::kLogUp) {
        m_multiLogDirectionLabel = "UP";
        m_rangeEndDepth = top;
        m_rangeStartDepth = bottom;
        m_depthSign = -1;
    } else {
        m_multiLogDirectionLabel = "DOWN";
        m_rangeEndDepth = bottom;
        m_rangeStartDepth = top;
        m_depthSign = 1;
    }
    m_progressLower[which] = 0;
    m_progressUpper[which] = frames;
    group.frameCounter = 0;
    m_currentDepth = top;
    if (which != 1) m_depthUnitLabel = group.depthUnits == qtx::kUnitsMetres ? " [m]" : " [ft]";
}

int CToolsWnd::OpenPrimary()
{
    if (!OpenInput(m_primaryFile, m_primaryPath, m_primaryList, m_primaryTop, m_primaryBottom, m_primaryStep,
                   m_primaryFrameCount))
        return 0;
    OpenedInput(m_primaryFile, m_primaryGroup, m_primaryTop, m_primaryBottom, m_primaryFrameCount, 0);
    m_primaryFirstIndex = 0;
    m_primaryEndIndex = m_primaryFrameCount;
    return 1;
}

int CToolsWnd::OpenSecondary()
{
    if (!OpenInput(m_secondaryFile, m_secondaryPath, m_secondaryList, m_secondaryTop, m_secondaryBottom,
                   m_secondaryStep, m_secondaryFrameCount))
        return 0;
    OpenedInput(m_secondaryFile, m_secondaryGroup, m_secondaryTop, m_secondaryBottom, m_secondaryFrameCount, 1);
    m_secondaryFirstIndex = 0;
    m_secondaryEndIndex = m_secondaryFrameCount;
    return 1;
}

int CToolsWnd::OpenDensity()
{
    if (!OpenInput(m_densityFile, m_densityPath, m_densityList, m_densityTop, m_densityBottom, m_densityStep,
                   m_densityFrameCount))
        return 0;
    OpenedInput(m_densityFile, m_densityGroup, m_densityTop, m_densityBottom, m_densityFrameCount, 2);
    return 1;
}

int CToolsWnd::ReadPrimaryHeader()
{
    if (!OpenInput(m_primaryFile, m_inputPath, m_primaryList, m_primaryTop, m_primaryBottom, m_primaryStep,
                   m_primaryFrameCount))
        return 0;
    m_inputLogDirection = m_primaryFile.m_header.logDirection;
    m_inputDepthUnits = m_primaryFile.m_header.depthUnits;
    m_primaryGroup.logDirection = m_inputLogDirection;
    m_primaryGroup.depthUnits = m_inputDepthUnits;
    m_logDirectionLabel = m_inputLogDirection == qtx::kLogUp ? "UP" : "DOWN";
    m_depthSign = m_inputLogDirection == qtx::kLogUp ? -1 : 1;
    m_depthUnitLabel = m_inputDepthUnits == qtx::kUnitsMetres ? " [m]" : " [ft]";
    m_singleFrameIndex = 0;
    m_firstIndex = 0;
    m_endIndex = m_primaryFrameCount;
    return 1;
}

int CToolsWnd::CopyPrimarySelection()
{
    const ToolInputSelection& settings = theApp.m_utilitiesSetup.primary;
    m_primaryGroup.datumCount = settings.itemCount;
    std::copy(settings.listed.begin(), settings.listed.end(), m_primaryGroup.listed);
    std::copy(settings.selected.begin(), settings.selected.end(), m_primaryGroup.selected);
    const int32_t count = std::clamp<int32_t>(settings.itemCount, 0, kMaxToolDatums);
    m_primarySelectedCount = uint16_t(std::count_if(m_primaryGroup.selected, m_primaryGroup.selected + count,
                                                    [](uint32_t flag) { return flag != 0; }));
    return m_primarySelectedCount ? 1 : Refuse(kEmptySelection);
}

int CToolsWnd::RefuseTooManyDatums()
{
    // The selection flags have 256 entries; a later datum could be neither chosen nor skipped reliably.
    return m_primaryList.size() > size_t(kMaxToolDatums) ? Refuse(kTooManyDatums) : 1;
}

int CToolsWnd::RefuseUnknownDirection()
{
    // Neither up nor down gives no direction to step the depths in: no frame could be written.
    if (m_inputLogDirection == qtx::kLogUp || m_inputLogDirection == qtx::kLogDown) return 1;
    CloseInputs();
    return Refuse(Format(kUnknownDirection, m_inputPath.c_str()));
}

void CToolsWnd::CloseInputs()
{
    m_primaryFile.CloseInput();
    m_secondaryFile.CloseInput();
    m_densityFile.CloseInput();
}

// ---- two-input checks and overlap ------------------------------------------------------

int CToolsWnd::CheckCurveInputs()
{
    if (std::fabs(m_primaryStep - m_secondaryStep) > kStepTolerance) return Refuse(kIncrements);
    if (m_primaryGroup.depthUnits != m_secondaryGroup.depthUnits) return Refuse(kUnits);
    if (m_primaryGroup.logDirection != m_secondaryGroup.logDirection) return Refuse(kDirections);
    const struct {
        const CQtxDatumList& list;
        InputGroup& group;
        const char* message;
    } inputs[] = {{m_primaryList, m_primaryGroup, kPrimaryDatum}, {m_secondaryList, m_secondaryGroup, kSecondaryDomain}};
    for (const auto& in : inputs)
        for (size_t k = 0; k < in.list.size(); ++k) {
            if (!IsSelected(in.group.selected, k)) continue;
            const CQtxDatum& d = *in.list[k];
            in.group.curveMnemonic = d.m_mnemonic;
            in.group.curveUnit = d.m_axis1.m_unit;
            in.group.curveCategory = d.m_category;
            if (d.m_category != kCategoryCurve) return Refuse(in.message);
        }
    return 1;
}

int CToolsWnd::CheckMergeInputs()
{
    if (m_primaryFrameCount != m_secondaryFrameCount) return Refuse(kFrameCounts);
    if (std::fabs(m_primaryStep - m_secondaryStep) > kStepTolerance) return Refuse(kIncrements);
    if (m_primaryGroup.depthUnits != m_secondaryGroup.depthUnits) return Refuse(kUnits);
    if (m_primaryGroup.logDirection != m_secondaryGroup.logDirection) return Refuse(kDirections);
    // Walks a list up to and including its first selected datum (flags of the settings).
    auto firstSelected = [](const CQtxDatumList& list, const ToolInputSelection& settings,
                            InputGroup& group) -> const CQtxDatum* {
        for (size_t k = 0; k < list.size() && k < size_t(kMaxToolDatums); ++k) {
            const CQtxDatum& d = *list[k];
            group.curveMnemonic = d.m_mnemonic;
            group.curveUnit = d.m_axis1.m_unit;
            group.curveCategory = d.m_category;
            if (settings.selected[k]) return &d;
        }
        return nullptr;
    };
    const CQtxDatum* p = firstSelected(m_primaryList, theApp.m_utilitiesSetup.primary, m_primaryGroup);
    const CQtxDatum* s = firstSelected(m_secondaryList, theApp.m_utilitiesSetup.secondary, m_secondaryGroup);
    if (!p || !s) return 0;
    if (p->m_typeCode == s->m_typeCode) return Refuse(kSameDatums);
    return 1;
}

int CToolsWnd::CheckMechanicalInputs()
{
    if (std::fabs(m_primaryStep - m_secondaryStep) > kStepTolerance
        || std::fabs(m_primaryStep - m_densityStep) > kStepTolerance)
        return Refuse(kIncrements);
    if (m_primaryGroup.depthUnits != m_secondaryGroup.depthUnits
        || m_primaryGroup.depthUnits != m_densityGroup.depthUnits)
        return Refuse(kUnits);
    if (m_primaryGroup.logDirection != m_secondaryGroup.logDirection
        || m_primaryGroup.logDirection != m_densityGroup.logDirection)
        return Refuse(kDirections);
    const struct {
        const CQtxDatumList& list;
        InputGroup& group;
        const char* message;
    } inputs[] = {{m_primaryList, m_primaryGroup, kPrimaryDatum},
                  {m_secondaryList, m_secondaryGroup, kSecondaryDomain},
                  {m_densityList, m_densityGroup, kDensityDomain}};
    for (const auto& in : inputs)
        for (size_t k = 0; k < in.list.size(); ++k) {
            if (!IsSelected(in.group.selected, k)) continue;
            const CQtxDatum& d = *in.list[k];
            in.group.curveMnemonic = d.m_mnemonic;
            in.group.curveUnit = d.m_axis1.m_unit;
            in.group.curveCategory = d.m_category;
            in.group.offsetInFrame = d.m_offset;
            if (d.m_category != kCategoryCurve) return Refuse(in.message);
        }
    return 1;
}

void CToolsWnd::FindDepthOverlap()
{
    // Up logs may store their step negative; the direction alone says which way depths run.
    const double pTop = m_primaryTop, pBottom = m_primaryBottom, pStep = std::fabs(m_primaryStep);
    const double sTop = m_secondaryTop, sBottom = m_secondaryBottom, sStep = std::fabs(m_secondaryStep);
    const int32_t pCount = m_primaryFrameCount, sCount = m_secondaryFrameCount;
    auto R = RoundDepth;

    if (m_primaryGroup.logDirection == qtx::kLogDown) {
        if (R(sTop) >= R(pTop)) {
            m_secondaryFirstIndex = 0;
            m_primaryFirstIndex = FirstFrame(pCount, [&](double k) { return R(pTop + k * pStep) >= R(sTop); });
            m_rangeStartDepth = sTop;
        } else {
            m_primaryFirstIndex = 0;
            m_secondaryFirstIndex = FirstFrame(sCount, [&](double k) { return R(sTop + k * sStep) >= R(pTop); });
            m_rangeStartDepth = pTop;
        }
        if (R(sBottom) >= R(pBottom)) {
            m_primaryEndIndex = pCount;
            m_rangeEndDepth = pBottom;
        } else {
            m_primaryEndIndex =
                pCount - FirstFrame(pCount, [&](double k) { return R(pBottom - k * pStep) <= R(sBottom); });
            m_rangeEndDepth = sBottom;
        }
    } else if (m_primaryGroup.logDirection == qtx::kLogUp) {
        if (R(sTop) >= R(pTop)) {
            m_primaryFirstIndex = 0;
            m_secondaryFirstIndex = FirstFrame(sCount, [&](double k) { return R(sTop - k * sStep) <= R(pTop); });
            m_rangeStartDepth = pTop;
        } else {
            m_secondaryFirstIndex = 0;
            m_primaryFirstIndex = FirstFrame(pCount, [&](double k) { return R(pTop - k * pStep) <= R(sTop); });
            m_rangeStartDepth = sTop;
        }
        if (R(sBottom) >= R(pBottom)) {
            m_primaryEndIndex = FirstFrame(pCount, [&](double k) { return R(pTop - k * pStep) <= R(sBottom); });
            m_rangeEndDepth = sBottom;
        } else {
            m_primaryEndIndex = pCount;
            m_rangeEndDepth = pBottom;
        }
    } else {
        return;
    }
    m_currentDepth = m_rangeStartDepth;
}

// ---- frame readers and copiers -----------------------------------------------------------

int CToolsWnd::ReadItemInto(CQtxFile& file, const CQtxDatum& item, int frame, float* buffer)
{
    const uint64_t count = ItemValueCount(item);
    if (count > kToolSampleCapacity) return Refuse(Format(kItemTooLarge, item.m_mnemonic.c_str()));
    return file.ReadFrameItem(frame, FrameOffset(item.m_offset), 1, int(count), buffer, kToolSampleCapacity);
}

int CToolsWnd::ReadPrimaryItem(const CQtxDatum& item, int frame)
{
    return ReadItemInto(m_primaryFile, item, frame, g_fftData + 1);
}

int CToolsWnd::ReadPrimaryItemSecond(const CQtxDatum& item, int frame)
{
    return ReadItemInto(m_primaryFile, item, frame, g_toolBuffer + 1);
}

int CToolsWnd::ReadSecondaryItem(const CQtxDatum& item, int frame)
{
    return ReadItemInto(m_secondaryFile, item, frame, g_toolBuffer + 1);
}

// Frames are gathered as file bytes and written in large pieces: a write per datum
// and depth costs the kernel more than the copying itself.
int CToolsWnd::StageBytes(size_t n, uint8_t*& at)
{
    if (m_outBytes.size() - m_staged < n && !FlushOutput()) return 0;
    at = m_outBytes.data() + m_staged;
    m_staged += n;
    return 1;
}

int CToolsWnd::StageDepth(double depth)
{
    uint8_t* at = nullptr;
    if (!StageBytes(qtx::kDepthSize, at)) return 0;
    endian::PutLEDouble(at, depth);
    return 1;
}

int CToolsWnd::StageValues(const float* values, size_t count, ValueOp op)
{
    const double factor = double(m_factor);
    const size_t piece = m_outBytes.size() / sizeof(float);
    while (count > 0) {
        const size_t n = std::min(count, piece);
        uint8_t* to = nullptr;
        if (!StageBytes(n * sizeof(float), to)) return 0;
        if (op == ValueOp::Copy) {
            endian::FloatsToLEBytes(to, values, n); // bit for bit, NaN payloads included
        } else {
            for (size_t i = 0; i < n; ++i) {
                const float v = values[i];
                const float w = std::bit_cast<uint32_t>(v) == kNullBits
                                    ? v
                                    : float(op == ValueOp::Scale ? factor * double(v) : factor + double(v));
                endian::PutLEFloat(to + i * sizeof(float), w);
            }
        }
        values += n;
        count -= n;
    }
    return 1;
}

int CToolsWnd::FlushOutput()
{
    const size_t n = m_staged;
    m_staged = 0;
    if (n == 0 || m_outputFile.m_fileOut.Write(m_outBytes.data(), n)) return 1;
    // The output stays open: the frame loop finalizes the whole frames that reached the file.
    MessageBox("Error writing frame data in file :\n" + m_outputPath, MB_OK | MB_ICONSTOP);
    return 0;
}

int CToolsWnd::CopyItemFrom(CQtxFile& file, const CQtxDatum& item, int frame, ValueOp op)
{
    // Streams the item through the read buffer, so any size fits: a two-axis item of
    // several traces is copied whole, rows after rows as it lies in the frame.
    const uint64_t total = ItemValueCount(item);
    float* buffer = g_fftData + 1;
    for (uint64_t done = 0; done < total;) {
        const size_t n = size_t(std::min<uint64_t>(total - done, kToolSampleCapacity));
        const uint64_t at = uint64_t(item.m_offset) + done * sizeof(float);
        if (!file.ReadFrameItem(frame, FrameOffset(at), 1, int(n), buffer, kToolSampleCapacity)
            || !StageValues(buffer, n, op))
            return 0;
        done += n;
    }
    return 1;
}

int CToolsWnd::CopyItem(const CQtxDatum& item)
{
    return CopyItemFrom(m_primaryFile, item, m_singleFrameIndex, ValueOp::Copy);
}

int CToolsWnd::CopyItemScaled(const CQtxDatum& item)
{
    return CopyItemFrom(m_primaryFile, item, m_singleFrameIndex, ValueOp::Scale);
}

int CToolsWnd::CopyItemOffset(const CQtxDatum& item)
{
    return CopyItemFrom(m_primaryFile, item, m_singleFrameIndex, ValueOp::Offset);
}

int CToolsWnd::CopyPrimaryItemAt(const CQtxDatum& item, int frame)
{
    return CopyItemFrom(m_primaryFile, item, frame, ValueOp::Copy);
}

int CToolsWnd::CopySecondaryItemAt(const CQtxDatum& item, int frame)
{
    return CopyItemFrom(m_secondaryFile, item, frame, ValueOp::Copy);
}

int CToolsWnd::ReadValue(CQtxFile& file, const CQtxDatum& item, int frame, float* value)
{
    if (IsTwoAxis(item) || item.m_category != kCategoryCurve) return 1;
    float v = 0.0f;
    if (!file.ReadFrameItem(frame, FrameOffset(item.m_offset), 1, 1, &v, 1)) return 0;
    *value = v;
    return 1;
}

int CToolsWnd::ReadPrimaryValue(const CQtxDatum& item, float* value)
{
    return ReadValue(m_primaryFile, item, m_singleFrameIndex, value);
}

int CToolsWnd::ReadPrimaryValueAt(const CQtxDatum& item, float* value)
{
    return ReadValue(m_primaryFile, item, m_primaryCurrentIndex, value);
}

int CToolsWnd::ReadSecondaryValue(const CQtxDatum& item, float* value)
{
    return ReadValue(m_secondaryFile, item, m_secondaryCurrentIndex, value);
}

int CToolsWnd::CopyFrame(double depth)
{
    if (!StageDepth(depth)) return 0;
    for (const auto& item : m_primaryList)
        if (!CopyItem(*item)) return 0;
    return 1;
}

// ---- history ---------------------------------------------------------------------------------

int CToolsWnd::HistoryLength(const char* history)
{
    for (int i = int(kHistoryLimit); i >= 1; --i)
        if (history[i] != ' ') return i + 1;
    return 1;
}

int CToolsWnd::AppendHistory(int length)
{
    if (length < 0) return length;
    if (size_t(length) + kHistoryHeadroom > qtx::kHistorySize && MessageBox(kLowHistory, MB_YESNO) == IDYES) {
        const int edited = EditHistory();
        if (edited < 0) return length; // the input could not be reopened: the old history stays as it was
        length = edited;
    }
    size_t used = size_t(length);
    // A line break is added while it starts before the limit (its LF may land on it, still
    // inside the 4096 bytes and still seen by HistoryLength); a line only whole, before it.
    auto lineBreak = [&] {
        if (used >= kHistoryLimit) return false;
        std::memcpy(m_history + used, "\r\n", 2);
        used += 2;
        return true;
    };
    auto line = [&](const std::string& text) {
        if (text.empty() || used + text.size() >= kHistoryLimit) return;
        std::memcpy(m_history + used, text.data(), text.size());
        used += text.size();
    };
    if (lineBreak() && lineBreak()) {
        line(Format("*** Input data : %s", m_inputPath.c_str()));
        if (lineBreak()) {
            line(Format("*** Depth range : %10.4f - %10.4f %s", m_startDepth, m_stopDepth, m_depthUnitLabel.c_str()));
            if (lineBreak()) line(TaskLine(m_taskCode, *this));
        }
    }
    return int(used);
}

int CToolsWnd::EditHistory()
{
    for (;;) {
        CQtxDataSetHistoryDlg dialog;
        dialog.m_path = m_inputPath;
        const int end = dialog.DoModal();
        if (end != CQtxDataSetHistoryDlg::kSavedHistory && end != CQtxDataSetHistoryDlg::kClearedHistory) break;
    }
    m_primaryFile.CloseInput();
    if (!m_primaryFile.OpenRead(m_inputPath)) return -1;
    std::memcpy(m_outputFile.m_header.history, m_primaryFile.m_header.history, qtx::kHistorySize);
    std::memcpy(m_history, m_primaryFile.m_header.history, qtx::kHistorySize);
    return HistoryLength(m_history);
}

// ---- output and frame loop ----------------------------------------------------------------

int CToolsWnd::WriteOutputHead(uint8_t logDirection, double top, double bottom)
{
    if (RefuseOutputOverInput(m_outputPath, {m_inputPath, m_primaryPath, m_secondaryPath, m_densityPath}))
        return 0;
    if (!m_outputFile.OpenWrite(m_outputPath)) return 0;
    QtxFileHeader& header = m_outputFile.m_header;
    header.logDirection = logDirection;
    header.depthUnits = m_inputDepthUnits;
    header.frameCount = 0;
    header.topDepth = top;
    header.bottomDepth = bottom;
    header.depthStep = m_primaryStep;
    std::memcpy(header.history, m_primaryFile.m_header.history, qtx::kHistorySize);
    std::memcpy(m_history, m_primaryFile.m_header.history, qtx::kHistorySize);
    const int length = AppendHistory(HistoryLength(m_history));
    if (length > 0) std::memcpy(header.history, m_history, size_t(length));

    m_outputDescriptors.clear();
    // The history editor may have lost the input; then there is nothing to copy from.
    bool ok = m_primaryFile.m_fileIn.IsOpen();
    for (size_t k = 0; ok && k < m_primaryList.size(); ++k) {
        const CQtxDatum& d = *m_primaryList[k];
        ok = IsTwoAxis(d) ? m_outputFile.AddTwoAxisDatum(m_outputDescriptors, d.m_mnemonic, d.m_typeCode,
                                                         d.m_axisCount, d.m_category, d.m_traceCount,
                                                         d.m_axis1.m_unit, d.m_axis1.m_step,
                                                         d.m_axis1.m_sampleCount, d.m_axis1.m_firstIndex,
                                                         d.m_axis2.m_unit, d.m_axis2.m_step,
                                                         d.m_axis2.m_sampleCount, d.m_axis2.m_firstIndex)
                          : m_outputFile.AddDatum(m_outputDescriptors, d.m_mnemonic, d.m_typeCode, d.m_axisCount,
                                                  d.m_category, d.m_traceCount, d.m_axis1.m_unit,
                                                  d.m_axis1.m_step, d.m_axis1.m_sampleCount,
                                                  d.m_axis1.m_firstIndex);
    }
    ok = ok && m_outputFile.WriteHeader() && m_outputFile.WriteDescriptors(m_outputDescriptors);
    m_outputDescriptors.clear();
    m_staged = 0;
    if (!ok) {
        // A head cut short (a full disk) is no data set; only a file made here is removed.
        m_outputFile.CloseOutput();
        std::error_code error;
        if (std::filesystem::is_regular_file(m_outputPath, error)) std::filesystem::remove(m_outputPath, error);
    }
    return ok ? 1 : 0;
}

void CToolsWnd::FinalizeOutput()
{
    m_staged = 0;
    BinaryFile& out = m_outputFile.m_fileOut;
    if (!out.IsOpen()) return;
    const int64_t dataStart = int64_t(qtx::DataStart(uint64_t(std::max<short>(m_outputFile.m_layoutDatumCount, 0))));
    const int64_t frameSize = std::max<int64_t>(m_outputFile.m_layoutFrameSize, 1);
    if (out.GetLength() >= dataStart + frameSize) {
        m_outputFile.Finalize(); // counts whole frames and cuts a torn last one
        return;
    }
    // No whole frame: Finalize would report a missing top depth; the header instead
    // counts no frame, and the depths stay as first written.
    QtxFileHeader& header = m_outputFile.m_header;
    header.frameCount = 0;
    m_outputFile.m_writtenFrameCount = 0;
    uint8_t bytes[qtx::kHeaderSize];
    header.Encode(bytes);
    const bool ok = out.SetLength(dataStart) && out.WriteAt(0, bytes, sizeof bytes);
    const std::string path = out.GetPath();
    m_outputFile.CloseOutput();
    if (!ok) MessageBox("Error writing header in file :\n" + path, MB_OK | MB_ICONSTOP);
}

double CToolsWnd::InputDepthStep() const
{
    const double step = std::fabs(m_primaryStep);
    return m_inputLogDirection == qtx::kLogUp ? -step : step;
}

int CToolsWnd::RunFrames(const std::string& label, int first, int counterStep, double depthStep,
                         FrameRoutine routine)
{
    CProgressDlg progress(0);
    progress.Create();
    progress.SetStatus(label + ShortPath(m_inputPath));
    progress.SetRange(m_firstIndex, m_endIndex);

    const int count = std::max(m_endIndex - m_firstIndex, 0);
    int result = 1;
    m_singleFrameIndex = first;
    for (int i = 0; i < count; ++i) {
        if (progress.CheckCancelButton() && MessageBox(kStopQuestion, MB_YESNO) == IDYES) break;
        if (!(this->*routine)(m_currentDepth)) {
            result = -1;
            break;
        }
        m_currentDepth += depthStep;
        progress.StepIt();
        m_singleFrameIndex += counterStep;
    }
    // What was gathered goes to the file first; after a failed write nothing is left.
    if (!FlushOutput()) result = -1;
    CloseInputs();
    FinalizeOutput();
    NoOperation();
    progress.DestroyWindow();
    return result;
}
