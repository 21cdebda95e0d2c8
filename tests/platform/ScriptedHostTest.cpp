#include "platform/testing/ScriptedHost.h"

#include <gtest/gtest.h>

namespace {

TEST(ScriptedHost, AnswersInOrderAndRecordsEveryBox)
{
    ScriptedHost host;
    std::vector<std::string> unexpected;
    host.onUnexpected = [&](const std::string& what) { unexpected.push_back(what); };
    ScopedHost scope(&host);

    host.ExpectMessage("continue?", IDYES);
    host.ExpectMessage("", IDOK);
    EXPECT_EQ(MessageBox("Would you like to continue?.", MB_YESNO | MB_ICONQUESTION), IDYES);
    EXPECT_EQ(MessageBox("anything"), IDOK);
    EXPECT_TRUE(unexpected.empty());

    // Unscripted boxes take the safe answer and are reported.
    EXPECT_EQ(MessageBox("Stop?", MB_YESNO), IDNO);
    EXPECT_EQ(MessageBox("Save?", MB_YESNOCANCEL), IDCANCEL);
    EXPECT_EQ(unexpected.size(), 2u);

    ASSERT_EQ(host.Messages().size(), 4u);
    EXPECT_EQ(host.Messages()[0].caption, "BronteluxViewer");
    EXPECT_EQ(host.Messages()[0].type & MB_ICONMASK, unsigned(MB_ICONQUESTION));
    EXPECT_FALSE(host.Messages()[2].expected);
}

TEST(ScriptedHost, MismatchedTextLeavesTheExpectationPending)
{
    ScriptedHost host;
    int unexpected = 0;
    host.onUnexpected = [&](const std::string&) { ++unexpected; };
    ScopedHost scope(&host);
    host.ExpectMessage("Error reading header", IDOK);
    MessageBox("Could not open input file :\n/x");
    EXPECT_EQ(unexpected, 1);
    ASSERT_EQ(host.PendingExpectations().size(), 1u);
}

TEST(ScriptedHost, ScopeRestoresThePreviousHost)
{
    ScriptedHost outer, inner;
    ScopedHost a(&outer);
    {
        ScopedHost b(&inner);
        EXPECT_EQ(&Host(), &inner);
    }
    EXPECT_EQ(&Host(), &outer);
}

} // namespace
