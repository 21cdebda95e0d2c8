#include "common/DatumChooser.h"

#include "common/QtxFileDlg.h"
#include "res/QtxFileDlgIds.h"
#include "support/DatumBuilder.h"
#include "support/HostFixture.h"

#include <functional>

namespace {

using D = CQtxFileDlg;

class DatumChooserTest : public HostTest {
protected:
    CQtxFile file{"/logs/well.qtx", Header()};
    CQtxDatumList datums;

    static QtxFileHeader Header()
    {
        QtxFileHeader h;
        h.logDirection = qtx::kLogUp;
        h.depthUnits = qtx::kUnitsMetres;
        h.topDepth = 1024.5;
        h.bottomDepth = 1000.0;
        h.depthStep = -0.5;
        h.frameCount = 0xFFFFFFF0u;
        return h;
    }

    void SetUp() override
    {
        HostTest::SetUp();
        // datum 1: a waveform (Time and Frequency tabs); 2 and 3: slowness curves; 4: a semblance map.
        datums.push_back(OneAxisDatum("WMNO", kCategoryWaveform, 1, kUnitMicroseconds, 512, 10.0f, 8));
        datums.push_back(OneAxisDatum("SPNO", kCategorySlowness, 2, kUnitMicrosecondsPerFoot, 60, 12.5f));
        datums.push_back(OneAxisDatum("SPDX", kCategorySlowness, 3, kUnitMicrosecondsPerFoot, 60, 12.5f));
        datums.push_back(MapDatum("SMNO", 4, kUnitMicrosecondsPerFoot, 3, 60, 12.5f, kUnitMicroseconds, 5, 20, 100.0f));
    }
};

TEST_F(DatumChooserTest, TakesTheOneDatumMarkedOnTheTabOfItsDomain)
{
    const ChosenDatum waveform{"WMNO", 101, kUnitMicroseconds, 1, 108, 10.0f, 512, 8};
    const ChosenDatum curve{"SPDX", 103, kUnitNone, 3, 308, 12.5f, 60, 1}; // a unit in the time domain only
    // A map brings its second axis and where each axis starts.
    const ChosenDatum map{"SMNO", 104, kUnitNone, 4, 408, 12.5f, 60, 1, 3, 100.0f, 20, 5};
    const ChosenDatum untouched{"KEEP"};
    auto header = [](CDialog& d) {
        const D& dlg = dynamic_cast<D&>(d);
        EXPECT_EQ(dlg.CurrentTab(), D::kTabTime) << "opens on the domain's tab";
        EXPECT_EQ(dlg.m_fileName + dlg.m_depthUnits, "/logs/well.qtx [m]");
        EXPECT_EQ(dlg.m_startDepth + dlg.m_stopDepth + dlg.m_depthStep, "   1000.0000   1024.5000     -0.5000")
            << "an up log shows its shallow end first, and its step as stored";
        EXPECT_EQ(dlg.m_depthFrames, "4294967280") << "a count beyond int shown as it is";
    };
    struct Case {
        int domain;
        std::function<void(DialogScript&)> user;
        const char* message; // shown when OK leaves no datum
        const ChosenDatum& datum;
    };
    const Case cases[] = {
        {D::kTabTime, [&](DialogScript& s) { s.Inspect(header).Select(D::kIdcFound, 0).Press(D::kIdcAdd).Press(IDOK); },
         "", waveform},
        {D::kTabSlowness, [](DialogScript& s) { s.Select(D::kIdcFound, 1).Press(D::kIdcAdd).Press(IDOK); }, "", curve},
        // The domain's tab counts whichever tab shows at OK; a mark elsewhere is none.
        {D::kTabTime,
         [](DialogScript& s) { s.Select(D::kIdcFound, 0).Press(D::kIdcAdd).Select(D::kIdcTab, 1).Press(IDOK); }, "",
         waveform},
        {D::kTabTime,
         [](DialogScript& s) { s.Select(D::kIdcTab, 4).Select(D::kIdcFound, 0).Press(D::kIdcAdd).Press(IDOK); },
         "Encountered empty selection list!", untouched},
        {D::kTabSlowness, [](DialogScript& s) { s.Press(D::kIdcSelectAll).Press(IDOK); },
         "Too many items have been selected!", untouched},
        {D::kTabFrequency, [](DialogScript& s) { s.Press(IDOK); }, "Encountered empty selection list!", untouched},
        // A view of a kind the data set holds none of names the file and the kind.
        {D::kTabAzimuth,
         [](DialogScript& s) { s.Select(D::kIdcTab, 2).Select(D::kIdcFound, 0).Press(D::kIdcAdd).Press(IDOK); },
         "The data set /logs/well.qtx holds no azimuth item!", untouched},
        {D::kTabSlowness, [](DialogScript& s) { s.Select(D::kIdcFound, 0).Press(D::kIdcAdd).Press(IDCANCEL); }, "",
         untouched},
        {kTabSemblanceMap,
         [](DialogScript& s) {
             s.Inspect([](CDialog& d) { EXPECT_FALSE(d.IsItemEnabled(D::kIdcSelectAll)) << "one map to a view"; })
                 .Select(D::kIdcFound, 0)
                 .Press(D::kIdcAdd)
                 .Press(IDOK);
         },
         "", map},
    };
    for (const Case& c : cases) {
        c.user(host.ScriptDialog(kIddQtxFile));
        if (*c.message) host.ExpectMessage(std::string(c.message) + "\nOperation will be abandoned.");
        ChosenDatum datum = untouched;
        EXPECT_EQ(ChooseDatum(file, datums, c.domain, datum), &c.datum != &untouched) << c.domain;
        EXPECT_TRUE(datum == c.datum) << datum.mnemonic;
    }
}

} // namespace
