// CFrameCursor: the frames of a QTX data set as a viewer walks them. Frames are
// indexed in file order from 0; scroll positions count the same frames in depth
// order from the top of the log, so a down log scrolls through its frames as
// stored and an up log backwards. Depths step by the header step's magnitude,
// since up logs may store it negative.
//
// Header values are not trusted: frame indices and positions are always clamped to
// the frames an int can address, and no value of the header (NaN, infinities,
// counts of 2^31 or more) makes a conversion to int undefined.
#pragma once

#include "dataset/QtxLayout.h"
#include "platform/Input.h"

#include <cstdint>

class CFrameCursor {
public:
    // Frames beyond int indices cannot be reached; callers that must see every
    // frame refuse a larger count.
    static constexpr uint32_t kMaxFrames = 0x7FFFFFFF;

    CFrameCursor() = default; // no frames: every index and position is 0
    explicit CFrameCursor(const QtxFileHeader& header);

    // ---- the log --------------------------------------------------------------------
    int FrameCount() const { return m_frames; } // at most kMaxFrames
    int LastFrame() const { return m_frames > 0 ? m_frames - 1 : 0; }
    // Every direction byte but 0xFF reads as an up log, as the viewers have it.
    bool IsDown() const { return m_direction == qtx::kLogDown; }
    int Sign() const { return IsDown() ? 1 : -1; } // of the depth change from frame to frame
    const char* DirectionWord() const { return IsDown() ? "DOWN" : "UP"; }
    const char* DepthUnitLabel() const { return m_units == qtx::kUnitsMetres ? " [m]" : " [ft]"; }
    double Step() const { return m_step; }                 // magnitude
    double FrameStep() const { return Sign() * m_step; }   // from a frame to the next in the file
    double HeaderStep() const { return m_headerStep; }     // as stored: shown, not computed with
    uint32_t HeaderFrameCount() const { return m_headerFrames; }
    // The log's ends in depth order, as the header gives them: the top is the depth at
    // scroll position 0 (the first frame of a down log, the last of an up log).
    double TopDepth() const { return m_top; }
    double BottomDepth() const { return m_bottom; }

    // ---- mapping; every index and position is clamped --------------------------------
    int ClampFrame(int64_t frame) const;
    int ScrollPositionOf(int64_t frame) const;
    int FrameAtScrollPosition(int64_t position) const;
    double DepthAtScrollPosition(int64_t position) const; // TopDepth() + position x Step()
    double DepthOf(int64_t frame) const { return DepthAtScrollPosition(ScrollPositionOf(frame)); }
    // The frame a viewer opens at for an asked depth: the depth's share of the header's
    // top-to-bottom span times the frame count, truncated (an up log counts it back from
    // the frame count). Equal depths, a single frame or a span that gives no number open
    // the top of the log.
    int OpeningFrame(double depth) const;
    // The frame whose depth lies nearest to `depth` (a thousandth of a step below the
    // midpoint between two frames still goes to the deeper one), clamped to the log;
    // the top of the log when the step gives no number. Edits and merges address
    // frames by this index, whichever way the log runs.
    int NearestFrame(double depth) const;

    // The frame that holds the log at `depth` for a plot that shifts the log's depths
    // by `shift`: the first frame in depth order whose shifted depth is not above
    // `depth` (the frame at or next below it), clamped to the log. Computed, not
    // walked, so any depth of any log is found at once; a NaN depth or a log without
    // a step gives the top frame.
    int FrameAtDepth(double depth, double shift = 0.0) const;
    // The vertical scroll bar of a view: positions 0 to LastFrame(), disabled when
    // there is nothing to scroll.
    ScrollInfo VerticalScrollInfo(unsigned page) const;

    // ---- the current frame ------------------------------------------------------------
    int Frame() const { return m_frame; }
    void SetFrame(int64_t frame) { m_frame = ClampFrame(frame); }
    // Moves `frames` deeper (negative: shallower), stopping at either end.
    void MoveDeeper(int64_t frames);
    int ScrollPosition() const { return ScrollPositionOf(m_frame); }
    void SetScrollPosition(int64_t position) { m_frame = FrameAtScrollPosition(position); }
    double Depth() const { return DepthOf(m_frame); }

private:
    int m_frames = 0;
    int m_frame = 0;
    uint8_t m_direction = qtx::kLogDown;
    uint8_t m_units = qtx::kUnitsFeet;
    uint32_t m_headerFrames = 0;
    double m_headerStep = 0.0;
    double m_step = 0.0;
    double m_top = 0.0;
    double m_bottom = 0.0;
};
