// Any bytes as a LIS file, scanned as the scan harness does it, then every logical
// file converted to QTX with every item chosen. The input's last four bytes also set
// each item's fixed delay, runners and data offset, so that delays, shifts and runners
// beyond the samples and the trace reach the variants.
#include "FuzzInput.h"
#include "LisFuzzScan.h"
#include "LisScanTools.h"
#include "lis/LisToQtx.h"

#include <cstdio>

namespace {

// Conversions larger than this are left out: the harness looks for faults, not disk space.
constexpr uint64_t kMaxOutputBytes = uint64_t(16) << 20;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string path = WriteFuzzInput("lis_convert", ".lis", data, size);
    const std::string qtx = path.substr(0, path.size() - 4) + ".qtx";
    const std::string log = path.substr(0, path.size() - 4) + ".log";
    ScriptedHost host;
    ScopedHost scope(&host);
    lisfuzz::ScriptScanAnswers(host);
    CLisLogicalFileList files;
    lisfuzz::FuzzScan scan;
    if (!scan.Scan(path, &files, "", lisfuzz::ScanToolFor(size))) return 0;
    const uint8_t* tail = size >= 4 ? data + size - 4 : nullptr;
    for (auto& file : files) {
        uint64_t frameBytes = 8;
        for (auto& item : file->m_items) {
            item->m_selected = 1;
            if (tail) {
                item->m_fixedDelay = int8_t(tail[0]) * 64;
                item->m_foreRunner = tail[1] & 0x0F;
                item->m_afterRunner = int32_t(tail[1] >> 4) << 14; // some with low 16 bits 0
                item->m_dataOffset = float(int8_t(tail[2]));
                if (tail[3] & 1) item->m_receiverCount = uint16_t(item->m_receiverCount + (tail[3] >> 1));
            }
            frameBytes += item->DatumSize();
        }
        if (frameBytes * file->m_depths.size() > kMaxOutputBytes) continue;
        std::remove(log.c_str());
        CLisToQtx converter;
        converter.m_outputConfirmed = true;
        converter.OpenLog("fuzz.lis", qtx, path);
        converter.LogDataSet("Fuzz", *file);
        converter.Convert(file.get(), path, qtx);
    }
    std::remove(qtx.c_str());
    std::remove(log.c_str());
    return 0;
}
