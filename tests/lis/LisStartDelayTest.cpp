// Start delays read from the frames of scanned MAC/XMAC and DAL files: the search for
// twenty equal frames, the DAL largest start time, and the bounds every read keeps.
#include "LisHelpers.h"
#include "lis/LisParamScan.h"
#include "lis/LisStartDelay.h"
#include "support/HostFixture.h"
#include "support/LisBuilder.h"
#include "support/LisDictionaryBuilder.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using lisb::Channel;

lisb::TableRow Dim(const std::string& chan, const std::string& ndim, const std::string& size, const std::string& incr)
{
    return {{"MNEM", chan}, {"CHAN", chan}, {"NDIM", ndim}, {"SIZE", size}, {"INCR", incr}};
}

// Frames of start times: `count` frames whose largest start time is `value`.
struct Frames {
    int count;
    double value;
};

class LisStartDelayTest : public HostTest {
protected:
    TempDir dir;

    // Scans one logical file of the tool whose start-time channel is channels[startChannel]:
    // in frame k its element e holds the largest start time of frame k less 50 e.
    // Frames go `perRecord` to a data record. Returns the first item.
    CWaveformPickItem Scan(int tool, const std::string& section, const std::string& entry,
                           const std::vector<lisb::TableRow>& dim, const std::vector<Channel>& channels,
                           int startChannel, const std::vector<Frames>& runs, int perRecord, bool depthOnce = false)
    {
        LisDictionaryBuilder dictionary;
        dictionary.Depth({"DEPT"}).Line(section).Line(entry).Line("END::");
        EXPECT_TRUE(dictionary.WriteDit(dir.Path()));
        std::vector<double> largest;
        for (const Frames& r : runs) largest.insert(largest.end(), size_t(r.count), r.value);

        lisb::Dfsr d;
        d.channels = channels;
        d.maxFrames = uint8_t(perRecord);
        d.depthOnce = depthOnce;
        LisBuilder b(lisb::kTifFraming);
        b.ReelHeader().TapeHeader().FileHeader("TOOL.001").Table("DIM", dim).Dfsr(d);
        const auto sample = [&](int frame, int channel, int element) {
            return channel == startChannel ? largest[size_t(frame)] - 50.0 * element : 1.0;
        };
        for (int first = 0; first < int(largest.size()); first += perRecord)
            b.Data(d, 1000.0 - 0.5 * first, -0.5, std::min(perRecord, int(largest.size()) - first), sample, first);
        b.FileTrailer("TOOL.001").FileMark().TapeTrailer().ReelTrailer().FileMark().FileMark();
        b.Write(dir.File("tool.lis"));

        CLisLogicalFileList files;
        CLisParamScan scan;
        EXPECT_EQ(scan.Scan(dir.File("tool.lis"), &files, dir.Path(), tool), 1);
        if (files.empty() || files[0]->m_items.empty()) {
            ADD_FAILURE() << "nothing recognised";
            return {};
        }
        EXPECT_EQ(files[0]->m_depths.size(), largest.size());
        const CWaveformPickItem& it = *files[0]->m_items[0];
        CWaveformPickItem copy;
        copy.m_fixedDelay = it.m_fixedDelay;
        copy.m_startDelayFrames = it.m_startDelayFrames;
        copy.m_startDelay = it.m_startDelay;
        copy.m_samplesPerWaveform = it.m_samplesPerWaveform;
        return copy;
    }
};

TEST_F(LisStartDelayTest, MacXmacTakesTheDelayOfTwentyEqualFramesWithinTheTrace)
{
    const struct {
        const char* name;
        const char* samples;
        std::vector<Frames> runs;
        int perRecord;
        bool depthOnce;
        int delay, frames;
    } cases[] = {
        // 200 us at 10 us: 20 samples at the twentieth frame.
        {"stable", "100", {{25, 200.0}}, 4, false, 20, 21},
        {"depth once", "100", {{25, 200.0}}, 3, true, 20, 21},
        // A different frame resets the count: it does not start a run of its own.
        {"reset, 19 after", "100", {{14, 200.0}, {1, 150.0}, {19, 300.0}}, 4, false, 0, 19},
        {"reset, 20 after", "100", {{14, 200.0}, {1, 150.0}, {20, 300.0}}, 4, false, 30, 21},
        // A receiver without a start time (a negative value) counts no frame.
        {"one receiver missing", "100", {{25, 20.0}}, 4, false, 0, 0},
        // 300 samples of delay: a trace of 1900 samples keeps 148; one of 2100 none.
        {"cap", "1900", {{20, 3000.0}}, 5, false, 148, 21},
        {"no room", "2100", {{20, 3000.0}}, 5, false, 0, 21},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const CWaveformPickItem it =
            Scan(lis::kToolXmac, "~MAC/XMAC", "XW:XGN:XST:XWAV:XMACMONO",
                 {Dim("XW", "1", c.samples, "10"), Dim("XW", "2", "2", ""), Dim("XST", "", "", "")},
                 {Channel("XW", "", 400, 1, 79), Channel("XST", "US", 8, 1, 68)}, 1, c.runs, c.perRecord, c.depthOnce);
        EXPECT_EQ(it.m_fixedDelay, c.delay);
        EXPECT_EQ(it.m_startDelayFrames, c.frames);
    }
}

TEST_F(LisStartDelayTest, DalTakesTheLargestStartTimeOfAnyFrame)
{
    const struct {
        const char* name;
        const char* samples;
        std::vector<Frames> runs;
        int delay;
    } cases[] = {
        {"all 0", "50", {{9, 0.0}}, 0},
        // 100 us at 8 us in the second frame of the second record.
        {"100 us", "50", {{5, 0.0}, {1, 100.0}, {3, 60.0}}, 12},
        {"trace nearly full", "2040", {{5, 0.0}, {1, 100.0}, {3, 60.0}}, 8},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const CWaveformPickItem it = Scan(
            lis::kToolDal, "~DAL", "DW:DGN:DST:DWAV:DALNEAR", {Dim("DW", "2", "4", ""), Dim("DW", "1", c.samples, "8")},
            {Channel("DW1", "", 200, 1, 79), Channel("DW2", "", 200, 1, 79), Channel("DW3", "", 200, 1, 79),
             Channel("DW4", "", 200, 1, 79), Channel("DST", "US", 16, 1, 68)},
            4, c.runs, 4);
        EXPECT_EQ(it.m_fixedDelay, c.delay);
    }
}

TEST(LisStartDelay, DelaysFitTheTraceAndNoValueIsReadPastItsRecord)
{
    const struct {
        int64_t delay;
        uint16_t samples;
        int32_t fitted;
    } fits[] = {{300, 1900, 148}, {20, 100, 20}, {10, 2048, 0}, {10, 4000, 0}, {-5, 100, 0}, {int64_t(1) << 40, 0, 2048}};
    for (const auto& f : fits) EXPECT_EQ(lis::start_delay::FitDelay(f.delay, f.samples), f.fitted) << f.delay;

    // One record: header, a code-68 value of 200 and a code-79 value of -3.
    std::vector<uint8_t> record = {0, 0};
    lisb::AppendValue(record, 68, 200.0);
    lisb::AppendValue(record, 79, -3.0);
    LisBuilder b(lisb::kPlainFraming);
    b.Record(record);
    BinaryFile file;
    file.OpenMemory(b.Shared(), false);
    CLisFrameReader reader(file, 0);
    ASSERT_TRUE(reader.Read(0));
    auto channel = [](uint32_t offset, uint8_t code) {
        CLisChannelItem c;
        c.m_offset = offset;
        c.m_reprCode = code;
        return c;
    };
    const struct {
        uint32_t frame, offset;
        uint8_t code;
        const char* value; // "-": none
    } reads[] = {{0, 0, 68, "200"}, {0, 4, 79, "-3"}, {4, 0, 79, "-3"}, {0, 4, 68, "-"}, {6, 0, 79, "-"},
                 {0, 0xFFFFFFFF, 68, "-"}, {0xFFFFFFFF, 0xFFFFFFFF, 79, "-"}, {0, 0, 66, "-"}};
    for (const auto& r : reads) {
        const auto v = reader.Value(r.frame, channel(r.offset, r.code));
        EXPECT_EQ(v ? Format("%g", *v) : "-", r.value) << r.frame << "+" << r.offset;
    }
    EXPECT_FALSE(reader.Read(1000)); // past the end: nothing to read
    EXPECT_FALSE(reader.Value(0, channel(0, 68)).has_value());
}

} // namespace
