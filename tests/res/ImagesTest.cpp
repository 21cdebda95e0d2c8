// The toolbar buttons are drawn in code: each has an image of its own and the tip
// of its own command.
#include "res/Images.h"

#include "platform/Dc.h"
#include "platform/Frame.h"
#include "res/CommandIds.h"
#include "res/Menus.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>

namespace {

std::string Tip(int id)
{
    const std::string text = CommandPromptText(id);
    const size_t start = text.find('\n');
    return start == std::string::npos ? std::string() : text.substr(start + 1, text.find('\n', start + 1) - start - 1);
}

std::string Lower(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return s;
}

TEST(ToolBarImages, EveryButtonHasADistinctImageAndTheTipOfItsCommand)
{
    // The Process menu's commands on a button: the tip says what the menu item says.
    std::map<int, std::string> processLabels;
    for (const MenuItem& popup : MenuResourceFor(kMenuQtx).items)
        if (popup.text == "&Process")
            for (const MenuItem& item : popup.items)
                if (item.id) processLabels[item.id] = MenuItemLabel(item.text);
    ASSERT_FALSE(processLabels.empty());
    std::map<std::vector<std::string>, int> images;
    std::map<std::string, int> tips;
    for (int bar : {kToolBarCnv, kToolBarLis, kToolBarQtx, kToolBarDisplay})
        for (int id : ToolBarResourceFor(bar).buttons) {
            if (id == 0) continue;
            RecordingDc dc;
            ASSERT_TRUE(DrawButtonImage(id, dc, 24)) << id;
            const auto image = images.emplace(dc.ops, id).first;
            EXPECT_EQ(image->second, id) << "the buttons of " << id << " and " << image->second << " look alike";
            const auto tip = tips.emplace(Tip(id), id).first;
            EXPECT_EQ(tip->second, id) << "the tips of " << id << " and " << tip->second << " are alike";
            if (processLabels.count(id)) {
                EXPECT_EQ(Lower(Tip(id)), Lower(processLabels[id])) << id;
            }
        }
    RecordingDc dc;
    EXPECT_TRUE(DrawProgramImage(128, dc, 32));
    EXPECT_FALSE(DrawButtonImage(ID_APP_EXIT, dc, 24));
}

} // namespace
