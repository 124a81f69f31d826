#include "link_page.h"

#include "platform/file_io.h"
#include "resource.h"

#include <windows.h>

namespace integration {

std::string EmbeddedLinkPage() {
    HMODULE module = ::GetModuleHandleA(nullptr);
    HRSRC found = ::FindResourceA(module, MAKEINTRESOURCEA(IDR_LINK_PAGE), MAKEINTRESOURCEA(23));
    if (!found) return {};
    HGLOBAL loaded = ::LoadResource(module, found);
    const void* bytes = loaded ? ::LockResource(loaded) : nullptr;
    return bytes ? std::string(static_cast<const char*>(bytes), ::SizeofResource(module, found)) : std::string();
}

bool WriteLinkPage(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return true;
    const std::string page = EmbeddedLinkPage();
    if (page.empty()) return false;
    std::string error;
    return platform::ReplaceFileContents(path, page, error);
}

}  // namespace integration
