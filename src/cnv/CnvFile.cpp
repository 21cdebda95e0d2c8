#include "cnv/CnvFile.h"

#include "platform/Endian.h"

#include <cstring>

namespace {

const char kErrorHeader[] = "Error reading header in file :\n";
const char kInvalidShape[] = "Invalid number of receivers or samples in file :\n";
const char kErrorTop[] = "Error reading top frame header in file :\n";
const char kErrorLast[] = "Error reading XACT last shot header in file :\n";
const char kErrorFrameHeader[] = "Error reading frame header in file :\n";
const char kErrorFrameData[] = "Error reading frame data in file :\n";
const char kErrorPeriod[] = "Error reading sampling period in file :\n";
const char kPrematureEof[] = "Premature EOF in file :\n";

} // namespace

template <typename T> T CCnvFile::Fail(const char* text, T value, const std::string& cause)
{
    m_file.Close();
    m_status = Status::Failure(text + m_path + cause);
    return value;
}

uint8_t CCnvFile::ReadToolCode(const std::string& path)
{
    m_path = path;
    if (Status opened = OpenInputFile(m_file, path, {cnv::kHeaderSize}); !opened) {
        m_status = opened;
        return uint8_t(255);
    }
    uint8_t code = 0;
    if (m_file.ReadAt(cnv::kHdrToolCode, &code, 1) != 1) return Fail(kErrorHeader, uint8_t(255));
    m_file.Close();
    m_status = Status();
    return code;
}

Status CCnvFile::Open(const std::string& path)
{
    m_path = path;
    // Read-only: the reader never writes, and a CNV file may sit on a read-only medium.
    if (Status opened = OpenInputFile(m_file, path, {cnv::kHeaderSize}); !opened) {
        m_status = opened;
        return m_status;
    }
    if (m_file.ReadAt(0, m_header, sizeof m_header) != sizeof m_header) {
        Fail(kErrorHeader, 0);
        return m_status;
    }
    m_depthUnits = m_header[cnv::kHdrDepthUnits];
    const int channels = m_header[cnv::kHdrChannelCount];
    const int samples = int16_t(endian::GetLE16(m_header + cnv::kHdrSamples));
    // A count of 0 or below would make a frame of no bytes, and more than the limits
    // would not fit the frame buffer; neither is read any further.
    return SetShape(channels, samples);
}

Status CCnvFile::SetShape(int channels, int samples)
{
    if (!cnv::ValidShape(channels, samples)) {
        Fail(kInvalidShape, 0);
        return m_status;
    }
    m_channels = uint16_t(channels);
    m_samples = uint16_t(samples);
    m_frameSize = cnv::FrameSize(channels, samples);
    m_status = Status();
    return m_status;
}

bool CCnvFile::ReadDepthAt(int64_t offset, double& depth)
{
    if (offset < int64_t(cnv::kHeaderSize)) return false;
    if (m_file.ReadAt(offset, m_frameHeader, sizeof m_frameHeader) != sizeof m_frameHeader) return false;
    depth = endian::GetLEDouble(m_frameHeader + cnv::kFrmDepth);
    return true;
}

double CCnvFile::ReadTopDepth()
{
    double depth = 0.0;
    if (!ReadDepthAt(int64_t(cnv::FrameOffset(m_frameSize, 0)), depth)) return Fail(kErrorTop, -1.0);
    m_topDepth = depth;
    return Succeed(depth);
}

double CCnvFile::ReadBottomDepth()
{
    // From the end: a file with trailing bytes reads another header than frame F-1
    // (and then fails the frame count). Before the first frame there is none to read.
    double depth = 0.0;
    const int64_t length = m_file.GetLength();
    if (m_frameSize == 0 || length < 0 || !ReadDepthAt(length - int64_t(m_frameSize), depth))
        return Fail(kErrorLast, -1.0);
    m_bottomDepth = depth;
    return Succeed(depth);
}

double CCnvFile::ReadFrameInterval()
{
    double first = 0.0, second = 0.0;
    if (m_frameSize == 0 || !ReadDepthAt(int64_t(cnv::FrameOffset(m_frameSize, 0)), first)
        || !ReadDepthAt(int64_t(cnv::FrameOffset(m_frameSize, 1)), second))
        return Fail(kErrorFrameHeader, -1.0);
    m_frameInterval = second - first;
    return Succeed(m_frameInterval);
}

double CCnvFile::ReadSamplingPeriod()
{
    uint8_t bytes[2];
    if (m_file.ReadAt(cnv::kSamplingPeriodOffset, bytes, sizeof bytes) != sizeof bytes)
        return Fail(kErrorPeriod, -1.0);
    m_samplingPeriod = int16_t(endian::GetLE16(bytes));
    return Succeed(double(m_samplingPeriod));
}

uint32_t CCnvFile::CountFrames()
{
    const int64_t length = m_file.GetLength();
    if (m_frameSize == 0 || length < int64_t(cnv::kHeaderSize)) return Fail(kPrematureEof, 0xFFFFFFFFu);
    const uint64_t body = uint64_t(length) - cnv::kHeaderSize;
    // The count must also stay below the failure value, which no file reaches in practice.
    if (body % m_frameSize != 0 || body / m_frameSize >= 0xFFFFFFFFull) return Fail(kPrematureEof, 0xFFFFFFFFu);
    m_frameCount = uint32_t(body / m_frameSize);
    m_status = Status();
    return m_frameCount;
}

bool CCnvFile::ReadFrameDepth(uint32_t k, double& depth)
{
    return m_frameSize != 0 && ReadDepthAt(int64_t(cnv::FrameOffset(m_frameSize, k)), depth);
}

double CCnvFile::ReadFrame(uint32_t k)
{
    if (m_frameSize == 0) return Fail(kErrorFrameHeader, -1.0);
    if (m_frame.size() != m_frameSize) m_frame.assign(m_frameSize, 0);
    const size_t got = m_file.ReadAt(int64_t(cnv::FrameOffset(m_frameSize, k)), m_frame.data(), m_frameSize);
    if (got < cnv::kFrameHeaderSize) return Fail(kErrorFrameHeader, -1.0);
    std::memcpy(m_frameHeader, m_frame.data(), sizeof m_frameHeader);
    if (got < m_frameSize) return Fail(kErrorFrameData, -1.0);
    return Succeed(endian::GetLEDouble(m_frameHeader + cnv::kFrmDepth));
}

const uint8_t* CCnvFile::ChannelSamples(int c) const
{
    if (m_frame.size() != m_frameSize || c < 0 || c >= m_channels) return nullptr;
    return m_frame.data() + cnv::kFrameHeaderSize + size_t(c) * cnv::ChannelBlockSize(m_samples) + cnv::kWordSize;
}
