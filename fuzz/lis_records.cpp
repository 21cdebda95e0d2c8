// Any bytes as a LIS tape image: walk its logical records in both framings as the
// scan does (probe, grow the buffer, read), and read a channel of each record back
// through the random-access reader. Traps on a walk that makes no progress or a
// record that claims more bytes than the file holds, and on a walk that stops short of
// the end of the file without calling it damage.
#include "lis/LisRead.h"
#include "lis/LisRecordIO.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    auto bytes = std::make_shared<std::vector<uint8_t>>(data, data + size);
    for (int framing : {int(lis::kPlain), int(lis::kTif)}) {
        BinaryFile file;
        file.OpenMemory(bytes, false);
        CLisRead reader;
        BinaryFile readerFile;
        readerFile.OpenMemory(bytes, false);
        if (!reader.Open(std::move(readerFile), "fuzz.lis")) __builtin_trap();

        std::vector<uint8_t> buffer(64);
        std::vector<float> values(1024);
        uint64_t position = 0;
        while (position < size) {
            const uint64_t start = position;
            const uint32_t needed = CLisRecordIO::ProbeLogicalRecord(file, position, framing);
            lis::RecordStatus status;
            if (needed == 0) {
                CLisRecordIO::ReadLogicalRecord(buffer.data(), buffer.size(), file, position, framing, &status);
                // Short of the end only damage stops the walk; nothing moved.
                if (status != lis::RecordStatus::Damaged || position != start) __builtin_trap();
                break;
            }
            if (needed > size) __builtin_trap(); // memory bounded by the file
            if (buffer.size() < needed) buffer.resize(needed);
            const uint32_t length =
                CLisRecordIO::ReadLogicalRecord(buffer.data(), buffer.size(), file, position, framing, &status);
            if (length == 0) __builtin_trap(); // probed but unreadable
            if (position <= start) __builtin_trap();
            const bool mark = status == lis::RecordStatus::FileMark;
            if (mark || length <= lis::kLogicalHeaderSize) continue;
            // One slice of the record's body, its code taken from the body.
            const uint32_t body = length - uint32_t(lis::kLogicalHeaderSize);
            const LisFrameRef frame{start, body, 0, double(start)};
            const LisChannelSlice channel{body / 3, std::min<uint32_t>(body - body / 3, 1024), buffer[2]};
            const Status read = reader.ReadChannel(values.data(), values.size(), frame, channel);
            if (!read && read.Message().empty()) __builtin_trap(); // an open reader's failure says why
        }
    }
    return 0;
}
