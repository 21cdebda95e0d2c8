// Any bytes as a QTX data set: open, list the datums, read every datum whole in each frame.
#include "dataset/QtxFile.h"
#include "platform/testing/ScriptedHost.h"

#include "FuzzInput.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string path = WriteFuzzInput("qtx", ".qtx", data, size);
    ScriptedHost host; // every box is answered with Cancel and recorded
    ScopedHost scope(&host);
    CQtxFile file;
    if (!file.OpenRead(path)) return 0;
    CQtxDatumList datums;
    if (!file.ReadDatumList(datums)) return 0;
    // A datum can claim any size; more values than the input holds cannot be read, so
    // the buffer stops there (one more, so an overlong claim still reaches the reader).
    const size_t inputFloats = size / sizeof(float) + 1;
    std::vector<float> values;
    const int frames = int(std::min<uint32_t>(file.GetFrameCount(), 64));
    for (int frame = 0; frame < frames; ++frame)
        for (const auto& d : datums) {
            const size_t whole = std::min<size_t>(d->m_size / sizeof(float), inputFloats);
            if (whole == 0) continue;
            values.assign(whole, 0.0f);
            if (!file.ReadFrameItem(frame, int64_t(d->m_offset), 1, int(whole), values.data(), values.size()))
                return 0; // the input is closed after a failed read
        }
    return 0;
}
