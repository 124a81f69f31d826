#include "drop_data.h"

#include "platform/codepage.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

namespace classtree {

std::string TextOfBlock(const void* data, std::size_t size) {
    if (!data || size == 0) return {};
    const auto* bytes = static_cast<const char*>(data);
    const void* zero = std::memchr(bytes, 0, size);
    const std::size_t length = zero ? static_cast<std::size_t>(static_cast<const char*>(zero) - bytes) : size;
    return std::string(bytes, length);
}

std::string TitleOfDescriptorBlock(const void* data, std::size_t size) {
    if (!data || size < kDescriptorCountSize) return {};
    const auto* bytes = static_cast<const unsigned char*>(data);
    std::uint32_t count = 0;
    std::memcpy(&count, bytes, sizeof count);
    if (count == 0) return {};
    const std::size_t nameStart = kDescriptorCountSize + kDescriptorNameOffset;
    if (size <= nameStart) return {};
    // The name field, cut short where the block ends.
    std::size_t available = size - nameStart;
    if (available > kDescriptorNameSize) available = kDescriptorNameSize;
    return WithoutSuffix(TextOfBlock(bytes + nameStart, available));
}

std::u16string WideTextOfBlock(const void* data, std::size_t size) {
    if (!data) return {};
    const auto* bytes = static_cast<const unsigned char*>(data);
    std::u16string text;
    for (std::size_t i = 0; i + 1 < size; i += 2) {
        const auto unit = static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
        if (unit == 0) break;
        text += unit;
    }
    return text;
}

std::u16string WideTitleOfDescriptorBlock(const void* data, std::size_t size) {
    if (!data || size < kDescriptorCountSize) return {};
    std::uint32_t count = 0;
    std::memcpy(&count, data, sizeof count);
    if (count == 0) return {};
    const std::size_t nameStart = kDescriptorCountSize + kDescriptorNameOffset;
    if (size <= nameStart) return {};
    const std::size_t available = std::min(size - nameStart, kWideDescriptorNameSize);
    std::u16string name = WideTextOfBlock(static_cast<const unsigned char*>(data) + nameStart, available);
    // Without its last four characters (the ".url" suffix), a surrogate pair
    // counting as one; a name shorter than that stays whole.
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const bool trailOfPair = i > 0 && name[i] >= 0xDC00 && name[i] <= 0xDFFF && name[i - 1] >= 0xD800 &&
                                 name[i - 1] <= 0xDBFF;
        if (!trailOfPair) starts.push_back(i);
    }
    if (starts.size() >= 4) name.resize(starts[starts.size() - 4]);
    return name;
}

std::string WithoutSuffix(std::string_view name) {
    std::vector<std::size_t> starts;
    const char* begin = name.data();
    const char* end = begin + name.size();
    for (const char* p = begin; p < end; p = platform::NextChar(p, end)) {
        starts.push_back(static_cast<std::size_t>(p - begin));
    }
    if (starts.size() < 4) return std::string(name);
    return std::string(name.substr(0, starts[starts.size() - 4]));
}

std::string TitleOfShortcutPath(std::string_view path) {
    // The name starts after the last folder separator or drive colon; the
    // extension is from its last dot. Trail bytes are never taken for either.
    const char* begin = path.data();
    const char* end = begin + path.size();
    const char* nameStart = begin;
    const char* lastDot = nullptr;
    for (const char* p = begin; p < end;) {
        const char* next = platform::NextChar(p, end);
        if (next == p + 1) {
            if (*p == '\\' || *p == '/' || *p == ':') {
                nameStart = next;
                lastDot = nullptr;
            } else if (*p == '.') {
                lastDot = p;
            }
        }
        p = next;
    }
    const char* nameEnd = lastDot ? lastDot : end;
    return std::string(nameStart, static_cast<std::size_t>(nameEnd - nameStart));
}

unsigned ChooseDropEffect(bool ownBookmarks, unsigned allowed, bool controlKey) {
    if (ownBookmarks) {
        const unsigned wanted = controlKey ? kEffectCopy : kEffectMove;
        if (allowed & wanted) return wanted;
        const unsigned other = controlKey ? kEffectMove : kEffectCopy;
        return (allowed & other) ? other : kEffectNone;
    }
    if (allowed & kEffectCopy) return kEffectCopy;
    if (allowed & kEffectLink) return kEffectLink;
    return kEffectNone;
}

}  // namespace classtree
