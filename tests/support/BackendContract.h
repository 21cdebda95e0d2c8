// One behaviour on every backend: these checks run on the scripted host and frame
// (test_platform) and on Qt offscreen (test_qt). A backend only says how a user
// acts and what its screen shows; the rules live in the platform layer.
#pragma once

#include "platform/BinaryFile.h"
#include "platform/Dialog.h"
#include "platform/Frame.h"
#include "platform/Host.h"
#include "platform/PrintJob.h"
#include "support/KilledWriter.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

// What each backend supplies. Every user action ends with its notification.
class ContractBackend {
public:
    virtual ~ContractBackend() = default;
    virtual void Type(CDialog& dialog, int id, const std::string& text) = 0; // over the whole text
    virtual void Click(CDialog& dialog, int id) = 0;                         // a radio button or a button
    virtual void SetCheck(CDialog& dialog, int id, int state) = 0;          // as a user gets a check box there
    virtual std::string ShownText(const CDialog& dialog, int id) = 0;       // with "\r\n" line ends
    virtual int ShownCheck(const CDialog& dialog, int id) = 0;
    virtual std::string ShownCaption(const CDialog& dialog) = 0;
    virtual void Settle() = 0;                                   // the screen catches up
    virtual void ResizeClient(CWnd& window, int cx, int cy) = 0; // the user sizes a child
    // A job on the host's chosen page whose document is `path` where the backend
    // writes files; and whether the document of the last job on `path` is kept.
    virtual std::unique_ptr<IPrintJob> PrintJob(const std::string& path) = 0;
    virtual bool DocumentKept(const std::string& path) = 0;
    // The screen shows owner-drawn control `id` now (draws it once).
    virtual void ShowDrawn(CDialog& dialog, int id) = 0;
};

namespace contract {

using K = ControlKind;

enum : int {
    kName = 101, kNotes, kCombo, kGrid,
    kFeet, kMeters, kSeconds, // one set
    kLinear, kLog,            // a second, started by kGroupStart
    kUp, kDown,               // a third, after the check box ends the one before
};

inline const DialogTemplate kTemplate{9501, "Contract",
    {{kName, K::Edit, ""}, {kNotes, K::MultiLineEdit, ""}, {kCombo, K::ComboBox, ""},
     {kFeet, K::RadioButton, "Feet", 0, kGroupStart}, {kMeters, K::RadioButton, "Meters"},
     {kSeconds, K::RadioButton, "Seconds"}, {kLinear, K::RadioButton, "Linear", 0, kGroupStart},
     {kLog, K::RadioButton, "Log"}, {kGrid, K::CheckBox, "Grid", 0, kThreeState},
     {kUp, K::RadioButton, "Up"}, {kDown, K::RadioButton, "Down"},
     {IDOK, K::Button, "OK", 0, kDefaultButton}, {IDCANCEL, K::Button, "Cancel"}}};

using Log = std::vector<std::pair<int, char>>; // (id, 'E'dit change or 'C'licked)

class Dlg : public CDialog {
public:
    Dlg() : CDialog(kTemplate)
    {
        for (int id : {kName, kNotes, kCombo}) On(id, ::Notify::EditChange, [this, id] { log.emplace_back(id, 'E'); });
        for (int id : {kGrid, kFeet, kMeters, kSeconds, kLinear, kLog, kUp, kDown})
            On(id, ::Notify::Clicked, [this, id] { log.emplace_back(id, 'C'); });
    }
    bool OnInitDialog() override
    {
        for (const char* s : {"alpha", "beta"}) Item(kCombo)->AddString(s);
        return CDialog::OnInitDialog();
    }
    void DoDataExchange(DataExchange& dx) override
    {
        dx.Text(kName, name), dx.MaxChars(name, 5);
        dx.Text(kNotes, notes), dx.MaxChars(notes, 5);
        dx.ComboString(kCombo, combo), dx.MaxChars(combo, 5);
        dx.Radio(kFeet, unit), dx.Radio(kLinear, scale), dx.Radio(kUp, direction);
        dx.Check(kGrid, grid);
    }

    std::string name = "ab", notes = "x\r\ny", combo = "beta";
    int unit = 2, scale = 0, direction = -1, grid = 2;
    Log log;
};

inline const char* const kClass = "Contract.Plain";

class SizeProbe : public CWnd {
public:
    int cx = -1, cy = -1; // as OnSize last told
    void OnSize(unsigned, int x, int y) override { cx = x, cy = y; }
};

// A dialog with a control it draws itself; it logs what each draw was given.
enum : int { kDrawn = 201 };
inline const DialogTemplate kDrawnTemplate{9502, "Drawn",
    {{kDrawn, K::OwnerDraw, ""}, {IDOK, K::Button, "OK", 0, kDefaultButton}, {IDCANCEL, K::Button, "Cancel"}}};

class DrawnDlg : public CDialog {
public:
    DrawnDlg() : CDialog(kDrawnTemplate)
    {
        On(kDrawn, ::Notify::Clicked, [this] { ++clicks; });
    }
    void OnDrawItem(int id, Dc& dc, const Rect& client) override
    {
        draws.push_back({id, client, dc.MapModeValue(), dc.CurrentPen().color});
        // Leaves a mapping and a pen behind: the next draw must not start with them.
        dc.SetMapMode(MM_ANISOTROPIC);
        dc.SetWindowExt(200, 100);
        dc.SetViewportExt(client.right, client.bottom);
        dc.SelectPen({PS_SOLID, 1, Rgb(0, 0, 255)});
        dc.FillRect({0, 0, 200, 100}, colour);
    }
    struct Draw {
        int id;
        Rect client;
        int mapMode;
        Color pen;
    };
    std::vector<Draw> draws;
    Color colour = Rgb(255, 255, 255);
    int clicks = 0;
};

} // namespace contract

template <typename Backend> class BackendContract : public ::testing::Test {
protected:
    void SetUp() override { RegisterWindowClass({contract::kClass}); }
    Backend backend;
    contract::Dlg dialog; // goes before the backend's host
};
TYPED_TEST_SUITE_P(BackendContract);

TYPED_TEST_P(BackendContract, ADialogShowsItsTemplateFilledAndFollowsTheProgram)
{
    using namespace contract;
    ContractBackend& b = this->backend;
    Dlg& d = this->dialog;
    ASSERT_TRUE(d.Create());
    EXPECT_TRUE(d.IsWindow());
    const std::vector<std::string> filled{b.ShownCaption(d), b.ShownText(d, kName), b.ShownText(d, kNotes),
                                          b.ShownText(d, kCombo)};
    EXPECT_EQ(filled, (std::vector<std::string>{"Contract", "ab", "x\r\ny", "beta"}));
    EXPECT_EQ(b.ShownCheck(d, kGrid), 2);

    d.SetItemText(kName, "xyz");
    d.SetCaption("Renamed");
    d.Item(kGrid)->SetCheck(1);
    Host().DialogChanged(d);
    EXPECT_EQ(b.ShownText(d, kName), "xyz");
    EXPECT_EQ(b.ShownCaption(d), "Renamed");
    EXPECT_EQ(b.ShownCheck(d, kGrid), 1);

    b.SetCheck(d, kGrid, 0);
    ASSERT_TRUE(d.UpdateData(true));
    EXPECT_EQ(d.grid, 0);
    EXPECT_EQ(d.name, "xyz");
    ASSERT_FALSE(d.log.empty());
    EXPECT_EQ(d.log.back(), std::make_pair(int(kGrid), 'C'));
}

TYPED_TEST_P(BackendContract, AClickedRadioButtonClearsOnlyTheRestOfItsSet)
{
    using namespace contract;
    ContractBackend& b = this->backend;
    Dlg& d = this->dialog;
    ASSERT_TRUE(d.Create());
    const std::pair<int, std::vector<int>> steps[] = {
        // clicked (0: as filled) and then Feet, Meters, Seconds | Linear, Log | Up, Down
        {0, {0, 0, 1, 1, 0, 0, 0}},
        {kMeters, {0, 1, 0, 1, 0, 0, 0}},
        {kMeters, {0, 1, 0, 1, 0, 0, 0}}, // the checked one stays checked
        {kLog, {0, 1, 0, 0, 1, 0, 0}},
        {kDown, {0, 1, 0, 0, 1, 0, 1}},
        {kUp, {0, 1, 0, 0, 1, 1, 0}},
    };
    for (const auto& [click, checks] : steps) {
        if (click) b.Click(d, click);
        std::vector<int> states, shown;
        for (int id : {kFeet, kMeters, kSeconds, kLinear, kLog, kUp, kDown})
            states.push_back(d.Item(id)->Check()), shown.push_back(b.ShownCheck(d, id));
        EXPECT_EQ(states, checks) << click;
        EXPECT_EQ(shown, checks) << click;
    }
    EXPECT_EQ(d.log, (Log{{kMeters, 'C'}, {kMeters, 'C'}, {kLog, 'C'}, {kDown, 'C'}, {kUp, 'C'}}));
    ASSERT_TRUE(d.UpdateData(true));
    EXPECT_EQ((std::vector<int>{d.unit, d.scale, d.direction}), (std::vector<int>{1, 1, 0}));
}

TYPED_TEST_P(BackendContract, TypingStopsAtTheLengthLimitButALimitCutsNothingAlreadyThere)
{
    using namespace contract;
    ContractBackend& b = this->backend;
    Dlg& d = this->dialog;
    ASSERT_TRUE(d.Create());
    for (int id : {kName, kNotes, kCombo}) {
        // The second time the cut text equals the kept one: the screen must still follow.
        for (int round = 0; round < 2; ++round) {
            b.Type(d, id, "abcdefgh");
            EXPECT_EQ(d.GetItemText(id), "abcde") << id;
            EXPECT_EQ(b.ShownText(d, id), "abcde") << id;
        }
        d.SetItemText(id, "program's long text");
        Host().DialogChanged(d);
        EXPECT_EQ(b.ShownText(d, id), "program's long text") << id;
        b.Type(d, id, "123456789");
        EXPECT_EQ(d.GetItemText(id), "12345") << id;
        EXPECT_EQ(b.ShownText(d, id), "12345") << id;
        ASSERT_FALSE(d.log.empty());
        EXPECT_EQ(d.log.back(), std::make_pair(id, 'E'));
    }
    b.Type(d, kNotes, "a\r\nbcdef"); // a line end counts two
    EXPECT_EQ(d.GetItemText(kNotes), "a\r\nbc");
    EXPECT_EQ(d.Item(kCombo)->CurSel(), -1) << "typing leaves no item selected";
}

TYPED_TEST_P(BackendContract, ScrollBarsHoldThePositionInsideTheLastPage)
{
    contract::SizeProbe w;
    ASSERT_TRUE(w.CreateChild(contract::kClass, "Scroll", WS_VSCROLL | WS_HSCROLL));
    this->backend.Settle();
    struct Case {
        const char* what;
        ScrollInfo info;
        int pos;
    };
    const Case cases[] = {
        {"inside", {.min = 0, .max = 3000000, .page = 1000, .pos = 1500000, .trackPos = 7}, 1500000},
        {"past the last page", {.min = 0, .max = 3000000, .page = 1000, .pos = 3000000}, 2999001},
        {"below the minimum", {.min = -50, .max = 50, .page = 10, .pos = -80}, -50},
        {"no page: up to the maximum", {.min = 0, .max = 100, .page = 0, .pos = 150}, 100},
        {"page larger than the range", {.min = 0, .max = 10, .page = 50, .pos = 5}, 0},
        {"page past the int range", {.min = 0, .max = 100, .page = 3000000000u, .pos = 50}, 0},
    };
    for (const auto& c : cases) {
        w.SetScrollInfo(SB_VERT, c.info);
        const ScrollInfo got = w.GetScrollInfo(SB_VERT);
        EXPECT_EQ(std::make_pair(got.max, got.page), std::make_pair(c.info.max, c.info.page)) << c.what;
        EXPECT_EQ(got.pos, c.pos) << c.what;
        EXPECT_EQ(got.trackPos, c.pos) << c.what << ": the thumb stands on the position";
    }
    EXPECT_EQ(w.GetScrollInfo(SB_HORZ).max, 0) << "the bars are separate";
    w.SetScrollInfo(SB_HORZ, {.min = 0, .max = 100, .page = 10, .pos = 20});
    EXPECT_EQ(w.SetScrollPos(SB_HORZ, 500), 20);
    EXPECT_EQ(w.SetScrollPos(SB_HORZ, 5), 91);
    w.SetScrollPos(SB_HORZ, 60);
    w.SetScrollRange(SB_HORZ, 0, 40);
    EXPECT_EQ(w.GetScrollPos(SB_HORZ), 31) << "a shrinking range pulls the position in";
}

TYPED_TEST_P(BackendContract, AChildWindowIsToldItsClientSizeAndKeepsItsCaption)
{
    contract::SizeProbe w;
    ASSERT_TRUE(w.CreateChild(contract::kClass, "Depth", 0));
    this->backend.Settle();
    const Rect opened = w.GetClientRect();
    EXPECT_GT(opened.right, 0);
    EXPECT_EQ(std::make_pair(w.cx, w.cy), std::make_pair(opened.right, opened.bottom));
    this->backend.ResizeClient(w, 300, 200);
    EXPECT_EQ(w.GetClientRect(), (Rect{0, 0, 300, 200}));
    EXPECT_EQ(std::make_pair(w.cx, w.cy), std::make_pair(300, 200));
    EXPECT_EQ(w.GetWindowText(), "Depth");
    w.SetWindowText("Depth 1200.5 ft");
    EXPECT_EQ(w.GetWindowText(), "Depth 1200.5 ft");
}

TYPED_TEST_P(BackendContract, AWindowsContextDescribesItsScreenWhateverTheWindowsSize)
{
    // Views that scale by millimetres (depth per pixel) ask it of any of their contexts.
    contract::SizeProbe w;
    ASSERT_TRUE(w.CreateChild(contract::kClass, "Caps", 0));
    this->backend.Settle();
    auto caps = [&] {
        const auto dc = w.GetDC();
        return std::vector<int>{dc->GetDeviceCaps(HORZRES), dc->GetDeviceCaps(VERTRES), dc->GetDeviceCaps(HORZSIZE),
                                dc->GetDeviceCaps(VERTSIZE)};
    };
    const std::vector<int> opened = caps();
    for (int value : opened) EXPECT_GT(value, 0);
    this->backend.ResizeClient(w, 123, 77);
    EXPECT_EQ(caps(), opened);
}

TYPED_TEST_P(BackendContract, APrintJobPrintsOnTheChosenPageAndOnlyAFinishedOneIsKept)
{
    ContractBackend& b = this->backend;
    CPageSetupDlg setup;
    ASSERT_TRUE(setup.Create());
    b.Click(setup, CPageSetupDlg::kIdcLetter);
    b.Click(setup, CPageSetupDlg::kIdcLandscape);
    ASSERT_TRUE(setup.UpdateData(true));
    setup.DestroyWindow();
    EXPECT_EQ(setup.m_setup, (PageSetup{PaperSize::Letter, true, 300}));
    Host().SetPrinterPage(setup.m_setup);

    // Letter turned, less 10 mm all round, at 300 dpi.
    auto caps = [](const DeviceCaps& c) {
        return std::vector<int>{c.horzRes, c.vertRes, c.horzSize, c.vertSize, c.logPixelsX, c.logPixelsY};
    };
    const std::vector<int> page{3063, 2313, 259, 196, 300, 300};
    EXPECT_EQ(caps(PageCaps(Host().PrinterPage())), page);
    TempDir dir;
    enum End { Finished, Aborted, Dropped };
    for (End end : {Finished, Aborted, Dropped}) {
        // Each replaces a file of its own: only a finished document takes its name.
        const std::string path = dir.File("log" + std::to_string(int(end)) + ".pdf");
        const std::string old = "an older document";
        {
            BinaryFile f;
            ASSERT_TRUE(f.Open(path, BinaryFile::modeWrite | BinaryFile::modeCreate));
            ASSERT_TRUE(f.Write(old.data(), old.size()));
        }
        {
            auto job = b.PrintJob(path);
            ASSERT_TRUE(job);
            EXPECT_EQ(caps(job->Caps()), page) << "asked before the document starts";
            ASSERT_TRUE(job->StartDoc("PDF Log"));
            for (int n = 1; n <= 2; ++n) {
                ASSERT_TRUE(job->StartPage());
                EXPECT_EQ(caps(job->Caps()), page);
                Dc& dc = job->PageDc();
                EXPECT_EQ(std::make_pair(dc.GetDeviceCaps(HORZRES), dc.GetDeviceCaps(VERTRES)),
                          std::make_pair(page[0], page[1]));
                dc.Rectangle({0, 0, page[0], page[1]});
                dc.TextOut(100, 100, "Page " + std::to_string(n));
                ASSERT_TRUE(job->EndPage());
            }
            if (end == Finished) {
                EXPECT_TRUE(job->EndDoc());
            }
            if (end == Aborted) job->Abort();
        }
        EXPECT_EQ(b.DocumentKept(path), end == Finished) << end;
        if (end != Finished) {
            BinaryFile f;
            std::string kept(old.size() + 1, '\0');
            ASSERT_TRUE(f.Open(path, BinaryFile::modeRead)) << end;
            kept.resize(f.Read(kept.data(), kept.size()));
            EXPECT_EQ(kept, old) << end;
        }
        EXPECT_EQ(PartialOutputsIn(dir.Path()), std::vector<std::string>()) << end;
    }
}

TYPED_TEST_P(BackendContract, AnOwnerDrawnControlIsDrawnByItsDialogOnAFreshContextAndNotifiesClicks)
{
    using namespace contract;
    ContractBackend& b = this->backend;
    DrawnDlg d;
    ASSERT_TRUE(d.Create());
    b.ShowDrawn(d, kDrawn);
    d.colour = Rgb(192, 192, 192);
    d.RedrawItem(kDrawn); // the program's state changed
    b.ShowDrawn(d, kDrawn);
    ASSERT_GE(d.draws.size(), 2u);
    for (const auto& draw : d.draws) {
        EXPECT_EQ(draw.id, kDrawn);
        EXPECT_EQ(std::make_pair(draw.client.left, draw.client.top), std::make_pair(0, 0));
        EXPECT_GT(draw.client.right, 0);
        EXPECT_GT(draw.client.bottom, 0);
        EXPECT_EQ(draw.mapMode, MM_TEXT) << "each draw starts with the context's start state";
        EXPECT_EQ(draw.pen, Rgb(0, 0, 0));
    }
    b.Click(d, kDrawn);
    EXPECT_EQ(d.clicks, 1);
    d.Item(kDrawn)->Show(false);
    const size_t before = d.draws.size();
    Host().DialogChanged(d);
    b.ShowDrawn(d, kDrawn);
    EXPECT_EQ(d.draws.size(), before) << "a hidden control is not drawn";
    d.DestroyWindow();
}

REGISTER_TYPED_TEST_SUITE_P(BackendContract, ADialogShowsItsTemplateFilledAndFollowsTheProgram,
                            AClickedRadioButtonClearsOnlyTheRestOfItsSet,
                            TypingStopsAtTheLengthLimitButALimitCutsNothingAlreadyThere,
                            ScrollBarsHoldThePositionInsideTheLastPage,
                            AChildWindowIsToldItsClientSizeAndKeepsItsCaption,
                            AWindowsContextDescribesItsScreenWhateverTheWindowsSize,
                            APrintJobPrintsOnTheChosenPageAndOnlyAFinishedOneIsKept,
                            AnOwnerDrawnControlIsDrawnByItsDialogOnAFreshContextAndNotifiesClicks);
