// The processing setups show a picked data set's depths in four decimals. Run with the
// fields left as shown, or saying the same numbers (the leading blank of "%10.4f" taken
// out, the digits typed again), keeps every digit of them (frames a twelfth of a foot
// apart lie between the shown digits); another depth typed is taken as typed.
#include "processing/AnisotropySetupDlg.h"
#include "processing/FilterSetupDlg.h"
#include "processing/KalmanSetupDlg.h"
#include "processing/PickingSetupDlg.h"
#include "processing/QuickLookSetupDlg.h"
#include "processing/StcSetupDlg.h"

#include "support/HostFixture.h"
#include "support/QtxBuilder.h"
#include "support/TempDir.h"

#include <functional>
#include <string>

namespace {

struct Kept {
    int code;
    double top, bottom;
};

// A setup: its template, the button that picks its input, the title of that file
// dialog, its depth edits and the button that runs it; `run` opens it modally and
// gives back how it ended and the depths its group kept.
struct ProcessingSetup {
    const char* name;
    int dialog, select;
    const char* browse;
    int top, bottom, end;
    std::function<Kept()> run;
};

template <typename Dlg, typename Group> std::function<Kept()> Runs(double Group::*top, double Group::*bottom)
{
    return [=] {
        Dlg dlg;
        const int code = dlg.DoModal();
        return Kept{code, dlg.m_setup.*top, dlg.m_setup.*bottom};
    };
}

// A setup whose ids and group fields have the names most share.
template <typename Dlg> ProcessingSetup Of(const char* name, int dialog, int end = IDOK)
{
    using G = decltype(Dlg::m_setup);
    return {name, dialog, Dlg::kIdcSelectInputFile, "Browse Input QTX File", Dlg::kIdcTopDepth, Dlg::kIdcBottomDepth,
            end, Runs<Dlg, G>(&G::topDepth, &G::bottomDepth)};
}

using SetupDepthsTest = HostTest;

TEST_F(SetupDepthsTest, RunKeepsEveryDigitOfTheDepthsShownAndTakesATypedDepthAsTyped)
{
    TempDir dir;
    const std::string path = dir.File("inch.qtx");
    ASSERT_TRUE(WriteQtx(path, {{.mnemonic = "WF1", .typeCode = 1, .category = kCategoryWaveform, .samples = 4}}, 13,
                         1000.0 + 1.0 / 24.0, 1.0 / 12.0));
    const QtxImage image = LoadQtx(path);
    const double top = image.header.topDepth, bottom = image.header.bottomDepth;
    ASSERT_NE(top, 1000.0417) << "the depths lie between the shown digits";

    using A = CAnisotropySetupDlg;
    using G = AnisotropySetupGroup;
    const ProcessingSetup setups[] = {
        Of<CQuickLookSetupDlg>("Quick Look", kIddQuickLookSetup),
        Of<CKalmanSetupDlg>("Kalman", kIddKalmanSetup),
        Of<CFilterSetupDlg>("Filter", kIddFilterSetup),
        Of<CPickingSetupDlg>("Picking", kIddPickingSetup),
        Of<CStcSetupDlg>("STC", kIddStcSetup, CStcSetupDlg::kIdcRun),
        {"Anisotropy", kIddAnisotropySetup, A::kIdcSelectInput, "Select Input Cross Dipole File", A::kIdcInputStart,
         A::kIdcInputStop, A::kIdcRun, Runs<A, G>(&G::inputTopDepth, &G::inputBottomDepth)},
    };
    const struct {
        const char* typedTop; // nullptr: left as shown
        double top;
    } cases[] = {{nullptr, top}, {"1000.0417", top}, {" 1000.04170 ", top}, {"1000.0418", 1000.0418}};
    for (const ProcessingSetup& s : setups)
        for (const auto& c : cases) {
            const std::string what = std::string(s.name) + (c.typedTop ? " typed" : " as shown");
            host.ExpectFileDialog(s.browse, path);
            DialogScript& script = host.ScriptDialog(s.dialog).Press(s.select).Inspect([&](CDialog& d) {
                EXPECT_EQ(d.GetItemText(s.top) + "|" + d.GetItemText(s.bottom), " 1000.0417| 1001.0417") << what;
            });
            if (c.typedTop) script.Type(s.top, c.typedTop);
            script.Press(s.end);
            const Kept kept = s.run();
            EXPECT_EQ(kept.code, s.end) << what;
            EXPECT_EQ(kept.top, c.top) << what;
            EXPECT_EQ(kept.bottom, bottom) << what;
        }
}

} // namespace
