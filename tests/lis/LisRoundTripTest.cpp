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

TEST_F(LisRoundTripTest, WrittenDataSetsScanBackIntoTheirDatums)
{
    QtxDatumShape wave;
    wave.mnemonic = "WMNO";
    wave.typeCode = 1;
    wave.traces = 8;
    wave.samples = 64;
    wave.step = 10.0f;
    QtxDatumShape dipole = wave;
    dipole.mnemonic = "WDXX";
    dipole.typeCode = 2;
    dipole.traces = 4;
    ASSERT_TRUE(WriteQtx(qtxPath, {wave, dipole}, 6, 1000.0, 0.5));

    for (int pack : {0, 1}) {
        Export(pack);
        CLisLogicalFileList files;
        CLisParamScan scan;
        ASSERT_EQ(scan.Scan(lisPath, &files, dir.Path(), lis::kToolQtxWritten), 1) << "pack " << pack;
        ASSERT_EQ(files.size(), 1u);
        const CLisLogicalFile& file = *files.front();
        EXPECT_EQ(file.m_depths.size(), 6u) << "every frame has its depth";
        std::vector<std::string> mnemonics;
        for (const auto& item : file.m_items)
            if (item->m_category == kCategoryWaveform) {
                mnemonics.push_back(item->m_mnemonic);
                EXPECT_EQ(item->m_samplesPerWaveform, 64) << item->m_mnemonic;
                EXPECT_FLOAT_EQ(item->m_samplePeriod, 10.0f);
            }
        EXPECT_EQ(mnemonics, (std::vector<std::string>{"WMNO", "WDXX"})) << "pack " << pack;
        for (const auto& item : file.m_items) {
            if (item->m_mnemonic == "WDXX") {
                EXPECT_EQ(item->m_receiverCount, 4);
            }
        }
    }
}

} // namespace
