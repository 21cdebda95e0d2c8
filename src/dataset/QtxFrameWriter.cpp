#include "dataset/QtxFrameWriter.h"

#include "dataset/QtxFile.h"
#include "platform/Endian.h"

#include <algorithm>

CQtxFrameWriter::CQtxFrameWriter(CQtxFile& file, size_t pieceBytes)
    : m_file(file), m_bytes(std::max(pieceBytes, qtx::kDepthSize))
{
}

uint8_t* CQtxFrameWriter::Reserve(size_t bytes)
{
    if (bytes > m_bytes.size()) return nullptr;
    if (m_bytes.size() - m_staged < bytes && !Flush()) return nullptr;
    uint8_t* at = m_bytes.data() + m_staged;
    m_staged += bytes;
    return at;
}

int CQtxFrameWriter::WriteDepth(double depth)
{
    if (!m_depths)
        m_depths = m_holdRule ? CDepthRule(m_file.Header().logDirection, m_file.Header().depthStep, m_depthResolution)
                              : CDepthRule::FiniteOnly();
    if (!m_depths->Check(depth, m_file.Path())) return 0;
    uint8_t* at = Reserve(qtx::kDepthSize);
    if (!at) return 0;
    endian::PutLEDouble(at, depth);
    return 1;
}

int CQtxFrameWriter::WriteValues(const float* values, size_t count)
{
    const size_t piece = m_bytes.size() / sizeof(float);
    while (count > 0) {
        const size_t n = std::min(count, piece);
        uint8_t* at = Reserve(n * sizeof(float));
        if (!at) return 0;
        endian::FloatsToLEBytes(at, values, n);
        values += n;
        count -= n;
    }
    return 1;
}

int CQtxFrameWriter::Flush()
{
    const size_t n = m_staged;
    m_staged = 0;
    if (n == 0) return 1;
    return m_file.WriteFrameBytes(m_bytes.data(), n);
}

void CQtxFrameWriter::Abandon()
{
    m_staged = 0;
    m_file.DropOutput();
}

int CQtxFrameWriter::Finalize()
{
    if (!m_file.OutputOpen()) return 0;
    // A failed write is a failed run: nothing is committed.
    if (!Flush()) {
        Abandon();
        return 0;
    }
    return m_file.FinalizeFrames();
}
