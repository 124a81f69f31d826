#include "framework/unique_handle.h"

#include <gtest/gtest.h>

#include <type_traits>
#include <vector>

namespace {

// Records every close so that double closes and leaks show.
struct FakeTraits {
    using Type = int;
    static Type Invalid() noexcept { return 0; }
    static void Close(Type h) noexcept { closed.push_back(h); }
    static std::vector<int> closed;
};
std::vector<int> FakeTraits::closed;

using FakeHandle = framework::UniqueHandle<FakeTraits>;

static_assert(!std::is_copy_constructible_v<FakeHandle>);
static_assert(!std::is_copy_assignable_v<FakeHandle>);
static_assert(std::is_nothrow_move_constructible_v<FakeHandle>);
static_assert(std::is_nothrow_move_assignable_v<FakeHandle>);

class UniqueHandleTest : public testing::Test {
protected:
    void SetUp() override { FakeTraits::closed.clear(); }
    const std::vector<int>& Closed() const { return FakeTraits::closed; }
};

TEST_F(UniqueHandleTest, ClosesOnceWhenDestroyed) {
    { FakeHandle h(7); EXPECT_TRUE(h); EXPECT_EQ(h.get(), 7); }
    EXPECT_EQ(Closed(), std::vector<int>{7});
}

TEST_F(UniqueHandleTest, EmptyOwnerClosesNothing) {
    { FakeHandle h; EXPECT_FALSE(h); }
    EXPECT_TRUE(Closed().empty());
}

TEST_F(UniqueHandleTest, MoveConstructionTransfersOwnership) {
    {
        FakeHandle a(3);
        FakeHandle b(std::move(a));
        EXPECT_FALSE(a);  // NOLINT(bugprone-use-after-move): the moved-from state is what is tested
        EXPECT_EQ(b.get(), 3);
        EXPECT_TRUE(Closed().empty());
    }
    EXPECT_EQ(Closed(), std::vector<int>{3});
}

TEST_F(UniqueHandleTest, MoveAssignmentClosesTheOldHandleOnly) {
    FakeHandle a(1);
    FakeHandle b(2);
    b = std::move(a);
    EXPECT_EQ(Closed(), std::vector<int>{2});
    EXPECT_EQ(b.get(), 1);
    FakeHandle& self = b;
    b = std::move(self);
    EXPECT_EQ(b.get(), 1) << "self-assignment must keep the handle";
    EXPECT_EQ(Closed(), std::vector<int>{2});
}

TEST_F(UniqueHandleTest, ReleaseGivesUpWithoutClosing) {
    {
        FakeHandle h(5);
        EXPECT_EQ(h.release(), 5);
        EXPECT_FALSE(h);
    }
    EXPECT_TRUE(Closed().empty());
}

TEST_F(UniqueHandleTest, ResetClosesThePreviousHandle) {
    FakeHandle h(8);
    h.reset(8);  // the same handle again must not be closed under the owner
    EXPECT_TRUE(Closed().empty());
    h.reset(9);
    EXPECT_EQ(Closed(), std::vector<int>{8});
    h.reset();
    EXPECT_EQ(Closed(), (std::vector<int>{8, 9}));
    EXPECT_FALSE(h);
}

TEST(UniqueHandleSystem, MenuIsDestroyed) {
    HMENU raw = ::CreateMenu();
    ASSERT_TRUE(::IsMenu(raw));
    { framework::UniqueMenu menu(raw); }
    EXPECT_FALSE(::IsMenu(raw));
}

TEST(UniqueHandleSystem, KernelHandleIsClosed) {
    HANDLE raw = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ASSERT_NE(raw, nullptr);
    DWORD flags = 0;
    { framework::UniqueKernelHandle event(raw); EXPECT_TRUE(::GetHandleInformation(raw, &flags)); }
    EXPECT_FALSE(::GetHandleInformation(raw, &flags));
}

TEST(UniqueHandleSystem, GdiObjectIsDeleted) {
    HBRUSH raw = ::CreateSolidBrush(RGB(1, 2, 3));
    ASSERT_NE(::GetObjectType(raw), 0u);
    { framework::UniqueBrush brush(raw); }
    EXPECT_EQ(::GetObjectType(raw), 0u);
}

TEST(UniqueHandleSystem, AcceleratorTableIsDestroyed) {
    ACCEL entry{FVIRTKEY, VK_F2, 100};
    HACCEL raw = ::CreateAcceleratorTableA(&entry, 1);
    ASSERT_NE(raw, nullptr);
    { framework::UniqueAccel table(raw); EXPECT_EQ(::CopyAcceleratorTableA(raw, nullptr, 0), 1); }
    EXPECT_EQ(::CopyAcceleratorTableA(raw, nullptr, 0), 0);
}

}  // namespace
