#include "toolbox/SegyFile.h"

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
const char kInterval[] = "Unrecognized sample interval in SEGY data set!\nOperation will be abandoned.";

constexpr size_t kPieceBytes = size_t(1) << 20;

// The marks every file of this variant carries: 0xFFFF down to 0xFFF9.
uint16_t Mark(size_t k) { return uint16_t(0xFFFF - k); }

// The published layout's interval fields: the step rounded (readers take them as whole
// microseconds); the header's f32 keeps it whole.
uint16_t StandardInterval(float step)
{
    return uint16_t(std::clamp(std::isnan(step) ? 0.0f : std::round(step), 0.0f, 65535.0f));
}

// One character in EBCDIC (code page 37): capitals, digits, blanks and the punctuation
// the text header uses; anything else a blank.
uint8_t Ebcdic(char c)
{
    if (c >= '0' && c <= '9') return uint8_t(0xF0 + (c - '0'));
    if (c >= 'A' && c <= 'I') return uint8_t(0xC1 + (c - 'A'));
    if (c >= 'J' && c <= 'R') return uint8_t(0xD1 + (c - 'J'));
    if (c >= 'S' && c <= 'Z') return uint8_t(0xE2 + (c - 'S'));
    switch (c) {
    case '.': return 0x4B;
    case '(': return 0x4D;
    case '+': return 0x4E;
    case ')': return 0x5D;
    case '-': return 0x60;
    case '/': return 0x61;
    case ',': return 0x6B;
    case '_': return 0x6D;
    case ':': return 0x7A;
    case '=': return 0x7E;
    default: return 0x40;
    }
}

const char* CategoryText(uint8_t category)
{
    switch (category) {
    case kCategoryWaveform: return "WAVEFORM, ITS AXIS TIME IN MICROSECONDS";
    case kCategorySlowness: return "SLOWNESS, ITS AXIS SLOWNESS";
    case kCategoryAzimuth: return "AZIMUTH, ITS AXIS AZIMUTH";
    default: return "";
    }
}

// The text header: what a reader of the file needs to know of it, forty lines of
// eighty characters, "C 1" to "C40", in EBCDIC.
void PutTextHeader(uint8_t* h, const CSegyFile::Shape& s)
{
    const bool metres = s.depthUnits == kUnitsMetres;
    const std::string lines[] = {
        "SEG-Y REV 1: ONE DATUM OF A QTX DATA SET, WRITTEN BY CONVERT QTX TO SEGY",
        Format("ONE ENSEMBLE PER DEPTH FRAME OF %d TRACES, ONE PER RECEIVER, %d SAMPLES EACH", int(s.tracesPerShot),
               int(s.samplesPerTrace)),
        Format("DATUM: ITEM TYPE %d, CATEGORY %d: %s", int(s.itemType), int(s.category), CategoryText(s.category)),
        Format("SAMPLE INTERVAL %.6g FROM SAMPLE INDEX %d, SAMPLES IEEE FLOATS (FORMAT 5), BIG-ENDIAN",
               double(s.sampleInterval), int(s.firstIndex)),
        Format("DEPTH IN %s, LOG %s: TRACE BYTES 41-44 AND 49-52, SCALAR -1000 IN 69-70", metres ? "METRES" : "FEET",
               s.logDirection == kLogUp ? "UP" : "DOWN"),
    };
    std::memset(h, Ebcdic(' '), standard::kTextLines * standard::kTextLineSize);
    for (size_t k = 0; k < standard::kTextLines; ++k) {
        std::string line = Format("C%2zu ", k + 1);
        if (k < std::size(lines)) line += lines[k];
        if (k == 38) line += "SEG Y REV1";
        if (k == 39) line += "END TEXTUAL HEADER";
        line.resize(standard::kTextLineSize, ' ');
        for (size_t c = 0; c < line.size(); ++c) h[k * standard::kTextLineSize + c] = Ebcdic(line[c]);
    }
}

// The published layout's file header, from the fields.
void PutStandardHeader(uint8_t* h, const CSegyFile::Shape& s)
{
    PutTextHeader(h, s);
    const uint16_t interval = StandardInterval(s.sampleInterval);
    endian::PutBE32(h + standard::kLineNumber, 1);
    endian::PutBE32(h + standard::kReelNumber, 1);
    endian::PutBE16(h + standard::kTracesPerShot, uint16_t(s.tracesPerShot));
    endian::PutBE16(h + standard::kInterval, interval);
    endian::PutBE16(h + standard::kInterval2, interval);
    endian::PutBE16(h + standard::kSamplesPerTrace, uint16_t(s.samplesPerTrace));
    endian::PutBE16(h + standard::kSamplesPerTrace2, uint16_t(s.samplesPerTrace));
    endian::PutBE16(h + standard::kFormatCode, standard::kFormatValue);
    endian::PutBE16(h + standard::kEnsembleFold, 1);
    endian::PutBE16(h + standard::kSortingCode, 1);
    const bool metres = s.depthUnits == kUnitsMetres;
    endian::PutBE16(h + standard::kMeasurement, metres ? standard::kMeasurementMetres : standard::kMeasurementFeet);
    std::memcpy(h + standard::kTag, standard::kTagValue, sizeof standard::kTagValue);
    h[standard::kDepthUnits] = s.depthUnits;
    h[standard::kLogDirection] = s.logDirection;
    h[standard::kItemType] = s.itemType;
    h[standard::kCategory] = s.category;
    endian::PutBEFloat(h + standard::kSampleInterval, s.sampleInterval);
    h[standard::kAxisUnit] = s.axisUnit;
    endian::PutBE16(h + standard::kFirstIndex, s.firstIndex);
    endian::PutBE16(h + standard::kRevision, standard::kRevisionValue);
    endian::PutBE16(h + standard::kFixedLength, 1);
    endian::PutBE16(h + standard::kExtendedText, 0);
}

} // namespace

CSegyFile::CSegyFile() = default;

double CSegyFile::TraceDepth(const uint8_t* traceHeader)
{
    // Divided, not multiplied by 0.001: the nearest double to the thousandths.
    return double(int32_t(endian::GetLE32(traceHeader + kDepth))) / kDepthScale;
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
    // The published layout, as this program writes it: its tag in the unassigned bytes.
    std::array<uint8_t, standard::kFileHeaderSize> full{};
    if (m_fileIn.ReadAt(0, full.data(), full.size()) == full.size()
        && std::memcmp(full.data() + standard::kTag, standard::kTagValue, sizeof standard::kTagValue) == 0) {
        if (!ReadStandardShape(full.data())) return 0;
        return CheckShape();
    }
    const uint8_t* h = header.data();
    m_shape.sampleInterval = endian::GetLEFloat(h + kSampleInterval);
    m_shape.samplesPerTrace = int16_t(endian::GetLE16(h + kSamplesPerTrace));
    m_shape.tracesPerShot = int16_t(endian::GetLE16(h + kTracesPerShot));
    m_shape.depthUnits = h[kDepthUnits];
    m_shape.logDirection = h[kLogDirection];
    m_shape.itemType = h[kItemType];
    m_shape.category = h[kCategory];
    m_shape.axisUnit = 0;
    m_shape.firstIndex = 0;
    bool marked = endian::GetLE16(h + kFormatCode) == kFormatValue;
    for (size_t k = 0; k < kMarkCount; ++k) marked = marked && endian::GetLE16(h + kMarks + 2 * k) == Mark(k);
    if (!marked) return Refuse(Format(kForeign, m_inputPath.c_str()).c_str());
    return CheckShape();
}

int CSegyFile::ReadStandardShape(const uint8_t* h)
{
    // Only IEEE floats are written: other sample codes are not this program's file.
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
    return 1;
}

int CSegyFile::CheckShape()
{
    // Validation, before any shot is read: the counts size every read that follows.
    if (m_shape.tracesPerShot < 1 || m_shape.tracesPerShot > kMaxTraces) return Refuse(kTraceCount);
    if (m_shape.samplesPerTrace < 1 || m_shape.samplesPerTrace > kMaxSamples) return Refuse(kSampleCount);
    if (m_shape.logDirection != kLogDown && m_shape.logDirection != kLogUp) return Refuse(kDirection);
    if (m_shape.depthUnits != kUnitsFeet && m_shape.depthUnits != kUnitsMetres) return Refuse(kUnits);
    if (m_shape.itemType > kMaxItemType) return Refuse(kToolType);
    // The samples are laid out by the interval: 0, below 0 or no number leaves no view an axis.
    if (!(m_shape.sampleInterval > 0) || !std::isfinite(m_shape.sampleInterval)) return Refuse(kInterval);

    m_traceSize = TraceSize(uint64_t(m_shape.samplesPerTrace));
    const int64_t length = m_fileIn.GetLength();
    const int64_t shotBytes = std::max<int64_t>(length - int64_t(m_inputHeaderSize), 0);
    m_shotCount = shotBytes / int64_t(ShotSize());
    m_tornBytes = shotBytes % int64_t(ShotSize());
    return 1;
}

void CSegyFile::InputTraceHeader(uint8_t* t) const
{
    if (!m_standardInput) return;
    // The depth as the variant holds it: thousandths, which the writer's scalar gives.
    const int32_t raw = int32_t(endian::GetBE32(t + standard::kSourceDepth));
    const int16_t scalar = int16_t(endian::GetBE16(t + standard::kDepthScalar));
    int32_t thousandths = raw;
    if (scalar != standard::kDepthScalarValue) {
        const double depth = scalar < 0 ? double(raw) / -double(scalar) : double(raw) * (scalar > 0 ? scalar : 1);
        if (!DepthThousandths(depth, &thousandths)) thousandths = raw;
    }
    const uint32_t shot = endian::GetBE32(t + standard::kShotNumber);
    const uint32_t trace = endian::GetBE32(t + standard::kTraceNumber);
    const uint16_t samples = endian::GetBE16(t + standard::kTraceSamples);
    const uint16_t interval = endian::GetBE16(t + standard::kTraceInterval);
    std::memset(t, 0, kTraceHeaderSize);
    endian::PutLE16(t + segy::kShotNumber, uint16_t(shot));
    endian::PutLE16(t + segy::kTraceNumber, uint16_t(trace));
    endian::PutLE16(t + segy::kTraceKind, kTraceKindValue);
    endian::PutLE16(t + segy::kTraceUse, kTraceUseValue);
    endian::PutLE32(t + segy::kDepth, uint32_t(thousandths));
    endian::PutLE16(t + segy::kTraceSamples, samples);
    endian::PutLE16(t + segy::kTraceInterval, interval);
}

void CSegyFile::InputTrace(const uint8_t* trace, uint8_t* slot) const
{
    if (!m_standardInput) {
        std::memcpy(slot, trace, size_t(m_traceSize));
        return;
    }
    std::memcpy(slot, trace, kTraceHeaderSize);
    InputTraceHeader(slot);
    const size_t samples = size_t(m_traceSize - kTraceHeaderSize) / 4;
    endian::ReverseWords32(slot + kSamples, trace + standard::kSamples, samples);
}

double CSegyFile::ReadFirstShotDepth(TraceHeaderBuffer traceHeader)
{
    m_seekOffset = int64_t(m_inputHeaderSize);
    m_readFailed = m_fileIn.ReadAt(m_seekOffset, traceHeader.data(), traceHeader.size()) != traceHeader.size();
    if (m_readFailed) {
        MessageBox(kFirstShotRead + m_inputPath, MB_OK | MB_ICONSTOP);
        return -1.0;
    }
    InputTraceHeader(traceHeader.data());
    return TraceDepth(traceHeader.data());
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
    InputTraceHeader(traceHeader.data());
    return TraceDepth(traceHeader.data());
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
    InputTraceHeader(traceHeader.data());
    return TraceDepth(traceHeader.data());
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
    for (int t = 0; t < m_shape.tracesPerShot; ++t)
        InputTrace(from + size_t(t) * m_traceSize, shots.data() + size_t(t) * kSlotSize);
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
    std::array<uint8_t, standard::kFileHeaderSize> full{};
    PutStandardHeader(full.data(), m_shape);
    std::copy_n(full.begin(), header.size(), header.begin());
    const uint8_t* h = full.data();
    m_traceSize = TraceSize(uint64_t(std::max<int16_t>(m_shape.samplesPerTrace, 0)));
    if (!m_fileOut.Write(h, full.size())) {
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
    const uint32_t sequence = (m_shotCounter - 1) * uint32_t(m_shape.tracesPerShot) + uint32_t(trace) + 1;
    endian::PutBE32(t + standard::kSequenceInLine, sequence);
    endian::PutBE32(t + standard::kSequenceInFile, sequence);
    endian::PutBE32(t + standard::kShotNumber, m_shotCounter);
    endian::PutBE32(t + standard::kTraceNumber, uint32_t(trace + 1));
    endian::PutBE32(t + standard::kEnsemble, m_shotCounter);
    endian::PutBE32(t + standard::kTraceInEnsemble, uint32_t(trace + 1));
    endian::PutBE32(t + standard::kInline, m_shotCounter);
    endian::PutBE32(t + standard::kCrossline, uint32_t(trace + 1));
    endian::PutBE16(t + standard::kTraceKind, kTraceKindValue);
    endian::PutBE16(t + standard::kTraceUse, kTraceUseValue);
    const uint32_t depth = endian::GetLE32(slot + segy::kDepth);
    endian::PutBE32(t + standard::kReceiverDepth, depth);
    endian::PutBE32(t + standard::kSourceDepth, depth);
    endian::PutBE16(t + standard::kDepthScalar, uint16_t(standard::kDepthScalarValue));
    endian::PutBE16(t + standard::kCoordinateScalar, 1);
    endian::PutBE16(t + standard::kTraceSamples, uint16_t(m_shape.samplesPerTrace));
    endian::PutBE16(t + standard::kTraceInterval, StandardInterval(m_shape.sampleInterval));
    const size_t samples = size_t(m_traceSize - kTraceHeaderSize) / 4;
    endian::ReverseWords32(t + standard::kSamples, slot + segy::kSamples, samples);
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
      m_step(shots > 1 ? (last - first) / double(shots - 1) : 0.0)
{
}

bool CSegyDepthGrid::Take(double depth)
{
    const long long frame = static_cast<long long>(m_taken) + 1;
    if (m_taken > 0) {
        const double moved = m_up ? m_last - depth : depth - m_last;
        if (!(moved > 0.0)) {
            m_detail = Format("Frame %lld is at depth %.4f after %.4f: not one step of %.4f %s.", frame, depth,
                              m_last, std::fabs(m_step), m_up ? "UP" : "DOWN");
            return false;
        }
    }
    const double place = m_first + double(m_taken) * m_step;
    if (!(std::fabs(depth - place) <= kTolerance)) {
        m_detail = Format("Frame %lld is at depth %.4f, off its place %.4f on even steps of %.4f %s from %.4f to %.4f.",
                          frame, depth, place, std::fabs(m_step), m_up ? "UP" : "DOWN", m_first, m_end);
        return false;
    }
    m_last = depth;
    ++m_taken;
    return true;
}
