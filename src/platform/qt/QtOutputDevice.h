// A Qt device over an OutputFile, for Qt writers (the PDF printer) that ignore failed
// writes: the device remembers the first one, so the job can abandon the temporary
// instead of committing a cut file. Writes are gathered into blocks before they reach
// the file, as a QFile's buffer would.
#pragma once

#include "platform/OutputFile.h"

#include <QIODevice>

#include <vector>

class QtOutputDevice : public QIODevice {
public:
    // `output` must be open; it stays the caller's, and outlives the device.
    explicit QtOutputDevice(OutputFile& output);
    ~QtOutputDevice() override;

    bool isSequential() const override { return false; }
    bool seek(qint64 position) override;
    qint64 size() const override;
    // Hands the gathered bytes to the file; false once any write has failed.
    bool Flush();
    bool Failed() const { return m_failed; }

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 size) override;

private:
    OutputFile& m_output;
    std::vector<char> m_pending; // bytes not yet handed to the file, written at m_pendingAt
    int64_t m_pendingAt = 0;
    bool m_failed = false;
};
