// The viewer harnesses' program: started once per fuzzing process, as the tests start
// it, in the QTX mode, with small child windows so that one input stays fast. Every
// input then gets a fresh host of its own.
#pragma once

#include "app/ViewerApp.h"
#include "platform/testing/ScriptedFrame.h"
#include "platform/testing/ScriptedHost.h"
#include "res/CommandIds.h"

inline ScriptedFrame& StartedFrame(Size childClientSize)
{
    static ScriptedFrame* frame = [childClientSize] {
        static ScriptedHost startHost;
        ScopedHost scope(&startHost);
        auto* f = new ScriptedFrame;
        SetFrame(f);
        theViewerApp.ResetToStartupState();
        theViewerApp.InitInstance();
        f->Click(); // closes the splash
        f->Command(ID_FILE_QTX);
        f->childClientSize = childClientSize;
        return f;
    }();
    return *frame;
}
