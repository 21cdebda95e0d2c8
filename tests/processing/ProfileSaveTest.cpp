#include "ProfileFixture.h"

#include "platform/BinaryFile.h"
#include "platform/Format.h"
#include "res/ResourceIds.h"

#include <cstdio>
#include <cstring>

namespace {

class ProfileSaveTest : public ProfileWndTest {
protected:
    // Every value of the profile tells its frame and slot.
    static float Mark(int frame, int slot) { return float(100 * frame + slot); }
    static void FillProfile(CProfileWnd& v)
    {
        for (CProfileRecord& r : v.Profile())
            for (int slot = 0; slot < CViewerWnd::kSlots; ++slot) r.m_values[size_t(slot)] = Mark(r.m_frame, slot);
    }
    std::string History() const
    {
        CQtxFile out;
        EXPECT_TRUE(out.OpenRead(setup.outputPath));
        return std::string(out.Header().history, qtx::kHistorySize);
    }
};

TEST_F(ProfileSaveTest, EachDomainWritesItsCurvesWithTheirCodesAndUnits)
{
    struct Case {
        const char* domain;
        QtxDatumShape datum;
        SlownessUnit slownessUnit;
        std::vector<std::pair<std::string, int>> curves;
        uint8_t unit;
    };
    const Case cases[] = {
        {"Time", Datum(13, 64, 10, 179), SlownessUnit::kUnset,
         {{" TT1", 46}, {" TT2", 47}, {" TT3", 48}, {" TT4", 49}, {" TT5", 50}, {" TT6", 51}, {" TT7", 52},
          {" TT8", 53}, {" TT9", 195}, {"TT10", 196}, {"TT11", 197}, {"TT12", 198}, {"TT13", 199}},
         kUnitMicroseconds},
        {"Frequency", Datum(2, 64, 10), SlownessUnit::kUnset, {{"FREQ", 54}}, kUnitHertz},
        {"Slowness", Datum(1, 200, 2, 31, kCategorySlowness), SlownessUnit::kPerFoot, {{"DTCO", 36}},
         kUnitMicrosecondsPerFoot},
        {"Slowness", Datum(1, 200, 2, 32, kCategorySlowness), SlownessUnit::kPerMetre, {{"DTXX", 38}},
         kUnitMicrosecondsPerMetre},
        {"Azimuth", Datum(2, 361, 1, 116, kCategoryAzimuth), SlownessUnit::kUnset, {{" YY1", 141}, {" YY2", 142}}, kUnitDegrees},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(WriteQtx(path, {c.datum}, 5, 1000.0, 0.5));
        std::remove(setup.outputPath.c_str()); // each window writes a new file
        if (c.slownessUnit != SlownessUnit::kUnset) setup.slownessUnit = c.slownessUnit;
        CProfileWnd* view = Open(c.domain);
        ASSERT_NE(view, nullptr) << c.domain;
        FillProfile(*view);
        ASSERT_EQ(view->SaveProfile(), 1) << c.domain;

        CQtxFile out;
        CQtxDatumList datums;
        ASSERT_TRUE(out.OpenRead(setup.outputPath) && out.ReadDatumList(datums));
        ASSERT_EQ(datums.size(), c.curves.size()) << c.domain;
        for (size_t i = 0; i < datums.size(); ++i) {
            const CQtxDatum& d = *datums[i];
            EXPECT_EQ(d.m_mnemonic, c.curves[i].first) << c.domain;
            EXPECT_EQ(d.m_typeCode, c.curves[i].second) << c.domain;
            EXPECT_EQ(std::make_tuple(d.m_category, d.m_traceCount, d.m_axis1.m_sampleCount, d.m_axis1.m_step),
                      std::make_tuple(uint8_t(kCategoryTrace), uint16_t(1), uint16_t(1), 1.0f));
            EXPECT_EQ(d.m_axis1.m_unit, c.unit) << c.domain;
        }
        EXPECT_EQ(out.GetFrameCount(), 5u);
        EXPECT_EQ(std::make_pair(out.GetTopDepth(), out.GetBottomDepth()), std::make_pair(1000.0, 1002.0));
        // One value per trace, or the first trace's alone.
        std::vector<float> values(datums.size());
        for (int frame = 0; frame < 5; ++frame) {
            ASSERT_TRUE(out.ReadFrameItem(frame, 8, 1, int(values.size()), values.data(), values.size()));
            for (size_t i = 0; i < values.size(); ++i) EXPECT_EQ(values[i], Mark(frame, int(i))) << c.domain;
        }
        Close(view);
    }
}

TEST_F(ProfileSaveTest, AnUpLogIsWrittenInItsOwnOrderFromItsDeepestFrame)
{
    ASSERT_TRUE(WriteQtx(path, {Datum(1, 64, 10)}, 10, 1004.5, -0.5, DefaultSample, qtx::kLogUp));
    setup.topDepth = 1001;
    setup.bottomDepth = 1003;
    CProfileWnd* view = Open();
    ASSERT_NE(view, nullptr);
    FillProfile(*view);
    ASSERT_EQ(view->SaveProfile(), 1);
    CQtxFile out;
    ASSERT_TRUE(out.OpenRead(setup.outputPath));
    EXPECT_EQ(out.Header().logDirection, qtx::kLogUp);
    EXPECT_EQ(out.GetFrameCount(), 5u);
    EXPECT_EQ(std::make_pair(out.GetTopDepth(), out.GetBottomDepth()), std::make_pair(1003.0, 1001.0));
    float v = 0;
    ASSERT_TRUE(out.ReadFrameItem(0, 8, 1, 1, &v, 1));
    EXPECT_EQ(v, Mark(3, 0)) << "frame 3 of the input lies at 1003";
    Close(view);
}

TEST_F(ProfileSaveTest, ValuesWithoutACurveOfTheirOwnRefuseTheSave)
{
    struct Case {
        const char* domain;
        QtxDatumShape datum;
        const char* message;
    };
    const Case cases[] = {
        {"Azimuth", Datum(2, 361, 1, 112, kCategoryAzimuth), "no azimuth curves are defined for its item type 112."},
        {"Azimuth", Datum(14, 361, 1, 113, kCategoryAzimuth), "it has 14 receivers and profile curves name at most 13."},
        {"Time", Datum(14, 64, 10), "it has 14 receivers and profile curves name at most 13."},
        {"Slowness", Datum(1, 200, 2, 1, kCategorySlowness), "no slowness curve is defined for its item type 1."},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(WriteQtx(path, {c.datum}, 3));
        CProfileWnd* view = Open(c.domain);
        ASSERT_NE(view, nullptr) << c.message;
        host.ExpectMessage(std::string("The profile of datum WMNO cannot be saved: ") + c.message
                           + "\nOperation will be abandoned.");
        EXPECT_EQ(view->SaveProfile(), 0);
        EXPECT_FALSE(FileExists(setup.outputPath)) << c.message;
        theApp.m_display.profileOption = 0;
        view->OnClose();
        theApp.m_display.profileOption = 1;
    }
    // Nor over its own input.
    ASSERT_TRUE(WriteQtx(path, {Datum(1, 64, 10)}, 3));
    setup.outputPath = path;
    CProfileWnd* view = Open();
    ASSERT_NE(view, nullptr);
    host.ExpectMessage("Output file is the same as input file :\n" + path);
    EXPECT_EQ(view->SaveProfile(), 0);
    Close(view);
}

TEST_F(ProfileSaveTest, HistoryLinesFollowTheInputsHistoryAndWhatDoesNotFitIsLeftOut)
{
    ASSERT_TRUE(WriteQtx(path, {Datum(1, 64, 10)}, 3));
    CProfileWnd* view = Open();
    ASSERT_NE(view, nullptr);
    // A blank history: the first line at index 5.
    ASSERT_EQ(view->SaveProfile(), 1);
    const std::string lines = "\r\n\r\n*** Input data : " + path + "\r\n"
                              + "*** Depth range :  1000.0000 -  1001.0000 [ft]" // one blank before the unit
                              + "\r\n*** Time Domain Profile";
    std::string history = History();
    EXPECT_EQ(history.substr(0, 1 + lines.size()), " " + lines);
    EXPECT_EQ(history.find_first_not_of(' ', 1 + lines.size()), std::string::npos) << "blank after the lines";
    Close(view);

    // 4,080 characters: the question (answered No), then only the separators fit.
    PatchQtxHeader(path, [](QtxFileHeader& h) { std::memset(h.history, 'x', 4080); });
    std::remove(setup.outputPath.c_str());
    view = Open();
    ASSERT_NE(view, nullptr);
    host.ExpectMessage("You are running low with the data history buffer.\nWould you like to edit the history?", IDNO);
    ASSERT_EQ(view->SaveProfile(), 1);
    history = History();
    EXPECT_EQ(history.substr(4080, 10), "\r\n\r\n\r\n\r\n  ");
    EXPECT_EQ(history.find("***"), std::string::npos);

    // Yes: the history dialog on the input (cleared there), then the lines after it.
    host.ExpectMessage("You are running low with the data history buffer.", IDYES);
    host.ScriptDialog(kIddHistory).Press(kIdcClearHistory);
    host.ExpectMessage("This operation will clear the history.", IDYES);
    host.ScriptDialog(kIddHistory).Press(IDOK);
    ASSERT_EQ(view->SaveProfile(), 1);
    EXPECT_EQ(History().substr(0, 1 + lines.size()), " " + lines);
    Close(view);
}

TEST_F(ProfileSaveTest, SaveProfileSavesOnTheNextPaintAndClosingAsks)
{
    ASSERT_TRUE(WriteQtx(path, {Datum(1, 64, 10)}, 3));
    WriteBytes(setup.outputPath, {1, 2, 3});
    CProfileWnd* view = Open();
    ASSERT_NE(view, nullptr);
    // A name the setup derived may be another file's: asked before it is replaced.
    host.ExpectMessage("already exists. Do you want to replace it?", IDNO);
    frame.Command(ID_SAVE_PROFILE);
    EXPECT_EQ(theApp.m_display.saveProfile, 0u) << "taken by the active window";
    EXPECT_EQ(ReadBytes(setup.outputPath).size(), 3u);
    host.ExpectMessage("already exists. Do you want to replace it?", IDYES);
    frame.Command(ID_SAVE_PROFILE);
    EXPECT_GT(ReadBytes(setup.outputPath).size(), qtx::kHeaderSize);
    frame.Command(ID_SAVE_PROFILE); // its own output: not asked again
    EXPECT_EQ(theApp.m_display.saveProfile, 0u);

    // The close box asks whatever the confirmation setting; Yes saves.
    theApp.m_display.profileOption = 0;
    std::remove(setup.outputPath.c_str());
    host.ExpectMessage("Do you want to save output file :\n" + setup.outputPath, IDYES);
    frame.SysCommand(*view, SC_CLOSE);
    EXPECT_TRUE(FileExists(setup.outputPath));
    EXPECT_TRUE(theApp.m_viewOptions.empty());
    EXPECT_TRUE(frame.Children().empty());
}

} // namespace
