// Process > QTX to Lis: one QTX data set written as a LIS tape image, with a
// progress dialog that can stop it. A failed or stopped export leaves no LIS file.
#pragma once

#include "dataset/QtxLayout.h"
#include "lis/LisWrite.h"
#include "platform/BinaryFile.h"
#include "platform/Dialog.h"

#include <cstdint>
#include <string>
#include <vector>

class CWaveformPackPreferenceDlg : public CDialog {
public:
    CWaveformPackPreferenceDlg();
    void DoDataExchange(DataExchange& dx) override { dx.Radio(1136, m_choice); }
    int m_choice = -1; // 0 packed, 1 individual waveforms
};

class CQtxToLis {
public:
    CQtxToLis() = default;

    // Asks for the input and output files (the output proposed beside the input,
    // with the extension "lis"), then converts.
    void Run();
    // 1 when every frame was written; 0 when the output is the input, the input cannot
    // be read or the pack question is cancelled (all before the output is created), or
    // the output cannot be written or the user stops (any message has been shown).
    int Convert(const std::string& qtxPath, const std::string& lisPath);
    // Values code 68 cannot hold (not a number, infinite, or of magnitude 2^127 or more)
    // that the last Convert wrote as the absent value.
    int64_t AbsentWritten() const { return m_absentWritten; }
    // Frames of the last Convert whose depth repeats the one before or goes back
    // against the header's log direction.
    int64_t OutOfOrder() const { return m_outOfOrder; }

    BinaryFile m_input;
    CLisWrite m_writer;
    QtxFileHeader m_header;
    std::vector<QtxDatumDescriptor> m_descriptors;

private:
    // Header and descriptors of the input, its counts checked against its length.
    Status ReadLayout(const std::string& qtxPath);
    // Puts the absent value in place of each value code 68 cannot hold, counting them.
    void ReplaceUnwritable(float* values, uint32_t count);
    // 1 per receiver, 0 one channel per datum, -1 when the question was cancelled.
    int AskPacking() const;
    // The frames, with the progress dialog; 1, or 0 when stopped or failed (told).
    int WriteFrames(const std::string& qtxPath);
    void CountOutOfOrder(double depth, uint32_t frame);

    int64_t m_absentWritten = 0;
    int64_t m_outOfOrder = 0;
    double m_lastDepth = 0.0;
};
