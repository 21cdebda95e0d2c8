// CCnvFile: the one reader of CNV waveform files (CnvLayout.h). The scanner reads the
// header values through it, the converter every frame.
//
// Every operation that fails closes the file and keeps its failure, with the message
// naming the file, in LastStatus(); it shows nothing, the caller does (OkOrShow). The
// status, not the value, tells a failure: the failure values the results still carry
// (-1.0, 255, 0xFFFFFFFF) can be real values of a file, a depth of -1.0 above all.
// Positioned reads go to absolute offsets; nothing relies on the file position.
#pragma once

#include "cnv/CnvLayout.h"
#include "platform/BinaryFile.h"
#include "platform/Status.h"

#include <cstdint>
#include <string>
#include <vector>

class CCnvFile {
public:
    CCnvFile() = default;

    // Opens `path`, reads header byte 0 and closes again. 255 on failure.
    uint8_t ReadToolCode(const std::string& path);
    // Opens `path` read-only and reads the header: depth units, channels, samples.
    // A shape outside 1..8 channels and 1..2048 samples is refused. The file stays
    // open on success.
    Status Open(const std::string& path);
    // Depth of frame 0; -1.0 on failure.
    double ReadTopDepth();
    // Depth of the frame that ends the file, read from the end; -1.0 on failure.
    double ReadBottomDepth();
    // Depth of frame 1 minus depth of frame 0; -1.0 on failure (also for one frame).
    double ReadFrameInterval();
    // The i16 at file offset 24; -1.0 on failure.
    double ReadSamplingPeriod();
    // Frames in the file, which must hold a whole number of them; 0xFFFFFFFF on failure.
    uint32_t CountFrames();
    // Depth of frame k from its frame header alone. Quiet: false, with no failure kept
    // and the file left open, when the header lies beyond the file (ReadFrame then tells).
    bool ReadFrameDepth(uint32_t k, double& depth);
    // Reads frame k whole (one read); its depth, or -1.0 on failure. ChannelSamples
    // then gives its channels.
    double ReadFrame(uint32_t k);
    // The S samples of channel c of the frame last read: S x 4 bytes, little-endian
    // float32, as in the file. Valid until the next ReadFrame; c below m_channels.
    const uint8_t* ChannelSamples(int c) const;

    // Takes another channel and sample count (the converter's scanned values); refuses,
    // with the header's message, what the reader cannot hold.
    Status SetShape(int channels, int samples);

    bool Ok() const { return m_status.Ok(); } // the last operation succeeded
    // The last operation's outcome; a failure carries its message. A failure until the
    // first operation succeeds.
    const Status& LastStatus() const { return m_status; }
    bool IsOpen() const { return m_file.IsOpen(); }
    void Close() { m_file.Close(); }

    uint8_t m_depthUnits = 0;   // header byte 1
    uint16_t m_samples = 0;     // S
    uint16_t m_channels = 0;    // C
    int16_t m_samplingPeriod = 0;
    uint32_t m_frameSize = 0;   // as last computed
    uint32_t m_frameCount = 0;  // as last counted
    double m_topDepth = 0.0;
    double m_bottomDepth = 0.0;
    double m_frameInterval = 0.0;
    std::string m_path;
    uint8_t m_header[cnv::kHeaderSize] = {};
    uint8_t m_frameHeader[cnv::kFrameHeaderSize] = {};

private:
    // Keeps the failure `text` + path, closes the file; returns `value`.
    template <typename T> T Fail(const char* text, T value, const std::string& cause = std::string());
    // Reads the depth of the frame header at `offset`; false on a short read.
    bool ReadDepthAt(int64_t offset, double& depth);
    double Succeed(double value)
    {
        m_status = Status();
        return value;
    }

    BinaryFile m_file;
    std::vector<uint8_t> m_frame; // the frame last read; sized once per shape
    Status m_status = Status::Quiet();
};
