// The screen rows of a log plot kept from one scroll step to the next. The band
// holds the rows the window shows and a margin above and below them, all on the
// log's own row grid (CPlotRowWalk::StartAt); a step moves what it keeps and walks
// only the rows it lacks: below, by going on with the walk where it stopped; above,
// by a walk that begins a few frames higher and keeps only the new rows.
//
// What a step leaves is what a fresh walk of the same rows gives: every walk starts
// far enough above the rows it keeps (two frames and a few rows) to have reached the
// state any other walk has there; the lists keep the rows of the band (and, for each
// curve, the point before them that its first line comes from); a raster keeps a
// wiggle's reach of rows below the band, so that wiggles crossing the band's lower
// edge are whole when those rows come in.
#pragma once

#include "plot/PlotRows.h"

#include <cstdint>

class CPlotRowCache {
public:
    struct Frame {
        int64_t top = 0;  // the log's row shown first
        int rows = 0;     // rows the window shows
        int margin = 0;   // rows kept above and below them
        int reach = 0;    // rows a wiggle reaches from its own
        double origin = 0; // depth of the log's row 0
        CPlotRowWalk::Settings settings;
        Color colorLevelZero = 0;
    };

    CPlotRowCache(CPlotModel& model, const PlotLayout& layout, CPlotRowWalk& walk, PlotBand& band)
        : m_model(model), m_layout(layout), m_walk(walk), m_band(band)
    {
    }

    // The next Show walks every row afresh.
    void Invalidate() { m_valid = false; }
    bool Valid() const { return m_valid; }
    // Makes the band show `frame.rows` rows from `frame.top`, walking only the rows it
    // does not hold; a frame of another size, margin or settings starts afresh. False
    // when a frame could not be read (the band shows the rows before it, and the next
    // Show starts afresh).
    bool Show(const Frame& frame);
    // Rows walked by the last Show (a measure of the work it did).
    int64_t RowsWalked() const { return m_rowsWalked; }
    // The log's rows the band holds: first..last-1.
    int64_t First() const { return m_first; }
    int64_t Last() const { return m_last; }

private:
    bool SameSettings(const Frame& frame) const;
    bool Fresh(int64_t first, int64_t last);
    void DropAbove(int64_t first);
    void DropBelow(int64_t last);
    bool Prepend(int64_t first);
    bool Append(int64_t last);
    // Walks from `start` to `stop` (log rows); the lists keep only what it adds for
    // rows keepFrom..keepTo-1 (put before the rows held when `before`).
    bool WalkRows(int64_t start, int64_t stop, int64_t keepFrom, int64_t keepTo, bool before, bool continuing);
    void ShiftLists(int by);
    void TrimLists(int from, int to);
    void ShiftImages(int by);
    int64_t LeadIn() const;
    int Capacity() const { return m_frame.rows + 2 * m_frame.margin; }
    // Band rows whose entries are kept: the rows held (the last frame's row among them).
    int HeldRows() const { return int(m_last - m_first); }
    int Apron() const { return m_frame.reach + 1; }

    CPlotModel& m_model;
    const PlotLayout& m_layout;
    CPlotRowWalk& m_walk;
    PlotBand& m_band;
    Frame m_frame;
    bool m_valid = false;
    int64_t m_first = 0, m_last = 0; // rows held
    int64_t m_end = INT64_MAX;        // where the log ended (or a frame failed)
    int64_t m_walkAt = -1;            // the row the walk goes on from; -1: elsewhere
    int64_t m_rowsWalked = 0;
};
