// The text imports (Convert LAS To QTX, Import TXT Data Set). A header reader of each
// format finds the curves and the line the data start after; from there both read
// alike: one data line per frame holding the depth and then one value per curve, blank
// lines skipped, up to the end of the text (or a LAS file's next "~" section). Every
// value must be a whole number text: anything else is a format error, never a 0.
//
// The data are read twice: once to count the frames and check the first, second and
// last line (a file refused there leaves no output), then to write the frames. A run
// that fails on a later line removes its output too: a data set cut short by a fault
// of its file is not kept as if it were the file's.
#pragma once

#include "dataset/QtxFile.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class CLasDoc;
class CToolsWnd;

enum class DataColumns : uint8_t {
    Blanks, // fields separated by blanks or tabs (LAS)
    Tens,   // fields of exactly 10 characters each (text tables)
};

// What became of values on their way to floats: a file's declared NULL and the values
// beyond single precision are written as the absent value, and counted.
struct ValueTally {
    std::optional<double> null; // the file's NULL, when it is another number than -999.25
    std::string nullText;       // as the file writes it
    int64_t nulls = 0;
    int64_t beyond = 0;
    int64_t nans = 0; // values that are no number ("nan") or infinite ("inf"), unless equal to the NULL
};

struct TextTable {
    DataColumns columns = DataColumns::Blanks;
    bool sectionEndsData = false;  // a line that begins with "~" ends the data (LAS)
    bool hashComments = false;     // lines that begin with "#" are comments, skipped (LAS)
    bool lasWholeNames = false;    // a LAS 3.0 file: its sections go by their whole names
    int headerLines = 0;           // the data start after these lines
    std::vector<CQtxDatum> datums; // one per value column after the depth, in order
    uint8_t depthUnits = qtx::kUnitsFeet;
    // ---- found by ScanDataLines
    int32_t dataLines = 0;
    double top = 0.0;    // depth of the first data line
    double second = 0.0; // of the second
    double last = 0.0;   // of the last
    // Data sections after the one read (a LAS 3.0 file of several logs), by their titles.
    std::vector<std::string> otherLogs;
    // Sections before the data this import does not read (LAS 3.0 core, tops, ...).
    std::vector<std::string> leftOutSections;
    std::optional<double> null; // the file's NULL, when it is another number than -999.25
    std::string nullText;
    // A file of one data line is imported (LAS), at the step of its header, else at the
    // step every one-frame import takes (defaultStep then set by ScanDataLines).
    bool oneLine = false;
    double headerStep = 0.0; // the file's STEP in its depth units, signed (0: none); for one line, the step taken
    bool defaultStep = false;
    // Curves renamed to keep their four characters apart: "NPHI_LIM as NPH1".
    std::vector<std::string> renamed;
    // Curves of a name of their own longer than four characters, kept as its first four: "CALIPER as CALI".
    std::vector<std::string> shortened;
    // Each datum's unit as the file writes it where the data set has no code for it, else
    // "" (filled by the header readers beside datums); NameUnitsNotHeld lists them.
    std::vector<std::string> unheldUnits;
    // Curves stored without the unit the file gives them: "RHOB [K/M3]".
    std::vector<std::string> unitsNotHeld;
    // Text tables: curves whose name ends in a unit they are not stored in, with the unit
    // stored: "DTX [g/cc] as [uSec/m]" (a unit the data set cannot hold, on a curve of
    // none, is in unitsNotHeld instead).
    std::vector<std::string> unitsChanged;
    // How those names enclose their units, which the list's heading names.
    bool changedInBrackets = false;
    bool changedInParentheses = false;
    // Text tables: each curve's name as the table writes it, unit and all; the lists name
    // a curve by it, for its mnemonic alone may not tell which line it was.
    std::vector<std::string> writtenNames;
};

// The kinds of LAS section a "~" line opens. LAS 1.2 and 2.0 tell them by the first
// letter after the "~" alone ("~CURVE_INFORMATION" is the curve section); LAS 3.0 names
// them in full, its log's own under two names ("~Curve" or "~Log_Definition", "~ASCII" or
// "~Log_Data"), so there a name with "_" goes by its whole word: "~Core_Definition" is no
// curve section.
enum class LasSection : uint8_t {
    Version,
    Well,
    Curve,
    Parameter,
    Other,
    Data,      // the log's data: "~A...", "~Log_Data"
    OtherData, // another LAS 3.0 data section ("~Core_Data")
    Unknown,   // any other section ("~Tops_Definition")
};
// The section of a "~" line, and its title (the text after "~" up to a "|", trimmed);
// wholeNames for a LAS 3.0 file.
LasSection ClassifyLasSection(std::string_view line, std::string* title, bool wholeNames);
// "a, b, c, d, e and 7 more": a list of names that stays short however long it is.
std::string NameList(const std::vector<std::string>& names);
// The one form of the text imports' refusals of what exceeds a limit: what, the file,
// the limit and what to do.
std::string LimitRefusal(const std::string& what, const std::string& path, const std::string& limitAndAdvice);
// A line longer than CLasDoc::kMaxLine (its number from 1).
std::string LongLineRefusal(int64_t line, const std::string& path);

// Opens a text input as both imports do: one without a byte, or of zero bytes only (as a
// crash leaves a file), is refused in the form every unopenable input is, with its
// cause. 1, or 0 after the message.
int OpenTextInput(CLasDoc& doc, const std::string& path);

// Equal but for the case of ASCII letters; a text in capitals.
bool SameText(std::string_view a, std::string_view b);
std::string Upper(std::string_view text);
// The depth unit a LAS unit names: feet, metres, or 0 for any other.
uint8_t DepthUnits(std::string_view unit);
// A unit without the brackets some files put around it ("[US/M]", "(USEC/M)").
std::string_view BareUnit(std::string_view unit);
// A curve's unit as the data set codes it, kUnitNone where it has no code. Files spell
// slowness many ways ("us/ft", "USEC/FT", "[US/M]", "us / ft" in a table's name, "µs/ft"):
// each is brought to the form the code table holds ("US/F") first, or Convert Slowness
// would find no slowness curve in the import. Both imports read units here.
uint8_t CurveUnitCode(std::string_view unit);

// Blank, tab and CR: what separates the fields of a data line and pads it.
inline bool IsFieldBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }
bool IsBlankLine(std::string_view line);
std::string_view TrimBlanks(std::string_view text);
// The blank-separated fields of a line.
size_t CountFields(std::string_view line);
// The depth and `count` values of a data line; false when the line does not hold exactly
// that many fields or a field is no number (the depth rule judges the depth; one beyond
// double's range is refused). Values are narrowed to single precision; a value beyond its
// range (1e39, 1e999, -1e999, and a nonzero one it would make 0, 1e-999) is no float and
// becomes the absent value -999.25, as does a value equal to the tally's NULL; both
// counted in the tally when given, as is what is no number or infinite (nans).
bool ParseDataLine(std::string_view line, DataColumns columns, size_t count, double* depth, float* values,
                   ValueTally* tally = nullptr);

// Reads the data lines that follow the header (the input stands at the first) to their
// end: their count and the depths of the first, second and last, each of those lines
// parsed whole, and every line's depth held to the depth rule (direction and step from
// the first two). Refuses (message, 0) data that end before two lines, a depth that breaks
// the rule, and a line that is too long or not parsed (the message names the line). With sectionEndsData, notes the
// data sections after the end in otherLogs. Leaves the input at the first data line again.
int ScanDataLines(CLasDoc& doc, TextTable& table, const std::string& path);

// Writes the data set: header (direction and step from the first two depths, the history
// naming the file's depth range), one frame per data line. 1 when done or stopped, -1
// after a failure, with the output removed. A run that is done says what it left out:
// values beyond single precision and those equal to the file's NULL (written absent),
// the other logs and the sections left out, and the curves stored under other names or
// units; a stopped run that kept frames says the same after a line that it was stopped.
int RunTextImport(CToolsWnd& e, CLasDoc& doc, const TextTable& table, const std::string& label);

// Convert LAS To QTX's header: the curves of the curve section the data section belongs
// to (at most a data set's datums kept: a file of more is refused by their count), the
// depth unit, NULL and STEP, with the input left at the first data line; 1, or 0 after
// the refusal's message.
int ReadLasHeader(CLasDoc& doc, const std::string& path, TextTable& table);

// Import TXT Data Set's header: the comment lines, the column count and the curve names,
// the data set's datums from them; 1, or 0 after the refusal's message.
int ReadTxtHeader(CLasDoc& doc, const std::string& path, TextTable& table);

// A data set keeps four characters of a curve's name, and the log plot finds a curve by
// them: curves whose names agree in those (NPHI_SAN, NPHI_LIM) must not all become NPHI.
// A whole name of at most four characters stays its curve's wherever the others stand.
// A longer name of such curves that ends in digits keeps them where no curve has that
// name (GASS1 as GAS1, CBP13 as CB13), so that numbered curves keep their numbers
// whatever their order; of the others the first keeps the four characters and each later
// one takes a number in its last ones (NPH1). `renamed` lists, in the file's order, every
// curve of shared four characters that is not stored under its whole name, `shortened`
// every other curve whose name was cut to four characters.
void MakeNamesDistinct(TextTable& table);

// A data set keeps a unit as one of its codes: a curve whose unit has none is stored
// without it. Lists each such curve (unheldUnits) by its whole name, a blank one by its
// column, with the unit as written, in unitsNotHeld; call it before MakeNamesDistinct.
void NameUnitsNotHeld(TextTable& table);

// One single-value curve datum of a text import.
CQtxDatum CurveDatum(const std::string& name, uint8_t typeCode = 0, uint8_t unit = kUnitNone);
