#include "res/DialogTemplates.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Two templates under one id would leave the second dialog showing the first one's
// controls; the check names every shared id once, whatever the order of registration.
TEST(DialogTemplates, SharedIdsAreNamedOnceAndTheRegisteredTemplatesShareNone)
{
    const auto make = [](std::vector<int> ids) {
        std::vector<DialogTemplate> templates;
        for (int id : ids) templates.push_back({id, "", {}});
        return templates;
    };
    EXPECT_EQ(SharedDialogIds(make({})), std::vector<int>{});
    EXPECT_EQ(SharedDialogIds(make({5, 7, 9})), std::vector<int>{});
    EXPECT_EQ(SharedDialogIds(make({9, 5, 7, 5, 7, 5})), (std::vector<int>{5, 7}));

    const auto& registered = RegisteredDialogTemplates();
    ASSERT_FALSE(registered.empty());
    EXPECT_EQ(SharedDialogIds(registered), std::vector<int>{});
    EXPECT_EQ(DialogTemplateIds().size(), registered.size());
    for (const DialogTemplate& d : registered) {
        EXPECT_EQ(DialogTemplateFor(d.id).caption, d.caption) << d.id;
        EXPECT_EQ(DialogTemplateFor(d.id).controls.size(), d.controls.size()) << d.id;
    }
}

} // namespace
