// Convert CNV when the disk fills part-way or the user stops: the data set is gone or
// counts the frames it holds, and a failure was told.
#include "cnv/CnvToQtx.h"
#include "res/DataOriginDlgIds.h"
#include "res/ResourceIds.h"
#include "support/CnvBuilder.h"
#include "support/HostFixture.h"
#include "support/OutputChecks.h"

#include "support/TempDir.h"

namespace {

class CnvFaultTest : public HostTest {
protected:
    void TearDown() override
    {
        WriteFault::Off();
        HostTest::TearDown();
    }
    TempDir dir;
    std::string cnvPath = dir.File("in.cnv"), qtxPath = dir.File("out.qtx");
};

TEST_F(CnvFaultTest, TheConversionLeavesNoFileThatLies)
{
    host.onUnexpected = [](const std::string&) {}; // the failure messages vary by point
    const CnvShape s = Shape(4, 64, 30);
    WriteCnv(cnvPath, s);
    const auto run = [&](bool clean) {
        host.ScriptDialog(kIddDataOrigin).Select(data_origin::kIdcOrigin, 1).Press(IDOK);
        CCnvToQtx c;
        c.m_topDepth = s.top;
        c.m_bottomDepth = s.top + (s.frames - 1) * s.step;
        c.m_depthStep = s.step;
        c.m_depthUnit = "FT";
        c.m_samplingPeriod = float(s.samplingPeriod);
        c.m_channelCount = s.channels;
        c.m_samplesPerChannel = uint16_t(s.samples);
        c.m_frameCount = uint32_t(s.frames);
        c.m_outputConfirmed = true;
        const int result = c.Convert(cnvPath, qtxPath);
        if (clean) {
            EXPECT_EQ(result, 1);
        }
    };
    ExpectNoLyingOutput(host, {.run = run,
                               .output = qtxPath,
                               .lies = QtxOutputLies,
                               .points = [](int64_t total) { return QtxFaultPoints(1, 8 + 4 * 64 * 4, total); },
                               .stops = {1, 6},
                               .progressId = kIddProgress});
}

} // namespace
