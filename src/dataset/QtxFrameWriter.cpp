#include "dataset/QtxFrameWriter.h"

#include "dataset/QtxFile.h"
#include "platform/Endian.h"

#include <algorithm>

CQtxFrameWriter::CQtxFrameWriter(CQtxFile& file, size_t pieceBytes)
    : m_file(file), m_bytes(std::max(pieceBytes, qtx::kDepthSize))
{
}

Status CQtxFrameWriter::Reserve(size_t bytes, uint8_t*& at)
{
    at = nullptr;
    if (bytes > m_bytes.size()) return Status::Quiet();
    if (m_bytes.size() - m_staged < bytes)
        if (Status flushed = Flush(); !flushed) return flushed;
    at = m_bytes.data() + m_staged;
    m_staged += bytes;
    return Status();
}

Status CQtxFrameWriter::WriteDepth(double depth)
{
    if (!m_depths)
        m_depths = m_holdRule ? CDepthRule(m_file.Header().logDirection, m_file.Header().depthStep, m_depthResolution)
                              : CDepthRule::FiniteOnly();
    if (Status taken = m_depths->Check(depth, m_file.Path()); !taken) return taken;
    uint8_t* at = nullptr;
    if (Status reserved = Reserve(qtx::kDepthSize, at); !reserved) return reserved;
    endian::PutLEDouble(at, depth);
    return Status();
}

Status CQtxFrameWriter::WriteValues(const float* values, size_t count)
{
    const size_t piece = m_bytes.size() / sizeof(float);
    while (count > 0) {
        const size_t n = std::min(count, piece);
        uint8_t* at = nullptr;
        if (Status reserved = Reserve(n * sizeof(float), at); !reserved) return reserved;
        endian::FloatsToLEBytes(at, values, n);
        values += n;
        count -= n;
    }
    return Status();
}

Status CQtxFrameWriter::Flush()
{
    const size_t n = m_staged;
    m_staged = 0;
    if (n == 0) return Status();
    return m_file.WriteFrameBytes(m_bytes.data(), n);
}

void CQtxFrameWriter::Abandon()
{
    m_staged = 0;
    m_file.DropOutput();
}

Status CQtxFrameWriter::Finalize()
{
    if (!m_file.OutputOpen()) return Status::Quiet();
    // A failed write is a failed run: nothing is committed.
    if (Status flushed = Flush(); !flushed) {
        Abandon();
        return flushed;
    }
    return m_file.FinalizeFrames();
}
