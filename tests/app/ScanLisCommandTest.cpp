// Process > Scan Lis: the report is proposed beside the LIS file under the file's name,
// a finished scan says what it wrote, and a report that was not made is not opened. A
// QTX data set is no LIS file to Scan Lis or Lis to Qtx.
#include "app/ViewerApp.h"
#include "lis/LisParamScan.h"
#include "lis/LisToQtx.h"
#include "platform/BinaryFile.h"
#include "res/CommandIds.h"
#include "support/AppFixture.h"
#include "support/LasBuilder.h"
#include "support/LisBuilder.h"
#include "support/LisDictionaryBuilder.h"
#include "support/QtxBuilder.h"
#include "support/TempDir.h"
#include "toolbox/ToolTasks.h"
#include "toolbox/ToolsWnd.h"

#include <filesystem>
#include <functional>
#include <map>
#include <memory>

namespace {

using ScanLisCommandTest = AppTest;

TEST_F(ScanLisCommandTest, TheReportGoesBesideTheFileAndOnlyAMadeOneIsOpened)
{
    Start();
    frame.Command(ID_FILE_LIS);
    TempDir dir;
    const std::string lis = dir.File("well.lis"), report = dir.File("well.txt");
    lisb::Dfsr d;
    d.channels = {lisb::Channel{"GR", "GAPI"}};
    LisBuilder().FileHeader("WAVE  .001").Dfsr(d).Data(d, 1000.0, 0.5, 3).FileTrailer("WAVE  .001").Write(lis);

    host.ExpectFileDialog("Open Lis File to Scan", lis);
    host.ExpectFileDialog("Create Scan File", report);
    EXPECT_TRUE(frame.Command(ID_SCAN_LIS));
    EXPECT_EQ(host.FileDialogs().back().options.initialName, report) << "proposed beside the LIS file";
    EXPECT_TRUE(FileExists(report));
    EXPECT_EQ(frame.PaneText(0), "Scan Lis done: wrote " + report);
    EXPECT_EQ(host.ShellOpened(), std::vector<std::string>{report});

    // No to replacing the report: nothing is made, so nothing is opened, and the first
    // scan's word is gone.
    host.ExpectFileDialog("Open Lis File to Scan", lis);
    host.ExpectFileDialog("Create Scan File", report);
    host.ExpectMessage("already exists", IDNO);
    EXPECT_TRUE(frame.Command(ID_SCAN_LIS));
    EXPECT_EQ(host.ShellOpened().size(), 1u);
    EXPECT_EQ(frame.PaneText(0), "");
}

// The program's own data sets (a LIS conversion, a LAS import, data sets of every shape),
// whole or damaged at their end, are refused by name before any question: no report is asked for, no tool chosen, and
// every older file in the folder stays as it was.
TEST_F(ScanLisCommandTest, AQtxDataSetIsRefusedByNameBeforeAnyQuestion)
{
    Start();
    frame.Command(ID_FILE_LIS);
    TempDir dir;
    theViewerApp.m_dataDir = dir.Path();
    ASSERT_TRUE(LisDictionaryBuilder()
                    .Depth({"DEPT"})
                    .Section("~DSI", {{"DX", "GN", "NRM", "NS", "PER", "NR", "DIP", "DSIMONO"}})
                    .WriteDit(dir.Path()));
    const std::string lis = dir.File("well.lis");
    lisb::Dfsr d;
    d.channels = {lisb::Channel{"GR", "GAPI"}, lisb::Channel{"DT", "US/F"}};
    LisBuilder().FileHeader().Dfsr(d).Data(d, 1000.0, 0.5, 40).FileTrailer().Write(lis);
    CLisLogicalFileList files;
    ASSERT_EQ(CLisParamScan().Scan(lis, &files, dir.Path(), lis::kToolDsi), 1);
    ASSERT_EQ(files.size(), 1u);
    for (auto& item : files[0]->m_items) item->m_selected = 1;
    CLisToQtx converter;
    converter.m_outputConfirmed = true;
    ASSERT_EQ(converter.Convert(files[0].get(), lis, dir.File("converted.qtx")), 1);

    LasShape las;
    las.unit = "F";
    las.curves = {"DT", "GR"};
    las.depths.clear();
    for (int k = 0; k < 5200; ++k) las.depths.push_back(1000.0 + 0.5 * k);
    const std::string text = LasText(las);
    WriteBytes(dir.File("plain.las"), std::vector<uint8_t>(text.begin(), text.end()));
    auto tools = std::make_unique<CToolsWnd>();
    tools->Settings().outputPath = dir.File("imported.qtx");
    ASSERT_EQ(RunToolTask(*tools, ToolTask::ConvertLasToQtx, dir.File("plain.las")), 1);
    host.ClearMessages();

    const QtxDatumShape curve{"GR"}, wave{"WAVE", 0, 1, 8, 256};
    const std::vector<QtxDatumShape> curves(30, curve);
    struct Synthetic { // a data set of the program's layout
        const char* name;
        std::vector<QtxDatumShape> datums;
        int frames = 1;
        double step = 0.5; // signed, as the direction goes
        uint8_t direction = qtx::kLogDown, units = qtx::kUnitsFeet;
    };
    const Synthetic synthetic[] = {
        {"one.qtx", {curve}, 1, 0.5, qtx::kLogDown, qtx::kUnitsFeet},
        {"two-up.qtx", {curve, curve}, 45, -0.5, qtx::kLogUp, qtx::kUnitsFeet},
        {"two-metres.qtx", {curve, curve}, 200, 0.1524, qtx::kLogDown, qtx::kUnitsMetres},
        {"thirty-up-metres.qtx", curves, 7, -0.1, qtx::kLogUp, qtx::kUnitsMetres},
        {"wave.qtx", {curve, wave}, 3, 0.25, qtx::kLogDown, qtx::kUnitsFeet},
        {"depths-only.qtx", {}, 12, 1.0 / 120.0, qtx::kLogDown, qtx::kUnitsFeet},
    };
    std::vector<std::string> whole = {dir.File("converted.qtx"), dir.File("imported.qtx")};
    for (const auto& c : synthetic) {
        whole.push_back(dir.File(c.name));
        ASSERT_TRUE(WriteQtx(whole.back(), c.datums, c.frames, 3000.0, c.step, DefaultSample, c.direction));
        PatchQtxHeader(whole.back(), [&](QtxFileHeader& h) { h.depthUnits = c.units; });
    }
    const std::string isDataSet = "The file is a QTX data set, not a LIS file.";
    const std::string damaged = "The file is a damaged QTX data set, not a LIS file.";
    // What becomes of a file on its way between machines: its length no longer that of its frames.
    using Bytes = std::vector<uint8_t>;
    const struct {
        const char* name;
        std::function<void(Bytes&, size_t frameSize)> damage;
    } damages[] = {
        {"byte-more", [](Bytes& b, size_t) { b.push_back(0); }},
        {"byte-cut", [](Bytes& b, size_t) { b.pop_back(); }},
        {"padded", [](Bytes& b, size_t) { b.insert(b.end(), 512 - b.size() % 512, uint8_t(0)); }},
        {"half-frame-cut", [](Bytes& b, size_t frameSize) { b.erase(b.end() - std::ptrdiff_t(frameSize / 2), b.end()); }},
        {"crlf", [](Bytes& b, size_t) { b.insert(b.end(), {'\r', '\n'}); }},
    };
    std::vector<std::pair<std::string, std::string>> inputs; // each with its cause
    for (const std::string& input : whole) {
        inputs.emplace_back(input, isDataSet);
        const Bytes bytes = ReadBytes(input);
        const QtxFileHeader header = LoadQtx(input).header;
        const size_t frameSize = header.frameSize;
        const bool datums = header.datumCount > 0;
        for (const auto& d : damages) {
            Bytes copy = bytes;
            d.damage(copy, frameSize);
            const std::string path = dir.File(std::filesystem::path(input).stem().string() + "-" + d.name + ".qtx");
            WriteBytes(path, copy);
            // A header of no datums has only its length to vouch for it.
            inputs.emplace_back(path, datums ? damaged : "The file holds no LIS record.");
        }
    }
    for (const auto& [input, cause] : inputs) {
        SCOPED_TRACE(input);
        // The report Scan Lis would propose, from an earlier scan.
        const std::string report = dir.File(std::filesystem::path(input).stem().string() + ".txt");
        WriteBytes(report, {'o', 'l', 'd'});
        std::map<std::string, std::vector<uint8_t>> before;
        for (const auto& e : std::filesystem::directory_iterator(dir.Path())) before[e.path()] = ReadBytes(e.path());
        const std::string refusal = "Could not open input file :\n" + input + "\n" + cause;

        host.ExpectFileDialog("Open Lis File to Scan", input);
        host.ExpectMessage(refusal);
        EXPECT_TRUE(frame.Command(ID_SCAN_LIS));
        host.ExpectFileDialog("Browse Input File", input);
        host.ExpectMessage(refusal);
        EXPECT_TRUE(frame.Command(ID_LIS_TO_QTX));

        EXPECT_TRUE(host.PendingExpectations().empty());
        ASSERT_EQ(host.Messages().size(), 2u);
        for (const auto& m : host.Messages()) EXPECT_EQ(m.text, refusal);
        host.ClearMessages();
        EXPECT_EQ(frame.PaneText(0), "");
        EXPECT_TRUE(host.ShellOpened().empty());
        std::map<std::string, std::vector<uint8_t>> after;
        for (const auto& e : std::filesystem::directory_iterator(dir.Path())) after[e.path()] = ReadBytes(e.path());
        EXPECT_EQ(after, before);
    }
}

} // namespace
