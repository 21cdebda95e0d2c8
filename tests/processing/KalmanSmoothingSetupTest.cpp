#include "processing/KalmanSetupDlg.h"
#include "processing/SmoothingSetupDlg.h"

#include "res/KalmanSetupDlgIds.h"
#include "res/SmoothingSetupDlgIds.h"
#include "support/HostFixture.h"
#include "support/QtxBuilder.h"
#include "support/TempDir.h"
#include "settings/ProcessingSetupGroups.h"

#include <string>
#include <tuple>
#include <vector>

namespace {

class KalmanSmoothingSetupTest : public HostTest {
protected:
    TempDir dir;
};

QtxDatumShape Datum(const std::string& mnemonic, uint8_t category)
{
    return {.mnemonic = mnemonic, .typeCode = 1, .category = category, .samples = 4};
}

TEST_F(KalmanSmoothingSetupTest, KalmanInputProposesTheOutputBesideItAndOrdersTheDepths)
{
    using enum kalman_setup::Control;
    const std::string path = dir.File("well1.qtx");
    ASSERT_TRUE(WriteQtx(path, {Datum("WF1", kCategoryWaveform)}, 3, 1002.0, -0.5)); // bottom above top
    CKalmanSetupDlg dlg;
    host.ExpectFileDialog("Browse Input QTX File", path);
    host.ScriptDialog(kIddKalmanSetup)
        .Press(kIdcSelectInputFile)
        .Inspect([&](CDialog& d) {
            EXPECT_EQ(d.GetItemText(kIdcTopDepth) + "|" + d.GetItemText(kIdcBottomDepth), " 1001.0000| 1002.0000");
            EXPECT_EQ(d.GetItemText(kIdcOutputFile), "Output File : " + dir.File("well1_Kalman.qtx"));
        })
        .Type(kIdcDepthScale, "240")
        .Type(kIdcTimeStart, "100")
        .Type(kIdcTimeStop, "900")
        .Press(IDOK);
    ASSERT_EQ(dlg.DoModal(), IDOK);
    const KalmanSetupGroup& s = dlg.m_setup;
    EXPECT_EQ(s.outputPath, dir.File("well1_Kalman.qtx"));
    EXPECT_EQ(s.outputName, "well1_Kalman.qtx");
    EXPECT_EQ(std::make_tuple(s.topDepth, s.bottomDepth, s.depthScale, s.timeStart, s.timeStop),
              std::make_tuple(1001.0, 1002.0, 240.0f, 100.0f, 900.0f));
    EXPECT_EQ(CKalmanSetupDlg::OutputName("well1"), "well1_Kalman.qtx");
}

TEST_F(KalmanSmoothingSetupTest, KalmanRunChecksItsFieldsAndNeedsAnInput)
{
    using enum kalman_setup::Control;
    const std::tuple<int, std::string, std::string> cases[] = {
        {kIdcDepthScale, "99", "You entered an invalid depth scale!.\nValid range : 100.0 - 1000.0."},
        {kIdcTimeStop, "30001", "You entered an invalid stop time!.\nValid range : 0.0 - 30000.0 uSec."},
        {kIdcTimeStart, "6000", "Start time must be less then stop time!"},
        {kIdcBottomDepth, "50001", "You entered an invalid bottom depth!.\nValid range : -100.0 - 50000.0 ft."},
    };
    for (const auto& [id, text, message] : cases) {
        CKalmanSetupDlg dlg;
        dlg.m_setup.inputPath = "/data/wave.qtx";
        dlg.m_setup.bottomDepth = 2000.0;
        host.ExpectMessage(message);
        host.ScriptDialog(kIddKalmanSetup)
            .Type(id, text)
            .Press(IDOK)
            .Inspect([id = id](CDialog& d) { EXPECT_EQ(d.Focus(), id); })
            .Press(IDCANCEL);
        EXPECT_EQ(dlg.DoModal(), IDCANCEL) << message;
    }
    CKalmanSetupDlg dlg;
    host.ExpectMessage("Select the input QTX file to filter first.");
    host.ScriptDialog(kIddKalmanSetup).Press(IDOK).Press(kIdcSaveSetup);
    EXPECT_EQ(dlg.DoModal(), CKalmanSetupDlg::kSavedSetup) << "Save Setup needs none";
}

TEST_F(KalmanSmoothingSetupTest, SmoothingPresetsCheckOneBoxAndOnlyUserWeightsAreEditable)
{
    using D = CSmoothingSetupDlg;
    D dlg;
    ASSERT_TRUE(dlg.Create());
    const auto shown = [&] {
        std::string text, readOnly, checks;
        for (int id : smoothing_setup::kWeightIds) {
            text += dlg.GetItemText(id) + " ";
            readOnly += dlg.Item(id)->ReadOnly() ? '1' : '0';
        }
        for (int id : smoothing_setup::kPresetIds) checks += char('0' + dlg.Item(id)->Check());
        return text + readOnly + " " + checks;
    };
    EXPECT_EQ(shown(), "0.05 0.15 0.45 1.50 0.45 0.15 0.05 1111111 1000") << "a new setup starts Short";
    const std::pair<D::Preset, std::string> steps[] = {
        {D::kLong, "0.25 0.50 1.00 1.50 1.00 0.50 0.25 1111111 0010"},
        {D::kUser, "0.15 0.35 0.75 1.50 0.75 0.35 0.15 0000000 0001"},
        {D::kShort, "0.05 0.15 0.45 1.50 0.45 0.15 0.05 1111111 1000"},
        {D::kMedium, "0.10 0.25 0.60 1.50 0.60 0.25 0.10 1111111 0100"},
    };
    for (const auto& [preset, expected] : steps) {
        dlg.OnPreset(preset);
        EXPECT_EQ(shown(), expected) << preset;
    }
    EXPECT_EQ(std::make_tuple(dlg.m_setup.shortFn, dlg.m_setup.mediumFn, dlg.m_setup.longFn, dlg.m_setup.userFn),
              std::make_tuple(0, 1, 0, 0));
    dlg.DestroyWindow();
}

TEST_F(KalmanSmoothingSetupTest, SmoothingListsTheSmoothableItemsAndHandsTheirFlagsBack)
{
    using enum smoothing_setup::Control;
    const std::string path = dir.File("run7.qtx");
    ASSERT_TRUE(WriteQtx(path, {Datum("WAVE", kCategoryWaveform), Datum("MAPS", kCategorySemblanceMap),
                                Datum("DTCO", kCategorySlowness)},
                         3));
    CSmoothingSetupDlg dlg;
    host.ExpectFileDialog("Select Input File", path);
    host.ScriptDialog(kIddSmoothingSetup)
        .Inspect([](CDialog& d) { EXPECT_FALSE(d.IsItemEnabled(kIdcItems)) << "no input yet"; })
        .Press(kIdcSelectInputFile)
        .Inspect([](CDialog& d) {
            const ControlState* list = d.Item(kIdcItems);
            EXPECT_TRUE(list->Enabled());
            ASSERT_EQ(list->Count(), 2);
            EXPECT_EQ(list->ItemText(1), "DTCO");
        })
        .Select(kIdcItems, 1)
        .Check(kIdcUnsharpMask)
        .Check(kIdcUser)
        .Type(kIdcWeight4, "2.5")
        .Press(kIdcRun);
    ASSERT_EQ(dlg.DoModal(), CSmoothingSetupDlg::kRun);
    const SmoothingSetupGroup& s = dlg.m_setup;
    EXPECT_EQ(s.outputPath, dir.File("run7~.qtx"));
    EXPECT_EQ(s.datumCount, 3);
    EXPECT_EQ((std::vector<uint32_t>{s.listed[0], s.listed[1], s.listed[2]}), (std::vector<uint32_t>{1, 0, 1}));
    EXPECT_EQ((std::vector<uint32_t>{s.selected[0], s.selected[1], s.selected[2]}), (std::vector<uint32_t>{0, 0, 1}));
    EXPECT_EQ(s.unsharpMask, 1);
    EXPECT_EQ(s.userFn, 1);
    EXPECT_EQ(s.weights[3], 2.5f);
}

TEST_F(KalmanSmoothingSetupTest, SmoothingRefusesAnInputOfMoreItemsThanItsFlagsHold)
{
    using enum smoothing_setup::Control;
    std::vector<QtxDatumShape> datums;
    for (int i = 0; i < kSmoothingFlagCount + 1; ++i) datums.push_back(Datum("W" + std::to_string(i), kCategoryWaveform));
    const std::string path = dir.File("big.qtx");
    ASSERT_TRUE(WriteQtx(path, datums, 1));
    CSmoothingSetupDlg dlg;
    host.ExpectFileDialog("Select Input File", path);
    host.ExpectMessage("The input has 129 data items; a smoothing run takes at most 128.");
    host.ScriptDialog(kIddSmoothingSetup)
        .Press(kIdcSelectInputFile)
        .Inspect([](CDialog& d) { EXPECT_EQ(d.Item(kIdcItems)->Count(), 0); })
        .Press(kIdcSaveSetup);
    ASSERT_EQ(dlg.DoModal(), CSmoothingSetupDlg::kSavedSetup);
    EXPECT_EQ(dlg.m_setup.datumCount, 0);
    EXPECT_EQ(dlg.m_setup.outputName, "big~.qtx") << "the output is proposed all the same";
}

TEST_F(KalmanSmoothingSetupTest, SmoothingRunChecksTheWeightsAndNeedsAnInput)
{
    using enum smoothing_setup::Control;
    CSmoothingSetupDlg dlg;
    dlg.m_setup.inputPath = "/data/wave.qtx";
    host.ExpectMessage("You entered an invalid weight!.\nValid range : 0.0 - 10.0.");
    host.ScriptDialog(kIddSmoothingSetup)
        .Check(kIdcUser)
        .Type(kIdcWeight6, "-1")
        .Press(kIdcRun)
        .Inspect([](CDialog& d) { EXPECT_EQ(d.Focus(), kIdcWeight6); })
        .Press(IDCANCEL);
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);

    CSmoothingSetupDlg none;
    host.ExpectMessage("Select the input QTX file to smooth first.");
    host.ScriptDialog(kIddSmoothingSetup).Press(kIdcRun).Press(IDCANCEL);
    EXPECT_EQ(none.DoModal(), IDCANCEL);
}

} // namespace
