#include "lis/LisStartDelay.h"

#include "lis/LisLayout.h"
#include "lis/LisRecordIO.h"

#include <algorithm>

namespace lis::start_delay {

int32_t FitDelay(int64_t delay, uint16_t samples)
{
    const int64_t room = std::max<int64_t>(0, kMaxTraceSamples - int64_t(samples));
    return int32_t(std::clamp<int64_t>(delay, 0, room));
}

bool IsTimeCode(uint8_t code)
{
    return Is(code, ReprCode::Float) || Is(code, ReprCode::Int32) || Is(code, ReprCode::Int16);
}

} // namespace lis::start_delay

namespace {

constexpr uint32_t kInitialBuffer = 8192;

} // namespace

bool CLisFrameReader::Read(uint64_t position)
{
    if (m_read && position == m_position) return m_length != 0;
    m_read = true;
    m_position = position;
    m_length = 0;
    if (m_buffer.size() < kInitialBuffer) m_buffer.resize(kInitialBuffer);
    uint64_t at = position;
    lis::RecordStatus status;
    uint32_t n = CLisRecordIO::ReadLogicalRecord(m_buffer.data(), m_buffer.size(), m_file, at, m_framing, &status);
    if (status == lis::RecordStatus::NoRoom) {
        const uint32_t needed = CLisRecordIO::ProbeLogicalRecord(m_file, position, m_framing);
        if (needed > m_buffer.size()) {
            m_buffer.resize(needed);
            at = position;
            n = CLisRecordIO::ReadLogicalRecord(m_buffer.data(), m_buffer.size(), m_file, at, m_framing, &status);
        }
    }
    // A file mark holds no frames.
    if (status != lis::RecordStatus::Record) n = 0;
    m_length = uint32_t(std::min<size_t>(n, m_buffer.size()));
    return m_length != 0;
}

std::optional<double> CLisFrameReader::Value(uint32_t frameOffset, const CLisChannelItem& channel) const
{
    const uint8_t code = channel.m_reprCode;
    if (!lis::start_delay::IsTimeCode(code)) return std::nullopt;
    const uint64_t at = uint64_t(lis::kLogicalHeaderSize) + frameOffset + channel.m_offset;
    if (at + uint64_t(lis::RepresentationSize(code)) > m_length) return std::nullopt;
    double v = 0.0;
    const uint8_t* p = m_buffer.data() + at;
    if (!lis::DecodeNumber(code, p, m_buffer.data() + m_length, v)) return std::nullopt;
    return v;
}
