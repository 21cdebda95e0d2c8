#include "res/ResourceIds.h"
#include "res/SetupTemplateRows.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace {

using K = ControlKind;

// One row as a comparable tuple: id, kind, text, group, style.
std::vector<std::tuple<int, K, std::string, int, unsigned>> Flat(const ControlRows& rows)
{
    std::vector<std::tuple<int, K, std::string, int, unsigned>> out;
    for (const ControlTemplate& c : rows) out.emplace_back(c.id, c.kind, c.text, c.group, c.style);
    return out;
}

// The layout follows the rows' order, so a piece must put each label right before its
// field, in the field's group, and carry the field's own style.
TEST(SetupTemplateRows, LabelledGroupsKeepTheOrderGroupAndStyleOfEveryField)
{
    EXPECT_EQ(Flat(LabelledEditGroup(-3, "Depth Range", {{"Top :", 10}, {"Bottom :", 11, kDisabled}})),
              Flat({{-3, K::GroupBox, "Depth Range", 0, 0},
                    {kIdcStatic, K::Static, "Top :", -3, 0},
                    {10, K::Edit, "", -3, 0},
                    {kIdcStatic, K::Static, "Bottom :", -3, 0},
                    {11, K::Edit, "", -3, kDisabled}}));
    EXPECT_EQ(Flat(LabelledListGroup(-4, "Presentation", {{"Type", 12}})),
              Flat({{-4, K::GroupBox, "Presentation", 0, 0},
                    {kIdcStatic, K::Static, "Type", -4, 0},
                    {12, K::DropDownList, "", -4, kVScroll}}));
    EXPECT_EQ(Flat(LabelledEdits(0, {{"Receivers:", 13}})),
              Flat({{kIdcStatic, K::Static, "Receivers:", 0, 0}, {13, K::Edit, "", 0, 0}}));
}

TEST(SetupTemplateRows, JoinedPiecesStayInOrderAndANestedBoxMovesOnlyItsBox)
{
    const ControlRows nested = InBox(-2, LabelledEditGroup(-5, "Time", {{"Start:", 20}}));
    EXPECT_EQ(Flat(nested), Flat({{-5, K::GroupBox, "Time", -2, 0},
                                  {kIdcStatic, K::Static, "Start:", -5, 0},
                                  {20, K::Edit, "", -5, 0}}));
    EXPECT_TRUE(InBox(-2, {}).empty());

    const ControlRows joined = JoinRows({{{1, K::Button, "a", 0, 0}}, {}, nested, {{2, K::Button, "b", 0, 0}}});
    std::vector<int> ids;
    for (const ControlTemplate& c : joined) ids.push_back(c.id);
    EXPECT_EQ(ids, (std::vector<int>{1, -5, kIdcStatic, 20, 2}));
    EXPECT_TRUE(JoinRows({}).empty());
}

} // namespace
