// The backend contract on the scripted host and frame, whose screen is the states.
#include "platform/Format.h"
#include "platform/testing/ScriptedFrame.h"
#include "platform/testing/ScriptedHost.h"
#include "support/BackendContract.h"

namespace {

class ScriptedBackend : public ContractBackend {
public:
    ScriptedBackend()
    {
        host.onUnexpected = [](const std::string& what) { ADD_FAILURE() << what; };
        EXPECT_TRUE(frame.Create("Contract", nullptr, nullptr));
    }
    ~ScriptedBackend() override
    {
        for (const auto& pending : host.PendingExpectations()) ADD_FAILURE() << "never shown: " << pending;
    }

    void Type(CDialog& d, int id, const std::string& text) override { host.Act(d, DialogScript().Type(id, text)); }
    void Click(CDialog& d, int id) override
    {
        const bool radio = d.Item(id) && d.Item(id)->kind == ControlKind::RadioButton;
        host.Act(d, radio ? DialogScript().Radio(id) : DialogScript().Press(id));
    }
    void SetCheck(CDialog& d, int id, int state) override { host.Act(d, DialogScript().Check(id, state)); }
    std::string ShownText(const CDialog& d, int id) override { return ScreenText(d.GetItemText(id)); }
    int ShownCheck(const CDialog& d, int id) override { return d.Item(id) ? d.Item(id)->Check() : -1; }
    std::string ShownCaption(const CDialog& d) override { return d.Caption(); }
    void Settle() override {}
    Rect PrimaryArea() override { return frame.screens.front().available; }
    void ResizeClient(CWnd& window, int cx, int cy) override { frame.Resize(window, cx, cy); }
    std::unique_ptr<IPrintJob> PrintJob(const std::string& path) override { return host.CreatePrintJob(path); }
    void ShowDrawn(CDialog& d, int id) override { host.DrawnItem(d, id); }
    void ClickLine(CDialog& d, int id, int line, unsigned keys) override
    {
        host.Act(d, DialogScript().Click(id, line, keys));
    }
    void PressKey(CDialog& d, int id, unsigned key, unsigned keys) override
    {
        host.Act(d, DialogScript().Key(id, key, keys));
    }
    std::vector<int> ShownSelection(const CDialog& d, int id) override
    {
        return d.Item(id) ? d.Item(id)->SelItems() : std::vector<int>{};
    }
    void ChooseFile(const std::string& path) override { host.ExpectFileDialog("", path); }
    std::string ProfileAfterRestart(const std::string& section, const std::string& entry) override
    {
        return host.GetProfileString(section, entry, std::string());
    }
    ReadBox ReadMessage(const std::string& text) override
    {
        host.ExpectMessage(text);
        MessageBox(text, MB_OK | MB_ICONINFORMATION);
        // The states are this screen: a box holds what it was given, and fits it.
        return {host.Messages().back().summary, host.Messages().back().scrolled, true};
    }
    bool DocumentKept(const std::string&) override
    {
        return !host.printed.empty() && host.printed.back().ended && !host.printed.back().aborted
               && !host.printed.back().pages.empty();
    }

private:
    ScriptedHost host;
    ScriptedFrame frame;
    ScopedHost hostScope{&host};
    ScopedFrame frameScope{&frame};
};

} // namespace

INSTANTIATE_TYPED_TEST_SUITE_P(Scripted, BackendContract, ScriptedBackend);
