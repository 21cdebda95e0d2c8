#include "lis/LisRead.h"

#include "platform/Format.h"

#include <cmath>
#include <limits>
#include <utility>

namespace {

// Room kept beyond a record's own length when the buffer grows, so that records of
// slightly different lengths do not each cost a new allocation.
constexpr size_t kBufferSlack = 1024;
constexpr size_t kInitialCapacity = 8192;
const char kErrorReadingFrame[] = "Error reading frame data in file :\n";

// Every element of a slice through the code's decoder, as floats.
template <typename T, typename Decode>
void DecodeAll(float* out, uint32_t count, const uint8_t* p, Decode decode)
{
    for (uint32_t i = 0; i < count; ++i) {
        T v;
        p = decode(p, v);
        out[i] = float(v);
    }
}

// The same for the codes that reach beyond a float (code 50): a value a float cannot
// hold has no value in the data set, so it becomes the absent value rather than a
// clamped or infinite one.
// Returns how many.
template <typename Decode>
uint64_t DecodeAllWide(float* out, uint32_t count, const uint8_t* p, Decode decode)
{
    uint64_t beyond = 0;
    for (uint32_t i = 0; i < count; ++i) {
        double v;
        p = decode(p, v);
        const bool fits = std::fabs(v) <= double(std::numeric_limits<float>::max());
        out[i] = fits ? float(v) : lis::kAbsentValue;
        beyond += fits ? 0 : 1;
    }
    return beyond;
}

} // namespace

CLisRead::CLisRead() : m_buffer(kInitialCapacity) {}

Status CLisRead::Open(const std::string& path)
{
    BinaryFile file;
    // An empty file is read as one without records, which the readers name themselves.
    if (Status opened = OpenInputFile(file, path); !opened) return opened;
    return Open(std::move(file), path);
}

Status CLisRead::Open(BinaryFile&& file, const std::string& path)
{
    if (!file.IsOpen()) return Status::Quiet(); // the caller that opened it tells why not
    m_file = std::move(file);
    m_path = path;
    if (m_recordLength == 0) m_cachedPath.clear();
    // Records are read in physical pieces of a few kilobytes behind small headers: a
    // window read ahead serves them with one system call per many records.
    m_file.EnableReadAhead();
    // A file that is not LIS (-1) is read as plain framing by the record layer.
    m_framing = CLisRecordIO::DetectFraming(m_file);
    return Status();
}

void CLisRead::Close() { m_file.Close(); }

bool CLisRead::LoadRecord(const LisFrameRef& frame)
{
    // Every frame of a record is served by one read of it, whatever its depth: a record
    // of many frames read again for each would cost its whole length a frame.
    if (!m_cachedPath.empty() && m_cachedPath == m_path && m_cachedPosition == frame.recordPosition)
        return m_recordLength != 0;

    // Whatever happens below overwrites the buffer, so nothing stays trusted until
    // the read succeeds.
    m_cachedPath.clear();
    m_recordLength = 0;

    // Grow ahead from the scan's record length, but never beyond what the file could
    // hold, so a bogus length cannot force a huge allocation.
    const int64_t fileLength = m_file.GetLength();
    if (fileLength < 0) return false;
    const uint64_t wanted = uint64_t(frame.dataLength) + lis::kLogicalHeaderSize + kBufferSlack;
    if (wanted > m_buffer.size() && wanted <= uint64_t(fileLength) + kBufferSlack) m_buffer.resize(size_t(wanted));

    uint64_t position = frame.recordPosition;
    lis::RecordStatus status;
    uint32_t length =
        CLisRecordIO::ReadLogicalRecord(m_buffer.data(), m_buffer.size(), m_file, position, m_framing, &status);
    if (status == lis::RecordStatus::NoRoom) {
        // Trailers, or a record longer than the scan said: the record layer knows the
        // room it needs (bounded by the file).
        const uint32_t needed = CLisRecordIO::ProbeLogicalRecord(m_file, position, m_framing);
        if (needed > m_buffer.size()) {
            m_buffer.resize(size_t(needed) + kBufferSlack);
            length = CLisRecordIO::ReadLogicalRecord(m_buffer.data(), m_buffer.size(), m_file, position, m_framing,
                                                     &status);
        }
    }
    // A record that cannot be read is remembered as such too, so that the frames the
    // scan found in it fail one by one without reading it again.
    m_recordLength = status == lis::RecordStatus::Record ? length : 0;
    m_cachedPath = m_path;
    m_cachedPosition = frame.recordPosition;
    return m_recordLength != 0;
}

Status CLisRead::ReadChannel(float* out, size_t capacity, const LisFrameRef& frame, const LisChannelSlice& channel)
{
    if (!m_file.IsOpen()) return Status::Quiet();
    // Worded only when a read fails: a conversion reads every channel of every frame.
    const auto unread = [this] { return Status::Failure(kErrorReadingFrame + m_path); };
    using lis::ReprCode;
    const uint8_t code = channel.representationCode;
    const uint32_t count = channel.ElementCount();
    // Masks and codes the format does not define hold no numbers: nothing is made up for them.
    if (!lis::Is(code, ReprCode::Text) && !lis::IsNumberCode(code)) return unread();
    if (!lis::Is(code, ReprCode::Text) && count > capacity) return unread();
    if (!LoadRecord(frame)) return unread();

    // The whole slice must lie inside the record, whatever the code consumes of it.
    const uint64_t start = uint64_t(lis::kLogicalHeaderSize) + frame.frameOffset + channel.offset;
    if (start + channel.size > m_recordLength) return unread();
    const uint8_t* p = m_buffer.data() + start;

    switch (ReprCode(code)) {
    case ReprCode::Int8: DecodeAll<int32_t>(out, count, p, lis::DecodeInt8); break;
    case ReprCode::Byte: DecodeAll<int32_t>(out, count, p, lis::DecodeByte); break;
    case ReprCode::Int16: DecodeAll<int32_t>(out, count, p, lis::DecodeInt16); break;
    case ReprCode::Int32: DecodeAll<int32_t>(out, count, p, lis::DecodeInt32); break;
    case ReprCode::Float: lis::DecodeFloats(p, count, out); break; // the waveforms: a tight loop
    case ReprCode::Float16: DecodeAll<double>(out, count, p, lis::DecodeFloat16); break;
    case ReprCode::Fixed: DecodeAll<double>(out, count, p, lis::DecodeFixed); break;
    case ReprCode::FloatLow: m_beyondFloat += DecodeAllWide(out, count, p, lis::DecodeFloatLow); break;
    default: break; // text: no numeric values
    }
    return Status();
}
