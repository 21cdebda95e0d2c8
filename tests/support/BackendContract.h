// One behaviour on every backend: these checks run on the scripted host and frame
// (test_platform) and on Qt offscreen (test_qt). A backend only says how a user
// acts and what its screen shows; the rules live in the platform layer.
#pragma once

#include "platform/BinaryFile.h"
#include "platform/Dialog.h"
#include "platform/Format.h"
#include "platform/Frame.h"
#include "platform/Host.h"
#include "platform/Input.h"
#include "platform/Path.h"
#include "platform/PrintJob.h"
#include "support/KilledWriter.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
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
    virtual Rect PrimaryArea() = 0;                              // the primary screen less its panels
    virtual void ResizeClient(CWnd& window, int cx, int cy) = 0; // the user sizes a child
    // A job on the host's chosen page whose document is `path` where the backend
    // writes files; and whether the document of the last job on `path` is kept.
    virtual std::unique_ptr<IPrintJob> PrintJob(const std::string& path) = 0;
    virtual bool DocumentKept(const std::string& path) = 0;
    // The screen shows owner-drawn control `id` now (draws it once).
    virtual void ShowDrawn(CDialog& dialog, int id) = 0;
    // The user clicks line `line` of list `id` holding MK_SHIFT / MK_CONTROL, or presses
    // a key (VK_UP, VK_DOWN, VK_HOME, VK_END, VK_SPACE) on it; and the lines it shows selected.
    virtual void ClickLine(CDialog& dialog, int id, int line, unsigned keys) = 0;
    virtual void PressKey(CDialog& dialog, int id, unsigned key, unsigned keys) = 0;
    virtual std::vector<int> ShownSelection(const CDialog& dialog, int id) = 0;
    // The next file dialog gets `path` chosen by the user.
    virtual void ChooseFile(const std::string& path) = 0;
    // A settings entry as the program reads it after a restart.
    virtual std::string ProfileAfterRestart(const std::string& section, const std::string& entry) = 0;
    // A message box of `text` with OK, as the user reads it before pressing OK: the text
    // above any scrolled area, what copying all of that area gives ("" without one), and
    // whether the box and its OK button lie wholly in the screen's free area.
    struct ReadBox {
        std::string text, scrolled;
        bool onScreen = false;
    };
    virtual ReadBox ReadMessage(const std::string& text) = 0;
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

// One list of each style, and a path field.
enum : int { kSingle = 301, kMultiple, kExtended, kPath };
inline const DialogTemplate kListTemplate{9503, "Lists",
    {{kSingle, K::ListBox, ""}, {kMultiple, K::MultiListBox, ""}, {kExtended, K::MultiListBox, "", 0, kExtendedSel},
     {kPath, K::Edit, ""}, {IDOK, K::Button, "OK", 0, kDefaultButton}, {IDCANCEL, K::Button, "Cancel"}}};

class ListDlg : public CDialog {
public:
    ListDlg() : CDialog(kListTemplate)
    {
        for (int id : {kSingle, kMultiple, kExtended})
            On(id, ::Notify::SelChange, [this, id] { handed[id] = Item(id)->SelItems(); });
    }
    bool OnInitDialog() override
    {
        for (int id : {kSingle, kMultiple, kExtended})
            for (const char* s : {"WAV1", "SLO3", "CUR6", "SEM5", "AZI4", "DEN6"}) Item(id)->AddString(s);
        return CDialog::OnInitDialog();
    }
    std::map<int, std::vector<int>> handed; // what each list's last change handed the dialog
};

// Numbers in edits, two in the formats of their dialog and one in the exchange's own.
enum : int { kLimit = 401, kDepth, kPlain };
inline const DialogTemplate kNumberTemplate{9504, "Numbers",
    {{kLimit, K::Edit, ""}, {kDepth, K::Edit, ""}, {kPlain, K::Edit, ""}, {IDOK, K::Button, "OK", 0, kDefaultButton},
     {IDCANCEL, K::Button, "Cancel"}}};

class NumberDlg : public CDialog {
public:
    NumberDlg() : CDialog(kNumberTemplate) {}
    void DoDataExchange(DataExchange& dx) override
    {
        dx.Text(kLimit, limit, "%10.2f");
        dx.Text(kDepth, depth, "%10.4f");
        dx.Text(kPlain, plain);
    }
    float limit = 0.125f;
    double depth = 1000.12345;
    float plain = 1000.12347f; // more digits than the exchange's six
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

// An edit shows a number in its dialog's format; left as shown, or typed back to the
// text shown, it gives back every digit of the number, and only a text the user or the
// program changed is read as it stands.
TYPED_TEST_P(BackendContract, AnEditLeftAsShownGivesBackEveryDigitOfItsNumber)
{
    using namespace contract;
    ContractBackend& b = this->backend;
    const std::string shownLimit = Format("%10.2f", 0.125);
    const auto read = [](const std::string& text) { return std::strtod(text.c_str(), nullptr); };
    const struct {
        const char* what;
        std::function<void(NumberDlg&)> act;
        float limit;
        double depth;
        float plain;
    } cases[] = {
        {"left as shown", [](NumberDlg&) {}, 0.125f, 1000.12345, 1000.12347f},
        {"typed over", [&](NumberDlg& d) { b.Type(d, kLimit, "0.5"), b.Type(d, kDepth, "1e3"), b.Type(d, kPlain, "-7"); },
         0.5f, 1000.0, -7.0f},
        {"typed back to the text shown",
         [&](NumberDlg& d) {
             for (const int id : {kLimit, kDepth, kPlain}) {
                 const std::string shown = d.GetItemText(id);
                 b.Type(d, id, "1");
                 b.Type(d, id, shown);
             }
         },
         0.125f, 1000.12345, 1000.12347f},
        {"another number from the program",
         [](NumberDlg& d) {
             d.SetItemNumber(kDepth, 2000.98765, "%10.4f");
             Host().DialogChanged(d);
         },
         0.125f, 2000.98765, 1000.12347f},
        {"the program's text, as shown", [&](NumberDlg& d) {
             d.SetItemText(kLimit, shownLimit);
             Host().DialogChanged(d);
         },
         float(read(shownLimit)), 1000.12345, 1000.12347f},
    };
    for (const auto& c : cases) {
        NumberDlg d;
        ASSERT_TRUE(d.Create()) << c.what;
        EXPECT_EQ(b.ShownText(d, kLimit), shownLimit) << c.what;
        EXPECT_EQ(b.ShownText(d, kDepth), " 1000.1235") << c.what;
        EXPECT_EQ(b.ShownText(d, kPlain), "1000.12") << c.what;
        c.act(d);
        ASSERT_TRUE(d.UpdateData(true)) << c.what;
        EXPECT_EQ(d.limit, c.limit) << c.what;
        EXPECT_EQ(d.depth, c.depth) << c.what;
        EXPECT_EQ(d.plain, c.plain) << c.what;
        d.DestroyWindow();
    }
}

// The value an edit means, which the exchange and every dialog's own checks read: the
// number shown, every digit, while its text reads as the number the text shown reads as
// (blanks taken out or added, the digits typed again, the same number in other digits);
// else the text as a finite number; else none.
TYPED_TEST_P(BackendContract, TheValueAnEditMeansIsItsShownNumberUntilAnotherNumberIsTyped)
{
    using namespace contract;
    ContractBackend& b = this->backend;
    const std::string shown = " 1000.1235"; // 1000.12345 in "%10.4f"
    const struct {
        const char* what;
        std::function<void(NumberDlg&)> act;
        std::optional<double> meant;
    } cases[] = {
        {"left as shown", [](NumberDlg&) {}, 1000.12345},
        {"typed back to the text shown", [&](NumberDlg& d) { b.Type(d, kDepth, "1"), b.Type(d, kDepth, shown); },
         1000.12345},
        {"its leading blank taken out", [&](NumberDlg& d) { b.Type(d, kDepth, "1000.1235"); }, 1000.12345},
        {"a blank added behind", [&](NumberDlg& d) { b.Type(d, kDepth, shown + " "); }, 1000.12345},
        {"the digits shown typed again", [&](NumberDlg& d) { b.Type(d, kDepth, ""), b.Type(d, kDepth, "1000.1235"); },
         1000.12345},
        {"the number shown in other digits", [&](NumberDlg& d) { b.Type(d, kDepth, "1.00012350e3"); }, 1000.12345},
        {"a digit off", [&](NumberDlg& d) { b.Type(d, kDepth, "1000.1234"); }, 1000.1234},
        {"typed over", [&](NumberDlg& d) { b.Type(d, kDepth, "-2.5e3"); }, -2500.0},
        {"the program's own text", [&](NumberDlg& d) { d.SetItemText(kDepth, shown), Host().DialogChanged(d); },
         1000.1235},
        {"no number", [&](NumberDlg& d) { b.Type(d, kDepth, "1000.1235 ft"); }, std::nullopt},
        {"empty", [&](NumberDlg& d) { b.Type(d, kDepth, ""); }, std::nullopt},
        {"not a number", [&](NumberDlg& d) { b.Type(d, kDepth, "nan"); }, std::nullopt},
        {"infinite", [&](NumberDlg& d) { b.Type(d, kDepth, "-inf"); }, std::nullopt},
        {"beyond any double", [&](NumberDlg& d) { b.Type(d, kDepth, "1e999"); }, std::nullopt},
        {"shown, but no finite number", [](NumberDlg& d) { d.SetItemNumber(kDepth, HUGE_VAL, "%10.4f"); },
         std::nullopt},
        {"shown, no finite number, and typed again",
         [&](NumberDlg& d) { d.SetItemNumber(kDepth, HUGE_VAL, "%10.4f"), b.Type(d, kDepth, "inf"); }, std::nullopt},
    };
    for (const auto& c : cases) {
        NumberDlg d;
        ASSERT_TRUE(d.Create()) << c.what;
        ASSERT_EQ(b.ShownText(d, kDepth), shown) << c.what;
        c.act(d);
        EXPECT_EQ(DataExchange(d, true).NumberMeant(kDepth), c.meant) << c.what;
        d.DestroyWindow();
    }
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

// Clicks and keys select as the list's style has it; after each, the lines the screen
// shows selected are those the dialog reads, and those its change notice handed it.
TYPED_TEST_P(BackendContract, WhatAListShowsSelectedIsWhatItsDialogGets)
{
    using namespace contract;
    ContractBackend& b = this->backend;
    ListDlg d;
    ASSERT_TRUE(d.Create());
    constexpr int kKey = -1;
    const struct {
        const char* what;
        int id, line;
        unsigned key, keys;
        std::vector<int> selected;
    } steps[] = {
        {"single: a click selects its line", kSingle, 2, 0, 0, {2}},
        {"single: another click moves it", kSingle, 4, 0, 0, {4}},
        {"single: Ctrl changes nothing of that", kSingle, 1, 0, MK_CONTROL, {1}},
        {"single: nor on the selected line", kSingle, 1, 0, MK_CONTROL, {1}},
        {"single: Down selects the next line", kSingle, kKey, VK_DOWN, 0, {2}},
        {"single: End the last", kSingle, kKey, VK_END, 0, {5}},
        {"multiple: a click selects its line", kMultiple, 1, 0, 0, {1}},
        {"multiple: a second plain click adds its line", kMultiple, 3, 0, 0, {1, 3}},
        {"multiple: a click on a selected line takes it back", kMultiple, 1, 0, 0, {3}},
        {"multiple: Shift toggles too", kMultiple, 5, 0, MK_SHIFT, {3, 5}},
        {"multiple: Up moves the caret only", kMultiple, kKey, VK_UP, 0, {3, 5}},
        {"multiple: Space toggles the caret's line", kMultiple, kKey, VK_SPACE, 0, {3, 4, 5}},
        {"extended: a click selects its line", kExtended, 1, 0, 0, {1}},
        {"extended: a plain click replaces the selection", kExtended, 3, 0, 0, {3}},
        {"extended: Ctrl adds a line", kExtended, 0, 0, MK_CONTROL, {0, 3}},
        {"extended: Ctrl takes a line back", kExtended, 3, 0, MK_CONTROL, {0}},
        {"extended: Shift adds the lines from the anchor", kExtended, 1, 0, MK_SHIFT, {0, 1, 2, 3}},
        {"extended: Shift again moves the range's end", kExtended, 5, 0, MK_SHIFT, {0, 3, 4, 5}},
        {"extended: Up selects the line above alone", kExtended, kKey, VK_UP, 0, {4}},
        {"extended: Shift+Up extends from it", kExtended, kKey, VK_UP, MK_SHIFT, {3, 4}},
        {"extended: a plain click after it", kExtended, 0, 0, 0, {0}},
        {"extended: Shift+Down from the click", kExtended, kKey, VK_DOWN, MK_SHIFT, {0, 1}},
    };
    for (const auto& step : steps) {
        if (step.line == kKey) b.PressKey(d, step.id, step.key, step.keys);
        else b.ClickLine(d, step.id, step.line, step.keys);
        EXPECT_EQ(b.ShownSelection(d, step.id), step.selected) << step.what;
        EXPECT_EQ(d.Item(step.id)->SelItems(), step.selected) << step.what;
        EXPECT_EQ(d.handed[step.id], step.selected) << step.what;
    }
    for (int id : {kSingle, kMultiple})
        EXPECT_EQ(b.ShownSelection(d, id), d.Item(id)->SelItems()) << id << ": the other lists kept theirs";
    d.DestroyWindow();
}

// Paths and typing are UTF-8 from the file dialog through a path field and the
// settings to the file system; a data file's 8-bit text shows as the Latin-1 it is.
TYPED_TEST_P(BackendContract, APathBeyondAsciiGoesThroughDialogsSettingsAndFilesUnchanged)
{
    using namespace contract;
    ContractBackend& b = this->backend;
    TempDir dir;
    for (const std::string folder : {"Br\xC3\xB8nn", "\xD0\xA1\xD0\xBA\xD0\xB2\xD0\xB0\xD0\xB6\xD0\xB8\xD0\xBD\xD0\xB0"}) {
        const std::string path = JoinPath(dir.File(folder), "\xD0\xA1\xD0\xBA\xD0\xB2-" + folder + ".qtx");
        std::filesystem::create_directory(dir.File(folder));
        std::ofstream(path, std::ios::binary) << "QTX";

        b.ChooseFile(path);
        FileDialogOptions options;
        options.title = "Select Primary File";
        options.filter = "Qtx Data (*.qtx)|*.qtx|All Files (*.*)|*.*||";
        options.initialName = dir.File("start.qtx");
        options.flags |= kFileMustExist;
        const FileDialogResult chosen = Host().FileDialog(options);
        ASSERT_TRUE(chosen.ok) << folder;
        EXPECT_EQ(chosen.path, path);
        EXPECT_EQ(chosen.title, FileTitle(path));

        ListDlg d;
        ASSERT_TRUE(d.Create());
        d.SetItemText(kPath, chosen.path);
        Host().DialogChanged(d);
        EXPECT_EQ(b.ShownText(d, kPath), path) << "the field shows the path as chosen";
        b.Type(d, kPath, "");
        b.Type(d, kPath, path);
        EXPECT_EQ(d.GetItemText(kPath), path) << "the typed path is the file's";
        ASSERT_TRUE(Host().WriteProfileString("Contract", "Path", d.GetItemText(kPath)));
        const std::string stored = b.ProfileAfterRestart("Contract", "Path");
        EXPECT_EQ(stored, path);
        BinaryFile file;
        ASSERT_TRUE(file.Open(stored, BinaryFile::modeRead)) << "the file system finds it";
        d.DestroyWindow();
    }
    ListDlg d;
    ASSERT_TRUE(d.Create());
    b.Type(d, kPath, "Gr\xC3\xB8");
    EXPECT_EQ(d.GetItemText(kPath), "Gr\xC3\xB8") << "typed text is UTF-8, never 47 72 F8";
    d.SetItemText(kPath, "DT \xB5s/ft"); // a mnemonic's unit from a data file: Latin-1
    Host().DialogChanged(d);
    EXPECT_EQ(b.ShownText(d, kPath), "DT \xC2\xB5s/ft");
    d.DestroyWindow();
}

TYPED_TEST_P(BackendContract, ARestoredPlacementKeepsTheTitleBarOnAScreenAndFitsItsArea)
{
    const Rect a = this->backend.PrimaryArea();
    ASSERT_GE(a.Width(), 400);
    ASSERT_GE(a.Height(), 300);
    const int w = 320, h = 200;
    struct Case {
        const char* what;
        Rect normal;
        Rect shown;
    };
    const Case cases[] = {
        {"on the screen: as saved", {a.left + 10, a.top + 20, a.left + 10 + w, a.top + 20 + h},
         {a.left + 10, a.top + 20, a.left + 10 + w, a.top + 20 + h}},
        {"on a monitor that is gone: moved in", {a.right + 5000, a.bottom + 5000, a.right + 5000 + w, a.bottom + 5000 + h},
         {a.right - w, a.bottom - h, a.right, a.bottom}},
        {"title bar above the screen", {a.left + 10, a.top - 500, a.left + 10 + w, a.top - 500 + h},
         {a.left + 10, a.top, a.left + 10 + w, a.top + h}},
        {"too large: bounded by the area", {a.left + 100, a.top + 100, 60000, 50000}, a},
        {"the widest int span", {INT_MIN, a.top, INT_MAX, a.top + h}, {a.left, a.top, a.right, a.top + h}},
        {"every value extreme", {INT_MIN, INT_MIN, INT_MAX, INT_MAX}, a},
        {"too small: ignored", {a.left, a.top, a.left + 50, a.top + 40}, a},
    };
    for (const auto& c : cases) {
        WindowPlacement saved;
        saved.normal = c.normal;
        Frame()->SetPlacement(saved);
        this->backend.Settle();
        WindowPlacement got;
        ASSERT_TRUE(Frame()->GetPlacement(got));
        EXPECT_EQ(got.normal, c.shown) << c.what;
    }
}

// A message box shows a text that fits a screen as it stands. A longer one (an import's
// lists of 200 curves, a path of thousands of characters, hundreds of lines) shows its
// first lines cut to a row each above a scrolled area that holds the whole text to read
// and copy, and the box and its OK button stay on the screen.
TYPED_TEST_P(BackendContract, ALongMessageShowsItsFirstLinesAboveTheWholeTextScrolled)
{
    ContractBackend& b = this->backend;
    std::string names, lines;
    for (int k = 0; k < 200; ++k) {
        names += Format("%sGAMMA_RAY_CORRECTED_FOR_BOREHOLE_%d as G%03d", k ? ", " : "", 1000 + k, k);
        lines += Format("%sLine %d", k ? "\n" : "", k + 1);
    }
    const std::string renamed = "Renamed 200 curve(s) whose first four characters repeat another's: ";
    const std::string path = "/data/Br\xC3\xB8nn/" + std::string(3900, 'p') + ".las";
    const struct {
        const char* what;
        std::string text;
        std::string shown; // above the scrolled area; the text itself where there is none
    } cases[] = {
        {"fits", "Imported file :\n/data/well.las\nRenamed 2 curve(s) whose first four characters repeat another's: "
                 "NPHI_SAN as NPHI, NPHI_LIM as NPH1.", ""},
        {"24 rows fit", lines.substr(0, lines.find("Line 25") - 1), ""},
        {"a list of 200 curves", "Imported file :\n/data/well.las\n" + renamed + names + ".\nWrote 3 value(s).",
         "Imported file :\n/data/well.las\n" + renamed.substr(0, renamed.size() - 1) + " ...\nWrote 3 value(s)."},
        {"a path of 3,900 characters", "Could not open input file :\n" + path,
         "Could not open input file :\n" + path.substr(0, kMessageColumns) + " ..."},
        {"200 lines", lines, lines.substr(0, lines.find("\nLine 13")) + "\n..."},
    };
    for (const auto& c : cases) {
        const ContractBackend::ReadBox box = b.ReadMessage(c.text);
        EXPECT_EQ(box.text, ScreenText(c.shown.empty() ? c.text : c.shown)) << c.what;
        EXPECT_EQ(box.scrolled, c.shown.empty() ? "" : ScreenText(c.text)) << c.what;
        EXPECT_TRUE(box.onScreen) << c.what;
    }
}

REGISTER_TYPED_TEST_SUITE_P(BackendContract, ALongMessageShowsItsFirstLinesAboveTheWholeTextScrolled,
                            WhatAListShowsSelectedIsWhatItsDialogGets,
                            APathBeyondAsciiGoesThroughDialogsSettingsAndFilesUnchanged, ARestoredPlacementKeepsTheTitleBarOnAScreenAndFitsItsArea, ADialogShowsItsTemplateFilledAndFollowsTheProgram,
                            AClickedRadioButtonClearsOnlyTheRestOfItsSet,
                            TypingStopsAtTheLengthLimitButALimitCutsNothingAlreadyThere,
                            AnEditLeftAsShownGivesBackEveryDigitOfItsNumber,
                            TheValueAnEditMeansIsItsShownNumberUntilAnotherNumberIsTyped,
                            ScrollBarsHoldThePositionInsideTheLastPage,
                            AChildWindowIsToldItsClientSizeAndKeepsItsCaption,
                            AWindowsContextDescribesItsScreenWhateverTheWindowsSize,
                            APrintJobPrintsOnTheChosenPageAndOnlyAFinishedOneIsKept,
                            AnOwnerDrawnControlIsDrawnByItsDialogOnAFreshContextAndNotifiesClicks);
