// A data set written as LIS by this program is scanned back into the same datums.
#include "lis/LisParamScan.h"
#include "lis/LisRead.h"
#include "lis/QtxToLis.h"
#include "res/ResourceIds.h"
#include "support/HostFixture.h"
#include "support/LisDictionaryBuilder.h"
#include "support/QtxBuilder.h"
#include "support/TempDir.h"

namespace {

class LisRoundTripTest : public HostTest {
protected:
    TempDir dir;
    std::string qtxPath = dir.File("set.qtx");
    std::string lisPath = dir.File("set.lis");

    void Export(int packChoice)
    {
        host.ScriptDialog(kIddWaveformPack).Radio(packChoice == 1 ? 1137 : 1136).Press(IDOK);
        CQtxToLis exporter;
        ASSERT_EQ(exporter.Convert(qtxPath, lisPath), 1);
        exporter.m_writer.Close();
        // The dictionary says which table rows describe each kind of waveform channel.
        ASSERT_TRUE(LisDictionaryBuilder()
                        .Depth({"DEPT"})
                        .Section("~QTX", {{"MON1", "MNS", "MSP", "", "MNR", "WMNO"},
                                          {"WMNO", "MNS", "MSP", "", "MNR", "WMNO"},
                                          {"DXX1", "DXNS", "DXSP", "", "DXNR", "WDXX"},
                                          {"WDXX", "DXNS", "DXSP", "", "DXNR", "WDXX"}})
                        .WriteDit(dir.Path()));
    }
};

// 8 receivers of 1,024 samples make 32,768 bytes, too large for one channel: the
// packed export writes that datum per receiver, and both scan back alike.
TEST_F(LisRoundTripTest, WrittenDataSetsScanBackIntoTheirDatums)
{
    QtxDatumShape wave;
    wave.mnemonic = "WMNO";
    wave.typeCode = 1;
    wave.traces = 8;
    wave.samples = 1024;
    wave.step = 10.0f;
    QtxDatumShape dipole = wave;
    dipole.mnemonic = "WDXX";
    dipole.typeCode = 2;
    dipole.traces = 4;
    dipole.samples = 64;
    ASSERT_TRUE(WriteQtx(qtxPath, {wave, dipole}, 6, 1000.0, 0.5));

    struct Datum { std::string mnemonic; int receivers, samples; uint32_t offset; };
    const std::vector<Datum> expected = {{"WMNO", 8, 1024, 4}, {"WDXX", 4, 64, 4 + 32768}};
    for (int pack : {0, 1}) {
        SCOPED_TRACE(pack);
        if (pack == 0) host.ExpectMessage("one channel per receiver :\nWMNO");
        Export(pack);
        CLisLogicalFileList files;
        CLisParamScan scan;
        ASSERT_EQ(scan.Scan(lisPath, &files, dir.Path(), lis::kToolQtxWritten), 1);
        ASSERT_EQ(files.size(), 1u);
        const CLisLogicalFile& file = *files.front();
        EXPECT_EQ(file.m_depths.size(), 6u) << "every frame has its depth";
        std::vector<Datum> got;
        for (const auto& item : file.m_items) {
            if (item->m_category != kCategoryWaveform) continue;
            EXPECT_FLOAT_EQ(item->m_samplePeriod, 10.0f);
            ASSERT_EQ(item->m_waveChannels.size(), size_t(item->m_receiverCount));
            for (size_t r = 0; r < item->m_waveChannels.size(); ++r)
                EXPECT_EQ(item->m_waveChannels[r]->m_offset, item->m_waveChannels[0]->m_offset + r * 4 * item->m_samplesPerWaveform);
            got.push_back({item->m_mnemonic, item->m_receiverCount, item->m_samplesPerWaveform, item->m_waveChannels[0]->m_offset});
        }
        ASSERT_EQ(got.size(), expected.size());
        for (size_t i = 0; i < got.size(); ++i)
            EXPECT_EQ(std::tie(got[i].mnemonic, got[i].receivers, got[i].samples, got[i].offset),
                      std::tie(expected[i].mnemonic, expected[i].receivers, expected[i].samples, expected[i].offset));
    }
}

} // namespace
