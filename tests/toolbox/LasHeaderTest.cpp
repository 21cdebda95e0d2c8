// What a LAS file's header says and how the import keeps it: sections told by name,
// comment lines wherever they stand, the file's NULL, and the digits of an export.
#include "toolbox/ToolTasks.h"
#include "toolbox/ToolsWnd.h"

#include "platform/Host.h"
#include "settings/SettingsStore.h"
#include "settings/UtilitiesSetupGroup.h"
#include "toolbox/LasImportFixture.h"
#include "support/HostFixture.h"
#include "support/LasBuilder.h"
#include "support/QtxBuilder.h"
#include "support/TempDir.h"

#include <cfloat>
#include <filesystem>
#include <memory>
#include <sstream>

namespace {

using T = ToolTask;

class LasHeaderTest : public LasImportFixture {
protected:
    static std::string Replaced(std::string text, const std::string& from, const std::string& to)
    {
        return text.replace(text.find(from), from.size(), to);
    }
    static std::string Version3(const std::string& text) { return Replaced(text, "2.0 :", "3.0 :"); }
    static LasShape Ends(const std::string& lineEnd)
    {
        LasShape shape;
        shape.lineEnd = lineEnd;
        return shape;
    }
};

// Sections by their names: a LAS 3.0 core section before the log's own is no curve list
// and is named at the end; "~Log_Definition" and "~Log_Data" are the log's; comment
// lines stand anywhere, before "~VERSION" too; lines may end in LF, CR LF or CR alone.
TEST_F(LasHeaderTest, SectionsAreToldByNameAndCommentLinesStandAnywhere)
{
    const std::string plain = LasText({});
    const std::string core = "~Core_Definition\n CPOR.PU :\n CDEN.G/C3 :\n~Core_Data | Core_Definition\n1000.0 5.0 2.1\n";
    const struct {
        const char* what;
        std::string text;
        std::string notice; // after "Imported file :\n<path>\n", or none
    } cases[] = {
        {"LAS 3.0 core before the curves", Replaced(Version3(plain), "~CURVE INFORMATION", core + "~Curve"),
         "Left out 2 section(s) this import does not read: Core_Definition, Core_Data."},
        {"LAS 3.0 log names",
         Replaced(Replaced(Version3(plain), "~CURVE INFORMATION", "~Log_Definition"), "~A  DEPTH",
                  "~Log_Data | Log_Definition"),
         ""},
        {"comments before the version", "# State survey well file\n#\n  # indented\n\n" + plain, ""},
        {"comments in every section", Replaced(Replaced(plain, " STRT.", "# a remark\n STRT."), " GR .", "#GR? no\n GR ."),
         ""},
        {"a comment among the data", Replaced(plain, "1001.0000 ", "# logged again below\n1001.0000 "), ""},
        {"lines ended by CR alone", LasText(Ends("\r")), ""},
        {"CR alone and CR LF mixed", "# mixed\r" + LasText(Ends("\r\n")), ""},
        {"a byte-order mark first", "\xEF\xBB\xBF" + plain, ""},
    };
    for (const auto& c : cases) {
        if (!c.notice.empty()) host.ExpectMessage("Imported file :\n" + input + "\n" + c.notice);
        ASSERT_EQ(Import(c.text), 1) << c.what;
        const QtxImage out = LoadQtx(output);
        EXPECT_EQ(Mnemonics(out), (std::vector<std::string>{"DT  ", "RHOB", "GR  "})) << c.what;
        ASSERT_EQ(out.frames.size(), 4u) << c.what;
        EXPECT_EQ(out.frames[2], (std::vector<float>{10.5f, 20.5f, 30.5f})) << c.what;
    }
    // Before the version section only comments and blank lines may stand.
    host.ExpectMessage("Error skiping header section in LAS file :\n" + input);
    EXPECT_EQ(Import("# remark\n~Well\n" + plain), -1);
}

// LAS 1.2 and 2.0 go by a section's first letter, whatever follows it; only LAS 3.0 goes
// by whole names, where a name with "_" is its own section. A file without a curve
// section says so.
TEST_F(LasHeaderTest, OnlyLas3GoesBySectionNamesTheOthersByTheFirstLetter)
{
    const std::string plain = LasText({});
    const std::string before = "Left out 1 section(s) this import does not read: ";
    const struct {
        const char* what;
        std::string text;
        std::string notice; // after "Imported file :\n<path>\n", or none
    } cases[] = {
        {"2.0 ~CURVE_INFORMATION", Replaced(plain, "~CURVE INFORMATION", "~CURVE_INFORMATION"), ""},
        {"2.0 ~Curves and ~ASCII_LOG", Replaced(Replaced(plain, "~CURVE INFORMATION", "~Curves"), "~A  DEPTH", "~ASCII_LOG"),
         ""},
        {"2.0 ~C and ~W_INFO", Replaced(Replaced(plain, "~CURVE INFORMATION", "~C"), "~WELL INFORMATION", "~W_INFO"), ""},
        {"1.2 ~CURVE_INFORMATION and ~PARAMETER_INFO",
         Replaced(Replaced(Replaced(plain, "2.0 :", "1.2 :"), "~CURVE INFORMATION", "~CURVE_INFORMATION"),
                  "~PARAMETER INFORMATION", "~PARAMETER_INFO"),
         ""},
        {"3.0 ~Log_Definition after a ~Curve_Notes", Replaced(Version3(plain), "~CURVE INFORMATION",
                                                             "~Curve_Notes\n NOTE.M :\n~Log_Definition"),
         before + "Curve_Notes."},
    };
    for (const auto& c : cases) {
        if (!c.notice.empty()) host.ExpectMessage("Imported file :\n" + input + "\n" + c.notice);
        ASSERT_EQ(Import(c.text), 1) << c.what;
        const QtxImage out = LoadQtx(output);
        EXPECT_EQ(Mnemonics(out), (std::vector<std::string>{"DT  ", "RHOB", "GR  "})) << c.what;
        ASSERT_EQ(out.frames.size(), 4u) << c.what;
        EXPECT_EQ(out.frames[3], (std::vector<float>{10.75f, 20.75f, 30.75f})) << c.what;
    }
    // In LAS 3.0 "~CURVE_INFORMATION" is no curve section: the file has none.
    host.ExpectMessage("Found no curve section (~Curve, or ~Log_Definition in LAS 3.0) in LAS file :\n" + input);
    EXPECT_EQ(Import(Replaced(Version3(plain), "~CURVE INFORMATION", "~CURVE_INFORMATION")), -1);
    EXPECT_FALSE(std::filesystem::exists(output));
}

// Values equal to the file's NULL are no measurements: written absent and counted. A
// NULL of -999.25, the data set's own absent value, needs no word.
TEST_F(LasHeaderTest, ValuesEqualToTheFilesNullAreWrittenAbsentAndCounted)
{
    std::string text = Replaced(LasText({}), "-999.2500 :", "-111.111 :");
    text = Replaced(text, "1000.5000  10.2500  20.2500  30.2500", "1000.5000  -111.111  20.2500  -111.1110");
    host.ExpectMessage("Wrote 2 value(s) equal to the file's NULL -111.111 as absent values (-999.25).");
    ASSERT_EQ(Import(text), 1);
    EXPECT_EQ(LoadQtx(output).frames[1], (std::vector<float>{-999.25f, 20.25f, -999.25f}));

    text = Replaced(LasText({}), "1000.5000  10.2500", "1000.5000  -999.25");
    ASSERT_EQ(Import(text), 1);
    EXPECT_EQ(LoadQtx(output).frames[1][0], -999.25f);
    EXPECT_TRUE(host.Messages().size() == 1u);
}

// A LAS 3.0 file of 100,000 logs: the end names a few of those left out and counts the rest.
TEST_F(LasHeaderTest, AFileOfManyLogsIsNamedInAFewWordsAndACount)
{
    LasShape las;
    las.version = "3.0";
    for (int k = 2; k <= 100000; ++k)
        las.tail += "~Log_Definition[" + std::to_string(k) + "]\n DEPT.M :\n~Log_Data[" + std::to_string(k) +
                    "] | Log_Definition[" + std::to_string(k) + "]\n1000.0\n";
    host.ExpectMessage("Imported the first log of file :\n" + input +
                       "\nLeft out 99999 further log(s): Log_Data[2], Log_Data[3], Log_Data[4], Log_Data[5], "
                       "Log_Data[6] and 99994 more.");
    ASSERT_EQ(Import(LasText(las)), 1);
    EXPECT_EQ(LoadQtx(output).frames.size(), 4u);
    ASSERT_EQ(host.Messages().size(), 1u);
    EXPECT_LT(host.Messages()[0].text.size(), 200u + input.size());
}

// The export writes each value so that a reader gets the same float back; values whose
// four decimals already do keep them.
TEST_F(LasHeaderTest, ExportedValuesReadBackAsTheSameFloats)
{
    const std::vector<float> values = {6.26e-05f, 0.00635f, 1e-10f, -3.0e-7f, 0.1f, 123456.75f, FLT_MAX, -1.5f, 2.5e7f};
    const std::vector<std::string> fields = {"6.26e-05", "0.00635", "1e-10", "-3e-07", "0.1000", "123456.7500",
                                             "", "-1.5000", "25000000.0000"};
    const std::string set = dir.File("set.qtx"), las = dir.File("set.las");
    ASSERT_TRUE(WriteQtx(set, {{.mnemonic = "GR", .category = 6}}, int(values.size()), 1000.0, 0.5,
                         [&](int frame, int, size_t) { return values[size_t(frame)]; }));
    Select({0}, 1);
    output = las;
    ASSERT_EQ(Run(T::ConvertQtxToLas, set), 1);
    const std::vector<uint8_t> bytes = ReadBytes(las);
    std::istringstream text(std::string(bytes.begin(), bytes.end()));
    std::string line;
    while (std::getline(text, line) && !line.starts_with("~A")) {
    }
    for (size_t k = 0; k < values.size(); ++k) {
        ASSERT_TRUE(std::getline(text, line));
        ASSERT_EQ(line.size() >= 23u, true) << line;
        const std::string field = line.substr(line.find_first_not_of(' ', 11));
        if (!fields[k].empty()) {
            EXPECT_EQ(field, fields[k]) << k;
        }
    }
    output = dir.File("back.qtx");
    ASSERT_EQ(Run(T::ConvertLasToQtx, las), 1);
    const QtxImage back = LoadQtx(output);
    ASSERT_EQ(back.frames.size(), values.size());
    for (size_t k = 0; k < values.size(); ++k) EXPECT_EQ(back.frames[k][0], values[k]) << k;
}

} // namespace
