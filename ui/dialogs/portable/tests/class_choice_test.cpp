#include "class_choice.h"

#include "bookmark_store.h"
#include "store_test_helpers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using dialogs::IsMoveAccepted;

using store_test::AddChild;

// News
//   World
//     Europe
//   Sport
// Tools
// Music
//   Jazz
class Tree : public testing::Test {
protected:
    void SetUp() override {
        news = AddChild(store, nullptr, "News");
        world = AddChild(store, news, "World");
        europe = AddChild(store, world, "Europe");
        sport = AddChild(store, news, "Sport");
        tools = AddChild(store, nullptr, "Tools");
        music = AddChild(store, nullptr, "Music");
        jazz = AddChild(store, music, "Jazz");
        store.SetExpanded(news, true);
        store.SetExpanded(music, true);
    }

    std::vector<ClassRecord*> All() const { return {news, world, europe, sport, tools, music, jazz}; }

    CBookmarkStore store;
    ClassRecord* news = nullptr;
    ClassRecord* world = nullptr;
    ClassRecord* europe = nullptr;
    ClassRecord* sport = nullptr;
    ClassRecord* tools = nullptr;
    ClassRecord* music = nullptr;
    ClassRecord* jazz = nullptr;
};

// "name<parent name>+" per entry, + when expanded.
std::vector<std::string> Describe(const dialogs::TreeCopyPlan& plan) {
    std::vector<std::string> out;
    for (const auto& e : plan.entries) {
        std::string line = e.record->name + "<";
        if (e.parent >= 0) line += plan.entries[static_cast<std::size_t>(e.parent)].record->name;
        line += ">";
        if (e.expanded) line += "+";
        out.push_back(line);
    }
    return out;
}

TEST_F(Tree, CopyHoldsEveryCategoryInOrderAndNestingWithExpandedStates) {
    const auto plan = dialogs::PlanTreeCopy(store.Root(), nullptr, nullptr);
    const std::vector<std::string> expected = {"News<>+",      "World<News>", "Europe<World>", "Sport<News>",
                                               "Tools<>",      "Music<>+",    "Jazz<Music>"};
    EXPECT_EQ(Describe(plan), expected);
    EXPECT_EQ(plan.selected, -1);
}

TEST_F(Tree, InitialCategoryWinsOverTheTreesSelection) {
    auto plan = dialogs::PlanTreeCopy(store.Root(), europe, jazz);
    ASSERT_GE(plan.selected, 0);
    EXPECT_EQ(plan.entries[static_cast<std::size_t>(plan.selected)].record, europe);

    plan = dialogs::PlanTreeCopy(store.Root(), nullptr, jazz);
    ASSERT_GE(plan.selected, 0);
    EXPECT_EQ(plan.entries[static_cast<std::size_t>(plan.selected)].record, jazz);
}

TEST_F(Tree, CategoryOutsideTheTreeSelectsNothing) {
    ClassRecord stray("Stray");
    EXPECT_EQ(dialogs::PlanTreeCopy(store.Root(), &stray, jazz).selected, -1);
    EXPECT_EQ(dialogs::PlanTreeCopy(store.Root(), nullptr, &stray).selected, -1);
}

TEST(TreeCopy, EmptyTreeAndNoRootGiveNothing) {
    CBookmarkStore store;
    EXPECT_TRUE(dialogs::PlanTreeCopy(store.Root(), nullptr, nullptr).entries.empty());
    EXPECT_TRUE(dialogs::PlanTreeCopy(nullptr, nullptr, nullptr).entries.empty());
}

TEST(TreeCopy, DeepNestingIsCopiedWithoutRecursion) {
    CBookmarkStore store;
    ClassRecord* parent = nullptr;
    for (int i = 0; i < 20000; ++i) parent = AddChild(store, parent, "d");
    const auto plan = dialogs::PlanTreeCopy(store.Root(), parent, nullptr);
    ASSERT_EQ(plan.entries.size(), 20000u);
    EXPECT_EQ(plan.entries.back().parent, 19998);
    EXPECT_EQ(plan.selected, 19999);
}

TEST(CheckState, OnlyZeroOneAndTwoAreKept) {
    const std::pair<int, int> cases[] = {{0, 0}, {1, 1}, {2, 2}, {3, 0}, {-1, 0}, {1000, 0}};
    for (auto [in, out] : cases) EXPECT_EQ(dialogs::NormalizeCheckState(in), out) << in;
}

TEST_F(Tree, SelectChoiceTopLevelWhenCheckedWhateverIsSelected) {
    auto choice = dialogs::ResolveClassChoice(true, jazz, store.Root());
    EXPECT_EQ(choice.record, store.Root());
    EXPECT_EQ(choice.name, "");

    choice = dialogs::ResolveClassChoice(false, jazz, store.Root());
    EXPECT_EQ(choice.record, jazz);
    EXPECT_EQ(choice.name, "Jazz");

    choice = dialogs::ResolveClassChoice(false, nullptr, store.Root());
    EXPECT_EQ(choice.record, store.Root()) << "nothing selected but categories exist: the top level";
    EXPECT_EQ(choice.name, "");
}

TEST(SelectChoice, EmptyTreeGivesNoneUnlessChecked) {
    CBookmarkStore store;
    auto choice = dialogs::ResolveClassChoice(false, nullptr, store.Root());
    EXPECT_EQ(choice.record, nullptr);
    EXPECT_EQ(choice.name, "");
    EXPECT_EQ(dialogs::ResolveClassChoice(true, nullptr, store.Root()).record, store.Root());
}

TEST_F(Tree, MoveDestinationIsTheSelectionOrItsParent) {
    EXPECT_EQ(dialogs::MoveDestination(world, true), world);
    EXPECT_EQ(dialogs::MoveDestination(world, false), news);
    EXPECT_EQ(dialogs::MoveDestination(tools, false), store.Root());
    EXPECT_EQ(dialogs::MoveDestination(nullptr, true), nullptr);
    EXPECT_EQ(dialogs::MoveDestination(nullptr, false), nullptr);
}

TEST_F(Tree, MoveRuleOnTheDialogsCases) {
    struct Case {
        ClassRecord* item;
        ClassRecord* selected;
        bool asChild;
        bool accepted;
        const char* why;
    };
    const Case cases[] = {
        {world, world, true, false, "the category itself"},
        {world, news, true, false, "its current parent"},
        {world, europe, true, false, "one of its descendants"},
        {world, europe, false, false, "sibling of a descendant: below itself"},
        {world, sport, false, false, "sibling of its sibling: same parent"},
        {world, world, false, false, "sibling of itself: same parent"},
        {world, sport, true, true, "into its sibling"},
        {world, tools, false, true, "to the top level"},
        {world, jazz, false, true, "beside another category"},
        {news, tools, false, false, "top-level category beside a top-level one"},
        {news, europe, true, false, "deep descendant"},
        {news, jazz, true, true, "into another tree"},
        {europe, news, false, true, "beside its grandparent"},
        {world, nullptr, true, false, "no selection"},
        {world, nullptr, false, false, "no selection"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsMoveAccepted(c.item, c.selected, c.asChild), c.accepted) << c.why;
    }
}

TEST_F(Tree, MoveRuleAgreesWithTheStoreForEveryPair) {
    for (ClassRecord* item : All()) {
        for (ClassRecord* selected : All()) {
            for (bool asChild : {true, false}) {
                ClassRecord* target = dialogs::MoveDestination(selected, asChild);
                EXPECT_EQ(IsMoveAccepted(item, selected, asChild), store.CanMoveClass(item, target))
                    << item->name << " -> " << selected->name << (asChild ? " as child" : " as sibling");
            }
        }
    }
}

}  // namespace
