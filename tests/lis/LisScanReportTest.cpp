#include "lis/LisParamScan.h"
#include "lis/LisScan.h"
#include "lis/LisToQtx.h"
#include "res/SelectToolDlgIds.h"

#include "support/HostFixture.h"
#include "support/LisBuilder.h"
#include "support/QtxBuilder.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

namespace {

class LisScanReportTest : public HostTest {
protected:
    TempDir dir;
    std::string lisPath = dir.File("well.lis");
    std::string reportPath = dir.File("well.txt");

    std::string Scan(const LisBuilder& b, int expected = 1)
    {
        WriteBytes(lisPath, b.Bytes());
        CLisScan scan;
        EXPECT_EQ(OkOrShow(scan.Run(lisPath, reportPath)) ? 1 : 0, expected);
        const auto bytes = ReadBytes(reportPath);
        return std::string(bytes.begin(), bytes.end());
    }
    static lisb::Dfsr Sonic()
    {
        lisb::Dfsr d;
        d.direction = 255;
        d.channels = {{"DT  ", "US/F"}, {"WVF1", "MV  ", 8, 4, 79}};
        return d;
    }
};

TEST_F(LisScanReportTest, APlainFileIsReportedRecordByRecord)
{
    LisBuilder b;
    b.ReelHeader().TapeHeader().FileHeader().Record(lisb::CommentRecord("Logged by unit 7\r\nRun 2"));
    b.Table("CONS", {{{"MNEM", "BS"}, {"VALU", "8.5"}}, {{"MNEM", "TD"}, {"VALU", "12000"}}});
    const lisb::Dfsr d = Sonic();
    b.Dfsr(d).Data(d, 1000.0, 0.5, 4).Data(d, 1002.0, 0.5, 4).Data(d, 1004.0, 0.5, 4).FileTrailer();
    const std::string report = Scan(b);
    if (HasFailure()) return;
    const char* expected[] = {
        "\r\nScanning File: ", "LisScan Version: 2.05\r\nSTD File Format\r\n\r\n",
        "\r\n\r\nREEL HEADER RECORD - TYPE  Record Offset: 0000\r\n Service Name:       BRONTE\r\n",
        "\r\n\r\nTAPE HEADER RECORD - TYPE 130  Record Offset: 0x0084\r\n",
        "\r\n\r\nFILE HEADER RECORD - TYPE 128  File Offset: 0x0108\r\n File Name:          BRONTE.001\r\n",
        " Max Phys Record Length:  8192\r\n",
        "COMMENT RECORD - TYPE 232  Record Offset: ", "\r\n\r\nLogged by unit 7\r\nRun 2\r\n",
        "INFORMATION RECORD - TYPE 34  File Offset: ", "Table Name: CONS\r\nMNEM    VALU     \r\n-----------------\r\n"
        "BS      8.5      \r\nTD      12000    \r\n",
        "  4   Up/Down Flag            66    1     255       DOWN\r\n",
        "  0   Terminator\r\n\r\n  Type 0 Sub Type 1 Datum Spec Block\r\n",
        "\r\n\r\nDATA RECORD - TYPE 0  Record Offset: 0x26f \r\n Start Depth:       1000.0000  \r\n",
        " End Depth:         1005.5000  \r\n Depth Interval:  0.5000    \r\n Number of Depth Records: 3     \r\n",
        "\r\n\r\nFILE TRAILER RECORD - TYPE 129  Record Offset: ",
    };
    size_t at = 0;
    for (const char* part : expected) {
        const size_t found = report.find(part, at);
        ASSERT_NE(found, std::string::npos) << "missing, in order: " << part << "\n" << report;
        at = found + 1;
    }
}

TEST_F(LisScanReportTest, DamagedStrayAndUnknownRecordsAreReportedWithinTheirBytes)
{
    const lisb::Dfsr d = Sonic();
    lisb::Dfsr noFrame; // no channels and no frame size: data records only count
    noFrame.frameSize = 0;
    auto unknown = lisb::FileRecord(128);
    unknown[1] = 1;
    struct Case {
        const char* what;
        LisBuilder file;
        std::vector<std::string> parts; // in order
        const char* message;
    };
    Case cases[] = {
        {"tif", LisBuilder(lisb::kTifFraming).FileHeader().Dfsr(d).Data(d, 10.0, 1.0, 2).FileMark(),
         {"TIF File Format", "EOF Marker Detected at Offset: 0x", " End Depth:         11.0000"}, nullptr},
        {"records before any file header and no trailer",
         LisBuilder().Dfsr(noFrame).Data(noFrame, 0, 0, 0).Record(unknown).Data(d, 5.0, 1.0, 1),
         {"UNKNOWN RECORD TYPE = 384", "DATA RECORD - TYPE 0", " Number of Depth Records: 2"}, nullptr},
        {"cut short", LisBuilder().FileHeader().Dfsr(d).Data(d, 10.0, 1.0, 2).Data(d, 12.0, 1.0, 2),
         {" Number of Depth Records: 1", "CAUTION: LIS file is truncated near offset 0x"}, "LIS file damaged near offset"},
    };
    for (Case& c : cases) {
        if (std::string(c.what) == "cut short") {
            auto bytes = c.file.Bytes();
            bytes.resize(bytes.size() - 7);
            c.file = LisBuilder().Raw(bytes);
        }
        if (c.message) host.ExpectMessage(c.message);
        std::filesystem::remove(reportPath);
        const std::string report = Scan(c.file);
        size_t at = 0;
        for (const auto& part : c.parts) {
            const size_t found = report.find(part, at);
            ASSERT_NE(found, std::string::npos) << c.what << ": " << part << "\n" << report;
            at = found + 1;
        }
    }
}

std::map<std::string, std::vector<uint8_t>> Folder(const std::string& folder) // every file with its bytes
{
    std::map<std::string, std::vector<uint8_t>> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        files[entry.path().string()] = ReadBytes(entry.path().string());
    return files;
}

// Scan Lis and Lis to Qtx judge an input by its first logical record. One that is empty,
// shorter than a record's headers, is a QTX data set (whose frame count would read as a
// data record) or opens with no LIS record (a long LAS text whose "~V" reads as a
// physical length that fits, a program file) is refused with its cause before any question is asked, and
// every older file beside it stays as it was. Lis to Qtx's scan refuses the empty and
// short ones in the same words. One whole record of the format, in either framing, is
// enough to reach the questions.
TEST_F(LisScanReportTest, AnInputWithoutALisRecordIsRefusedBeforeAnyQuestion)
{
    using Bytes = std::vector<uint8_t>;
    const std::string text = "Depth, GR\n1000.0, 45.2\n";
    std::string las = "~Version information\r\n VERS. 2.0 :\r\n~CURVE\r\nDEPT.F :\r\nGR  .GAPI :\r\n~A\r\n";
    while (las.size() < 40000) las += "1000.0 45.2\r\n";
    Bytes wide; // UTF-16: "~V" reads as a length, "e" as a record type, and the attribute byte is 0
    for (char ch : las) wide.insert(wide.end(), {uint8_t(ch), 0});
    Bytes program = {0x7F, 'E', 'L', 'F', 2, 1, 1, 0};
    program.resize(40000);
    ASSERT_TRUE(WriteQtx(dir.File("up.qtx"), {QtxDatumShape{}}, 10, 1000.0, -0.5, DefaultSample, qtx::kLogUp));
    const Bytes qtxSet = ReadBytes(dir.File("up.qtx"));
    std::filesystem::remove(dir.File("up.qtx"));
    const lisb::Dfsr d = Sonic();
    const struct {
        const char* what;
        Bytes bytes;
        std::string cause; // empty: a LIS file
        bool shortInput;
    } cases[] = {
        {"empty", {}, "The file is empty.", true},
        {"short", {'h', 'i'}, "The file is 2 bytes long, shorter than the 6-byte header of its format.", true},
        {"text", Bytes(text.begin(), text.end()), "The file holds no LIS record.", false},
        {"zeros", Bytes(4096, 0), "The file holds no LIS record.", false},
        {"file marks only", LisBuilder(lisb::kTifFraming).FileMark().FileMark().Bytes(), "The file holds no LIS record.",
         false},
        {"LAS text", Bytes(las.begin(), las.end()), "The file holds no LIS record.", false},
        {"LAS text in UTF-16", wide, "The file holds no LIS record.", false},
        {"QTX data set", qtxSet, "The file is a QTX data set, not a LIS file.", false},
        {"program", program, "The file holds no LIS record.", false},
        {"unknown record type", LisBuilder().Record({77, 0, 1, 2, 3, 4}).FileHeader().Bytes(),
         "The file holds no LIS record.", false},
        {"TIF reel header", LisBuilder(lisb::kTifFraming).ReelHeader().Bytes(), "", false},
        {"plain file header", LisBuilder().FileHeader().Bytes(), "", false},
        {"job identification", LisBuilder().Record({32, 0, 'J', 'O', 'B'}).Bytes(), "", false},
        {"data record alone", LisBuilder().Data(d, 10.0, 1.0, 1).Bytes(), "", false},
    };
    const Bytes old = {'o', 'l', 'd'};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        WriteBytes(lisPath, c.bytes);
        WriteBytes(reportPath, old);
        const auto before = Folder(dir.Path());
        const std::string message = c.cause.empty() ? "" : "Could not open input file :\n" + lisPath + "\n" + c.cause;
        BinaryFile probe;
        EXPECT_EQ(CLisRecordIO::OpenInput(probe, lisPath).Message(), message);
        EXPECT_EQ(probe.IsOpen(), c.cause.empty());
        probe.Close();
        // A LIS file reaches the questions: the report's overwrite and the tool, kept or cancelled here.
        if (c.cause.empty()) host.ExpectMessage("already exists do you want to overwrite?", IDNO);
        EXPECT_EQ(CLisScan().Run(lisPath, reportPath).Message(), message);
        host.ExpectFileDialog("Browse Input File", lisPath);
        if (c.cause.empty()) host.ScriptDialog(kIddSelectTool).Press(IDCANCEL);
        else host.ExpectMessage(message);
        CLisToQtx().Run(dir.Path());
        EXPECT_TRUE(host.PendingExpectations().empty());
        EXPECT_EQ(Folder(dir.Path()), before);
        if (!c.shortInput) continue;
        host.ExpectMessage(message);
        CLisLogicalFileList files;
        EXPECT_EQ(CLisParamScan().Scan(lisPath, &files, dir.Path(), lis::kToolDsi), 0);
        EXPECT_TRUE(host.PendingExpectations().empty());
    }
    // One record is enough to stay silent.
    std::filesystem::remove(reportPath);
    host.ClearMessages();
    Scan(LisBuilder().FileHeader());
    EXPECT_TRUE(host.Messages().empty());
}

// Mnemonics and units padded with NUL (or holding other control bytes) are written as
// blanks: the report is text, and its columns stay aligned.
TEST_F(LisScanReportTest, ControlBytesOfNamesBecomeBlanks)
{
    const std::string nul2("\0\0", 2);
    LisBuilder b;
    b.FileHeader();
    b.Information({lisb::Component::Number(0, "BS" + nul2, 68, 8.5, std::string("IN\0\x01", 4)),
                   lisb::Component::Number(0, "TD" + nul2, 68, 12000.0, std::string("F\0\0\0", 4))});
    b.Information({lisb::Component::Text(73, "TYPE", "CONS"), lisb::Component::Text(0, "MNEM", "BS"),
                   lisb::Component::Text(69, "VA" + nul2, "8.5")});
    lisb::Dfsr d = Sonic();
    d.channels[0].name = "DT" + nul2;
    b.Dfsr(d).Data(d, 1000.0, 0.5, 2).FileTrailer();
    const std::string report = Scan(b);
    for (char c : report)
        EXPECT_TRUE((c >= 32 && c <= 126) || c == '\r' || c == '\n') << "byte " << int(static_cast<unsigned char>(c));
    for (const char* line : {"BS    IN    8.500\r\n", "TD    F     12000.000\r\n", "MNEM    VA      \r\n"})
        EXPECT_NE(report.find(line), std::string::npos) << line << "\n" << report;
    EXPECT_NE(report.find(" DT   "), std::string::npos) << "the datum block's mnemonic, padded";
}

TEST_F(LisScanReportTest, AnExistingReportIsKeptUnlessTheUserAgrees)
{
    WriteBytes(reportPath, {'o', 'l', 'd'});
    host.ExpectMessage("already exists do you want to overwrite?", IDNO);
    EXPECT_EQ(Scan(LisBuilder().FileHeader(), 0), "old");
    host.ExpectMessage("already exists do you want to overwrite?", IDYES);
    EXPECT_NE(Scan(LisBuilder().FileHeader()).find("FILE HEADER RECORD"), std::string::npos);
    // A report over its own input comes back refused, for Scan Lis to show.
    WriteBytes(lisPath, LisBuilder().FileHeader().Bytes());
    CLisScan scan;
    const size_t before = host.Messages().size();
    const Status overInput = scan.Run(lisPath, lisPath);
    EXPECT_EQ(overInput.Message().rfind("Output file is the same as input file", 0), 0u) << overInput.Message();
    EXPECT_EQ(host.Messages().size(), before);
    // A report that cannot be opened comes back with its message; the scan shows nothing.
    const size_t shown = host.Messages().size();
    const std::string nowhere = dir.File("no/such/well.txt");
    EXPECT_EQ(scan.Run(lisPath, nowhere).Message().rfind("Could not open output file :\n" + nowhere, 0), 0u);
    EXPECT_EQ(host.Messages().size(), shown);
    EXPECT_EQ(CLisScan::ProposedReportName("/data/run.2/well.a.lis"), "well.a.txt");
    EXPECT_EQ(CLisScan::ProposedReportName("C:\\logs\\WELL"), "WELL.txt");
}

} // namespace
