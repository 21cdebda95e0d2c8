// Process > Lis to QTX: a LIS tape image becomes a QTX data set. The user picks the
// tool that recorded it, the parameter scan finds its waveforms, the user picks one
// data set and its items, and every depth frame of that data set is written with one
// trace per receiver of each chosen item, beside a conversion log (".log").
//
// Each receiver's trace goes through one of the conversion variants, chosen by the
// item type code (gain, start time, delay, data offset, runner blanking). A shot the
// variant reports bad is replaced by the same receiver of the last frame whose first
// receiver was good, and each run of bad shots is logged once a good one follows.
//
// Every refusal (nothing to convert, an item the trace buffer cannot hold, output
// over the input, a log that cannot be written) comes before the output is created.
// A stop deletes the output and keeps the log; a write failure keeps the whole
// frames written, counted in the header.
#pragma once

#include "dataset/QtxFile.h"
#include "lis/LisRead.h"
#include "lis/LisScanModel.h"
#include "platform/BinaryFile.h"
#include "platform/OutputFile.h"

#include <cstdint>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

class CQtxFrameWriter;

namespace lis::to_qtx {

// Samples of one converted trace (fixed delay plus samples per waveform): the
// conversion's trace buffer.
constexpr int kMaxTraceSamples = 8192;
// Room for the values of the longest channel a data format can describe (a 16-bit
// size of 1-byte elements), read before they are placed into a trace.
constexpr size_t kChannelFloats = 65536;
constexpr int kProgressRange = 1000;
// Dead data: the checked-gain variant looks at this many samples behind the first.
constexpr int kDeadCheckSamples = 20;
constexpr float kDeadMarker = -32767.0f;

// How a receiver's trace is made, by item type code.
enum class Variant {
    Plain,        // the channel as read, from the trace's start
    DelayOnly,    // behind the fixed delay
    Offset,       // behind the delay, offset subtracted, runners blanked
    SignedDelay,  // as Offset; a negative delay drops the first samples
    Factor,       // as Offset, times the start-list multiplier or the gain-list gain
    GainAndStart, // gain, and the trace shifted by the frame's start time
    CheckedGain3, // gain in 3-step units; dead data is a bad shot
    CheckedGain1, // gain in 1-step units; dead data is a bad shot
};
Variant VariantOf(uint8_t typeCode);

// The result of one receiver's conversion.
enum Shot : int { kBadShot = 0, kGoodShot = 1, kNoChannel = 2 };

} // namespace lis::to_qtx

class CLisToQtx {
public:
    CLisToQtx();
    ~CLisToQtx();
    CLisToQtx(const CLisToQtx&) = delete;
    CLisToQtx& operator=(const CLisToQtx&) = delete;

    // The whole command: input, tool, scan (the tool dictionary read from
    // `dictionaryDirectory`), items, output, log, conversion. Every refusal and failure
    // has been shown when it returns.
    void Run(const std::string& dictionaryDirectory);

    // The log beside `outputPath` (its extension replaced by "log"), holding its first
    // three lines, written under a temporary name until the converter closes it (a new
    // OpenLog, the end of Run, or the converter going). 1 when open; 0 when the log
    // would replace the input or the output, the user keeps an existing log, or it
    // cannot be created (told).
    int OpenLog(const std::string& inputName, const std::string& outputPath, const std::string& lisPath);
    // The lines that tell the tool, the data set and its depth range.
    void LogDataSet(const std::string& toolName, const CLisLogicalFile& dataSet);

    // Writes the selected items of `dataSet` frame by frame. 1 when every frame was
    // written; 0 when it was refused (told), the output could not be written (the whole
    // frames written stay, counted), or the user stopped (the output is deleted).
    int Convert(CLisLogicalFile* dataSet, const std::string& lisPath, const std::string& qtxPath);

    // The items `dataSet` converts, in list order; the reason the first one that
    // cannot be converted is refused ("" when none).
    static std::vector<CWaveformPickItem*> SelectedItems(const CLisLogicalFile& dataSet);
    static std::string Refusal(const CWaveformPickItem& item);
    // The output proposed for a data set: the input's title, "_", the data set's name
    // without white space and with its last "." made "_".
    static std::string DefaultOutputName(const std::string& lisPath, const std::string& dataSetName);
    // The path of the log of an output.
    static std::string LogPath(const std::string& outputPath);
    // The QTX axis unit of a channel's units.
    static uint8_t UnitCode(const std::string& units);

    // Fills the header (direction, depth units, depths, step, history) and lays out one
    // datum per selected item; then writes header and descriptors. 1, or 0 (told).
    int WriteHeader(CLisLogicalFile* dataSet, const std::string& lisPath);
    int WriteItemDescriptors(CLisLogicalFile* dataSet);

    // Receiver `receiver` of `wave` at `frame` into m_data[0, TraceSamples()).
    int ConvertWaveform(const CLisDepthEntry& frame, CWaveformPickItem& wave, uint16_t receiver);

    CLisLogicalFileList m_dataSets;  // what the scan found; kept until the object goes
    CLisRead m_reader;
    BinaryFile m_input; // the input Run opened before the log, for Convert to read
    std::unique_ptr<CQtxFile> m_output; // made for each conversion
    CQtxDescriptorList m_descriptors;   // of the selected items, laid out by WriteHeader
    std::vector<float> m_data;       // one trace
    std::vector<float> m_channel;    // one channel's values as read
    OutputFile m_log;                // committed by CloseLog
    bool m_outputConfirmed = false;  // the save dialog asked before replacing the output
    std::time_t (*m_clock)() = &SystemTime; // the log's date

private:
    static std::time_t SystemTime() { return std::time(nullptr); }

    // The end of a run that wrote its data set: the status bar names it, its log and the
    // frames dropped; a message tells the channels not converted whole.
    void TellDone(const std::string& outputPath, const std::string& log);
    void WriteLog(const std::string& text);
    // Commits the log under its name (told when that fails).
    void CloseLog();
    void LogBadShots(CWaveformPickItem& wave);
    // Names each fast channel of the selected items, its samples per frame, what the
    // data set keeps of them and where they sit.
    void LogFastChannels(const CLisLogicalFile& dataSet);
    // Names each frame the scan dropped for a repeated depth, with its depth.
    void LogDroppedFrames(const CLisLogicalFile& dataSet);
    // Names each frame whose depth goes back against the log's direction.
    void LogBackwardFrames(const CLisLogicalFile& dataSet);
    // Tells a DFSR frame size its channels disagree with and which one was read (or
    // that neither lays out the frames), the bytes of data records behind their last
    // whole frame, and what EB 8 was where the data set's step is another.
    void LogFrameLayout(const CLisLogicalFile& dataSet);
    // Per item, the code-50 values a float cannot hold (`beyond`, in item order).
    void LogBeyondFloat(const std::vector<CWaveformPickItem*>& items, const std::vector<uint64_t>& beyond);
    // Writes receiver `receiver` of `wave` for frame `k` by the bad-shot rule.
    int WriteShot(CQtxFrameWriter& writer, size_t k, const CLisDepthEntry& frame, CWaveformPickItem& wave,
                  uint16_t receiver, uint64_t datumOffset);

    // Reads the values of `channel` at `frame` into m_channel; their count, or -1
    // when the record or the slice cannot be read.
    int64_t ReadValues(const CLisDepthEntry& frame, const CLisChannelItem& channel);
    // The first value of `channel` at `frame`; false when it cannot be read.
    bool ReadFirstValue(const CLisDepthEntry& frame, const CLisChannelItem& channel, float& value);
    // Reads the samples of the wave channel: the first n into m_channel (absent values
    // behind what the channel holds). The count of samples read (at most n), or -1
    // when the read failed.
    int ReadSamples(const CLisDepthEntry& frame, const CLisChannelItem& channel, int n);
    int FillAbsent(const CWaveformPickItem& wave);
    // The variants that read a gain or start time before the samples: receiver
    // `channel` of `wave` into m_data, with that receiver's gain and start-time
    // channels (null when the item has none). The shot's result.
    int ConvertFactor(const CLisDepthEntry& frame, CWaveformPickItem& wave, const CLisChannelItem& channel,
                      const CLisChannelItem* gain, const CLisChannelItem* start);
    int ConvertGainAndStart(const CLisDepthEntry& frame, CWaveformPickItem& wave, const CLisChannelItem& channel,
                            const CLisChannelItem* gain, const CLisChannelItem* start);
    // `step`: the gain unit, 10^(-gain x step).
    int ConvertCheckedGain(const CLisDepthEntry& frame, CWaveformPickItem& wave, const CLisChannelItem& channel,
                           const CLisChannelItem* gain, double step);

    int m_leftOut = 0; // channels the last LogDataSet named as not converted whole
    uint64_t m_droppedFrames = 0; // frames of repeated depths the last LogDataSet named
    uint64_t m_placedOnNextFrames = 0; // depth-once frames it named as placed on the next record
    uint64_t m_dataStart = 0;
    uint64_t m_frameSize = 0;
};
