// The log command file when the disk fills part-way: the file is gone or reads back,
// and the failure was told.
#include "plot/QtxCommand.h"
#include "support/HostFixture.h"
#include "support/OutputChecks.h"
#include "support/TempDir.h"

namespace {

class CommandFaultTest : public HostTest {
protected:
    void TearDown() override
    {
        WriteFault::Off();
        HostTest::TearDown();
    }
    TempDir dir;
};

TEST_F(CommandFaultTest, AFailedWriteLeavesNoTornCommandFile)
{
    host.onUnexpected = [](const std::string&) {};
    PlotItemList items;
    for (const char* name : {"WMNO", "DTCO", "GR"}) {
        items.push_back(std::make_shared<CLogPlotItem>(CLogPlotItem::NewItemDefaults()));
        items.back()->m_strName = name;
        items.back()->m_file.path = dir.File(std::string(name) + ".qtx");
    }
    LogCommandPage page;
    const std::string path = dir.File("layout.cmd");
    const auto readsBack = [](const std::string& p) -> std::string {
        if (!FileExists(p)) return "";
        PlotItemList again;
        LogCommandPage pageAgain;
        BinaryFile file;
        if (!file.Open(p, BinaryFile::modeRead)) return "cannot be opened";
        return CQtxCommand::Decode(file, again, pageAgain) == CQtxCommand::Decoded::ReadError ? "does not read back" : "";
    };
    ExpectNoLyingOutput(host, {.run = [&](bool clean) { EXPECT_TRUE(CQtxCommand().Write(items, page, path) || !clean); },
                               .output = path,
                               .lies = readsBack,
                               .points = [](int64_t total) {
                                   return std::vector<FaultPoint>{{"at the start", 0}, {"in the page", 30},
                                                                  {"in the items", total / 2}, {"in the last bytes", total - 2}};
                               },
                               .stops = {},
                               .progressId = 0,
                               .stopQuestion = ""});
}

} // namespace
