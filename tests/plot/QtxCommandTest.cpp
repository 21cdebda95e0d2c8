#include "plot/QtxCommand.h"

#include "platform/BinaryFile.h"
#include "platform/Endian.h"
#include "plot/LogCommandLayout.h"
#include "support/HostFixture.h"
#include "support/LogCommandBuilder.h"
#include "support/QtxBuilder.h"
#include "support/TempDir.h"

#include <cmath>
#include <functional>
#include <memory>

namespace {

using Decoded = CQtxCommand::Decoded;

CQtxCommand::Decoded DecodeBytes(const std::vector<uint8_t>& bytes, PlotItemList& items, LogCommandPage& page)
{
    BinaryFile file;
    file.OpenMemory(std::make_shared<std::vector<uint8_t>>(bytes), false);
    return CQtxCommand::Decode(file, items, page);
}

LogCommandPage SomePage()
{
    LogCommandPage page;
    page.depthScale = 240.0f;
    for (size_t i = 0; i < page.trackWidth.size(); ++i) page.trackWidth[i] = i < 4 ? 2.5f + float(i) : 0.0f;
    page.depthTrackOn = 1;
    page.english = 1;
    return page;
}

// A list the tests can tell from any loaded one.
PlotItemList Sentinel()
{
    PlotItemList list{std::make_shared<CLogPlotItem>(CLogPlotItem::NewItemDefaults())};
    list[0]->m_strName = "kept";
    return list;
}

class QtxCommandTest : public HostTest {
protected:
    TempDir dir;
};

TEST(QtxCommandLayout, HeaderFieldsSitAtTheirOffsetsAndEmptyRecordsHaveTheirSizes)
{
    LogCommandPage page = SomePage();
    page.trackWidth[15] = 7.25f;
    page.depthTrackOff = 2;
    page.metric = 3;
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(CQtxCommand::Encode({}, page, bytes));
    ASSERT_EQ(bytes.size(), 78u);
    const uint8_t* b = bytes.data();
    EXPECT_EQ(endian::GetLE16(b + logcmd::kHdrItemCount), 0);
    EXPECT_EQ(endian::GetLEFloat(b + logcmd::kHdrDepthScale), 240.0f);
    EXPECT_EQ(endian::GetLEFloat(b + logcmd::kHdrTrackWidths + 4 * 3), 5.5f);
    EXPECT_EQ(endian::GetLEFloat(b + logcmd::kHdrTrackWidths + 4 * 15), 7.25f);
    EXPECT_EQ(endian::GetLE16(b + logcmd::kHdrDepthTrackOn), 1);
    EXPECT_EQ(endian::GetLE16(b + logcmd::kHdrDepthTrackOff), 2);
    EXPECT_EQ(endian::GetLE16(b + logcmd::kHdrEnglish), 1);
    EXPECT_EQ(endian::GetLE16(b + logcmd::kHdrMetric), 3);

    // Every string empty and no names: 891 bytes of item, 22 of shading.
    CLogPlotItem empty;
    ASSERT_TRUE(CQtxCommand::Encode({std::make_shared<CLogPlotItem>(empty)}, page, bytes));
    EXPECT_EQ(bytes.size(), 78u + 891u + 22u);
    EXPECT_EQ(endian::GetLE16(bytes.data()), 1);
}

TEST(QtxCommandLayout, WriterMatchesTheBuilderByteForByteAfterAReadOfItsFile)
{
    CommandPageFields pageFields;
    pageFields.depthScale = 600.0f;
    const std::vector<uint8_t> file = CommandFileBytes(pageFields, {WaveformItemFields(), CurveItemFields()});
    PlotItemList items;
    LogCommandPage page;
    ASSERT_EQ(DecodeBytes(file, items, page), Decoded::Ok);
    ASSERT_EQ(items.size(), 2u);
    const CLogPlotItem& curve = *items[1];
    EXPECT_EQ(curve.m_bEnabled, 1) << "every loaded item is enabled";
    EXPECT_EQ(curve.m_datum.current, 1);
    EXPECT_EQ(curve.m_datum.names[2], "SPCO");
    EXPECT_EQ(curve.m_datum.itemTypes[2], 37);
    EXPECT_EQ(curve.m_datum.units[0], "") << "unit labels are not stored";
    EXPECT_EQ(curve.m_shade.pattern.Text(), "Dotted");
    EXPECT_EQ(curve.m_shade.max, 180.0f);
    EXPECT_EQ(items[0]->m_datum.sampleCount, 512);
    EXPECT_EQ(page.depthScale, 600.0f);

    items[0]->m_datum.units.fill("[uSec]");
    items[1]->m_bEnabled = 0; // neither field is stored
    std::vector<uint8_t> again;
    ASSERT_TRUE(CQtxCommand::Encode(items, page, again));
    EXPECT_EQ(again, file);
}

TEST(QtxCommandLayout, AnOlderFileWithoutShadingLoadsWithTheShadingDefaults)
{
    CommandItemFields curve = CurveItemFields();
    const std::vector<uint8_t> file = CommandFileBytes({}, {WaveformItemFields(), curve}, false);
    PlotItemList items;
    LogCommandPage page;
    ASSERT_EQ(DecodeBytes(file, items, page), Decoded::Ok);
    for (const auto& item : items) {
        EXPECT_EQ(item->m_shade.color.Text(), "Gray");
        EXPECT_EQ(item->m_shade.pattern.Text(), "");
        EXPECT_EQ(item->m_shade.off + item->m_shade.minLimit + item->m_shade.maxLimit + item->m_shade.curveLimit, 1);
        EXPECT_EQ(item->m_shade.off, 1);
        EXPECT_EQ(item->m_shade.curve, -1);
        EXPECT_EQ(item->m_shade.min, 40.0f);
        EXPECT_EQ(item->m_shade.max, 240.0f);
    }

    // Ending inside the shading records is a read error.
    std::vector<uint8_t> cut = CommandFileBytes({}, {WaveformItemFields(), curve});
    cut.resize(cut.size() - 5);
    EXPECT_EQ(DecodeBytes(cut, items, page), Decoded::ReadError);
}

// Each case spoils one value of a well-formed file; a refused file leaves the
// caller's list and page as they were.
TEST(QtxCommandLayout, HostileCountsTextsAndPagesAreRefusedAndLeaveTheOutputsAlone)
{
    struct Case {
        const char* what;
        std::function<void(CommandPageFields&, CommandItemFields&)> spoil;
        Decoded expected;
        size_t cutBytes = 0;
    };
    const Case cases[] = {
        {"well formed", [](auto&, auto&) {}, Decoded::Ok},
        {"name count 257", [](auto&, auto& i) { i.nameCount = 257; }, Decoded::ReadError},
        {"name count -1", [](auto&, auto& i) { i.nameCount = -1; }, Decoded::ReadError},
        {"current entry at the count", [](auto&, auto& i) { i.currentIndex = 8; }, Decoded::ReadError},
        {"current entry -1", [](auto&, auto& i) { i.currentIndex = -1; }, Decoded::ReadError},
        {"track 0", [](auto&, auto& i) { i.track = 0; }, Decoded::ReadError},
        {"track 17", [](auto&, auto& i) { i.track = 17; }, Decoded::ReadError},
        {"a 256-byte name", [](auto&, auto& i) { i.name = std::string(256, 'n'); }, Decoded::ReadError},
        {"a 256-byte entry", [](auto&, auto& i) { i.names[3] = std::string(256, 'r'); }, Decoded::ReadError},
        {"255 bytes", [](auto&, auto& i) { i.path = std::string(255, 'p'); }, Decoded::Ok},
        {"start depth below the stop depth", [](auto&, auto& i) { i.startDepth = 2000.0, i.stopDepth = 1000.0; },
         Decoded::ReadError},
        {"start depth at the stop depth", [](auto&, auto& i) { i.startDepth = i.stopDepth = 1000.0; },
         Decoded::ReadError},
        {"start depth NaN", [](auto&, auto& i) { i.startDepth = std::nan(""); }, Decoded::ReadError},
        {"one item more than the file holds", [](auto& p, auto&) { p.itemCount = 2; }, Decoded::ReadError},
        {"65535 items", [](auto& p, auto&) { p.itemCount = 0xFFFF - 1; }, Decoded::ReadError},
        {"cut in the header", [](auto&, auto&) {}, Decoded::ReadError, 1000},
        {"cut in the first pass", [](auto&, auto&) {}, Decoded::ReadError, 40},
        {"depth scale 99.9", [](auto& p, auto&) { p.depthScale = 99.9f; }, Decoded::PageOutOfRange},
        {"depth scale 2500.1", [](auto& p, auto&) { p.depthScale = 2500.1f; }, Decoded::PageOutOfRange},
        {"depth scale NaN", [](auto& p, auto&) { p.depthScale = std::nanf(""); }, Decoded::PageOutOfRange},
        {"width -0.5", [](auto& p, auto&) { p.trackWidth[4] = -0.5f; }, Decoded::PageOutOfRange},
        {"width infinite", [](auto& p, auto&) { p.trackWidth[12] = INFINITY; }, Decoded::PageOutOfRange},
        {"tracks 1-8 of 24.1", [](auto& p, auto&) { p.trackWidth = {3, 3, 3, 3, 3, 3, 3, 3.1f}; }, Decoded::PageOutOfRange},
        {"tracks 9-16 of 80", [](auto& p, auto&) { p.trackWidth = {3, 3, 3, 3, 3, 3, 3, 3, 10, 10, 10, 10, 10, 10, 10, 10}; },
         Decoded::Ok},
    };
    for (const Case& c : cases) {
        CommandPageFields page;
        CommandItemFields item = WaveformItemFields();
        c.spoil(page, item);
        std::vector<uint8_t> file = CommandFileBytes(page, {item});
        file.resize(file.size() - std::min(c.cutBytes, file.size()));
        PlotItemList items = Sentinel();
        LogCommandPage outPage = SomePage();
        EXPECT_EQ(DecodeBytes(file, items, outPage), c.expected) << c.what;
        if (c.expected == Decoded::Ok) continue;
        ASSERT_EQ(items.size(), 1u) << c.what;
        EXPECT_EQ(items[0]->m_strName, "kept") << c.what;
        EXPECT_EQ(outPage, SomePage()) << c.what;
    }
}

TEST_F(QtxCommandTest, ReadReportsEachFailureWithThePathAndKeepsTheList)
{
    const std::string bad = dir.File("bad.cmd"), wide = dir.File("wide.cmd"), missing = dir.File("none.cmd");
    CommandItemFields item = WaveformItemFields();
    item.nameCount = 300;
    WriteBytes(bad, CommandFileBytes({}, {item}));
    CommandPageFields page;
    page.depthScale = 5000.0f;
    WriteBytes(wide, CommandFileBytes(page, {WaveformItemFields()}));
    const std::pair<std::string, std::string> cases[] = {
        {missing, "Could not open input command file :\n" + missing},
        {bad, "Error reading input command file :\n" + bad},
        {wide, "Invalid page settings in input command file :\n" + wide + "\nThe depth scale must lie in"},
    };
    CQtxCommand command;
    for (const auto& [path, message] : cases) {
        host.ExpectMessage(message);
        PlotItemList items = Sentinel();
        LogCommandPage outPage = SomePage();
        EXPECT_FALSE(command.Read(items, outPage, path));
        EXPECT_EQ(items[0]->m_strName, "kept");
        EXPECT_EQ(outPage, SomePage());
    }
}

// Each refusal keeps its first sentence and the path, then names the field, where it
// is and the value that was refused.
TEST_F(QtxCommandTest, ReadNamesTheRefusedFieldAndItsValue)
{
    struct Case {
        const char* what;
        std::function<void(CommandPageFields&, CommandItemFields&)> spoil;
        std::string said; // after "<first sentence> :\n<path>\n"
        size_t cutBytes = 0;
    };
    const Case cases[] = {
        {"track 17", [](auto&, auto& i) { i.track = 17; }, "item 1 of 1 (WAVE): its track is 17 (1 to 16)"},
        {"name count 300", [](auto&, auto& i) { i.nameCount = 300; }, "item 1 of 1 (WAVE): its name count is 300 (0 to 256)"},
        {"current entry 8 of 8", [](auto&, auto& i) { i.currentIndex = 8; },
         "item 1 of 1 (WAVE): its current name index is 8 (0 to 7)"},
        {"a 256-byte title", [](auto&, auto& i) { i.title = std::string(256, 't'); },
         "item 1 of 1: the title at byte 94 has a length of 256 (at most 255)"},
        {"reversed depths", [](auto&, auto& i) { i.startDepth = 1100.0, i.stopDepth = 1000.0; },
         "item 1 of 1 (WAVE): its start depth 1100.0000 is not less than its stop depth 1000.0000.\n"
         "Start depth must be less then stop depth!"},
        {"two items announced, one held", [](auto& p, auto&) { p.itemCount = 2; },
         "header: the item count 2 needs at least 1860 bytes, the file holds"},
        {"cut in the header", [](auto&, auto&) {}, "header: the depth scale at byte 2 runs past the end of the file",
         10000},
        {"cut in the shading", [](auto&, auto&) {}, "shading of item 1 of 1: the shade max at byte", 2},
    };
    const std::string file = dir.File("spoilt.cmd");
    CQtxCommand command;
    for (const Case& c : cases) {
        CommandPageFields page;
        CommandItemFields item = WaveformItemFields();
        item.name = "WAVE";
        c.spoil(page, item);
        std::vector<uint8_t> bytes = CommandFileBytes(page, {item});
        bytes.resize(c.cutBytes > bytes.size() ? 4 : bytes.size() - c.cutBytes); // a huge cut keeps 4 bytes
        WriteBytes(file, bytes);
        host.ExpectMessage("Error reading input command file :\n" + file + "\n" + c.said);
        PlotItemList items = Sentinel();
        LogCommandPage outPage = SomePage();
        EXPECT_FALSE(command.Read(items, outPage, file)) << c.what;
        EXPECT_EQ(items[0]->m_strName, "kept") << c.what;
    }
    // The page check names the value too, after its own sentences.
    CommandPageFields page;
    page.trackWidth[2] = -1.5f;
    WriteBytes(file, CommandFileBytes(page, {WaveformItemFields()}));
    host.ExpectMessage("tracks #1 to #8 may not exceed 24.0 in. together.\nThe file's width of track #3 is -1.5 in.");
    PlotItemList items;
    LogCommandPage outPage;
    EXPECT_FALSE(command.Read(items, outPage, file));
}

TEST_F(QtxCommandTest, WriteRefusesLongTextsAndADataSetOfItsOwnListWithoutWriting)
{
    const std::string dataSet = dir.File("well.qtx");
    ASSERT_TRUE(WriteQtx(dataSet, {{"WMNO", 7, 1, 8, 16}}, 2));
    const std::vector<uint8_t> before = ReadBytes(dataSet);
    PlotItemList items{std::make_shared<CLogPlotItem>(CLogPlotItem::NewItemDefaults())};
    items[0]->m_file.path = dataSet;
    CQtxCommand command;

    host.ExpectMessage("Output file is the same as input file :\n" + dataSet);
    EXPECT_FALSE(command.Write(items, SomePage(), dataSet));
    EXPECT_EQ(ReadBytes(dataSet), before);

    const std::string out = dir.File("long.cmd");
    items[0]->m_datum.nameCount = 1;
    items[0]->m_datum.names[0] = std::string(256, 'x');
    host.ExpectMessage("longer than 255 characters!\nCould not write output command file :\n" + out);
    EXPECT_FALSE(command.Write(items, SomePage(), out));
    EXPECT_FALSE(FileExists(out));

    items[0]->m_datum.names[0] = "R1";
    const std::string noFolder = dir.File("none/log.cmd");
    host.ExpectMessage("Could not open output command file :\n" + noFolder);
    EXPECT_FALSE(command.Write(items, SomePage(), noFolder));

    EXPECT_TRUE(command.Write(items, SomePage(), out));
    PlotItemList back;
    LogCommandPage page;
    EXPECT_TRUE(command.Read(back, page, out));
    EXPECT_EQ(*back[0], *items[0]);
    EXPECT_EQ(page, SomePage());
}

TEST(QtxCommandRebase, TakesTheFolderUpToEitherSeparatorAndKeepsNamesWithoutOne)
{
    struct Case {
        std::string chosen, withExt, withoutExt;
    };
    const Case cases[] = {
        {"C:\\Logs\\any", "C:\\Logs\\well.qtx", "C:\\Logs\\noext"},
        {"/data/logs/any", "/data/logs/well.qtx", "/data/logs/noext"},
        {"/data/mixed\\any", "/data/mixed\\well.qtx", "/data/mixed\\noext"},
        {"any", "/old/well.qtx", "/old/noext"},
        {"", "/old/well.qtx", "/old/noext"},
    };
    for (const Case& c : cases) {
        PlotItemList items{
            std::make_shared<CLogPlotItem>("W", "/old/well.qtx", "well", "qtx", 0, 0, 0, 0, 0, 0, 1, 0, 0, 1),
            std::make_shared<CLogPlotItem>("N", "/old/noext", "noext", "", 0, 0, 0, 0, 0, 0, 1, 0, 0, 1)};
        CQtxCommand::RebaseItemPaths(items, c.chosen);
        EXPECT_EQ(items[0]->m_file.path, c.withExt) << c.chosen;
        EXPECT_EQ(items[1]->m_file.path, c.withoutExt) << c.chosen;
    }
}

} // namespace
