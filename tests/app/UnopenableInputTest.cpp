// A command whose input cannot be opened (gone, a folder, a FIFO) says so and leaves
// every output it would write (report, data set, log, dictionary) byte for byte as it
// was, with no temporary beside it. The alarm ends a test that blocks on the FIFO.
#include "cnv/CnvToQtx.h"
#include "lis/LisDictionary.h"
#include "lis/LisScan.h"
#include "lis/LisToQtx.h"
#include "lis/QtxToLis.h"
#include "lis/SelectToolDlg.h"
#include "res/SelectToolDlgIds.h"
#include "settings/SettingsStore.h"
#include "support/HostFixture.h"
#include "support/KilledWriter.h"
#include "support/QtxBuilder.h"
#include "support/TempDir.h"
#include "toolbox/ToolTasks.h"
#include "toolbox/ToolsWnd.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct Command {
    const char* name;
    std::vector<std::string> outputs; // names in the folder
    std::function<void(const std::string& input)> run;
};

class UnopenableInputTest : public HostTest {
protected:
    void TearDown() override
    {
        theApp.Clear();
        HostTest::TearDown();
    }
    std::vector<Command> Commands()
    {
        return {
            {"Scan Lis", {"report.txt"}, [&](const std::string& in) { (void)OkOrShow(CLisScan().Run(in, dir.File("report.txt"))); }},
            {"Lis to Qtx", {"out.qtx", "out.log"},
             [&](const std::string& in) {
                 host.ExpectFileDialog("Browse Input File", in);
                 host.ScriptDialog(kIddSelectTool).Radio(CSelectToolDlg::kIdcDsi).Press(IDOK);
                 CLisToQtx().Run(dir.Path());
             }},
            {"Qtx to Lis", {"out.lis"}, [&](const std::string& in) { CQtxToLis().Convert(in, dir.File("out.lis")); }},
            {"Dictionary", {"LisDic.dit"},
             [&](const std::string& in) {
                 host.ExpectFileDialog("Dictionary File to Import", in);
                 (void)OkOrShow(CLisDictionary().Import(dir.Path()));
             }},
            {"Convert CNV", {"out.qtx"},
             [&](const std::string& in) {
                 CCnvToQtx c;
                 c.m_outputConfirmed = true;
                 c.Convert(in, dir.File("out.qtx"));
             }},
            {"Convert LAS To QTX", {"out.qtx"}, [&](const std::string& in) { Import(ToolTask::ConvertLasToQtx, in); }},
            {"Import TXT Data Set", {"out.qtx"}, [&](const std::string& in) { Import(ToolTask::ImportTxtDataSet, in); }},
            {"Convert SEGY To QTX", {"out.qtx"}, [&](const std::string& in) { Import(ToolTask::ConvertSegyToQtx, in); }},
        };
    }
    void Import(ToolTask task, const std::string& in)
    {
        auto e = std::make_unique<CToolsWnd>();
        e->Settings().outputPath = dir.File("out.qtx");
        RunToolTask(*e, task, in);
    }
    TempDir dir;
};

TEST_F(UnopenableInputTest, EveryOutputStaysAsItWasAndTheUserIsTold)
{
    host.onUnexpected = [](const std::string&) {}; // each command tells in its own words
    const std::string fifo = dir.File("pipe"), folder = dir.File("folder");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::filesystem::create_directory(folder);
    const std::vector<uint8_t> old = {'o', 'l', 'd', '\n'};
    ::alarm(60);
    for (const Command& c : Commands()) {
        for (const std::string& input : {dir.File("gone.in"), folder, fifo}) {
            const std::string how = std::string(c.name) + " on " + input;
            for (const std::string& name : c.outputs) WriteBytes(dir.File(name), old);
            const size_t told = host.Messages().size();
            c.run(input);
            ASSERT_GT(host.Messages().size(), told) << how << ": not told";
            EXPECT_NE(host.Messages()[told].text.find("Could not open input file :\n" + input), std::string::npos)
                << how << ": " << host.Messages()[told].text;
            EXPECT_EQ(host.Messages().size(), told + 1) << how << ": told more than once";
            for (const std::string& name : c.outputs) EXPECT_EQ(ReadBytes(dir.File(name)), old) << how << ": " << name;
            EXPECT_EQ(PartialOutputsIn(dir.Path()), std::vector<std::string>()) << how;
        }
    }
    ::alarm(0);
}

} // namespace
