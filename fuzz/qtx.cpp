// Any bytes as a QTX data set: open, list the datums, read every datum of a few frames.
#include "dataset/QtxFile.h"
#include "platform/testing/ScriptedHost.h"

#include "FuzzInput.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>
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
    std::vector<float> values(1 << 16);
    const int frames = int(std::min<uint32_t>(file.GetFrameCount(), 4));
    for (int frame = 0; frame < frames; ++frame)
        for (const auto& d : datums)
            file.ReadFrameItem(frame, int(d->m_offset), d->m_traceCount, d->m_axis1.m_sampleCount ? 1 : 0,
                               values.data(), values.size());
    return 0;
}
