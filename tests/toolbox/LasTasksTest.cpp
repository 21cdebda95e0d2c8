#include "toolbox/ToolTasks.h"
#include "toolbox/ToolsWnd.h"

#include "platform/Endian.h"
#include "dataset/QtxLayout.h"
#include "platform/BinaryFile.h"
#include "platform/Format.h"
#include "res/ResourceIds.h"
#include "settings/SettingsStore.h"
#include "settings/UtilitiesSetupGroup.h"
#include "toolbox/LasImportFixture.h"
#include "support/HostFixture.h"
#include "support/KilledWriter.h"
#include "support/LasBuilder.h"
#include "support/QtxBuilder.h"
#include "support/TempDir.h"

#include <algorithm>
#include <bit>
#include <iterator>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <sstream>

namespace {

using T = ToolTask;

const std::string kSeveral = "Wrote one value a frame of the curves holding several (a fast channel's at the "
                             "frame's depth, else the first) to file :\n";
const std::string kUtf16 = "Found UTF-16 text, which this import does not read (save the file as ASCII or UTF-8 "
                           "text), in LAS file :\n";

// ASCII text as UTF-16: after a byte-order mark, each character with a NUL byte.
std::string Utf16(const std::string& text, const std::string& mark, bool bigEndian)
{
    std::string wide = mark;
    for (char c : text) wide += bigEndian ? std::string{'\0', c} : std::string{c, '\0'};
    return wide;
}

std::string Four(std::string name)
{
    name.resize(4, ' ');
    return name;
}

// A LAS file as read here with streams and strtod, apart from the reader under test:
// the curve mnemonics after the depth and every data row.
struct LasReading {
    std::vector<std::string> curves;
    std::vector<std::vector<double>> rows;
};

LasReading ReadIndependently(std::string text)
{
    text = text.substr(0, text.find('\x1A'));
    std::istringstream in(text);
    LasReading r;
    char section = ' ';
    bool depth = false, wrapped = false;
    std::vector<double> step; // a wrapped step's values so far
    for (std::string line; std::getline(in, line);) {
        if (line.starts_with('~')) {
            section = line.size() > 1 ? line[1] : ' ';
            continue;
        }
        if (section == 'V' && line.find("WRAP") != std::string::npos) wrapped = line.find("YES") != std::string::npos;
        if (section == 'C' && !line.starts_with('#') && line.find('.') != std::string::npos) {
            std::istringstream name(line.substr(0, line.find('.')));
            std::string mnemonic;
            name >> mnemonic;
            if (depth) r.curves.push_back(mnemonic);
            depth = true;
        } else if (section == 'A') {
            std::istringstream fields(line);
            std::vector<double> row;
            for (std::string f; fields >> f;) row.push_back(std::strtod(f.c_str(), nullptr));
            if (!wrapped && !row.empty()) r.rows.push_back(row);
            // Wrapped: a step holds the depth and every curve's value, over as many lines.
            step.insert(step.end(), row.begin(), row.end());
            if (wrapped && step.size() >= r.curves.size() + 1) {
                r.rows.push_back(step);
                step.clear();
            }
        }
    }
    return r;
}

class LasTasksTest : public LasImportFixture {
protected:
    // The output holds the file's curves, one frame per row with the row's depth and values.
    void ExpectImported(const std::string& text, const std::string& what)
    {
        const LasReading r = ReadIndependently(text);
        const QtxImage out = LoadQtx(output);
        ASSERT_EQ(out.descriptors.size(), r.curves.size()) << what;
        for (size_t c = 0; c < r.curves.size(); ++c) {
            EXPECT_EQ(std::string(out.descriptors[c].mnemonic, 4), Four(r.curves[c].substr(0, 4))) << what;
            EXPECT_EQ(out.descriptors[c].category, 6);
            EXPECT_EQ(out.descriptors[c].traceCount, 1);
        }
        ASSERT_EQ(out.depths.size(), r.rows.size()) << what;
        EXPECT_EQ(out.header.frameCount, r.rows.size()) << what;
        for (size_t k = 0; k < r.rows.size(); ++k) {
            ASSERT_EQ(r.rows[k].size(), r.curves.size() + 1) << what << " row " << k;
            EXPECT_EQ(out.depths[k], r.rows[k][0]) << what << " row " << k;
            for (size_t c = 0; c < r.curves.size(); ++c)
                EXPECT_EQ(out.frames[k][c], float(r.rows[k][c + 1])) << what << " row " << k << " curve " << c;
        }
        const bool down = r.rows[1][0] > r.rows[0][0];
        EXPECT_EQ(out.header.logDirection, down ? 0xFF : 1) << what;
        EXPECT_EQ(out.header.depthStep, std::fabs(r.rows[1][0] - r.rows[0][0])) << what;
    }
    std::string OutputText() const
    {
        const std::vector<uint8_t> bytes = ReadBytes(output);
        return std::string(bytes.begin(), bytes.end());
    }
};

// Files that the former fixed-column reader with its bottom depth from the file's last
// bytes cut short, split, or never finished, each read line by line to its end.
TEST_F(LasTasksTest, LasFilesAreImportedLineByLineToTheirEnd)
{
    const auto shape = [](auto change) {
        LasShape s;
        change(s);
        return s;
    };
    const struct {
        const char* what;
        LasShape shape;
        uint8_t units;
    } cases[] = {
        {"plain", LasShape{}, 0xFF},
        {"CR LF, up, feet", shape([](LasShape& s) { s.lineEnd = "\r\n", s.unit = "FT", s.depths = {1001.5, 1001, 1000.5}; }), 1},
        {"no final line feed", shape([](LasShape& s) { s.finalLineEnd = false, s.unit = "F"; }), 1},
        {"trailing blank lines", shape([](LasShape& s) { s.tail = "\n  \n\t\n"; }), 0xFF},
        {"Ctrl-Z after the text", shape([](LasShape& s) { s.lineEnd = "\r\n", s.tail = "\x1A garbage"; }), 0xFF},
        {"Ctrl-Z ends the last line", shape([](LasShape& s) { s.finalLineEnd = false, s.tail = "\x1A"; }), 0xFF},
        {"tabs", shape([](LasShape& s) { s.delimiter = "TAB", s.separator = "\t"; }), 0xFF},
        {"version 1.2, short and long names", shape([](LasShape& s) { s.version = "1.2", s.curves = {"GR", "SPEED"}; }), 0xFF},
        {"version 3.0", shape([](LasShape& s) { s.version = "3.0", s.parameterSection = false; }), 0xFF},
        {"depth column wider on later lines", shape([](LasShape& s) { s.depths = {999, 999.5, 1000, 1000.5}; }), 0xFF},
        {"a section after the data", shape([](LasShape& s) { s.tail = "~Other\n 1.0 2.0 3.0\n"; }), 0xFF},
        {"up by an eighth", shape([](LasShape& s) { s.depths = {1670, 1669.875}; }), 0xFF},
    };
    for (const auto& c : cases) {
        const std::string text = LasText(c.shape);
        if (c.shape.curves.size() > 1 && c.shape.curves[1] == "SPEED")
            host.ExpectMessage("Imported file :\n" + input +
                               "\nStored 1 curve(s) under the first four characters of their names: SPEED as SPEE.");
        ASSERT_EQ(Import(text), 1) << c.what;
        ExpectImported(text, c.what);
        EXPECT_EQ(LoadQtx(output).header.depthUnits, c.units) << c.what;
    }
    // The history names the file and the depths it spans.
    const std::string history(LoadQtx(output).header.history, qtx::kHistorySize);
    const std::string lines = " \r\n\r\n*** Input data : " + input
                              + "\r\n*** Depth range :  1669.8750 -  1670.0000  [m]\r\n*** Tools (Convert LAS to QTX)";
    EXPECT_EQ(history.substr(0, lines.size()), lines);
}

// Refusals leave no output, also when the fault is found after frames were written.
TEST_F(LasTasksTest, WhatCannotBeReadRightIsRefusedWithAMessage)
{
    const auto text = [](auto change) {
        LasShape s;
        change(s);
        return LasText(s);
    };
    const auto edit = [](std::string t, const std::string& from, const std::string& to) {
        return t.replace(t.find(from), from.size(), to);
    };
    const std::string plain = LasText({});
    const std::string line3 = "1001.0000  10.5000  20.5000  30.5000"; // neither first, second nor last
    const auto table = [](std::vector<std::string> names) {
        TxtShape s;
        s.names = names;
        return TxtText(s);
    };
    const std::string tens = table({"DTCO"});
    const std::string formatError = "Format error in file :\n" + input + "\n";
    const std::string noLogData = "Found no log data section (~A, or ~Log_Data in LAS 3.0) in LAS file :\n";
    const std::string cannotOpen = "Could not open input file :\n" + input + "\n";
    TxtShape oneLine;
    oneLine.depths = {1000.0};
    const struct {
        std::string text;
        std::string message; // the path follows
        T task = T::ConvertLasToQtx;
        std::string awaited = ""; // a text that ends early: what it ended before, said after the path
    } cases[] = {
        {text([](LasShape& s) { s.firstLine = "# a LAS file"; }), "Error skiping header section in LAS file :\n"},
        {text([](LasShape& s) { s.version = ""; }), "Urecognized version in LAS file :\n"},
        // Wrapped: the last step cut short is named, never read as a shorter row.
        {edit(text([](LasShape& s) { s.wrap = "YES"; }), "1001.5000  10.7500  20.7500  30.7500\n", "1001.5000  10.75"),
         formatError + "Line 23 holds 2 field(s) where the depth and 3 curve(s) need 4."},
        // ... and a step of three lines is named by its last.
        {edit(text([](LasShape& s) { s.wrap = "YES"; }), line3, "1001.0000\n  10.5000  20.5000\n 30.5000x"),
         formatError + "Line 24 holds a field that is no number."},
        {text([](LasShape& s) { s.delimiter = "COMMA"; }), "Data lines delimited by COMMA are not supported in LAS file :\n"},
        {text([](LasShape& s) { s.unit = "S"; }), "Error searching for depth units header section in LAS file :\n"},
        {plain.substr(0, plain.find("~PARAMETER")), "Error reading header section in LAS file :\n", T::ConvertLasToQtx,
         "its log data section (~A)"},
        {edit(plain, "~A", "#A"), noLogData, T::ConvertLasToQtx, "its log data section (~A)"},
        // LAS 3.0 with core data alone: no log to import.
        {edit(edit(edit(plain, "2.0 :", "3.0 :"), "~CURVE INFORMATION", "~Core_Definition"), "~A  DEPTH",
              "~Core_Data | Core_Definition"),
         noLogData, T::ConvertLasToQtx, "its log data section (~A)"},
        // Empty, zero-filled (as a crash leaves a file) and short inputs name their cause.
        {"", cannotOpen + "The file is empty."},
        {"", cannotOpen + "The file is empty.", T::ImportTxtDataSet},
        {std::string(5000, '\0'), cannotOpen + "The file holds zero bytes only (5000), no text."},
        {std::string(100000, '\0'), cannotOpen + "The file begins with 65536 zero bytes, no text.", T::ImportTxtDataSet},
        {"\xEF\xBB\xBF", "Error skiping header section in LAS file :\n" + input + "\nThe file holds no line of text."},
        {"* table\nno meaning\n3\nDTCO\n", "Error reading header section in TXT file :\n", T::ImportTxtDataSet,
         "its 2 curve names"},
        {TxtText(oneLine), "Error getting top depth in file :\n", T::ImportTxtDataSet, "its second data line"},
        {Utf16(plain, "\xFF\xFE", false), kUtf16},
        {Utf16(plain, "\xFE\xFF", true), kUtf16},
        {Utf16(plain, "", false), kUtf16},
        // Two curve lists by one name: which the data are under cannot be told.
        {edit(plain, "~PARAMETER", "~Curve again\n DEPT.M :\n X.M :\n~PARAMETER"),
         "Found 2 curve sections (CURVE INFORMATION, Curve again) the data section ~A  DEPTH may "
         "belong to, and cannot tell which, in LAS file :\n"},
        {text([](LasShape& s) { s.depths = {}; }), "Error searching data line in file :\n", T::ConvertLasToQtx,
         "its first data line"},
        {text([](LasShape& s) { s.depths = {NAN}; }), "Encountered invalid depth step in file :\n"},
        {text([](LasShape& s) { s.depths = {1000, 1000, 1000.5}; }), "Encountered invalid depth step in file :\n"},
        {edit(plain, " GR .", "#GR ."), "Found 4 data columns for 3 curves (the depth included) in LAS file :\n"},
        {text([](LasShape& s) { s.curves = {}; }), "Could not find any data to be converted!"},
        // A line is named with what is wrong with it, never read as a shorter row.
        {edit(plain, line3, "1001.0000  10.5000  20.5000"),
         formatError + "Line 22 holds 3 field(s) where the depth and 3 curve(s) need 4."},
        {edit(plain, line3, "1001.0000  10.5000  20.5000x 30.5000"), formatError + "Line 22 holds a field that is no number."},
        {edit(plain, "1001.5000  10.7500  20.7500  30.7500\n", "1001.5000  10.75"), // a cut last line
         formatError + "Line 23 holds 2 field(s) where the depth and 3 curve(s) need 4."},
        {edit(plain, line3, line3 + "  1.0"), formatError + "Line 22 holds 5 field(s) where the depth and 3 curve(s) need 4."},
        {edit(plain, line3, line3 + std::string(20000, ' ')),
         "Line 22 is too long in file :\n" + input +
             "\nA line may hold at most 16384 characters: split the file into files of fewer curves.\n"
             "Operation will be abandoned."},
        {table({}), "Encountered 1 columns (2 to 102 allowed) in file :\n", T::ImportTxtDataSet},
        {table(std::vector<std::string>(102, "GR")), "Encountered 103 columns (2 to 102 allowed) in file :\n",
         T::ImportTxtDataSet},
        // The count the line holds, not a stand-in: a table whose count line is a data line.
        {"* table\nno meaning\n1000.0000 10.5\n", "Encountered 1000 columns (2 to 102 allowed) in file :\n",
         T::ImportTxtDataSet},
        {"* table\nno meaning\n12345678901234567890\n",
         "Encountered more than 999999999 columns (2 to 102 allowed) in file :\n", T::ImportTxtDataSet},
        // A blank name is named by its column, the depth's the first, and its line.
        {table({"DTCO", "  ", "GR"}),
         "Error reading header section in TXT file :\n" + input + "\nThe curve name of column 3 (line 6) is blank.",
         T::ImportTxtDataSet},
        {"no meaning\n2\n\t\n 1000.0000    1.0000\n",
         "Error reading header section in TXT file :\n" + input + "\nThe curve name of column 2 (line 3) is blank.",
         T::ImportTxtDataSet},
        {"* table\n* only\n", "Error skiping header section in file :\n", T::ImportTxtDataSet, "the line after its comments"},
        {"* table\nno meaning\n", "Error reading number of curves in file :\n", T::ImportTxtDataSet, "its column count"},
        // A value wider than its ten characters leaves no whole number in the next column.
        {edit(tens, " 1000.5000", "100000.5000"),
         formatError + "Line 7 does not hold 2 numbers in columns of ten characters.", T::ImportTxtDataSet},
    };
    for (const auto& c : cases) {
        const std::string lines = std::to_string(std::count(c.text.begin(), c.text.end(), '\n'));
        host.ExpectMessage(c.message.back() != '\n' ? c.message
                           : c.awaited.empty()       ? c.message + input
                               : c.message + input + "\nThe text ends after " + lines + " lines, before " + c.awaited + ".");
        EXPECT_EQ(Import(c.text, c.task), -1) << c.message;
        EXPECT_FALSE(FileExists(output)) << c.message;
        EXPECT_EQ(PartialOutputsIn(dir.Path()), std::vector<std::string>()) << c.message;
    }
}

// Every file of the public LAS collection: imported as it reads, or refused with a message.
TEST_F(LasTasksTest, EverySharedLasFileIsImportedAsItReadsOrRefused)
{
    const std::string data = SharedDataDir();
    if (data.empty()) GTEST_SKIP() << "../shared/data is absent";
    const std::map<std::string, std::string> refused = {
        {"sample_2.0_based.las", "Error searching for depth units"}, // a time log: STRT in seconds
        // Three lines (1670, 1669.875, 1669.75) repeated: its depths turn back every third line.
        {"sample_big.las", "Encountered invalid depth step in file :\n"},
    };
    host.onUnexpected = nullptr;
    int imported = 0, refusals = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(data + "/las")) {
        if (entry.path().extension() != ".las") continue;
        const std::string name = entry.path().filename().string();
        host.ClearMessages();
        const std::vector<uint8_t> bytes = ReadBytes(entry.path().string());
        const int result = Run(T::ConvertLasToQtx, entry.path().string());
        if (refused.count(name)) {
            ++refusals;
            EXPECT_EQ(result, -1) << name;
            ASSERT_EQ(host.Messages().size(), 1u) << name;
            EXPECT_EQ(host.Messages()[0].text.find(refused.at(name)), 0u) << host.Messages()[0].text;
            EXPECT_FALSE(FileExists(output)) << name;
            continue;
        }
        ++imported;
        EXPECT_EQ(result, 1) << name;
        // Every unit the data set has no code for is named, as the file writes it; one
        // file's curves Speed and Gamma are kept under four characters, and the end says so.
        const std::string units = "\nStored %d curve(s) without their units, which the data set cannot hold: ";
        const std::string sample = Format(units.c_str(), 6) + "RHOB [K/M3], NPHI [%s], %s [OHMM], SFLA [OHMM], ILM [OHMM], ILD [OHMM].";
        const std::string volumes = Format(sample.c_str(), "VOL/VOL", "MSFL");
        std::map<std::string, std::string> told = {
            {"issue-264-dot-delimiter.las", "\nStored 2 curve(s) under the first four characters of their names: Speed "
                                            "as Spee, Gamma as Gamm." + Format(units.c_str(), 3)
                                            + "Speed [M/MIN], Cond [.MS/M], Gamma [CPS]."},
            {"sample_minimal.las", volumes}, {"sample_2.0_minimal.las", volumes}, {"sample_curve_api.las", volumes}};
        const std::string wrapped = Format(units.c_str(), 23) + "RHOB [K/M], NPHI [V/V], RX0 [OHMM], RESS [OHMM], "
            "RESM [OHMM], RESD [OHMM], GR [GAPI], CALI [MM], DRHO [K/M3], EATT [DBM], TPL [NS/M], FFI [V/V], DCAL [MM], "
            "RHGF [K/M3], RHGA [K/M3], GRC [GAPI] and 7 more, listed in the data set's history.";
        for (const char* w : {"sample_wrapped.las", "sample_2.0_wrapped.las"}) told[w] = wrapped;
        const std::string list = told.count(name) ? told[name] : Format(sample.c_str(), "V/V", "SFLU");
        EXPECT_EQ(MessageTexts(), std::vector<std::string>{"Imported file :\n" + entry.path().string() + list}) << name;
        ExpectImported(std::string(bytes.begin(), bytes.end()), name);
        EXPECT_EQ(LoadQtx(output).header.depthUnits, 0xFF) << name;
    }
    EXPECT_EQ(refusals, 2);
    EXPECT_GE(imported, 18); // the two wrapped files among them
    std::printf("shared LAS files: %d imported, %d refused\n", imported, refusals);
}

// Export: the frame's own depth and each selected single-value curve, "%11.4f" where the
// column's values fit it, a column one blank wider than its widest value where they do
// not; what is no number becomes the NULL value, counted; a data set says feet unless
// its flag says metres.
TEST_F(LasTasksTest, ExportWritesTheSelectedCurvesInSeparatedFields)
{
    const std::vector<QtxDatumShape> datums = {
        {.mnemonic = "GR", .category = 6, .unit = 0xFF},
        {.mnemonic = "WAVE", .typeCode = 26, .category = 1, .traces = 2, .samples = 4},
        {.mnemonic = "D.T", .category = 6, .unit = 0xFF},
        // three values a frame: the first, told; its unit as LAS names it
        {.mnemonic = "SLOW", .category = 6, .samples = 3, .unit = 2},
    };
    const float gr[] = {0.5f, 123456.75f, NAN};
    const auto sample = [&](int frame, int datum, size_t index) {
        return datum == 0 ? gr[frame] : datum == 2 ? -1.5f : DefaultSample(frame, datum, index);
    };
    const struct {
        uint8_t direction, units;
        int frames;
        std::vector<int> selected;
        std::string start, step;        // the STRT and STEP lines
        std::vector<std::string> lines; // after the depth curve
    } cases[] = {
        {0xFF, 1, 3, {0, 1, 2, 3},
         " STRT.F              1000.0000:", " STEP.F                 0.5000:",
         {" GR  .                        :", " D_T .                        :", " SLOW.US/F                    :",
          "~A DEPT         GR         D_T        SLOW   ", "  1000.0000      0.5000    -1.5000   300.0000",
          "  1000.5000 123456.7500    -1.5000  1300.0000", "  1001.0000   -999.2500    -1.5000  2300.0000"}},
        {1, 0, 2, {0},
         " STRT.F              1000.5000:", " STEP.F                -0.5000:",
         {" GR  .                        :", "~A DEPT         GR     ", "  1000.5000      0.5000",
          "  1000.0000 123456.7500"}},
        {0xFF, 1, 1, {0}, // one frame: its line is written
         " STRT.F              1000.0000:", " STEP.F                 0.5000:",
         {" GR  .                        :", "~A DEPT         GR     ", "  1000.0000     0.5000"}},
    };
    const std::string set = dir.File("set.qtx");
    output = dir.File("set.las");
    for (const auto& c : cases) {
        const bool up = c.direction == 1;
        ASSERT_TRUE(WriteQtx(set, datums, c.frames, up ? 1000.5 : 1000.0, up ? -0.5 : 0.5, sample, c.direction));
        PatchQtxHeader(set, [&](QtxFileHeader& h) { h.depthUnits = c.units; });
        Select(c.selected, 4);
        const std::string nan = "\n1 value(s) that are no number or infinite were written as the NULL value -999.2500.";
        const bool gr = std::count(c.selected.begin(), c.selected.end(), 0) && c.frames == 3;
        const std::string mended = "\nRenamed the curves whose names LAS readers would not read as they stand: D.T as D_T.";
        const bool dt = std::count(c.selected.begin(), c.selected.end(), 2);
        const std::string wave = std::count(c.selected.begin(), c.selected.end(), 1)
                                     ? "\nLeft out 1 selected datum(s) that are no curve: WAVE." : "";
        if (std::count(c.selected.begin(), c.selected.end(), 3))
            host.ExpectMessage(kSeveral + output + "\nSLOW (3)." + (dt ? mended : "") + wave + (gr ? nan : ""));
        else if (gr)
            host.ExpectMessage("Wrote file :\n" + output + nan);
        ASSERT_EQ(Run(T::ConvertQtxToLas, set), 1);
        std::vector<std::string> lines;
        std::istringstream text(OutputText());
        for (std::string line; std::getline(text, line);) lines.push_back(line);
        ASSERT_EQ(lines.size(), 32 + c.lines.size()) << OutputText();
        EXPECT_EQ(std::pair(lines[6], lines[8]), std::pair(c.start, c.step));
        EXPECT_EQ(std::vector<std::string>(lines.begin() + 32, lines.end()), c.lines);
    }
    // A stop before the first data line writes nothing, says so and keeps an older file;
    // an empty selection opens nothing.
    for (const bool older : {false, true}) {
        std::filesystem::remove(output);
        if (older) WriteBytes(output, {'o', 'l', 'd'});
        host.ScriptDialog(kIddProgress).Pumps(1).Press(IDCANCEL);
        host.ExpectMessage("Are you sure you want to stop processing?", IDYES);
        host.ExpectMessage("Stopped before the first line was written to file :\n" + output + "\nNothing was written: " +
                           (older ? "the existing file is unchanged." : "no file was made."));
        auto e = std::make_unique<CToolsWnd>();
        e->Settings().outputPath = output;
        e->Settings().outputConfirmed = true;
        EXPECT_EQ(RunToolTask(*e, T::ConvertQtxToLas, set), -1);
        const std::vector<uint8_t> kept = FileExists(output) ? ReadBytes(output) : std::vector<uint8_t>();
        EXPECT_EQ(kept, older ? std::vector<uint8_t>({'o', 'l', 'd'}) : std::vector<uint8_t>());
        EXPECT_EQ(PartialOutputsIn(dir.Path()), std::vector<std::string>());
    }
    Select({}, 4);
    host.ExpectMessage("Encountered empty selection list!\nOperation will be abandoned.");
    EXPECT_EQ(Run(T::ConvertQtxToLas, set), -1);
    EXPECT_FALSE(FileExists(output));
}

// Selected datums that are no curve (waveforms, slowness, azimuth, semblance) have no
// column: the end names them, and a selection of no curve writes nothing, an older file
// under the name kept byte for byte, without the question whether to replace it.
TEST_F(LasTasksTest, ExportNamesTheSelectedDatumsThatAreNoCurve)
{
    std::vector<QtxDatumShape> datums = {
        {.mnemonic = "GR", .category = 6},
        {.mnemonic = "WAVE", .typeCode = 26, .category = 1, .traces = 2, .samples = 4},
        {.mnemonic = "SLOW", .category = 3, .samples = 4},
        {.mnemonic = "AZIM", .category = 4, .samples = 4},
        {.mnemonic = "SEMB", .category = 5, .samples = 4},
    };
    for (int k = 1; k <= 5; ++k) datums.push_back({.mnemonic = "WF0" + std::to_string(k), .category = 1, .samples = 4});
    const std::string nine = "9 selected datum(s) that are no curve: WAVE, SLOW, AZIM, SEMB, WF01, WF02, WF03, WF04 "
                             "and 1 more.";
    const struct {
        std::vector<int> selected;
        std::string leftOut; // the end's line, or the refusal's
        bool written;
    } cases[] = {
        {{0}, "", true},
        {{0, 1}, "1 selected datum(s) that are no curve: WAVE.", true},
        {{0, 1, 2, 3, 4}, "4 selected datum(s) that are no curve: WAVE, SLOW, AZIM, SEMB.", true},
        {{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, nine, true},
        {{1}, "1 selected datum(s) that are no curve: WAVE.", false},
        {{1, 2, 3}, "3 selected datum(s) that are no curve: WAVE, SLOW, AZIM.", false},
        {{1, 2, 3, 4, 5, 6, 7, 8, 9}, nine, false},
    };
    const std::string set = dir.File("set.qtx");
    ASSERT_TRUE(WriteQtx(set, datums, 3));
    output = dir.File("set.las");
    for (const auto& c : cases) {
        const std::vector<uint8_t> older = {'o', 'l', 'd', '\r', '\n'};
        WriteBytes(output, older);
        Select(c.selected, int(datums.size()));
        if (c.written && !c.leftOut.empty()) host.ExpectMessage("Wrote file :\n" + output + "\nLeft out " + c.leftOut);
        if (!c.written)
            host.ExpectMessage("Found no curve among the selected items of file :\n" + set + "\nLeft out " + c.leftOut +
                               "\nOperation will be abandoned.");
        auto e = std::make_unique<CToolsWnd>();
        e->Settings().outputPath = output;
        e->Settings().outputConfirmed = c.written; // a refusal asks nothing
        EXPECT_EQ(RunToolTask(*e, T::ConvertQtxToLas, set), c.written ? 1 : -1) << c.leftOut;
        if (c.written) {
            const LasReading r = ReadIndependently(OutputText());
            EXPECT_EQ(r.curves, std::vector<std::string>{"GR"}) << c.leftOut;
            EXPECT_EQ(r.rows.size(), 3u) << c.leftOut;
        } else {
            EXPECT_EQ(ReadBytes(output), older) << c.leftOut;
        }
        EXPECT_EQ(PartialOutputsIn(dir.Path()), std::vector<std::string>()) << c.leftOut;
    }
}

// A run stopped while it writes its lines keeps them, and STOP names the last one's depth;
// the header keeps its columns.
TEST_F(LasTasksTest, AStoppedExportsStopIsItsLastLinesDepth)
{
    const std::string set = dir.File("long.qtx");
    output = dir.File("long.las");
    ASSERT_TRUE(WriteQtx(set, {{.mnemonic = "GR", .category = 6, .unit = 0xFF}}, 192));
    Select({0}, 1);
    // Three blocks of 64 frames measured, then one written.
    host.ScriptDialog(kIddProgress).Pumps(2 * 4 + 1).Press(IDCANCEL);
    host.ExpectMessage("Are you sure you want to stop processing?", IDYES);
    ASSERT_EQ(Run(T::ConvertQtxToLas, set), 1);
    std::vector<std::string> lines;
    std::istringstream text(OutputText());
    for (std::string line; std::getline(text, line);) lines.push_back(line);
    ASSERT_EQ(lines.size(), 32u + 2u + 64u);
    EXPECT_EQ(std::pair(lines[6], lines[7]),
              std::pair(std::string(" STRT.F              1000.0000:"), std::string(" STOP.F              1031.5000:")));
    EXPECT_EQ(lines.back().substr(0, 11), "  1031.5000");
}

// A fast channel's samples lie back from the frame's depth to its last one: the line of a
// depth carries the sample that stands there.
TEST_F(LasTasksTest, ExportGivesAFastCurvesSampleAtTheFramesDepth)
{
    const std::vector<QtxDatumShape> datums = {
        {.mnemonic = "FAST", .category = 6, .samples = 3, .unit = 0xFF, .step = 0.1667f, .first = uint16_t(-2)},
    };
    const auto sample = [](int frame, int, size_t index) { return float(frame) + 0.25f * float(index); };
    const std::string set = dir.File("fast.qtx");
    output = dir.File("fast.las");
    ASSERT_TRUE(WriteQtx(set, datums, 2, 1000.0, 0.5, sample));
    Select({0}, 1);
    host.ExpectMessage(kSeveral + output + "\nFAST (3).");
    ASSERT_EQ(Run(T::ConvertQtxToLas, set), 1);
    const std::string text = OutputText();
    EXPECT_NE(text.find("  1000.0000     0.5000\n"), std::string::npos) << text;
    EXPECT_NE(text.find("  1000.5000     1.5000\n"), std::string::npos) << text;
}

// Every selected curve datum has its column, whatever it holds a frame: several traces,
// rows or samples give their first value, a fast channel its sample at the frame's depth,
// and the end names each with its count of values.
TEST_F(LasTasksTest, ExportGivesEveryCurveDatumItsColumn)
{
    const struct {
        QtxDatumShape shape;
        size_t index; // of the value its column holds
    } cases[] = {
        {{.mnemonic = "GR", .category = 6}, 0},
        {{.mnemonic = "TT", .category = 6, .traces = 2}, 0},
        {{.mnemonic = "ARR", .category = 6, .traces = 3, .samples = 2}, 0},
        {{.mnemonic = "IMG", .category = 6, .samples = 2, .samples2 = 3}, 0},
        {{.mnemonic = "FAST", .category = 6, .samples = 3, .step = 0.1667f, .first = uint16_t(-2)}, 2},
    };
    std::vector<QtxDatumShape> datums;
    for (const auto& c : cases) datums.push_back(c.shape);
    const std::string set = dir.File("set.qtx");
    output = dir.File("set.las");
    ASSERT_TRUE(WriteQtx(set, datums, 3));
    Select({0, 1, 2, 3, 4}, 5);
    host.ExpectMessage(kSeveral + output + "\nTT (2), ARR (6), IMG (6), FAST (3).");
    ASSERT_EQ(Run(T::ConvertQtxToLas, set), 1);
    const LasReading r = ReadIndependently(OutputText());
    EXPECT_EQ(r.curves, (std::vector<std::string>{"GR", "TT", "ARR", "IMG", "FAST"}));
    ASSERT_EQ(r.rows.size(), 3u);
    for (size_t k = 0; k < r.rows.size(); ++k) {
        ASSERT_EQ(r.rows[k].size(), std::size(cases) + 1);
        for (size_t c = 0; c < std::size(cases); ++c)
            EXPECT_EQ(float(r.rows[k][c + 1]), DefaultSample(int(k), int(c), cases[c].index)) << r.curves[c] << k;
    }
}

// Names LAS readers would take otherwise (a "#" first makes a comment, a "~" a section,
// "." and ":" end the mnemonic) are mended and listed, and the file imports back.
TEST_F(LasTasksTest, ExportedNamesAreReadBackByTheImport)
{
    const struct {
        std::string mnemonic, written, imported;
    } cases[] = {
        {"#GR", "_GR ", "_GR "}, {"~DT", "_DT ", "_DT "}, {"D.T", "D_T ", "D_T "}, {"A:B", "A_B ", "A_B "},
        {" #X", " _X ", "_X  "}, {"X#~Y", "X#~Y", "X#~Y"}, {"RHOB", "RHOB", "RHOB"},
    };
    std::vector<QtxDatumShape> datums;
    std::vector<int> all;
    for (const auto& c : cases) {
        all.push_back(int(datums.size()));
        datums.push_back({.mnemonic = c.mnemonic, .category = 6});
    }
    const std::string set = dir.File("set.qtx"), las = dir.File("set.las");
    ASSERT_TRUE(WriteQtx(set, datums, 3));
    Select(all, int(datums.size()));
    output = las;
    host.ExpectMessage("Wrote file :\n" + las + "\nRenamed the curves whose names LAS readers would not read as "
                       "they stand: #GR as _GR, ~DT as _DT, D.T as D_T, A:B as A_B,  #X as  _X.");
    ASSERT_EQ(Run(T::ConvertQtxToLas, set), 1);
    const std::string text = OutputText();
    output = dir.File("back.qtx");
    ASSERT_EQ(Run(T::ConvertLasToQtx, las), 1) << text;
    const std::vector<std::string> back = Mnemonics(LoadQtx(output));
    ASSERT_EQ(back.size(), std::size(cases));
    for (size_t k = 0; k < back.size(); ++k) {
        EXPECT_NE(text.find("\n " + cases[k].written + "."), std::string::npos) << cases[k].mnemonic;
        EXPECT_EQ(back[k], cases[k].imported) << cases[k].mnemonic;
    }
}

// An output that cannot be written is refused before the input's data are read: each of
// these inputs has a fault a pass over its data would report first.
TEST_F(LasTasksTest, AnOutputThatCannotBeWrittenOrIsTheInputIsRefusedBeforeTheDataAreRead)
{
    const std::string set = dir.File("set.qtx");
    ASSERT_TRUE(WriteQtx(set, {{.mnemonic = "GR", .category = 6}}, 3));
    std::vector<uint8_t> bytes = ReadBytes(set);
    endian::PutLEDouble(bytes.data() + qtx::DataStart(1) + (qtx::kDepthSize + 4), NAN); // the middle frame's depth
    WriteBytes(set, bytes);
    Select({0}, 1);
    LasShape backwards;
    backwards.depths = {1000.0, 1000.5, 999.0, 1001.5};
    TxtShape table;
    table.depths = {1000.0, 1000.5, 999.0};
    const struct {
        T task;
        std::string text; // the input; empty: the data set
    } cases[] = {{T::ConvertLasToQtx, LasText(backwards)}, {T::ImportTxtDataSet, TxtText(table)}, {T::ConvertQtxToLas, ""}};
    const std::string missing = dir.File("missing/out");
    host.onUnexpected = nullptr;
    // An output in no folder, and the input itself: refused alike, the input untouched.
    for (const bool overInput : {false, true})
        for (const auto& c : cases) {
            const std::string in = c.text.empty() ? set : input;
            if (!c.text.empty()) WriteBytes(input, std::vector<uint8_t>(c.text.begin(), c.text.end()));
            const std::vector<uint8_t> before = ReadBytes(in);
            auto e = std::make_unique<CToolsWnd>();
            e->Settings().outputPath = overInput ? in : missing;
            host.ClearMessages();
            EXPECT_EQ(RunToolTask(*e, c.task, in), -1);
            ASSERT_EQ(host.Messages().size(), 1u) << in;
            const std::string told = overInput ? "Output file is the same as input file :\n" + in + "\nOperation will be abandoned."
                                               : "Could not open output file :\n" + missing;
            EXPECT_EQ(host.Messages()[0].text.find(told), 0u) << host.Messages()[0].text;
            EXPECT_EQ(ReadBytes(in), before);
            EXPECT_EQ(PartialOutputsIn(dir.Path()), std::vector<std::string>());
        }
}

TEST_F(LasTasksTest, ExportThenImportGivesBackTheCurves)
{
    const std::vector<QtxDatumShape> datums = {
        {.mnemonic = "DTCO", .typeCode = 158, .category = 6, .unit = 2},
        {.mnemonic = "WAVE", .typeCode = 26, .category = 1, .traces = 2, .samples = 4},
        {.mnemonic = "GR", .category = 6},
    };
    const auto sample = [](int frame, int datum, size_t) { return float(datum * 100 - frame) + 0.125f * float(frame); };
    const std::string set = dir.File("set.qtx"), las = dir.File("set.las");
    for (const uint8_t direction : {uint8_t(0xFF), uint8_t(1)}) {
        const bool up = direction == 1;
        ASSERT_TRUE(WriteQtx(set, datums, 300, up ? 1100.0 : 1000.0, up ? -0.25 : 0.25, sample, direction));
        Select({0, 1, 2}, 3);
        output = las;
        host.ExpectMessage("Wrote file :\n" + las + "\nLeft out 1 selected datum(s) that are no curve: WAVE.");
        ASSERT_EQ(Run(T::ConvertQtxToLas, set), 1);
        output = dir.File("back.qtx");
        ASSERT_EQ(Run(T::ConvertLasToQtx, las), 1);
        const QtxImage in = LoadQtx(set), out = LoadQtx(output);
        ASSERT_EQ(out.descriptors.size(), 2u);
        EXPECT_EQ(std::string(out.descriptors[0].mnemonic, 4), "DTCO");
        EXPECT_EQ(std::string(out.descriptors[1].mnemonic, 4), "GR  ");
        // Units a data set names come back (microseconds per foot, and the builder's microseconds).
        EXPECT_EQ(std::pair(out.descriptors[0].axis1.unit, out.descriptors[1].axis1.unit), std::pair(uint8_t(2), uint8_t(1)));
        EXPECT_EQ(std::pair(out.header.logDirection, out.header.depthUnits), std::pair(direction, uint8_t(1)));
        EXPECT_EQ(out.header.depthStep, 0.25);
        EXPECT_EQ(out.depths, in.depths);
        ASSERT_EQ(out.frames.size(), in.frames.size());
        for (size_t k = 0; k < in.frames.size(); ++k) {
            EXPECT_EQ(out.frames[k][0], in.frames[k][0]) << k;
            EXPECT_EQ(out.frames[k][1], in.frames[k].back()) << k;
        }
    }
}

// What LAS readers take from the header and the lines: STRT and STOP are the first and
// last lines' depths, STEP the step between every two (0 where the frames are not evenly
// spaced); depths keep the decimals that give them back (a step of an inch).
TEST_F(LasTasksTest, ExportedHeadersAndLinesAreWhatLasReadersTake)
{
    const std::string set = dir.File("set.qtx"), las = dir.File("set.las");
    const auto header = [](const std::string& text, const std::string& item) {
        const size_t at = text.find("\n " + item + ".");
        const size_t end = text.find(':', at);
        return std::strtod(text.substr(text.find(' ', at + 6), end).c_str(), nullptr);
    };
    // Depths off their step (kept as the frames hold them), and a step of an inch.
    const struct {
        std::vector<double> depths; // empty: 30 frames from 100 ft by an inch
        double step;                // STEP
    } cases[] = {{{1000.0, 1000.5, 1001.7, 1002.0}, 0.0}, {{1002.0, 1001.5, 1001.0, 1000.5}, -0.5}, {{}, 1.0 / 12.0}};
    for (const auto& c : cases) {
        const int frames = c.depths.empty() ? 30 : int(c.depths.size());
        ASSERT_TRUE(WriteQtx(set, {{.mnemonic = "G R", .category = 6}}, frames, 100.0, 1.0 / 12.0));
        std::vector<uint8_t> bytes = ReadBytes(set);
        for (size_t k = 0; k < c.depths.size(); ++k)
            endian::PutLEDouble(bytes.data() + qtx::DataStart(1) + k * (qtx::kDepthSize + 4), c.depths[k]);
        WriteBytes(set, bytes);
        Select({0}, 1);
        output = las;
        host.ExpectMessage("Wrote file :\n" + las +
                           "\nRenamed the curves whose names LAS readers would not read as they stand: G R as G_R.");
        ASSERT_EQ(Run(T::ConvertQtxToLas, set), 1);
        const std::string text = OutputText();
        const LasReading r = ReadIndependently(text);
        EXPECT_EQ(r.curves, std::vector<std::string>{"G_R"}); // no blank inside a mnemonic
        ASSERT_EQ(r.rows.size(), size_t(frames));
        EXPECT_EQ(header(text, "STRT"), r.rows.front()[0]);
        EXPECT_EQ(header(text, "STOP"), r.rows.back()[0]);
        EXPECT_NEAR(header(text, "STEP"), c.step, 1e-7);
        for (size_t k = 0; k < r.rows.size(); ++k) {
            const double depth = c.depths.empty() ? 100.0 + double(k) / 12.0 : c.depths[k];
            EXPECT_NEAR(r.rows[k][0], depth, 1e-7) << k;
            if (k > 0 && c.step != 0.0) {
                EXPECT_NEAR(r.rows[k][0] - r.rows[k - 1][0], c.step, 1e-7) << k;
            }
        }
    }
}

// The import of the first LAS readers, modelled apart from ours: the first data line's
// fields (a run of non-blanks with the blanks before it and the one blank after it; the
// last to the line's end) fix the columns, every data line is cut at them and each piece
// read by strtod (leading blanks skipped, 0 for none) and narrowed to float. WRAP is not
// read.
std::vector<std::vector<double>> CutAtTheFirstLinesColumns(const std::vector<std::string>& data)
{
    std::vector<size_t> widths;
    const std::string& first = data.at(0);
    for (size_t at = 0, from = 0; at < first.size();) {
        while (at < first.size() && first[at] == ' ') ++at;
        if (at == first.size()) break;
        while (at < first.size() && first[at] != ' ') ++at;
        at = std::min(at + 1, first.size());
        widths.push_back(at - from);
        from = at;
    }
    std::vector<std::vector<double>> rows;
    for (const std::string& line : data) {
        std::vector<double> row;
        for (size_t k = 0, at = 0; k < widths.size(); at += widths[k++])
            row.push_back(std::strtod(at < line.size() ? line.substr(at, widths[k]).c_str() : "", nullptr));
        rows.push_back(row);
    }
    return rows;
}

// 25 curves over 1/12 ft steps at 10,000 ft, the first line's values the narrowest:
// one line a step (WRAP NO), every line as long as the first, and every line cut at the
// first line's columns gives every value back bit for bit in single precision (what is
// no number or infinite as the NULL value, counted in the end message) and the depth to
// its resolution. The file imports back whole. Down, the frames are read in blocks; up,
// beside a waveform that makes each frame larger than a block takes, value by value.
TEST_F(LasTasksTest, EveryDataLineIsCutAtTheFirstLinesColumns)
{
    const float table[] = {6.26e-05f, 12345.678f, -999.25f, 3e7f,     -3e7f,      1e-10f,  123456.75f, 7.038531e-26f,
                           -0.0f,     99999.99f,  1.0f / 3, NAN,      INFINITY,   -INFINITY, 2.5e-38f, -1234567.9f};
    const int frames = 40;
    const std::string set = dir.File("set.qtx"), las = dir.File("set.las");
    for (const uint8_t direction : {uint8_t(0xFF), uint8_t(1)}) {
        const bool up = direction == 1;
        std::vector<QtxDatumShape> datums;
        if (up) datums.push_back({.mnemonic = "WAVE", .typeCode = 26, .category = 1, .traces = 8, .samples = 2100});
        const size_t wave = up ? 8 * 2100 : 0; // floats before the curves
        std::vector<int> all;
        for (int k = 0; k < 25; ++k) {
            all.push_back(int(datums.size()));
            datums.push_back({.mnemonic = "C" + std::to_string(k), .category = 6});
        }
        const auto sample = [&](int frame, int datum, size_t index) {
            if (up && datum == 0) return float(index);
            return frame == 0 ? 0.5f : table[size_t(frame * 7 + datum) % std::size(table)];
        };
        const double top = up ? 10000.0 + (frames - 1) / 12.0 : 10000.0;
        ASSERT_TRUE(WriteQtx(set, datums, frames, top, (up ? -1.0 : 1.0) / 12.0, sample, direction));
        const QtxImage in = LoadQtx(set);
        const auto value = [&](size_t frame, size_t curve) { return in.frames[frame][wave + curve]; };
        int nulls = 0;
        for (size_t k = 0; k < size_t(frames); ++k)
            for (size_t c = 0; c < 25; ++c) nulls += !std::isfinite(value(k, c));
        Select(all, int(datums.size()));
        output = las;
        host.ExpectMessage("Wrote file :\n" + las + "\n" + std::to_string(nulls) +
                           " value(s) that are no number or infinite were written as the NULL value -999.2500.");
        ASSERT_EQ(Run(T::ConvertQtxToLas, set), 1);
        const std::string text = OutputText();
        EXPECT_NE(text.find("\n WRAP.                   NO:   One line per depth step\n"), std::string::npos);
        std::vector<std::string> data;
        std::istringstream lines(text.substr(text.find("\n~A") + 1));
        for (std::string line; std::getline(lines, line);)
            if (!line.starts_with('~')) data.push_back(line);
        ASSERT_EQ(data.size(), size_t(frames));
        for (const std::string& line : data) EXPECT_EQ(line.size(), data[0].size()) << line;
        const std::vector<std::vector<double>> rows = CutAtTheFirstLinesColumns(data);
        for (size_t k = 0; k < rows.size(); ++k) {
            ASSERT_EQ(rows[k].size(), 26u) << data[k];
            EXPECT_NEAR(rows[k][0], in.depths[k], 5e-8) << data[k];
            for (size_t c = 0; c < 25; ++c) {
                const float expected = std::isfinite(value(k, c)) ? value(k, c) : -999.25f;
                EXPECT_EQ(std::bit_cast<uint32_t>(float(rows[k][c + 1])), std::bit_cast<uint32_t>(expected))
                    << "frame " << k << " curve " << c << ": " << data[k];
            }
        }
        output = dir.File("back.qtx");
        ASSERT_EQ(Run(T::ConvertLasToQtx, las), 1);
        const QtxImage back = LoadQtx(output);
        ASSERT_EQ(back.frames.size(), size_t(frames));
        for (size_t k = 0; k < back.frames.size(); ++k)
            for (size_t c = 0; c < 25; ++c)
                EXPECT_EQ(back.frames[k][c], std::isfinite(value(k, c)) ? value(k, c) : -999.25f);
    }
}

// Text tables: columns of ten characters, lines ending in CR LF or LF alone; a curve's
// whole name gives its item type and unit, the depth step the depth unit; names are kept
// apart in their four characters (FREQUENCY beside FREQ), as the LAS import keeps them.
TEST_F(LasTasksTest, TextTablesAreImportedWithTheTypesTheirNamesGive)
{
    const std::vector<std::pair<std::string, std::pair<int, int>>> names = {
        {"DTCO", {65, 3}}, {"DT ft", {65, 2}}, {"TTR1", {46, 1}},    {"TTR8", {53, 1}},
        {"TTX", {0, 1}},   {"FREQ", {54, 4}},  {"FREQUENCY", {54, 4}}, {"SEMB", {94, 0xFF}},
        {"SDXX ft", {96, 2}}, {"SD", {96, 3}}, {"GDXX", {95, 0xFF}}, {"XYZ", {0, 0xFF}},
    };
    const struct {
        std::vector<double> depths;
        std::string lineEnd;
        uint8_t direction, units;
    } cases[] = {
        {{1000, 1000.5, 1001}, "\r\n", 0xFF, 1},    {{1001, 1000.5, 1000}, "\n", 1, 1},
        {{0, 0.4, 0.8}, "\n", 0xFF, 1},            {{0, 0.6}, "\r\n", 0xFF, 1},
        {{1000, 1000.25, 1000.5}, "\r\n", 0xFF, 0xFF}, {{0, 0.1524}, "\n", 0xFF, 0xFF},
    };
    TxtShape shape;
    shape.names.clear();
    for (const auto& n : names) shape.names.push_back(n.first);
    for (const auto& c : cases) {
        shape.depths = c.depths;
        shape.lineEnd = c.lineEnd;
        WriteBytes(input, std::vector<uint8_t>());
        const std::string text = TxtText(shape);
        host.ExpectMessage("Imported file :\n" + input +
                           "\nRenamed 1 curve(s) whose first four characters repeat another's: FREQUENCY as FRE1.");
        ASSERT_EQ(Import(text, T::ImportTxtDataSet), 1) << text;
        const QtxImage out = LoadQtx(output);
        EXPECT_EQ(std::pair(out.header.logDirection, out.header.depthUnits), std::pair(c.direction, c.units));
        ASSERT_EQ(out.descriptors.size(), names.size());
        for (size_t d = 0; d < names.size(); ++d) {
            const QtxDatumDescriptor& got = out.descriptors[d];
            EXPECT_EQ(std::pair(int(got.typeCode), int(got.axis1.unit)), names[d].second) << names[d].first;
            const std::string kept = names[d].first == "FREQUENCY" ? "FRE1" : Four(names[d].first.substr(0, 4));
            EXPECT_EQ(std::string(got.mnemonic, 4), kept);
        }
        EXPECT_EQ(out.depths, c.depths);
        for (size_t k = 0; k < c.depths.size(); ++k)
            for (size_t d = 0; d < names.size(); ++d) EXPECT_EQ(out.frames[k][d], float(LasValue(int(k), int(d))));
    }
}

// A curve's name may end in its unit: one the data set holds is the curve's; any other
// leaves the unit the name's classification gives (exactly, case alike), and is named at
// the end and in the history with the label of the unit stored, under a heading that
// names the brackets or parentheses the table used. A unit the data set has
// no code for, on a curve of none, is named with those it cannot hold. The name without
// its unit is the mnemonic; values stay.
TEST_F(LasTasksTest, ABracketedUnitTheCurveIsNotStoredInIsNamed)
{
    const struct {
        std::string name;
        int unit;         // stored
        std::string told; // in the list of units not kept, or "" when not there
    } curves[] = {
        {"DT [US/F]", kUnitMicrosecondsPerFoot, ""},
        {"SP [MV]", kUnitMillivolts, ""},
        {"HZZ [Hz]", kUnitHertz, ""},
        {"DTX [g/cc]", kUnitMicrosecondsPerMetre, "DTX [g/cc] as [uSec/m]"},
        {"DTR [us]", kUnitMicroseconds, ""},
        {"GRX [us / ft]", kUnitMicrosecondsPerFoot, ""},
        {"SDXX [US/M] ft", kUnitMicrosecondsPerFoot, ""}, // no unit at the end of the name
        {"DTCO [US/M]", kUnitMicrosecondsPerMetre, ""},
        {"DTSM [us/ft]", kUnitMicrosecondsPerFoot, ""},
        {"TTR1 [usec]", kUnitMicroseconds, ""},
        {"FREQ [HZ]", kUnitHertz, ""},
        {"DTF (ft)", kUnitMicrosecondsPerFoot, "DTF (ft) as [uSec/ft]"}, // "ft" in the name as written
        {"SEMB (kHz)", kUnitNone, ""},
        {"RHOB [g/cc]", kUnitNone, ""},
        {"GR [ ]", kUnitNone, ""},
    };
    TxtShape shape;
    shape.names.clear();
    for (const auto& c : curves) shape.names.push_back(c.name);
    const std::string list = "Stored 2 curve(s) not in the unit in brackets or parentheses in their names: DTX "
                             "[g/cc] as [uSec/m], DTF (ft) as [uSec/ft].";
    const std::string unheld =
        "Stored 2 curve(s) without their units, which the data set cannot hold: SEMB (kHz), RHOB [g/cc].";
    host.ExpectMessage("\n" + unheld + "\n" + list);
    ASSERT_EQ(Import(TxtText(shape), T::ImportTxtDataSet), 1);
    const std::string message = MessageTexts().back();
    const QtxImage out = LoadQtx(output);
    ASSERT_EQ(out.descriptors.size(), std::size(curves));
    std::string history(out.header.history, sizeof out.header.history);
    for (size_t at; (at = history.find("\r\n***  ")) != std::string::npos;) history.erase(at, 7);
    EXPECT_NE(history.find("\r\n*** " + list), std::string::npos) << history;
    for (size_t d = 0; d < std::size(curves); ++d) {
        const auto& c = curves[d];
        EXPECT_EQ(int(out.descriptors[d].axis1.unit), c.unit) << c.name;
        EXPECT_EQ(std::string(out.descriptors[d].mnemonic, 4), Four(c.name.substr(0, std::min<size_t>(c.name.find(' '), 4))));
        if (c.told.empty()) {
            EXPECT_EQ(message.find(c.name + " as ["), std::string::npos) << c.name;
            EXPECT_EQ(message.find(c.name + " with no unit"), std::string::npos) << c.name;
        }
        for (size_t k = 0; k < shape.depths.size(); ++k) EXPECT_EQ(out.frames[k][d], float(LasValue(int(k), int(d))));
    }
    // The heading names the enclosure the table used.
    shape.names = {"DTF (ft)"};
    const std::string parenthesised = "\nStored 1 curve(s) not in the unit in parentheses in their names: DTF (ft) as "
                                      "[uSec/ft].";
    host.ExpectMessage(parenthesised);
    ASSERT_EQ(Import(TxtText(shape), T::ImportTxtDataSet), 1);
    EXPECT_TRUE(MessageTexts().back().ends_with(parenthesised)) << MessageTexts().back();
}

} // namespace
