// Every LAS value under its own name and at its own depth: names that agree in their
// first four characters, the curve list the data belong to, files of one data line,
// slowness units as files spell them, NaN, and a header of millions of curve lines.
#include "toolbox/LasDoc.h"
#include "toolbox/TextImport.h"
#include "toolbox/ToolTasks.h"
#include "toolbox/ToolsWnd.h"

#include "dataset/QtxLayout.h"
#include "platform/Format.h"
#include "res/ResourceIds.h"
#include "settings/SettingsStore.h"
#include "settings/UtilitiesSetupGroup.h"
#include "toolbox/LasImportFixture.h"
#include "support/HostFixture.h"
#include "support/LasBuilder.h"
#include "support/QtxBuilder.h"
#include "support/TempDir.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>

namespace {

using T = ToolTask;

std::string Replaced(std::string text, const std::string& from, const std::string& to)
{
    const size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

// A LAS 3.0 file of two logs, each definition before the data: log 1 of GR and NPHI,
// log 2 of DT and RHOB; `data` holds the data sections after the definitions.
std::string TwoLogs(const std::string& data)
{
    return "~Version\n VERS. 3.0 :\n WRAP. NO :\n~Well\n STRT.FT 1000.0 :\n STOP.FT 1001.0 :\n"
           "~Log_Definition[1]\n DEPT.FT :\n GR  .GAPI :\n NPHI.V/V :\n"
           "~Log_Definition[2]\n DEPT.FT :\n DT  .US/FT :\n RHOB.G/C3 :\n" +
           data;
}
const std::string kLog1 = "1000.0 1.0 2.0\n1000.5 1.5 2.5\n1001.0 1.75 2.75\n";
const std::string kLog2 = "1000.0 70.0 2.3\n1000.5 71.0 2.4\n1001.0 72.0 2.5\n";

class LasImportTest : public LasImportFixture {
protected:
    std::string Imported() const { return "Imported file :\n" + input + "\n"; }
    // A LAS file or a text table of these curves, imported by its task.
    int ImportCurves(const std::vector<std::string>& curves, ToolTask task)
    {
        LasShape las;
        las.curves = curves;
        TxtShape table;
        table.names = curves;
        return Import(task == T::ConvertLasToQtx ? LasText(las) : TxtText(table), task);
    }
};

// Names cut to four characters stay apart, in LAS files and text tables alike: a whole
// name of four characters or fewer stays its curve's wherever longer ones stand; a longer
// one that ends in digits keeps them (whatever the order, the shorter name first), of the
// others the first keeps the four characters and each later one takes a number in its
// last characters that no other curve has; the end lists every curve of shared four
// characters not stored under its whole name, a long list cut short with a count and
// kept whole in the data set's history.
TEST_F(LasImportTest, NamesThatAgreeInFourCharactersAreKeptApart)
{
    std::vector<std::string> many, manyKept, prefix, prefixKept;
    for (int k = 1; k <= 40; ++k) {
        many.push_back("TRACE_" + std::to_string(k));
        manyKept.push_back(k < 10 ? "TRA" + std::to_string(k) : "TR" + std::to_string(k));
    }
    std::string prefixTold = "30 curve(s) whose first four characters repeat another's: PREFA as PREF";
    for (int k = 0; k < 30; ++k) {
        prefix.push_back("PREF" + std::string(1, char('A' + k % 26)) + (k < 26 ? "" : "X"));
        prefixKept.push_back(k == 0 ? "PREF" : k < 10 ? "PRE" + std::to_string(k) : "PR" + std::to_string(k));
        if (k > 0 && k < 16) prefixTold += ", " + prefix.back() + " as " + prefixKept.back();
    }
    const std::string repeat = "curve(s) whose first four characters repeat another's: ";
    const struct {
        std::vector<std::string> curves;
        std::vector<std::string> kept;
        std::string renamed;        // the end message's list, or none
        std::string shortened = ""; // its list of names cut alone, or none
    } cases[] = {
        {{"NPHI_SAN", "NPHI_LIM", "NPHI_DOL"}, {"NPHI", "NPH1", "NPH2"},
         "3 " + repeat + "NPHI_SAN as NPHI, NPHI_LIM as NPH1, NPHI_DOL as NPH2."},
        // A number another curve is named by is passed over.
        {{"NPHI_SAN", "NPH1", "NPHI_LIM"}, {"NPHI", "NPH1", "NPH2"}, "2 " + repeat + "NPHI_SAN as NPHI, NPHI_LIM as NPH2."},
        {{"GR", "GR", "DT"}, {"GR  ", "GR1 ", "DT  "}, "1 " + repeat + "GR as GR1."},
        // A whole name of four characters is its curve's, wherever the longer ones stand.
        {{"NPHI_LIM", "NPHI", "DT", "DTCO1", "DTCO"}, {"NPH1", "NPHI", "DT  ", "DTC1", "DTCO"},
         "2 " + repeat + "NPHI_LIM as NPH1, DTCO1 as DTC1."},
        {{"ABCDE1", "ABCD1"}, {"ABCD", "ABC1"}, "2 " + repeat + "ABCDE1 as ABCD, ABCD1 as ABC1."},
        {{"ABCD1", "ABCDE1"}, {"ABC1", "ABCD"}, "2 " + repeat + "ABCD1 as ABC1, ABCDE1 as ABCD."},
        {{"RES_1", "RES_2", "RES_3", "RES_4", "RES_5", "RES_6", "RES_7", "RES_8", "RES_9", "RES_10", "RES_11"},
         {"RES1", "RES2", "RES3", "RES4", "RES5", "RES6", "RES7", "RES8", "RES9", "RE10", "RE11"},
         "11 " + repeat + "RES_1 as RES1, RES_2 as RES2, RES_3 as RES3, RES_4 as RES4, RES_5 as RES5, RES_6 as RES6, "
         "RES_7 as RES7, RES_8 as RES8, RES_9 as RES9, RES_10 as RE10, RES_11 as RE11."},
        // Numbered curves in any order keep their numbers; one they would clash with is numbered.
        {{"GASS1", "GASS2"}, {"GAS1", "GAS2"}, "2 " + repeat + "GASS1 as GAS1, GASS2 as GAS2."},
        {{"GASS", "GASS2", "GASS1"}, {"GASS", "GAS2", "GAS1"}, "2 " + repeat + "GASS2 as GAS2, GASS1 as GAS1."},
        {{"CBP13", "CBP12", "CBP1X", "CB12"}, {"CB13", "CBP1", "CBP2", "CB12"},
         "3 " + repeat + "CBP13 as CB13, CBP12 as CBP1, CBP1X as CBP2."},
        {{"NPHI_1", "NPHI_SAN", "NPHI_LIM"}, {"NPH1", "NPHI", "NPH2"},
         "3 " + repeat + "NPHI_1 as NPH1, NPHI_SAN as NPHI, NPHI_LIM as NPH2."},
        {many, manyKept,
         "40 " + repeat + "TRACE_1 as TRA1, TRACE_2 as TRA2, TRACE_3 as TRA3, TRACE_4 as TRA4, TRACE_5 as TRA5, TRACE_6 "
         "as TRA6, TRACE_7 as TRA7, TRACE_8 as TRA8, TRACE_9 as TRA9, TRACE_10 as TR10, TRACE_11 as TR11, TRACE_12 as "
         "TR12, TRACE_13 as TR13, TRACE_14 as TR14, TRACE_15 as TR15, TRACE_16 as TR16 and 24 more, listed in the data "
         "set's history."},
        {prefix, prefixKept, prefixTold + " and 14 more, listed in the data set's history."},
        // Names cut alone, with none to share their four characters with, are told apart.
        {{"DTCO", "DTSM", "DT", "CALIPER"}, {"DTCO", "DTSM", "DT  ", "CALI"}, "",
         "1 curve(s) under the first four characters of their names: CALIPER as CALI."},
        {{"NPHI_LIM", "NPHI", "GR    ", "GAMMA_RAY"}, {"NPH1", "NPHI", "GR  ", "GAMM"}, "1 " + repeat + "NPHI_LIM as NPH1.",
         "1 curve(s) under the first four characters of their names: GAMMA_RAY as GAMM."},
    };
    for (const auto& c : cases)
        for (const T task : {T::ConvertLasToQtx, T::ImportTxtDataSet}) {
            const std::string told = (c.renamed.empty() ? "" : "Renamed " + c.renamed) +
                                     (c.renamed.empty() || c.shortened.empty() ? "" : "\n") +
                                     (c.shortened.empty() ? "" : "Stored " + c.shortened);
            if (!told.empty()) host.ExpectMessage(Imported() + told);
            ASSERT_EQ(ImportCurves(c.curves, task), 1) << c.curves[0];
            const QtxImage out = LoadQtx(output);
            EXPECT_EQ(Mnemonics(out), c.kept) << c.curves[0];
            EXPECT_EQ(out.frames[1][c.curves.size() - 1], float(LasValue(1, int(c.curves.size()) - 1)));
        }
}

// A blank curve name (a line that begins with the "." of its unit, or whose name is a
// "." too) is stored blank, as a name of its own; of several blanks the first stays
// blank and the later ones are numbered, each told by its column.
TEST_F(LasImportTest, ABlankNameStaysBlankAndOnlyLaterBlanksAreRenamed)
{
    const std::string repeat = "Renamed %d curve(s) whose first four characters repeat another's: ";
    const struct {
        std::vector<std::string> curves;
        std::vector<std::string> kept;
        std::string renamed; // the end message's list, or none
    } cases[] = {
        {{"DT", "RHOB", "NPHI", "", "SFLA", "ILM", "ILD"}, {"DT  ", "RHOB", "NPHI", "    ", "SFLA", "ILM ", "ILD "}, ""},
        // A curve line that begins with its unit's "." holds a blank name of that unit.
        {{"DT", "SFLU", ".ILM", "ILD"}, {"DT  ", "SFLU", "    ", "ILD "},
         "Stored 1 curve(s) without their units, which the data set cannot hold: blank (column 4) [ILM]."},
        {{"DT", "", "", "ILM"}, {"DT  ", "    ", "1   ", "ILM "}, Format(repeat.c_str(), 1) + "blank (column 4) as 1."},
        {{"", "", "", "PHI"}, {"    ", "1   ", "2   ", "PHI "},
         Format(repeat.c_str(), 2) + "blank (column 3) as 1, blank (column 4) as 2."},
        // A number another curve is named by is passed over; a long name of the blank's four is cut as before.
        {{"1", "", "", "DEPTHS"}, {"1   ", "    ", "2   ", "DEPT"},
         Format(repeat.c_str(), 1) + "blank (column 4) as 2.\nStored 1 curve(s) under the first four characters of "
                                     "their names: DEPTHS as DEPT."},
    };
    for (const auto& c : cases) {
        LasShape las;
        las.curves = c.curves;
        if (!c.renamed.empty()) host.ExpectMessage(Imported() + c.renamed);
        ASSERT_EQ(Import(LasText(las)), 1) << c.renamed;
        const QtxImage out = LoadQtx(output);
        EXPECT_EQ(Mnemonics(out), c.kept) << c.renamed;
        EXPECT_EQ(out.frames[1][c.curves.size() - 1], float(LasValue(1, int(c.curves.size()) - 1)));
    }
}

// However many curves are stored under another name, each is named: a list longer than
// the end message shows is kept whole in the data set's history, in lines of 80
// characters at most, and where the history cannot hold it the message lists it whole.
TEST_F(LasImportTest, EveryRenamingIsNamedInTheMessageOrTheHistory)
{
    const auto prefixed = [](const std::string& prefix, int count) {
        std::vector<std::string> names;
        for (int k = 0; k < count; ++k) names.push_back(prefix + std::to_string(1000 + k));
        return names;
    };
    const struct {
        std::vector<std::string> curves;
        bool inHistory; // the message's list ends with a count
    } cases[] = {{prefixed("PREF_", 30), true}, {prefixed("GAMMA_RAY_CORRECTED_FOR_BOREHOLE_", 100), false}};
    for (const auto& c : cases)
        for (const T task : {T::ConvertLasToQtx, T::ImportTxtDataSet}) {
            host.ExpectMessage("Renamed " + std::to_string(c.curves.size()) + " curve(s)");
            ASSERT_EQ(ImportCurves(c.curves, task), 1);
            const std::string message = MessageTexts().back();
            const QtxImage out = LoadQtx(output);
            const std::string history(out.header.history, sizeof out.header.history);
            EXPECT_EQ(message.ends_with(" more, listed in the data set's history."), c.inHistory) << message;
            for (size_t k = 0; k < c.curves.size(); ++k) {
                const std::string told = c.curves[k] + " as " + Mnemonics(out)[k];
                EXPECT_NE((c.inHistory ? history : message).find(told + (k + 1 < c.curves.size() ? "," : ".")),
                          std::string::npos) << told;
            }
            for (size_t at = 0, end; (end = history.find("\r\n", at)) != std::string::npos; at = end + 2) {
                const std::string line = history.substr(at, end - at);
                EXPECT_TRUE(line.find(" as ") == std::string::npos || line.size() <= 80u) << line;
            }
        }
}

// The history keeps each list whole or leaves it out on its own, the renamings first,
// then the units: a list left out for room is named there by its heading, and the end
// message lists it whole.
TEST_F(LasImportTest, TheHistoryKeepsEachListWholeOrLeavesItOutOnItsOwn)
{
    const auto curves = [](const char* format, int first, int count) {
        std::vector<std::string> names;
        for (int k = first; k < first + count; ++k) names.push_back(Format(format, k));
        return names;
    };
    const struct {
        const char* what;
        std::vector<std::string> curves;
        std::string unit;         // of every curve, or of the first two where `twoUnits`
        bool twoUnits;
        bool renamingsInHistory;  // else left out for room
        bool unitsInHistory;
    } cases[] = {
        {"both fit", curves("PREF_%d", 1000, 30), "OHMM", false, true, true},
        {"the units left out", curves("NPHI_LIM_%02d", 1, 99), "ohm.m", false, true, false},
        {"the renamings left out", curves("GAMMA_RAY_CORRECTED_FOR_BOREHOLE_%d", 1000, 100), "V/V", true, false, true},
    };
    const std::string leftOut = "\r\n***  Left out of this history for room: the end message lists them all.";
    for (const auto& c : cases) {
        LasShape las;
        las.curves = c.curves;
        las.curveUnit = c.twoUnits ? "" : c.unit;
        std::string text = LasText(las);
        for (size_t k = 0; c.twoUnits && k < 2; ++k)
            text = Replaced(text, " " + c.curves[k] + " .", " " + c.curves[k] + " ." + c.unit);
        host.ExpectMessage(Imported() + "Renamed " + std::to_string(c.curves.size()) + " curve(s)");
        ASSERT_EQ(Import(text), 1) << c.what;
        const std::string message = MessageTexts().back();
        const QtxImage out = LoadQtx(output);
        const std::string raw(out.header.history, sizeof out.header.history);
        std::string renamed, units;
        for (size_t k = 0; k < c.curves.size(); ++k) {
            renamed += (k ? ", " : "") + c.curves[k] + " as " + Mnemonics(out)[k];
            if (!c.twoUnits || k < 2) units += (k ? ", " : "") + c.curves[k] + " [" + c.unit + "]";
        }
        const std::string renamedHead = Format("Renamed %zu curve(s) whose first four characters repeat another's: ",
                                               c.curves.size());
        const std::string unitsHead = Format("Stored %zu curve(s) without their units, which the data set cannot "
                                             "hold: ", c.twoUnits ? size_t(2) : c.curves.size());
        // The lists the history keeps, its lines of 80 characters joined again.
        std::string history = raw;
        for (size_t at; (at = history.find("\r\n***  ")) != std::string::npos;) history.erase(at, 7);
        EXPECT_EQ(history.find("\r\n*** " + renamedHead + renamed + ".") != std::string::npos, c.renamingsInHistory)
            << c.what << history;
        EXPECT_EQ(history.find("\r\n*** " + unitsHead + units + ".") != std::string::npos, c.unitsInHistory)
            << c.what << history;
        // One left out is named by its heading, in its place.
        EXPECT_EQ(raw.find("\r\n*** " + renamedHead.substr(0, renamedHead.size() - 1) + leftOut) != std::string::npos,
                  !c.renamingsInHistory) << c.what << raw;
        EXPECT_EQ(raw.find("\r\n*** " + unitsHead.substr(0, unitsHead.size() - 1) + leftOut) != std::string::npos,
                  !c.unitsInHistory) << c.what << raw;
        // What the history does not hold, the end message lists whole.
        EXPECT_EQ(message.find(renamedHead + renamed + ".") != std::string::npos, !c.renamingsInHistory) << message;
        EXPECT_EQ(message.find(" more, listed in the data set's history.\n") != std::string::npos, c.renamingsInHistory)
            << message;
        EXPECT_TRUE(message.ends_with(unitsHead + units + ".") || c.unitsInHistory) << message;
    }
}

// A stopped import keeps the frames it wrote under the names it told, so its end message
// comes as a finished one's does, after a line that says where it stopped: a list the
// history left out for room is in it whole, and nothing in the history points to a message
// that never came. Its history keeps the file's depth range and says, after the task
// line, how many data lines it holds and their depth range; a finished one's says nothing
// of a stop. One stopped before its first frame keeps nothing and tells nothing.
TEST_F(LasImportTest, AStoppedImportTellsItsListsAsAFinishedOneDoes)
{
    std::vector<std::string> few, many;
    for (int k = 1000; k < 1100; ++k) {
        if (k < 1030) few.push_back(Format("PREF_%d", k));
        many.push_back(Format("GAMMA_RAY_CORRECTED_FOR_BOREHOLE_%d", k));
    }
    const struct {
        const std::vector<std::string>& curves;
        int stopAfter;  // steps of 64 lines before Stop is pressed; -1: none
        bool inHistory; // the renamings' list, else left out for room
    } cases[] = {{few, -1, true}, {many, -1, false}, {few, 1, true}, {many, 2, false}, {many, 0, false}};
    LasShape las;
    TxtShape table;
    las.depths.clear();
    for (int k = 0; k < 200; ++k) las.depths.push_back(1000.0 + 0.5 * k);
    table.depths = las.depths;
    for (const auto& c : cases)
        for (const T task : {T::ConvertLasToQtx, T::ImportTxtDataSet}) {
            const std::string what =
                Format("%zu curves, stopped after %d, task %d", c.curves.size(), c.stopAfter, int(task));
            las.curves = table.names = c.curves;
            if (c.stopAfter >= 0) {
                host.ScriptDialog(kIddProgress).Pumps(2 * c.stopAfter + 1).Press(IDCANCEL);
                host.ExpectMessage("Are you sure you want to stop processing?", IDYES);
            }
            const int kept = c.stopAfter < 0 ? int(las.depths.size()) : 64 * c.stopAfter;
            // The LAS file's depths are in metres, the table's step of half a unit is feet.
            const std::string stopLine =
                Format("Stopped after %d data line(s): the data set holds 1000.0000 - %.4f %s.", kept,
                       las.depths[size_t(std::max(kept, 1) - 1)], task == T::ConvertLasToQtx ? "[m]" : "[ft]");
            const std::string stopped = c.stopAfter > 0 ? stopLine + "\n" : "";
            if (c.stopAfter != 0)
                host.ExpectMessage(stopped + Imported() + Format("Renamed %zu curve(s)", c.curves.size()));
            ASSERT_EQ(Import(task == T::ConvertLasToQtx ? LasText(las) : TxtText(table), task), 1) << what;
            EXPECT_EQ(FileExists(output), c.stopAfter != 0) << what;
            if (c.stopAfter == 0) continue;
            const std::string message = MessageTexts().back();
            const QtxImage out = LoadQtx(output);
            EXPECT_EQ(out.frames.size(), c.stopAfter < 0 ? las.depths.size() : size_t(64 * c.stopAfter)) << what;
            std::string history(out.header.history, sizeof out.header.history);
            EXPECT_EQ(history.find("***  Left out of this history for room: the end message lists them all.") !=
                          std::string::npos, !c.inHistory) << what;
            const std::string range = task == T::ConvertLasToQtx ? "1099.5000  [m]" : "1099.5000  [ft]";
            const std::string taskLine = task == T::ConvertLasToQtx ? "\r\n*** Tools (Convert LAS to QTX)" : "";
            EXPECT_NE(history.find(" :  1000.0000 -  " + range + taskLine + (c.stopAfter > 0 ? "\r\n*** " + stopLine : "")
                                   + "\r\n*** Renamed"), std::string::npos) << what << history;
            EXPECT_EQ(history.find("Stopped"), c.stopAfter > 0 ? history.find(stopLine) : std::string::npos) << what;
            for (size_t at; (at = history.find("\r\n***  ")) != std::string::npos;) history.erase(at, 7);
            for (size_t k = 0; k < c.curves.size(); ++k)
                EXPECT_NE((c.inHistory ? history : message).find(c.curves[k] + " as " + Mnemonics(out)[k]),
                          std::string::npos) << what << c.curves[k];
        }
}

// A stopped import counts its frames; a wrapped file's lines are told beside them where
// a frame took more than one, in the end message and the history alike.
TEST_F(LasImportTest, AStoppedWrappedImportTellsItsFramesAndLines)
{
    const struct {
        const char* wrap;
        const char* separator; // between a data step's fields
        const char* counted;   // what the stop line says it read: 64 frames
    } cases[] = {
        {"YES", "\n", "64 frame(s) from 256 data line(s)"},
        {"YES", "  ", "64 data line(s)"}, // wrapped, but each step on one line
    };
    LasShape las;
    las.curves = {"DT", "RHOB", "CALIPER"};
    las.depths.clear();
    for (int k = 0; k < 200; ++k) las.depths.push_back(1000.0 + 0.5 * k);
    for (const auto& c : cases) {
        las.wrap = c.wrap;
        las.separator = c.separator;
        host.ScriptDialog(kIddProgress).Pumps(3).Press(IDCANCEL);
        host.ExpectMessage("Are you sure you want to stop processing?", IDYES);
        const std::string stopLine =
            std::string("Stopped after ") + c.counted + ": the data set holds 1000.0000 - 1031.5000 [m].";
        host.ExpectMessage(stopLine + "\n" + Imported() + "Stored 1 curve(s) under the first four characters of "
                           "their names: CALIPER as CALI.");
        ASSERT_EQ(Import(LasText(las)), 1) << c.counted;
        const QtxImage out = LoadQtx(output);
        EXPECT_EQ(out.frames.size(), 64u) << c.counted;
        const std::string history(out.header.history, sizeof out.header.history);
        EXPECT_NE(history.find("\r\n*** " + stopLine), std::string::npos) << history;
    }
}

// A data set keeps a unit only as one of its codes: every curve whose unit has none is
// named with its unit as written, in the end message and in the history, where the data
// set keeps it, in LAS files and text tables alike (a table's name may end in a unit in
// brackets). A unit the data set holds, or none, is not named; names and values stay.
TEST_F(LasImportTest, EveryUnitTheDataSetCannotHoldIsNamed)
{
    const auto las = [](const std::vector<std::pair<std::string, std::string>>& curves) {
        LasShape s;
        s.curves.clear();
        for (const auto& c : curves) s.curves.push_back(c.first);
        std::string text = LasText(s);
        for (const auto& [name, unit] : curves) text = Replaced(text, " " + name + " .", " " + name + " ." + unit);
        return text;
    };
    std::vector<std::pair<std::string, std::string>> many;
    std::string manyTold, manyShown;
    for (int k = 10; k < 30; ++k) {
        many.emplace_back("C" + std::to_string(k), "V/V");
        manyTold += std::string(k > 10 ? ", " : "") + "C" + std::to_string(k) + " [V/V]";
        if (k == 25) manyShown = manyTold + " and 4 more, listed in the data set's history";
    }
    TxtShape table;
    table.names = {"DTCO ft", "RHOB [g/cc]", "GR [us]"};
    // The unit a name ends in is no part of the name cut to four characters.
    const std::string tableShortened = "Stored 1 curve(s) under the first four characters of their names: DTCO ft as "
                                       "DTCO.\n";
    const struct {
        const char* what;
        std::string text;
        T task;
        std::vector<std::string> kept; // the data set's names
        size_t count;                  // curves named
        std::string told;              // the whole list
        std::string shown = "";        // the message's list, where it is cut short
        std::string before = "";       // the message's lines before it
    } cases[] = {
        {"units of every kind", las({{"DT", "US/M"}, {"RHOB", "K/M3"}, {"NPHI", "V/V"}, {"GR", "[API]"}, {"SP", "[]"}}),
         T::ConvertLasToQtx, {"DT  ", "RHOB", "NPHI", "GR  ", "SP  "}, 3, "RHOB [K/M3], NPHI [V/V], GR [API]"},
        {"a blank name", las({{"", "OHMM"}, {"GR", "GAPI"}}), T::ConvertLasToQtx, {"    ", "GR  "}, 2,
         "blank (column 2) [OHMM], GR [GAPI]"},
        {"more than the message lists", las(many), T::ConvertLasToQtx, {}, 20, manyTold, manyShown},
        {"a text table", TxtText(table), T::ImportTxtDataSet, {"DTCO", "RHOB", "GR  "}, 1, "RHOB [g/cc]", "",
         tableShortened},
    };
    for (const auto& c : cases) {
        const std::string line = Format("Stored %zu curve(s) without their units, which the data set cannot hold: ",
                                        c.count);
        host.ExpectMessage(Imported() + c.before + line + (c.shown.empty() ? c.told : c.shown) + ".");
        ASSERT_EQ(Import(c.text, c.task), 1) << c.what;
        const QtxImage out = LoadQtx(output);
        if (!c.kept.empty()) {
            EXPECT_EQ(Mnemonics(out), c.kept) << c.what;
        }
        EXPECT_EQ(out.frames[1].back(), float(LasValue(1, int(out.descriptors.size()) - 1))) << c.what;
        // The history's lines of 80 characters, joined again.
        std::string history(out.header.history, sizeof out.header.history);
        for (size_t at; (at = history.find("\r\n***  ")) != std::string::npos;) history.erase(at, 7);
        EXPECT_NE(history.find("\r\n*** " + line + c.told + "."), std::string::npos) << c.what << history;
    }
}

// The data go under the curve list the data section names (LAS 3.0 "| Log_Definition[2]",
// or its index), and a LAS 2.0 "~Curve" is the curve list whatever other "~C" section
// stands before or after it. The end names the sections left out, not the one read.
TEST_F(LasImportTest, DataGoUnderTheCurveListTheirSectionNames)
{
    const std::string core = "~Core\n CDEP.FT :\n CPOR.PU :\n CPER.MD :\n";
    const std::string las2 = LasText({});
    const struct {
        const char* what;
        std::string text;
        std::vector<std::string> curves;
        std::vector<float> second; // the values of the second data line
        std::string notice;
    } cases[] = {
        {"3.0 second log first", TwoLogs("~Log_Data[2] | Log_Definition[2]\n" + kLog2 +
                                         "~Log_Data[1] | Log_Definition[1]\n" + kLog1),
         {"DT  ", "RHOB"}, {71.0f, 2.4f},
         "Imported the first log of file :\n" + input + "\nLeft out 1 further log(s): Log_Data[1].\n"
         "Left out 1 section(s) this import does not read: Log_Definition[1]."},
        {"3.0 first log", TwoLogs("~Log_Data[1] | Log_Definition[1]\n" + kLog1), {"GR  ", "NPHI"}, {1.5f, 2.5f},
         Imported() + "Left out 1 section(s) this import does not read: Log_Definition[2]."},
        {"3.0 by the index alone", TwoLogs("~Log_Data[2]\n" + kLog2), {"DT  ", "RHOB"}, {71.0f, 2.4f},
         Imported() + "Left out 1 section(s) this import does not read: Log_Definition[1]."},
        {"2.0 ~Core before ~Curve", Replaced(las2, "~CURVE INFORMATION", core + "~CURVE INFORMATION"),
         {"DT  ", "RHOB", "GR  "}, {10.25f, 20.25f, 30.25f},
         Imported() + "Left out 1 section(s) this import does not read: Core."},
        {"2.0 ~Core after ~Curve", Replaced(las2, "~PARAMETER", core + "~PARAMETER"), {"DT  ", "RHOB", "GR  "},
         {10.25f, 20.25f, 30.25f}, Imported() + "Left out 1 section(s) this import does not read: Core."},
    };
    for (const auto& c : cases) {
        host.ExpectMessage(c.notice);
        ASSERT_EQ(Import(c.text), 1) << c.what;
        const QtxImage out = LoadQtx(output);
        EXPECT_EQ(Mnemonics(out), c.curves) << c.what;
        ASSERT_EQ(out.frames.size(), 3u + (c.curves.size() == 3)) << c.what;
        EXPECT_EQ(out.frames[1], c.second) << c.what;
    }
    // Two logs and a data section that names neither and has no index: refused.
    host.ExpectMessage("Found 2 curve sections (Log_Definition[1], Log_Definition[2]) the data section ~Log_Data may "
                       "belong to, and cannot tell which, in LAS file :\n" +
                       input);
    EXPECT_EQ(Import(TwoLogs("~Log_Data\n" + kLog2)), -1);
    EXPECT_FALSE(std::filesystem::exists(output));
}

// A file of one data line is a data set of one frame: the step its STEP gives (its sign
// the direction, in STRT's unit), else the one a SEG-Y file of one shot gets, said the
// same way. The program's own export of a one-frame data set comes back.
TEST_F(LasImportTest, AFileOfOneDataLineIsOneFrame)
{
    const auto oneLine = [](const std::string& unit, const std::string& stepLine) {
        LasShape las;
        las.unit = unit;
        las.depths = {1000.0};
        std::string text = LasText(las);
        const size_t at = text.find(" STEP.");
        return text.replace(at, text.find('\n', at) + 1 - at, stepLine);
    };
    const std::string stepTaken = "Imported the one data line of file :\n" + input +
                                  "\nA file of one data line holds no depth step: the data set takes a step of ";
    const struct {
        std::string text;
        uint8_t direction;
        double step;
        std::string notice;
    } cases[] = {
        {oneLine("M", " STEP.M 0.5000 :\n"), 0xFF, 0.5, ""},
        {oneLine("F", " STEP.F -0.25 :\n"), 1, 0.25, ""},
        {oneLine("M", " STEP.F 0.5 :\n"), 0xFF, 0.1524, ""},
        {oneLine("M", " STEP.M 0 :\n"), 0xFF, 0.1524, stepTaken + "0.1524 M."},
        {oneLine("F", ""), 0xFF, 0.5, stepTaken + "0.5000 FT."},
        {oneLine("FT", " STEP.FT nan :\n"), 0xFF, 0.5, stepTaken + "0.5000 FT."},
    };
    for (const auto& c : cases) {
        if (!c.notice.empty()) host.ExpectMessage(c.notice);
        ASSERT_EQ(Import(c.text), 1) << c.text;
        const QtxImage out = LoadQtx(output);
        ASSERT_EQ(out.depths, std::vector<double>{1000.0}) << c.text;
        EXPECT_EQ(out.frames[0], (std::vector<float>{10.0f, 20.0f, 30.0f}));
        EXPECT_EQ(out.header.logDirection, c.direction) << c.text;
        EXPECT_DOUBLE_EQ(out.header.depthStep, c.step) << c.text;
        EXPECT_EQ(out.header.topDepth, 1000.0);
        EXPECT_EQ(out.header.bottomDepth, 1000.0);
    }

    const std::string set = dir.File("one.qtx"), las = dir.File("one.las");
    ASSERT_TRUE(WriteQtx(set, {{.mnemonic = "GR", .category = 6}}, 1, 1500.0, 0.25,
                         [](int, int, size_t) { return 42.5f; }));
    Select({0}, 1);
    output = las;
    ASSERT_EQ(Run(T::ConvertQtxToLas, set), 1);
    output = dir.File("back.qtx");
    host.onUnexpected = nullptr; // an export that writes no STEP gets the default and its notice
    ASSERT_EQ(Run(T::ConvertLasToQtx, las), 1);
    const QtxImage back = LoadQtx(output);
    EXPECT_EQ(back.depths, std::vector<double>{1500.0});
    EXPECT_EQ(back.frames, std::vector<std::vector<float>>{{42.5f}});
}

// Slowness units as files spell them take the data set's slowness codes, so Convert
// Slowness finds them; other units stay unnamed. A text table's curve whose name ends in
// a unit the data set holds is stored in it as the LAS import stores that unit, blanks
// around the slash too; a slowness without one is per foot where "ft" is in its name,
// else per metre. The table's end message comes where a name is cut or a unit not kept.
TEST_F(LasImportTest, SlownessUnitsAreTakenInTheirCommonSpellings)
{
    constexpr int kNoLas = -1; // a spelling a LAS unit cannot have
    const uint8_t F = kUnitMicrosecondsPerFoot, M = kUnitMicrosecondsPerMetre, U = kUnitMicroseconds;
    const struct {
        const char* unit;  // the LAS curve's unit
        int code;          // stored by the LAS import, or kNoLas
        const char* name;  // of the text table's curve
        uint8_t tableCode; // stored by the text import
        bool tableTells;   // the text import's end message comes
    } cases[] = {
        {"us/ft", F, "DT [us/ft]", F, false},         {"US/FT", F, "DT [US/FT]", F, false},
        {"US/F", F, "DT [US/F]", F, false},           {"USEC/FT", F, "DTC [USEC/FT]", F, false},
        {"uSec/ft", F, "DT [uSec/ft]", F, false},     {"[us/f]", F, "SDXX [us/f]", F, false},
        {"", kNoLas, "DT [us / ft]", F, false},       {"", kNoLas, "DT [ MICROSECONDS / FEET ]", F, false},
        {"[US/M]", M, "DT [US/M]", M, false},         {"us/m", M, "DTSM [us/m] ft", F, true},
        {"(USEC/M)", M, "DT (USEC/M)", M, false},     {"", kNoLas, "DT [Us / M] ", M, false},
        {"", kNoLas, "DTCO", M, false},               {"", kNoLas, "DT ft", F, true},
        {"\xC2\xB5s/ft", F, "DT [\xC2\xB5s/ft]", F, false}, {"\xB5s/m", M, "DT \xB5s/m", M, false},
        {"USEC", U, "DT [USEC]", U, false},
        {"us", U, "DT [us] ft", F, true},
        {"OHMM", kUnitNone, "DT [OHMM]", M, true},   {"US/S", kUnitNone, "DT [US/S]", M, true},
        {"[]", kUnitNone, "DT []", M, false},
    };
    for (const auto& c : cases) {
        if (c.code != kNoLas) {
            const std::string text = Replaced(LasText({}), " DT .", std::string(" DT .") + c.unit);
            // A unit written but not kept is named.
            if (c.code == kUnitNone && std::string(c.unit) != "[]")
                host.ExpectMessage(Imported() + "Stored 1 curve(s) without their units, which the data set cannot "
                                   "hold: DT [" + c.unit + "].");
            ASSERT_EQ(Import(text), 1) << c.unit;
            EXPECT_EQ(LoadQtx(output).descriptors[0].axis1.unit, c.code) << c.unit;
        }
        TxtShape table;
        table.names = {c.name};
        if (c.tableTells) host.ExpectMessage(Imported());
        ASSERT_EQ(Import(TxtText(table), T::ImportTxtDataSet), 1) << c.name;
        EXPECT_EQ(LoadQtx(output).descriptors[0].axis1.unit, c.tableCode) << c.name;
    }
    // A log in us/ft goes to us/m.
    ASSERT_EQ(Import(Replaced(LasText({}), " DT .", " DT .us/ft")), 1);
    const std::string imported = dir.File("imported.qtx");
    std::filesystem::rename(output, imported);
    ASSERT_EQ(Run(T::ConvertSlownessToMetric, imported), 1);
    const QtxImage metric = LoadQtx(output);
    EXPECT_EQ(metric.descriptors[0].axis1.unit, kUnitMicrosecondsPerMetre);
    EXPECT_FLOAT_EQ(metric.frames[0][0], 10.0f * 3.28084f);
}

// A table's curve name may end in its unit (in square brackets, in parentheses, an
// unclosed one as if closed, or after a blank where it reads as a unit, blanks anywhere
// around its slash): the curve then gets the mnemonic and unit the LAS import gives the
// same curve and unit, values as written, and is renamed as a repeated LAS name is. A last
// word that is no unit stays part of the name, and so does an index in brackets; a name
// with no unit keeps the table's own rule (DTCO per metre).
TEST_F(LasImportTest, ATablesNameAndUnitGiveWhatTheLasImportGives)
{
    const uint8_t F = kUnitMicrosecondsPerFoot, M = kUnitMicrosecondsPerMetre;
    const struct {
        const char* las;   // the LAS curve line's name and unit; "": none
        const char* table; // the table's name
        const char* kept;  // mnemonic of both
        int unit;          // of both; the table's alone where there is no LAS curve
        int tableType;     // item type the table's name gives
    } cases[] = {
        {"DT.US/FT", "DT US/FT", "DT  ", F, 65},
        {"DTC.USEC/FT", "DTC (USEC/FT)", "DTC ", F, 65},
        {"DTS.US/F", "DTS [US/F]", "DTS ", F, 65},
        {"SP.MV", "SP [MV]", "SP  ", kUnitMillivolts, 0},
        {"HZZ.HZ", "HZZ [Hz]", "HZZ ", kUnitHertz, 0},
        {"DTM.US/M", "DTM (us/m)", "DTM ", M, 65},
        {"DTU.\xC2\xB5s/ft", "DTU [\xC2\xB5s/ft]", "DTU ", F, 65},
        {"TTR1.US", "TTR1 [usec]", "TTR1", kUnitMicroseconds, 46},
        {"DT.US/M", "DT [US/M]", "DT1 ", M, 65}, // a repeated name
        {"", "DTCO", "DTCO", M, 65},
        {"", "TT R1", "TT R", kUnitMicroseconds, 46},
        {"", "DT 1", "DT 1", M, 65},
        {"DX.US/FT", "DX US / FT", "DX  ", F, 0},
        {"DY.US/FT", "DY US/ FT", "DY  ", F, 0},
        {"DZ.US/FT", "DZ\tUSEC /FT", "DZ  ", F, 0},
        {"DW.US/FT", "DW [US/FT", "DW  ", F, 0},
        {"DV.US/M", "DV ( us/m ", "DV  ", M, 0},
        {"GR(1).", "GR(1)", "GR(1", kUnitNone, 0}, // an index, no unit
        {"GR(2).", "GR(2)", "GR(2", kUnitNone, 0},
        {"NMR[1].", "NMR[1]", "NMR[", kUnitNone, 0},
    };
    LasShape las;
    TxtShape table;
    las.curves.clear();
    table.names.clear();
    for (const auto& c : cases) {
        if (*c.las) las.curves.push_back(Format("C%zu", las.curves.size()));
        table.names.push_back(c.table);
    }
    std::string lasText = LasText(las);
    for (size_t k = 0, n = 0; k < std::size(cases); ++k)
        if (*cases[k].las) lasText = Replaced(lasText, Format(" C%zu .", n++), std::string(" ") + cases[k].las + " ");
    const std::string indices = "GR(1) as GR(1, GR(2) as GR(2, NMR[1] as NMR[.";
    host.ExpectMessage(Imported() + "Renamed 1 curve(s) whose first four characters repeat another's: DT as DT1.");
    ASSERT_EQ(Import(lasText), 1);
    EXPECT_EQ(MessageTexts().back(), Imported() + "Renamed 1 curve(s) whose first four characters repeat another's: "
                                                  "DT as DT1.\nStored 3 curve(s) under the first four characters of "
                                                  "their names: " + indices);
    const QtxImage fromLas = LoadQtx(output);
    host.ExpectMessage(Imported() + "Renamed 1 curve(s) whose first four characters repeat another's: DT [US/M] as "
                                    "DT1.\nStored 4 curve(s) under the first four characters of their names: TT R1 as "
                                    "TT R, " + indices);
    ASSERT_EQ(Import(TxtText(table), T::ImportTxtDataSet), 1);
    EXPECT_EQ(MessageTexts().back().find("without their units"), std::string::npos) << MessageTexts().back();
    const QtxImage fromTable = LoadQtx(output);
    ASSERT_EQ(fromTable.descriptors.size(), std::size(cases));
    for (size_t k = 0, n = 0; k < std::size(cases); ++k) {
        const auto& c = cases[k];
        const QtxDatumDescriptor& got = fromTable.descriptors[k];
        EXPECT_EQ(std::string(got.mnemonic, 4), c.kept) << c.table;
        EXPECT_EQ(int(got.axis1.unit), c.unit) << c.table;
        EXPECT_EQ(int(got.typeCode), c.tableType) << c.table;
        for (size_t f = 0; f < table.depths.size(); ++f)
            EXPECT_EQ(fromTable.frames[f][k], float(LasValue(int(f), int(k)))) << c.table;
        if (!*c.las) continue;
        const QtxDatumDescriptor& lasGot = fromLas.descriptors[n];
        EXPECT_EQ(std::string(lasGot.mnemonic, 4), c.kept) << c.las;
        EXPECT_EQ(int(lasGot.axis1.unit), c.unit) << c.las;
        for (size_t f = 0; f < las.depths.size(); ++f)
            EXPECT_EQ(fromLas.frames[f][n], float(LasValue(int(f), int(n)))) << c.las;
        ++n;
    }
    // Nothing in the history tells of units: every one is stored as written.
    const std::string history(fromTable.header.history, sizeof fromTable.header.history);
    EXPECT_EQ(history.find("*** Stored"), std::string::npos) << history;
}

// A NULL of NaN marks the values that are no number; with another NULL, "nan" values
// become absent all the same, and so do infinite ones in any spelling. All are counted.
TEST_F(LasImportTest, NanValuesBecomeAbsentAndAreCounted)
{
    const auto with = [](const std::string& null) {
        std::string text = Replaced(LasText({}), "-999.2500 :", null + " :");
        text = Replaced(text, "1000.5000  10.2500  20.2500", "1000.5000  nan  NaN");
        text = Replaced(text, "1001.0000  10.5000", "1001.0000  NAN");
        return Replaced(text, "1001.5000  10.7500  20.7500  30.7500", "1001.5000  inf  -INF  Infinity");
    };
    const std::string infinite = "Wrote 3 value(s) that are no number or infinite (nan, inf) as absent values (-999.25).";
    const struct {
        std::string null, notice;
    } cases[] = {
        {"NaN", "Wrote 3 value(s) equal to the file's NULL NaN as absent values (-999.25).\n" + infinite},
        {"-999.25", "Wrote 6 value(s) that are no number or infinite (nan, inf) as absent values (-999.25)."},
        {"-1", "Wrote 6 value(s) that are no number or infinite (nan, inf) as absent values (-999.25)."},
        {"-Inf", "Wrote 1 value(s) equal to the file's NULL -Inf as absent values (-999.25).\n"
                 "Wrote 5 value(s) that are no number or infinite (nan, inf) as absent values (-999.25)."},
    };
    for (const auto& c : cases) {
        host.ExpectMessage(c.notice);
        ASSERT_EQ(Import(with(c.null)), 1) << c.null;
        const QtxImage out = LoadQtx(output);
        EXPECT_EQ(out.frames[1], (std::vector<float>{-999.25f, -999.25f, 30.25f})) << c.null;
        EXPECT_EQ(out.frames[2], (std::vector<float>{-999.25f, 20.5f, 30.5f})) << c.null;
        EXPECT_EQ(out.frames[3], (std::vector<float>{-999.25f, -999.25f, -999.25f})) << c.null;
    }
}

// A header of two million curve lines is refused by their count, and what it keeps of
// them is one data set's worth: memory does not grow with the curve lines.
TEST_F(LasImportTest, MillionsOfCurveLinesAreCountedNotKept)
{
    {
        std::ofstream file(input, std::ios::binary);
        file << "~Version\n VERS. 2.0 :\n~Well\n STRT.M 1000.0 :\n~Curve\n DEPT.M :\n";
        const std::string line = " CURV.UNIT :\n";
        std::string block;
        for (int k = 0; k < 10000; ++k) block += line;
        for (int k = 0; k < 200; ++k) file << block;
        file << "~A\n1000.0 1.0\n";
    }
    CLasDoc doc;
    TextTable table;
    host.ExpectMessage("Encountered 2000000 curves after the depth in file :\n" + input +
                       "\nA data set holds at most 256: split the file's curves into files of at most 256.\n"
                       "Operation will be abandoned.");
    EXPECT_EQ(ReadLasHeader(doc, input, table), 0);
    EXPECT_LE(table.datums.capacity(), 256u);
}

} // namespace
