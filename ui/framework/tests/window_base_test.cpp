#include "framework/callback_guard.h"
#include "framework/window_base.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <vector>

namespace {

constexpr char kClass[] = "quorva_test_RecordingWindow";
constexpr UINT kThrowMessage = WM_APP + 1;
constexpr UINT kEchoMessage = WM_APP + 2;

class RecordingWindow : public framework::CWindowBase {
public:
    std::vector<UINT> messages;
    int finalMessages = 0;
    bool throwOnCreate = false;
    HWND hwndSeenAtDestroy = nullptr;

    static bool Register() {
        WNDCLASSEXA wc{};
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.lpszClassName = kClass;
        wc.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
        return RegisterWindowClass(wc);
    }

    HWND CreateHidden() {
        return Create(::GetModuleHandleA(nullptr), kClass, nullptr, "test", WS_OVERLAPPEDWINDOW, 0,
                      RECT{10, 10, 200, 150}, nullptr);
    }

    bool Saw(UINT msg) const { return std::find(messages.begin(), messages.end(), msg) != messages.end(); }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        messages.push_back(msg);
        if (msg == WM_CREATE && throwOnCreate) throw std::runtime_error("create failed");
        if (msg == kThrowMessage) throw std::runtime_error("handler failed");
        if (msg == kEchoMessage) return static_cast<LRESULT>(wParam + lParam);
        if (msg == WM_DESTROY) hwndSeenAtDestroy = Hwnd();
        return DefaultHandling(msg, wParam, lParam);
    }
    void OnFinalMessage() override { ++finalMessages; }
};

class WindowBaseTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(RecordingWindow::Register()); }
};

TEST_F(WindowBaseTest, CreationConnectsTheObjectToItsWindow) {
    RecordingWindow w;
    HWND hwnd = w.CreateHidden();
    ASSERT_NE(hwnd, nullptr);
    EXPECT_EQ(w.Hwnd(), hwnd);
    EXPECT_EQ(::GetWindowLongPtrA(hwnd, GWLP_USERDATA), reinterpret_cast<LONG_PTR>(&w));
    ASSERT_FALSE(w.messages.empty());
    EXPECT_EQ(w.messages.front(), static_cast<UINT>(WM_NCCREATE)) << "messages before WM_NCCREATE are not ours";
    EXPECT_TRUE(w.Saw(WM_CREATE));
    EXPECT_EQ(::SendMessageA(hwnd, kEchoMessage, 40, 2), 42);
    EXPECT_TRUE(w.Destroy());
}

TEST_F(WindowBaseTest, DestructionEndsWithTheFinalMessage) {
    RecordingWindow w;
    HWND hwnd = w.CreateHidden();
    ASSERT_NE(hwnd, nullptr);
    EXPECT_TRUE(w.Destroy());
    EXPECT_FALSE(::IsWindow(hwnd));
    EXPECT_EQ(w.Hwnd(), nullptr);
    EXPECT_EQ(w.hwndSeenAtDestroy, hwnd);
    EXPECT_TRUE(w.Saw(WM_NCDESTROY));
    EXPECT_EQ(w.finalMessages, 1);
    EXPECT_FALSE(w.Destroy()) << "nothing left to destroy";
}

TEST_F(WindowBaseTest, ObjectDestroyedFirstTakesItsWindowAlong) {
    HWND hwnd = nullptr;
    {
        RecordingWindow w;
        hwnd = w.CreateHidden();
        ASSERT_NE(hwnd, nullptr);
    }
    EXPECT_FALSE(::IsWindow(hwnd));
}

TEST_F(WindowBaseTest, ExceptionInAHandlerStopsAtTheWindowProcedure) {
    RecordingWindow w;
    HWND hwnd = w.CreateHidden();
    ASSERT_NE(hwnd, nullptr);
    const long before = framework::CallbackExceptionCount();
    EXPECT_EQ(::SendMessageA(hwnd, kThrowMessage, 0, 0), 0);
    EXPECT_EQ(framework::CallbackExceptionCount(), before + 1);
    EXPECT_TRUE(::IsWindow(hwnd));
    EXPECT_EQ(::SendMessageA(hwnd, kEchoMessage, 1, 1), 2) << "the window keeps working";
    w.Destroy();
}

TEST_F(WindowBaseTest, ExceptionDuringCreationFailsTheCreation) {
    RecordingWindow w;
    w.throwOnCreate = true;
    const long before = framework::CallbackExceptionCount();
    EXPECT_EQ(w.CreateHidden(), nullptr);
    EXPECT_EQ(framework::CallbackExceptionCount(), before + 1);
    EXPECT_EQ(w.Hwnd(), nullptr);
    EXPECT_EQ(w.finalMessages, 1);
}

TEST_F(WindowBaseTest, ClassNameTakenByAnotherProcedureIsRefused) {
    WNDCLASSEXA other{};
    other.cbSize = sizeof other;
    other.lpfnWndProc = ::DefWindowProcA;
    other.hInstance = ::GetModuleHandleA(nullptr);
    other.lpszClassName = "quorva_test_Foreign";
    ASSERT_NE(::RegisterClassExA(&other), 0);
    WNDCLASSEXA ours{};
    ours.hInstance = other.hInstance;
    ours.lpszClassName = other.lpszClassName;
    EXPECT_FALSE(framework::CWindowBase::RegisterWindowClass(ours));
    EXPECT_TRUE(RecordingWindow::Register()) << "registering our own class again is fine";
}

// Caption buttons are drawn with the Marlett symbol font; without it Wine
// draws them as the letters "0 1 r".
TEST(SystemFonts, TheCaptionButtonsFontIsInstalled) {
    HDC screen = ::GetDC(nullptr);
    HFONT font = ::CreateFontA(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, SYMBOL_CHARSET, 0, 0, 0, 0, "Marlett");
    ASSERT_NE(font, nullptr);
    HGDIOBJ old = ::SelectObject(screen, font);
    char face[LF_FACESIZE] = "";
    ::GetTextFaceA(screen, sizeof face, face);
    ::SelectObject(screen, old);
    ::DeleteObject(font);
    ::ReleaseDC(nullptr, screen);
    EXPECT_STREQ(face, "Marlett");
}

}  // namespace
