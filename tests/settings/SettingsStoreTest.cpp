#include "settings/SettingsStore.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A group kept outside the store's own header, as a new setup dialog's group is.
struct OwnGroup {
    int count = 0;
    std::string name;
    void SetDefaults()
    {
        *this = OwnGroup();
        count = 7;
        name = "start";
    }
};
struct OtherGroup {
    double value = 0.0;
    void SetDefaults() { value = 2.5; }
};

// Such a group follows the store's rules: empty before start-up, its start-up values after
// (whether it was first used before or after start-up), restored by start-up, emptied by
// Clear in place: a dialog holding its group across a Clear must not write freed memory.
TEST(SettingsStore, AGroupOfItsOwnHeaderFollowsStartUpAndClear)
{
    CSettingsStore store;
    EXPECT_EQ(store.SetupGroup<OwnGroup>().count, 0);
    EXPECT_EQ(&store.SetupGroup<OwnGroup>(), &store.SetupGroup<OwnGroup>());

    store.SetStartupDefaults();
    EXPECT_EQ(store.SetupGroup<OwnGroup>().count, 7);
    EXPECT_EQ(store.SetupGroup<OtherGroup>().value, 2.5); // first used after start-up

    store.SetupGroup<OwnGroup>().name = "edited";
    store.SetupGroup<OtherGroup>().value = -1.0;
    EXPECT_EQ(store.SetupGroup<OwnGroup>().count, 7); // one group's edit is not another's
    store.SetStartupDefaults();
    EXPECT_EQ(store.SetupGroup<OwnGroup>().name, "start");
    EXPECT_EQ(store.SetupGroup<OtherGroup>().value, 2.5);

    OwnGroup& held = store.SetupGroup<OwnGroup>();
    held.count = 99;
    store.Clear();
    EXPECT_EQ(&store.SetupGroup<OwnGroup>(), &held);
    EXPECT_EQ(held.count, 0);
    EXPECT_EQ(held.name, "");
    held.name = "written after the clear";
    store.SetStartupDefaults();
    EXPECT_EQ(held.name, "start");
}

} // namespace
