#include "resource.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

namespace {

HINSTANCE Self() { return ::GetModuleHandleA(nullptr); }

std::string LoadText(UINT id) {
    char text[256] = "";
    const int length = ::LoadStringA(Self(), id, text, sizeof text);
    return std::string(text, static_cast<std::size_t>(std::max(length, 0)));
}

TEST(Resources, StringsAreTheProgramsTexts) {
    EXPECT_EQ(LoadText(IDR_MAINFRAME), "岚舟链匣");
    EXPECT_EQ(LoadText(IDS_IDLE_MESSAGE), "就绪");
}

TEST(Resources, AcceleratorTableHoldsExactlyTheProgramsKeys) {
    HACCEL table = ::LoadAcceleratorsA(Self(), MAKEINTRESOURCEA(IDR_MAINFRAME));
    ASSERT_NE(table, nullptr);
    const int count = ::CopyAcceleratorTableA(table, nullptr, 0);
    std::vector<ACCEL> entries(static_cast<std::size_t>(count));
    ::CopyAcceleratorTableA(table, entries.data(), count);

    using Entry = std::tuple<int, int, int>;  // modifiers, key, command
    std::vector<Entry> actual;
    for (const ACCEL& a : entries) {
        EXPECT_TRUE(a.fVirt & FVIRTKEY) << a.key;
        actual.emplace_back(a.fVirt & (FCONTROL | FSHIFT | FALT), a.key, a.cmd);
    }
    std::vector<Entry> expected = {
        {FCONTROL, 'N', 57600},    {FCONTROL, 'O', 57601},      {FCONTROL, 'S', 57603},
        {FCONTROL, 'P', 57607},    {FCONTROL, 'Z', 57643},      {FALT, VK_BACK, 57643},
        {FCONTROL, 'X', 57635},    {FSHIFT, VK_DELETE, 57635},  {FCONTROL, 'C', 57634},
        {FCONTROL, VK_INSERT, 57634}, {FCONTROL, 'V', 57637},   {FSHIFT, VK_INSERT, 57637},
        {0, VK_F6, 57680},         {FSHIFT, VK_F6, 57681},      {FCONTROL, 'F', 32985}};
    std::sort(actual.begin(), actual.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(actual, expected);
}

TEST(Resources, MainMenuOffersExit) {
    HMENU menu = ::LoadMenuA(Self(), MAKEINTRESOURCEA(IDR_MAINFRAME));
    ASSERT_NE(menu, nullptr);
    char text[64] = "";
    ::GetMenuStringA(menu, 0, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "文件(&F)");
    HMENU file = ::GetSubMenu(menu, 0);
    ASSERT_NE(file, nullptr);
    ::GetMenuStringA(file, ID_APP_EXIT, text, sizeof text, MF_BYCOMMAND);
    EXPECT_STREQ(text, "退出(&X)");
    ::DestroyMenu(menu);
}

TEST(Resources, IconHasEverySize) {
    for (int size : {16, 32, 48}) {
        HICON icon = static_cast<HICON>(
            ::LoadImageA(Self(), MAKEINTRESOURCEA(IDR_MAINFRAME), IMAGE_ICON, size, size, 0));
        ASSERT_NE(icon, nullptr) << size;
        ICONINFO info{};
        ASSERT_TRUE(::GetIconInfo(icon, &info));
        BITMAP bitmap{};
        ::GetObjectA(info.hbmColor, sizeof bitmap, &bitmap);
        EXPECT_EQ(bitmap.bmWidth, size);
        EXPECT_EQ(bitmap.bmHeight, size);
        ::DeleteObject(info.hbmColor);
        ::DeleteObject(info.hbmMask);
        ::DestroyIcon(icon);
    }
}

TEST(Resources, VersionIsOnePointZero) {
    char path[MAX_PATH * 4] = "";
    ASSERT_GT(::GetModuleFileNameA(nullptr, path, sizeof path), 0u);
    DWORD handle = 0;
    const DWORD size = ::GetFileVersionInfoSizeA(path, &handle);
    ASSERT_GT(size, 0u);
    std::vector<char> data(size);
    ASSERT_TRUE(::GetFileVersionInfoA(path, 0, size, data.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(::VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    char* product = nullptr;
    ASSERT_TRUE(::VerQueryValueA(data.data(), "\\StringFileInfo\\080404b0\\ProductName",
                                 reinterpret_cast<void**>(&product), &length));
    EXPECT_STREQ(product, "岚舟链匣 (quorva)");
}

}  // namespace
