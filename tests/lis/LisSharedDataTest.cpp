// The record layer over real LIS files from public projects (../shared/data/lis):
// every file walks to an end without a crash, a hang or an out-of-bounds read, with
// the framing and records its README describes.
#include "LisHelpers.h"
#include "dataset/QtxFile.h"
#include "lis/LisParamScan.h"
#include "lis/LisRead.h"
#include "platform/Endian.h"
#include "platform/Format.h"
#include "support/LisBuilder.h"
#include "support/QtxBuilder.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<uint8_t>;

std::string Folder(const char* sub)
{
    const std::string shared = SharedDataDir();
    std::error_code ec;
    return !shared.empty() && fs::is_directory(shared + "/lis/" + sub, ec) ? shared + "/lis/" + sub : std::string();
}

// Framing (2: a LIS file, framing not said) and record types (nullptr: not said) by file.
std::map<std::string, std::pair<int, const char*>> Layouts()
{
    const char* basic = "132 130 M 128 129 M 131 133 M M";
    const char* headers = "132 130 128 129 131 133";
    std::map<std::string, std::pair<int, const char*>> cases = {
        {"attributes_06.lis", {2, "132 130 128"}}, // a record too short for its trailers ends the walk
        {"layout_00.lis", {0, headers}},
        {"layout_01.lis", {0, headers}},
        {"layout_tif_00.lis", {1, basic}},
        {"layout_tif_01.lis", {1, "132 130 M 128 129 M 128 129 M 131 130 M 128 129 M 131 133 M 132 130 M 128 129 M 131 133 M M"}},
        {"layout_tif_02.lis", {1, "132 130 128 129 131 133 M M"}},
        {"layout_tif_03.lis", {1, "132 130 M 128 129 M 131 133 M M M"}},
        {"layout_tif_04.lis", {1, "132 130 M 128 129 M 131 133"}},
        {"layout_tif_05.lis", {1, "132 130 M 128 129 M M"}},
        {"layout_tif_06.lis", {1, "132 130 M 128 129"}},
        {"layout_tif_07.lis", {1, "132 130 M 128 129 M M M"}},
        {"layout_tif_08.lis", {1, "132 130 M 128 129 M 132 130 M 128 129 M 131 133 M M"}},
        {"layout_tif_09.lis", {1, "132 130 M 128 129 M 131 M M"}},
        {"padding_01.lis", {0, headers}},
        {"successor_00.lis", {2, "132 130 128 232 129 131 133"}},
        {"wrong_01.lis", {-1, ""}},
        {"wrong_02.lis", {-1, ""}},
        {"wrong_04.lis", {1, nullptr}},
        {"wrong_06.lis", {1, nullptr}},
    };
    for (int i = 1; i <= 5; ++i) cases[Format("attributes_%02d.lis", i)] = {2, headers};
    for (int i = 2; i <= 6; ++i) cases[Format("padding_%02d.lis", i)] = {1, basic};
    // The walk stops before the record that the file cuts.
    for (int i = 1; i <= 14; ++i) cases[Format("truncated_%02d.lis", i)] = i <= 6 ? std::pair{2, "132 130 128"} : std::pair{1, "132 130 M 128"};
    return cases;
}

TEST(LisSharedData, EveryLayoutFileWalksToAnEndWithTheDescribedFraming)
{
    const std::string folder = Folder("layouts");
    if (folder.empty()) GTEST_SKIP() << "../shared/data/lis/layouts is absent";
    const auto layouts = Layouts();
    int walked = 0;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path().extension() != ".lis") continue;
        const std::string name = entry.path().filename().string();
        SCOPED_TRACE(name);
        BinaryFile file;
        ASSERT_TRUE(file.Open(entry.path().string(), BinaryFile::modeRead));
        const int framing = CLisRecordIO::DetectFraming(file);
        const Walked w = framing < 0 ? Walked() : WalkLis(file, framing);
        EXPECT_LE(w.position, uint64_t(file.GetLength()));
        ++walked;
        const auto it = layouts.find(name);
        if (it == layouts.end()) continue;
        const auto& [expectedFraming, records] = it->second;
        if (expectedFraming == 2) {
            EXPECT_GE(framing, 0);
        } else {
            EXPECT_EQ(framing, expectedFraming);
        }
        if (records) {
            EXPECT_EQ(w.Types(), records);
        }
    }
    EXPECT_GE(walked, int(layouts.size()));
}

// No public LIS file, whole or a record part, is taken for a QTX data set, damaged or
// whole; nor is any public LAS or SEG-Y file, which Scan Lis is as likely to be given.
TEST(LisSharedData, NoFileIsTakenForADataSet)
{
    const std::string folder = Folder("");
    if (folder.empty()) GTEST_SKIP() << "../shared/data/lis is absent";
    int judged = 0;
    for (const std::string& formats : {folder, SharedDataDir() + "/las", SharedDataDir() + "/segy"}) {
        std::error_code ec;
        if (!fs::is_directory(formats, ec)) continue;
        for (const auto& entry : fs::recursive_directory_iterator(formats)) {
            if (!entry.is_regular_file()) continue;
            BinaryFile file;
            ASSERT_TRUE(file.Open(entry.path().string(), BinaryFile::modeRead));
            EXPECT_FALSE(CQtxFile::HoldsDataSet(file)) << entry.path();
            ++judged;
        }
    }
    EXPECT_GT(judged, 150);
}

// The record types of a part's physical records (none of them continues), stepped by
// their length fields, and the part's records re-framed with TIF headers.
std::string PartTypes(const Bytes& part, LisBuilder* tif)
{
    std::string out;
    for (size_t at = 0; at + 5 <= part.size();) {
        const uint16_t length = endian::GetBE16(&part[at]);
        if (length < 6 || at + length > part.size()) break;
        out += (out.empty() ? "" : " ") + std::to_string(part[at + 4]);
        tif->Record(Bytes(part.begin() + std::ptrdiff_t(at + 4), part.begin() + std::ptrdiff_t(at + length)));
        at += length;
    }
    return out;
}

// Every record part (headers, DFSRs and their frames, information and other records),
// joined between reel, tape and file headers and their trailers, walks as one file,
// plain as the parts are and re-framed with TIF headers.
TEST(LisSharedData, EveryRecordPartWalksBetweenHeadersAndTrailers)
{
    const std::string folder = Folder("records");
    if (folder.empty()) GTEST_SKIP() << "../shared/data/lis/records is absent";
    const std::vector<std::string> heads = {"RHLR-1.lis.part", "THLR-1.lis.part", "FHLR-1.lis.part"};
    const std::vector<std::string> tails = {"FTLR-1.lis.part", "TTLR-1.lis.part", "RTLR-1.lis.part"};
    std::vector<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        const std::string n = fs::relative(entry.path(), folder).string();
        const bool part = n.size() > 9 && n.compare(n.size() - 9, 9, ".lis.part") == 0;
        if (entry.is_regular_file() && (part || n.rfind("inforec_", 0) == 0)
            && std::count(heads.begin(), heads.end(), n) + std::count(tails.begin(), tails.end(), n) == 0)
            names.push_back(n);
    }
    std::sort(names.begin(), names.end());
    ASSERT_GT(names.size(), 100u);
    names.insert(names.begin(), heads.begin(), heads.end());
    names.insert(names.end(), tails.begin(), tails.end());

    Bytes plain;
    LisBuilder tif(lis::kTif);
    std::string types;
    for (const auto& n : names) {
        const Bytes part = ReadBytes(folder + "/" + n);
        const std::string t = PartTypes(part, &tif);
        EXPECT_FALSE(t.empty()) << n;
        types += (types.empty() ? "" : " ") + t;
        plain.insert(plain.end(), part.begin(), part.end());
    }
    EXPECT_EQ(types.substr(0, 11), "132 130 128");
    for (int framing : {int(lis::kPlain), int(lis::kTif)}) {
        SCOPED_TRACE(framing == lis::kTif ? "TIF" : "plain");
        const Bytes& bytes = framing == lis::kTif ? tif.Bytes() : plain;
        BinaryFile file;
        file.OpenMemory(std::make_shared<Bytes>(bytes), false);
        EXPECT_EQ(CLisRecordIO::DetectFraming(file), framing);
        const Walked w = WalkLis(file, framing);
        EXPECT_EQ(w.Types(), types);
        EXPECT_EQ(w.end, lis::RecordStatus::End);
        EXPECT_EQ(w.position, bytes.size());
    }
}

// The public DFSRs of every fixed-size code, of a mask and of an undefined code: each
// number channel reads its value from the frame; the other two are offered as no channel.
TEST(LisSharedData, EveryNumberCodeReadsItsValueAndCodesWithoutNumbersAreNotOffered)
{
    const std::string folder = Folder("records");
    if (folder.empty()) GTEST_SKIP() << "../shared/data/lis/records is absent";
    struct Case {
        const char* dfsr;
        const char* data;
        std::vector<std::string> offered;
        std::vector<float> values; // of the offered channels, in order
    };
    const Case cases[] = {
        {"dfsr-repcodes-fixed", "fdata-repcodes-fixed", {"BYTE", "I8", "I16", "I32", "F16", "F32", "F32L", "F32F"},
         {89, -128, 153, -153, 1.0f, -1.0f, -0.25f, 153.25f}},
        {"dfsr-repcodes-mask", "fdata-repcodes-mask", {"INDX"}, {1}},
        {"dfsr-repcodes-invalid", "fdata-repcodes-fixed", {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dfsr);
        const Bytes dfsr = ReadBytes(folder + "/curves/" + c.dfsr + ".lis.part");
        const Bytes data = ReadBytes(folder + "/curves/" + c.data + ".lis.part");
        ASSERT_GT(dfsr.size(), lis::kPhysicalHeaderSize + lis::kLogicalHeaderSize);
        CLisParamScan scan;
        CLisLogicalFile file;
        ASSERT_EQ(scan.ParseDfsr(dfsr.data() + lis::kPhysicalHeaderSize, uint32_t(dfsr.size() - lis::kPhysicalHeaderSize), &file), 1);
        std::vector<std::string> offered;
        for (const CLisChannelItem* channel : scan.m_channelList) offered.push_back(channel->m_mnemonic);
        EXPECT_EQ(offered, c.offered);

        auto bytes = std::make_shared<Bytes>(data);
        BinaryFile memory;
        memory.OpenMemory(bytes, false);
        CLisRead reader;
        ASSERT_TRUE(reader.Open(std::move(memory), "data.lis").Ok());
        const LisFrameRef frame{0, uint32_t(data.size() - lis::kPhysicalHeaderSize - lis::kLogicalHeaderSize), 0, 0.0};
        std::vector<float> values;
        for (const CLisChannelItem* channel : scan.m_channelList) {
            float v = 0;
            ASSERT_TRUE(reader.ReadChannel(&v, 1, frame, {channel->m_offset, channel->m_size, channel->m_reprCode}).Ok())
                << channel->m_mnemonic;
            values.push_back(v);
        }
        EXPECT_EQ(values, c.values);
    }
}

} // namespace
