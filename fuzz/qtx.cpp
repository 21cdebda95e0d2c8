// Any bytes as a QTX data set: open, list the datums, read every datum whole in each frame
// (also through the read views make on several threads).
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
    if (!OkOrShow(file.OpenRead(path))) return 0;
    CQtxDatumList datums;
    if (!OkOrShow(file.ReadDatumList(datums))) return 0;
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
            // The views' read on several threads, with the datum's own counts: it may
            // fail, never show a box or close the input.
            const size_t shown = host.Messages().size();
            (void)file.ReadFrameItemShared(frame, int64_t(d->m_offset), d->m_traceCount, d->m_axis1.m_sampleCount,
                                           values.data(), values.size());
            if (host.Messages().size() != shown || !file.InputOpen()) __builtin_trap();
            if (!OkOrShow(file.ReadFrameItem(frame, int64_t(d->m_offset), 1, int(whole), values.data(), values.size())))
                return 0; // the input is closed after a failed read
        }
    return 0;
}
