// The rules every importer of the tool box keeps, and the exports that must not write a
// depth they cannot hold: one depth rule with one message, one datum limit, the logs and
// values a data set leaves out said at the end.
#include "toolbox/ToolTasks.h"
#include "toolbox/ToolsWnd.h"

#include "platform/BinaryFile.h"
#include "platform/Endian.h"
#include "platform/Host.h"
#include "settings/SettingsStore.h"
#include "settings/UtilitiesSetupGroup.h"
#include "support/HostFixture.h"
#include "support/HostileDepths.h"
#include "support/LasBuilder.h"
#include "support/QtxBuilder.h"
#include "support/SegyBuilder.h"
#include "support/TempDir.h"

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <tuple>

namespace {

using T = ToolTask;
const std::string kAbandon = "\nOperation will be abandoned.";
const std::string kNeed = "\nA data set needs evenly spaced depths in one direction.";

class ImportRulesTest : public HostTest {
protected:
    void TearDown() override
    {
        theApp.Clear();
        HostTest::TearDown();
    }
    int Run(T task, const std::string& from, std::vector<int> selected = {})
    {
        std::filesystem::remove(output);
        ToolInputSelection& p = theApp.m_utilitiesSetup.primary;
        p.itemCount = 4;
        p.selected.fill(0);
        for (int k : selected) p.selected[size_t(k)] = 1;
        auto e = std::make_unique<CToolsWnd>();
        e->Settings().outputPath = output;
        return RunToolTask(*e, task, from);
    }
    int Import(const std::string& text, T task)
    {
        WriteBytes(input, std::vector<uint8_t>(text.begin(), text.end()));
        return Run(task, input);
    }
    // The line of `text` that begins with `start`, replaced whole by `line`.
    static std::string WithLine(std::string text, const std::string& start, const std::string& line)
    {
        const size_t at = text.find("\n" + start) + 1;
        return text.replace(at, text.find('\n', at) - at, line);
    }

    TempDir dir;
    std::string input = dir.File("in.txt"), output = dir.File("out.qtx");
};

// LAS, text tables and SEG-Y refuse the same depth columns with the same words as Convert
// CNV does, before their output exists.
TEST_F(ImportRulesTest, EveryImporterRefusesTheSameBadDepthColumns)
{
    for (const HostileDepthColumn& column : HostileDepthColumns()) {
        LasShape las;
        las.depths = column.depths;
        host.ExpectMessage(HostileDepthMessage(input, column));
        EXPECT_EQ(Import(LasText(las), T::ConvertLasToQtx), -1) << "LAS " << column.what;
        EXPECT_FALSE(FileExists(output)) << "LAS " << column.what;

        TxtShape txt;
        txt.depths = column.depths;
        host.ExpectMessage(HostileDepthMessage(input, column));
        EXPECT_EQ(Import(TxtText(txt), T::ImportTxtDataSet), -1) << "text " << column.what;
        EXPECT_FALSE(FileExists(output)) << "text " << column.what;

        if (column.finite) { // shot depths are whole thousandths: always numbers
            SegyShape segy;
            segy.depths = column.depths;
            segy.logDirection = column.depths[1] < column.depths[0] ? 1 : 0xFF;
            WriteBytes(input, SegyBytes(segy));
            HostileDepthColumn shots = column;
            shots.detail = column.segyDetail;
            host.ExpectMessage(HostileDepthMessage(input, shots));
            EXPECT_EQ(Run(T::ConvertSegyToQtx, input), -1) << "SEG-Y " << column.what;
            EXPECT_FALSE(FileExists(output)) << "SEG-Y " << column.what;
        }
        EXPECT_EQ(host.Messages().size(), column.finite ? 3u : 2u) << column.what;
        host.ClearMessages();
    }
}

// Steps within the tolerance pass: depths written in four decimals, and SEG-Y shots whose
// thousandths make a step of 0.1524 one of 0.152 or 0.153.
TEST_F(ImportRulesTest, StepsWithinTheToleranceAreImported)
{
    LasShape las;
    las.depths = {1000.0, 1000.1524, 1000.3048, 1000.4572, 1000.6096};
    ASSERT_EQ(Import(LasText(las), T::ConvertLasToQtx), 1);
    EXPECT_EQ(LoadQtx(output).depths, las.depths);
    SegyShape segy;
    segy.depths = las.depths;
    WriteBytes(input, SegyBytes(segy));
    ASSERT_EQ(Run(T::ConvertSegyToQtx, input), 1);
    EXPECT_EQ(LoadQtx(output).depths.size(), 5u);
}

// A data set holds at most 256 datums: a LAS file of more curves is refused before any
// output exists, one of exactly 256 is imported.
TEST_F(ImportRulesTest, LasFileOfMoreCurvesThanADataSetHoldsIsRefusedBeforeWriting)
{
    LasShape las;
    las.curves.clear();
    for (int k = 0; k < 299; ++k) las.curves.push_back("C" + std::to_string(k));
    host.ExpectMessage("Encountered 299 curves after the depth in file :\n" + input +
                       "\nA data set holds at most 256: split the file's curves into files of at most 256." + kAbandon);
    EXPECT_EQ(Import(LasText(las), T::ConvertLasToQtx), -1);
    EXPECT_FALSE(FileExists(output));

    las.curves.resize(256);
    ASSERT_EQ(Import(LasText(las), T::ConvertLasToQtx), 1);
    EXPECT_EQ(LoadQtx(output).descriptors.size(), 256u);
}

// A LAS 3.0 file of several logs: the first is imported and the end says which were not;
// a section of other kind after the data is no log.
TEST_F(ImportRulesTest, LasFileOfSeveralLogsSaysWhichWereLeftOut)
{
    LasShape las;
    las.version = "3.0";
    las.tail = "~Other\nnotes\n~Core_Definition\n CDEP.M :\n~Core_Data | Core_Definition\n1000.0\n"
               "~Log_Definition[2]\n DEPT.M :\n~Log_Data[2] | Log_Definition[2]\n1000.0\n";
    host.ExpectMessage("Imported the first log of file :\n" + input +
                       "\nLeft out 2 further log(s): Core_Data, Log_Data[2].");
    ASSERT_EQ(Import(LasText(las), T::ConvertLasToQtx), 1);
    EXPECT_EQ(LoadQtx(output).depths.size(), las.depths.size());
    ASSERT_EQ(host.Messages().size(), 1u);
    EXPECT_EQ(host.Messages()[0].type & MB_ICONMASK, unsigned(MB_ICONINFORMATION));
}

// Values a float cannot hold are written absent and counted; infinities stay infinities;
// the largest float is a value like any other.
TEST_F(ImportRulesTest, ValuesBeyondSinglePrecisionAreWrittenAbsentAndCounted)
{
    const std::string beyond = "Wrote 2 value(s) beyond the single-precision range as absent values (-999.25).";
    std::string las = LasText({});
    las = WithLine(las, "1000.5000", "1000.5000  1e39  -9.99e300  inf");
    las = WithLine(las, "1001.0000", "1001.0000  -inf  3.4e38  1.0");
    // Infinite values are no measurements either: absent, and counted apart.
    host.ExpectMessage("Wrote 2 value(s) that are no number or infinite (nan, inf) as absent values (-999.25).\n" + beyond);
    ASSERT_EQ(Import(las, T::ConvertLasToQtx), 1);
    QtxImage out = LoadQtx(output);
    ASSERT_EQ(out.frames.size(), 4u);
    EXPECT_EQ(out.frames[1], (std::vector<float>{-999.25f, -999.25f, -999.25f}));
    EXPECT_EQ(out.frames[2], (std::vector<float>{-999.25f, 3.4e38f, 1.0f}));

    TxtShape shape;
    std::string txt = TxtText(shape);
    txt = WithLine(txt, " 1000.5000", " 1000.5000 -9.99e300      1e39");
    host.ExpectMessage(beyond);
    ASSERT_EQ(Import(txt, T::ImportTxtDataSet), 1);
    out = LoadQtx(output);
    ASSERT_EQ(out.frames.size(), 3u);
    EXPECT_EQ(out.frames[1], (std::vector<float>{-999.25f, -999.25f}));
    EXPECT_EQ(host.Messages().size(), 2u);
}

// Numbers beyond any float either way (1e999, 1e-999: strtod's ERANGE) are values no data
// set holds: written absent and counted with those beyond single precision, in LAS files
// and text tables alike, as a nonzero value single precision would make 0 is. What it
// holds, however small, stays. Text that is no number, and a depth beyond any number,
// still refuse the file, each with its own words.
TEST_F(ImportRulesTest, NumbersBeyondAnyFloatAreWrittenAbsentAndCounted)
{
    const struct {
        const char* text;
        bool depth;   // in the depth's column, else the first curve's
        float stored; // the value written
        int beyond;   // counted beyond single precision; -1: the file is refused
    } cases[] = {
        {"1e999", false, -999.25f, 1},  {"-1e999", false, -999.25f, 1}, {"1e-999", false, -999.25f, 1},
        {"-1E-999", false, -999.25f, 1}, {"1e39", false, -999.25f, 1},  {"1e-46", false, -999.25f, 1},
        {"1e-310", false, -999.25f, 1}, {"1e-40", false, 1e-40f, 0},   {"1e-30", false, 1e-30f, 0},
        {"0e999", false, 0.0f, 0},      {"-3.4e38", false, -3.4e38f, 0},
        {"abc", false, 0.0f, -1},       {"1e999x", false, 0.0f, -1},    {"1e999", true, 0.0f, -1},
        {"-1e-999", true, 0.0f, -1},
    };
    const auto tens = [](const char* format, auto value) {
        char field[64];
        std::snprintf(field, sizeof field, format, value);
        return std::string(field);
    };
    TxtShape table;
    table.depths = {1000.0, 1000.5, 1001.0, 1001.5};
    const std::string formatError = "Format error in file :\n" + input + "\n";
    for (const auto& c : cases)
        for (const T task : {T::ConvertLasToQtx, T::ImportTxtDataSet}) {
            const bool las = task == T::ConvertLasToQtx;
            const std::string field = c.text;
            // The third data line: neither the first, second nor last, which are read before the output exists.
            const std::string text =
                las ? WithLine(LasText({}), "1001.0000",
                               c.depth ? field + "  10.5000  20.5000  30.5000" : "1001.0000  " + field + "  20.5000  30.5000")
                    : WithLine(TxtText(table), " 1001.0000",
                               (c.depth ? tens("%10s", c.text) + tens("%10.4f", LasValue(2, 0))
                                        : " 1001.0000" + tens("%10s", c.text))
                                   + tens("%10.4f", LasValue(2, 1)));
            const std::string line = formatError + (las ? "Line 22 " : "Line 9 ");
            if (c.beyond > 0)
                host.ExpectMessage("Wrote 1 value(s) beyond the single-precision range as absent values (-999.25).");
            else if (c.depth)
                host.ExpectMessage(line + "holds a depth beyond the range of numbers.");
            else if (c.beyond < 0)
                host.ExpectMessage(line + (las ? "holds a field that is no number."
                                               : "does not hold 3 numbers in columns of ten characters."));
            ASSERT_EQ(Import(text, task), c.beyond < 0 ? -1 : 1) << c.text << (las ? " LAS" : " TXT");
            if (c.beyond < 0) {
                EXPECT_FALSE(FileExists(output)) << c.text;
                continue;
            }
            const QtxImage out = LoadQtx(output);
            ASSERT_EQ(out.frames.size(), 4u) << c.text;
            EXPECT_EQ(out.frames[2][0], c.stored) << c.text << (las ? " LAS" : " TXT");
            EXPECT_EQ(out.frames[2][1], float(LasValue(2, 1))) << c.text;
        }
}

// Exports never write a depth they cannot hold: a LAS header or frame depth that is no
// number, a SEG-Y shot depth beyond 32-bit thousandths. Each is refused, no file left.
TEST_F(ImportRulesTest, ExportsRefuseDepthsTheyCannotWrite)
{
    const std::string set = dir.File("set.qtx");
    const std::vector<QtxDatumShape> curve = {{.mnemonic = "GR", .category = 6}};
    output = dir.File("set.las");

    ASSERT_TRUE(WriteQtx(set, curve, 3));
    PatchQtxHeader(set, [](QtxFileHeader& h) { h.topDepth = NAN; });
    host.ExpectMessage("Encountered invalid depth step in file :\n" + set +
                       "\nThe header's depths run from nan to 1001.0000 in steps of 0.5000." + kNeed + kAbandon);
    EXPECT_EQ(Run(T::ConvertQtxToLas, set, {0}), -1);
    EXPECT_FALSE(FileExists(output));

    // The last frame's depth, and one between (found by the pass that measures the lines).
    for (const auto& [frame, depth, text] : {std::tuple(2, INFINITY, "Frame 3 has no finite depth (inf)."),
                                             std::tuple(1, NAN, "Frame 2 has no finite depth (nan).")}) {
        ASSERT_TRUE(WriteQtx(set, curve, 3));
        std::vector<uint8_t> bytes = ReadBytes(set);
        endian::PutLEDouble(bytes.data() + qtx::DataStart(1) + size_t(frame) * (qtx::kDepthSize + 4), depth);
        WriteBytes(set, bytes);
        host.ExpectMessage("Encountered invalid depth step in file :\n" + set + "\n" + text + kNeed + kAbandon);
        EXPECT_EQ(Run(T::ConvertQtxToLas, set, {0}), -1);
        EXPECT_FALSE(FileExists(output));
    }

    const std::vector<QtxDatumShape> wave = {{.mnemonic = "WAVE", .typeCode = 26, .category = 1, .traces = 2,
                                              .samples = 4}};
    output = dir.File("set.segy");
    const struct {
        double top;
        int frame;
        const char* depth;
    } cases[] = {{3.0e6, 1, "3000000.0000"}, {2147483.0, 4, "2147484.5000"}, {-2147484.0, 1, "-2147484.0000"}};
    for (const auto& c : cases) {
        ASSERT_TRUE(WriteQtx(set, wave, 4, c.top, 0.5));
        host.ExpectMessage("Depth " + std::string(c.depth) + " of frame " + std::to_string(c.frame) +
                           " does not fit a SEGY shot depth (thousandths in 32 bits) in file :\n" + set + kAbandon);
        EXPECT_EQ(Run(T::ConvertQtxToSegy, set, {0}), -1) << c.depth;
        EXPECT_FALSE(FileExists(output)) << c.depth;
    }
    // The deepest depth that fits is written as it is.
    ASSERT_TRUE(WriteQtx(set, wave, 2, 2147482.5, 0.5));
    EXPECT_EQ(Run(T::ConvertQtxToSegy, set, {0}), 1);
}

} // namespace
