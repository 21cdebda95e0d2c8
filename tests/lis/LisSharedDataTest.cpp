// The record layer over real LIS files from public projects (../shared/data/lis):
// every file walks to an end without a crash, a hang or an out-of-bounds read, with
// the framing and records its README describes.
#include "lis/LisRecordIO.h"

#include "platform/Endian.h"
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

// Record types in walk order, "M" for a file mark, e.g. "132 130 M 128".
std::string Walk(BinaryFile& file, int framing, uint64_t* end = nullptr)
{
    std::string seen;
    Bytes buffer(16);
    uint64_t position = 0;
    for (int i = 0; i < 100000; ++i) {
        const uint32_t need = CLisRecordIO::ProbeLogicalRecord(file, position, framing);
        if (need == 0) break;
        if (buffer.size() < need) buffer.resize(size_t(need) + 1024);
        lis::RecordStatus status;
        const uint64_t start = position;
        const uint32_t length = CLisRecordIO::ReadLogicalRecord(buffer.data(), buffer.size(), file, position, framing, &status);
        const bool mark = status == lis::RecordStatus::FileMark;
        if (length == 0) {
            ADD_FAILURE() << "probed but unreadable at " << start;
            break;
        }
        if (position <= start) {
            ADD_FAILURE() << "no progress at " << start;
            break;
        }
        if (!seen.empty()) seen += ' ';
        seen += mark ? std::string("M") : std::to_string(buffer[0]);
    }
    if (end) *end = position;
    return seen;
}

std::string Folder(const char* sub)
{
    const std::string shared = SharedDataDir();
    if (shared.empty()) return {};
    const std::string path = shared + "/lis/" + sub;
    std::error_code ec;
    return fs::is_directory(path, ec) ? path : std::string();
}

// ---- physical layouts ------------------------------------------------------------------

struct LayoutCase {
    int framing; // 2: a LIS file, framing not said
    const char* records; // nullptr: not said
};

const std::map<std::string, LayoutCase>& Layouts()
{
    static const char* basic = "132 130 M 128 129 M 131 133 M M";
    static const char* headers = "132 130 128 129 131 133";
    static const std::map<std::string, LayoutCase> cases = {
        {"attributes_01.lis", {2, headers}},
        {"attributes_02.lis", {2, headers}},
        {"attributes_03.lis", {2, headers}},
        {"attributes_04.lis", {2, headers}},
        {"attributes_05.lis", {2, headers}},
        {"attributes_06.lis", {2, "132 130 128"}}, // a record too short for its trailers ends the walk
        {"layout_00.lis", {0, headers}},
        {"layout_01.lis", {0, headers}},
        {"layout_tif_00.lis", {1, basic}},
        {"layout_tif_01.lis",
         {1, "132 130 M 128 129 M 128 129 M 131 130 M 128 129 M 131 133 M 132 130 M 128 129 M 131 133 M M"}},
        {"layout_tif_02.lis", {1, "132 130 128 129 131 133 M M"}},
        {"layout_tif_03.lis", {1, "132 130 M 128 129 M 131 133 M M M"}},
        {"layout_tif_04.lis", {1, "132 130 M 128 129 M 131 133"}},
        {"layout_tif_05.lis", {1, "132 130 M 128 129 M M"}},
        {"layout_tif_06.lis", {1, "132 130 M 128 129"}},
        {"layout_tif_07.lis", {1, "132 130 M 128 129 M M M"}},
        {"layout_tif_08.lis", {1, "132 130 M 128 129 M 132 130 M 128 129 M 131 133 M M"}},
        {"layout_tif_09.lis", {1, "132 130 M 128 129 M 131 M M"}},
        {"padding_01.lis", {0, headers}},
        {"padding_02.lis", {1, basic}},
        {"padding_03.lis", {1, basic}},
        {"padding_04.lis", {1, basic}},
        {"padding_05.lis", {1, basic}},
        {"padding_06.lis", {1, basic}},
        {"successor_00.lis", {2, "132 130 128 232 129 131 133"}},
        // The walk stops before the record that the file cuts.
        {"truncated_01.lis", {2, "132 130 128"}},
        {"truncated_02.lis", {2, "132 130 128"}},
        {"truncated_03.lis", {2, "132 130 128"}},
        {"truncated_04.lis", {2, "132 130 128"}},
        {"truncated_05.lis", {2, "132 130 128"}},
        {"truncated_06.lis", {2, "132 130 128"}},
        {"truncated_07.lis", {1, "132 130 M 128"}},
        {"truncated_08.lis", {1, "132 130 M 128"}},
        {"truncated_09.lis", {1, "132 130 M 128"}},
        {"truncated_10.lis", {1, "132 130 M 128"}},
        {"truncated_11.lis", {1, "132 130 M 128"}},
        {"truncated_12.lis", {1, "132 130 M 128"}},
        {"truncated_13.lis", {1, "132 130 M 128"}},
        {"truncated_14.lis", {1, "132 130 M 128"}},
        {"wrong_01.lis", {-1, ""}},
        {"wrong_02.lis", {-1, ""}},
        {"wrong_04.lis", {1, nullptr}},
        {"wrong_06.lis", {1, nullptr}},
    };
    return cases;
}

TEST(LisSharedData, EveryLayoutFileWalksToAnEndWithTheDescribedFraming)
{
    const std::string folder = Folder("layouts");
    if (folder.empty()) GTEST_SKIP() << "../shared/data/lis/layouts is absent";
    int walked = 0;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path().extension() != ".lis") continue;
        const std::string name = entry.path().filename().string();
        SCOPED_TRACE(name);
        BinaryFile file;
        ASSERT_TRUE(file.Open(entry.path().string(), BinaryFile::modeRead));
        const int framing = CLisRecordIO::DetectFraming(file);
        uint64_t end = 0;
        const std::string records = framing < 0 ? std::string() : Walk(file, framing, &end);
        EXPECT_LE(end, uint64_t(file.GetLength()));
        ++walked;

        const auto it = Layouts().find(name);
        if (it == Layouts().end()) continue;
        if (it->second.framing == 2) {
            EXPECT_GE(framing, 0);
        } else {
            EXPECT_EQ(framing, it->second.framing);
        }
        if (it->second.records) {
            EXPECT_EQ(records, it->second.records);
        }
    }
    EXPECT_GE(walked, int(Layouts().size()));
}

// ---- files assembled from single records -----------------------------------------------

Bytes Part(const std::string& path)
{
    Bytes b = ReadBytes(path);
    EXPECT_FALSE(b.empty()) << path;
    return b;
}

// The record types of a part's physical records (none of them continues), stepped by
// their length fields.
std::string PartTypes(const Bytes& part)
{
    std::string out;
    for (size_t at = 0; at + 5 <= part.size();) {
        const uint16_t length = endian::GetBE16(&part[at]);
        if (length < 6) break;
        if (!out.empty()) out += ' ';
        out += std::to_string(part[at + 4]);
        at += length;
    }
    return out;
}

// The parts joined as a plain file, and the same records re-framed with TIF headers.
struct Assembled {
    Bytes plain;
    Bytes tif;
    std::string types;
};

Assembled Assemble(const std::vector<Bytes>& parts)
{
    Assembled a;
    LisBuilder tif(lis::kTif);
    for (const Bytes& part : parts) {
        a.plain.insert(a.plain.end(), part.begin(), part.end());
        for (size_t at = 0; at + 4 <= part.size();) {
            const uint16_t length = endian::GetBE16(&part[at]);
            if (length < 4 || at + length > part.size()) break;
            tif.Record(Bytes(part.begin() + std::ptrdiff_t(at + 4), part.begin() + std::ptrdiff_t(at + length)));
            at += length;
        }
        const std::string t = PartTypes(part);
        if (!t.empty()) a.types += (a.types.empty() ? "" : " ") + t;
    }
    a.tif = tif.Bytes();
    return a;
}

void ExpectWalk(const Assembled& a)
{
    for (int framing : {int(lis::kPlain), int(lis::kTif)}) {
        SCOPED_TRACE(framing == lis::kTif ? "TIF" : "plain");
        const Bytes& bytes = framing == lis::kTif ? a.tif : a.plain;
        BinaryFile file;
        file.OpenMemory(std::make_shared<Bytes>(bytes), false);
        EXPECT_EQ(CLisRecordIO::DetectFraming(file), framing);
        uint64_t end = 0;
        EXPECT_EQ(Walk(file, framing, &end), a.types);
        EXPECT_EQ(end, bytes.size());
    }
}

TEST(LisSharedData, HeaderDfsrDataAndTrailerPartsWalkAsOneFile)
{
    const std::string folder = Folder("records");
    if (folder.empty() || !fs::is_directory(folder + "/curves")) GTEST_SKIP() << "../shared/data/lis/records is absent";
    const std::vector<Bytes> heads = {Part(folder + "/RHLR-1.lis.part"), Part(folder + "/THLR-1.lis.part"),
                                      Part(folder + "/FHLR-1.lis.part")};
    const std::vector<Bytes> tails = {Part(folder + "/FTLR-1.lis.part"), Part(folder + "/TTLR-1.lis.part"),
                                      Part(folder + "/RTLR-1.lis.part")};
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder + "/curves"))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());

    // Data parts that go with a DFSR part: those named after it, and the depth series
    // of the depth-direction files.
    auto dataFor = [&](const std::string& dfsr) {
        std::string stem = dfsr.substr(5, dfsr.size() - 5 - std::string(".lis.part").size());
        if (stem == "depth-dir-down") stem = "depth-down";
        if (stem == "depth-dir-up") stem = "depth-up";
        if (stem == "fast-index-down" || stem == "fast-index-up") stem = "fast-index";
        std::vector<std::string> out;
        for (const auto& n : names)
            if (n.rfind("fdata-" + stem, 0) == 0) out.push_back(n);
        return out;
    };

    int dfsrs = 0, withData = 0;
    for (const auto& name : names) {
        if (name.rfind("dfsr-", 0) != 0) continue;
        SCOPED_TRACE(name);
        std::vector<Bytes> parts = heads;
        parts.push_back(Part(folder + "/curves/" + name));
        const auto data = dataFor(name);
        for (const auto& d : data) parts.push_back(Part(folder + "/curves/" + d));
        parts.insert(parts.end(), tails.begin(), tails.end());
        const Assembled a = Assemble(parts);
        std::string expected = "132 130 128 64";
        for (size_t i = 0; i < data.size(); ++i) expected += " 0";
        EXPECT_EQ(a.types, expected + " 129 131 133");
        ExpectWalk(a);
        ++dfsrs;
        withData += !data.empty();
    }
    EXPECT_GT(dfsrs, 40);
    EXPECT_GT(withData, 10);
}

TEST(LisSharedData, EveryOtherRecordPartWalksBetweenHeadersAndTrailers)
{
    const std::string folder = Folder("records");
    if (folder.empty()) GTEST_SKIP() << "../shared/data/lis/records is absent";
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string n = entry.path().filename().string();
        const bool part = n.size() > 9 && n.compare(n.size() - 9, 9, ".lis.part") == 0;
        if (entry.is_regular_file() && (part || n.rfind("inforec_", 0) == 0)) names.push_back(n);
    }
    std::sort(names.begin(), names.end());
    ASSERT_GT(names.size(), 30u);

    std::vector<Bytes> parts = {Part(folder + "/RHLR-1.lis.part"), Part(folder + "/THLR-1.lis.part")};
    std::string expected = "132 130";
    for (const auto& n : names) {
        parts.push_back(Part(folder + "/" + n));
        const std::string t = PartTypes(parts.back());
        EXPECT_FALSE(t.empty()) << n;
        expected += " " + t;
    }
    const Assembled a = Assemble(parts);
    EXPECT_EQ(a.types, expected);
    ExpectWalk(a);
}

} // namespace
