#include "platform/qt/QtOutputDevice.h"

#include <algorithm>

namespace {
constexpr size_t kBlock = 64 * 1024; // about a QFile buffer's worth of many small writes
} // namespace

QtOutputDevice::QtOutputDevice(OutputFile& output) : m_output(output)
{
    m_pendingAt = m_output.GetPosition();
    if (m_output.IsOpen()) QIODevice::open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

QtOutputDevice::~QtOutputDevice() { Flush(); }

bool QtOutputDevice::Flush()
{
    if (!m_failed && !m_pending.empty()) {
        m_failed = m_output.Seek(m_pendingAt) < 0 || !m_output.Write(m_pending.data(), m_pending.size());
        m_pendingAt += int64_t(m_pending.size());
    }
    m_pending.clear();
    return !m_failed;
}

bool QtOutputDevice::seek(qint64 position)
{
    if (!Flush() || position < 0) return false;
    m_pendingAt = position;
    return QIODevice::seek(position);
}

qint64 QtOutputDevice::size() const
{
    const int64_t length = m_output.GetLength();
    return std::max<qint64>(length, m_pendingAt + qint64(m_pending.size()));
}

qint64 QtOutputDevice::readData(char*, qint64) { return -1; }

qint64 QtOutputDevice::writeData(const char* data, qint64 size)
{
    if (m_failed || size < 0) return -1;
    m_pending.insert(m_pending.end(), data, data + size);
    if (m_pending.size() >= kBlock && !Flush()) return -1;
    return size;
}
