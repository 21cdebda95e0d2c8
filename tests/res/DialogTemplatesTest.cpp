#include "res/DialogTemplates.h"
#include "res/StringTable.h"

#include <gtest/gtest.h>

#include <string>
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

// The misspellings users met in captions, labels and prompts stay mended: every
// dialog's caption and control texts and every string-table entry are free of them.
TEST(DialogTemplates, TextsUsersReadHoldNoneOfTheMendedMisspellings)
{
    const char* const misspelt[] = {"Freqeuncy", "Seconadry", "Nuumber", "Monopple", "Quadrapole", "trackig",
                                     "FIll", "semblane ", "sembalace", "Rigth", "Ofset"};
    const auto check = [&](const std::string& text, const std::string& where) {
        for (const char* word : misspelt) EXPECT_EQ(text.find(word), std::string::npos) << where << ": " << text;
    };
    for (const DialogTemplate& d : RegisteredDialogTemplates()) {
        check(d.caption, "dialog " + std::to_string(d.id));
        for (const ControlTemplate& c : d.controls)
            check(c.text, "dialog " + std::to_string(d.id) + " control " + std::to_string(c.id));
    }
    for (unsigned id = 0; id < 65536; ++id)
        if (HasString(id)) check(LoadString(id), "string " + std::to_string(id));
}

} // namespace
