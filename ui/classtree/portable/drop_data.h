// Reading what another program drops on the category tree. The blocks come
// from outside the program: every function reads only within the size it is
// given, whatever counts or terminators the block claims.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace classtree {

// The text of a CF_TEXT block: the bytes up to the first zero, or the whole
// block when it holds none.
std::string TextOfBlock(const void* data, std::size_t size);

// The title a "FileGroupDescriptor" block gives a dropped link: the file name
// of its first descriptor without its last four characters (the ".url"
// suffix); a name shorter than that stays whole. Empty when the block holds
// no descriptor or ends before the name begins.
std::string TitleOfDescriptorBlock(const void* data, std::size_t size);

// The text of a UTF-16 block (CF_UNICODETEXT, "UniformResourceLocatorW"):
// the code units up to the first zero, or the whole block when it holds none;
// a dangling odd byte is left out.
std::u16string WideTextOfBlock(const void* data, std::size_t size);

// The title a "FileGroupDescriptorW" block gives a dropped link, as
// TitleOfDescriptorBlock does for the ANSI block.
std::u16string WideTitleOfDescriptorBlock(const void* data, std::size_t size);

// Removes the last four characters (double-byte characters count as one)
// when the name has at least four.
std::string WithoutSuffix(std::string_view name);

// The file name of a path without its folder and its extension.
std::string TitleOfShortcutPath(std::string_view path);

// Drop effects, with the values of the system's DROPEFFECT_ constants.
inline constexpr unsigned kEffectNone = 0;
inline constexpr unsigned kEffectCopy = 1;
inline constexpr unsigned kEffectMove = 2;
inline constexpr unsigned kEffectLink = 4;

// The effect a drop target answers to a source that offered `allowed`. The
// program's own bookmarks move, or are copied with Ctrl held. Data from
// another program is only ever copied (linked when that is all the source
// offers): a move would tell the source to delete its original, such as a
// shortcut file in the Favorites folder. None when nothing fitting is offered.
unsigned ChooseDropEffect(bool ownBookmarks, unsigned allowed, bool controlKey);

// Layout of the ANSI file group descriptor: a 4-byte count, then descriptors
// of 332 bytes whose 260-byte name starts 72 bytes into each.
inline constexpr std::size_t kDescriptorCountSize = 4;
inline constexpr std::size_t kDescriptorSize = 332;
inline constexpr std::size_t kDescriptorNameOffset = 72;
inline constexpr std::size_t kDescriptorNameSize = 260;
// The UTF-16 descriptor: the same fields, a name of 260 units (520 bytes).
inline constexpr std::size_t kWideDescriptorNameSize = 520;

}  // namespace classtree
