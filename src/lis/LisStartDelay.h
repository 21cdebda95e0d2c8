// Start delays read back from the frames. The MAC/XMAC and DAL tools record, per
// receiver, the time at which its trace starts; their recognisers read these values
// from the data records of the scanned file once the items are built, and turn them
// into each item's fixed delay.
#pragma once

#include "lis/LisRecords.h"
#include "platform/BinaryFile.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace lis::start_delay {

// Samples of the conversion's trace: a trace of samples per waveform plus its fixed
// delay must fit in it.
constexpr int kMaxTraceSamples = 2048;

// `delay` samples clamped so that a trace of `samples` fits: 0 to 2048 - samples, and
// 0 when the samples alone fill the trace.
int32_t FitDelay(int64_t delay, uint16_t samples);

// The codes in which start times are read: 68, 73 and 79.
bool IsTimeCode(uint8_t code);

} // namespace lis::start_delay

// The logical records of the file being scanned, one at a time, for the values of a
// depth entry's frame. Consecutive entries in one record read it once.
class CLisFrameReader {
public:
    CLisFrameReader(BinaryFile& file, int framing) : m_file(file), m_framing(framing) {}

    // Reads the logical record at `position` (the record read last is kept). False when
    // no readable record stands there; Value then finds nothing.
    bool Read(uint64_t position);

    // The value of `channel` (codes 68, 73 and 79) in the frame that lies `frameOffset`
    // bytes behind the record's 2-byte header; nothing for any other code and for a
    // value that would lie past the end of the record.
    std::optional<double> Value(uint32_t frameOffset, const CLisChannelItem& channel) const;

private:
    BinaryFile& m_file;
    int m_framing;
    std::vector<uint8_t> m_buffer;
    uint32_t m_length = 0; // of the record in m_buffer; 0 none
    uint64_t m_position = 0;
    bool m_read = false;   // m_position holds the last position read
};
