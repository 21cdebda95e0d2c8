// Random access to the channel values of a LIS file that the parameter scan has
// already walked: one channel of one frame at a time, as floats. The logical record
// of the last frame asked for stays buffered, so reading every channel of every frame
// of a record costs one record read.
#pragma once

#include "dataset/QtxLayout.h"
#include "lis/LisRecordIO.h"
#include "platform/BinaryFile.h"
#include "platform/Status.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace lis {

// The value of a sample that has none (a code-50 value beyond a float, a receiver
// without a channel): the data set's own.
constexpr float kAbsentValue = qtx::kAbsentValue;

} // namespace lis

// Where one channel lies inside a data frame. A CLisChannelItem maps onto it
// member for member: m_offset, m_size, m_reprCode.
struct LisChannelSlice {
    uint32_t offset = 0;            // bytes from the start of the frame
    uint32_t size = 0;              // bytes of the channel per frame
    uint8_t representationCode = 0; // LIS representation code of its values

    // Bytes per element (lis::RepresentationSize) and elements in the slice.
    int ElementSize() const { return lis::RepresentationSize(representationCode); }
    uint32_t ElementCount() const { return size / uint32_t(ElementSize()); }
};

// Where one frame lies. A CLisDepthEntry maps onto it: record position, data
// length, frame offset, depth.
struct LisFrameRef {
    uint64_t recordPosition = 0; // file position of the logical record that holds the frame
    uint32_t dataLength = 0;     // bytes of that record's body (behind its 2-byte header)
    uint32_t frameOffset = 0;    // bytes from the start of the body to the frame
    double depth = 0.0;          // the frame's own; the reader finds the frame without it
};

class CLisRead {
public:
    CLisRead();
    virtual ~CLisRead() = default;
    CLisRead(const CLisRead&) = delete;
    CLisRead& operator=(const CLisRead&) = delete;

    // Opens `path` read-only and detects its framing (a file that is not LIS still
    // opens, read as plain framing). A file that does not open fails with its cause.
    Status Open(const std::string& path);
    // Same on a file the caller opened (a memory file in tests); `path` keys the cache.
    // A file that is not open fails quietly: its opener tells why.
    Status Open(BinaryFile&& file, const std::string& path);

    // Writes the values of `channel` in `frame` to out[0, n), n = channel.ElementCount(),
    // in their order in the frame: codes 56, 66, 79, 73 as integers, 49, 50, 68 and 70
    // as their real values (a code-50 value beyond the float range as lis::kAbsentValue),
    // 65 (text) writes nothing. `capacity` is the room at `out` in floats. Fails and
    // leaves `out` untouched when no file is open (quietly), the code holds no numbers
    // (77, codes the format does not define), the record cannot be read, the slice
    // reaches past the record, or n exceeds `capacity`. The file position is not used.
    Status ReadChannel(float* out, size_t capacity, const LisFrameRef& frame, const LisChannelSlice& channel);

    // Closes the file. The buffered record stays trusted for a later Open of the same path
    // (a record that could not be read is tried again).
    void Close();

    int Framing() const { return m_framing; }
    // Code-50 values read so far that a float cannot hold (given as lis::kAbsentValue).
    uint64_t BeyondFloatCount() const { return m_beyondFloat; }

private:
    // Makes the record of `frame` the buffered one; false when it cannot be read.
    bool LoadRecord(const LisFrameRef& frame);

    BinaryFile m_file;
    std::string m_path;
    int m_framing = lis::kTif;
    std::vector<uint8_t> m_buffer; // the buffered logical record, its header included
    uint32_t m_recordLength = 0;   // bytes of m_buffer holding that record; 0: it could not be read
    // Key of the buffered record; m_cachedPath is empty while nothing is buffered.
    std::string m_cachedPath;
    uint64_t m_cachedPosition = 0;
    uint64_t m_beyondFloat = 0;
};
