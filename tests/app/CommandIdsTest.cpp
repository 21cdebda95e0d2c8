#include "app/MainFrame.h"
#include "app/ViewerApp.h"
#include "support/AppFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A clash, within a map or across the frame's and the application's, names the file and
// line of both additions, whichever way the build spells the path.
TEST(CommandIds, AClashNamesBothPlaces)
{
    CommandMap frame, app;
    frame.Add(7, [] {});
    const int first = __LINE__ + 1;
    app.Add(5, [] {});
    app.Add(5, [] {});
    app.AddRange(6, 8, [](int) {});

    EXPECT_EQ(CommandIdClashes({&frame}), std::vector<std::string>());
    EXPECT_EQ(CommandIdClashes({&app}), std::vector<std::string>{"Command id 5 is added at tests/app/CommandIdsTest.cpp:" +
                                                                 std::to_string(first) +
                                                                 " and at tests/app/CommandIdsTest.cpp:" +
                                                                 std::to_string(first + 1)});
    const auto clashes = CommandIdClashes({&frame, &app});
    ASSERT_EQ(clashes.size(), 2u);
    EXPECT_EQ(clashes[1], "Command id 7 is added at tests/app/CommandIdsTest.cpp:" + std::to_string(first - 2) +
                              " and at tests/app/CommandIdsTest.cpp:" + std::to_string(first + 2));
}

class CommandIdsTest : public AppTest {};

// What a debug start-up checks: no command of the program shares its id with another.
TEST_F(CommandIdsTest, TheFramesAndTheApplicationsCommandsShareNoId)
{
    Start();
    ASSERT_NE(theViewerApp.MainFrame(), nullptr);
    const CommandMap& frameCommands = theViewerApp.MainFrame()->Commands();
    EXPECT_GT(frameCommands.Additions().size(), 5u);
    EXPECT_GT(theViewerApp.m_commands.Additions().size(), 50u);
    EXPECT_EQ(CommandIdClashes({&frameCommands, &theViewerApp.m_commands}), std::vector<std::string>());
}

} // namespace
