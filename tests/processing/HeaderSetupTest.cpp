#include "processing/HeaderSetupDlg.h"

#include "res/HeaderSetupDlgIds.h"
#include "support/HostFixture.h"
#include "support/TempDir.h"
#include "settings/ProcessingSetupGroups.h"

#include <fstream>
#include <string>

namespace {

using H = CHeaderSetupDlg;
constexpr int kCompanyEdit = well_info::kEdits[1];
constexpr int kLocationEdit = well_info::kEdits[8];  // Well Info string 9: header string 10
constexpr int kFluidTypeEdit = fluid_properties::kEdits[0];

class HeaderSetupTest : public HostTest {
protected:
    void SetUp() override
    {
        HostTest::SetUp();
        for (size_t i = 0; i < group.headerStrings.size(); ++i) group.headerStrings[i] = "h" + std::to_string(i + 1);
    }
    LogHeaderSetupGroup group;
    TempDir dir;
};

TEST_F(HeaderSetupTest, WellInfoEditsReachTheHeaderButNeverItsNinthString)
{
    host.ScriptDialog(kIddHeaderSetup).Press(H::kIdcWellInfo);
    host.ScriptDialog(kIddWellInfo)
        .Inspect([](CDialog& d) {
            EXPECT_EQ(d.GetItemText(kCompanyEdit), "h2");
            EXPECT_EQ(d.GetItemText(kLocationEdit), "h10");
        })
        .Type(kCompanyEdit, "Acme")
        .Type(kLocationEdit, "Section 4\r\nBlock 2")
        .Press(well_info::kIdcFluidProperties)
        .Press(IDOK);
    host.ScriptDialog(kIddFluidProperties)
        .Inspect([](CDialog& d) { EXPECT_EQ(d.GetItemText(kFluidTypeEdit), "h33"); })
        .Type(kFluidTypeEdit, "Water")
        .Press(IDOK);
    CHeaderSetupDlg dlg;
    EXPECT_EQ(dlg.Edit(group), H::kIdcWellInfo);
    EXPECT_EQ(group.headerStrings[1], "Acme");
    EXPECT_EQ(group.headerStrings[8], "h9");
    EXPECT_EQ(group.headerStrings[9], "Section 4\r\nBlock 2");
    EXPECT_EQ(group.headerStrings[32], "Water");
}

TEST_F(HeaderSetupTest, ACancelledSubDialogLosesItsEditsButTheSetupStillEnds)
{
    // Fluid edits return only through the Well Info strings: cancelling Well Info loses them.
    host.ScriptDialog(kIddHeaderSetup).Press(H::kIdcWellInfo);
    host.ScriptDialog(kIddWellInfo).Type(kCompanyEdit, "Lost").Press(well_info::kIdcFluidProperties).Press(IDCANCEL);
    host.ScriptDialog(kIddFluidProperties).Type(kFluidTypeEdit, "Lost").Press(IDOK);
    EXPECT_EQ(CHeaderSetupDlg().Edit(group), H::kIdcWellInfo);
    EXPECT_EQ(group.headerStrings[1], "h2");
    EXPECT_EQ(group.headerStrings[32], "h33");

    group.remarks = "kept";
    host.ScriptDialog(kIddHeaderSetup).Press(H::kIdcRemarks);
    host.ScriptDialog(kIddRemarks).Type(remarks::kIdcText, "gone").Press(IDCANCEL);
    EXPECT_EQ(CHeaderSetupDlg().Edit(group), H::kIdcRemarks);
    EXPECT_EQ(group.remarks, "kept");
    host.ScriptDialog(kIddHeaderSetup).Press(H::kIdcRemarks);
    host.ScriptDialog(kIddRemarks).Type(remarks::kIdcText, "line 1\r\nline 2").Press(IDOK);
    EXPECT_EQ(CHeaderSetupDlg().Edit(group), H::kIdcRemarks);
    EXPECT_EQ(group.remarks, "line 1\r\nline 2");
}

TEST_F(HeaderSetupTest, FileChoicesEndTheSetupAndACancelledOneKeepsItOpen)
{
    struct Case {
        int button;
        const char* title;
        std::string LogHeaderSetupGroup::*path;
    };
    const Case cases[] = {{H::kIdcLoadTemplate, "Load Header", &LogHeaderSetupGroup::loadPath},
                          {H::kIdcSaveTemplate, "Save Header", &LogHeaderSetupGroup::savePath},
                          {H::kIdcSelectImageFile, "Save Header Image As", &LogHeaderSetupGroup::imagePath}};
    const std::string job = dir.File("job.hdr");
    std::ofstream(job) << "";
    for (const auto& c : cases) {
        host.ExpectFileDialog(c.title, "");
        host.ExpectFileDialog(c.title, job);
        host.ScriptDialog(kIddHeaderSetup).Press(c.button).Press(c.button);
        EXPECT_EQ(CHeaderSetupDlg().Edit(group), c.button) << c.title;
        EXPECT_EQ(group.*c.path, job) << c.title;
    }
    EXPECT_EQ(group.loadTitle, "job");

    // The check box flips the flag and ends nothing; twice leaves it where it was.
    host.ScriptDialog(kIddHeaderSetup).Check(H::kIdcRemarksCheck).Check(H::kIdcRemarksCheck, 0).Press(IDOK);
    EXPECT_EQ(CHeaderSetupDlg().Edit(group), IDOK);
    EXPECT_EQ(group.remarksFlag, 0);
    host.ScriptDialog(kIddHeaderSetup).Check(H::kIdcRemarksCheck).Press(IDOK);
    EXPECT_EQ(CHeaderSetupDlg().Edit(group), IDOK);
    EXPECT_EQ(group.remarksFlag, 1);
}

} // namespace
