// CQtxFrameWriter: the frames of an output data set (a depth, then every datum's
// float32 values, little-endian) gathered in memory and written in large pieces:
// a write per datum and depth costs the kernel more than the copying itself. Every
// writer of data sets (conversions, imports, the tool box) goes through it.
#pragma once

#include "dataset/DepthRule.h"
#include "platform/Status.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

class CQtxFile;

class CQtxFrameWriter {
public:
    static constexpr size_t kDefaultPieceBytes = size_t(1) << 20;

    // Writes into `file`'s output, which the caller has opened and given its header
    // and descriptors. The buffer is made once, here.
    explicit CQtxFrameWriter(CQtxFile& file, size_t pieceBytes = kDefaultPieceBytes);

    // Each fails with "Error writing frame data in file :\n<path>" when a write fails;
    // the output then stays open, so that the whole frames already written can be
    // finalized. A depth that is no number, or once HoldDepthRule was called one that
    // breaks the rule of the output's header (DepthRule.h), is refused with the rule's
    // message before anything of its frame is gathered.
    Status WriteDepth(double depth);
    // Holds every depth to the header's direction and step (writers whose depths must
    // follow their header: the importers and the tool box), the tolerance widened by
    // `resolution` for a source that stores its depths coarsely. Before the first depth.
    void HoldDepthRule(double resolution = 0.0)
    {
        m_holdRule = true;
        m_depthResolution = resolution;
    }
    // Bit for bit, NaN payloads included; any count (split into pieces).
    Status WriteValues(const float* values, size_t count);
    // Room for `bytes` (at most PieceBytes(), else a quiet failure) in `at`, for a
    // caller that encodes its own values; `at` is nullptr after a failure.
    Status Reserve(size_t bytes, uint8_t*& at);
    // Writes what was gathered.
    Status Flush();
    // Drops what was gathered and not written (a run that gives up).
    void Discard() { m_staged = 0; }
    // Drops what was gathered and abandons the output: a failed run commits nothing,
    // the name keeps what it held before.
    void Abandon();
    // Flushes, then settles the header on the whole frames in the file: their count and
    // first and last depths, a torn last frame cut off, and commits the output under
    // its name. An output without one whole frame is abandoned, never committed.
    // Closes the output; a success when it was committed or had no whole frame to
    // commit, a quiet failure when no output was open.
    Status Finalize();

    size_t PieceBytes() const { return m_bytes.size(); }

private:
    CQtxFile& m_file;
    std::vector<uint8_t> m_bytes;
    size_t m_staged = 0;
    bool m_holdRule = false;
    double m_depthResolution = 0.0;
    std::optional<CDepthRule> m_depths; // made from the header at the first depth
};
