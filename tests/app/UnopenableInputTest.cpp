// A command whose input cannot be opened (gone, a folder, a FIFO) says so and leaves
// every output it would write (report, data set, log, dictionary) byte for byte as it
// was, with no temporary beside it. The alarm ends a test that blocks on the FIFO.
#include "cnv/CnvToQtx.h"
#include "lis/LisDictionary.h"
#include "lis/LisScan.h"
#include "lis/LisToQtx.h"
#include "lis/QtxToLis.h"
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
                 host.ExpectFileDialog("Browse Input File", in); // refused before the tool is asked for
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
    const std::string unreadable = dir.File("unreadable.in");
    WriteBytes(unreadable, {'x'});
    ASSERT_EQ(::chmod(unreadable.c_str(), 0), 0);
    // Input and the cause that follows its path, in the same words for every command.
    std::vector<std::pair<std::string, std::string>> inputs = {
        {dir.File("gone.in"), "There is no such file."},
        {folder, folder + " is a folder, not a file."},
        {fifo, fifo + " is not a regular file"},
    };
    if (::geteuid() != 0) inputs.push_back({unreadable, "The file may not be read (no permission)."}); // root reads all
    for (const Command& c : Commands()) {
        for (const auto& [input, cause] : inputs) {
            const std::string how = std::string(c.name) + " on " + input;
            for (const std::string& name : c.outputs) WriteBytes(dir.File(name), old);
            const size_t told = host.Messages().size();
            c.run(input);
            ASSERT_GT(host.Messages().size(), told) << how << ": not told";
            EXPECT_NE(host.Messages()[told].text.find("Could not open input file :\n" + input + "\n" + cause),
                      std::string::npos)
                << how << ": " << host.Messages()[told].text;
            EXPECT_EQ(host.Messages().size(), told + 1) << how << ": told more than once";
            for (const std::string& name : c.outputs) EXPECT_EQ(ReadBytes(dir.File(name)), old) << how << ": " << name;
            EXPECT_EQ(PartialOutputsIn(dir.Path()), std::vector<std::string>()) << how;
        }
    }
    ::alarm(0);
}

// Inputs that open but are too short for their format's header, or over a reader's size
// limit, say so after their path rather than a bare failure.
TEST_F(UnopenableInputTest, AnEmptyShortOrOversizedInputNamesItsCause)
{
    host.onUnexpected = [](const std::string&) {};
    const std::string qtx = dir.File("in.qtx"), cnv = dir.File("in.cnv"), segy = dir.File("in.segy"),
                      text = dir.File("dictionary.txt");
    const auto header = [](const std::string& path, const std::string& cause) {
        return "Error reading header in file :\n" + path + "\n" + cause;
    };
    const struct {
        const char* what;
        std::string path;
        uint64_t bytes;
        std::function<void()> run;
        std::string message;
    } cases[] = {
        {"an empty data set", qtx, 0, [&] { CQtxToLis().Convert(qtx, dir.File("out.lis")); }, header(qtx, "The file is empty.")},
        {"a data set of one byte", qtx, 1, [&] { Import(ToolTask::ExtractDepthRange, qtx); },
         header(qtx, "The file is 1 byte long, shorter than the 4132-byte header of its format.")},
        {"an empty CNV file", cnv, 0,
         [&] {
             CCnvToQtx c;
             c.m_outputConfirmed = true;
             c.Convert(cnv, dir.File("out.qtx"));
         },
         header(cnv, "The file is empty.")},
        {"a CNV file of one byte", cnv, 1,
         [&] {
             CCnvToQtx c;
             c.m_outputConfirmed = true;
             c.Convert(cnv, dir.File("out.qtx"));
         },
         header(cnv, "The file is 1 byte long, shorter than the 6-byte header of its format.")},
        {"a short SEG-Y file", segy, 100, [&] { Import(ToolTask::ConvertSegyToQtx, segy); },
         "Error reading SEGY header in file :\n" + segy +
             "\nThe file is 100 bytes long, shorter than the 3596-byte header of its format."},
        {"a 50 MB dictionary text", text, 50u << 20,
         [&] {
             host.ExpectFileDialog("Dictionary File to Import", text);
             EXPECT_FALSE(OkOrShow(CLisDictionary().Import(dir.Path())));
         },
         "Could not open input file :\n" + text +
             "\nThe file is 52428800 bytes long, over the limit of 16777216 bytes this command reads."},
    };
    for (const auto& c : cases) {
        WriteBytes(c.path, {});
        std::filesystem::resize_file(c.path, c.bytes); // sparse: no disk taken
        const size_t told = host.Messages().size();
        c.run();
        ASSERT_GT(host.Messages().size(), told) << c.what << ": not told";
        EXPECT_EQ(host.Messages()[told].text, c.message) << c.what;
    }
}

} // namespace
