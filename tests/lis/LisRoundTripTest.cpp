// A data set exported as LIS by this program is scanned back into the same datums,
// whether its waveforms were written packed or one channel per receiver.
#include "LisHelpers.h"
#include "lis/LisParamScan.h"
#include "lis/QtxToLis.h"
#include "platform/Format.h"
#include "res/ResourceIds.h"
#include "support/HostFixture.h"
#include "support/LisDictionaryBuilder.h"
#include "support/QtxBuilder.h"
#include "support/TempDir.h"

namespace {

QtxDatumShape Shape(const char* mnemonic, uint8_t type, uint8_t category, uint16_t traces, uint16_t samples, float step,
                    uint8_t unit = 1)
{
    QtxDatumShape d;
    d.mnemonic = mnemonic;
    d.typeCode = type;
    d.category = category;
    d.traces = traces;
    d.samples = samples;
    d.step = step;
    d.unit = unit;
    return d;
}

class LisRoundTripTest : public HostTest {
protected:
    TempDir dir;
    std::string qtxPath = dir.File("set.qtx");
    std::string lisPath = dir.File("set.lis");
};

TEST_F(LisRoundTripTest, ExportedDataSetsScanBackIntoTheirDatums)
{
    // The dictionary says which table rows describe each kind of waveform channel.
    ASSERT_TRUE(LisDictionaryBuilder()
                    .Depth({"DEPT"})
                    .Section("~QTX", {{"MON1", "MNS", "MSP", "", "MNR", "WMNO"}, {"WMNO", "MNS", "MSP", "", "MNR", "WMNO"},
                                      {"DXX1", "DXNS", "DXSP", "", "DXNR", "WDXX"}, {"WDXX", "DXNS", "DXSP", "", "DXNR", "WDXX"},
                                      {"SMNO", "SPNS", "SPSP", "SPSD", "", "SMNO"}})
                    .WriteDit(dir.Path()));
    // 12 receivers are named 1-9, A-C; 8 receivers of 1,024 samples make 32,768 bytes,
    // too large for one channel, so the packed export writes that datum per receiver.
    const std::vector<QtxDatumShape> datums = {
        Shape("WMNO", 1, 1, 12, 16, 10.0f), Shape("WDXX", 7, 1, 4, 8, 20.3174f), Shape("WMNO", 1, 1, 8, 1024, 10.0f),
        Shape("SMNO", 31, 3, 1, 10, 40.0f, 2), Shape("DTCO", 36, 3, 1, 1, 0.0f, 2), // no dictionary entry: a curve
    };
    ASSERT_TRUE(WriteQtx(qtxPath, datums, 6, 1000.0, 0.5));
    const std::vector<std::string> summaries = {
        "Dsi|WMNO|WMNO - DSIMONO|1|1|12/12|16|10.0000|0",        "Xmac|WDXX|WDXX - XMACDXX|7|1|4/4|8|20.3174|0",
        "Dsi|WMNO|WMNO - DSIMONO|1|1|8/8|1024|10.0000|0",        "Semblance Proj|SMNO|SMNO - SEMBMONO|31|3|1/1|10|40.0000|0",
        "DTCO|DTCO|DTCO US/F|36|6|1/1|1|0.0000|0",
    };
    for (int perReceiver : {0, 1}) {
        SCOPED_TRACE(perReceiver);
        if (perReceiver == 0) host.ExpectMessage("one channel per receiver :\nWMNO");
        host.ScriptDialog(kIddWaveformPack).Radio(perReceiver == 1 ? 1137 : 1136).Press(IDOK);
        CQtxToLis exporter;
        ASSERT_EQ(exporter.Convert(qtxPath, lisPath), 1);
        ASSERT_TRUE(OkOrShow(exporter.m_writer.Close()));

        CLisLogicalFileList files;
        CLisParamScan scan;
        ASSERT_EQ(scan.Scan(lisPath, &files, dir.Path(), lis::kToolQtxWritten), 1);
        ASSERT_EQ(files.size(), 1u);
        EXPECT_EQ(files[0]->m_depths.size(), 6u) << "every frame has its depth";
        const auto& items = files[0]->m_items;
        std::vector<std::string> got;
        for (const auto& item : items) got.push_back(Summary(*item));
        ASSERT_EQ(got, summaries);
        // The receivers' traces tile the datums' bytes in order, behind the depth.
        uint32_t offset = 4;
        for (size_t i = 0; i < 4; ++i) {
            ASSERT_EQ(items[i]->m_waveChannels.size(), size_t(datums[i].traces)) << i;
            for (const auto& c : items[i]->m_waveChannels) {
                EXPECT_EQ(Format("%u %u %d", c->m_offset, c->m_size, c->m_reprCode),
                          Format("%u %u 68", offset, datums[i].samples * 4u)) << c->m_mnemonic;
                offset += c->m_size;
            }
        }
        EXPECT_EQ(items[0]->m_waveChannels[9]->m_mnemonic, perReceiver ? "MONA" : "RA");
        EXPECT_EQ(items[0]->m_waveChannels[11]->m_mnemonic, perReceiver ? "MONC" : "RC");
        EXPECT_EQ(items[2]->m_waveChannels[7]->m_mnemonic, "MON8");
    }
}

} // namespace
