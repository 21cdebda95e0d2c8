#include "app/AboutDlg.h"

#include "res/ResourceIds.h"
#include "support/HostFixture.h"

namespace {

class AboutDlgTest : public HostTest {};

TEST_F(AboutDlgTest, ShowsTheVersionAndClosesWithOk)
{
    host.ScriptDialog(kIddAbout).Press(IDOK);
    CAboutDlg about;
    EXPECT_EQ(about.DoModal(), IDOK);
    const ShownDialog* shown = host.LastDialog(kIddAbout);
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->caption, "About Brontelux");
    bool version = false;
    for (const auto& c : shown->controls) version |= c.Text() == "BronteluxViewer Version 1.6";
    EXPECT_TRUE(version);
}

} // namespace
