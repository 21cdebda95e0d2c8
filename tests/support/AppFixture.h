// Fixture for tests of the application shell: a scripted host and frame, the
// settings store reset to its pre-start-up state, then started as the program is.
#pragma once

#include "app/ViewerApp.h"
#include "platform/testing/ScriptedFrame.h"
#include "support/HostFixture.h"

class AppTest : public HostTest {
protected:
    void SetUp() override
    {
        HostTest::SetUp();
        frame.linkedClock = &host.clock;
        m_frameScope = std::make_unique<ScopedFrame>(&frame);
        theViewerApp.ResetToStartupState();
    }
    void TearDown() override
    {
        theViewerApp.ResetToStartupState();
        frame.Destroy();
        m_frameScope.reset();
        HostTest::TearDown();
    }
    // Starts the program; the splash is closed unless asked to stay.
    void Start(bool keepSplash = false)
    {
        ASSERT_TRUE(theViewerApp.InitInstance());
        if (!keepSplash) frame.Click();
    }

    ScriptedFrame frame;

private:
    std::unique_ptr<ScopedFrame> m_frameScope;
};
