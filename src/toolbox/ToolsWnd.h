// CToolsWnd: the tool-box engine. Not a window: one object per Run of the tool box
// that holds the task settings, the input and output data sets and the task state,
// with one task function per tool. The dispatcher fills the public settings, calls
// one task function and throws the object away.
//
// Task functions return 1 when the run ended normally or the user stopped it, -1
// after a refusal or failure; every failure has been shown in a message box.
// Refusals (empty selection, a No, a data set that does not fit or runs neither up
// nor down, an output that is one of the inputs) happen before the output is
// created. Once frames are being written, every ending (done, stopped, failed)
// leaves an output whose header counts exactly the whole frames it holds.
#pragma once

#include "dataset/QtxFile.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The second shared read buffer of the tool box (the first is g_fftData). Both are
// used from element 1 on, so each holds kToolSampleCapacity values.
inline constexpr int kToolBufferSize = 65537;
inline constexpr size_t kToolSampleCapacity = 65536;
extern float g_toolBuffer[kToolBufferSize];

class CToolsWnd {
public:
    static constexpr int kMaxToolDatums = 256; // entries of the selection flag arrays
    static constexpr size_t kHistoryLimit = 4094; // last history position read back; lines end before it

    // One input's selection and header bytes.
    struct InputGroup {
        int32_t datumCount = 0;
        uint32_t listed[kMaxToolDatums] = {};
        uint32_t selected[kMaxToolDatums] = {};
        std::string curveMnemonic;
        uint8_t curveUnit = 0;
        uint8_t curveCategory = 0;
        uint8_t logDirection = 0; // header byte 0
        uint8_t depthUnits = 0;   // header byte 1
        uint32_t offsetInFrame = 0;
        uint32_t frameCounter = 0;
    };

    CToolsWnd();
    CToolsWnd(const CToolsWnd&) = delete;
    CToolsWnd& operator=(const CToolsWnd&) = delete;

    // ---- tasks --------------------------------------------------------------------------------
    int ReverseDepthOrder(const std::string& windowClass, const std::string& primary);    // task 14
    int ShiftByFactor(const std::string& windowClass, const std::string& primary);        // task 22
    int ReverseReceiverOrder(const std::string& windowClass, const std::string& primary); // task 28

    // ---- settings the dispatcher fills ------------------------------------------------------
    uint32_t m_depthConversionDirection = 0;    // 1 metric, 0 imperial (tasks 6/7)
    uint32_t m_slownessConversionDirection = 0; // 1 metric, 0 imperial (tasks 12/13)
    uint16_t m_startSample = 0;
    uint16_t m_stopSample = 0;
    uint16_t m_decimation = 1;
    uint16_t m_taskCode = 0;      // picks the history's task line; each task sets its own
    float m_factor = 0.0f;        // "Factor"
    double m_factorDouble = 0.0;  // "Factor" as a double (the depth shift reads this one)
    double m_startDepth = 0.0;    // requested primary start depth (history line)
    double m_stopDepth = 0.0;     // requested primary stop depth (history line)
    double m_spliceDepth = 0.0;   // "Splice depth"
    std::string m_outputPath;

    // ---- task state ----------------------------------------------------------------------------
    uint8_t m_inputLogDirection = 0; // single-input tasks: header byte 0 of the input
    uint8_t m_inputDepthUnits = 0;   // single-input tasks: header byte 1 of the input
    uint8_t m_outputDepthUnits = 0;
    int16_t m_depthSign = 1;         // -1 when the input opened last runs up
    double m_rangeEndDepth = 0.0;
    double m_rangeStartDepth = 0.0;
    double m_primaryTop = 0.0, m_primaryBottom = 0.0, m_primaryStep = 0.0;
    int32_t m_primaryFrameCount = 0;
    double m_secondaryTop = 0.0, m_secondaryBottom = 0.0, m_secondaryStep = 0.0;
    int32_t m_secondaryFrameCount = 0;
    double m_densityTop = 0.0, m_densityBottom = 0.0, m_densityStep = 0.0;
    int32_t m_densityFrameCount = 0;
    double m_currentDepth = 0.0;     // depth written in front of the next output frame
    uint16_t m_primarySelectedCount = 0;
    uint16_t m_secondarySelectedCount = 0;
    uint16_t m_densitySelectedCount = 0;
    int32_t m_outputFrameCount = 0;
    int32_t m_singleFrameIndex = 0;  // the frame counter of single-input tasks
    int32_t m_firstIndex = 0;        // frame range of single-input tasks, end excluded
    int32_t m_endIndex = 0;
    int32_t m_progressLower[3] = {}; // primary, secondary, density
    int32_t m_progressUpper[3] = {};
    int32_t m_primaryFirstIndex = 0, m_primaryEndIndex = 0, m_primaryCurrentIndex = 0;
    int32_t m_secondaryFirstIndex = 0, m_secondaryEndIndex = 0, m_secondaryCurrentIndex = 0;
    char m_history[qtx::kHistorySize] = {};
    InputGroup m_primaryGroup;
    InputGroup m_secondaryGroup;
    InputGroup m_densityGroup;

    std::string m_taskLabel;             // P1
    std::string m_inputPath;             // P2: named in the history, reopened by the history editor
    std::string m_primaryPath;           // P3
    std::string m_secondaryPath;         // P4
    std::string m_densityPath;           // P5
    std::string m_depthUnitLabel;        // P6: " [ft]" or " [m]"
    std::string m_logDirectionLabel;     // P7: single-input tasks, "UP" or "DOWN"
    std::string m_multiLogDirectionLabel; // P9: multi-input tasks, "UP" or "DOWN"

    CQtxDatumList m_primaryList;
    CQtxDatumList m_secondaryList;
    CQtxDatumList m_densityList;
    CQtxDescriptorList m_outputDescriptors;

    CQtxFile m_primaryFile;
    CQtxFile m_secondaryFile;
    CQtxFile m_densityFile;
    CQtxFile m_outputFile;

    // ---- shared helpers ----------------------------------------------------------------------
    // "..." and the path from its last separator on; "..." alone without a separator.
    static std::string ShortPath(const std::string& path);
    // R(x): x truncated toward zero to four decimals.
    static double RoundDepth(double depth);
    // Values a datum holds in one frame (traces x samples x rows); elements, not bytes.
    static uint64_t ItemValueCount(const CQtxDatum& item);
    static bool IsTwoAxis(const CQtxDatum& item) { return item.m_axisCount != 1; }
    // For tools that read a whole datum at once: refuses (message, 0) the first datum
    // that takes part (selected[k] set, or every datum when `selected` is null) and
    // holds more values than a shared read buffer; 1 when all fit.
    static int RefuseUnfitItems(const CQtxDatumList& list, const uint32_t* selected);

    // ---- two-input frame --------------------------------------------------------------------
    // 1, or 0 after the CQtxFile message (or silently for a header value of -1);
    // a failure leaves that input closed.
    int OpenPrimary();
    int OpenSecondary();
    int OpenDensity();
    // 1 when the inputs fit together, 0 after a stop-icon message.
    int CheckCurveInputs();      // task 9
    int CheckMergeInputs();      // task 29 (0 without a message when a list has no selection)
    int CheckMechanicalInputs(); // task 31
    // Range start and end, primary first and end index, secondary first index and the
    // current depth, from both inputs' headers and the primary's log direction.
    void FindDepthOverlap();

    // ---- frame readers and copiers ------------------------------------------------------------
    // Readers: traces x samples values of a one-axis item at its offset in `frame`,
    // into g_fftData (or g_toolBuffer) from element 1; 1, or 0 after the read's
    // message (an item larger than the buffer is refused the same way).
    int ReadPrimaryItem(const CQtxDatum& item, int frame);
    int ReadPrimaryItemSecond(const CQtxDatum& item, int frame);
    int ReadSecondaryItem(const CQtxDatum& item, int frame);
    // Copiers: every value of the item (a two-axis item whole, rows after rows) to the
    // output. 1, or 0 after the failing call's message. Frame routines gather the
    // output's bytes (StageDepth, the copiers) and FlushOutput writes them; a routine
    // that writes through m_outputFile directly must flush first.
    int CopyItem(const CQtxDatum& item);       // primary frame at m_singleFrameIndex
    int CopyItemScaled(const CQtxDatum& item); // each value times the factor, -999.25 kept
    int CopyItemOffset(const CQtxDatum& item); // the factor added to each value, -999.25 kept
    int CopyPrimaryItemAt(const CQtxDatum& item, int frame);
    int CopySecondaryItemAt(const CQtxDatum& item, int frame);
    // One value of a one-axis category-6 item; other items: nothing read, 1.
    int ReadPrimaryValue(const CQtxDatum& item, float* value);   // at m_singleFrameIndex
    int ReadPrimaryValueAt(const CQtxDatum& item, float* value); // at m_primaryCurrentIndex
    int ReadSecondaryValue(const CQtxDatum& item, float* value); // at m_secondaryCurrentIndex
    // The depth, then every primary datum of the frame at m_singleFrameIndex unchanged.
    int CopyFrame(double depth);
    int StageDepth(double depth);
    // Writes the gathered bytes; 1, or 0 after "Error writing frame data in file :\n".
    // The frame loop calls it when the buffer fills and before finalizing.
    int FlushOutput();

    // ---- history --------------------------------------------------------------------------------
    // Appends the run's lines to m_history behind `length` used characters; returns
    // the new length.
    int AppendHistory(int length);
    // Runs the history dialog on the input data set, reopens the primary input and
    // takes its history; the used length, or -1 when the input cannot be reopened.
    int EditHistory();
    // Used length of a 4096-byte history: last non-blank of positions 1..4094, plus 1.
    static int HistoryLength(const char* history);

private:
    enum class ValueOp { Copy, Scale, Offset };
    using FrameRoutine = int (CToolsWnd::*)(double depth);

    int CopyItemFrom(CQtxFile& file, const CQtxDatum& item, int frame, ValueOp op);
    int StageValues(const float* values, size_t count, ValueOp op);
    int StageBytes(size_t n, uint8_t*& at);
    int ReadItemInto(CQtxFile& file, const CQtxDatum& item, int frame, float* buffer);
    int ReadValue(CQtxFile& file, const CQtxDatum& item, int frame, float* value);

    // Steps of the tool sequence.
    int CopyPrimarySelection();
    int RefuseTooManyDatums();
    // 1 for an up or down input; otherwise closes the inputs and refuses (message, 0).
    int RefuseUnknownDirection();
    int ReadPrimaryHeader();
    int OpenInput(CQtxFile& file, const std::string& path, CQtxDatumList& list, double& top, double& bottom,
                  double& step, int32_t& frames);
    void OpenedInput(const CQtxFile& file, InputGroup& group, double top, double bottom, int32_t frames,
                     int which);
    // Output writer: refuses an output that is one of the inputs, then the header image
    // (the input's units and step with the given direction and depths; no frame counted
    // until FinalizeOutput, so a killed run claims none), history, every primary datum
    // unchanged, header and descriptors. 0 leaves no output file behind.
    int WriteOutputHead(uint8_t logDirection, double top, double bottom);
    // The depth change from one input frame to the next: up logs may store their step
    // negative, so only its magnitude counts and the direction gives the sign.
    double InputDepthStep() const;
    // Frame loop over m_firstIndex..m_endIndex with the frame counter starting at
    // `first` and moving by `counterStep`, the depth by `depthStep`. Then closes the
    // inputs and finalizes.
    int RunFrames(const std::string& label, int first, int counterStep, double depthStep, FrameRoutine routine);
    void CloseInputs();
    void FinalizeOutput();
    void NoOperation() {}

    int ReverseReceiverFrame(double depth);
    int ReverseReceivers(const CQtxDatum& item);
    int ShiftFrame(double depth);

    static constexpr size_t kOutputPieceBytes = size_t(1) << 20;
    std::vector<uint8_t> m_outBytes; // output bytes gathered across frames, made once
    size_t m_staged = 0;             // bytes waiting in m_outBytes
};
