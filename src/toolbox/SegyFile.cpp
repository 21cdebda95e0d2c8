#include "toolbox/SegyFile.h"

#include "dataset/DepthRule.h"
#include "dataset/QtxLayout.h"
#include "platform/Endian.h"
#include "platform/Format.h"
#include "platform/Host.h"
#include "platform/SafeNumeric.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

namespace {

using namespace segy;

const char kOpenOutput[] = "Could not open output file :\n";
const char kHeaderRead[] = "Error reading SEGY header in file :\n";
const char kFirstShotRead[] = "Error reading SEGY first shot header in file :\n";
const char kLastShotRead[] = "Error reading SEGY last shot header in file :\n";
const char kShotRead[] = "Error reading SEGY shot data in file :\n";
const char kHeaderWrite[] = "Error writing SEGY header in file :\n";
const char kShotWrite[] = "Error writing SEGY shot data in file :\n";
const char kForeign[] = "Unrecognized SEGY data set in file :\n%s\nOnly SEGY files written by Convert QTX To SEGY "
                        "can be read.\nOperation will be abandoned.";
const char kTraceCount[] = "Unrecognized number of traces in SEGY data set!\nOperation will be abandoned.";
const char kSampleCount[] = "Unrecognized number of samples in SEGY data set!\nOperation will be abandoned.";
const char kDirection[] = "Unrecognized log direction in SEGY data set!\nOperation will be abandoned.";
const char kUnits[] = "Unrecognized depth units in SEGY data set!\nOperation will be abandoned.";
const char kToolType[] = "Unrecognized tool type in SEGY data set!\nOperation will be abandoned.";
const char kCategoryCode[] = "Unrecognized data category in SEGY data set!\nOperation will be abandoned.";
const char kAxisUnits[] = "Unrecognized axis units in SEGY data set!\nOperation will be abandoned.";
const char kInterval[] = "Unrecognized sample interval in SEGY data set!\nOperation will be abandoned.";
const char kTraceNumbering[] = "Unrecognized number of traces in SEGY data set!\nTrace %d of frame %lld is numbered "
                               "%lu: the header's %d traces per shot do not fit the shots of file :\n%s\nOperation "
                               "will be abandoned.";
const char kDepthFit[] = "Encountered invalid depth in SEGY file :\n%s\nFrame %lld holds the depth %ld with the scalar "
                         "%d (%.4f), beyond the depths a shot holds (thousandths in 32 bits).\nOperation will be "
                         "abandoned.";

constexpr size_t kPieceBytes = size_t(1) << 20;

// The marks every file of this variant carries: 0xFFFF down to 0xFFF9.
uint16_t Mark(size_t k) { return uint16_t(0xFFFF - k); }

// The interval fields of the headers: the step truncated toward zero.
uint16_t WholeInterval(float step)
{
    return uint16_t(std::clamp(std::isnan(step) ? 0.0f : step, 0.0f, 65535.0f));
}

// The variant's file header, from the fields; bytes it leaves unset are zeros.
void PutVariantHeader(uint8_t* h, const CSegyFile::Shape& s)
{
    std::memset(h, 0, kFileHeaderSize);
    const uint16_t interval = WholeInterval(s.sampleInterval);
    endian::PutLE16(h + kJobNumber, 0);
    endian::PutLE16(h + kReelNumber, kReelValue);
    endian::PutLE16(h + kTracesPerShot, uint16_t(s.tracesPerShot));
    endian::PutLE16(h + kIntervalWhole, interval);
    endian::PutLE16(h + kIntervalWhole2, interval);
    endian::PutLE16(h + kSamplesPerTrace, uint16_t(s.samplesPerTrace));
    endian::PutLE16(h + kSamplesPerTrace2, uint16_t(s.samplesPerTrace));
    endian::PutLE16(h + kFormatCode, kFormatValue);
    endian::PutLE16(h + kReserved, 0);
    for (size_t k = 0; k < kMarkCount; ++k) endian::PutLE16(h + kMarks + 2 * k, Mark(k));
    h[kDepthUnits] = s.depthUnits;
    h[kLogDirection] = s.logDirection;
    h[kItemType] = s.itemType;
    h[kCategory] = s.category;
    endian::PutLEFloat(h + kSampleInterval, s.sampleInterval);
    std::memcpy(h + kAxisTag, kAxisTagValue, sizeof kAxisTagValue);
    h[kAxisUnit] = s.axisUnit;
    endian::PutLE16(h + kFirstIndex, s.firstIndex);
}

} // namespace

CSegyFile::CSegyFile() = default;

double CSegyFile::TraceDepth(const uint8_t* traceHeader)
{
    // Divided, not multiplied by 0.001: the nearest double to the thousandths.
    return double(int32_t(endian::GetLE32(traceHeader + kDepth))) / kDepthScale;
}

bool CSegyFile::KnownAxisUnit(uint8_t unit)
{
    return unit <= kUnitModulus || unit == kUnitNone;
}

const char* CSegyFile::ShapeRefusal(const Shape& s)
{
    // The counts size every read that follows.
    if (s.tracesPerShot < 1 || s.tracesPerShot > kMaxTraces) return kTraceCount;
    if (s.samplesPerTrace < 1 || s.samplesPerTrace > kMaxSamples) return kSampleCount;
    if (s.logDirection != kLogDown && s.logDirection != kLogUp) return kDirection;
    if (s.depthUnits != kUnitsFeet && s.depthUnits != kUnitsMetres) return kUnits;
    if (s.itemType > kMaxItemType) return kToolType;
    // A datum of another category would land under no tab, or under one whose views
    // need two axes.
    if (s.category < kMinCategory || s.category > kMaxCategory) return kCategoryCode;
    if (!KnownAxisUnit(s.axisUnit)) return kAxisUnits;
    // The samples are laid out by the interval: 0, below 0 or no number leaves no view an axis.
    if (!(s.sampleInterval > 0) || !std::isfinite(s.sampleInterval)) return kInterval;
    return nullptr;
}

bool CSegyFile::DepthThousandths(double depth, int32_t* thousandths)
{
    const double rounded = std::round(depth * kDepthScale);
    if (!FitsInt(rounded)) return false;
    *thousandths = int32_t(rounded);
    return true;
}

uint64_t CSegyFile::ShotSize() const
{
    const uint64_t traces = uint64_t(std::max<int16_t>(m_shape.tracesPerShot, 0));
    return traces * TraceSize(uint64_t(std::max<int16_t>(m_shape.samplesPerTrace, 0)));
}

int CSegyFile::Refuse(const char* text)
{
    MessageBox(text, MB_OK | MB_ICONSTOP);
    m_fileIn.Close();
    return 0;
}

int CSegyFile::FailShotRead()
{
    MessageBox(kShotRead + m_inputPath, MB_OK | MB_ICONSTOP);
    return 0;
}

// ---- reading ----------------------------------------------------------------------------

int CSegyFile::OpenInput(HeaderBuffer header, const std::string& path)
{
    m_inputPath = path;
    m_windowLength = 0;
    m_shotCount = 0;
    m_tornBytes = 0;
    m_standardInput = false;
    m_inputHeaderSize = kFileHeaderSize;
    // The shorter of the two headers it reads.
    if (Status opened = OpenInputFile(m_fileIn, path, {kFileHeaderSize, 0, kHeaderRead}); !opened) {
        MessageBox(opened.Message(), MB_OK | MB_ICONSTOP);
        return 0;
    }
    if (m_fileIn.ReadAt(0, header.data(), header.size()) != header.size()) {
        MessageBox(kHeaderRead + path, MB_OK | MB_ICONSTOP);
        m_fileIn.Close();
        return 0;
    }
    if (ReadVariantShape(header.data())) return CheckShape();
    // The published layout, as one earlier version wrote it: its tag in the unassigned bytes.
    std::array<uint8_t, standard::kFileHeaderSize> full{};
    if (m_fileIn.ReadAt(0, full.data(), full.size()) == full.size()
        && std::memcmp(full.data() + standard::kTag, standard::kTagValue, sizeof standard::kTagValue) == 0) {
        if (!ReadStandardShape(full.data())) return 0;
        return CheckShape();
    }
    return Refuse(Format(kForeign, m_inputPath.c_str()).c_str());
}

bool CSegyFile::ReadVariantShape(const uint8_t* h)
{
    bool marked = endian::GetLE16(h + kFormatCode) == kFormatValue;
    for (size_t k = 0; k < kMarkCount; ++k) marked = marked && endian::GetLE16(h + kMarks + 2 * k) == Mark(k);
    if (!marked) return false;
    m_shape.sampleInterval = endian::GetLEFloat(h + kSampleInterval);
    m_shape.samplesPerTrace = int16_t(endian::GetLE16(h + kSamplesPerTrace));
    m_shape.tracesPerShot = int16_t(endian::GetLE16(h + kTracesPerShot));
    m_shape.depthUnits = h[kDepthUnits];
    m_shape.logDirection = h[kLogDirection];
    m_shape.itemType = h[kItemType];
    m_shape.category = h[kCategory];
    // Unset bytes of a file without the tag may hold anything: they are not the axis.
    const bool tagged = std::memcmp(h + kAxisTag, kAxisTagValue, sizeof kAxisTagValue) == 0;
    m_shape.axisUnit = tagged ? h[kAxisUnit] : 0;
    m_shape.firstIndex = tagged ? endian::GetLE16(h + kFirstIndex) : 0;
    m_shape.axisGiven = tagged;
    return true;
}

int CSegyFile::ReadStandardShape(const uint8_t* h)
{
    // Only IEEE floats were written: other sample codes are not this program's file.
    if (endian::GetBE16(h + standard::kFormatCode) != standard::kFormatValue)
        return Refuse(Format(kForeign, m_inputPath.c_str()).c_str());
    m_standardInput = true;
    m_inputHeaderSize = standard::kFileHeaderSize;
    m_shape.sampleInterval = endian::GetBEFloat(h + standard::kSampleInterval);
    m_shape.samplesPerTrace = int16_t(endian::GetBE16(h + standard::kSamplesPerTrace));
    m_shape.tracesPerShot = int16_t(endian::GetBE16(h + standard::kTracesPerShot));
    m_shape.depthUnits = h[standard::kDepthUnits];
    m_shape.logDirection = h[standard::kLogDirection];
    m_shape.itemType = h[standard::kItemType];
    m_shape.category = h[standard::kCategory];
    m_shape.axisUnit = h[standard::kAxisUnit];
    m_shape.firstIndex = endian::GetBE16(h + standard::kFirstIndex);
    m_shape.axisGiven = true;
    return 1;
}

int CSegyFile::CheckShape()
{
    // Validation, before any shot is read.
    if (const char* refusal = ShapeRefusal(m_shape)) return Refuse(refusal);

    m_traceSize = TraceSize(uint64_t(m_shape.samplesPerTrace));
    const int64_t length = m_fileIn.GetLength();
    const int64_t shotBytes = std::max<int64_t>(length - int64_t(m_inputHeaderSize), 0);
    m_shotCount = shotBytes / int64_t(ShotSize());
    m_tornBytes = shotBytes % int64_t(ShotSize());
    return 1;
}

int CSegyFile::InputTraceHeader(uint8_t* t, int64_t shot, int trace, bool check) const
{
    const long long frame = static_cast<long long>(shot) + 1;
    // Traces numbered 1 to T in every shot: a header whose count is not the file's
    // would otherwise read several shots as one, or one across two.
    const uint32_t number = m_standardInput ? endian::GetBE32(t + standard::kTraceNumber)
                                            : endian::GetLE16(t + segy::kTraceNumber);
    if (check && number != uint32_t(trace) + 1) {
        MessageBox(Format(kTraceNumbering, trace + 1, frame, static_cast<unsigned long>(number),
                          int(m_shape.tracesPerShot), m_inputPath.c_str()),
                   MB_OK | MB_ICONSTOP);
        return 0;
    }
    if (!m_standardInput) return 1;
    // The depth as the variant holds it: thousandths, which the writer's scalar gives.
    const int32_t raw = int32_t(endian::GetBE32(t + standard::kSourceDepth));
    const int16_t scalar = int16_t(endian::GetBE16(t + standard::kDepthScalar));
    int32_t thousandths = raw;
    if (scalar != standard::kDepthScalarValue) {
        const double depth = scalar < 0 ? double(raw) / -double(scalar) : double(raw) * (scalar > 0 ? scalar : 1);
        if (!DepthThousandths(depth, &thousandths)) {
            if (check) {
                MessageBox(Format(kDepthFit, m_inputPath.c_str(), frame, long(raw), int(scalar), depth),
                           MB_OK | MB_ICONSTOP);
                return 0;
            }
            thousandths = 0; // a depth no one reads (the frame's is its first trace's)
        }
    }
    const uint32_t shotNumber = endian::GetBE32(t + standard::kShotNumber);
    const uint16_t samples = endian::GetBE16(t + standard::kTraceSamples);
    const uint16_t interval = endian::GetBE16(t + standard::kTraceInterval);
    std::memset(t, 0, kTraceHeaderSize);
    endian::PutLE16(t + segy::kShotNumber, uint16_t(shotNumber));
    endian::PutLE16(t + segy::kTraceNumber, uint16_t(number));
    endian::PutLE16(t + segy::kTraceKind, kTraceKindValue);
    endian::PutLE16(t + segy::kTraceUse, kTraceUseValue);
    endian::PutLE32(t + segy::kDepth, uint32_t(thousandths));
    endian::PutLE16(t + segy::kTraceSamples, samples);
    endian::PutLE16(t + segy::kTraceInterval, interval);
    return 1;
}

int CSegyFile::InputTrace(const uint8_t* trace, uint8_t* slot, int64_t shot, int t, bool check) const
{
    if (!m_standardInput) {
        std::memcpy(slot, trace, size_t(m_traceSize));
        return InputTraceHeader(slot, shot, t, check);
    }
    std::memcpy(slot, trace, kTraceHeaderSize);
    if (!InputTraceHeader(slot, shot, t, check)) return 0;
    const size_t samples = size_t(m_traceSize - kTraceHeaderSize) / 4;
    endian::ReverseWords32(slot + kSamples, trace + standard::kSamples, samples);
    return 1;
}

double CSegyFile::InputDepth(uint8_t* traceHeader, int64_t shot, int trace)
{
    m_readFailed = !InputTraceHeader(traceHeader, shot, trace, true);
    return m_readFailed ? -1.0 : TraceDepth(traceHeader);
}

double CSegyFile::ReadFirstShotDepth(TraceHeaderBuffer traceHeader)
{
    m_seekOffset = int64_t(m_inputHeaderSize);
    m_readFailed = m_fileIn.ReadAt(m_seekOffset, traceHeader.data(), traceHeader.size()) != traceHeader.size();
    if (m_readFailed) {
        MessageBox(kFirstShotRead + m_inputPath, MB_OK | MB_ICONSTOP);
        return -1.0;
    }
    return InputDepth(traceHeader.data(), 0, 0);
}

double CSegyFile::ReadLastShotDepth(TraceHeaderBuffer traceHeader)
{
    // The last whole shot's last trace: bytes after it are a torn shot, not data.
    m_seekOffset = int64_t(m_inputHeaderSize) + m_shotCount * int64_t(ShotSize()) - int64_t(m_traceSize);
    m_readFailed = m_shotCount < 1
                   || m_fileIn.ReadAt(m_seekOffset, traceHeader.data(), traceHeader.size()) != traceHeader.size();
    if (m_readFailed) {
        MessageBox(kLastShotRead + m_inputPath, MB_OK | MB_ICONSTOP);
        return -1.0;
    }
    return InputDepth(traceHeader.data(), m_shotCount - 1, m_shape.tracesPerShot - 1);
}

double CSegyFile::ReadShotDepth(TraceHeaderBuffer traceHeader, int64_t index)
{
    m_seekOffset = int64_t(m_inputHeaderSize) + index * int64_t(ShotSize());
    m_readFailed = index < 0 || index >= m_shotCount
                   || m_fileIn.ReadAt(m_seekOffset, traceHeader.data(), traceHeader.size()) != traceHeader.size();
    if (m_readFailed) {
        FailShotRead();
        return -1.0;
    }
    return InputDepth(traceHeader.data(), index, 0);
}

int CSegyFile::ReadShotAt(ShotBuffer shots, int64_t index)
{
    const uint64_t shotSize = ShotSize();
    if (index < 0 || index >= m_shotCount || shotSize == 0 || !m_fileIn.IsOpen()) return FailShotRead();
    m_seekOffset = int64_t(m_inputHeaderSize) + index * int64_t(shotSize);
    const bool held = m_windowLength > 0 && m_seekOffset >= m_windowStart
                      && uint64_t(m_seekOffset - m_windowStart) + shotSize <= m_windowLength;
    if (!held) {
        // Whole shots from this one on, as many as a piece holds.
        const uint64_t pieceShots = std::max<uint64_t>(1, kPieceBytes / shotSize);
        const uint64_t wanted = std::min<uint64_t>(pieceShots, uint64_t(m_shotCount - index)) * shotSize;
        if (m_window.size() < wanted) m_window.resize(size_t(wanted));
        m_windowStart = m_seekOffset;
        m_windowLength = m_fileIn.ReadAt(m_windowStart, m_window.data(), size_t(wanted));
        if (m_windowLength < shotSize) {
            m_windowLength = 0;
            return FailShotRead();
        }
    }
    const uint8_t* from = m_window.data() + (m_seekOffset - m_windowStart);
    // The first trace gives the frame's depth; the others' numbers and depths, which
    // nothing reads, do not stop a file whose shots were judged by their ends.
    for (int t = 0; t < m_shape.tracesPerShot; ++t)
        if (!InputTrace(from + size_t(t) * m_traceSize, shots.data() + size_t(t) * kSlotSize, index, t, t == 0))
            return 0;
    return 1;
}

// ---- writing ----------------------------------------------------------------------------

int CSegyFile::OpenOutput(HeaderBuffer header, const std::string& path)
{
    m_outputPath = path;
    m_openError = 0;
    m_pending.clear();
    m_pending.reserve(kPieceBytes + kShotBufferSize);
    m_pendingShots = 0;
    m_shotsWritten = 0;
    m_shotCounter = 0;
    if (!m_fileOut.Open(path, &m_openError)) {
        MessageBox(kOpenOutput + path + OutputFailureCause(path, m_openError), MB_OK | MB_ICONSTOP);
        return 0;
    }
    PutVariantHeader(header.data(), m_shape);
    m_traceSize = TraceSize(uint64_t(std::max<int16_t>(m_shape.samplesPerTrace, 0)));
    if (!m_fileOut.Write(header.data(), header.size())) {
        MessageBox(kHeaderWrite + path + OutputFailureCause(path, m_fileOut.Error()), MB_OK | MB_ICONSTOP);
        m_fileOut.Abandon();
        return 0;
    }
    return 1;
}

int CSegyFile::WriteShot(ShotBuffer shots)
{
    if (!m_fileOut.IsOpen()) return 0;
    const uint64_t shotSize = ShotSize();
    if (m_pending.size() + shotSize > std::max<uint64_t>(kPieceBytes, shotSize) && !FlushOutput()) return 0;
    ++m_shotCounter;
    for (int t = 0; t < m_shape.tracesPerShot; ++t) OutputTrace(shots.data() + size_t(t) * kSlotSize, t);
    ++m_pendingShots;
    return 1;
}

void CSegyFile::OutputTrace(const uint8_t* slot, int trace)
{
    const size_t at = m_pending.size();
    m_pending.resize(at + size_t(m_traceSize), 0);
    uint8_t* t = m_pending.data() + at;
    // The fields the variant gives a trace; the slot's other header bytes are left
    // over from earlier shots and go out as zeros.
    endian::PutLE16(t + kShotNumber, uint16_t(m_shotCounter));
    endian::PutLE16(t + kTraceNumber, uint16_t(trace + 1));
    endian::PutLE16(t + kTraceKind, kTraceKindValue);
    endian::PutLE16(t + kTraceUse, kTraceUseValue);
    std::memcpy(t + kDepth, slot + kDepth, 4);
    std::memcpy(t + kTraceSamples, slot + kTraceSamples, 2);
    std::memcpy(t + kTraceInterval, slot + kTraceInterval, 2);
    std::memcpy(t + kSamples, slot + kSamples, size_t(m_traceSize - kTraceHeaderSize));
}

int CSegyFile::FlushOutput()
{
    if (m_pending.empty()) return 1;
    const bool ok = m_fileOut.Write(m_pending.data(), m_pending.size());
    m_pending.clear();
    if (!ok) {
        // A failed run commits nothing: the name keeps what it held before.
        MessageBox(kShotWrite + m_outputPath + OutputFailureCause(m_outputPath, m_fileOut.Error()),
                   MB_OK | MB_ICONSTOP);
        m_fileOut.Abandon();
        m_pendingShots = 0;
        m_shotsWritten = 0;
        return 0;
    }
    m_shotsWritten += m_pendingShots;
    m_pendingShots = 0;
    return 1;
}

int CSegyFile::CloseOutput(bool commit)
{
    if (!m_fileOut.IsOpen()) return 0;
    if (!commit) {
        m_pending.clear();
        m_pendingShots = 0;
        m_shotsWritten = 0;
        m_fileOut.Abandon();
        return 1;
    }
    if (!FlushOutput()) return 0;
    // A file without one whole shot is no output.
    if (m_shotsWritten == 0) {
        m_fileOut.Abandon();
        return 1;
    }
    if (!m_fileOut.Commit()) {
        MessageBox(kShotWrite + m_outputPath + OutputFailureCause(m_outputPath, m_fileOut.Error()),
                   MB_OK | MB_ICONSTOP);
        return 0;
    }
    return 1;
}

// ---- the depth rule of a file -----------------------------------------------------------

CSegyDepthGrid::CSegyDepthGrid(uint8_t logDirection, double first, double last, int64_t shots)
    : m_up(logDirection == kLogUp),
      m_first(first),
      m_end(last),
      m_step(shots > 1 ? (last - first) / double(shots - 1) : 0.0),
      // The shots run from one end to the other: the deeper end is the deepest.
      m_spread(qtx::SinglePrecisionSpread(std::max(std::fabs(first), std::fabs(last))))
{
}

int64_t CSegyDepthGrid::StepReaderShots(int32_t first, int32_t second, int32_t last)
{
    // As that reader forms them: each depth its thousandths times 0.001, in doubles.
    const double d0 = first * 0.001, step = second * 0.001 - d0;
    if (step == 0.0) return 0;
    const double whole = std::trunc((last * 0.001 - d0) / step + double(0.005f));
    return whole < 0.0 ? 0 : int64_t(whole) + 1; // at most 2^32 steps of a thousandth
}

void CSegyDepthGrid::LeadShots(double d0, double d1, int32_t last, int64_t shots, bool singlePrecision,
                               int32_t* first, int32_t* second)
{
    // Thousandths within this of a whole one are at it: the depths' own binary noise.
    constexpr double kAt = 1e-6;
    const double x0 = d0 * kDepthScale, x1 = d1 * kDepthScale;
    *first = ClampToInt(std::round(x0));
    *second = ClampToInt(std::round(x1));
    // Worked in the direction the shots go, so that "toward" is always up.
    const double sign = x1 >= x0 ? 1.0 : -1.0, u0 = sign * x0, u1 = sign * x1;
    if (shots < 3 || !(u1 > u0) || !std::isfinite(u1)) return;
    const double deepest = std::max({std::fabs(d0), std::fabs(d1), std::fabs(last / kDepthScale)});
    // Within a thousandth first, so that a file whose depths need no more is written as before.
    for (const double slack : {0.0, qtx::SinglePrecisionSpread(deepest) * kDepthScale}) {
        if (slack > 0.0 && !singlePrecision) return;
        const double lowest = std::floor(u1 - slack + kAt); // how far short of its depth shot 1 may go
        for (const double lead : {std::round(u0), std::ceil(u0 - kAt)}) {
            const double span = sign * last - lead;
            // The longest step it counts whole: the span over one step short of the shots,
            // checked by its own arithmetic.
            double step = std::floor(span / (double(shots - 1) - 0.005)) + 1.0;
            for (int tries = 0; tries < 4 && step >= 1.0; ++tries, step -= 1.0) {
                const double next = std::min(std::round(u1), lead + step);
                if (next < lowest || !FitsInt(sign * lead) || !FitsInt(sign * next)) break;
                if (StepReaderShots(int32_t(sign * lead), int32_t(sign * next), last) >= shots) {
                    *first = int32_t(sign * lead);
                    *second = int32_t(sign * next);
                    return;
                }
            }
        }
    }
}

std::string CSegyDepthGrid::PlaceDetail(double depth, double place) const
{
    return Format("Frame %lld is at depth %.4f, off its place %.4f on even steps of %.4f %s from %.4f to %.4f.",
                  static_cast<long long>(m_taken) + 1, depth, place, std::fabs(m_step), m_up ? "UP" : "DOWN", m_first,
                  m_end);
}

void CSegyDepthGrid::Take(double depth)
{
    if (Broken()) return;
    const long long frame = static_cast<long long>(m_taken) + 1;
    const double place = m_first + double(m_taken) * m_step;
    const bool off = !(std::fabs(depth - place) <= Tolerance());
    const double moved = m_up ? m_last - depth : depth - m_last;
    const auto stepDetail = [&] {
        return Format("Frame %lld is at depth %.4f after %.4f: not one step of %.4f %s.", frame, depth, m_last,
                      std::fabs(m_step), m_up ? "UP" : "DOWN");
    };
    const bool backward = m_taken > 0 && !(moved > 0.0);
    std::string broken;
    if (off && !std::isfinite(depth)) broken = PlaceDetail(depth, place); // no later shot stands after it
    else if (backward) broken = stepDetail();
    // Two shots each within the allowance of their places are within twice it of one
    // step: here one of them is off, and the depths break here.
    else if (m_taken > 0 && !(std::fabs(moved - std::fabs(m_step)) <= 2.0 * Tolerance()))
        broken = off ? PlaceDetail(depth, place) : stepDetail();
    if (m_break.empty()) m_break = broken;
    if (m_kept && (off || backward)) {
        m_kept = false;
        m_firstOff = backward ? stepDetail() : PlaceDetail(depth, place);
    }
    m_last = depth;
    ++m_taken;
}
