// The fixture of the depth-profile window's tests: a started program in QTX mode, a
// data set of waveforms whose arrivals are known, and the Depth Profile Setup's values.
#pragma once

#include "processing/ProfileWnd.h"
#include "processing/ProfileWndFactory.h"

#include "app/ViewerApp.h"
#include "common/QtxFileDlg.h"
#include "platform/testing/ScriptedFrame.h"
#include "res/CommandIds.h"
#include "res/QtxFileDlgIds.h"
#include "res/SlownessProfileSetupDlgIds.h"
#include "support/AppFixture.h"
#include "support/QtxBuilder.h"
#include "support/TempDir.h"
#include "viewers/ViewOptions.h"
#include "settings/ProcessingSetupGroups.h"

#include <cmath>


inline QtxDatumShape Datum(uint16_t traces, uint16_t samples, float step, uint8_t type = 1, uint8_t category = kCategoryWaveform)
{
    QtxDatumShape d;
    d.mnemonic = "WMNO";
    d.typeCode = type;
    d.category = category;
    d.traces = traces;
    d.samples = samples;
    d.unit = kUnitMicroseconds;
    d.step = step;
    return d;
}

// Waveforms of 64 samples, 10 us apart: every trace rises through 0 once, trace t at
// sample 20 + 3t plus the frame's `shift(frame)`; 60 us/ft across 6-inch spacings.
inline QtxSampleFn Arrivals(int (*shift)(int) = [](int) { return 0; })
{
    return [shift](int frame, int, size_t i) {
        const int trace = int(i / 64), j = int(i % 64);
        return j >= 20 + 3 * trace + shift(frame) ? 1.0f : -1.0f;
    };
}
inline float ArrivalTime(int trace, int shift = 0) { return float(20 + 3 * trace + shift) * 10 - 5; }

// Every receiver switched off: a processing window keeps no track, draws nothing, and
// neither its paint nor a double click nor a move asks anything.
inline void ExpectNothingDrawnWithNoReceiverShown(CProcessingWnd& view, ScriptedFrame& frame, ScriptedHost& host)
{
    theApp.m_display.receiverShown.fill(0);
    StoreViewOptions();
    EXPECT_EQ(view.Page().trackWidth, 0);
    EXPECT_EQ(view.Page().rowsDrawn, 0);
    EXPECT_TRUE(view.Page().plotRect.IsEmpty());
    frame.WindowOf(view)->Paint();
    frame.Mouse(view, "ldbl", MK_LBUTTON, {100, 100});
    frame.Mouse(view, "move", 0, {100, 100});
    EXPECT_TRUE(host.Messages().empty());
}

class ProfileWndTest : public AppTest {
protected:
    TempDir dir;
    std::string path = dir.File("wave.qtx");
    DepthProfileSetupGroup setup; // as the Depth Profile Setup leaves it

    void SetUp() override
    {
        AppTest::SetUp();
        Start();
        frame.Command(ID_FILE_QTX);
        setup.SetDefaults();
        setup.inputPath = path;
        setup.inputTitle = "wave";
        setup.outputPath = dir.File("wave_profile.qtx");
        setup.topDepth = 0;
        setup.bottomDepth = 100000;
    }

    // Marks the first item of the tab the selection dialog opens on.
    CProfileWnd* Open(const char* domain = "Time")
    {
        host.ScriptDialog(kIddQtxFile).Select(CQtxFileDlg::kIdcFound, 0).Press(CQtxFileDlg::kIdcAdd).Press(IDOK);
        setup.domain = ViewDomainOfName(domain);
        return OpenProfileWnd(setup, theViewerApp.ClassName(kClassSpare9));
    }

    // The point on track `track` at `value` of the domain axis, on the row nearest to
    // the frame at scroll position `position` (`atOrBelow`: the first row not above it,
    // where a search that truncates depths to frames starts).
    static Point At(const CProfileWnd& v, int track, double value, int position, bool atOrBelow = false)
    {
        const double x = (value - v.Axis().start) / v.PixelSpan() * v.Page().trackWidth;
        const double row = (v.DepthOfPosition(position) - v.Page().pageTopDepth) / v.Page().depthPerPixel;
        return {v.TrackLeft(track) + int(std::lround(x)),
                v.Page().plotRect.top + int(atOrBelow ? std::ceil(row - 1e-9) : std::lround(row))};
    }
    // Value of slot `slot` of the profile at scroll position `position`.
    static float Value(const CProfileWnd& v, int position, int slot)
    {
        return v.ProfileRecord(v.Frames().FrameAtScrollPosition(position))->m_values[size_t(slot)];
    }
    // Closing asks whether to save (the confirmation setting is on from start-up).
    void Close(CProfileWnd* v)
    {
        host.ExpectMessage("Do you want to save output file :\n" + setup.outputPath, IDNO);
        v->OnClose();
    }
    void Search(CProfileWnd& v, Point p)
    {
        host.ExpectMessage("Do you want to execute profile searching routine?", IDYES);
        host.ScriptDialog(kIddSlownessProfileSetup).Press(IDOK);
        frame.Mouse(v, "ldbl", MK_LBUTTON, p);
    }
};
