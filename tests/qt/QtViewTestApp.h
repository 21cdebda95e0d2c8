// What the offscreen view tests set up alike: a waveform datum to write, the program
// started under a scripted host and a real Qt frame, and a view painted offscreen.
#pragma once

#include "app/ViewerApp.h"
#include "common/QtxFileDlg.h"
#include "platform/qt/QtChildView.h"
#include "platform/qt/QtFrame.h"
#include "platform/testing/ScriptedHost.h"
#include "res/QtxFileDlgIds.h"
#include "support/QtxBuilder.h"

#include <cstdint>

// A waveform datum "WMNO" of item type 1.
inline QtxDatumShape Waveform(uint16_t traces, uint16_t samples, float step)
{
    QtxDatumShape d;
    d.mnemonic = "WMNO";
    d.typeCode = 1;
    d.traces = traces;
    d.samples = samples;
    d.step = step;
    return d;
}

// The program started as on the desktop with the data set selection scripted to take
// the first data set found; the dialogs and questions are scripted, the windows real.
struct QtViewApp {
    ScriptedHost host;
    QtFrame frame;
    ScopedHost hostScope{&host};
    ScopedFrame frameScope{&frame};

    // False when the program did not start.
    bool Start()
    {
        theViewerApp.ResetToStartupState();
        theViewerApp.m_commandLine = "test";
        if (!theViewerApp.InitInstance()) return false;
        host.ScriptDialog(kIddQtxFile).Select(CQtxFileDlg::kIdcFound, 0).Press(CQtxFileDlg::kIdcAdd).Press(IDOK);
        return true;
    }
};

// The Qt window of `view`, painted into its backing; null when it has none or the
// paint failed.
template <class View>
QtChildView* PaintedOffscreen(View& view)
{
    auto* qt = dynamic_cast<QtChildView*>(view.Impl());
    if (!qt) return nullptr;
    view.Invalidate(true);
    return qt->RenderBacking() ? qt : nullptr;
}
