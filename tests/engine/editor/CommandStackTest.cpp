#include <gtest/gtest.h>

#include "engine/editor/CommandStack.h"

using namespace cad;

namespace {
int g_calls = 0;
void countCall() { ++g_calls; }
}  // namespace

TEST(CommandStack, LookupByEitherNameAnyCaseWithPrefixes) {
    CommandStack stack;
    ASSERT_EQ(stack.addCommand("KORVA_COMMANDS", "mbc", "korvaBlockCreate", ACRX_CMD_MODAL, countCall), ErrorStatus::eOk);
    for (const char* typed : {"mbc", "MBC", "korvablockcreate", "KORVABLOCKCREATE", "_mbc", ".mbc", "._MBC"}) {
        SCOPED_TRACE(typed);
        const Command* c = stack.lookup(typed);
        if (std::string_view(typed).find('.') != std::string_view::npos) {
            EXPECT_EQ(c, nullptr);  // "." asks for the host's own command
            continue;
        }
        ASSERT_NE(c, nullptr);
        EXPECT_EQ(c->localName, "korvaBlockCreate");
    }
    // "_" asks for the global name only.
    EXPECT_EQ(stack.lookup("_korvaBlockCreate"), nullptr);
    EXPECT_EQ(stack.lookup("mb"), nullptr);
    EXPECT_EQ(stack.lookup("_"), nullptr);
    EXPECT_EQ(stack.lookup(""), nullptr);

    g_calls = 0;
    stack.lookup("MBC")->handler();
    EXPECT_EQ(g_calls, 1);
}

TEST(CommandStack, DuplicatesGroupsAndRemoval) {
    CommandStack stack;
    EXPECT_EQ(stack.addCommand("A", "one", "first", 0, countCall), ErrorStatus::eOk);
    EXPECT_EQ(stack.addCommand("A", "ONE", "other", 0, countCall), ErrorStatus::eDuplicateRecordName);
    EXPECT_EQ(stack.addCommand("A", "two", "FIRST", 0, countCall), ErrorStatus::eDuplicateRecordName);
    EXPECT_EQ(stack.addCommand("A", "", "x", 0, countCall), ErrorStatus::eInvalidInput);
    EXPECT_EQ(stack.addCommand("A", "x", "x", 0, CommandHandler{}), ErrorStatus::eInvalidInput);
    EXPECT_EQ(stack.addCommand("B", "same", "same", ACRX_CMD_SESSION, [] {}), ErrorStatus::eOk);
    EXPECT_EQ(stack.addCommand(CommandStack::kHostGroup, "one", "one", 0, [] {}), ErrorStatus::eOk);

    // The group registered last is searched first; "." reaches the host's command.
    EXPECT_EQ(stack.lookup("one")->group, std::string(CommandStack::kHostGroup));
    EXPECT_EQ(stack.lookup("first")->group, "A");
    EXPECT_TRUE(stack.lookup("same")->isSession());
    EXPECT_EQ(stack.groups(), (std::vector<std::string>{std::string(CommandStack::kHostGroup), "B", "A"}));

    EXPECT_EQ(stack.removeGroup("a"), ErrorStatus::eOk);  // group names in any case
    EXPECT_EQ(stack.lookup("first"), nullptr);
    EXPECT_EQ(stack.removeGroup("A"), ErrorStatus::eKeyNotFound);
    EXPECT_EQ(stack.removeCmd("B", "same"), ErrorStatus::eOk);
    EXPECT_EQ(stack.lookup("same"), nullptr);
    EXPECT_EQ(stack.commands().size(), 1u);
}

TEST(CommandStack, OwnedCommandsAreDroppedTogether) {
    CommandStack stack;
    int owner = 0;
    stack.setCurrentOwner(&owner);
    stack.addCommand("M", "a", "a", 0, [] {});
    stack.addCommand("N", "b", "b", 0, [] {});
    stack.setCurrentOwner(nullptr);
    stack.addCommand("M", "c", "c", 0, [] {});
    stack.removeCommandsOwnedBy(&owner);
    EXPECT_EQ(stack.lookup("a"), nullptr);
    EXPECT_EQ(stack.lookup("b"), nullptr);
    EXPECT_NE(stack.lookup("c"), nullptr);
}
