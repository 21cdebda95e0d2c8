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
#include <string>
#include <string_view>
#include <vector>

class CLasDoc;
class CToolsWnd;

enum class DataColumns : uint8_t {
    Blanks, // fields separated by blanks or tabs (LAS)
    Tens,   // fields of exactly 10 characters each (text tables)
};

struct TextTable {
    DataColumns columns = DataColumns::Blanks;
    bool sectionEndsData = false;  // a line that begins with "~" ends the data (LAS)
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
};

// Blank, tab and CR: what separates the fields of a data line and pads it.
inline bool IsFieldBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }
bool IsBlankLine(std::string_view line);
std::string_view TrimBlanks(std::string_view text);
// The blank-separated fields of a line.
size_t CountFields(std::string_view line);
// The depth and `count` values of a data line; false when the line does not hold exactly
// that many fields or a field is no number (the depth rule judges the depth). Values are
// narrowed to single precision; a finite value beyond its range is no float and becomes
// the absent value -999.25, counted in *beyond when given (infinities stay infinities).
bool ParseDataLine(std::string_view line, DataColumns columns, size_t count, double* depth, float* values,
                   int64_t* beyond = nullptr);

// Reads the data lines that follow the header (the input stands at the first) to their
// end: their count and the depths of the first, second and last, each of those lines
// parsed whole, and every line's depth held to the depth rule (direction and step from
// the first two). Refuses (message, 0) data that end before two lines, a depth that breaks
// the rule, and a line that is too long or not parsed. With sectionEndsData, notes the
// data sections after the end in otherLogs. Leaves the input at the first data line again.
int ScanDataLines(CLasDoc& doc, TextTable& table, const std::string& path);

// Writes the data set: header (direction and step from the first two depths, the history
// naming the file's depth range), one frame per data line. 1 when done or stopped, -1
// after a failure, with the output removed. A run that is done says what it left out:
// values beyond single precision (written absent) and the other logs.
int RunTextImport(CToolsWnd& e, CLasDoc& doc, const TextTable& table, const std::string& label);

// One single-value curve datum of a text import.
CQtxDatum CurveDatum(const std::string& name, uint8_t typeCode = 0, uint8_t unit = kUnitNone);
