#include "platform/Format.h"
#include "platform/Frame.h"
#include "platform/Host.h"
#include "platform/PaintScope.h"
#include "platform/testing/ScriptedFrame.h"
#include "support/HostFixture.h"

#include <functional>

namespace {

using Log = std::vector<std::string>;
using Windows = std::vector<CWnd*>;

const char* const kPlain = "WindowTest.Plain";
const char* const kDblClks = "WindowTest.DblClks";

// A child window that writes every handler call into a log shared with the test.
class Probe : public CWnd {
public:
    Probe(std::string name, Log& log) : m_name(std::move(name)), m_log(log) {}

    int createResult = 0;
    bool keepOpen = false;   // OnClose refuses to close
    bool deleteSelf = false; // owned by the frame, as viewers are
    std::function<void(Dc&)> paint;
    CommandMap commands;

    int OnCreate() override
    {
        Note("Create");
        return createResult;
    }
    void OnPaint(Dc& dc) override
    {
        Note("Paint");
        if (paint) paint(dc);
    }
    void OnSize(unsigned type, int cx, int cy) override { Note(Format("Size(%u,%d,%d)", type, cx, cy)); }
    void OnClose() override
    {
        Note("Close");
        if (!keepOpen) CWnd::OnClose();
    }
    void OnDestroy() override { Note("Destroy"); }
    void PostNcDestroy() override
    {
        Note("PostNcDestroy");
        if (deleteSelf) delete this;
    }
    void OnMDIActivate(bool activate) override { Note(activate ? "Activate" : "Deactivate"); }
    void OnKeyDown(unsigned key, unsigned, unsigned flags) override { Note(Format("Key(%u,%u)", key, flags)); }
    void OnMouseMove(unsigned flags, Point p) override { Mouse("Move", flags, p); }
    void OnLButtonDown(unsigned flags, Point p) override { Mouse("LDown", flags, p); }
    void OnLButtonUp(unsigned flags, Point p) override { Mouse("LUp", flags, p); }
    void OnLButtonDblClk(unsigned flags, Point p) override { Mouse("LDbl", flags, p); }
    void OnRButtonDown(unsigned flags, Point p) override { Mouse("RDown", flags, p); }
    void OnRButtonUp(unsigned flags, Point p) override { Mouse("RUp", flags, p); }
    void OnTimer(unsigned id) override { Note(Format("Timer(%u)", id)); }
    bool OnCommand(int id) override { return commands.OnCommand(id); }
    bool OnUpdateCommand(CommandState& state) override { return commands.OnUpdateCommand(state); }

private:
    void Note(const std::string& what) { m_log.push_back(m_name + ":" + what); }
    void Mouse(const char* what, unsigned flags, Point p) { Note(Format("%s(%u,%d,%d)", what, flags, p.x, p.y)); }

    std::string m_name;
    Log& m_log;
};

class FrameHandler : public IFrameHandler {
public:
    CommandMap commands;
    int OnCreate() override { return 0; }
    void OnClose() override {}
    bool OnCommand(int id) override { return commands.OnCommand(id); }
    bool OnUpdateCommand(CommandState& state) override { return commands.OnUpdateCommand(state); }
};

class AppHandler : public IAppHandler {
public:
    explicit AppHandler(Log& log) : m_log(log) {}
    CommandMap commands;
    int inputEvents = 0;
    void OnInputEvent() override { ++inputEvents; }
    void OnTimer(unsigned id) override { m_log.push_back(Format("app:Timer(%u)", id)); }
    bool OnCommand(int id) override { return commands.OnCommand(id); }
    bool OnUpdateCommand(CommandState& state) override { return commands.OnUpdateCommand(state); }

private:
    Log& m_log;
};

class WindowTest : public HostTest {
protected:
    void SetUp() override
    {
        HostTest::SetUp();
        RegisterWindowClass({kPlain, 0, Rgb(192, 192, 192)});
        RegisterWindowClass({kDblClks, CS_DBLCLKS});
        m_scope = std::make_unique<ScopedFrame>(&frame);
        ASSERT_TRUE(frame.Create("Test", &handler, &app));
    }
    void TearDown() override
    {
        frame.Destroy();
        m_scope.reset();
        HostTest::TearDown();
    }

    // A child the test owns, open and active.
    std::unique_ptr<Probe> Open(const std::string& name, const char* className = kPlain)
    {
        auto window = std::make_unique<Probe>(name, log);
        EXPECT_TRUE(window->CreateChild(className, name));
        return window;
    }
    // A child the frame owns: it deletes itself once destroyed.
    Probe* OpenOwned(const std::string& name)
    {
        auto* window = new Probe(name, log);
        window->deleteSelf = true;
        EXPECT_TRUE(window->CreateChild(kPlain, name));
        return window;
    }
    ScriptedWindow& Impl(const CWnd& window) { return *frame.WindowOf(window); }
    void Record(const std::string& what) { log.push_back(what); }

    Log log;
    FrameHandler handler;
    AppHandler app{log};
    ScriptedFrame frame;

private:
    std::unique_ptr<ScopedFrame> m_scope;
};

// ---- life cycle -----------------------------------------------------------------------------

TEST_F(WindowTest, CreationNeedsARegisteredClassAndASuccessfulOnCreate)
{
    Probe window("w", log);
    EXPECT_FALSE(window.CreateChild("WindowTest.Unregistered", "w"));
    window.createResult = -1;
    EXPECT_FALSE(window.CreateChild(kPlain, "w"));
    EXPECT_FALSE(window.IsWindow());
    EXPECT_TRUE(frame.Children().empty());
    EXPECT_EQ(frame.ActiveChild(), nullptr);
    EXPECT_EQ(log, (Log{"w:Create", "w:Destroy", "w:PostNcDestroy"}));

    log.clear();
    window.createResult = 0;
    ASSERT_TRUE(window.CreateChild(kPlain, "Depth", WS_VSCROLL | WS_MAXIMIZE));
    EXPECT_FALSE(window.CreateChild(kPlain, "again")) << "one on-screen window per object";
    EXPECT_TRUE(window.IsZoomed());
    EXPECT_EQ(log, (Log{"w:Create", "w:Size(2,640,480)", "w:Activate"}));
}

TEST_F(WindowTest, OnlyACloseRequestRunsOnClose)
{
    struct Case {
        const char* what;
        bool viaSysCommand;
        bool keepOpen;
        Log expected;
    };
    const Case cases[] = {
        {"DestroyWindow", false, false, {"w:Destroy", "w:PostNcDestroy"}},
        {"SC_CLOSE", true, false, {"w:Close", "w:Destroy", "w:PostNcDestroy"}},
        {"SC_CLOSE refused", true, true, {"w:Close"}},
    };
    for (const auto& c : cases) {
        auto window = Open("w");
        window->keepOpen = c.keepOpen;
        log.clear();
        if (c.viaSysCommand) frame.SysCommand(*window, SC_CLOSE);
        else window->DestroyWindow();
        EXPECT_EQ(log, c.expected) << c.what;
        EXPECT_EQ(window->IsWindow(), c.keepOpen) << c.what;
        EXPECT_EQ(frame.Children().size(), c.keepOpen ? 1u : 0u) << c.what;
        window.reset();
    }
}

TEST_F(WindowTest, ANewChildIsActivatedLastAndClosingTheActiveOneReactivatesTheOneBefore)
{
    Probe* a = OpenOwned("a");
    auto b = Open("b");
    EXPECT_EQ(log, (Log{"a:Create", "a:Size(0,640,480)", "a:Activate", "b:Create", "a:Deactivate",
                        "b:Size(0,640,480)", "b:Activate"}));
    auto c = Open("c");
    frame.ActivateChild(*b);
    log.clear();
    frame.ActivateChild(*a);
    frame.ActivateChild(*a);
    EXPECT_EQ(log, (Log{"b:Deactivate", "a:Activate"})) << "activating the active child changes nothing";
    log.clear();

    frame.SysCommand(*a, SC_CLOSE); // deletes `a`
    EXPECT_EQ(log, (Log{"a:Close", "a:Destroy", "a:PostNcDestroy", "b:Activate"}));
    EXPECT_EQ(frame.Children(), (Windows{b.get(), c.get()}));
    EXPECT_EQ(frame.ActiveChild(), b.get());

    log.clear();
    c->DestroyWindow();
    EXPECT_EQ(log, (Log{"c:Destroy", "c:PostNcDestroy"})) << "closing an inactive child activates nobody";
    EXPECT_EQ(frame.ActiveChild(), b.get());
    b.reset(); // destroying the object destroys its window
    EXPECT_TRUE(frame.Children().empty());
    EXPECT_EQ(frame.ActiveChild(), nullptr);

    OpenOwned("d");
    OpenOwned("e");
    log.clear();
    frame.Destroy(); // the frame takes its windows with it, newest first
    EXPECT_TRUE(frame.Children().empty());
    EXPECT_EQ(log, (Log{"e:Destroy", "e:PostNcDestroy", "d:Destroy", "d:PostNcDestroy"})) << "and activates none";
}

// ---- painting -------------------------------------------------------------------------------

TEST_F(WindowTest, AMinimisedWindowDoesNotPaintUntilRestored)
{
    auto w = Open("w");
    w->UpdateWindow();
    ASSERT_EQ(Impl(*w).paintCount, 1);
    log.clear();

    frame.SysCommand(*w, SC_MINIMIZE);
    EXPECT_TRUE(w->IsIconic());
    w->Invalidate();
    w->UpdateWindow();
    EXPECT_EQ(Impl(*w).paintCount, 1);
    frame.SysCommand(*w, SC_RESTORE);
    EXPECT_FALSE(w->IsIconic());
    w->UpdateWindow();
    w->UpdateWindow(); // nothing left to paint
    frame.SysCommand(*w, SC_MAXIMIZE);
    EXPECT_TRUE(w->IsZoomed());
    EXPECT_EQ(Impl(*w).paintCount, 2);
    EXPECT_EQ(log, (Log{"w:Size(1,0,0)", "w:Size(0,640,480)", "w:Paint", "w:Size(2,640,480)"}));
}

TEST_F(WindowTest, OnlyAnErasingInvalidateFillsTheClassBackground)
{
    auto w = Open("w");
    w->paint = [](Dc& dc) { dc.SetPixel(1, 1, Rgb(1, 2, 3)); };
    const std::string pixel = "SetPixel(1,1,#010203)";
    struct Step {
        const char* what;
        std::function<void()> act;
        Log painted;
    };
    const Step steps[] = {
        {"creation erases", [] {}, {"FillRect(0,0,640,480,#C0C0C0)", pixel}},
        {"no erase", [&] { w->Invalidate(false); }, {pixel}},
        {"an erase request outlives a later plain one", [&] { w->Invalidate(true), w->Invalidate(false); },
         {"FillRect(0,0,640,480,#C0C0C0)", pixel}},
        {"resizing erases the new client area", [&] { frame.Resize(*w, 300, 200); },
         {"FillRect(0,0,300,200,#C0C0C0)", pixel}},
    };
    for (const auto& step : steps) {
        step.act();
        w->UpdateWindow();
        EXPECT_EQ(Impl(*w).lastPaint, step.painted) << step.what;
    }
}

TEST_F(WindowTest, DrawingOutsidePaintStaysInTheBackingUntilTheNextPaint)
{
    auto w = Open("w");
    w->paint = [](Dc& dc) { dc.TextOut(0, 0, "frame"); };
    w->UpdateWindow();
    {
        auto dc = w->GetDC();
        ASSERT_TRUE(dc);
        dc->MoveTo(0, 0);
        dc->LineTo(5, 5);
    }
    w->Invalidate(false);
    w->UpdateWindow();
    EXPECT_EQ(Impl(*w).backing, (Log{"Paint", "FillRect(0,0,640,480,#C0C0C0)", "TextOut(0,0,frame)", "Line(0,0,5,5)",
                                     "Paint", "TextOut(0,0,frame)"}));
    w->DestroyWindow();
    EXPECT_EQ(w->GetDC(), nullptr);
}

// Benchmarks give the frame a context of their own (a Qt image); the paint a handler
// asks for must land there, erase included, and not also in a recording.
TEST_F(WindowTest, APaintTargetTakesEveryPaintOfTheChildrenCreatedAfterIt)
{
    class Sink : public RecordingDc {
    public:
        explicit Sink(Log& out) : RecordingDc(DeviceCaps{}), m_out(out) {}
        ~Sink() override { m_out.insert(m_out.end(), ops.begin(), ops.end()); }

    private:
        Log& m_out;
    };
    Log target;
    auto before = Open("before");
    frame.childPaintTarget = [&target] { return std::make_unique<Sink>(target); };
    auto w = Open("w");
    w->paint = [](Dc& dc) { dc.TextOut(0, 0, "frame"); };
    w->UpdateWindow();
    before->UpdateWindow();
    EXPECT_EQ(target, (Log{"FillRect(0,0,640,480,#C0C0C0)", "TextOut(0,0,frame)"}));
    EXPECT_EQ(Impl(*w).paintCount, 1);
    EXPECT_TRUE(Impl(*w).backing.empty());
    EXPECT_EQ(Impl(*before).paintCount, 1) << "a window created before keeps its recording";
    EXPECT_FALSE(Impl(*before).lastPaint.empty());
}

TEST_F(WindowTest, AMessageBoxRaisedWhilePaintingIsShownAfterThePaint)
{
    host.ExpectMessage("Error reading frame", IDYES);
    auto w = Open("w");
    int answer = 0;
    size_t shownBeforePaintEnd = 99;
    w->paint = [&](Dc&) {
        answer = MessageBox("Error reading frame data", MB_YESNO | MB_ICONSTOP);
        shownBeforePaintEnd = host.Messages().size();
    };
    w->UpdateWindow();
    EXPECT_EQ(shownBeforePaintEnd, 0u);
    EXPECT_EQ(answer, IDNO) << "the painter goes on with the default answer";
    ASSERT_EQ(host.Messages().size(), 1u);
    EXPECT_EQ(host.Messages()[0].type, unsigned(MB_YESNO | MB_ICONSTOP));
    EXPECT_FALSE(PaintScope::Painting());
}

// ---- input, timers -----------------------------------------------------------------

TEST_F(WindowTest, DoubleClicksNeedTheClassStyle)
{
    const std::pair<const char*, const char*> cases[] = {{kPlain, "w:LDown(1,3,4)"}, {kDblClks, "w:LDbl(1,3,4)"}};
    for (const auto& [className, expected] : cases) {
        auto w = Open("w", className);
        log.clear();
        frame.Mouse(*w, "ldbl", MK_LBUTTON, {3, 4});
        EXPECT_EQ(log, Log{expected}) << className;
    }
}

TEST_F(WindowTest, InputReachesTheChildWithItsModifiersUnlessAnAcceleratorTakesIt)
{
    auto w = Open("w");
    handler.commands.Add(100, [&] { Record("frame:100"); });
    frame.SetAccelerators({{VK_F6, kModControl, 100}, {'T', kModAlt, 101}});
    log.clear();

    frame.Key(*w, VK_DOWN, kModShift);
    frame.Key(*w, VK_F6, kModControl);
    frame.Key(*w, VK_F6, 0);
    frame.Key(*w, 'T', kModAlt); // nobody handles 101: disabled, yet the key is taken
    frame.Mouse(*w, "move", MK_SHIFT, {1, 2});
    frame.Mouse(*w, "ldown", MK_LBUTTON | MK_CONTROL, {3, 4});
    frame.Mouse(*w, "lup", MK_CONTROL, {5, 6});
    frame.Mouse(*w, "rdown", MK_RBUTTON, {7, 8});
    frame.Mouse(*w, "rup", 0, {9, 10});
    EXPECT_EQ(log, (Log{"w:Key(40,1)", "frame:100", "w:Key(117,0)", "w:Move(4,1,2)", "w:LDown(9,3,4)", "w:LUp(8,5,6)",
                        "w:RDown(2,7,8)", "w:RUp(0,9,10)"}));
    EXPECT_EQ(app.inputEvents, 8) << "every key and button event, no moves";
}

TEST_F(WindowTest, TimersFireInTimeOrderAndStopWhenKilled)
{
    frame.linkedClock = &host.clock;
    auto a = Open("a");
    auto b = Open("b");
    a->SetTimer(1, 100);
    b->SetTimer(2, 150);
    frame.SetAppTimer(7, 120);
    log.clear();

    frame.AdvanceClock(300);
    EXPECT_EQ(log, (Log{"a:Timer(1)", "app:Timer(7)", "b:Timer(2)", "a:Timer(1)", "app:Timer(7)", "a:Timer(1)",
                        "b:Timer(2)"}));
    EXPECT_EQ(host.clock, 1300u);

    a->KillTimer(1);
    frame.KillAppTimer(7);
    log.clear();
    frame.AdvanceClock(500);
    EXPECT_EQ(log, (Log{"b:Timer(2)", "b:Timer(2)", "b:Timer(2)"}));
}

// ---- commands and menus ------------------------------------------------------------------------

using CommandRoutingTest = WindowTest;

TEST_F(CommandRoutingTest, TheActiveChildComesFirstThenTheFrameThenTheApplication)
{
    auto w = Open("w");
    for (int id : {10, 14}) w->commands.Add(id, [this, id] { Record(Format("child:%d", id)); });
    handler.commands.Add(10, [&] { Record("frame:10"); });
    handler.commands.Add(11, [&] { Record("frame:11"); });
    for (int id : {10, 11, 12}) app.commands.Add(id, [this, id] { Record(Format("app:%d", id)); });
    app.commands.Add(14, [&] { Record("app:14"); }, [](CommandState& s) { s.enabled = false; });

    struct Case {
        int id;
        const char* withChild;    // nullptr: refused
        const char* withoutChild;
    };
    const Case cases[] = {
        {10, "child:10", "frame:10"},
        {11, "frame:11", "frame:11"},
        {12, "app:12", "app:12"},
        {13, nullptr, nullptr},
        {14, "child:14", nullptr}, // the application's rule disables it
    };
    for (bool childOpen : {true, false}) {
        if (!childOpen) w->DestroyWindow();
        for (const auto& c : cases) {
            const char* expected = childOpen ? c.withChild : c.withoutChild;
            log.clear();
            EXPECT_EQ(frame.QueryCommand(c.id).enabled, expected != nullptr) << c.id;
            EXPECT_EQ(frame.Command(c.id), expected != nullptr) << c.id;
            EXPECT_EQ(log, expected ? Log{expected} : Log{}) << c.id << (childOpen ? " with child" : " without");
        }
    }
}

TEST(CommandMap, RangesPassTheIdAndALaterAddReplaces)
{
    CommandMap map;
    std::vector<int> ran;
    map.AddRange(200, 203, [&](int id) { ran.push_back(id); }, [](int id, CommandState& s) { s.check = id == 202; });
    EXPECT_FALSE(map.Has(199));
    EXPECT_FALSE(map.Has(204));
    for (int id = 200; id <= 203; ++id) {
        CommandState state{id, false, 0};
        ASSERT_TRUE(map.OnUpdateCommand(state));
        EXPECT_TRUE(state.enabled) << "a known command starts enabled";
        EXPECT_EQ(state.check, id == 202 ? 1 : 0);
        EXPECT_TRUE(map.OnCommand(id));
    }
    map.Add(201, [&] { ran.push_back(-1); });
    map.OnCommand(201);
    EXPECT_EQ(ran, (std::vector<int>{200, 201, 202, 203, -1}));
    EXPECT_FALSE(map.OnCommand(204));
}

TEST(Menu, LabelsDropMnemonicMarksAndKeyNames)
{
    const std::pair<const char*, const char*> cases[] = {
        {"&Time\tAlt+T", "Time"}, {"A&&B", "A&B"},     {"&&&x", "&x"}, {"Save &As...", "Save As..."},
        {"Trailing&", "Trailing"}, {"\tCtrl+X", ""},   {"", ""},
    };
    for (const auto& [text, label] : cases) EXPECT_EQ(MenuItemLabel(text), label) << text;
}

TEST(Menu, FindMenuItemSearchesNestedPopups)
{
    const Menu menu{128,
                    {{"&File", 0, {{"&Open...\tCtrl+O", 57601, {}}, {}, {"&Recent", 0, {{"&1 run.qtx", 300, {}}}}}},
                     {"&View", 400, {{"&Time\tAlt+T", 401, {}}}}}};
    const std::pair<int, const char*> cases[] = {
        {57601, "&Open...\tCtrl+O"}, {300, "&1 run.qtx"}, {401, "&Time\tAlt+T"},
        {400, nullptr}, // a pop-up is no command
        {0, nullptr},   // nor is a separator
        {999, nullptr},
    };
    for (const auto& [id, text] : cases) {
        const MenuItem* item = FindMenuItem(menu, id);
        ASSERT_EQ(item != nullptr, text != nullptr) << id;
        if (item) {
            EXPECT_EQ(item->text, text);
        }
    }
}

} // namespace
