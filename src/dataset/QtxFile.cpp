#include "dataset/QtxFile.h"

#include "dataset/DepthRule.h"
#include "platform/Endian.h"
#include "platform/Format.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

const char kCouldNotOpenOutput[] = "Could not open output file :\n";
const char kErrorReadingHeader[] = "Error reading header in file :\n";
const char kErrorReadingDescriptor[] = "Error reading datum descriptor in file :\n";
const char kErrorReadingFrame[] = "Error reading frame data in file :\n";
const char kErrorReadingTop[] = "Error reading top depth in file :\n";
const char kErrorReadingBottom[] = "Error reading bottom depth in file :\n";
const char kErrorWritingHeader[] = "Error writing header in file :\n";
const char kErrorWritingDescriptor[] = "Error writing datum descriptor in file :\n";
const char kErrorWritingDepth[] = "Error writing depth in file :\n";
const char kErrorWritingFrame[] = "Error writing frame data in file :\n";
const char kErrorWritingHistory[] = "Error writing history in file :\n";

Status Failure(const char* prefix, const std::string& path) { return Status::Failure(prefix + path); }

std::string FourCharacters(const std::string& text)
{
    std::string m = text.substr(0, 4);
    m.resize(4, ' ');
    return m;
}

// A datum must lie inside the frame behind its depth, and its counts must fit its size:
// anything else would send later reads outside the frame.
bool FitsFrame(const QtxDatumDescriptor& d, uint32_t frameSize)
{
    uint64_t needed = uint64_t(d.traceCount) * d.axis1.sampleCount * sizeof(float);
    if (d.axisCount != 1) needed *= d.axis2.sampleCount;
    return d.offset >= qtx::kDepthSize && uint64_t(d.offset) + d.size <= frameSize && needed <= d.size;
}

} // namespace

CQtxDatum::CQtxDatum(uint32_t flag, const std::string& mnemonic, uint8_t typeCode, uint8_t category,
                     uint8_t typeCode2, uint16_t datumNumber, uint16_t traceCount, uint16_t axisCount,
                     uint32_t offset, uint32_t size, uint8_t unit1, uint16_t firstIndex1, uint16_t count1,
                     float step1)
    : m_flag(flag), m_mnemonic(mnemonic), m_typeCode(typeCode), m_category(category), m_typeCode2(typeCode2),
      m_datumNumber(datumNumber), m_traceCount(traceCount), m_axisCount(axisCount), m_offset(offset),
      m_size(size)
{
    m_axis1 = {unit1, firstIndex1, count1, step1};
}

CQtxDatum::CQtxDatum(uint32_t flag, const std::string& mnemonic, uint8_t typeCode, uint8_t category,
                     uint8_t typeCode2, uint16_t datumNumber, uint16_t traceCount, uint16_t axisCount,
                     uint32_t offset, uint32_t size, uint8_t unit1, uint16_t firstIndex1, uint16_t count1,
                     float step1, uint8_t unit2, uint16_t firstIndex2, uint16_t count2, float step2)
    : CQtxDatum(flag, mnemonic, typeCode, category, typeCode2, datumNumber, traceCount, axisCount, offset, size,
                unit1, firstIndex1, count1, step1)
{
    m_axis2 = {unit2, firstIndex2, count2, step2};
}

CQtxFile::CQtxFile() = default;

CQtxFile::CQtxFile(const std::string& path, const QtxFileHeader& header) : m_path(path), m_header(header) {}

Status CQtxFile::FailRead(const char* prefix)
{
    m_fileIn.Close();
    return Failure(prefix, m_inPath);
}

Status CQtxFile::FailFrameRead(int64_t frame)
{
    if (m_failedFrame < 0) m_failedFrame = frame;
    if (m_deferFrameErrors) {
        if (!m_keepInputOnFrameError) m_fileIn.Close();
        return Status::Quiet();
    }
    if (!m_keepInputOnFrameError) return FailRead(kErrorReadingFrame);
    if (m_frameErrorReported) return Status::Quiet();
    m_frameErrorReported = true;
    return Failure(kErrorReadingFrame, m_inPath);
}

Status CQtxFile::FailWrite(const char* prefix) const
{
    // The output stays open for the caller to abandon: every writer drops a data set
    // whose write failed, so an older file under the name is still there.
    return Failure(prefix, m_outPath + OutputFailureCause(m_outPath, m_fileOut.Error()));
}

// ---- reading -------------------------------------------------------------------

bool CQtxFile::HoldsDataSet(BinaryFile& file, bool* lengthFits)
{
    const int64_t length = file.GetLength();
    uint8_t bytes[qtx::kHeaderSize];
    if (length < int64_t(sizeof bytes) || file.ReadAt(0, bytes, sizeof bytes) != sizeof bytes) return false;
    QtxFileHeader header;
    header.Decode(bytes);
    const auto datums = static_cast<int16_t>(header.datumCount);
    if ((header.logDirection != qtx::kLogDown && header.logDirection != qtx::kLogUp)
        || (header.depthUnits != qtx::kUnitsFeet && header.depthUnits != qtx::kUnitsMetres)
        || header.frameSize < qtx::kDepthSize || datums < 0)
        return false;
    // Descriptors that all lie inside their frame tell a data set whatever became of its
    // end (a byte appended or cut, padding, a frame cut short): other files' bytes do not
    // read as such a chain.
    for (int i = 0; i < datums; ++i) {
        uint8_t descriptor[qtx::kDescriptorSize];
        if (file.ReadAt(int64_t(qtx::DataStart(uint64_t(i))), descriptor, sizeof descriptor) != sizeof descriptor)
            return false;
        QtxDatumDescriptor d;
        d.Decode(descriptor);
        if (!FitsFrame(d, header.frameSize)) return false;
    }
    const uint64_t whole = qtx::DataStart(uint64_t(datums)) + uint64_t(header.frameCount) * header.frameSize;
    // Without a descriptor only the length can vouch for the header.
    if (datums == 0 && whole != uint64_t(length)) return false;
    if (lengthFits) *lengthFits = whole == uint64_t(length);
    return true;
}

Status CQtxFile::OpenRead(const std::string& path)
{
    m_path = path;
    m_inPath = path;
    m_frameErrorReported = false;
    m_deferFrameErrors = false;
    m_failedFrame = -1;
    if (Status opened = OpenInputFile(m_fileIn, path, {qtx::kHeaderSize}); !opened) return opened;
    uint8_t bytes[qtx::kHeaderSize];
    if (m_fileIn.ReadAt(0, bytes, sizeof bytes) != sizeof bytes) return FailRead(kErrorReadingHeader);
    m_fileIn.Seek(qtx::kHeaderSize);
    m_header.Decode(bytes);
    m_datumCount = static_cast<short>(m_header.datumCount);
    m_frameCount = m_header.frameCount;
    m_frameSize = m_header.frameSize;
    m_topDepth = m_header.topDepth;
    m_bottomDepth = m_header.bottomDepth;
    m_depthStep = m_header.depthStep;
    return Status();
}

Status CQtxFile::ReadDatumList(CQtxDatumList& list)
{
    if (!m_fileIn.IsOpen()) return Status::Quiet();
    uint8_t header[qtx::kHeaderSize];
    if (m_fileIn.ReadAt(0, header, sizeof header) != sizeof header) return FailRead(kErrorReadingHeader);
    m_header.Decode(header);
    m_datumCount = static_cast<short>(m_header.datumCount);
    if (m_datumCount < 1) return Status();

    for (int i = 0; i < m_datumCount; ++i) {
        uint8_t bytes[qtx::kDescriptorSize];
        const int64_t at = int64_t(qtx::DataStart(uint64_t(i)));
        if (m_fileIn.ReadAt(at, bytes, sizeof bytes) != sizeof bytes) return FailRead(kErrorReadingDescriptor);
        QtxDatumDescriptor d;
        d.Decode(bytes);
        const std::string mnemonic(d.mnemonic, 4);

        if (!FitsFrame(d, m_header.frameSize)) return FailRead(kErrorReadingFrame);

        if (d.axisCount != 1)
            list.push_back(std::make_unique<CQtxDatum>(
                1u, mnemonic, d.typeCode, d.category, d.typeCode2, d.datumNumber, d.traceCount, d.axisCount,
                d.offset, d.size, d.axis1.unit, d.axis1.firstIndex, d.axis1.sampleCount, d.axis1.step, d.axis2.unit,
                d.axis2.firstIndex, d.axis2.sampleCount, d.axis2.step));
        else
            list.push_back(std::make_unique<CQtxDatum>(1u, mnemonic, d.typeCode, d.category, d.typeCode2,
                                                       d.datumNumber, d.traceCount, d.axisCount, d.offset, d.size,
                                                       d.axis1.unit, d.axis1.firstIndex, d.axis1.sampleCount,
                                                       d.axis1.step));
    }
    m_fileIn.Seek(int64_t(qtx::DataStart(uint64_t(m_datumCount))));
    return Status();
}

int CQtxFile::ReadFrameItemShared(int frame, int64_t offsetInFrame, int count1, int count2, float* out,
                                  size_t outCapacity) const
{
    if (!m_fileIn.IsOpen()) return 0;
    if (frame < 0 || offsetInFrame < 0 || count1 < 0 || count2 < 0) return 0;
    const uint64_t floats = uint64_t(count1) * uint64_t(count2);
    const uint64_t bytes = floats * sizeof(float);
    if (uint64_t(offsetInFrame) + bytes > m_frameSize || floats > outCapacity) return 0;
    if (floats == 0) return 1;

    const uint64_t datums = m_datumCount > 0 ? uint64_t(m_datumCount) : 0;
    const uint64_t position = qtx::DataStart(datums) + uint64_t(frame) * m_frameSize + uint64_t(offsetInFrame);
    if (m_fileIn.ReadAtOnAnyThread(int64_t(position), out, size_t(bytes)) != bytes) return 0;
    endian::LEFloatsInPlace(out, size_t(floats));
    return 1;
}

Status CQtxFile::ReportFrameReadFailure(int64_t frame)
{
    if (!m_fileIn.IsOpen()) return Status::Quiet();
    return FailFrameRead(frame);
}

Status CQtxFile::ReadFrameItem(int frame, int64_t offsetInFrame, int count1, int count2, float* out, size_t outCapacity)
{
    if (!m_fileIn.IsOpen()) return Status::Quiet();
    if (!ReadFrameItemShared(frame, offsetInFrame, count1, count2, out, outCapacity)) return FailFrameRead(frame);
    const uint64_t bytes = uint64_t(count1) * uint64_t(count2) * sizeof(float);
    const uint64_t datums = m_datumCount > 0 ? uint64_t(m_datumCount) : 0;
    if (bytes > 0) m_fileIn.Seek(int64_t(qtx::DataStart(datums) + uint64_t(frame) * m_frameSize + uint64_t(offsetInFrame) + bytes));
    return Status();
}

int CQtxFile::ReadFrameBytes(int first, int count, uint8_t* out, size_t capacity) const
{
    if (!m_fileIn.IsOpen() || first < 0 || count <= 0 || m_frameSize == 0) return 0;
    const uint64_t frames = std::min<uint64_t>(uint64_t(count), capacity / m_frameSize);
    if (frames == 0) return 0;
    const uint64_t datums = m_datumCount > 0 ? uint64_t(m_datumCount) : 0;
    const uint64_t position = qtx::DataStart(datums) + uint64_t(first) * m_frameSize;
    return int(m_fileIn.ReadAtOnAnyThread(int64_t(position), out, size_t(frames * m_frameSize)) / m_frameSize);
}

int64_t CQtxFile::FramesHeld() const
{
    if (!m_fileIn.IsOpen()) return 0;
    const int64_t length = m_fileIn.GetLength();
    const int64_t dataStart = int64_t(qtx::DataStart(uint64_t(std::max<short>(m_datumCount, 0))));
    return m_frameSize > 0 && length > dataStart ? (length - dataStart) / m_frameSize : 0;
}

Status CQtxFile::WriteHistory(const char (&history)[qtx::kHistorySize])
{
    std::memcpy(m_header.history, history, qtx::kHistorySize);
    BinaryFile file;
    uint8_t bytes[qtx::kHistorySize];
    std::memcpy(bytes, m_header.history, sizeof bytes);
    if (m_inPath.empty() || !file.Open(m_inPath, BinaryFile::modeWrite)
        || !file.WriteAt(qtx::kHdrHistory, bytes, sizeof bytes))
        return Failure(kErrorWritingHistory, m_inPath);
    return Status();
}

// ---- writing -------------------------------------------------------------------

Status CQtxFile::OpenWrite(const std::string& path)
{
    m_path = path;
    m_outPath = path;
    int error = 0;
    if (!m_fileOut.Open(path, &error)) return Failure(kCouldNotOpenOutput, path + OutputFailureCause(path, error));
    return Status();
}

Status CQtxFile::OpenWrite(const std::string& path, size_t datumCount, const std::string& source,
                           const std::string& remedy)
{
    if (Status fits = DatumCountFits(datumCount, source, remedy); !fits) return fits;
    return OpenWrite(path);
}

Status CQtxFile::AddLayout(CQtxDescriptorList& list, const std::string& mnemonic, uint64_t size,
                        const QtxDatumDescriptor& fields)
{
    const bool first = list.empty();
    const uint64_t offset = first ? qtx::kDepthSize : uint64_t(m_nextOffset) + m_datumSize;
    const uint64_t frameSize = (first ? qtx::kDepthSize : m_layoutFrameSize) + size;
    if (frameSize > 0xFFFFFFFFull || offset > 0xFFFFFFFFull)
        return Status::Failure(Format("Datum %s does not fit into a data set frame!\nOperation will be abandoned.",
                                      FourCharacters(mnemonic).c_str()));
    m_nextOffset = uint32_t(offset);
    m_datumSize = uint32_t(size);
    m_layoutFrameSize = uint32_t(frameSize);
    m_datumNumber = first ? 1 : uint16_t(m_datumNumber + 1);
    m_layoutDatumCount = first ? 1 : short(m_layoutDatumCount + 1);

    QtxDatumDescriptor descriptor = fields;
    std::memcpy(descriptor.mnemonic, FourCharacters(mnemonic).data(), 4);
    // Nothing names the second type byte; the item type code is the one meaningful copy.
    descriptor.typeCode2 = fields.typeCode;
    descriptor.datumNumber = m_datumNumber;
    descriptor.offset = m_nextOffset;
    descriptor.size = m_datumSize;
    list.emplace_back(descriptor);
    return Status();
}

Status CQtxFile::AddDatum(CQtxDescriptorList& list, const std::string& mnemonic, uint8_t typeCode,
                       uint16_t axisCount, uint8_t category, uint16_t traceCount, uint8_t unit, float step,
                       uint16_t sampleCount, uint16_t firstIndex)
{
    // A one-axis datum describes its second axis as "none, one sample".
    const QtxAxisDescriptor none{kUnitNone, 0, 1, 0.0f};
    return AddLayout(list, mnemonic, uint64_t(traceCount) * sampleCount * sizeof(float),
                     DescriptorFields(typeCode, category, traceCount, axisCount, {unit, firstIndex, sampleCount, step}, none));
}

Status CQtxFile::AddTwoAxisDatum(CQtxDescriptorList& list, const std::string& mnemonic, uint8_t typeCode,
                              uint16_t axisCount, uint8_t category, uint16_t traceCount, uint8_t unit, float step,
                              uint16_t sampleCount, uint16_t firstIndex, uint8_t unit2, float step2,
                              uint16_t sampleCount2, uint16_t firstIndex2)
{
    return AddLayout(list, mnemonic, uint64_t(traceCount) * sampleCount * sampleCount2 * sizeof(float),
                     DescriptorFields(typeCode, category, traceCount, axisCount, {unit, firstIndex, sampleCount, step},
                                      {unit2, firstIndex2, sampleCount2, step2}));
}

QtxDatumDescriptor CQtxFile::DescriptorFields(uint8_t typeCode, uint8_t category, uint16_t traceCount,
                                              uint16_t axisCount, const QtxAxisDescriptor& axis1,
                                              const QtxAxisDescriptor& axis2)
{
    QtxDatumDescriptor d;
    d.typeCode = typeCode;
    d.category = category;
    d.traceCount = traceCount;
    d.axisCount = axisCount;
    d.axis1 = axis1;
    d.axis2 = axis2;
    return d;
}

Status CQtxFile::WriteHeader()
{
    m_header.frameSize = m_layoutFrameSize;
    m_header.datumCount = uint16_t(m_layoutDatumCount);
    uint8_t bytes[qtx::kHeaderSize];
    m_header.Encode(bytes);
    if (!m_fileOut.Write(bytes, sizeof bytes)) return FailWrite(kErrorWritingHeader);
    return Status();
}

Status CQtxFile::WriteDescriptors(const CQtxDescriptorList& list)
{
    for (const auto& item : list)
        if (!m_fileOut.Write(item.m_bytes, sizeof item.m_bytes)) return FailWrite(kErrorWritingDescriptor);
    return Status();
}

Status CQtxFile::WriteDepth(const double* depth)
{
    uint8_t bytes[qtx::kDepthSize];
    endian::PutLEDouble(bytes, *depth);
    if (!m_fileOut.Write(bytes, sizeof bytes)) return FailWrite(kErrorWritingDepth);
    return Status();
}

Status CQtxFile::WriteData(const float* values, int count)
{
    if (count < 0 || size_t(count) > qtx::kDataBufferFloats) return FailWrite(kErrorWritingFrame);
    if (count == 0) return Status();
    uint8_t bytes[qtx::kDataBufferFloats * sizeof(float)];
    endian::FloatsToLEBytes(bytes, values, size_t(count));
    if (!m_fileOut.Write(bytes, size_t(count) * sizeof(float))) return FailWrite(kErrorWritingFrame);
    return Status();
}

Status CQtxFile::WriteFrameBytes(const uint8_t* bytes, size_t count)
{
    if (!m_fileOut.Write(bytes, count)) return FailWrite(kErrorWritingFrame);
    return Status();
}

Status CQtxFile::FinalizeEmpty()
{
    if (!m_fileOut.IsOpen()) return Status::Quiet();
    // No whole frame, no data set: the output is never committed, an old file under
    // its name stays.
    DropOutput();
    return Status();
}

Status CQtxFile::FinalizeFrames()
{
    if (!m_fileOut.IsOpen()) return Status::Quiet();
    const int64_t dataStart = int64_t(qtx::DataStart(uint64_t(std::max<short>(m_layoutDatumCount, 0))));
    const int64_t frameSize = std::max<int64_t>(m_layoutFrameSize, 1);
    if (m_fileOut.GetLength() >= dataStart + frameSize) return Finalize(); // cuts a torn last frame
    return FinalizeEmpty();
}

void CQtxFile::DropOutput()
{
    m_fileOut.Abandon();
    m_writtenFrameCount = 0;
}

Status CQtxFile::Finalize()
{
    if (!m_fileOut.IsOpen()) return Status::Quiet();
    const int64_t length = m_fileOut.GetLength();
    const int64_t dataStart = int64_t(qtx::DataStart(uint64_t(std::max<short>(m_layoutDatumCount, 0))));
    const int64_t frameSize = std::max<int64_t>(m_layoutFrameSize, 1);
    const int64_t frames = length > dataStart ? (length - dataStart) / frameSize : 0;

    uint8_t depth[qtx::kDepthSize];
    if (frames < 1 || m_fileOut.ReadAt(dataStart, depth, sizeof depth) != sizeof depth) {
        DropOutput();
        return Failure(kErrorReadingTop, m_outPath);
    }
    const double firstDepth = endian::GetLEDouble(depth);
    if (m_fileOut.ReadAt(dataStart + (frames - 1) * frameSize, depth, sizeof depth) != sizeof depth) {
        DropOutput();
        return Failure(kErrorReadingBottom, m_outPath);
    }
    const double lastDepth = endian::GetLEDouble(depth);

    // A torn last frame (a failed or interrupted write) is cut off, so the file
    // holds exactly the frames its header counts.
    const int64_t wholeLength = dataStart + frames * frameSize;
    if (length > wholeLength && !m_fileOut.SetLength(wholeLength)) {
        DropOutput();
        return Failure(kErrorWritingFrame, m_outPath + OutputFailureCause(m_outPath, m_fileOut.Error()));
    }

    m_writtenFrameCount = uint32_t(std::min<int64_t>(frames, 0xFFFFFFFF));
    m_header.frameCount = m_writtenFrameCount;
    m_header.topDepth = firstDepth;
    m_header.bottomDepth = lastDepth;
    uint8_t bytes[qtx::kHeaderSize];
    m_header.Encode(bytes);
    const bool written = m_fileOut.WriteAt(0, bytes, sizeof bytes) && m_fileOut.Commit();
    if (!written) {
        DropOutput();
        return Failure(kErrorWritingHeader, m_outPath + OutputFailureCause(m_outPath, m_fileOut.Error()));
    }
    return Status();
}
