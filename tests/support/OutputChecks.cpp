#include "support/OutputChecks.h"

#include "dataset/QtxLayout.h"
#include "platform/BinaryFile.h"
#include "platform/Endian.h"
#include "platform/Format.h"
#include "platform/Path.h"
#include "platform/testing/ScriptedHost.h"
#include "support/KilledWriter.h"
#include "support/QtxBuilder.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <memory>

#include <gtest/gtest.h>
#include <sstream>

std::string QtxOutputLies(const std::string& path)
{
    if (!FileExists(path)) return "";
    const std::vector<uint8_t> bytes = ReadBytes(path);
    if (bytes.size() < qtx::kHeaderSize) return Format("a torn header of %zu bytes", bytes.size());
    const QtxImage image = LoadQtx(path);
    const QtxFileHeader& h = image.header;
    const uint64_t want = qtx::DataStart(h.datumCount) + uint64_t(h.frameCount) * h.frameSize;
    if (bytes.size() != want)
        return Format("%zu bytes for %u frames of %u bytes and %u datums (%llu)", bytes.size(), h.frameCount, h.frameSize,
                      unsigned(h.datumCount), static_cast<unsigned long long>(want));
    std::vector<std::pair<uint32_t, uint32_t>> spans;
    for (const auto& d : image.descriptors) spans.emplace_back(d.offset, d.size);
    std::sort(spans.begin(), spans.end());
    uint64_t at = qtx::kDepthSize;
    for (const auto& [offset, size] : spans) {
        if (offset != at) return Format("a datum at %u where %llu was expected", offset, static_cast<unsigned long long>(at));
        at += size;
    }
    if (at != h.frameSize) return Format("datums end at %llu in a frame of %u", static_cast<unsigned long long>(at), h.frameSize);
    if (h.frameCount > 0 && (h.topDepth != image.depths.front() || h.bottomDepth != image.depths.back()))
        return Format("depths %.4f-%.4f in the header, %.4f-%.4f in the frames", h.topDepth, h.bottomDepth,
                      image.depths.front(), image.depths.back());
    return "";
}

std::string LasOutputLies(const std::string& path)
{
    if (!FileExists(path)) return "";
    const std::vector<uint8_t> bytes = ReadBytes(path);
    const std::string text(bytes.begin(), bytes.end());
    if (text.empty() || text.back() != '\n') return "the last line is torn";
    std::istringstream in(text);
    char section = 0;
    size_t curves = 0, lines = 0;
    double stop = NAN, last = NAN;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        if (line[0] == '~') {
            section = line.size() > 1 ? char(std::toupper(static_cast<unsigned char>(line[1]))) : 0;
            continue;
        }
        if (section == 'C') ++curves;
        if (section == 'W' && line.find("STOP") != std::string::npos) {
            const size_t blank = line.find_first_of(" \t", line.find('.'));
            if (blank != std::string::npos) stop = std::strtod(line.c_str() + blank, nullptr);
        }
        if (section != 'A') continue;
        std::istringstream fields(line);
        size_t n = 0;
        double first = NAN;
        for (std::string f; fields >> f; ++n)
            if (n == 0) first = std::strtod(f.c_str(), nullptr);
        if (n != curves) return Format("line %zu of the data holds %zu values for %zu curves", lines + 1, n, curves);
        last = first;
        ++lines;
    }
    if (section != 'A') return "no data section";
    if (lines > 0 && !std::isnan(stop) && std::fabs(stop - last) > 1e-3)
        return Format("STOP %.4f, the last line at %.4f", stop, last);
    return "";
}

std::vector<FaultPoint> QtxFaultPoints(int datums, uint32_t frameSize, int64_t total)
{
    const auto start = int64_t(qtx::DataStart(uint64_t(datums)));
    return {
        {"at the first byte", 0},
        {"in the header", 100},
        {"in the descriptors", int64_t(qtx::kHeaderSize) + 20},
        {"in the first frame", start + frameSize / 2},
        {"at a later frame", start + 3 * int64_t(frameSize) + 5},
        {"in the last bytes", total - 3},
    };
}

std::vector<FaultPoint> QtxFaultPointsOf(const std::string& path, int64_t total)
{
    const QtxFileHeader h = LoadQtx(path).header;
    return QtxFaultPoints(h.datumCount, h.frameSize, total);
}

std::vector<FaultPoint> SpreadFaultPoints(int64_t total)
{
    return {{"at the first byte", 0}, {"early", std::min<int64_t>(100, total / 4)}, {"a third in", total / 3},
            {"two thirds in", 2 * total / 3}, {"in the last bytes", total - 3}};
}

OutputCheck WholeOrAbsent()
{
    auto reference = std::make_shared<std::vector<uint8_t>>();
    auto seen = std::make_shared<bool>(false);
    return [reference, seen](const std::string& path) -> std::string {
        if (!FileExists(path)) return "";
        std::vector<uint8_t> bytes = ReadBytes(path);
        if (!*seen) {
            *seen = true;
            *reference = std::move(bytes);
            return "";
        }
        if (bytes == *reference) return "";
        return Format("%zu bytes where the whole file has %zu", bytes.size(), reference->size());
    };
}

void ExpectNoLyingOutput(ScriptedHost& host, const FaultRun& f)
{
    std::remove(f.output.c_str());
    WriteFault::FailAfter(std::numeric_limits<int64_t>::max() / 2);
    f.script();
    f.run(true);
    const int64_t total = WriteFault::Written();
    WriteFault::Off();
    std::string told;
    for (const auto& m : host.Messages()) told += "\n  " + m.text;
    ASSERT_TRUE(FileExists(f.output)) << "clean run; told:" << told;
    ASSERT_EQ(f.lies(f.output), "") << "clean run";
    for (const FaultPoint& p : f.points(total)) {
        if (p.bytes >= total) continue;
        std::remove(f.output.c_str());
        host.ClearMessages();
        {
            ScopedWriteFault fault(p.bytes);
            f.script();
            f.run(false);
            EXPECT_TRUE(WriteFault::Tripped()) << p.where;
        }
        EXPECT_EQ(f.lies(f.output), "") << "disk full " << p.where;
        EXPECT_EQ(PartialOutputsIn(FolderOf(f.output)), std::vector<std::string>()) << "disk full " << p.where;
        EXPECT_FALSE(host.Messages().empty()) << "nobody was told of a failure " << p.where;
    }
    for (int pumps : f.stops) {
        std::remove(f.output.c_str());
        f.script();
        host.ScriptDialog(f.progressId).Pumps(pumps).Press(IDCANCEL);
        host.ExpectMessage(f.stopQuestion, IDYES);
        f.run(false);
        EXPECT_EQ(f.lies(f.output), "") << "stopped after " << pumps << " pumps";
        EXPECT_EQ(PartialOutputsIn(FolderOf(f.output)), std::vector<std::string>()) << "stopped after " << pumps;
        EXPECT_TRUE(host.PendingExpectations().empty()) << "the run ended before the stop at " << pumps;
    }
}
