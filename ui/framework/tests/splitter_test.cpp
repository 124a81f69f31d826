// The splitter's geometry as the user meets it: the position stays inside
// the window, the left pane keeps its width and a bottom pane its height
// when the window changes size, a single pane fills everything, and dragging
// the bar moves it.
#include "framework/splitter.h"

#include <gtest/gtest.h>

namespace {

using framework::CSplitter;

class SplitterTest : public testing::Test {
protected:
    void SetUp() override {
        WNDCLASSA wc{};
        wc.lpfnWndProc = ::DefWindowProcA;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.lpszClassName = "quorva_SplitterTestParent";
        ::RegisterClassA(&wc);
        parent_ = ::CreateWindowA(wc.lpszClassName, "", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, 600, 400,
                                  nullptr, nullptr, wc.hInstance, nullptr);
        ASSERT_NE(parent_, nullptr);
    }
    void TearDown() override { ::DestroyWindow(parent_); }

    HWND Pane(HWND parent) {
        return ::CreateWindowA("STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, parent, nullptr, nullptr, nullptr);
    }
    // The parent is never shown: a pane's own visibility is its style.
    static bool Shown(HWND pane) { return (::GetWindowLongPtrA(pane, GWL_STYLE) & WS_VISIBLE) != 0; }
    static RECT RectIn(HWND pane) {
        RECT r{};
        ::GetWindowRect(pane, &r);
        ::MapWindowPoints(nullptr, ::GetParent(pane), reinterpret_cast<POINT*>(&r), 2);
        return r;
    }

    HWND parent_ = nullptr;
};

TEST_F(SplitterTest, TheLeftPaneKeepsItsWidthAndThePositionStaysInside) {
    CSplitter splitter(CSplitter::Orientation::kVertical, false);
    ASSERT_NE(splitter.CreateSplitter(parent_, RECT{0, 0, 500, 300}), nullptr);
    HWND left = Pane(splitter.Hwnd());
    HWND right = Pane(splitter.Hwnd());
    splitter.SetPanes(left, right);
    splitter.SetPosition(150);
    EXPECT_EQ(RectIn(left).right, 150);
    EXPECT_EQ(RectIn(right).left, 150 + CSplitter::kBarSize);
    ::MoveWindow(splitter.Hwnd(), 0, 0, 700, 300, TRUE);
    EXPECT_EQ(splitter.Position(), 150);
    EXPECT_EQ(RectIn(right).right, 700);
    splitter.SetPosition(5000);
    EXPECT_EQ(splitter.Position(), 700 - CSplitter::kBarSize);
    splitter.SetPosition(-20);
    EXPECT_EQ(splitter.Position(), 0);
    ::MoveWindow(splitter.Hwnd(), 0, 0, 100, 300, TRUE);
    splitter.SetPosition(90);
    EXPECT_EQ(splitter.Position(), 90);
    ::MoveWindow(splitter.Hwnd(), 0, 0, 60, 300, TRUE);
    EXPECT_EQ(splitter.Position(), 60 - CSplitter::kBarSize) << "a smaller window pulls the bar in";

    // Dragging the bar.
    ::MoveWindow(splitter.Hwnd(), 0, 0, 500, 300, TRUE);
    splitter.SetPosition(200);
    ::SendMessageA(splitter.Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(201, 50));
    ::SendMessageA(splitter.Hwnd(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(261, 50));
    ::SendMessageA(splitter.Hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(261, 50));
    EXPECT_EQ(splitter.Position(), 260);
    EXPECT_EQ(RectIn(left).right, 260);
}

TEST_F(SplitterTest, ABottomPaneKeepsItsHeightAndASinglePaneFillsTheSplitter) {
    CSplitter splitter(CSplitter::Orientation::kHorizontal, true);
    ASSERT_NE(splitter.CreateSplitter(parent_, RECT{0, 0, 400, 300}), nullptr);
    HWND top = Pane(splitter.Hwnd());
    HWND bottom = Pane(splitter.Hwnd());
    splitter.SetPanes(top, bottom);
    splitter.SetPosition(200);
    const int bottomHeight = RectIn(bottom).bottom - RectIn(bottom).top;
    ::MoveWindow(splitter.Hwnd(), 0, 0, 400, 380, TRUE);
    EXPECT_EQ(RectIn(bottom).bottom - RectIn(bottom).top, bottomHeight);
    EXPECT_EQ(splitter.Position(), 280);

    splitter.SetPanesShown(CSplitter::Panes::kFirstOnly);
    EXPECT_FALSE(Shown(bottom));
    EXPECT_EQ(RectIn(top).bottom, 380);
    splitter.SetPanesShown(CSplitter::Panes::kBoth);
    EXPECT_TRUE(Shown(bottom));
    EXPECT_EQ(RectIn(top).bottom, 280) << "back at its place";
}

}  // namespace
