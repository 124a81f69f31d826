#include "class_tree_copy.h"

#include "resource.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <set>
#include <vector>

namespace {

// The sizes a group icon resource offers.
std::set<int> IconSizes(int id) {
    std::set<int> sizes;
    HMODULE self = ::GetModuleHandleA(nullptr);
    HRSRC found = ::FindResourceA(self, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(14));  // RT_GROUP_ICON
    if (!found) return sizes;
    const auto* data = static_cast<const BYTE*>(::LockResource(::LoadResource(self, found)));
    const DWORD size = ::SizeofResource(self, found);
    if (!data || size < 6) return sizes;
    const int count = data[4] | (data[5] << 8);
    for (int i = 0; i < count && 6u + 14u * (i + 1) <= size; ++i) {
        const int width = data[6 + 14 * i];
        sizes.insert(width == 0 ? 256 : width);
    }
    return sizes;
}

// The colour pixels of an icon drawn at `size`.
std::vector<BYTE> Pixels(int id, int size) {
    auto icon = static_cast<HICON>(
        ::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), IMAGE_ICON, size, size, 0));
    std::vector<BYTE> bits(static_cast<std::size_t>(size * size * 4));
    if (!icon) return {};
    ICONINFO info{};
    ::GetIconInfo(icon, &info);
    BITMAPINFO bmi{};
    bmi.bmiHeader.biSize = sizeof bmi.bmiHeader;
    bmi.bmiHeader.biWidth = size;
    bmi.bmiHeader.biHeight = -size;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    HDC dc = ::GetDC(nullptr);
    ::GetDIBits(dc, info.hbmColor, 0, static_cast<UINT>(size), bits.data(), &bmi, DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, dc);
    ::DeleteObject(info.hbmColor);
    ::DeleteObject(info.hbmMask);
    ::DestroyIcon(icon);
    return bits;
}

TEST(CategoryIcons, OfferEverySizeFromOneHundredToTwoHundredPercent) {
    const std::set<int> expected = {16, 20, 24, 32};
    EXPECT_EQ(IconSizes(IDI_CLASS), expected);
    EXPECT_EQ(IconSizes(IDI_CLASS_OPEN), expected);
}

TEST(CategoryIcons, AreTheirOwnPicturesNotTheProgramIcon) {
    for (int size : {16, 32}) {
        const auto closed = Pixels(IDI_CLASS, size);
        const auto open = Pixels(IDI_CLASS_OPEN, size);
        const auto program = Pixels(IDR_MAINFRAME, size);
        ASSERT_FALSE(closed.empty());
        ASSERT_FALSE(open.empty());
        EXPECT_NE(closed, program) << size;
        EXPECT_NE(open, program) << size;
        EXPECT_NE(closed, open) << size;
    }
}

TEST(CategoryIcons, ImageListHoldsTheTwoPicturesAtTheSmallIconSize) {
    dialogs::CImageList list = dialogs::CreateClassImageList();
    ASSERT_NE(list.get(), nullptr);
    EXPECT_EQ(ImageList_GetImageCount(list.get()), 2);
    int cx = 0, cy = 0;
    ImageList_GetIconSize(list.get(), &cx, &cy);
    EXPECT_EQ(cx, ::GetSystemMetrics(SM_CXSMICON));
    EXPECT_EQ(cy, ::GetSystemMetrics(SM_CXSMICON));
}

}  // namespace
