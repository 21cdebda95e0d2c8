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
        m_depths = m_holdRule ? CDepthRule(m_file.m_header.logDirection, m_file.m_header.depthStep, m_depthResolution)
                              : CDepthRule::FiniteOnly();
    if (!m_depths->Check(depth, m_file.m_path)) return 0;
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
    BinaryFile& out = m_file.m_fileOut;
    if (!out.IsOpen()) return 0;
    // A failed write is a failed run: nothing is committed.
    if (!Flush()) {
        Abandon();
        return 0;
    }
    const int64_t dataStart = int64_t(qtx::DataStart(uint64_t(std::max<short>(m_file.m_layoutDatumCount, 0))));
    const int64_t frameSize = std::max<int64_t>(m_file.m_layoutFrameSize, 1);
    if (out.GetLength() >= dataStart + frameSize) return m_file.Finalize(); // cuts a torn last frame
    return m_file.FinalizeEmpty();
}
