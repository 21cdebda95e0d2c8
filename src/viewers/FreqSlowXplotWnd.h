// The frequency-slowness cross-plot: for one depth frame, every sample of an IFS pair
// (a slowness curve and a frequency curve of one QTX data set that run sample for
// sample side by side) as a point in the slowness-frequency plane, one colour per
// receiver.
//
// The view reads its frame when it opens and when it moves to another frame; the
// points are rendered into a cached image of the plot rectangle when the view is
// prepared (sized, activated, display options changed). The paint blits that image
// and draws the frame, legend, grid and texts. The window keeps that picture between
// paints, so the paint after a frame step draws over the plot alone: the image and
// the frame and grid lines that cross it, around the legend's box. Split by concern: FreqSlowXplotWnd.cpp
// (loading, reading, scrolling and read-outs), FreqSlowXplotWndPaint.cpp (rendering
// and painting).
#pragma once

#include "dataset/FrameCursor.h"
#include "dataset/QtxFile.h"
#include "platform/Image.h"
#include "settings/XPlotSetupGroup.h"
#include "viewers/ViewerWnd.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class CFreqSlowXplotWnd : public CViewerWnd {
public:
    // The colour of receiver `receiver` (from 0): twelve colours, black past them.
    static Color ReceiverColour(int receiver);

    explicit CFreqSlowXplotWnd(const XPlotSetupGroup& setup);
    ~CFreqSlowXplotWnd() override;

    // The X-Plot Setup's choices the view was opened with; `datums` says which datums of
    // the file the setup selected.
    const XPlotSetupGroup& Setup() const { return m_setup; }

    // Loads the data set and its IFS pair, then creates the window; false (with the
    // message shown) when nothing could be opened.
    bool Open(const std::string& windowClass);
    int Load();

    // ---- handlers -----------------------------------------------------------------------
    void OnPaint(Dc& dc) override;
    void OnVScroll(int code, int pos) override;
    void OnKeyDown(unsigned key, unsigned repeat, unsigned flags) override;
    void OnMouseMove(unsigned flags, Point p) override;
    // Takes the receivers of its record, the pen colours and the client size; renders
    // the points when any of them or the frame changed.
    void PrepareRepaint() override;
    void Render();

    // Moves to frame `frame` and reads its pair (see ReadFrame).
    bool ReadFrameAt(int frame);

    // ---- what the view shows ----------------------------------------------------------------
    const CFrameCursor& Frames() const { return m_frames; }
    const ScrollInfo& VScroll() const { return m_vscroll; }
    bool FrameRead() const { return m_frameRead; }
    int FramesRead() const { return m_framesRead; }
    const auto& Slowness() const { return m_slowness; }
    const auto& Frequency() const { return m_frequency; }
    const std::string& Caption() const { return m_caption; }
    // The rendered plot rectangle and how many points the last render drew into it.
    const Image& PlotImage() const { return m_image; }
    int PointsDrawn() const { return m_pointsDrawn; }
    const auto& FrequencyTicks() const { return m_frequencyTicks; }
    const auto& SlownessTicks() const { return m_slownessTicks; }

private:
    // ---- the IFS pair --------------------------------------------------------------------
    struct Member {
        bool found = false;
        std::string mnemonic;
        uint8_t typeCode = 0;
        int receivers = 0;
        int samples = 0;
        uint32_t offset = 0;
        float step = 0;
    };
    Member m_slowness, m_frequency;
    int m_sampleCount = 0; // of each receiver, the pair's common count

    // ---- frames ---------------------------------------------------------------------------
    CFrameCursor m_frames;
    ScrollInfo m_vscroll;
    // The frame the view opens at: the range's end that comes first in the file.
    int OpeningFrame() const;
    // Reads the current frame's pair; false (after the message of the first failure)
    // when it could not be read: the frame then shows no points.
    bool ReadFrame();
    bool m_frameRead = false;
    int m_framesRead = 0;
    // Receiver by receiver, m_sampleCount values each.
    std::vector<float> m_slownessSamples, m_frequencySamples;

    // ---- layout and the rendered image -----------------------------------------------------
    int m_leftMargin = 35, m_topMargin = 25, m_fontHeight = 12;
    int m_clientWidth = 500, m_clientHeight = 500;
    int m_plotWidth = 460, m_plotHeight = 445;
    Rect m_plotRect;
    Image m_image;        // the plot rectangle: its background and the points
    int m_pointsDrawn = 0; // by the last render
    std::string m_caption;
    std::string m_axisTitle = "Slowness [uSec/ft]";
    std::string m_slownessUnit = "[uSec/ft]";
    std::vector<std::string> m_legendLabels;
    // The labelled grid lines of each axis: where each crosses the plot, and its text.
    struct Tick {
        int at = 0;
        std::string text;
    };
    std::vector<Tick> m_frequencyTicks, m_slownessTicks;
    int m_frequencyWalk = 500, m_slownessWalk = 50; // between two grid lines

    CQtxFile m_file;

    XPlotSetupGroup m_setup;
    bool TakePair(const CQtxDatumList& datums);
    void TakeReceivers();
    void Layout();
    void LayOutGrid();
    void OnFramesMoved(int previousFrame) override;
    void PlotReceiver(int receiver, uint32_t colour);
    // Sets the block of a point at (x, y), with its cross around it when `cross`.
    void Stamp(int x, int y, bool cross, uint32_t colour);
    void PaintLegend(Dc& dc);
    void PaintGrid(Dc& dc);
    void PaintTexts(Dc& dc);
    // The paint after a frame step: the plot rectangle less the legend's box.
    void PaintPlotOnly(Dc& dc);
    void PaintPlotFrame(Dc& dc);
    void PaintGridLines(Dc& dc);

    // What the layer of texts, grid and legend around and over the plot was painted
    // for; the paint after a frame step keeps it when nothing of it changed.
    struct LayerKey {
        int clientWidth = -1, clientHeight = -1;
        Rect plotRect;
        bool image = false;
        Color background = 0;
        bool operator==(const LayerKey&) const = default;
    };
    LayerKey LayerKeyNow() const;
    LayerKey m_paintedLayer;
    bool m_layerPainted = false;
    bool m_frameStepped = false; // since the last paint
    Rect m_legendBox;
    bool m_legendOpaque = false; // its labels inside its filled box: nothing under it shows

    // What the image was rendered for; a render is due when any of it changes.
    struct RenderKey {
        int width = -1, height = -1, framesRead = -1;
        Color background = 0;
        std::array<bool, kSlots> shown{};
        bool operator==(const RenderKey&) const = default;
    };
    RenderKey KeyNow() const;
    RenderKey m_rendered;
    // The points the image holds over its background: the next render of an image of
    // the same size and background clears just them.
    struct Stamped {
        int x, y;
        bool cross;
    };
    std::vector<Stamped> m_stamped;
    uint32_t m_imageBackground = 0;
    std::string m_shortLabel; // a frequency label without its decimal
};
