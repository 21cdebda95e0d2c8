// Each acoustic tool's LIS file, scanned end to end with the real dictionary loader and
// recogniser: its items, and a depth entry for every frame of data records that span
// several physical records, with a depth per frame or one per record.
#include "LisHelpers.h"
#include "ToolFiles.h"
#include "lis/FwsSamplePeriodDlg.h"
#include "lis/LisParamScan.h"
#include "lis/LssSamplePeriodDlg.h"
#include "platform/Format.h"
#include "res/FwsSamplePeriodDlgIds.h"
#include "res/LssSamplePeriodDlgIds.h"
#include "support/HostFixture.h"
#include "support/LisBuilder.h"
#include "support/LisDictionaryBuilder.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

using namespace toolfiles;

class LisScanToolsTest : public HostTest {
protected:
    TempDir dir;

    // Scans a file of the tool with two data records of three frames, each cut into
    // physical records of at most 4000 data bytes as tapes with a small maximum record
    // size carry large frames; `top` holds each record's first recorded depth.
    // Expects a depth entry per frame (`step` apart when a depth leads each, the
    // spacing apart in the log's direction otherwise), with its record's position and length and the frame's offset.
    void Scan(const ToolFile& t, const lisb::Dfsr& d, const double (&top)[2], double step, double perFoot = 1.0)
    {
        LisDictionaryBuilder dictionary;
        dictionary.Depth({"DEPT"});
        for (const auto& line : t.dictionary) dictionary.Line(line);
        ASSERT_TRUE(dictionary.Line("END::").WriteDit(dir.Path()));

        LisBuilder b(t.framing);
        b.ReelHeader().TapeHeader().FileHeader("TOOL.001").Table("TOOL", {Row("NAME", "synthetic")});
        if (!t.cons.empty()) b.Table("CONS", t.cons);
        if (!t.dim.empty()) b.Table("DIM", t.dim);
        b.Comment("scanned by tests").Dfsr(d);
        std::vector<std::string> expected;
        const double once = d.direction == lis::kLogUp ? -d.spacing : d.spacing; // depth-once frames follow the direction
        for (int r = 0; r < 2; ++r) {
            const std::vector<uint8_t> record = lisb::DataRecord(d, top[r], step, 3, lisb::DefaultSample, 3 * r);
            const uint64_t position = b.Bytes().size();
            b.Record(record, std::vector<size_t>((record.size() - 1) / 4000, 4000), lisb::kChecksum);
            const uint32_t body = uint32_t(record.size()) - 2 - (d.depthOnce ? 4 : 0);
            for (int k = 0; k < 3; ++k)
                expected.push_back(Format("%.4f@%llu+%u/%u", d.depthOnce ? top[r] / perFoot + k * once : top[r] + k * step,
                                          static_cast<unsigned long long>(position),
                                          (d.depthOnce ? 4 : 0) + uint32_t(k) * d.FrameBytes(), body));
        }
        b.FileTrailer("TOOL.001").FileMark().TapeTrailer().ReelTrailer().FileMark().FileMark();
        b.Write(dir.File("tool.lis"));

        CLisLogicalFileList files;
        CLisParamScan scan;
        ASSERT_EQ(scan.Scan(dir.File("tool.lis"), &files, dir.Path(), t.tool), 1);
        ASSERT_EQ(files.size(), 1u);
        std::vector<std::string> depths, items, waves;
        for (const auto& e : files[0]->m_depths)
            depths.push_back(Format("%.4f@%llu+%u/%u", e.m_depth, static_cast<unsigned long long>(e.m_recordPosition),
                                    e.m_frameOffset, e.m_dataLength));
        EXPECT_EQ(depths, expected);
        for (const auto& item : files[0]->m_items) items.push_back(Summary(*item));
        EXPECT_EQ(items, t.items);
        ASSERT_FALSE(files[0]->m_items.empty());
        for (const auto& c : files[0]->m_items[0]->m_waveChannels) waves.push_back(c->m_mnemonic);
        EXPECT_EQ(waves, t.firstWaves);
        // Behind the 4-byte depth channel, or at the frame's start without one.
        EXPECT_EQ(files[0]->m_items[0]->m_waveChannels.at(0)->m_offset, d.depthOnce ? 0u : 4u);
    }
};

TEST_F(LisScanToolsTest, EachToolsFileScansIntoItsItemsWithEveryFrameDepth)
{
    // Every acoustic tool of the selection has its file here.
    std::set<int> tools;
    for (const ToolFile& t : kToolFiles) tools.insert(t.tool);
    EXPECT_EQ(tools.size(), 14u);
    for (const ToolFile& t : kToolFiles) {
        SCOPED_TRACE(t.dictionary[0]);
        if (t.tool == lis::kToolLss) host.ScriptDialog(kIddLssSamplePeriod).Radio(CLssSamplePeriodDlg::kIdc8us).Press(IDOK);
        if (t.tool == lis::kToolFws) host.ScriptDialog(kIddFwsSamplePeriod).Radio(CFwsSamplePeriodDlg::kIdc8us).Press(IDOK);
        lisb::Dfsr d;
        d.channels = t.channels;
        d.maxFrames = 3;
        Scan(t, d, {1000.0, 998.5}, -0.5);
    }
}

TEST_F(LisScanToolsTest, DepthOnceRecordsGiveEachFrameOfARealToolItsEntry)
{
    const struct { uint8_t direction, code; const char* units; double perFoot, top[2]; } cases[] = {
        {lis::kLogUp, 68, "FT", 1.0, {1000.0, 998.5}},
        {lis::kLogDown, 68, "FT", 1.0, {1000.0, 1001.5}},
        {lis::kLogDown, 73, ".1IN", 120.0, {120000.0, 120180.0}}, // 1000 ft, 1001.5 ft
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Format("%d %d %s", c.direction, c.code, c.units));
        lisb::Dfsr d;
        d.depthOnce = true;
        d.direction = c.direction;
        d.depthCode = c.code;
        d.depthUnits = c.units;
        d.channels = kToolFiles[0].channels; // Isonic
        d.maxFrames = 3;
        Scan(kToolFiles[0], d, c.top, 0.0, c.perFoot);
    }
}

} // namespace
