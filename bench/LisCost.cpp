// Scans and converts one LIS file the way the step sweep does (the DSI tool's
// dictionary, every item chosen, the conversion log opened), so that the instructions a
// conversion costs can be counted and compared between builds:
//   valgrind --tool=callgrind --toggle-collect='*ScanAndConvert*' bench_lis_cost log.lis
// counts the scan and the conversion alone, not the start-up nor the dictionary written
// before. It prints what it read (frames, frames dropped, the step, the frame size), so
// that a build which reads a log differently shows beside its cost.
// usage: bench_lis_cost <file.lis> [work folder]; exit 0 where the log was converted.
#include "lis/LisParamScan.h"
#include "lis/LisToQtx.h"
#include "platform/testing/ScriptedHost.h"
#include "support/LisDictionaryBuilder.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

struct Reading {
    int scanned = 0, converted = 0;
    size_t dataSets = 0, frames = 0;
    unsigned long long dropped = 0;
    double step = 0, first = 0, last = 0;
    unsigned frameSize = 0;
};

// Kept out of line, so that a profiler can count it alone.
__attribute__((noinline)) Reading ScanAndConvert(const std::string& lisPath, const std::string& dir)
{
    Reading r;
    CLisLogicalFileList files;
    {
        CLisParamScan scan;
        r.scanned = scan.Scan(lisPath, &files, dir, lis::kToolDsi);
    }
    r.dataSets = files.size();
    if (r.scanned != 1 || files.size() != 1) return r;
    CLisLogicalFile& set = *files[0];
    for (auto& item : set.m_items) item->m_selected = 1;
    const std::string qtxPath = (std::filesystem::path(dir) / "cost.qtx").string();
    {
        CLisToQtx converter;
        converter.m_outputConfirmed = true;
        converter.OpenLog(std::filesystem::path(lisPath).filename().string(), qtxPath, lisPath);
        converter.LogDataSet("Dsi", set);
        r.converted = converter.Convert(&set, lisPath, qtxPath);
    }
    r.frames = set.m_depths.size();
    r.dropped = set.m_droppedCount;
    r.step = set.m_frameSpacing;
    r.frameSize = set.m_frameSize;
    if (!set.m_depths.empty()) {
        r.first = set.m_depths.front().m_depth;
        r.last = set.m_depths.back().m_depth;
    }
    return r;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <file.lis> [work folder]\n", argv[0]);
        return 2;
    }
    const std::string lisPath = argv[1];
    const std::filesystem::path dir = argc > 2 ? std::filesystem::path(argv[2])
                                               : std::filesystem::temp_directory_path()
                                                     / ("bronte-lis-cost-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    ScriptedHost host;
    host.onUnexpected = [](const std::string& what) { std::fprintf(stderr, "shown: %s\n", what.c_str()); };
    ScopedHost scope(&host);
    if (!LisDictionaryBuilder()
             .Depth({"DEPT"})
             .Section("~DSI", {{"DX", "GN", "NRM", "NS", "PER", "NR", "DIP", "DSIMONO"}})
             .Section("~QTX", {{"WMNO", "MNS", "MSP", "", "MNR", "WMNO"}})
             .WriteDit(dir.string())) {
        std::fprintf(stderr, "cannot write the dictionary into %s\n", dir.c_str());
        return 2;
    }
    const Reading r = ScanAndConvert(lisPath, dir.string());
    std::printf("scanned %d, %zu data sets, converted %d: %zu frames, %llu dropped, step %.9g, "
                "frame %u bytes, depths %.6f to %.6f\n",
                r.scanned, r.dataSets, r.converted, r.frames, r.dropped, r.step, r.frameSize, r.first, r.last);
    if (argc <= 2) std::filesystem::remove_all(dir);
    return r.converted == 1 ? 0 : 1;
}
