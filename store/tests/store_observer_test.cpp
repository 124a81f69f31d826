// The events a view receives: exact sequences for each operation, and a
// mirror that replays them as a tree control would and must end up equal to
// the store after any series of changes.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <random>

#include "bookmark_store.h"
#include "store_test_helpers.h"
#include "test_support/temp_dir.h"

namespace {

using store_test::AddChild;
using Events = std::vector<std::string>;

class RecordingObserver : public IStoreObserver {
public:
    explicit RecordingObserver(const CBookmarkStore& store) : root_(store.Root()) {}
    void OnInserted(ClassRecord* parent, ClassRecord* after, ClassRecord* record) override {
        events.push_back("insert " + Name(record) + " under " + Name(parent) + " after " + Name(after));
    }
    void OnRemoved(ClassRecord* record, bool moving) override {
        events.push_back((moving ? "detach " : "remove ") + Name(record));
    }
    void OnRenamed(ClassRecord* record) override { events.push_back("rename " + Name(record)); }
    void OnExpanded(ClassRecord* record, bool expanded) override {
        events.push_back((expanded ? "expand " : "collapse ") + Name(record));
    }
    void OnCaret(ClassRecord* record) override { events.push_back("caret " + Name(record)); }
    void OnRepaint() override { events.push_back("repaint"); }

    Events events;

private:
    std::string Name(const ClassRecord* r) const {
        if (!r) return "-";
        return r == root_ ? "root" : r->name;
    }
    const ClassRecord* root_;
};

struct ObserverTest : ::testing::Test {
    CBookmarkStore store;
    RecordingObserver recorder{store};
    void SetUp() override { store.AddObserver(&recorder); }
    Events Take() { return std::exchange(recorder.events, {}); }
};

TEST_F(ObserverTest, AddReportsTheInsertionAndARepaint) {
    ClassRecord* a = store.AddTopClass("A");
    bool duplicate = false;
    store.AddClass(nullptr, InsertPos::First(), new ClassRecord("Z"), duplicate);
    store.AddClass(a, nullptr, new ClassRecord("A1"), duplicate);
    store.AddClass(nullptr, a, new ClassRecord("B"), duplicate);
    EXPECT_EQ(Take(), (Events{"insert A under root after -", "repaint",
                              "insert Z under root after -", "repaint",
                              "insert A1 under A after -", "repaint",
                              "insert B under root after A", "repaint"}));
    EXPECT_EQ(store.AddTopClass("a"), a);
    EXPECT_TRUE(Take().empty()) << "a refused add reports nothing";
}

TEST_F(ObserverTest, MoveUpIsADetachAndAReinsertionOfTheSubtree) {
    ClassRecord* a = store.AddTopClass("A");
    ClassRecord* b = store.AddTopClass("B");
    ClassRecord* b1 = AddChild(store, b, "B1");
    AddChild(store, b1, "B1a");
    AddChild(store, b, "B2");
    store.SetExpanded(b, true);
    store.SetExpanded(b1, true);
    (void)a;
    Take();
    ASSERT_TRUE(store.MoveClassUp(b));
    EXPECT_EQ(Take(), (Events{"detach B",
                              "insert B under root after -",
                              "insert B1 under B after -",
                              "insert B1a under B1 after -",
                              "insert B2 under B after B1",
                              "expand B1", "expand B",
                              "caret B", "repaint"}));
    EXPECT_FALSE(store.MoveClassUp(b));
    EXPECT_TRUE(Take().empty());
}

TEST_F(ObserverTest, MoveToReportsTheNewPlace) {
    ClassRecord* a = store.AddTopClass("A");
    ClassRecord* b = store.AddTopClass("B");
    AddChild(store, b, "B1");
    Take();
    bool duplicate = false;
    ASSERT_TRUE(store.MoveClassTo(duplicate, a, b, InsertPos::Last()));
    EXPECT_EQ(Take(), (Events{"detach A", "insert A under B after B1", "caret A", "repaint"}));
    EXPECT_FALSE(store.MoveClassTo(duplicate, a, b, InsertPos::Last()));
    EXPECT_TRUE(Take().empty());
}

TEST_F(ObserverTest, DeleteReleaseRenameExpandAndCaret) {
    ClassRecord* a = store.AddTopClass("A");
    ClassRecord* b = store.AddTopClass("B");
    ClassRecord* b1 = AddChild(store, b, "B1");
    store.AddTopClass("C");
    Take();
    store.SetModified(false);
    store.RenameClass(a, "A2");
    EXPECT_EQ(a->name, "A2");
    EXPECT_TRUE(store.IsModified());
    store.SetExpanded(b, true);
    store.SetExpanded(b, true);  // no change, no event
    store.SetExpanded(b, false);
    store.SelectCaret(b1);
    store.DeleteClass(b);
    store.ReleaseAll();
    EXPECT_EQ(Take(), (Events{"rename A2", "expand B", "collapse B", "caret B1", "remove B", "remove A2",
                              "remove C"}));
}

TEST_F(ObserverTest, RemovalIsReportedWhileTheSubtreeIsStillThere) {
    struct Checker : IStoreObserver {
        void OnRemoved(ClassRecord* record, bool) override {
            childName = record->FirstChild() ? record->FirstChild()->name : "";
            parentKnown = record->Parent() != nullptr;
        }
        std::string childName;
        bool parentKnown = false;
    } checker;
    ClassRecord* a = store.AddTopClass("A");
    AddChild(store, a, "A1");
    store.AddObserver(&checker);
    store.DeleteClass(a);
    EXPECT_EQ(checker.childName, "A1");
    EXPECT_TRUE(checker.parentKnown);
    store.RemoveObserver(&checker);
}

TEST_F(ObserverTest, LoadReportsEveryCategoryInFileOrder) {
    testing_support::TempDir dir;
    const std::string path = dir.File("bookmark.xml");
    testing_support::WriteBytes(path,
        "<?xml version=\"1.0\" encoding=\"utf-8\"?><root>\r\n<G t=\"A\">\r\n<G t=\"A1\"/>\r\n"
        "<G t=\"A2\"/>\r\n</G>\r\n<G t=\"B\"/>\r\n</root>\r\n");
    ASSERT_TRUE(store.Load(path));
    EXPECT_EQ(Take(), (Events{"insert A under root after -", "insert A1 under A after -",
                              "insert A2 under A after A1", "insert B under root after A", "repaint"}));
}

// A stand-in for the tree control: its own nodes, built only from events.
class MirrorObserver : public IStoreObserver {
public:
    explicit MirrorObserver(ClassRecord* root) { nodes_[root] = &top_; }

    void OnInserted(ClassRecord* parent, ClassRecord* after, ClassRecord* record) override {
        Node* p = Lookup(parent);
        ASSERT_EQ(nodes_.count(record), 0u) << "inserted twice";
        auto pos = p->children.begin();
        if (after) {
            pos = std::find_if(p->children.begin(), p->children.end(),
                               [&](const std::unique_ptr<Node>& n) { return n->record == after; });
            ASSERT_NE(pos, p->children.end()) << "insert after an item the view does not have";
            ++pos;
        }
        auto node = std::make_unique<Node>();
        node->record = record;
        node->text = record->name;
        node->parent = p;
        nodes_[record] = node.get();
        p->children.insert(pos, std::move(node));
    }
    void OnRemoved(ClassRecord* record, bool) override {
        Node* n = Lookup(record);
        Forget(n);
        auto& siblings = n->parent->children;
        siblings.erase(std::find_if(siblings.begin(), siblings.end(),
                                    [&](const std::unique_ptr<Node>& c) { return c.get() == n; }));
    }
    void OnRenamed(ClassRecord* record) override { Lookup(record)->text = record->name; }
    void OnExpanded(ClassRecord* record, bool expanded) override {
        Node* n = Lookup(record);
        if (expanded) {
            EXPECT_EQ(n->children.empty(), !record->HasChildren()) << "expanded before its children came";
        }
        n->expanded = expanded;
    }

    // Pre-order: record pointer, text and expanded state of every item.
    std::vector<std::tuple<ClassRecord*, std::string, bool, int>> Items() const {
        std::vector<std::tuple<ClassRecord*, std::string, bool, int>> out;
        Collect(top_, 0, out);
        return out;
    }

private:
    struct Node {
        ClassRecord* record = nullptr;
        std::string text;
        bool expanded = false;
        Node* parent = nullptr;
        std::vector<std::unique_ptr<Node>> children;
    };
    Node* Lookup(ClassRecord* record) {
        auto it = nodes_.find(record);
        if (it == nodes_.end()) {
            ADD_FAILURE() << "event about an item the view does not have";
            return &top_;
        }
        return it->second;
    }
    void Forget(Node* n) {
        nodes_.erase(n->record);
        for (auto& c : n->children) Forget(c.get());
    }
    static void Collect(const Node& n, int depth, std::vector<std::tuple<ClassRecord*, std::string, bool, int>>& out) {
        for (const auto& c : n.children) {
            out.emplace_back(c->record, c->text, c->expanded, depth);
            Collect(*c, depth + 1, out);
        }
    }
    Node top_;
    std::map<ClassRecord*, Node*> nodes_;
};

std::vector<std::tuple<ClassRecord*, std::string, bool, int>> StoreItems(CBookmarkStore& store) {
    std::vector<std::tuple<ClassRecord*, std::string, bool, int>> out;
    ClassRecord* root = store.Root();
    for (ClassRecord* c = root->FirstChild(); c; c = NextInPreOrder(c, root)) {
        int depth = 0;
        for (ClassRecord* p = c->Parent(); p != root; p = p->Parent()) ++depth;
        out.emplace_back(c, c->name, c->IsExpanded(), depth);
    }
    return out;
}

TEST(StoreMirrorTest, AViewReplayingTheEventsMatchesTheStoreAfterRandomChanges) {
    CBookmarkStore store;
    MirrorObserver mirror(store.Root());
    store.AddObserver(&mirror);
    std::mt19937 random(2024);
    std::vector<ClassRecord*> all;
    auto pick = [&]() -> ClassRecord* { return all.empty() ? nullptr : all[random() % all.size()]; };
    int names = 0;
    for (int step = 0; step < 600; ++step) {
        bool duplicate = false;
        switch (random() % 8) {
            case 0: case 1: {
                ClassRecord* parent = random() % 3 ? pick() : nullptr;
                ClassRecord* after = random() % 2 ? pick() : nullptr;
                InsertPos pos = random() % 4 == 0 ? InsertPos::First() : InsertPos(after);
                auto* record = new ClassRecord("c" + std::to_string(names++ % 97));
                ClassRecord* item = store.AddClass(parent, pos, record, duplicate);
                if (item == record) all.push_back(record); else delete record;
                break;
            }
            case 2:
                if (ClassRecord* item = pick(); item && random() % 3 == 0) {
                    store.DeleteClass(item);
                    all.clear();
                    for (auto& t : StoreItems(store)) all.push_back(std::get<0>(t));
                }
                break;
            case 3: store.MoveClassUp(pick()); break;
            case 4: store.MoveClassDown(pick()); break;
            case 5: store.MoveClassTo(duplicate, pick(), random() % 4 ? pick() : nullptr,
                                      random() % 2 ? InsertPos::First() : InsertPos(pick()));
                break;
            case 6: store.SetExpanded(pick(), random() % 2); break;
            case 7: if (ClassRecord* item = pick()) store.RenameClass(item, item->name + "r"); break;
        }
        ASSERT_EQ(mirror.Items(), StoreItems(store)) << "after step " << step;
    }
    EXPECT_GT(all.size(), 10u) << "the random series should build a real tree";
    store.ReleaseAll();
    EXPECT_TRUE(mirror.Items().empty());
}

}  // namespace
