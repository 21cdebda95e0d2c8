// CLasDoc: the tool box's text files. The LAS and text-table imports read their input
// through it line by line, and the LAS export writes its output through it; it is the
// one place where the LAS 2.0 header the program writes is defined.
//
// Line model of every reading operation: a line ends at LF (10), or at a CR (13) that
// no LF follows; ReadLine drops one CR right before an LF, ReadDataLine keeps it. A
// UTF-8 byte-order mark before the first line is skipped. The text ends at the end of the file or at its first Ctrl-Z (26), and a last
// line cut short by either is still a line. A line of more than kMaxLine characters is
// not read: the operation reports kLongLine. Operations that take a line count or a
// search key start from the beginning of the input; ReadLine and ReadDataLine go on
// from where the input stands. Input is read in large pieces, so reading line by line
// costs no system call per line; the input is opened for reading only.
#pragma once

#include "platform/BinaryFile.h"
#include "platform/OutputFile.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class CLasDoc {
public:
    static constexpr int kEnd = -1;      // the text ended before the line
    static constexpr int kLongLine = -2; // the line is longer than kMaxLine
    static constexpr size_t kMaxLine = 16384;

    CLasDoc();
    CLasDoc(const CLasDoc&) = delete;
    CLasDoc& operator=(const CLasDoc&) = delete;

    // ---- reading ----------------------------------------------------------------------
    // Keeps the path and opens the file for reading only; 1, or 0 after "Could not open
    // input file :\n" + path and the cause, the one message the importers give.
    int OpenInput(const std::string& path);
    void CloseInput();
    void Rewind();
    // The input's first bytes (up to a read piece, fewer when the file is shorter), with
    // the input rewound: what the importers judge before they read lines.
    std::string_view Head();
    // Lines read since the input was opened or rewound (every operation that starts
    // from the beginning rewinds): where a text that ended early ended.
    int64_t LinesRead() const { return m_linesRead; }
    // The next line's text without its LF and without a CR right before it; returns the
    // characters before the LF (such a CR counted), or kEnd / kLongLine with *line untouched.
    int ReadLine(std::string* line);
    // As ReadLine, but the text keeps its CR and is a view into the read buffer, valid
    // until the next read: the data loops copy nothing. With wrapped fields set, the
    // lines of one depth step are joined by blanks into one such view.
    int ReadDataLine(std::string_view* line);
    // Wrapped data (WRAP YES): from now on ReadDataLine joins lines up to `fields`
    // blank-separated fields (the depth and every value of a step); a blank, comment or
    // section line that would start a step comes alone; the last step of the text may
    // fall short. 0 (the start value): one line per step.
    void SetWrappedFields(size_t fields) { m_wrappedFields = fields; }
    // Lines the last ReadDataLine took: 1, or more for a wrapped step (after kLongLine,
    // up to the long one). Messages that name a line by its number count them.
    int LinesTaken() const { return m_linesTaken; }
    // From the start, reads `count` lines (at least one): 0 with the input at the next
    // line, or kEnd / kLongLine.
    int SkipLines(int count);
    // From the start, the number (from 1) of the first line that begins with `key`
    // (exact, case-sensitive), with the input after it; or kEnd / kLongLine.
    int FindLine(std::string_view key);
    // From the start, the number of the first of the first `maxLines` lines that holds
    // `text` anywhere; kEnd when none of them does or the text ends first.
    int FindLineWithin(std::string_view text, int maxLines);
    // From the start, reads lines while they begin with "*": the number read, the first
    // line that does not begin with "*" included, with the input after it; or kEnd / kLongLine.
    int CountCommentLines();

    // ---- writing ----------------------------------------------------------------------
    // Keeps the path and creates the output under a temporary name (an existing file
    // stays until CloseOutput commits); 1, or 0 after "Could not open output file :\n" + path.
    int OpenOutput(const std::string& path);
    // The text and one LF; gathered and written in large pieces.
    void WriteLine(std::string_view text);
    // Writes what was gathered and commits the output under its name (abandons it when
    // `commit` is false): 1, or 0 after "Error writing output file :\n" + path when any
    // write or the commit failed, the name then keeping what it held before.
    int CloseOutput(bool commit = true);
    // The kHeaderLines lines that open every LAS file the program writes, with the depth
    // members (each as AppendDepth writes it): "F" units when `feet` is 1, "M" for any
    // other value; WRAP NO (one line per depth step). Always 1.
    int WriteLas20Header(uint8_t feet);
    // Writes STOP's depth again, in the width it was written in, where the header stands:
    // a run that ends before its last frame says where its data end. false, nothing
    // written, when the depth needs a wider field; a failed write is told at CloseOutput.
    bool RewriteStop(double depth);
    static constexpr int kHeaderLines = 32;
    static constexpr size_t kFieldWidth = 11; // of every number the header and data lines hold
    // Appends the value as "%*.*f" writes it with that width and those decimals (C
    // locale), to the last digit.
    static void AppendField(std::string& line, double value, size_t width = kFieldWidth, int decimals = 4);
    // Appends a depth as AppendField does where those four decimals give it back to
    // kDepthResolution, otherwise with the fewest decimals (up to 9) that do: a step of
    // an inch (0.0833333 ft) or a tenth of one is not written as another depth.
    static void AppendDepth(std::string& line, double depth, size_t width = kFieldWidth);
    static constexpr double kDepthResolution = 5e-8;
    // Appends a finite curve value as AppendField does where those four decimals read
    // back as the same float (text to double, then to float, as the LAS import reads it);
    // otherwise the shortest text that does ("6.26e-05", never "0.0001"), right-aligned
    // in the same width.
    static void AppendValue(std::string& line, float value, size_t width = kFieldWidth);

    // A curve's unit in LAS, by the data set's unit code ("US/F"); empty for the codes
    // that name none. UnitCode is its inverse, case aside; kUnitNone for any other text.
    static std::string_view UnitMnemonic(uint8_t code);
    static uint8_t UnitCode(std::string_view mnemonic);

    // ---- state ------------------------------------------------------------------------
    double m_depthStep = 0.0;   // STEP of the header written; set by the caller
    double m_topDepth = 0.0;    // STRT
    double m_bottomDepth = 0.0; // STOP
    size_t m_stopWidth = kFieldWidth; // of STOP's depth: wide enough for any frame's, for RewriteStop
    int64_t m_inputLength = 0;  // bytes of the input, taken when it is opened
    std::string m_path;         // of the file opened last (input or output); messages name it

private:
    int NextLine(std::string_view* line);
    bool Refill();
    void FlushOutput();

    BinaryFile m_fileIn;
    OutputFile m_fileOut;
    std::string OutputCause() const { return OutputFailureCause(m_path, m_fileOut.Error()); }
    std::vector<char> m_buffer;   // input bytes m_begin..m_end are not read yet
    size_t m_begin = 0;
    size_t m_end = 0;
    int64_t m_bufferOffset = 0;   // file offset of m_buffer[0]
    bool m_noMoreBytes = false;   // nothing after m_end is text: the file or a Ctrl-Z ended it
    size_t m_wrappedFields = 0;   // fields of a wrapped depth step, 0 when not wrapped
    int m_linesTaken = 1;         // by the last ReadDataLine
    int64_t m_linesRead = 0;      // since the open or the last rewind
    std::string m_record;         // a wrapped step's lines joined
    std::string m_pending;        // output not written yet
    int64_t m_written = 0;        // bytes of output written before m_pending
    int64_t m_stopAt = -1;        // where STOP's depth stands in the output
    size_t m_stopLength = 0;
    bool m_writeFailed = false;
};
