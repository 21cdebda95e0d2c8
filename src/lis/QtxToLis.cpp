#include "lis/QtxToLis.h"

#include "common/OutputGuard.h"
#include "common/ProgressDlg.h"
#include "dataset/ItemTypes.h"
#include "platform/CommandResult.h"
#include "platform/Endian.h"
#include "platform/FileChoice.h"
#include "platform/Format.h"
#include "platform/Host.h"
#include "platform/Path.h"
#include "res/DialogTemplates.h"
#include "res/ResourceIds.h"

#include <algorithm>
#include <cmath>
#include <cstring>

CWaveformPackPreferenceDlg::CWaveformPackPreferenceDlg() : CDialog(DialogTemplateFor(kIddWaveformPack)) {}

namespace {

// Code 68 holds magnitudes below 2^127: the encoder would clamp larger ones, and
// turn a NaN into 0.0, which reads as a measurement.
constexpr float kCode68Limit = 1.70141183e38f; // 2^127
const char kBadDepth[] = "Encountered invalid depth in file :\n%s\nFrame %u is at depth %s, which a LIS depth (code 68) "
                        "cannot hold.\nOperation will be abandoned.";
const char kDatumOutOfPlace[] = "Encountered datum %s out of its place in the frames of file :\n%s\nA LIS frame holds "
                                "each datum right after the one before it, from the depth to the frame's end.\n"
                                "Operation will be abandoned.";
const char kAbsentWritten[] = "Wrote %lld value(s) that LIS code 68 cannot hold (not a number, infinite, or of "
                              "magnitude 2^127 or more) as absent values (-999.25) in file :\n%s";

const char kOutOfOrder[] = "; %lld frame(s) repeat the depth before them or go back against the log's direction "
                           "(LIS readers keep one frame of a depth)";

// Frames read at once by the export (at least one, however large).
constexpr size_t kReadBlockBytes = size_t(1) << 20;

// The output proposed for an input: its path with the extension "lis", never the
// input's own name, so that accepting the proposal cannot replace the input.
std::string LisNameFor(const std::string& qtxPath)
{
    const std::string file = FileName(qtxPath);
    const size_t dot = file.rfind('.');
    const size_t extLength = dot == std::string::npos || dot == 0 ? 0 : file.size() - dot;
    const std::string name = qtxPath.substr(0, qtxPath.size() - extLength) + ".lis";
    return name == qtxPath ? qtxPath + ".lis" : name;
}

} // namespace

void CQtxToLis::Run()
{
    FileDialogOptions in;
    in.open = true;
    in.title = "Browse Qtx Input File";
    in.filter = "Qtx files (.qtx)|*.qtx|All files (*.*)|*.*|";
    in.flags = kHideReadOnly;
    const FileDialogResult input = ChooseFile(in);
    if (!input.ok) return;

    FileDialogOptions out;
    out.open = false;
    out.title = "Browse Lis Output File";
    out.defaultExt = "lis";
    out.initialName = LisNameFor(input.path);
    out.filter = "Lis file (.lis;)|*.lis;|All files (*.*)|*.*|";
    out.flags = kHideReadOnly | kOverwritePrompt | kPathMustExist;
    const FileDialogResult output = ChooseFile(out);
    if (!output.ok) return;

    // A stopped or failed export commits nothing; Close writes the file marks and
    // commits only a file whose every record was written.
    const int converted = Convert(input.path, output.path);
    if (!converted) m_writer.DeleteOutput();
    const bool closed = OkOrShow(m_writer.Close());
    m_input.Close();
    m_descriptors.clear();
    if (converted && closed)
        ShowCommandResult("Qtx to Lis done: wrote " + output.path
                          + (m_outOfOrder > 0 ? Format(kOutOfOrder, static_cast<long long>(m_outOfOrder)) : ""));
    if (converted && closed && m_absentWritten > 0)
        MessageBox(Format(kAbsentWritten, static_cast<long long>(m_absentWritten), output.path.c_str()),
                   MB_OK | MB_ICONINFORMATION);
}

void CQtxToLis::ReplaceUnwritable(float* values, uint32_t count)
{
    for (uint32_t i = 0; i < count; ++i)
        if (!(std::fabs(values[i]) < kCode68Limit)) { // NaN fails the comparison too
            values[i] = qtx::kAbsentValue;
            ++m_absentWritten;
        }
}

Status CQtxToLis::ReadLayout(const std::string& qtxPath)
{
    uint8_t header[qtx::kHeaderSize];
    if (m_input.ReadAt(0, header, sizeof header) != sizeof header)
        return Status::Failure("Error reading header in file :\n" + qtxPath);
    m_header.Decode(header);
    // Counts from the file are checked against the file before anything is sized by them.
    const int datums = static_cast<int16_t>(m_header.datumCount) > 0 ? static_cast<int16_t>(m_header.datumCount) : 0;
    const uint64_t length = uint64_t(std::max<int64_t>(m_input.GetLength(), 0));
    const uint64_t dataStart = qtx::DataStart(uint64_t(datums));
    const uint64_t needed = dataStart + uint64_t(m_header.frameCount) * m_header.frameSize;
    if (dataStart > length || m_header.frameSize < qtx::kDepthSize || m_header.frameSize % 4 != 0
        || needed > length)
        return Status::Failure("Error reading frame data in file :\n" + qtxPath);
    m_descriptors.assign(size_t(datums), QtxDatumDescriptor{});
    for (int i = 0; i < datums; ++i) {
        uint8_t bytes[qtx::kDescriptorSize];
        if (m_input.ReadAt(int64_t(qtx::DataStart(uint64_t(i))), bytes, sizeof bytes) != sizeof bytes)
            return Status::Failure("Error reading datum descriptor in file :\n" + qtxPath);
        m_descriptors[size_t(i)].Decode(bytes);
    }
    // Stored counts describe the descriptors; keep them consistent with what was read.
    m_header.datumCount = uint16_t(datums);
    // Frames go out as they lie, one channel per datum in descriptor order: a datum that
    // does not follow the one before it (a gap, an overlap, past the frame) would put
    // other values under its name. Without frames nothing is read under any name.
    if (m_header.frameCount == 0) return Status();
    uint64_t at = qtx::kDepthSize;
    for (const QtxDatumDescriptor& d : m_descriptors) {
        if (d.offset != at || d.size % sizeof(float) != 0 || at + d.size > m_header.frameSize)
            return Status::Failure(Format(kDatumOutOfPlace, std::string(d.mnemonic, 4).c_str(), qtxPath.c_str()));
        at += d.size;
    }
    if (at != m_header.frameSize)
        return Status::Failure("Error reading frame data in file :\n" + qtxPath);
    return Status();
}

int CQtxToLis::AskPacking() const
{
    // A data set with a four-receiver array (type 21) is always written per receiver.
    const bool fourReceivers = std::any_of(m_descriptors.begin(), m_descriptors.end(),
                                           [](const QtxDatumDescriptor& d) { return d.typeCode == kItemTypeIsonic; });
    if (fourReceivers) return 1;
    CWaveformPackPreferenceDlg preference;
    preference.m_choice = 0;
    // Cancel abandons the export: the output is created only once every question is answered.
    if (preference.DoModal() != IDOK) return -1;
    return preference.m_choice == 1 ? 1 : 0;
}

void CQtxToLis::CountOutOfOrder(double depth, uint32_t frame)
{
    // Down logs (0xFF) deepen frame by frame, up logs rise.
    const bool down = m_header.logDirection == qtx::kLogDown;
    if (frame > 0 && (depth == m_lastDepth || (down ? depth < m_lastDepth : depth > m_lastDepth))) ++m_outOfOrder;
    m_lastDepth = depth;
}

int CQtxToLis::Convert(const std::string& qtxPath, const std::string& lisPath)
{
    m_absentWritten = 0;
    m_outOfOrder = 0;
    // Before the output is created: replacing it would replace an input of the same file.
    if (!OkOrShow(OutputSparesInputs(lisPath, {qtxPath}))) return 0;
    if (!OpenCommandInput(m_input, qtxPath, {qtx::kHeaderSize})) return 0;
    if (!OkOrShow(ReadLayout(qtxPath))) return 0;
    const int perReceiver = AskPacking();
    if (perReceiver < 0) return 0;

    if (!OkOrShow(m_writer.Create(lisPath))) return 0;

    const QtxDatumDescriptor* descriptors = m_descriptors.empty() ? nullptr : m_descriptors.data();
    if (!OkOrShow(m_writer.WriteHeaders()) || !OkOrShow(m_writer.WriteInformationRecord("QTX", &m_header, descriptors))
        || !OkOrShow(m_writer.WriteInformationRecord("CONS", &m_header, descriptors))
        || !OkOrShow(m_writer.WriteComment(&m_header)))
        return 0;
    const Status formats = m_writer.WriteDfsr(&m_header, descriptors, perReceiver);
    if (!m_writer.SplitNotice().empty()) MessageBox(m_writer.SplitNotice(), MB_OK | MB_ICONINFORMATION);
    if (!OkOrShow(formats)) return 0;
    if (!WriteFrames(qtxPath)) return 0;
    return OkOrShow(m_writer.WriteTrailers()) ? 1 : 0;
}

int CQtxToLis::WriteFrames(const std::string& qtxPath)
{
    CProgressDlg progress;
    progress.Create();
    progress.SetStatus(Format("Converting File: %s", FileName(qtxPath).c_str()));
    progress.SetRange(0, 1000);
    progress.SetPos(0);

    // Frames are read a block at a time straight into floats: the values go to the
    // writer from where they were read.
    const uint32_t frameSize = m_header.frameSize;
    const uint32_t frameFloats = frameSize / 4;
    const uint32_t valueCount = (frameSize - qtx::kDepthSize) / 4;
    const uint32_t perRead = std::max<uint32_t>(1, uint32_t(kReadBlockBytes / frameSize));
    // Sized by the frames there are: a header of no frames may claim any frame size.
    std::vector<float> block(size_t(frameFloats) * std::min(perRead, m_header.frameCount));
    const uint64_t first = qtx::DataStart(m_header.datumCount);
    int shown = 0;
    for (uint32_t k = 0; k < m_header.frameCount;) {
        const uint32_t frames = std::min(perRead, m_header.frameCount - k);
        const size_t bytes = size_t(frames) * frameSize;
        if (m_input.ReadAt(int64_t(first + uint64_t(k) * frameSize), block.data(), bytes) != bytes) {
            MessageBox("Error reading frame data in file :\n" + qtxPath, MB_OK | MB_ICONSTOP);
            return 0;
        }
        for (uint32_t j = 0; j < frames; ++j, ++k) {
            if (progress.CheckCancelButton()
                && MessageBox("Are you sure you want to stop converting?", MB_YESNO | MB_ICONQUESTION) == IDYES)
                return 0;
            float* frame = block.data() + size_t(j) * frameFloats;
            const double depth = endian::GetLEDouble(reinterpret_cast<const uint8_t*>(frame));
            // A depth has no absent value: one code 68 cannot hold would come back as another depth.
            if (!(std::fabs(depth) < double(kCode68Limit))) {
                const std::string shown = Format(std::fabs(depth) < 1e9 ? "%.4f" : "%g", depth);
                MessageBox(Format(kBadDepth, qtxPath.c_str(), k + 1, shown.c_str()), MB_OK | MB_ICONSTOP);
                return 0;
            }
            CountOutOfOrder(depth, k);
            float* values = frame + qtx::kDepthSize / 4;
            endian::LEFloatsInPlace(values, valueCount);
            ReplaceUnwritable(values, valueCount);
            if (!OkOrShow(m_writer.WriteFrame(nullptr, 0, depth, CLisWrite::kFrameStart))
                || !OkOrShow(m_writer.WriteFrame(values, valueCount, 0.0, CLisWrite::kFrameValues)))
                return 0;
            // The bar moves in thousandths; setting it only when it moves spares a pump per frame.
            const int position = int(uint64_t(k) * 1000 / m_header.frameCount);
            if (position != shown) progress.SetPos(shown = position);
        }
    }
    return 1;
}
