// A domain view painted through the Qt backend: the picture has the grey frame, the
// bands and the trace where the recording says they are.
#include "app/ViewerApp.h"
#include "common/QtxFileDlg.h"
#include "platform/qt/QtChildView.h"
#include "platform/qt/QtFrame.h"
#include "platform/testing/ScriptedHost.h"
#include "res/ResourceIds.h"
#include "support/QtxBuilder.h"
#include "support/TempDir.h"
#include "viewers/DomainWnd.h"
#include "viewers/DomainWndFactory.h"

#include <QWidget>

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(QtDomainView, PaintsBandsAndTracesIntoItsWindow)
{
    TempDir dir;
    const std::string path = dir.File("view.qtx");
    QtxDatumShape d;
    d.mnemonic = "WMNO";
    d.typeCode = 1;
    d.traces = 2;
    d.samples = 256;
    d.step = 2.0f;
    ASSERT_TRUE(WriteQtx(path, {d}, 3, 1000.0, 0.5,
                         [](int, int, size_t i) { return float(std::sin(double(i % 256) * 0.1)); }));

    ScriptedHost host; // the selection dialog is scripted; the window is real
    QtFrame frame;
    ScopedHost hostScope(&host);
    ScopedFrame frameScope(&frame);
    theViewerApp.ResetToStartupState();
    theViewerApp.m_commandLine = "test";
    ASSERT_TRUE(theViewerApp.InitInstance());

    host.ScriptDialog(kIddQtxFile).Select(CQtxFileDlg::kIdcFound, 0).Press(CQtxFileDlg::kIdcAdd).Press(IDOK);
    DomainSetupGroup setup;
    setup.SetDefaults();
    setup.path = path;
    setup.timeStop = 500.0f;
    CDomainWnd* view = OpenDomainWnd(setup, kDomainTime, theViewerApp.m_windowClasses[kClassDomain]);
    ASSERT_NE(view, nullptr);
    auto* qt = dynamic_cast<QtChildView*>(view->Impl());
    ASSERT_NE(qt, nullptr);
    qt->client->resize(400, 300);
    view->Invalidate(true);
    ASSERT_TRUE(qt->RenderBacking());

    const QImage& image = qt->Backing();
    ASSERT_EQ(image.width(), 400);
    auto rgb = [&](int x, int y) { return image.pixel(x, y) & 0xFFFFFF; };
    EXPECT_EQ(rgb(2, 2), 0xC0C0C0u) << "frame filled grey";
    const int traceHeight = (300 - 15 - 25) / 2;
    const int band = traceHeight - 12;
    EXPECT_EQ(rgb(35, 25), 0x000000u) << "band outline (axis pen) at its top-left";
    EXPECT_EQ(view->m_traceHeight, traceHeight);
    // Somewhere inside the first band the trace brush (black by default) fills the wiggle.
    int ink = 0;
    for (int x = 40; x < 395; ++x)
        for (int y = 27; y < 25 + band - 1; ++y) ink += rgb(x, y) == 0 ? 1 : 0;
    EXPECT_GT(ink, 100);
    theViewerApp.ResetToStartupState();
}

} // namespace
