#include "lis/LisToQtx.h"

#include "common/OutputGuard.h"
#include "common/ProgressDlg.h"
#include "dataset/DepthRule.h"
#include "dataset/QtxFile.h"
#include "dataset/QtxFrameWriter.h"
#include "lis/steps/FrameRules.h"
#include "lis/LisParamScan.h"
#include "lis/SelectInputFileItemsDlg.h"
#include "lis/SelectToolDlg.h"
#include "platform/CommandResult.h"
#include "platform/Endian.h"
#include "platform/FileChoice.h"
#include "platform/Format.h"
#include "platform/Host.h"
#include "platform/Path.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <limits>

using namespace lis::to_qtx;

namespace {

const char kNothingFound[] = "Nothing found to convert in file :\n%s\nIt holds no logical file with depth frames "
                             "and channels the chosen tool or a curve can take.";
const char kLeftOut[] = "Wrote data set :\n%s\n%d channel(s) of the LIS file were not converted whole; the "
                        "conversion log names them :\n%s";
const char kOutputListEmpty[] = "Output List Empty!       ";
const char kNoChannel[] = "Data set %s holds no channel that can be converted :\n%s";
const char kNoChannelFile[] = "File :\n%s\nOperation will be abandoned.";
const char kStopQuestion[] = "Are you sure you want to stop the conversion?";
const char kNoFrames[] = "Data set %s holds no depth frames!\nFile :\n%s\nChoose a data set with frames.\n"
                         "Operation will be abandoned.";
const char kLayoutRefused[] = "Data set %s cannot be converted: %s!\nFile :\n%s\nOperation will be abandoned.";
const char kTooManyFrames[] = "Data set %s holds more depth frames than a data set can count (%u)!\nFile :\n%s\n"
                              "Operation will be abandoned.";
const char kRefusedItem[] = "Item %s cannot be converted: %s!\nFile :\n%s\nLeave the item out in Select Input File "
                            "Items.\nOperation will be abandoned.";
const char kLogOverOutput[] = "The conversion log would replace the output file :\n%s\nOperation will be abandoned.";
const char kLogNotCreated[] = "Could not create log file :\n%s\nOperation will be abandoned.";
const char kLogReadOnly[] = "%s exists as Read Only. Continue?";

std::string Trimmed(std::string text)
{
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.pop_back();
    return text;
}

std::string Upper(std::string text)
{
    for (char& c : text) c = char(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

bool IsReadOnly(const std::string& path)
{
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (error || !std::filesystem::is_regular_file(status)) return false;
    return (status.permissions() & std::filesystem::perms::owner_write) == std::filesystem::perms::none;
}

} // namespace

CLisToQtx::CLisToQtx() : m_data(size_t(kMaxTraceSamples)), m_channel(kChannelFloats) {}

// The log tells how the runs went, whatever their end: it is whole when the converter goes.
CLisToQtx::~CLisToQtx() { CloseLog(); }

// ---- names --------------------------------------------------------------------------

std::string CLisToQtx::DefaultOutputName(const std::string& lisPath, const std::string& dataSetName)
{
    std::string name;
    for (char c : dataSetName)
        if (!std::isspace(static_cast<unsigned char>(c))) name += c;
    const size_t dot = name.rfind('.');
    if (dot != std::string::npos) name[dot] = '_';
    return FileTitle(lisPath) + "_" + name;
}

std::string CLisToQtx::LogPath(const std::string& outputPath)
{
    // The last "." of the name, not of a folder.
    const size_t separator = LastSeparator(outputPath);
    const size_t dot = outputPath.rfind('.');
    const bool inName = dot != std::string::npos && (separator == std::string::npos || dot > separator);
    return (inName ? outputPath.substr(0, dot) : outputPath) + ".log";
}

uint8_t CLisToQtx::UnitCode(const std::string& units)
{
    const std::string u = Upper(Trimmed(units));
    if (u == "US" || u == "USEC") return kUnitMicroseconds;
    if (u == "US/F") return kUnitMicrosecondsPerFoot;
    if (u == "US/M") return kUnitMicrosecondsPerMetre;
    if (u == "DEG") return kUnitDegrees;
    return kUnitNone;
}

// ---- what is converted --------------------------------------------------------------

std::vector<CWaveformPickItem*> CLisToQtx::SelectedItems(const CLisLogicalFile& dataSet)
{
    // Each item's own flag: the dialog clears it when the user takes an item back.
    std::vector<CWaveformPickItem*> items;
    for (const auto& item : dataSet.m_items)
        if (item->m_selected == 1) items.push_back(item.get());
    return items;
}

std::string CLisToQtx::Refusal(const CWaveformPickItem& item)
{
    const int samples = item.TraceSamples();
    if (item.m_receiverCount == 0) return "it has no receivers";
    if (samples < 1) return "its traces have no samples";
    if (samples > kMaxTraceSamples)
        return Format("its traces of %d samples (samples and fixed delay) exceed %d", samples, kMaxTraceSamples);
    // The start time is turned into samples by the sample period, and a waveform's
    // samples are laid out by it: without one no view has an axis to show them on.
    const bool needsPeriod = VariantOf(item.m_typeCode) == Variant::GainAndStart
                             || (item.m_category == kCategoryWaveform && samples > 1);
    if (needsPeriod && !(std::isfinite(item.m_samplePeriod) && item.m_samplePeriod > 0.0f))
        return "it has no sample period";
    return std::string();
}

namespace {

// The item's name as the item dialog shows it, or, where that names nothing, its
// datum or its first channel: a refusal always says which item it means.
std::string ItemName(const CWaveformPickItem& item)
{
    auto names = [](const std::string& text) { return text.find_first_not_of(" -") != std::string::npos; };
    if (names(item.m_displayName)) return item.m_displayName;
    if (names(item.m_mnemonic)) return item.m_mnemonic;
    const CLisChannelItem* channel = item.WaveChannel(0);
    if (channel && names(channel->m_mnemonic)) return "of channel " + channel->m_mnemonic;
    return "without a name";
}

// Why the scan made no item of `channel`; empty when it could.
std::string LeftOutReason(const CLisChannelItem& channel, uint32_t frameSize)
{
    if (channel.m_pastFrameEnd) return Format("it reaches past the end of the %u-byte frame", unsigned(frameSize));
    if (channel.m_unevenSamples)
        return Format("its %u bytes a frame do not split into %d whole samples of representation code %d",
                      unsigned(channel.m_size), int(channel.m_frameSamples), int(channel.m_reprCode));
    if (channel.HasValueLayout()) return std::string();
    return Format("representation code %d holds no numbers", int(channel.m_reprCode));
}

// For a data set without items: its channels left out and why, one a line; empty when
// it has items or none of its channels was left out.
std::string NoItemsCause(const CLisLogicalFile& dataSet)
{
    if (!dataSet.m_items.empty()) return std::string();
    std::string lines;
    for (const auto& channel : dataSet.m_channels) {
        const std::string why = LeftOutReason(*channel, dataSet.m_frameSize);
        if (!why.empty()) lines += "Channel " + channel->m_mnemonic + " left out: " + why + "\n";
    }
    return lines.empty() ? lines : Format(kNoChannel, dataSet.m_fileName.c_str(), lines.c_str());
}

// What to do about a data set of more items than a data set holds.
std::string FewerItems(const CLisLogicalFile& dataSet)
{
    return Format("select %d or fewer items of data set %s in Select Input File Items.", qtx::kMaxDatums,
                  dataSet.m_fileName.c_str());
}

// Whether the conversion can write the data set; false after the message that says why not.
bool DataSetConvertible(const CLisLogicalFile& dataSet, const std::vector<CWaveformPickItem*>& items,
                        const std::string& lisPath)
{
    if (const std::string why = lis::frames::LayoutRefusal(dataSet); !why.empty()) {
        MessageBox(Format(kLayoutRefused, dataSet.m_fileName.c_str(), why.c_str(), lisPath.c_str()),
                   MB_OK | MB_ICONSTOP);
        return false;
    }
    if (dataSet.m_depths.empty()) {
        MessageBox(Format(kNoFrames, dataSet.m_fileName.c_str(), lisPath.c_str()), MB_OK | MB_ICONSTOP);
        return false;
    }
    if (dataSet.m_depths.size() > std::numeric_limits<uint32_t>::max() - 1) {
        MessageBox(Format(kTooManyFrames, dataSet.m_fileName.c_str(), unsigned(std::numeric_limits<uint32_t>::max() - 1),
                          lisPath.c_str()),
                   MB_OK | MB_ICONSTOP);
        return false;
    }
    if (items.empty()) {
        // A data set whose every channel was left out says which and why.
        const std::string cause = NoItemsCause(dataSet);
        if (cause.empty()) MessageBox(kOutputListEmpty, MB_OK);
        else MessageBox(cause + Format(kNoChannelFile, lisPath.c_str()), MB_OK | MB_ICONSTOP);
        return false;
    }
    if (!OkOrShow(DatumCountFits(items.size(), lisPath, FewerItems(dataSet)))) return false;
    for (const CWaveformPickItem* item : items) {
        const std::string why = CLisToQtx::Refusal(*item);
        if (why.empty()) continue;
        MessageBox(Format(kRefusedItem, ItemName(*item).c_str(), why.c_str(), lisPath.c_str()), MB_OK | MB_ICONSTOP);
        return false;
    }
    return true;
}

// No data set was chosen: where none has an item to choose, the channels left out are why.
void TellNothingChosen(const CLisLogicalFileList& dataSets, const std::string& lisPath)
{
    std::string cause;
    bool anyItem = false;
    for (const auto& d : dataSets) {
        anyItem = anyItem || !d->m_items.empty();
        cause += NoItemsCause(*d);
    }
    if (anyItem || cause.empty()) MessageBox(kOutputListEmpty, MB_OK);
    else MessageBox(cause + Format(kNoChannelFile, lisPath.c_str()), MB_OK | MB_ICONSTOP);
}

// Asks for the LIS file: not ok on Cancel, nor after telling that the file is no LIS
// file (before the tool is asked for).
FileDialogResult ChooseLisInput()
{
    FileDialogOptions in;
    in.title = "Browse Input File";
    in.filter = "Lis files (.lis;.tap;.nti;.tif;.lti)|*.lis;*.tap;*.nti;*.tif;*.lti|All files (*.*)|*.*|";
    in.flags = kHideReadOnly;
    FileDialogResult input = ChooseFile(in);
    BinaryFile probe;
    if (input.ok && !OkOrShow(CLisRecordIO::OpenInput(probe, input.path))) input.ok = false;
    return input;
}

// The logical file the items dialog left selected, or nullptr.
CLisLogicalFile* ChosenDataSet(const CLisLogicalFileList& dataSets)
{
    for (const auto& d : dataSets)
        if (d->m_selected == 1) return d.get();
    return nullptr;
}

// Asks for the data set's name, proposed beside the LIS file; not ok on Cancel.
FileDialogResult ChooseQtxOutput(const std::string& lisPath, const std::string& dataSetName)
{
    FileDialogOptions out;
    out.open = false;
    out.title = "Browse Output File";
    out.defaultExt = "qtx";
    out.initialName = JoinPath(FolderOf(lisPath), CLisToQtx::DefaultOutputName(lisPath, dataSetName));
    out.filter = "Qtx file (.qtx;)|*.qtx;|All files (*.*)|*.*|";
    out.flags = kHideReadOnly | kOverwritePrompt | kPathMustExist;
    return ChooseFile(out);
}

} // namespace

// ---- the command --------------------------------------------------------------------

void CLisToQtx::Run(const std::string& dictionaryDirectory)
{
    m_dataSets.clear();
    const FileDialogResult input = ChooseLisInput();
    if (!input.ok) return;

    CSelectToolDlg toolDlg;
    toolDlg.m_lisFileName = FileName(input.path);
    if (toolDlg.DoModal() != IDOK || toolDlg.m_toolIndex < 0) return;
    const CSelectToolDlg::Tool tool = CSelectToolDlg::ToolOf(toolDlg.m_toolIndex);

    CLisParamScan scan;
    if (!scan.Scan(input.path, &m_dataSets, dictionaryDirectory, tool.code)) return; // the scan told why
    if (m_dataSets.empty()) {
        MessageBox(Format(kNothingFound, input.path.c_str()), MB_OK | MB_ICONINFORMATION);
        return;
    }

    CSelectInputFileItemsDlg itemsDlg;
    itemsDlg.m_inputFileName = FileName(input.path);
    for (const auto& dataSet : m_dataSets) itemsDlg.m_logicalFiles.push_back(dataSet.get());
    if (itemsDlg.DoModal() != IDOK) return;

    CLisLogicalFile* dataSet = ChosenDataSet(m_dataSets);
    if (!dataSet) {
        TellNothingChosen(m_dataSets, input.path);
        return;
    }
    if (!DataSetConvertible(*dataSet, SelectedItems(*dataSet), input.path)) return;

    const FileDialogResult output = ChooseQtxOutput(input.path, dataSet->m_fileName);
    if (!output.ok) return;
    m_outputConfirmed = true;

    // The log is created first: refuse an output over the input before it.
    if (!OkOrShow(OutputSparesInputs(output.path, {input.path}))) return;
    // The input is opened before the log: one that cannot be read leaves an older log as it was.
    if (!OpenCommandInput(m_input, input.path, lis::kInputRule)) return;
    if (!OpenLog(FileName(input.path), output.path, input.path)) {
        m_input.Close();
        return;
    }
    LogDataSet(tool.name, *dataSet);
    const int converted = Convert(dataSet, input.path, output.path);
    const std::string log = m_log.IsOpen() ? LogPath(output.path) : std::string();
    // A failed or stopped run keeps no data set, so the older one keeps its older log too.
    if (!converted) {
        m_log.Abandon();
        return;
    }
    CloseLog();
    TellDone(output.path, log);
}

void CLisToQtx::TellDone(const std::string& outputPath, const std::string& log)
{
    std::string done = log.empty() ? "Lis to Qtx done: wrote " + outputPath
                                   : Format("Lis to Qtx done: wrote %s, log %s", outputPath.c_str(), log.c_str());
    if (m_droppedFrames > 0)
        done += Format("; %llu frame(s) dropped for a repeated depth", static_cast<unsigned long long>(m_droppedFrames));
    if (m_placedOnNextFrames > 0)
        done += Format("; %llu frame(s) dropped: placed on the next data record's depth",
                       static_cast<unsigned long long>(m_placedOnNextFrames));
    ShowCommandResult(done);
    // The log alone would keep quiet about what the data set lacks.
    if (m_leftOut > 0 && !log.empty())
        MessageBox(Format(kLeftOut, outputPath.c_str(), m_leftOut, log.c_str()), MB_OK | MB_ICONINFORMATION);
}

// ---- the log ------------------------------------------------------------------------

void CLisToQtx::WriteLog(const std::string& text)
{
    // Nothing goes through a log that is not open.
    if (!m_log.IsOpen() || m_log.Write(text.data(), text.size())) return;
    // A log with lines missing would misreport the run: it goes, and the user is told once.
    const std::string path = m_log.GetPath();
    m_log.Abandon();
    MessageBox("Error writing log file :\n" + path + OutputFailureCause(path, m_log.Error()), MB_OK | MB_ICONSTOP);
}

void CLisToQtx::CloseLog()
{
    if (!m_log.IsOpen()) return;
    const std::string path = m_log.GetPath();
    if (!m_log.Commit())
        MessageBox("Error writing log file :\n" + path + OutputFailureCause(path, m_log.Error()), MB_OK | MB_ICONSTOP);
}

int CLisToQtx::OpenLog(const std::string& inputName, const std::string& outputPath, const std::string& lisPath)
{
    CloseLog();
    const std::string log = LogPath(outputPath);
    if (!OkOrShow(OutputSparesInputs(log, {lisPath}))) return 0;
    if (FullPath(log) == FullPath(outputPath)) {
        MessageBox(Format(kLogOverOutput, log.c_str()), MB_OK | MB_ICONSTOP);
        return 0;
    }
    // A read-only log the user agrees to replace keeps its mode until the new one is
    // committed, which is then writable: a run that fails leaves the old log as it was.
    const bool readOnly = IsReadOnly(log);
    if (readOnly) {
        if (MessageBox(Format(kLogReadOnly, FileName(log).c_str()), MB_YESNO | MB_ICONQUESTION) != IDYES) return 0;
    } else if (!MayReplaceExisting(log)) {
        return 0;
    }
    int error = 0;
    if (!m_log.Open(log, &error, readOnly)) {
        MessageBox(Format(kLogNotCreated, log.c_str()) + OutputFailureCause(log, error), MB_OK | MB_ICONSTOP);
        return 0;
    }
    const std::time_t now = m_clock();
    std::tm local{};
    localtime_r(&now, &local);
    WriteLog("Brontelux Lis To QTX Converter\r\n");
    WriteLog(Format("Date: %d/%d/%d  Time: %d:%d Hrs.\r\n", local.tm_mon + 1, local.tm_mday, local.tm_year + 1900,
                    local.tm_hour, local.tm_min));
    WriteLog(Format("Input file: %s\r\n", inputName.c_str()));
    return 1;
}

void CLisToQtx::LogDataSet(const std::string& toolName, const CLisLogicalFile& dataSet)
{
    WriteLog(Format("Acoustic Tool: %s\r\n\r\n", toolName.c_str()));
    WriteLog(Format("LIS File: %s\r\n", dataSet.m_fileName.c_str()));
    if (!dataSet.m_depths.empty()) {
        WriteLog(Format("Depth Range: %9.4f - ", dataSet.m_depths.front().m_depth));
        WriteLog(Format("%9.4f %s\r\n", dataSet.m_depths.back().m_depth, dataSet.m_frameSpacingUnits.c_str()));
    }
    LogFrameLayout(dataSet);
    // Channels the scan made no item of: they reach past the frame, or their code holds
    // no values.
    m_leftOut = 0;
    for (const auto& channel : dataSet.m_channels) {
        const std::string why = LeftOutReason(*channel, dataSet.m_frameSize);
        if (why.empty()) continue;
        ++m_leftOut;
        WriteLog("Channel " + channel->m_mnemonic + " left out: " + why + "\r\n");
    }
    LogDroppedFrames(dataSet);
    LogBackwardFrames(dataSet);
    LogFastChannels(dataSet);
}

void CLisToQtx::LogFrameLayout(const CLisLogicalFile& dataSet)
{
    const uint32_t declared = dataSet.m_declaredFrameSize, channels = dataSet.m_channelBytes;
    if (const std::string why = lis::frames::LayoutRefusal(dataSet); !why.empty()) {
        WriteLog("Frames not read: " + why + "\r\n");
    } else if (declared != 0 && channels != 0 && declared != channels && dataSet.m_frameSizeSettled) {
        const char* by = dataSet.m_frameSize == channels ? "the channels lay" : "entry 3 lays";
        WriteLog(Format("DFSR frame size (entry 3) of %u bytes disagrees with the %u bytes of its channels; frames "
                        "read as %s them out, %u bytes each\r\n",
                        declared, channels, by, unsigned(dataSet.m_frameSize)));
        if (!dataSet.m_layoutRuling.empty())
            WriteLog("Entry 3 ruled out: " + dataSet.m_layoutRuling + "\r\n");
    }
    for (const CLisRecordRemainder& r : dataSet.m_remainders)
        WriteLog(Format("Data record at offset %llu: %u byte(s) behind its %u whole frame(s) of %u bytes are not "
                        "read\r\n",
                        static_cast<unsigned long long>(r.m_recordPosition), unsigned(r.m_bytes), unsigned(r.m_frames),
                        unsigned(dataSet.m_frameSize)));
    if (dataSet.m_remainderCount > dataSet.m_remainders.size())
        WriteLog(Format("%llu more data record(s) hold bytes behind their last whole frame\r\n",
                        static_cast<unsigned long long>(dataSet.m_remainderCount - dataSet.m_remainders.size())));
    if (dataSet.m_spacingOverruled) {
        const char* units = dataSet.m_frameSpacingUnits.c_str();
        const std::string given = !dataSet.m_spacingGiven        ? std::string("is absent")
                                  : dataSet.m_dfsrSpacing == 0.0 ? std::string("is 0")
                                                                 : Format("of %g %s disagrees with the frames' depths",
                                                                          dataSet.m_dfsrSpacing, units);
        WriteLog(Format("DFSR frame spacing (entry 8) %s; the data set's step and the fast channels' sample spacing "
                        "follow the depths: %.4f %s\r\n",
                        given.c_str(), std::fabs(dataSet.m_frameSpacing), units));
        if (!dataSet.m_spacingRuling.empty()) WriteLog("Entry 8 ruled out: " + dataSet.m_spacingRuling + "\r\n");
    }
}

void CLisToQtx::LogBackwardFrames(const CLisLogicalFile& dataSet)
{
    const bool down = dataSet.m_upDown == lis::kLogDown;
    const auto& d = dataSet.m_depths;
    uint64_t count = 0;
    for (size_t k = 1; k < d.size(); ++k) {
        if (down ? d[k].m_depth >= d[k - 1].m_depth : d[k].m_depth <= d[k - 1].m_depth) continue;
        if (count++ < lis::kNamedDroppedFrames)
            WriteLog(Format("Frame %llu at depth %9.4f goes back against the log's direction (%s) from %9.4f\r\n",
                            static_cast<unsigned long long>(k + 1), d[k].m_depth, down ? "down" : "up",
                            d[k - 1].m_depth));
    }
    if (count > lis::kNamedDroppedFrames)
        WriteLog(Format("%llu more frame(s) go back against the log's direction\r\n",
                        static_cast<unsigned long long>(count - lis::kNamedDroppedFrames)));
}

void CLisToQtx::LogDroppedFrames(const CLisLogicalFile& dataSet)
{
    m_droppedFrames = dataSet.m_droppedCount - dataSet.m_placedOnNextCount;
    m_placedOnNextFrames = dataSet.m_placedOnNextCount;
    for (const CLisDroppedFrame& frame : dataSet.m_droppedFrames)
        WriteLog(Format(frame.m_placedOnNext ? "Frame %llu at depth %9.4f dropped: the step from its data record's "
                                               "depth places it on the next data record's depth\r\n"
                                             : "Frame %llu at depth %9.4f dropped: the frame after it has the same "
                                               "depth\r\n",
                        static_cast<unsigned long long>(frame.m_frame + 1), frame.m_depth));
    // The named frames are the first dropped; those beyond are counted by their cause.
    uint64_t namedOnNext = 0;
    for (const CLisDroppedFrame& frame : dataSet.m_droppedFrames) namedOnNext += frame.m_placedOnNext;
    const uint64_t moreOnNext = dataSet.m_placedOnNextCount - namedOnNext;
    const uint64_t moreRepeated = dataSet.m_droppedCount - dataSet.m_droppedFrames.size() - moreOnNext;
    if (moreRepeated > 0)
        WriteLog(Format("%llu more frame(s) dropped: the frame after each has the same depth\r\n",
                        static_cast<unsigned long long>(moreRepeated)));
    if (moreOnNext > 0)
        WriteLog(Format("%llu more frame(s) dropped: the step from its data record's depth places each on the "
                        "next data record's depth\r\n",
                        static_cast<unsigned long long>(moreOnNext)));
}


void CLisToQtx::LogFastChannels(const CLisLogicalFile& dataSet)
{
    const char* units = dataSet.m_frameSpacingUnits.c_str();
    for (const CWaveformPickItem* item : SelectedItems(dataSet)) {
        for (const auto& channel : item->m_waveChannels) {
            if (!channel->IsFast()) continue;
            const int n = channel->m_frameSamples;
            if (channel->m_allSamples) {
                const int values = item->m_samplesPerWaveform;
                const double step = double(item->m_samplePeriod) * values / n; // signed, sample to sample
                WriteLog(Format("Fast channel %s: %d samples per frame, all kept as datum %s of %d values in the "
                                "order recorded; the last sample stands at the frame's depth and each one before it "
                                "%.4f %s from the next, back toward the frame before (the first at %+.4f %s); the "
                                "log plot and the LAS export show the last sample of each frame\r\n",
                                channel->m_mnemonic.c_str(), n, item->m_mnemonic.c_str(), values, std::fabs(step),
                                units, -step * (n - 1), units));
                continue;
            }
            ++m_leftOut;
            WriteLog(Format("Fast channel %s: %d samples per frame, item %s keeps the first sample of each frame\r\n",
                            channel->m_mnemonic.c_str(), n, item->m_displayName.c_str()));
        }
    }
}

void CLisToQtx::LogBeyondFloat(const std::vector<CWaveformPickItem*>& items, const std::vector<uint64_t>& beyond)
{
    for (size_t i = 0; i < items.size() && i < beyond.size(); ++i)
        if (beyond[i] > 0)
            WriteLog(Format("Item %s: %llu code-50 value(s) beyond the single-precision range written as absent "
                            "values (-999.25)\r\n",
                            items[i]->m_displayName.c_str(), static_cast<unsigned long long>(beyond[i])));
}

void CLisToQtx::LogBadShots(CWaveformPickItem& wave)
{
    if (wave.m_firstBadDepth == wave.m_lastBadDepth)
        WriteLog(Format("Bad Shot:  %s Depth: %9.4f\r\n", wave.m_mnemonic.c_str(), double(wave.m_firstBadDepth)));
    else
        WriteLog(Format("Bad Shots: %s Depth: %9.4f - %9.4f\r\n", wave.m_mnemonic.c_str(),
                        double(wave.m_firstBadDepth), double(wave.m_lastBadDepth)));
    wave.m_badFrames = 0;
    wave.m_firstBadDepth = 0.0f;
    wave.m_lastBadDepth = 0.0f;
}

// ---- the output ---------------------------------------------------------------------

int CLisToQtx::WriteHeader(CLisLogicalFile* dataSet, const std::string& lisPath)
{
    QtxFileHeader h = m_output->Header();
    h.logDirection = dataSet->m_upDown == lis::kLogDown ? qtx::kLogDown : qtx::kLogUp;
    h.depthUnits = dataSet->m_depthUnitKind == lis::kUnitMetres ? qtx::kUnitsMetres : qtx::kUnitsFeet;
    h.frameCount = 0; // the frames are counted when they are settled, so a killed run claims none
    h.topDepth = dataSet->m_depths.front().m_depth;
    h.bottomDepth = dataSet->m_depths.back().m_depth;
    h.depthStep = dataSet->m_frameSpacing;

    const std::vector<CWaveformPickItem*> items = SelectedItems(*dataSet);
    std::string history = Format("LIS File: %s  \r\nDataSet %s\r\n", FileName(lisPath).c_str(),
                                 dataSet->m_fileName.c_str());
    for (const CWaveformPickItem* item : items) {
        if (item->m_category != kCategoryWaveform || history.size() >= qtx::kHistorySize) continue;
        history += Format("%s %s - %s  %d Rcvr %d Samples@%8.4fuSec\r\n", item->m_toolName.c_str(),
                          item->m_itemLabel.c_str(), item->m_mnemonic.c_str(), int(item->m_receiverCount),
                          int(item->m_samplesPerWaveform), double(item->m_samplePeriod));
    }
    std::memset(h.history, ' ', sizeof h.history);
    std::memcpy(h.history, history.data(), std::min(history.size(), sizeof h.history));
    m_output->SetHeader(h);

    // One datum per item, laid out by the data-set file.
    m_descriptors.clear();
    for (CWaveformPickItem* item : items) {
        // The log names the datum as the descriptor does.
        if (item->m_mnemonic.size() < 4) item->m_mnemonic.resize(4, ' ');
        const CLisChannelItem* first = item->WaveChannel(0);
        if (!OkOrShow(m_output->AddDatum(m_descriptors, item->m_mnemonic, item->m_typeCode, 1,
                                         item->DescriptorCategory(), item->m_receiverCount,
                                         first ? UnitCode(first->m_units) : uint8_t(kUnitNone), item->m_samplePeriod,
                                         uint16_t(item->TraceSamples()), uint16_t(item->m_firstIndex))))
            return 0;
    }
    m_dataStart = qtx::DataStart(m_descriptors.size());
    m_frameSize = m_output->LayoutFrameSize();
    return OkOrShow(m_output->WriteHeader());
}

int CLisToQtx::WriteItemDescriptors(CLisLogicalFile* /*dataSet: laid out by WriteHeader*/)
{
    return OkOrShow(m_output->WriteDescriptors(m_descriptors));
}

int CLisToQtx::WriteShot(CQtxFrameWriter& writer, size_t k, const CLisDepthEntry& frame, CWaveformPickItem& wave,
                         uint16_t receiver, uint64_t datumOffset)
{
    const size_t samples = size_t(wave.TraceSamples());
    const int shot = ConvertWaveform(frame, wave, receiver);
    if (shot == kGoodShot) {
        if (wave.m_badFrames > 0) LogBadShots(wave);
        if (receiver == 0) wave.m_lastGoodFrame = uint32_t(k + 1);
    }
    if (shot != kBadShot || wave.m_lastGoodFrame == 0) return OkOrShow(writer.WriteValues(m_data.data(), samples));

    // The same receiver of the last frame whose first receiver was good. When that is
    // this frame, its slot is not written yet: the trace goes as the variant left it.
    const size_t bytes = samples * sizeof(float);
    const size_t good = size_t(wave.m_lastGoodFrame) - 1;
    if (good != k && !OkOrShow(writer.Flush())) return 0;
    uint8_t* at = nullptr;
    if (!OkOrShow(writer.Reserve(bytes, at))) return 0;
    const uint64_t position = m_dataStart + good * m_frameSize + datumOffset + uint64_t(receiver) * bytes;
    if (good == k || m_output->ReadWritten(int64_t(position), at, bytes) != bytes)
        endian::FloatsToLEBytes(at, m_data.data(), samples);
    if (wave.m_badFrames == 0) wave.m_firstBadDepth = float(frame.m_depth);
    wave.m_lastBadDepth = float(frame.m_depth);
    if (wave.m_badFrames < std::numeric_limits<uint16_t>::max()) ++wave.m_badFrames;
    return 1;
}

int CLisToQtx::Convert(CLisLogicalFile* dataSet, const std::string& lisPath, const std::string& qtxPath)
{
    BinaryFile input = std::move(m_input); // opened by Run before its log, else below
    if (!dataSet) return 0;
    const std::vector<CWaveformPickItem*> items = SelectedItems(*dataSet);
    if (!DataSetConvertible(*dataSet, items, lisPath)) return 0;
    // Every refusal comes before the output is created.
    if (!OkOrShow(OutputSparesInputs(qtxPath, {lisPath})) || (!m_outputConfirmed && !MayReplaceExisting(qtxPath)))
        return 0;
    if (!input.IsOpen() && !OpenCommandInput(input, lisPath, lis::kInputRule)) return 0;
    if (!OkOrShow(m_reader.Open(std::move(input), lisPath))) return 0; // open: checked above
    m_output = std::make_unique<CQtxFile>();
    if (!OkOrShow(m_output->OpenWrite(qtxPath, items.size(), lisPath, FewerItems(*dataSet)))) {
        m_reader.Close();
        return 0;
    }
    if (!WriteHeader(dataSet, lisPath) || !WriteItemDescriptors(dataSet)) {
        m_output->DropOutput(); // a head cut short is no data set
        m_reader.Close();
        return 0;
    }
    for (CWaveformPickItem* item : items) {
        item->m_lastGoodFrame = 0;
        item->m_badFrames = 0;
        item->m_firstBadDepth = item->m_lastBadDepth = 0.0f;
    }

    CProgressDlg progress(0);
    progress.Create();
    progress.SetStatus("Converting File: " + FileName(qtxPath));
    progress.SetRange(0, kProgressRange);
    progress.SetPos(0);

    CQtxFrameWriter writer(*m_output);
    const std::vector<CLisDepthEntry>& frames = dataSet->m_depths;
    const size_t count = frames.size();
    std::vector<uint64_t> beyond(items.size()); // code-50 values made absent, by item
    int result = 1;
    bool stopped = false;
    int shown = 0;
    for (size_t k = 0; k < count && result; ++k) {
        if (progress.CheckCancelButton() && MessageBox(kStopQuestion, MB_YESNO | MB_ICONQUESTION) == IDYES) {
            stopped = true;
            break;
        }
        const CLisDepthEntry& frame = frames[k];
        if (!OkOrShow(writer.WriteDepth(frame.m_depth))) {
            result = 0;
            break;
        }
        uint64_t offset = qtx::kDepthSize;
        for (size_t i = 0; i < items.size(); ++i) {
            CWaveformPickItem* item = items[i];
            const uint64_t before = m_reader.BeyondFloatCount();
            for (uint16_t r = 0; r < item->m_receiverCount && result; ++r)
                result = WriteShot(writer, k, frame, *item, r, offset);
            beyond[i] += m_reader.BeyondFloatCount() - before;
            offset += item->DatumSize();
        }
        const int position = int(uint64_t(k) * kProgressRange / count);
        if (position != shown) progress.SetPos(shown = position);
    }
    m_reader.Close();
    LogBeyondFloat(items, beyond);
    // A stopped or failed run commits nothing: the name keeps what it held before.
    if (stopped || !result) {
        writer.Abandon();
        progress.DestroyWindow();
        return 0;
    }
    // The header then counts the whole frames in the file.
    if (!OkOrShow(writer.Finalize())) result = 0;
    progress.DestroyWindow();
    return result;
}
