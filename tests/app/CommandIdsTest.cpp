#include "app/MainFrame.h"
#include "app/ViewerApp.h"
#include "res/CommandIds.h"
#include "res/Menus.h"
#include "res/StringTable.h"
#include "support/AppFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
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

    // A held id (a dormant menu entry) taken by a command, and ids no map claims.
    CommandMap dormant;
    const int held = __LINE__ + 1;
    dormant.Hold(9);
    frame.Add(9, [] {});
    EXPECT_EQ(CommandIdClashes({&dormant, &frame}),
              std::vector<std::string>{"Command id 9 is held for a dormant command at tests/app/CommandIdsTest.cpp:" +
                                       std::to_string(held) + " and added at tests/app/CommandIdsTest.cpp:" +
                                       std::to_string(held + 1)});
    EXPECT_FALSE(dormant.Has(9)) << "a held id has no handler: its entry stays disabled";
    // However a compiler cache handed the place back: from the build folder or mapped.
    CommandMap cached;
    cached.Add(3, [] {}, nullptr, {"../../src/app/A.cpp", 4});
    cached.Add(3, [] {}, nullptr, {"src/app/B.cpp", 5});
    EXPECT_EQ(CommandIdClashes({&cached}),
              std::vector<std::string>{"Command id 3 is added at src/app/A.cpp:4 and at src/app/B.cpp:5"});
    EXPECT_EQ(UnclaimedCommandIds({9, 0, 11, 5, 11}, {&dormant, &app}),
              std::vector<std::string>{"Command id 11 is shown by a menu, a toolbar or a key, and no command map "
                                       "adds or holds it"});
}

class CommandIdsTest : public AppTest {};

// What a debug start-up checks: no command of the program shares its id with another or
// with a dormant menu entry, and every id a menu, toolbar or key shows is claimed.
TEST_F(CommandIdsTest, TheFramesAndTheApplicationsCommandsShareNoId)
{
    Start();
    ASSERT_NE(theViewerApp.MainFrame(), nullptr);
    const CommandMap& frameCommands = theViewerApp.MainFrame()->Commands();
    EXPECT_GT(frameCommands.Additions().size(), 5u);
    EXPECT_GT(theViewerApp.m_commands.Additions().size(), 50u);
    EXPECT_EQ(theViewerApp.CommandIdProblems(), std::vector<std::string>());
    const std::vector<int> shown = ShownCommandIds();
    for (int id : {int(ID_PROCESS_FILTER), int(ID_PROCESS_KALMAN), int(ID_HELP_CONTENTS), int(ID_RECEIVER_9 + 4),
                   int(ID_CONTEXT_HELP), int(ID_HELP)})
        EXPECT_NE(std::find(shown.begin(), shown.end(), id), shown.end()) << id;
}

// A new command given the id of a dormant entry (a processing command, the pop-up's help
// entries) would take over its menu entry, shortcut and button: it is a clash.
TEST_F(CommandIdsTest, ADormantIdGivenToANewCommandIsAClash)
{
    Start();
    const CommandMap built = theViewerApp.m_commands;
    for (int id : DormantCommandIds()) {
        EXPECT_FALSE(Frame()->QueryCommand(id).enabled) << id;
        theViewerApp.m_commands.Add(id, [] {});
        const std::vector<std::string> problems = theViewerApp.CommandIdProblems();
        ASSERT_EQ(problems.size(), 1u) << id;
        EXPECT_EQ(problems[0].rfind("Command id " + std::to_string(id) +
                                        " is held for a dormant command at src/app/AppCommands.cpp:",
                                    0),
                  0u)
            << problems[0];
        theViewerApp.m_commands = built;
    }
    // The application's commands taken away: every entry they served is named.
    const CommandMap none;
    const std::vector<std::string> unclaimed =
        UnclaimedCommandIds(ShownCommandIds(), {&theViewerApp.MainFrame()->Commands(), &none});
    EXPECT_NE(std::find(unclaimed.begin(), unclaimed.end(),
                        "Command id " + std::to_string(ID_FILE_QTX) +
                            " is shown by a menu, a toolbar or a key, and no command map adds or holds it"),
              unclaimed.end());
}

// Every slip is named in one start-up, so that one rebuild mends them all: a dormant id
// taken, an id taken twice, and the id of a mnemonic, whose text the status bar would show.
TEST_F(CommandIdsTest, EverySlipIsNamedInOneRunTheTextOfAnotherEntryAmongThem)
{
    Start();
    EXPECT_EQ(CommandPromptText(32841), "") << "a mnemonic is no prompt";
    const int dormant = DormantCommandIds().front();
    const struct {
        int id;
        const char* startsWith;
    } slips[] = {
        {dormant, "is held for a dormant command at"},
        {ID_CONVERT_CNV, "is added at"},
        {32841, "(tests/app/CommandIdsTest.cpp:"},        // "FWSMONO"
        {57344, "(tests/app/CommandIdsTest.cpp:"},        // the application's title
    };
    for (const auto& slip : slips) theViewerApp.m_commands.Add(slip.id, [] {});
    const std::vector<std::string> problems = theViewerApp.CommandIdProblems();
    ASSERT_EQ(problems.size(), std::size(slips));
    for (const auto& slip : slips) {
        const std::string head = "Command id " + std::to_string(slip.id) + " " + slip.startsWith;
        EXPECT_TRUE(std::any_of(problems.begin(), problems.end(),
                                [&](const std::string& p) { return p.rfind(head, 0) == 0; }))
            << head;
    }
    EXPECT_NE(problems[2].find("\"FWSMONO\", which the status bar would show as its prompt"), std::string::npos)
        << problems[2];
}

} // namespace
